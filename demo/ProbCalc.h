// TProb1, "Probabilities unit": a calculator over the library's probability distributions. The user picks a
// distribution, edits its parameters and a point x, and gets the density (or mass) and the distribution function at
// x, or from a cumulative probability the point x; a chart shows the density over a range chosen for the
// distribution.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"

namespace paxtor {

// One distribution of the calculator: its parameter rows and how it computes. The rows' values arrive in V, row 1
// first; rows read as integers hold whole numbers. XRow is the row of x, which "Calc x" writes.
struct TProbDistribution {
    struct TRow {
        const char* Label;  // nullptr: the row is hidden
        double Start;
        bool Whole;  // the start value in the whole format, else with the decimals
    };
    const char* Caption;
    TRow Rows[4];
    unsigned IntRows;  // bit r: row r + 1 is read with the integer conversion
    int XRow;          // 0-based
    double (*Pdf)(const double* V);
    double (*Cdf)(const double* V);
    double (*Inv)(double P, const double* V);
    // The plotting grid: X[k] = Offset + k·Step, k = 0..99.
    void (*GridOf)(const double* V, double& Offset, double& Step);
    void (*VecPdf)(const tarnel::TVec& X, const double* V, tarnel::TVec& Res);
    bool WholeX;  // "Calc x" writes the inverse truncated, in the whole format
};

// The 19 distributions in the order of the radio group.
const TProbDistribution& ProbDistribution(int Item);
inline constexpr int kProbDistributionCount = 19;

class TProb1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TProb1(QWidget* owner);

    QGroupBox* RadioGroup1;  // "Pick distribution", four columns
    QButtonGroup* DistItems;
    QLabel* ParamLabels[4];
    QLineEdit* ParamEdits[4];
    QLineEdit* EditPDF;  // "PDF ( = x)", read-only
    QLineEdit* EditCDF;  // "CDF ( <= x)", also the input of "Calc x"
    QSlider* TrackBar1;  // "Decimals : ", 2 to 16
    QLabel* lblDecimals;
    QCheckBox* CheckShowPDF;   // "Show PDF(x)"
    QPushButton* btnCalcProb;  // "Calc probability"
    QPushButton* btnCalcX;     // "Calc x"
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TLineSeries* Series1;

    int Decimals() const { return FDecimals; }
    int Distribution() const { return FItem; }

    // Empties the six edits, sets the rows' labels and starting values (with the decimals in force) and shows the
    // rows the distribution lists.
    void SelectDistribution(int Item);
    // "Calc probability": density and distribution function at x into the two edits and, with "Show PDF(x)", the
    // densities over the grid into the chart. An input that does not convert or a library error leaves every
    // output as it was.
    void CalcProbability();
    // "Calc x": the inverse distribution function of "CDF ( <= x)" into the row of x.
    void CalcX();

    // The grid and the densities of the last chart.
    const tarnel::TVec& GridX() const { return FX; }
    const tarnel::TVec& Densities() const { return FY; }
    const TPageHelp& Help() const { return FHelp; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The rows' values as the distribution reads them (integers through the strict conversion).
    void ReadRows(double* V, bool WithX) const;
    QString Formatted(double Value, bool Whole) const;
    void SetEntering(bool Parameters);
    void TrackBarChange();

    int FItem = 7;
    int FDecimals = 8;
    tarnel::TVec FX, FY;
    TPageHelp FHelp;
};

}  // namespace paxtor

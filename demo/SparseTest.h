// TfrmSparseTest, "Support for sparse matrices": one sparse system from the MatrixMarket file pde225.mtx solved
// three ways (dense LU, the sparse direct solver, GMRES with incomplete LU), 100 solutions of each timed and charted
// as bars, the direct solver's report in the memo and a message telling whether the three solutions agree.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdint>

#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"
#include "sparse/sparse.h"

namespace paxtor {

class TfrmSparseTest : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmSparseTest(QWidget* owner);

    QLabel* Label1;           // "Solve Report Level"
    QComboBox* ComboBox1;     // prlNone .. prlAll
    QPushButton* btnDoTests;  // "Do tests"
    QPlainTextEdit* Memo1;    // the direct solver's report
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TBarSeries* Series1;  // one bar per method, each showing its label and time

    // How many solutions each bar times.
    static constexpr int kRuns = 100;
    // The file of the system, found in the data folder.
    static constexpr const char* kSystemFile = "pde225.mtx";
    // The bar colours ($BBGGRR): red, blue, yellow.
    static constexpr unsigned kBarColors[3] = {0x0000FF, 0xFF0000, 0x00FFFF};

    // "Do tests": the three timed solves, the bars, the report, then the comparison message.
    void DoTests();
    // The three lines comparing x1, x2 and x3 (Equal with the tolerance 0.001).
    QString ComparisonText() const;

    tarnel::TSparseMtx& S() { return FS; }
    tarnel::TMtx& A() { return FA; }
    tarnel::TVec& B() { return FB; }
    const tarnel::TVec& X1() const { return FX1; }
    const tarnel::TVec& X2() const { return FX2; }
    const tarnel::TVec& X3() const { return FX3; }
    const TPageHelp& Help() const { return FHelp; }

private:
    void LoadSystem();
    void AddBar(const QString& Label, double Milliseconds, unsigned Color);
    std::uint32_t TimeLUSolve();
    std::uint32_t TimeSparseSolve();
    std::uint32_t TimeIterativeSolve();

    tarnel::TSparseMtx FS;
    tarnel::TMtx FA;
    tarnel::TVec FB, FX1, FX2, FX3;
    TPageHelp FHelp;
    bool FRunning = false;
};

}  // namespace paxtor

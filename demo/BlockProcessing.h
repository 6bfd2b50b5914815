// TfrmBlockProc, "Block Processing": times three ways of evaluating the Maxwell density with parameter 1 over
// vectors of growing length (a plain loop over the scalar function, whole-vector operations, and the same operations
// block by block) with the same 10^7 evaluated elements per length, and charts the times per length.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <cstdint>

#include "core/Tarnel.h"
#include "demo/Basic1.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"

namespace paxtor {

class TfrmBlockProc : public TBasicForm1 {
    Q_OBJECT
public:
    explicit TfrmBlockProc(QWidget* owner);
    ~TfrmBlockProc() override;

    QLabel* Label1;                     // "Progress: 0%"
    QPushButton* btnRun;                // "Run test"
    tarnel::gui::TLineSeries* Series1;  // "Plain function", red
    tarnel::gui::TLineSeries* Series2;  // "Vectorized", green
    tarnel::gui::TLineSeries* Series3;  // "Block vectorized", yellow

    enum TEvalForm { fmPlain, fmVectorized, fmBlock };
    static constexpr int kPasses = 6;  // lengths 10 to 10^6

    // x sized to Len real elements, all 2; y sized like x.
    void Prepare(int Len);
    // One evaluation of y := MaxwellPDF(x, 1) in the given form over the current x.
    void Evaluate(TEvalForm Form);
    // The form evaluated Repeat times; the elapsed milliseconds of the tick count.
    double Time(TEvalForm Form, int Repeat);
    // "Run test": the six passes, the progress label, then the chart.
    void RunTest();
    // "Progress: " and the percentage formatted "0" (half away from zero) and "%".
    static QString ProgressText(double Percent);

    tarnel::TVec& X() { return *FX; }
    const tarnel::TVec& Y() const { return *FY; }
    // The times of the last run, per form and pass.
    double Times(TEvalForm Form, int Pass) const { return FTimes[Form][Pass]; }
    const TPageHelp& Help() const { return FHelp; }

private:
    void Progress(double Percent);

    tarnel::TVec* FX = nullptr;  // the input, from the pool
    tarnel::TVec* FY = nullptr;  // the result
    tarnel::TVec* FT = nullptr;  // the work vector
    double FTimes[3][kPasses] = {};
    bool FRunning = false;
    TPageHelp FHelp;
};

}  // namespace paxtor

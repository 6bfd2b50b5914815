// TfrmMtxOptim, "New minimization algorithms": the Rosenbrock function minimised by every method of the optimisation
// component, each stop criterion a slider, analytic or numerical derivatives, the iteration log and the result with
// its stop reason.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "components/TarnelTools.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

// The lines of a read-only memo as a string list for the minimisers' log. Added lines gather and reach the memo in
// batches (one append per batch, not one per line), so a log of ten thousand lines costs a few appends; the list
// itself always holds every line, so reading it back never waits for the memo.
class TMemoLines : public tarnel::TStrings {
public:
    explicit TMemoLines(QPlainTextEdit* Memo) : FMemo(Memo) {}

    int Count() const override { return static_cast<int>(FLines.size()); }
    int Add(const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    // Hands the gathered lines to the memo.
    void Flush();

    static constexpr int kBatch = 2000;

protected:
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;

private:
    void Rewrite();  // the memo shows the list again, whole
    QPlainTextEdit* FMemo;
    std::vector<std::string> FLines;
    std::size_t FShown = 0;  // lines the memo holds
};

class TfrmMtxOptim : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmMtxOptim(QWidget* owner);
    ~TfrmMtxOptim() override;

    // The sliders in the order of the page's table.
    enum TSlider { sbMaxIter, sbTolerance, sbGradTolerance, sbLambda0, sbGradStep, sbA, sbB, kSliderCount };
    QSlider* Sliders[kSliderCount];
    QLabel* ValueLabels[kSliderCount];
    QGroupBox* RadioGroup1;  // "Method"
    QButtonGroup* MethodItems;
    QCheckBox* CheckLog;        // "Log"
    QCheckBox* CheckNumerical;  // "Numerical derivative"
    QPlainTextEdit* Memo1;
    QPushButton* btnMinimize;  // "Find minimum"
    QPushButton* btnHessian;   // "Show Hessian mtx"

    tarnel::TMtxOptimization& MtxOptimization1() { return *FOptimization; }

    // The objective f(a, b) = 100·(b − a²)² + (1 − a)², its analytic gradient and gradient with Hessian.
    static double Rosenbrock(std::span<const double> Pars, std::span<const double> Consts,
                             std::span<void* const> OConsts);
    static void RosenbrockGrad(tarnel::TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                               std::span<void* const> OConsts, tarnel::TVec& Grad);
    static void RosenbrockGradHess(tarnel::TOptFunction Fun, std::span<const double> Pars,
                                   std::span<const double> Consts, std::span<void* const> OConsts, tarnel::TVec& Grad,
                                   tarnel::TMtx* Hess);

    // "Find minimum": the parameters from their sliders, the run, its log and the result lines in the memo.
    void FindMinimum();
    // "Show Hessian mtx": the viewer, not modal, on a copy of the component's (inverse) Hessian; the window stays
    // open on its own when the page goes.
    void ShowHessian();
    // The text of a stop reason ("" for OptResNotFound and OptResSingular).
    static QString StopReasonText(tarnel::TOptStopReason Reason);

private:
    void SliderChange(int Slider);
    void MethodClick(int Item);
    void LogClick();
    void NumericalClick();

    std::unique_ptr<tarnel::TMtxOptimization> FOptimization;
    std::unique_ptr<TMemoLines> FLog;
    TPageHelp FHelp;
};

}  // namespace paxtor

// The optimisation component: the library's minimisers run on the component's parameters with its settings, which
// it keeps and streams as a component.
#pragma once

#include <vector>

#include "components/MtxBaseComp.h"
#include "numerics/Optimization.h"

namespace tarnel {

class TMtxOptimization : public TMtxComponent {
public:
    // Simplex, 10000 iterations, Tolerance and GradTolerance 1e-8, Lambda0 1e-5, soft line search, the Richardson
    // gradient and the numerical gradient and Hessian; Dirty False.
    explicit TMtxOptimization(TComponent* AOwner);

    std::string ClassName() const override { return "TMtxOptimization"; }
    const std::vector<TPropInfo>& Properties() const override;
    std::string StateText() const override { return ""; }

    // ---- Published properties ----------------------------------------------------------------------------------
    // The settings changed since the last run. A setter given a new value sets it; an equal value leaves it alone.
    bool Dirty() const { return FDirty; }
    void SetDirty(bool Value) { FDirty = Value; }
    TOptMethod OptimizationMethod() const { return FOptimizationMethod; }
    void SetOptimizationMethod(TOptMethod Value);
    int MaxIterations() const { return FMaxIterations; }
    void SetMaxIterations(int Value);
    double Tolerance() const { return FTolerance; }
    void SetTolerance(double Value);
    // The starting point, which receives the result; and the constants handed to the function.
    TVec& VariableParameters() { return FVariableParameters; }
    const TVec& VariableParameters() const { return FVariableParameters; }
    // Copies Value into the component's own vector; Dirty unless Value is that vector.
    void SetVariableParameters(const TVec& Value);
    TVec& ConstantParameters() { return FConstantParameters; }
    const TVec& ConstantParameters() const { return FConstantParameters; }
    void SetConstantParameters(const TVec& Value);
    double Lambda0() const { return FLambda0; }
    void SetLambda0(double Value);
    double GradTolerance() const { return FGradTolerance; }
    void SetGradTolerance(double Value);
    bool SoftSearch() const { return FSoftSearch; }
    void SetSoftSearch(bool Value);
    // Why the last run stopped; setting it does nothing.
    TOptStopReason StopReason() const { return FStopReason; }
    void SetStopReason(TOptStopReason) {}
    TNumericGradMethod NumericGradMethod() const { return FNumericGradMethod; }
    void SetNumericGradMethod(TNumericGradMethod Value);

    // ---- Public state ------------------------------------------------------------------------------------------
    double FunMin() const { return FFunMin; }
    int Iterations() const { return FIterations; }
    // Receives the inverse Hessian of Marquardt, BFGS and DFP.
    TMtx& HessianMtx() { return FHessianMtx; }
    // The object constants handed to the function: one nil entry, which the caller may replace.
    std::vector<void*>& ObjectConstants() { return FObjectConstants; }

    TOptFunction Objective() const { return FObjective; }
    void SetObjective(TOptFunction Fun) { FObjective = Fun; }
    TOptGradProc Grad() const { return FGrad; }
    // nil selects the numerical gradient NumericGradMethod names now; a later change of that method takes effect
    // at the next SetGrad(nil).
    void SetGrad(TOptGradProc Grad);
    TOptHessProc GradHess() const { return FGradHess; }
    // nil selects NumericGradHess.
    void SetGradHess(TOptHessProc GradHess) { FGradHess = GradHess ? GradHess : NumericGradHess; }
    TStrings* Verbose() const { return FVerbose; }
    // The log the methods write their iteration lines into; nil for none.
    void SetVerbose(TStrings* Log) { FVerbose = Log; }

    // Runs OptimizationMethod from VariableParameters, which receive the result; FunMin, Iterations, StopReason
    // (and HessianMtx for Marquardt, BFGS, DFP) are set and Dirty cleared. Without an objective nothing happens. An
    // error of the method or of the function passes through with Dirty as it was; complex parameters are refused
    // ("VariableParameters.Complex = True", "ConstantParameters.Complex = True").
    void Recalculate();

private:
    template <class T>
    void Change(T& Field, T Value)
    {
        if (Field != Value) FDirty = true;
        Field = Value;
    }

    // Initialised here before the constructor's steps: SetGrad(nil) reads NumericGradMethod.
    bool FDirty = false;
    TOptMethod FOptimizationMethod = optSimplex;
    int FMaxIterations = 10000;
    double FTolerance = 1e-8;
    TVec FVariableParameters;
    TVec FConstantParameters;
    double FLambda0 = 1e-5;
    double FGradTolerance = 1e-8;
    bool FSoftSearch = true;
    TOptStopReason FStopReason = OptResNotFound;
    TNumericGradMethod FNumericGradMethod = numRichardson;
    double FFunMin = 0;
    int FIterations = 0;
    TMtx FHessianMtx;
    std::vector<void*> FObjectConstants{nullptr};
    TOptFunction FObjective = nullptr;
    TOptGradProc FGrad = nullptr;
    TOptHessProc FGradHess = nullptr;
    TStrings* FVerbose = nullptr;
};

}  // namespace tarnel

#include "components/TarnelTools.h"

#include <cmath>

namespace tarnel {

namespace {

TMtxOptimization& O(TComponent& c)
{
    return static_cast<TMtxOptimization&>(c);
}
const TMtxOptimization& O(const TComponent& c)
{
    return static_cast<const TMtxOptimization&>(c);
}

std::int32_t Int(const TPropValue& v)
{
    return std::get<std::int32_t>(v);
}

}  // namespace

TMtxOptimization::TMtxOptimization(TComponent* AOwner) : TMtxComponent(AOwner)
{
    SetGrad(nullptr);
    SetGradHess(nullptr);
}

const std::vector<TPropInfo>& TMtxOptimization::Properties() const
{
    static const std::vector<TPropInfo> props = {
        {"Dirty", pkBoolean, [](const TComponent& c) { return TPropValue(O(c).Dirty()); },
         [](TComponent& c, const TPropValue& v) { O(c).SetDirty(std::get<bool>(v)); }, std::nullopt},
        {"OptimizationMethod", pkEnumeration,
         [](const TComponent& c) { return TPropValue(std::int32_t{O(c).OptimizationMethod()}); },
         [](TComponent& c, const TPropValue& v) { O(c).SetOptimizationMethod(static_cast<TOptMethod>(Int(v))); },
         TPropValue(std::int32_t{optSimplex}), true, optConjGradPR},
        {"MaxIterations", pkInteger, [](const TComponent& c) { return TPropValue(std::int32_t{O(c).MaxIterations()}); },
         [](TComponent& c, const TPropValue& v) { O(c).SetMaxIterations(Int(v)); }, TPropValue(std::int32_t{500})},
        {"Tolerance", pkDouble, [](const TComponent& c) { return TPropValue(O(c).Tolerance()); },
         [](TComponent& c, const TPropValue& v) { O(c).SetTolerance(std::get<double>(v)); }, std::nullopt},
        {"VariableParameters", pkObject,
         [](const TComponent& c) { return TPropValue(ObjectBody(O(c).VariableParameters())); },
         [](TComponent& c, const TPropValue& v) {
             TVec read;
             AssignObjectBody(read, std::get<std::string>(v));
             O(c).SetVariableParameters(read);
         },
         std::nullopt, true, 0,
         [](const TComponent& c, TStream& s) { WriteObjectBody(s, O(c).VariableParameters()); }, CheckVecBody,
         [](TComponent& c, TStream& s) {
             // As SetVariableParameters: the vector changes and Dirty is set.
             ReadObjectBody(O(c).VariableParameters(), s);
             O(c).SetDirty(true);
         }},
        {"ConstantParameters", pkObject,
         [](const TComponent& c) { return TPropValue(ObjectBody(O(c).ConstantParameters())); },
         [](TComponent& c, const TPropValue& v) {
             TVec read;
             AssignObjectBody(read, std::get<std::string>(v));
             O(c).SetConstantParameters(read);
         },
         std::nullopt, true, 0,
         [](const TComponent& c, TStream& s) { WriteObjectBody(s, O(c).ConstantParameters()); }, CheckVecBody,
         [](TComponent& c, TStream& s) {
             // As SetConstantParameters: the vector changes and Dirty is set.
             ReadObjectBody(O(c).ConstantParameters(), s);
             O(c).SetDirty(true);
         }},
        {"Lambda0", pkDouble, [](const TComponent& c) { return TPropValue(O(c).Lambda0()); },
         [](TComponent& c, const TPropValue& v) { O(c).SetLambda0(std::get<double>(v)); }, std::nullopt},
        {"GradTolerance", pkDouble, [](const TComponent& c) { return TPropValue(O(c).GradTolerance()); },
         [](TComponent& c, const TPropValue& v) { O(c).SetGradTolerance(std::get<double>(v)); }, std::nullopt},
        {"SoftSearch", pkBoolean, [](const TComponent& c) { return TPropValue(O(c).SoftSearch()); },
         [](TComponent& c, const TPropValue& v) { O(c).SetSoftSearch(std::get<bool>(v)); }, TPropValue(true)},
        {"StopReason", pkEnumeration, [](const TComponent& c) { return TPropValue(std::int32_t{O(c).StopReason()}); },
         [](TComponent&, const TPropValue&) {}, std::nullopt, true, OptResConverged},
        {"NumericGradMethod", pkEnumeration,
         [](const TComponent& c) { return TPropValue(std::int32_t{O(c).NumericGradMethod()}); },
         [](TComponent& c, const TPropValue& v) { O(c).SetNumericGradMethod(static_cast<TNumericGradMethod>(Int(v))); },
         TPropValue(std::int32_t{numRichardson}), true, numDifference},
    };
    return props;
}

void TMtxOptimization::SetOptimizationMethod(TOptMethod Value)
{
    Change(FOptimizationMethod, Value);
}
void TMtxOptimization::SetMaxIterations(int Value)
{
    Change(FMaxIterations, Value);
}
void TMtxOptimization::SetLambda0(double Value)
{
    Change(FLambda0, Value);
}
void TMtxOptimization::SetSoftSearch(bool Value)
{
    Change(FSoftSearch, Value);
}
void TMtxOptimization::SetNumericGradMethod(TNumericGradMethod Value)
{
    Change(FNumericGradMethod, Value);
}
void TMtxOptimization::SetTolerance(double Value)
{
    Change(FTolerance, Value);
}
void TMtxOptimization::SetGradTolerance(double Value)
{
    Change(FGradTolerance, Value);
}

void TMtxOptimization::SetVariableParameters(const TVec& Value)
{
    if (&Value == &FVariableParameters) return;
    FVariableParameters.Assign(Value);
    FDirty = true;
}

void TMtxOptimization::SetConstantParameters(const TVec& Value)
{
    if (&Value == &FConstantParameters) return;
    FConstantParameters.Assign(Value);
    FDirty = true;
}

void TMtxOptimization::SetGrad(TOptGradProc Grad)
{
    if (Grad)
        FGrad = Grad;
    else if (FNumericGradMethod == numRichardson)
        FGrad = NumericGradRichardson;
    else if (FNumericGradMethod == numDifference)
        FGrad = NumericGradDifference;
}

void TMtxOptimization::Recalculate()
{
    if (!FObjective) return;
    // The methods see real parameters; the interleaved numbers of a complex vector would be minimised as if real.
    if (FVariableParameters.Complex()) throw Exception("VariableParameters.Complex = True");
    if (FConstantParameters.Complex()) throw Exception("ConstantParameters.Complex = True");
    std::span<double> pars(FVariableParameters.Values(), static_cast<std::size_t>(FVariableParameters.Length()));
    std::span<const double> consts(FConstantParameters.Values(),
                                   static_cast<std::size_t>(FConstantParameters.Length()));
    std::span<void* const> oconsts(FObjectConstants);
    int result = 0;
    switch (FOptimizationMethod) {
        case optSimplex:
            result =
                Simplex(FObjective, pars, consts, oconsts, FFunMin, FStopReason, FMaxIterations, FTolerance, FVerbose);
            break;
        case optMarquardt:
            result = Marquardt(FObjective, FGradHess, pars, consts, oconsts, FFunMin, &FHessianMtx, FStopReason,
                               FMaxIterations, FTolerance, FGradTolerance, FLambda0, FVerbose);
            break;
        case optBFGS:
        case optDFP:
            result =
                BFGS(FObjective, FGrad, pars, consts, oconsts, FFunMin, &FHessianMtx, FStopReason,
                     FOptimizationMethod == optDFP, FSoftSearch, FMaxIterations, FTolerance, FGradTolerance, FVerbose);
            break;
        case optConjGradFR:
        case optConjGradPR:
            result = ConjGrad(FObjective, FGrad, pars, consts, oconsts, FFunMin, FStopReason,
                              FOptimizationMethod == optConjGradFR, FSoftSearch, FMaxIterations, FTolerance,
                              FGradTolerance, FVerbose);
            break;
    }
    FIterations = result;
    FDirty = false;
}

}  // namespace tarnel

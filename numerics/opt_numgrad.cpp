// Gradients and Hessians from function values. Each routine moves one coordinate (two for the Hessian's mixed terms)
// of a pooled copy of the point, evaluates, and puts the saved coordinate back, so the point is exactly the caller's
// again before the next coordinate moves.
#include <algorithm>
#include <cmath>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "numerics/Optimization.h"

namespace tarnel {

namespace {

// The forward difference's relative step (about the square root of the double epsilon, as stated).
constexpr double kForwardStep = 1.4901161194E-8;
// The threshold of the Hessian's reciprocals: the Double of bits 0004000000000001.
constexpr double kRecipThreshold = 5.56268464626801E-309;

// The point the routine moves: a pooled copy of Pars, evaluated as a whole.
class TMovingPoint {
public:
    TMovingPoint(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                 std::span<void* const> OConsts)
        : FFun(Fun), FConsts(Consts), FOConsts(OConsts), FSize(Pars.size())
    {
        FCopy->Size(static_cast<int>(Pars.size()));
        std::copy(Pars.begin(), Pars.end(), FCopy->Values());
    }
    double* X() const { return FCopy->Values(); }
    double operator()() const { return FFun(std::span<const double>(X(), FSize), FConsts, FOConsts); }
    // The value with coordinate I at Xi (then restored to Saved).
    double At(int I, double Xi, double Saved) const
    {
        X()[I] = Xi;
        const double f = (*this)();
        X()[I] = Saved;
        return f;
    }

private:
    detail::TVecTemp FCopy;
    TOptFunction FFun;
    std::span<const double> FConsts;
    std::span<void* const> FOConsts;
    std::size_t FSize;
};

// The gradient procedures write n real elements into a Grad they do not size: a shorter or complex one would be
// written past its end or half its elements.
void CheckGrad(const TVec& Grad, std::size_t n)
{
    if (static_cast<std::size_t>(Grad.Length()) < n) ERaise(msg::kGradLengthPars);
    if (Grad.Complex()) ERaise(msg::kGradComplex);
}

}  // namespace

void NumericGradRichardson(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                           std::span<void* const> OConsts, TVec& Grad)
{
    CheckGrad(Grad, Pars.size());
    const TMovingPoint p(Fun, Pars, Consts, OConsts);
    const double step = GradStepSize;
    for (int i = 0; i < static_cast<int>(Pars.size()); ++i) {
        const double xi = p.X()[i];
        const double h = step * (std::fabs(xi) + 1);
        const double fp1 = p.At(i, xi + h, xi), fm1 = p.At(i, xi - h, xi);
        const double fp2 = p.At(i, xi + 2 * h, xi), fm2 = p.At(i, xi - 2 * h, xi);
        const double fp4 = p.At(i, xi + 4 * h, xi), fm4 = p.At(i, xi - 4 * h, xi);
        const double d1 = (fp1 - fm1) / (2 * h);
        const double d2 = (fp2 - fm2) / (4 * h);
        const double d3 = (fp4 - fm4) / (8 * h);
        Grad.Values()[i] = d1 + 0.4 * (d1 - d2) + ((d1 - d2) - (d2 - d3)) / 45;
    }
}

void NumericGradDifference(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                           std::span<void* const> OConsts, TVec& Grad)
{
    CheckGrad(Grad, Pars.size());
    const TMovingPoint p(Fun, Pars, Consts, OConsts);
    const double f0 = p();
    for (int i = 0; i < static_cast<int>(Pars.size()); ++i) {
        const double xi = p.X()[i];
        const double h = (std::fabs(xi) + 1) * kForwardStep;
        Grad.Values()[i] = (p.At(i, xi + h, xi) - f0) / h;
    }
}

void NumericGradHess(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                     std::span<void* const> OConsts, TVec& Grad, TMtx* Hess)
{
    const int n = static_cast<int>(Pars.size());
    const TMovingPoint p(Fun, Pars, Consts, OConsts);
    detail::TVecTemp hv, fpv, fmv;
    hv->Size(n);
    fpv->Size(n);
    fmv->Size(n);
    double* const h = hv->Values();
    double* const FP = fpv->Values();
    double* const FM = fmv->Values();
    const double step = GradStepSize;
    const double f0 = p();
    for (int i = 0; i < n; ++i) {
        const double xi = p.X()[i];
        h[i] = (std::fabs(xi) + 1) * step;
        FM[i] = p.At(i, xi - h[i], xi);
        FP[i] = p.At(i, xi + h[i], xi);
    }
    Grad.Sub(*fpv, *fmv);
    Grad.Scale(0.5);
    Grad.Divide(*hv, kRecipThreshold);
    if (!Hess) return;

    Hess->TensorProd(*hv, *hv);
    Hess->InvElem(kRecipThreshold);
    double* const H = Hess->Values();
    const auto At = [&](int i, int j) -> double& { return H[static_cast<std::int64_t>(i) * n + j]; };
    for (int i = 0; i < n; ++i) At(i, i) = (FP[i] + FM[i] - 2 * f0) * At(i, i);
    double* const x = p.X();
    for (int i = 0; i < n; ++i) {
        const double xi = x[i];
        x[i] = xi + h[i];
        for (int j = i + 1; j < n; ++j) {
            const double xj = x[j];
            x[j] = xj + h[j];
            const double fij = p();
            x[j] = xj;
            At(i, j) = (fij - FP[i] - FP[j] + f0) * At(i, j);
            At(j, i) = At(i, j);
        }
        x[i] = xi;
    }
}

}  // namespace tarnel

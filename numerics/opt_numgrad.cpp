// Gradients and Hessians from function values. Each routine moves one coordinate (two for the Hessian's mixed terms)
// of a private copy of the point, evaluates, and puts the saved coordinate back, so the point is exactly the caller's
// again before the next coordinate moves.
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/LapackWork.h"
#include "core/messages.h"
#include "numerics/Optimization.h"

namespace tarnel {

namespace {

// The forward difference's relative step (about the square root of the double epsilon, as stated).
constexpr double kForwardStep = 1.4901161194E-8;
// The threshold of the Hessian's reciprocals: the Double of bits 0004000000000001.
constexpr double kRecipThreshold = 5.56268464626801E-309;

// N Doubles of work memory: on the stack up to kLocal (for a few parameters the trip to the pool costs as much as
// the evaluations), a pooled vector beyond.
class TDerivWork {
public:
    explicit TDerivWork(std::size_t N)
    {
        if (N <= kLocal) return;
        FPooled.emplace(static_cast<std::int64_t>(N));
        FData = FPooled->data();
    }
    TDerivWork(const TDerivWork&) = delete;
    TDerivWork& operator=(const TDerivWork&) = delete;
    double* data() const { return FData; }

private:
    static constexpr std::size_t kLocal = 64;
    double FLocal[kLocal];
    double* FData = FLocal;
    std::optional<detail::TWork<double>> FPooled;
};

// The point the routine moves: a private copy of Pars, evaluated as a whole.
class TMovingPoint {
public:
    TMovingPoint(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                 std::span<void* const> OConsts)
        : FCopy(Pars.size()), FFun(Fun), FConsts(Consts), FOConsts(OConsts), FSize(Pars.size())
    {
        std::copy(Pars.begin(), Pars.end(), FCopy.data());
    }
    double* X() const { return FCopy.data(); }
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
    TDerivWork FCopy;
    TOptFunction FFun;
    std::span<const double> FConsts;
    std::span<void* const> FOConsts;
    std::size_t FSize;
};

// 1/X, or ±1/Threshold by the sign of X where |X| < Threshold: the reciprocal of Divide and InvElem with a
// threshold.
double Recip(double X)
{
    return std::isless(std::fabs(X), kRecipThreshold) ? std::copysign(1.0 / kRecipThreshold, X) : 1.0 / X;
}

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
    const TDerivWork work(3 * Pars.size());
    double* const h = work.data();
    double* const FP = h + n;
    double* const FM = FP + n;
    const double step = GradStepSize;
    const double f0 = p();
    for (int i = 0; i < n; ++i) {
        const double xi = p.X()[i];
        h[i] = (std::fabs(xi) + 1) * step;
        FM[i] = p.At(i, xi - h[i], xi);
        FP[i] = p.At(i, xi + h[i], xi);
    }
    // Grad := (FP - FM)·0.5 / h and the matrix of 1/(h_i·h_j), each element rounded as the vector and matrix
    // operations (Sub, Scale, Divide; TensorProd, InvElem) round it.
    Grad.Size(n);
    double* const g = Grad.Values();
    for (int i = 0; i < n; ++i) g[i] = (FP[i] - FM[i]) * 0.5 * Recip(h[i]);
    if (!Hess) return;

    Hess->Size(n, n);
    if (n > 0) {
        Hess->SetAlpha(C_ONE);  // as an outer product leaves them
        Hess->SetBeta(C_ZERO);
    }
    double* const H = Hess->Values();
    const auto At = [&](int i, int j) -> double& { return H[static_cast<std::int64_t>(i) * n + j]; };
    for (int i = 0; i < n; ++i) At(i, i) = (FP[i] + FM[i] - 2 * f0) * Recip(h[i] * h[i]);
    double* const x = p.X();
    for (int i = 0; i < n; ++i) {
        const double xi = x[i];
        x[i] = xi + h[i];
        for (int j = i + 1; j < n; ++j) {
            const double xj = x[j];
            x[j] = xj + h[j];
            const double fij = p();
            x[j] = xj;
            At(i, j) = (fij - FP[i] - FP[j] + f0) * Recip(h[i] * h[j]);
            At(j, i) = At(i, j);
        }
        x[i] = xi;
    }
}

}  // namespace tarnel

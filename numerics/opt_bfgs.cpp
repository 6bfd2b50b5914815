// BFGS and DFP: quasi-Newton minimisation with an estimate H of the inverse Hessian.
//
// With s the step and y the change of the gradient over it (y·s > 0), the updates are
//   DFP:  H + s·sᵀ/(y·s) - (H·y)(H·y)ᵀ/(yᵀ·H·y)                                 (two rank-1 updates, DSYR)
//   BFGS: H + u·sᵀ + s·uᵀ, u = -H·y/(y·s) + (k/2)·s, k = (yᵀ·H·y/(y·s) + 1)/(y·s) (one rank-2 update, DSYR2)
// The BLAS routines write the triangle TriangleForm names (SwappedUploLetter: the row-major data read column-major is
// the transpose, which for a symmetric matrix is the same matrix) and Mirror copies it into the other, so H is
// exactly symmetric after every update, and D = -H·G reads the same triangle (DSYMV).
#include <algorithm>
#include <optional>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/TempGuard.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"
#include "numerics/OptimizationWork.h"

namespace tarnel {

namespace {

constexpr double kEps = 2.220446049250313E-16;
// The update is skipped while y·s <= kSkip·‖y‖₂·‖s‖₂ (about the square root of the double epsilon, as stated).
constexpr double kSkip = 1.4901161194E-8;
constexpr double kAlphaMax = 32.0;
constexpr int kMaxEval = 20;

}  // namespace

int BFGS(TOptFunction Fun, TOptGradProc Grad, std::span<double> Pars, std::span<const double> Consts,
         std::span<void* const> OConsts, double& FMin, TMtx* InvHess, TOptStopReason& StopReason, bool DFP,
         bool SoftLineSearch, int MaxIter, double Tol, double GradTol, TStrings* Verbose)
{
    using detail::OptDot;
    using detail::OptNormC;
    using detail::OptNormL2;
    const detail::TOptLog log(Verbose, "BFGS", "Iteration Fun", Tol);
    const int n = BlasInt(static_cast<std::int64_t>(Pars.size()));
    detail::TVecTemp xv, gv, xoldv, goldv, dv, yv, wv;
    std::optional<detail::TMtxTemp> own;  // the estimate when the caller keeps none
    if (!InvHess) own.emplace();
    TMtx& H = InvHess ? *InvHess : **own;
    TVec &x = *xv, &g = *gv, &xold = *xoldv, &gold = *goldv, &d = *dv, &y = *yv, &w = *wv;
    const auto point = [&] { return std::span<const double>(x.Values(), Pars.size()); };

    StopReason = OptResNotFound;
    x.Size(n);
    std::copy(Pars.begin(), Pars.end(), x.Values());
    H.Eye(n, n);
    FMin = Fun(point(), Consts, OConsts);
    detail::OptGradient(Grad, Fun, point(), Consts, OConsts, g);
    if (OptNormC(g) <= GradTol) StopReason = OptResSmallGrad;
    const double c1 = SoftLineSearch ? 0.01 : 1E-4, c2 = SoftLineSearch ? 0.99 : 1E-4;
    const char uplo = SwappedUploLetter(H.TriangleForm());
    detail::TOptLineWork work;
    int iter = 0;
    double limit = 1;
    while (StopReason == OptResNotFound) {
        const double limit0 = limit;
        xold.Copy(x);
        gold.Copy(g);
        ++iter;
        log.Line(iter, FMin);

        d.SetBlasAlpha(Cplx(-1, 0));
        d.TensorProd(H, g, mtSymmPosDef);
        if (OptNormL2(d) == 0) {
            StopReason = OptResZeroStep;
            break;
        }
        const double dmax = OptNormC(d);
        if (dmax > 1) {
            for (int i = 0; i < n; ++i) d.Values()[i] /= dmax;
        }
        w.Copy(d);
        w.Scale(limit0);

        double alpha = 0;
        detail::OptLineSearch(Fun, Grad, point(), Consts, OConsts, w, g, FMin, kMaxEval, kAlphaMax, c2, c1,
                              SoftLineSearch, alpha, work);
        if (alpha == kAlphaMax) {
            limit = 2 * limit;
        } else if (alpha < 1) {
            limit = std::max(limit / 4, 1.0);
        }

        const double a = alpha * limit0;
        x.Add(d, a);
        d.Sub(x, xold);  // the step s
        const double snorm = OptNormL2(d);
        if (snorm != 0) {
            y.Sub(g, gold);
            const double ys = OptDot(y, d);
            if (!(kSkip * OptNormL2(y) * snorm >= ys)) {
                w.TensorProd(H, y, mtSymmPosDef);
                const double yhy = OptDot(y, w);
                double* const h = H.Values();
                if (DFP) {
                    blas::Syr(uplo, n, 1 / ys, d.Values(), h, n);
                    blas::Syr(uplo, n, -1 / yhy, w.Values(), h, n);
                } else {
                    for (int i = 0; i < n; ++i) w.Values()[i] = -w.Values()[i] / ys;
                    const double k = (yhy / ys + 1) / ys;
                    w.Add(d, k / 2);
                    blas::Syr2(uplo, n, 1, w.Values(), d.Values(), h, n);
                }
                detail::Mirror<double>(H, false);
            }
        } else {
            StopReason = OptResZeroStep;  // the tests below may replace it
        }

        if (detail::OptParamsConverged(std::span<const double>(xold.Values(), Pars.size()), point(), Tol)) {
            StopReason = OptResConverged;
        } else if (iter > MaxIter) {
            StopReason = OptResMaxIter;
        } else if (OptNormC(g) > GradTol) {
            if ((OptNormL2(x) + kEps) * kEps >= a * snorm) StopReason = OptResSmallStep;
        } else {
            StopReason = OptResSmallGrad;
        }
    }
    std::copy(x.Values(), x.Values() + n, Pars.begin());
    return iter;
}

}  // namespace tarnel

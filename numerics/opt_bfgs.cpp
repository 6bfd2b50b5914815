// BFGS and DFP: quasi-Newton minimisation with an estimate H of the inverse Hessian.
//
// With s the step and y the change of the gradient over it (y·s > 0), the updates are
//   DFP:  H + s·sᵀ/(y·s) - (H·y)(H·y)ᵀ/(yᵀ·H·y)                                 (two rank-1 updates, DSYR)
//   BFGS: H + u·sᵀ + s·uᵀ, u = -H·y/(y·s) + (k/2)·s, k = (yᵀ·H·y/(y·s) + 1)/(y·s) (one rank-2 update, DSYR2)
// The BLAS routines write the triangle TriangleForm names (SwappedUploLetter: the row-major data read column-major is
// the transpose, which for a symmetric matrix is the same matrix) and Mirror copies it into the other, so H is
// exactly symmetric after every update, and D = -H·G reads the same triangle (DSYMV). The products are DSYMV whatever
// the matrix's AutoMtxType: detection would take the identity H starts as for a triangle, whose product has no
// factor -1 and points uphill. Below kOptSmallSym rows the products and the DFP update run the loops of
// opt_symmetric.cpp, with the routines' values and without their call costs.
#include <algorithm>
#include <optional>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/TempGuard.h"
#include "core/messages.h"
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
    // The pass works on the elements (the same operations, in the same order, as the vector methods).
    xold.Size(n);
    gold.Size(n);
    y.Size(n);
    w.Size(n);
    d.Size(n);
    double* const X = x.Values();
    double* const XOld = xold.Values();
    double* const GOld = gold.Values();
    double* const Y = y.Values();
    double* const D = d.Values();
    double* const W = w.Values();
    // Dst := Alpha·H·V as TensorProd forms it for a symmetric matrix (beta 0). The callbacks run between the
    // products, and a callback that reshaped the caller's matrix is refused before it is read.
    const auto product = [&](double* Dst, const double* V, double Alpha) {
        if (H.Rows() != n || H.Cols() != n || H.Complex()) ERaise(msg::kHessSizeChanged);
        detail::OptSymMv(uplo, n, Alpha, H.Values(), V, Dst);
    };
    int iter = 0;
    double limit = 1;
    while (StopReason == OptResNotFound) {
        const double limit0 = limit;
        std::copy(X, X + n, XOld);
        std::copy(g.Values(), g.Values() + n, GOld);
        ++iter;
        log.Line(iter, FMin);

        product(D, g.Values(), -1);
        if (OptNormL2(D, n) == 0) {
            StopReason = OptResZeroStep;
            break;
        }
        const double dmax = OptNormC(D, n);
        if (dmax > 1) {
            for (int i = 0; i < n; ++i) D[i] /= dmax;
        }
        for (int i = 0; i < n; ++i) W[i] = D[i] * limit0;

        double alpha = 0;
        detail::OptLineSearch(Fun, Grad, point(), Consts, OConsts, w, g, FMin, kMaxEval, kAlphaMax, c2, c1,
                              SoftLineSearch, alpha, work);
        if (alpha == kAlphaMax) {
            limit = 2 * limit;
        } else if (alpha < 1) {
            limit = std::max(limit / 4, 1.0);
        }

        const double a = alpha * limit0;
        detail::OptAxpy(n, a, D, X);
        for (int i = 0; i < n; ++i) D[i] = X[i] - XOld[i];  // the step s
        const double snorm = OptNormL2(D, n);
        if (snorm != 0) {
            const double* const G = g.Values();
            for (int i = 0; i < n; ++i) Y[i] = G[i] - GOld[i];
            const double ys = OptDot(Y, D, n);
            if (!(kSkip * OptNormL2(Y, n) * snorm >= ys)) {
                product(W, Y, 1);
                const double yhy = OptDot(Y, W, n);
                double* const h = H.Values();
                if (DFP) {
                    detail::OptSyrPair(uplo, n, 1 / ys, D, -1 / yhy, W, h);
                } else {
                    for (int i = 0; i < n; ++i) W[i] = -W[i] / ys;
                    const double k = (yhy / ys + 1) / ys;
                    detail::OptAxpy(n, k / 2, D, W);
                    blas::Syr2(uplo, n, 1, W, D, h, n);
                }
                // The caller's matrix is symmetric whenever the callbacks run; the pooled one is read only by the
                // products here, which see the one triangle.
                if (InvHess) detail::Mirror<double>(H, false);
            }
        } else {
            StopReason = OptResZeroStep;  // the tests below may replace it
        }

        if (detail::OptParamsConverged(std::span<const double>(XOld, Pars.size()), point(), Tol)) {
            StopReason = OptResConverged;
        } else if (iter > MaxIter) {
            StopReason = OptResMaxIter;
        } else if (detail::OptNormCAbove(g.Values(), n, GradTol)) {
            if ((OptNormL2(X, n) + kEps) * kEps >= a * snorm) StopReason = OptResSmallStep;
        } else {
            StopReason = OptResSmallGrad;
        }
    }
    std::copy(x.Values(), x.Values() + n, Pars.begin());
    return iter;
}

}  // namespace tarnel

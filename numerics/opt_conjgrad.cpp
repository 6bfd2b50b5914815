// Nonlinear conjugate gradients, Fletcher-Reeves or Polak-Ribière, on the line search of BFGS. No matrix: the
// direction H, the point X and the gradient G, with their previous values, are pooled vectors, sized once; a pass
// works on their elements directly (the same operations, in the same order, as the vector methods). G lives in one
// of two vectors, the line search's trials writing into the other, so an accepted gradient is never copied.
#include <algorithm>
#include <cmath>

#include "core/TempGuard.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"
#include "numerics/OptimizationWork.h"

namespace tarnel {

namespace {

constexpr double kEps = 2.220446049250313E-16;
constexpr double kAlphaMax = 32.0;
constexpr int kMaxEval = 20;

}  // namespace

int ConjGrad(TOptFunction Fun, TOptGradProc Grad, std::span<double> Pars, std::span<const double> Consts,
             std::span<void* const> OConsts, double& FMin, TOptStopReason& StopReason, bool FletcherReeves,
             bool SoftLineSearch, int MaxIter, double Tol, double GradTol, TStrings* Verbose)
{
    using detail::OptDot;
    using detail::OptNormC;
    using detail::OptNormL2;
    const detail::TOptLog log(Verbose, "ConjGrad", "Iteration Fun", Tol);
    const int n = static_cast<int>(Pars.size());
    detail::TVecTemp xv, gv, g2v, hv, xoldv, goldv, wv;
    TVec &x = *xv, &g = *gv, &h = *hv, &w = *wv;
    TVec* gp = &g;  // the gradient at X: g or *g2v, which the line search hands round instead of copying
    const auto point = [&] { return std::span<const double>(x.Values(), Pars.size()); };

    StopReason = OptResNotFound;
    x.Size(n);
    std::copy(Pars.begin(), Pars.end(), x.Values());
    h.Size(n);
    h.SetZero();
    xoldv->Size(n);
    w.Size(n);
    if (!FletcherReeves) goldv->Size(n);
    double* const X = x.Values();
    double* const Hd = h.Values();
    double* const W = w.Values();
    double* const XOld = xoldv->Values();
    double* const GOld = goldv->Values();
    double hnorm = 0;
    FMin = Fun(point(), Consts, OConsts);
    detail::OptGradient(Grad, Fun, point(), Consts, OConsts, g);
    double gnorm = OptNormL2(g);
    double gg = gnorm * gnorm;
    double beta = 0;
    if (OptNormC(g) <= GradTol) StopReason = OptResSmallGrad;
    const double c1 = SoftLineSearch ? 0.01 : 1E-4, c2 = SoftLineSearch ? 0.99 : 1E-4;
    detail::TOptLineWork work;
    g2v->Size(n);
    int iter = 0;
    double step = 1;  // S, the last step factor
    while (StopReason == OptResNotFound) {
        // *gp keeps n real elements: OptGradient sizes it before every call and refuses any other shape after.
        const double* const G = gp->Values();
        const double xnorm = detail::OptCopyNormL2(n, X, XOld);
        const double hnormOld = hnorm, ggOld = gg;
        if (!FletcherReeves) std::copy(G, G + n, GOld);

        double hh = 0;
        const double gh = detail::OptDirection(n, beta, G, Hd, hh);
        hnorm = detail::OptNormL2FromSum(hh, Hd, n);
        if (gh >= -0.001 * gnorm * hnorm) {  // not clearly downhill: restart
            for (int i = 0; i < n; ++i) Hd[i] = -G[i];
            hnorm = gnorm;
        }
        // A zero direction comes only from a zero gradient: the point is stationary (1/hnorm would be infinite).
        if (hnorm == 0) {
            StopReason = OptResSmallGrad;
            break;
        }
        const double t = iter == 0 ? 1 / (32 * hnorm) : 0.9 * step * hnormOld / hnorm;
        work.Slope = detail::OptMulDot(n, Hd, t, W, G);
        work.HaveSlope = true;

        double alpha = 0;
        work.Spare = gp == &g ? &*g2v : &g;
        detail::OptLineSearch(Fun, Grad, point(), Consts, OConsts, w, *gp, FMin, kMaxEval, kAlphaMax, c2, c1,
                              SoftLineSearch, alpha, work);
        gp = work.Result;
        const double* const GNew = gp->Values();
        step = t * alpha;
        gnorm = work.HaveSquares ? detail::OptNormL2FromSum(work.Squares, GNew, n) : OptNormL2(GNew, n);
        gg = gnorm * gnorm;
        beta = gg / ggOld;
        if (!FletcherReeves) beta = beta - OptDot(GOld, GNew, n) / ggOld;

        detail::OptAxpy(n, step, Hd, X);
        ++iter;
        log.Line(iter, FMin);

        if (detail::OptParamsConverged(std::span<const double>(XOld, Pars.size()), point(), Tol)) {
            StopReason = OptResConverged;
        } else if (iter > MaxIter) {
            StopReason = OptResMaxIter;
        } else if (detail::OptNormCAbove(GNew, n, GradTol, !std::isnan(gnorm))) {  // ‖G‖₂ is NaN iff an element is
            if ((xnorm + kEps) * kEps >= step * hnorm) StopReason = OptResSmallStep;
        } else {
            StopReason = OptResSmallGrad;
        }
    }
    std::copy(x.Values(), x.Values() + n, Pars.begin());
    return iter;
}

}  // namespace tarnel

// Nonlinear conjugate gradients, Fletcher-Reeves or Polak-Ribière, on the line search of BFGS. No matrix: the
// direction H, the point X and the gradient G, with their previous values, are pooled vectors.
#include <algorithm>

#include "core/TempGuard.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"

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
    detail::TVecTemp xv, gv, hv, xoldv, goldv, wv;
    TVec &x = *xv, &g = *gv, &h = *hv, &xold = *xoldv, &gold = *goldv, &w = *wv;
    const auto point = [&] { return std::span<const double>(x.Values(), Pars.size()); };

    StopReason = OptResNotFound;
    x.Size(n);
    std::copy(Pars.begin(), Pars.end(), x.Values());
    h.Size(n);
    h.SetZero();
    double hnorm = 0;
    FMin = Fun(point(), Consts, OConsts);
    detail::OptGradient(Grad, Fun, point(), Consts, OConsts, g);
    double gnorm = OptNormL2(g);
    double gg = gnorm * gnorm;
    double beta = 0;
    if (OptNormC(g) <= GradTol) StopReason = OptResSmallGrad;
    const double c1 = SoftLineSearch ? 0.01 : 1E-4, c2 = SoftLineSearch ? 0.99 : 1E-4;
    int iter = 0;
    double step = 1;  // S, the last step factor
    while (StopReason == OptResNotFound) {
        xold.Copy(x);
        const double xnorm = OptNormL2(x);
        const double hnormOld = hnorm, ggOld = gg;
        if (!FletcherReeves) gold.Copy(g);

        h.Scale(beta);
        h.Sub(g);
        hnorm = OptNormL2(h);
        if (OptDot(g, h) >= -0.001 * gnorm * hnorm) {  // not clearly downhill: restart
            h.Copy(g);
            h.Scale(-1);
            hnorm = gnorm;
        }
        // A zero direction comes only from a zero gradient: the point is stationary (1/hnorm would be infinite).
        if (hnorm == 0) {
            StopReason = OptResSmallGrad;
            break;
        }
        const double t = iter == 0 ? 1 / (32 * hnorm) : 0.9 * step * hnormOld / hnorm;
        w.Copy(h);
        w.Scale(t);

        double alpha = 0;
        detail::OptLineSearch(Fun, Grad, point(), Consts, OConsts, w, g, FMin, kMaxEval, kAlphaMax, c2, c1,
                              SoftLineSearch, alpha);
        step = t * alpha;
        gnorm = OptNormL2(g);
        gg = gnorm * gnorm;
        beta = gg / ggOld;
        if (!FletcherReeves) beta = beta - OptDot(gold, g) / ggOld;

        x.Add(h, step);
        ++iter;
        log.Line(iter, FMin);

        if (detail::OptParamsConverged(std::span<const double>(xold.Values(), Pars.size()), point(), Tol)) {
            StopReason = OptResConverged;
        } else if (iter > MaxIter) {
            StopReason = OptResMaxIter;
        } else if (OptNormC(g) > GradTol) {
            if ((xnorm + kEps) * kEps >= step * hnorm) StopReason = OptResSmallStep;
        } else {
            StopReason = OptResSmallGrad;
        }
    }
    std::copy(x.Values(), x.Values() + n, Pars.begin());
    return iter;
}

}  // namespace tarnel

// Levenberg-Marquardt: damped Newton steps (HS + λ·diag(HS))·DX = -G, each followed by Brent's search for the best
// multiple t of DX in [0, 1].
//
// The line function reaches the objective and the vectors through the object array: Fun and HessProc get the
// caller's entries followed by the addresses of a holder of Fun (a function pointer is no object pointer), X, DX and
// T, which MarquardtLineFunction reads from the end of the array.
//
// What the caller gets in VarCovar is the inverse of the last damped matrix, formed by Inv as mtSymmPosDef
// (DPOTRF/DPOTRI): for a least-squares Fun = Σ r² with the Gauss-Newton Hessian 2·JᵀJ that is ½(JᵀJ)⁻¹ at a small λ,
// not σ²(JᵀJ)⁻¹; scaling it by a residual variance is the caller's part.
#include <algorithm>
#include <vector>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"

namespace tarnel {

namespace {

constexpr double kEps = 2.220446049250313E-16;
constexpr int kBrentPasses = 100;

// HessProc at X with Grad sized to n and Hess to n × n before the call, both checked after it.
void CallHess(TOptHessProc HessProc, TOptFunction Fun, std::span<const double> X, std::span<const double> Consts,
              std::span<void* const> OConsts, TVec& G, TMtx& HS)
{
    const int n = static_cast<int>(X.size());
    G.Size(n);
    HS.Size(n, n);
    HessProc(Fun, X, Consts, OConsts, G, &HS);
    if (G.Length() != n) ERaise(msg::kGradLengthChanged);
    if (G.Complex()) ERaise(msg::kGradComplex);
    if (HS.Rows() != n || HS.Cols() != n || HS.Complex()) ERaise(msg::kHessSizeChanged);
}

// A·DX = B by Cholesky; false when A is not positive definite (LUSolve raises for that: the run ends instead).
bool CholeskySolve(TMtx& A, const TVec& B, TVec& DX)
{
    try {
        A.LUSolve(B, DX, mtSymmPosDef);
    } catch (const Exception&) {
        if (A.Info() > 0) return false;
        throw;
    }
    return true;
}

}  // namespace

namespace detail {

double MarquardtLineFunction(std::span<const double> Pars, std::span<const double> Consts,
                             std::span<void* const> OConsts)
{
    const std::size_t m = OConsts.size();
    const auto& holder = *static_cast<const TOptFunctionHolder*>(OConsts[m - 4]);
    const TVec& x = *static_cast<const TVec*>(OConsts[m - 3]);
    const TVec& dx = *static_cast<const TVec*>(OConsts[m - 2]);
    TVec& t = *static_cast<TVec*>(OConsts[m - 1]);
    t.Copy(x);
    t.Add(dx, Pars[0]);
    return holder.Fun(std::span<const double>(t.Values(), static_cast<std::size_t>(t.Length())), Consts, OConsts);
}

}  // namespace detail

int Marquardt(TOptFunction Fun, TOptHessProc HessProc, std::span<double> Pars, std::span<const double> Consts,
              std::span<void* const> OConsts, double& FMin, TMtx* VarCovar, TOptStopReason& StopReason, int MaxIter,
              double Tol, double GradTol, double Lambda, TStrings* Verbose)
{
    using detail::OptNormC;
    using detail::OptNormL2;
    const detail::TOptLog log(Verbose, "Marquardt", "Iteration Fun                Lambda", Tol);
    const int n = static_cast<int>(Pars.size());
    detail::TVecTemp x0v, gv, dxv, xv, tv;
    detail::TMtxTemp hsv, av;
    TVec &x0 = *x0v, &g = *gv, &dx = *dxv, &x = *xv;
    TMtx &HS = *hsv, &A = *av;
    const auto point = [&] { return std::span<const double>(x.Values(), Pars.size()); };

    x.Size(n);
    std::copy(Pars.begin(), Pars.end(), x.Values());
    dx.Size(n);
    const detail::TOptFunctionHolder holder{Fun};
    std::vector<void*> ext(OConsts.begin(), OConsts.end());
    ext.insert(ext.end(), {const_cast<detail::TOptFunctionHolder*>(&holder), xv.get(), dxv.get(), tv.get()});
    const std::span<void* const> objects(ext);

    FMin = Fun(point(), Consts, objects);
    StopReason = OptResNotFound;
    int iter = 1;
    double lambda = Lambda;
    double fnew = 0;
    bool searched = false;  // a line search ran in this call: fnew is the value at x
    bool factored = false;  // the last damped matrix A was factorised
    while (StopReason == OptResNotFound) {
        log.Line(iter, FMin, lambda);
        x0.Copy(x);
        CallHess(HessProc, Fun, point(), Consts, objects, g, HS);
        const double gC = OptNormC(g);
        if (gC < GradTol) StopReason = OptResSmallGrad;
        g.Scale(-1);
        A.Copy(HS);
        bool success = false;
        do {
            const double* const hs = HS.Values();
            double* const a = A.Values();
            for (int j = 0; j < n; ++j) {
                const std::int64_t jj = static_cast<std::int64_t>(j) * n + j;
                a[jj] = hs[jj] * (1 + lambda);
            }
            factored = CholeskySolve(A, g, dx);
            if (!factored) {
                StopReason = OptResSingular;
                break;
            }
            x.Copy(x0);
            double t = 0;
            MinBrent(0, 1, detail::MarquardtLineFunction, Consts, objects, t, kBrentPasses, GradStepSize, nullptr);
            fnew = detail::MarquardtLineFunction(std::span<const double>(&t, 1), Consts, objects);
            searched = true;
            x.Add(dx, t);
            success = Tol * FMin > fnew - FMin;
            if (!success) lambda = 10 * lambda;

            const double xn = OptNormL2(x), dxn = OptNormL2(dx);
            if (detail::OptParamsConverged(std::span<const double>(x0.Values(), Pars.size()), point(), Tol)) {
                StopReason = OptResConverged;
            } else if ((xn + kEps) * kEps >= dxn) {
                StopReason = OptResSmallStep;
            } else if (gC < GradTol) {
                StopReason = OptResSmallGrad;
            } else if (xn / kEps > dxn) {
                if (lambda > 1000) StopReason = OptResBigLambda;
            } else {
                StopReason = OptResSingular;
            }
            // A damping factor that is not positive never grows: the failed trial would repeat for ever.
            if (!success && StopReason == OptResNotFound && !(lambda > 0)) StopReason = OptResBigLambda;
        } while (!success && StopReason == OptResNotFound);
        if (searched) FMin = fnew;
        lambda = 0.1 * lambda;
        ++iter;
        log.Line(iter, FMin);
        if (iter > MaxIter) StopReason = OptResMaxIter;
    }
    std::copy(x.Values(), x.Values() + n, Pars.begin());
    if (VarCovar && factored && StopReason != OptResSingular) {
        VarCovar->Copy(A);
        VarCovar->Inv(mtSymmPosDef);
    }
    return iter;
}

}  // namespace tarnel

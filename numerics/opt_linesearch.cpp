// The line search of BFGS and ConjGrad and the gradient call they share.
//
// The search works on φ(α) = Fun(X0 + α·D), φ'(α) = ∇f·D. The bracket is a pooled vector of nine values, three
// points of (α, f, φ'): the lower end (the last accepted trial, or the start), the upper end, and the newest trial.
// Every loop is bounded by MaxEval trials, whatever the values (NaN included).
#include <algorithm>
#include <cmath>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationWork.h"

namespace tarnel::detail {

namespace {

constexpr double kEps = 2.220446049250313E-16;

// The bracket's slots.
enum { kLoA, kLoF, kLoD, kHiA, kHiF, kHiD, kNewA, kNewF, kNewD };

void SetPoint(double* Bracket, int At, double A, double F, double D)
{
    Bracket[At] = A;
    Bracket[At + 1] = F;
    Bracket[At + 2] = D;
}

}  // namespace

void OptGradient(TOptGradProc Grad, TOptFunction Fun, std::span<const double> X, std::span<const double> Consts,
                 std::span<void* const> OConsts, TVec& G)
{
    const int n = static_cast<int>(X.size());
    if (G.Length() != n || G.Complex()) G.Size(n);  // (sizing to the size it has changes nothing)
    Grad(Fun, X, Consts, OConsts, G);
    // The minimisers read n real elements of G.
    if (G.Length() != n) ERaise(msg::kGradLengthChanged);
    if (G.Complex()) ERaise(msg::kGradComplex);
}

double OptLineSearchInterpolate(std::span<const double> Bracket, int N)
{
    const double lo = Bracket[kLoA], hi = Bracket[kHiA], dlo = Bracket[kLoD];
    const double width = hi - lo;
    const double c = Bracket[kHiF] - Bracket[kLoF] - dlo * width;
    if (5 * N * kEps * hi > c) return (lo + hi) / 2;
    // fmax/fmin: a NaN curvature gives the inner end next to the lower end, not a NaN step.
    return std::fmin(hi - 0.1 * width, std::fmax(lo - dlo * width * width / (2 * c), lo + 0.1 * width));
}

int OptLineSearch(TOptFunction Fun, TOptGradProc Grad, std::span<const double> X0, std::span<const double> Consts,
                  std::span<void* const> OConsts, const TVec& D, TVec& G, double& F, int MaxEval, double AlphaMax,
                  double C2, double C1, bool Soft, double& Alpha)
{
    TOptLineWork work;
    return OptLineSearch(Fun, Grad, X0, Consts, OConsts, D, G, F, MaxEval, AlphaMax, C2, C1, Soft, Alpha, work);
}

int OptLineSearch(TOptFunction Fun, TOptGradProc Grad, std::span<const double> X0, std::span<const double> Consts,
                  std::span<void* const> OConsts, const TVec& D, TVec& G, double& F, int MaxEval, double AlphaMax,
                  double C2, double C1, bool Soft, double& Alpha, TOptLineWork& Work)
{
    Alpha = 0;
    Work.Result = &G;
    Work.HaveSquares = false;
    const int n = static_cast<int>(X0.size());
    const double* const d = D.Values();
    const double dphi0 = Work.HaveSlope ? Work.Slope : OptDot(d, G.Values(), std::min(D.Length(), G.Length()));
    if (dphi0 >= 0) return 0;

    // The trial's gradient goes into *tv. With a spare vector an accepted gradient stays where it was formed, and
    // the next trial takes the vector that held the gradient before it (the start's or the last accepted one's).
    TVec* tv = Work.Spare ? Work.Spare : &*Work.G;
    if (Work.X->Length() != n) Work.X->Size(n);
    if (Work.Bracket->Length() != 9) Work.Bracket->Size(9);
    double* const x = Work.X->Values();
    double* const b = Work.Bracket->Values();
    const std::span<const double> at(x, X0.size());

    const double F0 = F, a1 = C1 * dphi0, a2 = C2 * dphi0;
    double alpha = std::min(AlphaMax, 1.0);
    double f = 0, dphi = 0, squares = 0;
    const int m = std::min(n, D.Length());
    // (Both inlined: as calls, their captures would live in memory and every element store reload them.)
    const auto trial = [&] [[gnu::always_inline]] {
        OptAddMul(n, X0.data(), alpha, d, x);
        f = Fun(at, Consts, OConsts);
        OptGradient(Grad, Fun, at, Consts, OConsts, *tv);
        // The gradient's sum of squares comes with the slope, for the caller's norm of an accepted one.
        dphi = OptDotSquares(tv->Values(), d, m, squares);
    };
    const auto accept = [&] [[gnu::always_inline]] {
        Alpha = alpha;
        F = f;
        Work.HaveSquares = m == n;
        Work.Squares = squares;
        if (Work.Spare) {
            std::swap(tv, Work.Result);
            return;
        }
        if (G.Length() != n || G.Complex()) G.Size(n);  // what Copy would do
        OptCopy(n, tv->Values(), G.Values());
    };
    const auto enlarge = [&] { alpha = 2.5 * alpha > AlphaMax ? AlphaMax : 2 * alpha; };
    // The slope at the lower end: the start's until a trial is accepted.
    double dphiLo = dphi0;
    int counter = 0;

    trial();
    bool bracket = true;
    if (Soft) {
        while (f <= F0 + a1 * alpha) {
            accept();
            dphiLo = dphi;
            if (!(counter < MaxEval && alpha < AlphaMax && dphi < a2)) {
                bracket = false;
                break;
            }
            enlarge();
            trial();
            ++counter;
        }
    } else {
        while (f < F0) {
            accept();
            dphiLo = dphi;
            if (!(counter < MaxEval && alpha < AlphaMax)) break;
            enlarge();
            trial();
            ++counter;
            if (!(dphi < 0)) break;
        }
        bracket = alpha < AlphaMax || dphi > 0;
    }
    if (!bracket) return counter;

    SetPoint(b, kLoA, Alpha, F, dphiLo);
    SetPoint(b, kHiA, alpha, f, dphi);
    SetPoint(b, kNewA, alpha, f, dphi);
    const double minWidth = Soft ? 0 : C1;
    while (counter < MaxEval && b[kHiA] - b[kLoA] > minWidth) {
        if (Soft && b[kNewD] >= a2 && b[kNewF] <= F0 + a1 * b[kNewA]) break;
        alpha = OptLineSearchInterpolate(std::span<const double>(b, 9), n);
        trial();
        SetPoint(b, kNewA, alpha, f, dphi);
        const bool lower = Soft ? F0 + a1 * alpha > f : !(dphi >= 0 && b[kLoF] <= f);
        if (lower) {
            SetPoint(b, kLoA, alpha, f, dphi);
            accept();
        } else {
            SetPoint(b, kHiA, alpha, f, dphi);
        }
        ++counter;
    }
    return counter;
}

}  // namespace tarnel::detail

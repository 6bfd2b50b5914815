// What the minimisers share: the step-size global and the module's start-up, the convergence test on parameters, the
// norms of the work vectors and the iteration log.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"
#include "numerics/OptimizationWork.h"
#include "platform/rtl/NumText.h"
#include "platform/wavrin/PairSum.h"

namespace tarnel {

// Constant-initialised, so a derivative called before the start-up (from another file's initialiser) sees it too.
double GradStepSize = kDefaultGradStepSize;

namespace {
int gOptimizationStarts = 0;
}

void OptimizationInitialize()
{
    if (gOptimizationStarts++ == 0) GradStepSize = kDefaultGradStepSize;
}

void OptimizationFinalize()
{
    if (gOptimizationStarts > 0) --gOptimizationStarts;
}

namespace detail {

bool OptParamsConverged(std::span<const double> Old, std::span<const double> New, double Tol)
{
    for (std::size_t i = 0; i < Old.size(); ++i) {
        const double bound = Old[i] == 0 ? Tol : Tol * std::fabs(Old[i]);
        if (!(std::fabs(New[i] - Old[i]) < bound)) return false;
    }
    return true;
}

double OptNormC(const double* V, int N)
{
    return N == 0 ? 0 : nspdNorm(V, nullptr, N, NSP_C);
}

bool OptNormCAbove(const double* V, int N, double Bound, bool NoNaN)
{
    if (N == 0) return 0 > Bound;  // the norm of nothing is 0
    if (NoNaN) {
        for (int i = 0; i < N; ++i)
            if (std::fabs(V[i]) > Bound) return true;
        return false;
    }
    // ‖V‖∞ is NaN when an element is, and a NaN is above nothing.
    bool nan = false, above = false;
    for (int i = 0; i < N; ++i) {
        nan |= V[i] != V[i];
        above |= std::fabs(V[i]) > Bound;
    }
    return above && !nan;
}

double OptNormL2(const double* V, int N)
{
    if (N == 0) return 0;
    // nspdNorm's sum of squares without the calls and checks around it; a sum out of the range the routine takes
    // the root of directly (it redoes those scaled) goes to the routine itself.
    const double s = wavrin::PairSum(0, N, [V](long long i) { return V[i] * V[i]; });
    if (std::isfinite(s) && s >= 1e-290) return std::sqrt(s);
    return nspdNorm(V, nullptr, N, NSP_L2);
}

double OptDot(const double* U, const double* V, int N)
{
    // nspdDotProd's sum, without the calls and checks around it.
    return wavrin::PairSum(0, N, [U, V](long long i) { return U[i] * V[i]; });
}

void OptAxpy(int N, double A, const double* Src, double* Dst)
{
    if (N == 0) return;
    if (A == 1)
        nspdbAdd2(Src, Dst, N);  // Add's plain sum
    else
        Axpy(false, N, A, 0, Src, Dst);
}

double OptNormC(const TVec& V)
{
    return OptNormC(V.Values(), V.Length());
}

double OptNormL2(const TVec& V)
{
    return OptNormL2(V.Values(), V.Length());
}

double OptDot(const TVec& U, const TVec& V)
{
    return OptDot(U.Values(), V.Values(), std::min(U.Length(), V.Length()));
}

int LogDigits(double Tol)
{
    const double l = std::log10(Tol);
    if (!std::isfinite(l)) return 0;
    // Round to nearest with ties to even, whatever the rounding mode: round() takes ties away from zero, and a tie
    // (an exact half, so r - l is exact) goes to the even neighbour instead.
    double r = std::round(l);
    if (std::fabs(r - l) == 0.5) r = 2 * std::round(l / 2);
    return static_cast<int>(std::fabs(r));
}

TOptLog::TOptLog(TStrings* Verbose, const char* Name, const char* Header, double Tol)
    : FVerbose(Verbose), FDigits(Verbose ? LogDigits(Tol) : 0)
{
    if (!FVerbose) return;
    FVerbose->Append(Name);
    FVerbose->Append(Header);
}

namespace {

std::string LineText(int Counter, double Value, int Digits)
{
    return FormatFloat("0000", Counter) + "      " + FloatToStrF(Value, ffFixed, 1, Digits);
}

}  // namespace

void TOptLog::Line(int Counter, double Value) const
{
    if (FVerbose) FVerbose->Append(LineText(Counter, Value, FDigits));
}

void TOptLog::Line(int Counter, double Value, double Lambda) const
{
    if (FVerbose) FVerbose->Append(LineText(Counter, Value, FDigits) + "  " + FloatToStrF(Lambda, ffFixed, 1, FDigits));
}

}  // namespace detail

}  // namespace tarnel

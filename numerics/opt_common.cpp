// What the minimisers share: the step-size global and the module's start-up, the convergence test on parameters, the
// norms and element-wise passes of the work vectors and the iteration log.
//
// A minimiser's pass over a few dozen parameters runs thousands of times; with AVX-512 the sums and element-wise
// passes below take whole registers (the pairwise sum's eight accumulators are the eight lanes of one), which gives
// the same operations in the same order, so the same bits, in a fraction of the instructions. That counts most when
// the core is shared and instructions, more than latencies, set the pace.
#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/BlasCalls.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"
#include "numerics/OptimizationWork.h"
#include "platform/rtl/NumText.h"
#include "platform/wavrin/PairSum.h"
#include "platform/wavrin/Parallel.h"

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

namespace {

// PairSum's block of U[i]·V[i] over N <= 128 terms, its eight accumulators the lanes of one register: the same
// products and sums in the same order, so the same bits, in a fraction of the instructions.
// ((a0 + a1) + (a2 + a3)) + ((a4 + a5) + (a6 + a7)), the accumulators a0..a7 the lanes of A, in registers: each step
// adds every lane's neighbour at distance 1, 2 and 4 (a + b and b + a have the same bits). The shuffles take their
// full-mask forms, as the plain ones trip a false uninitialised-value warning in GCC 12.
[[gnu::target("avx512f"), gnu::always_inline]] inline double Combine8(__m512d A)
{
    const __m512d pairs = _mm512_add_pd(A, _mm512_mask_permute_pd(A, 0xFF, A, 0x55));  // l0 + l1 in lane 0
    const __m512d quads = _mm512_add_pd(pairs, _mm512_mask_permutex_pd(pairs, 0xFF, pairs, 0x4E));  // + (l2 + l3)
    const __m512d halves = _mm512_mask_shuffle_f64x2(quads, 0xFF, quads, quads, 0x4E);
    return _mm512_cvtsd_f64(_mm512_add_pd(quads, halves));  // ... + ((l4 + l5) + (l6 + l7))
}

[[gnu::target("avx512f")]] double DotBlock(const double* U, const double* V, int N)
{
    __m512d a = _mm512_setzero_pd();
    int i = 0;
    for (; i + 8 <= N; i += 8) a = _mm512_add_pd(a, _mm512_mul_pd(_mm512_loadu_pd(U + i), _mm512_loadu_pd(V + i)));
    double s = Combine8(a);
    for (; i < N; ++i) s += U[i] * V[i];
    return s;
}

// The blocks of U·V and of U·U (N <= 128), in one pass.
[[gnu::target("avx512f")]] double DotSquaresBlock(const double* U, const double* V, int N, double& Squares)
{
    __m512d a = _mm512_setzero_pd(), q = _mm512_setzero_pd();
    int i = 0;
    for (; i + 8 <= N; i += 8) {
        const __m512d u = _mm512_loadu_pd(U + i);
        a = _mm512_add_pd(a, _mm512_mul_pd(u, _mm512_loadu_pd(V + i)));
        q = _mm512_add_pd(q, _mm512_mul_pd(u, u));
    }
    double s = Combine8(a), sq = Combine8(q);
    for (; i < N; ++i) {
        s += U[i] * V[i];
        sq += U[i] * U[i];
    }
    Squares = sq;
    return s;
}

// Out := X·S with the block of Out·V (N <= 128), in one pass.
[[gnu::target("avx512f")]] double MulDotBlock(int N, const double* X, double S, double* Out, const double* V)
{
    const __m512d s = _mm512_set1_pd(S);
    __m512d a = _mm512_setzero_pd();
    int i = 0;
    for (; i + 8 <= N; i += 8) {
        const __m512d o = _mm512_mul_pd(_mm512_loadu_pd(X + i), s);
        _mm512_storeu_pd(Out + i, o);
        a = _mm512_add_pd(a, _mm512_mul_pd(o, _mm512_loadu_pd(V + i)));
    }
    double d = Combine8(a);
    for (; i < N; ++i) {
        Out[i] = X[i] * S;
        d += Out[i] * V[i];
    }
    return d;
}

// Out := X with the block of X·X (N <= 128), in one pass.
[[gnu::target("avx512f")]] double CopyBlock(int N, const double* X, double* Out)
{
    __m512d a = _mm512_setzero_pd();
    int i = 0;
    for (; i + 8 <= N; i += 8) {
        const __m512d x = _mm512_loadu_pd(X + i);
        _mm512_storeu_pd(Out + i, x);
        a = _mm512_add_pd(a, _mm512_mul_pd(x, x));
    }
    double s = Combine8(a);
    for (; i < N; ++i) {
        Out[i] = X[i];
        s += X[i] * X[i];
    }
    return s;
}

// H := H·Beta - G with the blocks of G·H and H·H over the new H (N <= 128), in one pass.
[[gnu::target("avx512f")]] double DirectionBlock(int N, double Beta, const double* G, double* H, double& Squares)
{
    const __m512d b = _mm512_set1_pd(Beta);
    __m512d gh = _mm512_setzero_pd(), hh = _mm512_setzero_pd();
    int i = 0;
    for (; i + 8 <= N; i += 8) {
        const __m512d g = _mm512_loadu_pd(G + i), h = _mm512_sub_pd(_mm512_mul_pd(_mm512_loadu_pd(H + i), b), g);
        _mm512_storeu_pd(H + i, h);
        gh = _mm512_add_pd(gh, _mm512_mul_pd(g, h));
        hh = _mm512_add_pd(hh, _mm512_mul_pd(h, h));
    }
    double sgh = Combine8(gh), shh = Combine8(hh);
    for (; i < N; ++i) {
        const double h = H[i] * Beta - G[i];
        H[i] = h;
        sgh += G[i] * h;
        shh += h * h;
    }
    Squares = shh;
    return sgh;
}

// The element-wise passes of the minimisers in whole registers, the last partial one masked.
// The lanes of the register starting at element I that lie below N.
inline __mmask8 LanesBelow(int N, int I)
{
    return N - I >= 8 ? 0xFF : static_cast<__mmask8>((1u << (N - I)) - 1);
}

[[gnu::target("avx512f")]] void Copy512(int N, const double* X, double* Out)
{
    for (int i = 0; i < N; i += 8) {
        const __mmask8 m = LanesBelow(N, i);
        _mm512_mask_storeu_pd(Out + i, m, _mm512_maskz_loadu_pd(m, X + i));
    }
}

[[gnu::target("avx512f")]] void MulSub512(int N, const double* X, double S, const double* Y, double* Out)
{
    const __m512d s = _mm512_set1_pd(S);
    for (int i = 0; i < N; i += 8) {
        const __mmask8 m = LanesBelow(N, i);
        const __m512d x = _mm512_maskz_loadu_pd(m, X + i), y = _mm512_maskz_loadu_pd(m, Y + i);
        _mm512_mask_storeu_pd(Out + i, m, _mm512_sub_pd(_mm512_mul_pd(x, s), y));
    }
}

[[gnu::target("avx512f")]] void Mul512(int N, const double* X, double S, double* Out)
{
    const __m512d s = _mm512_set1_pd(S);
    for (int i = 0; i < N; i += 8) {
        const __mmask8 m = LanesBelow(N, i);
        _mm512_mask_storeu_pd(Out + i, m, _mm512_mul_pd(_mm512_maskz_loadu_pd(m, X + i), s));
    }
}

[[gnu::target("avx512f")]] void AddMul512(int N, const double* Y, double S, const double* X, double* Out)
{
    const __m512d s = _mm512_set1_pd(S);
    for (int i = 0; i < N; i += 8) {
        const __mmask8 m = LanesBelow(N, i);
        const __m512d x = _mm512_maskz_loadu_pd(m, X + i), y = _mm512_maskz_loadu_pd(m, Y + i);
        _mm512_mask_storeu_pd(Out + i, m, _mm512_add_pd(y, _mm512_mul_pd(s, x)));
    }
}

// Σ U[i]·V[i] over N elements as PairSum forms it.
double PairDot(const double* U, const double* V, int N)
{
    if (N <= 128 && parallel::HasAvx512()) return DotBlock(U, V, N);
    return wavrin::PairSum(0, N, [U, V](long long i) { return U[i] * V[i]; });
}

}  // namespace

double OptNormL2(const double* V, int N)
{
    if (N == 0) return 0;
    // nspdNorm's sum of squares without the calls and checks around it; a sum out of the range the routine takes
    // the root of directly (it redoes those scaled) goes to the routine itself.
    return OptNormL2FromSum(PairDot(V, V, N), V, N);
}

double OptNormL2FromSum(double Sum, const double* V, int N)
{
    if (N == 0) return 0;
    if (std::isfinite(Sum) && Sum >= 1e-290) return std::sqrt(Sum);
    return nspdNorm(V, nullptr, N, NSP_L2);
}

double OptDot(const double* U, const double* V, int N)
{
    // nspdDotProd's sum, without the calls and checks around it.
    return PairDot(U, V, N);
}

double OptDotSquares(const double* U, const double* V, int N, double& Squares)
{
    if (N <= 128 && parallel::HasAvx512()) return DotSquaresBlock(U, V, N, Squares);
    Squares = PairDot(U, U, N);
    return PairDot(U, V, N);
}

double OptMulDot(int N, const double* X, double S, double* Out, const double* V)
{
    if (N <= 128 && parallel::HasAvx512()) return MulDotBlock(N, X, S, Out, V);
    OptMul(N, X, S, Out);
    return PairDot(Out, V, N);
}

void OptCopy(int N, const double* X, double* Out)
{
    if (parallel::HasAvx512()) return Copy512(N, X, Out);
    std::copy(X, X + N, Out);
}

void OptMulSub(int N, const double* X, double S, const double* Y, double* Out)
{
    if (parallel::HasAvx512()) return MulSub512(N, X, S, Y, Out);
    for (int i = 0; i < N; ++i) Out[i] = X[i] * S - Y[i];
}

void OptMul(int N, const double* X, double S, double* Out)
{
    if (parallel::HasAvx512()) return Mul512(N, X, S, Out);
    for (int i = 0; i < N; ++i) Out[i] = X[i] * S;
}

void OptAddMul(int N, const double* Y, double S, const double* X, double* Out)
{
    if (parallel::HasAvx512()) return AddMul512(N, Y, S, X, Out);
    for (int i = 0; i < N; ++i) Out[i] = Y[i] + S * X[i];
}

double OptCopyNormL2(int N, const double* X, double* Out)
{
    if (N > 128 || !parallel::HasAvx512()) {
        OptCopy(N, X, Out);
        return OptNormL2(Out, N);
    }
    return OptNormL2FromSum(CopyBlock(N, X, Out), Out, N);
}

double OptDirection(int N, double Beta, const double* G, double* H, double& Squares)
{
    if (N <= 128 && parallel::HasAvx512()) return DirectionBlock(N, Beta, G, H, Squares);
    OptMulSub(N, H, Beta, G, H);
    Squares = PairDot(H, H, N);
    return PairDot(G, H, N);
}

void OptAxpy(int N, double A, const double* Src, double* Dst)
{
    if (N == 0) return;
    if (A == 1) {
        nspdbAdd2(Src, Dst, N);  // Add's plain sum
    } else if (N < 2 * parallel::kMinPiece) {
        const int one = 1;
        daxpy_(&N, &A, Src, &one, Dst, &one);  // what Axpy calls for a length it does not split
    } else {
        Axpy(false, N, A, 0, Src, Dst);
    }
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

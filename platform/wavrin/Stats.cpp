// Means, extremes, norms and dot products.
#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/wavrin/PairSum.h"
#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using wavrin::Args;
using wavrin::Fail;
using wavrin::PairSum;
using wavrin::PairSumShared;

#if defined(__x86_64__)
// The main loop of ScanExtreme (below) on AVX, sixteen Doubles a step, where the processor has it: the part of x a
// multiple of 16 long, n >= 16. Returns the extreme found, or a NaN.
template <bool Largest>
__attribute__((target("avx"))) inline __m256d PickAvx(__m256d a, __m256d b)
{
    if constexpr (Largest) return _mm256_max_pd(a, b);
    return _mm256_min_pd(a, b);
}

template <bool Largest>
__attribute__((target("avx"))) double ScanExtremeAvx(const double* x, long long n)
{
    const auto pick = PickAvx<Largest>;
    __m256d m0 = _mm256_loadu_pd(x), m1 = _mm256_loadu_pd(x + 4), m2 = _mm256_loadu_pd(x + 8),
            m3 = _mm256_loadu_pd(x + 12);
    __m256d bad = _mm256_setzero_pd();
    for (long long i = 0; i + 16 <= n; i += 16) {
        const __m256d a0 = _mm256_loadu_pd(x + i), a1 = _mm256_loadu_pd(x + i + 4);
        const __m256d a2 = _mm256_loadu_pd(x + i + 8), a3 = _mm256_loadu_pd(x + i + 12);
        bad = _mm256_or_pd(bad, _mm256_or_pd(_mm256_cmp_pd(a0, a1, _CMP_UNORD_Q), _mm256_cmp_pd(a2, a3, _CMP_UNORD_Q)));
        m0 = pick(m0, a0);
        m1 = pick(m1, a1);
        m2 = pick(m2, a2);
        m3 = pick(m3, a3);
    }
    if (_mm256_movemask_pd(bad) != 0) return std::numeric_limits<double>::quiet_NaN();
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, pick(pick(m0, m1), pick(m2, m3)));
    double best = lanes[0];
    for (double v : lanes) best = (Largest ? v > best : v < best) ? v : best;
    return best;
}
#endif

// The largest (Largest) or smallest of the n > 0 Doubles at x, or a NaN when there is one (not necessarily the first).
// Eight Doubles a step in four SSE2 registers, NaN detected alongside; the comparisons are exact, so the order of
// the scan changes nothing but the sign of a zero result, which the caller settles.
template <bool Largest>
double ScanExtreme(const double* x, long long n)
{
    long long i = 0;
    double best = x[0];
#if defined(__x86_64__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx && n >= 16) {
        i = n / 16 * 16;
        best = ScanExtremeAvx<Largest>(x, i);
        if (std::isnan(best)) return best;
    }
#endif
#if defined(__SSE2__)
    if (i == 0 && n >= 8) {
        const auto pick = [](__m128d a, __m128d b) { return Largest ? _mm_max_pd(a, b) : _mm_min_pd(a, b); };
        __m128d m0 = _mm_loadu_pd(x), m1 = _mm_loadu_pd(x + 2), m2 = _mm_loadu_pd(x + 4), m3 = _mm_loadu_pd(x + 6);
        __m128d bad = _mm_setzero_pd();
        for (; i + 8 <= n; i += 8) {
            const __m128d a0 = _mm_loadu_pd(x + i), a1 = _mm_loadu_pd(x + i + 2);
            const __m128d a2 = _mm_loadu_pd(x + i + 4), a3 = _mm_loadu_pd(x + i + 6);
            bad = _mm_or_pd(bad, _mm_or_pd(_mm_cmpunord_pd(a0, a1), _mm_cmpunord_pd(a2, a3)));
            m0 = pick(m0, a0);
            m1 = pick(m1, a1);
            m2 = pick(m2, a2);
            m3 = pick(m3, a3);
        }
        if (_mm_movemask_pd(bad) != 0) return std::numeric_limits<double>::quiet_NaN();
        const __m128d m = pick(pick(m0, m1), pick(m2, m3));
        const double lo = _mm_cvtsd_f64(m), hi = _mm_cvtsd_f64(_mm_unpackhi_pd(m, m));
        best = (Largest ? hi > lo : hi < lo) ? hi : lo;
    }
#endif
    for (; i < n; ++i) {
        const double v = x[i];
        if (std::isnan(v)) return v;
        if (Largest ? v > best : v < best) best = v;
    }
    return best;
}

// ScanExtreme over long arrays shared among the worker threads: each part is scanned alone and the parts' results
// compared, which gives the same value as one scan.
template <bool Largest>
double SharedExtreme(const double* x, long long n)
{
    const int parts = n < wavrin::kShareFrom ? 1 : std::min(parallel::kMaxThreads, parallel::WorkerCount() + 1);
    if (parts <= 1) return ScanExtreme<Largest>(x, n);
    const long long piece = (n + parts - 1) / parts;
    double part[parallel::kMaxThreads];
    const auto run = [&](int p) {
        const long long lo = p * piece, hi = std::min(n, lo + piece);
        part[p] = lo < hi ? ScanExtreme<Largest>(x + lo, hi - lo) : x[0];
    };
    if (!parallel::RunParts(parts, run))
        for (int p = 0; p < parts; ++p) run(p);
    double best = part[0];
    for (int p = 0; p < parts; ++p) {
        if (std::isnan(part[p])) return part[p];
        if (Largest ? part[p] > best : part[p] < best) best = part[p];
    }
    return best;
}

// The extreme of the n > 0 Doubles at x, and with index its position: the first NaN wins, and of equal elements the
// first (which only the sign of a zero and a NaN's payload show in the value).
double ExtremeValue(const double* src, int n, int* index, bool largest)
{
    if (index) *index = -1;
    if (!Args(n, src)) return NAN;
    const double v = largest ? SharedExtreme<true>(src, n) : SharedExtreme<false>(src, n);
    if (!index && !std::isnan(v) && v != 0) return v;
    int k = 0;
    if (std::isnan(v)) {
        while (!std::isnan(src[k])) ++k;
    } else {
        while (!(src[k] == v)) ++k;
    }
    if (index) *index = k;
    return src[k];
}

inline double Mag(double re, double im)
{
    return std::hypot(re, im);
}

// The L2 norm from a sum of squares; when that overflows or underflows, the sum is redone scaled by the
// largest magnitude.
template <class Get>
double L2(long long n, const Get& get)
{
    const double s = PairSumShared(n, [&](long long i) {
        const double v = get(i);
        return v * v;
    });
    if (std::isfinite(s) && s >= 1e-290) return std::sqrt(s);
    double big = 0.0;
    for (long long i = 0; i < n; ++i) {
        const double v = std::fabs(get(i));
        if (std::isnan(v)) return NAN;
        if (v > big) big = v;
    }
    if (big == 0.0 || std::isinf(big)) return big;
    const double t = PairSumShared(n, [&](long long i) {
        const double v = get(i) / big;
        return v * v;
    });
    return big * std::sqrt(t);
}

// One norm of the elements given by mag (magnitudes) and part (the Doubles whose squares add up to |x|²).
template <class MagF, class SqF>
double NormOf(int n, int kind, const MagF& mag, const SqF& l2)
{
    switch (kind) {
        case NSP_C: {
            // Four running maxima kept in registers, NaNs noted on the side: the largest magnitude does not depend
            // on the order the elements are visited in.
            double m0 = 0.0, m1 = 0.0, m2 = 0.0, m3 = 0.0;
            bool nan = false;
            const auto take = [&nan](double& m, double v) {
                nan |= v != v;
                m = v > m ? v : m;
            };
            int i = 0;
            for (; i + 4 <= n; i += 4) {
                take(m0, mag(i));
                take(m1, mag(i + 1));
                take(m2, mag(i + 2));
                take(m3, mag(i + 3));
            }
            for (; i < n; ++i) take(m0, mag(i));
            if (nan) return NAN;
            return std::max(std::max(m0, m1), std::max(m2, m3));
        }
        case NSP_L1:
            return PairSumShared(n, [&](long long i) { return mag(static_cast<int>(i)); });
        default:
            return l2();
    }
}

bool NormFlagOk(int flag, bool haveB)
{
    const int kind = flag & ~NSP_RELATIVE;
    if ((kind != NSP_C && kind != NSP_L1 && kind != NSP_L2) || ((flag & NSP_RELATIVE) && !haveB)) {
        Fail(NSP_StsBadFlags);
        return false;
    }
    return true;
}

}  // namespace

extern "C" {

double nspdMean(const double* src, int n)
{
    if (!Args(n, src)) return 0.0;
    return PairSumShared(n, [&](long long i) { return src[i]; }) / n;
}

TCplx nspzMean(const TCplx* src, int n)
{
    if (!Args(n, src)) return {0.0, 0.0};
    const double re = PairSumShared(n, [&](long long i) { return src[i].Re; });
    const double im = PairSumShared(n, [&](long long i) { return src[i].Im; });
    return {re / n, im / n};
}

double nspdMax(const double* src, int n)
{
    return ExtremeValue(src, n, nullptr, true);
}
double nspdMin(const double* src, int n)
{
    return ExtremeValue(src, n, nullptr, false);
}
double nspdMaxExt(const double* src, int n, int* index)
{
    return ExtremeValue(src, n, index, true);
}
double nspdMinExt(const double* src, int n, int* index)
{
    return ExtremeValue(src, n, index, false);
}

double nspdNorm(const double* a, const double* b, int n, int flag)
{
    if (!Args(n, a) || !NormFlagOk(flag, b != nullptr)) return NAN;
    const int kind = flag & ~NSP_RELATIVE;
    auto norm = [&](auto get) {
        return NormOf(
            n, kind, [&](int i) { return std::fabs(get(i)); }, [&] { return L2(n, get); });
    };
    const double r = b ? norm([&](long long i) { return a[i] - b[i]; }) : norm([&](long long i) { return a[i]; });
    if (!(flag & NSP_RELATIVE)) return r;
    return r / norm([&](long long i) { return b[i]; });
}

double nspzNorm(const TCplx* a, const TCplx* b, int n, int flag)
{
    if (!Args(n, a) || !NormFlagOk(flag, b != nullptr)) return NAN;
    const int kind = flag & ~NSP_RELATIVE;
    // The L2 norm runs over the 2n Doubles of the complex array.
    auto norm = [&](auto get) {
        return NormOf(
            n, kind,
            [&](int i) {
                const TCplx z = get(i);
                return Mag(z.Re, z.Im);
            },
            [&] {
                return L2(2LL * n, [&](long long j) {
                    const TCplx z = get(j / 2);
                    return (j & 1) ? z.Im : z.Re;
                });
            });
    };
    const double r = b ? norm([&](long long i) {
        return TCplx{a[i].Re - b[i].Re, a[i].Im - b[i].Im};
    })
                       : norm([&](long long i) { return a[i]; });
    if (!(flag & NSP_RELATIVE)) return r;
    return r / norm([&](long long i) { return b[i]; });
}

double nspdDotProd(const double* a, const double* b, int n)
{
    if (!Args(n, a, b)) return 0.0;
    return PairSumShared(n, [&](long long i) { return a[i] * b[i]; });
}

TCplx nspzDotProd(const TCplx* a, const TCplx* b, int n)
{
    if (!Args(n, a, b)) return {0.0, 0.0};
    return {PairSumShared(n, [&](long long i) { return a[i].Re * b[i].Re - a[i].Im * b[i].Im; }),
            PairSumShared(n, [&](long long i) { return a[i].Re * b[i].Im + a[i].Im * b[i].Re; })};
}

TCplx nspzdDotProd(const TCplx* a, const double* b, int n)
{
    if (!Args(n, a, b)) return {0.0, 0.0};
    return {PairSumShared(n, [&](long long i) { return a[i].Re * b[i]; }),
            PairSumShared(n, [&](long long i) { return a[i].Im * b[i]; })};
}

TCplx nspdzDotProd(const double* a, const TCplx* b, int n)
{
    return nspzdDotProd(b, a, n);
}

}  // extern "C"

}  // namespace tarnel

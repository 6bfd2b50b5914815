// Element-wise arithmetic, fills, thresholds and complex parts. Plain loops over restrict-free pointers:
// every routine reads element i before it writes element i, so a source may be the destination itself.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/arith_kernels.h"
#include "platform/wavrin/Parallel.h"
#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using wavrin::Args;
using wavrin::Fail;

// The passes of real products, sums, differences and absolute values (scaling, offsetting, Abs, and the sums,
// differences and real products of two arrays, complex ones counted in Doubles) run in copies for AVX-512 where the
// processor has it (exact operations: the same Doubles at any width).
constexpr parallel::TIsa kReal = parallel::TIsa::Avx512;

inline TCplx Mul(const TCplx& a, const TCplx& b)
{
    return {a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + b.Re * a.Im};
}

// The squared magnitudes whose root and reciprocal need no care (Recip, Magnitude).
constexpr double kSafeLow = 1e-290, kSafeHigh = 1e290;

// 1/z without overflow or underflow of |z|² (Smith's method outside the safe range).
inline TCplx Recip(const TCplx& z)
{
    const double m2 = z.Re * z.Re + z.Im * z.Im;
    if (m2 >= kSafeLow && m2 <= kSafeHigh) return {z.Re / m2, -z.Im / m2};
    if (std::fabs(z.Re) >= std::fabs(z.Im)) {
        const double r = z.Im / z.Re, den = z.Re + z.Im * r;
        return {1.0 / den, -r / den};
    }
    const double r = z.Re / z.Im, den = z.Re * r + z.Im;
    return {r / den, -1.0 / den};
}

// Both sides of the choice are computed, so that the loops vectorise without a branch.
inline double RecipThresh(double x, double t)
{
    const double r = 1.0 / x, clamped = std::copysign(1.0 / t, x);
    return std::fabs(x) < t ? clamped : r;
}

inline TCplx RecipThresh(const TCplx& z, double t)
{
    const double m = std::hypot(z.Re, z.Im);
    if (!(m < t)) return Recip(z);
    const double r = 1.0 / t;
    if (m == 0.0) return {std::copysign(r, z.Re), 0.0};
    return {r * (z.Re / m), r * (-z.Im / m)};
}

// RecipThresh(z, t) where Clear is t²·(1 + 2^-40): a squared magnitude safely inside the Double range and above Clear
// (a margin far beyond the rounding of the squares) has |z| ≥ t, so the reciprocal is Recip's plain quotient, found
// without the hypot.
inline TCplx RecipThresh(const TCplx& z, double t, double clear)
{
    const double m2 = z.Re * z.Re + z.Im * z.Im;
    if (m2 >= kSafeLow && m2 <= kSafeHigh && m2 > clear) return {z.Re / m2, -z.Im / m2};
    return RecipThresh(z, t);
}

inline bool RelationOk(int relation)
{
    if (relation == NSP_LT || relation == NSP_GT) return true;
    Fail(NSP_StsBadArg);
    return false;
}

inline double Clip(double x, double level, int relation)
{
    if (relation == NSP_LT) return x < level ? level : x;
    return x > level ? level : x;
}

inline TCplx Clip(const TCplx& z, double level, int relation)
{
    const double m = std::hypot(z.Re, z.Im);
    const bool move = relation == NSP_LT ? m < level : m > level;
    if (!move) return z;
    if (m == 0.0) return {level, 0.0};
    const double f = level / m;
    return {z.Re * f, z.Im * f};
}

inline bool SafeSquare(const TCplx& z)
{
    const double m2 = z.Re * z.Re + z.Im * z.Im;
    return m2 >= kSafeLow && m2 <= kSafeHigh;
}

inline double Magnitude(const TCplx& z)
{
    const double m2 = z.Re * z.Re + z.Im * z.Im;
    if (m2 >= kSafeLow && m2 <= kSafeHigh) return std::sqrt(m2);
    return std::hypot(z.Re, z.Im);
}

#if defined(__x86_64__)
// Magnitude of the elements lo .. hi − 1, four at a time with AVX2: the same Doubles as Magnitude (one rounding for
// each square, the sum and the root); four whose squares are not all safe go through Magnitude itself. In the
// source's own storage read as Doubles, result k lies in element k / 2, read before.
__attribute__((target("avx2"))) void MagnitudesAvx2(const TCplx* src, double* dst, long long lo, long long hi)
{
    const __m256d low = _mm256_set1_pd(kSafeLow), high = _mm256_set1_pd(kSafeHigh);
    long long i = lo;
    for (; i + 4 <= hi; i += 4) {
        const __m256d a = _mm256_loadu_pd(&src[i].Re);      // Re0, Im0, Re1, Im1
        const __m256d b = _mm256_loadu_pd(&src[i + 2].Re);  // Re2, Im2, Re3, Im3
        // The in-lane unpacks give the order 0, 2, 1, 3; the permutation puts it back.
        const __m256d re = _mm256_permute4x64_pd(_mm256_unpacklo_pd(a, b), _MM_SHUFFLE(3, 1, 2, 0));
        const __m256d im = _mm256_permute4x64_pd(_mm256_unpackhi_pd(a, b), _MM_SHUFFLE(3, 1, 2, 0));
        const __m256d m2 = _mm256_add_pd(_mm256_mul_pd(re, re), _mm256_mul_pd(im, im));
        const __m256d safe = _mm256_and_pd(_mm256_cmp_pd(m2, low, _CMP_GE_OQ), _mm256_cmp_pd(m2, high, _CMP_LE_OQ));
        if (_mm256_movemask_pd(safe) == 15) {
            _mm256_storeu_pd(dst + i, _mm256_sqrt_pd(m2));
            continue;
        }
        for (long long k = i; k < i + 4; ++k) dst[k] = Magnitude(src[k]);
    }
    for (; i < hi; ++i) dst[i] = Magnitude(src[i]);
}
#endif

inline TCplx Sqrt(const TCplx& z)
{
    const std::complex<double> r = std::sqrt(std::complex<double>(z.Re, z.Im));
    return {r.real(), r.imag()};
}

// A source array of the element-wise helper below: its address and its element size.
struct Source {
    template <class U>
    Source(const U* u) : p(u), size(sizeof(U))
    {
    }
    const void* p;
    std::size_t size;
};

// Runs body(lo, hi) over [0, n); large arrays are shared among threads when every source is either the
// destination itself with elements of the same size or apart from it. Any other overlap runs in one piece, front
// to back: in place with a smaller destination element (a complex source into its own storage as Doubles),
// element i is read before results 0 .. i are written, but a piece cut elsewhere would read sources that
// another piece has already overwritten. Pieces are those of a streaming pass unless the element costs more
// (minPiece = parallel::kMinPiece for a root, a hypot or an arctangent per element). Widest: the widest copy of the
// loops that the pieces run (parallel::TIsa; AVX-512 only for real arithmetic).
// The least range whose stores Each lines up with the cache lines before the vector loop.
constexpr long long kAlignFrom = 64;

template <parallel::TIsa Widest = parallel::TIsa::Avx2, class T, class Body>
void Each(long long n, const T* dst, std::initializer_list<Source> sources, const Body& body,
          long long minPiece = parallel::kMinStreamPiece)
{
    const char* d = reinterpret_cast<const char*>(dst);
    const char* e = d + static_cast<std::size_t>(n) * sizeof(T);
    for (const Source& src : sources) {
        const char* a = static_cast<const char*>(src.p);
        const bool sameElements = a == d && src.size == sizeof(T);
        if (!sameElements && a < e && d < a + static_cast<std::size_t>(n) * src.size) return body(0LL, n);
    }
    if constexpr (Widest == parallel::TIsa::Avx512) {
        // Eight Doubles fill one cache line: a piece runs the few elements before its destination's first 64-byte
        // boundary apart, so that the vector loop's stores never straddle two lines (arrays of the heap start
        // 16 bytes past a boundary, which costs an in-place pass over the caches a third of its speed). A short
        // range runs whole: the split would cost it more than the straddling stores.
        const auto aligned = [&](long long lo, long long hi) {
            if (hi - lo < kAlignFrom) return body(lo, hi);
            const auto misfit = static_cast<long long>(reinterpret_cast<std::uintptr_t>(dst + lo) % 64);
            const long long head = std::min(hi, lo + (misfit ? (64 - misfit) / static_cast<long long>(sizeof(T)) : 0));
            if (lo < head) body(lo, head);
            if (head < hi) body(head, hi);
        };
        return parallel::Pieces<Widest>(n, aligned, minPiece);
    }
    parallel::Pieces<Widest>(n, body, minPiece);
}

// The n elements at src, or a copy of them in buffer when they overlap the bytes [dst, dst + bytes) that the
// routine writes: for the loops that write more bytes per element than they read, or several destinations.
template <class T>
const T* Apart(const T* src, long long n, const void* dst, long long bytes, std::vector<T>& buffer)
{
    if (!src || !dst) return src;
    const char* a = reinterpret_cast<const char*>(src);
    const char* d = static_cast<const char*>(dst);
    if (a < d + bytes && d < a + n * static_cast<long long>(sizeof(T))) {
        buffer.assign(src, src + n);
        return buffer.data();
    }
    return src;
}

// The element-wise operations of two arrays whose passes may stream their results (Combine), over Doubles: Loop,
// the plain loop over lo <= i < hi, and Vec, the same Doubles eight at a time with AVX-512 (the same IEEE
// operations on whole elements of kElement Doubles). kWidest: the widest copy of Loop (parallel::TIsa).
enum class TOp { Add, Sub, Mul };

template <TOp Op>
struct Exact {
    static constexpr parallel::TIsa kWidest = kReal;
    static constexpr long long kElement = 1;
    static double Apply(double x, double y)
    {
        if constexpr (Op == TOp::Add) return x + y;
        if constexpr (Op == TOp::Sub) return x - y;
        return x * y;
    }
    void Loop(const double* a, const double* b, double* dst, long long lo, long long hi) const
    {
        for (long long i = lo; i < hi; ++i) dst[i] = Apply(a[i], b[i]);
    }
#if defined(__x86_64__)
    [[gnu::target("avx512f")]] __m512d Vec(__m512d x, __m512d y) const
    {
        if constexpr (Op == TOp::Add) return _mm512_add_pd(x, y);
        if constexpr (Op == TOp::Sub) return _mm512_sub_pd(x, y);
        return _mm512_mul_pd(x, y);
    }
#endif
};

// Complex products of Doubles taken in pairs. The plain loop stays at AVX2 (TIsa::Avx512 would let GCC fuse it);
// Vec computes Re = a.Re·b.Re − a.Im·b.Im and Im = a.Im·b.Re + a.Re·b.Im from separate products and sums, the
// Doubles of Mul (the order of two products in a sum changes no result).
struct CplxProduct {
    static constexpr parallel::TIsa kWidest = parallel::TIsa::Avx2;
    static constexpr long long kElement = 2;
    void Loop(const double* a, const double* b, double* dst, long long lo, long long hi) const
    {
        const TCplx* x = reinterpret_cast<const TCplx*>(a);
        const TCplx* y = reinterpret_cast<const TCplx*>(b);
        TCplx* d = reinterpret_cast<TCplx*>(dst);
        for (long long i = lo / 2; i < hi / 2; ++i) d[i] = Mul(x[i], y[i]);
    }
#if defined(__x86_64__)
    [[gnu::target("avx512f")]] __m512d Vec(__m512d x, __m512d y) const
    {
        // (The shuffles in their full-mask forms: the plain ones trip a false uninitialised warning of GCC 12.)
        const __m512d p = _mm512_mul_pd(x, _mm512_maskz_movedup_pd(0xFF, y));  // Re·Re, Im·Re
        const __m512d q = _mm512_mul_pd(_mm512_maskz_permute_pd(0xFF, x, 0x55),
                                        _mm512_maskz_permute_pd(0xFF, y, 0xFF));  // Im·Im, Re·Im
        return _mm512_mask_sub_pd(_mm512_add_pd(p, q), 0x55, p, q);
    }
#endif
};

// a·(1/y) with the reciprocal of nspdbInvThresh2: ±Big (|1/t|) by the sign bit of y where |y| < t.
struct ThreshProduct {
    static constexpr parallel::TIsa kWidest = kReal;
    static constexpr long long kElement = 1;
    double t, big;
    void Loop(const double* a, const double* b, double* dst, long long lo, long long hi) const
    {
        for (long long i = lo; i < hi; ++i) {
            const double y = b[i], r = 1.0 / y, clamped = std::copysign(big, y);
            dst[i] = a[i] * (std::isless(std::fabs(y), t) ? clamped : r);
        }
    }
#if defined(__x86_64__)
    [[gnu::target("avx512f")]] __m512d Vec(__m512d x, __m512d y) const
    {
        const __m512d r = _mm512_div_pd(_mm512_set1_pd(1.0), y);
        const __m512i sign = _mm512_and_epi64(_mm512_castpd_si512(y), _mm512_set1_epi64(INT64_MIN));
        const __m512d clamped = _mm512_castsi512_pd(_mm512_or_epi64(sign, _mm512_castpd_si512(_mm512_set1_pd(big))));
        const __mmask8 small = _mm512_cmp_pd_mask(_mm512_abs_pd(y), _mm512_set1_pd(t), _CMP_LT_OQ);
        return _mm512_mul_pd(x, _mm512_mask_blend_pd(small, r, clamped));
    }
#endif
};

#if defined(__x86_64__)
// dst[i .. i + k) := op of the sources there, for k < 8, through masked vectors.
template <class Op>
[[gnu::target("avx512f")]] void PartAvx512(const Op& op, const double* a, const double* b, double* dst, long long i,
                                           long long k)
{
    const auto m = static_cast<__mmask8>((1u << k) - 1);
    _mm512_mask_storeu_pd(dst + i, m, op.Vec(_mm512_maskz_loadu_pd(m, a + i), _mm512_maskz_loadu_pd(m, b + i)));
}

// dst[i] := op(a[i], b[i]) for lo <= i < hi, eight at a time with AVX-512 and non-temporal stores from dst's first
// 64-byte boundary on (dst must hold whole elements of the op from its start); the Doubles before it and the
// last few after the vectors in masked vectors. The same Doubles as the plain loop.
template <class Op>
[[gnu::target("avx512f")]] void StreamAvx512(const Op& op, const double* a, const double* b, double* dst, long long lo,
                                             long long hi)
{
    long long i = lo;
    if (const auto misfit = static_cast<long long>(reinterpret_cast<std::uintptr_t>(dst + i) % 64 / 8)) {
        const long long head = std::min(hi, i + 8 - misfit);
        PartAvx512(op, a, b, dst, i, head - i);
        i = head;
    }
    for (; i + 8 <= hi; i += 8)
        _mm512_stream_pd(dst + i, op.Vec(_mm512_loadu_pd(a + i), _mm512_loadu_pd(b + i)));
    _mm_sfence();
    if (i < hi) PartAvx512(op, a, b, dst, i, hi - i);
}
#endif

// dst := op(a, b) over n Doubles: streamed for a destination apart from both sources in a pass too large for the
// caches (AVX-512 processors), else the plain loop.
template <class Op>
void Combine(const Op& op, const double* a, const double* b, double* dst, long long n)
{
#if defined(__x86_64__)
    // std::less gives a total order also for pointers into different blocks.
    const std::less<const double*> before;
    const auto apart = [&](const double* s) { return !before(s, dst + n) || !before(dst, s + n); };
    const bool whole = reinterpret_cast<std::uintptr_t>(dst) % (Op::kElement * sizeof(double)) == 0;
    if (parallel::StreamStores(3 * n * static_cast<long long>(sizeof(double))) && parallel::HasAvx512() &&
        apart(a) && apart(b) && whole)
        return Each<kReal>(n, dst, {a, b}, [&](long long lo, long long hi) { StreamAvx512(op, a, b, dst, lo, hi); });
#endif
    Each<Op::kWidest>(n, dst, {a, b}, [&](long long lo, long long hi) { op.Loop(a, b, dst, lo, hi); });
}

// The Double kernels that the complex routines also use on 2·n Doubles, counted in 64 bits.
void AddDoubles(const double* src, double* dst, long long n)
{
    Each<kReal>(n, dst, {src}, [&](long long lo, long long hi) {
        for (long long i = lo; i < hi; ++i) dst[i] += src[i];
    });
}
void AddDoubles(const double* a, const double* b, double* dst, long long n)
{
    Combine(Exact<TOp::Add>{}, a, b, dst, n);
}
void SubDoubles(const double* src, double* dst, long long n)
{
    Each<kReal>(n, dst, {src}, [&](long long lo, long long hi) {
        for (long long i = lo; i < hi; ++i) dst[i] -= src[i];
    });
}
void SubDoubles(const double* a, const double* b, double* dst, long long n)
{
    Combine(Exact<TOp::Sub>{}, a, b, dst, n);
}
// A fill is nothing but stores, so their alignment sets its speed: the AVX-512 copy's pieces write whole cache
// lines (Each), about twice as fast as the straddling stores of arrays that start 16 bytes past a line.
void SetDoubles(double val, double* dst, long long n)
{
    Each<kReal>(n, dst, {}, [&](long long lo, long long hi) {
        for (long long i = lo; i < hi; ++i) dst[i] = val;
    });
}
void CopyDoubles(const double* src, double* dst, long long n)
{
    if (src != dst) std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(double));
}

}  // namespace

extern "C" {

// ---- Sums, differences and products ------------------------------------------------------------------------

void nspdbAdd1(double val, double* dst, int n)
{
    if (Args(n, dst))
        Each<kReal>(n, dst, {}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] += val;
        });
}
void nspzbAdd1(TCplx val, TCplx* dst, int n)
{
    if (Args(n, dst))
        Each(n, dst, {}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i].Re += val.Re, dst[i].Im += val.Im;
        });
}
void nspdbAdd2(const double* src, double* dst, int n)
{
    if (Args(n, src, dst)) AddDoubles(src, dst, n);
}
void nspzbAdd2(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst)) AddDoubles(&src->Re, &dst->Re, 2LL * n);
}
void nspdbAdd3(const double* a, const double* b, double* dst, int n)
{
    if (Args(n, a, b, dst)) AddDoubles(a, b, dst, n);
}
void nspzbAdd3(const TCplx* a, const TCplx* b, TCplx* dst, int n)
{
    if (Args(n, a, b, dst)) AddDoubles(&a->Re, &b->Re, &dst->Re, 2LL * n);
}
void nspdbSub2(const double* src, double* dst, int n)
{
    if (Args(n, src, dst)) SubDoubles(src, dst, n);
}
void nspzbSub2(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst)) SubDoubles(&src->Re, &dst->Re, 2LL * n);
}
void nspdbSub3(const double* a, const double* b, double* dst, int n)
{
    if (Args(n, a, b, dst)) SubDoubles(a, b, dst, n);
}
void nspzbSub3(const TCplx* a, const TCplx* b, TCplx* dst, int n)
{
    if (Args(n, a, b, dst)) SubDoubles(&a->Re, &b->Re, &dst->Re, 2LL * n);
}
void nspdbMpy1(double val, double* dst, int n)
{
    if (Args(n, dst))
        Each<kReal>(n, dst, {}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] *= val;
        });
}
void nspzbMpy1(TCplx val, TCplx* dst, int n)
{
    if (Args(n, dst))
        Each(n, dst, {}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = Mul(dst[i], val);
        });
}
void nspdbMpy2(const double* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each<kReal>(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] *= src[i];
        });
}
void nspzbMpy2(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = Mul(dst[i], src[i]);
        });
}
void nspdbMpy3(const double* a, const double* b, double* dst, int n)
{
    if (Args(n, a, b, dst)) Combine(Exact<TOp::Mul>{}, a, b, dst, n);
}
void nspzbMpy3(const TCplx* a, const TCplx* b, TCplx* dst, int n)
{
    if (Args(n, a, b, dst)) Combine(CplxProduct{}, &a->Re, &b->Re, &dst->Re, 2LL * n);
}

// ---- Reciprocals and thresholds -----------------------------------------------------------------------------

void nspdbInvThresh1(double* dst, int n, double thresh)
{
    nspdbInvThresh2(dst, dst, n, thresh);
}
void nspzbInvThresh1(TCplx* dst, int n, double thresh)
{
    nspzbInvThresh2(dst, dst, n, thresh);
}
void nspdbInvThresh2(const double* src, double* dst, int n, double thresh)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = RecipThresh(src[i], thresh);
        });
}
void nspzbInvThresh2(const TCplx* src, TCplx* dst, int n, double thresh)
{
    const double clear = thresh * thresh * (1 + 0x1p-40);
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = RecipThresh(src[i], thresh, clear);
        }, parallel::kMinPiece);
}

void nspdbThresh1(double* dst, int n, double level, int relation)
{
    nspdbThresh2(dst, dst, n, level, relation);
}
void nspzbThresh1(TCplx* dst, int n, double level, int relation)
{
    nspzbThresh2(dst, dst, n, level, relation);
}
void nspdbThresh2(const double* src, double* dst, int n, double level, int relation)
{
    if (Args(n, src, dst) && RelationOk(relation))
        for (int i = 0; i < n; ++i) dst[i] = Clip(src[i], level, relation);
}
void nspzbThresh2(const TCplx* src, TCplx* dst, int n, double level, int relation)
{
    if (Args(n, src, dst) && RelationOk(relation))
        for (int i = 0; i < n; ++i) dst[i] = Clip(src[i], level, relation);
}

// ---- Absolute values, squares and roots ---------------------------------------------------------------------

void nspdbAbs1(double* dst, int n)
{
    nspdbAbs2(dst, dst, n);
}
void nspdbAbs2(const double* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each<kReal>(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = std::fabs(src[i]);
        });
}
void nspdbSqr1(double* dst, int n)
{
    nspdbSqr2(dst, dst, n);
}
void nspzbSqr1(TCplx* dst, int n)
{
    nspzbSqr2(dst, dst, n);
}
void nspdbSqr2(const double* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = src[i] * src[i];
        });
}
void nspzbSqr2(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = Mul(src[i], src[i]);
        });
}
void nspdbSqrt1(double* dst, int n)
{
    nspdbSqrt2(dst, dst, n);
}
void nspzbSqrt1(TCplx* dst, int n)
{
    nspzbSqrt2(dst, dst, n);
}
void nspdbSqrt2(const double* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = std::sqrt(src[i]);
        });
}
void nspzbSqrt2(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = Sqrt(src[i]);
        }, parallel::kMinPiece);
}

// ---- Fills and copies --------------------------------------------------------------------------------------

void nspdbSet(double val, double* dst, int n)
{
    if (Args(n, dst)) SetDoubles(val, dst, n);
}
void nspzbSet(TCplx val, TCplx* dst, int n)
{
    if (Args(n, dst))
        Each(n, dst, {}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = val;
        });
}
void nspdbZero(double* dst, int n)
{
    nspdbSet(0.0, dst, n);
}
void nspzbZero(TCplx* dst, int n)
{
    if (Args(n, dst)) SetDoubles(0.0, &dst->Re, 2LL * n);
}
void nspdbCopy(const double* src, double* dst, int n)
{
    if (Args(n, src, dst)) CopyDoubles(src, dst, n);
}
void nspzbCopy(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst)) CopyDoubles(&src->Re, &dst->Re, 2LL * n);
}
void nspzbConj1(TCplx* dst, int n)
{
    nspzbConj2(dst, dst, n);
}
void nspzbConj2(const TCplx* src, TCplx* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = {src[i].Re, -src[i].Im};
        });
}
void nspdbNormalize(const double* src, double* dst, int n, double offset, double factor)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = (src[i] - offset) / factor;
        });
}
void nspzbNormalize(const TCplx* src, TCplx* dst, int n, TCplx offset, double factor)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i)
                dst[i] = {(src[i].Re - offset.Re) / factor, (src[i].Im - offset.Im) / factor};
        });
}

// ---- Complex parts -----------------------------------------------------------------------------------------

void nspzbReal(const TCplx* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = src[i].Re;
        });
}
void nspzbImag(const TCplx* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = src[i].Im;
        });
}
void nspzbMag(const TCplx* src, double* dst, int n)
{
    // Blocks of 64 whose squares are all safe take the plain root in a loop that vectorises; the others go element
    // by element. A block is looked at before it is written, since dst may be the source's own storage. With AVX2
    // one pass does both, four elements at a time.
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
#if defined(__x86_64__)
            if (parallel::HasAvx2()) return MagnitudesAvx2(src, dst, lo, hi);
#endif
            for (long long b = lo; b < hi; b += 64) {
                const long long e = std::min(hi, b + 64);
                bool safe = true;
                for (long long i = b; i < e; ++i) safe &= SafeSquare(src[i]);
                if (safe) {
                    for (long long i = b; i < e; ++i) dst[i] = std::sqrt(src[i].Re * src[i].Re + src[i].Im * src[i].Im);
                } else {
                    for (long long i = b; i < e; ++i) dst[i] = Magnitude(src[i]);
                }
            }
        });
}
void nspzbPhase(const TCplx* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = std::atan2(src[i].Im, src[i].Re);
        }, parallel::kMinPiece);
}
void nspzbPowerSpectr(const TCplx* src, double* dst, int n)
{
    if (Args(n, src, dst))
        Each(n, dst, {src}, [&](long long lo, long long hi) {
            for (long long i = lo; i < hi; ++i) dst[i] = src[i].Re * src[i].Re + src[i].Im * src[i].Im;
        });
}
void nspzbCartToPolar(const TCplx* src, double* mag, double* phase, int n)
{
    if (!Args(n, src, mag, phase)) return;
    // In place on mag reads element i before writing results 0 .. i; phase in the source's storage needs a copy.
    std::vector<TCplx> buffer;
    src = Apart(src, n, phase, n * 8LL, buffer);
    for (int i = 0; i < n; ++i) {
        const TCplx z = src[i];
        mag[i] = Magnitude(z);
        phase[i] = std::atan2(z.Im, z.Re);
    }
}
void nspzbPolarToCart(const double* mag, const double* phase, TCplx* dst, int n)
{
    if (!Args(n, mag, phase, dst)) return;
    // A complex result takes two sources' worth of bytes: sources in its storage are read from copies.
    std::vector<double> b1, b2;
    mag = Apart(mag, n, dst, n * 16LL, b1);
    phase = Apart(phase, n, dst, n * 16LL, b2);
    for (int i = 0; i < n; ++i) {
        const double m = mag[i], p = phase[i];
        dst[i] = {m * std::cos(p), m * std::sin(p)};
    }
}
void nspzb2RealToCplx(const double* re, const double* im, TCplx* dst, int n)
{
    if (!Args(n, dst)) return;
    std::vector<double> b1, b2;
    re = Apart(re, n, dst, n * 16LL, b1);
    im = Apart(im, n, dst, n * 16LL, b2);
    for (int i = 0; i < n; ++i) {
        const double r = re ? re[i] : 0.0, m = im ? im[i] : 0.0;
        dst[i] = {r, m};
    }
}
void nspzbCplxTo2Real(const TCplx* src, double* re, double* im, int n)
{
    if (!Args(n, src)) return;
    // In place on re reads element i before writing results 0 .. i; im in the source's storage needs a copy.
    std::vector<TCplx> buffer;
    src = Apart(src, n, im, n * 8LL, buffer);
    for (int i = 0; i < n; ++i) {
        const TCplx z = src[i];
        if (re) re[i] = z.Re;
        if (im) im[i] = z.Im;
    }
}

}  // extern "C"

namespace detail {

void ThresholdedQuotient(const double* A, const double* Y, double* Dst, std::int64_t N, double Threshold)
{
    if (N > 0) Combine(ThreshProduct{Threshold, std::fabs(1.0 / Threshold)}, A, Y, Dst, N);
}

}  // namespace detail

}  // namespace tarnel

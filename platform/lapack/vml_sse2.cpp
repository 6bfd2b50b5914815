// Vector-math kernels for SSE2, two Doubles per vector; SLEEF's own dispatcher picks its best 128-bit code.
#include <emmintrin.h>
#include <sleef.h>

#include "platform/lapack/VmlKernels.h"

namespace {

using V = __m128d;
using P2 = Sleef___m128d_2;
constexpr long long kW = 2;
constexpr const char* kIsaName = "sse2";
constexpr bool kSleefExp = true;  // SExp below is SLEEF's exp
inline V Load(const double* p)
{
    return _mm_loadu_pd(p);
}
inline void Store(double* p, V v)
{
    _mm_storeu_pd(p, v);
}
// A store past the caches to an address on a vector boundary; Fence orders such stores before what follows.
inline void Stream(double* p, V v)
{
    _mm_stream_pd(p, v);
}
inline void Fence()
{
    _mm_sfence();
}
inline V Splat(double x)
{
    return _mm_set1_pd(x);
}
inline V VSqrt(V x)
{
    return _mm_sqrt_pd(x);
}
inline V VDiv(V a, V b)
{
    return _mm_div_pd(a, b);
}
// The exact error of p = a·b by Dekker's product on Veltkamp halves (no fused multiply-add in SSE2).
inline V Split(V a, V& lo)
{
    const V c = _mm_set1_pd(134217729.0) * a;
    const V hi = c - (c - a);
    lo = a - hi;
    return hi;
}
inline V ProdErr(V a, V b, V p)
{
    V alo, blo;
    const V ahi = Split(a, alo), bhi = Split(b, blo);
    return ((ahi * bhi - p) + ahi * blo + alo * bhi) + alo * blo;
}
inline V SExp(V x)
{
    return Sleef_expd2_u10(x);
}
inline V SLog(V x)
{
    return Sleef_logd2_u10(x);
}
inline V SLog10(V x)
{
    return Sleef_log10d2_u10(x);
}
// The bit operations of the cube root (vml_body.inc): the estimate from the high word of |x| divided by 3 (hx·⌈2^33/3⌉
// >> 33 is hx/3 for every 32-bit hx), rounding away from zero to 23 bits, and the edges. Choices by masks.
inline V Pick(V mask, V a, V b)
{
    return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
}
inline V Abs(V x)
{
    return _mm_andnot_pd(Splat(-0.0), x);
}
inline bool AnyBeyond(V x, double t)
{
    return _mm_movemask_pd(_mm_cmpgt_pd(Abs(x), Splat(t))) != 0;
}
inline V CbrtSeed(V x, long long bias, long long tinyBias)
{
    const V tiny = _mm_cmplt_pd(Abs(x), Splat(0x1p-1022));
    const __m128i hx = _mm_srli_epi64(_mm_castpd_si128(Abs(Pick(tiny, x * Splat(0x1p54), x))), 32);
    const __m128i third = _mm_srli_epi64(_mm_mul_epu32(hx, _mm_set1_epi64x(0xAAAAAAAB)), 33);
    const __m128i b = _mm_castpd_si128(
        Pick(tiny, _mm_castsi128_pd(_mm_set1_epi64x(tinyBias)), _mm_castsi128_pd(_mm_set1_epi64x(bias))));
    const __m128i sign = _mm_castpd_si128(_mm_and_pd(x, Splat(-0.0)));
    return _mm_castsi128_pd(_mm_or_si128(_mm_slli_epi64(_mm_add_epi64(third, b), 32), sign));
}
inline V Chop23(V t)
{
    const __m128i u = _mm_add_epi64(_mm_castpd_si128(t), _mm_set1_epi64x(0x80000000));
    return _mm_castsi128_pd(_mm_and_si128(u, _mm_set1_epi64x(static_cast<long long>(0xffffffffc0000000))));
}
inline V CbrtEdges(V x, V r)
{
    const V odd = _mm_cmpnle_pd(Abs(x), Splat(0x1.fffffffffffffp1023));
    const V zero = _mm_cmpeq_pd(x, _mm_setzero_pd());
    return Pick(zero, x, Pick(odd, x + x, r));
}
inline V SSin(V x)
{
    return Sleef_sind2_u10(x);
}
inline V SCos(V x)
{
    return Sleef_cosd2_u10(x);
}
inline V STan(V x)
{
    return Sleef_tand2_u10(x);
}
inline V SAsin(V x)
{
    return Sleef_asind2_u10(x);
}
inline V SAcos(V x)
{
    return Sleef_acosd2_u10(x);
}
inline V SAtan(V x)
{
    return Sleef_atand2_u10(x);
}
inline V SSinh(V x)
{
    return Sleef_sinhd2_u10(x);
}
inline V SCosh(V x)
{
    return Sleef_coshd2_u10(x);
}
inline V STanh(V x)
{
    return Sleef_tanhd2_u10(x);
}
inline V SPow(V a, V b)
{
    return Sleef_powd2_u10(a, b);
}
inline P2 SSinCos(V x)
{
    return Sleef_sincosd2_u10(x);
}

#include "platform/lapack/vml_body.inc"

}  // namespace

namespace tarnel::vml {

const Table* KernelsSse2()
{
    return &kTable;
}

}  // namespace tarnel::vml

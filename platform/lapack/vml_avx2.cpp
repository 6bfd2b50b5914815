// Vector-math kernels for AVX2 with FMA, four Doubles per vector.
#include <immintrin.h>
#include <sleef.h>

#include "platform/lapack/VmlKernels.h"

namespace {

using V = __m256d;
using P2 = Sleef___m256d_2;
constexpr long long kW = 4;
constexpr const char* kIsaName = "avx2";
constexpr bool kSleefExp = true;  // SExp below is SLEEF's exp
inline V Load(const double* p)
{
    return _mm256_loadu_pd(p);
}
inline void Store(double* p, V v)
{
    _mm256_storeu_pd(p, v);
}
// A store past the caches to an address on a vector boundary; Fence orders such stores before what follows.
inline void Stream(double* p, V v)
{
    _mm256_stream_pd(p, v);
}
inline void Fence()
{
    _mm_sfence();
}
inline V Splat(double x)
{
    return _mm256_set1_pd(x);
}
inline V VSqrt(V x)
{
    return _mm256_sqrt_pd(x);
}
inline V VDiv(V a, V b)
{
    return _mm256_div_pd(a, b);
}
inline V ProdErr(V a, V b, V p)
{
    return _mm256_fmsub_pd(a, b, p);
}
inline V SExp(V x)
{
    return Sleef_expd4_u10avx2(x);
}
inline V SLog(V x)
{
    return Sleef_logd4_u10avx2(x);
}
inline V SLog10(V x)
{
    return Sleef_log10d4_u10avx2(x);
}
// The bit operations of the cube root (vml_body.inc): the estimate from the high word of |x| divided by 3 (hx·⌈2^33/3⌉
// >> 33 is hx/3 for every 32-bit hx), rounding away from zero to 23 bits, and the edges.
inline V Abs(V x)
{
    return _mm256_andnot_pd(Splat(-0.0), x);
}
inline bool AnyBeyond(V x, double t)
{
    return _mm256_movemask_pd(_mm256_cmp_pd(Abs(x), Splat(t), _CMP_GT_OQ)) != 0;
}
inline V CbrtSeed(V x, long long bias, long long tinyBias)
{
    const V tiny = _mm256_cmp_pd(Abs(x), Splat(0x1p-1022), _CMP_LT_OQ);
    const __m256i hx = _mm256_srli_epi64(_mm256_castpd_si256(Abs(_mm256_blendv_pd(x, x * Splat(0x1p54), tiny))), 32);
    const __m256i third = _mm256_srli_epi64(_mm256_mul_epu32(hx, _mm256_set1_epi64x(0xAAAAAAAB)), 33);
    const __m256i b = _mm256_castpd_si256(_mm256_blendv_pd(_mm256_castsi256_pd(_mm256_set1_epi64x(bias)),
                                                            _mm256_castsi256_pd(_mm256_set1_epi64x(tinyBias)), tiny));
    const __m256i sign = _mm256_castpd_si256(_mm256_and_pd(x, Splat(-0.0)));
    return _mm256_castsi256_pd(_mm256_or_si256(_mm256_slli_epi64(_mm256_add_epi64(third, b), 32), sign));
}
inline V Chop23(V t)
{
    const __m256i u = _mm256_add_epi64(_mm256_castpd_si256(t), _mm256_set1_epi64x(0x80000000));
    return _mm256_castsi256_pd(_mm256_and_si256(u, _mm256_set1_epi64x(static_cast<long long>(0xffffffffc0000000))));
}
inline V CbrtEdges(V x, V r)
{
    const V odd = _mm256_cmp_pd(Abs(x), Splat(0x1.fffffffffffffp1023), _CMP_NLE_UQ);
    const V zero = _mm256_cmp_pd(x, _mm256_setzero_pd(), _CMP_EQ_OQ);
    return _mm256_blendv_pd(_mm256_blendv_pd(r, x + x, odd), x, zero);
}
inline V SSin(V x)
{
    return Sleef_sind4_u10avx2(x);
}
inline V SCos(V x)
{
    return Sleef_cosd4_u10avx2(x);
}
inline V STan(V x)
{
    return Sleef_tand4_u10avx2(x);
}
inline V SAsin(V x)
{
    return Sleef_asind4_u10avx2(x);
}
inline V SAcos(V x)
{
    return Sleef_acosd4_u10avx2(x);
}
inline V SAtan(V x)
{
    return Sleef_atand4_u10avx2(x);
}
inline V SSinh(V x)
{
    return Sleef_sinhd4_u10avx2(x);
}
inline V SCosh(V x)
{
    return Sleef_coshd4_u10avx2(x);
}
inline V STanh(V x)
{
    return Sleef_tanhd4_u10avx2(x);
}
inline V SPow(V a, V b)
{
    return Sleef_powd4_u10avx2(a, b);
}
inline P2 SSinCos(V x)
{
    return Sleef_sincosd4_u10avx2(x);
}

#include "platform/lapack/vml_body.inc"

}  // namespace

namespace tarnel::vml {

// Only called after the processor was found to run this code (Vml.cpp).
const Table* KernelsAvx2Unchecked();

const Table* KernelsAvx2Unchecked()
{
    return &kTable;
}

}  // namespace tarnel::vml

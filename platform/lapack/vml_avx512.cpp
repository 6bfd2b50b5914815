// Vector-math kernels for AVX-512F, eight Doubles per vector.
#include <immintrin.h>
#include <sleef.h>

#include "platform/lapack/VmlKernels.h"

namespace {

using V = __m512d;
using P2 = Sleef___m512d_2;
constexpr long long kW = 8;
constexpr const char* kIsaName = "avx512f";
inline V Load(const double* p)
{
    return _mm512_loadu_pd(p);
}
inline void Store(double* p, V v)
{
    _mm512_storeu_pd(p, v);
}
// A store past the caches to an address on a vector boundary; Fence orders such stores before what follows.
inline void Stream(double* p, V v)
{
    _mm512_stream_pd(p, v);
}
inline void Fence()
{
    _mm_sfence();
}
inline V Splat(double x)
{
    return _mm512_set1_pd(x);
}
// The zero-masked form with a full mask: the plain one trips a false uninitialised warning of GCC 12.
inline V VSqrt(V x)
{
    return _mm512_maskz_sqrt_pd(static_cast<__mmask8>(0xFF), x);
}
inline V VDiv(V a, V b)
{
    return _mm512_div_pd(a, b);
}
inline V ProdErr(V a, V b, V p)
{
    return _mm512_fmsub_pd(a, b, p);
}
inline V SExp(V x)
{
    return Sleef_expd8_u10avx512f(x);
}
inline V SLog(V x)
{
    return Sleef_logd8_u10avx512f(x);
}
inline V SLog10(V x)
{
    return Sleef_log10d8_u10avx512f(x);
}
// The bit operations of the cube root (vml_body.inc): the estimate from the high word of |x| divided by 3 (hx·⌈2^33/3⌉
// >> 33 is hx/3 for every 32-bit hx), rounding away from zero to 23 bits, and the edges. Shifts and products in
// their zero-masked forms with a full mask, as VSqrt.
constexpr __mmask8 kAll = 0xFF;
inline V CbrtSeed(V x, long long bias, long long tinyBias)
{
    const __mmask8 tiny = _mm512_cmp_pd_mask(_mm512_abs_pd(x), Splat(0x1p-1022), _CMP_LT_OQ);
    const __m512i hx = _mm512_maskz_srli_epi64(kAll, _mm512_castpd_si512(_mm512_abs_pd(_mm512_mask_mul_pd(x, tiny, x, Splat(0x1p54)))), 32);
    const __m512i third = _mm512_maskz_srli_epi64(kAll, _mm512_maskz_mul_epu32(kAll, hx, _mm512_set1_epi64(0xAAAAAAAB)), 33);
    const __m512i b = _mm512_mask_blend_epi64(tiny, _mm512_set1_epi64(bias), _mm512_set1_epi64(tinyBias));
    const __m512i sign = _mm512_and_epi64(_mm512_castpd_si512(x), _mm512_set1_epi64(INT64_MIN));
    return _mm512_castsi512_pd(_mm512_or_epi64(_mm512_maskz_slli_epi64(kAll, _mm512_add_epi64(third, b), 32), sign));
}
inline V Chop23(V t)
{
    const __m512i u = _mm512_add_epi64(_mm512_castpd_si512(t), _mm512_set1_epi64(0x80000000));
    return _mm512_castsi512_pd(_mm512_and_epi64(u, _mm512_set1_epi64(static_cast<long long>(0xffffffffc0000000))));
}
inline V CbrtEdges(V x, V r)
{
    const __mmask8 odd = _mm512_cmp_pd_mask(_mm512_abs_pd(x), Splat(0x1.fffffffffffffp1023), _CMP_NLE_UQ);
    const __mmask8 zero = _mm512_cmp_pd_mask(x, _mm512_setzero_pd(), _CMP_EQ_OQ);
    return _mm512_mask_mov_pd(_mm512_mask_mov_pd(r, odd, x + x), zero, x);
}
inline V SSin(V x)
{
    return Sleef_sind8_u10avx512f(x);
}
inline V SCos(V x)
{
    return Sleef_cosd8_u10avx512f(x);
}
inline V STan(V x)
{
    return Sleef_tand8_u10avx512f(x);
}
inline V SAsin(V x)
{
    return Sleef_asind8_u10avx512f(x);
}
inline V SAcos(V x)
{
    return Sleef_acosd8_u10avx512f(x);
}
inline V SAtan(V x)
{
    return Sleef_atand8_u10avx512f(x);
}
inline V SSinh(V x)
{
    return Sleef_sinhd8_u10avx512f(x);
}
inline V SCosh(V x)
{
    return Sleef_coshd8_u10avx512f(x);
}
inline V STanh(V x)
{
    return Sleef_tanhd8_u10avx512f(x);
}
inline V SPow(V a, V b)
{
    return Sleef_powd8_u10avx512f(a, b);
}
inline P2 SSinCos(V x)
{
    return Sleef_sincosd8_u10avx512f(x);
}

#include "platform/lapack/vml_body.inc"

}  // namespace

namespace tarnel::vml {

// Only called after the processor was found to run this code (Vml.cpp).
const Table* KernelsAvx512Unchecked();

const Table* KernelsAvx512Unchecked()
{
    return &kTable;
}

}  // namespace tarnel::vml

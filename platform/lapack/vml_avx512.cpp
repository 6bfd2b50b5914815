// Vector-math kernels for AVX-512F, eight Doubles per vector.
#include <immintrin.h>
#include <sleef.h>

#include "platform/lapack/VmlKernels.h"

namespace {

using V = __m512d;
using P2 = Sleef___m512d_2;
constexpr long long kW = 8;
constexpr const char* kIsaName = "avx512f";
constexpr bool kSleefExp = false;  // SExp below is this file's own exp
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
// Where an intrinsic's plain form trips a false uninitialised warning of GCC 12, its zero-masked form with a full
// mask stands in.
constexpr __mmask8 kAll = 0xFF;
inline V VSqrt(V x)
{
    return _mm512_maskz_sqrt_pd(kAll, x);
}
inline V VDiv(V a, V b)
{
    return _mm512_div_pd(a, b);
}
inline V ProdErr(V a, V b, V p)
{
    return _mm512_fmsub_pd(a, b, p);
}
inline bool AnyBeyond(V x, double t)
{
    return _mm512_cmp_pd_mask(_mm512_abs_pd(x), Splat(t), _CMP_GT_OQ) != 0;
}
// e^x = 2^k · 2^(j/16) · e^r with x = (16k + j)·ln2/16 + r, |r| ≤ ln2/32. The shifted product's low mantissa bits
// are 16k + j as an integer: its low four bits pick 2^(j/16) from the two-register tables, and vscalefpd scales by
// 2^floor((16k + j)/16) = 2^k, rounding once into the subnormals and giving 0 or +inf beyond the range. The reduction's
// first step is exact (the high part of ln2/16 times 16k + j, fused), and 2^(j/16) is carried as a pair, so the result
// is the table value plus a term a fiftieth of it: within 0.56 ulp, and 0.76 ulp for subnormal results (rounded
// twice). The arguments are clamped first to [-746, 710], where the result is already 0 and +inf, so ±inf and large
// values take the same path; a NaN passes the clamps.
inline V SExp(V x)
{
    alignas(64) static constexpr double kHi[16] = {
        0x1.0000000000000p+0, 0x1.0b5586cf9890fp+0, 0x1.172b83c7d517bp+0, 0x1.2387a6e756238p+0,
        0x1.306fe0a31b715p+0, 0x1.3dea64c123422p+0, 0x1.4bfdad5362a27p+0, 0x1.5ab07dd485429p+0,
        0x1.6a09e667f3bcdp+0, 0x1.7a11473eb0187p+0, 0x1.8ace5422aa0dbp+0, 0x1.9c49182a3f090p+0,
        0x1.ae89f995ad3adp+0, 0x1.c199bdd85529cp+0, 0x1.d5818dcfba487p+0, 0x1.ea4afa2a490dap+0};
    alignas(64) static constexpr double kLo[16] = {0.0,
                                                   0x1.8a62e4adc610bp-54,
                                                   -0x1.19041b9d78a76p-55,
                                                   0x1.9b07eb6c70573p-54,
                                                   0x1.6f46ad23182e4p-55,
                                                   0x1.ada0911f09ebcp-55,
                                                   0x1.d4397afec42e2p-56,
                                                   0x1.6324c054647adp-54,
                                                   -0x1.bdd3413b26456p-54,
                                                   -0x1.41577ee04992fp-55,
                                                   0x1.6e9f156864b27p-54,
                                                   0x1.c7c46b071f2bep-56,
                                                   0x1.7a1cd345dcc81p-54,
                                                   0x1.11065895048ddp-55,
                                                   0x1.2ed02d75b3707p-55,
                                                   -0x1.e9c23179c2893p-54};
    constexpr double kShift = 0x1.8p52;
    x = _mm512_maskz_min_pd(kAll, Splat(710.0), _mm512_maskz_max_pd(kAll, Splat(-746.0), x));
    const V s = _mm512_fmadd_pd(x, Splat(0x1.71547652b82fep+4), Splat(kShift));
    const V n = _mm512_sub_pd(s, Splat(kShift));
    V r = _mm512_fnmadd_pd(n, Splat(0x1.62e42fefa39efp-5), x);
    r = _mm512_fnmadd_pd(n, Splat(0x1.abc9e3b39803fp-60), r);
    // e^r - 1 to degree 7: the first term left out is below 2^-59 of the result.
    V p = _mm512_fmadd_pd(r, Splat(1.0 / 5040), Splat(1.0 / 720));
    p = _mm512_fmadd_pd(p, r, Splat(1.0 / 120));
    p = _mm512_fmadd_pd(p, r, Splat(1.0 / 24));
    p = _mm512_fmadd_pd(p, r, Splat(1.0 / 6));
    p = _mm512_fmadd_pd(p, r, Splat(0.5));
    const V q = _mm512_fmadd_pd(_mm512_mul_pd(r, r), p, r);
    const __m512i j = _mm512_castpd_si512(s);
    const V hi = _mm512_permutex2var_pd(Load(kHi), j, Load(kHi + 8));
    const V lo = _mm512_permutex2var_pd(Load(kLo), j, Load(kLo + 8));
    const V e = _mm512_add_pd(hi, _mm512_fmadd_pd(hi, q, lo));
    return _mm512_maskz_scalef_pd(kAll, e, _mm512_mul_pd(n, Splat(0.0625)));
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
inline V CbrtSeed(V x, long long bias, long long tinyBias)
{
    const __mmask8 tiny = _mm512_cmp_pd_mask(_mm512_abs_pd(x), Splat(0x1p-1022), _CMP_LT_OQ);
    const __m512i hx = _mm512_maskz_srli_epi64(
        kAll, _mm512_castpd_si512(_mm512_abs_pd(_mm512_mask_mul_pd(x, tiny, x, Splat(0x1p54)))), 32);
    const __m512i third =
        _mm512_maskz_srli_epi64(kAll, _mm512_maskz_mul_epu32(kAll, hx, _mm512_set1_epi64(0xAAAAAAAB)), 33);
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

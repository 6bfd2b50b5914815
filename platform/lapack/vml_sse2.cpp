// Vector-math kernels for SSE2, two Doubles per vector; SLEEF's own dispatcher picks its best 128-bit code.
#include <emmintrin.h>
#include <sleef.h>

#include "platform/lapack/VmlKernels.h"

namespace {

using V = __m128d;
using P2 = Sleef___m128d_2;
constexpr long long kW = 2;
constexpr const char* kIsaName = "sse2";
inline V Load(const double* p)
{
    return _mm_loadu_pd(p);
}
inline void Store(double* p, V v)
{
    _mm_storeu_pd(p, v);
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
inline V SCbrt(V x)
{
    return Sleef_cbrtd2_u10(x);
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

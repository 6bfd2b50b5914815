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
inline V SCbrt(V x)
{
    return Sleef_cbrtd8_u10avx512f(x);
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

// Vector-math kernels for AVX2 with FMA, four Doubles per vector.
#include <immintrin.h>
#include <sleef.h>

#include "platform/lapack/VmlKernels.h"

namespace {

using V = __m256d;
using P2 = Sleef___m256d_2;
constexpr long long kW = 4;
constexpr const char* kIsaName = "avx2";
inline V Load(const double* p)
{
    return _mm256_loadu_pd(p);
}
inline void Store(double* p, V v)
{
    _mm256_storeu_pd(p, v);
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
inline V SCbrt(V x)
{
    return Sleef_cbrtd4_u10avx2(x);
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

// lapack's vector-math routines on the SIMD kernels of the best instruction set of the processor.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/Nmkl.h"
#include "platform/lapack/VmlKernels.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

namespace vml {

const Table* KernelsAvx2Unchecked();
const Table* KernelsAvx512Unchecked();

const Table* KernelsAvx2()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") ? KernelsAvx2Unchecked() : nullptr;
}

const Table* KernelsAvx512()
{
    return parallel::HasAvx512() ? KernelsAvx512Unchecked() : nullptr;
}

const Table& Kernels()
{
    static const Table* best = [] {
        if (const Table* t = KernelsAvx512()) return t;
        if (const Table* t = KernelsAvx2()) return t;
        return KernelsSse2();
    }();
    return *best;
}

}  // namespace vml

namespace {

// True when the n Doubles at p and at q share memory without being the same array.
bool Clash(const double* p, const double* q, long long n)
{
    return p != q && p < q + n && q < p + n;
}

// One thread's time per element of each kernel, in nanoseconds, with the data in the caches: it sets the least
// length shared out among the threads (parallel::MinSplitFor). Measured for the AVX-512 kernels; the narrower ones
// take longer per element, so for them the threshold errs on the side of one thread.
namespace ns {
constexpr double kExp = 0.55, kLn = 0.75, kLog10 = 0.77, kSqrt = 0.27, kInvSqrt = 0.88, kCbrt = 1.0, kInvCbrt = 2.5,
                 kInv = 0.15, kSin = 0.83, kCos = 0.98, kTan = 1.26, kAsin = 1.12, kAcos = 1.48, kAtan = 1.74,
                 kSinh = 2.13, kCosh = 2.1, kTanh = 2.17, kDiv = 0.15, kPow = 4.0, kSinCos = 1.17;
}  // namespace ns

// Runs a kernel whose outputs overlap an input without coinciding with it through a buffer of the result.
void Unary(const int* pn, const double* a, double* y, vml::Unary f, double nsPerElement)
{
    if (!pn || *pn <= 0 || !a || !y) return;
    const long long n = *pn;
    std::vector<double> t;
    double* out = y;
    if (Clash(a, y, n)) {
        t.resize(static_cast<std::size_t>(n));
        out = t.data();
    }
    parallel::PiecesOfWork(n, [&](long long lo, long long hi) { f(hi - lo, a + lo, out + lo); }, nsPerElement);
    if (!t.empty()) std::memcpy(y, t.data(), t.size() * sizeof(double));
}

// Streamed: the kernel with non-temporal stores, taken for a result apart from both sources in a pass too large
// for the caches (parallel::StreamStores); nullptr where the kernel has none.
void Binary(const int* pn, const double* a, const double* b, double* y, vml::Binary f, double nsPerElement,
            vml::Binary streamed = nullptr)
{
    if (!pn || *pn <= 0 || !a || !b || !y) return;
    const long long n = *pn;
    std::vector<double> t;
    double* out = y;
    if (Clash(a, y, n) || Clash(b, y, n)) {
        t.resize(static_cast<std::size_t>(n));
        out = t.data();
    } else if (streamed && a != y && b != y &&
               parallel::StreamStores(3 * n * static_cast<long long>(sizeof(double)))) {
        f = streamed;
    }
    parallel::PiecesOfWork(n, [&](long long lo, long long hi) { f(hi - lo, a + lo, b + lo, out + lo); },
                           nsPerElement);
    if (!t.empty()) std::memcpy(y, t.data(), t.size() * sizeof(double));
}

}  // namespace

extern "C" {

void VDEXP(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().exp, ns::kExp);
}
void VDLN(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().ln, ns::kLn);
}
void VDLOG10(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().log10, ns::kLog10);
}
void VDSQRT(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().sqrt, ns::kSqrt);
}
void VDINVSQRT(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().invsqrt, ns::kInvSqrt);
}
void VDCBRT(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().cbrt, ns::kCbrt);
}
void VDINVCBRT(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().invcbrt, ns::kInvCbrt);
}
void VDINV(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().inv, ns::kInv);
}
void VDSIN(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().sin, ns::kSin);
}
void VDCOS(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().cos, ns::kCos);
}
void VDTAN(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().tan, ns::kTan);
}
void VDASIN(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().asin, ns::kAsin);
}
void VDACOS(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().acos, ns::kAcos);
}
void VDATAN(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().atan, ns::kAtan);
}
void VDSINH(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().sinh, ns::kSinh);
}
void VDCOSH(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().cosh, ns::kCosh);
}
void VDTANH(const int* n, const double* a, double* y)
{
    Unary(n, a, y, vml::Kernels().tanh, ns::kTanh);
}
void VDDIV(const int* n, const double* a, const double* b, double* y)
{
    Binary(n, a, b, y, vml::Kernels().div, ns::kDiv, vml::Kernels().divStream);
}
void VDPOW(const int* n, const double* a, const double* b, double* y)
{
    Binary(n, a, b, y, vml::Kernels().pow, ns::kPow);
}

void VDSINCOS(const int* pn, const double* a, double* s, double* c)
{
    if (!pn || *pn <= 0 || !a || !s || !c) return;
    const long long n = *pn;
    std::vector<double> ts, tc;
    double *os = s, *oc = c;
    if (Clash(a, s, n) || Clash(a, c, n) || Clash(s, c, n)) {
        ts.resize(static_cast<std::size_t>(n));
        tc.resize(static_cast<std::size_t>(n));
        os = ts.data();
        oc = tc.data();
    }
    const vml::Pair f = vml::Kernels().sincos;
    parallel::PiecesOfWork(n, [&](long long lo, long long hi) { f(hi - lo, a + lo, os + lo, oc + lo); },
                           ns::kSinCos);
    if (!ts.empty()) {
        std::memcpy(s, ts.data(), ts.size() * sizeof(double));
        std::memcpy(c, tc.data(), tc.size() * sizeof(double));
    }
}

void VDPACKI(const int* pn, const double* a, const int* pinc, double* y)
{
    if (!pn || !pinc || *pn <= 0 || *pinc < 1 || !a || !y) return;
    const long long n = *pn, inc = *pinc;
    const long long span = (n - 1) * inc + 1;
    // y == a packs forward safely (element k is read from k·inc ≥ k); other overlaps go through a buffer.
    if (y != a && y < a + span && a < y + n) {
        std::vector<double> t(static_cast<std::size_t>(n));
        for (long long k = 0; k < n; ++k) t[k] = a[k * inc];
        std::memcpy(y, t.data(), t.size() * sizeof(double));
        return;
    }
    for (long long k = 0; k < n; ++k) y[k] = a[k * inc];
}

void VDUNPACKI(const int* pn, const double* a, double* y, const int* pinc)
{
    if (!pn || !pinc || *pn <= 0 || *pinc < 1 || !a || !y) return;
    const long long n = *pn, inc = *pinc;
    const long long span = (n - 1) * inc + 1;
    // y == a unpacks backward safely (element k is written at k·inc ≥ k after the elements above it).
    if (y == a) {
        for (long long k = n - 1; k >= 0; --k) y[k * inc] = a[k];
        return;
    }
    if (y < a + n && a < y + span) {
        std::vector<double> t(a, a + n);
        for (long long k = 0; k < n; ++k) y[k * inc] = t[k];
        return;
    }
    for (long long k = 0; k < n; ++k) y[k * inc] = a[k];
}

}  // extern "C"

}  // namespace tarnel

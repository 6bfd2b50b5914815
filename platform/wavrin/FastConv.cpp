// The FFT forms of the filters: linear convolution, correlation and 2-D convolution through zero-padded FFTW
// transforms of a fast length (2^a·3^b·5^c·7^d at least the full result), chosen by Filters.cpp above the
// crossover where the direct sums cost more. The results equal the direct sums up to the rounding of the
// transforms (a few ulps of the largest partial sum).
#include <fftw3.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <memory>

#include "platform/wavrin/FftPlans.h"
#include "platform/wavrin/WavrinInternal.h"

namespace tarnel::wavrin {

namespace {

using fftplan::AlignOf;
using fftplan::Kind;
using C = std::complex<double>;

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// A zero-filled FFTW-aligned array of Count elements; empty when the memory is not there.
template <class T>
std::unique_ptr<T[], FftwFree> Buffer(long long Count)
{
    const std::size_t bytes = static_cast<std::size_t>(Count) * sizeof(T);
    std::unique_ptr<T[], FftwFree> p(static_cast<T*>(fftw_malloc(bytes)));
    if (p) std::memset(static_cast<void*>(p.get()), 0, bytes);
    return p;
}

fftw_plan PlanOf(Kind K, int N0, int N1, int Sign, const void* In, const void* Out)
{
    return fftplan::Get({K, N0, N1, Sign, In == Out, false, AlignOf(In), AlignOf(Out)});
}

fftw_complex* F(C* p)
{
    return reinterpret_cast<fftw_complex*>(p);
}

// a·b·s written out (std::complex's operator* takes the library's slow NaN-recovering path).
inline C CMul(const C& a, const C& b, double s)
{
    return {(a.real() * b.real() - a.imag() * b.imag()) * s, (a.real() * b.imag() + a.imag() * b.real()) * s};
}

// The crossover: a length-L transform counts as kFftWork·L·log2(L) multiply-adds of the direct sums. Set from the
// bench rows of bench/bench_dsp.cpp (10^6 by 64 samples sums directly, sharing the work among the worker threads,
// faster than three single-threaded transforms; 10^3 by 10^3 and 10^6 by 10^4 transform faster); short transforms
// would favour a smaller constant, long ones leave the cache and favour a larger one.
constexpr double kFftWork = 1.6;

}  // namespace

long long FastLength(long long N)
{
    if (N <= 1) return 1;
    long long best = 1;
    while (best < N) best *= 2;
    for (long long p7 = 1; p7 < best; p7 *= 7)
        for (long long p5 = p7; p5 < best; p5 *= 5)
            for (long long p3 = p5; p3 < best; p3 *= 3) {
                long long v = p3;
                while (v < N) v *= 2;
                if (v < best) best = v;
            }
    return best;
}

bool FftCheaper(double DirectOps, long long FftLength, bool Complex)
{
    if (FftLength < 64 || FftLength > (1LL << 30)) return false;
    // Three transforms (two forward, one back) of the padded length; complex ones cost twice a real one, and a
    // complex multiply-add four real ones.
    const double fft = 3.0 * kFftWork * FftLength * std::log2(static_cast<double>(FftLength)) * (Complex ? 2.0 : 1.0);
    return DirectOps * (Complex ? 4.0 : 1.0) > fft;
}

bool FftConvReal(const double* X, long long Xn, const double* H, long long Hn, double* Out)
{
    const long long m = Xn + Hn - 1;
    const long long L = FastLength(m);
    const long long bins = L / 2 + 1;
    auto a = Buffer<double>(L), b = Buffer<double>(L);
    auto A = Buffer<C>(bins), B = Buffer<C>(bins);
    if (!a || !b || !A || !B) return false;
    std::memcpy(a.get(), X, static_cast<std::size_t>(Xn) * sizeof(double));
    std::memcpy(b.get(), H, static_cast<std::size_t>(Hn) * sizeof(double));
    const int n = static_cast<int>(L);
    fftw_plan fwd = PlanOf(Kind::R2C, n, 0, 0, a.get(), A.get());
    fftw_plan inv = PlanOf(Kind::C2R, n, 0, 0, A.get(), a.get());
    if (!fwd || !inv) return false;
    fftw_execute_dft_r2c(fwd, a.get(), F(A.get()));
    fftw_execute_dft_r2c(fwd, b.get(), F(B.get()));
    const double s = 1.0 / static_cast<double>(L);
    for (long long k = 0; k < bins; ++k) A[k] = CMul(A[k], B[k], s);
    fftw_execute_dft_c2r(inv, F(A.get()), a.get());
    std::memcpy(Out, a.get(), static_cast<std::size_t>(m) * sizeof(double));
    return true;
}

bool FftConvCplx(const C* X, long long Xn, const C* H, long long Hn, C* Out)
{
    const long long m = Xn + Hn - 1;
    const long long L = FastLength(m);
    auto A = Buffer<C>(L), B = Buffer<C>(L);
    if (!A || !B) return false;
    std::memcpy(static_cast<void*>(A.get()), X, static_cast<std::size_t>(Xn) * sizeof(C));
    std::memcpy(static_cast<void*>(B.get()), H, static_cast<std::size_t>(Hn) * sizeof(C));
    const int n = static_cast<int>(L);
    fftw_plan fwd = PlanOf(Kind::C2C, n, 0, FFTW_FORWARD, A.get(), A.get());
    fftw_plan inv = PlanOf(Kind::C2C, n, 0, FFTW_BACKWARD, A.get(), A.get());
    if (!fwd || !inv) return false;
    fftw_execute_dft(fwd, F(A.get()), F(A.get()));
    fftw_execute_dft(fwd, F(B.get()), F(B.get()));
    const double s = 1.0 / static_cast<double>(L);
    for (long long k = 0; k < L; ++k) A[k] = CMul(A[k], B[k], s);
    fftw_execute_dft(inv, F(A.get()), F(A.get()));
    std::memcpy(static_cast<void*>(Out), A.get(), static_cast<std::size_t>(m) * sizeof(C));
    return true;
}

bool FftConv2D(const double* X, int Xc, int Xr, const double* H, int Hc, int Hr, double* Out)
{
    const long long oc = static_cast<long long>(Xc) + Hc - 1, orows = static_cast<long long>(Xr) + Hr - 1;
    const long long R = FastLength(orows), Cn = FastLength(oc);
    if (R > (1LL << 30) || Cn > (1LL << 30)) return false;
    const long long half = Cn / 2 + 1;
    auto a = Buffer<double>(R * Cn), b = Buffer<double>(R * Cn);
    auto A = Buffer<C>(R * half), B = Buffer<C>(R * half);
    if (!a || !b || !A || !B) return false;
    for (int i = 0; i < Xr; ++i)
        std::memcpy(a.get() + i * Cn, X + static_cast<long long>(i) * Xc,
                    static_cast<std::size_t>(Xc) * sizeof(double));
    for (int i = 0; i < Hr; ++i)
        std::memcpy(b.get() + i * Cn, H + static_cast<long long>(i) * Hc,
                    static_cast<std::size_t>(Hc) * sizeof(double));
    const int r = static_cast<int>(R), c = static_cast<int>(Cn);
    fftw_plan fwd = PlanOf(Kind::R2C, r, c, 0, a.get(), A.get());
    fftw_plan inv = PlanOf(Kind::C2R, r, c, 0, A.get(), a.get());
    if (!fwd || !inv) return false;
    fftw_execute_dft_r2c(fwd, a.get(), F(A.get()));
    fftw_execute_dft_r2c(fwd, b.get(), F(B.get()));
    const double s = 1.0 / (static_cast<double>(R) * static_cast<double>(Cn));
    for (long long k = 0; k < R * half; ++k) A[k] = CMul(A[k], B[k], s);
    fftw_execute_dft_c2r(inv, F(A.get()), a.get());
    for (long long i = 0; i < orows; ++i)
        std::memcpy(Out + i * oc, a.get() + i * Cn, static_cast<std::size_t>(oc) * sizeof(double));
    return true;
}

}  // namespace tarnel::wavrin

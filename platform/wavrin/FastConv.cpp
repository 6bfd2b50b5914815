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
    void operator()(char* p) const { fftw_free(p); }
};

// Work array Slot (0 to 3) of this thread, at least Count elements, not initialised; kept for the next call, so
// that repeated filtering of long signals does not fault in fresh pages every time. Null when the memory is not
// there.
template <class T>
T* Buffer(int Slot, long long Count)
{
    thread_local std::unique_ptr<char[], FftwFree> buf[4];
    thread_local std::size_t size[4] = {};
    const std::size_t bytes = static_cast<std::size_t>(Count) * sizeof(T);
    if (size[Slot] < bytes) {
        buf[Slot].reset();
        buf[Slot].reset(static_cast<char*>(fftw_malloc(bytes)));
        size[Slot] = buf[Slot] ? bytes : 0;
    }
    return reinterpret_cast<T*>(buf[Slot].get());
}

// Dst := the N elements of Src followed by zeros up to Count.
template <class T>
void Padded(T* Dst, const T* Src, long long N, long long Count)
{
    std::memcpy(static_cast<void*>(Dst), Src, static_cast<std::size_t>(N) * sizeof(T));
    std::memset(static_cast<void*>(Dst + N), 0, static_cast<std::size_t>(Count - N) * sizeof(T));
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
    long long pow2 = 1;
    while (pow2 < N) pow2 *= 2;
    long long best = pow2;
    for (long long p7 = 1; p7 < pow2; p7 *= 7)
        for (long long p5 = p7; p5 < pow2; p5 *= 5)
            for (long long p3 = p5; p3 < pow2; p3 *= 3) {
                long long v = p3;
                while (v < N) v *= 2;
                if (v < best) best = v;
            }
    // FFTW's power-of-two transforms run faster per point than those with factors 3, 5 and 7 (measured: 2^20
    // points in less time than 1012500): the power of two wins unless it is over a fifth longer.
    return pow2 <= best + best / 5 ? pow2 : best;
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
    double *a = Buffer<double>(0, L), *b = Buffer<double>(1, L);
    C *A = Buffer<C>(2, bins), *B = Buffer<C>(3, bins);
    if (!a || !b || !A || !B) return false;
    Padded(a, X, Xn, L);
    Padded(b, H, Hn, L);
    const int n = static_cast<int>(L);
    fftw_plan fwd = PlanOf(Kind::R2C, n, 0, 0, a, A);
    fftw_plan inv = PlanOf(Kind::C2R, n, 0, 0, A, a);
    if (!fwd || !inv) return false;
    fftw_execute_dft_r2c(fwd, a, F(A));
    fftw_execute_dft_r2c(fwd, b, F(B));
    const double s = 1.0 / static_cast<double>(L);
    for (long long k = 0; k < bins; ++k) A[k] = CMul(A[k], B[k], s);
    fftw_execute_dft_c2r(inv, F(A), a);
    std::memcpy(Out, a, static_cast<std::size_t>(m) * sizeof(double));
    return true;
}

bool FftConvCplx(const C* X, long long Xn, const C* H, long long Hn, C* Out)
{
    const long long m = Xn + Hn - 1;
    const long long L = FastLength(m);
    C *A = Buffer<C>(2, L), *B = Buffer<C>(3, L);
    if (!A || !B) return false;
    Padded(A, X, Xn, L);
    Padded(B, H, Hn, L);
    const int n = static_cast<int>(L);
    fftw_plan fwd = PlanOf(Kind::C2C, n, 0, FFTW_FORWARD, A, A);
    fftw_plan inv = PlanOf(Kind::C2C, n, 0, FFTW_BACKWARD, A, A);
    if (!fwd || !inv) return false;
    fftw_execute_dft(fwd, F(A), F(A));
    fftw_execute_dft(fwd, F(B), F(B));
    const double s = 1.0 / static_cast<double>(L);
    for (long long k = 0; k < L; ++k) A[k] = CMul(A[k], B[k], s);
    fftw_execute_dft(inv, F(A), F(A));
    std::memcpy(static_cast<void*>(Out), A, static_cast<std::size_t>(m) * sizeof(C));
    return true;
}

bool FftConv2D(const double* X, int Xc, int Xr, const double* H, int Hc, int Hr, double* Out)
{
    const long long oc = static_cast<long long>(Xc) + Hc - 1, orows = static_cast<long long>(Xr) + Hr - 1;
    const long long R = FastLength(orows), Cn = FastLength(oc);
    if (R > (1LL << 30) || Cn > (1LL << 30)) return false;
    const long long half = Cn / 2 + 1;
    double *a = Buffer<double>(0, R * Cn), *b = Buffer<double>(1, R * Cn);
    C *A = Buffer<C>(2, R * half), *B = Buffer<C>(3, R * half);
    if (!a || !b || !A || !B) return false;
    for (long long i = 0; i < R; ++i) {
        Padded(a + i * Cn, i < Xr ? X + i * Xc : X, i < Xr ? Xc : 0, Cn);
        Padded(b + i * Cn, i < Hr ? H + i * Hc : H, i < Hr ? Hc : 0, Cn);
    }
    const int r = static_cast<int>(R), c = static_cast<int>(Cn);
    fftw_plan fwd = PlanOf(Kind::R2C, r, c, 0, a, A);
    fftw_plan inv = PlanOf(Kind::C2R, r, c, 0, A, a);
    if (!fwd || !inv) return false;
    fftw_execute_dft_r2c(fwd, a, F(A));
    fftw_execute_dft_r2c(fwd, b, F(B));
    const double s = 1.0 / (static_cast<double>(R) * static_cast<double>(Cn));
    for (long long k = 0; k < R * half; ++k) A[k] = CMul(A[k], B[k], s);
    fftw_execute_dft_c2r(inv, F(A), a);
    for (long long i = 0; i < orows; ++i)
        std::memcpy(Out + i * oc, a + i * Cn, static_cast<std::size_t>(oc) * sizeof(double));
    return true;
}

}  // namespace tarnel::wavrin

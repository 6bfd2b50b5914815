// One-dimensional transforms on FFTW: complex FFT, real FFT to the packed spectrum, packed spectrum to real
// samples, and the orthonormal DCT.
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/wavrin/FftPlans.h"
#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using fftplan::AlignOf;
using fftplan::AsFftw;
using fftplan::Kind;

constexpr int kMaxOrder = 27;

struct Direction {
    bool ok;
    bool inverse;
    bool scale;  // divide by N
};

// Checks order, pointers and flags; records the failure and returns ok = false when the call must not run.
Direction Parse(int order, int flags, bool pointersSet)
{
    wavrin::BeginCall();
    if (!pointersSet) {
        wavrin::Fail(NSP_StsNullPtr);
        return {false, false, false};
    }
    if (order < 0 || order > kMaxOrder) {
        wavrin::Fail(NSP_StsBadOrder);
        return {false, false, false};
    }
    const int dir = flags & (NSP_Forw | NSP_Inv);
    if ((flags & ~(NSP_Forw | NSP_Inv | NSP_NoScale)) != 0 || (dir != NSP_Forw && dir != NSP_Inv)) {
        wavrin::Fail(NSP_StsBadFlags);
        return {false, false, false};
    }
    const bool inverse = dir == NSP_Inv;
    return {true, inverse, inverse && (flags & NSP_NoScale) == 0};
}

bool Overlap(const void* a, std::size_t aBytes, const void* b, std::size_t bBytes)
{
    const char* pa = static_cast<const char*>(a);
    const char* pb = static_cast<const char*>(b);
    return pa < pb + bBytes && pb < pa + aBytes;
}

fftw_plan PlanFor(Kind kind, int n, int sign, const void* in, const void* out, bool keepSource = false)
{
    const fftplan::Key key{kind, n, 0, sign, in == out, keepSource, AlignOf(in), AlignOf(out)};
    fftw_plan p = fftplan::Get(key);
    if (!p) wavrin::Fail(NSP_StsNoMem);
    return p;
}

void Scale(double* d, std::size_t count, double f)
{
    for (std::size_t i = 0; i < count; ++i) d[i] *= f;
}

// The complex transform from src to dst; src == dst runs in place.
void ComplexFft(const TCplx* src, TCplx* dst, int order, const Direction& d)
{
    const int n = 1 << order;
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(TCplx);
    if (src != dst && Overlap(src, bytes, dst, bytes)) {
        std::memmove(dst, src, bytes);
        src = dst;
    }
    fftw_plan p = PlanFor(Kind::C2C, n, d.inverse ? FFTW_BACKWARD : FFTW_FORWARD, src, dst);
    if (!p) return;
    fftw_execute_dft(p, AsFftw(src), AsFftw(dst));
    if (d.scale) Scale(&dst->Re, 2 * static_cast<std::size_t>(n), 1.0 / n);
}

// Real samples (src, n Doubles) to the packed spectrum (dst, n/2 + 1 bins); src may be dst's own storage.
void RealToPacked(const double* src, TCplx* dst, int order, const Direction& d)
{
    const int n = 1 << order;
    const int bins = n / 2 + 1;
    const void* in = src;
    if (in != dst && Overlap(src, n * sizeof(double), dst, bins * sizeof(TCplx))) {
        std::memmove(dst, src, n * sizeof(double));
        in = dst;
    }
    fftw_plan p = PlanFor(Kind::R2C, n, 0, in, dst);
    if (!p) return;
    fftw_execute_dft_r2c(p, const_cast<double*>(static_cast<const double*>(in)), AsFftw(dst));
    // The inverse transform of real samples is the conjugate of the forward one, divided by N.
    if (d.inverse) {
        const double f = d.scale ? 1.0 / n : 1.0;
        for (int k = 0; k < bins; ++k) {
            dst[k].Re *= f;
            dst[k].Im = -dst[k].Im * f;
        }
    }
    dst[0].Im = 0.0;
    dst[bins - 1].Im = 0.0;
}

// Packed spectrum (src, n/2 + 1 bins) to n real samples. FFTW's backward transform sums with e^(+2πi·jk/N);
// the forward one is the same sum read backwards: y[j] = b[(N − j) mod N].
void PackedToReal(const TCplx* src, double* dst, int order, const Direction& d)
{
    const int n = 1 << order;
    const int bins = n / 2 + 1;
    std::vector<TCplx> copy;
    const bool inPlace = static_cast<const void*>(src) == static_cast<const void*>(dst);
    if (!inPlace && Overlap(src, bins * sizeof(TCplx), dst, n * sizeof(double))) {
        copy.assign(src, src + bins);
        src = copy.data();
    }
    fftw_plan p = PlanFor(Kind::C2R, n, 0, src, dst, !inPlace && copy.empty());
    if (!p) return;
    fftw_execute_dft_c2r(p, AsFftw(src), dst);
    if (!d.inverse) {
        for (int i = 1, j = n - 1; i < j; ++i, --j) std::swap(dst[i], dst[j]);
    } else if (d.scale) {
        Scale(dst, static_cast<std::size_t>(n), 1.0 / n);
    }
}

}  // namespace

extern "C" {

void nspzFft(TCplx* data, int order, int flags)
{
    const Direction d = Parse(order, flags, data != nullptr);
    if (d.ok) ComplexFft(data, data, order, d);
}

void nspzFftNip(const TCplx* src, TCplx* dst, int order, int flags)
{
    const Direction d = Parse(order, flags, src && dst);
    if (d.ok) ComplexFft(src, dst, order, d);
}

void nspdRealFft(double* data, int order, int flags)
{
    const Direction d = Parse(order, flags, data != nullptr);
    if (d.ok) RealToPacked(data, reinterpret_cast<TCplx*>(data), order, d);
}

void nspdRealFftNip(const double* src, TCplx* dst, int order, int flags)
{
    const Direction d = Parse(order, flags, src && dst);
    if (d.ok) RealToPacked(src, dst, order, d);
}

void nspdCcsFft(double* data, int order, int flags)
{
    const Direction d = Parse(order, flags, data != nullptr);
    if (d.ok) PackedToReal(reinterpret_cast<TCplx*>(data), data, order, d);
}

void nspdCcsFftNip(const TCplx* src, double* dst, int order, int flags)
{
    const Direction d = Parse(order, flags, src && dst);
    if (d.ok) PackedToReal(src, dst, order, d);
}

void nspdDct(const double* src, double* dst, int n, int flags)
{
    if (!wavrin::Args(n, src, dst)) return;
    if (flags != NSP_Forw && flags != NSP_Inv) {
        wavrin::Fail(NSP_StsBadFlags);
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(double);
    if (src != dst && (flags == NSP_Inv || Overlap(src, bytes, dst, bytes))) {
        std::memmove(dst, src, bytes);
        src = dst;
    }
    const double s0 = std::sqrt(1.0 / n), sk = std::sqrt(1.0 / (2.0 * n));
    if (flags == NSP_Forw) {
        // FFTW's REDFT10 gives 2·Σ x[j]·cos(πk(2j + 1)/2N); the orthonormal DCT-II scales bin 0 by √(1/4N)
        // and the others by √(1/2N).
        fftw_plan p = PlanFor(Kind::DCT2, n, 0, src, dst);
        if (!p) return;
        fftw_execute_r2r(p, const_cast<double*>(src), dst);
        dst[0] *= 0.5 * s0;
        for (int k = 1; k < n; ++k) dst[k] *= sk;
    } else {
        // REDFT01 gives X[0] + 2·Σ X[k]·cos(πk(2j + 1)/2N): the inverse takes X[0] = √(1/N)·y[0] and
        // X[k] = y[k]/√(2N).
        fftw_plan p = PlanFor(Kind::DCT3, n, 0, dst, dst);
        if (!p) return;
        dst[0] *= s0;
        for (int k = 1; k < n; ++k) dst[k] *= sk;
        fftw_execute_r2r(p, dst, dst);
    }
}

}  // extern "C"

}  // namespace tarnel

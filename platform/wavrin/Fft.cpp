// One-dimensional transforms on FFTW: complex FFT, real FFT to the packed spectrum, packed spectrum to real
// samples, and the orthonormal DCT.
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
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

// ---- DCT through a real FFT of the same length (Makhoul) --------------------------------------------------------
// The samples reordered, v[j] = x[2j] and v[N − 1 − j] = x[2j + 1], have the DFT V with
// Σ x[j]·cos(πk(2j + 1)/2N) = Re(e^(−iπk/2N)·V[k]); bins k and N − k come from the same V[k] (V[N − k] =
// conj V[k]). The inverse runs the same steps backwards: V[k] = e^(iπk/2N)·(Y[k] − i·Y[N − k]) from the unscaled
// Y, then the real inverse FFT and the reordering undone. One real FFT of N points and two linear passes cost
// less than FFTW's REDFT10/01 at most lengths.

struct FftwFree {
    void operator()(double* p) const { fftw_free(p); }
};

// A per-thread work array of at least Count Doubles, grown as needed and kept for the next call.
double* Scratch(int Which, std::size_t Count)
{
    thread_local std::unique_ptr<double[], FftwFree> buf[2];
    thread_local std::size_t size[2] = {0, 0};
    if (size[Which] < Count) {
        buf[Which].reset(static_cast<double*>(fftw_malloc(Count * sizeof(double))));
        size[Which] = buf[Which] ? Count : 0;
    }
    return buf[Which].get();
}

// cos(πk/2N) and sin(πk/2N) for k = 0 .. N/2, interleaved; made once per length and kept for the process.
const double* Twiddles(int n)
{
    thread_local int lastN = 0;
    thread_local const double* last = nullptr;
    if (last && lastN == n) return last;
    static std::mutex lock;
    static auto* cache = new std::unordered_map<int, std::unique_ptr<std::vector<double>>>;
    std::lock_guard<std::mutex> guard(lock);
    auto& t = (*cache)[n];
    if (!t) {
        t = std::make_unique<std::vector<double>>(2 * (static_cast<std::size_t>(n) / 2 + 1));
        for (int k = 0; k <= n / 2; ++k) {
            const double a = PI * k / (2.0 * n);
            (*t)[2 * k] = std::cos(a);
            (*t)[2 * k + 1] = std::sin(a);
        }
    }
    lastN = n;
    last = t->data();
    return last;
}

void DctForward(const double* src, double* dst, int n)
{
    const int bins = n / 2 + 1;
    double* v = Scratch(0, static_cast<std::size_t>(n));
    double* V = Scratch(1, 2 * static_cast<std::size_t>(bins));
    if (!v || !V) return wavrin::Fail(NSP_StsNoMem);
    for (int j = 0; 2 * j < n; ++j) v[j] = src[2 * j];
    for (int j = 0; 2 * j + 1 < n; ++j) v[n - 1 - j] = src[2 * j + 1];
    fftw_plan p = PlanFor(Kind::R2C, n, 0, v, V);
    if (!p) return;
    fftw_execute_dft_r2c(p, v, reinterpret_cast<fftw_complex*>(V));
    const double* w = Twiddles(n);
    const double a0 = std::sqrt(1.0 / n), ak = std::sqrt(2.0 / n);
    dst[0] = V[0] * a0;
    for (int k = 1; 2 * k < n; ++k) {
        const double c = w[2 * k], s = w[2 * k + 1], re = V[2 * k], im = V[2 * k + 1];
        dst[k] = (c * re + s * im) * ak;
        dst[n - k] = (s * re - c * im) * ak;
    }
    if (n % 2 == 0 && n > 1) {
        const int k = n / 2;
        dst[k] = (w[2 * k] * V[2 * k] + w[2 * k + 1] * V[2 * k + 1]) * ak;
    }
}

void DctInverse(const double* src, double* dst, int n)
{
    const int bins = n / 2 + 1;
    double* v = Scratch(0, static_cast<std::size_t>(n));
    double* V = Scratch(1, 2 * static_cast<std::size_t>(bins));
    if (!v || !V) return wavrin::Fail(NSP_StsNoMem);
    const double* w = Twiddles(n);
    // Y = X undone of the orthonormal scaling, and the 1/N of the inverse FFT, folded into one factor.
    const double f0 = 1.0 / std::sqrt(static_cast<double>(n)), fk = 1.0 / std::sqrt(2.0 * n);
    V[0] = src[0] * f0;
    V[1] = 0.0;
    for (int k = 1; k < bins; ++k) {
        const double c = w[2 * k], s = w[2 * k + 1];
        const double p = src[k] * fk, q = src[n - k] * fk;  // k = N/2 of an even N pairs with itself
        V[2 * k] = c * p + s * q;
        V[2 * k + 1] = s * p - c * q;
    }
    fftw_plan pl = PlanFor(Kind::C2R, n, 0, V, v);
    if (!pl) return;
    fftw_execute_dft_c2r(pl, reinterpret_cast<fftw_complex*>(V), v);
    for (int j = 0; 2 * j < n; ++j) dst[2 * j] = v[j];
    for (int j = 0; 2 * j + 1 < n; ++j) dst[2 * j + 1] = v[n - 1 - j];
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
    if (flags == NSP_Forw) {
        DctForward(src, dst, n);
    } else {
        DctInverse(src, dst, n);
    }
}

}  // extern "C"

}  // namespace tarnel

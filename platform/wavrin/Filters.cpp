// Convolution, correlation, 2-D filtering, the Goertzel filter, IIR filters and resampling.
//
// The convolutions and correlations have two forms with the same results up to rounding: the direct sums, in
// blocks of the output that stay in the first-level cache (long outputs shared among the worker threads), and the
// zero-padded FFT form of FastConv.cpp, taken where its transforms cost less than the direct multiply-adds.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

#include "platform/wavrin/Parallel.h"
#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using wavrin::Args;
using wavrin::Count;
using wavrin::Fail;
using wavrin::Ptrs;

using C = std::complex<double>;

inline C Z(const TCplx& z)
{
    return {z.Re, z.Im};
}
inline TCplx T(const C& z)
{
    return {z.real(), z.imag()};
}
inline double Conj(double x)
{
    return x;
}
inline C Conj(const C& z)
{
    return std::conj(z);
}
inline C Get(const TCplx* p, long long i)
{
    return Z(p[i]);
}
inline double Get(const double* p, long long i)
{
    return p[i];
}
inline void Put(double* p, long long i, double v)
{
    p[i] = v;
}
inline void Put(TCplx* p, long long i, const C& v)
{
    p[i] = T(v);
}
// Products written out: std::complex's operator* goes through the library's NaN-recovering routine, several
// times slower, and the filters give NaN for NaN data either way.
inline double Mul(double a, double b)
{
    return a * b;
}
inline C Mul(const C& a, double b)
{
    return {a.real() * b, a.imag() * b};
}
inline C Mul(double a, const C& b)
{
    return {a * b.real(), a * b.imag()};
}
inline C Mul(const C& a, const C& b)
{
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

template <class Out>
using Acc = std::conditional_t<std::is_same_v<Out, double>, double, C>;

// The operand as complex numbers (for the complex transforms), reversed and conjugated when Flip is set.
template <class X>
std::vector<C> Widened(const X* p, long long n, bool Flip)
{
    std::vector<C> out(static_cast<std::size_t>(n));
    for (long long i = 0; i < n; ++i) out[i] = Flip ? Conj(C(Get(p, n - 1 - i))) : C(Get(p, i));
    return out;
}

// out[i] += Σ_k h[k]·x[i − k] for the i of [lo, hi), in blocks of kBlock outputs: each block is summed over the
// taps that reach it while it stays in the cache, four taps at a time where all four reach an output (one pass
// over the block per four taps), the inner loops running over contiguous x.
template <class X, class H, class A>
void DirectConvRange(const X* x, long long xn, const H* h, long long hn, A* out, long long lo, long long hi)
{
    constexpr long long kBlock = 1024;
    // Tap k alone on the outputs [a, b).
    const auto tap = [&](long long k, long long a, long long b) {
        const auto hk = Get(h, k);
        for (long long i = a; i < b; ++i) out[i] += Mul(Get(x, i - k), hk);
    };
    for (long long i0 = lo; i0 < hi; i0 += kBlock) {
        const long long i1 = std::min(hi, i0 + kBlock);
        const long long k0 = std::max(0LL, i0 - xn + 1), k1 = std::min(hn - 1, i1 - 1);
        long long k = k0;
        while (k <= k1) {
            // The outputs that taps k .. k + 3 all reach; each tap's own outputs outside them one by one.
            const long long a = std::max(i0, k + 3), b = std::min(i1, k + xn);
            if (k + 3 > k1 || a >= b) {
                tap(k, std::max(i0, k), std::min(i1, k + xn));
                ++k;
                continue;
            }
            for (long long t = 0; t < 4; ++t) {
                const long long from = std::max(i0, k + t), to = std::min(i1, k + t + xn);
                tap(k + t, from, std::min(to, a));
                tap(k + t, std::max(from, b), to);
            }
            const auto h0 = Get(h, k), h1 = Get(h, k + 1), h2 = Get(h, k + 2), h3 = Get(h, k + 3);
            for (long long i = a; i < b; ++i) {
                const long long j = i - k;
                out[i] += Mul(Get(x, j), h0) + Mul(Get(x, j - 1), h1) + Mul(Get(x, j - 2), h2) + Mul(Get(x, j - 3), h3);
            }
            k += 4;
        }
    }
}

template <class X, class H, class A>
void DirectConv(const X* x, long long xn, const H* h, long long hn, A* out)
{
    const long long m = xn + hn - 1;
    // An output element costs up to min(xn, hn) multiply-adds: long sums are shared among the worker threads in
    // contiguous stretches of the output (each element summed in one thread, in the same order as alone).
    const double work = static_cast<double>(m) * static_cast<double>(std::min(xn, hn));
    const long long parts =
        static_cast<long long>(std::min<double>(parallel::WorkerCount() + 1, work / (4.0 * parallel::kMinPiece)));
    if (parts <= 1) return DirectConvRange(x, xn, h, hn, out, 0, m);
    const long long step = (m + parts - 1) / parts;
    const std::function<void(int)> job = [&](int p) {
        const long long lo = p * step, hi = std::min(m, lo + step);
        if (lo < hi) DirectConvRange(x, xn, h, hn, out, lo, hi);
    };
    if (!parallel::RunParts(static_cast<int>(parts), job)) DirectConvRange(x, xn, h, hn, out, 0, m);
}

// The full convolution into acc (xn + hn − 1 elements, zero on entry), by the cheaper form.
template <class X, class H, class A>
void ConvInto(const X* x, long long xn, const H* h, long long hn, A* acc)
{
    const long long m = xn + hn - 1;
    constexpr bool complexOut = std::is_same_v<A, C>;
    if (wavrin::FftCheaper(static_cast<double>(xn) * static_cast<double>(hn), wavrin::FastLength(m), complexOut)) {
        if constexpr (complexOut) {
            const std::vector<C> a = Widened(x, xn, false), b = Widened(h, hn, false);
            if (wavrin::FftConvCplx(a.data(), xn, b.data(), hn, acc)) return;
        } else {
            if (wavrin::FftConvReal(x, xn, h, hn, acc)) return;
        }
    }
    DirectConv(x, xn, h, hn, acc);
}

// Full linear convolution. The result is built in a buffer, so dst may overlap the operands.
template <class X, class H, class Out>
void Convolve(const X* x, int xn, const H* h, int hn, Out* dst)
{
    if (!Count(xn) || !Count(hn) || !Ptrs(x, h, dst)) return;
    const long long m = static_cast<long long>(xn) + hn - 1;
    std::vector<Acc<Out>> acc(static_cast<std::size_t>(m));
    ConvInto(x, xn, h, hn, acc.data());
    for (long long i = 0; i < m; ++i) Put(dst, i, acc[i]);
}

// Σ_j a[j + k]·conj(b[j]) over the j where both exist.
template <class A, class B, class Out>
Acc<Out> CorrAt(const A* a, long long an, const B* b, long long bn, long long k)
{
    Acc<Out> s{};
    const long long j0 = k < 0 ? -k : 0;
    const long long j1 = std::min<long long>(bn, an - k);
    for (long long j = j0; j < j1; ++j) s += Mul(Get(a, j + k), Conj(Get(b, j)));
    return s;
}

// r[k − loLag] = Σ_j a[j + k]·conj(b[j]) for k = loLag .. hiLag; the lags where the operands do not meet are 0.
// The FFT form convolves a with b reversed and conjugated: r(k) is element k + bn − 1 of that convolution.
template <class A, class B, class Out>
void CorrInto(const A* a, long long an, const B* b, long long bn, Out* r, long long loLag, long long hiLag)
{
    const long long lo = std::max(loLag, -(bn - 1)), hi = std::min(hiLag, an - 1);
    if (an == 0 || bn == 0 || lo > hi) return;
    // Direct work: the overlap of every lag asked for, at most min(an, bn) each.
    const double direct = static_cast<double>(hi - lo + 1) * static_cast<double>(std::min(an, bn));
    const long long m = an + bn - 1;
    constexpr bool complexOut = std::is_same_v<Out, C>;
    if (wavrin::FftCheaper(direct, wavrin::FastLength(m), complexOut)) {
        std::vector<Out> full(static_cast<std::size_t>(m));
        bool done;
        if constexpr (complexOut) {
            const std::vector<C> x = Widened(a, an, false), y = Widened(b, bn, true);
            done = wavrin::FftConvCplx(x.data(), an, y.data(), bn, full.data());
        } else {
            std::vector<double> y(b, b + bn);
            std::reverse(y.begin(), y.end());
            done = wavrin::FftConvReal(a, an, y.data(), bn, full.data());
        }
        if (done) {
            for (long long k = lo; k <= hi; ++k) r[k - loLag] = full[k + bn - 1];
            return;
        }
    }
    for (long long k = lo; k <= hi; ++k) r[k - loLag] = CorrAt<A, B, Out>(a, an, b, bn, k);
}

template <class A, class B, class Out>
void CrossCorr(const A* a, int an, const B* b, int bn, Out* dst, int loLag, int hiLag)
{
    wavrin::BeginCall();
    if (an < 0 || bn < 0) return Fail(NSP_StsBadLen);
    if (hiLag < loLag) return Fail(NSP_StsBadArg);
    if (!Ptrs(dst) || ((an > 0 || bn > 0) && !Ptrs(a, b))) return;
    std::vector<Acc<Out>> r(static_cast<std::size_t>(static_cast<long long>(hiLag) - loLag + 1));
    CorrInto(a, an, b, bn, r.data(), loLag, hiLag);
    for (std::size_t i = 0; i < r.size(); ++i) Put(dst, static_cast<long long>(i), r[i]);
}

template <class X>
void AutoCorr(const X* src, int n, X* dst, int lags, int kind)
{
    wavrin::BeginCall();
    if (n < 0) return Fail(NSP_StsBadLen);
    if (!Count(lags) || !Ptrs(src, dst)) return;
    if (kind != NSP_Normal && kind != NSP_Biased && kind != NSP_UnBiased) return Fail(NSP_StsBadArg);
    std::vector<Acc<X>> r(static_cast<std::size_t>(lags));
    CorrInto(src, n, src, n, r.data(), 0, lags - 1);
    for (int k = 0; k < lags && k < n; ++k) {
        if (kind == NSP_Biased) r[k] /= static_cast<double>(n);
        if (kind == NSP_UnBiased) r[k] /= static_cast<double>(n - k);
    }
    for (int k = 0; k < lags; ++k) Put(dst, k, r[k]);
}

// Full 2-D convolution of row-major arrays ((xr + hr − 1) by (xc + hc − 1)). The direct form builds one output
// row at a time from the rows of x and h that meet in it, so the row stays in the cache.
std::vector<double> Conv2D(const double* x, int xc, int xr, const double* h, int hc, int hr)
{
    const long long oc = static_cast<long long>(xc) + hc - 1, orows = static_cast<long long>(xr) + hr - 1;
    std::vector<double> out(static_cast<std::size_t>(oc * orows), 0.0);
    const double direct = static_cast<double>(xc) * xr * static_cast<double>(hc) * hr;
    if (wavrin::FftCheaper(direct, wavrin::FastLength(orows) * wavrin::FastLength(oc), false) &&
        wavrin::FftConv2D(x, xc, xr, h, hc, hr, out.data())) {
        return out;
    }
    for (long long i = 0; i < orows; ++i) {
        double* o = out.data() + i * oc;
        const long long r0 = std::max(0LL, i - xr + 1), r1 = std::min<long long>(hr - 1, i);
        for (long long r = r0; r <= r1; ++r) {
            const double* xp = x + (i - r) * xc;
            const double* hp = h + r * hc;
            for (int s = 0; s < hc; ++s) {
                const double w = hp[s];
                double* os = o + s;
                for (int q = 0; q < xc; ++q) os[q] += xp[q] * w;
            }
        }
    }
    return out;
}

bool Conv2DArgs(const double* x, int xc, int xr, const double* h, int hc, int hr, double* dst)
{
    wavrin::BeginCall();
    if (xc < 0 || xr < 0 || hc < 0 || hr < 0) {
        Fail(NSP_StsBadLen);
        return false;
    }
    if (xc == 0 || xr == 0 || hc == 0 || hr == 0) return false;
    return Ptrs(x, h, dst);
}

// ---- Goertzel -----------------------------------------------------------------------------------------------
// The plain recurrence s[j] = x[j] + 2cos ω·s[j − 1] − s[j − 2] loses the coefficient near ω = 0 and π, where
// s grows like N² while the coefficient does not (N·ε·N relative error). Reinsch's form carries the difference
// d[j] = s[j] − s[j − 1] (cos ω ≥ 0, λ = −4 sin²(ω/2)) or the sum e[j] = s[j] + s[j − 1] (cos ω < 0,
// μ = 4 cos²(ω/2)), whose rounding stays at the size of the coefficient. Each call splits its samples into four
// stretches run side by side (independent recurrences, so the adds do not wait on each other) and adds each
// stretch's coefficient into the state's running sum with the phase of its first sample.

// cos 2πf and sin 2πf with f reduced exactly to [−1/4, 1/4] around 0 or ±1/2, so that frequencies next to 0
// and 1/2 keep their relative accuracy.
void SinCos2Pi(double f, double& c, double& s)
{
    double g = f - std::nearbyint(f);  // exact, in [−1/2, 1/2]
    double sign = 1.0;
    if (g > 0.25) {
        g -= 0.5;
        sign = -1.0;
    } else if (g < -0.25) {
        g += 0.5;
        sign = -1.0;
    }
    c = sign * std::cos(2.0 * PI * g);
    s = sign * std::sin(2.0 * PI * g);
}

// e^(−2πi·f·m) with f·m taken modulo 1 without rounding the product first.
C PhaseOf(double f, double m)
{
    const double p = f * m;
    const double err = std::fma(f, m, -p);  // f·m = p + err exactly
    const double cycles = (p - std::floor(p)) + err;
    double c, s;
    SinCos2Pi(cycles, c, s);
    return {c, -s};
}

struct Reinsch {
    bool low;     // cos ω ≥ 0: the difference form
    double coef;  // λ (low) or μ
    double c, s;  // cos ω, sin ω
};

Reinsch ReinschOf(double f)
{
    Reinsch r;
    SinCos2Pi(f, r.c, r.s);
    double g = f - std::nearbyint(f);
    r.low = std::fabs(g) <= 0.25;
    if (!r.low) g = g > 0 ? g - 0.5 : g + 0.5;
    const double h = std::sin(PI * g);
    r.coef = r.low ? -4.0 * h * h : 4.0 * h * h;
    return r;
}

// Σ x[j]·e^(iω(N − 1 − j)) from the final s = s[N − 1] and t = d[N − 1] or e[N − 1] of a stretch.
C ReinschEnd(const Reinsch& r, double s, double t)
{
    if (r.low) return {-0.5 * r.coef * s + r.c * t, r.s * (s - t)};  // s[N − 2] = s − d
    return {0.5 * r.coef * s - r.c * t, r.s * (t - s)};              // s[N − 2] = e − s
}

constexpr int kLanes = 4;

// The coefficients Σ x[j]·e^(iω(q − 1 − j)) of kLanes stretches of q samples each, stretch b from b·q on,
// the real sequence of Doubles at stride Stride (2 for one part of complex data).
void ReinschLanes(const Reinsch& r, const double* x, long long q, int Stride, C* y)
{
    double s[kLanes] = {}, t[kLanes] = {};
    const double k = r.coef;
    const long long at = q * Stride;
    if (r.low) {
        for (long long i = 0; i < q; ++i)
            for (int b = 0; b < kLanes; ++b) {
                t[b] = t[b] + k * s[b] + x[b * at + i * Stride];
                s[b] = s[b] + t[b];
            }
    } else {
        for (long long i = 0; i < q; ++i)
            for (int b = 0; b < kLanes; ++b) {
                t[b] = x[b * at + i * Stride] + k * s[b] - t[b];
                s[b] = t[b] - s[b];
            }
    }
    for (int b = 0; b < kLanes; ++b) y[b] = ReinschEnd(r, s[b], t[b]);
}

// The coefficient Σ x[j]·e^(−iω·j) of n real samples at stride Stride.
C ReinschCoef(const Reinsch& r, double f, const double* x, long long n, int Stride)
{
    if (n == 0) return {0.0, 0.0};
    const long long q = n / kLanes, rest = n - q * kLanes;
    C total(0.0, 0.0);
    if (q > 0) {
        C y[kLanes];
        ReinschLanes(r, x, q, Stride, y);
        for (int b = 0; b < kLanes; ++b) total += Mul(y[b], PhaseOf(f, static_cast<double>(b * q + q - 1)));
    }
    if (rest > 0) {
        double s = 0.0, t = 0.0;
        for (long long i = kLanes * q; i < n; ++i) {
            const double v = x[i * Stride];
            if (r.low) {
                t = t + r.coef * s + v;
                s = s + t;
            } else {
                t = v + r.coef * s - t;
                s = t - s;
            }
        }
        total += Mul(ReinschEnd(r, s, t), PhaseOf(f, static_cast<double>(n - 1)));
    }
    return total;
}

void GoertzInit(double freq, NSPDGoertzState* st)
{
    wavrin::BeginCall();
    if (!Ptrs(st)) return;
    if (!std::isfinite(freq)) return Fail(NSP_StsBadArg);
    double c, s;
    SinCos2Pi(freq, c, s);
    *st = NSPDGoertzState{freq, c, s, 0, 0, 0, 0, 0};
}

void GoertzReset(NSPDGoertzState* st)
{
    wavrin::BeginCall();
    if (!Ptrs(st)) return;
    st->sumRe = st->sumIm = st->count = 0.0;
}

template <class X>
TCplx Goertz(NSPDGoertzState* st, const X* src, int n)
{
    if (!Ptrs(st)) return {NAN, NAN};
    if (n < 0) {
        Fail(NSP_StsBadLen);
        return {NAN, NAN};
    }
    if (n > 0 && !Ptrs(src)) return {NAN, NAN};
    const Reinsch r = ReinschOf(st->freq);
    C y;
    if constexpr (std::is_same_v<X, double>) {
        y = ReinschCoef(r, st->freq, src, n, 1);
    } else {
        const C re = ReinschCoef(r, st->freq, &src->Re, n, 2), im = ReinschCoef(r, st->freq, &src->Im, n, 2);
        y = re + C(-im.imag(), im.real());
    }
    // The samples of this call start at sample `count` of the sequence since the reset.
    const C sum = C(st->sumRe, st->sumIm) + Mul(y, PhaseOf(st->freq, st->count));
    st->sumRe = sum.real();
    st->sumIm = sum.imag();
    st->count += n;
    return T(sum);
}

// ---- IIR ------------------------------------------------------------------------------------------------------

// Direct form II transposed with the taps divided by a0, as scipy.signal.lfilter.
struct Iir {
    bool complexTaps;
    std::vector<C> b, a;  // normalised taps, order + 1 each
    std::vector<double> br, ar;
    std::vector<double> zr;  // memory for real data
    std::vector<C> zc;       // memory for complex data
};

template <class Tap>
void IirInit(int tapsType, const Tap* taps, int order, NSPIirState* state)
{
    wavrin::BeginCall();
    if (!Ptrs(state)) return;
    state->impl = nullptr;
    if (order < 0) return Fail(NSP_StsBadLen);
    if (!Ptrs(taps)) return;
    if (tapsType != NSP_IirDefault) return Fail(NSP_StsBadArg);
    const C a0 = C(Get(taps, order + 1));
    if (a0 == C(0.0, 0.0)) return Fail(NSP_StsDivByZero);
    Iir* f = new (std::nothrow) Iir;
    if (!f) return Fail(NSP_StsNoMem);
    f->complexTaps = std::is_same_v<Tap, TCplx>;
    for (int i = 0; i <= order; ++i) {
        f->b.push_back(C(Get(taps, i)) / a0);
        f->a.push_back(C(Get(taps, order + 1 + i)) / a0);
        if constexpr (std::is_same_v<Tap, double>) {
            f->br.push_back(taps[i] / taps[order + 1]);
            f->ar.push_back(taps[order + 1 + i] / taps[order + 1]);
        }
    }
    f->zr.assign(static_cast<std::size_t>(order), 0.0);
    f->zc.assign(static_cast<std::size_t>(order), C(0.0, 0.0));
    state->impl = f;
}

template <class V, class Tap>
void IirRun(const std::vector<Tap>& b, const std::vector<Tap>& a, std::vector<V>& z, const V* x, V* y, int n)
{
    const std::size_t m = z.size();
    for (int i = 0; i < n; ++i) {
        const V xi = x[i];
        const V yi = b[0] * xi + (m ? z[0] : V{});
        for (std::size_t k = 0; k + 1 < m; ++k) z[k] = b[k + 1] * xi + z[k + 1] - a[k + 1] * yi;
        if (m) z[m - 1] = b[m] * xi - a[m] * yi;
        y[i] = yi;
    }
}

Iir* IirOf(NSPIirState* state, int n, const void* src, const void* dst)
{
    if (!Ptrs(state)) return nullptr;
    if (!state->impl) {
        Fail(NSP_StsBadState);
        return nullptr;
    }
    if (!Count(n) || !Ptrs(src, dst)) return nullptr;
    return static_cast<Iir*>(state->impl);
}

// ---- Resampling -----------------------------------------------------------------------------------------------

bool ResampleArgs(int srcLen, const void* src, const void* dst, const int* dstLen, int factor, const int* phase)
{
    wavrin::BeginCall();
    if (!Ptrs(dstLen, phase)) return false;
    if (srcLen < 0 || *dstLen < 0) {
        Fail(NSP_StsBadLen);
        return false;
    }
    if (factor < 1 || *phase < 0 || *phase >= factor) {
        Fail(NSP_StsBadArg);
        return false;
    }
    return srcLen == 0 || Ptrs(src, dst);
}

template <class X>
void UpSample(const X* src, int srcLen, X* dst, int* dstLen, int factor, int* phase)
{
    if (!ResampleArgs(srcLen, src, dst, dstLen, factor, phase)) return;
    const long long total = std::min<long long>(static_cast<long long>(srcLen) * factor, *dstLen);
    std::vector<X> copy;
    if (srcLen > 0 && static_cast<const void*>(src) != nullptr) {
        const char* s = reinterpret_cast<const char*>(src);
        const char* d = reinterpret_cast<const char*>(dst);
        if (s < d + total * static_cast<long long>(sizeof(X)) && d < s + srcLen * static_cast<long long>(sizeof(X))) {
            copy.assign(src, src + srcLen);
            src = copy.data();
        }
    }
    for (long long i = 0; i < total; ++i) dst[i] = X{};
    for (long long j = 0; j < srcLen; ++j) {
        const long long at = j * factor + *phase;
        if (at < total) dst[at] = src[j];
    }
    *dstLen = static_cast<int>(total);
}

template <class X>
void DownSample(const X* src, int srcLen, X* dst, int* dstLen, int factor, int* phase)
{
    if (!ResampleArgs(srcLen, src, dst, dstLen, factor, phase)) return;
    const int p = *phase;
    const long long avail = srcLen > p ? (static_cast<long long>(srcLen) - p + factor - 1) / factor : 0;
    const long long count = std::min<long long>(avail, *dstLen);
    // Forward, element by element through memmove: with dst at or before src, element k is read from index
    // p + k·factor ≥ k before anything at or after it is written (an element may still share bytes with the one it
    // is read from). A destination after the start of the source would overwrite unread elements: it takes a copy.
    std::vector<X> copy;
    const char* s = reinterpret_cast<const char*>(src);
    const char* d = reinterpret_cast<const char*>(dst);
    if (count > 0 && d > s && d < s + static_cast<long long>(srcLen) * static_cast<long long>(sizeof(X))) {
        copy.assign(src, src + srcLen);
        src = copy.data();
    }
    for (long long k = 0; k < count; ++k) std::memmove(&dst[k], &src[p + k * factor], sizeof(X));
    *dstLen = static_cast<int>(count);
    // The phase that continues the sequence: the offset of the next wanted sample in the following block.
    const long long next = p + avail * factor - srcLen;
    *phase = static_cast<int>(((next % factor) + factor) % factor);
}

}  // namespace

extern "C" {

void nspdConv(const double* x, int xn, const double* h, int hn, double* dst)
{
    Convolve(x, xn, h, hn, dst);
}
void nspzConv(const TCplx* x, int xn, const TCplx* h, int hn, TCplx* dst)
{
    Convolve(x, xn, h, hn, dst);
}
void nspzdConv(const TCplx* x, int xn, const double* h, int hn, TCplx* dst)
{
    Convolve(x, xn, h, hn, dst);
}
void nspdzConv(const double* x, int xn, const TCplx* h, int hn, TCplx* dst)
{
    Convolve(x, xn, h, hn, dst);
}

void nspdAutoCorr(const double* src, int n, double* dst, int lags, int kind)
{
    AutoCorr(src, n, dst, lags, kind);
}
void nspzAutoCorr(const TCplx* src, int n, TCplx* dst, int lags, int kind)
{
    AutoCorr(src, n, dst, lags, kind);
}

void nspdCrossCorr(const double* a, int an, const double* b, int bn, double* dst, int loLag, int hiLag)
{
    CrossCorr(a, an, b, bn, dst, loLag, hiLag);
}
void nspzCrossCorr(const TCplx* a, int an, const TCplx* b, int bn, TCplx* dst, int loLag, int hiLag)
{
    CrossCorr(a, an, b, bn, dst, loLag, hiLag);
}
void nspzdCrossCorr(const TCplx* a, int an, const double* b, int bn, TCplx* dst, int loLag, int hiLag)
{
    CrossCorr(a, an, b, bn, dst, loLag, hiLag);
}
void nspdzCrossCorr(const double* a, int an, const TCplx* b, int bn, TCplx* dst, int loLag, int hiLag)
{
    CrossCorr(a, an, b, bn, dst, loLag, hiLag);
}

void nspdConv2D(const double* x, int xCols, int xRows, const double* h, int hCols, int hRows, double* dst)
{
    if (!Conv2DArgs(x, xCols, xRows, h, hCols, hRows, dst)) return;
    const std::vector<double> full = Conv2D(x, xCols, xRows, h, hCols, hRows);
    std::memcpy(dst, full.data(), full.size() * sizeof(double));
}

void nspdFilter2D(const double* x, int xCols, int xRows, const double* h, int hCols, int hRows, double* dst)
{
    if (!Conv2DArgs(x, xCols, xRows, h, hCols, hRows, dst)) return;
    const std::vector<double> full = Conv2D(x, xCols, xRows, h, hCols, hRows);
    const long long oc = static_cast<long long>(xCols) + hCols - 1;
    const int r0 = (hRows - 1) / 2, c0 = (hCols - 1) / 2;
    for (int i = 0; i < xRows; ++i)
        std::memcpy(dst + static_cast<long long>(i) * xCols, full.data() + (i + r0) * oc + c0, xCols * sizeof(double));
}

void nspdGoertzInit(double freq, NSPDGoertzState* state)
{
    GoertzInit(freq, state);
}
void nspzGoertzInit(double freq, NSPZGoertzState* state)
{
    GoertzInit(freq, state);
}
void nspdGoertzReset(NSPDGoertzState* state)
{
    GoertzReset(state);
}
void nspzGoertzReset(NSPZGoertzState* state)
{
    GoertzReset(state);
}
TCplx nspdbGoertz(NSPDGoertzState* state, const double* src, int n)
{
    wavrin::BeginCall();
    return Goertz(state, src, n);
}
TCplx nspzbGoertz(NSPZGoertzState* state, const TCplx* src, int n)
{
    wavrin::BeginCall();
    return Goertz(state, src, n);
}

void nspdIirInit(int tapsType, const double* taps, int order, NSPIirState* state)
{
    IirInit(tapsType, taps, order, state);
}
void nspzIirInit(int tapsType, const TCplx* taps, int order, NSPIirState* state)
{
    IirInit(tapsType, taps, order, state);
}

void nspdbIir(NSPIirState* state, const double* src, double* dst, int n)
{
    wavrin::BeginCall();
    Iir* f = IirOf(state, n, src, dst);
    if (!f) return;
    if (f->complexTaps) return Fail(NSP_StsBadArg);
    IirRun(f->br, f->ar, f->zr, src, dst, n);
}

void nspdzbIir(NSPIirState* state, const TCplx* src, TCplx* dst, int n)
{
    wavrin::BeginCall();
    Iir* f = IirOf(state, n, src, dst);
    if (!f) return;
    if (f->complexTaps) return Fail(NSP_StsBadArg);
    IirRun(f->br, f->ar, f->zc, reinterpret_cast<const C*>(src), reinterpret_cast<C*>(dst), n);
}

void nspzbIir(NSPIirState* state, const TCplx* src, TCplx* dst, int n)
{
    wavrin::BeginCall();
    Iir* f = IirOf(state, n, src, dst);
    if (!f) return;
    if (!f->complexTaps) return Fail(NSP_StsBadArg);
    IirRun(f->b, f->a, f->zc, reinterpret_cast<const C*>(src), reinterpret_cast<C*>(dst), n);
}

void nspIirFree(NSPIirState* state)
{
    wavrin::BeginCall();
    if (!Ptrs(state)) return;
    delete static_cast<Iir*>(state->impl);
    state->impl = nullptr;
}

void nspdUpSample(const double* src, int srcLen, double* dst, int* dstLen, int factor, int* phase)
{
    UpSample(src, srcLen, dst, dstLen, factor, phase);
}
void nspzUpSample(const TCplx* src, int srcLen, TCplx* dst, int* dstLen, int factor, int* phase)
{
    UpSample(src, srcLen, dst, dstLen, factor, phase);
}
void nspdDownSample(const double* src, int srcLen, double* dst, int* dstLen, int factor, int* phase)
{
    DownSample(src, srcLen, dst, dstLen, factor, phase);
}
void nspzDownSample(const TCplx* src, int srcLen, TCplx* dst, int* dstLen, int factor, int* phase)
{
    DownSample(src, srcLen, dst, dstLen, factor, phase);
}

}  // extern "C"

}  // namespace tarnel

// Convolution, correlation, 2-D filtering, the Goertzel filter, IIR filters and resampling.
#include <cmath>
#include <complex>
#include <cstring>
#include <new>
#include <vector>

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

template <class Out>
using Acc = std::conditional_t<std::is_same_v<Out, double>, double, C>;

// Full linear convolution, h outermost so that the inner loop runs over contiguous x. The result is built in
// a buffer, so dst may overlap the operands.
template <class X, class H, class Out>
void Convolve(const X* x, int xn, const H* h, int hn, Out* dst)
{
    if (!Count(xn) || !Count(hn) || !Ptrs(x, h, dst)) return;
    const long long m = static_cast<long long>(xn) + hn - 1;
    std::vector<Acc<Out>> acc(static_cast<std::size_t>(m));
    for (int k = 0; k < hn; ++k) {
        const auto hk = Get(h, k);
        Acc<Out>* a = acc.data() + k;
        for (int j = 0; j < xn; ++j) a[j] += Get(x, j) * hk;
    }
    for (long long i = 0; i < m; ++i) Put(dst, i, acc[i]);
}

// Σ_j a[j + k]·conj(b[j]) over the j where both exist.
template <class A, class B, class Out>
Acc<Out> CorrAt(const A* a, int an, const B* b, int bn, long long k)
{
    Acc<Out> s{};
    const long long j0 = k < 0 ? -k : 0;
    const long long j1 = std::min<long long>(bn, static_cast<long long>(an) - k);
    for (long long j = j0; j < j1; ++j) s += Get(a, j + k) * Conj(Get(b, j));
    return s;
}

template <class A, class B, class Out>
void CrossCorr(const A* a, int an, const B* b, int bn, Out* dst, int loLag, int hiLag)
{
    wavrin::BeginCall();
    if (an < 0 || bn < 0) return Fail(NSP_StsBadLen);
    if (hiLag < loLag) return Fail(NSP_StsBadArg);
    if (!Ptrs(dst) || ((an > 0 || bn > 0) && !Ptrs(a, b))) return;
    std::vector<Acc<Out>> r(static_cast<std::size_t>(static_cast<long long>(hiLag) - loLag + 1));
    for (long long k = loLag; k <= hiLag; ++k)
        r[k - loLag] = (an > 0 && bn > 0) ? CorrAt<A, B, Out>(a, an, b, bn, k) : Acc<Out>{};
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
    for (int k = 0; k < lags && k < n; ++k) {
        const auto s = CorrAt<X, X, X>(src, n, src, n, k);
        r[k] = kind == NSP_Normal   ? s
               : kind == NSP_Biased ? s / static_cast<double>(n)
                                    : s / static_cast<double>(n - k);
    }
    for (int k = 0; k < lags; ++k) Put(dst, k, r[k]);
}

// Full 2-D convolution of row-major arrays into out ((xr + hr − 1) by (xc + hc − 1)).
std::vector<double> Conv2D(const double* x, int xc, int xr, const double* h, int hc, int hr)
{
    const long long oc = static_cast<long long>(xc) + hc - 1, orows = static_cast<long long>(xr) + hr - 1;
    std::vector<double> out(static_cast<std::size_t>(oc * orows), 0.0);
    for (int r = 0; r < hr; ++r)
        for (int s = 0; s < hc; ++s) {
            const double w = h[static_cast<long long>(r) * hc + s];
            for (int p = 0; p < xr; ++p) {
                double* o = out.data() + (p + r) * oc + s;
                const double* xp = x + static_cast<long long>(p) * xc;
                for (int q = 0; q < xc; ++q) o[q] += xp[q] * w;
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

void GoertzInit(double freq, NSPDGoertzState* st)
{
    wavrin::BeginCall();
    if (!Ptrs(st)) return;
    if (!std::isfinite(freq)) return Fail(NSP_StsBadArg);
    const double w = 2.0 * PI * freq;
    *st = NSPDGoertzState{freq, std::cos(w), std::sin(w), 0, 0, 0, 0, 0};
}

void GoertzReset(NSPDGoertzState* st)
{
    wavrin::BeginCall();
    if (!Ptrs(st)) return;
    st->s1Re = st->s2Re = st->s1Im = st->s2Im = st->count = 0.0;
}

// s[j] = x[j] + 2cos ω·s[j − 1] − s[j − 2] is the filter 1/(1 − e^(iω)z⁻¹) run on the real and imaginary
// parts separately; after N samples s[N − 1] − e^(−iω)·s[N − 2] = Σ x[j]·e^(iω(N − 1 − j)), and the factor
// e^(−iω(N − 1)) turns that into the coefficient with j counted from the reset.
TCplx GoertzResult(const NSPDGoertzState& st)
{
    if (st.count == 0.0) return {0.0, 0.0};
    const C s1(st.s1Re, st.s1Im), s2(st.s2Re, st.s2Im);
    const C y = s1 - C(st.cosW, -st.sinW) * s2;
    double cycles = st.freq * (st.count - 1.0);
    cycles -= std::floor(cycles);
    const double a = -2.0 * PI * cycles;
    return T(y * C(std::cos(a), std::sin(a)));
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
    const double c2 = 2.0 * st->cosW;
    double s1r = st->s1Re, s2r = st->s2Re, s1i = st->s1Im, s2i = st->s2Im;
    for (int j = 0; j < n; ++j) {
        const C x = C(Get(src, j));
        const double r = x.real() + c2 * s1r - s2r;
        const double m = x.imag() + c2 * s1i - s2i;
        s2r = s1r, s1r = r, s2i = s1i, s1i = m;
    }
    st->s1Re = s1r, st->s2Re = s2r, st->s1Im = s1i, st->s2Im = s2i;
    st->count += n;
    return GoertzResult(*st);
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

// Fuzz target "signal": the signal library's routines and the vector maths called with fuzzer-made counts, values
// and options, each once on distinct arrays and once in place (the destination in the source's own storage, from
// its first byte, as the layer allows); the two results and the statuses must agree.
#include <algorithm>
#include <functional>
#include <type_traits>
#include <vector>

#include "FuzzInput.h"
#include "core/Nmkl.h"
#include "core/Raroz.h"

using namespace tarnel;
using fuzz::Finding;
using fuzz::Same;
using fuzz::TInput;

namespace {

constexpr int kSmall = 40;

// A count: mostly small, now and then one that threads share (2^16 and more) or one the routine must refuse.
int Count(TInput& In)
{
    const std::uint8_t b = In.Byte();
    if (b == 255) return 65536 + In.Range(0, 300);
    if (b == 254) return In.Range(-3, -1);
    return b % (kSmall + 1);
}

template <class T>
std::vector<T> Fill(TInput& In, int N)
{
    // Large arrays repeat a short pattern, so that their inputs stay small.
    const int own = std::clamp(N, 0, 64);
    std::vector<T> v(static_cast<std::size_t>(std::max(N, 0)));
    for (int i = 0; i < own; ++i) {
        if constexpr (std::is_same_v<T, TCplx>) {
            const double re = In.Value();
            v[i] = {re, In.Value()};
        } else {
            v[i] = In.Value();
        }
    }
    for (std::size_t i = static_cast<std::size_t>(own); i < v.size(); ++i) v[i] = v[i % static_cast<std::size_t>(own)];
    return v;
}

bool SameElement(double A, double B)
{
    return Same(A, B);
}
bool SameElement(const TCplx& A, const TCplx& B)
{
    return Same(A.Re, B.Re) && Same(A.Im, B.Im);
}

template <class T>
void Expect(const char* Name, const T* Got, const T* Want, int N, int GotStatus, int WantStatus)
{
    if (GotStatus != WantStatus) Finding(Name, "in place gives another status");
    if (WantStatus != NSP_StsOk) return;  // a refused call writes nothing, whatever the destination held
    for (int i = 0; i < N; ++i)
        if (!SameElement(Got[i], Want[i])) Finding(Name, "in place differs from distinct arrays");
}

// Bytes for N elements of the larger of two element types, as TCplx for their alignment.
std::vector<TCplx> Storage(std::size_t Bytes)
{
    return std::vector<TCplx>(Bytes / sizeof(TCplx) + 2);
}

// dst := f(src) (or dst ∘= src where both are of one type): distinct arrays, then dst in src's storage.
template <class S, class D>
void Unary(TInput& In, const char* Name, const std::function<void(const S*, D*, int)>& F)
{
    const int n = Count(In);
    const std::vector<S> src = Fill<S>(In, n);
    const std::size_t m = src.size();
    std::vector<S> a = src;
    std::vector<D> want(m + 1);
    if constexpr (std::is_same_v<S, D>) std::copy(src.begin(), src.end(), want.begin());
    nspSetErrStatus(0);
    F(a.data(), want.data(), n);
    const int wantStatus = nspGetErrStatus();

    std::vector<TCplx> store = Storage(std::max(sizeof(S), sizeof(D)) * (m + 1));
    if (m > 0) std::memcpy(store.data(), src.data(), m * sizeof(S));
    nspSetErrStatus(0);
    F(reinterpret_cast<const S*>(store.data()), reinterpret_cast<D*>(store.data()), n);
    Expect(Name, reinterpret_cast<const D*>(store.data()), want.data(), static_cast<int>(m), nspGetErrStatus(),
           wantStatus);
}

// dst := a ∘ b: distinct arrays, then dst on a, on b, and on both.
template <class T>
void Binary(TInput& In, const char* Name, const std::function<void(const T*, const T*, T*, int)>& F)
{
    const int n = Count(In);
    const std::vector<T> a = Fill<T>(In, n), b = Fill<T>(In, n);
    const std::size_t m = a.size();
    const int way = In.Byte() % 3;
    std::vector<T> want(m + 1), x = a, y = way == 2 ? a : b;
    nspSetErrStatus(0);
    F(x.data(), y.data(), want.data(), n);
    const int wantStatus = nspGetErrStatus();
    std::vector<T> p = a, q = way == 2 ? a : b;
    nspSetErrStatus(0);
    T* dst = way == 1 ? q.data() : p.data();
    F(p.data(), way == 2 ? p.data() : q.data(), dst, n);
    Expect(Name, dst, want.data(), static_cast<int>(m), nspGetErrStatus(), wantStatus);
}

// The FFTs: in place and on distinct arrays the plans differ, so the results agree to rounding only.
void NearlyExpect(const char* Name, const double* Got, const double* Want, std::size_t N, int GotStatus, int WantStatus)
{
    if (GotStatus != WantStatus) Finding(Name, "in place gives another status");
    if (WantStatus != NSP_StsOk) return;
    double scale = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (!std::isfinite(Want[i])) return;  // non-finite inputs spread differently through other plans
        scale = std::max(scale, std::fabs(Want[i]));
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (!(std::fabs(Got[i] - Want[i]) <= 1e-9 * (scale + 1e-300) * static_cast<double>(N))) {
            if (std::getenv("FUZZ_DEBUG"))
                std::fprintf(stderr, "%s: %zu of %zu: %.17g, distinct %.17g\n", Name, i, N, Got[i], Want[i]);
            Finding(Name, "in place differs from distinct arrays");
        }
    }
}

int Flags(TInput& In)
{
    static constexpr int kFlags[] = {NSP_Forw, NSP_Inv, NSP_Forw | NSP_NoScale, NSP_Inv | NSP_NoScale, 0, 3};
    return kFlags[In.Byte() % 6];
}

// src of SrcDoubles, dst of DstDoubles, dst in src's storage or apart.
void Transform(TInput& In, const char* Name, std::size_t SrcDoubles, std::size_t DstDoubles,
               const std::function<void(const double*, double*)>& F)
{
    const std::vector<double> src = Fill<double>(In, static_cast<int>(SrcDoubles));
    std::vector<double> a = src, want(DstDoubles + 2);
    nspSetErrStatus(0);
    F(a.data(), want.data());
    const int wantStatus = nspGetErrStatus();
    std::vector<double> store(std::max(SrcDoubles, DstDoubles) + 2);
    std::copy(src.begin(), src.end(), store.begin());
    nspSetErrStatus(0);
    F(store.data(), store.data());
    NearlyExpect(Name, store.data(), want.data(), DstDoubles, nspGetErrStatus(), wantStatus);
}

// Resampling: dst on src's first byte, and for complex data half an element after and before it.
template <class X>
void Resample(TInput& In, const char* Name, bool Up, int Shift, void (*F)(const X*, int, X*, int*, int, int*))
{
    const int n = Count(In) % 300;
    const int factor = In.Range(-1, 5);
    const int phase0 = In.Range(-1, 5);
    const int room = In.Range(-2, 3 * kSmall);
    const std::vector<X> src = Fill<X>(In, n);
    const std::size_t m = src.size();
    const std::size_t out = std::max<std::size_t>(static_cast<std::size_t>(std::max(room, 0)), m) + 4;
    std::vector<X> a = src, want(out);
    int wantLen = room, wantPhase = phase0;
    nspSetErrStatus(0);
    F(a.data(), n, want.data(), &wantLen, factor, &wantPhase);
    const int wantStatus = nspGetErrStatus();
    if (Up) {
        // Up-sampling writes factor elements per source element: in place is the source's storage grown for it.
        std::vector<X> store(out + m * 6 + 4);
        std::copy(src.begin(), src.end(), store.begin());
        int len = room, phase = phase0;
        nspSetErrStatus(0);
        F(store.data(), n, store.data(), &len, factor, &phase);
        if (len != wantLen || phase != wantPhase) Finding(Name, "in place gives another length or phase");
        Expect(Name, store.data(), want.data(), std::max(len, 0), nspGetErrStatus(), wantStatus);
        return;
    }
    std::vector<double> store((out + m + 4) * sizeof(X) / sizeof(double) + 4);
    double* srcAt = store.data() + 2;
    if (m > 0) std::memcpy(srcAt, src.data(), m * sizeof(X));
    X* dst = reinterpret_cast<X*>(srcAt + Shift);
    int len = room, phase = phase0;
    nspSetErrStatus(0);
    F(reinterpret_cast<const X*>(srcAt), n, dst, &len, factor, &phase);
    if (len != wantLen || phase != wantPhase) Finding(Name, "in place gives another length or phase");
    Expect(Name, dst, want.data(), std::max(len, 0), nspGetErrStatus(), wantStatus);
}

template <void (*V)(const int*, const double*, double*)>
void Vml(const double* a, double* y, int n)
{
    V(&n, a, y);
}
template <void (*V)(const int*, const double*, const double*, double*)>
void Vml2(const double* a, const double* b, double* y, int n)
{
    V(&n, a, b, y);
}

using DD = std::function<void(const double*, double*, int)>;
using ZZ = std::function<void(const TCplx*, TCplx*, int)>;
using ZD = std::function<void(const TCplx*, double*, int)>;

void Run(TInput& In)
{
    const std::uint8_t which = In.Byte();
    const double level = In.Value();
    const int relation = In.Range(-1, 2);
    const double factor = In.Value();
    const TCplx offset{In.Value(), In.Value()};
    const int bits = (In.Byte() % 5) * 8;
    const int cflags = In.Range(0, 0x1FFF) & (NSP_Round | NSP_TruncZero | NSP_TruncNeg | NSP_Unsigned | NSP_Clip | 1);
    switch (which % 64) {
        // clang-format off
        case 0: return Unary<double, double>(In, "nspdbAdd2", DD(nspdbAdd2));
        case 1: return Unary<double, double>(In, "nspdbSub2", DD(nspdbSub2));
        case 2: return Unary<double, double>(In, "nspdbMpy2", DD(nspdbMpy2));
        case 3: return Unary<double, double>(In, "nspdbInvThresh2", DD([&](const double* s, double* d, int n) { nspdbInvThresh2(s, d, n, level); }));
        case 4: return Unary<double, double>(In, "nspdbThresh2", DD([&](const double* s, double* d, int n) { nspdbThresh2(s, d, n, level, relation); }));
        case 5: return Unary<double, double>(In, "nspdbAbs2", DD(nspdbAbs2));
        case 6: return Unary<double, double>(In, "nspdbSqr2", DD(nspdbSqr2));
        case 7: return Unary<double, double>(In, "nspdbSqrt2", DD(nspdbSqrt2));
        case 8: return Unary<double, double>(In, "nspdbCopy", DD(nspdbCopy));
        case 9: return Unary<double, double>(In, "nspdbNormalize", DD([&](const double* s, double* d, int n) { nspdbNormalize(s, d, n, level, factor); }));
        case 10: return Unary<TCplx, TCplx>(In, "nspzbAdd2", ZZ(nspzbAdd2));
        case 11: return Unary<TCplx, TCplx>(In, "nspzbSub2", ZZ(nspzbSub2));
        case 12: return Unary<TCplx, TCplx>(In, "nspzbMpy2", ZZ(nspzbMpy2));
        case 13: return Unary<TCplx, TCplx>(In, "nspzbInvThresh2", ZZ([&](const TCplx* s, TCplx* d, int n) { nspzbInvThresh2(s, d, n, level); }));
        case 14: return Unary<TCplx, TCplx>(In, "nspzbThresh2", ZZ([&](const TCplx* s, TCplx* d, int n) { nspzbThresh2(s, d, n, level, relation); }));
        case 15: return Unary<TCplx, TCplx>(In, "nspzbSqr2", ZZ(nspzbSqr2));
        case 16: return Unary<TCplx, TCplx>(In, "nspzbSqrt2", ZZ(nspzbSqrt2));
        case 17: return Unary<TCplx, TCplx>(In, "nspzbCopy", ZZ(nspzbCopy));
        case 18: return Unary<TCplx, TCplx>(In, "nspzbConj2", ZZ(nspzbConj2));
        case 19: return Unary<TCplx, TCplx>(In, "nspzbNormalize", ZZ([&](const TCplx* s, TCplx* d, int n) { nspzbNormalize(s, d, n, offset, factor); }));
        case 20: return Unary<TCplx, double>(In, "nspzbReal", ZD(nspzbReal));
        case 21: return Unary<TCplx, double>(In, "nspzbImag", ZD(nspzbImag));
        case 22: return Unary<TCplx, double>(In, "nspzbMag", ZD(nspzbMag));
        case 23: return Unary<TCplx, double>(In, "nspzbPhase", ZD(nspzbPhase));
        case 24: return Unary<TCplx, double>(In, "nspzbPowerSpectr", ZD(nspzbPowerSpectr));
        case 25: return Binary<double>(In, "nspdbAdd3", nspdbAdd3);
        case 26: return Binary<double>(In, "nspdbSub3", nspdbSub3);
        case 27: return Binary<double>(In, "nspdbMpy3", nspdbMpy3);
        case 28: return Binary<TCplx>(In, "nspzbAdd3", nspzbAdd3);
        case 29: return Binary<TCplx>(In, "nspzbSub3", nspzbSub3);
        case 30: return Binary<TCplx>(In, "nspzbMpy3", nspzbMpy3);
        case 31: return Binary<double>(In, "VDDIV", Vml2<VDDIV>);
        case 32: return Binary<double>(In, "VDPOW", Vml2<VDPOW>);
        case 33: return Unary<double, double>(In, "VDEXP", DD(Vml<VDEXP>));
        case 34: return Unary<double, double>(In, "VDLN", DD(Vml<VDLN>));
        case 35: return Unary<double, double>(In, "VDLOG10", DD(Vml<VDLOG10>));
        case 36: return Unary<double, double>(In, "VDSQRT", DD(Vml<VDSQRT>));
        case 37: return Unary<double, double>(In, "VDINVSQRT", DD(Vml<VDINVSQRT>));
        case 38: return Unary<double, double>(In, "VDCBRT", DD(Vml<VDCBRT>));
        case 39: return Unary<double, double>(In, "VDINVCBRT", DD(Vml<VDINVCBRT>));
        case 40: return Unary<double, double>(In, "VDINV", DD(Vml<VDINV>));
        case 41: return Unary<double, double>(In, "VDSIN", DD(Vml<VDSIN>));
        case 42: return Unary<double, double>(In, "VDCOS", DD(Vml<VDCOS>));
        case 43: return Unary<double, double>(In, "VDTAN", DD(Vml<VDTAN>));
        case 44: return Unary<double, double>(In, "VDASIN", DD(Vml<VDASIN>));
        case 45: return Unary<double, double>(In, "VDACOS", DD(Vml<VDACOS>));
        case 46: return Unary<double, double>(In, "VDATAN", DD(Vml<VDATAN>));
        case 47: return Unary<double, double>(In, "VDSINH", DD(Vml<VDSINH>));
        case 48: return Unary<double, double>(In, "VDCOSH", DD(Vml<VDCOSH>));
        case 49: return Unary<double, double>(In, "VDTANH", DD(Vml<VDTANH>));
        case 50: return Unary<double, double>(In, "VDSINCOS sine on a", DD([](const double* a, double* s, int n) { std::vector<double> c(std::max(n, 0) + 1); VDSINCOS(&n, a, s, c.data()); }));
        case 51: return Unary<double, double>(In, "VDSINCOS cosine on a", DD([](const double* a, double* c, int n) { std::vector<double> s(std::max(n, 0) + 1); VDSINCOS(&n, a, s.data(), c); }));
        case 52: return Unary<TCplx, double>(In, "nspzbCartToPolar magnitude on src", ZD([](const TCplx* z, double* m, int n) { std::vector<double> p(std::max(n, 0) + 1); nspzbCartToPolar(z, m, p.data(), n); }));
        case 53: return Unary<TCplx, double>(In, "nspzbCplxTo2Real re on src", ZD([](const TCplx* z, double* r, int n) { std::vector<double> i(std::max(n, 0) + 1); nspzbCplxTo2Real(z, r, i.data(), n); }));
        case 54: {
            // The widening routines with their first source in the destination's storage.
            const int n = Count(In);
            const std::vector<double> a = Fill<double>(In, n), b = Fill<double>(In, n);
            const bool polar = In.Bit();
            const auto f = polar ? nspzbPolarToCart : nspzb2RealToCplx;
            std::vector<TCplx> want(a.size() + 1);
            nspSetErrStatus(0);
            f(a.data(), b.data(), want.data(), n);
            const int wantStatus = nspGetErrStatus();
            std::vector<TCplx> store(a.size() + 1);
            if (!a.empty()) std::memcpy(store.data(), a.data(), a.size() * sizeof(double));
            nspSetErrStatus(0);
            f(&store[0].Re, b.data(), store.data(), n);
            return Expect(polar ? "nspzbPolarToCart" : "nspzb2RealToCplx", store.data(), want.data(),
                          static_cast<int>(a.size()), nspGetErrStatus(), wantStatus);
        }
        case 55: return Resample<double>(In, "nspdDownSample", false, 0, nspdDownSample);
        case 56: return Resample<TCplx>(In, "nspzDownSample", false, In.Range(-1, 1), nspzDownSample);
        case 57: return Resample<double>(In, "nspdUpSample", true, 0, nspdUpSample);
        case 58: return Resample<TCplx>(In, "nspzUpSample", true, 0, nspzUpSample);
        case 59: {
            const int order = In.Range(-1, 11), flags = Flags(In);
            const std::size_t n = order >= 0 ? std::size_t{1} << order : 1;
            return Transform(In, "nspzFftNip", 2 * n, 2 * n, [&](const double* s, double* d) { nspzFftNip(reinterpret_cast<const TCplx*>(s), reinterpret_cast<TCplx*>(d), order, flags); });
        }
        case 60: {
            const int order = In.Range(-1, 11), flags = Flags(In);
            const std::size_t n = order >= 0 ? std::size_t{1} << order : 1;
            return Transform(In, "nspdRealFftNip", n, n + 2, [&](const double* s, double* d) { nspdRealFftNip(s, reinterpret_cast<TCplx*>(d), order, flags); });
        }
        case 61: {
            const int order = In.Range(-1, 11), flags = Flags(In);
            const std::size_t n = order >= 0 ? std::size_t{1} << order : 1;
            return Transform(In, "nspdCcsFftNip", n + 2, n, [&](const double* s, double* d) { nspdCcsFftNip(reinterpret_cast<const TCplx*>(s), d, order, flags); });
        }
        case 62: return Unary<double, double>(In, "nspdbFloatToInt", DD([&](const double* s, double* d, int n) { nspdbFloatToInt(s, d, n, bits, cflags); }));
        case 63: return Unary<double, double>(In, "nspdbIntToFloat", DD([&](const double* s, double* d, int n) { nspdbIntToFloat(s, d, n, bits, cflags & NSP_Unsigned); }));
            // clang-format on
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    nspSetErrMode(NSP_ErrModeLeaf);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TInput in(Data, Size);
    while (!in.Empty()) Run(in);
    return 0;
}

// Exponentials, logarithms and powers of vectors, and the complex logarithm, exponential and power of arrays that
// other families share.
//
// Complex data are computed from real pieces (magnitudes and phases from nspzbCartToPolar, VDLN, VDEXP and
// VDSINCOS) chunk by chunk, so that the pieces stay in the cache; real data go to the vector-math routines. Every
// element is computed alone, so the threads' cut of a long vector changes no result.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"

namespace tarnel::detail {

namespace {

// One chunk of ln: Work holds 2·N Doubles.
void LnChunk(const TCplx* Src, TCplx* Dst, int N, double* Work)
{
    double* mag = Work;
    double* phase = Work + kChunk;
    nspzbCartToPolar(Src, mag, phase, N);
    VDLN(&N, mag, mag);
    nspzb2RealToCplx(mag, phase, Dst, N);
}

// One chunk of exp: Work holds 4·N Doubles.
void ExpChunk(const TCplx* Src, TCplx* Dst, int N, double* Work)
{
    double* e = Work;
    double* b = Work + kChunk;
    double* s = Work + 2 * kChunk;
    double* c = Work + 3 * kChunk;
    nspzbCplxTo2Real(Src, e, b, N);
    VDEXP(&N, e, e);
    VDSINCOS(&N, b, s, c);
    for (int k = 0; k < N; ++k) {
        if (e[k] == 0 && !std::isfinite(b[k])) {
            // e^(-∞) (or a factor that vanished) times an undefined direction: 0, not NaN.
            Dst[k] = {0.0, 0.0};
            continue;
        }
        // e^a·sin 0 would be NaN for an infinite e^a: an exact zero imaginary part stays as it is.
        Dst[k] = {e[k] * c[k], b[k] == 0 ? b[k] : e[k] * s[k]};
    }
}

}  // namespace

void ComplexLn(const TCplx* Src, TCplx* Dst, int N)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) { LnChunk(Src + Lo, Dst + Lo, Count, Work); });
}

void ComplexExp(const TCplx* Src, TCplx* Dst, int N)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) { ExpChunk(Src + Lo, Dst + Lo, Count, Work); });
}

void ComplexPower(const TCplx* Src, TCplx* Dst, int N, double P)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) {
        TCplx* d = Dst + Lo;
        LnChunk(Src + Lo, d, Count, Work);
        nspdbMpy1(P, &d->Re, 2 * Count);
        ExpChunk(d, d, Count, Work);
    });
}

void ComplexPower(const TCplx* Src, TCplx* Dst, int N, const TCplx& P)
{
    if (P.Im == 0) return ComplexPower(Src, Dst, N, P.Re);
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) {
        TCplx* d = Dst + Lo;
        LnChunk(Src + Lo, d, Count, Work);
        nspzbMpy1(P, d, Count);
        ExpChunk(d, d, Count, Work);
    });
}

void RealPower(const double* Src, double* Dst, std::int64_t N, double P)
{
    Chunked(N, [&](std::int64_t Lo, int Count, double*) {
        double* d = Dst + Lo;
        VDLN(&Count, Src + Lo, d);
        nspdbMpy1(P, d, Count);
        VDEXP(&Count, d, d);
    });
}

namespace {

// |Exponent| without overflow: -2^31 gives 2^31.
std::uint32_t Magnitude(int Exponent)
{
    return Exponent < 0 ? 0u - static_cast<std::uint32_t>(Exponent) : static_cast<std::uint32_t>(Exponent);
}

// R[k] := T[k]^n by squaring (T is overwritten): the operations and their order of the whole-vector loop
// "if n is odd, R := R·T and n := n - 1, else T := T² and n := n div 2", element by element.
template <class T, class Mul>
void Squaring(T* R, T* Sq, int Count, std::uint32_t n, const T& One, const Mul& Times)
{
    std::fill(R, R + Count, One);
    while (n > 0) {
        if (n % 2 == 1) {
            for (int k = 0; k < Count; ++k) R[k] = Times(R[k], Sq[k]);
            --n;
        } else {
            for (int k = 0; k < Count; ++k) Sq[k] = Times(Sq[k], Sq[k]);
            n /= 2;
        }
    }
}

double RealTimes(double A, double B)
{
    return A * B;
}

}  // namespace

void RealIntPower(const double* Src, double* Dst, std::int64_t N, int Exponent)
{
    const std::uint32_t n = Magnitude(Exponent);
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) {
        std::copy(Src + Lo, Src + Lo + Count, Work);
        Squaring(Dst + Lo, Work, Count, n, 1.0, RealTimes);
        if (Exponent < 0) nspdbInvThresh1(Dst + Lo, Count, kIntPowerThreshold);
    });
}

void ComplexIntPower(const TCplx* Src, TCplx* Dst, std::int64_t N, int Exponent, bool Polar)
{
    if (Exponent == 0) return std::fill(Dst, Dst + N, C_ONE);  // no phase times 0 (a NaN phase stays NaN)
    const std::uint32_t n = Magnitude(Exponent);
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) {
        TCplx* d = Dst + Lo;
        if (!Polar) {
            TCplx* sq = AsCplx(Work);
            std::copy(Src + Lo, Src + Lo + Count, sq);
            Squaring(d, sq, Count, n, C_ONE, [](const TCplx& A, const TCplx& B) { return CMul(A, B); });
            if (Exponent < 0) nspzbInvThresh1(d, Count, std::sqrt(kIntPowerThreshold));
            return;
        }
        double* mag = Work;
        double* phase = Work + kChunk;
        double* r = Work + 2 * kChunk;
        nspzbCartToPolar(Src + Lo, mag, phase, Count);
        Squaring(r, mag, Count, n, 1.0, RealTimes);
        if (Exponent < 0) nspdbInvThresh1(r, Count, kIntPowerThreshold);
        nspdbMpy1(static_cast<double>(Exponent), phase, Count);
        nspzbPolarToCart(r, phase, d, Count);
    });
}

void PowerOfVectors(const double* Base, bool BaseComplex, const double* Exponent, bool ExpComplex, double* Dst,
                    std::int64_t N, bool RealByPow)
{
    if (!BaseComplex && !ExpComplex && RealByPow) {
        IntSpans(N, [&](std::int64_t Lo, int Count) { VDPOW(&Count, Base + Lo, Exponent + Lo, Dst + Lo); });
        return;
    }
    if (!BaseComplex && !ExpComplex) {
        Chunked(N, [&](std::int64_t Lo, int Count, double*) {
            double* d = Dst + Lo;
            VDLN(&Count, Base + Lo, d);
            nspdbMpy2(Exponent + Lo, d, Count);
            VDEXP(&Count, d, d);
        });
        return;
    }
    Chunked(N, [&](std::int64_t Lo, int Count, double* Work) {
        TCplx* d = AsCplx(Dst) + Lo;
        // d := ln Base · Exponent, a real factor multiplying both parts of the other (the kinds' mixing rule).
        if (BaseComplex) {
            LnChunk(AsCplx(Base) + Lo, d, Count, Work);
            if (ExpComplex)
                nspzbMpy2(AsCplx(Exponent) + Lo, d, Count);
            else
                for (int k = 0; k < Count; ++k) d[k] = CMul(d[k], Exponent[Lo + k]);
        } else {
            VDLN(&Count, Base + Lo, Work);
            const TCplx* e = AsCplx(Exponent) + Lo;
            for (int k = 0; k < Count; ++k) d[k] = CMul(Work[k], e[k]);
        }
        ExpChunk(d, d, Count, Work);
    });
}

void ExpElems(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    const int n = static_cast<int>(Complex ? N / 2 : N);
    if (Complex)
        ComplexExp(AsCplx(Src), AsCplx(Dst), n);
    else
        VDEXP(&n, Src, Dst);
}

// The quotient is fused into the pass chunk by chunk; a quotient rather than a product with 1/Divisor, so that exact
// powers come out exact (log10 100 = 2, logN (2, 8) = 3).
void LnElems(bool Complex, const double* Src, double* Dst, std::int64_t N, double Divisor)
{
    if (!Complex && Divisor == 1) {
        const int n = static_cast<int>(N);
        return VDLN(&n, Src, Dst);
    }
    Chunked(Complex ? N / 2 : N, [&](std::int64_t Lo, int Cnt, double* Work) {
        double* d = Dst + (Complex ? 2 * Lo : Lo);
        const int m = Complex ? 2 * Cnt : Cnt;
        if (Complex)
            LnChunk(AsCplx(Src) + Lo, AsCplx(d), Cnt, Work);
        else
            VDLN(&Cnt, Src + Lo, d);
        if (Divisor != 1)
            for (int k = 0; k < m; ++k) d[k] /= Divisor;
    });
}

double LogNDivisor(double N, bool NanToo)
{
    if (N == 0 || (NanToo && std::isnan(N))) ERaise(msg::kNZero);
    return tarnel::Ln(N);
}

void Log10Elems(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    if (Complex) return LnElems(true, Src, Dst, N, LN10);
    const int n = static_cast<int>(N);
    VDLOG10(&n, Src, Dst);
}

}  // namespace tarnel::detail

namespace tarnel {

using detail::AsCplx;
using detail::TCheck;

namespace {

int Count(std::int64_t N)
{
    return static_cast<int>(N);
}

// ---- Kernels of the calling forms: Dst := f(Src) over N Doubles of the given kind; Dst may be Src -------------

void PowerOf(bool Complex, const double* Src, double* Dst, std::int64_t N, double P)
{
    if (Complex)
        detail::ComplexPower(AsCplx(Src), AsCplx(Dst), Count(N / 2), P);
    else
        detail::RealPower(Src, Dst, N, P);
}

// ln x / Divisor, bound for the calling forms.
auto LnOf(double Divisor)
{
    return [Divisor](bool Complex, const double* Src, double* Dst, std::int64_t N) {
        detail::LnElems(Complex, Src, Dst, N, Divisor);
    };
}

// Base^x. Real data: C's pow (VDPOW, within 1 ulp as the scalar Exp2 and Exp10, exact where the power is) with the
// base repeated over a chunk; the scalar functions element by element cost several times more. Complex data:
// exp(z·ln Base) from the same pieces as Exp.
auto ExpBaseOf(double Base, double LnBase)
{
    return [Base, LnBase](bool Complex, const double* Src, double* Dst, std::int64_t N) {
        detail::Chunked(Complex ? N / 2 : N, [&](std::int64_t Lo, int Cnt, double* Work) {
            if (!Complex) {
                std::fill(Work, Work + Cnt, Base);
                return VDPOW(&Cnt, Work, Src + Lo, Dst + Lo);
            }
            double* d = Dst + 2 * Lo;
            std::transform(Src + 2 * Lo, Src + 2 * (Lo + Cnt), d, [LnBase](double v) { return v * LnBase; });
            detail::ExpChunk(AsCplx(d), AsCplx(d), Cnt, Work);
        });
    };
}

// log2 x = e + ln m / ln 2 for x = m·2^e with m in [√½, √2): exact for powers of two, within 2 ulps, no cancellation
// between e and the logarithm of m. Zeros, negatives, infinities and NaN come out of ln m as from the scalar Log2.
// Complex data: the complex scalar Log2 element by element.
void Log2Of(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    if (Complex)
        return detail::EachElement([](double x) { return x; }, [](const TCplx& z) { return tarnel::Log2(z); })(
            true, Src, Dst, N);
    constexpr std::uint64_t kMantissa = (std::uint64_t{1} << 52) - 1, kSign = std::uint64_t{1} << 63;
    constexpr std::uint64_t kHalfRootBits = 0x3fe6a09e667f3bcd;  // √½ as a Double: exponent 1022 like m
    static_assert(kHalfRootBits == std::bit_cast<std::uint64_t>(M_SQRT1_2));
    // Integer operations, a quotient and a sum per element around the logarithm: exact or correctly rounded at any
    // vector width, so the pass may run eight wide; some 1.4 ns per element on one thread in all.
    detail::Chunked<parallel::TIsa::Avx512>(N, [&](std::int64_t Lo, int Cnt, double* Work) {
        const double* s = Src + Lo;
        double* d = Dst + Lo;
        double* m = Work;
        double* e = Work + detail::kChunk;
        // m and e from the bits of normal numbers, in integer operations only, so that the loop vectorises: m keeps
        // x's sign and mantissa with the exponent of [½, 1), doubled (exponent of [1, 2)) when |m| < √½; e, a whole
        // number below 2^11, comes exactly out of 2^52 + (biased − low) less 2^52 + 1022. Zeros, subnormals,
        // infinities and NaN (biased exponent 0 or 2047) go to the scalar Log2 afterwards.
        std::uint64_t special = 0;
        for (int k = 0; k < Cnt; ++k) {
            const std::uint64_t bits = std::bit_cast<std::uint64_t>(s[k]);
            const std::uint64_t biased = (bits >> 52) & 0x7ff;
            special |= static_cast<std::uint64_t>(biased - 1 >= 0x7fe);
            const std::uint64_t low = static_cast<std::uint64_t>((bits & kMantissa) < (kHalfRootBits & kMantissa));
            m[k] = std::bit_cast<double>((bits & (kSign | kMantissa)) | ((1022 + low) << 52));
            e[k] = std::bit_cast<double>((std::uint64_t{0x433} << 52) | (biased - low)) - (0x1p52 + 1022);
        }
        // Dst may be Src: the special elements are read again below, so their chunk is kept first.
        double* x = Work + 2 * detail::kChunk;
        if (special) std::copy(s, s + Cnt, x);
        VDLN(&Cnt, m, m);
        for (int k = 0; k < Cnt; ++k) d[k] = e[k] + m[k] / LN2;
        if (!special) return;
        for (int k = 0; k < Cnt; ++k)
            if (!std::isnormal(x[k])) d[k] = tarnel::Log2(x[k]);
    }, parallel::MinSplitFor(1.4));
}
const auto Exp2Of = ExpBaseOf(2, LN2);
const auto Exp10Of = ExpBaseOf(10, LN10);

}  // namespace

// ---- Exponentials and logarithms --------------------------------------------------------------------------------

TVecs& TVecs::Exp()
{
    detail::InPlace(*this, detail::ExpElems);
    return *this;
}

TVec& TVec::Exp(const TVecs& Vec)
{
    detail::FromVec(*this, Vec, detail::ExpElems);
    return *this;
}

TVec1& TVec1::Exp(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    detail::OnRangeOf(*this, Vec, VecIndex, Index, Len, detail::ExpElems);
    return *this;
}

TVec0& TVec0::Exp(int Index, int Len)
{
    detail::OnOwnRange(*this, Index, Len, msg::kIndexLenOpen, detail::ExpElems);
    return *this;
}

TVecs& TVecs::Ln()
{
    detail::InPlace(*this, LnOf(1));
    return *this;
}

TVec& TVec::Ln(const TVecs& Vec)
{
    detail::FromVec(*this, Vec, LnOf(1));
    return *this;
}

TVec1& TVec1::Ln(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    detail::OnRangeOf(*this, Vec, VecIndex, Index, Len, LnOf(1));
    return *this;
}

TVec0& TVec0::Ln(int Index, int Len)
{
    detail::OnOwnRange(*this, Index, Len, msg::kIndexLen, LnOf(1));
    return *this;
}

TVecs& TVecs::Log10(const TVecs& Vec)
{
    detail::FromVec(*this, Vec, detail::Log10Elems);
    return *this;
}

TVec1& TVec1::Log10(const TVecs& X, int XIndex, int Index, int Len)
{
    TCheck(*this).Always(&X == this, msg::kSelfX);
    detail::CheckRange(*this, X, XIndex, Index, Len);
    detail::OnRangeOf(*this, X, XIndex, Index, Len, detail::Log10Elems);
    return *this;
}

TVec0& TVec0::Log10()
{
    detail::InPlace(*this, detail::Log10Elems);
    return *this;
}

TVec& TVec::Log10(int Index, int Len)
{
    detail::OnOwnRange(*this, Index, Len, msg::kIndexLen, detail::Log10Elems);
    return *this;
}

TVecs& TVecs::LogN(double N, const TVecs& Vec)
{
    detail::FromVec(*this, Vec, LnOf(detail::LogNDivisor(N, false)));
    return *this;
}

TVec& TVec::LogN(double N, const TVecs& X, int XIndex, int Index, int Len)
{
    const double divisor = detail::LogNDivisor(N, false);
    TCheck(*this).Always(&X == this, msg::kSelfX);
    detail::CheckRange(*this, X, XIndex, Index, Len);
    detail::OnRangeOf(*this, X, XIndex, Index, Len, LnOf(divisor));
    return *this;
}

TVec0& TVec0::LogN(double N)
{
    detail::InPlace(*this, LnOf(detail::LogNDivisor(N, false)));
    return *this;
}

TVec1& TVec1::LogN(double N, int Index, int Len)
{
    detail::OnOwnRange(*this, Index, Len, msg::kIndexLen, LnOf(detail::LogNDivisor(N, false)));
    return *this;
}

TVecs& TVecs::Log2(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, nullptr, Log2Of);
    return *this;
}

TVecs& TVecs::Exp2(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, nullptr, Exp2Of);
    return *this;
}

TVecs& TVecs::Exp10(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, nullptr, Exp10Of);
    return *this;
}

TVec0& TVec0::Log2(int Index, int Len)
{
    TVecs::Log2(*this, Index, Index, Len);
    return *this;
}

TVec0& TVec0::Exp2(int Index, int Len)
{
    TVecs::Exp2(*this, Index, Index, Len);
    return *this;
}

TVec0& TVec0::Exp10(int Index, int Len)
{
    TVecs::Exp10(*this, Index, Index, Len);
    return *this;
}

// ---- Powers -----------------------------------------------------------------------------------------------------

TVecs& TVecs::IntPower(const TVecs& Base, int Exponent)
{
    TCheck(*this).Always(&Base == this, msg::kSelfBase);
    detail::TStable base(Base, *this);
    Size(base->Length(), base->Complex());
    if (Exponent == 0) return SetVal(1);
    if (FLength == 0) return *this;
    if (FComplex)
        detail::ComplexIntPower(base->CValues(), CValues(), FLength, Exponent, true);
    else
        detail::RealIntPower(base->Values(), FValues, FLength, Exponent);
    return *this;
}

TVec0& TVec0::IntPower(int Exponent)
{
    if (Exponent == 0) {
        SetVal(1);
        return *this;
    }
    if (FLength == 0) return *this;
    if (FComplex)
        detail::ComplexIntPower(CValues(), CValues(), FLength, Exponent, Exponent > 4 || Exponent < -4);
    else
        detail::RealIntPower(FValues, FValues, FLength, Exponent);
    return *this;
}

TVecs& TVecs::Power(const TVecs& Base, double Exponent)
{
    detail::FromSource(*this, Base,
                       [&](const double* S, double* D, std::int64_t N) { PowerOf(FComplex, S, D, N, Exponent); });
    return *this;
}

TVec0& TVec0::Power(const TVecs& Base, const TCplx& Exponent)
{
    TCheck(*this).Always(!Base.Complex(), msg::kBaseComplexFalse);
    detail::FromSource(*this, Base, [&](const double* S, double* D, std::int64_t N) {
        detail::ComplexPower(AsCplx(S), AsCplx(D), static_cast<int>(N / 2), Exponent);
    });
    return *this;
}

TVec1& TVec1::Power(double Exponent)
{
    detail::InPlace(*this, [Exponent](bool Complex, const double* S, double* D, std::int64_t N) {
        PowerOf(Complex, S, D, N, Exponent);
    });
    return *this;
}

TVec& TVec::Power(const TCplx& Exponent)
{
    // A real vector has no room for the imaginary part of a complex power.
    TCheck(*this).Always(!FComplex && Exponent.Im != 0, msg::kBaseComplexFalse);
    if (FLength == 0) return *this;
    if (FComplex)
        detail::ComplexPower(CValues(), CValues(), FLength, Exponent);
    else
        detail::RealPower(FValues, FValues, FLength, Exponent.Re);
    return *this;
}

TVecs& TVecs::PowerVec(const TVecs& Base, const TVecs& Exponent)
{
    TCheck(*this).Always(Exponent.Length() != Base.Length(), msg::kLengthVec);
    const detail::TStable base(Base, *this), exponent(Exponent, *this);
    Size(base->Length(), base->Complex() || exponent->Complex());
    if (FLength > 0)
        detail::PowerOfVectors(base->Values(), base->Complex(), exponent->Values(), exponent->Complex(), FValues,
                               FLength, true);
    return *this;
}

}  // namespace tarnel

// Trigonometric and hyperbolic functions of vectors, their inverses and reciprocals, and the paired SinCos and
// SinhCosh.
//
// Real data of the common functions go to the vector-math routines (VDSIN ... VDTANH, VDSINCOS); the others, and
// the complex inverses, to the scalar functions element by element, long vectors shared among the worker threads.
// Complex sin, cos, tan, sinh, cosh and tanh are computed from real pieces, chunk by chunk in the cache:
//     sin z = sin a·cosh b + i·cos a·sinh b          sinh z = sinh a·cos b + i·cosh a·sin b
//     cos z = cos a·cosh b − i·sin a·sinh b          cosh z = cosh a·cos b + i·sinh a·sin b
//     tan z = (sin 2a + i·sinh 2b)·D, D = 1/(cos 2a + cosh 2b)
//     tanh z = (sinh 2a + i·sin 2b)·D, D = 1/(cosh 2a + cos 2b)
// where a piece overflows, the results keep C99's limits: an exact zero factor times an infinite one stays a zero
// (sin(0 + 800i) = 0 + ∞i), and tan, tanh take ±i, ±1 once cosh 2b, cosh 2a is infinite (tan(0 + 400i) = i).
#include <cmath>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"

namespace tarnel {

using detail::AsCplx;
using detail::TCheck;

namespace {

int Count(std::int64_t N)
{
    return static_cast<int>(N);
}

// F·G, where a zero F keeps its zero (with the product's sign) against an infinite or NaN G.
double Times(double F, double G)
{
    return F == 0 ? F * std::copysign(1.0, G) : F * G;
}

// The four real arrays of a chunk of the complex formulas, split from Src: W[0] = a, W[1] = b, then VDSINCOS of
// the circular part into W[2] (sine) and W[3] (cosine), VDSINH of the hyperbolic part into W[0] and VDCOSH into
// W[1]. Circular says which part is the circular one (a for sin and cos, b for sinh and cosh); Doubled takes 2a
// and 2b (tan, tanh).
struct TPieces {
    double* s;   // sine of the circular part
    double* c;   // cosine
    double* sh;  // hyperbolic sine of the other part
    double* ch;  // hyperbolic cosine
};

TPieces Pieces(const TCplx* Src, int N, double* Work, bool CircularIsRe, bool Doubled)
{
    double* w0 = Work;
    double* w1 = Work + detail::kChunk;
    double* w2 = Work + 2 * detail::kChunk;
    double* w3 = Work + 3 * detail::kChunk;
    // w0 := the circular part, w1 := the hyperbolic part.
    for (int k = 0; k < N; ++k) {
        const double circ = CircularIsRe ? Src[k].Re : Src[k].Im, hyp = CircularIsRe ? Src[k].Im : Src[k].Re;
        w0[k] = Doubled ? 2 * circ : circ;
        w1[k] = Doubled ? 2 * hyp : hyp;
    }
    VDSINCOS(&N, w0, w2, w3);
    VDSINH(&N, w1, w0);
    VDCOSH(&N, w1, w1);
    return {w2, w3, w0, w1};
}

enum class TFn { Sin, Cos, Tan, Sinh, Cosh, Tanh };

void ComplexChunk(TFn Fn, const TCplx* Src, TCplx* Dst, int N, double* Work)
{
    const bool circularIsRe = Fn == TFn::Sin || Fn == TFn::Cos || Fn == TFn::Tan;
    const bool doubled = Fn == TFn::Tan || Fn == TFn::Tanh;
    const TPieces p = Pieces(Src, N, Work, circularIsRe, doubled);
    for (int k = 0; k < N; ++k) {
        switch (Fn) {
            case TFn::Sin:
                Dst[k] = {Times(p.s[k], p.ch[k]), Times(p.c[k], p.sh[k])};
                break;
            case TFn::Cos:
                Dst[k] = {Times(p.c[k], p.ch[k]), Times(-p.s[k], p.sh[k])};
                break;
            case TFn::Sinh:
                Dst[k] = {Times(p.sh[k], p.c[k]), Times(p.ch[k], p.s[k])};
                break;
            case TFn::Cosh:
                Dst[k] = {Times(p.ch[k], p.c[k]), Times(p.sh[k], p.s[k])};
                break;
            case TFn::Tan:
            case TFn::Tanh: {
                const double hyp = Fn == TFn::Tan ? Src[k].Im : Src[k].Re;
                const double d = 1 / (p.c[k] + p.ch[k]);
                // tan: (sin 2a + i·sinh 2b)·D; tanh: (sinh 2a + i·sin 2b)·D.
                const double circ = p.s[k] * d, hpart = std::isinf(p.ch[k]) ? std::copysign(1.0, hyp) : p.sh[k] * d;
                Dst[k] = Fn == TFn::Tan ? TCplx{circ, hpart} : TCplx{hpart, circ};
                break;
            }
        }
    }
}

// The kernel of a function: real data through a vector-math routine, complex ones through the fused formula.
template <TFn Fn>
void FormulaOf(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    if (Complex) {
        detail::Chunked(N / 2, [&](std::int64_t Lo, int Cnt, double* Work) {
            ComplexChunk(Fn, AsCplx(Src) + Lo, AsCplx(Dst) + Lo, Cnt, Work);
        });
        return;
    }
    const int n = Count(N);
    switch (Fn) {
        case TFn::Sin:
            return VDSIN(&n, Src, Dst);
        case TFn::Cos:
            return VDCOS(&n, Src, Dst);
        case TFn::Tan:
            return VDTAN(&n, Src, Dst);
        case TFn::Sinh:
            return VDSINH(&n, Src, Dst);
        case TFn::Cosh:
            return VDCOSH(&n, Src, Dst);
        case TFn::Tanh:
            return VDTANH(&n, Src, Dst);
    }
}

// The scalar functions as plain functions of one kind (the names are overloaded for both kinds).
using TRealFn = double (*)(double);
using TCplxFn = TCplx (*)(const TCplx&);
constexpr TCplxFn ArcSinC = tarnel::ArcSin;
constexpr TCplxFn ArcCosC = tarnel::ArcCos;
constexpr TCplxFn ArcTanC = tarnel::ArcTan;
constexpr TRealFn ArcSinhR = tarnel::ArcSinh;
constexpr TCplxFn ArcSinhC = tarnel::ArcSinh;
constexpr TRealFn ArcCoshR = tarnel::ArcCosh;
constexpr TCplxFn ArcCoshC = tarnel::ArcCosh;
constexpr TRealFn ArcTanhR = tarnel::ArcTanh;
constexpr TCplxFn ArcTanhC = tarnel::ArcTanh;
constexpr TRealFn CotR = tarnel::Cot;
constexpr TCplxFn CotC = tarnel::Cot;
constexpr TRealFn CothR = tarnel::Coth;
constexpr TCplxFn CothC = tarnel::Coth;
constexpr TRealFn CscR = tarnel::Csc;
constexpr TCplxFn CscC = tarnel::Csc;
constexpr TRealFn CschR = tarnel::Csch;
constexpr TCplxFn CschC = tarnel::Csch;
constexpr TRealFn SecR = tarnel::Sec;
constexpr TCplxFn SecC = tarnel::Sec;
constexpr TRealFn SechR = tarnel::Sech;
constexpr TCplxFn SechC = tarnel::Sech;
constexpr TRealFn ArcCotR = tarnel::ArcCot;
constexpr TCplxFn ArcCotC = tarnel::ArcCot;
constexpr TRealFn ArcCothR = tarnel::ArcCoth;
constexpr TCplxFn ArcCothC = tarnel::ArcCoth;
constexpr TRealFn ArcCscR = tarnel::ArcCsc;
constexpr TCplxFn ArcCscC = tarnel::ArcCsc;
constexpr TRealFn ArcCschR = tarnel::ArcCsch;
constexpr TCplxFn ArcCschC = tarnel::ArcCsch;
constexpr TRealFn ArcSecR = tarnel::ArcSec;
constexpr TCplxFn ArcSecC = tarnel::ArcSec;
constexpr TRealFn ArcSechR = tarnel::ArcSech;
constexpr TCplxFn ArcSechC = tarnel::ArcSech;

// Both kinds through the scalar functions, element by element.
auto Scalar2(TRealFn Real, TCplxFn Complex)
{
    return detail::EachElement(Real, Complex);
}

// Real data through a vector-math routine, complex ones through the complex scalar function.
auto VdOr(void (*Vd)(const int*, const double*, double*), TCplxFn Complex)
{
    return [Vd, Complex](bool IsComplex, const double* Src, double* Dst, std::int64_t N) {
        if (IsComplex) return detail::EachElement([](double x) { return x; }, Complex)(true, Src, Dst, N);
        const int n = Count(N);
        Vd(&n, Src, Dst);
    };
}

// The working form of Sin and Cos on ranges, after sizing: every check always, so a negative index or a kind
// mismatch can no longer pass silently or read past X.
template <class F>
void TrigRange(TVecs& Self, const TVecs& X, int XIndex, int Index, int Len, const F& Kernel)
{
    TCheck(Self)
        .Negative({XIndex, Index}, msg::kNegX)
        .Negative({Len}, msg::kNegLen)
        .Always(static_cast<std::int64_t>(XIndex) + Len > X.Length(), msg::kXIndexLenOpen)
        .Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), msg::kIndexLen)
        .Always(Self.Complex() != X.Complex(), msg::kComplexX);
    detail::OnRangeOf(Self, X, XIndex, Index, Len, Kernel);
}

template <class F>
void TrigWhole(TVecs& Self, const TVecs& X, const F& Kernel)
{
    const detail::TStable x(X, Self);
    Self.Size(x->Length(), x->Complex());
    TrigRange(Self, *x, 0, 0, Self.Length(), Kernel);
}

// The texts of SinCos and SinhCosh.
struct TPairTexts {
    const char* firstSelf;
    const char* secondSelf;
    const char* firstComplex;
    const char* secondComplex;
    const char* firstBound;
    const char* secondBound;
};

// First[FirstIndex + k], Second[SecondIndex + k] := Pair(Self[Index + k]) for k < Len (Len = -1: all of Self,
// First and Second sized like it). Pair(Src, First, Second, N) may have a destination start at its source.
template <class P>
void PairForm(const TVecs& Self, TVecs& First, TVecs& Second, int FirstIndex, int SecondIndex, int Index, int Len,
              const TPairTexts& T, const P& Pair)
{
    TCheck(Self)
        .Always(Self.Complex(), msg::kComplexTrue)
        .Negative({FirstIndex, SecondIndex, Index}, msg::kNegX)
        .Always(Len < -1, msg::kLenBelowDefault);
    const bool whole = Len == -1;
    if (whole) Len = Self.Length();
    // Sized like Self, the destinations will be real with Self's Length: the checks see them so.
    const auto length = [&](const TVecs& V) { return whole ? std::int64_t{Self.Length()} : V.Length(); };
    const auto bound = [&](const TVecs& V, int At) { return static_cast<std::int64_t>(At) + Len > length(V); };
    // A complex destination holds its elements' Doubles in a row: the real data fit within its Length.
    TCheck(Self)
        .Gated(&First == &Self, T.firstSelf)
        .Gated(&Second == &Self, T.secondSelf)
        .Gated(!whole && First.Complex(), T.firstComplex)
        .Gated(!whole && Second.Complex(), T.secondComplex)
        .Bound(static_cast<std::int64_t>(Index) + Len > Self.Length(), msg::kIndexFLength)
        .Bound(bound(First, FirstIndex), T.firstBound)
        .Bound(bound(Second, SecondIndex), T.secondBound)
        .Done();
    // Self's angles are held still while the destinations are sized and written.
    const detail::TStable self(Self, {&First, &Second});
    if (whole) {
        First.Size(Len, false);
        Second.Size(Len, false);
    }
    if (Len == 0) return;
    detail::TLazyTemp t1, t2;
    double* first = First.Values() + FirstIndex;
    double* second = Second.Values() + SecondIndex;
    const double* src = self->Values() + Index;
    src = detail::Detached(src, Len, first, Len, true, t1);
    src = detail::Detached(src, Len, second, Len, true, t2);
    Pair(src, first, second, Len);
}

// The in-place forms of the reciprocal functions: Len = -1 is the whole vector.
template <class F>
void OnOwnWhole(TVecs& Self, int Index, int Len, const F& Kernel)
{
    detail::OnOwnRange(Self, Index, Len == -1 ? Self.Length() : Len, msg::kIndexFLength, Kernel);
}

}  // namespace

void detail::TrigElems(TTrig F, bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    switch (F) {
        case TTrig::Sin:
            return FormulaOf<TFn::Sin>(Complex, Src, Dst, N);
        case TTrig::Cos:
            return FormulaOf<TFn::Cos>(Complex, Src, Dst, N);
        case TTrig::Tan:
            return FormulaOf<TFn::Tan>(Complex, Src, Dst, N);
        case TTrig::Sinh:
            return FormulaOf<TFn::Sinh>(Complex, Src, Dst, N);
        case TTrig::Cosh:
            return FormulaOf<TFn::Cosh>(Complex, Src, Dst, N);
        case TTrig::Tanh:
            return FormulaOf<TFn::Tanh>(Complex, Src, Dst, N);
        case TTrig::ArcSin:
            return VdOr(VDASIN, ArcSinC)(Complex, Src, Dst, N);
        case TTrig::ArcCos:
            return VdOr(VDACOS, ArcCosC)(Complex, Src, Dst, N);
        case TTrig::ArcTan:
            return VdOr(VDATAN, ArcTanC)(Complex, Src, Dst, N);
        case TTrig::ArcSinh:
            return Scalar2(ArcSinhR, ArcSinhC)(Complex, Src, Dst, N);
        case TTrig::ArcCosh:
            return Scalar2(ArcCoshR, ArcCoshC)(Complex, Src, Dst, N);
        case TTrig::ArcTanh:
            return Scalar2(ArcTanhR, ArcTanhC)(Complex, Src, Dst, N);
    }
}

// ---- Sine and cosine --------------------------------------------------------------------------------------------

TVec1& TVec1::Sin(const TVecs& X, int XIndex, int Index, int Len)
{
    TrigRange(*this, X, XIndex, Index, Len, FormulaOf<TFn::Sin>);
    return *this;
}

TVec1& TVec1::Cos(const TVecs& X, int XIndex, int Index, int Len)
{
    TrigRange(*this, X, XIndex, Index, Len, FormulaOf<TFn::Cos>);
    return *this;
}

TVecs& TVecs::Sin(const TVecs& X)
{
    TrigWhole(*this, X, FormulaOf<TFn::Sin>);
    return *this;
}

TVecs& TVecs::Cos(const TVecs& X)
{
    TrigWhole(*this, X, FormulaOf<TFn::Cos>);
    return *this;
}

TVec0& TVec0::Sin()
{
    detail::InPlace(*this, FormulaOf<TFn::Sin>);
    return *this;
}

TVec0& TVec0::Cos()
{
    detail::InPlace(*this, FormulaOf<TFn::Cos>);
    return *this;
}

TVec& TVec::Sin(int Index, int Len)
{
    TrigRange(*this, *this, Index, Index, Len, FormulaOf<TFn::Sin>);
    return *this;
}

TVec& TVec::Cos(int Index, int Len)
{
    TrigRange(*this, *this, Index, Index, Len, FormulaOf<TFn::Cos>);
    return *this;
}

// ---- The nine functions from a source and in place -------------------------------------------------------------

TVecs& TVecs::Tan(const TVecs& X)
{
    detail::FromVec(*this, X, FormulaOf<TFn::Tan>);
    return *this;
}

TVec0& TVec0::Tan()
{
    detail::InPlace(*this, FormulaOf<TFn::Tan>);
    return *this;
}

TVecs& TVecs::Sinh(const TVecs& X)
{
    detail::FromVec(*this, X, FormulaOf<TFn::Sinh>);
    return *this;
}

TVec0& TVec0::Sinh()
{
    detail::InPlace(*this, FormulaOf<TFn::Sinh>);
    return *this;
}

TVecs& TVecs::Cosh(const TVecs& X)
{
    detail::FromVec(*this, X, FormulaOf<TFn::Cosh>);
    return *this;
}

TVec0& TVec0::Cosh()
{
    detail::InPlace(*this, FormulaOf<TFn::Cosh>);
    return *this;
}

TVecs& TVecs::Tanh(const TVecs& X)
{
    detail::FromVec(*this, X, FormulaOf<TFn::Tanh>);
    return *this;
}

TVec0& TVec0::Tanh()
{
    detail::InPlace(*this, FormulaOf<TFn::Tanh>);
    return *this;
}

TVecs& TVecs::ArcSin(const TVecs& X)
{
    detail::FromVec(*this, X, VdOr(VDASIN, ArcSinC));
    return *this;
}

TVec0& TVec0::ArcSin()
{
    detail::InPlace(*this, VdOr(VDASIN, ArcSinC));
    return *this;
}

TVecs& TVecs::ArcCos(const TVecs& X)
{
    detail::FromVec(*this, X, VdOr(VDACOS, ArcCosC));
    return *this;
}

TVec0& TVec0::ArcCos()
{
    detail::InPlace(*this, VdOr(VDACOS, ArcCosC));
    return *this;
}

TVecs& TVecs::ArcTan(const TVecs& X)
{
    detail::FromVec(*this, X, VdOr(VDATAN, ArcTanC));
    return *this;
}

TVec0& TVec0::ArcTan()
{
    detail::InPlace(*this, VdOr(VDATAN, ArcTanC));
    return *this;
}

TVecs& TVecs::ArcCosh(const TVecs& X)
{
    detail::FromVec(*this, X, Scalar2(ArcCoshR, ArcCoshC));
    return *this;
}

TVec0& TVec0::ArcCosh()
{
    detail::InPlace(*this, Scalar2(ArcCoshR, ArcCoshC));
    return *this;
}

TVecs& TVecs::ArcTanh(const TVecs& X)
{
    detail::FromVec(*this, X, Scalar2(ArcTanhR, ArcTanhC));
    return *this;
}

TVec0& TVec0::ArcTanh()
{
    detail::InPlace(*this, Scalar2(ArcTanhR, ArcTanhC));
    return *this;
}

// ---- ArcSinh and the reciprocal functions ----------------------------------------------------------------------

TVecs& TVecs::ArcSinh(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, nullptr, Scalar2(ArcSinhR, ArcSinhC));
    return *this;
}

TVec0& TVec0::ArcSinh(int Index, int Len)
{
    TVecs::ArcSinh(*this, Index, Index, Len);
    return *this;
}

TVecs& TVecs::Cot(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(CotR, CotC));
    return *this;
}

TVec0& TVec0::Cot(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(CotR, CotC));
    return *this;
}

TVecs& TVecs::Coth(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(CothR, CothC));
    return *this;
}

TVec0& TVec0::Coth(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(CothR, CothC));
    return *this;
}

TVecs& TVecs::Csc(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(CscR, CscC));
    return *this;
}

TVec0& TVec0::Csc(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(CscR, CscC));
    return *this;
}

TVecs& TVecs::Csch(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(CschR, CschC));
    return *this;
}

TVec0& TVec0::Csch(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(CschR, CschC));
    return *this;
}

TVecs& TVecs::Sec(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(SecR, SecC));
    return *this;
}

TVec0& TVec0::Sec(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(SecR, SecC));
    return *this;
}

TVecs& TVecs::Sech(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(SechR, SechC));
    return *this;
}

TVec0& TVec0::Sech(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(SechR, SechC));
    return *this;
}

TVecs& TVecs::ArcCot(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(ArcCotR, ArcCotC));
    return *this;
}

TVec0& TVec0::ArcCot(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(ArcCotR, ArcCotC));
    return *this;
}

TVecs& TVecs::ArcCoth(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(ArcCothR, ArcCothC));
    return *this;
}

TVec0& TVec0::ArcCoth(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(ArcCothR, ArcCothC));
    return *this;
}

TVecs& TVecs::ArcCsc(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(ArcCscR, ArcCscC));
    return *this;
}

TVec0& TVec0::ArcCsc(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(ArcCscR, ArcCscC));
    return *this;
}

TVecs& TVecs::ArcCsch(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(ArcCschR, ArcCschC));
    return *this;
}

TVec0& TVec0::ArcCsch(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(ArcCschR, ArcCschC));
    return *this;
}

TVecs& TVecs::ArcSec(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(ArcSecR, ArcSecC));
    return *this;
}

TVec0& TVec0::ArcSec(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(ArcSecR, ArcSecC));
    return *this;
}

TVecs& TVecs::ArcSech(const TVecs& X, int XIndex, int Index, int Len)
{
    detail::OnWhole(*this, X, XIndex, Index, Len, msg::kSelfVec, Scalar2(ArcSechR, ArcSechC));
    return *this;
}

TVec0& TVec0::ArcSech(int Index, int Len)
{
    OnOwnWhole(*this, Index, Len, Scalar2(ArcSechR, ArcSechC));
    return *this;
}

// ---- Paired forms -----------------------------------------------------------------------------------------------

void TVecs::SinCos(TVecs& SinX, TVecs& CosX, int SinIndex, int CosIndex, int Index, int Len) const
{
    PairForm(*this, SinX, CosX, SinIndex, CosIndex, Index, Len,
             {msg::kSinxSelf, msg::kCosxSelf, msg::kComplexSinX, msg::kComplexCosX, msg::kXIndexSinX, msg::kXIndexCosX},
             [](const double* X, double* S, double* C, int N) { VDSINCOS(&N, X, S, C); });
}

void TVecs::SinhCosh(TVecs& SinhX, TVecs& CoshX, int SinhIndex, int CoshIndex, int Index, int Len) const
{
    PairForm(*this, SinhX, CoshX, SinhIndex, CoshIndex, Index, Len,
             {msg::kSinhxSelf, msg::kCoshxSelf, msg::kComplexSinhX, msg::kComplexCoshX, msg::kXIndexSinhX,
              msg::kXIndexCoshX},
             [](const double* X, double* S, double* C, int N) {
                 parallel::Pieces(N, [&](long long Lo, long long Hi) {
                     for (long long k = Lo; k < Hi; ++k) {
                         double s, c;
                         tarnel::SinhCosh(X[k], s, c);
                         S[k] = s;
                         C[k] = c;
                     }
                 });
             });
}

}  // namespace tarnel

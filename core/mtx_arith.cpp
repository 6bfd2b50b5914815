// Element-wise arithmetic of matrices and their complex parts.
//
// A matrix is one block of Rows·Cols elements (twice as many Doubles when complex), so every member is its check
// list and one call of the routine its vector counterpart uses: the signal library's nspdb.../nspzb... routines,
// VDSQRT, and DAXPY/ZAXPY (threaded as for vectors). Operations on each Double by itself run over 2n Doubles of a
// complex matrix, in spans whose counts fit the routines' int parameters.
//
// Unlike vectors, matrices never widen a real operand: operands of another kind are refused. Checks that keep the
// operands' memory safe (kinds, element counts) run whatever ConditionCheck is, with the same texts. An operand
// that shares memory with Self (adopted arrays, one matrix given twice) is read from a pooled copy wherever sizing
// or writing Self could change it first.
#include <cstring>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"
#include "core/mtx_class.h"

namespace tarnel {

using detail::TCheck;

namespace {

std::int64_t ElementsOf(const TMtx1& M)
{
    return static_cast<std::int64_t>(M.Rows()) * M.Cols();
}

std::int64_t DoublesOf(const TMtx1& M)
{
    return ElementsOf(M) * (M.Complex() ? 2 : 1);
}

const TCplx* C(const double* P)
{
    return reinterpret_cast<const TCplx*>(P);
}

TCplx* C(double* P)
{
    return reinterpret_cast<TCplx*>(P);
}

}  // namespace

namespace detail {

const double* Held(const TMtx1& Src, std::initializer_list<const TMtx1*> Dsts, TLazyTemp& Temp)
{
    bool shared = false;
    for (const TMtx1* d : Dsts) shared = shared || (d != &Src && SharesMemory(Src, *d));
    if (!shared) return Src.Values();
    TVec& c = Temp.Get();
    c.Size(static_cast<int>(ElementsOf(Src)), Src.Complex());
    std::memcpy(c.Values(), Src.Values(), static_cast<std::size_t>(DoublesOf(Src)) * sizeof(double));
    return c.Values();
}

}  // namespace detail

namespace {

// Self := Kernel over Mtx's elements, Self sized Mtx.Rows × Mtx.Cols of the kind Complex; Kernel(Src, Dst, n).
template <class K>
void FromMtx(TMtx1& Self, const TMtx1& Mtx, bool Complex, const K& Kernel)
{
    detail::TLazyTemp t;
    const double* src = detail::Held(Mtx, {&Self}, t);
    Self.Size(Mtx.Rows(), Mtx.Cols(), Complex);
    const std::int64_t n = ElementsOf(Self);
    if (n > 0) Kernel(src, Self.Values(), n);
}

// The same with the kernel on Doubles (2 per complex element), cut into int spans: Kernel(Src, Dst, Count).
template <class K>
void FromMtxDoubles(TMtx1& Self, const TMtx1& Mtx, const K& Kernel)
{
    FromMtx(Self, Mtx, Mtx.Complex(), [&](const double* S, double* D, std::int64_t) {
        detail::IntSpans(DoublesOf(Self), [&](std::int64_t Lo, int Count) { Kernel(S + Lo, D + Lo, Count); });
    });
}

// A routine of Doubles in place over all of Self: Kernel(Dst, Count).
template <class K>
void OnDoubles(TMtx1& Self, const K& Kernel)
{
    double* d = Self.Values();
    detail::IntSpans(DoublesOf(Self), [&](std::int64_t Lo, int Count) { Kernel(d + Lo, Count); });
}

// Self := Self ∘ Mtx over the first Count Doubles: Kernel(Src, Dst, Count), Mtx read from a copy where it overlaps
// Self otherwise than element for element.
template <class K>
void WithOperand(TMtx1& Self, const TMtx1& Mtx, std::int64_t Count, const K& Kernel)
{
    if (Count <= 0) return;
    detail::TLazyTemp t;
    const double* src = detail::Detached(Mtx.Values(), Count, Self.Values(), Count, true, t);
    double* d = Self.Values();
    detail::IntSpans(Count, [&](std::int64_t Lo, int N) { Kernel(src + Lo, d + Lo, N); });
}

void RoundInto(TMtx1& Self, const TMtx1& Mtx, bool Nearest)
{
    FromMtx(Self, Mtx, Mtx.Complex(), [&](const double* S, double* D, std::int64_t) {
        if (Nearest)
            detail::RoundDoubles(S, D, DoublesOf(Self));
        else
            detail::TruncDoubles(S, D, DoublesOf(Self));
    });
}

}  // namespace

// ---- In place ---------------------------------------------------------------------------------------------------

TMtx1& TMtx1::Abs()
{
    if (Elements() == 0) return *this;
    TCheck(FConditionCheck).Always(FComplex, msg::kComplexTrue);
    OnDoubles(*this, nspdbAbs1);
    return *this;
}

TMtx1& TMtx1::Conj()
{
    if (FComplex && Elements() > 0) nspzbConj1(CValues(), static_cast<int>(Elements()));
    return *this;
}

TMtx1& TMtx1::InvElem(double Threshold)
{
    const int n = static_cast<int>(Elements());
    if (n == 0) return *this;
    if (FComplex)
        nspzbInvThresh1(CValues(), n, Threshold);
    else
        nspdbInvThresh1(FValues, n, Threshold);
    return *this;
}

TMtx1& TMtx1::Scale(double Factor)
{
    if (Factor != 1) OnDoubles(*this, [Factor](double* D, int N) { nspdbMpy1(Factor, D, N); });
    return *this;
}

TMtx& TMtx::Scale(const TCplx& Factor)
{
    if (Elements() == 0) return *this;
    if (FComplex) {
        if (Factor.Re != 1 || Factor.Im != 0) nspzbMpy1(Factor, CValues(), static_cast<int>(Elements()));
        return *this;
    }
    TCheck(FConditionCheck).Always(Factor.Im != 0, msg::kMtxScaleNotComplex);
    TMtx1::Scale(Factor.Re);
    return *this;
}

TMtx1& TMtx1::Offset(double Value)
{
    if (Elements() == 0) return *this;
    if (FComplex)
        nspzbAdd1(TCplx{Value, 0.0}, CValues(), static_cast<int>(Elements()));
    else
        nspdbAdd1(Value, FValues, static_cast<int>(Elements()));
    return *this;
}

TMtx& TMtx::Offset(const TCplx& Value)
{
    if (Elements() == 0) return *this;
    TCheck(FConditionCheck).Always(!FComplex, msg::kMtxOffsetNotComplex);
    nspzbAdd1(Value, CValues(), static_cast<int>(Elements()));
    return *this;
}

TMtx1& TMtx1::ThreshBottom(double Value)
{
    const int n = static_cast<int>(Elements());
    if (n == 0) return *this;
    if (FComplex)
        nspzbThresh1(CValues(), n, Value, NSP_LT);
    else
        nspdbThresh1(FValues, n, Value, NSP_LT);
    return *this;
}

TMtx1& TMtx1::ThreshTop(double Value)
{
    const int n = static_cast<int>(Elements());
    if (n == 0) return *this;
    if (FComplex)
        nspzbThresh1(CValues(), n, Value, NSP_GT);
    else
        nspdbThresh1(FValues, n, Value, NSP_GT);
    return *this;
}

TMtx1& TMtx1::Add(const TMtx1& Mtx, double Re, double Im)
{
    TCheck(FConditionCheck)
        .Gated(Mtx.FRows != FRows, msg::kMtxRowsRows)
        .Gated(Mtx.FCols != FCols, msg::kMtxColsCols)
        .Always(Mtx.FComplex != FComplex, msg::kMtxComplex)
        .Gated(&Mtx == this, msg::kMtxSelf)
        .Always(Mtx.Elements() < Elements(), msg::kMtxRowsRows);
    if (ElementsOf(Mtx) == 0) return *this;
    if (Re == 1 && Im == 0) {
        WithOperand(*this, Mtx, Numbers(), nspdbAdd2);
        return *this;
    }
    TCheck(FConditionCheck).Always(!FComplex && Im != 0, msg::kMtxAddNotComplex);
    if (Elements() == 0) return *this;
    detail::TLazyTemp t;
    const double* src = detail::Detached(Mtx.FValues, Numbers(), FValues, Numbers(), true, t);
    detail::Axpy(FComplex, static_cast<int>(Elements()), Re, Im, src, FValues);
    return *this;
}

TMtx1& TMtx1::Sub(const TMtx1& Mtx)
{
    TCheck(FConditionCheck)
        .Gated(Mtx.FRows == 0, msg::kMtxRowsZero)
        .Gated(Mtx.FCols == 0, msg::kMtxColsZero)
        .Gated(Mtx.FRows != FRows, msg::kMtxRowsRows)
        .Gated(Mtx.FCols != FCols, msg::kMtxColsCols)
        .Always(Mtx.FComplex != FComplex, msg::kMtxComplex)
        .Gated(&Mtx == this, msg::kMtxSelf)
        .Always(Mtx.Elements() < Elements(), msg::kMtxRowsRows);
    WithOperand(*this, Mtx, Numbers(), nspdbSub2);
    return *this;
}

TMtx1& TMtx1::MulElem(const TMtx1& Mtx)
{
    // The product runs over Mtx's elements: a larger Mtx is refused always.
    TCheck(FConditionCheck)
        .Gated(Mtx.Elements() == 0, msg::kLengthZero)
        .Always(Mtx.FComplex != FComplex, msg::kComplexVec)
        .Gated(Mtx.Elements() != Elements(), msg::kMtxCountRowsCols)
        .Gated(&Mtx == this, msg::kMtxSelf)
        .Always(Mtx.Elements() > Elements(), msg::kMtxCountRowsCols);
    if (FComplex) {
        WithOperand(*this, Mtx, Mtx.Numbers(), [](const double* S, double* D, int N) { nspzbMpy2(C(S), C(D), N / 2); });
    } else {
        WithOperand(*this, Mtx, Mtx.Numbers(), nspdbMpy2);
    }
    return *this;
}

TMtx1& TMtx1::Round(const TMtx1& Mtx)
{
    RoundInto(*this, Mtx, true);
    return *this;
}

TMtx& TMtx::Round()
{
    TMtx1::Round(*this);
    return *this;
}

TMtx1& TMtx1::Trunc()
{
    RoundInto(*this, *this, false);
    return *this;
}

TMtx& TMtx::Trunc(const TMtx1& Mtx)
{
    RoundInto(*this, Mtx, false);
    return *this;
}

// ---- From other matrices ----------------------------------------------------------------------------------------

TMtx& TMtx::Abs(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Always(&Mtx == this, msg::kSelfMtx);
    if (ElementsOf(Mtx) == 0) return *this;
    if (Mtx.Complex()) {
        Mag(Mtx);
        return *this;
    }
    FromMtxDoubles(*this, Mtx, nspdbAbs2);
    return *this;
}

TMtx& TMtx::Conj(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Always(&Mtx == this, msg::kSelfMtx);
    if (Mtx.Complex()) {
        FromMtx(*this, Mtx, true,
                [](const double* S, double* D, std::int64_t N) { nspzbConj2(C(S), C(D), static_cast<int>(N)); });
    } else {
        FromMtxDoubles(*this, Mtx, nspdbCopy);
    }
    return *this;
}

TMtx& TMtx::InvElem(const TMtx1& Mtx, double Threshold)
{
    TCheck(FConditionCheck).Always(&Mtx == this, msg::kSelfSrcMtx);
    FromMtx(*this, Mtx, Mtx.Complex(), [&](const double* S, double* D, std::int64_t N) {
        if (Mtx.Complex())
            nspzbInvThresh2(C(S), C(D), static_cast<int>(N), Threshold);
        else
            nspdbInvThresh2(S, D, static_cast<int>(N), Threshold);
    });
    return *this;
}

TMtx& TMtx::SqrElem(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Always(&Mtx == this, msg::kMtxSelf);
    if (ElementsOf(Mtx) == 0) return *this;
    FromMtx(*this, Mtx, Mtx.Complex(), [&](const double* S, double* D, std::int64_t N) {
        if (Mtx.Complex())
            nspzbSqr2(C(S), C(D), static_cast<int>(N));
        else
            nspdbSqr2(S, D, static_cast<int>(N));
    });
    return *this;
}

TMtx& TMtx::SqrtElem(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Always(&Mtx == this, msg::kMtxSelf);
    if (ElementsOf(Mtx) == 0) return *this;
    FromMtx(*this, Mtx, Mtx.Complex(), [&](const double* S, double* D, std::int64_t N) {
        const int n = static_cast<int>(N);
        if (Mtx.Complex())
            nspzbSqrt2(C(S), C(D), n);
        else
            VDSQRT(&n, S, D);
    });
    return *this;
}

namespace {

void Clip(TMtx& Self, const TMtx1& Mtx, double Value, int Relation)
{
    TCheck(Self.ConditionCheck()).Always(&Mtx == &Self, msg::kMtxSelf);
    if (Mtx.Rows() == 0 || Mtx.Cols() == 0) return;
    FromMtx(Self, Mtx, Mtx.Complex(), [&](const double* S, double* D, std::int64_t N) {
        if (Mtx.Complex())
            nspzbThresh2(C(S), C(D), static_cast<int>(N), Value, Relation);
        else
            nspdbThresh2(S, D, static_cast<int>(N), Value, Relation);
    });
}

// Self := Mtx1 ∘ Mtx2 on Doubles, sized like Mtx1 (checks done, Mtx2 holding at least Mtx1's Doubles).
template <class K3>
void FromTwo(TMtx& Self, const TMtx1& Mtx1, const TMtx1& Mtx2, const K3& Kernel)
{
    detail::TLazyTemp t1, t2;
    const double* a = detail::Held(Mtx1, {&Self}, t1);
    const double* b = detail::Held(Mtx2, {&Self}, t2);
    Self.Size(Mtx1.Rows(), Mtx1.Cols(), Mtx1.Complex());
    double* d = Self.Values();
    detail::IntSpans(DoublesOf(Self), [&](std::int64_t Lo, int N) { Kernel(a + Lo, b + Lo, d + Lo, N); });
}

}  // namespace

TMtx& TMtx::ThreshBottom(const TMtx1& Mtx, double Value)
{
    Clip(*this, Mtx, Value, NSP_LT);
    return *this;
}

TMtx& TMtx::ThreshTop(const TMtx1& Mtx, double Value)
{
    Clip(*this, Mtx, Value, NSP_GT);
    return *this;
}

TMtx& TMtx::Add(const TMtx1& Mtx1, const TMtx1& Mtx2)
{
    TCheck(FConditionCheck)
        .Gated(Mtx2.Rows() != Mtx1.Rows(), msg::kMtx2Mtx1Rows)
        .Gated(Mtx2.Cols() != Mtx1.Cols(), msg::kMtx2Mtx1Cols)
        .Always(Mtx1.Complex() != Mtx2.Complex(), msg::kMul12Complex)
        .Gated(&Mtx1 == this || &Mtx2 == this, msg::kMulSelf)
        .Always(ElementsOf(Mtx2) < ElementsOf(Mtx1), msg::kMtx2Mtx1Rows);
    if (ElementsOf(Mtx1) == 0) {
        Size(0, 0, Mtx1.Complex());
        return *this;
    }
    FromTwo(*this, Mtx1, Mtx2, nspdbAdd3);
    return *this;
}

TMtx& TMtx::Sub(const TMtx1& Mtx1, const TMtx1& Mtx2)
{
    TCheck(FConditionCheck)
        .Gated(ElementsOf(Mtx1) == 0, msg::kMtx1Empty)
        .Gated(Mtx1.Rows() != Mtx2.Rows(), msg::kMulRowsRows)
        .Gated(Mtx1.Cols() != Mtx2.Cols(), msg::kMulColsCols)
        .Always(Mtx1.Complex() != Mtx2.Complex(), msg::kMul12Complex)
        .Gated(&Mtx1 == this || &Mtx2 == this, msg::kMulSelf)
        .Always(ElementsOf(Mtx2) < ElementsOf(Mtx1), msg::kMulRowsRows);
    FromTwo(*this, Mtx1, Mtx2, nspdbSub3);
    return *this;
}

TMtx& TMtx::MulElem(const TMtx1& Mtx1, const TMtx1& Mtx2)
{
    // Self may be Mtx2 (the product is element for element); the counts are compared always.
    TCheck(FConditionCheck)
        .Always(Mtx1.Complex() != Mtx2.Complex(), msg::kMul12Complex)
        .Gated(ElementsOf(Mtx1) != ElementsOf(Mtx2), msg::kMtx1Count)
        .Gated(&Mtx1 == this, msg::kMulElemSelf)
        .Always(ElementsOf(Mtx2) < ElementsOf(Mtx1), msg::kMtx1Count);
    if (Mtx1.Complex()) {
        FromTwo(*this, Mtx1, Mtx2,
                [](const double* A, const double* B, double* D, int N) { nspzbMpy3(C(A), C(B), C(D), N / 2); });
    } else {
        FromTwo(*this, Mtx1, Mtx2, nspdbMpy3);
    }
    return *this;
}

// ---- Complex parts ----------------------------------------------------------------------------------------------

TMtx1& TMtx1::RealPart(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Gated(&Mtx == this, msg::kMtxSelf);
    if (Mtx.FComplex) {
        FromMtx(*this, Mtx, false,
                [](const double* S, double* D, std::int64_t N) { nspzbReal(C(S), D, static_cast<int>(N)); });
    } else {
        FromMtxDoubles(*this, Mtx, nspdbCopy);
    }
    return *this;
}

namespace {

// The checks of ImagPart, Mag and Phase, then Self := the real parts Kernel computes from the complex Mtx.
template <class K>
void PartOf(TMtx1& Self, const TMtx1& Mtx, const K& Kernel)
{
    TCheck(Self.ConditionCheck())
        .Gated(ElementsOf(Mtx) == 0, msg::kMtxRowsCols)
        .Always(!Mtx.Complex() && ElementsOf(Mtx) > 0, msg::kMtxComplexFalse)
        .Gated(&Mtx == &Self, msg::kMtxSelf);
    FromMtx(Self, Mtx, false,
            [&](const double* S, double* D, std::int64_t N) { Kernel(C(S), D, static_cast<int>(N)); });
}

}  // namespace

TMtx1& TMtx1::ImagPart(const TMtx1& Mtx)
{
    PartOf(*this, Mtx, nspzbImag);
    return *this;
}

TMtx1& TMtx1::Mag(const TMtx1& Mtx)
{
    PartOf(*this, Mtx, nspzbMag);
    return *this;
}

TMtx1& TMtx1::Phase(const TMtx1& Mtx)
{
    PartOf(*this, Mtx, nspzbPhase);
    return *this;
}

TMtx1& TMtx1::CartToPolar(TMtx1& AmpltMtx, TMtx1& PhaseMtx)
{
    TCheck(FConditionCheck)
        .Always(!FComplex && Elements() > 0, msg::kNotComplexCap)
        .Gated(!FComplex, msg::kNotComplexCap)
        .Gated(Elements() == 0, msg::kRowsColsZero)
        .Gated(&AmpltMtx == this || &PhaseMtx == this, msg::kSelfAmpltPhaseMtx);
    detail::TLazyTemp t;
    const double* src = detail::Held(*this, {&AmpltMtx, &PhaseMtx}, t);
    const int rows = FRows, cols = FCols;
    const int n = static_cast<int>(Elements());
    AmpltMtx.Size(rows, cols, false);
    PhaseMtx.Size(rows, cols, false);
    if (n > 0) nspzbCartToPolar(C(src), AmpltMtx.FValues, PhaseMtx.FValues, n);
    return *this;
}

TMtx1& TMtx1::PolarToCart(const TMtx1& AmpltMtx, const TMtx1& PhaseMtx)
{
    TCheck(FConditionCheck)
        .Gated(AmpltMtx.Elements() == 0, msg::kAmpltMtxEmpty)
        .Gated(PhaseMtx.FRows != AmpltMtx.FRows, msg::kPhaseAmpltRows)
        .Gated(PhaseMtx.FCols != AmpltMtx.FCols, msg::kPhaseAmpltCols)
        .Gated(AmpltMtx.FComplex, msg::kAmpltMtxComplex)
        .Gated(PhaseMtx.FComplex, msg::kPhaseMtxComplex)
        .Gated(&AmpltMtx == this || &PhaseMtx == this, msg::kSelfAmpltPhaseMtx)
        .Always(PhaseMtx.Elements() < AmpltMtx.Elements(), msg::kPhaseAmpltRows);
    detail::TLazyTemp t1, t2;
    const double* a = detail::Held(AmpltMtx, {this}, t1);
    const double* p = detail::Held(PhaseMtx, {this}, t2);
    Size(AmpltMtx.FRows, AmpltMtx.FCols, true);
    if (Elements() > 0) nspzbPolarToCart(a, p, CValues(), static_cast<int>(Elements()));
    return *this;
}

TMtx1& TMtx1::RealToCplx(const TMtx1& ReMtx, const TMtx1& ImMtx)
{
    TCheck(FConditionCheck)
        .Gated(ReMtx.Elements() == 0, msg::kReMtxEmpty)
        .Gated(ImMtx.Elements() == 0, msg::kImMtxEmpty)
        .Gated(ReMtx.FRows != ImMtx.FRows, msg::kReImRows)
        .Gated(ReMtx.FCols != ImMtx.FCols, msg::kReImCols)
        .Gated(&ReMtx == this || &ImMtx == this, msg::kSelfReImMtx)
        .Always(ImMtx.Elements() < ReMtx.Elements(), msg::kReImRows);
    detail::TLazyTemp t1, t2;
    const double* re = detail::Held(ReMtx, {this}, t1);
    const double* im = detail::Held(ImMtx, {this}, t2);
    Size(ReMtx.FRows, ReMtx.FCols, true);
    if (Elements() > 0) nspzb2RealToCplx(re, im, CValues(), static_cast<int>(Elements()));
    return *this;
}

}  // namespace tarnel

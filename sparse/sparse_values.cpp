// TSparseMtx: functions of the stored values.
//
// Every member hands the value vector to the vector operation of its name; implicit zeros are never touched. The
// source forms go through FromSource, which gives Self Src's pattern as well as its size, so a fresh matrix (or one
// with another pattern) becomes a valid copy of Src's shape with the function's values.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Dovi387.h"
#include "core/TempGuard.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

template <class Op>
TSparseMtx1& TSparseMtx1::FromSource(const TSparseMtx& Src, Op&& F)
{
    if (&Src == this) {
        // The vector operations refuse Self as their source: the values go through a copy.
        detail::TVecTemp own;
        own->Copy(*FValues);
        F(*FValues, *own);
        return *this;
    }
    Src.CheckPattern(false);
    // The operation sizes the values like Src's (DoSetCols keeps Complex and NonZeros with them); the pattern is
    // copied afterwards, so it cannot be cut or regrown by a switch of kind on the way.
    F(*FValues, *Src.FValues);
    FRows = Src.FRows;
    FColPointers = Src.FColPointers;
    FCols = Src.FCols;
    FRowIndices.assign(Src.FRowIndices.begin(), Src.FRowIndices.begin() + Src.FNonZeros);
    return *this;
}

void TSparseMtx1::CheckSamePattern(const TSparseMtx& A, const TSparseMtx& B, const char* Msg)
{
    if (!A.IsEqualSize(B)) ERaise(Msg);
    A.CheckPattern(false);
    B.CheckPattern(false);
    const auto rows = static_cast<std::ptrdiff_t>(A.FNonZeros);
    if (A.FColPointers != B.FColPointers ||
        !std::equal(A.FRowIndices.begin(), A.FRowIndices.begin() + rows, B.FRowIndices.begin()))
        ERaise(Msg);
}

const TVec& TSparseMtx1::OperandValues(const TSparseMtx& M, detail::TVecTemp& Own) const
{
    if (&M != this) return *M.FValues;
    Own->Copy(*FValues);
    return *Own;
}

#define TARNEL_SPARSE_FROM_SOURCE(Name)                                            \
    TSparseMtx1& TSparseMtx1::Name(const TSparseMtx& Src)                          \
    {                                                                              \
        return FromSource(Src, [](TVec& Dst, const TVec& Vec) { Dst.Name(Vec); }); \
    }
TARNEL_SPARSE_FROM_SOURCE_LIST(TARNEL_SPARSE_FROM_SOURCE)
#undef TARNEL_SPARSE_FROM_SOURCE

#define TARNEL_SPARSE_IN_PLACE(Name) \
    TSparseMtx2& TSparseMtx2::Name() \
    {                                \
        FValues->Name();             \
        return *this;                \
    }
TARNEL_SPARSE_IN_PLACE_LIST(TARNEL_SPARSE_IN_PLACE)
TARNEL_SPARSE_IN_PLACE(SetZero)
#undef TARNEL_SPARSE_IN_PLACE

TSparseMtx1& TSparseMtx1::ArcSinh(const TSparseMtx& Src)
{
    return FromSource(Src, [](TVec& Dst, const TVec& Vec) { Dst.ArcSinh(Vec, 0, 0, -1); });
}

TSparseMtx1& TSparseMtx1::ExtendToComplex(const TSparseMtx& Src, bool Zeros)
{
    return FromSource(Src, [Zeros](TVec& Dst, const TVec& Vec) { Dst.ExtendToComplex(Vec, Zeros); });
}

TSparseMtx1& TSparseMtx1::IntPower(const TSparseMtx& Src, int N)
{
    return FromSource(Src, [N](TVec& Dst, const TVec& Vec) { Dst.IntPower(Vec, N); });
}

TSparseMtx1& TSparseMtx1::Power(const TSparseMtx& Src, const TCplx& Exponent)
{
    return FromSource(Src, [&Exponent](TVec& Dst, const TVec& Vec) { Dst.Power(Vec, Exponent); });
}

TSparseMtx1& TSparseMtx1::LogN(double Base, const TSparseMtx& Src)
{
    return FromSource(Src, [Base](TVec& Dst, const TVec& Vec) { Dst.LogN(Base, Vec); });
}

TSparseMtx1& TSparseMtx1::InvElem(const TSparseMtx& Src, double Threshold)
{
    return FromSource(Src, [Threshold](TVec& Dst, const TVec& Vec) { Dst.Inv(Vec, Threshold); });
}

TSparseMtx1& TSparseMtx1::Normalize(const TSparseMtx& Src, double Offset, double Factor)
{
    return FromSource(Src, [Offset, Factor](TVec& Dst, const TVec& Vec) { Dst.Normalize(Vec, Offset, Factor); });
}

TSparseMtx1& TSparseMtx1::ThreshBottom(const TSparseMtx& Src, double Value)
{
    return FromSource(Src, [Value](TVec& Dst, const TVec& Vec) { Dst.ThreshBottom(Vec, Value); });
}

TSparseMtx1& TSparseMtx1::ThreshTop(const TSparseMtx& Src, double Value)
{
    return FromSource(Src, [Value](TVec& Dst, const TVec& Vec) { Dst.ThreshTop(Vec, Value); });
}

TSparseMtx1& TSparseMtx1::Offset(double Value)
{
    FValues->Offset(Value);
    return *this;
}

TSparseMtx1& TSparseMtx1::Scale(double Value)
{
    FValues->Scale(Value);
    return *this;
}

TSparseMtx1& TSparseMtx1::SetVal(double Value)
{
    FValues->SetVal(Value);
    return *this;
}

TSparseMtx1& TSparseMtx1::Sign()
{
    FValues->Scale(-1.0);
    return *this;
}

void TSparseMtx1::Sum(TCplx& Value) const
{
    FValues->Sum(Value);
}

void TSparseMtx1::Mean(TCplx& Value) const
{
    FValues->Mean(Value);
}

int TSparseMtx1::Max(TCplx& Value) const
{
    return FValues->Max(Value, 0, FValues->Length());
}

int TSparseMtx1::Min(TCplx& Value) const
{
    return FValues->Min(Value, 0, FValues->Length());
}

int TSparseMtx1::Find(double Value) const
{
    return FValues->Find(Value);
}

TSparseMtx1& TSparseMtx1::DivideElem(const TSparseMtx& Sparse)
{
    CheckSamePattern(static_cast<const TSparseMtx&>(*this), Sparse, msg::sparse::kNotEqualSparse);
    detail::TVecTemp own;
    FValues->Divide(OperandValues(Sparse, own), 0);
    return *this;
}

TSparseMtx1& TSparseMtx1::MulElem(const TSparseMtx& Sparse)
{
    CheckSamePattern(static_cast<const TSparseMtx&>(*this), Sparse, msg::sparse::kNotEqualSparseBang);
    detail::TVecTemp own;
    FValues->Mul(OperandValues(Sparse, own));
    return *this;
}

TSparseMtx1& TSparseMtx1::ConjMulElem(const TSparseMtx& Sparse)
{
    CheckSamePattern(static_cast<const TSparseMtx&>(*this), Sparse, msg::sparse::kNotEqualSparseBang);
    detail::TVecTemp own;
    FValues->ConjMul(OperandValues(Sparse, own));
    return *this;
}

void TSparseMtx1::CplxToReal(TSparseMtx& ReSparse, TSparseMtx& ImSparse) const
{
    // The parts go to temporaries first: either output may be Self.
    detail::TVecTemp re, im;
    FValues->CplxToReal(*re, *im);
    PartsTo(ReSparse, *re, ImSparse, *im);
}

void TSparseMtx1::CartToPolar(TSparseMtx& AmpltSparse, TSparseMtx& PhaseSparse) const
{
    detail::TVecTemp amplt, phase;
    FValues->CartToPolar(*amplt, *phase);
    PartsTo(AmpltSparse, *amplt, PhaseSparse, *phase);
}

void TSparseMtx1::PartsTo(TSparseMtx& A, const TVec& AValues, TSparseMtx& B, const TVec& BValues) const
{
    const auto& self = static_cast<const TSparseMtx&>(*this);
    A.FromSource(self, [&AValues](TVec& Dst, const TVec&) { Dst.Copy(AValues); });
    B.FromSource(&B == this ? self : A, [&BValues](TVec& Dst, const TVec&) { Dst.Copy(BValues); });
}

// ---- TSparseMtx2 ------------------------------------------------------------------------------------------------

TSparseMtx2& TSparseMtx2::ExtendToComplex(bool Zeros)
{
    FValues->ExtendToComplex(Zeros);
    return *this;
}

TSparseMtx2& TSparseMtx2::IntPower(int N)
{
    FValues->IntPower(N);
    return *this;
}

TSparseMtx2& TSparseMtx2::Power(double Exponent)
{
    FValues->Power(*FValues, Exponent);
    return *this;
}

TSparseMtx2& TSparseMtx2::LogN(double Base)
{
    FValues->LogN(Base);
    return *this;
}

TSparseMtx2& TSparseMtx2::InvElem(double Threshold)
{
    FValues->Inv(Threshold);
    return *this;
}

TSparseMtx2& TSparseMtx2::ThreshBottom(double Value)
{
    FValues->ThreshBottom(Value);
    return *this;
}

TSparseMtx2& TSparseMtx2::ThreshTop(double Value)
{
    FValues->ThreshTop(Value);
    return *this;
}

TSparseMtx2& TSparseMtx2::Offset(const TCplx& Value)
{
    FValues->Offset(Value);
    return *this;
}

TSparseMtx2& TSparseMtx2::Scale(const TCplx& Value)
{
    FValues->Scale(Value);
    return *this;
}

TSparseMtx2& TSparseMtx2::SetVal(const TCplx& Value)
{
    FValues->SetVal(Value);
    return *this;
}

TSparseMtx2& TSparseMtx2::Normalize(const TSparseMtx& Src, const TCplx& Offset, double Factor)
{
    FromSource(Src, [&Offset, Factor](TVec& Dst, const TVec& Vec) { Dst.Normalize(Vec, Offset, Factor); });
    return *this;
}

TSparseMtx2& TSparseMtx2::PowerSparse(const TSparseMtx& Base, const TSparseMtx& Exponent)
{
    detail::TVecTemp own;
    const TVec& exponent = OperandValues(Exponent, own);
    FromSource(Base, [&exponent](TVec& Dst, const TVec& Vec) { Dst.PowerVec(Vec, exponent); });
    return *this;
}

TSparseMtx2& TSparseMtx2::DivideElem(const TSparseMtx& Num, const TSparseMtx& Den)
{
    CheckSamePattern(Num, Den, msg::sparse::kNotEqualDen);
    detail::TVecTemp own;
    const TVec& den = OperandValues(Den, own);
    FromSource(Num, [&den](TVec& Dst, const TVec& Vec) { Dst.Divide(Vec, den, 0); });
    return *this;
}

TSparseMtx2& TSparseMtx2::MulElem(const TSparseMtx& Sparse1, const TSparseMtx& Sparse2)
{
    CheckSamePattern(Sparse1, Sparse2, msg::sparse::kNotEqualSparse12);
    detail::TVecTemp own;
    const TVec& second = OperandValues(Sparse2, own);
    FromSource(Sparse1, [&second](TVec& Dst, const TVec& Vec) { Dst.Mul(Vec, second); });
    return *this;
}

TSparseMtx2& TSparseMtx2::RealToCplx(const TSparseMtx& ReSparse, const TSparseMtx& ImSparse)
{
    CheckSamePattern(ReSparse, ImSparse, msg::sparse::kNotEqualReIm);
    detail::TVecTemp own;
    const TVec& im = OperandValues(ImSparse, own);
    FromSource(ReSparse, [&im](TVec& Dst, const TVec& Vec) { Dst.RealToCplx(Vec, im); });
    return *this;
}

TSparseMtx2& TSparseMtx2::PolarToCart(const TSparseMtx& AmpltSparse, const TSparseMtx& PhaseSparse)
{
    CheckSamePattern(AmpltSparse, PhaseSparse, msg::sparse::kNotEqualAmpltPhase);
    detail::TVecTemp own;
    const TVec& phase = OperandValues(PhaseSparse, own);
    FromSource(AmpltSparse, [&phase](TVec& Dst, const TVec& Vec) { Dst.PolarToCart(Vec, phase); });
    return *this;
}

double TSparseMtx2::Sum() const
{
    return FValues->Sum();
}

namespace {

// Rows·Cols in 64 bits: the count of elements, implicit zeros included.
double ElementCount(int Rows, int Cols)
{
    return static_cast<double>(static_cast<std::int64_t>(Rows) * static_cast<std::int64_t>(Cols));
}

}  // namespace

double TSparseMtx2::Mean() const
{
    const double n = ElementCount(FRows, FCols);
    return n > 0 ? FValues->Sum() / n : 0.0;
}

double TSparseMtx2::RMS() const
{
    const double n = ElementCount(FRows, FCols);
    if (n <= 0 || FNonZeros == 0) return 0.0;
    const double r = FValues->RMS();
    return std::sqrt(r * r * FNonZeros / n);
}

double TSparseMtx2::Max() const
{
    return FValues->Max();
}

double TSparseMtx2::Min() const
{
    return FValues->Min();
}

int TSparseMtx2::Find(const TCplx& Value) const
{
    return FValues->Find(Value);
}

}  // namespace tarnel

// Arithmetic of vectors on one operand: scaling, offsetting, thresholded reciprocals, squares and square roots,
// cube roots, their reciprocals, absolute values, negation, clipping, and the complex product of a range.
//
// Real data run the signal library's nspdb... routines and the vector-math routines (VDSQRT, VDINVSQRT, VDCBRT,
// VDINVCBRT); complex data nspzb... routines, and the complex cube roots exp(±ln(z)/3) through the complex power of
// arrays (vec_exp.cpp). The forms from a source size Self like it; the range forms neither resize Self nor change
// its kind.
#include <cmath>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"

namespace tarnel {

using detail::At;
using detail::FromVec;
using detail::InPlace;
using detail::Numbers;
using detail::OnRangeOf;
using detail::TCheck;

namespace {

const TCplx* C(const double* P)
{
    return reinterpret_cast<const TCplx*>(P);
}

TCplx* C(double* P)
{
    return reinterpret_cast<TCplx*>(P);
}

int Count(std::int64_t N)
{
    return static_cast<int>(N);
}

// ---- Kernels: Dst := f(Src) over N Doubles of the given kind; Dst may be Src ----------------------------------

void SqrOf(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    if (Complex)
        nspzbSqr2(C(Src), C(Dst), Count(N / 2));
    else
        nspdbSqr2(Src, Dst, Count(N));
}

void SqrtOf(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    const int n = Count(N);
    if (Complex)
        nspzbSqrt2(C(Src), C(Dst), n / 2);
    else
        VDSQRT(&n, Src, Dst);
}

void InvSqrtOf(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    const int n = Count(N);
    if (!Complex) return VDINVSQRT(&n, Src, Dst);
    nspzbSqrt2(C(Src), C(Dst), n / 2);
    nspzbInvThresh1(C(Dst), n / 2, detail::kRecipThreshold0);
}

void CbrtOf(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    const int n = Count(N);
    if (Complex)
        detail::ComplexPower(C(Src), C(Dst), n / 2, detail::kThird);
    else
        VDCBRT(&n, Src, Dst);
}

// Complex data: exp(-ln(z)/3).
void InvCbrtOf(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    const int n = Count(N);
    if (Complex)
        detail::ComplexPower(C(Src), C(Dst), n / 2, detail::kMinusThird);
    else
        VDINVCBRT(&n, Src, Dst);
}

// A kernel with one parameter bound: the thresholded reciprocal and the clipping.
auto InvOf(double Threshold)
{
    return [Threshold](bool Complex, const double* Src, double* Dst, std::int64_t N) {
        if (Complex)
            nspzbInvThresh2(C(Src), C(Dst), Count(N / 2), Threshold);
        else
            nspdbInvThresh2(Src, Dst, Count(N), Threshold);
    };
}

auto ClipOf(double Value, int Relation)
{
    return [Value, Relation](bool Complex, const double* Src, double* Dst, std::int64_t N) {
        if (Complex)
            nspzbThresh2(C(Src), C(Dst), Count(N / 2), Value, Relation);
        else
            nspdbThresh2(Src, Dst, Count(N), Value, Relation);
    };
}

// The usual range checks, then the kernel.
template <class F>
void CheckedRange(TVecs& Self, const TVecs& Vec, int VecIndex, int Index, int Len, const F& Kernel)
{
    detail::CheckRange(Self, Vec, VecIndex, Index, Len);
    OnRangeOf(Self, Vec, VecIndex, Index, Len, Kernel);
}

// The checks of the in-place range forms of Scale and Offset (always run): negatives, then Index + Len.
void CheckOwnRange(const TVecs& Self, int Index, int Len, const char* BoundText)
{
    TCheck(Self)
        .Negative({Len, Index}, msg::kNegIndexLen)
        .Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), BoundText);
}

// Self[Index .. Index+Len-1] := Self·Factor, or + Value (Add): complex ranges take the complex scalar; real ranges
// its real part, after refusing an imaginary part (NotComplexText). Checks done, Len > 0.
void ComplexScalarOnRange(TVecs& Self, const TCplx& Scalar, int Index, int Len, bool Add, const char* NotComplexText)
{
    double* d = At(Self, Index);
    if (Self.Complex()) {
        if (Add)
            nspzbAdd1(Scalar, C(d), Len);
        else
            nspzbMpy1(Scalar, C(d), Len);
        return;
    }
    TCheck(Self).Always(Scalar.Im != 0, NotComplexText);
    if (Add)
        nspdbAdd1(Scalar.Re, d, Len);
    else
        nspdbMpy1(Scalar.Re, d, Len);
}

}  // namespace

// ---- Scaling and offsetting -------------------------------------------------------------------------------------

TVecs& TVecs::Scale(double Factor)
{
    if (FLength > 0 && Factor != 1) nspdbMpy1(Factor, FValues, Count(Numbers(*this)));
    return *this;
}

TVec& TVec::Scale(const TCplx& Factor)
{
    if (FLength > 0) ComplexScalarOnRange(*this, Factor, 0, FLength, false, msg::kScaleNotComplex);
    return *this;
}

TVec1& TVec1::Scale(double Factor, int Index, int Len)
{
    if (Len == 0) return *this;
    CheckOwnRange(*this, Index, Len, msg::kCopyIndexLen);
    // Both parts of complex elements, Double by Double.
    nspdbMpy1(Factor, At(*this, Index), Len * (FComplex ? 2 : 1));
    return *this;
}

TVec0& TVec0::Scale(const TCplx& Factor, int Index, int Len)
{
    if (Len == 0) return *this;
    CheckOwnRange(*this, Index, Len, msg::kCopyIndexLen);
    ComplexScalarOnRange(*this, Factor, Index, Len, false, msg::kScaleNotComplex);
    return *this;
}

TVecs& TVecs::Offset(double Value)
{
    if (FLength == 0) return *this;
    if (FComplex)
        nspzbAdd1(TCplx{Value, 0.0}, CValues(), FLength);
    else
        nspdbAdd1(Value, FValues, FLength);
    return *this;
}

TVec1& TVec1::Offset(double Value, int Index, int Len)
{
    CheckOwnRange(*this, Index, Len, msg::kIndexLen);
    // Complex elements get Value + 0i, as in the whole-vector form.
    if (Len > 0) ComplexScalarOnRange(*this, TCplx{Value, 0.0}, Index, Len, true, msg::kOffsetNotComplex);
    return *this;
}

TVec0& TVec0::Offset(const TCplx& Value, int Index, int Len)
{
    CheckOwnRange(*this, Index, Len, msg::kIndexLen);
    if (Len > 0) ComplexScalarOnRange(*this, Value, Index, Len, true, msg::kOffsetNotComplex);
    return *this;
}

TVecs& TVecs::Sign()
{
    return Scale(-1);
}

// ---- Reciprocals ------------------------------------------------------------------------------------------------

TVecs& TVecs::Inv(double Threshold)
{
    // The in-place form compares complex elements with the root of the threshold.
    InPlace(*this, InvOf(FComplex ? std::sqrt(Threshold) : Threshold));
    return *this;
}

TVec& TVec::Inv(const TVecs& Vec, double Threshold)
{
    FromVec(*this, Vec, InvOf(Threshold));
    return *this;
}

TVec1& TVec1::Inv(const TVecs& Vec, double Threshold, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, InvOf(Threshold));
    return *this;
}

// ---- Squares and square roots -----------------------------------------------------------------------------------

TVecs& TVecs::Sqr()
{
    InPlace(*this, SqrOf);
    return *this;
}

TVec& TVec::Sqr(const TVecs& Vec)
{
    FromVec(*this, Vec, SqrOf);
    return *this;
}

TVec1& TVec1::Sqr(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    // The usual checks, with a text of its own for negative arguments.
    const int w = detail::Width(*this);
    TCheck(*this)
        .Negative({Len, Index, VecIndex}, msg::kSqrNeg)
        .Bound(Vec, VecIndex, Len, w, msg::kVecIndexLen)
        .Bound(*this, Index, Len, w, msg::kIndexLen)
        .Gated(FComplex != Vec.Complex(), msg::kComplexVec)
        .Gated(&Vec == this, msg::kSelfVec)
        .Done();
    OnRangeOf(*this, Vec, VecIndex, Index, Len, SqrOf);
    return *this;
}

TVecs& TVecs::Sqrt()
{
    InPlace(*this, SqrtOf);
    return *this;
}

TVec& TVec::Sqrt(const TVecs& Vec)
{
    FromVec(*this, Vec, SqrtOf);
    return *this;
}

TVec1& TVec1::Sqrt(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, SqrtOf);
    return *this;
}

TVecs& TVecs::InvSqrt()
{
    InPlace(*this, InvSqrtOf);
    return *this;
}

TVec& TVec::InvSqrt(const TVecs& Vec)
{
    FromVec(*this, Vec, InvSqrtOf);
    return *this;
}

TVec1& TVec1::InvSqrt(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, InvSqrtOf);
    return *this;
}

// ---- Cube roots -------------------------------------------------------------------------------------------------

TVecs& TVecs::Cbrt()
{
    InPlace(*this, CbrtOf);
    return *this;
}

TVec0& TVec0::Cbrt(const TVecs& Vec)
{
    FromVec(*this, Vec, CbrtOf);
    return *this;
}

TVec1& TVec1::Cbrt(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, CbrtOf);
    return *this;
}

TVecs& TVecs::InvCbrt()
{
    InPlace(*this, InvCbrtOf);
    return *this;
}

TVec& TVec::InvCbrt(const TVecs& Vec)
{
    // Complex data: (1/z)^(1/3). The reciprocal keeps the sign of a zero part, so on the negative real axis this
    // agrees with exp(-ln(z)/3) of the other forms.
    FromVec(*this, Vec, [](bool Complex, const double* S, double* D, std::int64_t N) {
        if (!Complex) return InvCbrtOf(false, S, D, N);
        const int n = Count(N / 2);
        nspzbInvThresh2(C(S), C(D), n, detail::kRecipThreshold0);
        detail::ComplexPower(C(D), C(D), n, detail::kThird);
    });
    return *this;
}

TVec1& TVec1::InvCbrt(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, InvCbrtOf);
    return *this;
}

// ---- Absolute values --------------------------------------------------------------------------------------------

TVecs& TVecs::Abs()
{
    if (FLength == 0) return *this;
    TCheck(*this).Always(FComplex, msg::kAbsComplex);
    nspdbAbs1(FValues, FLength);
    return *this;
}

TVec& TVec::Abs(const TVecs& Vec)
{
    TCheck(*this).Always(&Vec == this, msg::kSelfVec);
    if (Vec.Complex()) {
        Mag(Vec);
        return *this;
    }
    FromVec(*this, Vec, [](bool, const double* S, double* D, std::int64_t N) { nspdbAbs2(S, D, Count(N)); });
    return *this;
}

TVec1& TVec1::Abs(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    // Self receives real values: a complex Self would be written at the wrong addresses.
    TCheck(*this)
        .Gated(Vec.Length() == 0, msg::kVecLengthZero)
        .Bound(Vec, VecIndex, Len, detail::Width(Vec), msg::kVecIndexLen)
        .Bound(*this, Index, Len, 1, msg::kIndexLen)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Gated(&Vec == this, msg::kSelfVec)
        .Always(FComplex, msg::kAbsComplex)
        .Done();
    if (Vec.Complex()) return Mag(Vec, VecIndex, Index, Len);
    OnRangeOf(*this, Vec, VecIndex, Index, Len,
              [](bool, const double* S, double* D, std::int64_t N) { nspdbAbs2(S, D, Count(N)); });
    return *this;
}

// ---- Clipping ---------------------------------------------------------------------------------------------------

TVecs& TVecs::ThreshBottom(double Value)
{
    InPlace(*this, ClipOf(Value, NSP_LT));
    return *this;
}

TVecs& TVecs::ThreshTop(double Value)
{
    InPlace(*this, ClipOf(Value, NSP_GT));
    return *this;
}

TVec& TVec::ThreshBottom(const TVecs& Vec, double Value)
{
    FromVec(*this, Vec, ClipOf(Value, NSP_LT));
    return *this;
}

TVec& TVec::ThreshTop(const TVecs& Vec, double Value)
{
    FromVec(*this, Vec, ClipOf(Value, NSP_GT));
    return *this;
}

TVec1& TVec1::ThreshBottom(const TVecs& Vec, double Value, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, ClipOf(Value, NSP_LT));
    return *this;
}

TVec1& TVec1::ThreshTop(const TVecs& Vec, double Value, int VecIndex, int Index, int Len)
{
    CheckedRange(*this, Vec, VecIndex, Index, Len, ClipOf(Value, NSP_GT));
    return *this;
}

// ---- Product of a range -----------------------------------------------------------------------------------------

void TVec::Product(TCplx& Result, int Index, int Len) const
{
    Result = C_ZERO;
    if (FLength == 0) return;
    TCheck(*this)
        .Negative({Len, Index}, msg::kNegIndexLen)
        .Always(static_cast<std::int64_t>(Index) + Len > FLength, msg::kCopyIndexLen)
        .Always(!FComplex, msg::kComplexFalseLower);
    if (Len == 0) return;
    const TCplx* z = CValues() + Index;
    TCplx r = z[0];
    for (int k = 1; k < Len; ++k) r = CMul(r, z[k]);
    Result = r;
}

}  // namespace tarnel

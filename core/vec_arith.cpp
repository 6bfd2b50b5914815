// Arithmetic of vectors on two operands in every calling form: differences, products, quotients, plain quotients
// (DivideVec), products by a conjugate, first differences and the affine Normalize.
//
// Differences and real products run nspdbSub/nspdbMpy on Doubles (2 per complex element), complex products
// nspzbMpy. A quotient is the product by the divisor's reciprocal, x·(1/y), with the reciprocal of
// nspdbInvThresh2/nspzbInvThresh2; it and the product by a conjugate are fused into one pass over the data (chunk
// by chunk for complex data), with the same bits as the two passes. Real DivideVec divides plainly (VDDIV). Every member checks
// before it changes anything, and reads operands that overlap Self as they were before the call.
#include <algorithm>
#include <cmath>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"

namespace tarnel {

using detail::At;
using detail::Numbers;
using detail::TCheck;
using detail::TStable;
using detail::Width;

namespace {

// The range of squared magnitudes in which the signal library's complex reciprocal is Re/|z|², -Im/|z|².
constexpr double kSafeLow = 1e-290;
constexpr double kSafeHigh = 1e290;

const TCplx* C(const double* P)
{
    return reinterpret_cast<const TCplx*>(P);
}

TCplx* C(double* P)
{
    return reinterpret_cast<TCplx*>(P);
}

void Sub2(const double* Src, double* Dst, std::int64_t Count)
{
    nspdbSub2(Src, Dst, static_cast<int>(Count));
}

void Sub3(const double* A, const double* B, double* Dst, std::int64_t Count)
{
    nspdbSub3(A, B, Dst, static_cast<int>(Count));
}

// Double by Double: real products, and the complex-by-real products of a widened operand.
void Mpy2(const double* Src, double* Dst, std::int64_t Count)
{
    nspdbMpy2(Src, Dst, static_cast<int>(Count));
}

void Mpy3(const double* A, const double* B, double* Dst, std::int64_t Count)
{
    nspdbMpy3(A, B, Dst, static_cast<int>(Count));
}

// Dst := A·B over Count Doubles of the given kind.
void ProductOf(bool Complex, const double* A, const double* B, double* Dst, std::int64_t Count)
{
    if (Complex)
        nspzbMpy3(C(A), C(B), C(Dst), static_cast<int>(Count / 2));
    else
        Mpy3(A, B, Dst, Count);
}

// Dst := A·(1/B), the reciprocals thresholded by the signal library's rule (nspdbInvThresh2, nspzbInvThresh2).
// Real quotients take one pass (detail::ThresholdedQuotient). A complex divisor whose squared magnitude is safely
// inside the Double range and clearly above the threshold's square has the library's reciprocal (Re/|z|²,
// -Im/|z|²) without its hypot; any other goes through nspzbInvThresh2 itself. Either way the bits are those of the
// reciprocal pass followed by the product pass.
void RecipProduct(bool Complex, double Threshold, const double* A, const double* B, double* Dst, std::int64_t Count)
{
    if (!Complex) return detail::ThresholdedQuotient(A, B, Dst, Count, Threshold);
    // Above this squared magnitude (a margin of 2^-40 over the rounding of the squares) hypot(z) >= Threshold.
    const double clear = Threshold * Threshold * (1 + 0x1p-40);
    detail::Chunked(Count / 2, [&](std::int64_t Lo, int N, double*) {
        const TCplx* a = C(A) + Lo;
        const TCplx* b = C(B) + Lo;
        TCplx* d = C(Dst) + Lo;
        for (int k = 0; k < N; ++k) {
            const TCplx z = b[k];
            const double m2 = z.Re * z.Re + z.Im * z.Im;
            TCplx r;
            if (m2 >= kSafeLow && m2 <= kSafeHigh && m2 > clear)
                r = {z.Re / m2, -z.Im / m2};
            else
                nspzbInvThresh2(&z, &r, 1, Threshold);
            d[k] = CMul(a[k], r);
        }
    });
}

// Dst := A·conj(B) over Count Doubles of complex elements.
void ConjProduct(const double* A, const double* B, double* Dst, std::int64_t Count)
{
    detail::Chunked(Count / 2, [&](std::int64_t Lo, int N, double* Scratch) {
        nspzbConj2(C(B + 2 * Lo), C(Scratch), N);
        nspzbMpy3(C(A + 2 * Lo), C(Scratch), C(Dst + 2 * Lo), N);
    });
}

// Dst := A/B: real data plainly (an infinity or NaN for a zero divisor), complex data by the reciprocals with the
// fixed threshold.
void Quotient(bool Complex, const double* A, const double* B, double* Dst, std::int64_t Count)
{
    if (Complex) return RecipProduct(true, detail::kRecipThreshold0, A, B, Dst, Count);
    const int n = static_cast<int>(Count);
    VDDIV(&n, A, B, Dst);
}

// Self := Self ∘ Vec over Self's Length for operands of one kind: Kernel(Self, Vec, Self, Count).
template <class K3>
void SameKinds(TVecs& Self, const TVecs& Vec, const K3& Kernel)
{
    const std::int64_t n = Numbers(Self);
    if (n == 0) return;
    detail::TLazyTemp t;
    const double* src = detail::Detached(Vec.Values(), n, Self.Values(), n, true, t);
    Kernel(Self.Values(), src, Self.Values(), n);
}

// Self := Self·Vec, kinds mixed (a real operand widened as x + i·x), without checks.
void MulInPlace(TVecs& Self, const TVecs& Vec)
{
    if (Self.Complex() && Vec.Complex())
        SameKinds(Self, Vec,
                  [](const double* A, const double* B, double* D, std::int64_t N) { ProductOf(true, A, B, D, N); });
    else
        detail::CombineInPlace(Self, Vec, false, Mpy2, Mpy3);
}

// The checks of the two-source range forms of Sub, Mul and Divide, which differ from the usual ones in their texts:
// NegText for negative arguments and KindText for Vec1 and Self of different kinds.
void CheckRangeOfTwo(const TVecs& Self, const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index,
                     int Len, const char* NegText, const char* KindText)
{
    const int w = Width(Self);
    TCheck(Self)
        .Negative({Len, Index, Vec1Index, Vec2Index}, NegText)
        .Bound(Vec1, Vec1Index, Len, w, msg::kVec1IndexLen)
        .Bound(Vec2, Vec2Index, Len, w, msg::kVec2IndexLen)
        .Bound(Self, Index, Len, w, msg::kIndexLen)
        .Gated(Vec1.Complex() != Vec2.Complex(), msg::kVec1Vec2Complex2)
        .Gated(Vec1.Complex() != Self.Complex(), KindText)
        .Gated(&Self == &Vec1 || &Self == &Vec2, msg::kSelfVec12)
        .Done();
}

// The ungated checks of the two-source forms Sub, Mul and Divide (Vec1, Vec2).
void CheckTwoSources(const TVecs& Self, const TVecs& Vec1, const TVecs& Vec2)
{
    TCheck(Self)
        .Always(Vec1.Length() != Vec2.Length(), msg::kVec12Length)
        .Always(Vec1.Complex() != Vec2.Complex(), msg::kVec1Vec2Complex2)
        .Always(&Self == &Vec1 || &Self == &Vec2, msg::kSelfVec12);
}

// Dst := the N first differences Src[i+1] - Src[i] of elements of W Doubles.
void FirstDifferences(const double* Src, int N, int W, double* Dst)
{
    if (N > 0) nspdbSub3(Src + W, Src, Dst, N * W);
}

}  // namespace

// ---- Differences ------------------------------------------------------------------------------------------------

TVecs& TVecs::Sub(const TVecs& Vec)
{
    TCheck(*this).Always(Vec.Length() != FLength, msg::kVecLength).Always(&Vec == this, msg::kVecSrc);
    // A real operand is widened with a zero imaginary part: (a + ib) - x = (a - x) + ib.
    detail::CombineInPlace(*this, Vec, true, Sub2, Sub3);
    return *this;
}

TVec& TVec::Sub(const TVecs& Vec1, const TVecs& Vec2)
{
    CheckTwoSources(*this, Vec1, Vec2);
    detail::FromTwoSources(*this, Vec1, Vec2, Sub3);
    return *this;
}

TVec1& TVec1::Sub(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len)
{
    CheckRangeOfTwo(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len, msg::kNegRange, msg::kComplexVec1);
    detail::OnRange(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len, Sub3);
    return *this;
}

TVec0& TVec0::Sub(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    detail::OnRange(*this, Vec, VecIndex, Index, Len, Sub2);
    return *this;
}

// ---- Products ---------------------------------------------------------------------------------------------------

TVecs& TVecs::Mul(const TVecs& Vec)
{
    TCheck(*this).Always(Vec.Length() != FLength, msg::kLengthVec).Always(&Vec == this, msg::kSelfVec);
    MulInPlace(*this, Vec);
    return *this;
}

TVec& TVec::Mul(const TVecs& Vec1, const TVecs& Vec2)
{
    CheckTwoSources(*this, Vec1, Vec2);
    const bool complex = Vec1.Complex();
    detail::FromTwoSources(*this, Vec1, Vec2, [complex](const double* A, const double* B, double* D, std::int64_t N) {
        ProductOf(complex, A, B, D, N);
    });
    return *this;
}

TVec1& TVec1::Mul(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len)
{
    CheckRangeOfTwo(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len, msg::kNegRange2, msg::kComplexVec1);
    detail::OnRange(
        *this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len,
        [this](const double* A, const double* B, double* D, std::int64_t N) { ProductOf(FComplex, A, B, D, N); });
    return *this;
}

TVec0& TVec0::Mul(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    detail::OnRange(*this, Vec, VecIndex, Index, Len,
                    [this](const double* S, double* D, std::int64_t N) { ProductOf(FComplex, D, S, D, N); });
    return *this;
}

// ---- Quotients with a threshold ---------------------------------------------------------------------------------

TVecs& TVecs::Divide(const TVecs& Vec, double Threshold)
{
    TCheck(*this).Always(Vec.Length() != FLength, msg::kDivideLength).Always(&Vec == this, msg::kDivideSelf);
    if (FLength == 0) return *this;
    if (FComplex == Vec.Complex()) {
        SameKinds(*this, Vec, [&](const double* A, const double* B, double* D, std::int64_t N) {
            RecipProduct(FComplex, Threshold, A, B, D, N);
        });
        return *this;
    }
    // Mixed kinds: the reciprocals in Vec's kind (a complex T as long as Vec), then the product with the widening.
    detail::TVecTemp t;
    t->Size(FLength, Vec.Complex());
    if (Vec.Complex())
        nspzbInvThresh2(Vec.CValues(), t->CValues(), FLength, Threshold);
    else
        nspdbInvThresh2(Vec.Values(), t->Values(), FLength, Threshold);
    detail::CombineInPlace(*this, *t, false, Mpy2, Mpy3);
    return *this;
}

TVec& TVec::Divide(const TVecs& Vec1, const TVecs& Vec2, double Threshold)
{
    CheckTwoSources(*this, Vec1, Vec2);
    const bool complex = Vec1.Complex();
    detail::FromTwoSources(*this, Vec1, Vec2, [&](const double* A, const double* B, double* D, std::int64_t N) {
        RecipProduct(complex, Threshold, A, B, D, N);
    });
    return *this;
}

TVec1& TVec1::Divide(const TVecs& Vec1, const TVecs& Vec2, double Threshold, int Vec1Index, int Vec2Index, int Index,
                     int Len)
{
    CheckRangeOfTwo(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len, msg::kNegRange2, msg::kVec1Complex);
    detail::OnRange(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len,
                    [&](const double* A, const double* B, double* D, std::int64_t N) {
                        RecipProduct(FComplex, Threshold, A, B, D, N);
                    });
    return *this;
}

TVec0& TVec0::Divide(const TVecs& Vec, double Threshold, int VecIndex, int Index, int Len)
{
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    detail::OnRange(*this, Vec, VecIndex, Index, Len,
                    [&](const double* S, double* D, std::int64_t N) { RecipProduct(FComplex, Threshold, D, S, D, N); });
    return *this;
}

// ---- Plain quotients --------------------------------------------------------------------------------------------
// With ConditionCheck off a longer divisor lends its first elements and a complex divisor of a real dividend its
// first Doubles; a shorter one, or a real divisor of complex data, is refused always (it would be read past its end).

TVec0& TVec0::DivideVec(const TVecs& Num, const TVecs& Den)
{
    TCheck(*this)
        .Gated(Num.Length() != Den.Length(), msg::kNumDenLength)
        .Gated(Num.Complex() != Den.Complex(), msg::kNumDenComplex)
        .Gated(&Num == this || &Den == this, msg::kSelfNumDen)
        .Always(Den.Length() < Num.Length(), msg::kNumDenLength)
        .Always(Num.Complex() && !Den.Complex(), msg::kNumDenComplex);
    const bool complex = Num.Complex();
    detail::FromTwoSources(*this, Num, Den, [complex](const double* A, const double* B, double* D, std::int64_t N) {
        Quotient(complex, A, B, D, N);
    });
    return *this;
}

TVec1& TVec1::DivideVec(const TVecs& Vec)
{
    TCheck(*this)
        .Gated(Vec.Length() != FLength, msg::kVecLength)
        .Gated(Vec.Complex() != FComplex, msg::kVecComplex2)
        .Gated(&Vec == this, msg::kSelfVecParen)
        .Always(Vec.Length() < FLength, msg::kVecLength)
        .Always(FComplex && !Vec.Complex(), msg::kVecComplex2);
    SameKinds(*this, Vec,
              [this](const double* A, const double* B, double* D, std::int64_t N) { Quotient(FComplex, A, B, D, N); });
    return *this;
}

TVec& TVec::DivideVec(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int w = Width(*this);
    TCheck(*this)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Gated(Vec.Length() != FLength, msg::kVecLength)
        .Gated(Vec.Complex() != FComplex, msg::kVecComplex2)
        .Gated(&Vec == this, msg::kSelfVecParen)
        .Bound(Vec, VecIndex, Len, w, msg::kVecIndexLen)
        .Bound(*this, Index, Len, w, msg::kIndexLen)
        .Done();
    detail::OnRange(*this, Vec, VecIndex, Index, Len,
                    [this](const double* S, double* D, std::int64_t N) { Quotient(FComplex, D, S, D, N); });
    return *this;
}

// ---- Products by a conjugate ------------------------------------------------------------------------------------

TVecs& TVecs::ConjMul(const TVecs& Vec)
{
    TCheck(*this).Always(Vec.Length() != FLength, msg::kLengthVec).Always(&Vec == this, msg::kSelfVec);
    if (!Vec.Complex()) {
        MulInPlace(*this, Vec);
    } else if (FComplex) {
        SameKinds(*this, Vec, ConjProduct);
    } else {
        // A real Self widened as x + i·x times conj(Vec), Double by Double.
        detail::TVecTemp t;
        t->Size(FLength, true);
        if (FLength > 0) nspzbConj2(Vec.CValues(), t->CValues(), FLength);
        detail::CombineInPlace(*this, *t, false, Mpy2, Mpy3);
    }
    return *this;
}

TVec& TVec::ConjMul(const TVecs& Vec1, const TVecs& Vec2)
{
    TCheck(*this)
        .Gated(Vec1.Length() != Vec2.Length(), msg::kVec12Length)
        .Gated(&Vec1 == this || &Vec2 == this, msg::kSelfVec12);
    if (!Vec2.Complex()) return Mul(Vec1, Vec2);
    // The check of the product with Vec1, before anything changes; Self among the operands (ConditionCheck off)
    // gives the result of distinct vectors.
    TCheck(*this).Always(Vec1.Length() != Vec2.Length(), msg::kLengthVec);
    if (Vec1.Complex()) {
        detail::FromTwoSources(*this, Vec1, Vec2, ConjProduct);
        return *this;
    }
    TStable v1(Vec1, *this), v2(Vec2, *this);
    TVecs::Size(v2->Length(), true);
    if (FLength > 0) nspzbConj2(v2->CValues(), CValues(), FLength);
    MulInPlace(*this, *v1);
    return *this;
}

TVec1& TVec1::ConjMul(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len)
{
    // The checks of conj(Vec2) into Self, then those of the product with Vec1, all before Self changes.
    const int w = Width(*this);
    TCheck(*this)
        .Negative({Len, Index, Vec2Index}, msg::kNegRange)
        .Bound(Vec2, Vec2Index, Len, w, msg::kVecIndexLen)
        .Bound(*this, Index, Len, w, msg::kIndexLen)
        .Gated(&Vec2 == this, msg::kSelfVec)
        .Negative({Vec1Index}, msg::kNegRange)
        .Bound(Vec1, Vec1Index, Len, w, msg::kVecIndexLen)
        .Gated(FComplex != Vec1.Complex(), msg::kComplexVec)
        .Gated(&Vec1 == this, msg::kSelfVec)
        .Done();
    detail::OnRange(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len,
                    [this](const double* A, const double* B, double* D, std::int64_t N) {
                        if (FComplex)
                            ConjProduct(A, B, D, N);
                        else
                            ProductOf(false, A, B, D, N);
                    });
    return *this;
}

TVec0& TVec0::ConjMul(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    if (Len == 0) return *this;
    TCheck(*this).Always(static_cast<std::int64_t>(VecIndex) + Len > Vec.Length(), msg::kCopyVecIndexLen);
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    const bool conj = FComplex && Vec.Complex();
    detail::OnRange(*this, Vec, VecIndex, Index, Len, [&](const double* S, double* D, std::int64_t N) {
        if (conj)
            ConjProduct(D, S, D, N);
        else
            ProductOf(FComplex, D, S, D, N);
    });
    return *this;
}

// ---- First differences ------------------------------------------------------------------------------------------

TVecs& TVecs::Difference(const TVecs& Vec)
{
    TCheck(*this).Always(&Vec == this, msg::kDifferenceSelf);
    TStable v(Vec, *this);
    const int n = std::max(v->Length() - 1, 0);
    TVecs::Size(n, v->Complex());
    FirstDifferences(v->Values(), n, Width(*v), FValues);
    return *this;
}

TVec0& TVec0::Difference(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int w = Width(*this);
    TCheck(*this)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Bound(Vec, VecIndex, Len, w, msg::kRevVecLen)
        .Bound(*this, Index, Len, w, msg::kLenPlusIndexLength)
        .Gated(FComplex != Vec.Complex(), msg::kComplexVec)
        .Gated(&Vec == this, msg::kVecSelf)
        .Done();
    if (Len <= 1) return *this;
    double* dst = At(*this, Index);
    detail::TLazyTemp t;
    const double* src = detail::Detached(At(Vec, VecIndex), static_cast<std::int64_t>(Len) * w, dst,
                                         static_cast<std::int64_t>(Len - 1) * w, false, t);
    FirstDifferences(src, Len - 1, w, dst);
    return *this;
}

TVec1& TVec1::Difference(const TVecs& Vec, int VecIndex, int Len)
{
    TCheck(*this)
        .Negative({Len, VecIndex}, msg::kNegRange)
        .Always(static_cast<std::int64_t>(VecIndex) + Len > Vec.Length(), msg::kRevVecLen)
        .Always(&Vec == this, msg::kVecSelf);
    TStable v(Vec, *this);
    const int n = std::max(Len - 1, 0);
    TVecs::Size(n, v->Complex());
    if (n > 0) FirstDifferences(At(*v, VecIndex), n, Width(*v), FValues);
    return *this;
}

// ---- Normalize --------------------------------------------------------------------------------------------------

TVecs& TVecs::Normalize(const TVecs& Vec, const TCplx& Sub, double Div)
{
    TCheck(*this).Always(!Vec.Complex(), msg::kVecComplexNotTrue);
    detail::FromSource(*this, Vec, [&](const double* S, double* D, std::int64_t N) {
        nspzbNormalize(C(S), C(D), static_cast<int>(N / 2), Sub, Div);
    });
    return *this;
}

TVec0& TVec0::Normalize(const TVecs& Vec, double Sub, double Div)
{
    TCheck(*this).Always(Vec.Complex(), msg::kVecComplexTrue).Always(&Vec == this, msg::kSelfVec);
    detail::FromSource(*this, Vec, [&](const double* S, double* D, std::int64_t N) {
        nspdbNormalize(S, D, static_cast<int>(N), Sub, Div);
    });
    return *this;
}

TVec1& TVec1::Normalize(const TVecs& Vec, const TCplx& A, const TCplx& B)
{
    // The operation is defined for complex sources only: a real one would be read as complex numbers.
    TCheck(*this).Always(&Vec == this, msg::kSelfVec).Always(!Vec.Complex(), msg::kVecComplexNotTrue);
    detail::FromSource(*this, Vec, [&](const double* S, double* D, std::int64_t N) {
        const int n = static_cast<int>(N / 2);
        nspzbCopy(C(S), C(D), n);
        nspzbAdd1(A, C(D), n);
        nspzbMpy1(B, C(D), n);
    });
    return *this;
}

}  // namespace tarnel

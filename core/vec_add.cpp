// Sums of vectors in every calling form, and the small shared members Size (Vec) and Disown.
//
// Plain sums run nspdbAdd2/nspdbAdd3 on Doubles (2 per complex element); scaled sums run BLAS DAXPY or ZAXPY.
#include <algorithm>
#include <climits>

#include "core/NmklBlas.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

using detail::Numbers;
using detail::TCheck;
using detail::Width;

namespace {

void Add2(const double* Src, double* Dst, std::int64_t Count)
{
    nspdbAdd2(Src, Dst, static_cast<int>(Count));
}

void Add3(const double* A, const double* B, double* Dst, std::int64_t Count)
{
    nspdbAdd3(A, B, Dst, static_cast<int>(Count));
}

}  // namespace

// Dst[k] += (Re + i·Im)·Src[k] for N elements of the given kind (BLAS, increments 1). Long vectors are cut into
// pieces that threads share; each element is computed alone, so the cut changes no result.
void detail::Axpy(bool Complex, int N, double Re, double Im, const double* Src, double* Dst)
{
    const int w = Complex ? 2 : 1;
    const TCplx a{Re, Im};
    parallel::Pieces(N, [&](long long Lo, long long Hi) {
        const int n = static_cast<int>(Hi - Lo), one = 1;
        const double* x = Src + Lo * w;
        double* y = Dst + Lo * w;
        if (Complex)
            zaxpy_(&n, &a, reinterpret_cast<const TCplx*>(x), &one, reinterpret_cast<TCplx*>(y), &one);
        else
            daxpy_(&n, &Re, x, &one, y, &one);
    });
}

TVecs& TVecs::Add(const TVecs& Vec, double Re, double Im)
{
    // With ConditionCheck off a longer Vec is used up to Self's Length; a shorter one is refused always.
    TCheck(*this)
        .Gated(&Vec == this, msg::kAddSelf)
        .Gated(Vec.Length() != FLength, msg::kVecLength)
        .Always(Vec.Length() < FLength, msg::kVecLength);
    if (Re == 1 && Im == 0) {
        // Sums widen a real operand with a zero imaginary part: (a + ib) + x = (a + x) + ib.
        detail::CombineInPlace(*this, Vec, true, Add2, Add3);
        return *this;
    }
    TCheck(*this).Always(Vec.Complex() != FComplex, msg::kAddComplex).Always(!FComplex && Im != 0, msg::kAddNotComplex);
    if (FLength == 0) return *this;
    detail::TLazyTemp t;
    const double* src = detail::Detached(Vec.Values(), Numbers(*this), FValues, Numbers(*this), true, t);
    detail::Axpy(FComplex, FLength, Re, Im, src, FValues);
    return *this;
}

TVec& TVec::Add(const TVecs& Vec1, const TVecs& Vec2)
{
    TCheck(*this)
        .Always(Vec1.Length() != Vec2.Length(), msg::kVec12Length)
        .Always(Vec1.Complex() != Vec2.Complex(), msg::kVec12Complex)
        .Always(&Vec1 == this || &Vec2 == this, msg::kSelfVec12);
    detail::FromTwoSources(*this, Vec1, Vec2, Add3);
    return *this;
}

TVec1& TVec1::Add(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len)
{
    detail::CheckRange(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len);
    detail::OnRange(*this, Vec1, Vec2, Vec1Index, Vec2Index, Index, Len, Add3);
    return *this;
}

TVec0& TVec0::Add(const TVecs& Vec, int VecIndex, int Index, int Len, double Re, double Im)
{
    detail::CheckRange(*this, Vec, VecIndex, Index, Len);
    if (Len == 0) return *this;
    if (Re == 1 && Im == 0) {
        detail::OnRange(*this, Vec, VecIndex, Index, Len, Add2);
        return *this;
    }
    TCheck(*this).Always(!FComplex && Im != 0, msg::kAddNotComplex);
    detail::OnRange(*this, Vec, VecIndex, Index, Len, [&](const double* Src, double* Dst, std::int64_t) {
        detail::Axpy(FComplex, Len, Re, Im, Src, Dst);
    });
    return *this;
}

TVec0& TVec0::Size(const TVecs& Vec)
{
    TVecs::Size(Vec.Length(), Vec.Complex());
    return *this;
}

void TVec0::SetSubIndex(int BeginIndex, int EndIndex)
{
    // The length is formed in 64 bits, so that no pair of indexes wraps into a plausible length.
    const std::int64_t len = static_cast<std::int64_t>(EndIndex) - BeginIndex + 1;
    if (len < 0) ERaise(msg::kNegLen);
    SetSubRange(BeginIndex, static_cast<int>(std::min<std::int64_t>(len, INT_MAX)));
}

void TVec0::Disown()
{
    double* data = nullptr;
    int len = 0;
    bool complex = false;
    TVecs::Disown(data, len, complex);
}

}  // namespace tarnel

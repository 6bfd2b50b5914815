// Moving elements without computing on them: copies, reversal, rotation, Concat, Split, Gather and Scatter.
//
// Copies of Doubles run nspdbCopy (2 Doubles per complex element), which copies overlapping arrays as if through
// a buffer; strided copies of real data run VDPACKI/VDUNPACKI. Every member gives the result of distinct vectors
// also when its operands are one vector or views of one buffer.
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/mtx_class.h"
#include "core/pool.h"

namespace tarnel {

using detail::At;
using detail::CopyDoubles;
using detail::Numbers;
using detail::TCheck;
using detail::TStable;
using detail::Width;

namespace {

// Self := Vec reversed elements of type T: Dst[k] := Src[N - 1 - k]; Src and Dst apart.
template <class T>
void ReverseInto(const T* Src, T* Dst, std::int64_t N)
{
    for (std::int64_t k = 0; k < N; ++k) Dst[k] = Src[N - 1 - k];
}

void ReverseDoubles(bool Complex, const double* Src, double* Dst, std::int64_t N)
{
    if (Complex)
        ReverseInto(reinterpret_cast<const TCplx*>(Src), reinterpret_cast<TCplx*>(Dst), N);
    else
        ReverseInto(Src, Dst, N);
}

int CheckedLength(std::int64_t Len)
{
    if (Len > INT_MAX) ERaise(msg::kLengthTooLarge);
    return static_cast<int>(Len);
}

// The sum of the sources' lengths; every entry must be a vector.
std::int64_t SumOfLengths(TOpenArray<const TVecs*> Src)
{
    std::int64_t sum = 0;
    for (const TVecs* s : Src) {
        TestNil(s);
        sum += s->Length();
    }
    return sum;
}

bool AnyShares(TOpenArray<const TVecs*> Src, const TVecs& Dst)
{
    return std::any_of(Src.begin(), Src.end(), [&](const TVecs* s) { return detail::SharesMemory(*s, Dst); });
}

// Writes the sources one after the other from Dst on (Width Doubles per element).
void Join(TOpenArray<const TVecs*> Src, double* Dst)
{
    for (const TVecs* s : Src) {
        CopyDoubles(s->Values(), Dst, Numbers(*s));
        Dst += Numbers(*s);
    }
}

// An index entry of Gather and Scatter: the nearest integer (ties to even), refused when negative or not a number
// (kIndexNeg) and when above Last (TooLarge).
int IndexAt(const TVecs& Indexes, int K, int Last, const char* TooLarge)
{
    const double r = std::nearbyint(Indexes.Values()[K]);
    if (!(r >= 0)) ERaise(msg::kIndexNeg);
    if (r > Last) ERaise(TooLarge);
    return static_cast<int>(r);
}

void CheckIncrement(int Increment, int Offset)
{
    if (Increment < 1) ERaise(msg::kIncrement);
    if (Offset < 0) ERaise(msg::kOffsetNeg);
}

}  // namespace

// ---- Copies -----------------------------------------------------------------------------------------------------

void TVecs::Copy(const TVecs& Vec)
{
    if (&Vec == this) return;
    // A packed spectrum keeps bin N/2 in the element past the end: it goes along where both vectors have room.
    const std::int64_t past = Numbers(Vec);
    const bool bin = Vec.Complex() && Vec.RoomDoubles() >= past + 2;
    const TCplx last = bin ? Vec.CValues()[Vec.Length()] : C_ZERO;
    detail::FromSource(*this, Vec, CopyDoubles);
    if (bin && FRoom >= past + 2) CValues()[FLength] = last;
}

TVec& TVec::Copy(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int w = Width(*this);
    TCheck(*this)
        .Negative({Len, Index, VecIndex}, msg::kCopyNeg)
        .Bound(*this, Index, Len, w, msg::kCopyIndexLen)
        .Bound(Vec, VecIndex, Len, w, msg::kCopyVecIndexLen)
        .Gated(Vec.Complex() != FComplex, msg::kCopyComplex)
        .Done();
    if (Len > 0) CopyDoubles(At(Vec, VecIndex), At(*this, Index), static_cast<std::int64_t>(Len) * w);
    return *this;
}

TVec1& TVec1::Copy(const TVecs& Vec1, const TVecs& Vec2)
{
    TCheck(*this)
        .Always(Vec1.Complex() != Vec2.Complex(), msg::kVec12Complex)
        .Always(&Vec1 == this, msg::kSelfVec1)
        .Always(&Vec2 == this, msg::kSelfVec2);
    TStable a(Vec1, *this), b(Vec2, *this);
    TVecs::Size(CheckedLength(static_cast<std::int64_t>(a->Length()) + b->Length()), a->Complex());
    CopyDoubles(a->Values(), FValues, Numbers(*a));
    CopyDoubles(b->Values(), FValues + Numbers(*a), Numbers(*b));
    return *this;
}

TVec& TVec::CopyMtx(const TMtx1& Mtx, int Index, int Row, int Col, int Len)
{
    if (Len == 0) return *this;
    TCheck c(*this);
    c.Negative({Len, Index, Row, Col}, msg::kCopyMtxNeg);
    const int w = Width(*this), mw = Mtx.Complex() ? 2 : 1;
    const std::int64_t startPos = static_cast<std::int64_t>(Row) * Mtx.Cols() + Col;
    const std::int64_t elements = static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols();
    c.Gated(Mtx.Complex() != FComplex, msg::kComplexMtx)
        .Bound(*this, Index, Len, w, msg::kCopyIndexLen)
        .Gated(startPos + Len > elements, msg::kStartPos)
        .Done();
    // The run may go on into the following rows, but never past the matrix's data.
    c.Always(startPos * mw + static_cast<std::int64_t>(Len) * w > elements * mw, msg::kStartPos);
    CopyDoubles(Mtx.Values() + startPos * mw, At(*this, Index), static_cast<std::int64_t>(Len) * w);
    return *this;
}

// ---- Reversal and rotation --------------------------------------------------------------------------------------

TVecs& TVecs::Reverse()
{
    if (FComplex)
        std::reverse(CValues(), CValues() + FLength);
    else
        std::reverse(FValues, FValues + FLength);
    return *this;
}

TVec& TVec::Reverse(const TVecs& Vec)
{
    TCheck(*this).Always(&Vec == this, msg::kSelfVec);
    TStable src(Vec, *this);
    TVecs::Size(src->Length(), src->Complex());
    ReverseDoubles(FComplex, src->Values(), FValues, FLength);
    return *this;
}

TVec0& TVec0::Reverse(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    if (Len == 0) return *this;
    const int w = Width(*this);
    TCheck(*this)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Always(static_cast<std::int64_t>(Len) + VecIndex > Vec.Length(), msg::kRevVecLen)
        .Always(static_cast<std::int64_t>(Len) + Index > FLength, msg::kRevLen)
        .Bound(Vec, VecIndex, Len, w, msg::kRevVecLen)
        .Done();
    // Elements move as Self's kind says; a source range that overlaps the destination is read from a copy.
    const std::int64_t count = static_cast<std::int64_t>(Len) * w;
    double* dst = At(*this, Index);
    detail::TLazyTemp t;
    const double* src = detail::Detached(At(Vec, VecIndex), count, dst, count, false, t);
    ReverseDoubles(FComplex, src, dst, Len);
    return *this;
}

TVecs& TVecs::Rotate(int Offset)
{
    if (FLength == 0) return *this;
    const std::int64_t n = FLength;
    std::int64_t r = (Offset < 0 ? -static_cast<std::int64_t>(Offset) : Offset) % n;
    if (Offset < 0) r = (n - r) % n;
    // Element k moves to (k + r) mod n: the last r elements come to the front.
    if (FComplex)
        std::rotate(CValues(), CValues() + (n - r), CValues() + n);
    else
        std::rotate(FValues, FValues + (n - r), FValues + n);
    return *this;
}

// ---- Concat and Split -------------------------------------------------------------------------------------------

TVec0& TVec0::Concat(TOpenArray<const TVecs*> Src)
{
    if (Src.empty()) {
        TVecs::Size(0, false);
        return *this;
    }
    const int len = CheckedLength(SumOfLengths(Src));
    const bool complex = Src[0]->Complex();
    for (const TVecs* s : Src) {
        if (s->Complex() != complex) ERaise(msg::kSrcComplex);
    }
    if (AnyShares(Src, *this)) {
        // Self is among the sources (or views their memory): join into a pooled vector first.
        detail::TVecTemp joined;
        joined->Size(len, complex);
        Join(Src, joined->Values());
        TVecs::Copy(*joined);
        return *this;
    }
    TVecs::Size(len, complex);
    Join(Src, FValues);
    return *this;
}

TVecs& TVecs::Concat(int Index, TOpenArray<const TVecs*> Src)
{
    if (Src.empty()) return *this;
    const std::int64_t sum = SumOfLengths(Src);
    if (Index < 0) ERaise(msg::kNegIndex);
    if (Index + sum > FLength) ERaise(msg::kConcatLen);
    for (const TVecs* s : Src) {
        if (s->Complex() != FComplex) ERaise(msg::kSrcComplex);
    }
    double* dst = At(*this, Index);
    if (AnyShares(Src, *this)) {
        detail::TVecTemp joined;
        joined->Size(static_cast<int>(sum), FComplex);
        Join(Src, joined->Values());
        CopyDoubles(joined->Values(), dst, Numbers(*joined));
        return *this;
    }
    Join(Src, dst);
    return *this;
}

void TVecs::Split(TVecs& Vec1, int Offset, TVecs& Vec2) const
{
    TCheck(*this)
        .Always(Offset > FLength, msg::kOffsetLength)
        .Always(Offset < 0, msg::kOffsetNeg)
        .Always(&Vec1 == this, msg::kSelfVec1)
        .Always(&Vec2 == this, msg::kSelfVec2)
        .Always(&Vec1 == &Vec2, msg::kVec1Vec2);
    Vec1.CheckSize(Offset, FComplex);
    Vec2.CheckSize(FLength - Offset, FComplex);
    TCheck(*this).Always(detail::OutputsShare(Vec1, Vec2), msg::kVec1Vec2Shared);
    TStable self(*this, {&Vec1, &Vec2});
    Vec1.Size(Offset, FComplex);
    Vec2.Size(FLength - Offset, FComplex);
    CopyDoubles(self->Values(), Vec1.Values(), Numbers(Vec1));
    CopyDoubles(At(*self, Offset), Vec2.Values(), Numbers(Vec2));
}

TVec0& TVec0::Split(TOpenArray<TVecs*> Dst)
{
    for (TVecs* d : Dst) TestNil(d);
    detail::TLazyTemp copy;
    const TVecs* self = this;
    if (std::any_of(Dst.begin(), Dst.end(), [&](TVecs* d) { return d != this && detail::SharesMemory(*this, *d); }))
        self = &detail::Snapshot(*this, copy.Get());
    const int length = self->Length();
    const bool complex = self->Complex();
    // Every piece is checked before any destination changes its kind.
    std::int64_t end = 0;
    for (std::size_t i = 0; i < Dst.size(); ++i) {
        const TVecs& d = *Dst[i];
        // The destination's length once it has Self's kind.
        const std::int64_t m = d.Complex() == complex ? d.Length() : complex ? d.Length() / 2 : 2LL * d.Length();
        if (m > length - end) ERaise(msg::kSizeMismatch + std::to_string(i + 1));
        end += m;
    }
    int pos = 0;
    for (TVecs* d : Dst) {
        d->SetComplex(complex);
        CopyDoubles(At(*self, pos), d->Values(), Numbers(*d));
        pos += d->Length();
    }
    return *this;
}

void TVec1::Split(TOpenArray<TVecs*> Dst, TOpenArray<int> DstSize) const
{
    if (Dst.size() != DstSize.size()) ERaise(msg::kHighDst);
    for (int s : DstSize) {
        if (s < 0) ERaise(msg::kDstSizeNeg);
    }
    detail::TLazyTemp copy;
    const TVecs* self = this;
    if (std::any_of(Dst.begin(), Dst.end(), [&](TVecs* d) { return d && detail::SharesMemory(*this, *d); }))
        self = &detail::Snapshot(*this, copy.Get());
    const std::int64_t length = self->Length();
    // Every piece is checked before any destination is sized.
    std::int64_t end = 0;
    for (std::size_t i = 0; i < Dst.size(); ++i) {
        if (const TVecs* d = Dst[i]) {
            d->CheckSize(DstSize[i], self->Complex());
            if (DstSize[i] > length - end) ERaise(msg::kLengthExceeded + std::to_string(i + 1));
            for (std::size_t j = 0; j < i; ++j)
                if (Dst[j] && detail::OutputsShare(*Dst[j], *d)) ERaise(msg::kDstShared);
        }
        end += DstSize[i];
    }
    std::int64_t pos = 0;
    for (std::size_t i = 0; i < Dst.size(); ++i) {
        if (TVecs* d = Dst[i]) {
            d->Size(DstSize[i], self->Complex());
            CopyDoubles(At(*self, static_cast<int>(pos)), d->Values(), Numbers(*d));
        }
        pos += DstSize[i];
    }
}

// ---- Gather and Scatter -----------------------------------------------------------------------------------------

TVecs& TVecs::Gather(const TVecs& X, const TVecs* Indexes, TIndexType IndexType, int Increment, int Offset)
{
    switch (IndexType) {
        case indIncrement: {
            CheckIncrement(Increment, Offset);
            if (Offset > Increment - 1) ERaise(msg::kOffsetIncrement);
            TStable x(X, *this);
            const int n = x->Length() / Increment;
            TVecs::Size(n, x->Complex());
            if (n == 0) break;
            if (FComplex) {
                const TCplx* s = x->CValues() + Offset;
                for (std::int64_t k = 0; k < n; ++k) CValues()[k] = s[k * Increment];
            } else {
                VDPACKI(&n, x->Values() + Offset, &Increment, FValues);
            }
            break;
        }
        case indVector: {
            TestNil(Indexes);
            const int count = Indexes->Length();
            for (int k = 0; k < count; ++k) IndexAt(*Indexes, k, X.Length() - 1, msg::kGatherIndex);
            TStable x(X, *this), idx(*Indexes, *this);
            TVecs::Size(count, x->Complex());
            for (int k = 0; k < count; ++k) {
                const int i = static_cast<int>(std::nearbyint(idx->Values()[k]));
                if (FComplex)
                    CValues()[k] = x->CValues()[i];
                else
                    FValues[k] = x->Values()[i];
            }
            break;
        }
        case indMask: {
            TestNil(Indexes);
            if (X.Length() != Indexes->Length()) ERaise(msg::kGatherMask);
            TStable x(X, *this), mask(*Indexes, *this);
            const int n = x->Length();
            int count = 0;
            for (int k = 0; k < n; ++k) count += mask->Values()[k] > 0;
            TVecs::Size(count, x->Complex());
            int p = 0;
            for (int k = 0; k < n; ++k) {
                if (!(mask->Values()[k] > 0)) continue;
                if (FComplex)
                    CValues()[p++] = x->CValues()[k];
                else
                    FValues[p++] = x->Values()[k];
            }
            break;
        }
    }
    return *this;
}

TVecs& TVecs::Scatter(const TVecs& X, const TVecs* Indexes, TIndexType IndexType, int Increment, int Offset)
{
    if (Indexes && Indexes->Complex()) ERaise(msg::kIndexesComplex);
    if (X.Complex() != FComplex) ERaise(msg::kXComplex);
    switch (IndexType) {
        case indIncrement: {
            CheckIncrement(Increment, Offset);
            if (FLength < static_cast<std::int64_t>(X.Length()) * Increment) ERaise(msg::kScatterIncrement);
            if (Offset > Increment - 1) ERaise(msg::kOffsetIncrement);
            if (FComplex != X.Complex()) ERaise(msg::kFComplexX);
            TStable x(X, *this);
            const int n = x->Length();
            if (n == 0) break;
            if (FComplex) {
                TCplx* d = CValues() + Offset;
                for (std::int64_t k = 0; k < n; ++k) d[k * Increment] = x->CValues()[k];
            } else {
                VDUNPACKI(&n, x->Values(), FValues + Offset, &Increment);
            }
            break;
        }
        case indVector: {
            TestNil(Indexes);
            const int count = Indexes->Length();
            for (int k = 0; k < count; ++k) IndexAt(*Indexes, k, FLength - 1, msg::kScatterIndex);
            if (X.Length() < count) ERaise(msg::kScatterSource);
            TStable x(X, *this), idx(*Indexes, *this);
            for (int k = 0; k < count; ++k) {
                const int i = static_cast<int>(std::nearbyint(idx->Values()[k]));
                if (FComplex)
                    CValues()[i] = x->CValues()[k];
                else
                    FValues[i] = x->Values()[k];
            }
            break;
        }
        case indMask: {
            TestNil(Indexes);
            const int n = Indexes->Length();
            int positive = 0;
            for (int k = 0; k < n; ++k) positive += Indexes->Values()[k] > 0;
            if (positive > X.Length()) ERaise(msg::kScatterMask);
            TStable x(X, *this), mask(*Indexes, *this);
            TVecs::Size(n, x->Complex());
            int p = 0;
            for (int k = 0; k < n; ++k) {
                if (!(mask->Values()[k] > 0)) continue;
                if (FComplex)
                    CValues()[k] = x->CValues()[p++];
                else
                    FValues[k] = x->Values()[p++];
            }
            break;
        }
    }
    return *this;
}

}  // namespace tarnel

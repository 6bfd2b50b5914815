// Sorting vectors and vector ranges, ascending or descending, with the permutation on request (core/quicksort.h).
//
// Complex data sort by the keys m(z) of a pooled real vector, computed once per sort.
#include "core/elementwise.h"
#include "core/quicksort.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::TCheck;

namespace {

// Sorts the Len elements of V from Index on; Idx, when not nil, holds Len positions permuted with them.
void SortRange(TVecs& V, int Index, int Len, double* Idx, bool Ascend)
{
    if (!V.Complex()) {
        detail::QuickSort(V.Values() + Index, nullptr, Idx, Len, Ascend);
        return;
    }
    detail::TVecTemp keys;
    keys->Size(Len, false);
    detail::QuickSortCplx(V.CValues() + Index, keys->Values(), Idx, Len, Ascend);
}

const char* RangeText(bool Ascend)
{
    return Ascend ? msg::kCopyIndexLen : msg::kIndexLenSpaced;
}

void SortPlain(TVecs& Self, int Index, int Len, bool Ascend)
{
    if (Len <= 0 || Index < 0) return;
    TCheck(Self).Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), RangeText(Ascend));
    SortRange(Self, Index, Len, nullptr, Ascend);
}

void SortIndexed(TVecs& Self, int Index, int Len, TVecs& IndexVec, bool Ascend)
{
    TCheck(Self)
        .Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), msg::kIndexLenSpaced)
        .Always(&IndexVec == &Self, msg::kSelfIndexVec);
    if (Len <= 0 || Index < 0) {
        IndexVec.Size(0, false);
        return;
    }
    IndexVec.Size(Len, false);
    double* idx = IndexVec.Values();
    for (int k = 0; k < Len; ++k) idx[k] = static_cast<double>(Index) + k;
    SortRange(Self, Index, Len, idx, Ascend);
}

}  // namespace

TVecs& TVecs::SortAscend(int Index, int Len)
{
    SortPlain(*this, Index, Len, true);
    return *this;
}

TVecs& TVecs::SortDescend(int Index, int Len)
{
    SortPlain(*this, Index, Len, false);
    return *this;
}

TVec0& TVec0::SortAscend(int Index, int Len, TVecs& IndexVec)
{
    SortIndexed(*this, Index, Len, IndexVec, true);
    return *this;
}

TVec0& TVec0::SortDescend(int Index, int Len, TVecs& IndexVec)
{
    SortIndexed(*this, Index, Len, IndexVec, false);
    return *this;
}

TVec1& TVec1::SortAscend()
{
    TVecs::SortAscend(0, FLength);
    return *this;
}

TVec1& TVec1::SortDescend()
{
    TVecs::SortDescend(0, FLength);
    return *this;
}

TVec& TVec::SortAscend(TVecs& IndexVec)
{
    TVec0::SortAscend(0, FLength, IndexVec);
    return *this;
}

TVec& TVec::SortDescend(TVecs& IndexVec)
{
    TVec0::SortDescend(0, FLength, IndexVec);
    return *this;
}

}  // namespace tarnel

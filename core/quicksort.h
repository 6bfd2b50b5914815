// The one quicksort of the library, behind the vector and matrix sorts. Internal to the library.
//
// Over positions lo .. hi: the pivot is the element at (lo + hi) div 2, copied before partitioning; i runs up from
// lo while the element comes before the pivot, j runs down from hi while it comes after it, and a pair that stops
// both scans with i <= j is swapped (with its keys and positions) before both move on; then lo .. j and i .. hi are
// sorted. The order of equal elements, and so the permutation, follows from exactly these steps, which is why no
// standard sort stands in for it.
//
// Real data compare as Doubles. Complex data carry one key per element, m(z) = Re² + Im² rounded once (Norm,
// as Smaller and Bigger use it), computed before sorting and swapped along: a comes before the pivot p when
// key(a) < key(p), or the keys are equal and Smaller2 (a, p) (descending: the same with > and Bigger2).
//
// Bounds: a scan stops at an element for which its comparison was false, and every swap leaves such an element at
// the far end of the other scan, so i and j stay within lo .. hi + 1 and lo − 1 .. hi whatever the data hold (NaN
// included: the data are then not ordered, but every pass still shrinks the range). The smaller part is sorted by
// recursion and the larger one by the loop, so the depth stays below log2 of the length on any input; the parts are
// the same as sorting lo .. j before i .. hi, and they do not overlap, so the result is the same.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "core/Dovi387.h"

namespace tarnel::detail {

// T is double (no keys) or TCplx (Key holds m(z) of every element); Idx, when not nil, is permuted with the data.
template <class T, bool Ascend>
class TQuickSort {
public:
    TQuickSort(T* A, double* Key, double* Idx) : FA(A), FKey(Key), FIdx(Idx) {}

    void Sort(std::int64_t Lo, std::int64_t Hi)
    {
        while (Lo < Hi) {
            const std::int64_t mid = Lo + (Hi - Lo) / 2;
            const T p = FA[mid];
            const double pk = Keyed ? FKey[mid] : 0.0;
            std::int64_t i = Lo, j = Hi;
            do {
                while (Before(i, p, pk)) ++i;
                while (After(j, p, pk)) --j;
                if (i <= j) {
                    Swap(i, j);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (j - Lo < Hi - i) {
                if (Lo < j) Sort(Lo, j);
                Lo = i;
            } else {
                if (i < Hi) Sort(i, Hi);
                Hi = j;
            }
        }
    }

private:
    static constexpr bool Keyed = std::is_same_v<T, TCplx>;

    bool Less(std::int64_t i, const T& p, double pk) const
    {
        if constexpr (Keyed)
            return FKey[i] < pk || (FKey[i] == pk && Smaller2(FA[i], p));
        else
            return FA[i] < p;
    }
    bool Greater(std::int64_t i, const T& p, double pk) const
    {
        if constexpr (Keyed)
            return FKey[i] > pk || (FKey[i] == pk && Bigger2(FA[i], p));
        else
            return FA[i] > p;
    }
    bool Before(std::int64_t i, const T& p, double pk) const { return Ascend ? Less(i, p, pk) : Greater(i, p, pk); }
    bool After(std::int64_t i, const T& p, double pk) const { return Ascend ? Greater(i, p, pk) : Less(i, p, pk); }

    void Swap(std::int64_t i, std::int64_t j)
    {
        std::swap(FA[i], FA[j]);
        if constexpr (Keyed) std::swap(FKey[i], FKey[j]);
        if (FIdx) std::swap(FIdx[i], FIdx[j]);
    }

    T* FA;
    double* FKey;
    double* FIdx;
};

// Sorts the N elements at A (with their keys and positions, each nil where absent) ascending or descending.
template <class T>
void QuickSort(T* A, double* Key, double* Idx, std::int64_t N, bool Ascend)
{
    if (N < 2) return;
    if (Ascend)
        TQuickSort<T, true>(A, Key, Idx).Sort(0, N - 1);
    else
        TQuickSort<T, false>(A, Key, Idx).Sort(0, N - 1);
}

// Complex data: Keys (N Doubles) receive m(z) of the N elements at Z, then the sort runs on them.
inline void QuickSortCplx(TCplx* Z, double* Keys, double* Idx, std::int64_t N, bool Ascend)
{
    for (std::int64_t i = 0; i < N; ++i) Keys[i] = Norm(Z[i]);
    QuickSort(Z, Keys, Idx, N, Ascend);
}

}  // namespace tarnel::detail

// Sorting matrix rows: whole rows by one column, and each row by itself, with the vectors' quicksort
// (core/quicksort.h); complex elements in the complex order by their keys m(z), as the vector sorts.
#include <cstring>

#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/mtx_class.h"
#include "core/quicksort.h"

namespace tarnel {

namespace {

void SortRows(TMtx1& Self, bool Ascend)
{
    const int rows = Self.Rows(), cols = Self.Cols();
    if (rows == 0 || cols < 2) return;
    if (!Self.Complex()) {
        for (int r = 0; r < rows; ++r)
            detail::QuickSort(Self.Values() + static_cast<std::int64_t>(r) * cols, nullptr, nullptr, cols, Ascend);
        return;
    }
    detail::TVecTemp keys;
    keys->Size(cols, false);
    for (int r = 0; r < rows; ++r)
        detail::QuickSortCplx(Self.CValues() + static_cast<std::int64_t>(r) * cols, keys->Values(), nullptr, cols,
                              Ascend);
}

// The column's elements sorted with their row positions, then row r of Self := row position[r] of a copy.
template <class T>
void SortByColumn(TMtx& Self, int Col, bool Ascend)
{
    const int rows = Self.Rows(), cols = Self.Cols();
    constexpr bool cplx = std::is_same_v<T, TCplx>;
    detail::TMtxTemp copy;
    copy->Copy(Self);
    detail::TVecTemp pos, column, keys;
    pos->Size(rows, false);
    column->Size(rows, cplx);
    double* p = pos->Values();
    T* c = reinterpret_cast<T*>(column->Values());
    const T* src = reinterpret_cast<const T*>(copy->Values());
    for (int r = 0; r < rows; ++r) {
        p[r] = r;
        c[r] = src[static_cast<std::int64_t>(r) * cols + Col];
    }
    if constexpr (cplx) {
        keys->Size(rows, false);
        detail::QuickSortCplx(c, keys->Values(), p, rows, Ascend);
    } else {
        detail::QuickSort(c, nullptr, p, rows, Ascend);
    }
    T* dst = reinterpret_cast<T*>(Self.Values());
    const std::size_t rowBytes = static_cast<std::size_t>(cols) * sizeof(T);
    for (int r = 0; r < rows; ++r)
        std::memcpy(dst + static_cast<std::int64_t>(r) * cols, src + static_cast<std::int64_t>(p[r]) * cols, rowBytes);
}

void SortColumn(TMtx& Self, int Col, bool Ascend)
{
    detail::TCheck(Self.ConditionCheck())
        .Always(Col < 0, msg::kNegCol)
        .Always(Col > Self.Cols() - 1, msg::kColColsMinus1);
    if (Self.Rows() < 2) return;
    if (Self.Complex())
        SortByColumn<TCplx>(Self, Col, Ascend);
    else
        SortByColumn<double>(Self, Col, Ascend);
}

}  // namespace

TMtx1& TMtx1::SortAscend()
{
    SortRows(*this, true);
    return *this;
}

TMtx1& TMtx1::SortDescend()
{
    SortRows(*this, false);
    return *this;
}

TMtx& TMtx::SortAscend(int Col)
{
    SortColumn(*this, Col, true);
    return *this;
}

TMtx& TMtx::SortDescend(int Col)
{
    SortColumn(*this, Col, false);
    return *this;
}

}  // namespace tarnel

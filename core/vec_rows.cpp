// Vectors read from a matrix: the whole matrix, a diagonal, a row or a column or part of one. The vector side of
// the exchange whose matrix side is TMtx::SetRow, SetCol and CopyVec.
//
// Every form comes down to one walk: Count elements of the matrix from element (Row, Col) on, Stride elements
// apart (1 along a row, Cols down a column, Cols + 1 along a diagonal), into the vector from element Index on.
// A row is one block copy (nspdbCopy); columns and diagonals are a strided loop with no check per element. Every
// check runs whatever ConditionCheck is, because each one keeps the walk inside the matrix or the vector, and all
// of them run before the vector is sized or written, so a refused call leaves it as it was.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/mtx_class.h"

namespace tarnel {

using detail::At;
using detail::Numbers;
using detail::TCheck;
using detail::TLazyTemp;

namespace {

// Count Doubles from Src to Dst (apart) by nspdbCopy, in runs that an Integer counts.
void CopyRun(const double* Src, double* Dst, std::int64_t Count)
{
    while (Count > 0) {
        const int run = static_cast<int>(std::min<std::int64_t>(Count, INT_MAX));
        nspdbCopy(Src, Dst, run);
        Src += run;
        Dst += run;
        Count -= run;
    }
}

// Dst[k] := Src[k·Stride] for k < Count, elements of type T.
template <class T>
void Strided(const double* Src, std::int64_t Stride, double* Dst, int Count)
{
    const T* s = reinterpret_cast<const T*>(Src);
    T* d = reinterpret_cast<T*>(Dst);
    for (int k = 0; k < Count; ++k) d[k] = s[k * Stride];
}

// The Count Doubles of the matrix's data from Double First on, held still for Self: the matrix's own data, or a
// pooled copy when they share memory with Self's data or Self's own block (Self may view the matrix, or the
// matrix may live in Self's block), which sizing or writing Self could change or free before they are read.
const double* Held(const TMtx1& Mtx, std::int64_t First, std::int64_t Count, const TVecs& Self, TLazyTemp& Temp)
{
    const double* src = Mtx.Values() + First;
    const auto* block = static_cast<const double*>(Self.AllocatedBlock());
    const std::int64_t blockDoubles = Self.AllocatedSize() / static_cast<std::int64_t>(sizeof(double));
    if (!detail::Overlap(src, Count, Self.Values(), Numbers(Self)) && !detail::Overlap(src, Count, block, blockDoubles))
        return src;
    TVec& t = Temp.Get();
    t.Size(static_cast<int>((Count + 1) / 2), true);  // complex elements: room for Count Doubles in any matrix
    CopyRun(src, t.Values(), Count);
    return t.Values();
}

// Self[Index + k] := element (Row, Col + k·Stride) of the matrix, counted row by row, for k < Count. With Resize
// Self first becomes Count elements of the matrix's kind. The caller has checked that every element read lies in
// the matrix and, without Resize, that every element written lies in Self and the kinds agree.
void Take(TVecs& Self, const TMtx1& Mtx, std::int64_t Row, std::int64_t Col, std::int64_t Stride, int Count,
          bool Resize, int Index)
{
    const int w = Mtx.Complex() ? 2 : 1;
    const std::int64_t first = (Row * Mtx.Cols() + Col) * w;
    const std::int64_t span = Count > 0 ? ((static_cast<std::int64_t>(Count) - 1) * Stride + 1) * w : 0;
    TLazyTemp temp;
    const double* src = Held(Mtx, first, span, Self, temp);
    if (Resize) Self.Size(Count, Mtx.Complex());
    if (Count == 0) return;
    double* dst = At(Self, Index);
    if (Stride == 1) {
        CopyRun(src, dst, static_cast<std::int64_t>(Count) * w);
    } else if (w == 2) {
        Strided<TCplx>(src, Stride, dst, Count);
    } else {
        Strided<double>(src, Stride, dst, Count);
    }
}

std::int64_t Elements(const TMtx1& Mtx)
{
    return static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols();
}

// The negative arguments, refused first and always, in the order Row, Col, Index, Len.
TCheck Negatives(const TVecs& Self, int Row, int Col, int Index, int Len)
{
    TCheck c(Self);
    c.Negative({Row}, msg::kNegRow).Negative({Col}, msg::kNegCol).Negative({Index}, msg::kNegIndex);
    c.Negative({Len}, msg::kNegLen);
    return c;
}

}  // namespace

void TVecs::CopyMtx(const TMtx1& Mtx)
{
    // Rows·Cols never exceeds the matrix's capacity, an Integer.
    Take(*this, Mtx, 0, 0, 1, static_cast<int>(Elements(Mtx)), true, 0);
}

TVecs& TVecs::Diag(const TMtx1& Mtx, int K)
{
    const std::int64_t rows = Mtx.Rows(), cols = Mtx.Cols();
    if (rows * cols == 0) return *this;
    const std::int64_t m = K >= 0 ? std::min(rows, cols - K) : std::min(cols, rows + K);
    TCheck(*this).Always(m <= 0, msg::kKOutOfRange);
    const std::int64_t row = K >= 0 ? 0 : -static_cast<std::int64_t>(K);
    Take(*this, Mtx, row, K >= 0 ? K : 0, cols + 1, static_cast<int>(m), true, 0);
    return *this;
}

TVecs& TVecs::GetRow(const TMtx1& Mtx, int Row, int Col, int Len)
{
    if (Len == 0) {
        Size(0, Mtx.Complex());
        return *this;
    }
    Negatives(*this, Row, Col, 0, Len)
        .Always(Row > Mtx.Rows() - 1, msg::kRowMtxRowsParen)
        .Always(static_cast<std::int64_t>(Col) + Len > Mtx.Cols(), msg::kColLenMtxCols1);
    Take(*this, Mtx, Row, Col, 1, Len, true, 0);
    return *this;
}

TVecs& TVecs::GetCol(const TMtx1& Mtx, int Row, int Col, int Len)
{
    if (Len == 0) return *this;
    Negatives(*this, Row, Col, 0, Len)
        .Always(Elements(Mtx) == 0, msg::kMtxRowsCols)
        .Always(static_cast<std::int64_t>(Row) + Len > Mtx.Rows(), msg::kRowLenMtxRows)
        .Always(Col > Mtx.Cols() - 1, msg::kColMtxColsParen);
    Take(*this, Mtx, Row, Col, Mtx.Cols(), Len, true, 0);
    return *this;
}

TVec0& TVec0::GetRow(const TMtx1& Mtx, int Row)
{
    TCheck(*this)
        .Negative({Row}, msg::kNegRow)
        .Always(Elements(Mtx) == 0, msg::kMtxRowsCols)
        .Always(Row > Mtx.Rows() - 1, msg::kRowMtxRows);
    Take(*this, Mtx, Row, 0, 1, Mtx.Cols(), true, 0);
    return *this;
}

TVec0& TVec0::GetCol(const TMtx1& Mtx, int Col)
{
    TCheck(*this)
        .Negative({Col}, msg::kNegCol)
        .Always(Elements(Mtx) == 0, msg::kMtxRowsCols)
        .Always(Col > Mtx.Cols() - 1, msg::kColMtxCols);
    Take(*this, Mtx, 0, Col, Mtx.Cols(), Mtx.Rows(), true, 0);
    return *this;
}

TVec1& TVec1::GetRow(const TMtx1& Mtx, int Row, int Col, int Index, int Len)
{
    if (Len == 0) return *this;
    Negatives(*this, Row, Col, Index, Len)
        .Always(Elements(Mtx) == 0, msg::kMtxRowsCols)
        .Always(Row > Mtx.Rows() - 1, msg::kRowMtxRowsParen)
        .Always(static_cast<std::int64_t>(Col) + Len > Mtx.Cols(), msg::kColLenMtxCols)
        .Always(static_cast<std::int64_t>(Index) + Len > FLength, msg::kIndexlenLength)
        .Always(FComplex != Mtx.Complex(), msg::kComplexMtx);
    Take(*this, Mtx, Row, Col, 1, Len, false, Index);
    return *this;
}

TVec1& TVec1::GetCol(const TMtx1& Mtx, int Row, int Col, int Index, int Len)
{
    if (Len == 0) return *this;
    Negatives(*this, Row, Col, Index, Len)
        .Always(Elements(Mtx) == 0, msg::kMtxRowsCols)
        .Always(static_cast<std::int64_t>(Row) + Len > Mtx.Rows(), msg::kRowLenMtxRows)
        .Always(Col > Mtx.Cols() - 1, msg::kColMtxColsParen)
        .Always(static_cast<std::int64_t>(Index) + Len > FLength, msg::kIndexLenSpaced)
        .Always(FComplex != Mtx.Complex(), msg::kComplexMtx);
    Take(*this, Mtx, Row, Col, Mtx.Cols(), Len, false, Index);
    return *this;
}

}  // namespace tarnel

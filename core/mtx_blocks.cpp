// Block matrices and special matrices: stacking, assembling from and splitting into a grid of blocks, a vector on a
// diagonal, identity, Toeplitz and Pascal matrices. (The outer product Kron lives beside TensorProd in
// mtx_small.cpp.)
//
// Blocks move row by row, one contiguous copy per row, or in one copy where source and destination rows are equally
// long. Every member checks all its sources, and the whole grid, before Self changes, so a refused call leaves Self
// and the sources as they were. A source is never retyped: blocks of the other kind are refused. A source that
// shares memory with Self (Self itself, or data inside Self's block) is read from a pooled copy taken before Self
// is sized, so Self may be among the sources.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::TCheck;

namespace {

int WidthOf(bool Complex)
{
    return Complex ? 2 : 1;
}

// Rows rows of RowDoubles Doubles from Src to Dst, the rows SrcStride and DstStride Doubles apart.
void CopyRows(const double* Src, std::int64_t SrcStride, double* Dst, std::int64_t DstStride, std::int64_t Rows,
              std::int64_t RowDoubles)
{
    if (Rows <= 0 || RowDoubles <= 0) return;
    if (SrcStride == RowDoubles && DstStride == RowDoubles) {
        std::memcpy(Dst, Src, static_cast<std::size_t>(Rows * RowDoubles) * sizeof(double));
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(RowDoubles) * sizeof(double);
    for (std::int64_t r = 0; r < Rows; ++r) std::memcpy(Dst + r * DstStride, Src + r * SrcStride, bytes);
}

// Every source as it is before Self changes: its shape and its data, the source's own or a pooled copy where it shares
// memory with the destination (Self among the sources changes shape and values when sized). Copies are taken in
// index order and go back in the reverse order.
class THeldSources {
public:
    struct TBlock {
        const double* Data;
        int Rows;
        int Cols;
    };

    THeldSources(TOpenArray<const TMtx1*> Src, const TMtx1& Dst)
        : FCopies(std::make_unique<detail::TLazyTemp[]>(Src.size())), FBlocks(Src.size())
    {
        for (std::size_t i = 0; i < Src.size(); ++i) {
            const TMtx1& s = *Src[i];
            FBlocks[i] = {s.Values(), s.Rows(), s.Cols()};
            if (!detail::SharesMemory(s, Dst)) continue;
            TVec& c = FCopies[i].Get();
            const std::int64_t n = static_cast<std::int64_t>(s.Rows()) * s.Cols();
            c.Size(static_cast<int>(n), s.Complex());
            std::memcpy(c.Values(), s.Values(), static_cast<std::size_t>(n * WidthOf(s.Complex())) * sizeof(double));
            FBlocks[i].Data = c.Values();
        }
    }
    const TBlock& operator[](std::size_t I) const { return FBlocks[I]; }

private:
    std::unique_ptr<detail::TLazyTemp[]> FCopies;
    std::vector<TBlock> FBlocks;
};

// Copies the block into Dst at (Row, Col).
void PlaceBlock(TMtx1& Dst, const THeldSources::TBlock& B, int Row, int Col)
{
    const int w = WidthOf(Dst.Complex());
    const std::int64_t stride = static_cast<std::int64_t>(Dst.Cols()) * w;
    const std::int64_t line = static_cast<std::int64_t>(B.Cols) * w;
    CopyRows(B.Data, line, Dst.Values() + Row * stride + static_cast<std::int64_t>(Col) * w, stride, B.Rows, line);
}

void CheckNotNil(TOpenArray<const TMtx1*> Src)
{
    for (const TMtx1* s : Src) {
        if (!s) ERaise(msg::kMtxNil);
    }
}

// A count of rows or columns that a matrix can have.
int Dimension(std::int64_t N)
{
    if (N > INT_MAX) ERaise(msg::kSizeTooLarge);
    return static_cast<int>(N);
}

struct TExtent {
    std::int64_t Rows = 0;
    std::int64_t Cols = 0;
};

// The extent of a grid of ARows × ACols blocks, block (p, q) of shape Shape(p·ACols + q) = {rows, cols}: every block
// of a block row must be as high as the row's first block, and every block row as wide as the first.
template <class F>
TExtent GridExtent(int ARows, int ACols, const F& Shape)
{
    TExtent e;
    for (int p = 0; p < ARows; ++p) {
        const TExtent first = Shape(static_cast<std::size_t>(p) * ACols);
        std::int64_t width = 0;
        for (int q = 0; q < ACols; ++q) {
            const TExtent b = Shape(static_cast<std::size_t>(p) * ACols + q);
            if (b.Rows != first.Rows) ERaise(msg::kBlockRows);
            width += b.Cols;
        }
        if (p > 0 && width != e.Cols) ERaise(msg::kBlockCols);
        e.Cols = width;
        e.Rows += first.Rows;
    }
    return e;
}

void CheckGridCount(int ARows, int ACols, std::size_t Count)
{
    if (ARows < 0 || ACols < 0 || static_cast<std::int64_t>(ARows) * ACols != static_cast<std::int64_t>(Count))
        ERaise(msg::kGridCount);
}

template <class T>
void FillToeplitz(T* A, int Rows, int Cols, const T* FirstRow, const T* FirstCol)
{
    for (int i = 0; i < Rows; ++i) {
        T* row = A + static_cast<std::int64_t>(i) * Cols;
        const int below = std::min(i, Cols);
        // (i, j) for j < i comes from FirstCol[i - j - 1]: the column read backwards.
        for (int j = 0; j < below; ++j) row[j] = FirstCol[i - j - 1];
        std::copy(FirstRow, FirstRow + (Cols - below), row + below);
    }
}

template <class T>
void PlaceDiagonal(T* A, int Cols, const T* V, int Len, int K)
{
    const std::int64_t row0 = K > 0 ? 0 : -static_cast<std::int64_t>(K), col0 = K > 0 ? K : 0;
    for (int i = 0; i < Len; ++i) A[(row0 + i) * Cols + col0 + i] = V[i];
}

}  // namespace

// ---- Stacking -------------------------------------------------------------------------------------------------------

TMtx1& TMtx1::ConcatVert(TOpenArray<const TMtx1*> Src)
{
    CheckNotNil(Src);
    if (Src.empty()) {
        Size(0, 0, false);
        return *this;
    }
    const TMtx1& first = *Src[0];
    std::int64_t rows = 0;
    for (const TMtx1* s : Src) {
        if (s->Complex() != first.Complex()) ERaise(msg::kSrc0ComplexI);
        if (s->Cols() != first.Cols()) ERaise(msg::kSrc0ColsI);
        rows += s->Rows();
    }
    CheckSize(Dimension(rows), first.Cols(), first.Complex());
    const THeldSources data(Src, *this);
    Size(static_cast<int>(rows), first.Cols(), first.Complex());
    int at = 0;
    for (std::size_t i = 0; i < Src.size(); ++i) {
        PlaceBlock(*this, data[i], at, 0);
        at += data[i].Rows;
    }
    return *this;
}

TMtx1& TMtx1::ConcatHorz(TOpenArray<const TMtx1*> Src)
{
    CheckNotNil(Src);
    if (Src.empty()) {
        Size(0, 0, false);
        return *this;
    }
    const TMtx1& first = *Src[0];
    std::int64_t cols = 0;
    for (const TMtx1* s : Src) {
        if (s->Complex() != first.Complex()) ERaise(msg::kSrc0ComplexI);
        if (s->Rows() != first.Rows()) ERaise(msg::kSrc0RowsI);
        cols += s->Cols();
    }
    CheckSize(first.Rows(), Dimension(cols), first.Complex());
    const THeldSources data(Src, *this);
    Size(first.Rows(), static_cast<int>(cols), first.Complex());
    int at = 0;
    for (std::size_t i = 0; i < Src.size(); ++i) {
        PlaceBlock(*this, data[i], 0, at);
        at += data[i].Cols;
    }
    return *this;
}

TMtx& TMtx::ConcatVert(int DestRow, int DestCol, TOpenArray<const TMtx1*> Src)
{
    CheckNotNil(Src);
    TCheck(FConditionCheck).Negative({DestRow}, msg::kDestRowNeg).Negative({DestCol}, msg::kDestColNeg);
    std::int64_t rows = 0;
    for (const TMtx1* s : Src) {
        if (s->Complex() != FComplex) ERaise(msg::kComplexSrcI);
        if (static_cast<std::int64_t>(DestCol) + s->Cols() > FCols) ERaise(msg::kDestColSrcCols);
        rows += s->Rows();
    }
    if (DestRow + rows > FRows) ERaise(msg::kTooManyRows);
    const THeldSources data(Src, *this);
    int at = DestRow;
    for (std::size_t i = 0; i < Src.size(); ++i) {
        PlaceBlock(*this, data[i], at, DestCol);
        at += data[i].Rows;
    }
    return *this;
}

TMtx& TMtx::ConcatHorz(int DestRow, int DestCol, TOpenArray<const TMtx1*> Src)
{
    CheckNotNil(Src);
    TCheck(FConditionCheck).Negative({DestRow}, msg::kDestRowNeg).Negative({DestCol}, msg::kDestColNeg);
    std::int64_t cols = 0;
    for (const TMtx1* s : Src) {
        if (s->Complex() != FComplex) ERaise(msg::kComplexSrcI);
        if (static_cast<std::int64_t>(DestRow) + s->Rows() > FRows) ERaise(msg::kDestRowSrcRows);
        cols += s->Cols();
    }
    if (DestCol + cols > FCols) ERaise(msg::kTooManyCols);
    const THeldSources data(Src, *this);
    int at = DestCol;
    for (std::size_t i = 0; i < Src.size(); ++i) {
        PlaceBlock(*this, data[i], DestRow, at);
        at += data[i].Cols;
    }
    return *this;
}

// ---- Block grids ----------------------------------------------------------------------------------------------------

TMtx1& TMtx1::Concat(int ARows, int ACols, TOpenArray<const TMtx1*> Src)
{
    CheckGridCount(ARows, ACols, Src.size());
    CheckNotNil(Src);
    if (Src.empty()) {
        Size(0, 0, false);
        return *this;
    }
    const bool complex = Src[0]->Complex();
    for (const TMtx1* s : Src) {
        if (s->Complex() != complex) ERaise(msg::kSrc0ComplexI);
    }
    const TExtent e = GridExtent(ARows, ACols, [&](std::size_t k) { return TExtent{Src[k]->Rows(), Src[k]->Cols()}; });
    CheckSize(Dimension(e.Rows), Dimension(e.Cols), complex);
    const THeldSources data(Src, *this);
    Size(static_cast<int>(e.Rows), static_cast<int>(e.Cols), complex);
    int row = 0;
    for (int p = 0; p < ARows; ++p) {
        int col = 0;
        for (int q = 0; q < ACols; ++q) {
            const THeldSources::TBlock& b = data[static_cast<std::size_t>(p) * ACols + q];
            PlaceBlock(*this, b, row, col);
            col += b.Cols;
        }
        row += data[static_cast<std::size_t>(p) * ACols].Rows;
    }
    return *this;
}

int TMtx1::Split(int ARows, int ACols, TOpenArray<TMtx1*> Dst) const
{
    CheckGridCount(ARows, ACols, Dst.size());
    for (const TMtx1* d : Dst) {
        if (!d) ERaise(msg::kMtxNil);
    }
    // Each destination is seen with Self's kind: a real one becoming complex halves its Cols (an odd count cannot),
    // a complex one becoming real doubles them.
    const auto shape = [&](std::size_t k) {
        const TMtx1& d = *Dst[k];
        if (d.FComplex == FComplex) return TExtent{d.FRows, d.FCols};
        if (FComplex && d.FCols % 2 != 0) ERaise(msg::kColsOdd);
        return TExtent{d.FRows, FComplex ? d.FCols / 2 : 2LL * d.FCols};
    };
    const TExtent e = GridExtent(ARows, ACols, shape);
    if (e.Rows > FRows) ERaise(msg::kBlockRows);
    if (e.Cols > FCols) ERaise(msg::kBlockCols);
    if (Dst.empty()) return 0;

    // A destination that shares Self's memory would overwrite what later blocks read: read from a copy then.
    detail::TLazyTemp copy;
    const double* self = FValues;
    if (std::any_of(Dst.begin(), Dst.end(), [&](const TMtx1* d) { return detail::SharesMemory(*this, *d); })) {
        TVec& c = copy.Get();
        c.Size(static_cast<int>(Elements()), FComplex);
        std::memcpy(c.Values(), FValues, static_cast<std::size_t>(Numbers()) * sizeof(double));
        self = c.Values();
    }
    const int w = Width();
    const std::int64_t stride = static_cast<std::int64_t>(FCols) * w;
    int row = 0;
    for (int p = 0; p < ARows; ++p) {
        int col = 0;
        for (int q = 0; q < ACols; ++q) {
            TMtx1& d = *Dst[static_cast<std::size_t>(p) * ACols + q];
            d.SetComplex(FComplex);
            CopyRows(self + row * stride + static_cast<std::int64_t>(col) * w, stride, d.FValues,
                     static_cast<std::int64_t>(d.FCols) * w, d.FRows, static_cast<std::int64_t>(d.FCols) * w);
            col += d.FCols;
        }
        row += Dst[static_cast<std::size_t>(p) * ACols]->Rows();
    }
    return Dst[Dst.size() - 1]->Rows();
}

// ---- Special matrices ---------------------------------------------------------------------------------------------

TMtx1& TMtx1::Diag(const TVecs& Vec, int K)
{
    // These guard the memory of Self and Vec, so they run whatever ConditionCheck is.
    const std::int64_t len = Vec.Length();
    TCheck(FConditionCheck)
        .Always(len == 0, msg::kVecLengthZero)
        .Always(K >= 0 && (len + K > FCols || len > FRows), msg::kDiagCols)
        .Always(K < 0 && (len - K > FRows || len > FCols), msg::kDiagRows)
        .Always(Vec.Complex() != FComplex, msg::kCopyComplex);
    const detail::TStable v(Vec, *this);
    if (FComplex)
        PlaceDiagonal(CValues(), FCols, v->CValues(), v->Length(), K);
    else
        PlaceDiagonal(FValues, FCols, v->Values(), v->Length(), K);
    return *this;
}

TMtx1& TMtx1::Eye(int ARows, int ACols, bool AComplex)
{
    Size(ARows, ACols, AComplex);
    SetZero();
    const int n = std::min(ARows, ACols);
    const int w = Width();
    for (int k = 0; k < n; ++k) FValues[(static_cast<std::int64_t>(k) * FCols + k) * w] = 1;
    return *this;
}

TMtx1& TMtx1::Toeplitz(const TVecs& FirstRow, const TVecs& FirstCol)
{
    TCheck(FConditionCheck).Always(FirstRow.Complex() != FirstCol.Complex(), msg::kFirstRowColComplex);
    const detail::TStable row(FirstRow, *this), col(FirstCol, *this);
    Size(Dimension(static_cast<std::int64_t>(col->Length()) + 1), row->Length(), row->Complex());
    if (FComplex)
        FillToeplitz(CValues(), FRows, FCols, row->CValues(), col->CValues());
    else
        FillToeplitz(FValues, FRows, FCols, row->Values(), col->Values());
    return *this;
}

TMtx1& TMtx1::Pascl(int N)
{
    Size(N, N, false);
    // Each element is the sum of its left and upper neighbours: C(i + j, i), exact while below 2^53 (N <= 29).
    for (int i = 0; i < N; ++i) {
        double* row = FValues + static_cast<std::int64_t>(i) * N;
        row[0] = 1;
        if (i == 0) {
            std::fill(row + 1, row + N, 1.0);
            continue;
        }
        const double* above = row - N;
        for (int j = 1; j < N; ++j) row[j] = row[j - 1] + above[j];
    }
    return *this;
}

}  // namespace tarnel

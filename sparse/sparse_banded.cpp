// TSparseMtx: the band width of the pattern, the conversions to and from band storage, one diagonal as a vector, the
// triangles, and the split into lower part, diagonal and upper part with the two assemblies back.
//
// Every result is built in local arrays and installed at the end, so a source may be the destination (or two
// destinations one matrix) and a refused call changes nothing, with the one exception the interface keeps:
// AddSplit sets the kind and the dimensions before it checks the diagonal's length. The band storage is the layout
// of core/BandLayout.h, shared with the dense conversion.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/BandLayout.h"
#include "core/Dovi387.h"
#include "core/messages.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

// Calls F(row, column, k) for every stored entry k of column J.
template <class Fn>
void EachInColumn(std::span<const int> ColPtr, std::span<const int> RowIdx, int J, Fn&& F)
{
    for (int k = ColPtr[static_cast<std::size_t>(J)]; k < ColPtr[static_cast<std::size_t>(J) + 1]; ++k)
        F(RowIdx[static_cast<std::size_t>(k)], J, k);
}

// Calls F(row, column, k) for every stored entry k in storage order.
template <class Fn>
void EachEntry(const TSparseMtx1& M, Fn&& F)
{
    for (int j = 0; j < M.Cols(); ++j) EachInColumn(M.ColPointers(), M.RowIndices(), j, F);
}

// A result built column by column: row indices and the values as Doubles (Width of them per entry).
struct TColumns {
    explicit TColumns(int Width, int Cols) : W(Width) { ColPtr.reserve(static_cast<std::size_t>(Cols) + 1); }
    void Put(int Row, const double* V)
    {
        Rows.push_back(Row);
        Values.insert(Values.end(), V, V + W);
    }
    void EndColumn() { ColPtr.push_back(static_cast<int>(Rows.size())); }
    int W;
    std::vector<int> ColPtr{0};
    std::vector<int> Rows;
    std::vector<double> Values;
};

// The value of a band slot is kept when its magnitude is above Thresh and, as the triplet conversion with threshold
// 0 decides, when it is not zero (or always with DontStripZeros).
bool KeptSlot(const double* V, bool Complex, double Thresh, bool DontStripZeros)
{
    if (Complex) {
        const TCplx z{V[0], V[1]};
        return detail::KeptValue(z, Thresh, false) && detail::KeptValue(z, 0, DontStripZeros);
    }
    return detail::KeptValue(V[0], Thresh, false) && detail::KeptValue(V[0], 0, DontStripZeros);
}

// Sets a matrix's DontStripZeros for the length of a scope.
class TKeepZeros {
public:
    explicit TKeepZeros(TSparseMtx1& M) : FM(M), FOld(M.DontStripZeros()) { M.SetDontStripZeros(true); }
    ~TKeepZeros() { FM.SetDontStripZeros(FOld); }
    TKeepZeros(const TKeepZeros&) = delete;
    TKeepZeros& operator=(const TKeepZeros&) = delete;

private:
    TSparseMtx1& FM;
    bool FOld;
};

}  // namespace

void TSparseMtx1::InstallDoubles(int ARows, int ACols, bool AComplex, std::vector<int>&& ColPtr,
                                 const std::vector<int>& RowIdx, const std::vector<double>& Values)
{
    Install(ARows, ACols, AComplex, std::move(ColPtr));
    std::copy(RowIdx.begin(), RowIdx.end(), FRowIndices.begin());
    std::copy(Values.begin(), Values.end(), FValues->Values());
}

// ---- Band width and band storage ----------------------------------------------------------------------------------

void TSparseMtx1::DiagonalsCount(int& SuperDiag, int& SubDiag) const
{
    CheckPattern(true);
    int up = 0, low = 0;
    EachEntry(*this, [&](int r, int c, int) {
        if (r < c)
            up = std::max(up, c - r);
        else
            low = std::max(low, r - c);
    });
    SuperDiag = up;
    SubDiag = low;
}

void TSparseMtx::SparseToBanded(TMtx& Dst, int MaxElemCount) const
{
    int ku = 0, kl = 0;
    DiagonalsCount(ku, kl);
    detail::PrepareBand(Dst, ku, kl, FCols, FComplex, MaxElemCount);
    const int w = FComplex ? 2 : 1;
    double* band = Dst.Values();
    const double* values = FValues->Values();
    EachEntry(*this, [&](int r, int c, int k) {
        double* to = band + detail::BandSlot(ku, FCols, r, c) * w;
        const double* from = values + static_cast<std::int64_t>(k) * w;
        to[0] = from[0];
        if (w == 2) to[1] = from[1];
    });
}

void TSparseMtx::BandedToSparse(const TMtx& Src, double Thresh)
{
    const int ku = Src.SuperDiag(), kl = Src.SubDiag();
    if (ku < 0 || kl < 0 || static_cast<std::int64_t>(ku) + kl + 1 != Src.Rows()) ERaise(msg::sparse::kBandedRows);
    const int n = Src.Cols();
    const bool complex = Src.Complex();
    const int w = complex ? 2 : 1;
    // Column c of the result holds band rows k with 0 <= k + c - ku < n, the matrix rows ascending with k; the slots
    // are counted as they are visited (the count formula of the full band does not hold when ku or kl >= n).
    TColumns out(w, n);
    const double* band = Src.Values();
    for (int c = 0; c < n; ++c) {
        const std::int64_t kFirst = std::max<std::int64_t>(0, static_cast<std::int64_t>(ku) - c);
        const std::int64_t kLast =
            std::min<std::int64_t>(static_cast<std::int64_t>(ku) + kl, static_cast<std::int64_t>(ku) + n - 1 - c);
        for (std::int64_t k = kFirst; k <= kLast; ++k) {
            const double* v = band + (k * n + c) * w;
            if (KeptSlot(v, complex, Thresh, FDontStripZeros)) out.Put(static_cast<int>(k + c - ku), v);
        }
        out.EndColumn();
    }
    InstallDoubles(n, n, complex, std::move(out.ColPtr), out.Rows, out.Values);
}

// ---- One diagonal -------------------------------------------------------------------------------------------------

void TSparseMtx1::Diag(TVec& Vec, int k) const
{
    const int len = std::max(0, std::min(FRows, FCols));
    Vec.Size(len, FComplex);
    Vec.SetZero();
    if (k < 0 && -static_cast<std::int64_t>(k) > FRows) ERaise(msg::sparse::kDiagAbove);
    if (k >= 0 && k > FCols) ERaise(msg::sparse::kDiagBelow);
    CheckPattern(false);
    const int w = FComplex ? 2 : 1;
    const double* values = FValues->Values();
    double* to = Vec.Values();
    // Only the elements the vector has: a wide matrix's diagonal may go on in columns past Rows.
    for (int c = 0; c < len; ++c) {
        const std::int64_t row = static_cast<std::int64_t>(c) + k;
        for (int p = FColPointers[static_cast<std::size_t>(c)]; p < FColPointers[static_cast<std::size_t>(c) + 1];
             ++p) {
            if (FRowIndices[static_cast<std::size_t>(p)] != row) continue;
            std::copy_n(values + static_cast<std::int64_t>(p) * w, w, to + static_cast<std::int64_t>(c) * w);
            break;
        }
    }
}

// ---- Triangles and the split --------------------------------------------------------------------------------------

template <class Keep>
void TSparseMtx1::KeepEntries(const TSparseMtx& Src, Keep&& F)
{
    Src.CheckPattern(false);
    const int w = Src.FComplex ? 2 : 1;
    TColumns out(w, Src.FCols);
    const double* values = Src.FValues->Values();
    for (int j = 0; j < Src.FCols; ++j) {
        EachInColumn(Src.ColPointers(), Src.RowIndices(), j, [&](int r, int c, int k) {
            if (F(r, c)) out.Put(r, values + static_cast<std::int64_t>(k) * w);
        });
        out.EndColumn();
    }
    InstallDoubles(Src.FRows, Src.FCols, Src.FComplex, std::move(out.ColPtr), out.Rows, out.Values);
}

void TSparseMtx1::LowerTriangle(const TSparseMtx& Src, bool Diagonal)
{
    KeepEntries(Src, [Diagonal](int r, int c) { return r > c || (Diagonal && r == c); });
}

void TSparseMtx1::UpperTriangle(const TSparseMtx& Src, bool Diagonal)
{
    KeepEntries(Src, [Diagonal](int r, int c) { return r < c || (Diagonal && r == c); });
}

void TSparseMtx1::Split(TSparseMtx& LowerTriang, TVec& Diag, TSparseMtx& UpperTriang, bool DiagonalInLower) const
{
    CheckPattern(true);
    const int w = FComplex ? 2 : 1;
    const int len = std::max(0, std::min(FRows, FCols));
    TColumns lower(w, FCols), upper(w, FCols);
    std::vector<double> diag(static_cast<std::size_t>(len) * w, 0.0);
    const double* values = FValues->Values();
    for (int j = 0; j < FCols; ++j) {
        EachInColumn(ColPointers(), RowIndices(), j, [&](int r, int c, int k) {
            const double* v = values + static_cast<std::int64_t>(k) * w;
            if (r < c)
                upper.Put(r, v);
            else if (r > c || DiagonalInLower)
                lower.Put(r, v);
            else
                std::copy_n(v, w, diag.begin() + static_cast<std::ptrdiff_t>(c) * w);
        });
        lower.EndColumn();
        upper.EndColumn();
    }
    // Self is read no more: any of the results may be Self.
    const int rows = FRows, cols = FCols;
    const bool complex = FComplex;
    Diag.Size(len, complex);
    std::copy(diag.begin(), diag.end(), Diag.Values());
    LowerTriang.InstallDoubles(rows, cols, complex, std::move(lower.ColPtr), lower.Rows, lower.Values);
    UpperTriang.InstallDoubles(rows, cols, complex, std::move(upper.ColPtr), upper.Rows, upper.Values);
}

// ---- The assemblies -----------------------------------------------------------------------------------------------

void TSparseMtx2::AddSplit(const TSparseMtx& LowerTriang, const TVec& Diag, const TSparseMtx& UpperTriang)
{
    if (Diag.Complex() != LowerTriang.Complex()) ERaise(msg::sparse::kSplitLowerComplex);
    if (Diag.Complex() != UpperTriang.Complex()) ERaise(msg::sparse::kSplitUpperComplex);
    const int rows = LowerTriang.Rows(), cols = UpperTriang.Cols();
    if (Diag.Length() != std::min(cols, rows)) {
        // The kind and the dimensions are set before this check, as callers of the interface see them.
        SetComplex(Diag.Complex());
        SetCols(cols);
        SetRows(rows);
        ERaise(msg::sparse::kSplitDiagLength);
    }
    AssembleSplit(LowerTriang, &Diag, UpperTriang);
}

void TSparseMtx::AddSplit(const TSparseMtx& LowerTriang, const TSparseMtx& UpperTriang)
{
    if (UpperTriang.Complex() != LowerTriang.Complex()) ERaise(msg::sparse::kSplitPartsComplex);
    AssembleSplit(LowerTriang, nullptr, UpperTriang);
}

void TSparseMtx1::AssembleSplit(const TSparseMtx& LowerTriang, const TVec* Diag, const TSparseMtx& UpperTriang)
{
    LowerTriang.CheckPattern(false);
    UpperTriang.CheckPattern(false);
    const int rows = LowerTriang.FRows, cols = UpperTriang.FCols;
    const bool complex = UpperTriang.FComplex;
    const int w = complex ? 2 : 1;
    const int diagLen = Diag ? Diag->Length() : 0;
    const double* lowerValues = LowerTriang.FValues->Values();
    const double* upperValues = UpperTriang.FValues->Values();
    const double* diagValues = Diag ? Diag->Values() : nullptr;
    // F(row, column, value) for every entry in the order of the assembly: column j is the upper part's column j,
    // the diagonal element unless it is zero, then the lower part's column j, also past the result's columns.
    const int lastCol = std::max(cols, LowerTriang.FCols);
    const auto Each = [&](auto&& F, auto&& EndColumn) {
        for (int j = 0; j < lastCol; ++j) {
            if (j < cols)
                EachInColumn(UpperTriang.ColPointers(), UpperTriang.RowIndices(), j,
                             [&](int r, int c, int k) { F(r, c, upperValues + static_cast<std::int64_t>(k) * w); });
            if (j < diagLen) {
                const double* d = diagValues + static_cast<std::int64_t>(j) * w;
                if (d[0] != 0 || (w == 2 && d[1] != 0)) F(j, j, d);
            }
            if (j < LowerTriang.FCols)
                EachInColumn(LowerTriang.ColPointers(), LowerTriang.RowIndices(), j,
                             [&](int r, int c, int k) { F(r, c, lowerValues + static_cast<std::int64_t>(k) * w); });
            if (j < cols) EndColumn();
        }
    };
    // The plain concatenation is the sum when every column comes out with ascending rows inside the result.
    TColumns out(w, cols);
    bool ordered = true;
    int last = -1;
    Each(
        [&](int r, int c, const double* v) {
            if (c >= cols || r >= rows || r <= last) ordered = false;
            last = r;
            if (ordered) out.Put(r, v);
        },
        [&] {
            out.EndColumn();
            last = -1;
        });
    if (ordered) return InstallDoubles(rows, cols, complex, std::move(out.ColPtr), out.Rows, out.Values);

    // Otherwise the triplet conversion sorts the rows and sums what meets, keeping stored zeros as the plain
    // concatenation does; an entry outside the result's dimensions is "Invalid triplet!".
    TIntArray rowIdx, colIdx;
    std::vector<double> values;
    Each(
        [&](int r, int c, const double* v) {
            rowIdx.push_back(r);
            colIdx.push_back(c);
            values.insert(values.end(), v, v + w);
        },
        [] {});
    TKeepZeros keep(*this);
    InternalTripletsToSparse(rows, cols, rowIdx, colIdx,
                             complex ? reinterpret_cast<const TCplx*>(values.data()) : nullptr,
                             complex ? nullptr : values.data(), 0);
}

}  // namespace tarnel

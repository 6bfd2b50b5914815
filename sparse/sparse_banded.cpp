// TSparseMtx: the band width of the pattern, the conversions to and from band storage, one diagonal as a vector, the
// triangles, and the split into lower part, diagonal and upper part with the two assemblies back.
//
// Every result is counted column by column first and then written once: straight into the destination, or through
// local arrays when the destination is also a source. So a source may be the destination (or two destinations one
// matrix), and a refused call changes nothing, with the one exception the interface keeps: AddSplit sets the kind
// and the dimensions before it checks the diagonal's length. The band storage is the layout
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

// Column pointers from counts held one place on (Ptr[j + 1] = count of column j).
void PrefixSum(std::vector<int>& Ptr)
{
    for (std::size_t j = 1; j < Ptr.size(); ++j) Ptr[j] += Ptr[j - 1];
}

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

template <class Fill>
void TSparseMtx1::BuildColumns(int ARows, int ACols, bool AComplex, std::vector<int>&& ColPtr, bool Direct, Fill&& F)
{
    if (Direct) {
        Install(ARows, ACols, AComplex, std::move(ColPtr));
        F(FRowIndices.data(), FValues->Values());
        return;
    }
    const auto count = static_cast<std::size_t>(ColPtr.back());
    std::vector<int> rows(count);
    std::vector<double> values(count * (AComplex ? 2 : 1));
    F(rows.data(), values.data());
    InstallDoubles(ARows, ACols, AComplex, std::move(ColPtr), rows, values);
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
    const double* band = Src.Values();
    const auto EachSlot = [&](auto&& F) {
        for (int c = 0; c < n; ++c) {
            const std::int64_t kFirst = std::max<std::int64_t>(0, static_cast<std::int64_t>(ku) - c);
            const std::int64_t kLast =
                std::min<std::int64_t>(static_cast<std::int64_t>(ku) + kl, static_cast<std::int64_t>(ku) + n - 1 - c);
            for (std::int64_t k = kFirst; k <= kLast; ++k) {
                const double* v = band + (k * n + c) * w;
                if (KeptSlot(v, complex, Thresh, FDontStripZeros)) F(static_cast<int>(k + c - ku), c, v);
            }
        }
    };
    std::vector<int> colPtr(static_cast<std::size_t>(n) + 1, 0);
    EachSlot([&](int, int c, const double*) { ++colPtr[static_cast<std::size_t>(c) + 1]; });
    PrefixSum(colPtr);
    BuildColumns(n, n, complex, std::move(colPtr), true, [&](int* rows, double* values) {
        EachSlot([&](int r, int, const double* v) {
            *rows++ = r;
            values = std::copy_n(v, w, values);
        });
    });
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
    const double* values = Src.FValues->Values();
    std::vector<int> colPtr(static_cast<std::size_t>(Src.FCols) + 1, 0);
    EachEntry(Src, [&](int r, int c, int) {
        if (F(r, c)) ++colPtr[static_cast<std::size_t>(c) + 1];
    });
    PrefixSum(colPtr);
    BuildColumns(Src.FRows, Src.FCols, Src.FComplex, std::move(colPtr), &Src != this, [&](int* rows, double* to) {
        EachEntry(Src, [&](int r, int c, int k) {
            if (!F(r, c)) return;
            *rows++ = r;
            to = std::copy_n(values + static_cast<std::int64_t>(k) * w, w, to);
        });
    });
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
    const int rows = FRows, cols = FCols;
    const bool complex = FComplex;
    const double* values = FValues->Values();
    // Lower part r > c (and r = c with DiagonalInLower), upper part r < c.
    const auto InLower = [DiagonalInLower](int r, int c) { return r > c || (DiagonalInLower && r == c); };
    const auto InUpper = [](int r, int c) { return r < c; };
    std::vector<int> lowerPtr(static_cast<std::size_t>(cols) + 1, 0), upperPtr(lowerPtr);
    std::vector<double> diag(static_cast<std::size_t>(len) * w, 0.0);
    EachEntry(*this, [&](int r, int c, int k) {
        if (InUpper(r, c))
            ++upperPtr[static_cast<std::size_t>(c) + 1];
        else if (InLower(r, c))
            ++lowerPtr[static_cast<std::size_t>(c) + 1];
        else
            std::copy_n(values + static_cast<std::int64_t>(k) * w, w,
                        diag.begin() + static_cast<std::ptrdiff_t>(c) * w);
    });
    PrefixSum(lowerPtr);
    PrefixSum(upperPtr);
    Diag.Size(len, complex);
    std::copy(diag.begin(), diag.end(), Diag.Values());
    // A part is written straight into its matrix unless that matrix is Self, which is then written last.
    const auto Part = [&](TSparseMtx& Dst, std::vector<int>& Ptr, auto&& Keep) {
        Dst.BuildColumns(rows, cols, complex, std::move(Ptr), &Dst != this, [&](int* to, double* v) {
            EachEntry(*this, [&](int r, int c, int k) {
                if (!Keep(r, c)) return;
                *to++ = r;
                v = std::copy_n(values + static_cast<std::int64_t>(k) * w, w, v);
            });
        });
    };
    if (&LowerTriang == &UpperTriang) {
        Part(UpperTriang, upperPtr, InUpper);  // one matrix for both ends as the upper part
    } else if (&LowerTriang == this) {
        Part(UpperTriang, upperPtr, InUpper);
        Part(LowerTriang, lowerPtr, InLower);
    } else {
        Part(LowerTriang, lowerPtr, InLower);
        Part(UpperTriang, upperPtr, InUpper);
    }
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
    std::vector<int> colPtr(static_cast<std::size_t>(cols) + 1, 0);
    bool ordered = true;
    int last = -1;
    Each(
        [&](int r, int c, const double*) {
            if (c >= cols || r >= rows || r <= last) ordered = false;
            last = r;
            if (ordered) ++colPtr[static_cast<std::size_t>(c) + 1];
        },
        [&] { last = -1; });
    if (ordered) {
        PrefixSum(colPtr);
        const bool direct = this != &LowerTriang && this != &UpperTriang;
        return BuildColumns(rows, cols, complex, std::move(colPtr), direct, [&](int* to, double* v) {
            Each(
                [&](int r, int, const double* x) {
                    *to++ = r;
                    v = std::copy_n(x, w, v);
                },
                [] {});
        });
    }

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

// TSparseMtx: the sparse product and the sparse sum.
//
// The product runs column by column with a marker array (rows in the order they are first reached, cancellations
// kept as explicit zeros). A first pass counts the result, so that the limit is checked as the doubling room from
// both operands' entries would meet it, before anything is written, and the result is sized once (in Self's own
// storage unless Self is an operand). The sum is a sorted merge per column, counted the same way against its room
// (from the larger entry count, doubling when full, up to MaxNonZeroCount): when every column of both operands
// ascends within the rows (one pass finds out) the merge reads the entries where they lie, and operands of one
// pattern are summed position by position; otherwise columns whose rows do not ascend (a product's) are merged
// through sorted copies. Operands may be Self and are only read, and a refused call leaves Self as it
// was. A real operand mixed with a complex one counts as x + 0i.
#include <algorithm>
#include <climits>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/Dovi387.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

using detail::Elem;
using detail::TC;
using detail::TValueReader;

namespace {

// Makes room for one more entry: the capacity doubles, unless twice it passes Max.
void Grow(std::int64_t& Capacity, std::int64_t Max, const char* Msg)
{
    if (2 * Capacity > Max) ERaise(Msg);
    Capacity = std::max<std::int64_t>(2 * Capacity, 1);
}

// The room a sum of N entries grows through: from Capacity (the larger operand's entry count), doubled whenever
// fewer than two places are left; raises the sum's limit text when the doubling would pass Max.
void CheckSumRoom(std::int64_t Capacity, std::int64_t N, std::int64_t Max)
{
    for (std::int64_t at = std::max<std::int64_t>(1, Capacity - 1); at <= N; at = std::max(at + 1, Capacity - 1))
        Grow(Capacity, Max, msg::sparse::kAddMaxReached);
}

// Where a result of N entries is built: local arrays when Self is an operand (installed at the end), else Self's
// own storage, sized now by Install.
template <class T, class InstallFn>
std::pair<int*, T*> ResultRoom(bool SelfOperand, std::int64_t N, std::vector<int>& LocalRows,
                               std::vector<T>& LocalValues, InstallFn&& Install, std::vector<int>& RowStore,
                               TVec& ValueStore)
{
    if (SelfOperand) {
        LocalRows.resize(static_cast<std::size_t>(N));
        LocalValues.resize(static_cast<std::size_t>(N));
        return {LocalRows.data(), LocalValues.data()};
    }
    Install();
    return {RowStore.data(), reinterpret_cast<T*>(ValueStore.Values())};  // complex<double> is laid out as (Re, Im)
}

}  // namespace

template <class T>
void TSparseMtx1::BuildProduct(const TSparseMtx& Left, const TSparseMtx& Right, bool ConjRight, int MaxNonZeroCount,
                               const char* Msg)
{
    const int rows = Left.FRows, cols = Right.FCols;
    const int* lp = Left.FColPointers.data();
    const int* li = Left.FRowIndices.data();
    const int* rp = Right.FColPointers.data();
    const int* ri = Right.FRowIndices.data();
    // First pass: the rows each result column reaches, marked with the column's number.
    std::vector<int> colPtr(static_cast<std::size_t>(cols) + 1, 0);
    std::vector<int> marker(static_cast<std::size_t>(rows) + 1, -1);
    std::int64_t q = 0;
    for (int j = 0; j < cols; ++j) {
        for (int kr = rp[j]; kr < rp[j + 1]; ++kr) {
            const int k = ri[kr];
            for (int kl = lp[k]; kl < lp[k + 1]; ++kl) {
                int& m = marker[static_cast<std::size_t>(li[kl])];
                if (m != j) m = j, ++q;
            }
        }
        colPtr[static_cast<std::size_t>(j) + 1] = static_cast<int>(std::min<std::int64_t>(q, INT_MAX));
    }
    // The room the result grows through: both operands' entries, doubled while short (so the limit refuses exactly
    // the products it would refuse entry by entry), checked before anything is written.
    std::int64_t capacity = static_cast<std::int64_t>(Left.FNonZeros) + Right.FNonZeros;
    while (capacity < q) Grow(capacity, MaxNonZeroCount, Msg);

    // Second pass: the entries in the order their rows are first reached; a marker below the column's first
    // position belongs to an earlier column. Straight into Self's storage unless Self is an operand.
    const bool selfOperand = static_cast<const void*>(&Left) == this || static_cast<const void*>(&Right) == this;
    std::vector<int> localRows;
    std::vector<T> localValues;
    const auto [outRows, outValues] = ResultRoom<T>(
        selfOperand, q, localRows, localValues,
        [&] { Install(rows, cols, std::is_same_v<T, TC>, std::move(colPtr)); }, FRowIndices, *FValues);
    std::fill(marker.begin(), marker.end(), -1);
    int p = 0;
    for (int j = 0; j < cols; ++j) {
        const int first = p;
        for (int kr = rp[j]; kr < rp[j + 1]; ++kr) {
            const int k = ri[kr];
            T v = Elem<T>(*Right.FValues, static_cast<std::size_t>(kr));
            if constexpr (!std::is_same_v<T, double>)
                if (ConjRight) v = std::conj(v);
            for (int kl = lp[k]; kl < lp[k + 1]; ++kl) {
                const int i = li[kl];
                const T w = Elem<T>(*Left.FValues, static_cast<std::size_t>(kl));
                int& m = marker[static_cast<std::size_t>(i)];
                if (m < first) {
                    m = p;
                    outRows[p] = i;
                    outValues[p++] = w * v;
                } else {
                    outValues[m] += w * v;
                }
            }
        }
    }
    if (selfOperand) InstallBuilt(rows, cols, std::move(colPtr), localRows, localValues);
}

template <class T>
void TSparseMtx1::InstallBuilt(int ARows, int ACols, std::vector<int>&& ColPtr, const std::vector<int>& RowIdx,
                               const std::vector<T>& Values)
{
    Install(ARows, ACols, std::is_same_v<T, TC>, std::move(ColPtr));
    std::copy(RowIdx.begin(), RowIdx.end(), FRowIndices.begin());
    detail::StoreElems(Values, *FValues);
}

void TSparseMtx1::ProductOf(const TSparseMtx& Left, const TSparseMtx& Right, bool ConjRight, int MaxNonZeroCount)
{
    if (Right.FRows != Left.FCols) ERaise(msg::sparse::kMulRowsCols);
    Left.CheckPattern(true);
    Right.CheckPattern(true);
    if (Left.FComplex || Right.FComplex) {
        const char* msg =
            Right.FComplex && !Left.FComplex ? msg::sparse::kMulLimitReached : msg::sparse::kMulMaxReached;
        BuildProduct<TC>(Left, Right, ConjRight, MaxNonZeroCount, msg);
    } else {
        BuildProduct<double>(Left, Right, false, MaxNonZeroCount, msg::sparse::kMulMaxReached);
    }
}

void TSparseMtx1::Mul(const TSparseMtx& Left, const TSparseMtx& Right, int MaxNonZeroCount)
{
    ProductOf(Left, Right, false, MaxNonZeroCount);
}

void TSparseMtx1::ConjMul(const TSparseMtx& Left, const TSparseMtx& Right, int MaxNonZeroCount)
{
    ProductOf(Left, Right, true, MaxNonZeroCount);
}

namespace {

// The entries of column J of M as (row, position) pairs in ascending rows.
void SortedColumn(std::span<const int> ColPtr, std::span<const int> RowIdx, int J,
                  std::vector<std::pair<int, int>>& Out)
{
    Out.clear();
    for (int k = ColPtr[static_cast<std::size_t>(J)]; k < ColPtr[static_cast<std::size_t>(J) + 1]; ++k)
        Out.emplace_back(RowIdx[static_cast<std::size_t>(k)], k);
    if (!std::is_sorted(Out.begin(), Out.end())) std::stable_sort(Out.begin(), Out.end());
}

// Column J of a matrix in ascending rows: read where it lies when its rows ascend, else through a sorted copy.
struct TColumnRows {
    std::vector<std::pair<int, int>> Sorted;
    const int* Rows = nullptr;
    int First = 0, Count = 0;
    bool Direct = true;

    // Ascending: every column of M is known to ascend.
    void Take(const TSparseMtx& M, int J, bool Ascending)
    {
        const std::span<const int> colPtr = M.ColPointers(), rowIdx = M.RowIndices();
        First = colPtr[static_cast<std::size_t>(J)];
        Count = colPtr[static_cast<std::size_t>(J) + 1] - First;
        Rows = rowIdx.data() + First;
        Direct = Ascending || std::is_sorted(Rows, Rows + Count);
        if (!Direct) SortedColumn(colPtr, rowIdx, J, Sorted);
    }
    int Row(int T) const { return Direct ? Rows[T] : Sorted[static_cast<std::size_t>(T)].first; }
    int Pos(int T) const { return Direct ? First + T : Sorted[static_cast<std::size_t>(T)].second; }
};

// Whether the rows of every column of M ascend (as triplet conversions leave them; a product's need not) and lie
// within 0..Rows-1. The column pointers have been checked. One pass over all rows counts the descents and finds
// the largest row (as unsigned, so a negative row is large); the descents where a column starts are then taken off.
bool AllColumnsAscendWithin(const TSparseMtx& M)
{
    const int nz = M.NonZeros();
    if (nz == 0) return true;
    const int* colPtr = M.ColPointers().data();
    const int* rowIdx = M.RowIndices().data();
    unsigned largest = static_cast<unsigned>(rowIdx[0]);
    int descents = 0;
    for (int k = 1; k < nz; ++k) {
        descents += rowIdx[k] < rowIdx[k - 1];
        largest = std::max(largest, static_cast<unsigned>(rowIdx[k]));
    }
    if (largest >= static_cast<unsigned>(M.Rows())) return false;
    for (int j = 0; j < M.Cols() && descents > 0; ++j) {
        const int first = colPtr[j];
        if (first > 0 && first < colPtr[j + 1]) descents -= rowIdx[first] < rowIdx[first - 1];
    }
    return descents == 0;
}

// Marks the end of a column in the merge.
constexpr int kSentinelRow = 2000000000;

// The sorted merge of A's and B's columns: Entry(Row, PosA, PosB) for each entry of the sum in order (-1 for the
// operand without one), EndColumn(J) after column J. AscendingA, AscendingB: every column of A (B) ascends.
template <class EntryFn, class EndFn>
void MergeColumns(const TSparseMtx& A, const TSparseMtx& B, bool AscendingA, bool AscendingB, EntryFn&& Entry,
                  EndFn&& EndColumn)
{
    TColumnRows a, b;
    for (int j = 0; j < A.Cols(); ++j) {
        a.Take(A, j, AscendingA);
        b.Take(B, j, AscendingB);
        int ia = 0, ib = 0;
        while (ia < a.Count || ib < b.Count) {
            const int ra = ia < a.Count ? a.Row(ia) : kSentinelRow;
            const int rb = ib < b.Count ? b.Row(ib) : kSentinelRow;
            if (ra == rb)
                Entry(ra, a.Pos(ia++), b.Pos(ib++));
            else if (ra < rb)
                Entry(ra, a.Pos(ia++), -1);
            else
                Entry(rb, -1, b.Pos(ib++));
        }
        EndColumn(j);
    }
}

// Whether A and B (of one size) hold the same rows at the same positions.
bool SamePatternOf(const TSparseMtx& A, const TSparseMtx& B)
{
    if (&A == &B) return true;
    const std::span<const int> ap = A.ColPointers(), bp = B.ColPointers(), ai = A.RowIndices(), bi = B.RowIndices();
    return std::equal(ap.begin(), ap.end(), bp.begin(), bp.end()) &&
           std::equal(ai.begin(), ai.end(), bi.begin(), bi.end());
}

// The sum when every column of both operands ascends within the rows (the common case), read where the entries
// lie. Counting: ColPtr (Cols + 1 entries, ColPtr[0] = 0) gets the column pointers, clamped to the int range; the
// entry count is returned. A row in both operands gives one entry; operands of one pattern give it as it is.
std::int64_t CountAscendingSum(const TSparseMtx& A, const TSparseMtx& B, bool SamePattern, std::vector<int>& ColPtr)
{
    const int* ap = A.ColPointers().data();
    const int* ai = A.RowIndices().data();
    const int* bp = B.ColPointers().data();
    const int* bi = B.RowIndices().data();
    if (SamePattern) {
        std::copy(ap, ap + A.Cols() + 1, ColPtr.begin());
        return A.NonZeros();
    }
    std::int64_t n = 0;
    for (int j = 0; j < A.Cols(); ++j) {
        int ka = ap[j], kb = bp[j];
        const int ea = ap[j + 1], eb = bp[j + 1];
        int common = 0;
        while (ka < ea && kb < eb) {
            const int x = ai[ka], y = bi[kb];
            if (x == y)
                ++ka, ++kb, ++common;
            else if (x < y)
                ++ka;
            else
                ++kb;
        }
        n += static_cast<std::int64_t>(ea - ap[j]) + (eb - bp[j]) - common;
        ColPtr[static_cast<std::size_t>(j) + 1] = static_cast<int>(std::min<std::int64_t>(n, INT_MAX));
    }
    return n;
}

// Filling: the entries in ascending rows, A's value plus BSign times B's where both hold the row.
template <class T>
void FillAscendingSum(const TSparseMtx& A, const TSparseMtx& B, double BSign, bool SamePattern, int* OutRows,
                      T* OutValues)
{
    const int* ap = A.ColPointers().data();
    const int* ai = A.RowIndices().data();
    const int* bp = B.ColPointers().data();
    const int* bi = B.RowIndices().data();
    const TValueReader<T> va{A.Values().Values(), A.Complex()}, vb{B.Values().Values(), B.Complex()};
    if (SamePattern) {
        const int nz = A.NonZeros();
        std::copy(ai, ai + nz, OutRows);
        for (int k = 0; k < nz; ++k) OutValues[k] = va(k) + BSign * vb(k);
        return;
    }
    int p = 0;
    for (int j = 0; j < A.Cols(); ++j) {
        int ka = ap[j], kb = bp[j];
        const int ea = ap[j + 1], eb = bp[j + 1];
        while (ka < ea && kb < eb) {
            const int x = ai[ka], y = bi[kb];
            if (x == y) {
                OutRows[p] = x;
                OutValues[p++] = va(ka++) + BSign * vb(kb++);
            } else if (x < y) {
                OutRows[p] = x;
                OutValues[p++] = va(ka++);
            } else {
                OutRows[p] = y;
                OutValues[p++] = BSign * vb(kb++);
            }
        }
        for (; ka < ea; ++ka, ++p) OutRows[p] = ai[ka], OutValues[p] = va(ka);
        for (; kb < eb; ++kb, ++p) OutRows[p] = bi[kb], OutValues[p] = BSign * vb(kb);
    }
}

}  // namespace

template <class T>
void TSparseMtx1::BuildSum(const TSparseMtx& A, const TSparseMtx& B, double BSign, int MaxNonZeroCount)
{
    // First pass: the entries of every column, and the room the result would grow through (from the larger entry
    // count, doubled whenever fewer than two places are left), checked before anything is written.
    // The rows are checked here, as the merge meets them.
    const bool ascendingA = AllColumnsAscendWithin(A);
    const bool ascendingB = &B == &A ? ascendingA : AllColumnsAscendWithin(B);
    const bool ascending = ascendingA && ascendingB;
    const bool samePattern = ascending && SamePatternOf(A, B);
    std::vector<int> colPtr(static_cast<std::size_t>(A.FCols) + 1, 0);
    std::int64_t n = 0;
    if (ascending) {
        n = CountAscendingSum(A, B, samePattern, colPtr);
    } else {
        const auto rows = static_cast<unsigned>(A.FRows);
        bool rowsInside = true;
        MergeColumns(
            A, B, ascendingA, ascendingB,
            [&](int Row, int, int) {
                rowsInside &= static_cast<unsigned>(Row) < rows;
                ++n;
            },
            [&](int J) {
                colPtr[static_cast<std::size_t>(J) + 1] = static_cast<int>(std::min<std::int64_t>(n, INT_MAX));
            });
        if (!rowsInside) ERaise(msg::sparse::kInvalidPattern);
    }
    CheckSumRoom(std::max(A.FNonZeros, B.FNonZeros), n, MaxNonZeroCount);

    const bool selfOperand = static_cast<const void*>(&A) == this || static_cast<const void*>(&B) == this;
    std::vector<int> localRows;
    std::vector<T> localValues;
    // Install runs only when Self is no operand, InstallBuilt only when it is: colPtr moves into one of them.
    const auto [outRows, outValues] = ResultRoom<T>(
        selfOperand, n, localRows, localValues,
        [&] { Install(A.FRows, A.FCols, std::is_same_v<T, TC>, std::move(colPtr)); }, FRowIndices, *FValues);
    if (ascending) {
        FillAscendingSum<T>(A, B, BSign, samePattern, outRows, outValues);
        if (selfOperand) InstallBuilt(A.FRows, A.FCols, std::move(colPtr), localRows, localValues);
        return;
    }
    std::int64_t p = 0;
    MergeColumns(
        A, B, ascendingA, ascendingB,
        [&, outRows = outRows, outValues = outValues](int Row, int PosA, int PosB) {
            outRows[p] = Row;
            if (PosB < 0)
                outValues[p] = Elem<T>(*A.FValues, static_cast<std::size_t>(PosA));
            else if (PosA < 0)
                outValues[p] = BSign * Elem<T>(*B.FValues, static_cast<std::size_t>(PosB));
            else
                outValues[p] = Elem<T>(*A.FValues, static_cast<std::size_t>(PosA)) +
                               BSign * Elem<T>(*B.FValues, static_cast<std::size_t>(PosB));
            ++p;
        },
        [](int) {});
    if (selfOperand) InstallBuilt(A.FRows, A.FCols, std::move(colPtr), localRows, localValues);
}

void TSparseMtx1::SumOf(const TSparseMtx& A, const TSparseMtx& B, double BSign, int MaxNonZeroCount)
{
    if (A.FRows != B.FRows || A.FCols != B.FCols) ERaise(msg::sparse::kAddSizes);
    A.CheckPattern(false);  // the rows are checked by the merge
    B.CheckPattern(false);
    if (A.FComplex || B.FComplex)
        BuildSum<TC>(A, B, BSign, MaxNonZeroCount);
    else
        BuildSum<double>(A, B, BSign, MaxNonZeroCount);
}

void TSparseMtx1::Add(const TSparseMtx& A, const TSparseMtx& B, int MaxNonZeroCount)
{
    SumOf(A, B, 1.0, MaxNonZeroCount);
}

void TSparseMtx1::Sub(const TSparseMtx& A, const TSparseMtx& B)
{
    SumOf(A, B, -1.0, kSubMaxNonZeroCount);
}

}  // namespace tarnel

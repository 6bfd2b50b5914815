// TSparseMtx: the conversion from triplets to the compressed-column form, and the ways back to triplets and to and
// from dense matrices.
//
// The conversion is linear in the number of triplets plus Rows plus Cols and sorts nothing:
//   1. argument checks;
//   2. every triplet checked against the dimensions, the kept ones (above the threshold) counted per row;
//   3. the kept triplets placed row by row, in input order, into a row-wise form;
//   4. duplicates merged row by row: the first entry of a column stays and every later one is added to it, so the
//      threshold applies to each triplet alone and two triplets that cancel leave an explicit zero;
//   5. entries counted per column, the column pointers set;
//   6. the row-wise form scattered into the columns, rows visited in ascending order, so the rows of every column
//      ascend.
// Everything is validated before the matrix changes: a failure leaves it as it was. Dense matrices are row-major,
// so DenseToSparse counts per column in one pass over the rows and scatters in a second; the rows ascend likewise.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "core/Dovi387.h"
#include "core/messages.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

inline void Accumulate(double& Sum, double V)
{
    Sum += V;
}

inline void Accumulate(TCplx& Sum, const TCplx& V)
{
    Sum.Re += V.Re;
    Sum.Im += V.Im;
}

template <class T>
T* DataOf(TVecs& V)
{
    if constexpr (std::is_same_v<T, TCplx>)
        return V.CValues();
    else
        return V.Values();
}

template <class T>
const T* DataOf(const TMtx1& M)
{
    if constexpr (std::is_same_v<T, TCplx>)
        return M.CValues();
    else
        return M.Values();
}

// Pointers from counts held one place on (Ptr[j + 1] = count of j): Ptr[j + 1] := Ptr[j] + count[j].
void PrefixSum(std::vector<int>& Ptr)
{
    for (std::size_t j = 1; j < Ptr.size(); ++j) Ptr[j] += Ptr[j - 1];
}

// A triplet matrix index: the nearest integer, ties to even; non-finite or outside the Integer range is invalid.
int TripletIndex(double X)
{
    if (!(std::fabs(X) <= 4294967296.0)) ERaise(msg::sparse::kInvalidTriplet);
    const double r = detail::RoundHalfEvenValue(X);
    if (r < INT_MIN || r > INT_MAX) ERaise(msg::sparse::kInvalidTriplet);
    return static_cast<int>(r);
}

// Calls Fn(k, row, column) for every entry k in storage order; the pattern must have been checked.
template <class Fn>
void EachEntry(const TSparseMtx1& M, Fn&& F)
{
    const std::span<const int> ptr = M.ColPointers();
    const std::span<const int> rows = M.RowIndices();
    for (int j = 0; j < M.Cols(); ++j)
        for (int k = ptr[static_cast<std::size_t>(j)]; k < ptr[static_cast<std::size_t>(j) + 1]; ++k)
            F(k, rows[static_cast<std::size_t>(k)], j);
}

template <class T>
void CheckTripletArrays(const TSparseMtx1& M, const TIntArray& Row, const TIntArray& Column,
                        const std::vector<T>& Values)
{
    const std::size_t n = static_cast<std::size_t>(M.NonZeros());
    if (Row.size() != n) ERaise(msg::sparse::kRowNonZeros);
    if (Column.size() != n) ERaise(msg::sparse::kColumnNonZeros);
    if (Values.size() != n) ERaise(msg::sparse::kValuesNonZeros);
}

}  // namespace

// ---- Triplets to the compressed form ------------------------------------------------------------------------------

void TSparseMtx1::InternalTripletsToSparse(int ARows, int ACols, std::span<const int> Row, std::span<const int> Column,
                                           const TCplx* CValues, const double* Values, double Thresh)
{
    if (ARows <= 0 || ACols <= 0) ERaise(msg::sparse::kRowColCount);
    if (Row.size() != Column.size()) ERaise(msg::sparse::kRowColumnLength);
    if (Row.empty()) ERaise(msg::sparse::kRowEmpty);
    if (Row.size() > static_cast<std::size_t>(INT_MAX)) ERaise(msg::sparse::kRowTooLong);
    if (CValues)
        BuildFromTriplets<TCplx>(ARows, ACols, Row, Column, CValues, Thresh);
    else
        BuildFromTriplets<double>(ARows, ACols, Row, Column, Values, Thresh);
}

template <class T>
void TSparseMtx1::BuildFromTriplets(int ARows, int ACols, std::span<const int> Row, std::span<const int> Column,
                                    const T* Values, double Thresh)
{
    const std::size_t n = Row.size();
    const bool keepAll = FDontStripZeros;

    // Every triplet checked, the kept ones counted per row.
    std::vector<int> rowPtr(static_cast<std::size_t>(ARows) + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const int r = Row[i];
        const int c = Column[i];
        if (r < 0 || r >= ARows || c < 0 || c >= ACols) ERaise(msg::sparse::kInvalidTriplet);
        if (detail::KeptValue(Values[i], Thresh, keepAll)) ++rowPtr[static_cast<std::size_t>(r) + 1];
    }
    PrefixSum(rowPtr);
    const std::size_t kept = static_cast<std::size_t>(rowPtr[static_cast<std::size_t>(ARows)]);

    // The row-wise form, in input order within each row; one position array serves the steps from here on.
    std::vector<int> rwCol(kept);
    std::vector<T> rwVal(kept);
    std::vector<int> pos(static_cast<std::size_t>(std::max(ARows, ACols)));
    std::copy(rowPtr.begin(), rowPtr.end() - 1, pos.begin());
    for (std::size_t i = 0; i < n; ++i) {
        if (!detail::KeptValue(Values[i], Thresh, keepAll)) continue;
        const std::size_t p = static_cast<std::size_t>(pos[static_cast<std::size_t>(Row[i])]++);
        rwCol[p] = Column[i];
        rwVal[p] = Values[i];
    }

    // Duplicates merged row by row, the rows moved down to close the gaps: pos[c] is where column c sits in the
    // compacted form; a position before the current row's start belongs to an earlier row.
    std::fill(pos.begin(), pos.begin() + ACols, -1);
    int write = 0;
    int begin = 0;
    for (int r = 0; r < ARows; ++r) {
        const int end = rowPtr[static_cast<std::size_t>(r) + 1];
        const int start = write;
        rowPtr[static_cast<std::size_t>(r)] = start;
        for (int k = begin; k < end; ++k) {
            const int c = rwCol[static_cast<std::size_t>(k)];
            const int at = pos[static_cast<std::size_t>(c)];
            if (at >= start) {
                Accumulate(rwVal[static_cast<std::size_t>(at)], rwVal[static_cast<std::size_t>(k)]);
            } else {
                pos[static_cast<std::size_t>(c)] = write;
                rwCol[static_cast<std::size_t>(write)] = c;
                rwVal[static_cast<std::size_t>(write)] = rwVal[static_cast<std::size_t>(k)];
                ++write;
            }
        }
        begin = end;
    }
    rowPtr[static_cast<std::size_t>(ARows)] = write;

    // Column pointers from the merged entries.
    std::vector<int> colPtr(static_cast<std::size_t>(ACols) + 1, 0);
    for (int k = 0; k < write; ++k) ++colPtr[static_cast<std::size_t>(rwCol[static_cast<std::size_t>(k)]) + 1];
    PrefixSum(colPtr);
    std::copy(colPtr.begin(), colPtr.end() - 1, pos.begin());

    // Rows in ascending order into their columns.
    Install(ARows, ACols, std::is_same_v<T, TCplx>, std::move(colPtr));
    T* dst = DataOf<T>(*FValues);
    for (int r = 0; r < ARows; ++r) {
        for (int k = rowPtr[static_cast<std::size_t>(r)]; k < rowPtr[static_cast<std::size_t>(r) + 1]; ++k) {
            const std::size_t p =
                static_cast<std::size_t>(pos[static_cast<std::size_t>(rwCol[static_cast<std::size_t>(k)])]++);
            FRowIndices[p] = r;
            dst[p] = rwVal[static_cast<std::size_t>(k)];
        }
    }
}

void TSparseMtx1::TripletsToSparse(int ARows, int ACols, const TIntArray& Row, const TIntArray& Column,
                                   const TSampleArray& Values, double Thresh)
{
    if (Values.size() != Row.size()) ERaise(msg::sparse::kRowValuesLength);
    InternalTripletsToSparse(ARows, ACols, Row, Column, nullptr, Values.data(), Thresh);
}

void TSparseMtx2::TripletsToSparse(int ARows, int ACols, const TIntArray& Row, const TIntArray& Column,
                                   const TCplxArray& Values, double Thresh)
{
    if (Values.size() != Row.size()) ERaise(msg::sparse::kRowValuesLength);
    InternalTripletsToSparse(ARows, ACols, Row, Column, Values.data(), nullptr, Thresh);
}

void TSparseMtx::TripletsToSparse(int ARows, int ACols, const TMtx& Triplets)
{
    if (Triplets.Rows() != 3) ERaise(msg::sparse::kTripletsRows);
    const std::size_t n = static_cast<std::size_t>(Triplets.Cols());
    const bool complex = Triplets.Complex();
    // Indices from the real parts: Double k of row 0 (and of row 1) is its element k, or the real part of
    // element k of a complex row.
    const std::size_t step = complex ? 2 : 1;
    const double* data = Triplets.Values();
    TIntArray rows(n), cols(n);
    for (std::size_t k = 0; k < n; ++k) {
        rows[k] = TripletIndex(data[k * step]);
        cols[k] = TripletIndex(data[(n + k) * step]);
    }
    if (complex)
        InternalTripletsToSparse(ARows, ACols, rows, cols, Triplets.CValues() + 2 * n, nullptr, 0);
    else
        InternalTripletsToSparse(ARows, ACols, rows, cols, nullptr, data + 2 * n, 0);
}

// ---- The compressed form to triplets ------------------------------------------------------------------------------

void TSparseMtx1::SparseToTriplets(TIntArray& Row, TIntArray& Column, TSampleArray& Values) const
{
    CheckTripletArrays(*this, Row, Column, Values);
    CheckPattern(false);
    const double* values = FValues->Values();  // of a complex matrix: its first NonZeros Doubles
    EachEntry(*this, [&](int k, int r, int c) {
        Row[static_cast<std::size_t>(k)] = r;
        Column[static_cast<std::size_t>(k)] = c;
        Values[static_cast<std::size_t>(k)] = values[k];
    });
}

void TSparseMtx2::SparseToTriplets(TIntArray& Row, TIntArray& Column, TCplxArray& Values) const
{
    CheckTripletArrays(*this, Row, Column, Values);
    if (!FComplex) ERaise(msg::kNotComplexCap);
    CheckPattern(false);
    const TCplx* values = FValues->CValues();
    EachEntry(*this, [&](int k, int r, int c) {
        Row[static_cast<std::size_t>(k)] = r;
        Column[static_cast<std::size_t>(k)] = c;
        Values[static_cast<std::size_t>(k)] = values[k];
    });
}

void TSparseMtx::SparseToTriplets(TMtx& Triplets, bool Split) const
{
    CheckPattern(false);
    const std::size_t n = static_cast<std::size_t>(FNonZeros);
    if (!FComplex) {
        Triplets.Size(3, FNonZeros, false);
        double* t = Triplets.Values();
        const double* values = FValues->Values();
        EachEntry(*this, [&](int k, int r, int c) {
            t[k] = r;
            t[n + k] = c;
            t[2 * n + k] = values[k];
        });
    } else if (Split) {
        Triplets.Size(4, FNonZeros, false);
        double* t = Triplets.Values();
        const TCplx* values = FValues->CValues();
        EachEntry(*this, [&](int k, int r, int c) {
            t[k] = r;
            t[n + k] = c;
            t[2 * n + k] = values[k].Re;
            t[3 * n + k] = values[k].Im;
        });
    } else {
        Triplets.Size(3, FNonZeros, true);
        TCplx* t = Triplets.CValues();
        const TCplx* values = FValues->CValues();
        EachEntry(*this, [&](int k, int r, int c) {
            t[k] = {static_cast<double>(r), 0};
            t[n + k] = {static_cast<double>(c), 0};
            t[2 * n + k] = values[k];
        });
    }
}

// ---- Dense matrices -----------------------------------------------------------------------------------------------

void TSparseMtx::DenseToSparse(const TMtx& Src, double Thresh)
{
    if (Src.Rows() <= 0 || Src.Cols() <= 0) ERaise(msg::sparse::kRowColCount);
    if (Src.Complex())
        BuildFromDense<TCplx>(Src, Thresh);
    else
        BuildFromDense<double>(Src, Thresh);
}

template <class T>
void TSparseMtx1::BuildFromDense(const TMtx& Src, double Thresh)
{
    const int rows = Src.Rows();
    const int cols = Src.Cols();
    const bool keepAll = FDontStripZeros;
    const T* src = DataOf<T>(Src);
    std::vector<int> colPtr(static_cast<std::size_t>(cols) + 1, 0);
    for (std::int64_t i = 0; i < rows; ++i) {
        const T* row = src + i * cols;
        for (int j = 0; j < cols; ++j)
            if (detail::KeptValue(row[j], Thresh, keepAll)) ++colPtr[static_cast<std::size_t>(j) + 1];
    }
    PrefixSum(colPtr);
    std::vector<int> next(colPtr.begin(), colPtr.end() - 1);
    Install(rows, cols, std::is_same_v<T, TCplx>, std::move(colPtr));
    T* dst = DataOf<T>(*FValues);
    for (std::int64_t i = 0; i < rows; ++i) {
        const T* row = src + i * cols;
        for (int j = 0; j < cols; ++j) {
            if (!detail::KeptValue(row[j], Thresh, keepAll)) continue;
            const std::size_t p = static_cast<std::size_t>(next[static_cast<std::size_t>(j)]++);
            FRowIndices[p] = static_cast<int>(i);
            dst[p] = row[j];
        }
    }
}

void TSparseMtx::SparseToDense(TMtx& Dst, int MaxElemCount) const
{
    if (static_cast<std::int64_t>(FRows) * FCols > MaxElemCount) ERaise(msg::sparse::kMaxElemCount);
    CheckPattern(true);
    Dst.Size(FRows, FCols, FComplex);
    Dst.SetZero();
    const std::int64_t cols = FCols;
    if (FComplex) {
        TCplx* d = Dst.CValues();
        const TCplx* values = FValues->CValues();
        EachEntry(*this, [&](int k, int r, int c) { d[r * cols + c] = values[k]; });
    } else {
        double* d = Dst.Values();
        const double* values = FValues->Values();
        EachEntry(*this, [&](int k, int r, int c) { d[r * cols + c] = values[k]; });
    }
}

// ---- Small entries ------------------------------------------------------------------------------------------------

void TSparseMtx1::ZeroThresh(double Thresh)
{
    if (FNonZeros == 0) return;
    CheckPattern(false);
    const std::size_t n = static_cast<std::size_t>(FNonZeros);
    TIntArray rows(n), cols(n);
    EachEntry(*this, [&](int k, int r, int c) {
        rows[static_cast<std::size_t>(k)] = r;
        cols[static_cast<std::size_t>(k)] = c;
    });
    if (FComplex) {
        TCplxArray values(FValues->CValues(), FValues->CValues() + n);
        for (TCplx& v : values)
            if (CAbs(v) <= Thresh) v = C_ZERO;
        InternalTripletsToSparse(FRows, FCols, rows, cols, values.data(), nullptr, 0);
    } else {
        TSampleArray values(FValues->Values(), FValues->Values() + n);
        for (double& v : values)
            if (std::fabs(v) <= Thresh) v = 0;
        InternalTripletsToSparse(FRows, FCols, rows, cols, nullptr, values.data(), 0);
    }
}

}  // namespace tarnel

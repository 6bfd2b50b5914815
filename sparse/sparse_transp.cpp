// TSparseMtx: the transpose, with optional row and column orders, and the adjoint.
//
// One counting pass over the source's rows gives the column pointers of the result; one placing pass fills it,
// straight into Self's storage, or into local arrays installed at the end when Self is the source. The orders are
// checked before anything is written, so a refused order changes nothing.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/Dovi387.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

// Order must be empty (the natural order) or hold each of 0..Count-1 once; Inverse[Order[k]] := k.
void InvertOrder(const TIntArray& Order, int Count, std::vector<int>& Inverse, const char* Msg)
{
    Inverse.assign(static_cast<std::size_t>(Count), -1);
    if (Order.empty()) {
        for (int k = 0; k < Count; ++k) Inverse[static_cast<std::size_t>(k)] = k;
        return;
    }
    if (Order.size() != static_cast<std::size_t>(Count)) ERaise(Msg);
    for (int k = 0; k < Count; ++k) {
        const int r = Order[static_cast<std::size_t>(k)];
        if (r < 0 || r >= Count || Inverse[static_cast<std::size_t>(r)] >= 0) ERaise(Msg);
        Inverse[static_cast<std::size_t>(r)] = k;
    }
}

// The placing pass: each entry of Src's column Q[i] (i in the natural order) goes to the next free place of result
// column InvP[row] as row i. W Doubles per value; Permuted: P or Q given (else InvP and Q are not read).
template <std::size_t W, bool Permuted>
void PlaceTransposed(const TSparseMtx& Src, const TIntArray& Q, const int* InvP, int* Next, int* Rows, double* Values)
{
    const int* colPtr = Src.ColPointers().data();
    const int* rowIdx = Src.RowIndices().data();
    const double* src = Src.Values().Values();
    for (int i = 0; i < Src.Cols(); ++i) {
        const int j = !Permuted || Q.empty() ? i : Q[static_cast<std::size_t>(i)];
        const int last = colPtr[j + 1];
        for (int k = colPtr[j]; k < last; ++k) {
            const int c = Permuted ? InvP[rowIdx[k]] : rowIdx[k];
            const auto pos = static_cast<std::size_t>(Next[c]++);
            Rows[pos] = i;
            for (std::size_t w = 0; w < W; ++w) Values[pos * W + w] = src[static_cast<std::size_t>(k) * W + w];
        }
    }
}

}  // namespace

void TSparseMtx::Transp(const TSparseMtx& Src, const TIntArray& P, const TIntArray& Q)
{
    // In the natural order the counting pass checks the rows itself (nothing else can be refused).
    const bool permuted = !P.empty() || !Q.empty();
    Src.CheckPattern(permuted);
    const int srcRows = Src.FRows, srcCols = Src.FCols, nz = Src.FNonZeros;
    std::vector<int> invP, invQ;
    if (permuted) {
        InvertOrder(P, srcRows, invP, msg::sparse::kPNotPermutation);
        InvertOrder(Q, srcCols, invQ, msg::sparse::kQNotPermutation);
    }
    // Result column c holds Src's row P[c]; its row i comes from Src's column Q[i].
    std::vector<int> colPtr(static_cast<std::size_t>(srcRows) + 1, 0);
    const int* rowIdx = Src.FRowIndices.data();
    if (permuted) {
        for (int k = 0; k < nz; ++k) ++colPtr[static_cast<std::size_t>(invP[static_cast<std::size_t>(rowIdx[k])]) + 1];
    } else {
        const auto rowsLimit = static_cast<unsigned>(srcRows);
        for (int k = 0; k < nz; ++k) {
            const auto r = static_cast<unsigned>(rowIdx[k]);
            if (r >= rowsLimit) ERaise(msg::sparse::kInvalidPattern);
            ++colPtr[static_cast<std::size_t>(r) + 1];
        }
    }
    for (std::size_t c = 0; c < static_cast<std::size_t>(srcRows); ++c) colPtr[c + 1] += colPtr[c];
    std::vector<int> next(colPtr.begin(), colPtr.end() - 1);
    const std::size_t width = Src.FComplex ? 2 : 1;
    const bool complex = Src.FComplex;
    // Straight into Self's storage, unless Self is the source.
    const bool inPlace = &Src == this;
    std::vector<int> localRows;
    std::vector<double> localValues;
    int* rows;
    double* values;
    if (inPlace) {
        localRows.resize(static_cast<std::size_t>(nz));
        localValues.resize(static_cast<std::size_t>(nz) * width);
        rows = localRows.data();
        values = localValues.data();
    } else {
        Install(srcCols, srcRows, complex, std::move(colPtr));
        rows = FRowIndices.data();
        values = FValues->Values();
    }
    const int* inv = invP.data();
    if (complex)
        permuted ? PlaceTransposed<2, true>(Src, Q, inv, next.data(), rows, values)
                 : PlaceTransposed<2, false>(Src, Q, inv, next.data(), rows, values);
    else
        permuted ? PlaceTransposed<1, true>(Src, Q, inv, next.data(), rows, values)
                 : PlaceTransposed<1, false>(Src, Q, inv, next.data(), rows, values);
    if (inPlace) {
        Install(srcCols, srcRows, complex, std::move(colPtr));
        std::copy(localRows.begin(), localRows.end(), FRowIndices.begin());
        std::copy(localValues.begin(), localValues.end(), FValues->Values());
    }
}

void TSparseMtx2::Transp(const TSparseMtx& Src)
{
    static_cast<TSparseMtx&>(*this).Transp(Src, {}, {});
}

void TSparseMtx1::Transp()
{
    static_cast<TSparseMtx&>(*this).Transp(static_cast<const TSparseMtx&>(*this), {}, {});
}

void TSparseMtx2::Adjung(const TSparseMtx& Src)
{
    Conj(Src);
    TSparseMtx1::Transp();
}

}  // namespace tarnel

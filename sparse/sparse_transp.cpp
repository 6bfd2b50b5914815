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

}  // namespace

void TSparseMtx::Transp(const TSparseMtx& Src, const TIntArray& P, const TIntArray& Q)
{
    Src.CheckPattern(true);
    const int srcRows = Src.FRows, srcCols = Src.FCols, nz = Src.FNonZeros;
    std::vector<int> invP, invQ;
    InvertOrder(P, srcRows, invP, msg::sparse::kPNotPermutation);
    InvertOrder(Q, srcCols, invQ, msg::sparse::kQNotPermutation);
    // Result column c holds Src's row P[c]; its row i comes from Src's column Q[i].
    std::vector<int> colPtr(static_cast<std::size_t>(srcRows) + 1, 0);
    for (int k = 0; k < nz; ++k)
        ++colPtr[static_cast<std::size_t>(
                     invP[static_cast<std::size_t>(Src.FRowIndices[static_cast<std::size_t>(k)])]) +
                 1];
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
    const double* src = Src.FValues->Values();
    for (int i = 0; i < srcCols; ++i) {
        const int j = Q.empty() ? i : Q[static_cast<std::size_t>(i)];
        for (int k = Src.FColPointers[static_cast<std::size_t>(j)];
             k < Src.FColPointers[static_cast<std::size_t>(j) + 1]; ++k) {
            const int c = invP[static_cast<std::size_t>(Src.FRowIndices[static_cast<std::size_t>(k)])];
            const std::size_t pos = static_cast<std::size_t>(next[static_cast<std::size_t>(c)]++);
            rows[pos] = i;
            for (std::size_t w = 0; w < width; ++w)
                values[pos * width + w] = src[static_cast<std::size_t>(k) * width + w];
        }
    }
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

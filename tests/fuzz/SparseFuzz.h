// What the two sparse reader targets (fuzz_sparse_stream.cpp, fuzz_sparse_market.cpp) check: a refused input leaves
// the matrix exactly as it was, an accepted one gives a matrix whose pattern describes its values, and that matrix
// survives its own writer and reader bit for bit.
#pragma once

#include <string>
#include <vector>

#include "Feldrin.h"
#include "FuzzInput.h"

namespace fuzz {

// The stored state of a sparse matrix; values compared bit for bit, any NaN equal to any NaN.
struct TSparseState {
    int Rows = 0, Cols = 0, NonZeros = 0;
    bool Complex = false;
    std::vector<int> ColPointers, RowIndices;
    std::vector<double> Values;
    std::string Caption;

    explicit TSparseState(const tarnel::TSparseMtx& M)
        : Rows(M.Rows()), Cols(M.Cols()), NonZeros(M.NonZeros()), Complex(M.Complex()),
          ColPointers(M.ColPointers().begin(), M.ColPointers().end()),
          RowIndices(M.RowIndices().begin(), M.RowIndices().end()), Caption(M.Caption())
    {
        const tarnel::TVec& v = M.Values();
        const std::size_t n = static_cast<std::size_t>(v.Length()) * (v.Complex() ? 2 : 1);
        if (n) Values.assign(v.Values(), v.Values() + n);
    }
    bool SameMatrix(const TSparseState& O) const
    {
        if (Rows != O.Rows || Cols != O.Cols || NonZeros != O.NonZeros || Complex != O.Complex ||
            ColPointers != O.ColPointers || RowIndices != O.RowIndices || Values.size() != O.Values.size())
            return false;
        for (std::size_t i = 0; i < Values.size(); ++i)
            if (!Same(Values[i], O.Values[i])) return false;
        return true;
    }
    bool operator==(const TSparseState& O) const { return SameMatrix(O) && Caption == O.Caption; }
};

// The matrix a target loads into: a few entries of the kind the input's first byte picks, so that a refused load
// has something to keep.
inline void Prefill(tarnel::TSparseMtx& M, bool Complex, bool DontStripZeros)
{
    using namespace tarnel;
    if (Complex)
        M.TripletsToSparse(4, 3, TIntArray{3, 0, 2}, TIntArray{0, 1, 1}, TCplxArray{{1, -1}, {2.5, 0}, {-3, 7}}, 0);
    else
        M.TripletsToSparse(4, 3, TIntArray{3, 0, 2}, TIntArray{0, 1, 1}, TSampleArray{1, 2.5, -3}, 0);
    M.SetCaption("before");
    M.SetDontStripZeros(DontStripZeros);
}

// An accepted matrix: pointers from 0 up to the entry count, rows inside the matrix, one value per entry; and a
// transpose, which reads every index, keeps the count.
inline void CheckAccepted(const tarnel::TSparseMtx& M, const char* Target)
{
    const TSparseState s(M);
    bool ok = s.Rows >= 0 && s.Cols >= 0 && s.ColPointers.size() == static_cast<std::size_t>(s.Cols) + 1 &&
              s.ColPointers.front() == 0 && s.ColPointers.back() == s.NonZeros &&
              s.RowIndices.size() == static_cast<std::size_t>(s.NonZeros) &&
              s.Values.size() == static_cast<std::size_t>(s.NonZeros) * (s.Complex ? 2 : 1);
    for (std::size_t c = 0; ok && c + 1 < s.ColPointers.size(); ++c) ok = s.ColPointers[c] <= s.ColPointers[c + 1];
    for (std::size_t k = 0; ok && k < s.RowIndices.size(); ++k) ok = s.RowIndices[k] >= 0 && s.RowIndices[k] < s.Rows;
    if (!ok) Finding(Target, "an accepted matrix with a broken pattern");
    tarnel::TSparseMtx t;
    t.Transp(M);
    if (t.Rows() != s.Cols || t.Cols() != s.Rows || t.NonZeros() != s.NonZeros)
        Finding(Target, "the transpose of an accepted matrix differs in size");
}

}  // namespace fuzz

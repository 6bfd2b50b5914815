// The plain loops that the timing pages set against the library: the matrix product as a triple loop over rows
// of Double arrays, and copying and transposing a matrix element by element through its row table. The
// benchmark times the same loops.
#pragma once

#include <cstring>
#include <vector>

#include "core/mtx_class.h"

namespace paxtor {

// A square array as rows of Double arrays.
using TSquareArray = std::vector<std::vector<double>>;

// Makes the data behind P observable to the compiler, so that a timed loop whose results are read only
// afterwards (or never) is not shortened or dropped.
inline void KeepObservable(const void* P)
{
#if defined(__GNUC__) || defined(__clang__)
    asm volatile("" : : "g"(P) : "memory");
#else
    static const void* volatile sink;
    sink = P;
#endif
}

// C := A·B for the n × n leading parts of the arrays: C is reset, then for i, j and k in this order
// C[i][j] := C[i][j] + A[i][k]·B[k][j].
inline void LoopProduct(const TSquareArray& A, const TSquareArray& B, TSquareArray& C, int n)
{
    for (int i = 0; i < n; ++i) std::memset(C[i].data(), 0, sizeof(double) * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k) C[i][j] = C[i][j] + A[i][k] * B[k][j];
}

// Dst := Src (real), sized like Src, element by element through the row tables of both.
inline void LoopCopy(const tarnel::TMtx1& Src, tarnel::TMtx1& Dst)
{
    Dst.Size(Src.Rows(), Src.Cols(), false);
    const tarnel::TRowsView<double> s = Src.Values2D(), d = Dst.Values2D();
    const int rows = Src.Rows(), cols = Src.Cols();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) d[i][j] = s[i][j];
}

// Dst := the transpose of Src (real): Dst[j][i] := Src[i][j] element by element.
inline void LoopTransp(const tarnel::TMtx1& Src, tarnel::TMtx1& Dst)
{
    Dst.Size(Src.Cols(), Src.Rows(), false);
    const tarnel::TRowsView<double> s = Src.Values2D(), d = Dst.Values2D();
    const int rows = Src.Rows(), cols = Src.Cols();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) d[j][i] = s[i][j];
}

}  // namespace paxtor

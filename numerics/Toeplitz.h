// Toeplitz: linear systems whose matrix is constant along every diagonal, solved in O(n²) operations from the
// first row and column without forming the matrix, and the prediction-error filter of an autocorrelation.
//
// The matrix T of order n: T[i][j] = FirstRow[j - i] for j >= i (FirstRow[0] is the diagonal) and
// T[i][j] = FirstCol[i - j - 1] for i > j (the first column without its diagonal element). The recursion has no
// pivoting and no singularity test: it needs every leading principal submatrix of T to be nonsingular, and a
// singular one gives infinities or NaN without an exception.
#pragma once

#include "core/vec_class.h"

namespace tarnel {

// Solves T·X = B, n = B.Length, in the kind of B. With X.ConditionCheck the lengths and kinds must agree exactly,
// checked in this order: "(FirstCol.Length+1) <> B.Length", "FirstRow.Length <> (FirstCol.Length+1)",
// "(FirstRow.Complex <> FirstCol.Complex) or (FirstRow.Complex <> B.Complex)". Without it longer FirstRow and
// FirstCol are accepted (the leading n × n system is solved), but shorter ones and differing kinds still raise
// the same texts. X sharing memory with FirstRow or FirstCol raises "X = FirstRow" or "X = FirstCol"; B may be X.
// Work memory: one pooled vector of 2n elements.
void ToeplitzSolve(const TVec& FirstRow, const TVec& FirstCol, const TVec& B, TVec& X);

// From the autocorrelation R (length n, R[0] the zero-lag value) A := (1, a), a of length n - 1 the solution of
// T·a = -(R[1], ..., R[n-1]), T the order n - 1 Toeplitz matrix of R: symmetric for real R, Hermitian for complex
// R (T[i][j] = R[i - j] for i >= j, conj(R[j - i]) above). A takes R's kind; A[0] is exactly 1. R of length 0
// or 1 returns at once and leaves A as it was. R and A may be the same vector.
void Levinson(const TVec& R, TVec& A);

}  // namespace tarnel

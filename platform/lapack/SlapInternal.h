// The shared pieces of lapack's iterative sparse solvers (Slap*.cpp): the normalised matrix with its products,
// the four preconditioners with their solves, and the seven iteration cores. Internal to the library; the tests
// reach the factorizations through it.
//
// Indices here are 0-based. The entry points take IA, JA, A as given and never write them, so the normalised
// matrix is a copy of its own. Nothing here keeps state between calls: every call owns its matrices and vectors,
// so threads may solve their own systems at the same time.
#pragma once

#include <cstdint>
#include <vector>

namespace tarnel::slap {

// The tolerance below which TOL is reset: 500 units of roundoff, 500·2^-53.
inline constexpr double kTolMin = 500.0 * 0x1p-53;

// The system matrix, normalised from 1-based triplets in any order.
//   Columns: the stored entries column by column, the diagonal first in every column (held as 0 when no triplet
//   gives it), the other rows ascending, duplicates summed. With ISYM 1 an entry above the diagonal stands for
//   its mirror, so the columns hold the lower triangle L and the matrix is L + Lᵀ − D.
//   Rows: the whole matrix row by row, columns ascending, Diag[i] the position of (i, i); for ISYM 1 the rows
//   hold L + Lᵀ − D written out.
struct TMatrix {
    int N = 0;
    bool Symmetric = false;
    std::vector<int> ColStart, ColRow;  // N + 1 starts
    std::vector<double> ColVal;
    std::vector<int> RowStart, RowCol, Diag;
    std::vector<double> RowVal;

    double Diagonal(int i) const { return RowVal[static_cast<std::size_t>(Diag[static_cast<std::size_t>(i)])]; }
};

// Builds A from NELT triplets (IA, JA 1-based). False when an index lies outside 1..N.
bool Normalise(int N, int NELT, const int* IA, const int* JA, const double* A, bool Symmetric, TMatrix& M);

// y := A·x and y := Aᵀ·x (x and y distinct).
void MatVec(const TMatrix& A, const double* x, double* y);
void MatVecT(const TMatrix& A, const double* x, double* y);

// A preconditioner M = (I + L)·D·(I + U), L strictly lower, U strictly upper, both row by row with ascending
// columns; Symmetric when U is Lᵀ (IC(0)), so that M⁻ᵀ is M⁻¹.
struct TPrecond {
    int N = 0;
    std::vector<int> LStart, LCol;
    std::vector<double> LVal;
    std::vector<double> DInv;  // 1/D
    std::vector<int> UStart, UCol;
    std::vector<double> UVal;
    bool Symmetric = false;
    bool Fudged = false;  // a pivot was replaced by 1
};

// Jacobi: M = diag(A).
void Jacobi(const TMatrix& A, TPrecond& M);
// Gauss–Seidel: M = tril(A), held as (I + L_A·D⁻¹)·D.
void GaussSeidel(const TMatrix& A, TPrecond& M);
// IC(0): M = L·D·Lᵀ with L unit lower on the pattern of tril(A), from the lower triangle whatever ISYM; a pivot
// ≤ 0 (or NaN) becomes 1 and sets Fudged.
void IncompleteCholesky(const TMatrix& A, TPrecond& M);
// ILU(0): M = L·D·U with L unit lower and U unit upper on A's own pattern, no fill; a pivot of 0 (or NaN) becomes
// 1 and sets Fudged.
void IncompleteLU(const TMatrix& A, TPrecond& M);

// x := M⁻¹·x, x := M⁻ᵀ·x, x := (M·Mᵀ)⁻¹·x, in place.
void Solve(const TPrecond& M, double* x);
void SolveT(const TPrecond& M, double* x);
void SolveMMT(const TPrecond& M, double* x);

// What a core works on and reports. Itol: 0 or 2 for GMRES's preconditioned residual, 1 ‖r‖/‖b‖,
// 2 ‖M⁻¹r‖/‖M⁻¹b‖ (CGN: ‖Aᵀz‖/‖Aᵀ(MMᵀ)⁻¹b‖). The test runs at ITER 0 and after each iteration; Err keeps its
// last value.
struct TRun {
    const TMatrix& A;
    const TPrecond& M;
    const double* B;
    double* X;
    int Itol;
    double Tol;
    int ItMax;
    int NSave;
    int Iter = 0;
    double Err = 0;
};

// Each core returns 0 when the test was met, 2 when ItMax iterations did not meet it (X the last iterate),
// 5 and 6 on its breakdowns (X the last iterate).
int Refine(TRun& R);    // x := x + M⁻¹(b − A·x)
int Pcg(TRun& R);       // preconditioned conjugate gradients
int BiCg(TRun& R);      // preconditioned biconjugate gradients
int Cgn(TRun& R);       // CG on A·Aᵀ·y = b, x = Aᵀ·y, preconditioned with M·Mᵀ
int Cgs(TRun& R);       // CG squared on M⁻¹·A·x = M⁻¹·b
int Gmres(TRun& R);     // GMRES(min(NSave, N)) on M⁻¹·A·x = M⁻¹·b, modified Gram–Schmidt, Givens rotations
int Orthomin(TRun& R);  // Orthomin(NSave), minimising ‖b − A·x‖ over M⁻¹-preconditioned directions

}  // namespace tarnel::slap

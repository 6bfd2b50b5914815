// The preconditioners of the iterative solvers, each held as M = (I + L)·D·(I + U), and their solves.
//
// ILU(0) is the row-by-row (IKJ) elimination restricted to A's pattern: row i is reduced by every earlier row k
// it holds, only where row i already has an entry, so L·D·U equals A on A's pattern. IC(0) computes the same
// factor of the symmetric matrix whose lower triangle is tril(A), left-looking by rows: l_ik is s_ik less the
// products of row i and row k of L over their common columns, divided by d_k, so L·D·Lᵀ equals that matrix on
// the lower pattern; U holds Lᵀ. Gauss–Seidel's tril(A) is (I + L_A·D⁻¹)·D, Jacobi's D alone.
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/lapack/SlapInternal.h"

namespace tarnel::slap {

namespace {

using Size = std::size_t;

inline Size U(int i)
{
    return static_cast<Size>(i);
}

// A pivot that cannot be used becomes 1: for IC(0) one that is not positive, for ILU(0) one that is 0 (NaN in
// both, so a poisoned row cannot spread through the factor).
double Pivot(double d, bool Positive, bool& Fudged)
{
    if (Positive ? d > 0 : (d != 0 && !std::isnan(d))) return d;
    Fudged = true;
    return 1;
}

// The strict lower part of A's rows as L's pattern (values left 0).
void LowerPattern(const TMatrix& A, TPrecond& M)
{
    M.LStart.assign(U(A.N) + 1, 0);
    for (int i = 0; i < A.N; ++i) M.LStart[U(i) + 1] = M.LStart[U(i)] + A.Diag[U(i)] - A.RowStart[U(i)];
    M.LCol.resize(U(M.LStart[U(A.N)]));
    M.LVal.assign(M.LCol.size(), 0);
    for (int i = 0; i < A.N; ++i)
        for (int p = A.RowStart[U(i)], q = M.LStart[U(i)]; p < A.Diag[U(i)]; ++p, ++q) M.LCol[U(q)] = A.RowCol[U(p)];
}

void Begin(const TMatrix& A, TPrecond& M)
{
    M = TPrecond{};
    M.N = A.N;
    M.DInv.assign(U(A.N), 0);
}

// x := (I + L)⁻¹·x, row by row. The neighbour x[i - 1], last in the row, is subtracted from the value kept in a
// register, so that the chain from row to row does not wait for memory.
void LowerUnit(const TPrecond& M, double* x)
{
    if (M.LVal.empty()) return;
    const int* start = M.LStart.data();
    const int* col = M.LCol.data();
    const double* val = M.LVal.data();
    double prev = 0;
    for (int i = 0; i < M.N; ++i) {
        const int b = start[i], e = start[i + 1];
        const bool adjacent = e > b && col[e - 1] == i - 1;
        double s = x[i];
        for (int p = b; p < (adjacent ? e - 1 : e); ++p) s -= val[p] * x[col[p]];
        if (adjacent) s -= val[e - 1] * prev;
        x[i] = s;
        prev = s;
    }
}

void LowerUnitT(const TPrecond& M, double* x)
{
    if (M.LVal.empty()) return;
    const int* start = M.LStart.data();
    const int* col = M.LCol.data();
    const double* val = M.LVal.data();
    for (int i = M.N - 1; i >= 0; --i) {
        const double xi = x[i];
        for (int p = start[i]; p < start[i + 1]; ++p) x[col[p]] -= val[p] * xi;
    }
}

// x := (I + U)⁻¹·D⁻¹·x, rows from the last; the neighbour x[i + 1], first in the row, is subtracted last from the
// value kept in a register.
void ScaledUpperUnit(const TPrecond& M, double* x)
{
    const double* dinv = M.DInv.data();
    if (M.UVal.empty()) {
        for (int i = 0; i < M.N; ++i) x[i] *= dinv[i];
        return;
    }
    const int* start = M.UStart.data();
    const int* col = M.UCol.data();
    const double* val = M.UVal.data();
    double prev = 0;
    for (int i = M.N - 1; i >= 0; --i) {
        const int b = start[i], e = start[i + 1];
        const bool adjacent = e > b && col[b] == i + 1;
        double s = x[i] * dinv[i];
        for (int p = adjacent ? b + 1 : b; p < e; ++p) s -= val[p] * x[col[p]];
        if (adjacent) s -= val[b] * prev;
        x[i] = s;
        prev = s;
    }
}

void UpperUnitT(const TPrecond& M, double* x)
{
    if (M.UVal.empty()) return;
    const int* start = M.UStart.data();
    const int* col = M.UCol.data();
    const double* val = M.UVal.data();
    for (int i = 0; i < M.N; ++i) {
        const double xi = x[i];
        for (int p = start[i]; p < start[i + 1]; ++p) x[col[p]] -= val[p] * xi;
    }
}

void Scale(const TPrecond& M, double* x)
{
    for (int i = 0; i < M.N; ++i) x[i] *= M.DInv[U(i)];
}

}  // namespace

void Jacobi(const TMatrix& A, TPrecond& M)
{
    Begin(A, M);
    for (int i = 0; i < A.N; ++i) M.DInv[U(i)] = 1 / A.Diagonal(i);
}

void GaussSeidel(const TMatrix& A, TPrecond& M)
{
    Jacobi(A, M);
    LowerPattern(A, M);
    for (int i = 0; i < A.N; ++i)
        for (int p = A.RowStart[U(i)], q = M.LStart[U(i)]; p < A.Diag[U(i)]; ++p, ++q)
            M.LVal[U(q)] = A.RowVal[U(p)] * M.DInv[U(A.RowCol[U(p)])];
}

void IncompleteCholesky(const TMatrix& A, TPrecond& M)
{
    Begin(A, M);
    LowerPattern(A, M);
    M.Symmetric = true;
    std::vector<double> d(U(A.N)), w(U(A.N));
    std::vector<int> mark(U(A.N), -1);
    for (int i = 0; i < A.N; ++i) {
        const int lb = M.LStart[U(i)], le = M.LStart[U(i) + 1];
        for (int p = A.RowStart[U(i)]; p < A.Diag[U(i)]; ++p) {
            w[U(A.RowCol[U(p)])] = A.RowVal[U(p)];
            mark[U(A.RowCol[U(p)])] = i;
        }
        // Columns ascend, so w[j] already holds l_ij for every j < k of row i.
        double di = A.Diagonal(i);
        for (int p = lb; p < le; ++p) {
            const int k = M.LCol[U(p)];
            double s = w[U(k)];
            for (int q = M.LStart[U(k)]; q < M.LStart[U(k) + 1]; ++q) {
                const int j = M.LCol[U(q)];
                if (mark[U(j)] == i) s -= w[U(j)] * d[U(j)] * M.LVal[U(q)];
            }
            const double l = s / d[U(k)];
            w[U(k)] = l;
            M.LVal[U(p)] = l;
            di -= l * l * d[U(k)];
        }
        d[U(i)] = Pivot(di, true, M.Fudged);
        M.DInv[U(i)] = 1 / d[U(i)];
    }

    // U := Lᵀ row by row (the columns of L, rows ascending), so that the backward solve gathers as the forward one.
    M.UStart.assign(U(A.N) + 1, 0);
    for (const int c : M.LCol) ++M.UStart[U(c) + 1];
    for (Size i = 1; i < M.UStart.size(); ++i) M.UStart[i] += M.UStart[i - 1];
    M.UCol.resize(M.LCol.size());
    M.UVal.resize(M.LCol.size());
    std::vector<int> next(M.UStart.begin(), M.UStart.end() - 1);
    for (int i = 0; i < A.N; ++i)
        for (int p = M.LStart[U(i)]; p < M.LStart[U(i) + 1]; ++p) {
            const Size q = U(next[U(M.LCol[U(p)])]++);
            M.UCol[q] = i;
            M.UVal[q] = M.LVal[U(p)];
        }
}

void IncompleteLU(const TMatrix& A, TPrecond& M)
{
    Begin(A, M);
    std::vector<double> w(A.RowVal);
    std::vector<int> at(U(A.N), -1);
    for (int i = 0; i < A.N; ++i) {
        const int rb = A.RowStart[U(i)], re = A.RowStart[U(i) + 1];
        for (int p = rb; p < re; ++p) at[U(A.RowCol[U(p)])] = p;
        for (int p = rb; p < A.Diag[U(i)]; ++p) {
            const int k = A.RowCol[U(p)];
            const double f = w[U(p)] / w[U(A.Diag[U(k)])];
            w[U(p)] = f;
            for (int q = A.Diag[U(k)] + 1; q < A.RowStart[U(k) + 1]; ++q) {
                const int j = A.RowCol[U(q)];
                if (at[U(j)] >= 0) w[U(at[U(j)])] -= f * w[U(q)];
            }
        }
        const int di = A.Diag[U(i)];
        w[U(di)] = Pivot(w[U(di)], false, M.Fudged);
        M.DInv[U(i)] = 1 / w[U(di)];
        for (int p = rb; p < re; ++p) at[U(A.RowCol[U(p)])] = -1;
    }

    LowerPattern(A, M);
    M.UStart.assign(U(A.N) + 1, 0);
    for (int i = 0; i < A.N; ++i) M.UStart[U(i) + 1] = M.UStart[U(i)] + A.RowStart[U(i) + 1] - A.Diag[U(i)] - 1;
    M.UCol.resize(U(M.UStart[U(A.N)]));
    M.UVal.resize(M.UCol.size());
    for (int i = 0; i < A.N; ++i) {
        for (int p = A.RowStart[U(i)], q = M.LStart[U(i)]; p < A.Diag[U(i)]; ++p, ++q) M.LVal[U(q)] = w[U(p)];
        for (int p = A.Diag[U(i)] + 1, q = M.UStart[U(i)]; p < A.RowStart[U(i) + 1]; ++p, ++q) {
            M.UCol[U(q)] = A.RowCol[U(p)];
            M.UVal[U(q)] = w[U(p)] * M.DInv[U(i)];
        }
    }
}

void Solve(const TPrecond& M, double* x)
{
    LowerUnit(M, x);
    ScaledUpperUnit(M, x);
}

void SolveT(const TPrecond& M, double* x)
{
    if (M.Symmetric) {
        Solve(M, x);
        return;
    }
    UpperUnitT(M, x);
    Scale(M, x);
    LowerUnitT(M, x);
}

void SolveMMT(const TPrecond& M, double* x)
{
    Solve(M, x);
    SolveT(M, x);
}

}  // namespace tarnel::slap

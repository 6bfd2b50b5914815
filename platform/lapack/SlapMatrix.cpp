// The normalised matrix of the iterative solvers and its products.
//
// Normalisation is linear in NELT + N and sorts nothing: the triplets are bucketed by row in input order, the
// duplicates of every row summed (the first stays, later ones are added to it) and a missing diagonal added as
// 0; scattering those rows into columns in ascending row order gives ascending rows in every column, and the
// diagonal is then moved to the front of its column. Scattering the columns back in ascending column order gives
// the rows with ascending columns that the products and the factorizations walk.
#include <algorithm>
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

// Starts from counts held one place on: Start[i + 1] := Start[i] + count of i.
void PrefixSum(std::vector<int>& Start)
{
    for (Size i = 1; i < Start.size(); ++i) Start[i] += Start[i - 1];
}

}  // namespace

bool Normalise(int N, int NELT, const int* IA, const int* JA, const double* A, bool Symmetric, TMatrix& M)
{
    for (int k = 0; k < NELT; ++k)
        if (IA[k] < 1 || IA[k] > N || JA[k] < 1 || JA[k] > N) return false;
    // With ISYM 1 an entry above the diagonal stands for its mirror below it.
    auto rowOf = [&](int k) { return (Symmetric ? std::max(IA[k], JA[k]) : IA[k]) - 1; };
    auto colOf = [&](int k) { return (Symmetric ? std::min(IA[k], JA[k]) : JA[k]) - 1; };

    // Bucketed by row, in input order.
    std::vector<int> start(U(N) + 1, 0);
    for (int k = 0; k < NELT; ++k) ++start[U(rowOf(k)) + 1];
    PrefixSum(start);
    std::vector<int> next(start.begin(), start.end() - 1);
    std::vector<int> bCol(U(NELT));
    std::vector<double> bVal(U(NELT));
    for (int k = 0; k < NELT; ++k) {
        const Size p = U(next[U(rowOf(k))]++);
        bCol[p] = colOf(k);
        bVal[p] = A[k];
    }

    // Duplicates summed row by row, a missing diagonal added: pos[c] is where column c sits in the merged form,
    // a position before the current row's start belonging to an earlier row.
    const Size room = U(NELT) + U(N);
    std::vector<int> mStart(U(N) + 1, 0), mCol(room);
    std::vector<double> mVal(room);
    std::vector<int> pos(U(N), -1);
    int write = 0;
    for (int i = 0; i < N; ++i) {
        const int rowBegin = write;
        for (int k = start[U(i)]; k < start[U(i) + 1]; ++k) {
            const int c = bCol[U(k)];
            if (pos[U(c)] >= rowBegin) {
                mVal[U(pos[U(c)])] += bVal[U(k)];
            } else {
                pos[U(c)] = write;
                mCol[U(write)] = c;
                mVal[U(write)] = bVal[U(k)];
                ++write;
            }
        }
        if (pos[U(i)] < rowBegin) {
            pos[U(i)] = write;
            mCol[U(write)] = i;
            mVal[U(write)] = 0;
            ++write;
        }
        mStart[U(i) + 1] = write;
    }
    bCol = {};
    bVal = {};

    // Columns, rows ascending, then the diagonal moved to the front of each column.
    M.N = N;
    M.Symmetric = Symmetric;
    M.ColStart.assign(U(N) + 1, 0);
    for (int k = 0; k < write; ++k) ++M.ColStart[U(mCol[U(k)]) + 1];
    PrefixSum(M.ColStart);
    M.ColRow.assign(U(write), 0);
    M.ColVal.assign(U(write), 0);
    next.assign(M.ColStart.begin(), M.ColStart.end() - 1);
    for (int i = 0; i < N; ++i)
        for (int k = mStart[U(i)]; k < mStart[U(i) + 1]; ++k) {
            const Size p = U(next[U(mCol[U(k)])]++);
            M.ColRow[p] = i;
            M.ColVal[p] = mVal[U(k)];
        }
    for (int j = 0; j < N; ++j) {
        int d = M.ColStart[U(j)];
        while (M.ColRow[U(d)] != j) ++d;
        std::rotate(M.ColRow.begin() + M.ColStart[U(j)], M.ColRow.begin() + d, M.ColRow.begin() + d + 1);
        std::rotate(M.ColVal.begin() + M.ColStart[U(j)], M.ColVal.begin() + d, M.ColVal.begin() + d + 1);
    }

    // The whole matrix row by row from the columns visited in ascending order; with ISYM 1 each entry below the
    // diagonal also gives its mirror, which reaches its row after the row's lower part and its diagonal.
    M.RowStart.assign(U(N) + 1, 0);
    for (int j = 0; j < N; ++j)
        for (int k = M.ColStart[U(j)]; k < M.ColStart[U(j) + 1]; ++k) {
            ++M.RowStart[U(M.ColRow[U(k)]) + 1];
            if (Symmetric && M.ColRow[U(k)] != j) ++M.RowStart[U(j) + 1];
        }
    PrefixSum(M.RowStart);
    const Size full = U(M.RowStart[U(N)]);
    M.RowCol.assign(full, 0);
    M.RowVal.assign(full, 0);
    M.Diag.assign(U(N), 0);
    next.assign(M.RowStart.begin(), M.RowStart.end() - 1);
    auto put = [&](int i, int j, double v) {
        const int p = next[U(i)]++;
        M.RowCol[U(p)] = j;
        M.RowVal[U(p)] = v;
        if (i == j) M.Diag[U(i)] = p;
    };
    for (int j = 0; j < N; ++j)
        for (int k = M.ColStart[U(j)]; k < M.ColStart[U(j) + 1]; ++k) {
            const int i = M.ColRow[U(k)];
            put(i, j, M.ColVal[U(k)]);
            if (Symmetric && i != j) put(j, i, M.ColVal[U(k)]);
        }
    return true;
}

void MatVec(const TMatrix& A, const double* x, double* y)
{
    const int* start = A.RowStart.data();
    const int* col = A.RowCol.data();
    const double* val = A.RowVal.data();
    for (int i = 0; i < A.N; ++i) {
        double s = 0;
        for (int k = start[i]; k < start[i + 1]; ++k) s += val[k] * x[col[k]];
        y[i] = s;
    }
}

void MatVecT(const TMatrix& A, const double* x, double* y)
{
    if (A.Symmetric) {
        MatVec(A, x, y);
        return;
    }
    const int* start = A.ColStart.data();
    const int* row = A.ColRow.data();
    const double* val = A.ColVal.data();
    for (int j = 0; j < A.N; ++j) {
        double s = 0;
        for (int k = start[j]; k < start[j + 1]; ++k) s += val[k] * x[row[k]];
        y[j] = s;
    }
}

}  // namespace tarnel::slap

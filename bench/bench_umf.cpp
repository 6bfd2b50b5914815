// The direct sparse solve against a direct UMFPACK sequence on the same arrays (umfpack_di_symbolic, _numeric,
// _solve and the frees: what Solve adds is the wrapper) and against scipy.sparse.linalg.spsolve
// (bench/peers/umf.py, same run), on the 5-point Poisson matrix of the m x m grid for m = 100, 200, 300 (size: the
// unknowns). Rows: one right-hand side at prlNone, the same at prlBasic (the report's cost), and 16 right-hand
// sides (one factorisation). Right-hand sides b[k] = ((37 k + 11 c) mod 101) / 16 - 3 on both sides. OpenBLAS runs
// on one thread, as scripts/bench starts it.
#include <umfpack.h>

#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

void Poisson(TSparseMtx& A, int M)
{
    TIntArray r, c;
    TSampleArray v;
    const int di[] = {0, -1, 1, 0, 0}, dj[] = {0, 0, 0, -1, 1};
    for (int j = 0; j < M; ++j)
        for (int i = 0; i < M; ++i)
            for (int t = 0; t < 5; ++t) {
                const int ii = i + di[t], jj = j + dj[t];
                if (ii < 0 || ii >= M || jj < 0 || jj >= M) continue;
                r.push_back(i + M * j);
                c.push_back(ii + M * jj);
                v.push_back(t == 0 ? 4.0 : -1.0);
            }
    A.TripletsToSparse(M * M, M * M, r, c, v, 0);
    A.SetReportLevel(prlNone);
}

double RhsValue(int K, int C)
{
    return ((37 * K + 11 * C) % 101) / 16.0 - 3;
}

void OursSolve(benchmark::State& st, int M, TReportLevel Level)
{
    TSparseMtx a;
    Poisson(a, M);
    a.SetReportLevel(Level);
    TVec b, x;
    b.Size(a.Cols());
    for (int k = 0; k < a.Cols(); ++k) b.Values()[k] = RhsValue(k, 0);
    a.Solve(b, x);
    for (auto _ : st) {
        a.Solve(b, x);
        benchmark::ClobberMemory();
    }
}

void OursSolveMany(benchmark::State& st, int M, int Columns)
{
    TSparseMtx a;
    Poisson(a, M);
    TMtx b, x;
    b.Size(a.Cols(), Columns);
    for (int k = 0; k < a.Cols(); ++k)
        for (int c = 0; c < Columns; ++c) b.Values()[k * Columns + c] = RhsValue(k, c);
    a.Solve(b, x);
    for (auto _ : st) {
        a.Solve(b, x);
        benchmark::ClobberMemory();
    }
}

// The same work called directly: one analysis, one factorisation, Columns solves, on the matrix's own arrays and
// control settings.
void DirectSolve(benchmark::State& st, int M, int Columns)
{
    TSparseMtx a;
    Poisson(a, M);
    const int n = a.Cols();
    std::vector<double> b(static_cast<std::size_t>(n) * Columns), x(b.size());
    for (int c = 0; c < Columns; ++c)
        for (int k = 0; k < n; ++k) b[static_cast<std::size_t>(c) * n + k] = RhsValue(k, c);
    const int* ap = a.ColPointers().data();
    const int* ai = a.RowIndices().data();
    const double* ax = a.Values().Values();
    const double* control = a.ControlArray().data();
    double info[UMFPACK_INFO];
    for (auto _ : st) {
        void *sym = nullptr, *num = nullptr;
        umfpack_di_symbolic(n, n, ap, ai, ax, &sym, control, info);
        umfpack_di_numeric(ap, ai, ax, sym, &num, control, info);
        umfpack_di_free_symbolic(&sym);
        for (int c = 0; c < Columns; ++c)
            umfpack_di_solve(UMFPACK_A, ap, ai, ax, x.data() + static_cast<std::size_t>(c) * n,
                             b.data() + static_cast<std::size_t>(c) * n, num, control, info);
        umfpack_di_free_numeric(&num);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int m : {100, 200, 300}) {
        const int n = m * m;
        Row("Solve", n, "ours", [m](benchmark::State& s) { OursSolve(s, m, prlNone); });
        Row("Solve", n, "umfpack", [m](benchmark::State& s) { DirectSolve(s, m, 1); });
        Row("Solve", n, "ours prlBasic", [m](benchmark::State& s) { OursSolve(s, m, prlBasic); });
        Row("Solve 16 rhs", n, "ours", [m](benchmark::State& s) { OursSolveMany(s, m, 16); });
        Row("Solve 16 rhs", n, "umfpack", [m](benchmark::State& s) { DirectSolve(s, m, 16); });
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

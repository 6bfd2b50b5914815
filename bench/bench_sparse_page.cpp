// The sparse solver page's three timed blocks on its own system (demo/pde225.mtx, 225 unknowns, 1065 entries),
// each 100 solutions as the page runs them, against peers in the same run (bench/peers/sparse_page.py):
//   - 100 LUSolve calls on the dense matrix against 100 numpy.linalg.solve calls;
//   - 100 sparse direct Solve calls at prlNone against 100 direct umfpack_di_symbolic/_numeric/_solve sequences
//     on the same arrays and control settings (what Solve adds is the wrapper);
//   - 100 SolveIterative calls with LUGMRES from a ramp against 100 scipy gmres calls (restart 10, the same
//     tolerance) with spilu made per call, as ours factors per call.
// b[i] = cos(i) on every side. OpenBLAS runs on one thread, as scripts/bench starts it.
#include <umfpack.h>

#include <cmath>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kRuns = 100;

struct TSystem {
    TSparseMtx S;
    TMtx A;
    TVec B, X;
    TSystem()
    {
        S.LoadFromMatrixMarketFile(PDE225_FILE);
        S.SetReportLevel(prlNone);
        S.SetAutoClearReport(true);
        S.SetIterativeMethod(itmLUGMRES);
        S.SparseToDense(A, 10000000);
        B.Size(S.Rows(), false);
        for (int i = 0; i < B.Length(); ++i) B.Values()[i] = std::cos(i);
        X.Size(B);
    }
};

void OursLUSolve(benchmark::State& st)
{
    TSystem s;
    // Warm-up, as the peer's timer warms up before it measures: the first call after the setup takes the factor's
    // work area from a heap the setup left shrunk (about 100 page faults, some 200 us more than a call), inside a
    // repetition of one or two iterations.
    s.A.LUSolve(s.B, s.X, mtGeneral, opNone);
    for (auto _ : st) {
        for (int i = 0; i < kRuns; ++i) s.A.LUSolve(s.B, s.X, mtGeneral, opNone);
        benchmark::ClobberMemory();
    }
}

void OursSolve(benchmark::State& st)
{
    TSystem s;
    for (auto _ : st) {
        for (int i = 0; i < kRuns; ++i) s.S.Solve(s.B, s.X);
        benchmark::ClobberMemory();
    }
}

void DirectUmfpack(benchmark::State& st)
{
    TSystem s;
    const int n = s.S.Cols();
    const int* ap = s.S.ColPointers().data();
    const int* ai = s.S.RowIndices().data();
    const double* ax = s.S.Values().Values();
    const double* control = s.S.ControlArray().data();
    double info[UMFPACK_INFO];
    for (auto _ : st) {
        for (int i = 0; i < kRuns; ++i) {
            void *sym = nullptr, *num = nullptr;
            umfpack_di_symbolic(n, n, ap, ai, ax, &sym, control, info);
            umfpack_di_numeric(ap, ai, ax, sym, &num, control, info);
            umfpack_di_free_symbolic(&sym);
            umfpack_di_solve(UMFPACK_A, ap, ai, ax, s.X.Values(), s.B.Values(), num, control, info);
            umfpack_di_free_numeric(&num);
        }
        benchmark::ClobberMemory();
    }
}

void OursIterative(benchmark::State& st)
{
    TSystem s;
    for (auto _ : st) {
        for (int i = 0; i < kRuns; ++i) {
            s.X.Ramp();
            s.S.SolveIterative(s.B, s.X, false);
        }
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("pde225 100 LUSolve", 225, "ours", OursLUSolve);
    Row("pde225 100 Solve", 225, "ours", OursSolve);
    Row("pde225 100 Solve", 225, "umfpack", DirectUmfpack);
    Row("pde225 100 SolveIterative", 225, "ours", OursIterative);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

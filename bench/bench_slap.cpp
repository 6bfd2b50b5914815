// The iterative sparse solvers against scipy.sparse.linalg (bench/peers/slap.py, same run), one thread each:
//   - ICCG, LUBC, LUCS, LUGMRES for 50 iterations from 0 on the 2-D Poisson matrix of 100² and 300² unknowns,
//     b[i] = cos(i), against cg, bicg, cgs and gmres (restart 10) with spilu(drop_tol=0, fill_factor=1) as M.
//     Ours is the whole call (normalisation and factorization included); the peer's factorization is made
//     outside its timing. The tolerance is too small to be met, so both sides run exactly 50 iterations.
//   - the layer's A·x against scipy's A @ x (CSR) on the same matrices;
//   - the sparse page's case: 100 SolveIterative calls with LUGMRES on the 225-unknown convection-diffusion
//     system from a ramp, against 100 gmres calls (restart 10, the same tolerance, spilu made per call as ours).
#include <cmath>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"
#include "platform/lapack/SlapInternal.h"

using namespace tarnel;

namespace {

// The 5-point operator on a k × k grid as 1-based triplets, unknown (i, j) at j·k + i.
struct TGrid {
    int N = 0;
    std::vector<int> IA, JA;
    std::vector<double> A;
    TGrid(int K, double Diag, double West, double East, double South, double North) : N(K * K)
    {
        auto add = [&](int r, int c, double v) {
            IA.push_back(r + 1);
            JA.push_back(c + 1);
            A.push_back(v);
        };
        for (int j = 0; j < K; ++j)
            for (int i = 0; i < K; ++i) {
                const int p = j * K + i;
                add(p, p, Diag);
                if (i > 0) add(p, p - 1, West);
                if (i < K - 1) add(p, p + 1, East);
                if (j > 0) add(p, p - K, South);
                if (j < K - 1) add(p, p + K, North);
            }
    }
};

std::vector<double> Cosines(int N)
{
    std::vector<double> b(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i) b[static_cast<std::size_t>(i)] = std::cos(i);
    return b;
}

void OursFifty(benchmark::State& st, TSlapRoutine Routine, int K)
{
    const TGrid g(K, 4, -1, -1, -1, -1);
    const std::vector<double> b = Cosines(g.N);
    std::vector<double> x(b.size());
    const int nelt = static_cast<int>(g.A.size()), isym = 0, ns = 10, itmax = 50;
    const int itol = Routine == slapLUGM ? 0 : 2;
    const TSlapLengths len = SlapWorkLengths(Routine, g.N, nelt, ns);
    const int lenW = static_cast<int>(len.LenW), lenIW = static_cast<int>(len.LenIW);
    for (auto _ : st) {
        std::fill(x.begin(), x.end(), 0.0);
        double tol = slap::kTolMin, err = 0;
        int iter = 0, ierr = 0;
        SlapSolve(Routine, &g.N, b.data(), x.data(), &nelt, g.IA.data(), g.JA.data(), g.A.data(), &isym, &ns, &itol,
                  &tol, &itmax, &iter, &err, &ierr, &lenW, &lenIW);
        if (iter != 50) st.SkipWithError("not 50 iterations");
        benchmark::ClobberMemory();
    }
}

void OursMatVec(benchmark::State& st, int K)
{
    const TGrid g(K, 4, -1, -1, -1, -1);
    slap::TMatrix a;
    slap::Normalise(g.N, static_cast<int>(g.A.size()), g.IA.data(), g.JA.data(), g.A.data(), false, a);
    const std::vector<double> x = Cosines(g.N);
    std::vector<double> y(x.size());
    for (auto _ : st) {
        slap::MatVec(a, x.data(), y.data());
        benchmark::ClobberMemory();
    }
}

void OursPageCase(benchmark::State& st)
{
    const TGrid g(15, 4, -1.625, -0.375, -1.3125, -0.6875);
    TSparseMtx s;
    TIntArray r(g.IA.size()), c(g.JA.size());
    for (std::size_t k = 0; k < r.size(); ++k) {
        r[k] = g.IA[k] - 1;
        c[k] = g.JA[k] - 1;
    }
    s.TripletsToSparse(g.N, g.N, r, c, g.A, 0);
    s.SetIterativeMethod(itmLUGMRES);
    TVec b, x;
    b.Size(g.N, false);
    x.Size(g.N, false);
    for (int i = 0; i < g.N; ++i) b.Values()[i] = std::cos(i);
    for (auto _ : st) {
        for (int run = 0; run < 100; ++run) {
            for (int i = 0; i < g.N; ++i) x.Values()[i] = i;
            s.SolveIterative(b, x, false);
        }
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    const struct {
        const char* Name;
        TSlapRoutine Routine;
    } methods[] = {{"ICCG 50 iterations", slapICCG},
                   {"LUBC 50 iterations", slapLUBC},
                   {"LUCS 50 iterations", slapLUCS},
                   {"LUGMRES 50 iterations", slapLUGM}};
    for (const int k : {100, 300}) {
        for (const auto& m : methods) {
            const TSlapRoutine r = m.Routine;
            Row(m.Name, k * k, "ours", [r, k](benchmark::State& s) { OursFifty(s, r, k); });
        }
        Row("Sparse A*x", k * k, "ours", [k](benchmark::State& s) { OursMatVec(s, k); });
    }
    Row("100 LUGMRES solves", 225, "ours", [](benchmark::State& s) { OursPageCase(s); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

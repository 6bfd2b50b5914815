// TMtx.Mul against a direct dgemm_ call on the same data, and TMtx.Transp of a 2000 x 2000 matrix; numpy's rows
// (numpy.matmul, numpy.ascontiguousarray(A.T)) come from bench/peers/mul.py in the same run. Both sides use the
// same OpenBLAS with the thread count scripts/bench sets (OPENBLAS_NUM_THREADS, 1 unless given).
#include <random>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

void Fill(TMtx& M, int Rows, int Cols, unsigned Seed)
{
    M.Size(Rows, Cols);
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < Rows * Cols; ++i) M.Values()[i] = u(gen);
}

void OursMul(benchmark::State& st, int n)
{
    TMtx a, b, c;
    Fill(a, n, n, 1);
    Fill(b, n, n, 2);
    c.Mul(a, b);
    for (auto _ : st) {
        c.Mul(a, b);
        benchmark::ClobberMemory();
    }
}

// The call Mul makes, without its checks: C = A·B on row-major data as Cᵀ = Bᵀ·Aᵀ.
void DirectDgemm(benchmark::State& st, int n)
{
    TMtx a, b, c;
    Fill(a, n, n, 1);
    Fill(b, n, n, 2);
    c.Size(n, n);
    const double alpha = 1, beta = 0;
    for (auto _ : st) {
        dgemm_("N", "N", &n, &n, &n, &alpha, b.Values(), &n, a.Values(), &n, &beta, c.Values(), &n, 1, 1);
        benchmark::ClobberMemory();
    }
}

void OursTransp(benchmark::State& st, int n)
{
    TMtx a, t;
    Fill(a, n, n, 3);
    t.Transp(a);
    for (auto _ : st) {
        t.Transp(a);
        benchmark::ClobberMemory();
    }
}

void OursTranspInPlace(benchmark::State& st, int n)
{
    TMtx a;
    Fill(a, n, n, 3);
    for (auto _ : st) {
        a.Transp();
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {8, 32, 100, 500, 1000, 2000}) {
        Row("Mul", n, "ours", [n](benchmark::State& s) { OursMul(s, n); });
        Row("Mul", n, "dgemm", [n](benchmark::State& s) { DirectDgemm(s, n); });
    }
    Row("Transp", 2000, "ours", [](benchmark::State& s) { OursTransp(s, 2000); });
    Row("Transp in place", 2000, "ours", [](benchmark::State& s) { OursTranspInPlace(s, 2000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

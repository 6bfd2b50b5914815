// TMtx.Mul against a direct dgemm_ call on the same data, and TMtx.Transp of a 2000 x 2000 matrix; numpy's rows
// (numpy.matmul, numpy.copyto of the transposed view into a preallocated matrix) come from bench/peers/mul.py,
// run alternately with this program. Both sides use the same OpenBLAS, on one thread (scripts/bench sets
// OPENBLAS_NUM_THREADS=1) except in the "default threads" rows, which run at the thread count a user gets.
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

// The call Mul makes, without its checks.
void DirectDgemm(benchmark::State& st, int n)
{
    TMtx a, b, c;
    Fill(a, n, n, 1);
    Fill(b, n, n, 2);
    c.Size(n, n);
    for (auto _ : st) {
        tarnel_bench::Dgemm(n, a.Values(), b.Values(), c.Values());
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
    using tarnel_bench::Bytes;
    using tarnel_bench::MulWork;
    using tarnel_bench::Row;
    for (int n : {8, 32, 100, 500, 1000, 2000}) {
        Row("Mul", n, "ours", MulWork(n), [n](benchmark::State& s) { OursMul(s, n); });
        Row("Mul", n, "dgemm", [n](benchmark::State& s) { DirectDgemm(s, n); });
    }
    // As a user gets it: OpenBLAS on all its threads, numpy likewise.
    const auto atDefault = [](auto fn) { return tarnel_bench::AtDefaultThreads(fn); };
    Row("Mul, default threads", 2000, "ours", MulWork(2000), atDefault([](benchmark::State& s) { OursMul(s, 2000); }));
    Row("Mul, default threads", 2000, "dgemm", atDefault([](benchmark::State& s) { DirectDgemm(s, 2000); }));
    // Read once and written once: 16 bytes per element.
    Row("Transp", 2000, "ours", Bytes(16.0 * 2000 * 2000), [](benchmark::State& s) { OursTransp(s, 2000); });
    Row("Transp in place", 2000, "ours", Bytes(16.0 * 2000 * 2000),
        [](benchmark::State& s) { OursTranspInPlace(s, 2000); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

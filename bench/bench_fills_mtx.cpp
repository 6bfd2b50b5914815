// Vector fills, ramps, rounding and the prime sieve, the matrix element-wise sum, complex product and magnitudes,
// and the rank-1 update TensorProd against a direct dger_ call on the same data. numpy's rows (numpy.ndarray.fill,
// arange, rint, a boolean sieve, add, multiply, abs) come from bench/peers/fills_mtx.py, run alternately with this
// program. OpenBLAS runs on one thread as scripts/bench sets it (OPENBLAS_NUM_THREADS=1); the element-wise rows use
// the library's own worker threads where a vector is long enough, as a user gets them.
#include <random>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kVecN = 1000000;
constexpr int kMtxN = 1000;
constexpr int kPrimesN = 10000000;

void Fill(double* P, long long N, unsigned Seed, double Lo, double Hi)
{
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(Lo, Hi);
    for (long long i = 0; i < N; ++i) P[i] = u(gen);
}

void FillMtx(TMtx& M, bool Complex, unsigned Seed)
{
    M.Size(kMtxN, kMtxN, Complex);
    Fill(M.Values(), static_cast<long long>(kMtxN) * kMtxN * (Complex ? 2 : 1), Seed, -1, 1);
}

template <class Fn>
void Loop(benchmark::State& St, const Fn& Run)
{
    Run();
    for (auto _ : St) {
        Run();
        benchmark::ClobberMemory();
    }
}

void OursSetVal(benchmark::State& st)
{
    TVec v;
    v.Size(kVecN);
    Loop(st, [&] { v.SetVal(1.5); });
}

void OursRamp(benchmark::State& st)
{
    TVec v;
    v.Size(kVecN);
    Loop(st, [&] { v.Ramp(1, 0.1); });
}

void OursRound(benchmark::State& st)
{
    TVec x, r;
    x.Size(kVecN);
    Fill(x.Values(), kVecN, 1, -1000, 1000);
    r.Size(kVecN);
    Loop(st, [&] { r.Round(x); });
}

void OursPrimes(benchmark::State& st)
{
    TVec v;
    Loop(st, [&] { v.PrimeNumbers(kPrimesN); });
}

void OursAdd(benchmark::State& st)
{
    TMtx a, b, c;
    FillMtx(a, false, 2);
    FillMtx(b, false, 3);
    Loop(st, [&] { c.Add(a, b); });
}

void OursMulElem(benchmark::State& st)
{
    TMtx a, b, c;
    FillMtx(a, true, 4);
    FillMtx(b, true, 5);
    Loop(st, [&] { c.MulElem(a, b); });
}

void OursMag(benchmark::State& st)
{
    TMtx a, c;
    FillMtx(a, true, 6);
    Loop(st, [&] { c.Mag(a); });
}

void OursUpdate(benchmark::State& st)
{
    TMtx m;
    TVec x, y;
    FillMtx(m, false, 7);
    x.Size(kMtxN);
    y.Size(kMtxN);
    Fill(x.Values(), kMtxN, 8, -1, 1);
    Fill(y.Values(), kMtxN, 9, -1, 1);
    Loop(st, [&] { m.TensorProd(x, y, true, false); });
}

// The call TensorProd makes, without its checks.
void DirectDger(benchmark::State& st)
{
    TMtx m;
    TVec x, y;
    FillMtx(m, false, 7);
    x.Size(kMtxN);
    y.Size(kMtxN);
    Fill(x.Values(), kMtxN, 8, -1, 1);
    Fill(y.Values(), kMtxN, 9, -1, 1);
    const int n = kMtxN, one = 1;
    const double alpha = 1;
    Loop(st, [&] { dger_(&n, &n, &alpha, y.Values(), &one, x.Values(), &one, m.Values(), &n); });
}

const bool kRegistered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::Flop;
    using tarnel_bench::Row;
    const double v = kVecN, m = static_cast<double>(kMtxN) * kMtxN;
    // Bytes read plus bytes written.
    Row("SetVal", kVecN, "ours", Bytes(8 * v), OursSetVal);
    Row("Ramp", kVecN, "ours", Bytes(8 * v), OursRamp);
    Row("Round", kVecN, "ours", Bytes(16 * v), OursRound);
    Row("PrimeNumbers", kPrimesN, "ours", OursPrimes);
    Row("Add", kMtxN, "ours", Bytes(24 * m), OursAdd);
    Row("MulElem complex", kMtxN, "ours", Bytes(48 * m), OursMulElem);
    Row("Mag", kMtxN, "ours", Bytes(24 * m), OursMag);
    Row("TensorProd update", kMtxN, "ours", Flop(2 * m), OursUpdate);
    Row("TensorProd update", kMtxN, "dger", DirectDger);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

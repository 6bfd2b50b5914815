// Element-wise vector operations at the sizes programs use them: 8 elements (per-call overhead), 800 (one block of
// a block walk), 10^6 and 10^7 (memory bound): Add of two vectors, the scaled Add and Copy; and Mag and
// CartToPolar of 10^6 complex elements. numpy's rows come from bench/peers/elementwise.py in the same run, on the
// same numbers.
#include <cmath>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kSizes[] = {8, 800, 1000000, 10000000};
constexpr int kPolarSize = 1000000;

// sin(i) (and cos(i) for the imaginary parts), as the peer fills its arrays.
void Fill(TVec& V, int N, bool Complex, double Shift)
{
    V.Size(N, Complex);
    for (int i = 0; i < N; ++i) {
        if (Complex)
            V.CValues()[i] = Cplx(std::sin(i + Shift), std::cos(i + Shift));
        else
            V.Values()[i] = std::sin(i + Shift);
    }
}

void AddTwo(benchmark::State& st, int N)
{
    TVec a, b, r;
    Fill(a, N, false, 0);
    Fill(b, N, false, 1);
    Fill(r, N, false, 0);  // written before, as the peer's result array: no first-touch faults in the timing
    for (auto _ : st) {
        r.Add(a, b);
        benchmark::DoNotOptimize(r.Values());
    }
}

void AddScaled(benchmark::State& st, int N)
{
    TVec b, r;
    Fill(b, N, false, 1);
    Fill(r, N, false, 0);
    for (auto _ : st) {
        r.Add(b, 2.5, 0);
        benchmark::DoNotOptimize(r.Values());
    }
}

void Copy(benchmark::State& st, int N)
{
    TVec a, r;
    Fill(a, N, false, 0);
    Fill(r, N, false, 1);  // written before, as the peer's result array: no first-touch faults in the timing
    for (auto _ : st) {
        r.Copy(a);
        benchmark::DoNotOptimize(r.Values());
    }
}

void Mag(benchmark::State& st)
{
    TVec z, r;
    Fill(z, kPolarSize, true, 0);
    for (auto _ : st) {
        r.Mag(z);
        benchmark::DoNotOptimize(r.Values());
    }
}

void CartToPolar(benchmark::State& st)
{
    TVec z, a, p;
    Fill(z, kPolarSize, true, 0);
    for (auto _ : st) {
        z.CartToPolar(a, p);
        benchmark::DoNotOptimize(p.Values());
    }
}

const bool registered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::Row;
    // Bytes read plus bytes written per call: 8 for each Double an element reads or writes.
    for (int n : kSizes) {
        Row("Add(Vec1, Vec2)", n, "ours", Bytes(24.0 * n), [n](benchmark::State& st) { AddTwo(st, n); });
        Row("Add(Vec, 2.5, 0)", n, "ours", Bytes(24.0 * n), [n](benchmark::State& st) { AddScaled(st, n); });
        Row("Copy(Vec)", n, "ours", Bytes(16.0 * n), [n](benchmark::State& st) { Copy(st, n); });
    }
    Row("Mag(Vec)", kPolarSize, "ours", Bytes(24.0 * kPolarSize), Mag);
    Row("CartToPolar", kPolarSize, "ours", Bytes(32.0 * kPolarSize), CartToPolar);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

// The signal library's FFTs against direct FFTW plans, and the vector maths and vector sum against the
// plain loops' peers; numpy's rows come from bench/peers/signal.py in the same run.
#include <fftw3.h>

#include <cmath>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

// FFTW-aligned buffers for both sides, so that neither is measured on worse alignment.
struct Buffer {
    double* p;
    explicit Buffer(std::size_t doubles) : p(static_cast<double*>(fftw_malloc(doubles * sizeof(double)))) {}
    ~Buffer() { fftw_free(p); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
};

void Fill(double* p, std::size_t count, double lo, double hi, unsigned seed)
{
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(lo, hi);
    for (std::size_t i = 0; i < count; ++i) p[i] = u(gen);
}

// Repeated forward transforms in place: the values grow to infinities and NaN after a few dozen runs, which
// costs the SIMD code nothing and is the same for both sides.
void OursComplex(benchmark::State& st, int order)
{
    const std::size_t n = std::size_t{1} << order;
    Buffer b(2 * n);
    Fill(b.p, 2 * n, -1, 1, 1);
    nspzFft(reinterpret_cast<TCplx*>(b.p), order, NSP_Forw);  // planned before timing
    for (auto _ : st) {
        nspzFft(reinterpret_cast<TCplx*>(b.p), order, NSP_Forw);
        benchmark::ClobberMemory();
    }
}

void FftwComplex(benchmark::State& st, int order)
{
    const int n = 1 << order;
    Buffer b(2 * static_cast<std::size_t>(n));
    fftw_complex* c = reinterpret_cast<fftw_complex*>(b.p);
    fftw_plan p = fftw_plan_dft_1d(n, c, c, FFTW_FORWARD, FFTW_MEASURE);
    Fill(b.p, 2 * static_cast<std::size_t>(n), -1, 1, 1);
    for (auto _ : st) {
        fftw_execute(p);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(p);
}

void OursReal(benchmark::State& st, int order)
{
    const std::size_t n = std::size_t{1} << order;
    Buffer b(n + 2);
    Fill(b.p, n, -1, 1, 2);
    nspdRealFft(b.p, order, NSP_Forw);
    for (auto _ : st) {
        nspdRealFft(b.p, order, NSP_Forw);
        benchmark::ClobberMemory();
    }
}

void FftwReal(benchmark::State& st, int order)
{
    const int n = 1 << order;
    Buffer b(static_cast<std::size_t>(n) + 2);
    fftw_plan p = fftw_plan_dft_r2c_1d(n, b.p, reinterpret_cast<fftw_complex*>(b.p), FFTW_MEASURE);
    Fill(b.p, static_cast<std::size_t>(n), -1, 1, 2);
    for (auto _ : st) {
        fftw_execute(p);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(p);
}

constexpr int kN = 1000000;

template <class F>
void Unary(benchmark::State& st, F f, double lo, double hi)
{
    Buffer a(kN), y(kN);
    Fill(a.p, kN, lo, hi, 3);
    for (auto _ : st) {
        f(&kN, a.p, y.p);
        benchmark::ClobberMemory();
    }
}

void Add3(benchmark::State& st)
{
    Buffer a(kN), b(kN), y(kN);
    Fill(a.p, kN, -1, 1, 4);
    Fill(b.p, kN, -1, 1, 5);
    for (auto _ : st) {
        nspdbAdd3(a.p, b.p, y.p, kN);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::FftWork;
    using tarnel_bench::Row;
    for (int order : {10, 16, 20}) {
        const long long n = 1LL << order;
        Row("nspzFft", n, "ours", FftWork(order, true), [order](benchmark::State& s) { OursComplex(s, order); });
        Row("nspzFft", n, "fftw", [order](benchmark::State& s) { FftwComplex(s, order); });
        Row("nspdRealFft", n, "ours", FftWork(order, false), [order](benchmark::State& s) { OursReal(s, order); });
        Row("nspdRealFft", n, "fftw", [order](benchmark::State& s) { FftwReal(s, order); });
    }
    // The transforms run on the caller's thread whatever OpenBLAS's thread count; numpy's peer runs at its default.
    Row("nspzFft, default threads", 1 << 20, "ours", FftWork(20, true),
        tarnel_bench::AtDefaultThreads([](benchmark::State& s) { OursComplex(s, 20); }));
    Row("VDEXP", kN, "ours", [](benchmark::State& s) { Unary(s, VDEXP, -50, 50); });
    Row("VDLN", kN, "ours", [](benchmark::State& s) { Unary(s, VDLN, 1e-3, 1e3); });
    Row("VDSIN", kN, "ours", [](benchmark::State& s) { Unary(s, VDSIN, -100, 100); });
    Row("nspdbAdd3", kN, "ours", Bytes(24.0 * kN), Add3);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

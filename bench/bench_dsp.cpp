// The vector and matrix signal members (DCT, Hilbert, convolution, Goertzel, random fills, pixel down-sampling)
// against a direct FFTW r2r plan where one exists; numpy/scipy's rows come from bench/peers/dsp.py in the same
// run. The members run on the caller's thread except the long direct sums and reductions, which share the work
// with the signal library's worker threads (OPENBLAS_NUM_THREADS=1 as scripts/bench sets it does not limit them).
#include <fftw3.h>

#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

void Fill(TVecs& V, int N, bool Complex, unsigned Seed)
{
    V.Size(N, Complex);
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(N) * (Complex ? 2 : 1); ++i) V.Values()[i] = u(gen);
}

void OursDct(benchmark::State& st, int n)
{
    TVec x, y;
    Fill(x, n, false, 1);
    y.DCT(x);  // planned before timing
    for (auto _ : st) {
        y.DCT(x);
        benchmark::ClobberMemory();
    }
}

// FFTW's own REDFT10 out of place, unscaled: the floor under any DCT on FFTW.
void FftwDct(benchmark::State& st, int n)
{
    double* a = static_cast<double*>(fftw_malloc(sizeof(double) * n));
    double* b = static_cast<double*>(fftw_malloc(sizeof(double) * n));
    fftw_plan p = fftw_plan_r2r_1d(n, a, b, FFTW_REDFT10, FFTW_MEASURE);
    std::mt19937_64 gen(1);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < n; ++i) a[i] = u(gen);
    for (auto _ : st) {
        fftw_execute(p);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(p);
    fftw_free(a);
    fftw_free(b);
}

void OursHilbert(benchmark::State& st, int n)
{
    TVec x, z;
    Fill(x, n, false, 2);
    z.Hilbert(x);
    for (auto _ : st) {
        z.Hilbert(x);
        benchmark::ClobberMemory();
    }
}

void OursConvolve(benchmark::State& st, int n, int m)
{
    TVec x, h, y;
    Fill(x, n, false, 3);
    Fill(h, m, false, 4);
    y.Convolve(x, h);
    for (auto _ : st) {
        y.Convolve(x, h);
        benchmark::ClobberMemory();
    }
}

void OursConvolve2D(benchmark::State& st, int n, int m)
{
    TMtx x, h, y;
    x.Size(n, n);
    h.Size(m, m);
    x.RandUniform(-1, 1);
    h.RandUniform(-1, 1);
    y.Convolve(&x, &h, false);
    for (auto _ : st) {
        y.Convolve(&x, &h, false);
        benchmark::ClobberMemory();
    }
}

void OursGoertz(benchmark::State& st, int n)
{
    TVec x;
    Fill(x, n, false, 5);
    x.GoertzInit(0.1234567);
    for (auto _ : st) benchmark::DoNotOptimize(x.Goertz());
}

void OursFill(benchmark::State& st, int n, bool Gauss)
{
    TVec x;
    x.Size(n);
    // The first fill seeds and warms up; the timed ones continue the sequence.
    if (Gauss) {
        x.RandGauss(0, 1);
    } else {
        x.RandUniform(0, 1);
    }
    for (auto _ : st) {
        if (Gauss) {
            x.RandGauss(0, 1);
        } else {
            x.RandUniform(0, 1);
        }
        benchmark::ClobberMemory();
    }
}

void OursPixelVec(benchmark::State& st, int n, int width)
{
    TVec x, y;
    Fill(x, n, false, 6);
    for (auto _ : st) {
        y.PixelDownSample(width, x, nullptr, nullptr, true);
        benchmark::ClobberMemory();
    }
}

void OursPixelMtx(benchmark::State& st, int n, int width)
{
    TMtx a, d;
    a.Size(n, n);
    a.RandUniform(-1, 1);
    for (auto _ : st) {
        a.PixelDownSample(d, width, pdsAverage);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {1 << 10, 1 << 16, 1 << 20, 1000000}) {
        Row("TVec.DCT", n, "ours", [n](benchmark::State& s) { OursDct(s, n); });
        Row("TVec.DCT", n, "fftw", [n](benchmark::State& s) { FftwDct(s, n); });
    }
    Row("TVec.Hilbert", 1 << 20, "ours", [](benchmark::State& s) { OursHilbert(s, 1 << 20); });
    Row("TVec.Convolve by 1000", 1000, "ours", [](benchmark::State& s) { OursConvolve(s, 1000, 1000); });
    Row("TVec.Convolve by 64", 1000000, "ours", [](benchmark::State& s) { OursConvolve(s, 1000000, 64); });
    Row("TVec.Convolve by 10000", 1000000, "ours", [](benchmark::State& s) { OursConvolve(s, 1000000, 10000); });
    Row("TMtx.Convolve full by 5x5", 1024, "ours", [](benchmark::State& s) { OursConvolve2D(s, 1024, 5); });
    Row("TVec.Goertz", 1 << 20, "ours", [](benchmark::State& s) { OursGoertz(s, 1 << 20); });
    Row("TVec.RandUniform", 10000000, "ours", [](benchmark::State& s) { OursFill(s, 10000000, false); });
    Row("TVec.RandGauss", 10000000, "ours", [](benchmark::State& s) { OursFill(s, 10000000, true); });
    Row("TVec.PixelDownSample to 2000", 10000000, "ours", [](benchmark::State& s) { OursPixelVec(s, 10000000, 2000); });
    Row("TMtx.PixelDownSample average to 500", 4000, "ours", [](benchmark::State& s) { OursPixelMtx(s, 4000, 500); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

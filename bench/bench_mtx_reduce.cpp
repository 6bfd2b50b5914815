// Matrix reductions, stacking and the 2-D FFT. The reductions and the stacking compare with numpy's rows from
// bench/peers/mtx_reduce.py (sum, max, sum(axis=1), linalg.norm, concatenate into a preallocated matrix); the 2-D
// FFTs with a direct FFTW plan on the same data, made with the flags the library's plan cache uses (FFTW_MEASURE up
// to 2^22 points), and with numpy.fft.fft2/rfft2. scripts/bench runs OpenBLAS on one thread; these rows do not use
// it, and the transforms run on the caller's thread.
#include <fftw3.h>

#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

void Fill(double* P, std::size_t Count, unsigned Seed)
{
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1, 1);
    for (std::size_t i = 0; i < Count; ++i) P[i] = u(gen);
}

void FillMtx(TMtx& M, int Rows, int Cols, bool Complex, unsigned Seed)
{
    M.Size(Rows, Cols, Complex);
    Fill(M.Values(), static_cast<std::size_t>(Rows) * Cols * (Complex ? 2 : 1), Seed);
}

template <class F>
void Reduce(benchmark::State& St, int N, const F& Fn)
{
    TMtx a;
    FillMtx(a, N, N, false, 1);
    Fn(a);
    for (auto _ : St) {
        Fn(a);
        benchmark::ClobberMemory();
    }
}

void OursConcatVert(benchmark::State& St)
{
    TMtx parts[10], out;
    std::vector<const TMtx1*> list;
    for (int i = 0; i < 10; ++i) {
        FillMtx(parts[i], 100, 1000, false, 10 + i);
        list.push_back(&parts[i]);
    }
    out.ConcatVert(list);
    for (auto _ : St) {
        out.ConcatVert(list);
        benchmark::ClobberMemory();
    }
}

unsigned PlanFlags(long long Points)
{
    return Points <= (1LL << 22) ? FFTW_MEASURE : FFTW_ESTIMATE;
}

// Repeated forward transforms in place: the values grow to infinities and NaN after a while, the same for both
// sides.
void OursComplex2D(benchmark::State& St, int N)
{
    TMtx m;
    FillMtx(m, N, N, true, 2);
    m.FFT();
    for (auto _ : St) {
        m.FFT();
        benchmark::ClobberMemory();
    }
}

void FftwComplex2D(benchmark::State& St, int N)
{
    TMtx m;
    m.Size(N, N, true);
    auto* c = reinterpret_cast<fftw_complex*>(m.Values());
    fftw_plan p = fftw_plan_dft_2d(N, N, c, c, FFTW_FORWARD, PlanFlags(1LL * N * N));
    Fill(m.Values(), 2ULL * N * N, 2);
    for (auto _ : St) {
        fftw_execute(p);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(p);
}

// The real transform of N × N samples in the (N + 2) × (N + 2) layout; the spectrum is read as samples again for
// the next call.
void OursReal2D(benchmark::State& St, int N)
{
    TMtx m;
    FillMtx(m, N + 2, N + 2, false, 3);
    m.FFT();
    m.SetComplex(false);
    for (auto _ : St) {
        m.FFT();
        m.SetComplex(false);
        benchmark::ClobberMemory();
    }
}

void FftwReal2D(benchmark::State& St, int N)
{
    TMtx m;
    m.Size(N + 2, N + 2);
    // The samples' rows are N + 2 Doubles apart, the spectrum's N/2 + 1 complex numbers: FFTW's in-place layout.
    int dims[2] = {N, N};
    int inEmbed[2] = {N, N + 2}, outEmbed[2] = {N, N / 2 + 1};
    fftw_plan p =
        fftw_plan_many_dft_r2c(2, dims, 1, m.Values(), inEmbed, 1, 0, reinterpret_cast<fftw_complex*>(m.Values()),
                               outEmbed, 1, 0, PlanFlags(1LL * N * N));
    Fill(m.Values(), static_cast<std::size_t>(N + 2) * (N + 2), 3);
    for (auto _ : St) {
        fftw_execute(p);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(p);
}

const bool kRegistered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::Row;
    for (int n : {1000, 4000}) {
        const double bytes = 8.0 * n * n;
        Row("Mtx.Sum", n, "ours", Bytes(bytes), [n](benchmark::State& s) { Reduce(s, n, [](TMtx& a) { a.Sum(); }); });
        Row("Mtx.Max", n, "ours", Bytes(bytes), [n](benchmark::State& s) { Reduce(s, n, [](TMtx& a) { a.Max(); }); });
        Row("Mtx.SumRows", n, "ours", Bytes(bytes), [n](benchmark::State& s) {
            TVec v;
            Reduce(s, n, [&](TMtx& a) { a.SumRows(v); });
        });
        Row("Mtx.NormFro", n, "ours", Bytes(bytes),
            [n](benchmark::State& s) { Reduce(s, n, [](TMtx& a) { a.NormFro(); }); });
    }
    // Ten 100 × 1000 blocks read and one 1000 × 1000 matrix written.
    Row("Mtx.ConcatVert", 10, "ours", Bytes(16.0e6), OursConcatVert);
    for (int n : {256, 1024, 2048}) {
        int order = 0;
        while ((1 << order) < n) ++order;
        const tarnel_bench::TWork work = tarnel_bench::Flop(2.0 * 5.0 * n * n * order);
        Row("Mtx.FFT complex", n, "ours", work, [n](benchmark::State& s) { OursComplex2D(s, n); });
        Row("Mtx.FFT complex", n, "fftw", [n](benchmark::State& s) { FftwComplex2D(s, n); });
    }
    Row("Mtx.FFT real", 1024, "ours", tarnel_bench::Flop(5.0 * 1024 * 1024 * 10),
        [](benchmark::State& s) { OursReal2D(s, 1024); });
    Row("Mtx.FFT real", 1024, "fftw", [](benchmark::State& s) { FftwReal2D(s, 1024); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

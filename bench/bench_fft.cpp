// Vector FFT members against direct FFTW_MEASURE plans, and the binary stream format of 10^7 values against
// memcpy; numpy's rows (numpy.fft, tofile/fromfile, astype with clipping) come from bench/peers/fft.py in the same
// run. OPENBLAS_NUM_THREADS is set by scripts/bench and plays no part here.
#include <fftw3.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;
using tarnel_bench::Row;

namespace {

void Fill(double* p, std::size_t count, unsigned seed)
{
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(-1, 1);
    for (std::size_t i = 0; i < count; ++i) p[i] = u(gen);
}

void FillVec(TVec& V, int Length, bool Complex, unsigned seed)
{
    V.Size(Length, Complex);
    Fill(V.Values(), static_cast<std::size_t>(Length) * (Complex ? 2 : 1), seed);
}

// Repeated transforms in place: the values grow to infinities and NaN after a few dozen runs, which costs the
// SIMD code nothing and is the same for both sides.
void OursInPlace(benchmark::State& st, int n, bool complex)
{
    TVec v;
    FillVec(v, n, complex, 1);
    v.FFT();  // planned before timing
    if (!complex) v.SetComplex(false);
    for (auto _ : st) {
        v.FFT();
        if (!complex) v.SetComplex(false);  // back to N real numbers for the next run
        benchmark::ClobberMemory();
    }
}

void OursFromSource(benchmark::State& st, int n, bool complex)
{
    TVec src, dst;
    FillVec(src, n, complex, 1);
    dst.FFT(src);
    for (auto _ : st) {
        dst.FFT(src);
        benchmark::ClobberMemory();
    }
}

void Fftw(benchmark::State& st, int n, bool complex, bool inPlace)
{
    const std::size_t doubles = complex ? 2 * static_cast<std::size_t>(n) : static_cast<std::size_t>(n) + 2;
    auto* in = static_cast<double*>(fftw_malloc(doubles * sizeof(double)));
    auto* out = inPlace ? in : static_cast<double*>(fftw_malloc(doubles * sizeof(double)));
    auto* cin = reinterpret_cast<fftw_complex*>(in);
    auto* cout = reinterpret_cast<fftw_complex*>(out);
    fftw_plan p = complex ? fftw_plan_dft_1d(n, cin, cout, FFTW_FORWARD, FFTW_MEASURE)
                          : fftw_plan_dft_r2c_1d(n, in, cout, FFTW_MEASURE);
    Fill(in, complex ? doubles : static_cast<std::size_t>(n), 1);
    for (auto _ : st) {
        fftw_execute(p);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(p);
    if (!inPlace) fftw_free(out);
    fftw_free(in);
}

constexpr int kValues = 10000000;

std::string TempFile()
{
    return (std::filesystem::temp_directory_path() / ("tarnel_bench_" + std::to_string(::getpid()) + ".vec")).string();
}

void SaveToMemory(benchmark::State& st, TPrecision p)
{
    TVec v;
    FillVec(v, kValues, false, 3);
    // Beyond the 16-bit range, so that clipping happens.
    if (p != prDouble && p != prSingle) nspdbMpy1(40000.0, v.Values(), kValues);
    TMemoryStream m;
    v.SaveToStream(m, p, rnRound);
    for (auto _ : st) {
        m.SetPosition(0);
        v.SaveToStream(m, p, rnRound);
        benchmark::ClobberMemory();
    }
}

void LoadFromMemory(benchmark::State& st, TPrecision p)
{
    TVec v;
    FillVec(v, kValues, false, 3);
    TMemoryStream m;
    v.SaveToStream(m, p, rnRound);
    for (auto _ : st) {
        m.SetPosition(0);
        v.LoadFromStream(m);
        benchmark::ClobberMemory();
    }
}

void Memcpy(benchmark::State& st)
{
    std::vector<double> a(kValues), b(kValues);
    Fill(a.data(), a.size(), 3);
    std::memcpy(b.data(), a.data(), a.size() * sizeof(double));
    for (auto _ : st) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(double));
        benchmark::ClobberMemory();
    }
}

void SaveFile(benchmark::State& st)
{
    TVec v;
    FillVec(v, kValues, false, 3);
    const std::string f = TempFile();
    for (auto _ : st) v.SaveToFile(f);
    std::filesystem::remove(f);
}

void LoadFile(benchmark::State& st)
{
    TVec v;
    FillVec(v, kValues, false, 3);
    const std::string f = TempFile();
    v.SaveToFile(f);
    for (auto _ : st) v.LoadFromFile(f);
    std::filesystem::remove(f);
}

const bool kRegistered = [] {
    for (int order : {10, 16, 20}) {
        const int n = 1 << order;
        for (bool complex : {true, false}) {
            const std::string kind = complex ? "complex" : "real";
            Row("TVec.FFT " + kind + " in place", n, "ours",
                [n, complex](benchmark::State& s) { OursInPlace(s, n, complex); });
            Row("TVec.FFT " + kind + " in place", n, "fftw",
                [n, complex](benchmark::State& s) { Fftw(s, n, complex, true); });
            Row("TVec.FFT " + kind + " from source", n, "ours",
                [n, complex](benchmark::State& s) { OursFromSource(s, n, complex); });
            Row("TVec.FFT " + kind + " from source", n, "fftw",
                [n, complex](benchmark::State& s) { Fftw(s, n, complex, false); });
        }
    }
    Row("SaveToStream prDouble memory", kValues, "ours", [](benchmark::State& s) { SaveToMemory(s, prDouble); });
    Row("SaveToStream prDouble memory", kValues, "memcpy", Memcpy);
    Row("LoadFromStream prDouble memory", kValues, "ours", [](benchmark::State& s) { LoadFromMemory(s, prDouble); });
    Row("LoadFromStream prDouble memory", kValues, "memcpy", Memcpy);
    Row("SaveToFile prDouble", kValues, "ours", SaveFile);
    Row("LoadFromFile prDouble", kValues, "ours", LoadFile);
    for (TPrecision p : {prSmallInt, prSingle}) {
        const std::string name = p == prSmallInt ? "prSmallInt" : "prSingle";
        Row("SaveToStream " + name + " memory", kValues, "ours", [p](benchmark::State& s) { SaveToMemory(s, p); });
        Row("LoadFromStream " + name + " memory", kValues, "ours", [p](benchmark::State& s) { LoadFromMemory(s, p); });
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

// The vector forms of Probabilities against their peers (bench/peers/probabilities.py):
// - the block forms NormalPDF (Mu 0.5, Sigma 1.5, X in [−5, 5]), LogNormalPDF (Mu 0.2, Sigma 0.7, X in (0, 10])
//   and WeibullPDF (A 0.8, B 1.7, X in [0, 4]) at 10^6 and 10^7 elements against the same formula as numpy
//   operations written into preallocated arrays (numpy's fastest form of the expression);
// - NormalCDF (Mu 0, Sigma 1, X in [−5, 5]) at 10^6 against scipy.special.ndtr, GammaCDF (A 2.5, B 1.5, X in
//   [0, 15]) at 10^6 against scipy.special.gammainc(A, X/B);
// - BinomCDFInv (N = 10^5, P = 0.3) and PoissonCDFInv (λ = 500) on 1000 probabilities in (0, 1) against
//   scipy.stats binom.ppf and poisson.ppf; the row's size is N and λ.
// The arguments come from frac(k·φ), a sequence the peer rebuilds exactly. OPENBLAS_NUM_THREADS does not matter.
#include <cmath>
#include <functional>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

double Quasi(long long k)
{
    return std::fmod(static_cast<double>(k) * 0.6180339887498949, 1.0);
}

// X[k] = Lo + (Hi − Lo)·frac(k·φ).
void Arguments(TVec& X, int N, double Lo, double Hi)
{
    X.Size(N, false);
    for (int k = 0; k < N; ++k) X.Values()[k] = Lo + (Hi - Lo) * Quasi(k);
}

void Form(benchmark::State& St, int N, double Lo, double Hi, const std::function<void(const TVec&, TVec&)>& F)
{
    TVec x, r;
    Arguments(x, N, Lo, Hi);
    F(x, r);
    for (auto _ : St) {
        F(x, r);
        benchmark::DoNotOptimize(r.Values());
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n : {1000000, 10000000}) {
        Row("NormalPDF", n, "ours",
            [n](benchmark::State& s) { Form(s, n, -5, 5, [](const TVec& x, TVec& r) { NormalPDF(x, 0.5, 1.5, r); }); });
        Row("LogNormalPDF", n, "ours", [n](benchmark::State& s) {
            Form(s, n, 1e-9, 10, [](const TVec& x, TVec& r) { LogNormalPDF(x, 0.2, 0.7, r); });
        });
        Row("WeibullPDF", n, "ours",
            [n](benchmark::State& s) { Form(s, n, 0, 4, [](const TVec& x, TVec& r) { WeibullPDF(x, 0.8, 1.7, r); }); });
    }
    const int n = 1000000;
    Row("NormalCDF", n, "ours",
        [](benchmark::State& s) { Form(s, n, -5, 5, [](const TVec& x, TVec& r) { NormalCDF(x, 0, 1, r); }); });
    Row("GammaCDF", n, "ours",
        [](benchmark::State& s) { Form(s, n, 0, 15, [](const TVec& x, TVec& r) { GammaCDF(x, 2.5, 1.5, r); }); });
    Row("BinomCDFInv", 100000, "ours", [](benchmark::State& s) {
        Form(s, 1000, 1e-9, 1, [](const TVec& p, TVec& r) { BinomCDFInv(p, 100000, 0.3, r); });
    });
    Row("PoissonCDFInv", 500, "ours",
        [](benchmark::State& s) { Form(s, 1000, 1e-9, 1, [](const TVec& p, TVec& r) { PoissonCDFInv(p, 500, r); }); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

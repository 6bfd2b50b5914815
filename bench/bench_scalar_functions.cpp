// Scalar functions of Dovi387 against glibc's on 10^6 arguments per call of the loop: the real functions that
// use the C library or long double, the complex ones in long double against glibc's C99 complex functions, and
// the sort of complex numbers by the library's order against a sort on a precomputed (m, quadrant, ±Re) key
// (numpy.sort is the peer in bench/peers/scalar_functions.py), and the gamma family against glibc and scipy.
// OPENBLAS_NUM_THREADS does not matter here.
#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <tuple>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kCount = 1000000;

struct Data {
    std::vector<double> x, base, r;
    std::vector<TCplx> z, zr;
    std::vector<std::complex<double>> sz, szr;
    Data() : x(kCount), base(kCount), r(kCount), z(kCount), zr(kCount), sz(kCount), szr(kCount)
    {
        std::mt19937_64 gen(19);
        std::uniform_real_distribution<double> u(0.05, 10);
        std::uniform_real_distribution<double> c(-4, 4);
        for (int i = 0; i < kCount; ++i) {
            x[i] = u(gen);
            base[i] = u(gen) + 1.5;
            z[i] = Cplx(c(gen), c(gen));
            sz[i] = {z[i].Re, z[i].Im};
        }
    }
};

Data& D()
{
    static Data d;
    return d;
}

template <class Op>
void Real(benchmark::State& st, Op op)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kCount; ++i) d.r[i] = op(d.x[i], d.base[i]);
        benchmark::DoNotOptimize(d.r.data());
        benchmark::ClobberMemory();
    }
}

template <class Op>
void Ours(benchmark::State& st, Op op)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kCount; ++i) d.zr[i] = op(d.z[i]);
        benchmark::DoNotOptimize(d.zr.data());
        benchmark::ClobberMemory();
    }
}

template <class Op>
void Glibc(benchmark::State& st, Op op)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kCount; ++i) d.szr[i] = op(d.sz[i]);
        benchmark::DoNotOptimize(d.szr.data());
        benchmark::ClobberMemory();
    }
}

// Values rich in equal moduli, as the order test uses: the 3-4-5 family in every sign, axes and random points.
std::vector<TCplx> SortInput()
{
    std::mt19937_64 gen(112);
    std::vector<TCplx> v(kCount);
    const TCplx base[] = {{3, 4}, {4, 3}, {5, 0}, {0, 5}, {-3, 4}, {-4, -3}, {0, -5}, {3, -4}};
    std::normal_distribution<double> n;
    for (int i = 0; i < kCount; ++i) v[i] = (i % 2 == 0) ? base[gen() % 8] : Cplx(n(gen), n(gen));
    return v;
}

void SortOurs(benchmark::State& st)
{
    const std::vector<TCplx> input = SortInput();
    std::vector<TCplx> v;
    for (auto _ : st) {
        v = input;
        std::sort(v.begin(), v.end(), [](const TCplx& a, const TCplx& b) { return Smaller(a, b); });
        benchmark::DoNotOptimize(v.data());
    }
}

void SortKey(benchmark::State& st)
{
    const std::vector<TCplx> input = SortInput();
    using Key = std::tuple<double, int, double, int>;
    std::vector<Key> keys(kCount);
    for (auto _ : st) {
        for (int i = 0; i < kCount; ++i) {
            const TCplx& z = input[i];
            const int q = z.Im < 0 ? (z.Re < 0 ? 1 : 2) : (z.Re < 0 ? 4 : 3);
            keys[i] = {Norm(z), q, q <= 2 ? z.Re : -z.Re, i};
        }
        std::sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
}

using SC = std::complex<double>;

const bool kRegistered = [] {
    using tarnel_bench::Row;
    const long long n = kCount;
    Row("Exp", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double) { return Exp(x); }); });
    Row("Exp", n, "glibc", [](benchmark::State& s) { Real(s, [](double x, double) { return std::exp(x); }); });
    Row("Ln", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double) { return Ln(x); }); });
    Row("Ln", n, "glibc", [](benchmark::State& s) { Real(s, [](double x, double) { return std::log(x); }); });
    Row("Sin", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double) { return Sin(x); }); });
    Row("Sin", n, "glibc", [](benchmark::State& s) { Real(s, [](double x, double) { return std::sin(x); }); });
    Row("Power", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double b) { return Power(b, x); }); });
    Row("Power", n, "glibc", [](benchmark::State& s) { Real(s, [](double x, double b) { return std::pow(b, x); }); });
    Row("Tanh", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double) { return Tanh(x - 5); }); });
    Row("Tanh", n, "glibc", [](benchmark::State& s) { Real(s, [](double x, double) { return std::tanh(x - 5); }); });
    Row("LogN", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double b) { return LogN(b, x); }); });
    Row("LogN", n, "glibc",
        [](benchmark::State& s) { Real(s, [](double x, double b) { return std::log(x) / std::log(b); }); });
    Row("IntPower", n, "ours",
        [](benchmark::State& s) { Real(s, [](double x, double b) { return IntPower(x, int(b * 3) - 20); }); });
    Row("IntPower", n, "glibc",
        [](benchmark::State& s) { Real(s, [](double x, double b) { return std::pow(x, double(int(b * 3) - 20)); }); });
    Row("CExp", n, "ours", [](benchmark::State& s) { Ours(s, [](const TCplx& z) { return Exp(z); }); });
    Row("CExp", n, "glibc", [](benchmark::State& s) { Glibc(s, [](const SC& z) { return std::exp(z); }); });
    Row("CLn", n, "ours", [](benchmark::State& s) { Ours(s, [](const TCplx& z) { return Ln(z); }); });
    Row("CLn", n, "glibc", [](benchmark::State& s) { Glibc(s, [](const SC& z) { return std::log(z); }); });
    Row("CSqrt", n, "ours", [](benchmark::State& s) { Ours(s, [](const TCplx& z) { return CSqrt(z); }); });
    Row("CSqrt", n, "glibc", [](benchmark::State& s) { Glibc(s, [](const SC& z) { return std::sqrt(z); }); });
    Row("CSin", n, "ours", [](benchmark::State& s) { Ours(s, [](const TCplx& z) { return Sin(z); }); });
    Row("CSin", n, "glibc", [](benchmark::State& s) { Glibc(s, [](const SC& z) { return std::sin(z); }); });
    Row("CArcSin", n, "ours", [](benchmark::State& s) { Ours(s, [](const TCplx& z) { return ArcSin(z); }); });
    Row("CArcSin", n, "glibc", [](benchmark::State& s) { Glibc(s, [](const SC& z) { return std::asin(z); }); });
    Row("CTan", n, "ours", [](benchmark::State& s) { Ours(s, [](const TCplx& z) { return Tan(z); }); });
    Row("CTan", n, "glibc", [](benchmark::State& s) { Glibc(s, [](const SC& z) { return std::tan(z); }); });
    // The gamma family: arguments in (0.05, 10) and the same values times 17 minus 30, reaching both sides of 0.
    Row("Gamma", n, "ours", [](benchmark::State& s) { Real(s, [](double x, double) { return Gamma(17 * x - 30); }); });
    Row("Gamma", n, "glibc",
        [](benchmark::State& s) { Real(s, [](double x, double) { return std::tgamma(17 * x - 30); }); });
    Row("LnGamma", n, "ours",
        [](benchmark::State& s) { Real(s, [](double x, double) { return LnGamma(17 * x - 30); }); });
    Row("LnGamma", n, "glibc",
        [](benchmark::State& s) { Real(s, [](double x, double) { return std::lgamma(17 * x - 30); }); });
    Row("SortCplx", n, "ours", SortOurs);
    Row("SortCplx", n, "keysort", SortKey);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

// Complex scalar arithmetic: the library's textbook formulas against std::complex on 10^6 pairs; numpy's rows
// (element-wise ufuncs into preallocated arrays) come from bench/peers/scalar.py.
#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kPairs = 1000000;

struct Data {
    std::vector<TCplx> a, b, r;
    std::vector<std::complex<double>> sa, sb, sr;
    std::vector<double> mag;
    Data() : a(kPairs), b(kPairs), r(kPairs), sa(kPairs), sb(kPairs), sr(kPairs), mag(kPairs)
    {
        std::mt19937_64 gen(7);
        std::uniform_real_distribution<double> u(-10, 10);
        for (int i = 0; i < kPairs; ++i) {
            a[i] = Cplx(u(gen), u(gen));
            b[i] = Cplx(u(gen), u(gen));
            sa[i] = {a[i].Re, a[i].Im};
            sb[i] = {b[i].Re, b[i].Im};
        }
    }
};

Data& D()
{
    static Data d;
    return d;
}

template <class Op>
void Ours(benchmark::State& st, Op op)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kPairs; ++i) d.r[i] = op(d.a[i], d.b[i]);
        benchmark::DoNotOptimize(d.r.data());
        benchmark::ClobberMemory();
    }
}

template <class Op>
void Std(benchmark::State& st, Op op)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kPairs; ++i) d.sr[i] = op(d.sa[i], d.sb[i]);
        benchmark::DoNotOptimize(d.sr.data());
        benchmark::ClobberMemory();
    }
}

// The moduli of the first operands into an array of Doubles, as numpy.abs(a, out=mag) writes them. abs gets the
// data with the index, so that the loop times the modulus and not a call of D() per element.
template <class Abs>
void Moduli(benchmark::State& st, Abs abs)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kPairs; ++i) d.mag[i] = abs(d, i);
        benchmark::DoNotOptimize(d.mag.data());
        benchmark::ClobberMemory();
    }
}

using SC = std::complex<double>;

// The floor of any modulus computed one call per element: a call that does nothing but one square root of the
// double sum of squares (CAbs's Doubles wherever the squares stay in range, without its range check), opaque to the
// caller as a library function is (noipa: the loop may not learn that it writes no memory, and keep the arrays'
// addresses in registers across the calls).
// The square-root unit takes several cycles per instruction whatever the width, so this side shows how near the
// scalar CAbs is to the machine's limit, while numpy's array kernel takes eight moduli per packed instruction.
[[gnu::noipa]] double RootOfSquares(const TCplx& a)
{
    return std::sqrt(a.Re * a.Re + a.Im * a.Im);
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("CAdd", kPairs, "ours",
        [](benchmark::State& s) { Ours(s, [](const TCplx& x, const TCplx& y) { return CAdd(x, y); }); });
    Row("CAdd", kPairs, "std::complex",
        [](benchmark::State& s) { Std(s, [](const SC& x, const SC& y) { return x + y; }); });
    Row("CMul", kPairs, "ours",
        [](benchmark::State& s) { Ours(s, [](const TCplx& x, const TCplx& y) { return CMul(x, y); }); });
    Row("CMul", kPairs, "std::complex",
        [](benchmark::State& s) { Std(s, [](const SC& x, const SC& y) { return x * y; }); });
    Row("CDiv", kPairs, "ours",
        [](benchmark::State& s) { Ours(s, [](const TCplx& x, const TCplx& y) { return CDiv(x, y); }); });
    Row("CDiv", kPairs, "std::complex",
        [](benchmark::State& s) { Std(s, [](const SC& x, const SC& y) { return x / y; }); });
    Row("CAbs", kPairs, "ours", [](benchmark::State& s) { Moduli(s, [](const Data& d, int i) { return CAbs(d.a[i]); }); });
    Row("CAbs", kPairs, "std::complex",
        [](benchmark::State& s) { Moduli(s, [](const Data& d, int i) { return std::abs(d.sa[i]); }); });
    Row("CAbs", kPairs, "double sqrt call",
        [](benchmark::State& s) { Moduli(s, [](const Data& d, int i) { return RootOfSquares(d.a[i]); }); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

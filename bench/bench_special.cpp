// The special functions: Besj, Besk and Airy on 10^4 complex points against Arb's own double wrappers (the direct
// library call, side "arb") and scipy.special (bench/peers/special.py); EllipComplete and EllipJacoby on 10^6
// values against scipy's ellipk and ellipj. The points: |z| uniform in [0.5, 30], arg z uniform in (−π, π], the
// order 1.5; the same numbers from the same generator in the peer (numpy's PCG64 cannot be matched, so both sides
// draw from the same formula on a shared integer sequence). OPENBLAS_NUM_THREADS does not matter here.
#include <arb_fpwrap.h>

#include <cmath>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

constexpr int kPoints = 10000;
constexpr int kValues = 1000000;
constexpr double kNu = 1.5;

// x_k = frac(k·φ) for the golden ratio's fraction φ: a sequence the peer rebuilds exactly.
double Quasi(long long k, double phi) { return std::fmod(static_cast<double>(k) * phi, 1.0); }

struct Data {
    std::vector<TCplx> z, r;
    std::vector<double> m, u, sn, cn, dn, k;
    Data() : z(kPoints), r(kPoints), m(kValues), u(kValues), sn(kValues), cn(kValues), dn(kValues), k(kValues)
    {
        for (int i = 0; i < kPoints; ++i) {
            const double mod = 0.5 + 29.5 * Quasi(i, 0.6180339887498949);
            const double arg = PI * (2 * Quasi(i, 0.7548776662466927) - 1);
            z[i] = {mod * std::cos(arg), mod * std::sin(arg)};
        }
        for (int i = 0; i < kValues; ++i) {
            m[i] = Quasi(i, 0.6180339887498949);
            u[i] = 10 * Quasi(i, 0.7548776662466927) - 5;
        }
    }
};

Data& D()
{
    static Data d;
    return d;
}

template <class Op>
void Points(benchmark::State& st, Op op)
{
    Data& d = D();
    for (auto _ : st) {
        for (int i = 0; i < kPoints; ++i) d.r[i] = op(d.z[i]);
        benchmark::DoNotOptimize(d.r.data());
        benchmark::ClobberMemory();
    }
}

template <class Fn>
TCplx Arb(Fn fn, const TCplx& z)
{
    complex_double res, x{z.Re, z.Im};
    fn(&res, x);
    return {res.real, res.imag};
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    const complex_double nu{kNu, 0};
    Row("Besj", kPoints, "ours", [](benchmark::State& s) { Points(s, [](const TCplx& z) { return Besj(kNu, z); }); });
    Row("Besj", kPoints, "arb", [nu](benchmark::State& s) {
        Points(s, [nu](const TCplx& z) {
            return Arb([nu](complex_double* r, complex_double x) { arb_fpwrap_cdouble_bessel_j(r, nu, x, 0); }, z);
        });
    });
    Row("Besk", kPoints, "ours", [](benchmark::State& s) { Points(s, [](const TCplx& z) { return Besk(kNu, z); }); });
    Row("Besk", kPoints, "arb", [nu](benchmark::State& s) {
        Points(s, [nu](const TCplx& z) {
            return Arb([nu](complex_double* r, complex_double x) { arb_fpwrap_cdouble_bessel_k(r, nu, x, 0); }, z);
        });
    });
    Row("Airy", kPoints, "ours", [](benchmark::State& s) { Points(s, [](const TCplx& z) { return Airy(z); }); });
    Row("Airy", kPoints, "arb", [](benchmark::State& s) {
        Points(s, [](const TCplx& z) {
            return Arb([](complex_double* r, complex_double x) { arb_fpwrap_cdouble_airy_ai(r, x, 0); }, z);
        });
    });
    Row("EllipComplete", kValues, "ours", [](benchmark::State& s) {
        Data& d = D();
        for (auto _ : s) {
            for (int i = 0; i < kValues; ++i) d.k[i] = EllipComplete(d.m[i]);
            benchmark::DoNotOptimize(d.k.data());
            benchmark::ClobberMemory();
        }
    });
    Row("EllipJacoby", kValues, "ours", [](benchmark::State& s) {
        Data& d = D();
        for (auto _ : s) {
            for (int i = 0; i < kValues; ++i) EllipJacoby(d.u[i], d.m[i], MACHEP, d.sn[i], d.cn[i], d.dn[i]);
            benchmark::DoNotOptimize(d.sn.data());
            benchmark::ClobberMemory();
        }
    });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

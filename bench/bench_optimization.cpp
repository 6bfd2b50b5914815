// MinBrent on (x - 2)² over [0, 5] and Simplex on the extended Rosenbrock function from (-1.2, 1, -1.2, 1, ...)
// against scipy's minimize_scalar(method='bounded') and minimize(method='Nelder-Mead') with the same tolerance on
// the point (bench/peers/optimization.py, objectives written in numpy there); the numerical derivatives of the
// extended Rosenbrock function at n = 10 and 100 against the same evaluations in a hand-written loop ("direct
// loop") and against scipy.optimize.approx_fprime (forward differences, the n + 1 evaluations of
// NumericGradDifference). Each of our rows also reports the objective's evaluations per call ("evals"), which the
// minimisers' stopping rules decide; the peer's are in the peer's header. At n = 10 Simplex stops on a collapsed
// simplex (f about 10.46 after 16441 evaluations) where scipy's Nelder-Mead, with its own steps, reaches the
// minimum (18672 evaluations): that row compares two runs to their own stops. Nothing here calls OpenBLAS.
#include <cmath>
#include <span>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

// Counts the evaluations of the current row (one thread).
long long gEvaluations = 0;

double Square(std::span<const double> x, std::span<const double>, std::span<void* const>)
{
    ++gEvaluations;
    return (x[0] - 2) * (x[0] - 2);
}

// Σ over pairs of 100(x₁ - x₀²)² + (1 - x₀)².
double Rosenbrock(std::span<const double> x, std::span<const double>, std::span<void* const>)
{
    ++gEvaluations;
    double s = 0;
    for (std::size_t i = 0; i + 1 < x.size(); i += 2) {
        const double a = x[i + 1] - x[i] * x[i], b = 1 - x[i];
        s += 100 * a * a + b * b;
    }
    return s;
}

std::vector<double> RosenbrockStart(int n)
{
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = i % 2 == 0 ? -1.2 : 1.0;
    return x;
}

template <class Fn>
void Run(benchmark::State& st, Fn&& Call)
{
    Call();  // once before timing
    gEvaluations = 0;
    long long calls = 0;
    for (auto _ : st) {
        Call();
        ++calls;
        benchmark::ClobberMemory();
    }
    st.counters["evals"] = calls > 0 ? double(gEvaluations) / double(calls) : 0;
}

void OursBrent(benchmark::State& st)
{
    double x = 0;
    Run(st, [&] { benchmark::DoNotOptimize(MinBrent(0, 5, Square, {}, {}, x, 500, 1e-8, nullptr)); });
}

void OursSimplex(benchmark::State& st, int n)
{
    const std::vector<double> start = RosenbrockStart(n);
    std::vector<double> x;
    double fmin = 0;
    TOptStopReason reason = OptResNotFound;
    Run(st, [&] {
        x = start;
        benchmark::DoNotOptimize(Simplex(Rosenbrock, x, {}, {}, fmin, reason, 100000, 1e-8, nullptr));
    });
}

// The point 0.5, 0.6, ..., a little off the valley, so no difference cancels to zero.
std::vector<double> DerivPoint(int n)
{
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] = 0.5 + 0.1 * (i % 7);
    return x;
}

enum TDeriv { kRichardson, kDifference, kHess };

void OursDeriv(benchmark::State& st, TDeriv Which, int n)
{
    const std::vector<double> x = DerivPoint(n);
    TVec grad;
    grad.Size(n);
    TMtx hess;
    Run(st, [&] {
        switch (Which) {
            case kRichardson:
                NumericGradRichardson(Rosenbrock, x, {}, {}, grad);
                break;
            case kDifference:
                NumericGradDifference(Rosenbrock, x, {}, {}, grad);
                break;
            case kHess:
                NumericGradHess(Rosenbrock, x, {}, {}, grad, &hess);
                break;
        }
    });
}

// The same evaluations and formulas written out on a local copy of the point, with no checks and no pool.
void DirectDeriv(benchmark::State& st, TDeriv Which, int n)
{
    const std::vector<double> x0 = DerivPoint(n);
    std::vector<double> x, g(static_cast<std::size_t>(n)), h(g.size()), fp(g.size()), fm(g.size());
    std::vector<double> hess(g.size() * g.size());
    // Called through a pointer, as the routines call the objective they are given.
    TOptFunction fun = Rosenbrock;
    benchmark::DoNotOptimize(fun);
    const auto f = [&] { return fun(x, {}, {}); };
    Run(st, [&] {
        x = x0;
        if (Which == kRichardson) {
            for (std::size_t i = 0; i < x.size(); ++i) {
                const double xi = x[i], s = GradStepSize * (std::fabs(xi) + 1);
                double v[6];
                const double steps[6] = {s, -s, 2 * s, -2 * s, 4 * s, -4 * s};
                for (int k = 0; k < 6; ++k) {
                    x[i] = xi + steps[k];
                    v[k] = f();
                }
                x[i] = xi;
                const double d1 = (v[0] - v[1]) / (2 * s), d2 = (v[2] - v[3]) / (4 * s), d3 = (v[4] - v[5]) / (8 * s);
                g[i] = d1 + 0.4 * (d1 - d2) + ((d1 - d2) - (d2 - d3)) / 45;
            }
        } else if (Which == kDifference) {
            const double f0 = f();
            for (std::size_t i = 0; i < x.size(); ++i) {
                const double xi = x[i], s = (std::fabs(xi) + 1) * 1.4901161194E-8;
                x[i] = xi + s;
                g[i] = (f() - f0) / s;
                x[i] = xi;
            }
        } else {
            const std::size_t m = x.size();
            const double f0 = f();
            for (std::size_t i = 0; i < m; ++i) {
                const double xi = x[i];
                h[i] = (std::fabs(xi) + 1) * GradStepSize;
                x[i] = xi - h[i];
                fm[i] = f();
                x[i] = xi + h[i];
                fp[i] = f();
                x[i] = xi;
                g[i] = (fp[i] - fm[i]) * 0.5 * (1 / h[i]);
                hess[i * m + i] = (fp[i] + fm[i] - 2 * f0) * (1 / (h[i] * h[i]));
            }
            for (std::size_t i = 0; i < m; ++i) {
                const double xi = x[i];
                x[i] = xi + h[i];
                for (std::size_t j = i + 1; j < m; ++j) {
                    const double xj = x[j];
                    x[j] = xj + h[j];
                    const double fij = f();
                    x[j] = xj;
                    hess[i * m + j] = hess[j * m + i] = (fij - fp[i] - fp[j] + f0) * (1 / (h[i] * h[j]));
                }
                x[i] = xi;
            }
        }
        benchmark::DoNotOptimize(g.data());
        benchmark::DoNotOptimize(hess.data());
    });
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("MinBrent (x-2)^2", 1, "ours", [](benchmark::State& s) { OursBrent(s); });
    for (int n : {2, 10}) Row("Simplex Rosenbrock", n, "ours", [n](benchmark::State& s) { OursSimplex(s, n); });
    const struct {
        const char* Name;
        TDeriv Which;
    } derivs[] = {
        {"NumericGradRichardson", kRichardson}, {"NumericGradDifference", kDifference}, {"NumericGradHess", kHess}};
    for (const auto& d : derivs)
        for (int n : {10, 100}) {
            const TDeriv which = d.Which;
            Row(d.Name, n, "ours", [which, n](benchmark::State& s) { OursDeriv(s, which, n); });
            Row(d.Name, n, "direct loop", [which, n](benchmark::State& s) { DirectDeriv(s, which, n); });
        }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

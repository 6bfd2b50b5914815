// MinBrent on (x - 2)² over [0, 5] and Simplex on the extended Rosenbrock function from (-1.2, 1, -1.2, 1, ...)
// against scipy's minimize_scalar(method='bounded') and minimize(method='Nelder-Mead') with the same tolerance on
// the point (bench/peers/optimization.py, objectives written in numpy there); the numerical derivatives of the
// extended Rosenbrock function at n = 10 and 100 against the same evaluations in a hand-written loop ("direct
// loop") and against scipy.optimize.approx_fprime (forward differences, the n + 1 evaluations of
// NumericGradDifference). Each row also reports the objective's evaluations per call ("evals"), which the
// minimisers' stopping rules decide, and so do the peers: the table gives both with the time per evaluation, which
// splits a row's ratio into how many evaluations each side makes and what each costs. At n = 10 Simplex stops on a collapsed
// simplex (f about 10.46 after 16441 evaluations) where scipy's Nelder-Mead, with its own steps, reaches the
// minimum (18672 evaluations): that row compares two runs to their own stops.
// The gradient methods on the same extended Rosenbrock function from (-1.2, 1, ...) at n = 2, 10 and 50 with the
// analytic gradient, soft line search, Tol 1e-8 and GradTol 1e-5 (scipy's default gtol): BFGS and DFP against
// scipy's minimize(method='BFGS', jac=...), both ConjGrad forms against minimize(method='CG', jac=...). "evals"
// counts objective and gradient calls together (a trial makes one of each). Marquardt fits a·e^(b·t) to 100 exact
// points (a = 2.5, b = -1.3, t = 0, 0.02, ..., 1.98) from (1, 0) with the Gauss-Newton Hessian 2·JᵀJ, Tol 1e-8,
// against least_squares(method='lm') on the residuals with their Jacobian. The BFGS update calls DSYR2/DSYR and the
// product DSYMV on OpenBLAS, one thread as scripts/bench sets it; everything else here calls no BLAS.
// The "strict" rows run DFP and both ConjGrad forms with the strict line search (both constants 1E-4) against the
// same peers; from this start they reach the minimum in 400 to 2000 evaluations (DFP at n = 50: 20000).
// Two soft rows time no complete solve, and their names say so ("unsolved"): from this start the soft search leaves
// DFP short of the minimum when the 100000 passes run out (at n = 2 about 0.017 from it, further at n = 10 and 50),
// and Polak-Ribière ends on a step below the bound (f about 1e-7 to 1e-6, 4e-4 to 8e-4 from the minimum, where the
// peer comes within 2e-5), at 50 to 2600 times scipy's evaluations. "DFP Rosenbrock from 0" times DFP with the soft
// search from (0, 0, ...), where it reaches the minimum (as the tests run it), against scipy's BFGS from the same point.
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

// The gradient of Rosenbrock, pair by pair.
void RosenbrockGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    ++gEvaluations;
    double* const v = g.Values();
    for (std::size_t i = 0; i + 1 < x.size(); i += 2) {
        const double a = x[i + 1] - x[i] * x[i];
        v[i] = -400 * x[i] * a - 2 * (1 - x[i]);
        v[i + 1] = 200 * a;
    }
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

enum TGradMethod { kBFGS, kDFP, kConjGradFR, kConjGradPR };

void OursGradient(benchmark::State& st, TGradMethod Which, int n, bool Soft, bool FromZero)
{
    const std::vector<double> start = FromZero ? std::vector<double>(static_cast<std::size_t>(n)) : RosenbrockStart(n);
    std::vector<double> x;
    double fmin = 0;
    TOptStopReason reason = OptResNotFound;
    TMtx hess;
    Run(st, [&] {
        x = start;
        if (Which == kBFGS || Which == kDFP) {
            BFGS(Rosenbrock, RosenbrockGrad, x, {}, {}, fmin, &hess, reason, Which == kDFP, Soft, 100000, 1e-8, 1e-5,
                 nullptr);
        } else {
            ConjGrad(Rosenbrock, RosenbrockGrad, x, {}, {}, fmin, reason, Which == kConjGradFR, Soft, 100000, 1e-8,
                     1e-5, nullptr);
        }
        benchmark::DoNotOptimize(x.data());
    });
}

// Σ (a·e^(b·t_i) - y_i)², Consts = t then y.
double ExpFit(std::span<const double> p, std::span<const double> c, std::span<void* const>)
{
    ++gEvaluations;
    const std::size_t m = c.size() / 2;
    double f = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double r = p[0] * std::exp(p[1] * c[i]) - c[m + i];
        f += r * r;
    }
    return f;
}

// The gradient 2·Jᵀr and the Gauss-Newton Hessian 2·JᵀJ.
void ExpFitHess(TOptFunction, std::span<const double> p, std::span<const double> c, std::span<void* const>, TVec& g,
                TMtx* h)
{
    ++gEvaluations;
    const std::size_t m = c.size() / 2;
    double g0 = 0, g1 = 0, h00 = 0, h01 = 0, h11 = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double e = std::exp(p[1] * c[i]), r = p[0] * e - c[m + i];
        const double j1 = p[0] * c[i] * e;
        g0 += 2 * e * r;
        g1 += 2 * j1 * r;
        h00 += 2 * e * e;
        h01 += 2 * e * j1;
        h11 += 2 * j1 * j1;
    }
    g.Values()[0] = g0;
    g.Values()[1] = g1;
    double* const v = h->Values();
    v[0] = h00;
    v[1] = v[2] = h01;
    v[3] = h11;
}

void OursMarquardt(benchmark::State& st, int m)
{
    std::vector<double> consts(2 * static_cast<std::size_t>(m));
    for (int i = 0; i < m; ++i) {
        consts[static_cast<std::size_t>(i)] = 0.02 * i;
        consts[static_cast<std::size_t>(m + i)] = 2.5 * std::exp(-1.3 * (0.02 * i));
    }
    std::vector<double> p;
    double fmin = 0;
    TOptStopReason reason = OptResNotFound;
    TMtx cov;
    Run(st, [&] {
        p = {1, 0};
        Marquardt(ExpFit, ExpFitHess, p, consts, {}, fmin, &cov, reason, 1000, 1e-8, 1e-12, 1e-5, nullptr);
        benchmark::DoNotOptimize(p.data());
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
    const struct {
        const char* Name;
        TGradMethod Which;
        bool Soft, FromZero;
    } gradients[] = {{"BFGS Rosenbrock", kBFGS, true, false},
                     {"DFP Rosenbrock unsolved", kDFP, true, false},
                     {"DFP Rosenbrock from 0", kDFP, true, true},
                     {"ConjGrad FR Rosenbrock", kConjGradFR, true, false},
                     {"ConjGrad PR Rosenbrock unsolved", kConjGradPR, true, false},
                     {"DFP strict Rosenbrock", kDFP, false, false},
                     {"ConjGrad FR strict Rosenbrock", kConjGradFR, false, false},
                     {"ConjGrad PR strict Rosenbrock", kConjGradPR, false, false}};
    for (const auto& m : gradients)
        for (int n : {2, 10, 50}) {
            const TGradMethod which = m.Which;
            const bool soft = m.Soft, fromZero = m.FromZero;
            Row(m.Name, n, "ours", [=](benchmark::State& s) { OursGradient(s, which, n, soft, fromZero); });
        }
    Row("Marquardt exp fit", 100, "ours", [](benchmark::State& s) { OursMarquardt(s, 100); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

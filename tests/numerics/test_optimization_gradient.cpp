// BFGS, DFP, ConjGrad and Marquardt against numpy and scipy (tests/data/gen_optimization_golden.py), the points the
// line search tries (seen by a spy objective), the stops, the logs, the refusals of derivative procedures that
// resize their outputs, and raising objectives.
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "OptimizationTest.h"
#include "core/BlasCalls.h"
#include "TestSupport.h"
#include "numerics/OptimizationLog.h"
#include "numerics/OptimizationWork.h"

using namespace tarnel;
using namespace testsupport;
using namespace opttest;

namespace {

class GradientOptimization : public PoolCheck {};

// ---- Objectives and their derivatives -------------------------------------------------------------------------------
// Each objective records its points in the spy of OConsts[0] when one is given.

// 1/2 x'Ax - b'x with Consts = A row by row, then b; n = Pars.size().
double Quadratic(std::span<const double> x, std::span<const double> c, std::span<void* const> o)
{
    Record(x, o);
    const std::size_t n = x.size();
    double f = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double ax = 0;
        for (std::size_t j = 0; j < n; ++j) ax += c[i * n + j] * x[j];
        f += 0.5 * x[i] * ax - c[n * n + i] * x[i];
    }
    return f;
}
void QuadraticGrad(TOptFunction, std::span<const double> x, std::span<const double> c, std::span<void* const>, TVec& g)
{
    const std::size_t n = x.size();
    for (std::size_t i = 0; i < n; ++i) {
        double ax = 0;
        for (std::size_t j = 0; j < n; ++j) ax += c[i * n + j] * x[j];
        g.Values()[i] = ax - c[n * n + i];
    }
}

double Rosenbrock(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return 100 * (x[1] - x[0] * x[0]) * (x[1] - x[0] * x[0]) + (1 - x[0]) * (1 - x[0]);
}
void RosenbrockGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Values()[0] = -400 * x[0] * (x[1] - x[0] * x[0]) - 2 * (1 - x[0]);
    g.Values()[1] = 200 * (x[1] - x[0] * x[0]);
}
void RosenbrockHess(TOptFunction f, std::span<const double> x, std::span<const double> c, std::span<void* const> o,
                    TVec& g, TMtx* h)
{
    RosenbrockGrad(f, x, c, o, g);
    double* const v = h->Values();
    v[0] = 1200 * x[0] * x[0] - 400 * x[1] + 2;
    v[1] = v[2] = -400 * x[0];
    v[3] = 200;
}

// Σ (a·e^(b·t_i) - y_i)² with Consts = t, then y (equal lengths); Pars = (a, b).
double ExpFit(std::span<const double> p, std::span<const double> c, std::span<void* const> o)
{
    Record(p, o);
    const std::size_t m = c.size() / 2;
    double f = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double r = p[0] * std::exp(p[1] * c[i]) - c[m + i];
        f += r * r;
    }
    return f;
}
// The gradient 2·Jᵀr and the Gauss-Newton Hessian 2·JᵀJ. A spy in OConsts[1], when there is one, keeps the last
// Hessian given out.
void ExpFitHess(TOptFunction, std::span<const double> p, std::span<const double> c, std::span<void* const> o, TVec& g,
                TMtx* h)
{
    const std::size_t m = c.size() / 2;
    double g0 = 0, g1 = 0, h00 = 0, h01 = 0, h11 = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double e = std::exp(p[1] * c[i]), r = p[0] * e - c[m + i];
        const double j0 = e, j1 = p[0] * c[i] * e;
        g0 += 2 * j0 * r;
        g1 += 2 * j1 * r;
        h00 += 2 * j0 * j0;
        h01 += 2 * j0 * j1;
        h11 += 2 * j1 * j1;
    }
    g.Values()[0] = g0;
    g.Values()[1] = g1;
    double* const v = h->Values();
    v[0] = h00;
    v[1] = v[2] = h01;
    v[3] = h11;
    if (o.size() > 1 && o[1]) static_cast<TSpy*>(o[1])->Points.push_back({h00, h01, h01, h11});
}

// f = -x, slope -1 everywhere.
double Descent(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return -x[0];
}
void DescentGrad(TOptFunction, std::span<const double>, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Values()[0] = -1;
}

// (x - 0.3)².
double Parabola(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return (x[0] - 0.3) * (x[0] - 0.3);
}
void ParabolaGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Values()[0] = 2 * (x[0] - 0.3);
}

// Σ x², with the gradient of the wrong sign: every direction the minimisers take goes uphill.
double Bowl(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    double f = 0;
    for (double v : x) f += v * v;
    return f;
}
void BowlGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    for (std::size_t i = 0; i < x.size(); ++i) g.Values()[i] = 2 * x[i];
}
void AscentGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    for (std::size_t i = 0; i < x.size(); ++i) g.Values()[i] = -2 * x[i];
}
// The Hessian 2·I with the gradient of the wrong sign.
void AscentHess(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g,
                TMtx* h)
{
    for (std::size_t i = 0; i < x.size(); ++i) g.Values()[i] = -2 * x[i];
    h->Eye(static_cast<int>(x.size()), static_cast<int>(x.size()));
    h->Scale(2);
}
// The indefinite Hessian [[1, 2], [2, 1]].
void IndefiniteHess(TOptFunction, std::span<const double>, std::span<const double>, std::span<void* const>, TVec& g,
                    TMtx* h)
{
    g.Values()[0] = 1;
    g.Values()[1] = 1;
    double* const v = h->Values();
    v[0] = v[3] = 1;
    v[1] = v[2] = 2;
}
double NotANumber(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return NAN;
}
void UnitHess(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g,
              TMtx* h)
{
    g.SetVal(1);
    h->Eye(static_cast<int>(x.size()), static_cast<int>(x.size()));
}

// -x up to 0.24, then rising with slope 10: a soft search from 0 stops past the kink, where the gradient has turned.
double Kink(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return x[0] < 0.24 ? -x[0] : -0.24 + 10 * (x[0] - 0.24);
}
void KinkGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Values()[0] = x[0] < 0.24 ? -1 : 10;
}

// ---- Golden rows ---------------------------------------------------------------------------------------------------
struct QuadraticCase {
    const char* What;
    int N;
    std::vector<double> A, B, Solution, Inverse;
};
const QuadraticCase kQuadratic[] = {
#include "optimization_quadratic_golden.inc"
};

struct RosenbrockRow {
    const char* Method;
    std::vector<double> Minimum;
};
const RosenbrockRow kRosenbrock[] = {
#include "optimization_rosenbrock_golden.inc"
};

struct FitRow {
    std::vector<double> T, Y, Start, Scipy, Inverse;
};
const FitRow kFit[] = {
#include "optimization_fit_golden.inc"
};

// ---- The gradient methods behind one signature ----------------------------------------------------------------------
enum TMethod { kBFGS, kDFP, kFR, kPR };
const char* Name(TMethod M)
{
    return M == kBFGS ? "BFGS" : M == kDFP ? "DFP" : M == kFR ? "ConjGrad FR" : "ConjGrad PR";
}

struct TRun {
    std::vector<double> X;
    double FMin = NAN;
    TOptStopReason Reason = OptResNotFound;
    int Iter = -1;
};

TRun RunGradient(TMethod M, bool Soft, TOptFunction Fun, TOptGradProc Grad, std::vector<double> Start,
                 std::span<const double> Consts = {}, std::span<void* const> O = {}, TMtx* InvHess = nullptr,
                 int MaxIter = 10000, double Tol = 1e-12, double GradTol = 1e-12, TStrings* Log = nullptr)
{
    TRun r;
    r.X = std::move(Start);
    if (M == kBFGS || M == kDFP) {
        r.Iter =
            BFGS(Fun, Grad, r.X, Consts, O, r.FMin, InvHess, r.Reason, M == kDFP, Soft, MaxIter, Tol, GradTol, Log);
    } else {
        r.Iter = ConjGrad(Fun, Grad, r.X, Consts, O, r.FMin, r.Reason, M == kFR, Soft, MaxIter, Tol, GradTol, Log);
    }
    return r;
}

std::vector<double> QuadraticConsts(const QuadraticCase& c)
{
    std::vector<double> v = c.A;
    v.insert(v.end(), c.B.begin(), c.B.end());
    return v;
}

void ExpectSymmetric(const TMtx& M, const std::string& What)
{
    const int n = M.Rows();
    ASSERT_EQ(M.Cols(), n) << What;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) ASSERT_EQ(M.Values()[i * n + j], M.Values()[j * n + i]) << What << " " << i << j;
}

// ---- Against numpy and scipy ----------------------------------------------------------------------------------------

TEST_F(GradientOptimization, QuadraticsEndAtTheSolutionWithTheInverseHessian)
{
    struct Case {
        TMethod Method;
        bool Soft;
    };
    const Case cases[] = {{kBFGS, false}, {kBFGS, true}, {kDFP, false}, {kDFP, true}, {kFR, false}, {kPR, false}};
    for (const QuadraticCase& q : kQuadratic) {
        const std::vector<double> consts = QuadraticConsts(q);
        for (const Case& c : cases) {
            const std::string what = std::string(q.What) + " " + Name(c.Method) + (c.Soft ? " soft" : " strict");
            TMtx h;
            TRun r =
                RunGradient(c.Method, c.Soft, Quadratic, QuadraticGrad, std::vector<double>(q.N, 0.0), consts, {}, &h);
            EXPECT_TRUE(r.Reason == OptResConverged || r.Reason == OptResSmallGrad || r.Reason == OptResSmallStep)
                << what << " " << int(r.Reason);
            for (int i = 0; i < q.N; ++i) EXPECT_NEAR(r.X[i], q.Solution[i], 1e-8) << what << " " << i;
            EXPECT_DOUBLE_EQ(r.FMin, Quadratic(r.X, consts, {})) << what;
            if (c.Method == kBFGS || c.Method == kDFP) {
                ExpectSymmetric(h, what);
                if (q.N == 2 && !c.Soft) {
                    for (int i = 0; i < 4; ++i) EXPECT_NEAR(h.Values()[i], q.Inverse[i], 1e-6) << what << " " << i;
                }
                // The estimate's own AutoMtxType changes nothing: its products stay symmetric (detection takes the
                // starting identity for a triangle, whose product has no factor -1 and points uphill).
                TMtx detected;
                detected.SetAutoMtxType(true);
                const TRun a = RunGradient(c.Method, c.Soft, Quadratic, QuadraticGrad, std::vector<double>(q.N, 0.0),
                                           consts, {}, &detected);
                EXPECT_EQ(a.X, r.X) << what << " AutoMtxType";
                EXPECT_EQ(a.Iter, r.Iter) << what << " AutoMtxType";
                ASSERT_EQ(detected.Rows(), q.N) << what << " AutoMtxType";
                EXPECT_EQ(std::vector<double>(detected.Values(), detected.Values() + q.N * q.N),
                          std::vector<double>(h.Values(), h.Values() + q.N * q.N))
                    << what << " AutoMtxType";
            }
        }
    }
}

TEST_F(GradientOptimization, RosenbrockReachesScipysMinimum)
{
    struct Case {
        TMethod Method;
        bool Soft;
        std::vector<double> Start;
        double Tolerance;
    };
    const std::vector<double> classic = {-1.2, 1};
    // DFP soft crawls along the valley from (-1.2, 1); from (0, 0) it arrives.
    const Case cases[] = {{kBFGS, false, classic, 1e-6}, {kBFGS, true, classic, 1e-5}, {kDFP, false, classic, 1e-6},
                          {kDFP, true, {0, 0}, 1e-5},    {kFR, false, classic, 1e-6},  {kFR, true, classic, 1e-5},
                          {kPR, false, classic, 1e-6},   {kPR, true, classic, 1e-5}};
    for (const Case& c : cases) {
        const std::string what = std::string(Name(c.Method)) + (c.Soft ? " soft" : " strict");
        TMtx h;
        const TRun r =
            RunGradient(c.Method, c.Soft, Rosenbrock, RosenbrockGrad, c.Start, {}, {}, &h, 100000, 1e-12, 1e-10);
        const RosenbrockRow& row = kRosenbrock[c.Method == kBFGS || c.Method == kDFP ? 0 : 1];
        EXPECT_NE(r.Reason, OptResMaxIter) << what;
        for (int i = 0; i < 2; ++i) EXPECT_NEAR(r.X[i], row.Minimum[i], c.Tolerance) << what << " " << i;
        if (c.Method == kBFGS || c.Method == kDFP) ExpectSymmetric(h, what);
    }
    // Marquardt with the analytic Hessian.
    std::vector<double> x = classic;
    double fmin = NAN;
    TOptStopReason reason = OptResNotFound;
    void* const none[] = {nullptr};  // no spy
    Marquardt(Rosenbrock, RosenbrockHess, x, {}, none, fmin, nullptr, reason, 10000, 1e-12, 1e-12, 1e-5, nullptr);
    EXPECT_NE(reason, OptResSingular);
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(x[i], kRosenbrock[0].Minimum[i], 1e-6) << "Marquardt " << i;
    EXPECT_EQ(fmin, Rosenbrock(x, {}, {}));
}

TEST_F(GradientOptimization, MarquardtWithTheNumericalHessianDependsOnItsStep)
{
    // At the default step the mixed difference's O(h) error makes the Hessian indefinite in the valley: the
    // Cholesky factorisation fails near (0.995, 0.990), short of the minimum. A step of 1e-4, read at the call,
    // reaches it.
    struct Case {
        double Step;
        TOptStopReason Reason;
        std::vector<double> End;
        double Tolerance;
    };
    const Case cases[] = {{kDefaultGradStepSize, OptResSingular, {0.995, 0.990}, 1e-3},
                          {1e-4, OptResNotFound, kRosenbrock[0].Minimum, 1e-4}};
    for (const Case& c : cases) {
        GradStepSize = c.Step;
        std::vector<double> x = {-1.2, 1};
        double fmin = NAN;
        TOptStopReason reason = OptResNotFound;
        void* const none[] = {nullptr};  // no spy
        Marquardt(Rosenbrock, NumericGradHess, x, {}, none, fmin, nullptr, reason, 10000, 1e-10, 1e-12, 1e-5, nullptr);
        GradStepSize = kDefaultGradStepSize;
        if (c.Reason != OptResNotFound) {
            EXPECT_EQ(reason, c.Reason) << c.Step;
        } else {
            EXPECT_NE(reason, OptResSingular) << c.Step;
        }
        for (int i = 0; i < 2; ++i) EXPECT_NEAR(x[i], c.End[i], c.Tolerance) << c.Step << " " << i;
        EXPECT_EQ(fmin, Rosenbrock(x, {}, {}));
    }
}

TEST_F(GradientOptimization, MarquardtFitsAnExponentialWithItsCovariance)
{
    const FitRow& fit = kFit[0];
    std::vector<double> consts = fit.T;
    consts.insert(consts.end(), fit.Y.begin(), fit.Y.end());
    TSpy hessians;
    void* const o[] = {nullptr, &hessians};
    std::vector<double> p = fit.Start;
    double fmin = NAN;
    TOptStopReason reason = OptResNotFound;
    TMtx cov;
    const int iter = Marquardt(ExpFit, ExpFitHess, p, consts, o, fmin, &cov, reason, 1000, 1e-10, 1e-14, 1e-5, nullptr);
    EXPECT_GT(iter, 2);
    EXPECT_NE(reason, OptResSingular);
    EXPECT_NE(reason, OptResMaxIter);
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(p[i], fit.Scipy[i], 1e-5) << i;
    // VarCovar is the inverse of the last damped matrix HS + λ·diag(HS): its inverse has HS's off-diagonal and one
    // factor 1 + λ on the diagonal, λ the start's λ times a power of 10.
    ASSERT_FALSE(hessians.Points.empty());
    const std::vector<double>& hs = hessians.Points.back();
    ExpectSymmetric(cov, "VarCovar");
    TMtx damped;
    damped.Copy(cov);
    damped.Inv(mtGeneral);
    const double* a = damped.Values();
    EXPECT_NEAR(a[1] / hs[1], 1, 1e-9);
    const double f0 = a[0] / hs[0], f3 = a[3] / hs[3];
    EXPECT_NEAR(f0 / f3, 1, 1e-9);
    const double decades = std::log10((f0 - 1) / 1e-5);
    EXPECT_NEAR(decades, std::round(decades), 1e-3);
    // As λ vanishes at the end, that is numpy's inverse of 2·JᵀJ at the fitted point.
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(cov.Values()[i] / fit.Inverse[i], 1, 1e-4) << i;
}

// ---- The line search, seen by the spy -------------------------------------------------------------------------------

TEST_F(GradientOptimization, LineSearchExpandsToTheLimitAndDoublesTheStep)
{
    // On -x every trial is accepted: 1, 2, 4, 8, 16 and then 32 (2.5·16 passes 32); the step limit doubles, so the
    // next pass goes 32 + 2·(1, 2, 4, 8, 16, 32). MaxIter 2: the third pass ends the run at 96 + 4·32.
    for (bool soft : {true, false}) {
        TSpy spy;
        void* const o[] = {&spy};
        TMtx h;
        const TRun r = RunGradient(kBFGS, soft, Descent, DescentGrad, {0}, {}, o, &h, 2, 1e-8, 1e-8);
        EXPECT_EQ(r.Iter, 3) << soft;
        EXPECT_EQ(r.Reason, OptResMaxIter) << soft;
        EXPECT_EQ(r.X, std::vector<double>{224}) << soft;
        EXPECT_EQ(r.FMin, -224) << soft;
        const std::vector<std::vector<double>> want = {{0},  {1},  {2},  {4},  {8},  {16}, {32},
                                                       {34}, {36}, {40}, {48}, {64}, {96}};
        ASSERT_GE(spy.Points.size(), want.size()) << soft;
        EXPECT_EQ(std::vector<std::vector<double>>(spy.Points.begin(), spy.Points.begin() + 13), want) << soft;
        // y = 0: the estimate is never updated.
        EXPECT_EQ(h.Values()[0], 1) << soft;
    }
}

TEST_F(GradientOptimization, LineSearchDirectCalls)
{
    // A failing first trial brackets from the start: the parabola through f(0) with the slope φ'(0) = -0.6 and
    // through f(1) has its minimum at 0.3, which is the next trial in both modes.
    for (bool soft : {true, false}) {
        TSpy spy;
        void* const o[] = {&spy};
        const std::vector<double> x0 = {0};
        TVec d, g;
        d.SetIt(false, {1});
        g.SetIt(false, {-0.6});
        double f = 0.09, alpha = -1;
        detail::OptLineSearch(Parabola, ParabolaGrad, x0, {}, o, d, g, f, 20, 32, soft ? 0.99 : 1e-4,
                              soft ? 0.01 : 1e-4, soft, alpha);
        ASSERT_GE(spy.Points.size(), 2u) << soft;
        EXPECT_EQ(spy.Points[0], std::vector<double>{1}) << soft;
        EXPECT_NEAR(spy.Points[1][0], 0.3, 1e-15) << soft;
        EXPECT_NEAR(alpha, 0.3, 1e-4) << soft;
        EXPECT_EQ(f, Parabola(std::vector<double>{alpha}, {}, {})) << soft;
        EXPECT_EQ(g[0], 2 * (alpha - 0.3)) << soft;
    }
    // An ascent direction: Alpha 0, nothing evaluated, F and G untouched.
    TSpy spy;
    void* const o[] = {&spy};
    TVec d, g;
    d.SetIt(false, {1});
    g.SetIt(false, {0.5});
    double f = 7, alpha = -1;
    detail::OptLineSearch(Parabola, ParabolaGrad, std::vector<double>{1}, {}, o, d, g, f, 20, 32, 0.99, 0.01, true,
                          alpha);
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(f, 7);
    EXPECT_EQ(g[0], 0.5);
    EXPECT_TRUE(spy.Points.empty());
    // The interpolation: midpoint when the curvature term is too small, else clamped to the inner 80 %.
    EXPECT_EQ(detail::OptLineSearchInterpolate(std::vector<double>{0, 1, -1, 2, -1, 0, 0, 0, 0}, 1), 1);
    EXPECT_EQ(detail::OptLineSearchInterpolate(std::vector<double>{0, 0, -100, 1, -99, 0, 0, 0, 0}, 1), 0.9);
    EXPECT_EQ(detail::OptLineSearchInterpolate(std::vector<double>{0, 0, -1e-6, 1, 1, 0, 0, 0, 0}, 1), 0.1);
}

// (x₀ - 0.3)² + 3·(x₁ + 0.2)², whose gradient differs from trial to trial.
double Valley(std::span<const double> x, std::span<const double>, std::span<void* const>)
{
    return (x[0] - 0.3) * (x[0] - 0.3) + 3 * (x[1] + 0.2) * (x[1] + 0.2);
}
void ValleyGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Values()[0] = 2 * (x[0] - 0.3);
    g.Values()[1] = 6 * (x[1] + 0.2);
}

TEST_F(GradientOptimization, LineSearchWithASpareHandsTheGradientsRound)
{
    // With a spare vector the accepted gradient stays where it was formed: Result points at it, holding what the
    // copying search leaves in G, with the same step, value and count; several accepted trials in a row, a
    // bracket after them (strict and soft), a search that accepts nothing and one on an ascent (Result is G,
    // untouched).
    const struct {
        const char* What;
        bool Soft;
        double C2, C1;
        std::vector<double> X0, D;
        int MaxEval;
    } cases[] = {{"soft, enlarging", true, 0.01, 0.01, {-10, -5}, {1, 0.25}, 20},
                 {"soft, one trial", true, 0.99, 0.01, {-10, -5}, {1, 0.25}, 20},
                 {"strict, bracket", false, 1e-4, 1e-4, {-10, -5}, {1, 0.25}, 20},
                 {"soft, bracket", true, 0.99, 0.01, {0.2, -0.2}, {1000, 0}, 20},
                 {"no trial accepted", true, 0.99, 0.01, {0.2, -0.2}, {1000, 0}, 0},
                 {"ascent", true, 0.99, 0.01, {1, 0.5}, {1, 0.25}, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const std::vector<double>& x0 = c.X0;
        TVec d, gCopy, gOwn, spare;
        d.SetIt(false, {c.D[0], c.D[1]});
        const double g0[] = {2 * (x0[0] - 0.3), 6 * (x0[1] + 0.2)}, f0 = Valley(x0, {}, {});
        gCopy.SetIt(false, {g0[0], g0[1]});
        gOwn.SetIt(false, {g0[0], g0[1]});
        double fCopy = f0, fOwn = f0, aCopy = -1, aOwn = -1;
        detail::TOptLineWork plain, handing;
        const int nCopy = detail::OptLineSearch(Valley, ValleyGrad, x0, {}, {}, d, gCopy, fCopy, c.MaxEval, 32, c.C2,
                                                c.C1, c.Soft, aCopy, plain);
        EXPECT_EQ(plain.Result, &gCopy);
        handing.Spare = &spare;
        const int nOwn = detail::OptLineSearch(Valley, ValleyGrad, x0, {}, {}, d, gOwn, fOwn, c.MaxEval, 32, c.C2,
                                               c.C1, c.Soft, aOwn, handing);
        EXPECT_EQ(nOwn, nCopy);
        EXPECT_EQ(aOwn, aCopy);
        EXPECT_EQ(fOwn, fCopy);
        ASSERT_TRUE(handing.Result == &gOwn || handing.Result == &spare);
        ASSERT_EQ(handing.Result->Length(), 2);
        EXPECT_EQ((*handing.Result)[0], gCopy[0]);
        EXPECT_EQ((*handing.Result)[1], gCopy[1]);
        if (aCopy == 0) {
            EXPECT_EQ(handing.Result, &gOwn);
            EXPECT_EQ(gOwn[0], g0[0]);
            EXPECT_EQ(gOwn[1], g0[1]);
        }
    }
}

TEST_F(GradientOptimization, ConjGradFirstTrialAndRestart)
{
    // The first trial is X - G/(32·‖G‖): a step of length 1/32 down the gradient.
    {
        TSpy spy;
        void* const o[] = {&spy};
        RunGradient(kFR, false, Rosenbrock, RosenbrockGrad, {-1.2, 1}, {}, o, nullptr, 0);
        TVec g;
        g.Size(2);
        RosenbrockGrad(Rosenbrock, std::vector<double>{-1.2, 1}, {}, {}, g);
        const double gn = std::hypot(g[0], g[1]);
        ASSERT_GE(spy.Points.size(), 2u);
        EXPECT_NEAR(spy.Points[1][0], -1.2 - g[0] / (32 * gn), 1e-15);
        EXPECT_NEAR(spy.Points[1][1], 1 - g[1] / (32 * gn), 1e-15);
    }
    // On Kink the soft search stops at 0.25, past the kink, where G = 10 after -1: β·H - G (β = 100) points uphill,
    // so the second pass restarts with H = -G and a first trial of 0.25 - 0.9·0.25·(1/10)·10.
    for (TMethod m : {kFR, kPR}) {
        TSpy spy;
        void* const o[] = {&spy};
        RunGradient(m, true, Kink, KinkGrad, {0}, {}, o, nullptr, 1);
        const std::vector<std::vector<double>> firstPass = {{0}, {1.0 / 32}, {1.0 / 16}, {0.125}, {0.25}};
        ASSERT_GE(spy.Points.size(), 6u) << Name(m);
        EXPECT_EQ(std::vector<std::vector<double>>(spy.Points.begin(), spy.Points.begin() + 5), firstPass) << Name(m);
        const double t = 0.9 * (1.0 / 32 * 8) * 1 / 10;
        EXPECT_DOUBLE_EQ(spy.Points[5][0], 0.25 + t * -10) << Name(m);
    }
}

TEST_F(GradientOptimization, AnAscentGradientLeavesThePoint)
{
    // The gradient of the wrong sign: every soft trial fails the decrease test, no step is taken, and the unmoved
    // point is reported as converged.
    for (TMethod m : {kBFGS, kDFP, kFR, kPR}) {
        TRun r = RunGradient(m, true, Bowl, AscentGrad, {1, -2});
        EXPECT_EQ(r.Reason, OptResConverged) << Name(m);
        EXPECT_EQ(r.Iter, 1) << Name(m);
        EXPECT_EQ(r.X, (std::vector<double>{1, -2})) << Name(m);
        EXPECT_EQ(r.FMin, 5) << Name(m);
    }
}

// ---- Stops ----------------------------------------------------------------------------------------------------------

TEST_F(GradientOptimization, StationaryStartPoints)
{
    // A gradient within GradTol at the start: no pass, OptResSmallGrad, the point kept, InvHess the identity.
    for (TMethod m : {kBFGS, kDFP, kFR, kPR}) {
        TMtx h;
        h.Size(3, 3);
        h.SetVal(9);
        TStringList log;
        const TRun r = RunGradient(m, false, Bowl, BowlGrad, {0.25, 0}, {}, {}, &h, 100, 1e-8, 0.5, &log);
        EXPECT_EQ(r.Iter, 0) << Name(m);
        EXPECT_EQ(r.Reason, OptResSmallGrad) << Name(m);
        EXPECT_EQ(r.X, (std::vector<double>{0.25, 0})) << Name(m);
        EXPECT_EQ(r.FMin, 0.0625) << Name(m);
        EXPECT_EQ(log.Count(), 2) << Name(m);
        if (m == kBFGS || m == kDFP) {
            ASSERT_EQ(h.Rows(), 2);
            EXPECT_EQ(std::vector<double>(h.Values(), h.Values() + 4), (std::vector<double>{1, 0, 0, 1}));
        }
    }
    // An exactly zero gradient that a negative GradTol lets through: BFGS meets a zero direction, ConjGrad a zero
    // H (it would divide by its length): the point stays, nothing becomes NaN.
    const TOptStopReason reasons[] = {OptResZeroStep, OptResZeroStep, OptResSmallGrad, OptResSmallGrad};
    for (TMethod m : {kBFGS, kDFP, kFR, kPR}) {
        const TRun r = RunGradient(m, false, Bowl, BowlGrad, {0, 0}, {}, {}, nullptr, 100, 1e-8, -1);
        EXPECT_EQ(r.Reason, reasons[m]) << Name(m);
        EXPECT_EQ(r.X, (std::vector<double>{0, 0})) << Name(m);
        EXPECT_EQ(r.FMin, 0) << Name(m);
    }
}

// BowlGrad whose element At (OConsts[1], a TNaNAt) is NaN from the second call on.
struct TNaNAt {
    int At = 0, Calls = 0;
};
void NaNLaterGrad(TOptFunction f, std::span<const double> x, std::span<const double> c, std::span<void* const> o,
                  TVec& g)
{
    BowlGrad(f, x, c, o, g);
    TNaNAt& nan = *static_cast<TNaNAt*>(o[1]);
    if (++nan.Calls > 1) g.Values()[nan.At] = NAN;
}

// A NaN in the gradient makes its infinity norm NaN, which is not above GradTol: the pass ends OptResSmallGrad, in
// whichever element the NaN stands.
TEST_F(GradientOptimization, ANaNGradientEndsOnTheGradientTest)
{
    for (TMethod m : {kBFGS, kDFP, kFR, kPR}) {
        for (bool soft : {false, true}) {
            for (int at : {0, 2, 4}) {
                TNaNAt nan{at};
                void* const o[] = {nullptr, &nan};
                const TRun r = RunGradient(m, soft, Bowl, NaNLaterGrad, {1, -2, 0.5, 3, -1}, {}, o, nullptr, 100, 1e-8,
                                           1e-5);
                EXPECT_EQ(r.Reason, OptResSmallGrad) << Name(m) << (soft ? " soft" : " strict") << " at " << at;
                EXPECT_EQ(r.Iter, 1) << Name(m) << (soft ? " soft" : " strict") << " at " << at;
            }
        }
    }
}

struct MarquardtRun {
    std::vector<double> X;
    double FMin = NAN;
    TOptStopReason Reason = OptResNotFound;
    int Iter = -1;
};

MarquardtRun RunMarquardt(TOptFunction Fun, TOptHessProc Hess, std::vector<double> Start, double Lambda, TMtx* VarCovar,
                          std::span<void* const> O = {}, TStrings* Log = nullptr)
{
    MarquardtRun r;
    r.X = std::move(Start);
    void* const none[] = {nullptr};  // no spy: the objects Marquardt adds come after it
    if (O.empty()) O = none;
    r.Iter = Marquardt(Fun, Hess, r.X, {}, O, r.FMin, VarCovar, r.Reason, 100, 1e-8, 1e-10, Lambda, Log);
    return r;
}

TEST_F(GradientOptimization, MarquardtStops)
{
    // An indefinite Hessian: the first factorisation fails; one iteration, the start point and its value kept, the
    // caller's matrix untouched, nothing raised.
    {
        TMtx cov;
        cov.Size(1, 3);
        cov.SetVal(9);
        const MarquardtRun r = RunMarquardt(Bowl, IndefiniteHess, {1, 2}, 1e-5, &cov);
        EXPECT_EQ(r.Iter, 2);
        EXPECT_EQ(r.Reason, OptResSingular);
        EXPECT_EQ(r.X, (std::vector<double>{1, 2}));
        EXPECT_EQ(r.FMin, 5);
        EXPECT_EQ(cov.Rows(), 1);
        EXPECT_EQ(cov.Cols(), 3);
        EXPECT_EQ(cov.Values()[2], 9);
        // MaxIter 1: the limit's reason replaces OptResSingular, and the matrix that failed is still not inverted
        // into VarCovar.
        std::vector<double> x = {1, 2};
        double fmin = NAN;
        TOptStopReason reason = OptResNotFound;
        void* const none[] = {nullptr};
        EXPECT_EQ(Marquardt(Bowl, IndefiniteHess, x, {}, none, fmin, &cov, reason, 1, 1e-8, 1e-10, 1e-5, nullptr), 2);
        EXPECT_EQ(reason, OptResMaxIter);
        EXPECT_EQ(cov.Rows(), 1);
        EXPECT_EQ(cov.Values()[2], 9);
    }
    // Steps uphill: every trial fails, λ goes 1, 10, 100, 1000 and the fourth failure (10000) ends the run. The
    // point is the last trial's, FMin its value, VarCovar the inverse of the last damped matrix 2·(1 + 1000)·I.
    {
        TMtx cov;
        TStringList log;
        const MarquardtRun r = RunMarquardt(Bowl, AscentHess, {1, 2}, 1, &cov, {}, &log);
        EXPECT_EQ(r.Iter, 2);
        EXPECT_EQ(r.Reason, OptResBigLambda);
        EXPECT_EQ(r.FMin, Bowl(r.X, {}, {}));
        EXPECT_GT(r.FMin, 5);
        ASSERT_EQ(cov.Rows(), 2);
        EXPECT_NEAR(cov.Values()[0], 1 / 2002.0, 1e-18);
        EXPECT_EQ(cov.Values()[1], 0);
        EXPECT_NEAR(cov.Values()[3], 1 / 2002.0, 1e-18);
        // The λ column of the first line, then the iteration's end.
        EXPECT_EQ(Lines(log), (std::vector<std::string>{"Marquardt", "Iteration Fun                Lambda",
                                                        "0001      5.00000000  1.00000000",
                                                        "0002      " + FloatToStrF(r.FMin, ffFixed, 1, 8)}));
    }
    // λ = 0 and an objective that is always NaN: no trial succeeds and λ cannot grow; the run ends.
    {
        const MarquardtRun r = RunMarquardt(NotANumber, UnitHess, {1, 2}, 0, nullptr);
        EXPECT_EQ(r.Iter, 2);
        EXPECT_EQ(r.Reason, OptResBigLambda);
    }
}

// What Fun and HessProc see of the object array: the caller's entries first, then four more.
struct TSeen {
    std::vector<std::size_t> Sizes;
    bool OwnFirst = true;
};
TSeen* gSeen = nullptr;
int gMarker = 0;
double SeeingFun(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    gSeen->Sizes.push_back(o.size());
    gSeen->OwnFirst = gSeen->OwnFirst && o[0] == gSeen && o[1] == &gMarker;
    return (x[0] - 1) * (x[0] - 1);
}
void SeeingHess(TOptFunction, std::span<const double> x, std::span<const double> c, std::span<void* const> o, TVec& g,
                TMtx* h)
{
    SeeingFun(x, c, o);
    g.Values()[0] = 2 * (x[0] - 1);
    h->Values()[0] = 2;
}

TEST_F(GradientOptimization, MarquardtObjectArray)
{
    TSeen seen;
    gSeen = &seen;
    void* const o[] = {&seen, &gMarker};
    const MarquardtRun r = RunMarquardt(SeeingFun, SeeingHess, {3}, 1e-5, nullptr, o);
    gSeen = nullptr;
    EXPECT_NEAR(r.X[0], 1, 1e-6);
    ASSERT_FALSE(seen.Sizes.empty());
    for (std::size_t s : seen.Sizes) EXPECT_EQ(s, 6u);
    EXPECT_TRUE(seen.OwnFirst);
}

TEST_F(GradientOptimization, Logs)
{
    struct Case {
        TMethod Method;
        const char* Name;
    };
    // DFP logs as BFGS; the counter starts at 0001; ConjGrad logs after the step, BFGS before it.
    const Case cases[] = {{kBFGS, "BFGS"}, {kDFP, "BFGS"}, {kFR, "ConjGrad"}, {kPR, "ConjGrad"}};
    for (const Case& c : cases) {
        TStringList log;
        const TRun r =
            RunGradient(c.Method, false, Rosenbrock, RosenbrockGrad, {-1.2, 1}, {}, {}, nullptr, 3, 1e-4, 1e-8, &log);
        ASSERT_EQ(log.Count(), 2 + r.Iter) << c.Name;
        EXPECT_EQ(log.Strings(0), c.Name);
        EXPECT_EQ(log.Strings(1), "Iteration Fun");
        const bool before = c.Method == kBFGS || c.Method == kDFP;
        EXPECT_EQ(log.Strings(2).substr(0, 10), "0001      ") << c.Name;
        EXPECT_EQ(log.Strings(log.Count() - 1).substr(0, 4), FormatFloat("0000", r.Iter)) << c.Name;
        if (before) {
            EXPECT_EQ(log.Strings(2), "0001      24.2000") << c.Name;  // the start's value
        } else {
            EXPECT_EQ(log.Strings(log.Count() - 1).substr(10), FloatToStrF(r.FMin, ffFixed, 1, 4)) << c.Name;
        }
    }
}

// ---- Refusals and failures ------------------------------------------------------------------------------------------

void ShortGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Size(static_cast<int>(x.size()) - 1);
}
void ComplexGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g)
{
    g.Size(static_cast<int>(x.size()), true);
}
void ShortHessGrad(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g,
                   TMtx*)
{
    g.Size(static_cast<int>(x.size()) - 1);
}
void WideHess(TOptFunction, std::span<const double> x, std::span<const double>, std::span<void* const>, TVec& g,
              TMtx* h)
{
    g.SetVal(1);
    h->Size(static_cast<int>(x.size()) - 1, static_cast<int>(x.size()) + 1);
}

// Bowl that reshapes the TMtx at OConsts[1] on its third call (to 3 by 3, or complex when OConsts[2] is set).
double ReshapingBowl(std::span<const double> x, std::span<const double> c, std::span<void* const> o)
{
    static int calls = 0;
    if (x.empty()) {  // a call without parameters starts the count again
        calls = 0;
        return 0;
    }
    if (++calls == 3) static_cast<TMtx*>(o[1])->Size(o[2] ? 2 : 3, o[2] ? 2 : 3, o[2] != nullptr);
    return Bowl(x, c, o);
}

TEST_F(GradientOptimization, DerivativeProceduresThatResizeTheirOutputs)
{
    // An objective that reshapes the caller's InvHess between the products: refused before the matrix is read.
    for (TMethod m : {kBFGS, kDFP}) {
        for (bool complex : {false, true}) {
            TMtx h;
            int flag = 1;
            void* const o[] = {nullptr, &h, complex ? &flag : nullptr};
            ReshapingBowl({}, {}, o);
            ExpectRaise([&] { RunGradient(m, true, ReshapingBowl, BowlGrad, {1, 2}, {}, o, &h); },
                        "Hess size <> Length(Pars)", Name(m));
        }
    }
    for (TMethod m : {kBFGS, kFR}) {
        ExpectRaise([&] { RunGradient(m, true, Bowl, ShortGrad, {1, 2}); }, "Grad.Length <> Length(Pars)", Name(m));
        ExpectRaise([&] { RunGradient(m, true, Bowl, ComplexGrad, {1, 2}); }, "Grad.Complex = True", Name(m));
    }
    ExpectRaise([&] { RunMarquardt(Bowl, ShortHessGrad, {1, 2}, 1e-5, nullptr); }, "Grad.Length <> Length(Pars)");
    ExpectRaise([&] { RunMarquardt(Bowl, WideHess, {1, 2}, 1e-5, nullptr); }, "Hess size <> Length(Pars)");
    // The derivatives of the library fit, whatever the callers' vectors held before.
    std::vector<double> x = {-1.2, 1};
    double fmin = 0;
    TOptStopReason reason = OptResNotFound;
    BFGS(Rosenbrock, NumericGradRichardson, x, {}, {}, fmin, nullptr, reason, false, true, 10000, 1e-10, 1e-8, nullptr);
    EXPECT_NEAR(x[0], 1, 1e-4);
    EXPECT_NEAR(x[1], 1, 1e-4);
}

TEST_F(GradientOptimization, AnExceptionOfTheObjectivePassesThroughAndThePoolsStay)
{
    const std::vector<double> start = {-1.2, 1};
    for (TMethod m : {kBFGS, kDFP, kFR, kPR})
        for (bool soft : {true, false})
            ExpectFailurePassesThrough(Name(m), [&](std::span<void* const> o) {
                TMtx h;
                RunGradient(m, soft, Rosenbrock, RosenbrockGrad, start, {}, o, soft ? &h : nullptr);
            });
    ExpectFailurePassesThrough("Marquardt", [&](std::span<void* const> o) {
        TMtx cov;
        RunMarquardt(Rosenbrock, NumericGradHess, start, 1e-5, &cov, o);
    });
}

TEST_F(GradientOptimization, NoParameters)
{
    for (TMethod m : {kBFGS, kDFP, kFR, kPR}) {
        TMtx h;
        const TRun r = RunGradient(m, true, Bowl, BowlGrad, {}, {}, {}, &h);
        EXPECT_EQ(r.Iter, 0) << Name(m);
        EXPECT_EQ(r.Reason, OptResSmallGrad) << Name(m);
        EXPECT_EQ(r.FMin, 0) << Name(m);
        EXPECT_EQ(h.Rows(), 0) << Name(m);
    }
    TMtx cov;
    const MarquardtRun r = RunMarquardt(Bowl, AscentHess, {}, 1e-5, &cov);
    EXPECT_EQ(r.Iter, 2);
    EXPECT_EQ(r.FMin, 0);
    EXPECT_EQ(cov.Rows(), 0);
}


// The minimisers' norms, dot product and gradient test skip the vector methods' calls but must give their bits: every
// length around the summation's blocks, sums of squares that underflow or overflow (the scaled norm), NaN and
// infinities anywhere, signed zeros; the test "‖V‖∞ > Bound" at, just below and beyond the largest magnitude, also in
// its form for vectors known to hold no NaN.
TEST_F(GradientOptimization, WorkNormsAreThoseOfTheVectorMethods)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    std::mt19937 rng(7);
    std::normal_distribution<double> normal;
    const struct {
        const char* What;
        double Scale, Special;  // every element times Scale; Special (when not 0) at one position
    } kinds[] = {{"plain", 1, 0},           {"squares underflow", 1e-160, 0}, {"squares overflow", 1e160, 0},
                 {"one NaN", 1, nan},       {"one infinity", 1, -inf},        {"a huge one among small", 1e-3, 1e200},
                 {"negative zero", 0, -0.0}};
    for (const auto& k : kinds) {
        for (int n : {1, 2, 7, 8, 9, 15, 16, 17, 50, 127, 128, 129, 300}) {
            for (int at : {0, n / 2, n - 1}) {
                SCOPED_TRACE(std::string(k.What) + " n = " + std::to_string(n) + " at " + std::to_string(at));
                TVec u, v;
                u.Size(n);
                v.Size(n);
                for (int i = 0; i < n; ++i) {
                    u.Values()[i] = k.Scale * normal(rng);
                    v.Values()[i] = normal(rng);
                }
                if (k.Special != 0 || std::signbit(k.Special)) u.Values()[at] = k.Special;
                EXPECT_TRUE(same(detail::OptNormL2(u.Values(), n), u.NormL2()));
                EXPECT_TRUE(same(detail::OptDot(u.Values(), v.Values(), n), u.DotProd(v)));
                EXPECT_TRUE(same(detail::OptDot(v.Values(), u.Values(), n), v.DotProd(u)));
                const double c = u.NormC();
                for (double bound : {0.0, -1.0, c, std::nextafter(c, 0.0), 2 * c, inf, -inf, nan}) {
                    EXPECT_EQ(detail::OptNormCAbove(u.Values(), n, bound), c > bound) << "bound " << bound;
                    if (!std::isnan(c)) {
                        EXPECT_EQ(detail::OptNormCAbove(u.Values(), n, bound, true), c > bound) << "bound " << bound;
                    }
                }
            }
        }
    }
    EXPECT_EQ(detail::OptNormL2(nullptr, 0), 0);
    EXPECT_EQ(detail::OptDot(nullptr, nullptr, 0), 0);
    for (bool noNaN : {false, true}) {
        EXPECT_TRUE(detail::OptNormCAbove(nullptr, 0, -1, noNaN));
        EXPECT_FALSE(detail::OptNormCAbove(nullptr, 0, 0, noNaN));
    }
}

// The element-wise passes of the minimisers (whole registers and a masked last one where the processor has them)
// against the plain loops, and the direction's pass against the passes it joins, bit for bit: every length around the register of eight, arrays one element off their
// alignment, in place, with NaN, infinities and signed zeros among the values; the step X := X + A·D against the
// vector method it stands for.
TEST_F(GradientOptimization, WorkPassesAreThoseOfTheElementLoops)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    std::mt19937 rng(11);
    std::normal_distribution<double> normal;
    for (int n : {0, 1, 7, 8, 9, 15, 16, 17, 50, 127, 128, 129, 300}) {
        for (int off : {0, 1}) {
            SCOPED_TRACE("n = " + std::to_string(n) + " offset " + std::to_string(off));
            std::vector<double> xs(n + off + 1), ys(xs.size()), out(xs.size(), 7.0), want(xs.size(), 7.0);
            for (std::size_t i = 0; i < xs.size(); ++i) {
                xs[i] = normal(rng);
                ys[i] = normal(rng);
            }
            if (n > 2) {
                xs[off] = nan;
                ys[off + 1] = -inf;
                xs[off + n - 1] = -0.0;
                ys[off + n - 1] = 0.0;
            }
            const double* x = xs.data() + off;
            const double* y = ys.data() + off;
            double* o = out.data() + off;
            double* w = want.data() + off;
            const auto check = [&](const char* What) {
                for (std::size_t i = 0; i < out.size(); ++i) EXPECT_TRUE(same(out[i], want[i])) << What << " at " << i;
            };
            for (double s : {0.75, -0.0, -3.0}) {
                detail::OptCopy(n, x, o);
                std::copy(x, x + n, w);
                check("copy");
                std::fill(out.begin(), out.end(), 7.0);
                EXPECT_TRUE(same(detail::OptCopyNormL2(n, x, o), detail::OptNormL2(x, n)));
                check("copy with the norm");
                detail::OptMulSub(n, x, s, y, o);
                for (int i = 0; i < n; ++i) w[i] = x[i] * s - y[i];
                check("X·S - Y");
                detail::OptMul(n, x, s, o);
                for (int i = 0; i < n; ++i) w[i] = x[i] * s;
                check("X·S");
                detail::OptAddMul(n, y, s, x, o);
                for (int i = 0; i < n; ++i) w[i] = y[i] + s * x[i];
                check("Y + S·X");
                detail::OptMulSub(n, o, s, y, o);  // in place
                for (int i = 0; i < n; ++i) w[i] = w[i] * s - y[i];
                check("in place");
                // The direction's one pass against the update, the dot product and the norm apart.
                double squares = -1;
                const double dot = detail::OptDirection(n, s, y, o, squares);
                for (int i = 0; i < n; ++i) w[i] = w[i] * s - y[i];
                check("direction");
                const double want = detail::OptDot(y, w, n);  // (a NaN's sign may differ: it only fails a test)
                EXPECT_TRUE(same(dot, want) || (std::isnan(dot) && std::isnan(want))) << dot << " " << want;
                EXPECT_TRUE(same(detail::OptNormL2FromSum(squares, o, n), detail::OptNormL2(w, n)));
                // The trial's slope with the gradient's squares, and the scaled direction with its slope.
                const double slope = detail::OptDotSquares(x, y, n, squares);
                EXPECT_TRUE(same(slope, detail::OptDot(x, y, n)) || (std::isnan(slope) && n > 2));
                EXPECT_TRUE(same(detail::OptNormL2FromSum(squares, x, n), detail::OptNormL2(x, n)));
                const double scaled = detail::OptMulDot(n, x, s, o, y);
                for (int i = 0; i < n; ++i) w[i] = x[i] * s;
                check("X·S with its slope");
                EXPECT_TRUE(same(scaled, detail::OptDot(w, y, n)) || (std::isnan(scaled) && n > 2));
            }
            if (n == 0) continue;
            TVec dst, src;
            dst.Size(n);
            src.Size(n);
            std::copy(x, x + n, dst.Values());
            std::copy(y, y + n, src.Values());
            std::copy(x, x + n, o);
            detail::OptAxpy(n, 0.3, y, o);
            dst.Add(src, 0.3);
            for (int i = 0; i < n; ++i) EXPECT_TRUE(same(o[i], dst.Values()[i])) << "step at " << i;
        }
    }
}

// The estimate's product and update below kOptSmallSym rows run their own loops, written to give the BLAS routines'
// values: every size around the blocks of four and sixteen, both sides of the limit, arrays one element off their
// alignment, zeros in the vectors (the BLAS skips those columns, which keeps a -0 in H), zero factors, and NaN and
// infinities. The other triangle is left as it was. The bits are compared where the BLAS runs its AVX2 kernels (the
// kernels' order is theirs), on one thread (on more, the BLAS splits even a 2 by 2 product differently); elsewhere
// the values agree to rounding.
extern "C" char* openblas_get_corename(void);

TEST_F(GradientOptimization, EstimateProductAndUpdateAreThoseOfTheBlas)
{
    const blas::TSingleThread oneThread(true);
    const std::string core = openblas_get_corename();
    const bool exact = core == "Haswell" || core == "Zen";
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const auto same = [exact](const double* a, const double* b, int n) {
        for (int i = 0; i < n; ++i) {
            if (std::isnan(a[i]) && std::isnan(b[i])) continue;
            if (exact ? std::memcmp(a + i, b + i, sizeof(double)) != 0
                      : !(a[i] == b[i] || std::fabs(a[i] - b[i]) <= 1e-12 * (1 + std::fabs(b[i]))))
                return false;
        }
        return true;
    };
    std::mt19937 rng(11);
    std::normal_distribution<double> normal;
    const struct {
        const char* What;
        double A1, A2;
        double Special;  // put into U, V and H at a few places (NaN: none in the vectors, only in H)
    } kinds[] = {{"plain", 0.7, -1.3, 1},          {"zeros in the vectors", 2, -0.5, 0}, {"first factor 0", 0, -2, 1},
                 {"second factor 0", 3, 0, 1},     {"infinity", 1, -1, inf},          {"NaN in H", 0.5, -0.25, nan},
                 {"tiny factors", 1e-300, -1e-300, 1}};
    for (const auto& k : kinds) {
        for (int n : {1, 2, 3, 4, 5, 7, 8, 11, 12, 13, 15, 16, 17, 19, 31, 32, 33, 47, 48, 49, 50, 63, 64, 65, 98, 99,
                      100, 101}) {
            for (int off : {0, 1}) {
                SCOPED_TRACE(std::string(k.What) + " n = " + std::to_string(n) + " offset " + std::to_string(off));
                std::vector<double> ub(n + 1), vb(n + 1), hb(n * n + 1), yb(n + 1), yr(n + 1);
                double *const u = ub.data() + off, *const v = vb.data() + off, *const h = hb.data() + off;
                for (int i = 0; i < n; ++i) {
                    u[i] = normal(rng);
                    v[i] = normal(rng);
                }
                for (int i = 0; i < n * n; ++i) h[i] = i % 5 == 0 ? -0.0 : normal(rng);
                for (int at : {0, n / 2, n - 1}) {
                    if (!std::isnan(k.Special)) {
                        u[at] = k.Special == 1 ? u[at] : k.Special;
                        v[(at + 1) % n] = k.Special == 1 ? v[(at + 1) % n] : k.Special;
                    }
                    if (k.Special != 1) h[at * n + (at + n - 1) / 2 % n] = k.Special;
                }
                for (double alpha : {-1.0, 0.0, 0.37}) {
                    std::fill(yb.begin(), yb.end(), nan);
                    std::fill(yr.begin(), yr.end(), nan);
                    detail::OptSymMv('L', n, alpha, h, u, yb.data() + off);
                    blas::SymMv('L', n, alpha, h, n, u, 1, 0.0, yr.data() + off, 1);
                    EXPECT_TRUE(same(yb.data() + off, yr.data() + off, n)) << "product, alpha " << alpha;
                }
                std::vector<double> hr(hb);
                detail::OptSyrPair('L', n, k.A1, u, k.A2, v, h);
                blas::Syr('L', n, k.A1, u, hr.data() + off, n);
                blas::Syr('L', n, k.A2, v, hr.data() + off, n);
                EXPECT_TRUE(same(h, hr.data() + off, n * n)) << "update";
            }
        }
    }
}

}  // namespace

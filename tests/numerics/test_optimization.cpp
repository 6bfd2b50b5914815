// MinBrent, Simplex and the numerical derivatives against scipy and mpmath (tests/data/gen_optimization_golden.py),
// the points the routines evaluate (seen by a spy objective), the iteration logs, the convergence test on parameters,
// and what every routine does when the objective raises.
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "OptimizationTest.h"
#include "TestSupport.h"
#include "core/TempGuard.h"
#include "numerics/OptimizationLog.h"
#include "startup/Startup.h"

using namespace tarnel;
using namespace testsupport;
using namespace opttest;

namespace {

class Optimization : public PoolCheck {};

// ---- Objectives: each records its points in the spy of OConsts[0] when one is given ---------------------------------
double BrentSquare(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return (x[0] - 2) * (x[0] - 2);
}
double BrentCos(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return std::cos(x[0]);
}
double BrentXExp(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return x[0] * std::exp(x[0]);
}
double SimplexRosenbrock(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return 100 * (x[1] - x[0] * x[0]) * (x[1] - x[0] * x[0]) + (1 - x[0]) * (1 - x[0]);
}
// 1/2 x'Ax - b'x with A = [[2, 1, 0], [1, 4, 0], [0, 0, 6]], b = (1, -2, 3).
double SimplexBowl(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return 0.5 * (2 * x[0] * x[0] + 2 * x[0] * x[1] + 4 * x[1] * x[1] + 6 * x[2] * x[2]) - (x[0] - 2 * x[1] + 3 * x[2]);
}
// (x - c)², c = Consts[0].
double SimplexShift(std::span<const double> x, std::span<const double> c, std::span<void* const> o)
{
    Record(x, o);
    return (x[0] - c[0]) * (x[0] - c[0]);
}
// The derivative objectives compute exactly what the golden script computes in Doubles.
double DerivPow5(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return x[0] * x[0] * x[0] * x[0] * x[0];
}
double DerivSin100(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return std::sin(100 * x[0]);
}
double DerivSquare(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return x[0] * x[0];
}
double DerivCubic2(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    return x[0] * x[0] * x[1] + 3 * x[1] * x[1];
}
// Σ (x_i - i)², any length.
double SumOfSquares(std::span<const double> x, std::span<const double>, std::span<void* const> o)
{
    Record(x, o);
    double s = 0;
    for (std::size_t i = 0; i < x.size(); ++i) s += (x[i] - double(i)) * (x[i] - double(i));
    return s;
}

// ---- Golden rows ---------------------------------------------------------------------------------------------------
struct BrentCase {
    const char* What;
    TOptFunction Fun;
    double Ax, Bx, Tol, Exact, Scipy, Tolerance;
};
const BrentCase kBrentCases[] = {
#include "optimization_brent_golden.inc"
};

struct SimplexCase {
    const char* What;
    TOptFunction Fun;
    std::vector<double> Start, Consts;
    double Tol;
    std::vector<double> Exact, Scipy;
    double Tolerance;
};
const SimplexCase kSimplexCases[] = {
#include "optimization_simplex_golden.inc"
};

enum TDerivMethod { kRichardson, kDifference, kHess };

struct DerivCase {
    const char* What;
    TOptFunction Fun;
    TDerivMethod Method;
    std::vector<double> X, Grad;
    double GradTol;
    std::vector<double> Hess;
    double HessTol;
    std::vector<double> Analytic;
    bool Exact;
    double Miss;
};
const DerivCase kDerivCases[] = {
#include "optimization_deriv_golden.inc"
};

// ---- Shared parts --------------------------------------------------------------------------------------------------

TEST(OptimizationTypes, StopReasonsAndMethodsKeepTheirOrder)
{
    static_assert(sizeof(TOptStopReason) == 1);
    static_assert(OptResNotFound == 0 && OptResSmallGrad == 1 && OptResSingular == 2 && OptResSmallStep == 3 &&
                  OptResZeroStep == 4 && OptResBigLambda == 5 && OptResMaxIter == 6 && OptResConverged == 7);
    static_assert(optSimplex == 0 && optMarquardt == 1 && optBFGS == 2 && optDFP == 3 && optConjGradFR == 4 &&
                  optConjGradPR == 5);
    static_assert(numRichardson == 0 && numDifference == 1);
    // The derivative procedures have the callback types the minimisers and the component store.
    [[maybe_unused]] TOptGradProc g1 = NumericGradRichardson, g2 = NumericGradDifference;
    [[maybe_unused]] TOptHessProc h = NumericGradHess;
}

TEST(OptimizationTypes, GradStepSizeIsTheRoundedSeventhRootAndSurvivesARestart)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(GradStepSize), 0x3F57C6A1F29E2CE6u);
    EXPECT_EQ(GradStepSize, kDefaultGradStepSize);
    // A program's own value stays: the library's start-up is counted and only its first call sets the default.
    GradStepSize = 1e-4;
    FeldrinInitialize();
    FeldrinFinalize();
    EXPECT_EQ(GradStepSize, 1e-4);
    GradStepSize = kDefaultGradStepSize;
}

TEST(OptimizationTypes, ParamsConvergedIsStrictAndRelative)
{
    struct Case {
        const char* What;
        std::vector<double> Old, New;
        double Tol;
        bool Converged;
    };
    const Case cases[] = {
        {"relative move below Tol·|old|", {4, -4}, {5.9, -2.1}, 0.5, true},
        {"a move of exactly Tol·|old|", {4, -4}, {5.9, -2}, 0.5, false},
        {"the bound takes |old|", {-4}, {-6.5}, 0.5, false},
        {"old 0: the move against Tol itself", {0, 0}, {0.4, -0.4}, 0.5, true},
        {"old 0: a move of exactly Tol", {0}, {-0.5}, 0.5, false},
        {"no parameters", {}, {}, 0.5, true},
        {"NaN never converges", {1}, {NAN}, 0.5, false},
    };
    for (const Case& c : cases) EXPECT_EQ(detail::OptParamsConverged(c.Old, c.New, c.Tol), c.Converged) << c.What;
    // The test stops at the first index that fails: New is not read past it (the sanitizer run would see it).
    const std::vector<double> old = {1, 1, 1}, moved = {1, 9};
    EXPECT_FALSE(detail::OptParamsConverged(old, moved, 0.5));
}

TEST(OptimizationLog, LinesOfEveryMinimiser)
{
    struct Case {
        double Tol;
        int Digits;
        int Counter;
        double Value;
        const char* Line;
    };
    // D = |Round(Log10(Tol))| (ties to even), 0 where the logarithm is not finite.
    const Case cases[] = {
        {1e-8, 8, 2, 5 * CGOLD, "0002      1.90983006"},
        {1e-8, 8, 12, 20.05, "0012      20.05000000"},
        {2e-7, 7, 3, -0.25, "0003      -0.2500000"},
        {5e-7, 6, 123, 1, "0123      1.000000"},
        {0.05, 1, 0, 2.25, "0000      2.3"},
        {1, 0, 10000, 2.5, "10000      3"},
        {1e5, 5, 1, 1.5, "0001      1.50000"},
        {0, 0, 1, -0.4, "0001      0"},
        {-1e-8, 0, 1, 1.9, "0001      2"},
        {INFINITY, 0, 1, 1.9, "0001      2"},
        {NAN, 0, 1, 1.9, "0001      2"},
        {1e-30, 30, 1, 0.5, "0001      0.500000000000000000"},  // more than 18 decimals act as 18
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detail::LogDigits(c.Tol), c.Digits) << c.Tol;
        TStringList list;
        const detail::TOptLog log(&list, "Name", "Header", c.Tol);
        log.Line(c.Counter, c.Value);
        EXPECT_EQ(Lines(list), (std::vector<std::string>{"Name", "Header", c.Line})) << c.Tol;
    }
    // Marquardt's lines carry the damping factor after two blanks, in the same format.
    TStringList list;
    const detail::TOptLog log(&list, "Marquardt", "Iteration Fun                Lambda", 1e-3);
    log.Line(1, 12.3456, 0.0001);
    EXPECT_EQ(list.Strings(2), "0001      12.346  0.000");
    // Nil: no log.
    const detail::TOptLog none(nullptr, "Name", "Header", 1e-8);
    none.Line(1, 1.0);
    none.Line(1, 1.0, 1.0);
}

// ---- MinBrent ------------------------------------------------------------------------------------------------------

TEST_F(Optimization, MinBrentFindsTheMinimaScipyFinds)
{
    for (const BrentCase& c : kBrentCases) {
        double x = NAN;
        const int iter = MinBrent(c.Ax, c.Bx, c.Fun, {}, {}, x, 500, c.Tol, nullptr);
        EXPECT_GT(iter, 0) << c.What;
        EXPECT_LT(iter, 500) << c.What;
        EXPECT_NEAR(x, c.Exact, c.Tolerance) << c.What;
        EXPECT_NEAR(x, c.Scipy, 2 * c.Tolerance) << c.What;
    }
    // The ends in either order are the same search.
    double x1 = 0, x2 = 0;
    const int i1 = MinBrent(0, 5, BrentSquare, {}, {}, x1, 500, 1e-8, nullptr);
    const int i2 = MinBrent(5, 0, BrentSquare, {}, {}, x2, 500, 1e-8, nullptr);
    EXPECT_EQ(i1, i2);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(x1), std::bit_cast<std::uint64_t>(x2));
}

TEST_F(Optimization, MinBrentPassesAndEvaluations)
{
    struct Case {
        int MaxIter;
        int Result;
        std::size_t Evaluations;
    };
    // At most MaxIter + 1 passes, one evaluation each after the first at the golden-section point.
    const Case cases[] = {{-1, 0, 1}, {-100, 0, 1}, {0, 1, 2}, {3, 4, 5}};
    for (const Case& c : cases) {
        TSpy spy;
        void* const o[] = {&spy};
        double x = NAN;
        EXPECT_EQ(MinBrent(-3, 2, BrentXExp, {}, o, x, c.MaxIter, 1e-8, nullptr), c.Result) << c.MaxIter;
        ASSERT_EQ(spy.Points.size(), c.Evaluations) << c.MaxIter;
        EXPECT_EQ(spy.Points[0], std::vector<double>{-3 + CGOLD * 5}) << c.MaxIter;
        if (c.Result == 0) {
            EXPECT_EQ(x, -3 + CGOLD * 5);
        }
    }
    // Consts reach the objective as given.
    double x = 0;
    const double c[] = {0.7};
    MinBrent(-1, 3, SimplexShift, c, {}, x, 500, 1e-10, nullptr);
    EXPECT_NEAR(x, 0.7, 1e-7);
}

TEST_F(Optimization, MinBrentLog)
{
    struct Case {
        double Tol;
        const char* First;
    };
    const Case cases[] = {{1e-8, "0002      1.90983006"}, {1, "0002      2"}, {0, "0002      2"}};
    for (const Case& c : cases) {
        TStringList list;
        list.Add("kept");
        double x = 0;
        const int iter = MinBrent(0, 5, BrentSquare, {}, {}, x, 500, c.Tol, &list);
        ASSERT_EQ(list.Count(), 1 + 2 + iter) << c.Tol;
        EXPECT_EQ(list.Strings(0), "kept");
        EXPECT_EQ(list.Strings(1), "MinBrent");
        EXPECT_EQ(list.Strings(2), "Iteration x");
        EXPECT_EQ(list.Strings(3), c.First) << c.Tol;
        EXPECT_EQ(list.Strings(list.Count() - 1).substr(0, 4), FormatFloat("0000", iter + 1)) << c.Tol;
    }
    // The header comes first, before the objective is called.
    TSpy spy;
    spy.ThrowAt = 1;
    void* const o[] = {&spy};
    TStringList list;
    double x = 0;
    EXPECT_THROW(MinBrent(0, 5, BrentSquare, {}, o, x, 500, 1e-8, &list), ObjectiveFailed);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"MinBrent", "Iteration x"}));
}

// ---- Simplex -------------------------------------------------------------------------------------------------------

TEST_F(Optimization, SimplexFindsTheMinimaScipyFinds)
{
    for (const SimplexCase& c : kSimplexCases) {
        std::vector<double> x = c.Start;
        double fmin = NAN;
        TOptStopReason reason = OptResNotFound;
        const int iter = Simplex(c.Fun, x, c.Consts, {}, fmin, reason, 100000, c.Tol, nullptr);
        EXPECT_EQ(reason, OptResConverged) << c.What;
        EXPECT_LT(iter, 100000) << c.What;
        for (std::size_t i = 0; i < x.size(); ++i) {
            EXPECT_NEAR(x[i], c.Exact[i], c.Tolerance) << c.What << " " << i;
            EXPECT_NEAR(x[i], c.Scipy[i], 2 * c.Tolerance) << c.What << " " << i;
        }
        EXPECT_LE(fmin, c.Fun(c.Start, c.Consts, {})) << c.What;
        EXPECT_NEAR(fmin, c.Fun(c.Exact, c.Consts, {}), 1e-12) << c.What;
    }
}

TEST_F(Optimization, SimplexFirstVerticesPassesAndLimits)
{
    // Vertex i scales coordinate i by 1.05, a zero one becomes 0.0025; the start point is the last vertex.
    TSpy spy;
    void* const o[] = {&spy};
    std::vector<double> x = {0, 5};
    double fmin = NAN;
    TOptStopReason reason = OptResNotFound;
    int iter = Simplex(SimplexRosenbrock, x, {}, o, fmin, reason, 0, 1e-10, nullptr);
    ASSERT_EQ(spy.Points.size(), 5u);
    EXPECT_EQ(spy.Points[0], (std::vector<double>{0.0025, 5}));
    EXPECT_EQ(spy.Points[1], (std::vector<double>{0, 1.05 * 5}));
    EXPECT_EQ(spy.Points[2], (std::vector<double>{0, 5}));
    // The first pass reflects the worst vertex (0, 5.25) through the centroid C of the others to R = (C - S[1]) + C,
    // below the best vertex, so it tries the expansion 3·R - 2·C (not the textbook 2·R - C).
    const double c0 = (0 + 0.0025 + 0) / 2, c1 = (0 + 5 + 5.0) / 2;
    const double q0 = (c0 - 0) + c0, q1 = (c1 - 5.25) + c1;
    EXPECT_EQ(spy.Points[3], (std::vector<double>{q0, q1}));
    EXPECT_EQ(spy.Points[4], (std::vector<double>{3 * q0 - 2 * c0, 3 * q1 - 2 * c1}));
    // MaxIter 0: one pass, ended by the limit; Pars and FMin are the best vertex after it.
    EXPECT_EQ(iter, 1);
    EXPECT_EQ(reason, OptResMaxIter);
    EXPECT_EQ(fmin, SimplexRosenbrock(x, {}, {}));
    EXPECT_LT(fmin, SimplexRosenbrock(std::vector<double>{0, 5}, {}, {}));

    // A run that converges in pass k, limited to k - 1 passes: the same k passes and point, but the limit's reason
    // overrides the convergence of the last pass.
    const std::vector<double> start = {-1.2, 1};
    std::vector<double> x1 = start, x2 = start;
    double f1 = 0, f2 = 0;
    TOptStopReason r1 = OptResNotFound, r2 = OptResNotFound;
    const int k = Simplex(SimplexRosenbrock, x1, {}, {}, f1, r1, 100000, 1e-6, nullptr);
    ASSERT_EQ(r1, OptResConverged);
    iter = Simplex(SimplexRosenbrock, x2, {}, {}, f2, r2, k - 1, 1e-6, nullptr);
    EXPECT_EQ(iter, k);
    EXPECT_EQ(r2, OptResMaxIter);
    EXPECT_EQ(x2, x1);
    EXPECT_EQ(f2, f1);
}

TEST_F(Optimization, SimplexLog)
{
    TStringList list;
    std::vector<double> x = {-1.2, 1};
    double fmin = 0;
    TOptStopReason reason = OptResNotFound;
    const int iter = Simplex(SimplexRosenbrock, x, {}, {}, fmin, reason, 100000, 1e-8, &list);
    ASSERT_EQ(list.Count(), 2 + iter);
    EXPECT_EQ(list.Strings(0), "Simplex");
    EXPECT_EQ(list.Strings(1), "Iteration Fun");
    // The first line: counter 0 and the lowest start vertex, (-1.2, 1.05) of value 20.05, at 8 decimals.
    EXPECT_EQ(list.Strings(2), "0000      20.05000000");
    EXPECT_EQ(list.Strings(list.Count() - 1).substr(0, 4), FormatFloat("0000", iter - 1));
    // The header comes first, before the objective is called.
    TSpy spy;
    spy.ThrowAt = 1;
    void* const o[] = {&spy};
    list.Clear();
    EXPECT_THROW(Simplex(SimplexRosenbrock, x, {}, o, fmin, reason, 100, 1e-8, &list), ObjectiveFailed);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Simplex", "Iteration Fun"}));
}

// ---- Derivatives ---------------------------------------------------------------------------------------------------

void Derive(TDerivMethod Method, TOptFunction Fun, std::span<const double> X, std::span<void* const> O, TVec& Grad,
            TMtx* Hess)
{
    switch (Method) {
        case kRichardson:
            NumericGradRichardson(Fun, X, {}, O, Grad);
            break;
        case kDifference:
            NumericGradDifference(Fun, X, {}, O, Grad);
            break;
        case kHess:
            NumericGradHess(Fun, X, {}, O, Grad, Hess);
            break;
    }
}

TEST_F(Optimization, DerivativesAgainstMpmath)
{
    for (const DerivCase& c : kDerivCases) {
        const std::size_t n = c.X.size();
        const std::vector<double> x = c.X;
        TSpy spy;
        void* const o[] = {&spy};
        TVec grad;
        grad.Size(static_cast<int>(n));
        TMtx hess;
        Derive(c.Method, c.Fun, x, o, grad, &hess);
        EXPECT_EQ(x, c.X) << c.What;  // Pars untouched
        ASSERT_EQ(grad.Length(), static_cast<int>(n)) << c.What;
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_NEAR(grad[i], c.Grad[i], c.GradTol) << c.What << " " << i;
            if (c.Exact) {
                EXPECT_NEAR(grad[i], c.Analytic[i], c.GradTol) << c.What << " " << i;
            }
        }
        // The extrapolation's leading error term: wrong weights would miss by orders of magnitude more.
        if (c.Miss != 0) {
            EXPECT_NEAR((grad[0] - c.Analytic[0]) / c.Miss, 1, 0.05) << c.What;
        }

        std::size_t evaluations = c.Method == kRichardson ? 6 * n : c.Method == kDifference ? n + 1 : 2 * n + 1;
        if (c.Method == kHess) {
            evaluations += n * (n - 1) / 2;
            ASSERT_EQ(hess.Rows(), static_cast<int>(n)) << c.What;
            ASSERT_EQ(hess.Cols(), static_cast<int>(n)) << c.What;
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = 0; j < n; ++j) {
                    EXPECT_NEAR(hess.Values()[i * n + j], c.Hess[i * n + j], c.HessTol) << c.What << " " << i << j;
                    EXPECT_EQ(hess.Values()[i * n + j], hess.Values()[j * n + i]) << c.What << " " << i << j;
                }
        }
        EXPECT_EQ(spy.Points.size(), evaluations) << c.What;
        for (const std::vector<double>& p : spy.Points) EXPECT_EQ(p.size(), n) << c.What;

        if (c.Method == kHess) {
            // Without a Hessian: the same gradient from 2n + 1 evaluations.
            TSpy spy2;
            void* const o2[] = {&spy2};
            TVec grad2;
            Derive(kHess, c.Fun, x, o2, grad2, nullptr);
            EXPECT_EQ(spy2.Points.size(), 2 * n + 1) << c.What;
            ASSERT_EQ(grad2.Length(), static_cast<int>(n));
            for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(grad2[i], grad[i]) << c.What << " " << i;
        }
    }
}

TEST_F(Optimization, DerivativeStepsAndOrder)
{
    const double g = GradStepSize, f = 1.4901161194E-8;
    const std::vector<double> x = {0, -3};
    const double h0 = g * 1, h1 = g * 4;  // the step grows with |x_i| + 1
    struct Case {
        TDerivMethod Method;
        std::vector<std::vector<double>> Points;
    };
    const Case cases[] = {
        {kRichardson,
         {{h0, -3},
          {-h0, -3},
          {2 * h0, -3},
          {-2 * h0, -3},
          {4 * h0, -3},
          {-4 * h0, -3},
          {0, -3 + h1},
          {0, -3 - h1},
          {0, -3 + 2 * h1},
          {0, -3 - 2 * h1},
          {0, -3 + 4 * h1},
          {0, -3 - 4 * h1}}},
        {kDifference, {{0, -3}, {f, -3}, {0, -3 + 4 * f}}},
        {kHess, {{0, -3}, {-h0, -3}, {h0, -3}, {0, -3 - h1}, {0, -3 + h1}, {h0, -3 + h1}}},
    };
    for (const Case& c : cases) {
        TSpy spy;
        void* const o[] = {&spy};
        TVec grad;
        grad.Size(2);
        TMtx hess;
        Derive(c.Method, DerivCubic2, x, o, grad, &hess);
        EXPECT_EQ(spy.Points, c.Points) << c.Method;
    }
    // The forward difference of x² at 0 is its step.
    TVec grad;
    grad.Size(1);
    NumericGradDifference(DerivSquare, std::vector<double>{0}, {}, {}, grad);
    EXPECT_NEAR(grad[0], f, f * 1e-15);
}

TEST_F(Optimization, HessianMixedTermIsAForwardDifference)
{
    // For x0²x1 + 3x1² the mixed difference is exactly 2x0 + h0 in real arithmetic: an O(h) error, read from
    // GradStepSize at the call.
    const std::vector<double> x = {1, 2};
    for (double step : {kDefaultGradStepSize, 1e-4}) {
        GradStepSize = step;
        TVec grad;
        TMtx hess;
        NumericGradHess(DerivCubic2, x, {}, {}, grad, &hess);
        const double h0 = 2 * step;
        EXPECT_NEAR(hess.Values()[1], 2 + h0, 1e-7) << step;
        EXPECT_EQ(hess.Values()[1], hess.Values()[2]) << step;
        EXPECT_NEAR(hess.Values()[0], 4, 1e-6) << step;
        EXPECT_NEAR(hess.Values()[3], 6, 1e-6) << step;
    }
    GradStepSize = kDefaultGradStepSize;
}

TEST_F(Optimization, GradientProceduresRefuseAGradTheyWouldOverrun)
{
    struct Case {
        int Length;
        bool Complex;
        const char* Message;
    };
    const Case cases[] = {{1, false, "Grad.Length < Length(Pars)"},
                          {0, false, "Grad.Length < Length(Pars)"},
                          {1, true, "Grad.Length < Length(Pars)"},
                          {2, true, "Grad.Complex = True"}};
    const std::vector<double> x = {1, 2};
    for (TDerivMethod method : {kRichardson, kDifference})
        for (const Case& c : cases) {
            TSpy spy;
            void* const o[] = {&spy};
            TVec grad;
            grad.Size(c.Length, c.Complex);
            for (int i = 0; i < c.Length * (c.Complex ? 2 : 1); ++i) grad.Values()[i] = 9;
            ExpectRaise([&] { Derive(method, DerivCubic2, x, o, grad, nullptr); }, c.Message, c.Message);
            EXPECT_TRUE(spy.Points.empty()) << c.Message;
            EXPECT_EQ(grad.Length(), c.Length);
            EXPECT_EQ(grad.Complex(), c.Complex);
            for (int i = 0; i < c.Length * (c.Complex ? 2 : 1); ++i) EXPECT_EQ(grad.Values()[i], 9) << c.Message;
        }
    // A longer Grad keeps its length and its elements past n.
    for (TDerivMethod method : {kRichardson, kDifference}) {
        TVec grad;
        grad.Size(4);
        grad.SetVal(9);
        Derive(method, DerivCubic2, x, {}, grad, nullptr);
        EXPECT_EQ(grad.Length(), 4);
        EXPECT_NEAR(grad[0], 4, 1e-6);
        EXPECT_EQ(grad[2], 9);
        EXPECT_EQ(grad[3], 9);
    }
}

TEST_F(Optimization, DerivativesOfPointsInsideGrad)
{
    // Pars may view Grad's own elements: the routines work on their copy, so the result is that of a separate point.
    for (TDerivMethod method : {kRichardson, kDifference, kHess}) {
        TVec grad, want;
        grad.Size(2);
        grad.Values()[0] = 1;
        grad.Values()[1] = 2;
        want.Size(2);
        Derive(method, DerivCubic2, std::vector<double>{1, 2}, {}, want, nullptr);
        Derive(method, DerivCubic2, std::span<const double>(grad.Values(), 2), {}, grad, nullptr);
        EXPECT_EQ(grad[0], want[0]) << method;
        EXPECT_EQ(grad[1], want[1]) << method;
    }
}

// Σ (i + 1)·x_i + Σ x_i·x_(i+1): every coordinate and every neighbouring pair has its own derivatives.
double LinearChain(std::span<const double> x, std::span<const double>, std::span<void* const>)
{
    double s = 0;
    for (std::size_t i = 0; i < x.size(); ++i) s += double(i + 1) * x[i];
    for (std::size_t i = 0; i + 1 < x.size(); ++i) s += x[i] * x[i + 1];
    return s;
}

TEST_F(Optimization, HessianBitsAreThoseOfTheVectorOperations)
{
    // The gradient and the Hessian come from (f+ - f-)·0.5 / h and the reciprocals of h_i·h_j, thresholded at
    // 5.56268464626801E-309 as Divide and InvElem threshold them; the reference forms them with those operations.
    // The sizes reach both sides of the routines' work memory (the stack for a few parameters, the pool beyond);
    // the steps put h (1e-310) or h·h (1e-320) below the threshold, the negative one with the clamp's sign.
    const double kThreshold = 5.56268464626801E-309;
    const struct {
        int N;
        double Step;
    } cases[] = {{1, kDefaultGradStepSize}, {3, kDefaultGradStepSize}, {21, kDefaultGradStepSize},
                 {22, kDefaultGradStepSize}, {70, kDefaultGradStepSize}, {3, 1e-160}, {3, 1e-310}, {22, -1e-310}};
    for (const auto& c : cases) {
        GradStepSize = c.Step;
        std::vector<double> x(static_cast<std::size_t>(c.N));
        for (int i = 0; i < c.N; ++i) x[i] = i % 3 == 0 ? 0 : 0.5 * i - 3;
        const std::vector<double> start = x;

        const int n = c.N;
        TVec hv, fpv, fmv, want;
        hv.Size(n);
        fpv.Size(n);
        fmv.Size(n);
        double *const h = hv.Values(), *const fp = fpv.Values(), *const fm = fmv.Values();
        const double f0 = LinearChain(x, {}, {});
        for (int i = 0; i < n; ++i) {
            const double xi = x[i];
            h[i] = (std::fabs(xi) + 1) * c.Step;
            x[i] = xi - h[i];
            fm[i] = LinearChain(x, {}, {});
            x[i] = xi + h[i];
            fp[i] = LinearChain(x, {}, {});
            x[i] = xi;
        }
        want.Sub(fpv, fmv);
        want.Scale(0.5);
        want.Divide(hv, kThreshold);
        TMtx wantHess;
        wantHess.TensorProd(hv, hv);
        wantHess.InvElem(kThreshold);
        double* const w = wantHess.Values();
        for (int i = 0; i < n; ++i) w[i * n + i] = (fp[i] + fm[i] - 2 * f0) * w[i * n + i];
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j) {
                x[i] += h[i];
                x[j] += h[j];
                w[i * n + j] = (LinearChain(x, {}, {}) - fp[i] - fp[j] + f0) * w[i * n + j];
                w[j * n + i] = w[i * n + j];
                x = start;
            }

        TVec grad;
        TMtx hess;
        NumericGradHess(LinearChain, x, {}, {}, grad, &hess);
        const std::string what = std::to_string(n) + " " + std::to_string(c.Step);
        ASSERT_EQ(grad.Length(), n) << what;
        ASSERT_EQ(hess.Rows(), n) << what;
        ASSERT_EQ(hess.Cols(), n) << what;
        const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
        for (int i = 0; i < n; ++i) EXPECT_EQ(bits(grad[i]), bits(want[i])) << what << " " << i;
        for (int i = 0; i < n * n; ++i) EXPECT_EQ(bits(hess.Values()[i]), bits(w[i])) << what << " " << i;
        EXPECT_EQ(x, start) << what;
    }
    GradStepSize = kDefaultGradStepSize;
}

TEST_F(Optimization, NoParameters)
{
    // An empty Pars: the objective sees an empty point, nothing is read or written past an end.
    TSpy spy;
    void* const o[] = {&spy};
    std::vector<double> none;
    double fmin = NAN;
    TOptStopReason reason = OptResNotFound;
    EXPECT_EQ(Simplex(SumOfSquares, none, {}, o, fmin, reason, 100, 1e-8, nullptr), 1);
    EXPECT_EQ(reason, OptResConverged);
    EXPECT_EQ(fmin, 0);
    TVec grad;
    TMtx hess;
    for (TDerivMethod method : {kRichardson, kDifference, kHess}) Derive(method, SumOfSquares, none, o, grad, &hess);
    EXPECT_EQ(grad.Length(), 0);
    EXPECT_EQ(hess.Rows(), 0);
    EXPECT_EQ(hess.Cols(), 0);
    for (const std::vector<double>& p : spy.Points) EXPECT_TRUE(p.empty());
}

// ---- A raising objective --------------------------------------------------------------------------------------------

TEST_F(Optimization, AnExceptionOfTheObjectivePassesThroughAndThePoolsStay)
{
    struct Case {
        const char* What;
        std::function<void(std::span<void* const>)> Run;
    };
    const Case cases[] = {
        {"MinBrent",
         [](std::span<void* const> o) {
             double x = 0;
             MinBrent(-3, 2, BrentXExp, {}, o, x, 100, 1e-12, nullptr);
         }},
        {"Simplex",
         [](std::span<void* const> o) {
             std::vector<double> x = {-1.2, 1};
             double f = 0;
             TOptStopReason r = OptResNotFound;
             Simplex(SimplexRosenbrock, x, {}, o, f, r, 100, 1e-12, nullptr);
         }},
        {"NumericGradRichardson",
         [](std::span<void* const> o) {
             TVec g;
             g.Size(2);
             NumericGradRichardson(SumOfSquares, std::vector<double>{1, 2}, {}, o, g);
         }},
        {"NumericGradDifference",
         [](std::span<void* const> o) {
             TVec g;
             g.Size(10);
             NumericGradDifference(SumOfSquares, std::vector<double>(10, 1.0), {}, o, g);
         }},
        {"NumericGradHess",
         [](std::span<void* const> o) {
             TVec g;
             TMtx h;
             NumericGradHess(SumOfSquares, std::vector<double>{1, 2, 3, 4}, {}, o, g, &h);
         }},
    };
    for (const Case& c : cases) ExpectFailurePassesThrough(c.What, c.Run);
}

}  // namespace

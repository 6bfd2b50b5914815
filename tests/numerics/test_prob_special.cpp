// The special functions of Probabilities against mpmath (and scipy for the incomplete gamma function at A ≥ 1e4):
// the incomplete gamma functions real and complex, the incomplete beta function, the error functions, the binomial
// coefficient; the limits at non-finite arguments, and the guards that keep every loop finite.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ProbGolden.h"
#include "TestSupport.h"

using namespace tarnel;
using namespace probtest;

namespace {

constexpr double MaxD = 1.797693134862315E308;

void ExpectRel(double Got, double Want, double Rel, const std::string& Where)
{
    EXPECT_NEAR(Got, Want, Rel * std::fabs(Want) + 1e-300) << Where;
}

TEST(ProbSpecial, IncompleteGammaAgainstReferences)
{
    for (const auto& r : kGammaRows) {
        const std::string where = "A = " + std::to_string(r.A) + ", X = " + std::to_string(r.X);
        // scipy's values for A ≥ 1e4 carry about 1e-13; the factor around X = A loses a little more at 1e12.
        const double rel = r.A >= 1e4 ? 1e-9 : 2e-14;
        ExpectRel(IGamma(r.A, r.X), r.P, rel, where);
        ExpectRel(JGamma(r.A, r.X), r.Q, rel, where);
        if (r.X < r.A + 1)
            ExpectRel(GammaSer(r.A, r.X), r.P, rel, where);
        else
            ExpectRel(GammaFrac(r.A, r.X), r.Q, rel, where);
    }
    // P(1, X) = 1 − e^−X.
    for (double x : {0.01, 0.7, 2.0, 15.0}) ExpectRel(IGamma(1, x), -std::expm1(-x), 1e-15, "P(1, x)");
}

TEST(ProbSpecial, IncompleteGammaLimitsAndInvalidArguments)
{
    const double inf = INF, nan = NAN;
    struct Case {
        double A, X, P, Q;
    };
    const Case cases[] = {
        {2, 0, 0, 1}, {2, inf, 1, 0}, {inf, 3, 0, 1}, {0, 1, 0, 0}, {-1, 1, 0, 0}, {2, -1, 0, 0}, {1e300, 1, 0, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IGamma(c.A, c.X), c.P) << c.A << ", " << c.X;
        EXPECT_EQ(JGamma(c.A, c.X), c.Q) << c.A << ", " << c.X;
    }
    for (double a : {nan, 2.0})
        for (double x : {nan, 1.0}) {
            if (!std::isnan(a) && !std::isnan(x)) continue;
            EXPECT_TRUE(std::isnan(IGamma(a, x)));
            EXPECT_TRUE(std::isnan(JGamma(a, x)));
            EXPECT_TRUE(std::isnan(GammaSer(a, x)));
            EXPECT_TRUE(std::isnan(GammaFrac(a, x)));
        }
    // Called directly, both parts return: the fraction refuses X ≤ 0, and its first denominator at X = A − 1
    // is floored like the others.
    EXPECT_TRUE(std::isnan(GammaFrac(1, 0)));
    EXPECT_TRUE(std::isnan(GammaFrac(2, -3)));
    EXPECT_TRUE(std::isfinite(GammaFrac(3, 2)));
    // The series far outside its side reaches its cap: NaN, not an endless loop.
    EXPECT_TRUE(std::isnan(GammaSer(1, 1e9)));
}

TEST(ProbSpecial, ComplexIncompleteGammaAgainstMpmath)
{
    double worstBeyond = 0;
    for (const auto& r : kCGammaRows) {
        const TCplx z{r.ZRe, r.ZIm};
        const TCplx p = IGamma(r.A, z), q = JGamma(r.A, z);
        const double sp = std::hypot(r.PRe, r.PIm), sq = std::hypot(r.QRe, r.QIm);
        const double ep = std::hypot(p.Re - r.PRe, p.Im - r.PIm) / sp;
        const double eq = std::hypot(q.Re - r.QRe, q.Im - r.QIm) / sq;
        const std::string where =
            "A = " + std::to_string(r.A) + ", Z = " + std::to_string(r.ZRe) + " + " + std::to_string(r.ZIm) + "i";
        // IGamma + JGamma = 1 on either side of the imaginary axis.
        EXPECT_NEAR(p.Re + q.Re, 1, 1e-12 * (1 + sp)) << where;
        EXPECT_NEAR(p.Im + q.Im, 0, 1e-12 * (1 + sp)) << where;
        if (std::fabs(std::atan2(r.ZIm, r.ZRe)) <= 0.75 * PI) {
            EXPECT_LT(ep, 1e-12) << where;
            EXPECT_LT(eq, 1e-12) << where;
        } else {
            worstBeyond = std::max({worstBeyond, ep, eq});
        }
    }
    // Near the negative real axis the series cancels; it still returns a value of a few digits.
    EXPECT_LT(worstBeyond, 1e-6);
    std::printf("complex incomplete gamma, worst relative error beyond |arg Z| = 3π/4: %.3g\n", worstBeyond);

    EXPECT_EQ(IGamma(2, C_ZERO).Re, 0);
    EXPECT_EQ(JGamma(2, C_ZERO).Re, 1);
    EXPECT_EQ(JGamma(-1, TCplx{1, 1}).Re, 0);
    EXPECT_EQ(IGamma(2, TCplx{INF, 0}).Re, 1);
    EXPECT_EQ(JGamma(2, TCplx{INF, 0}).Re, 0);
    EXPECT_TRUE(std::isnan(IGamma(2, TCplx{NAN, 1}).Re));
    EXPECT_TRUE(std::isnan(JGamma(NAN, TCplx{1, 1}).Im));
    EXPECT_TRUE(std::isnan(GammaFrac(1, TCplx{0, 0}).Re));
}

TEST(ProbSpecial, IncompleteBetaAgainstMpmath)
{
    for (const auto& r : kBetaRows) ExpectRel(BetaIncomplete(r.X, r.A, r.B), r.I, 1e-13, std::to_string(r.X));
    EXPECT_NEAR(BetaIncomplete(0.5, 2, 2), 0.5, 1e-15);
    EXPECT_EQ(BetaIncomplete(0.5, 0, 2), 0);
    EXPECT_EQ(BetaIncomplete(0.5, 2, -1), 0);
    EXPECT_EQ(BetaIncomplete(1.5, 2, 2), 0);
    EXPECT_EQ(BetaIncomplete(0, 2, 3), 0);
    EXPECT_EQ(BetaIncomplete(1, 2, 3), 1);
    EXPECT_TRUE(std::isnan(BetaIncomplete(NAN, 2, 3)));
    EXPECT_TRUE(std::isnan(BetaIncomplete(0.5, INF, 3)));
}

TEST(ProbSpecial, ErrorFunctionsAgainstMpmath)
{
    for (const auto& r : kErfRows) {
        ExpectRel(Erf(r.X), r.Erf, 1e-14, "Erf " + std::to_string(r.X));
        // The complement of a large positive X is as accurate as the fraction, of a negative X as 1 + Erf.
        ExpectRel(Erfc(r.X), r.Erfc, 1e-13, "Erfc " + std::to_string(r.X));
    }
    for (double x : {0.3, 1.7, 3.0}) {
        EXPECT_EQ(Erf(-x), -Erf(x));
        EXPECT_NEAR(Erf(x) + Erfc(x), 1, 2e-16);
    }
    EXPECT_EQ(Erf(0), 0);
    EXPECT_EQ(Erf(INF), 1);
    EXPECT_EQ(Erf(-INF), -1);
    EXPECT_EQ(Erf(1e200), 1);
    EXPECT_EQ(Erf(-1e200), -1);
    EXPECT_EQ(Erfc(INF), 0);
    EXPECT_EQ(Erfc(-INF), 2);
    EXPECT_EQ(Erfc(-1e200), 2);
    EXPECT_TRUE(std::isnan(Erf(NAN)));
    EXPECT_TRUE(std::isnan(Erfc(NAN)));
}

// Units in the last place between two Doubles of one sign (subnormals counted in their own units).
double Ulps(double A, double B)
{
    if (A == B) return 0;
    if (std::signbit(A) != std::signbit(B) || !std::isfinite(A) || !std::isfinite(B)) return INF;
    return std::fabs(static_cast<double>(std::bit_cast<std::int64_t>(A) - std::bit_cast<std::int64_t>(B)));
}

TEST(ProbSpecial, ErrorFunctionsAgainstPython)
{
    // The kernel on both sides of each of its ranges' ends and at random points: within a few units of Python's
    // (itself within one unit of the truth), also where erfc is subnormal and up to its underflow.
    for (const auto& r : kErfPythonRows) {
        const double e = Ulps(Erf(r.X), r.Erf), c = Ulps(Erfc(r.X), r.Erfc);
        EXPECT_LE(e, 2) << "Erf " << r.X;
        EXPECT_LE(c, 3) << "Erfc " << r.X;
    }
}

TEST(ProbSpecial, ErfInvAgainstMpmath)
{
    for (const auto& r : kErfInvRows) ExpectRel(ErfInv(r.Y), r.X, 1e-13, std::to_string(r.Y));
    EXPECT_NEAR(ErfInv(Erf(0.5)), 0.5, 1e-15);
    EXPECT_EQ(ErfInv(1), MaxD);
    EXPECT_EQ(ErfInv(-1), -MaxD);
    EXPECT_EQ(ErfInv(0), 0);
    EXPECT_TRUE(std::isnan(ErfInv(NAN)));
    testsupport::ExpectRaise([] { ErfInv(1.0000001); }, "abs(y) > 0");
    testsupport::ExpectRaise([] { ErfInv(-INF); }, "abs(y) > 0");
}

TEST(ProbSpecial, BinomialAndBeta)
{
    // Exact while the products stay below 2^53; beyond, a few roundings of the running product, no truncation to
    // a 64-bit integer (C(67, 33) and on).
    for (const auto& r : kBinomialRows) ExpectRel(Binomial(r.N, r.K), r.C, r.C < 0x1p53 ? 0 : 1e-14, "C(n, k)");
    EXPECT_EQ(Binomial(5, -1), 0);
    EXPECT_EQ(Binomial(4, 5), 0);
    EXPECT_EQ(Binomial(-3, 1), 0);
    // B(2, 3) = 1/12; a pole of Γ(A + B) gives 0, one of Γ(A) the largest Double with its sign.
    EXPECT_NEAR(Beta(2, 3), 1.0 / 12, 1e-16);
    EXPECT_NEAR(Beta(0.5, 0.5), PI, 4e-15);
    EXPECT_EQ(Beta(-0.5, -0.5), 0);
    EXPECT_EQ(std::fabs(Beta(-1, 2.5)), MaxD);
}

}  // namespace

// Gamma, log-gamma, the factorial and I0/J0 of Dovi387 against tests/data/gen_gamma_golden.py (mpmath, scipy).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Feldrin.h"
#include "scalar_util.h"

using namespace tarnel;
using namespace scalartest;

namespace {

struct GammaRow {
    double x, gamma, lnGamma;
};

struct CplxGammaRow {
    TCplx z, expected;
};

struct BesselRow {
    TCplx z, j0;
    double j0Scale;
    TCplx i0;
    double i0Scale;
};

#include "gamma_golden.inc"

}  // namespace

TEST(GammaReal, WithinOneUlpOfMpmath)
{
    double worstGamma = 0, worstLn = 0;
    for (const GammaRow& r : kGammaRows) {
        const double g = Gamma(r.x);
        const double dg = UlpDistance(g, r.gamma);
        EXPECT_LE(dg, 1) << "Gamma (" << r.x << ") = " << g << ", exactly " << r.gamma;
        worstGamma = std::max(worstGamma, dg);
        // ln|Γ| near its zeros at 1 and 2 to a unit of the last place of 1 (absolute).
        const double l = LnGamma(r.x);
        if (std::fabs(r.lnGamma) < 0.5) {
            EXPECT_NEAR(l, r.lnGamma, 0x1p-53) << "LnGamma (" << r.x << ")";
        } else {
            const double dl = UlpDistance(l, r.lnGamma);
            EXPECT_LE(dl, 1) << "LnGamma (" << r.x << ") = " << l << ", exactly " << r.lnGamma;
            worstLn = std::max(worstLn, dl);
        }
    }
    std::printf("Gamma max %.0f ulp, LnGamma max %.0f ulp\n", worstGamma, worstLn);
}

TEST(GammaReal, PolesSignsAndTheFactorial)
{
    struct Row {
        double x, gamma, lnGamma;
    };
    const Row rows[] = {
        {5, 24, std::log(24.0)},
        {0, -INFINITY, INFINITY},
        {-0.0, -INFINITY, INFINITY},
        {-1, INFINITY, INFINITY},
        {-2, -INFINITY, INFINITY},
        {-3, INFINITY, INFINITY},
        {-1e300, -INFINITY, INFINITY},  // every Double beyond 2^53 is an even integer
        {-4503599627370497.0, INFINITY, INFINITY},
        {1, 1, 0},
        {2, 1, 0},
        {INFINITY, INFINITY, INFINITY},
        {-INFINITY, NAN, INFINITY},
        {NAN, NAN, NAN},
        {172, INFINITY, 711.71472580228999},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(SameDouble(Gamma(r.x), r.gamma)) << "Gamma (" << r.x << ") = " << Gamma(r.x);
        if (std::isfinite(r.lnGamma) && r.lnGamma != 0)
            EXPECT_LE(UlpDistance(LnGamma(r.x), r.lnGamma), 1) << "LnGamma (" << r.x << ")";
        else
            EXPECT_TRUE(SameDouble(LnGamma(r.x), r.lnGamma)) << "LnGamma (" << r.x << ") = " << LnGamma(r.x);
    }
    EXPECT_EQ(Gamma(0.5), SQRTPI);
    EXPECT_LE(UlpDistance(Gamma(-0.5), -2 * SQRTPI), 1);
    const struct {
        double x;
        int s;
    } signs[] = {{-0.5, -1}, {-1.5, 1},       {-2.5, -1},       {3, 1},
                 {-0.0, -1}, {-3e9 - 1.5, 1}, {-3e9 - 0.5, -1}, {-1e300, -1}};
    for (const auto& s : signs) EXPECT_EQ(SgnGamma(s.x), s.s) << s.x;
    EXPECT_EQ(Fact(5), 120);
    EXPECT_EQ(Fact(30), detail::FactorialTableEntry(30));  // the start-up table's rounded product
    EXPECT_EQ(Fact(31), Gamma(32));
    EXPECT_LE(UlpDistance(Fact(31), 8.2228386541779224e33), 1);
    EXPECT_LE(UlpDistance(Fact(170), 7.257415615307999e306), 1);
    EXPECT_EQ(Fact(171), INFINITY);
    EXPECT_TRUE(std::isnan(Fact(-1)));
    EXPECT_TRUE(std::signbit(Fact(-1)));
}

TEST(GammaComplex, LnGammaAgainstScipyOnEverySideOfTheAxis)
{
    for (const CplxGammaRow& r : kLnGammaRows) {
        const TCplx got = LnGamma(r.z);
        if (!std::isfinite(r.expected.Re)) {  // the poles
            EXPECT_TRUE(SameDouble(got.Re, INFINITY) && SameDouble(got.Im, INFINITY)) << r.z.Re;
            continue;
        }
        const double scale = std::max(1.0, std::hypot(r.expected.Re, r.expected.Im));
        EXPECT_TRUE(Near(got, r.expected, 2e-15, scale)) << "LnGamma (" << r.z.Re << ", " << r.z.Im << ")";
    }
    // Poles, the real axis and its negative zero side.
    EXPECT_TRUE(SameDouble(LnGamma(Cplx(-2, 0)).Re, INFINITY));
    EXPECT_TRUE(SameDouble(LnGamma(Cplx(0, 0)).Im, INFINITY));
    EXPECT_TRUE(Near(LnGamma(Cplx(1, 0)), C_ZERO, 1, 2e-18));  // zero within rounding
    EXPECT_TRUE(std::isfinite(LnGamma(Cplx(-2.5, 0)).Re));
    const TCplx above = LnGamma(Cplx(-2.5, 0)), below = LnGamma(Cplx(-2.5, -0.0));
    EXPECT_EQ(above.Re, below.Re);
    EXPECT_EQ(above.Im, -below.Im);
    EXPECT_NEAR(above.Im, -3 * PI, 1e-15);
    // A pole beyond the Integer range, and far left without stepping.
    EXPECT_TRUE(SameDouble(LnGamma(Cplx(-1e12, 0)).Re, INFINITY));
    EXPECT_TRUE(std::isfinite(LnGamma(Cplx(-1e17 - 0.0, 1)).Re));
}

TEST(GammaComplex, GammaAgainstMpmathAndItsLimits)
{
    for (const CplxGammaRow& r : kGammaCplxRows) {
        const TCplx got = Gamma(r.z);
        if (std::isinf(r.expected.Re) || std::isinf(r.expected.Im)) {
            EXPECT_TRUE(SameDouble(got.Re, INFINITY) && SameDouble(got.Im, INFINITY)) << r.z.Re;
            continue;
        }
        EXPECT_TRUE(Near(got, r.expected, 4e-15, std::hypot(r.expected.Re, r.expected.Im)))
            << "Gamma (" << r.z.Re << ", " << r.z.Im << ")";
    }
    EXPECT_LE(UlpDistance(Gamma(Cplx(32, 0)).Re, 8.2228386541779224e33), 2);  // 31!, finite
    EXPECT_EQ(Gamma(Cplx(32, 0)).Im, 0);
    EXPECT_TRUE(SameDouble(Gamma(Cplx(200, 0)).Re, INFINITY));
    EXPECT_TRUE(SameDouble(Gamma(Cplx(-2, 0)).Im, INFINITY));
    const TCplx tiny = Gamma(Cplx(-300.5, 0.5));
    EXPECT_TRUE(tiny.Re == 0 && tiny.Im == 0);
}

TEST(Bessel, I0AndJ0AgainstMpmathTo1e4)
{
    for (const BesselRow& r : kBesselRows) {
        EXPECT_TRUE(Near(BesselJ0(r.z), r.j0, 1e-13, r.j0Scale)) << "J0 (" << r.z.Re << ", " << r.z.Im << ")";
        EXPECT_TRUE(Near(BesselI0(r.z), r.i0, 1e-13, r.i0Scale)) << "I0 (" << r.z.Re << ", " << r.z.Im << ")";
    }
    EXPECT_EQ(BesselI0(C_ZERO).Re, 1);
    EXPECT_EQ(BesselJ0(C_ZERO).Re, 1);
    EXPECT_NEAR(BesselJ0(Cplx(2.404825557695773, 0)).Re, 0, 1e-16);
    EXPECT_NEAR(BesselJ0(Cplx(30, 0)).Re, -0.086367983581040, 1e-14);  // the series alone gave 4.81
}

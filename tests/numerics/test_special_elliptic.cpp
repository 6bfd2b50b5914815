// Complete elliptic integrals, Jacobi's elliptic functions and associated Legendre functions.
#include <cmath>
#include <limits>
#include <string>

#include "SpecialGolden.h"
#include "TestSupport.h"

using namespace tarnel;
using testsupport::ExpectRaise;

namespace {

using namespace specialtest;

class Elliptic : public testsupport::PoolCheck {};

const double kNan = std::numeric_limits<double>::quiet_NaN();

}  // namespace

// K and E against scipy's ellipk and ellipe, to a few units of the mean's rounding; near m = 1 E = (1 − s/2)·K
// loses the digits that s cancels.
TEST_F(Elliptic, CompleteIntegralsAgainstScipy)
{
    EXPECT_NEAR(EllipComplete(0.5), 1.854074677301372, 1e-15);
    for (const EllipRow& r : kEllip) {
        double e = -1;
        const double k = EllipComplete(r.M, MACHEP, e);
        EXPECT_NEAR(k, r.K, 1e-15 * r.K) << r.M;
        EXPECT_NEAR(e, r.E, (r.M > 0.999 ? 1e-12 : 1e-15) * r.E) << r.M;
        EXPECT_EQ(EllipComplete(r.M), k) << r.M;
    }
    double e = 0;
    EXPECT_NEAR(EllipComplete(0.5, MACHEP, e), 1.854074677301372, 1e-15);
    EXPECT_NEAR(e, 1.350643881047676, 1e-15);
    EXPECT_EQ(EllipComplete(0, MACHEP, e), PI / 2);
    EXPECT_EQ(e, PI / 2);
    EXPECT_EQ(EllipComplete(1, MACHEP, e), INF);
    EXPECT_EQ(e, 1);
}

// A tolerance of 0, one below the rounding floor, one below 0 or NaN ends where the mean stops shrinking, with the
// values the floor allows; about a quarter of m in (0, 1) leave a and b one unit apart there.
TEST_F(Elliptic, TolerancesAtOrBelowTheRoundingFloorEnd)
{
    for (int i = 1; i < 400; ++i) {
        const double m = i / 400.0;
        double e0 = 0, e1 = 0;
        const double k = EllipComplete(m, MACHEP, e0);
        for (double tol : {0.0, 1e-40, -1.0, kNan}) {
            EXPECT_NEAR(EllipComplete(m, tol, e1), k, 4e-16 * k) << m << " " << tol;
            EXPECT_NEAR(e1, e0, 4e-16 * e0) << m << " " << tol;
            double sn, cn, dn;
            EllipJacoby(0.7, m, tol, sn, cn, dn);
            EXPECT_TRUE(std::isfinite(sn) && std::isfinite(cn) && std::isfinite(dn)) << m << " " << tol;
        }
    }
}

// sn, cn, dn against mpmath (scipy's ellipj for the first value) over the parameter range, M = 0 and M = 1 included.
TEST_F(Elliptic, JacobiFunctionsAgainstScipy)
{
    double sn, cn, dn;
    EllipJacoby(0.7, 0.3, MACHEP, sn, cn, dn);
    EXPECT_NEAR(sn, 0.6323047763108646, 4e-16);
    EXPECT_NEAR(cn, 0.7747197363269298, 4e-16);
    EXPECT_NEAR(dn, 0.9381136396814302, 4e-16);
    for (const JacobiRow& r : kJacobi) {
        EllipJacoby(r.U, r.M, MACHEP, sn, cn, dn);
        const std::string where = "u=" + std::to_string(r.U) + " m=" + std::to_string(r.M);
        // The argument 2ᴺ·a_N·U carries |U| ulps into the phase.
        const double tol = 4e-15 * std::max(1.0, std::fabs(r.U));
        EXPECT_NEAR(sn, r.Sn, tol) << where;
        EXPECT_NEAR(cn, r.Cn, tol) << where;
        EXPECT_NEAR(dn, r.Dn, tol) << where;
    }
    EllipJacoby(1.25, 0, MACHEP, sn, cn, dn);
    EXPECT_EQ(sn, std::sin(1.25));
    EXPECT_EQ(cn, std::cos(1.25));
    EXPECT_EQ(dn, 1);
    // M = 1 takes 52 steps (and 1075 for Tol 0), far beyond the first 8 of the pooled vectors.
    for (double tol : {MACHEP, 0.0}) {
        EllipJacoby(1.25, 1, tol, sn, cn, dn);
        EXPECT_EQ(sn, std::tanh(1.25));
        EXPECT_EQ(cn, 1 / std::cosh(1.25));
        EXPECT_EQ(dn, cn);
    }
}

// M outside [0, 1], NaN included, raises the range message and leaves the outputs alone.
TEST_F(Elliptic, RangeMessages)
{
    for (double m : {-1e-300, 1.0000000000000002, kNan, -INF, INF}) {
        double e = 7;
        ExpectRaise([&] { EllipComplete(m); }, "EllipComplete: (m < 0) or (1 < m)");
        ExpectRaise([&] { EllipComplete(m, MACHEP, e); }, "EllipComplete: (m < 0) or (1 < m)");
        EXPECT_EQ(e, 7);
        double sn = 7, cn = 7, dn = 7;
        ExpectRaise([&] { EllipJacoby(0.5, m, MACHEP, sn, cn, dn); }, "EllipJacoby: (m < 0) or (1 < m)");
        EXPECT_TRUE(sn == 7 && cn == 7 && dn == 7);
    }
}

// Pₙᵐ(X) against scipy's lpmv (with (−1)ᵐ); NaN outside 0 ≤ M ≤ N, |X| ≤ 1.
TEST_F(Elliptic, LegendreAgainstScipy)
{
    EXPECT_NEAR(LegendreP(3, 2, -0.7), -5.355, 1e-14);
    for (const LegendreRow& r : kLegendre) {
        const double tol = 1e-14 * std::max(1.0, std::fabs(r.P));
        EXPECT_NEAR(LegendreP(r.N, r.M, r.X), r.P, tol) << r.N << " " << r.M << " " << r.X;
        if (r.M == 0) {
            EXPECT_EQ(LegendreP(r.N, r.X), LegendreP(r.N, 0, r.X));
        }
    }
    for (double x : {-0.4, 0.3}) {
        EXPECT_NEAR(LegendreP(2, x), (3 * x * x - 1) / 2, 1e-16);
        EXPECT_NEAR(LegendreP(1, 1, x), -std::sqrt(1 - x * x), 1e-16);
    }
    EXPECT_TRUE(std::isnan(LegendreP(1, 2, 0.5)));
    EXPECT_TRUE(std::isnan(LegendreP(2, -1, 0.5)));
    EXPECT_TRUE(std::isnan(LegendreP(2, 1, 1.5)));
    EXPECT_TRUE(std::isnan(LegendreP(2, 1, kNan)));
}

// The vector form: N + 1 values in one pass, bit for bit those of the scalar form; the messages before Res
// changes.
TEST_F(Elliptic, LegendreIntoVector)
{
    TVec res;
    LegendreP(3, 0.25, res);
    ASSERT_EQ(res.Length(), 4);
    EXPECT_FALSE(res.Complex());
    for (double x : {-1.0, -0.33, 0.0, 0.8}) {
        LegendreP(40, x, res);
        ASSERT_EQ(res.Length(), 41);
        for (int k = 0; k <= 40; ++k) EXPECT_EQ(res[k], LegendreP(k, x)) << k << " " << x;
    }
    LegendreP(0, 0.5, res);
    ASSERT_EQ(res.Length(), 1);
    EXPECT_EQ(res[0], 1);
    LegendreP(2, 1.5, res);
    ASSERT_EQ(res.Length(), 3);
    EXPECT_TRUE(std::isnan(res[0]) && std::isnan(res[2]));

    TVec c;
    c.Size(2, true);
    ExpectRaise([&] { LegendreP(3, 0.5, c); }, "Result = Complex");
    EXPECT_EQ(c.Length(), 2);
    EXPECT_TRUE(c.Complex());
    res.Size(5);
    ExpectRaise([&] { LegendreP(-1, 0.5, res); }, "n < 0");
    EXPECT_EQ(res.Length(), 5);
}

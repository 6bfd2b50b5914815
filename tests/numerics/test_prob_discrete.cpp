// The discrete distributions of Probabilities against scipy.stats (tests/data/gen_prob_discrete_golden.py maps the
// parameters), their values outside the support, coefficients beyond the range of Doubles, and inverses that stop
// for every Y.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ProbGolden.h"
#include "TestSupport.h"

using namespace tarnel;
using namespace probtest;

namespace {

using Fn = std::function<double(double, double, double, double)>;
struct Forms {
    Fn Pdf, Cdf, Inv;
};

int I(double v)
{
    return static_cast<int>(v);
}

const std::map<std::string, Forms>& Table()
{
    static const std::map<std::string, Forms> t = {
        {"Binom",
         {[](double x, double n, double p, double) { return BinomPDF(x, I(n), p); },
          [](double x, double n, double p, double) { return BinomCDF(x, I(n), p); },
          [](double y, double n, double p, double) { return BinomCDFInv(y, I(n), p); }}},
        {"Geometric",
         {[](double x, double p, double, double) { return GeometricPDF(x, p); },
          [](double x, double p, double, double) { return GeometricCDF(x, p); },
          [](double y, double p, double, double) { return GeometricCDFInv(y, p); }}},
        {"HypGeometric",
         {[](double x, double m, double k, double n) { return HypGeometricPDF(I(x), I(m), I(k), I(n)); },
          [](double x, double m, double k, double n) { return HypGeometricCDF(I(x), I(m), I(k), I(n)); },
          [](double y, double m, double k, double n) { return HypGeometricCDFInv(y, I(m), I(k), I(n)); }}},
        {"NegBinom",
         {[](double x, double r, double p, double) { return NegBinomPDF(x, I(r), p); },
          [](double x, double r, double p, double) { return NegBinomCDF(x, I(r), p); },
          [](double y, double r, double p, double) { return NegBinomCDFInv(y, I(r), p); }}},
        {"Poisson",
         {[](double x, double l, double, double) { return PoissonPDF(I(x), l); },
          [](double x, double l, double, double) { return PoissonCDF(x, l); },
          [](double y, double l, double, double) { return PoissonCDFInv(y, l); }}},
        {"UniformD",
         {[](double x, double n, double, double) { return UniformDPDF(x, I(n)); },
          [](double x, double n, double, double) { return UniformDCDF(x, I(n)); },
          [](double y, double n, double, double) { return UniformDCDFInv(y, I(n)); }}},
    };
    return t;
}

TEST(ProbDiscrete, AgainstScipy)
{
    for (const auto& r : kDiscreteRows) {
        const Forms& f = Table().at(r.Name);
        const std::string where = std::string(r.Name) + " at " + std::to_string(r.X) + ", " + std::to_string(r.P1);
        // Large counts go through lnΓ of arguments near 1e5 (the coefficients past N = 1000, the factor of I_P): a few
        // 1e-10 relative. The rows at N = 2000 and λ = 1000 are those that overflowed or underflowed.
        EXPECT_NEAR(f.Pdf(r.X, r.P1, r.P2, r.P3), r.Pdf, 3e-10 * std::fabs(r.Pdf)) << where;
        EXPECT_NEAR(f.Cdf(r.X, r.P1, r.P2, r.P3), r.Cdf, 3e-10 * std::fabs(r.Cdf) + 1e-15) << where;
    }
    for (const auto& r : kDiscreteInvRows)
        EXPECT_EQ(Table().at(r.Name).Inv(r.Y, r.P1, r.P2, r.P3), r.K)
            << r.Name << "CDFInv at " << r.Y << ", " << r.P1 << ", " << r.P2;
}

TEST(ProbDiscrete, OutsideTheSupport)
{
    EXPECT_EQ(BinomPDF(2, 4, 0.5), 0.375);
    EXPECT_EQ(BinomCDF(4, 4, 0.5), 1);
    EXPECT_EQ(BinomCDF(5, 4, 0.5), 1);
    EXPECT_EQ(BinomCDF(-1, 4, 0.5), 0);
    EXPECT_TRUE(std::isnan(BinomPDF(5, 4, 0.5)));
    EXPECT_EQ(GeometricCDF(2.6, 0.5), 0.875);  // floor, not round
    EXPECT_EQ(GeometricCDF(3, 1), 1);
    EXPECT_EQ(GeometricCDF(-2, 0.5), 0);
    EXPECT_EQ(NegBinomCDF(-1, 3, 0.5), 0);
    EXPECT_EQ(NegBinomCDF(INF, 3, 0.5), 1);
    EXPECT_EQ(PoissonCDF(-0.5, 2), 0);
    EXPECT_EQ(PoissonCDF(INF, 2), 1);
    EXPECT_EQ(HypGeometricCDF(-1, 20, 5, 4), 0);
    EXPECT_EQ(HypGeometricCDF(6, 20, 5, 4), 1);
    EXPECT_EQ(UniformDCDF(INF, 5), 1);
    EXPECT_EQ(UniformDCDF(-INF, 5), 0);
    EXPECT_EQ(PoissonPDF(-1, 2), 0);
    for (double x : {NAN}) {
        EXPECT_TRUE(std::isnan(BinomCDF(x, 4, 0.5)));
        EXPECT_TRUE(std::isnan(PoissonCDF(x, 2)));
        EXPECT_TRUE(std::isnan(NegBinomPDF(x, 2, 0.5)));
        EXPECT_TRUE(std::isnan(GeometricCDF(x, 0.5)));
        EXPECT_TRUE(std::isnan(UniformDPDF(x, 3)));
    }
    // PoissonCDF at a non-whole X is Q(k + 1, λ) at once, not 10^15 terms.
    EXPECT_EQ(PoissonCDF(1e15 + 0.5, 3), 1);
    EXPECT_NEAR(PoissonCDF(2, 1), 0.9196986029286058, 1e-15);
    EXPECT_EQ(PoissonCDF(2.7, 1), PoissonCDF(2, 1));
}

TEST(ProbDiscrete, InversesStopForEveryY)
{
    EXPECT_EQ(PoissonCDFInv(1, 1), 1.797693134862315E308);
    EXPECT_TRUE(std::isnan(PoissonCDFInv(NAN, 1)));
    EXPECT_TRUE(std::isnan(NegBinomCDFInv(NAN, 3, 0.5)));
    EXPECT_EQ(NegBinomCDFInv(0.5, 3, 0), INF);
    EXPECT_EQ(NegBinomCDFInv(1, 3, 0.5), INF);
    EXPECT_EQ(GeometricCDFInv(1, 0.5), INF);
    EXPECT_TRUE(std::isnan(GeometricCDFInv(0.5, 0)));
    // Within rounding of 1: the first k whose distribution function rounds to 1.
    const double nearOne = 1 - 0x1p-53;
    const double k = PoissonCDFInv(nearOne, 1000);
    EXPECT_GE(PoissonCDF(k, 1000), nearOne);
    EXPECT_LT(PoissonCDF(k - 1, 1000), nearOne);
    EXPECT_GE(NegBinomCDF(NegBinomCDFInv(nearOne, 4, 0.3), 4, 0.3), nearOne);
    // At exact values of the distribution function the inverse is that k, not one above.
    for (double kk : {0.0, 1.0, 4.0}) {
        EXPECT_EQ(GeometricCDFInv(GeometricCDF(kk, 0.5), 0.5), kk);
        EXPECT_EQ(BinomCDFInv(BinomCDF(kk, 10, 0.3), 10, 0.3), kk);
    }
    EXPECT_EQ(HypGeometricCDFInv(HypGeometricPDF(0, 20, 5, 4), 20, 5, 4), 0);
    EXPECT_EQ(UniformDCDFInv(0.5, 7), 4);
}

TEST(ProbDiscrete, InversesAreTheSmallestCountReachingY)
{
    // The searches start near the quantile and move up or down: against a scan from 0, at every exact value of the
    // distribution function and a Double to either side of it, in both tails and at the mode; P = 1 puts all
    // mass at 0.
    struct Case {
        const char* Name;
        std::function<double(double)> Cdf, Inv;
        double Last;
    };
    const std::vector<Case> cases = {
        {"Binom", [](double k) { return BinomCDF(k, 60, 0.3); }, [](double y) { return BinomCDFInv(y, 60, 0.3); }, 60},
        {"Binom p = 0.97", [](double k) { return BinomCDF(k, 40, 0.97); },
         [](double y) { return BinomCDFInv(y, 40, 0.97); }, 40},
        {"Poisson", [](double k) { return PoissonCDF(k, 25); }, [](double y) { return PoissonCDFInv(y, 25); }, 90},
        {"NegBinom", [](double k) { return NegBinomCDF(k, 5, 0.4); },
         [](double y) { return NegBinomCDFInv(y, 5, 0.4); }, 90},
        {"NegBinom P = 1", [](double k) { return NegBinomCDF(k, 5, 1); },
         [](double y) { return NegBinomCDFInv(y, 5, 1); }, 3},
    };
    for (const auto& c : cases)
        for (double k = 0; k <= c.Last; ++k) {
            const double v = c.Cdf(k);
            if (v >= 1) break;
            for (double y : {std::nextafter(v, 0.0), v, std::nextafter(v, 1.0)}) {
                if (y == 1) continue;  // INF or MaxD by definition
                double want = 0;
                while (c.Cdf(want) < y) ++want;
                EXPECT_EQ(c.Inv(y), want) << c.Name << " at " << y;
            }
        }
}

TEST(ProbDiscrete, OccupationFunctions)
{
    EXPECT_NEAR(BoseEinsteinPDF(1, 2), 1 / std::expm1(2.0), 1e-16);
    EXPECT_EQ(FermiDiracPDF(2, 1, -2), 0.5);
    EXPECT_NEAR(FermiDiracPDF(1, 2, 1), 1 / (std::exp(3.0) + 1), 1e-16);
}

}  // namespace

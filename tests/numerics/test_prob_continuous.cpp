// The continuous distributions of Probabilities against scipy.stats (tests/data/gen_prob_dist_golden.py maps the
// parameters), their values at the ends of the support and beyond, and the Newton inverses at their end points.
#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "ProbGolden.h"
#include "TestSupport.h"

using namespace tarnel;
using namespace probtest;

namespace {

using Fn = std::function<double(double, double, double)>;
struct Forms {
    Fn Pdf, Cdf, Inv;
};

// The scalar form among the overloads.
double (*S3(double (*f)(double, double, double)))(double, double, double)
{
    return f;
}

int I(double v)
{
    return static_cast<int>(v);
}

const std::map<std::string, Forms>& Table()
{
    static const std::map<std::string, Forms> t = {
        {"Beta", {S3(BetaPDF), S3(BetaCDF), S3(BetaCDFInv)}},
        {"Cauchy", {S3(CauchyPDF), S3(CauchyCDF), S3(CauchyCDFInv)}},
        {"ChiSquare",
         {[](double x, double n, double) { return ChiSquarePDF(x, n); },
          [](double x, double n, double) { return ChiSquareCDF(x, I(n)); },
          [](double p, double n, double) { return ChiSquareCDFInv(p, I(n)); }}},
        {"Exp",
         {[](double x, double m, double) { return ExpPDF(x, m); },
          [](double x, double m, double) { return ExpCDF(x, m); },
          [](double p, double m, double) { return ExpCDFInv(p, m); }}},
        {"F",
         {[](double x, double a, double b) { return FPDF(x, I(a), I(b)); },
          [](double x, double a, double b) { return FCDF(x, I(a), I(b)); },
          [](double p, double a, double b) { return FCDFInv(p, I(a), I(b)); }}},
        {"Gamma", {S3(GammaPDF), S3(GammaCDF), S3(GammaCDFInv)}},
        {"LogNormal", {S3(LogNormalPDF), S3(LogNormalCDF), S3(LogNormalCDFInv)}},
        {"Maxwell",
         {[](double x, double a, double) { return MaxwellPDF(x, a); },
          [](double x, double a, double) { return MaxwellCDF(x, a); },
          [](double p, double a, double) { return MaxwellCDFInv(p, a); }}},
        {"Normal", {S3(NormalPDF), S3(NormalCDF), S3(NormalCDFInv)}},
        {"Pareto", {S3(ParetoPDF), S3(ParetoCDF), S3(ParetoCDFInv)}},
        {"Rayleigh",
         {[](double x, double b, double) { return RayleighPDF(x, b); },
          [](double x, double b, double) { return RayleighCDF(x, b); },
          [](double p, double b, double) { return RayleighCDFInv(p, b); }}},
        {"Student",
         {[](double x, double n, double) { return StudentPDF(x, I(n)); },
          [](double x, double n, double) { return StudentCDF(x, I(n)); },
          [](double p, double n, double) { return StudentCDFInv(p, I(n)); }}},
        {"Uniform", {S3(UniformPDF), S3(UniformCDF), S3(UniformCDFInv)}},
        {"Weibull", {S3(WeibullPDF), S3(WeibullCDF), S3(WeibullCDFInv)}},
    };
    return t;
}

TEST(ProbContinuous, AgainstScipy)
{
    for (const auto& r : kDistRows) {
        const Forms& f = Table().at(r.Name);
        const std::string where = std::string(r.Name) + " at " + std::to_string(r.X);
        EXPECT_NEAR(f.Pdf(r.X, r.P1, r.P2), r.Pdf, 1e-12 * std::fabs(r.Pdf)) << where;
        // Lower tails are as accurate as 1 + Erf and 1 − Q allow: compared absolutely.
        EXPECT_NEAR(f.Cdf(r.X, r.P1, r.P2), r.Cdf, 1e-12 * std::fabs(r.Cdf) + 1e-15) << where;
    }
    for (const auto& r : kInvRows) {
        const std::string where = std::string(r.Name) + "CDFInv at " + std::to_string(r.P) + ", " +
                                  std::to_string(r.P1) + ", " + std::to_string(r.P2);
        SCOPED_TRACE(where);
        EXPECT_NEAR(Table().at(r.Name).Inv(r.P, r.P1, r.P2), r.X, 1e-8 * std::fabs(r.X) + 1e-14) << where;
    }
}

TEST(ProbContinuous, SupportEndsAndInfiniteArguments)
{
    // Every distribution function is 0 at −INF (or below its support) and 1 at +INF.
    struct Case {
        const char* Name;
        double P1, P2, Below;
    };
    const Case cases[] = {{"Beta", 2, 3, -0.5},    {"Cauchy", 1, 0, -INF}, {"ChiSquare", 3, 0, -1},
                          {"Exp", 2, 0, -1},       {"F", 3, 5, -1},        {"Gamma", 2, 1, -1},
                          {"LogNormal", 0, 1, -1}, {"Maxwell", 2, 0, -1},  {"Normal", 0, 1, -INF},
                          {"Pareto", 2, 3, 2.5},   {"Rayleigh", 1, 0, -1}, {"Student", 4, 0, -INF},
                          {"Uniform", 0, 1, -1},   {"Weibull", 1, 2, -1}};
    for (const auto& c : cases) {
        const Forms& f = Table().at(c.Name);
        EXPECT_EQ(f.Cdf(INF, c.P1, c.P2), 1) << c.Name;
        EXPECT_EQ(f.Cdf(c.Below, c.P1, c.P2), 0) << c.Name;
        EXPECT_EQ(f.Cdf(-INF, c.P1, c.P2), 0) << c.Name;
        EXPECT_TRUE(std::isnan(f.Cdf(NAN, c.P1, c.P2))) << c.Name;
        EXPECT_TRUE(std::isnan(f.Pdf(NAN, c.P1, c.P2))) << c.Name;
        EXPECT_TRUE(std::isnan(f.Inv(NAN, c.P1, c.P2))) << c.Name;
    }
    // The densities at the ends of the support are their limits.
    EXPECT_EQ(BetaPDF(0, 1, 3.5), 3.5);
    EXPECT_EQ(BetaPDF(1, 2.5, 1), 2.5);
    EXPECT_EQ(BetaPDF(0, 0.5, 2), INF);
    EXPECT_EQ(BetaPDF(1, 2, 3), 0);
    EXPECT_EQ(FPDF(0, 2, 7), 1);
    EXPECT_EQ(FPDF(0, 1, 7), INF);
    EXPECT_EQ(FPDF(0, 3, 7), 0);
    EXPECT_EQ(GammaPDF(0, 0.5, -1), INF);  // tested before the parameters
    EXPECT_EQ(GammaPDF(0, 1, 4), 0.25);
    EXPECT_EQ(WeibullPDF(0, 3, 1), 3);
    EXPECT_EQ(ExpPDF(-1, 2), 0);
    EXPECT_TRUE(std::isnan(ExpPDF(1, 0)));
    EXPECT_EQ(NormalCDF(0, 0, 1), 0.5);
    EXPECT_EQ(StudentCDF(0, 5), 0.5);
    EXPECT_TRUE(std::isnan(ChiSquareCDF(1, 0)));
    EXPECT_TRUE(std::isnan(UniformPDF(0.5, 1, 1)));
    EXPECT_TRUE(std::isnan(ParetoPDF(1, 2, 3)));
}

TEST(ProbContinuous, InversesAtTheirEnds)
{
    // The Newton inverses return at the end points instead of starting from exp(INF) or 0/0.
    EXPECT_EQ(GammaCDFInv(0, 2, 3), 0);
    EXPECT_EQ(GammaCDFInv(1, 2, 3), INF);
    EXPECT_EQ(ChiSquareCDFInv(0, 4), 0);
    EXPECT_EQ(MaxwellCDFInv(0, 2), 0);
    EXPECT_EQ(MaxwellCDFInv(1, 2), INF);
    EXPECT_EQ(BetaCDFInv(0, 2, 3), 0);
    EXPECT_EQ(BetaCDFInv(1, 2, 3), 1);
    EXPECT_NEAR(BetaCDFInv(0.5, 2, 2), 0.5, 1e-12);
    EXPECT_EQ(NormalCDFInv(0, 0, 1), -INF);
    EXPECT_EQ(NormalCDFInv(1, 0, 1), INF);
    EXPECT_NEAR(NormalCDFInv(0.975, 0, 1), 1.959963984540054, 1e-12);
    EXPECT_EQ(StudentCDFInv(1, 5), 1.797693134862315E308);
    EXPECT_EQ(StudentCDFInv(0, 5), -1.797693134862315E308);
    EXPECT_EQ(FCDFInv(1, 3, 4), INF);
    EXPECT_EQ(FCDFInv(0, 3, 4), 0);
    EXPECT_EQ(WeibullCDFInv(0, 1, 2), 0);
    for (double p : {-0.1, 1.1}) {
        EXPECT_TRUE(std::isnan(GammaCDFInv(p, 2, 3)));
        EXPECT_TRUE(std::isnan(BetaCDFInv(p, 2, 3)));
        EXPECT_TRUE(std::isnan(ExpCDFInv(p, 2)));
        EXPECT_TRUE(std::isnan(FCDFInv(p, 2, 3)));
    }
    // Round trips through the distribution functions.
    for (double x : {0.2, 1.0, 4.0}) {
        EXPECT_NEAR(MaxwellCDFInv(MaxwellCDF(x, 1.5), 1.5), x, 1e-9 * x);
        EXPECT_NEAR(GammaCDFInv(GammaCDF(x, 0.7, 2), 0.7, 2), x, 1e-9 * x);
    }
}

}  // namespace

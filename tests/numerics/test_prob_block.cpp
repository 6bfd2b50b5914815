// The block-computed vector forms of Probabilities: every form against its scalar routine on 10^5 random
// arguments and at the arguments where the scalar has rules of its own, X = Res, views and a walk of the caller
// across several blocks, the empty vector, complex input and "mu <= 0" refused with Res untouched.
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "ProbVectorTest.h"
#include "TestSupport.h"

using namespace tarnel;
using probtest::Fill;

namespace {

class ProbBlock : public testsupport::PoolCheck {};

struct Form {
    const char* Name;
    std::function<void(const TVec&, TVec&)> Vec;
    std::function<double(double)> One;
    // The random arguments: where the formula's exponentials see arguments of at most about 20 (their rounding
    // grows with the argument, in either form).
    double Lo, Hi;
    // |block − scalar| ≤ 1e-14·(|scalar| + Scale): 0 for densities (relative), the size of the values where a
    // formula loses relative accuracy as it nears 0 (1 − e^−t, ln(1 − P)) or a pole (the Cauchy quantile).
    double Scale;
    const char* Message;
};

const std::vector<Form>& Forms()
{
    static const char* X = " X.Complex = true ";
    static const char* P = " P.Complex = true ";
    static const std::vector<Form> f = {
        {"BoseEinsteinPDF", [](const TVec& x, TVec& r) { BoseEinsteinPDF(x, 1.5, r); },
         [](double x) { return BoseEinsteinPDF(x, 1.5); }, -20, 20, 0, X},
        {"CauchyPDF", [](const TVec& x, TVec& r) { CauchyPDF(x, 2, -1, r); },
         [](double x) { return CauchyPDF(x, 2, -1); }, -50, 50, 0, X},
        {"CauchyCDF", [](const TVec& x, TVec& r) { CauchyCDF(x, 2, -1, r); },
         [](double x) { return CauchyCDF(x, 2, -1); }, -50, 50, 1, X},
        // tan near its poles: the argument's rounding grows by 1/(2·min(P, 1 − P)), up to 32 before the tails.
        {"CauchyCDFInv", [](const TVec& x, TVec& r) { CauchyCDFInv(x, 2, -1, r); },
         [](double p) { return CauchyCDFInv(p, 2, -1); }, 0, 1, 100, P},
        {"ExpPDF", [](const TVec& x, TVec& r) { ExpPDF(x, 2, r); }, [](double x) { return ExpPDF(x, 2); }, -5, 40, 0,
         X},
        {"ExpCDF", [](const TVec& x, TVec& r) { ExpCDF(x, 2, r); }, [](double x) { return ExpCDF(x, 2); }, -5, 40, 1,
         X},
        {"ExpCDFInv", [](const TVec& x, TVec& r) { ExpCDFInv(x, 2, r); }, [](double p) { return ExpCDFInv(p, 2); }, 0,
         1, 2, P},
        {"FPDF", [](const TVec& x, TVec& r) { FPDF(x, 5, 8, r); }, [](double x) { return FPDF(x, 5, 8); }, -1, 8, 0, X},
        {"FermiDiracPDF", [](const TVec& x, TVec& r) { FermiDiracPDF(x, 2, -3, r); },
         [](double x) { return FermiDiracPDF(x, 2, -3); }, -10, 10, 0, X},
        {"LogNormalPDF", [](const TVec& x, TVec& r) { LogNormalPDF(x, 0.2, 0.7, r); },
         [](double x) { return LogNormalPDF(x, 0.2, 0.7); }, 0.02, 12, 0, X},
        {"MaxwellPDF", [](const TVec& x, TVec& r) { MaxwellPDF(x, 1.5, r); },
         [](double x) { return MaxwellPDF(x, 1.5); }, -1, 5, 0, X},
        {"NormalPDF", [](const TVec& x, TVec& r) { NormalPDF(x, 1, 2, r); },
         [](double x) { return NormalPDF(x, 1, 2); }, -9, 11, 0, X},
        {"ParetoPDF", [](const TVec& x, TVec& r) { ParetoPDF(x, 2.5, 1.5, r); },
         [](double x) { return ParetoPDF(x, 2.5, 1.5); }, 0, 30, 0, X},
        {"ParetoCDF", [](const TVec& x, TVec& r) { ParetoCDF(x, 2.5, 1.5, r); },
         [](double x) { return ParetoCDF(x, 2.5, 1.5); }, 0, 30, 1, X},
        {"ParetoCDFInv", [](const TVec& x, TVec& r) { ParetoCDFInv(x, 2.5, 1.5, r); },
         [](double p) { return ParetoCDFInv(p, 2.5, 1.5); }, 0, 1, 0, P},
        {"RayleighPDF", [](const TVec& x, TVec& r) { RayleighPDF(x, 1.5, r); },
         [](double x) { return RayleighPDF(x, 1.5); }, -1, 8, 0, X},
        {"RayleighCDF", [](const TVec& x, TVec& r) { RayleighCDF(x, 1.5, r); },
         [](double x) { return RayleighCDF(x, 1.5); }, -1, 8, 1, X},
        {"RayleighCDFInv", [](const TVec& x, TVec& r) { RayleighCDFInv(x, 1.5, r); },
         [](double p) { return RayleighCDFInv(p, 1.5); }, 0, 1, 1.5, P},
        {"UniformPDF", [](const TVec& x, TVec& r) { UniformPDF(x, -1, 3, r); },
         [](double x) { return UniformPDF(x, -1, 3); }, -3, 5, 0, X},
        {"UniformCDF", [](const TVec& x, TVec& r) { UniformCDF(x, -1, 3, r); },
         [](double x) { return UniformCDF(x, -1, 3); }, -3, 5, 1, X},
        {"UniformCDFInv", [](const TVec& x, TVec& r) { UniformCDFInv(x, -1, 3, r); },
         [](double p) { return UniformCDFInv(p, -1, 3); }, -0.5, 1.5, 1, P},
        {"WeibullPDF", [](const TVec& x, TVec& r) { WeibullPDF(x, 0.8, 1.7, r); },
         [](double x) { return WeibullPDF(x, 0.8, 1.7); }, -1, 4, 0, X},
        {"WeibullCDF", [](const TVec& x, TVec& r) { WeibullCDF(x, 0.8, 1.7, r); },
         [](double x) { return WeibullCDF(x, 0.8, 1.7); }, -1, 6, 1, X},
        {"WeibullCDFInv", [](const TVec& x, TVec& r) { WeibullCDFInv(x, 0.8, 1.7, r); },
         [](double p) { return WeibullCDFInv(p, 0.8, 1.7); }, 0, 1, 1, P},
    };
    return f;
}

// Block against scalar at one argument; NaN and the infinities exactly.
::testing::AssertionResult Agrees(double Got, double Want, double Scale)
{
    if (std::isnan(Want) ? std::isnan(Got) : Got == Want) return ::testing::AssertionSuccess();
    if (std::isfinite(Want) && std::fabs(Got - Want) <= 1e-14 * (std::fabs(Want) + Scale))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "block " << Got << ", scalar " << Want;
}

// The arguments at which the scalar routines have rules: the ends of the supports and of [0, 1], the parameters
// used above as minimum and bounds, values just beside them, and the non-finite ones.
const std::vector<double> kEdges = {-INF, -3, -1, -0.0, 0, 1e-8, 0.5, 1, 1 + 1e-15, 1.5, 3, 1e300, INF, NAN};

TEST_F(ProbBlock, EveryFormAgreesWithItsScalarOnRandomAndEdgeArguments)
{
    std::mt19937_64 gen(35);
    for (const auto& f : Forms()) {
        std::uniform_real_distribution<double> u(f.Lo, f.Hi);
        std::vector<double> in(100000);
        for (double& v : in) v = u(gen);
        in.insert(in.end(), kEdges.begin(), kEdges.end());
        TVec x, res;
        Fill(x, in);
        f.Vec(x, res);
        ASSERT_EQ(res.Length(), x.Length()) << f.Name;
        EXPECT_FALSE(res.Complex()) << f.Name;
        int failures = 0;
        for (std::size_t i = 0; i < in.size() && failures < 5; ++i) {
            const auto ok = Agrees(res.Values()[i], f.One(in[i]), f.Scale);
            if (!ok) ++failures;
            EXPECT_TRUE(ok) << f.Name << " at " << in[i];
        }
    }
}

TEST_F(ProbBlock, TheScalarsArgumentRulesHold)
{
    // Each a value the formula alone gets wrong: outside the support, at its ends and at the ends of [0, 1].
    struct Case {
        const char* Name;
        std::function<void(const TVec&, TVec&)> Vec;
        double X, Want;
    };
    const std::vector<Case> cases = {
        {"ExpPDF", [](const TVec& x, TVec& r) { ExpPDF(x, 2, r); }, -1, 0},  // the formula gives e^0.5/2
        {"ExpCDFInv", [](const TVec& x, TVec& r) { ExpCDFInv(x, 2, r); }, -0.5, NAN},
        {"UniformPDF", [](const TVec& x, TVec& r) { UniformPDF(x, 0, 2, r); }, 5, 0},
        {"UniformPDF", [](const TVec& x, TVec& r) { UniformPDF(x, 0, 2, r); }, 2, 0.5},
        {"UniformCDF", [](const TVec& x, TVec& r) { UniformCDF(x, 0, 2, r); }, -1, 0},
        {"UniformCDF", [](const TVec& x, TVec& r) { UniformCDF(x, 0, 2, r); }, 3, 1},
        {"UniformCDFInv", [](const TVec& x, TVec& r) { UniformCDFInv(x, 0, 2, r); }, 1.5, NAN},
        {"RayleighPDF", [](const TVec& x, TVec& r) { RayleighPDF(x, 1, r); }, -1, NAN},
        {"RayleighCDF", [](const TVec& x, TVec& r) { RayleighCDF(x, 1, r); }, -2, 0},
        {"RayleighCDFInv", [](const TVec& x, TVec& r) { RayleighCDFInv(x, 1, r); }, 1, INF},
        {"WeibullCDF", [](const TVec& x, TVec& r) { WeibullCDF(x, 1, 2, r); }, -2, 0},  // (−2)² in the formula
        {"WeibullPDF", [](const TVec& x, TVec& r) { WeibullPDF(x, 3, 1, r); }, 0, 3},   // 0^0 in the formula
        {"WeibullCDFInv", [](const TVec& x, TVec& r) { WeibullCDFInv(x, 1, 3, r); }, 0, 0},
        {"ParetoPDF", [](const TVec& x, TVec& r) { ParetoPDF(x, 2, 1.5, r); }, 1, NAN},
        {"ParetoCDF", [](const TVec& x, TVec& r) { ParetoCDF(x, 2, 1.5, r); }, 1, 0},
        {"ParetoCDF", [](const TVec& x, TVec& r) { ParetoCDF(x, 2, 1.5, r); }, 1.5, 0},
        {"ParetoCDFInv", [](const TVec& x, TVec& r) { ParetoCDFInv(x, 2, 1.5, r); }, 1, INF},
        {"LogNormalPDF", [](const TVec& x, TVec& r) { LogNormalPDF(x, 0, 1, r); }, 0, NAN},
        {"MaxwellPDF", [](const TVec& x, TVec& r) { MaxwellPDF(x, 1, r); }, INF, 0},  // INF·0 in the formula
        {"FPDF", [](const TVec& x, TVec& r) { FPDF(x, 2, 5, r); }, 0, 1},             // 0^0 in the formula
        {"FPDF", [](const TVec& x, TVec& r) { FPDF(x, 4, 5, r); }, -2, 0},
        {"CauchyCDFInv", [](const TVec& x, TVec& r) { CauchyCDFInv(x, 1, 0, r); }, 1, INF},
        {"CauchyCDFInv", [](const TVec& x, TVec& r) { CauchyCDFInv(x, 1, 0, r); }, 0, -INF},
        // Tiny P and X, where 1 − P and 1 − e^−t round to 1 and the formula gives 0.
        {"ExpCDFInv", [](const TVec& x, TVec& r) { ExpCDFInv(x, 2, r); }, 1e-20, 2e-20},
        {"RayleighCDFInv", [](const TVec& x, TVec& r) { RayleighCDFInv(x, 1, r); }, 2e-20, 2e-10},
        {"ExpCDF", [](const TVec& x, TVec& r) { ExpCDF(x, 2, r); }, 1e-20, 5e-21},
        // 0^1.5·0 and INF·0 far in the tail, where the two powers overflow.
        {"FPDF", [](const TVec& x, TVec& r) { FPDF(x, 5, 8, r); }, 1e300, 0},
        // e^x − 1 at and near x = 0, where the reciprocal's threshold would give MaxD.
        {"BoseEinsteinPDF", [](const TVec& x, TVec& r) { BoseEinsteinPDF(x, 2, r); }, 0, INF},
        {"BoseEinsteinPDF", [](const TVec& x, TVec& r) { BoseEinsteinPDF(x, 2, r); }, 1e-300, 5e299},
    };
    for (const auto& c : cases) {
        TVec x, res;
        Fill(x, {c.X});
        c.Vec(x, res);
        EXPECT_TRUE(Agrees(res.Values()[0], c.Want, 0) || std::fabs(res.Values()[0] / c.Want - 1) < 1e-15)
            << c.Name << " at " << c.X;
    }
    // NormalPDF at (−1, 0, 1) with Mu 0 and Sigma 1: the density's values.
    TVec x, res;
    Fill(x, {-1, 0, 1});
    NormalPDF(x, 0, 1, res);
    EXPECT_NEAR(res.Values()[0], 0.24197072451914337, 1e-16);
    EXPECT_NEAR(res.Values()[1], 0.3989422804014327, 1e-16);
    EXPECT_EQ(res.Values()[2], res.Values()[0]);
}

TEST_F(ProbBlock, SelfViewsAndACallersWalkAcrossBlocks)
{
    // 2500 elements: three full blocks of 800 and a short one.
    std::vector<double> in(2500);
    for (std::size_t i = 0; i < in.size(); ++i) in[i] = -1 + 0.0041 * static_cast<double>(i);
    for (const auto& f : Forms()) {
        TVec whole, want;
        Fill(whole, in);
        f.Vec(whole, want);

        // X = Res.
        TVec x;
        Fill(x, in);
        f.Vec(x, x);
        for (std::size_t i = 0; i < in.size(); ++i) ASSERT_TRUE(Agrees(x.Values()[i], want.Values()[i], 0)) << f.Name;

        // X a view of the tail, Res a view that overlaps it, shifted by one block and a bit.
        TVec base, xv, rv;
        Fill(base, in);
        base.Resize(3400);
        xv.SetSubRange(base, 900, 2500);
        rv.SetSubRange(base, 37, 2500);
        Fill(whole, std::vector<double>(base.Values() + 900, base.Values() + 3400));
        f.Vec(whole, want);
        f.Vec(xv, rv);
        xv.SetFullRange();
        rv.SetFullRange();
        for (int i = 0; i < 2500; ++i) ASSERT_TRUE(Agrees(base.Values()[37 + i], want.Values()[i], 0)) << f.Name;

        // Inside a walk the caller has open on X and on Res: each of the caller's blocks is one call.
        TVec src, dst;
        Fill(src, in);
        Fill(dst, std::vector<double>(in.size(), 0.0));
        Fill(whole, in);
        f.Vec(whole, want);
        src.BlockInit(700);
        dst.BlockInit(700);
        while (!src.BlockEnd()) {
            f.Vec(src, dst);
            src.BlockNext();
            dst.BlockNext();
        }
        ASSERT_EQ(dst.Length(), 2500) << f.Name;
        for (int i = 0; i < 2500; ++i) ASSERT_TRUE(Agrees(dst.Values()[i], want.Values()[i], 0)) << f.Name;
    }
}

TEST_F(ProbBlock, EmptyVectorsComplexInputAndMu)
{
    for (const auto& f : Forms()) probtest::ExpectEmptyAndComplexRules(f.Vec, f.Message, f.Name);
    // Mu ≤ 0 is refused by the density and the distribution function, not by the inverse.
    const std::vector<std::function<void(const TVec&, double, TVec&)>> refusing = {
        [](const TVec& x, double mu, TVec& r) { ExpPDF(x, mu, r); },
        [](const TVec& x, double mu, TVec& r) { ExpCDF(x, mu, r); }};
    for (const auto& form : refusing)
        for (double mu : {0.0, -2.0}) {
            TVec x, res;
            Fill(x, {1, 2, 3});
            Fill(res, {7});
            testsupport::ExpectRaise([&] { form(x, mu, res); }, "mu <= 0");
            EXPECT_EQ(res.Length(), 1);
            EXPECT_EQ(res.Values()[0], 7);
        }
    TVec p, res;
    Fill(p, {0.5});
    ExpCDFInv(p, 0, res);
    EXPECT_EQ(res.Values()[0], 0);
}

}  // namespace

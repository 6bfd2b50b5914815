// The element-by-element vector forms of Probabilities: every form against its scalar routine (the parameters
// forwarded in order), X = Res and views, the empty vector, complex input refused with Res untouched, and the
// forms with rules of their own (FCDFInv over degrees of freedom, PoissonPDF at non-whole X).
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "ProbVectorTest.h"
#include "TestSupport.h"

using namespace tarnel;
using probtest::Fill;

namespace {

class ProbVector : public testsupport::PoolCheck {};

using VecForm = std::function<void(const TVec&, TVec&)>;
using Scalar = std::function<double(double)>;
struct Form {
    const char* Name;
    VecForm Vec;
    Scalar One;
    bool Inverse;  // takes probabilities
    const char* Message;
};

// A count as the vector forms take it: truncated, held at the ends of the Integers.
int Held(double x)
{
    return x >= 2147483647.0 ? 2147483647 : x <= -2147483648.0 ? -2147483647 - 1 : static_cast<int>(x);
}

const std::vector<Form>& Forms()
{
    static const char* X = " X.Complex = true ";
    static const char* Y = " Y.Complex = true ";
    static const char* P = " P.Complex = true ";
    static const std::vector<Form> f = {
        {"BetaPDF", [](const TVec& x, TVec& r) { BetaPDF(x, 2, 3, r); }, [](double x) { return BetaPDF(x, 2, 3); },
         false, X},
        {"BetaCDF", [](const TVec& x, TVec& r) { BetaCDF(x, 2, 3, r); }, [](double x) { return BetaCDF(x, 2, 3); },
         false, X},
        {"BetaCDFInv", [](const TVec& x, TVec& r) { BetaCDFInv(x, 2, 3, r); },
         [](double x) { return BetaCDFInv(x, 2, 3); }, true, X},
        {"BinomPDF", [](const TVec& x, TVec& r) { BinomPDF(x, 9, 0.3, r); },
         [](double x) { return BinomPDF(x, 9, 0.3); }, false, X},
        {"BinomCDF", [](const TVec& x, TVec& r) { BinomCDF(x, 9, 0.3, r); },
         [](double x) { return BinomCDF(x, 9, 0.3); }, false, X},
        {"BinomCDFInv", [](const TVec& x, TVec& r) { BinomCDFInv(x, 9, 0.3, r); },
         [](double x) { return BinomCDFInv(x, 9, 0.3); }, true, Y},
        {"ChiSquarePDF", [](const TVec& x, TVec& r) { ChiSquarePDF(x, 3.5, r); },
         [](double x) { return ChiSquarePDF(x, 3.5); }, false, X},
        {"ChiSquareCDF", [](const TVec& x, TVec& r) { ChiSquareCDF(x, 3, r); },
         [](double x) { return ChiSquareCDF(x, 3); }, false, X},
        {"ChiSquareCDFInv", [](const TVec& x, TVec& r) { ChiSquareCDFInv(x, 3, r); },
         [](double x) { return ChiSquareCDFInv(x, 3); }, true, P},
        {"FCDF", [](const TVec& x, TVec& r) { FCDF(x, 3, 7, r); }, [](double x) { return FCDF(x, 3, 7); }, false, X},
        {"GammaPDF", [](const TVec& x, TVec& r) { GammaPDF(x, 2.5, 0.5, r); },
         [](double x) { return GammaPDF(x, 2.5, 0.5); }, false, X},
        {"GammaCDF", [](const TVec& x, TVec& r) { GammaCDF(x, 2.5, 0.5, r); },
         [](double x) { return GammaCDF(x, 2.5, 0.5); }, false, X},
        {"GammaCDFInv", [](const TVec& x, TVec& r) { GammaCDFInv(x, 2.5, 0.5, r); },
         [](double x) { return GammaCDFInv(x, 2.5, 0.5); }, true, P},
        {"GeometricPDF", [](const TVec& x, TVec& r) { GeometricPDF(x, 0.3, r); },
         [](double x) { return GeometricPDF(x, 0.3); }, false, X},
        {"GeometricCDF", [](const TVec& x, TVec& r) { GeometricCDF(x, 0.3, r); },
         [](double x) { return GeometricCDF(x, 0.3); }, false, X},
        {"GeometricCDFInv", [](const TVec& x, TVec& r) { GeometricCDFInv(x, 0.3, r); },
         [](double x) { return GeometricCDFInv(x, 0.3); }, true, Y},
        {"HypGeometricPDF", [](const TVec& x, TVec& r) { HypGeometricPDF(x, 30, 8, 10, r); },
         [](double x) { return std::isnan(x) ? NAN : HypGeometricPDF(Held(x), 30, 8, 10); }, false, X},
        {"HypGeometricCDF", [](const TVec& x, TVec& r) { HypGeometricCDF(x, 30, 8, 10, r); },
         [](double x) { return std::isnan(x) ? NAN : HypGeometricCDF(Held(x), 30, 8, 10); }, false, X},
        {"HypGeometricCDFInv", [](const TVec& x, TVec& r) { HypGeometricCDFInv(x, 30, 8, 10, r); },
         [](double x) { return HypGeometricCDFInv(x, 30, 8, 10); }, true, P},
        {"LogNormalCDF", [](const TVec& x, TVec& r) { LogNormalCDF(x, 0.2, 0.7, r); },
         [](double x) { return LogNormalCDF(x, 0.2, 0.7); }, false, X},
        {"LogNormalCDFInv", [](const TVec& x, TVec& r) { LogNormalCDFInv(x, 0.2, 0.7, r); },
         [](double x) { return LogNormalCDFInv(x, 0.2, 0.7); }, true, P},
        {"MaxwellCDF", [](const TVec& x, TVec& r) { MaxwellCDF(x, 1.5, r); },
         [](double x) { return MaxwellCDF(x, 1.5); }, false, X},
        {"MaxwellCDFInv", [](const TVec& x, TVec& r) { MaxwellCDFInv(x, 1.5, r); },
         [](double x) { return MaxwellCDFInv(x, 1.5); }, true, P},
        {"NegBinomPDF", [](const TVec& x, TVec& r) { NegBinomPDF(x, 4, 0.4, r); },
         [](double x) { return NegBinomPDF(x, 4, 0.4); }, false, X},
        {"NegBinomCDF", [](const TVec& x, TVec& r) { NegBinomCDF(x, 4, 0.4, r); },
         [](double x) { return NegBinomCDF(x, 4, 0.4); }, false, X},
        {"NegBinomCDFInv", [](const TVec& x, TVec& r) { NegBinomCDFInv(x, 4, 0.4, r); },
         [](double x) { return NegBinomCDFInv(x, 4, 0.4); }, true, Y},
        {"NormalCDF", [](const TVec& x, TVec& r) { NormalCDF(x, 1, 2, r); },
         [](double x) { return NormalCDF(x, 1, 2); }, false, X},
        {"NormalCDFInv", [](const TVec& x, TVec& r) { NormalCDFInv(x, 1, 2, r); },
         [](double x) { return NormalCDFInv(x, 1, 2); }, true, P},
        {"PoissonCDF", [](const TVec& x, TVec& r) { PoissonCDF(x, 3.5, r); },
         [](double x) { return PoissonCDF(x, 3.5); }, false, X},
        {"PoissonCDFInv", [](const TVec& x, TVec& r) { PoissonCDFInv(x, 3.5, r); },
         [](double x) { return PoissonCDFInv(x, 3.5); }, true, P},
        {"StudentPDF", [](const TVec& x, TVec& r) { StudentPDF(x, 5, r); }, [](double x) { return StudentPDF(x, 5); },
         false, X},
        {"StudentCDF", [](const TVec& x, TVec& r) { StudentCDF(x, 5, r); }, [](double x) { return StudentCDF(x, 5); },
         false, X},
        {"StudentCDFInv", [](const TVec& x, TVec& r) { StudentCDFInv(x, 5, r); },
         [](double x) { return StudentCDFInv(x, 5); }, true, P},
        {"UniformDPDF", [](const TVec& x, TVec& r) { UniformDPDF(x, 6, r); },
         [](double x) { return UniformDPDF(x, 6); }, false, X},
        {"UniformDCDF", [](const TVec& x, TVec& r) { UniformDCDF(x, 6, r); },
         [](double x) { return UniformDCDF(x, 6); }, false, X},
        {"UniformDCDFInv", [](const TVec& x, TVec& r) { UniformDCDFInv(x, 6, r); },
         [](double x) { return UniformDCDFInv(x, 6); }, true, P},
    };
    return f;
}

void ExpectSameBits(double Got, double Want, const std::string& Where)
{
    if (std::isnan(Want))
        EXPECT_TRUE(std::isnan(Got)) << Where;
    else
        EXPECT_EQ(Got, Want) << Where;
}

TEST_F(ProbVector, EveryFormAgreesWithItsScalar)
{
    const std::vector<double> xs = {-1, 0, 0.4, 1, 2, 2.5, 3, 7, INF, NAN};
    const std::vector<double> ps = {0, 1e-5, 0.2, 0.5, 0.9, 1, NAN, -0.1};
    for (const auto& f : Forms()) {
        const std::vector<double>& in = f.Inverse ? ps : xs;
        TVec x, res;
        Fill(x, in);
        f.Vec(x, res);
        ASSERT_EQ(res.Length(), x.Length()) << f.Name;
        EXPECT_FALSE(res.Complex()) << f.Name;
        for (std::size_t i = 0; i < in.size(); ++i)
            ExpectSameBits(res.Values()[i], f.One(in[i]), std::string(f.Name) + " at " + std::to_string(in[i]));
        // X = Res.
        f.Vec(x, x);
        for (std::size_t i = 0; i < in.size(); ++i) ExpectSameBits(x.Values()[i], res.Values()[i], f.Name);
    }
}

TEST_F(ProbVector, ViewsEmptyVectorsAndComplexInput)
{
    for (const auto& f : Forms()) {
        // A view of the middle of a vector as X, and a view of the same vector's head as Res (overlapping).
        TVec whole, x, r;
        Fill(whole, {0.1, 0.2, 0.3, 0.5, 0.7, 0.9});
        x.SetSubRange(whole, 2, 3);
        r.SetSubRange(whole, 1, 3);
        f.Vec(x, r);
        x.SetFullRange();
        r.SetFullRange();
        EXPECT_EQ(whole.Length(), 6) << f.Name;
        ExpectSameBits(whole.Values()[1], f.One(0.3), f.Name);
        ExpectSameBits(whole.Values()[3], f.One(0.7), f.Name);
        EXPECT_EQ(whole.Values()[0], 0.1) << f.Name;
        EXPECT_EQ(whole.Values()[5], 0.9) << f.Name;

        probtest::ExpectEmptyAndComplexRules(f.Vec, f.Message, f.Name);
    }
}

TEST_F(ProbVector, FormsWithRulesOfTheirOwn)
{
    // FCDFInv over degrees of freedom: whole within 0.0001 and rounded (2.99995 is 3), else NaN.
    TVec nu1, nu2, res;
    Fill(nu1, {3, 2.99995, 2.5, 4, NAN, 1e12});
    Fill(nu2, {5, 5.00003, 5, 6.2, 5, 5});
    FCDFInv(0.4, nu1, nu2, res);
    ASSERT_EQ(res.Length(), 6);
    EXPECT_EQ(res.Values()[0], FCDFInv(0.4, 3, 5));
    EXPECT_EQ(res.Values()[1], FCDFInv(0.4, 3, 5));
    for (int i = 2; i < 6; ++i) EXPECT_TRUE(std::isnan(res.Values()[i])) << i;
    TVec shorter, c;
    Fill(shorter, {3});
    testsupport::ExpectRaise([&] { FCDFInv(0.4, nu1, shorter, res); }, " Nu1.Length <> Nu2.Length ");
    c.Size(6, true);
    testsupport::ExpectRaise([&] { FCDFInv(0.4, nu1, c, res); }, " Nu.Complex = true ");
    EXPECT_EQ(res.Length(), 6);

    // PoissonPDF: NaN at non-whole X, the mass at whole X, also beyond the Integers.
    TVec x;
    Fill(x, {2, 2.5, -1, 0, 3e9, NAN});
    PoissonPDF(x, 3, res);
    EXPECT_EQ(res.Values()[0], PoissonPDF(2, 3));
    EXPECT_TRUE(std::isnan(res.Values()[1]));
    EXPECT_EQ(res.Values()[2], 0);
    EXPECT_EQ(res.Values()[3], PoissonPDF(0, 3));
    EXPECT_EQ(res.Values()[4], 0);
    EXPECT_TRUE(std::isnan(res.Values()[5]));
    Fill(x, {3e9});
    PoissonPDF(x, 3e9, res);
    // e^−λλ^λ/λ! = (1 − 1/(12λ) + ...)/√(2πλ).
    EXPECT_NEAR(res.Values()[0], (1 - 1 / 36e9) / std::sqrt(2 * PI * 3e9), 1e-13 / std::sqrt(3e9));
    c.Size(2, true);
    testsupport::ExpectRaise([&] { PoissonPDF(c, 3, res); }, " X.Complex = true ");

    // A hypergeometric count beyond the Integers is held at their ends.
    Fill(x, {1e12, -1e12});
    HypGeometricCDF(x, 30, 8, 10, res);
    EXPECT_EQ(res.Values()[0], 1);
    EXPECT_EQ(res.Values()[1], 0);
}

}  // namespace

// Vector statistics: every form against numpy, scipy and mpmath (real and complex tables), the complex order of
// the extremes, every form's empty result, the messages (complex data read as reals and the reverse, negative and
// overlong ranges), and the sums of long vectors.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "elem_util.h"

using namespace elemtest;

namespace {

class StatsTest : public ElemTest {};

struct RealCase {
    const char* What;
    int N;
    std::vector<double> Data;
    double Mean, Sum, Product, Max;
    int ArgMax;
    double Min;
    int ArgMin;
    double Median, StdDev, RMS, Skewness, Kurtosis, Sigma;
};

const RealCase kReal[] = {
#include "vec_stats_golden.inc"
};

struct CplxCase {
    const char* What;
    int N;
    std::vector<double> Data;
    double MeanRe, MeanIm, SumRe, SumIm, ProdRe, ProdIm, StdDev, RMS;
    int MaxPos, MinPos;
};

const CplxCase kCplx[] = {
#include "vec_stats_cplx_golden.inc"
};

// Relative tolerances: the pairwise mean and sum against numpy's differ by a few ulps at most; the long double
// products and sums of powers are rounded once more than the mpmath values.
constexpr double kMean = 1e-15;
constexpr double kWide = 4e-16;
constexpr double kPowers = 1e-14;

void Near(double Got, double Expected, double Rel, const std::string& Where)
{
    if (std::isnan(Expected) || std::isinf(Expected)) {
        EXPECT_TRUE(SameDouble(Got, Expected)) << Where << ": " << Got << ", expected " << Expected;
        return;
    }
    EXPECT_LE(std::fabs(Got - Expected), Rel * std::fabs(Expected))
        << Where << ": " << Got << ", expected " << Expected;
}

void Near(const TCplx& Got, double Re, double Im, double Rel, const std::string& Where)
{
    const double scale = std::hypot(Re, Im);
    EXPECT_LE(std::fabs(Got.Re - Re), Rel * scale) << Where << " Re: " << Got.Re << ", expected " << Re;
    EXPECT_LE(std::fabs(Got.Im - Im), Rel * scale) << Where << " Im: " << Got.Im << ", expected " << Im;
}

}  // namespace

TEST_F(StatsTest, RealFormsAgainstTheTables)
{
    for (const RealCase& c : kReal) {
        const std::string w = c.What;
        TVec v;
        Set(v, false, c.Data);
        const int n = c.N;
        double r = -1;
        int k = -1;
        Near(v.Mean(), c.Mean, kMean, w + " Mean");
        Near(Mean(v, 0, n), c.Mean, kMean, w + " Mean range");
        Near(v.Sum(), c.Sum, kWide, w + " Sum");
        v.Sum(r, 0, n);
        Near(r, c.Sum, kWide, w + " Sum range");
        v.Product(r);
        Near(r, c.Product, kWide, w + " Product");
        v.Product(r, 0, n);
        Near(r, c.Product, kWide, w + " Product range");
        EXPECT_EQ(Max(v), c.Max) << w;
        EXPECT_EQ(Min(v), c.Min) << w;
        v.Max(r, k);
        EXPECT_EQ(r, c.Max) << w;
        EXPECT_EQ(k, c.ArgMax) << w;
        v.Min(r, k, 0, n);
        EXPECT_EQ(r, c.Min) << w;
        EXPECT_EQ(k, c.ArgMin) << w;
        EXPECT_TRUE(SameDouble(Median(v), c.Median)) << w << " Median " << Median(v);
        Near(v.StdDev(c.Mean), c.StdDev, kWide, w + " StdDev");
        Near(v.StdDev(c.Mean, 0, n), c.StdDev, kWide, w + " StdDev range");
        Near(RMS(v), c.RMS, kWide, w + " RMS");
        Near(v.RMS(0, n), c.RMS, kWide, w + " RMS range");
        Near(Skewness(v, c.Mean, c.Sigma), c.Skewness, kPowers, w + " Skewness");
        Near(Kurtosis(v, c.Mean, c.Sigma), c.Kurtosis, kPowers, w + " Kurtosis");
    }
}

TEST_F(StatsTest, ComplexFormsAgainstTheTables)
{
    for (const CplxCase& c : kCplx) {
        const std::string w = c.What;
        TVec v;
        Set(v, true, c.Data);
        const int n = c.N;
        TCplx z;
        v.Mean(z);
        Near(z, c.MeanRe, c.MeanIm, kMean, w + " Mean");
        v.Mean(z, 0, n);
        Near(z, c.MeanRe, c.MeanIm, kMean, w + " Mean range");
        v.Sum(z);
        Near(z, c.SumRe, c.SumIm, kWide, w + " Sum");
        v.Sum(z, 0, n);
        Near(z, c.SumRe, c.SumIm, kWide, w + " Sum range");
        v.Product(z);
        Near(z, c.ProdRe, c.ProdIm, 1e-13, w + " Product");
        const TCplx mean = Cplx(c.MeanRe, c.MeanIm);
        Near(StdDev(v, mean), c.StdDev, kWide, w + " StdDev");
        Near(v.StdDev(mean, 0, n), c.StdDev, kWide, w + " StdDev range");
        Near(v.RMS(), c.RMS, kWide, w + " RMS");
        v.RMS(z, 0, n);
        Near(z, c.RMS, 0, kWide, w + " RMS range");

        // The extremes in the complex order, and in agreement with Bigger and Smaller.
        TCplx mx, mn;
        EXPECT_EQ(v.Max(mx, 0, n), c.MaxPos) << w;
        EXPECT_EQ(v.Min(mn, 0, n), c.MinPos) << w;
        EXPECT_TRUE(Equal(mx, v.CValues()[c.MaxPos]) && Equal(mn, v.CValues()[c.MinPos])) << w;
        for (int k = 0; k < n; ++k) EXPECT_FALSE(Bigger(v.CValues()[k], mx) || Smaller(v.CValues()[k], mn)) << w;
        // A range starts counting at its Index.
        if (n > 3) {
            EXPECT_GE(v.Max(mx, 1, n - 1), 1) << w;
        }
    }
}

TEST_F(StatsTest, ModelCases)
{
    TVec v;
    Set(v, false, {1, 2, 3, 4});
    EXPECT_DOUBLE_EQ(v.StdDev(2.5), std::sqrt(5.0 / 3.0));
    Set(v, false, {7});
    EXPECT_TRUE(std::isnan(v.StdDev(7)));  // a single element divides 0 by 0
    // RMS of (1, i) is 1: the squares of the moduli, not of the numbers, are summed.
    Set(v, true, {1, 0, 0, 1});
    EXPECT_EQ(RMS(v), 1);
    TCplx z;
    v.RMS(z, 0, 2);
    EXPECT_TRUE(Equal(z, Cplx(1, 0)));
    // A NaN among the data makes the median NaN.
    Set(v, false, {1, NAN, 3});
    EXPECT_TRUE(std::isnan(Median(v)));
    // The first NaN is the maximum and the minimum, at its position.
    double r = 0;
    int k = 0;
    Set(v, false, {1, NAN, 5, NAN});
    v.Max(r, k);
    EXPECT_TRUE(std::isnan(r));
    EXPECT_EQ(k, 1);
}

TEST_F(StatsTest, EmptyResults)
{
    TVec x, c;
    c.SetComplex(true);
    double r = 5;
    int k = 5;
    TCplx z = Cplx(5, 5);
    EXPECT_EQ(x.Mean(), 0);
    EXPECT_TRUE(std::isnan(Sum(x)));
    EXPECT_TRUE(std::isnan(x.Max()) && std::isnan(x.Min()));
    EXPECT_TRUE(std::isnan(x.RMS()) && std::isnan(x.RMS(0, 0)));
    EXPECT_EQ(x.StdDev(1.0), 0);
    EXPECT_TRUE(std::isnan(x.StdDev(1.0, 0, 0)));
    EXPECT_TRUE(std::isnan(Median(x)));
    x.Product(r);
    EXPECT_EQ(r, 1);
    x.Max(r, k);
    EXPECT_TRUE(std::isnan(r));
    EXPECT_EQ(k, 0);
    x.Min(r, k, 0, 0);
    EXPECT_TRUE(std::isnan(r));
    EXPECT_EQ(k, -1);
    r = 5;
    x.Mean(r, 0, 0);
    EXPECT_EQ(r, 0);
    r = 5;
    x.Sum(r, 0, 0);
    EXPECT_EQ(r, 5);  // untouched
    r = 5;
    x.Product(r, 0, 0);
    EXPECT_EQ(r, 0);

    c.Product(z);
    EXPECT_TRUE(Equal(z, Cplx(1, 0)));
    c.Mean(z);
    EXPECT_TRUE(Equal(z, C_ZERO));
    z = Cplx(5, 5);
    c.Sum(z);
    EXPECT_TRUE(Equal(z, C_ZERO));
    EXPECT_EQ(c.Max(z, 0, 0), 0);
    EXPECT_TRUE(std::isnan(z.Re) && std::isnan(z.Im));
    z = C_ZERO;
    c.RMS(z, 0, 0);
    EXPECT_TRUE(std::isnan(z.Re) && std::isnan(z.Im));
    EXPECT_EQ(c.StdDev(C_ONE), 0);
    EXPECT_EQ(c.StdDev(C_ONE, 0, 0), 0);
}

TEST_F(StatsTest, Messages)
{
    TVec x, c;
    Set(x, false, {1, 2, 3});
    Set(c, true, {1, 2, 3, 4, 5, 6});
    double r = 0;
    int k = 0;
    TCplx z;
    const std::string kTrue = "Complex = True", kFalse = "Complex = False", kNeg = "(Len <= 0) or (Index < 0)";
    const std::string kIL = "Index+Len > Length", kILs = "Index + Len > Length", kLI = "Len+Index > Length";
    const struct {
        const char* What;
        std::function<void()> Fn;
        std::string Message;
    } cases[] = {
        // Complex data where reals are read.
        {"Mean", [&] { c.Mean(); }, kTrue},
        {"Sum", [&] { c.Sum(); }, kTrue},
        {"Product", [&] { c.Product(r); }, kTrue},
        {"Max", [&] { c.Max(); }, kTrue},
        {"Max position", [&] { c.Max(r, k); }, kTrue},
        {"Min range", [&] { c.Min(r, k, 0, 1); }, kTrue},
        {"RMS range", [&] { c.RMS(0, 1); }, kTrue},
        {"StdDev", [&] { c.StdDev(0.0); }, kTrue},
        {"StdDev range", [&] { c.StdDev(0.0, 0, 1); }, kTrue},
        {"Skewness", [&] { Skewness(c, 0, 1); }, kTrue},
        {"Kurtosis", [&] { Kurtosis(c, 0, 1); }, kTrue},
        {"Median", [&] { Median(c); }, kTrue},
        {"Mean range", [&] { c.Mean(r, 0, 1); }, kTrue},
        {"Sum range", [&] { c.Sum(r, 0, 1); }, kTrue},
        {"Product range", [&] { c.Product(r, 0, 1); }, kTrue},
        // Real data where complex numbers are read.
        {"Product complex", [&] { x.Product(z); }, "Complex = false"},
        {"Mean complex range", [&] { x.Mean(z, 0, 1); }, kFalse},
        {"Sum complex", [&] { x.Sum(z); }, kFalse},
        {"Sum complex range", [&] { x.Sum(z, 0, 1); }, kFalse},
        {"Max complex", [&] { x.Max(z, 0, 1); }, kFalse},
        {"RMS complex", [&] { x.RMS(z, 0, 1); }, kFalse},
        {"StdDev complex", [&] { x.StdDev(C_ZERO); }, kFalse},
        {"StdDev complex range", [&] { x.StdDev(C_ZERO, 0, 1); }, kFalse},
        // Negative and overlong ranges.
        {"Mean range past the end", [&] { x.Mean(r, 0, 4); }, kIL},
        {"Mean range negative", [&] { x.Mean(r, -1, 2); }, kNeg},
        {"Mean complex past the end", [&] { c.Mean(z, 1, 3); }, kILs},
        {"Sum complex past the end", [&] { c.Sum(z, 0, 4); }, kIL},
        {"Sum complex negative", [&] { c.Sum(z, -1, 1); }, kNeg},
        {"Product past the end", [&] { x.Product(r, 1, 3); }, kIL},
        {"Max past the end", [&] { x.Max(r, k, 2, 2); }, kLI},
        {"Max negative", [&] { x.Max(r, k, -1, 2); }, kNeg},
        {"Max complex past the end", [&] { c.Max(z, 2, 2); }, kLI},
        {"RMS past the end", [&] { x.RMS(1, 3); }, kLI},
        {"RMS complex past the end", [&] { c.RMS(z, 0, 4); }, kIL},
        {"RMS unit past the end", [&] { RMS(x, 0, 4); }, "Index+Len > Vec.Length"},
        {"RMS unit negative", [&] { RMS(x, 0, -1); }, kNeg},
        {"StdDev past the end", [&] { x.StdDev(0.0, 0, 4); }, kLI},
        {"StdDev complex negative", [&] { c.StdDev(C_ZERO, -1, 2); }, kNeg},
        {"StdDev complex past the end", [&] { c.StdDev(C_ZERO, 1, 3); }, kIL},
    };
    for (const auto& t : cases) ExpectRaise(t.Fn, t.Message, t.What);

    // The silent forms: a negative range leaves the complex mean 0 and the real sum untouched.
    z = Cplx(5, 5);
    c.Mean(z, -1, 2);
    EXPECT_TRUE(Equal(z, C_ZERO));
    r = 5;
    x.Sum(r, -1, 2);
    EXPECT_EQ(r, 5);
    // Without ConditionCheck the range sum still reads nothing outside.
    x.SetConditionCheck(false);
    x.Sum(r, 1, -5);
    EXPECT_EQ(r, 5);
    ExpectRaise([&] { x.Sum(r, 2, 5); }, kIL, "Sum without ConditionCheck");
}

// Long vectors: sums of integers stay exact, and the same data give the same result through every form.
TEST_F(StatsTest, LongVectors)
{
    const int n = 300001;
    TVec v, c;
    v.Size(n, false);
    c.Size(n, true);
    long double s = 0, s2 = 0;
    for (int i = 0; i < n; ++i) {
        const double x = static_cast<double>((static_cast<std::int64_t>(i) * 7919) % 1001 - 500);
        v.Values()[i] = x;
        c.CValues()[i] = Cplx(x, -x);
        s += x;
        s2 += static_cast<long double>(x) * x;
    }
    EXPECT_EQ(v.Sum(), static_cast<double>(s));
    TCplx z;
    c.Sum(z);
    EXPECT_TRUE(Equal(z, Cplx(static_cast<double>(s), static_cast<double>(-s))));
    EXPECT_EQ(RMS(v), static_cast<double>(std::sqrt(s2 / n)));
    EXPECT_EQ(RMS(c), static_cast<double>(std::sqrt(2 * s2 / n)));
    EXPECT_EQ(v.StdDev(0.0), static_cast<double>(std::sqrt(s2 / (n - 1))));
    EXPECT_EQ(v.StdDev(0.0, 0, n), v.StdDev(0.0));
}

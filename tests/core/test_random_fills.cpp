// Random fills of vectors and matrices: when a generator starts again and when it continues, the seeds and the
// warm-up replayed through the run-time generator's clock seam, and the distributions (Kolmogorov–Smirnov).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "elem_util.h"
#include "platform/rtl/Random.h"

using namespace tarnel;
using namespace testsupport;
using elemtest::Doubles;

namespace {

std::uint64_t FixedClock()
{
    return 0x5EED5EEDull;
}

// Every test runs the run-time generator from one fixed clock reading and leaves the real clock behind.
class RandomFills : public elemtest::ElemTest {
protected:
    void SetUp() override
    {
        elemtest::ElemTest::SetUp();
        SetRandomizeClock(FixedClock);
        Randomize();
    }
    void TearDown() override
    {
        SetRandomizeClock(nullptr);
        Randomize();
        elemtest::ElemTest::TearDown();
    }
};

// The library's generators as the fills should run them.
class Stream {
public:
    Stream(bool Gauss, double Seed, double A, double B) : FGauss(Gauss)
    {
        if (Gauss) {
            nspdRandGausInit(Seed, A, B, &FG);
        } else {
            nspdRandUniInit(Seed, A, B, &FU);
        }
    }
    std::vector<double> Next(std::int64_t N)
    {
        std::vector<double> v(static_cast<std::size_t>(N));
        if (N == 0) return v;
        if (FGauss) {
            nspdbRandGaus(&FG, v.data(), static_cast<int>(N));
        } else {
            nspdbRandUni(&FU, v.data(), static_cast<int>(N));
        }
        return v;
    }

private:
    bool FGauss;
    NSPDRandUniState FU;
    NSPDRandGausState FG;
};

// The draws of one random initialisation from the run-time generator: the seed and the warm-up count c.
struct TDraw {
    double Seed;
    int C;
};
TDraw Draw()
{
    const double seed = Random(0x7FFEFFFF) + 0x10000;
    return {seed, Random(100) + 100};
}

// A stream from a random initialisation, with the warm-up of c + N values for N elements.
Stream Warmed(bool Gauss, double A, double B, std::int64_t Doubles, std::int64_t PerElement = 1)
{
    const TDraw d = Draw();
    Stream s(Gauss, d.Seed, A, B);
    s.Next((d.C + Doubles / PerElement) * PerElement);
    return s;
}

TEST_F(RandomFills, WarmUpDiscardsCPlusLengthAfterARandomSeedOnly)
{
    TVec v;
    v.Size(150);
    v.RandUniform();
    const std::vector<double> first = Doubles(v);
    v.RandUniform();  // continues: nothing more drawn from the run-time generator
    const std::vector<double> second = Doubles(v);
    const int after = Random(1000000);
    Randomize();
    Stream s = Warmed(false, 0, 1, 150);
    EXPECT_EQ(first, s.Next(150));
    EXPECT_EQ(second, s.Next(150));
    EXPECT_EQ(after, Random(1000000));
    // A complex vector counts complex elements: c + L of them, two Doubles each.
    TVec z;
    z.Size(3, true);
    Randomize();
    z.RandGauss(0, 2);
    Randomize();
    Stream g = Warmed(true, 0, 2, 6, 2);
    EXPECT_EQ(Doubles(z), g.Next(6));
}

TEST_F(RandomFills, WhenAVectorGeneratorStartsAgain)
{
    constexpr int n = 7;
    struct Case {
        const char* what;
        std::function<void(TVec&)> first, second;
        // The second fill's values, replayed from a freshly seeded run-time generator (the first fill's draws
        // included).
        std::function<std::vector<double>()> expect;
    };
    const auto Continued = [](Stream s) {
        s.Next(n);
        return s.Next(n);
    };
    const Case cases[] = {
        {"the same bounds continue", [](TVec& v) { v.RandUniform(0, 1); }, [](TVec& v) { v.RandUniform(0, 1); },
         [&] { return Continued(Warmed(false, 0, 1, n)); }},
        {"new bounds start from a random seed", [](TVec& v) { v.RandUniform(0, 1); },
         [](TVec& v) { v.RandUniform(0, 2); },
         [] {
             Warmed(false, 0, 1, n);
             return Warmed(false, 0, 2, n).Next(n);
         }},
        {"a random stream is not taken for the seeded one", [](TVec& v) { v.RandUniform(0, 1); },
         [](TVec& v) { v.RandUniform(0, 0, 1); }, [] { return Stream(false, 0, 0, 1).Next(n); }},
        {"nor after the parameterless form", [](TVec& v) { v.RandUniform(); }, [](TVec& v) { v.RandUniform(0, 0, 1); },
         [] { return Stream(false, 0, 0, 1).Next(n); }},
        {"a seeded fill repeated continues", [](TVec& v) { v.RandUniform(5, 0, 1); },
         [](TVec& v) { v.RandUniform(5, 0, 1); }, [&] { return Continued(Stream(false, 5, 0, 1)); }},
        {"ResetRand restarts the seed", [](TVec& v) { v.RandUniform(5, 0, 1); },
         [](TVec& v) {
             v.ResetRand();
             v.RandUniform(5, 0, 1);
         },
         [] { return Stream(false, 5, 0, 1).Next(n); }},
        {"normal: the same parameters continue", [](TVec& v) { v.RandGauss(1, 3); }, [](TVec& v) { v.RandGauss(1, 3); },
         [&] { return Continued(Warmed(true, 1, 3, n)); }},
        {"normal: a random stream is not taken for the seeded one", [](TVec& v) { v.RandGauss(0, 1); },
         [](TVec& v) { v.RandGauss(0, 0, 1); }, [] { return Stream(true, 0, 0, 1).Next(n); }},
        {"normal: a new seed restarts", [](TVec& v) { v.RandGauss(4, 0, 1); }, [](TVec& v) { v.RandGauss(6, 0, 1); },
         [] { return Stream(true, 6, 0, 1).Next(n); }},
        {"the parameterless form continues any parameters", [](TVec& v) { v.RandGauss(2, 0, 5); },
         [](TVec& v) { v.RandGauss(); }, [&] { return Continued(Stream(true, 2, 0, 5)); }},
    };
    for (const Case& c : cases) {
        TVec v;
        v.Size(n);
        Randomize();
        c.first(v);
        c.second(v);
        Randomize();
        EXPECT_EQ(Doubles(v), c.expect()) << c.what;
    }
}

TEST_F(RandomFills, SeededFillsRepeatOnFreshVectors)
{
    TVec a, b;
    a.Size(64);
    b.Size(64);
    a.RandGauss(5, 0, 1);
    b.RandGauss(5, 0, 1);
    EXPECT_EQ(Doubles(a), Doubles(b));
    EXPECT_EQ(Doubles(a), Stream(true, 5, 0, 1).Next(64));
    a.Size(10, true);  // complex: both parts from the one stream
    a.RandUniform(3, -1, 1);
    EXPECT_EQ(Doubles(a), Stream(false, 3, -1, 1).Next(20));
}

TEST_F(RandomFills, MatrixGenerators)
{
    TMtx m;
    m.Size(3, 4);
    m.RandUniform(0, 1);
    const std::vector<double> first(m.Values(), m.Values() + 12);
    m.RandUniform(0, 1);  // continues (the bounds are the generator's own)
    const std::vector<double> second(m.Values(), m.Values() + 12);
    Randomize();
    Stream s = Warmed(false, 0, 1, 12);
    EXPECT_EQ(first, s.Next(12));
    EXPECT_EQ(second, s.Next(12));
    // A fresh 2 x 2 normal fill has no warm-up: exactly 4 values after seeding.
    TMtx g;
    g.Size(2, 2);
    Randomize();
    g.RandGauss();
    Randomize();
    EXPECT_EQ(std::vector<double>(g.Values(), g.Values() + 4), Stream(true, Draw().Seed, 0, 1).Next(4));
    // The normal fill sets only its own generator: the uniform one still starts.
    Randomize();
    g.RandGauss(1, 2);
    g.RandUniform();
    Randomize();
    Draw();
    Stream u = Warmed(false, 0, 1, 4);
    EXPECT_EQ(std::vector<double>(g.Values(), g.Values() + 4), u.Next(4));
}

TEST_F(RandomFills, OneRowOfManyColumnsWarmsUpByItsElements)
{
    TMtx m;
    m.Size(1, 100000);
    m.RandUniform();
    Randomize();
    Stream s = Warmed(false, 0, 1, 100000);
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 100000), s.Next(100000));
}

TEST_F(RandomFills, EmptyObjectsAreLeftAsTheyAre)
{
    TVec v;
    TMtx m;
    const int next = Random(1000000);
    Randomize();
    v.RandUniform(0, 1);
    v.RandUniform();
    v.RandUniform(1, 0, 1);
    v.RandGauss(0, 1);
    v.RandGauss();
    v.RandGauss(1, 0, 1);
    m.RandUniform(0, 1);
    m.RandUniform();
    m.RandGauss(0, 1);
    m.RandGauss();
    EXPECT_EQ(v.Length(), 0);
    EXPECT_FALSE(v.UniformSet() || v.GaussSet() || m.UniformSet() || m.GaussSet());
    EXPECT_EQ(Random(1000000), next);  // nothing drawn
}

// The largest distance between the empirical distribution of the values and Cdf.
double KolmogorovSmirnov(std::vector<double> V, double (*Cdf)(double))
{
    std::sort(V.begin(), V.end());
    const double n = static_cast<double>(V.size());
    double d = 0;
    for (std::size_t i = 0; i < V.size(); ++i) {
        const double f = Cdf(V[i]);
        d = std::max({d, f - i / n, (i + 1) / n - f});
    }
    return d;
}

TEST_F(RandomFills, MillionDrawsPassKolmogorovSmirnovAtOnePerMille)
{
    const int n = 1000000;
    const double bound = 1.9495 / std::sqrt(static_cast<double>(n));  // the 0.1 % critical value
    TVec v;
    v.Size(n);
    for (double seed : {1.0, 65536.0, 2147483646.0}) {
        v.RandUniform(seed, 0, 1);
        EXPECT_LT(KolmogorovSmirnov(Doubles(v), [](double x) { return std::clamp(x, 0.0, 1.0); }), bound) << seed;
        v.RandGauss(seed, 0, 1);
        EXPECT_LT(KolmogorovSmirnov(Doubles(v), [](double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); }), bound)
            << seed;
    }
}

}  // namespace

// The scalar functions of Dovi387: elementary real and complex functions, rounding, the complex order, the
// predicates and ranges, against tests/data/gen_scalar_functions_golden.py (mpmath, Python's math, a key sort).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "scalar_util.h"
#include "tests/platform/GoldenInput.h"

using namespace tarnel;
using scalartest::SameCplx;
using scalartest::SameDouble;
using scalartest::UlpDistance;

namespace {

struct Kind {
    bool logarithmic;
    double lo, hi;  // the range, or the exponent range of a logarithmic kind
    bool isSigned;
};

struct RealSeries {
    const char* name;
    Kind kind;
    int seed;
    double expected[1000];
};

struct Real2Series {
    const char* name;
    Kind first, second;
    int seed;
    double expected[1000];
};

struct ComplexRow {
    const char* name;
    TCplx z, expected;
    double tolerance;  // relative to |expected|
};

struct ComplexMixedRow {
    const char* name;
    TCplx a, b;
    double d;
    int n, k;
    TCplx expected;
};

struct RoundRow {
    double x;
    int trunc, ceil, floor;
};

struct GcdRow {
    int a, b, gcd, lcm;
};

#include "scalar_functions_golden.inc"

constexpr int kPoints = 1000;

// The arguments of a series, bit for bit as the generator made them.
std::vector<double> ArgumentsOf(const Kind& k, int seed)
{
    const std::vector<double> u = golden::Lcg(seed, kPoints);
    std::vector<double> x(kPoints);
    if (!k.logarithmic) {
        for (int i = 0; i < kPoints; ++i) x[i] = k.lo + (k.hi - k.lo) * (u[i] + 0.5);
        return x;
    }
    const std::vector<double> w = golden::Lcg(seed + 1, kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const int e = int(k.lo) + int((k.hi - k.lo) * (w[i] + 0.5));
        x[i] = std::ldexp(1.5 + u[i], e);
        double r = std::fmod(w[i] * 1e6, 2.0);  // Python's floor modulo
        if (r < 0) r += 2;
        if (k.isSigned && r < 1) x[i] = -x[i];
    }
    return x;
}

using R1 = double (*)(double);
using R2 = double (*)(double, double);

double TarnelRem(double x, double y)
{
    return tarnel::Rem(x, y);
}
double TarnelIntPower(double x, double n)
{
    return tarnel::IntPower(x, int(n));
}
double SinFromSinCos(double x)
{
    double s, c;
    SinCos(x, s, c);
    return s;
}

const std::map<std::string, R1>& RealFunctions()
{
    static const std::map<std::string, R1> f = {
        {"Sin", Sin},
        {"Cos", Cos},
        {"Tan", Tan},
        {"Sec", Sec},
        {"Csc", Csc},
        {"Cot", Cot},
        {"ArcSin", ArcSin},
        {"ArcCos", ArcCos},
        {"ArcTan", ArcTan},
        {"ArcCot", ArcCot},
        {"ArcSec", ArcSec},
        {"ArcCsc", ArcCsc},
        {"FixAngle", FixAngle},
        {"Sinh", Sinh},
        {"Cosh", Cosh},
        {"Tanh", Tanh},
        {"TanhX", TanhX},
        {"Coth", Coth},
        {"Sech", Sech},
        {"Csch", Csch},
        {"ArcSinh", ArcSinh},
        {"ArcCosh", ArcCosh},
        {"ArcTanh", ArcTanh},
        {"ArcCoth", ArcCoth},
        {"ArcSech", ArcSech},
        {"ArcCsch", ArcCsch},
        {"Ln", Ln},
        {"Ln1", Ln1},
        {"Log2", Log2},
        {"Log10", Log10},
        {"Log2X", Log2X},
        {"Exp", Exp},
        {"Exp2", Exp2},
        {"Exp10", Exp10},
        {"SinCos", SinFromSinCos},
    };
    return f;
}

const std::map<std::string, R2>& Real2Functions()
{
    static const std::map<std::string, R2> f = {
        {"ArcTan2", ArcTan2},         {"LogN", LogN}, {"Power", Power}, {"Pythag", Pythag}, {"Rem", TarnelRem},
        {"IntPower", TarnelIntPower}, {"Min", Min},   {"Max", Max},     {"Sign", Sign},
    };
    return f;
}

}  // namespace

TEST(ScalarReal, EveryFunctionWithinOneUlpOfMpmath)
{
    for (const RealSeries& s : kRealSeries) {
        SCOPED_TRACE(s.name);
        std::vector<double> x = ArgumentsOf(s.kind, s.seed);
        if (std::string(s.name) == "Ln1")
            for (double& v : x) v = v > -1 ? v : -1 / (2 - v);
        const R1 f = RealFunctions().at(s.name);
        double worst = 0;
        for (int i = 0; i < kPoints; ++i) {
            const double d = UlpDistance(f(x[i]), s.expected[i]);
            EXPECT_LE(d, 1) << s.name << " (" << x[i] << ") = " << f(x[i]) << ", exactly " << s.expected[i];
            worst = std::max(worst, d);
        }
        std::printf("%-9s max %.0f ulp\n", s.name, worst);
    }
    for (const Real2Series& s : kReal2Series) {
        SCOPED_TRACE(s.name);
        const std::vector<double> a = ArgumentsOf(s.first, s.seed);
        std::vector<double> b = ArgumentsOf(s.second, s.seed + 100);
        if (std::string(s.name) == "IntPower")
            for (double& v : b) v = std::trunc(v);
        const R2 f = Real2Functions().at(s.name);
        double worst = 0;
        for (int i = 0; i < kPoints; ++i) {
            const double d = UlpDistance(f(a[i], b[i]), s.expected[i]);
            EXPECT_LE(d, 1) << s.name << " (" << a[i] << ", " << b[i] << ") = " << f(a[i], b[i]) << ", exactly "
                            << s.expected[i];
            worst = std::max(worst, d);
        }
        std::printf("%-9s max %.0f ulp\n", s.name, worst);
    }
}

namespace {

constexpr double kNaN = NAN;
constexpr double kInf = INFINITY;

struct EdgeRow {
    const char* name;
    double x;
    double expected;  // bit for bit: signed zeros count
};

// The values the defining formulas give at ±0, ±INF, NaN and the domain edges, and the repaired ones where a
// formula gives ∞/∞ or cancels.
const EdgeRow kEdges[] = {
    {"Sin", -0.0, -0.0},
    {"Sin", kInf, kNaN},
    {"Cos", kNaN, kNaN},
    {"Tan", 0.0, 0.0},
    {"Sec", 0.0, 1.0},
    {"Csc", 0.0, kInf},
    {"Cot", -0.0, -kInf},
    {"ArcSin", 2.0, kNaN},
    {"ArcSin", -1.0, -PIDIV2},
    {"ArcCos", -1.0, PI},
    {"ArcCos", 1.0, 0.0},
    {"ArcTan", kInf, PIDIV2},
    {"ArcTan", -kInf, -PIDIV2},
    {"ArcCot", 0.0, PIDIV2},
    {"ArcCot", -0.0, PIDIV2},
    {"ArcCot", -kInf, PI},
    {"ArcCot", kInf, 0.0},
    {"ArcSec", 0.5, kNaN},
    {"ArcSec", 0.0, kNaN},
    {"ArcSec", kInf, PIDIV2},
    {"ArcSec", -1.0, PI},
    {"ArcCsc", 0.5, kNaN},
    {"ArcCsc", -1.0, -PIDIV2},
    {"ArcCsc", kInf, 0.0},
    {"FixAngle", 3 * PI / 2, -PIDIV2},
    {"FixAngle", PI, PI},
    {"FixAngle", -PI, -PI},
    {"FixAngle", kInf, kNaN},
    {"Sinh", -0.0, 0.0},
    {"Sinh", 1e-20, 1e-20},
    {"Sinh", -1e-300, -1e-300},
    {"Sinh", 800.0, kInf},
    {"Sinh", -kInf, -kInf},
    {"Cosh", -kInf, kInf},
    {"Cosh", 0.0, 1.0},
    {"Tanh", -0.0, 0.0},
    {"Tanh", 1e-20, 1e-20},
    {"Tanh", 12000.0, 1.0},
    {"Tanh", -12000.0, -1.0},
    {"Tanh", kInf, 1.0},
    {"Tanh", -19.5, -1.0},  // 1 - tanh 19.5 = 2.3e-17 rounds away: the exponential's path gives 1 exactly
    {"Tanh", 4.9406564584124654e-324, 4.9406564584124654e-324},  // the series' path, subnormal
    {"TanhX", 12000.0, 1.0},
    {"TanhX", -kInf, -1.0},
    {"TanhX", 1e-20, 1e-20},
    {"Coth", 0.0, kInf},
    {"Coth", -0.0, kInf},
    {"Coth", 12000.0, 1.0},
    {"Coth", -kInf, -1.0},
    {"Sech", 12000.0, 0.0},
    {"Sech", -kInf, 0.0},
    {"Sech", 0.0, 1.0},
    {"Sech", 720.0, 0x0.000132769b92ap-1022},
    {"Csch", 0.0, kInf},
    {"Csch", -0.0, kInf},
    {"Csch", 12000.0, 0.0},
    {"Csch", -kInf, -0.0},
    {"Csch", 1e-20, 1e20},
    {"ArcSinh", -1e10, -23.718998110500401},
    {"ArcSinh", -0.0, 0.0},
    {"ArcSinh", 1e-20, 1e-20},
    {"ArcSinh", -kInf, -kInf},
    {"ArcCosh", 1.0, 0.0},
    {"ArcCosh", 0.5, kNaN},
    {"ArcCosh", kInf, kInf},
    {"ArcTanh", 1.0, kInf},
    {"ArcTanh", -1.0, -kInf},
    {"ArcTanh", 2.0, kNaN},
    {"ArcTanh", -0.0, 0.0},
    {"ArcTanh", 1e-20, 1e-20},
    {"ArcCoth", 1.0, kInf},
    {"ArcCoth", -1.0, -kInf},
    {"ArcCoth", 0.5, kNaN},
    {"ArcCoth", kInf, 0.0},
    {"ArcSech", 1.0, 0.0},
    {"ArcSech", 0.0, kInf},
    {"ArcSech", -0.5, kNaN},
    {"ArcCsch", -1e-10, -23.718998110500401},
    {"ArcCsch", 0.0, kInf},
    {"ArcCsch", -0.0, -kInf},
    {"Ln", 0.0, -kInf},
    {"Ln", -1.0, kNaN},
    {"Ln", kInf, kInf},
    {"Ln1", -1.0, -kInf},
    {"Ln1", 1e-300, 1e-300},
    {"Log2", 1024.0, 10.0},
    {"Log10", 1000.0, 3.0},
    {"Log10", 1e-300, -300.0},
    {"Log2X", 1.0, 0.0},
    {"Log2X", 0x1.0000000000001p+0, 0x1.71547652b82fdp-52},
    {"Exp", -kInf, 0.0},
    {"Exp", kInf, kInf},
    {"Exp", kNaN, kNaN},
    {"Exp", 710.0, kInf},
    {"Exp2", -kInf, 0.0},
    {"Exp2", kInf, kInf},
    {"Exp2", -1074.0, 0x1p-1074},
    {"Exp10", -kInf, 0.0},
    {"Exp10", kInf, kInf},
    {"Exp10", 22.0, 1e22},
    {"Exp10", -3.0, 0.001},
};

struct Edge2Row {
    const char* name;
    double a, b, expected;
};

const Edge2Row kEdges2[] = {
    {"ArcTan2", 1.0, 0.0, PIDIV2},
    {"ArcTan2", 0.0, -1.0, PI},
    {"ArcTan2", -0.0, -1.0, -PI},
    {"LogN", 2.0, 8.0, 3.0},
    {"LogN", 10.0, 0.001, -3.0},
    {"LogN", 10.0, 1e-300, -300.0},
    {"LogN", 1.0, 2.0, kInf},
    {"Power", 2.0, 10.0, 1024.0},
    {"Power", -8.0, 1.0 / 3, kNaN},
    {"Power", 0.0, 2.0, 0.0},
    {"Power", 0.0, -2.0, kInf},
    {"Power", 0.0, 0.0, kNaN},
    {"Power", -2.0, 2.0, kNaN},
    {"Power", kNaN, 0.0, kNaN},
    {"Power", 1.0, kInf, kNaN},
    {"Power", 1.0, kNaN, kNaN},
    {"Power", kInf, 0.0, kNaN},
    {"Power", 5.0, 0.0, 1.0},
    {"Power", kInf, 2.0, kInf},
    {"Power", 0.5, kInf, 0.0},
    {"IntPower", 2.0, -3.0, 0.125},
    {"IntPower", 0.0, 0.0, 1.0},
    {"IntPower", kNaN, 0.0, 1.0},
    {"IntPower", 2.0, -1074.0, 5e-324},
    {"IntPower", 2.0, 1024.0, kInf},
    {"IntPower", 1.0, double(INT_MIN), 1.0},
    {"IntPower", -1.0, double(INT_MIN), 1.0},
    {"IntPower", 2.0, double(INT_MIN), 0.0},
    {"IntPower", 0.0, -1.0, kInf},
    {"IntPower", -0.0, -1.0, -kInf},
    {"Rem", 7.0, 3.0, 1.0},
    {"Rem", -7.0, 3.0, -1.0},
    {"Rem", 7.0, -3.0, 1.0},
    {"Rem", 1e300, 3.0, 0.0},
    {"Rem", -0.0, 3.0, -0.0},
    {"Rem", 5.5, 0.0, kNaN},
    {"Rem", kInf, 2.0, kNaN},
    {"Pythag", 3e300, 4e300, 5e300},
    {"Pythag", kInf, kInf, kInf},
    {"Pythag", -kInf, 1.0, kInf},
    {"Pythag", 0.0, -0.0, 0.0},
    {"Pythag", 3e-320, 4e-320, 5e-320},
    {"Min", 1.0, 1.0, 1.0},
    {"Min", 0.0, -0.0, 0.0},
    {"Min", kNaN, 1.0, kNaN},
    {"Min", 1.0, kNaN, 1.0},
    {"Min", 2.0, 1.0, 1.0},
    {"Max", -0.0, 0.0, -0.0},
    {"Max", kNaN, 1.0, 1.0},
    {"Max", 1.0, kNaN, kNaN},
    {"Max", 1.0, 2.0, 2.0},
    {"Sign", 3.0, -2.0, -3.0},
    {"Sign", -3.0, 2.0, 3.0},
    {"Sign", -3.0, -0.0, 3.0},
    {"Sign", 3.0, -kInf, -3.0},
};

}  // namespace

TEST(ScalarReal, EdgesAndRepairedLimits)
{
    for (const EdgeRow& e : kEdges)
        EXPECT_TRUE(SameDouble(RealFunctions().at(e.name)(e.x), e.expected))
            << e.name << " (" << e.x << ") = " << RealFunctions().at(e.name)(e.x) << ", wanted " << e.expected;
    for (const Edge2Row& e : kEdges2)
        EXPECT_TRUE(SameDouble(Real2Functions().at(e.name)(e.a, e.b), e.expected))
            << e.name << " (" << e.a << ", " << e.b << ") = " << Real2Functions().at(e.name)(e.a, e.b) << ", wanted "
            << e.expected;
}

TEST(ScalarReal, PairsAndIntegerUtilities)
{
    double s, c;
    SinhCosh(0.5, s, c);
    EXPECT_EQ(s, Sinh(0.5));
    EXPECT_EQ(c, Cosh(0.5));
    SinCos(1.0, s, c);
    EXPECT_EQ(c, Cos(1.0));
    double a = 1, b = 2;
    Swap(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    int i = 1, j = 2;
    Swap(i, j);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Max(3, -4), 3);
    EXPECT_EQ(Max(INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(Sgn(-0.0), 0);
    EXPECT_EQ(Sgn(kNaN), 0);
    EXPECT_EQ(Sgn(-1e-300), -1);
    EXPECT_EQ(Sgn(kInf), 1);
}

namespace {

using C1 = TCplx (*)(const TCplx&);

const std::map<std::string, C1>& ComplexFunctions()
{
    static const std::map<std::string, C1> f = {
        {"Ln", Ln},           {"Log10", Log10},     {"Log2", Log2},       {"Exp", Exp},         {"Exp2", Exp2},
        {"Exp10", Exp10},     {"CSqrt", CSqrt},     {"Sin", Sin},         {"Cos", Cos},         {"Tan", Tan},
        {"Cot", Cot},         {"Sec", Sec},         {"Csc", Csc},         {"Sinh", Sinh},       {"Cosh", Cosh},
        {"Tanh", Tanh},       {"Coth", Coth},       {"Sech", Sech},       {"Csch", Csch},       {"ArcSin", ArcSin},
        {"ArcCos", ArcCos},   {"ArcTan", ArcTan},   {"ArcCot", ArcCot},   {"ArcSec", ArcSec},   {"ArcCsc", ArcCsc},
        {"ArcSinh", ArcSinh}, {"ArcCosh", ArcCosh}, {"ArcTanh", ArcTanh}, {"ArcCoth", ArcCoth}, {"ArcSech", ArcSech},
        {"ArcCsch", ArcCsch},
    };
    return f;
}

// Each part within a few units of the modulus' last place (the formulas are evaluated in long double).
::testing::AssertionResult Near(const TCplx& got, const TCplx& want, double rel = 4e-16)
{
    return scalartest::Near(got, want, rel, std::hypot(want.Re, want.Im));
}

}  // namespace

TEST(ScalarComplex, EveryFunctionAgainstMpmathOnBothSidesOfTheCuts)
{
    for (const ComplexRow& r : kComplexRows)
        EXPECT_TRUE(Near(ComplexFunctions().at(r.name)(r.z), r.expected, r.tolerance))
            << r.name << " (" << r.z.Re << ", " << r.z.Im << ")";
    for (const ComplexMixedRow& r : kComplexMixed) {
        const std::string n = r.name;
        TCplx got{};
        if (n == "PowerRC") got = Power(r.d, r.b);
        if (n == "PowerCR") got = Power(r.a, r.d);
        if (n == "PowerCC") got = Power(r.a, r.b);
        if (n == "LogNCR") got = LogN(r.a, r.d);
        if (n == "LogNRC") got = LogN(r.d, r.a);
        if (n == "LogNCC") got = LogN(r.a, r.b);
        if (n == "IntPower") got = IntPower(r.a, r.n);
        if (n == "Root") got = Root(r.a, r.k, r.n);
        if (n == "Pythag") got = Pythag(r.a, r.b);
        EXPECT_TRUE(Near(got, r.expected, 2e-15)) << n << " (" << r.a.Re << ", " << r.a.Im << ") n " << r.n;
    }
}

TEST(ScalarComplex, ValuesOnTheCutsAndAtTheSingularities)
{
    struct Row {
        const char* name;
        TCplx z, expected;  // bit for bit
    };
    const Row rows[] = {
        {"Ln", {-1, 0}, {0, PI}},
        {"Ln", {-1, -0.0}, {0, -PI}},
        {"Ln", {0, 0}, {-kInf, 0}},
        {"CSqrt", {-4, 0}, {0, 2}},
        {"CSqrt", {-4, -0.0}, {0, 2}},
        {"CSqrt", {0, 0}, {0, 0}},
        {"CSqrt", {0, -0.0}, {0, -0.0}},
        {"CSqrt", {4, -0.0}, {2, -0.0}},
        // acosh 2 = 1.31695789692481670862...: 1.3169578969248168 is the nearest Double.
        {"ArcSin", {2, 0}, {PIDIV2, 1.3169578969248168}},
        {"ArcSin", {2, -0.0}, {PIDIV2, 1.3169578969248168}},
        {"ArcSin", {-2, 0}, {-PIDIV2, 1.3169578969248168}},
        {"ArcCot", {0, 0}, {PIDIV2, -0.0}},
        {"ArcSin", {0, 0}, {0, 0}},
        {"ArcTan", {0, 1}, {0, kInf}},
        {"Exp", {12000, 0}, {kInf, 0}},
        {"Exp", {12000, -0.0}, {kInf, -0.0}},
        {"Exp", {-kInf, 0}, {0, 0}},
        {"Tan", {0, 6000}, {0, 1}},
        {"Tan", {1, -6000}, {0, -1}},
        {"Cot", {0, 6000}, {0, -1}},
        {"Tanh", {6000, 0}, {1, 0}},
        {"Tanh", {-12000, 1}, {-1, 0}},
        {"Coth", {12000, 0}, {1, -0.0}},
        {"Sin", {0, 12000}, {0, kInf}},
        {"Cosh", {12000, 0}, {kInf, 0}},
        {"Sinh", {1e-20, 0}, {1e-20, 0}},
        {"Sech", {12000, 0}, {0, -0.0}},
        {"Sec", {0, 800}, {0, 0}},
    };
    for (const Row& r : rows) {
        const TCplx got = ComplexFunctions().at(r.name)(r.z);
        EXPECT_TRUE(SameCplx(got, r.expected))
            << r.name << " (" << r.z.Re << ", " << r.z.Im << ") = (" << got.Re << ", " << got.Im << ")";
    }
    // A small imaginary part near the real segment keeps its digits (mpmath: 1.1547005383792514e-12).
    EXPECT_EQ(ArcSin(Cplx(0.5, 1e-12)).Im, 1.1547005383792514e-12);
    EXPECT_NEAR(ArcSin(Cplx(0.5, 1e-12)).Re, 0.5235987755982989, 1e-16);
    EXPECT_EQ(ArcSin(Cplx(0.5, -1e-300)).Im, -1.1547005383792515e-300);
    // The principal values (real part ≥ 0) below and above the real axis.
    EXPECT_TRUE(Near(ArcCosh(Cplx(0.5, -1)), Cplx(0.9261330313501824, -1.2213572639376833), 2.3e-16));
    EXPECT_TRUE(Near(ArcCosh(Cplx(0.5, 1)), Cplx(0.9261330313501824, 1.2213572639376833), 2.3e-16));
    EXPECT_GT(ArcSech(Cplx(0.5, 1)).Re, 0);
    EXPECT_GT(ArcSech(Cplx(0.5, -1)).Re, 0);
    // The documented examples.
    EXPECT_EQ(Exp(Cplx(0, PI)).Re, -1);
    EXPECT_NEAR(Exp(Cplx(0, PI)).Im, 1.2246467991473532e-16, 1e-31);
    EXPECT_TRUE(Near(Root(Cplx(-8, 0), 0, 3), Cplx(1, 1.7320508075688772)));
    EXPECT_EQ(Root(Cplx(-8, 0), 1, 3).Re, -2);
    EXPECT_EQ(IntPower(Cplx(0, 1), 2).Re, -1);
    EXPECT_TRUE(SameCplx(IntPower(CNAN, 0), C_ONE));
    EXPECT_TRUE(SameCplx(LogN(Cplx(0, 2), 16), CDiv(Ln(16.0), Ln(Cplx(0, 2)))));
    // Zero bases.
    EXPECT_TRUE(SameCplx(Power(C_ZERO, Cplx(2, 1)), C_ZERO));
    EXPECT_TRUE(SameCplx(Power(0.0, Cplx(0.5, -3)), C_ZERO));
    EXPECT_TRUE(SameCplx(Power(C_ZERO, 2.0), C_ZERO));
    EXPECT_TRUE(IsNan(Power(-1.0, Cplx(2, 0))));
    EXPECT_TRUE(Equal(Root(C_ZERO, 1, 3), C_ZERO));
    // The var-result forms give the same values.
    const TCplx z{0.3, -1.7};
    TCplx r;
    Sin(z, r);
    EXPECT_TRUE(SameCplx(r, Sin(z)));
    Cos(z, r);
    EXPECT_TRUE(SameCplx(r, Cos(z)));
    Sinh(z, r);
    EXPECT_TRUE(SameCplx(r, Sinh(z)));
    Cosh(z, r);
    EXPECT_TRUE(SameCplx(r, Cosh(z)));
}

// A zero real or imaginary part (a real value held as complex) takes the short ways through the hyperbolic factors
// and the polar angle: the other part is the real function's value and the zero keeps the sign the formulas give.
TEST(ScalarComplex, ZeroPartsGiveTheRealValuesAndSignedZeros)
{
    const double xs[] = {0.5, 2.0, -2.0, 3.0, 0.0, -0.0, 1e-310, 700.0};
    for (double x : xs) {
        for (double zero : {0.0, -0.0}) {
            const bool neg = std::signbit(zero);
            const TCplx s = Sin(Cplx(x, zero)), c = Cos(Cplx(x, zero));
            EXPECT_TRUE(SameCplx(s, Cplx(std::sin(x), std::copysign(0.0, std::cos(x)) * (neg ? -1 : 1)))) << x;
            EXPECT_TRUE(SameCplx(c, Cplx(std::cos(x), -(std::copysign(0.0, std::sin(x)) * (neg ? -1 : 1))))) << x;
            const TCplx sh = Sinh(Cplx(zero, x)), ch = Cosh(Cplx(zero, x));
            EXPECT_TRUE(SameCplx(sh, Cplx(std::copysign(0.0, std::cos(x)) * (neg ? -1 : 1), std::sin(x)))) << x;
            EXPECT_TRUE(SameCplx(ch, Cplx(std::cos(x), std::copysign(0.0, std::sin(x)) * (neg ? -1 : 1)))) << x;
            // The angle is the zero part, turned over with a negative exponent.
            if (!(x >= 0.5 && x <= 4)) continue;
            for (int n : {1, 2, 3, -2}) {
                const TCplx p = IntPower(Cplx(x, zero), n);
                EXPECT_DOUBLE_EQ(p.Re, std::pow(x, n)) << x << " ^ " << n;
                EXPECT_EQ(p.Im, 0) << x << " ^ " << n;
                EXPECT_EQ(std::signbit(p.Im), neg != (n < 0)) << x << " ^ " << n;
            }
        }
    }
    // Off the positive axis the angle is still atan2's: (−2)² = 4 with sin 2π's rounding in the imaginary part.
    EXPECT_EQ(IntPower(Cplx(-2, 0), 2).Re, 4);
    EXPECT_NE(IntPower(Cplx(-2, 0), 2).Im, 0);
}

TEST(ScalarRounding, AgainstPythonAtTheIntegerRangeAndNaN)
{
    for (const RoundRow& r : kRoundRows) {
        EXPECT_EQ(Trunc(r.x), r.trunc) << r.x;
        EXPECT_EQ(Ceil(r.x), r.ceil) << r.x;
        EXPECT_EQ(Floor(r.x), r.floor) << r.x;
        const TCplx c = Ceil(Cplx(r.x, -r.x)), f = Floor(Cplx(r.x, -r.x));
        EXPECT_EQ(c.Re, double(r.ceil));
        EXPECT_EQ(f.Re, double(r.floor));
    }
    for (const GcdRow& r : kGcdRows) {
        EXPECT_EQ(Gcd(r.a, r.b), r.gcd) << r.a << ", " << r.b;
        EXPECT_EQ(Lcm(r.a, r.b), r.lcm) << r.a << ", " << r.b;
    }
    EXPECT_TRUE(SameDouble(Frac(-2.7), -2.7 + 2));
    EXPECT_TRUE(SameDouble(Frac(1e300), 0.0));
    EXPECT_TRUE(SameCplx(CRound(Cplx(2.5, -3.5)), Cplx(2, -4)));
    EXPECT_TRUE(SameCplx(CRound(Cplx(0.5, -0.5)), Cplx(0, -0.0)));
    EXPECT_TRUE(SameCplx(CTrunc(Cplx(-2.7, 3e300)), Cplx(-2, 3e300)));
    EXPECT_TRUE(SameCplx(CFrac(Cplx(-2.5, 1.25)), Cplx(-0.5, 0.25)));
    EXPECT_TRUE(SameCplx(Rem(Cplx(7, 3), Cplx(2, 0)), Cplx(1, 1)));
    EXPECT_TRUE(SameCplx(Ceil(Cplx(-2.7, 3e9)), Cplx(-2, -2147483648.0)));
    const int exp2[][2] = {
        {5, 8}, {1, 2}, {-7, 2}, {2, 2}, {3, 4}, {1 << 30, 1 << 30}, {(1 << 30) + 1, INT_MIN}, {INT_MAX, INT_MIN}};
    for (const auto& e : exp2) EXPECT_EQ(LargestExp2(e[0]), e[1]) << e[0];
    const int log2[][2] = {{1024, 10}, {1, 0}, {1023, 9}, {0, 0}, {-5, 0}, {INT_MAX, 30}};
    for (const auto& e : log2) EXPECT_EQ(LargestLog2(e[0]), e[1]) << e[0];
}

TEST(ScalarOrder, SortsAsTheKeySort)
{
    const int n = int(std::size(kOrderValues));
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [](int a, int b) { return Smaller(kOrderValues[a], kOrderValues[b]); });
    ASSERT_EQ(std::size(kOrderSorted), std::size(order));
    for (int i = 0; i < n; ++i) ASSERT_EQ(order[i], kOrderSorted[i]) << "position " << i;
    // Bigger is the mirror of Smaller and the OrEqual forms the complements, on values without NaN.
    for (int i = 0; i + 1 < 2000; ++i) {
        const TCplx& a = kOrderValues[i];
        const TCplx& b = kOrderValues[i + 1];
        EXPECT_EQ(Bigger(a, b), Smaller(b, a)) << i;
        EXPECT_EQ(BiggerOrEqual(a, b), !Smaller(a, b)) << i;
        EXPECT_EQ(SmallerOrEqual(a, b), !Bigger(a, b)) << i;
    }
}

TEST(ScalarOrder, ComparisonFormsAndExtremes)
{
    EXPECT_TRUE(Bigger(Cplx(0, 1), Cplx(1, 0)));
    EXPECT_TRUE(Bigger(Cplx(-1, 0), Cplx(0, 1)));
    EXPECT_FALSE(Bigger(Cplx(0, -1), Cplx(1, 0)));
    EXPECT_TRUE(Bigger(2.0, Cplx(1, 1)));
    EXPECT_FALSE(Smaller(2.0, Cplx(1, 1)));
    EXPECT_TRUE(Smaller(Cplx(1, 1), 2.0));
    EXPECT_TRUE(Bigger(Cplx(-2, 0), 2.0));  // equal moduli: phase pi against 0
    EXPECT_TRUE(BiggerOrEqual(Cplx(2, 0), 2.0));
    EXPECT_TRUE(SmallerOrEqual(2.0, Cplx(2, 0)));
    EXPECT_FALSE(BiggerOrEqual(1.0, Cplx(0, 1)));
    EXPECT_TRUE(SmallerOrEqual(Cplx(0, -1), 1.0));
    EXPECT_TRUE(BiggerOrEqual(Cplx(0, 0), Cplx(-0.0, 0)));  // equal exactly
    // Max and Min return the second of two equal values, bit for bit.
    const TCplx z{0, 0}, nz{-0.0, 0};
    EXPECT_TRUE(SameCplx(Max(z, nz), nz));
    EXPECT_TRUE(SameCplx(Max(nz, z), z));
    EXPECT_TRUE(SameCplx(Min(z, nz), nz));
    EXPECT_TRUE(SameCplx(Max(Cplx(3, 4), Cplx(0, 5)), Cplx(0, 5)));
    EXPECT_TRUE(SameCplx(Min(Cplx(3, 4), Cplx(0, 5)), Cplx(3, 4)));
    // A NaN modulus fails every comparison.
    EXPECT_FALSE(Bigger(CNAN, C_ONE));
    EXPECT_FALSE(Smaller(CNAN, C_ONE));
    EXPECT_FALSE(BiggerOrEqual(CNAN, CNAN));
    EXPECT_EQ(Sgn(Cplx(0, -2)), -1);
    EXPECT_EQ(Sgn(Cplx(-0.0, 0)), 0);
    EXPECT_EQ(Sgn(Cplx(-1, 5)), -1);
    EXPECT_EQ(Sgn(Cplx(1e-300, -5)), 1);
}

TEST(ScalarPredicates, ToleranceClassificationAndRanges)
{
    EXPECT_TRUE(Equal(1, 1.05, 0.1));
    EXPECT_FALSE(Equal(1, 1.2, 0.1));
    EXPECT_FALSE(Equal(kNaN, kNaN, 1));
    EXPECT_TRUE(Bigger(1.2, 1, 0.1));
    EXPECT_FALSE(Smaller(1, 1.05, 0.1));
    EXPECT_TRUE(Smaller(1, 1.2, 0.1));
    EXPECT_TRUE(Equal(Cplx(1, 2), Cplx(1.05, 1.95), 0.1));
    EXPECT_FALSE(Equal(Cplx(1, 2), Cplx(1.05, 2.5), 0.1));
    EXPECT_TRUE(Equal(Cplx(0, 0), Cplx(-0.0, 0)));
    EXPECT_FALSE(Equal(CNAN, CNAN));
    EXPECT_TRUE(Equal(Cplx(3, 0), 3.0));
    EXPECT_TRUE(Equal(3.0, Cplx(3, -0.0)));
    EXPECT_FALSE(Equal(3.0, Cplx(3, 1e-300)));
    struct Cls {
        double x;
        bool infNan, nan, inf;
    };
    const Cls cls[] = {{kInf, true, false, true},  {-kInf, true, false, true},   {kNaN, true, true, false},
                       {-kNaN, true, true, false}, {1e308, false, false, false}, {5e-324, false, false, false}};
    for (const Cls& c : cls) {
        EXPECT_EQ(IsInfNan(c.x), c.infNan) << c.x;
        EXPECT_EQ(IsNanInf(c.x), c.infNan) << c.x;
        EXPECT_EQ(IsNan(c.x), c.nan) << c.x;
        EXPECT_EQ(IsInf(c.x), c.inf) << c.x;
        EXPECT_EQ(IsInfNan(Cplx(1, c.x)), c.infNan);
        EXPECT_EQ(IsNanInf(Cplx(c.x, 1)), c.infNan);
        EXPECT_EQ(IsNan(Cplx(1, c.x)), c.nan);
        EXPECT_EQ(IsInf(Cplx(c.x, 1)), c.inf);
    }
    EXPECT_TRUE(CheckRange(0.0, 0.0, 1.0));
    EXPECT_FALSE(CheckRange(0.0, kNaN, 1.0));
    EXPECT_FALSE(CheckRange(0, 2, 1));
    EXPECT_EQ(EnsureRange(0, 5, 3), 3);
    EXPECT_EQ(EnsureRange(0, -5, 3), 0);
    EXPECT_EQ(EnsureRange(0.0, 5.0, 3.0), 3.0);
    EXPECT_EQ(EnsureRange(0.0, 2.5, 3.0), 2.5);
    double v = -1;
    LimitRange(0.0, v, 3.0);
    EXPECT_EQ(v, 0.0);
    int k = 9;
    LimitRange(0, k, 3);
    EXPECT_EQ(k, 3);
}

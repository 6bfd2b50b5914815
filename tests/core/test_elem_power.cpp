// Powers of vectors: IntPower, Power and PowerVec in every calling form against mpmath (tests/data/
// gen_transcendental_golden.py), the documented cases, and the faults guarded against: IntPower at -2^31 (the
// magnitude overflowed and the loop never ended), IntPower (Base, 0) keeping Self's old size, a complex exponent
// on real data losing its imaginary part, PowerVec reading past a short Exponent and losing data when Self is an
// operand.
#include <climits>
#include <cmath>
#include <vector>

#include "transcendental_util.h"

using namespace trtest;

namespace {

class PowerTest : public ElemTest {};

// exp(p·ln x) rounds ln x, the product and exp: about |p·ln x| + 2 ulps relative, at most 1.2e-13 for the inputs.
constexpr double kPow = 2e-13;
// The squaring loop rounds after each product: a few ulps for exponents up to 5; the polar method for complex
// bases adds the phase times the exponent.
constexpr double kSquaring = 2e-15;
constexpr double kPolar = 1e-14;

}  // namespace

TEST_F(PowerTest, PowerInEveryFormAgainstMpmath)
{
    TVec x, z, r;
    Set(x, false, kTrPos);
    Set(z, true, kTrZb);
    r.Power(x, 2.5);
    ExpectNear(r, false, kTrPowReal, kPow, "Power(Base, 2.5) real");
    r.Power(x, -1.75);
    ExpectNear(r, false, kTrPowRealNeg, kPow, "Power(Base, -1.75) real");
    r.Copy(x), r.Power(2.5);
    ExpectNear(r, false, kTrPowReal, kPow, "Power(2.5) in place");
    r.Copy(x), r.Power(Cplx(2.5, 0));
    ExpectNear(r, false, kTrPowReal, kPow, "Power(TCplx) real Self, real exponent");
    r.Power(z, 2.5);
    ExpectNear(r, true, kTrPowZb, kPow, "Power(Base, 2.5) complex");
    r.Copy(z), r.Power(2.5);
    ExpectNear(r, true, kTrPowZb, kPow, "Power(2.5) complex in place");
    r.Power(z, Cplx(0.75, -1.25));
    ExpectNear(r, true, kTrPowZbC, kPow, "Power(Base, TCplx)");
    r.Copy(z), r.Power(Cplx(0.75, -1.25));
    ExpectNear(r, true, kTrPowZbC, kPow, "Power(TCplx) in place");
    z.Power(z, 2.5);
    ExpectNear(z, true, kTrPowZb, kPow, "Power(Base) with Base = Self");

    // exp(p·ln x) of a negative real is NaN (no promotion to complex), and so is 0^0; 0^p is 0 for p > 0.
    Set(x, false, {-4, 0, 0, -0.0});
    r.Power(x, 0.5);
    ExpectSame(r, false, {NAN, 0, 0, 0}, "Power(Base, 0.5) of [-4, 0, 0, -0]");
    r.Power(x, 0);
    ExpectSame(r, false, {NAN, NAN, NAN, NAN}, "Power(Base, 0) through ln 0 · 0");
}

TEST_F(PowerTest, PowerChecksAndComplexExponentsOnRealData)
{
    TVec x, r;
    Set(x, false, {2, 3});
    // A complex exponent's imaginary part has no room in a real vector: refused before anything changes.
    Set(r, false, {4, 9});
    ExpectRaise([&] { r.Power(Cplx(0.5, 1)); }, "Base.Complex = false", "TVec.Power(TCplx) on real data");
    ExpectSame(r, false, {4, 9}, "after the refusal");
    ExpectRaise([&] { r.Power(x, Cplx(0.5, 1)); }, "Base.Complex = false", "TVec0.Power(Base, TCplx) real Base");
    ExpectRaise([&] { r.Power(x, Cplx(0.5, 0)); }, "Base.Complex = false", "a real Base whatever the exponent");
    ExpectSame(r, false, {4, 9}, "after the refusals");
    r.Power(x, 2.0);
    ExpectNear(r, false, {4, 9}, kPow, "a Double exponent stays real");
}

TEST_F(PowerTest, IntPowerOfRealsAgainstMpmath)
{
    const struct {
        int exponent;
        const std::vector<double>* expected;
        double rel;
    } rows[] = {
        {1, &kTrIp1, 0},
        {-1, &kTrIpM1, 0},
        {2, &kTrIp2, 0},
        {-2, &kTrIpM2, kSquaring},
        {3, &kTrIp3, kSquaring},
        {5, &kTrIp5, kSquaring},
        // 31 squarings double the rounding error each time; the signs, the zeros, infinities, thresholded
        // reciprocals and NaN are exact.
        {INT_MIN, &kTrIpMin, 1e-6},
    };
    TVec x, r;
    Set(x, false, kTrIpIn);
    for (const auto& row : rows) {
        const std::string where = "IntPower " + std::to_string(row.exponent);
        r.Size(2, true);
        r.IntPower(x, row.exponent);
        ExpectNear(r, false, *row.expected, row.rel, where + " (Base, n)");
        r.Copy(x), r.IntPower(row.exponent);
        ExpectNear(r, false, *row.expected, row.rel, where + " in place");
    }
    // Documented cases: 2^3 = 8, 2^-2 = 0.25.
    Set(x, false, {2});
    r.IntPower(x, 3);
    ExpectSame(r, false, {8});
    r.IntPower(x, -2);
    ExpectSame(r, false, {0.25});
}

TEST_F(PowerTest, IntPowerOfComplexAgainstMpmath)
{
    const struct {
        int exponent;
        const std::vector<double>* expected;
    } rows[] = {{2, &kTrIpZb2}, {3, &kTrIpZb3}, {5, &kTrIpZb5}, {-2, &kTrIpZbM2}, {-5, &kTrIpZbM5}};
    TVec z, r;
    Set(z, true, kTrZb);
    for (const auto& row : rows) {
        const std::string where = "complex IntPower " + std::to_string(row.exponent);
        r.IntPower(z, row.exponent);
        ExpectNearMagnitude(Doubles(r), *row.expected, kPolar, where + " (Base, n): polar", false);
        r.Copy(z), r.IntPower(row.exponent);
        ExpectNearMagnitude(Doubles(r), *row.expected, kPolar, where + " in place", false);
    }
    // The polar method gives (1 + i)^2 = 2i to rounding; complex products in place give (1 + i)^3 = -2 + 2i.
    Set(z, true, {1, 1});
    r.IntPower(z, 2);
    ExpectNear(r, true, {0, 2}, kPolar, "(1 + i)^2 polar");
    r.Copy(z), r.IntPower(3);
    ExpectSame(r, true, {-2, 2}, "(1 + i)^3 by products");
    // -2^31 through the polar method: |1 + 0i| stays 1, the phase 0 stays 0.
    Set(z, true, {1, 0, -1, 0});
    r.IntPower(z, INT_MIN);
    ExpectNear(r, true, {1, 0, 1, 0}, 1e-6, "IntPower(Base, -2^31) complex ends");
    r.Copy(z), r.IntPower(INT_MIN);
    ExpectNear(r, true, {1, 0, 1, 0}, 1e-6, "IntPower(-2^31) complex in place");
}

TEST_F(PowerTest, IntPowerSizesAndZeroExponent)
{
    TVec b, r;
    // Exponent 0 sizes Self like Base, then ones (Self's old size and kind were kept before).
    Set(b, true, {3, 4, 5, 6});
    Set(r, false, {7, 7, 7, 7, 7});
    r.IntPower(b, 0);
    ExpectSame(r, true, {1, 0, 1, 0}, "IntPower(complex Base, 0)");
    b.Size(0, false);
    r.IntPower(b, 0);
    ExpectSame(r, false, {}, "IntPower(empty Base, 0)");
    Set(b, false, {NAN, INFINITY, 0});
    r.IntPower(b, 0);
    ExpectSame(r, false, {1, 1, 1}, "IntPower(Base, 0) of NaN, INF, 0");
    r.Copy(b), r.IntPower(0);
    ExpectSame(r, false, {1, 1, 1}, "IntPower(0) in place");
    ExpectRaise([&] { r.IntPower(r, 2); }, "Self = Base");
    ExpectSame(r, false, {1, 1, 1}, "after the refusal");
}

TEST_F(PowerTest, PowerVecAgainstNumpyAndMpmath)
{
    TVec b, e, r;
    // Real pairs: C's pow, so negative bases with whole exponents and 0^0 have values.
    Set(b, false, kTrPvBase);
    Set(e, false, kTrPvExp);
    r.PowerVec(b, e);
    ExpectNear(r, false, kTrPvReal, 3e-16, "PowerVec real");
    // A real base and a complex exponent: exp(e·ln b), complex.
    Set(b, false, kTrPvBaseR);
    Set(e, true, kTrPvExpC);
    r.PowerVec(b, e);
    ExpectNear(r, true, kTrPvRealC, kPow, "PowerVec real Base, complex Exponent");
    // Documented: 2^i = cos(ln 2) + i·sin(ln 2).
    Set(b, false, {2});
    Set(e, true, {0, 1});
    r.PowerVec(b, e);
    ExpectNear(r, true, {std::cos(std::log(2.0)), std::sin(std::log(2.0))}, 1e-15, "2^i");
    // A complex base and a real exponent.
    TVec z;
    Set(z, true, std::vector<double>(kTrZb.begin(), kTrZb.begin() + 10));
    Set(e, false, {0.5, -1, 2, 1.5, 0.25});
    r.PowerVec(z, e);
    ExpectNear(r, true, kTrPvZbR, kPow, "PowerVec complex Base, real Exponent");
    // Self as either operand gives the result of distinct vectors.
    TVec expected;
    expected.PowerVec(z, e);
    r.Copy(z), r.PowerVec(r, e);
    ExpectNear(r, true, Doubles(expected), 0, "PowerVec with Self = Base");
    r.Copy(e), r.PowerVec(z, r);
    ExpectNear(r, true, Doubles(expected), 0, "PowerVec with Self = Exponent");
}

TEST_F(PowerTest, PowerVecRefusesAShortOrLongExponentOnBothPaths)
{
    TVec b, e, r;
    Set(r, false, {9});
    for (bool complex : {false, true}) {
        Set(b, complex, complex ? std::vector<double>{1, 1, 2, 2, 3, 3} : std::vector<double>{1, 2, 3});
        Set(e, false, {1, 2});
        ExpectRaise([&] { r.PowerVec(b, e); }, "Length <> Vec.Length", complex ? "complex short" : "real short");
        Set(e, false, {1, 2, 3, 4});
        ExpectRaise([&] { r.PowerVec(b, e); }, "Length <> Vec.Length", complex ? "complex long" : "real long");
        SetVecConditionCheck(false);
        ExpectRaise([&] { r.PowerVec(b, e); }, "Length <> Vec.Length", "with ConditionCheck off too");
        SetVecConditionCheck(true);
        ExpectSame(r, false, {9}, "after the refusals");
    }
    b.Size(0, false), e.Size(0, true);
    r.PowerVec(b, e);
    ExpectSame(r, true, {}, "empty operands");
}

TEST_F(PowerTest, LongVectorsAgreeWithShortOnes)
{
    // 2^17 elements run on the worker threads; each element must equal the same element computed alone.
    const int n = 1 << 17;
    TVec x, r, one, e;
    x.Size(n, true);
    for (int i = 0; i < n; ++i) x.CValues()[i] = Cplx(0.5 + (i % 97) * 0.03, (i % 13) * 0.1 - 0.6);
    r.Power(x, Cplx(1.5, 0.25));
    for (int i : {0, 1, 4095, 65536, n - 1}) {
        Set(one, true, {x.CValues()[i].Re, x.CValues()[i].Im});
        one.Power(Cplx(1.5, 0.25));
        ExpectSame(one, true, {r.CValues()[i].Re, r.CValues()[i].Im}, "Power element " + std::to_string(i));
    }
    r.IntPower(x, 7);
    e.Copy(x), e.IntPower(7);
    ExpectSame(e, true, Doubles(r), "IntPower 7 long, both forms (polar)");
    x.SetComplex(false);
    r.IntPower(x, -3);
    Set(one, false, {x.Values()[12345]});
    one.IntPower(-3);
    EXPECT_EQ(r.Values()[12345], one.Values()[0]);
}

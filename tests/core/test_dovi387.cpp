#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>

#include "Feldrin.h"

using namespace tarnel;

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// Same value, or both NaN; the sign of zero counts.
bool SameDouble(double a, double b) { return (std::isnan(a) && std::isnan(b)) || Bits(a) == Bits(b); }

struct ConstantRow {
    const char* name;
    double value;
    std::uint64_t literalBits;
    std::uint64_t definitionBits;
};

const ConstantRow kConstants[] = {
#include "dovi387_constants.inc"
};

}  // namespace

TEST(Dovi387Constants, EveryRealConstantHasThePublishedBits)
{
    for (const ConstantRow& c : kConstants) {
        EXPECT_EQ(Bits(c.value), c.literalBits) << c.name;
        EXPECT_EQ(Bits(c.value), c.definitionBits) << c.name << " differs from its definition";
    }
    EXPECT_EQ(Bits(MACHEP), 0x3CB0000000000000ULL);
    EXPECT_EQ(Bits(MINNUM), 0x0010000000000001ULL);
    EXPECT_EQ(Bits(LNSQRT2PI), Bits(LN2PIDIV2));
    EXPECT_NE(Bits(CGOLD), Bits(2.0 - GOLD)) << "CGOLD is the literal, one ulp from 2 - GOLD";
}

TEST(Dovi387Constants, NonFiniteAndComplexConstants)
{
    EXPECT_EQ(Bits(NAN), 0x7FF8000000000000ULL);
    EXPECT_EQ(Bits(INF), 0x7FF0000000000000ULL);
    EXPECT_EQ(Bits(CNAN.Re), Bits(NAN));
    EXPECT_EQ(Bits(CNAN.Im), Bits(NAN));
    EXPECT_EQ(Bits(CINF.Re), Bits(INF));
    EXPECT_EQ(Bits(CINF.Im), Bits(INF));
    EXPECT_EQ(C_ZERO.Re, 0.0);
    EXPECT_EQ(C_ZERO.Im, 0.0);
    EXPECT_EQ(C_ONE.Re, 1.0);
    EXPECT_EQ(C_I.Im, 1.0);
    EXPECT_EQ(Bits(C_PI.Re), Bits(PI));
    EXPECT_EQ(Bits(C_pi_div_2.Re), Bits(PIDIV2));
    EXPECT_EQ(Tarnel8087CW, 0x133F);
    EXPECT_EQ(Fortran8087CW, 0x123F);
    EXPECT_EQ(Saved8087, 0x1332);
    EXPECT_EQ(TarnelBlockSize, 800);
    EXPECT_STREQ(MtxRegistryKey, "\\Software\\Brisolt\\Tarnel");
}

TEST(Dovi387Startup, FactorialTableIsBuiltBySuccessiveRoundedProducts)
{
    EXPECT_EQ(detail::FactorialTableEntry(0), 1.0);
    EXPECT_EQ(detail::FactorialTableEntry(1), 1.0);
    EXPECT_EQ(detail::FactorialTableEntry(10), 3628800.0);
    EXPECT_EQ(detail::FactorialTableEntry(30), 2.6525285981219103e+32);
    double f = 1;
    for (int i = 1; i <= 30; ++i) {
        f *= i;
        EXPECT_EQ(Bits(detail::FactorialTableEntry(i)), Bits(f)) << i;
    }
    EXPECT_TRUE(std::isnan(detail::FactorialTableEntry(31)));
    EXPECT_TRUE(std::isnan(detail::FactorialTableEntry(-1)));
}

TEST(Dovi387Startup, LoadsTheWorkingControlWordInTheStartingThread)
{
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    // Repeated start-up calls are counted and change nothing.
    Dovi387Initialize();
    Dovi387Finalize();
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    EXPECT_STREQ(MtxRegistryKey, "\\Software\\Brisolt\\Tarnel");
}

struct CplxCase {
    const char* what;
    TCplx got;
    TCplx want;
};

TEST(Dovi387Complex, ArithmeticFollowsTheTextbookFormulas)
{
    const TCplx a = Cplx(1, 2), b = Cplx(3, -4);
    const double inf = INF, nan = NAN;
    TCplx r{};
    const CplxCase cases[] = {
        {"Cplx", Cplx(1, 2), {1, 2}},
        {"CAdd cc", CAdd(a, b), {4, -2}},
        {"CAdd cx", CAdd(a, 5.0), {6, 2}},
        {"CAdd xc", CAdd(5.0, a), {6, 2}},
        {"CSub cc", CSub(a, b), {-2, 6}},
        {"CSub cx", CSub(a, 5.0), {-4, 2}},
        {"CSub xc", CSub(5.0, a), {4, -2}},
        {"CMul cc", CMul(a, b), {11, 2}},
        {"CMul cx", CMul(a, 3.0), {3, 6}},
        {"CMul xc", CMul(3.0, a), {3, 6}},
        {"CDiv cc", CDiv(Cplx(11, 2), b), {1, 2}},
        {"CDiv cx", CDiv(a, 4.0), {0.25, 0.5}},
        {"CDiv xc", CDiv(5.0, a), {1, -2}},
        {"CInv", CInv(Cplx(0, 2)), {0, -0.5}},
        {"Conj", Conj(a), {1, -2}},
        {"Neg", Neg(a), {-1, -2}},
        {"Sign", Sign(a), {-1, -2}},
        {"Flip", Flip(a), {2, 1}},
        {"FlipConj", FlipConj(a), {2, -1}},
        {"MulI", MulI(a), {-2, 1}},
        {"CSqr", CSqr(a), {-3, 4}},
        {"CartToPolar", CartToPolar(Cplx(0, -2)), {2, -PIDIV2}},
        {"PolarToCart", PolarToCart(Cplx(2, 0)), {2, 0}},
        {"Expj", Expj(0), {1, 0}},
        // Non-finite operands: no recovery of infinities as std::complex does, the formulas as they stand.
        {"CMul inf", CMul(Cplx(inf, 0), Cplx(1, 0)), {inf, nan}},
        {"CMul nan", CMul(Cplx(nan, 0), Cplx(0, 1)), {nan, nan}},
        {"CDiv by zero", CDiv(C_ONE, C_ZERO), {nan, nan}},
        {"CDiv x by zero", CDiv(a, 0.0), {inf, inf}},
        {"CInv zero", CInv(C_ZERO), {nan, nan}},
        {"CDiv x/zero", CDiv(1.0, C_ZERO), {nan, nan}},
        {"CAdd inf", CAdd(Cplx(inf, 1), Cplx(-inf, 1)), {nan, 2}},
        {"Neg zero", Neg(C_ZERO), {-0.0, -0.0}},
    };
    for (const CplxCase& c : cases) {
        EXPECT_TRUE(SameDouble(c.got.Re, c.want.Re) && SameDouble(c.got.Im, c.want.Im))
            << c.what << ": got (" << c.got.Re << ", " << c.got.Im << "), want (" << c.want.Re << ", " << c.want.Im
            << ")";
    }

    CSub(a, 5.0, r);
    EXPECT_EQ(r.Re, -4);
    CSub(5.0, a, r);
    EXPECT_EQ(r.Im, -2);
    CInv(Cplx(0, 2), r);
    EXPECT_EQ(r.Im, -0.5);
    TCplx src = a;
    FlipConj(src, r);
    EXPECT_EQ(src.Re, 1);
    EXPECT_EQ(src.Im, 2);
    EXPECT_EQ(r.Re, 2);
    EXPECT_EQ(r.Im, -1);
    MulI(src, r);
    EXPECT_EQ(r.Re, -2);
    EXPECT_EQ(r.Im, 1);
    TCplx x = a, y = b;
    Swap(x, y);
    EXPECT_EQ(x.Re, 3);
    EXPECT_EQ(y.Re, 1);
}

TEST(Dovi387Complex, ModulusAndQuotientsDoNotOverflowEarly)
{
    // Intermediates are wide: squares of 1e200 overflow a Double but not the computation.
    EXPECT_DOUBLE_EQ(CAbs(Cplx(1e200, 1e200)), 1.4142135623730951e200);
    EXPECT_EQ(CAbs(Cplx(3, 4)), 5);
    EXPECT_DOUBLE_EQ(CDiv(Cplx(1e200, 1e200), Cplx(1e200, 1e200)).Re, 1.0);
    EXPECT_DOUBLE_EQ(CInv(Cplx(1e-200, 0)).Re, 1e200);
    EXPECT_EQ(Norm(Cplx(3, 4)), 25);
    EXPECT_EQ(Norm(Cplx(1e200, 0)), INF) << "a result beyond the Double range is infinite";
    EXPECT_TRUE(std::isnan(CAbs(Cplx(INF, NAN)))) << "the direct formula, not hypot";
    EXPECT_TRUE(std::isnan(CAbs(Cplx(NAN, 1))));
}

TEST(Dovi387Complex, ModulusKeepsTinyAndHugePartsAndAgreesWithTheArrayModuli)
{
    // Squares that underflow or overflow a Double, and the edges where the Double evaluation stops (2^-1000 and
    // 2^1000 for the sum of squares); each expected value is the wide formula's, rounded once.
    const struct {
        double re, im, expected;
    } table[] = {
        {1e-200, 1e-200, 0x1.151f68876f41p-664},
        {3e-320, 4e-320, 0x0.0000000002788p-1022},  // subnormal parts and result
        {1e-160, 3e-161, 0x1.77c2a3caeb721p-532},
        {0x1p-501, 0x1p-501, 0x1.6a09e667f3bcdp-501},
        {0x1p-500, 0, 0x1p-500},
        {0x1p+500, 0, 0x1p+500},
        {0x1p+500, 0x1p+500, 0x1.6a09e667f3bcdp+500},
        {1e308, -1e308, 0x1.92c80954c51f5p+1023},
        {1.7e308, 1.7e308, INF},  // the modulus itself beyond the Double range
        {-0.0, 0.0, 0.0},
        {INF, -2, INF},
    };
    for (const auto& c : table) {
        EXPECT_EQ(CAbs(Cplx(c.re, c.im)), c.expected) << c.re << ", " << c.im;
    }
    // Moduli in range are the array member's Doubles bit for bit.
    TVec z, mag;
    z.Size(64 * 7, true);
    int i = 0;
    for (int e = -480; e < 480; e += 15) {
        for (int k = 1; k <= 7; ++k) z.CValues()[i++] = {std::ldexp(0.1 + 0.13 * k, e), std::ldexp(-1.7 + 0.29 * k, e - k)};
    }
    ASSERT_EQ(i, z.Length());
    mag.Mag(z);
    for (i = 0; i < z.Length(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(CAbs(z.CValues()[i])), std::bit_cast<std::uint64_t>(mag.Values()[i]))
            << i;
    }
}

TEST(Dovi387Complex, ArgumentKeepsSignedZeroBehaviour)
{
    EXPECT_EQ(Arg(Cplx(-1, 0)), PI);
    EXPECT_EQ(Arg(Cplx(-1, -0.0)), -PI);
    EXPECT_EQ(Arg(Cplx(0, 1)), PIDIV2);
    EXPECT_EQ(Bits(Arg(Cplx(1, -0.0))), Bits(-0.0));
    EXPECT_EQ(Arg(C_ZERO), 0.0);
    EXPECT_EQ(CartToPolar(Cplx(-1, -0.0)).Im, -PI);
    EXPECT_EQ(DegToRad(180), 180 * PI180);
    EXPECT_EQ(RadToDeg(PI), PI * INVPI180);
}

TEST(Dovi387Fpu, RoundToTruncBracketsTruncatingArithmetic)
{
    const Word before = Get8087CW();
    volatile double one = 1, three = 10;  // 1/10 rounds up to nearest
    const double nearest = one / three;
    const Word saved = SetRoundToTrunc();
    EXPECT_EQ(saved, before);
    EXPECT_EQ(Get8087CW(), before | 0x0F00);
    const double truncated = one / three;
    volatile long double lone = 1, lthree = 10;
    const long double ltruncated = lone / lthree;
    RestoreRound(saved);
    EXPECT_EQ(Get8087CW(), before);
    EXPECT_LT(truncated, nearest) << "1/10 rounds up to nearest and down when truncating";
    EXPECT_EQ(truncated, std::nextafter(nearest, 0.0));
    const long double lnearest = lone / lthree;
    EXPECT_LT(ltruncated, lnearest);
    EXPECT_EQ(one / three, nearest);
}

TEST(Dovi387Fpu, ControlWordIsPerThreadAndNeverTraps)
{
    Word other = 0;
    std::thread t([&] {
        Set8087CW(Saved8087);  // unmasked exceptions in the word must still not trap
        volatile double zero = 0;
        volatile double q = 1 / zero;
        (void)q;
        other = Get8087CW();
    });
    t.join();
    EXPECT_EQ(other, Saved8087);
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
}

TEST(Dovi387Errors, ERaiseRaisesExactlyTheMessage)
{
    try {
        ERaise("TVec.Add: Self = Vec");
        FAIL() << "ERaise returned";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TVec.Add: Self = Vec");
    }
    EXPECT_THROW(ERaise(""), std::exception);
    EXPECT_FALSE((std::is_base_of_v<EAbort, Exception>));
    EXPECT_TRUE((std::is_base_of_v<Exception, EAbort>));
}

TEST(Dovi387Utilities, ClockItFormatsElapsedTime)
{
    const double day = 1.0, second = 1.0 / 86400;
    const std::string s = ClockIt(Now() - 1.5 * second);
    ASSERT_EQ(s.size(), 12u) << s;
    EXPECT_EQ(s.substr(0, 9), "00:00:01:") << s;
    const int ms = std::stoi(s.substr(9));
    EXPECT_GE(ms, 500);
    EXPECT_LT(ms, 900);
    EXPECT_EQ(ClockIt(Now() - (day + 3600 * second)).substr(0, 9), "25:00:00:");
    EXPECT_EQ(ClockIt(Now() - (61 * second)).substr(0, 9), "00:01:01:");
    EXPECT_EQ(ClockIt(Now() + 10 * second), "00:00:00:000");
}

TEST(Dovi387Utilities, FreeAndNilClearsTheVariableBeforeFreeing)
{
    struct Probe {
        Probe** watched;
        bool* sawNil;
        ~Probe() { *sawNil = (*watched == nullptr); }
    };
    bool sawNil = false;
    Probe* p = nullptr;
    p = new Probe{&p, &sawNil};
    FreeAndNil(p);
    EXPECT_EQ(p, nullptr);
    EXPECT_TRUE(sawNil);
    FreeAndNil(p);  // nil stays nil
    EXPECT_EQ(p, nullptr);
}

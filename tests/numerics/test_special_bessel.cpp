// Airy and Bessel functions of SpecialFuncs: the calling forms, the reflection of negative orders, the origin and
// the scaled forms.
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "SpecialGolden.h"
#include "TestSupport.h"

using namespace tarnel;

namespace {

using namespace specialtest;

class SpecialBessel : public testsupport::PoolCheck {};

TCplx Of(const std::string& Fn, double Nu, const TCplx& Z, bool Scaled)
{
    if (Fn == "J") return Besj(Nu, Z, Scaled);
    if (Fn == "Y") return Besy(Nu, Z, Scaled);
    if (Fn == "I") return Besi(Nu, Z, Scaled);
    if (Fn == "K") return Besk(Nu, Z, Scaled);
    return Besh(Nu, Z, Scaled, Fn == "H1");
}

double Modulus(const TCplx& z)
{
    return std::hypot(z.Re, z.Im);
}

void ExpectClose(const TCplx& Got, const TCplx& Want, double Rel, const std::string& Where)
{
    const double tol = Rel * Modulus(Want);
    EXPECT_NEAR(Got.Re, Want.Re, tol) << Where;
    EXPECT_NEAR(Got.Im, Want.Im, tol) << Where;
}

void ExpectSame(const TCplx& Got, const TCplx& Want, const std::string& Where)
{
    EXPECT_EQ(Got.Re, Want.Re) << Where;
    EXPECT_EQ(Got.Im, Want.Im) << Where;
}

bool BothNan(const TCplx& z)
{
    return std::isnan(z.Re) && std::isnan(z.Im);
}

}  // namespace

// Orders −2, −1.5, −0.5, −0.3 of every function, plain and scaled, on both sides of the cut and off the axes,
// against mpmath. The reflection combines two values correctly rounded with sin νπ and cos νπ: a few units of
// the larger term.
TEST_F(SpecialBessel, NegativeOrdersAgainstMpmath)
{
    for (const NegOrderRow& r : kNegOrders) {
        const std::string where = std::string(r.Fn) + " nu=" + std::to_string(r.Nu) + " z=(" + std::to_string(r.Z.Re) +
                                  ", " + std::to_string(r.Z.Im) + ")";
        ExpectClose(Of(r.Fn, r.Nu, r.Z, false), r.Plain, 1e-14, where);
        ExpectClose(Of(r.Fn, r.Nu, r.Z, true), r.Scaled, 1e-14, where + " scaled");
    }
}

// The short forms are the long ones with Scaled false (and FirstKind true); a real X is (X, +0).
TEST_F(SpecialBessel, CallingForms)
{
    const TCplx z{-1.5, 0.0};
    for (double nu : {-0.3, 0.0, 2.5}) {
        ExpectSame(Besj(nu, -1.5), Besj(nu, z, false), "J");
        ExpectSame(Besj(nu, -1.5, true), Besj(nu, z, true), "J scaled");
        ExpectSame(Besy(nu, -1.5), Besy(nu, z, false), "Y");
        ExpectSame(Besi(nu, -1.5, true), Besi(nu, z, true), "I scaled");
        ExpectSame(Besk(nu, -1.5), Besk(nu, z, false), "K");
        ExpectSame(Besh(nu, -1.5), Besh(nu, z, false, true), "H");
        ExpectSame(Besh(nu, -1.5, true, false), Besh(nu, z, true, false), "H2 scaled");
    }
    EXPECT_EQ(Airy(-1.5), Airy(z).Re);
    EXPECT_EQ(Biry(2.0, true, true), Biry(TCplx{2.0, 0.0}, true, true).Re);
}

// The documented values and identities.
TEST_F(SpecialBessel, KnownValuesAndIdentities)
{
    ExpectClose(Besj(0, TCplx{1, 0}), {0.7651976865579666, 0}, 2e-16, "J0(1)");
    ExpectClose(Besj(0.3, -2.0), {0.2502166916211530, 0.3443937305474659}, 4e-16, "J0.3(-2)");
    EXPECT_NEAR(Airy(0), 0.3550280538878172, 1e-16);
    EXPECT_NEAR(Airy(0, true, false), -0.2588194037928068, 1e-16);
    EXPECT_NEAR(Airy(10, false, true), 0.1581236668543461, 2e-16);
    for (double x : {0.25, 3.0, -4.0}) {
        const TCplx j = Besj(1, x), jm = Besj(-1, x);
        ExpectSame(jm, {-j.Re, -j.Im}, "J-1");
        const TCplx d = Besi(-0.5, x), i = Besi(0.5, x), k = Besk(0.5, x);
        ExpectClose({d.Re - i.Re, d.Im - i.Im}, {2 / PI * k.Re, 2 / PI * k.Im}, 1e-14, "I-0.5 - I0.5");
    }
    const TCplx z{0.8, -2.1};
    ExpectSame(Besk(-2.7, z), Besk(2.7, z), "K even");
    const TCplx h = Besh(0.7, z), hm = Besh(-0.7, z), e{std::cos(0.7 * PI), std::sin(0.7 * PI)};
    ExpectClose(hm, {e.Re * h.Re - e.Im * h.Im, e.Re * h.Im + e.Im * h.Re}, 1e-15, "H-nu");
}

// Integer orders reflect exactly (no Y, K or other Hankel part leaks in through a rounded sin nπ), and the order
// 0 is not reflected at all (0·Y₀ would make J₀(0) NaN).
TEST_F(SpecialBessel, IntegerAndZeroOrdersReflectExactly)
{
    ExpectClose(Besj(-1, 1e-10), {-5e-11, 0}, 1e-15, "J-1(1e-10)");
    for (const TCplx& z : {TCplx{1e-10, 0}, TCplx{-3, 0.5}, TCplx{20, -7}}) {
        for (int n : {1, 2, 5}) {
            const double s = n % 2 ? -1 : 1;
            const TCplx j = Besj(n, z), y = Besy(n, z), h1 = Besh(n, z), h2 = Besh(n, z, true, false);
            ExpectSame(Besj(-n, z), {s * j.Re, s * j.Im}, "J");
            ExpectSame(Besy(-n, z), {s * y.Re, s * y.Im}, "Y");
            ExpectSame(Besi(-n, z), Besi(n, z), "I");
            ExpectSame(Besh(-n, z), {s * h1.Re, s * h1.Im}, "H1");
            ExpectSame(Besh(-n, z, true, false), {s * h2.Re, s * h2.Im}, "H2");
        }
    }
    ExpectSame(Besj(0, 0.0), {1, 0}, "J0(0)");
    ExpectSame(Besi(0, 0.0), {1, 0}, "I0(0)");
}

// At the origin: J and I give 0 at negative integers and NaN at other negative orders, as Besh always; Besy is
// (−INF, −INF) but 0 at Nu = −½, −3⁄2 (Y₋½ = J½); Besk (INF, INF).
TEST_F(SpecialBessel, Origin)
{
    const TCplx z0{0, 0};
    ExpectSame(Besj(2, z0), {0, 0}, "J2");
    ExpectSame(Besj(-2, z0), {0, 0}, "J-2");
    ExpectSame(Besi(-3, z0), {0, 0}, "I-3");
    EXPECT_TRUE(BothNan(Besj(-0.5, z0)));
    EXPECT_TRUE(BothNan(Besj(-0.3, z0)));
    EXPECT_TRUE(BothNan(Besi(-1.5, z0)));
    for (double nu : {0.0, 1.0, -2.5})
        for (bool first : {true, false}) EXPECT_TRUE(BothNan(Besh(nu, z0, false, first))) << nu;
    for (double nu : {0.0, 0.5, -1.0, -0.3}) ExpectSame(Besy(nu, z0), {-INF, -INF}, "Y " + std::to_string(nu));
    ExpectSame(Besy(-0.5, z0), {0, 0}, "Y-0.5");
    ExpectSame(Besy(-1.5, z0), {0, 0}, "Y-1.5");
    ExpectSame(Besk(-0.5, z0), {INF, INF}, "K");
    ExpectSame(Besk(1, TCplx{0, -0.0}, true), {INF, INF}, "K scaled");
}

// Scaled Besi at a negative order brings K to I's scale first: e^(−|Re z|)·I₋ᵥ(z), not e^(−|Re z|)·Iᵥ + e^z·Kᵥ.
TEST_F(SpecialBessel, ScaledNegativeOrderOfI)
{
    EXPECT_NEAR(Besi(-0.5, 1.0, true).Re, 0.4529332469146207, 1e-15);  // mpmath: e^-1·I₋½(1)
    for (const TCplx& z : {TCplx{2.5, 1}, TCplx{-2.5, 1}, TCplx{800, 3}}) {
        const TCplx s = Besi(-0.3, z, true);
        if (z.Re < 100) {
            const TCplx p = Besi(-0.3, z), f{std::exp(-std::fabs(z.Re)), 0};
            ExpectClose(s, {f.Re * p.Re, f.Re * p.Im}, 1e-14, "scaled = e^(-|Re z|) plain");
        } else {
            EXPECT_TRUE(std::isfinite(s.Re) && std::isfinite(s.Im)) << "scaled stays finite";
            EXPECT_TRUE(std::isinf(Besi(-0.3, z).Re));
        }
    }
}

// Real Airy with Scaled at X < 0 is the plain value (|e^ζ| = 1 there); Bi's scale is 1 there anyway.
TEST_F(SpecialBessel, ScaledRealAiryOnTheNegativeAxis)
{
    EXPECT_NEAR(Airy(-2, false, true), 0.22740742820168557, 1e-16);
    EXPECT_EQ(Airy(-2, false, true), Airy(-2.0));
    EXPECT_EQ(Airy(-2, true, true), Airy(-2, true, false));
    EXPECT_EQ(Biry(-2, false, true), Biry(-2.0));
    EXPECT_NEAR(Airy(2, false, true), Airy(2.0) * std::exp(2.0 / 3 * std::pow(2.0, 1.5)), 1e-16);
}

// Nothing is raised: bad input gives NaN.
TEST_F(SpecialBessel, BadInputIsNan)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(BothNan(Besj(nan, 1.0)));
    EXPECT_TRUE(BothNan(Besy(-INF, 1.0)));
    EXPECT_TRUE(BothNan(Besk(1, TCplx{nan, 0})));
    EXPECT_TRUE(std::isnan(Airy(nan)));
    EXPECT_TRUE(std::isnan(Biry(INF, true, true)));
}

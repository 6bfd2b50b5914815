// The complex Bessel and Airy routines of lapack (core/Nmkl.h): values against mpmath at 30 digits and scipy, the
// scalings, the branch side, several orders at once, the error flags and the members that leave the Double range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Feldrin.h"

using namespace tarnel;

namespace {

struct Row {
    const char* Fn;
    double Nu;
    TCplx Z;
    int Kode;
    TCplx Exact;
    TCplx Scipy;  // NaN: not compared
};

const Row kRows[] = {
#include "bessel_golden.inc"
};

struct Out {
    TCplx V{-1, -1};
    int NZ = -1;
    int IERR = -1;
};

// One value of the routine named as in the table (M 1 / 2 for H1 / H2; Aip, Bip the derivatives).
Out Eval(const std::string& Fn, double Nu, TCplx Z, int Kode, int N = 1, TCplx* Many = nullptr)
{
    Out o;
    TCplx* cy = Many ? Many : &o.V;
    TCplx wrk;
    if (Fn == "J") CBESJ(&Z, &Nu, &Kode, &N, cy, &o.NZ, &o.IERR);
    if (Fn == "Y") CBESY(&Z, &Nu, &Kode, &N, cy, &o.NZ, &wrk, &o.IERR);
    if (Fn == "I") CBESI(&Z, &Nu, &Kode, &N, cy, &o.NZ, &o.IERR);
    if (Fn == "K") CBESK(&Z, &Nu, &Kode, &N, cy, &o.NZ, &o.IERR);
    if (Fn == "H1" || Fn == "H2") {
        const int m = Fn == "H1" ? 1 : 2;
        CBESH(&Z, &Nu, &Kode, &m, &N, cy, &o.NZ, &o.IERR);
    }
    const int id = Fn.size() == 3 ? 1 : 0;
    if (Fn[0] == 'A') CAIRY(&Z, &id, &Kode, cy, &o.NZ, &o.IERR);
    if (Fn[0] == 'B') {
        o.NZ = 0;
        CBIRY(&Z, &id, &Kode, cy, &o.IERR);
    }
    return o;
}

double Modulus(TCplx z)
{
    return std::hypot(z.Re, z.Im);
}

bool BothNan(TCplx z)
{
    return std::isnan(z.Re) && std::isnan(z.Im);
}

}  // namespace

// Every function on the grid arg z ∈ {0, ±π/4, ±π/2, 3π/4, π}, |z| ∈ {1e-3, 1, 10, 100, 1e4}, orders {0, 0.5, 1,
// 10.3, 100}, plain and scaled: the nearest Doubles (within 5e-16 of the modulus), ±INF with IERR 2 beyond the
// range, 0 with NZ 1 below it; scipy agrees to 1e-12 where it is accurate.
TEST(LapackBessel, AgreesWithMpmathAndScipy)
{
    for (const Row& r : kRows) {
        const std::string fn = r.Fn;
        const bool origin = r.Z.Re == 0 && r.Z.Im == 0;
        if (origin && (fn == "Y" || fn == "K" || fn == "H1" || fn == "H2")) continue;  // bad input, below
        const Out o = Eval(fn, r.Nu, r.Z, r.Kode);
        const std::string where = fn + " nu=" + std::to_string(r.Nu) + " z=(" + std::to_string(r.Z.Re) + ", " +
                                  std::to_string(r.Z.Im) + ") kode=" + std::to_string(r.Kode);
        if (std::isinf(r.Exact.Re) || std::isinf(r.Exact.Im)) {
            EXPECT_EQ(o.IERR, 2) << where;
            EXPECT_TRUE(!std::isinf(r.Exact.Re) || o.V.Re == r.Exact.Re) << where;
            EXPECT_TRUE(!std::isinf(r.Exact.Im) || o.V.Im == r.Exact.Im) << where;
            continue;
        }
        const bool under = r.Exact.Re == 0 && r.Exact.Im == 0 && !origin;
        EXPECT_EQ(o.IERR, 0) << where;
        EXPECT_EQ(o.NZ, under ? 1 : 0) << where;
        const double tol = 5e-16 * Modulus(r.Exact);
        EXPECT_NEAR(o.V.Re, r.Exact.Re, tol) << where;
        EXPECT_NEAR(o.V.Im, r.Exact.Im, tol) << where;
        if (!std::isnan(r.Scipy.Re)) {
            EXPECT_NEAR(o.V.Re, r.Scipy.Re, 1e-12 * Modulus(r.Exact)) << where << " (scipy)";
            EXPECT_NEAR(o.V.Im, r.Scipy.Im, 1e-12 * Modulus(r.Exact)) << where << " (scipy)";
        }
    }
}

// IERR 1 with NaN written for every member: a negative or non-finite order, KODE, ID or M outside their sets,
// z = 0 for Y, K and H, a non-finite z. N < 1 writes nothing.
TEST(LapackBessel, BadInputGivesIerr1AndNan)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = INF;
    struct Case {
        const char* Fn;
        double Nu;
        TCplx Z;
        int Kode;
    } cases[] = {
        {"J", -0.5, {1, 0}, 1}, {"I", nan, {1, 0}, 1}, {"K", inf, {1, 0}, 1},  {"J", 1, {1, 0}, 0},
        {"Y", 1, {1, 0}, 3},    {"Y", 1, {0, 0}, 1},   {"K", 0, {0, -0.0}, 2}, {"H1", 0.5, {0, 0}, 1},
        {"H2", 0, {0, 0}, 2},   {"J", 0, {nan, 0}, 1}, {"I", 0, {1, inf}, 1},  {"Ai", 0, {inf, 0}, 1},
        {"Bi", 0, {1, 0}, 7},
    };
    for (const Case& c : cases) {
        const Out o = Eval(c.Fn, c.Nu, c.Z, c.Kode);
        EXPECT_EQ(o.IERR, 1) << c.Fn << " " << c.Nu;
        EXPECT_TRUE(BothNan(o.V)) << c.Fn << " " << c.Nu;
    }
    TCplx z{1, 0}, ai{-1, -1}, cy[2] = {{-1, -1}, {-1, -1}};
    int nz = -1, ierr = -1, id = 2, kode = 1, m = 3, n = 2;
    CAIRY(&z, &id, &kode, &ai, &nz, &ierr);
    EXPECT_EQ(ierr, 1);
    EXPECT_TRUE(BothNan(ai));
    double nu = 1;
    CBESH(&z, &nu, &kode, &m, &n, cy, &nz, &ierr);
    EXPECT_EQ(ierr, 1);
    EXPECT_TRUE(BothNan(cy[0]) && BothNan(cy[1]));
    n = 0;
    cy[0] = {-1, -1};
    CBESJ(&z, &nu, &kode, &n, cy, &nz, &ierr);
    EXPECT_EQ(ierr, 1);
    EXPECT_EQ(cy[0].Re, -1);
}

// A plain value beyond the range of Doubles is ±INF with IERR 2 (or 0 with NZ 1 below it); the scaled value of
// the same call is finite: I₀(1000), K₀(1000), Ai(200), J₁(1000i) (scaled values from mpmath at 30 digits).
TEST(LapackBessel, ScaledValuesStayFiniteWherePlainOnesLeaveTheRange)
{
    struct Case {
        const char* Fn;
        double Nu;
        TCplx Z;
        bool Overflows;  // else underflows
        TCplx Scaled;
    } cases[] = {
        {"I", 0, {1000, 0}, true, {0.012617240455891257, 0}},
        {"K", 0, {1000, 0}, false, {0.03962832160075422, 0}},
        {"Ai", 0, {200, 0}, false, {0.07501041684381093, 0}},
        {"J", 1, {0, 1000}, true, {0, 0.012610930256928629}},
    };
    for (const Case& c : cases) {
        const Out plain = Eval(c.Fn, c.Nu, c.Z, 1);
        if (c.Overflows) {
            EXPECT_EQ(plain.IERR, 2) << c.Fn;
            EXPECT_TRUE(std::isinf(c.Scaled.Re != 0 ? plain.V.Re : plain.V.Im)) << c.Fn;
        } else {
            EXPECT_EQ(plain.IERR, 0) << c.Fn;
            EXPECT_EQ(plain.NZ, 1) << c.Fn;
            EXPECT_EQ(plain.V.Re, 0) << c.Fn;
            EXPECT_EQ(plain.V.Im, 0) << c.Fn;
        }
        const Out scaled = Eval(c.Fn, c.Nu, c.Z, 2);
        EXPECT_EQ(scaled.IERR, 0) << c.Fn;
        EXPECT_EQ(scaled.NZ, 0) << c.Fn;
        EXPECT_NEAR(scaled.V.Re, c.Scaled.Re, 1e-15 * Modulus(c.Scaled)) << c.Fn;
        EXPECT_NEAR(scaled.V.Im, c.Scaled.Im, 1e-15 * Modulus(c.Scaled)) << c.Fn;
    }
}

// On the cut a zero imaginary part is the upper side whatever its sign bit; just below the cut the value is the
// other side's.
TEST(LapackBessel, NegativeZeroImaginaryPartIsTheUpperSide)
{
    for (const char* fn : {"J", "Y", "I", "K", "H1", "H2"}) {
        const Out up = Eval(fn, 0.3, {-2, 0.0}, 1), signed0 = Eval(fn, 0.3, {-2, -0.0}, 1);
        const Out below = Eval(fn, 0.3, {-2, -1e-300}, 1);
        EXPECT_EQ(signed0.V.Re, up.V.Re) << fn;
        EXPECT_EQ(signed0.V.Im, up.V.Im) << fn;
        EXPECT_GT(Modulus({below.V.Re - up.V.Re, below.V.Im - up.V.Im}), 1e-3 * Modulus(up.V)) << fn;
    }
}

// N = 3 gives the orders FNU, FNU + 1, FNU + 2, each as its own call does; NZ counts the underflowed members.
TEST(LapackBessel, SeveralOrdersInOneCall)
{
    for (const char* fn : {"J", "Y", "I", "K", "H1", "H2"}) {
        TCplx cy[3];
        const Out all = Eval(fn, 0.7, {3, -2}, 2, 3, cy);
        EXPECT_EQ(all.IERR, 0) << fn;
        for (int k = 0; k < 3; ++k) {
            const Out one = Eval(fn, 0.7 + k, {3, -2}, 2);
            EXPECT_EQ(cy[k].Re, one.V.Re) << fn << k;
            EXPECT_EQ(cy[k].Im, one.V.Im) << fn << k;
        }
    }
    TCplx cy[3];
    const Out j = Eval("J", 200, {1e-3, 0}, 1, 3, cy);  // J_200(1e-3) ≈ 1e-976: all three below the range
    EXPECT_EQ(j.NZ, 3);
    EXPECT_EQ(j.IERR, 0);
}

// Where the working precision reaches its cap with too few correct bits, IERR 4 and NaN.
TEST(LapackBessel, PrecisionCapGivesIerr4)
{
    const Out o = Eval("J", 1e5, {1e5, 0}, 1);
    EXPECT_EQ(o.IERR, 4);
    EXPECT_TRUE(BothNan(o.V));
}

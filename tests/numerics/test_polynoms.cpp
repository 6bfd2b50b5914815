// Polynomials, piecewise polynomials, splines and interpolation against numpy and scipy
// (tests/data/gen_polynoms_golden.py), reconstruction checks, the texts in their order and the aliasing rules.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class Polynoms : public PoolCheck {};

struct Named {
    const char* Name;
    std::vector<double> V;
};

const Named kGolden[] = {
#include "polynoms_golden.inc"
};

const std::vector<double>& Gold(const std::string& Name)
{
    for (const Named& n : kGolden)
        if (Name == n.Name) return n.V;
    ADD_FAILURE() << "no golden array " << Name;
    static const std::vector<double> none;
    return none;
}

void Set(TVec& V, const std::vector<double>& D, bool Complex)
{
    V.Size(static_cast<int>(D.size() / (Complex ? 2 : 1)), Complex);
    std::copy(D.begin(), D.end(), V.Values());
}

void Set(TVec& V, const std::string& Name, bool Complex)
{
    Set(V, Gold(Name), Complex);
}

std::vector<double> Doubles(const TVecs& V)
{
    return std::vector<double>(V.Values(), V.Values() + static_cast<std::size_t>(V.Length()) * (V.Complex() ? 2 : 1));
}

// |got − expected| ≤ Tol·max(1, |expected|) per Double.
void ExpectClose(const std::vector<double>& Got, const std::vector<double>& Expected, double Tol,
                 const std::string& Where)
{
    ASSERT_EQ(Got.size(), Expected.size()) << Where;
    for (std::size_t i = 0; i < Got.size(); ++i)
        EXPECT_NEAR(Got[i], Expected[i], Tol * std::max(1.0, std::fabs(Expected[i]))) << Where << ", Double " << i;
}

// The complex elements of V sorted by real part, then imaginary part.
std::vector<std::complex<double>> Sorted(const std::vector<double>& D)
{
    std::vector<std::complex<double>> z;
    for (std::size_t i = 0; i + 1 < D.size(); i += 2) z.emplace_back(D[i], D[i + 1]);
    std::sort(z.begin(), z.end(), [](auto a, auto b) {
        return std::fabs(a.real() - b.real()) > 1e-9 ? a.real() < b.real() : a.imag() < b.imag();
    });
    return z;
}

void ExpectSameSet(const std::vector<double>& Got, const std::vector<double>& Expected, double Tol,
                   const std::string& Where)
{
    const auto g = Sorted(Got), e = Sorted(Expected);
    ASSERT_EQ(g.size(), e.size()) << Where;
    for (std::size_t i = 0; i < g.size(); ++i) EXPECT_LE(std::abs(g[i] - e[i]), Tol) << Where << ", root " << i;
}

}  // namespace

// ---- PolyFit and PolyEval with the error estimate -------------------------------------------------------------

TEST_F(Polynoms, PolyFitInterpolatesExactData)
{
    TVec x, y, c, yy, delta;
    TMtx r;
    x.SetIt(false, {0, 1, 2, 3});
    y.SetIt(false, {1, 3, 7, 13});
    int dof = -5;
    double l2r = -1;
    PolyFit(x, y, 2, c, r, dof, l2r);
    ExpectClose(Doubles(c), {1, 1, 1}, 1e-14, "coefficients");
    EXPECT_EQ(dof, 1);
    EXPECT_LT(l2r, 1e-13);
    EXPECT_EQ(r.Rows(), 3);
    EXPECT_EQ(r.Cols(), 3);
    // Three points of degree 2: an exact fit with no degree of freedom, so the error estimate is infinite.
    x.SetIt(false, {0, 1, 2});
    y.SetIt(false, {1, 3, 7});
    PolyFit(x, y, 2, c, r, dof, l2r);
    EXPECT_EQ(dof, 0);
    PolyEval(x, c, r, dof, l2r, yy, delta);
    ExpectClose(Doubles(yy), {1, 3, 7}, 1e-13, "values");
    for (double d : Doubles(delta)) EXPECT_EQ(d, INFINITY);
}

TEST_F(Polynoms, PolyFitAndDeltaAgainstNumpy)
{
    for (const bool complex : {false, true}) {
        const std::string name = complex ? "fit.cplx" : "fit.real";
        const int deg = complex ? 2 : 3;
        TVec x, y, c, c2, xe, ye, delta;
        TMtx r;
        Set(x, name + ".x", complex);
        Set(y, name + ".y", complex);
        Set(xe, name + ".xe", complex);
        int dof = 0;
        double l2r = 0;
        PolyFit(x, y, deg, c, r, dof, l2r);
        ExpectClose(Doubles(c), Gold(name + ".coeff"), 1e-12, name + " coefficients");
        EXPECT_EQ(dof, 20 - deg - 1);
        EXPECT_NEAR(l2r, Gold(name + ".l2r")[0], 1e-12) << name;
        PolyFit(x, y, deg, c2);
        EXPECT_EQ(Doubles(c2), Doubles(c)) << name << ": the short form fits alike";
        // RᴴR = VᴴV: R is the triangular factor of the Vandermonde matrix.
        TMtx v, rr, vv;
        v.VanderMonde(deg + 1, x);
        rr.Mul(r, r, opHerm, opNone);
        vv.Mul(v, v, opHerm, opNone);
        ExpectClose(std::vector<double>(rr.Values(), rr.Values() + (deg + 1) * (deg + 1) * (complex ? 2 : 1)),
                    std::vector<double>(vv.Values(), vv.Values() + (deg + 1) * (deg + 1) * (complex ? 2 : 1)), 1e-12,
                    name + " R");
        PolyEval(xe, c, r, dof, l2r, ye, delta);
        EXPECT_EQ(delta.Complex(), complex);
        std::vector<double> d = Doubles(delta);
        if (complex) {
            std::vector<double> re;
            for (std::size_t i = 0; i < d.size(); i += 2) {
                re.push_back(d[i]);
                EXPECT_EQ(d[i + 1], 0) << name << ": a real estimate";
            }
            d = re;
        }
        ExpectClose(d, Gold(name + ".delta"), 1e-11, name + " delta");
    }
}

TEST_F(Polynoms, PolyFitRefusals)
{
    TVec x, y, xc, c;
    TMtx r;
    int dof = 7;
    double l2r = 7;
    x.SetIt(false, {0, 0, 0});
    y.SetIt(false, {1, 2, 3});
    xc.SetIt(true, {0, 0, 1, 0, 2, 0});
    c.SetIt(false, {9});
    TVec empty, empty2;
    ExpectRaise([&] { PolyFit(xc, y, 1, c, r, dof, l2r); }, "PolyFit : XValues.Complex <> YValues.Complex");
    ExpectRaise([&] { PolyFit(x, c, 1, c, r, dof, l2r); }, "PolyFit : XValues.Length <> YValues.Length");
    ExpectRaise([&] { PolyFit(empty, empty2, 1, c, r, dof, l2r); }, "PolyFit : XValues.Length = 0");
    ExpectRaise([&] { PolyFit(x, y, -1, c); }, "PolyFit : Deg < 0");
    // All abscissae 0: the Vandermonde matrix has zero columns and no fit of degree 1 is unique.
    ExpectRaise([&] { PolyFit(x, y, 1, c, r, dof, l2r); }, "PolyFit : Vandermonde matrix rank deficient");
    EXPECT_EQ(Doubles(c), std::vector<double>{9});
    EXPECT_EQ(dof, 7);
    EXPECT_EQ(l2r, 7);
}

// ---- PolyEval ---------------------------------------------------------------------------------------------------

TEST_F(Polynoms, PolyEvalAgainstNumpy)
{
    for (const bool complex : {false, true}) {
        const std::string name = complex ? "eval.cplx" : "eval.real";
        TVec x, c, y;
        Set(x, name + ".x", complex);
        Set(c, name + ".coeff", complex);
        PolyEval(x, c, y);
        // numpy.polyval's operations in its order: the same bits.
        EXPECT_EQ(Doubles(y), Gold(name + ".y")) << name;
        for (int i = 0; i < x.Length(); ++i) {
            if (complex) {
                const TCplx z = PolyEval(x.CValues()[i], c);
                EXPECT_NEAR(z.Re, y.CValues()[i].Re, 1e-13) << i;
                EXPECT_NEAR(z.Im, y.CValues()[i].Im, 1e-13) << i;
            } else {
                EXPECT_EQ(PolyEval(x.Values()[i], c), y.Values()[i]) << i;
                const TCplx z = PolyEval(Cplx(x.Values()[i], 0), c);
                EXPECT_NEAR(z.Re, y.Values()[i], 1e-13) << i;
                EXPECT_EQ(z.Im, 0) << i;
            }
        }
    }
}

TEST_F(Polynoms, PolyEvalFormsAndAliases)
{
    TVec x, c, y, empty;
    x.SetIt(false, {0, 1, 2});
    c.SetIt(false, {2, 3});
    PolyEval(x, c, y);
    EXPECT_EQ(Doubles(y), (std::vector<double>{3, 5, 7}));
    // An empty coefficient vector is the zero polynomial.
    PolyEval(x, empty, y);
    EXPECT_EQ(Doubles(y), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(PolyEval(2.0, empty), 0);
    // Past one block: every block gives what the scalar Horner gives.
    x.Size(2000);
    for (int i = 0; i < 2000; ++i) x.Values()[i] = -1 + i * 0.001;
    c.SetIt(false, {0.5, -1, 0.25, 3, -2});
    PolyEval(x, c, y);
    for (int i = 0; i < 2000; i += 97) EXPECT_EQ(y.Values()[i], PolyEval(x.Values()[i], c)) << i;
    // Outputs that are inputs: results as for distinct vectors.
    TVec x2, expected;
    x2.Copy(x);
    PolyEval(x, c, expected);
    PolyEval(x2, c, x2);
    EXPECT_EQ(Doubles(x2), Doubles(expected));
    TVec c2;
    c2.SetIt(false, {1, 2, 3});
    x.SetIt(false, {1, 2, 3});
    PolyEval(x, c2, c2);
    EXPECT_EQ(Doubles(c2), (std::vector<double>{6, 11, 18}));
    TVec xc;
    xc.SetIt(true, {1, 0});
    ExpectRaise([&] { PolyEval(xc, c, y); }, "not (Val.Complex = Coeff.Complex)!");
    TMtx r;
    TVec delta;
    ExpectRaise([&] { PolyEval(xc, c, r, 1, 1, y, delta); }, "PolyEval : Val.Complex <> Coeff.Complex");
    ExpectRaise([&] { PolyEval(1.0, xc); }, "Coeff.Complex = True");
}

// ---- Roots and coefficients ---------------------------------------------------------------------------------------

TEST_F(Polynoms, RootsAndCoefficientsRoundTrip)
{
    TVec roots, c, found;
    roots.Size(10);
    for (int i = 0; i < 10; ++i) roots.Values()[i] = i + 1;
    PolyCoeff(roots, c);
    ASSERT_EQ(c.Length(), 11);
    EXPECT_EQ(c.Values()[0], 1);
    EXPECT_EQ(c.Values()[1], -55);
    EXPECT_EQ(c.Values()[10], 3628800);
    PolyRoots(found, c);
    std::vector<double> expected;
    for (int i = 1; i <= 10; ++i) expected.insert(expected.end(), {double(i), 0});
    ExpectSameSet(Doubles(found), expected, 1e-8, "roots 1..10");
    // Coeff may be Roots.
    c.SetIt(false, {1, 2});
    PolyCoeff(c, c);
    EXPECT_EQ(Doubles(c), (std::vector<double>{1, -3, 2}));
    PolyRoots(found, c);
    ExpectSameSet(Doubles(found), {1, 0, 2, 0}, 1e-14, "(1, -3, 2)");
    // Complex roots from numpy.
    c.Size(0);
    Set(c, "roots.cplx.coeff", true);
    PolyRoots(found, c);
    EXPECT_TRUE(found.Complex());
    ExpectSameSet(Doubles(found), Gold("roots.cplx.roots"), 1e-12, "complex");
    PolyCoeff(found, roots);
    const TCplx lead = c.CValues()[0];
    std::vector<double> monic;
    for (int i = 0; i < c.Length(); ++i) {
        const TCplx z = CDiv(c.CValues()[i], lead);
        monic.insert(monic.end(), {z.Re, z.Im});
    }
    ExpectClose(Doubles(roots), monic, 1e-12, "back to the coefficients");
}

TEST_F(Polynoms, RootsOfZerosAndLeadingZeros)
{
    struct Case {
        const char* What;
        std::vector<double> Coeff;
        std::vector<double> Roots;  // (Re, Im) pairs, the zero roots first in this order
        bool ZerosFirst;
    } cases[] = {
        {"(1, -2, 0, 0)", {1, -2, 0, 0}, {0, 0, 0, 0, 2, 0}, true},
        {"(5, 0, 0): c x^k keeps its k zero roots", {5, 0, 0}, {0, 0, 0, 0}, true},
        {"(3, 0)", {3, 0}, {0, 0}, true},
        {"leading zeros lower the degree", {0, 0, 1, -3, 2}, {1, 0, 2, 0}, false},
        {"a constant", {0, 4}, {}, false},
        {"only zeros", {0, 0, 0}, {}, false},
        {"empty", {}, {}, false},
    };
    for (const Case& k : cases) {
        TVec c, roots;
        roots.SetIt(false, {7, 7, 7, 7, 7, 7, 7});
        c.Size(static_cast<int>(k.Coeff.size()));
        std::copy(k.Coeff.begin(), k.Coeff.end(), c.Values());
        PolyRoots(roots, c);
        if (k.Roots.empty()) {
            EXPECT_EQ(roots.Length(), 0) << k.What;
            continue;
        }
        EXPECT_TRUE(roots.Complex()) << k.What;
        if (k.ZerosFirst) {
            ExpectClose(Doubles(roots), k.Roots, 1e-14, k.What);
        } else {
            ExpectSameSet(Doubles(roots), k.Roots, 1e-14, k.What);
        }
    }
}

TEST_F(Polynoms, CharacteristicPolynomialAndStripping)
{
    TMtx m;
    Load(m, 4, 4, false, Gold("poly.mtx"));
    TVec c;
    PolyCoeff(m, c);
    ASSERT_EQ(c.Length(), 5);
    std::vector<double> re;
    for (int i = 0; i < 5; ++i) {
        re.push_back(c.CValues()[i].Re);
        EXPECT_NEAR(c.CValues()[i].Im, 0, 1e-13);
    }
    ExpectClose(re, Gold("poly.mtx.coeff"), 1e-13, "numpy.poly");
    m.Size(2, 3);
    ExpectRaise([&] { PolyCoeff(m, c); }, "not Mtx.Quadratic");

    TVec src, dst;
    int first = -9, last = -9;
    src.SetIt(false, {0, 0, 1, 2, 0});
    StripZeros(src, dst, first, last);
    EXPECT_EQ(Doubles(dst), (std::vector<double>{1, 2}));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 3);
    StripLeadZeros(src, src, first);  // Dst may be Src
    EXPECT_EQ(Doubles(src), (std::vector<double>{1, 2, 0}));
    EXPECT_EQ(first, 2);
    src.SetIt(true, {0, 0, 0, 1, 0, 0});
    StripZeros(src, dst, first, last);
    EXPECT_EQ(Doubles(dst), (std::vector<double>{0, 1}));
    EXPECT_TRUE(dst.Complex());
    src.SetIt(false, {0, 0, 0});
    StripZeros(src, dst, first, last);
    EXPECT_EQ(dst.Length(), 0);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, -1);
}

// ---- IIRFilter ----------------------------------------------------------------------------------------------------

TEST_F(Polynoms, IIRFilterAgainstLfilterForEveryKindPair)
{
    for (const bool complexTaps : {false, true}) {
        for (const bool complexData : {false, true}) {
            const std::string taps = complexTaps ? "cplx" : "real", data = complexData ? "cplx" : "real";
            TVec b, a, x, y;
            Set(b, "iir.b." + taps, complexTaps);
            Set(a, "iir.a." + taps, complexTaps);
            Set(x, "iir.x." + data, complexData);
            IIRFilter(b, a, x, y);
            EXPECT_EQ(y.Complex(), complexTaps || complexData) << taps << "/" << data;
            ExpectClose(Doubles(y), Gold("iir." + taps + "." + data), 1e-14, taps + " taps, " + data + " data");
            // Y may be X.
            IIRFilter(b, a, x, x);
            EXPECT_EQ(Doubles(x), Doubles(y)) << taps << "/" << data << " in place";
        }
    }
    TVec one, x, y;
    one.SetIt(false, {1});
    x.SetIt(false, {1, -2, 3});
    IIRFilter(one, one, x, y);
    EXPECT_EQ(Doubles(y), Doubles(x));
}

TEST_F(Polynoms, IIRFilterRefusals)
{
    TVec b, a, ac, a0, ac0, empty, x, y;
    b.SetIt(false, {1, 2});
    a.SetIt(false, {1, 0.5});
    ac.SetIt(true, {1, 0, 0.5, 0});
    a0.SetIt(false, {0, 1});
    ac0.SetIt(true, {0, 0, 1, 0});
    x.SetIt(false, {1, 2, 3, 4});
    // Y is sized like X before the checks.
    ExpectRaise([&] { IIRFilter(b, ac, x, y); }, "A.Complex<>B.Complex!");
    EXPECT_EQ(y.Length(), 4);
    ExpectRaise([&] { IIRFilter(b, a0, x, y); }, "A[0]=0 !");
    ExpectRaise([&] { IIRFilter(b, empty, x, y); }, "A[0]=0 !");
    TVec bc;
    bc.SetIt(true, {1, 0});
    ExpectRaise([&] { IIRFilter(bc, ac0, x, y); }, "A.CValues[0]=(0,0) !");
}

// ---- DeConv ---------------------------------------------------------------------------------------------------------

TEST_F(Polynoms, DeConvAgainstPolydiv)
{
    struct Case {
        const char* What;
        bool Complex;
        std::vector<double> B, A, Q, R;
    } cases[] = {
        {"(1, 5, 6)/(1, 2)", false, {1, 5, 6}, {1, 2}, {1, 3}, {0, 0, 0}},
        {"(2, 4, 2)/(2, 2)", false, {2, 4, 2}, {2, 2}, {1, 1}, {0, 0, 0}},
        {"with a remainder", false, {1, 0, 0, 1}, {1, 1}, {1, -1, 1}, {0, 0, 0, 0}},
        {"(1, 2, 3)/(2, 1): remainder 2.25", false, {1, 2, 3}, {2, 1}, {0.5, 0.75}, {0, 0, 2.25}},
        {"B shorter than A", false, {1, 2}, {1, 2, 3}, {0}, {1, 2}},
        {"complex (z - i)(z + 1)/(z - i)", true, {1, 0, 1, -1, 0, -1}, {1, 0, 0, -1}, {1, 0, 1, 0}, {0, 0, 0, 0, 0, 0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& k = cases[i];
        TVec b, a, q, r;
        Set(b, k.B, k.Complex);
        Set(a, k.A, k.Complex);
        DeConv(b, a, q, r);
        if (i < 4) {  // the rows of numpy.polydiv
            ExpectClose(Doubles(q), Gold("deconv." + std::to_string(i) + ".q"), 1e-14,
                        std::string(k.What) + " polydiv");
            ExpectClose(Doubles(r), Gold("deconv." + std::to_string(i) + ".r"), 1e-14,
                        std::string(k.What) + " polydiv");
        }
        ExpectClose(Doubles(q), k.Q, 1e-14, std::string(k.What) + " Q");
        ExpectClose(Doubles(r), k.R, 1e-14, std::string(k.What) + " R");
        // Q may be B.
        DeConv(b, a, b, r);
        ExpectClose(Doubles(b), k.Q, 1e-14, std::string(k.What) + " Q = B");
    }
    TVec b, a, q, r;
    b.SetIt(false, {1, 2});
    a.SetIt(true, {1, 0});
    ExpectRaise([&] { DeConv(b, a, q, r); }, "A.Complex<>B.Complex");
    // ResExtract: the quotient and remainder of B/A[0] by A/A[0].
    TVec v3, v4, v5;
    v5.SetIt(false, {7});
    b.SetIt(false, {2, 10, 12});
    a.SetIt(false, {2, 4});
    ResExtract(b, a, v3, v4, v5);
    ExpectClose(Doubles(v3), {1, 3}, 1e-14, "ResExtract quotient");
    ExpectClose(Doubles(v4), {0, 0, 0}, 1e-14, "ResExtract remainder");
    EXPECT_EQ(Doubles(v5), std::vector<double>{7});
    TVec ac;
    ac.SetIt(true, {2, 0, 4, 0});
    ExpectRaise([&] { ResExtract(b, ac, v3, v4, v5); }, "A.Complex<>B.Complex!");
}

// ---- Splines ------------------------------------------------------------------------------------------------------

namespace {

std::vector<double> Coefficients(const TPiecePoly& PP)
{
    const TMtx& c = PP.Coefficients();
    return std::vector<double>(c.Values(), c.Values() + static_cast<std::size_t>(c.Rows()) * c.Cols());
}

std::vector<double> At(const TPiecePoly& PP, const std::vector<double>& X)
{
    std::vector<double> y;
    for (double x : X) {
        double v = 0;
        PP.Evaluate(x, v);
        y.push_back(v);
    }
    return y;
}

}  // namespace

TEST_F(Polynoms, Spline1DAgainstCubicSpline)
{
    TVec x, y, yc;
    Set(x, "spline.x", false);
    Set(y, "spline.y", false);
    TPiecePoly pp;
    Spline1D(x, y, pp);
    EXPECT_EQ(pp.Pieces(), 6);
    EXPECT_EQ(pp.Order(), 4);
    EXPECT_EQ(Doubles(pp.Breaks()), Doubles(x));
    ExpectClose(Coefficients(pp), Gold("spline.notaknot.c"), 1e-12, "not-a-knot");
    // Clamped: the slopes around the data values.
    yc.Size(y.Length() + 2);
    yc.Values()[0] = 0.7;
    std::copy_n(y.Values(), y.Length(), yc.Values() + 1);
    yc.Values()[y.Length() + 1] = -1.3;
    Spline1D(x, yc, pp);
    ExpectClose(Coefficients(pp), Gold("spline.clamped.c"), 1e-12, "clamped");
    EXPECT_NEAR(pp.Coefficients().Values()[2], 0.7, 1e-15);
    // Three points: one parabola on two breaks; two points with slopes: one cubic.
    TVec x3, y3;
    Set(x3, "spline.n3.x", false);
    Set(y3, "spline.n3.y", false);
    Spline1D(x3, y3, pp);
    EXPECT_EQ(pp.Pieces(), 1);
    EXPECT_EQ(pp.Order(), 3);
    EXPECT_EQ(Doubles(pp.Breaks()), (std::vector<double>{x3.Values()[0], x3.Values()[2]}));
    ExpectClose(At(pp, Gold("spline.xe")), Gold("spline.n3.values"), 1e-12, "n = 3");
    TVec x2, y2;
    x2.SetIt(false, {x.Values()[0], x.Values()[1]});
    y2.SetIt(false, {0.7, y.Values()[0], y.Values()[1], -1.3});
    Spline1D(x2, y2, pp);
    EXPECT_EQ(pp.Order(), 4);
    ExpectClose(At(pp, Gold("spline.xe")), Gold("spline.n2.values"), 1e-12, "n = 2 clamped");
    y2.SetIt(false, {1, 4});
    Spline1D(x2, y2, pp);
    EXPECT_EQ(pp.Order(), 2);
    ExpectClose(At(pp, {x2.Values()[0], x2.Values()[1]}), {1, 4}, 1e-14, "n = 2: a line");
}

TEST_F(Polynoms, SplineReproducesACubic)
{
    const auto f = [](double t) { return ((0.5 * t - 1) * t + 2) * t - 3; };
    TVec x, y;
    x.SetIt(false, {-1, -0.4, 0.3, 1.7, 2.0, 3.5, 4.1});
    y.Size(7);
    for (int i = 0; i < 7; ++i) y.Values()[i] = f(x.Values()[i]);
    TPiecePoly pp;
    Spline1D(x, y, pp);
    for (double t : {-2.0, -1.0, 0.0, 0.3, 1.0, 2.5, 4.1, 5.0}) {
        double v = 0;
        pp.Evaluate(t, v);
        EXPECT_NEAR(v, f(t), 1e-12) << t;
    }
    // The equidistant form is the general one at 0, 1, …; with end slopes too.
    TVec xe, ye, yes;
    xe.SetIt(false, {0, 1, 2, 3, 4});
    ye.SetIt(false, {1, -2, 0.5, 3, 2});
    yes.SetIt(false, {0.25, 1, -2, 0.5, 3, 2, -1});
    TPiecePoly a, b;
    Spline1D(xe, ye, a);
    Spline1D(ye, b, false);
    EXPECT_EQ(Coefficients(a), Coefficients(b));
    EXPECT_EQ(Doubles(a.Breaks()), Doubles(b.Breaks()));
    Spline1D(xe, yes, a);
    Spline1D(yes, b, true);
    EXPECT_EQ(Coefficients(a), Coefficients(b));
    EXPECT_NEAR(Coefficients(b)[2], 0.25, 1e-15);
}

TEST_F(Polynoms, SplineAndLinearRefusals)
{
    TVec x, y, xc, one, down, repeated;
    TPiecePoly pp;
    x.SetIt(false, {0, 1, 2});
    y.SetIt(false, {0, 1, 4});
    xc.SetIt(true, {0, 0, 1, 0, 2, 0});
    one.SetIt(false, {1});
    down.SetIt(false, {0, 2, 1});
    repeated.SetIt(false, {0, 1, 1});
    struct Case {
        const char* What;
        std::function<void()> Call;
        const char* Msg;
    } cases[] = {
        {"spline kinds", [&] { Spline1D(xc, y, pp); }, "Spline1D :(X.Complex) or (Y.Complex)"},
        {"spline short", [&] { Spline1D(one, one, pp); }, "Spline1D : X.Length < 2"},
        {"spline lengths", [&] { Spline1D(x, one, pp); }, "Spline1D : Abscisa and ordinanta points DO NOT match!"},
        {"spline repeated", [&] { Spline1D(repeated, y, pp); }, "Spline1D : X is not strictly ascending"},
        {"spline descending", [&] { Spline1D(down, y, pp); }, "Spline1D : X is not strictly ascending"},
        {"spline Y kind", [&] { Spline1D(xc, pp, false); }, "Spline1D :(Y.Complex)"},
        {"spline Y short", [&] { Spline1D(one, pp, false); }, "Spline1D : X.Length < 2"},
        {"spline slopes, one value", [&] { Spline1D(y, pp, true); }, "Spline1D : X.Length < 2"},
        {"linear lengths", [&] { Linear1D(x, one, pp); }, "Linear1D : X.Length <> Y.Length"},
        {"linear kinds", [&] { Linear1D(xc, y, pp); }, "Linear1D : all vectors must be real!"},
        {"linear one point", [&] { Linear1D(one, one, pp); }, "Linear1D : X.Length < 2"},
        {"linear descending", [&] { Linear1D(down, y, pp); }, "Linear1D : X is not ascending"},
        {"linear Y kind", [&] { Linear1D(xc, pp); }, "Linear1D : all vectors must be real!"},
        {"linear Y short", [&] { Linear1D(one, pp); }, "Linear1D : X.Length < 2"},
        // Raised inside the work: wrapped with the caller's prefix.
        {"wrapped",
         [&] {
             TVec yi;
             Interpolate(down, y, x, yi, IntCubic, true);
         },
         "Interpolate : Spline1D : X is not strictly ascending"},
    };
    for (const Case& k : cases) ExpectRaise(k.Call, k.Msg, k.What);
    EXPECT_EQ(pp.Pieces(), 0) << "nothing built";
    // Repeated abscissae are allowed for the broken line (a jump).
    Linear1D(repeated, y, pp);
    EXPECT_EQ(pp.Pieces(), 2);
}

// ---- TPiecePoly ---------------------------------------------------------------------------------------------------

TEST_F(Polynoms, EvaluatePicksThePieces)
{
    TPiecePoly pp;
    TVec breaks;
    breaks.SetIt(false, {0, 1, 3});
    pp.SetBreaks(breaks);
    EXPECT_EQ(pp.Coefficients().Rows(), 2) << "the hook sizes the coefficients";
    TMtx c;
    c.Size(2, 2);
    // Piece 0: 10 + t, piece 1: 20 + 2t.
    c.Values()[0] = 1;
    c.Values()[1] = 10;
    c.Values()[2] = 2;
    c.Values()[3] = 20;
    pp.SefCoefficients(c);
    EXPECT_EQ(pp.Pieces(), 2);
    EXPECT_EQ(pp.Order(), 2);
    // Below, on the first break, between, on the inner break (piece 0), inside piece 1, on the last break, beyond.
    const std::vector<double> xs = {-1, 0, 0.5, 1, 2, 3, 4};
    const std::vector<double> expected = {9, 10, 10.5, 11, 22, 24, 26};
    EXPECT_EQ(At(pp, xs), expected);
    TVec x, y1, y2;
    x.Size(7);
    std::copy(xs.begin(), xs.end(), x.Values());
    pp.Evaluate(x, y1, true);
    pp.Evaluate(x, y2, false);
    EXPECT_EQ(Doubles(y1), expected);
    EXPECT_EQ(Doubles(y2), expected);
    // The vector form may write into its input.
    pp.Evaluate(x, x, false);
    EXPECT_EQ(Doubles(x), expected);
    // X[0] on the last inner break: the sorted walk starts in the last piece, the bisection uses the one before.
    x.SetIt(false, {1, 2});
    pp.Evaluate(x, y1, true);
    EXPECT_EQ(Doubles(y1), (std::vector<double>{20, 22}));
    // Unsorted points without the sorted walk: each as the scalar form finds it.
    x.SetIt(false, {4, -1, 2, 0.5, 3, 1, 0, 2.5, -3});
    pp.Evaluate(x, y2, false);
    for (int i = 0; i < x.Length(); ++i) {
        double s = 0;
        pp.Evaluate(x.Values()[i], s);
        EXPECT_EQ(y2.Values()[i], s) << x.Values()[i];
    }
    TVec xc;
    xc.SetIt(true, {1, 0});
    ExpectRaise([&] { pp.Evaluate(xc, y2, true); }, "TPiecePoly.Evaluate : X.Complex = True");
    // Order 0 (no columns): the zero function.
    c.Size(2, 0);
    pp.SefCoefficients(c);
    double v = 5;
    pp.Evaluate(0.5, v);
    EXPECT_EQ(v, 0);
}

TEST_F(Polynoms, TheHooksKeepBreaksAndCoefficientsTogether)
{
    TPiecePoly pp;
    EXPECT_EQ(pp.Pieces(), 0);
    double v = 0;
    const char* msg = "(FBreaks.Length <= 0) or (FCoefficients.Rows <> FBreaks.Length -1)";
    ExpectRaise([&] { pp.Evaluate(0.0, v); }, msg, "nothing built");
    pp.Coefficients().Size(3, 4);
    EXPECT_EQ(pp.Breaks().Length(), 4);
    pp.Breaks().SetLength(6);
    EXPECT_EQ(pp.Coefficients().Rows(), 5);
    EXPECT_EQ(pp.Coefficients().Cols(), 4);
    // No breaks: the pair settles at one break and no piece.
    pp.Breaks().SetLength(0);
    EXPECT_EQ(pp.Breaks().Length(), 1);
    EXPECT_EQ(pp.Coefficients().Rows(), 0);
    EXPECT_EQ(pp.Pieces(), 0);
    ExpectRaise([&] { pp.Evaluate(0.0, v); }, msg, "no piece");
    TVec x, y;
    x.SetIt(false, {1});
    ExpectRaise([&] { pp.Evaluate(x, y, true); }, msg, "no piece, vector");
}

// ---- Interpolation ------------------------------------------------------------------------------------------------

TEST_F(Polynoms, InterpolateAgainstNumpyInterp)
{
    TVec x, y, xi, yi1, yi2;
    Set(x, "interp.x", false);
    Set(y, "interp.y", false);
    Set(xi, "interp.xi", false);
    Interpolate(x, y, xi, yi1, IntLinear, true);
    Interpolate(x, y, xi, yi2, IntLinear, false);
    ExpectClose(Doubles(yi1), Gold("interp.yi"), 1e-14, "ascending");
    EXPECT_EQ(Doubles(yi1), Doubles(yi2));
    // At the abscissae 0, 1, …: linear and cubic reproduce the data; the cubic form is the spline.
    TVec yy, at, out;
    yy.SetIt(false, {3, 1, 4, 1, 5, 9, 2});
    at.Size(7);
    at.Ramp();
    for (const TInterpolationType type : {IntLinear, IntCubic}) {
        Interpolate(yy, at, out, type, true);
        ExpectClose(Doubles(out), Doubles(yy), 1e-14, type == IntLinear ? "linear" : "cubic");
    }
    TVec one, two, xc;
    one.SetIt(false, {1});
    two.SetIt(false, {1, 2});
    xc.SetIt(true, {1, 0});
    struct Case {
        std::function<void()> Call;
        const char* Msg;
    } cases[] = {
        {[&] { Interpolate(x, one, xi, out, IntLinear, true); }, "Interpolate : X.Length <> Y.Length"},
        {[&] { Interpolate(one, one, xc, out, IntLinear, true); }, "Interpolate : all vectors must be real!"},
        {[&] { Interpolate(two, two, xi, out, IntCubic, true); }, "Interpolate : X.Length < 3"},
        {[&] { Interpolate(one, one, xi, out, IntLinear, true); }, "Interpolate : X.Length < 2"},
        {[&] { Interpolate(xc, xi, out, IntLinear, true); }, "Interpolate : all vectors must be real!"},
        {[&] { Interpolate(two, xi, out, IntCubic, true); }, "Interpolate : Y.Length < 3"},
        {[&] { Interpolate(one, xi, out, IntLinear, true); }, "Interpolate : Y.Length < 2"},
    };
    for (const Case& k : cases) ExpectRaise(k.Call, k.Msg);
}

TEST_F(Polynoms, InterpolateEqd)
{
    TVec x, y, xi, yi;
    x.Size(10);
    x.Ramp();
    y.Size(10);
    for (int i = 0; i < 10; ++i) y.Values()[i] = i * i;
    // XI = X reproduces Y, the last point included.
    for (const TInterpolationType type : {IntLinear, IntCubic}) {
        InterpolateEqd(x, y, x, yi, type);
        ExpectClose(Doubles(yi), Doubles(y), 1e-13, "XI = X");
    }
    // Cubic convolution is exact on quadratics, inside and outside; the last XI is no exception.
    xi.SetIt(false, {-1.5, 0.25, 4.5, 8.75, 9, 10.5, 2.5});
    InterpolateEqd(x, y, xi, yi, IntCubic);
    std::vector<double> sq;
    for (double t : Doubles(xi)) sq.push_back(t * t);
    ExpectClose(Doubles(yi), sq, 1e-12, "cubic");
    InterpolateEqd(x, y, xi, yi, IntLinear);
    ExpectClose(Doubles(yi), {-1.5 * 1 - 0, 0.25, 20.5, 76.75, 81, 81 + 1.5 * 17, 6.5}, 1e-13, "linear");
    // A non-finite abscissa has no interval; YI may be XI.
    xi.SetIt(false, {NAN, INFINITY, 1});
    InterpolateEqd(x, y, xi, xi, IntCubic);
    EXPECT_TRUE(std::isnan(xi.Values()[0]));
    EXPECT_TRUE(std::isnan(xi.Values()[1]));
    EXPECT_NEAR(xi.Values()[2], 1, 1e-14);
    TVec two, flat, xc;
    two.SetIt(false, {0, 1});
    flat.SetIt(false, {1, 2, 1});
    xc.SetIt(true, {1, 0});
    ExpectRaise([&] { InterpolateEqd(x, two, x, yi, IntLinear); }, "InterpolateEqd : X.Length <> Y.Length");
    ExpectRaise([&] { InterpolateEqd(x, y, xc, yi, IntLinear); }, "InterpolateEqd : all vectors must be real!");
    ExpectRaise([&] { InterpolateEqd(two, two, x, yi, IntLinear); }, "InterpolateEqd : X.Length < 3");
    ExpectRaise([&] { InterpolateEqd(flat, flat, x, yi, IntCubic); }, "InterpolateEqd : X[0] = X[X.Length-1]");
}

TEST_F(Polynoms, ConditionChecksAreRestored)
{
    TVec x, y, xi, yi;
    x.SetIt(false, {0, 1, 2, 3});
    y.SetIt(false, {1, 0, 2, 1});
    xi.SetIt(false, {0.5, 2.5});
    x.SetConditionCheck(false);
    y.SetConditionCheck(true);
    Interpolate(x, y, xi, yi, IntCubic, true);
    EXPECT_FALSE(x.ConditionCheck());
    EXPECT_TRUE(y.ConditionCheck());
    EXPECT_TRUE(xi.ConditionCheck());
    TVec down;
    down.SetIt(false, {3, 2, 1, 0});
    ExpectRaise([&] { Interpolate(down, y, y, y, IntCubic, true); },
                "Interpolate : Spline1D : X is not strictly ascending");
    EXPECT_TRUE(y.ConditionCheck()) << "a vector given twice is restored once, also on an error";
}

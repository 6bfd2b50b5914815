// Norms, dot products and Equal: the two-vector norms (absolute and relative, equal and mixed kinds, near the ends
// of the Double range) against numpy and scipy, the dot products against numpy.dot and numpy.vdot, the model cases,
// the messages, and Equal on tolerances, kinds, lengths, NaN and infinities.
#include <cmath>
#include <string>
#include <vector>

#include "elem_util.h"

using namespace elemtest;

namespace {

class NormsTest : public ElemTest {};

struct NormCase {
    const char* What;
    bool ComplexA, ComplexB;
    int NA;
    std::vector<double> A;
    int NB;
    std::vector<double> B;
    double NormC, NormL1, NormL2, RelC, RelL1, RelL2, DotRe, DotIm, DotcRe, DotcIm;
};

const NormCase kNorms[] = {
#include "vec_norms_golden.inc"
};

// The signal layer's pairwise sums against numpy's: a few ulps apart.
constexpr double kRel = 1e-14;

void Near(double Got, double Expected, double Scale, const std::string& Where)
{
    if (!std::isfinite(Expected) || !std::isfinite(Scale)) {  // an overflowing dot product: NaN or the infinity
        EXPECT_TRUE(SameDouble(Got, Expected)) << Where << ": " << Got << ", expected " << Expected;
        return;
    }
    EXPECT_LE(std::fabs(Got - Expected), kRel * Scale) << Where << ": " << Got << ", expected " << Expected;
}

}  // namespace

TEST_F(NormsTest, AgainstTheTables)
{
    for (const NormCase& c : kNorms) {
        const std::string w = c.What;
        TVec a, b;
        Set(a, c.ComplexA, c.A);
        Set(b, c.ComplexB, c.B);
        Near(NormC(a, b, false), c.NormC, c.NormC, w + " NormC");
        Near(NormL1(a, b, false), c.NormL1, c.NormL1, w + " NormL1");
        Near(NormL2(a, b, false), c.NormL2, c.NormL2, w + " NormL2");
        Near(a.NormC(b, true), c.RelC, c.RelC, w + " NormC relative");
        Near(a.NormL1(b, true), c.RelL1, c.RelL1, w + " NormL1 relative");
        Near(a.NormL2(b, true), c.RelL2, c.RelL2, w + " NormL2 relative");
        // The dot products, measured against the sizes of the terms.
        const double scale = std::fmax(a.NormL2(), 1e-300) * std::fmax(b.NormL2(), 1e-300);
        if (!c.ComplexA && !c.ComplexB) {
            Near(a.DotProd(b), c.DotRe, scale, w + " DotProd");
            continue;
        }
        TCplx z;
        a.DotProd(b, z, false);
        Near(z.Re, c.DotRe, scale, w + " DotProd Re");
        Near(z.Im, c.DotIm, scale, w + " DotProd Im");
        if (c.ComplexA && c.ComplexB) {
            a.DotProd(b, z, true);
            Near(z.Re, c.DotcRe, scale, w + " DotProd conjugated Re");
            Near(z.Im, c.DotcIm, scale, w + " DotProd conjugated Im");
        }
    }
}

TEST_F(NormsTest, ModelCases)
{
    TVec a, b, e, f;
    Set(a, false, {3, 4});
    EXPECT_EQ(NormL2(a), 5);
    EXPECT_EQ(NormL1(a), 7);
    EXPECT_EQ(NormC(a), 4);
    Set(a, false, {2, 2});
    Set(b, false, {1, 1});
    EXPECT_EQ(NormL1(a, b, true), 1);
    // A real operand of a complex one is x + 0i: |(1 + 1i) − 1| = 1, not |(1 + 1i) − (1 + 1i)| = 0.
    Set(a, true, {1, 1});
    Set(b, false, {1});
    EXPECT_EQ(a.NormL2(b, false), 1);
    EXPECT_EQ(b.NormL2(a, false), 1);
    // Norms of nothing.
    EXPECT_TRUE(std::isnan(e.NormL2()) && std::isnan(e.NormC(a, false)) && std::isnan(e.DotProd(f)));

    TCplx z;
    Set(a, true, {1, 1});
    Set(b, true, {1, 1});
    a.DotProd(b, z, true);
    EXPECT_TRUE(Equal(z, Cplx(2, 0)));
    a.DotProd(b, z, false);
    EXPECT_TRUE(Equal(z, Cplx(0, 2)));
    e.SetComplex(true);
    z = C_ONE;
    a.DotProd(e, z, true);
    EXPECT_TRUE(Equal(z, C_ZERO));
}

TEST_F(NormsTest, Messages)
{
    TVec x, y, c;
    Set(x, false, {1, 2});
    Set(y, false, {3, 4});
    Set(c, true, {1, 2, 3, 4});
    TCplx z;
    ExpectRaise([&] { c.DotProd(x); }, "Vec.Complex or Self.Complex", "complex Self");
    ExpectRaise([&] { x.DotProd(c); }, "Vec.Complex or Self.Complex", "complex Vec");
    ExpectRaise([&] { x.DotProd(y, z, false); }, "not (Vec.Complex or Complex)", "both real");
    ExpectRaise([&] { c.DotProd(c, z, false); }, "Self = Vec", "Self");
    ExpectRaise([&] { c.DotProd(x, z, true); }, "Operation not supported: Conj(complex vector)*(real vector)!",
                "conjugate of a real Vec");
    ExpectRaise([&] { x.DotProd(c, z, true); }, "Operation not supported: Conj(complex vector)*(real vector)!",
                "real Self");
}

TEST_F(NormsTest, Equal)
{
    const double inf = INFINITY;
    const struct {
        const char* What;
        bool CA;
        std::vector<double> A;
        bool CB;
        std::vector<double> B;
        double Tolerance;
        bool Expected;
    } cases[] = {
        {"within the tolerance", false, {1, 2}, false, {1, 2.0005}, 0.001, true},
        {"exactly, different", false, {1, 2}, false, {1, 2.0005}, 0, false},
        {"exactly, the same", false, {1, -0.0}, false, {1, 0.0}, 0, true},
        {"beyond the tolerance", false, {1, 2}, false, {1, 2.01}, 0.001, false},
        {"complex parts separately", true, {1, 2}, true, {1, 2.0005}, 0.001, true},
        {"complex imaginary part", true, {1, 2}, true, {1, 3}, 0.5, false},
        {"kinds differ", false, {1, 2}, true, {1, 2}, 1, false},
        {"lengths differ", false, {1, 2}, false, {1, 2, 3}, 1, false},
        {"both empty", true, {}, true, {}, 0, true},
        {"NaN against a number", false, {1, NAN}, false, {1, 2}, 10, false},
        {"NaN against NaN", false, {NAN}, false, {NAN}, 0, false},
        {"NaN exactly", false, {2, 1}, false, {NAN, 1}, 0, false},
        {"equal infinities, with a tolerance", false, {inf, -inf}, false, {inf, -inf}, 1, true},
        {"equal infinities, exactly", false, {inf}, false, {inf}, 0, true},
        {"infinity against a number", false, {inf}, false, {1e308}, 1e300, false},
        {"opposite infinities", false, {inf}, false, {-inf}, 1, false},
    };
    for (const auto& t : cases) {
        TVec a, b;
        Set(a, t.CA, t.A);
        Set(b, t.CB, t.B);
        EXPECT_EQ(Equal(a, b, t.Tolerance), t.Expected) << t.What;
        EXPECT_EQ(b.Equal(a, t.Tolerance), t.Expected) << t.What << " (swapped)";
    }
}

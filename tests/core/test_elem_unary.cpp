// Vector arithmetic on one operand: Scale, Offset, Inv, Sqr, Sqrt, InvSqrt, Cbrt, InvCbrt, Abs, Sign, the clipping
// and Product in every calling form against numpy (real and complex), the family's model cases, the checks in their
// order with ConditionCheck on and off, ranges and views, and the faults guarded against (imaginary parts dropped,
// complex offsets added to both parts, unchecked negative ranges, a complex Self written as real).
#include <cmath>
#include <vector>

#include "arith_util.h"
#include "core/arith_kernels.h"

using namespace arithtest;

namespace {

class UnaryTest : public ElemTest {};

constexpr int n = kArithN;
constexpr int nq = 10;  // elements of the root inputs q and qr

// Roots, reciprocal roots and magnitudes from the vector-math routines and the complex power may differ from numpy
// in the last places: real ones by about an ulp, complex cube roots by the ulps of ln, exp and sin/cos together.
constexpr double kUlp = 3e-16;
constexpr double kRoots = 2e-15;

}  // namespace

TEST_F(UnaryTest, EveryFormAgainstNumpy)
{
    Inputs in;
    TVec r;
    const double s = kArithScale, o = kArithOffset, thr = kArithThr;
    const TCplx cs = Cplx(kArithCScaleRe, kArithCScaleIm);
    RunCases(
        r,
        {
            {"Scale real", [&] { r.Copy(in.x), r.Scale(s); }, false, &kArithScaleX, 0},
            {"Scale complex: both parts", [&] { r.Copy(in.z), r.Scale(s); }, true, &kArithScaleZ, 0},
            {"Scale(TCplx) complex", [&] { r.Copy(in.z), r.Scale(cs); }, true, &kArithCScaleZ, 0},
            {"Scale(TCplx) real factor of a real vector", [&] { r.Copy(in.x), r.Scale(Cplx(s, 0)); }, false,
             &kArithScaleX, 0},
            {"Scale range", [&] { r.Copy(in.z), r.Scale(s, 0, n); }, true, &kArithScaleZ, 0},
            {"Scale(TCplx) range", [&] { r.Copy(in.z), r.Scale(cs, 0, n); }, true, &kArithCScaleZ, 0},
            {"Offset real", [&] { r.Copy(in.x), r.Offset(o); }, false, &kArithOffsetX, 0},
            {"Offset complex: real parts", [&] { r.Copy(in.z), r.Offset(o); }, true, &kArithOffsetZ, 0},
            {"Offset range complex: real parts", [&] { r.Copy(in.z), r.Offset(o, 0, n); }, true, &kArithOffsetZ, 0},
            {"Offset(TCplx) range", [&] { r.Copy(in.x), r.Offset(Cplx(o, 0), 0, n); }, false, &kArithOffsetX, 0},

            {"Inv real", [&] { r.Copy(in.x), r.Inv(thr); }, false, &kArithInvX, 0},
            {"Inv complex: root of the threshold", [&] { r.Copy(in.z), r.Inv(thr); }, true, &kArithInvZInPlace, 0},
            {"Inv(Vec) complex", [&] { r.Inv(in.z, thr); }, true, &kArithInvZ, 0},
            {"Inv range", [&] { r.Copy(in.x), r.Inv(in.x, thr, 0, 0, n); }, false, &kArithInvX, 0},

            {"Sqr real", [&] { r.Copy(in.x), r.Sqr(); }, false, &kArithSqrX, 0},
            {"Sqr complex", [&] { r.Copy(in.z), r.Sqr(); }, true, &kArithSqrZ, 0},
            {"Sqr(Vec)", [&] { r.Sqr(in.z); }, true, &kArithSqrZ, 0},
            {"Sqr range", [&] { r.Size(n, false), r.Sqr(in.x, 0, 0, n); }, false, &kArithSqrX, 0},
            {"Sqrt real", [&] { r.Copy(in.x), r.Sqrt(); }, false, &kArithSqrtX, 0},
            {"Sqrt complex", [&] { r.Copy(in.z), r.Sqrt(); }, true, &kArithSqrtZ, 0},
            {"Sqrt(Vec)", [&] { r.Sqrt(in.x); }, false, &kArithSqrtX, 0},
            {"Sqrt range", [&] { r.Size(n, true), r.Sqrt(in.z, 0, 0, n); }, true, &kArithSqrtZ, 0},
            {"InvSqrt real", [&] { r.Copy(in.x), r.InvSqrt(); }, false, &kArithInvSqrtX, kUlp},
            {"InvSqrt complex", [&] { r.Copy(in.z), r.InvSqrt(); }, true, &kArithInvSqrtZ, 0},
            {"InvSqrt(Vec)", [&] { r.InvSqrt(in.z); }, true, &kArithInvSqrtZ, 0},
            {"InvSqrt range", [&] { r.Size(n, false), r.InvSqrt(in.x, 0, 0, n); }, false, &kArithInvSqrtX, kUlp},

            {"Cbrt real", [&] { r.Copy(in.qr), r.Cbrt(); }, false, &kArithCbrtQr, kUlp},
            {"Cbrt complex", [&] { r.Copy(in.q), r.Cbrt(); }, true, &kArithCbrtQ, kRoots},
            {"Cbrt(Vec)", [&] { r.Cbrt(in.q); }, true, &kArithCbrtQ, kRoots},
            {"Cbrt range", [&] { r.Size(nq, true), r.Cbrt(in.q, 0, 0, nq); }, true, &kArithCbrtQ, kRoots},
            {"InvCbrt real", [&] { r.Copy(in.qr), r.InvCbrt(); }, false, &kArithInvCbrtQr, kUlp},
            {"InvCbrt complex", [&] { r.Copy(in.q), r.InvCbrt(); }, true, &kArithInvCbrtQ, kRoots},
            {"InvCbrt(Vec) complex: (1/z)^(1/3)", [&] { r.InvCbrt(in.q); }, true, &kArithInvCbrtQ, kRoots},
            {"InvCbrt(Vec) real", [&] { r.InvCbrt(in.qr); }, false, &kArithInvCbrtQr, kUlp},
            {"InvCbrt range", [&] { r.Size(nq, true), r.InvCbrt(in.q, 0, 0, nq); }, true, &kArithInvCbrtQ, kRoots},

            {"Abs real", [&] { r.Copy(in.x), r.Abs(); }, false, &kArithAbsX, 0},
            {"Abs(Vec) complex: magnitudes", [&] { r.Abs(in.z); }, false, &kArithAbsZ, kUlp},
            {"Abs range", [&] { r.Size(n, false), r.Abs(in.x, 0, 0, n); }, false, &kArithAbsX, 0},
            {"Abs range of complex", [&] { r.Size(n, false), r.Abs(in.z, 0, 0, n); }, false, &kArithAbsZ, kUlp},

            {"ThreshBottom real", [&] { r.Copy(in.x), r.ThreshBottom(kArithLo); }, false, &kArithBottomX, 0},
            {"ThreshTop real", [&] { r.Copy(in.x), r.ThreshTop(kArithHi); }, false, &kArithTopX, 0},
            {"ThreshBottom(Vec) complex", [&] { r.ThreshBottom(in.z, kArithLo); }, true, &kArithBottomZ, 0},
            {"ThreshTop(Vec) complex", [&] { r.ThreshTop(in.z, kArithHi); }, true, &kArithTopZ, 0},
            {"ThreshBottom range", [&] { r.Size(n, true), r.ThreshBottom(in.z, kArithLo, 0, 0, n); }, true,
             &kArithBottomZ, 0},
            {"ThreshTop range", [&] { r.Size(n, false), r.ThreshTop(in.x, kArithHi, 0, 0, n); }, false, &kArithTopX, 0},
        });
    // The product of q[3] .. q[7], element after element.
    TCplx p;
    in.q.Product(p, 3, 5);
    EXPECT_TRUE(SameDouble(p.Re, kArithProductQ3to7[0]) && SameDouble(p.Im, kArithProductQ3to7[1]))
        << p.Re << " " << p.Im;
}

TEST_F(UnaryTest, ModelCasesOfTheFamily)
{
    TVec v;
    Set(v, true, {1, 2});
    v.Scale(1);
    ExpectSame(v, true, {1, 2});
    v.Scale(2);
    ExpectSame(v, true, {2, 4});
    // Offsets add to the real part in every form (never Value + Value·i).
    Set(v, true, {1, 1});
    v.Offset(1);
    ExpectSame(v, true, {2, 1});
    Set(v, true, {1, 1});
    v.Offset(1, 0, 1);
    ExpectSame(v, true, {2, 1});
    // A range of Len 0 returns before any check; a range past the end is refused.
    Set(v, false, {1, 2, 3});
    v.Scale(2, 5, 0);
    ExpectSame(v, false, {1, 2, 3});
    ExpectRaise([&] { v.Scale(2, 2, 2); }, "Index+Len > Length");
    Set(v, false, {1, -2});
    v.Sign();
    ExpectSame(v, false, {-1, 2});
    Set(v, false, {-1, 2});
    v.ThreshBottom(0);
    ExpectSame(v, false, {0, 2});
    Set(v, false, {-1, 2});
    v.ThreshTop(1);
    ExpectSame(v, false, {-1, 1});
    // Complex clipping: the magnitude is clipped and the phase kept; 0 is raised to Value + 0i; NaN passes.
    Set(v, true, {0, 0, 3, 4, NAN, 0});
    v.ThreshBottom(10);
    ExpectSame(v, true, {10, 0, 6, 8, NAN, 0});
    TCplx p;
    Set(v, true, {1, 1, 1, -1, 2, 0});
    v.Product(p, 0, 3);
    EXPECT_TRUE(p.Re == 4 && p.Im == 0);
    Set(v, false, {-8});
    v.Cbrt();
    ExpectSame(v, false, {-2});
    // The principal cube root of -8 + 0i, and of 0 (0, not NaN).
    Set(v, true, {-8, 0, 0, 0});
    v.Cbrt();
    ExpectNear(v, true, {1, 1.7320508075688772, 0, 0}, kRoots);
    EXPECT_TRUE(SameDouble(v.Values()[2], 0.0) && SameDouble(v.Values()[3], 0.0));
}

TEST_F(UnaryTest, ThreeInvCbrtFormsAgreeOnTheNegativeAxis)
{
    // exp(-ln(z)/3) (in place and on a range) and (1/z)^(1/3) (from a source): the reciprocal of -8 + 0i is
    // -0.125 - 0i, so all three give 0.25 - 0.4330127...i, as numpy's z**(-1/3).
    TVec z, a, b, c;
    Set(z, true, {-8, 0, -8, -0.0});
    a.Copy(z);
    a.InvCbrt();
    b.InvCbrt(z);
    Set(c, true, {0, 0, 0, 0});
    c.InvCbrt(z, 0, 0, 2);
    const std::vector<double> expected = {0.25, -0.4330127018922193, 0.25, 0.4330127018922193};
    ExpectNear(a, true, expected, kRoots, "in place");
    ExpectNear(b, true, expected, kRoots, "(1/z)^(1/3)");
    ExpectNear(c, true, expected, kRoots, "range");
}

TEST_F(UnaryTest, ImaginaryPartsAreNeverDropped)
{
    TVec v;
    Set(v, false, {3});
    ExpectRaise([&] { v.Scale(Cplx(0, 1)); }, "TVec.Scale: Not Complex");
    ExpectRaise([&] { v.Scale(Cplx(2, 1), 0, 1); }, "TVec.Scale: Not Complex");
    ExpectRaise([&] { v.Offset(Cplx(2, 1), 0, 1); }, "TVec.Offset: Not Complex");
    ExpectSame(v, false, {3});
    // A zero imaginary part is a real factor.
    v.Scale(Cplx(2, 0));
    v.Scale(Cplx(2, 0), 0, 1);
    v.Offset(Cplx(1, 0), 0, 1);
    ExpectSame(v, false, {13});
}

TEST_F(UnaryTest, ProductOfARange)
{
    TVec v;
    TCplx p = Cplx(9, 9);
    v.Size(0, true);
    v.Product(p, 0, 5);
    EXPECT_TRUE(p.Re == 0 && p.Im == 0) << "empty vector";
    Set(v, true, {2, 3, 4, 5});
    p = Cplx(9, 9);
    v.Product(p, 1, 0);
    EXPECT_TRUE(p.Re == 0 && p.Im == 0) << "Len 0 reads nothing";
    v.Product(p, 1, 1);
    EXPECT_TRUE(p.Re == 4 && p.Im == 5) << "Len 1 is the element";
    ExpectRaise([&] { v.Product(p, -1, 1); }, "(Len <= 0) or (Index < 0)");
    ExpectRaise([&] { v.Product(p, 0, -1); }, "(Len <= 0) or (Index < 0)");
    ExpectRaise([&] { v.Product(p, 1, 2); }, "Index+Len > Length");
    Set(v, false, {1, 2});
    ExpectRaise([&] { v.Product(p, 0, 1); }, "Complex = false");
}

TEST_F(UnaryTest, MessagesInTheirOrder)
{
    TVec r, v3, v4, c3, e;
    Set(r, false, {1, 2, 3});
    Set(v3, false, {1, 2, 3});
    Set(v4, false, {1, 2, 3, 4});
    Set(c3, true, {1, 0, 2, 0, 3, 0});
    const std::vector<double> before = Doubles(r);
    struct Case {
        const char* what;
        std::function<void()> run;
        const char* message;
    };
    const Case cases[] = {
        {"Scale range: negative", [&] { r.Scale(2, -1, 1); }, "(Len <= 0) or (Index < 0)"},
        {"Scale range: bound", [&] { r.Scale(2, 2, 2); }, "Index+Len > Length"},
        {"Scale(TCplx) range: negative", [&] { r.Scale(Cplx(2, 0), 0, -1); }, "(Len <= 0) or (Index < 0)"},
        {"Scale(TCplx) range: bound", [&] { r.Scale(Cplx(2, 0), 3, 1); }, "Index+Len > Length"},
        {"Offset range: negative", [&] { r.Offset(1, -1, 0); }, "(Len <= 0) or (Index < 0)"},
        {"Offset range: bound", [&] { r.Offset(1, 1, 3); }, "(Index + Len) > Length"},
        {"Offset(TCplx) range: bound before kind", [&] { r.Offset(Cplx(1, 1), 1, 3); }, "(Index + Len) > Length"},
        {"Inv range: negative", [&] { r.Inv(v3, 1, -1, 0, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Inv range: Vec bound", [&] { r.Inv(v3, 1, 2, 0, 2); }, "VecIndex + Len) > Vec.Length"},
        {"Inv range: Self bound", [&] { r.Inv(v4, 1, 0, 2, 2); }, "(Index + Len) > Length"},
        {"Inv range: kinds", [&] { r.Inv(c3, 1, 0, 0, 1); }, "Complex <> Vec.Complex"},
        {"Inv range: Self", [&] { r.Inv(r, 1, 0, 0, 1); }, "Self = Vec"},
        {"Sqr range: its own negative text", [&] { r.Sqr(v3, 0, 0, -1); },
         "(Len < 0) or (Index < 0) or (VecIndex < 0)"},
        {"Sqr range: Self", [&] { r.Sqr(r, 0, 0, 1); }, "Self = Vec"},
        {"Sqrt range: kinds", [&] { r.Sqrt(c3, 0, 0, 1); }, "Complex <> Vec.Complex"},
        {"InvSqrt range: bound", [&] { r.InvSqrt(v3, 0, 1, 3); }, "(Index + Len) > Length"},
        {"Cbrt range: negative", [&] { r.Cbrt(v3, 0, -2, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"InvCbrt range: Self", [&] { r.InvCbrt(r, 0, 0, 1); }, "Self = Vec"},
        {"Abs(Vec): Self", [&] { r.Abs(r); }, "Self = Vec"},
        {"Abs range: empty Vec first", [&] { r.Abs(e, 0, -1, 1); }, "Vec.Length = 0"},
        {"Abs range: bound before negative", [&] { r.Abs(v3, 2, -1, 2); }, "VecIndex + Len) > Vec.Length"},
        {"Abs range: negative", [&] { r.Abs(v3, 0, -1, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Abs range: Self", [&] { r.Abs(r, 0, 0, 1); }, "Self = Vec"},
        {"ThreshBottom range: kinds", [&] { r.ThreshBottom(c3, 0, 0, 0, 1); }, "Complex <> Vec.Complex"},
        {"ThreshTop range: bound", [&] { r.ThreshTop(v4, 0, 0, 0, 4); }, "(Index + Len) > Length"},
    };
    for (const Case& c : cases) {
        ExpectRaise(c.run, c.message, c.what);
        ExpectSame(r, false, before, std::string(c.what) + ": Self unchanged");
    }
    // A complex Self: Abs raises in place (not when empty) and in the range form, which would write real values.
    TVec c;
    c.Size(0, true);
    c.Abs();
    Set(c, true, {1, 0, 2, 0});
    ExpectRaise([&] { c.Abs(); }, "TVec.Abs: Complex = True");
    ExpectRaise([&] { c.Abs(v3, 0, 0, 1); }, "TVec.Abs: Complex = True");
    ExpectSame(c, true, {1, 0, 2, 0});
}

TEST_F(UnaryTest, ConditionCheckOffAndViews)
{
    TVec r, v2;
    Set(r, false, {1, 4, 9});
    Set(v2, false, {16, 25});
    r.SetConditionCheck(false);
    // Self as its own source: the result of distinct vectors.
    r.Sqrt(r, 0, 0, 3);
    ExpectSame(r, false, {1, 2, 3});
    ExpectRaise([&] { r.Sqrt(v2, 0, 0, 3); }, "VecIndex + Len) > Vec.Length");
    ExpectRaise([&] { r.Sqr(v2, 0, 2, 2); }, "(Index + Len) > Length");
    ExpectRaise([&] { r.Sqr(v2, 0, 0, -1); }, "(Len < 0) or (Index < 0) or (VecIndex < 0)");
    // Overlapping views: Self = buffer[1..4) from Vec = buffer[0..3), shifted by one element.
    std::vector<double> buffer = {1, 4, 9, 16};
    TVec self, vec;
    View(vec, buffer, 0, 3, false);
    View(self, buffer, 1, 3, false);
    self.Sqrt(vec, 0, 0, 3);
    ExpectSame(self, false, {1, 2, 3});
    self.ThreshTop(vec, 1.5, 0, 0, 3);
    ExpectSame(self, false, {1, 1, 1.5});
    self.Disown();
    vec.Disown();
}

TEST_F(UnaryTest, LongComplexRootsMatchTheShortOnes)
{
    // 2^17 elements run in pieces on several threads and in chunks: each element as if computed alone.
    const int len = 1 << 17;
    TVec z, whole, one;
    z.Size(len, true);
    for (int i = 0; i < len; ++i) z.CValues()[i] = Cplx(std::sin(i) * 10, std::cos(0.3 * i) * 10);
    whole.Cbrt(z);
    for (int i : {0, 1, 255, 256, 32767, 32768, 65536, len - 1}) {
        TVec piece;
        piece.Size(1, true);
        piece.CValues()[0] = z.CValues()[i];
        one.Cbrt(piece);
        ASSERT_TRUE(SameDouble(one.CValues()[0].Re, whole.CValues()[i].Re) &&
                    SameDouble(one.CValues()[0].Im, whole.CValues()[i].Im))
            << i;
    }
}

TEST_F(UnaryTest, ComplexLnExpAndPowerAtTheEdges)
{
    // The internal complex functions the cube roots are built from: the sign of a zero imaginary part picks the
    // side of the cut, exp keeps an exact zero imaginary part (also next to an infinite e^a) and e^(-∞) is 0.
    const TCplx lnIn[] = {{-1, 0.0}, {-1, -0.0}, {0, 0}, {1, 0}};
    TCplx ln[4];
    detail::ComplexLn(lnIn, ln, 4);
    EXPECT_TRUE(ln[0].Re == 0 && ln[0].Im == PI);
    EXPECT_TRUE(ln[1].Re == 0 && ln[1].Im == -PI);
    EXPECT_TRUE(ln[2].Re == -INFINITY && ln[2].Im == 0);
    EXPECT_TRUE(SameDouble(ln[3].Re, 0.0) && SameDouble(ln[3].Im, 0.0));
    const TCplx expIn[] = {{INFINITY, 0.0}, {INFINITY, -0.0}, {-INFINITY, 2}, {-INFINITY, INFINITY}, {0, PI}, {2, 0}};
    TCplx e[6];
    detail::ComplexExp(expIn, e, 6);
    EXPECT_TRUE(e[0].Re == INFINITY && SameDouble(e[0].Im, 0.0));
    EXPECT_TRUE(e[1].Re == INFINITY && SameDouble(e[1].Im, -0.0));
    EXPECT_TRUE(e[2].Re == 0 && e[2].Im == 0);
    EXPECT_TRUE(e[3].Re == 0 && e[3].Im == 0);
    EXPECT_NEAR(e[4].Re, -1, 1e-15);
    EXPECT_NEAR(e[4].Im, 0, 1e-15);
    EXPECT_NEAR(e[5].Re, std::exp(2.0), 1e-14);
    EXPECT_TRUE(SameDouble(e[5].Im, 0.0));
    // 0^p is 0 for p > 0 and infinite for p < 0; in place.
    TCplx p[2] = {{0, 0}, {0, 0}};
    detail::ComplexPower(p, p, 1, detail::kThird);
    detail::ComplexPower(p + 1, p + 1, 1, detail::kMinusThird);
    EXPECT_TRUE(SameDouble(p[0].Re, 0.0) && SameDouble(p[0].Im, 0.0));
    EXPECT_TRUE(p[1].Re == INFINITY && p[1].Im == 0);
}

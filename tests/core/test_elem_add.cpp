// The rules shared by the element-wise operations, pinned on the Add family: every calling form against numpy,
// sizing, mixing of real and complex operands, the checks in their order with and without ConditionCheck, ranges
// (Len 0, -1, out of range) and aliased operands; and the small members Size (Vec) and Disown.
#include <algorithm>
#include <vector>

#include "elem_util.h"
// clang-format off
#include "elem_golden.inc"
// clang-format on

using namespace elemtest;

namespace {

class AddTest : public ElemTest {};

// Golden inputs: x, y real; z, w complex (numpy, tests/data/gen_elem_golden.py).
struct Inputs {
    TVec x, y, z, w;
    Inputs()
    {
        Set(x, false, kElemX);
        Set(y, false, kElemY);
        Set(z, true, kElemZ);
        Set(w, true, kElemW);
    }
};

}  // namespace

TEST_F(AddTest, EveryFormAgainstNumpy)
{
    Inputs in;
    TVec r;
    struct Case {
        const char* what;
        std::function<void()> run;
        bool complex;
        const std::vector<double>* expected;
        double rel;  // 0: bit for bit
    };
    // BLAS may fuse the multiply and the add of the scaled forms: those agree to a few units in the last place.
    const Case cases[] = {
        {"real Add(Vec)", [&] { r.Copy(in.x), r.Add(in.y); }, false, &kElemXplusY, 0},
        {"complex Add(Vec)", [&] { r.Copy(in.z), r.Add(in.w); }, true, &kElemZplusW, 0},
        {"complex Self + real Vec", [&] { r.Copy(in.z), r.Add(in.x); }, true, &kElemZplusX, 0},
        {"real Self + complex Vec", [&] { r.Copy(in.x), r.Add(in.z); }, true, &kElemXplusZ, 0},
        {"real Add(Vec, a, 0)", [&] { r.Copy(in.x), r.Add(in.y, kElemAlpha, 0); }, false, &kElemXplusAlphaY, 1e-15},
        {"complex Add(Vec, Re, Im)", [&] { r.Copy(in.z), r.Add(in.w, kElemCAlphaRe, kElemCAlphaIm); }, true,
         &kElemZplusCAlphaW, 1e-15},
        {"Add(Vec1, Vec2) real", [&] { r.Add(in.x, in.y); }, false, &kElemXplusY, 0},
        {"Add(Vec1, Vec2) complex", [&] { r.Add(in.z, in.w); }, true, &kElemZplusW, 0},
        {"range Add two sources", [&] { r.Size(kElemN, true), r.Add(in.z, in.w, 0, 0, 0, kElemN); }, true, &kElemZplusW,
         0},
        {"range Add(Vec, ...)", [&] { r.Copy(in.x), r.Add(in.y, 0, 0, kElemN); }, false, &kElemXplusY, 0},
        {"range scaled real", [&] { r.Copy(in.x), r.Add(in.y, 0, 0, kElemN, kElemAlpha, 0); }, false, &kElemXplusAlphaY,
         1e-15},
        {"range scaled complex", [&] { r.Copy(in.z), r.Add(in.w, 0, 0, kElemN, kElemCAlphaRe, kElemCAlphaIm); }, true,
         &kElemZplusCAlphaW, 1e-15},
    };
    for (const Case& c : cases) {
        r.Size(3, false);
        c.run();
        EXPECT_EQ(r.Length(), kElemN) << c.what;
        if (c.rel == 0)
            ExpectSame(r, c.complex, *c.expected, c.what);
        else
            ExpectNear(r, c.complex, *c.expected, c.rel, c.what);
    }
}

TEST_F(AddTest, SizingOfTheForms)
{
    TVec a, b, r;
    Set(a, false, {1, 2, 3});
    Set(b, false, {10, 20, 30});
    // From two sources: like Vec1, whatever Self was.
    Set(r, true, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    r.Add(a, b);
    ExpectSame(r, false, {11, 22, 33});
    // In place with an operand: no sizing, but a real Self turns complex with its Length.
    TVec c;
    Set(c, true, {1, 1, 2, 2, 3, 3});
    r.Add(c);
    ExpectSame(r, true, {12, 1, 24, 2, 36, 3});
    // Ranges never resize nor change the kind.
    TVec s;
    Set(s, false, {0, 0, 0, 0, 0});
    s.Add(a, b, 1, 0, 2, 2);
    ExpectSame(s, false, {0, 0, 12, 23, 0});
    s.Add(a, 2, 4, 1);
    ExpectSame(s, false, {0, 0, 12, 23, 3});
    // Size (Vec): the kind first, then the length.
    TVec t;
    t.Size(c);
    EXPECT_TRUE(t.Complex());
    EXPECT_EQ(t.Length(), 3);
}

TEST_F(AddTest, ModelCasesOfTheFamily)
{
    TVec a, b;
    Set(a, false, {1, 2});
    Set(b, false, {10, 20});
    a.Add(b, 2, 0);
    ExpectSame(a, false, {21, 42});
    // A complex factor on real vectors would lose its imaginary part: refused, also in the range form.
    ExpectRaise([&] { a.Add(b, 2, 5); }, "TVec.Add: Not Complex");
    ExpectRaise([&] { a.Add(b, 0, 0, 2, 2, 5); }, "TVec.Add: Not Complex");
    ExpectSame(a, false, {21, 42});
    // Two complex elements of a longer vector, the rest untouched.
    TVec x, y, s;
    Set(x, true, {1, 1, 2, 2, 3, 3});
    Set(y, true, {10, 10, 20, 20, 30, 30});
    Set(s, true, {0, 0, 0, 0, 0, 0, 7, 7});
    s.Add(x, y, 1, 0, 2, 2);
    ExpectSame(s, true, {0, 0, 0, 0, 12, 12, 23, 23});
    // Mixed kinds: the real operand adds to the real parts only, in both directions.
    TVec c, re;
    Set(c, true, {1, 5, 2, -0.0});
    Set(re, false, {10, 20});
    c.Add(re);
    ExpectSame(c, true, {11, 5, 22, 0.0});
    Set(re, false, {10, 20});
    Set(c, true, {1, 5, 2, -6});
    re.Add(c);
    ExpectSame(re, true, {11, 5, 22, -6});
}

TEST_F(AddTest, MessagesInTheirOrder)
{
    TVec r, c, v3, v4, c3;
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
        {"Self = Vec before lengths", [&] { r.Add(r, 1, 0); }, "TVec.Add: Self = Vec"},
        {"lengths", [&] { r.Add(v4); }, "Vec.Length <> Length"},
        {"scaled kinds", [&] { r.Add(c3, 2, 0); }, "TVec.Add: Vec.Complex <> Complex"},
        {"two sources: lengths first", [&] { r.Add(c3, v4); }, "Vec1.Length <> Vec2.Length"},
        {"two sources: kinds", [&] { r.Add(v3, c3); }, "Vec1.Complex <> Vec2.Complex"},
        {"two sources: Self", [&] { r.Add(v3, r); }, "(Self = Vec1) or (Self = Vec2)"},
        {"range 2: negative", [&] { r.Add(v3, v3, 0, -1, 0, 1); },
         "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)"},
        {"range 2: Vec1 bound", [&] { r.Add(v3, v4, 2, 9, 9, 2); }, "(Vec1Index + Len) > Vec1.Length"},
        {"range 2: Vec2 bound", [&] { r.Add(v4, v3, 2, 2, 9, 2); }, "(Vec2Index + Len) > Vec2.Length"},
        {"range 2: Self bound", [&] { r.Add(v4, v4, 0, 0, 2, 2); }, "(Index + Len) > Length"},
        {"range 2: Vec1/Vec2 kinds", [&] { r.Add(c3, v3, 0, 0, 0, 1); }, "Vec1.Complex  <> Vec2.Complex"},
        {"range 2: Self kind", [&] { c.Size(3, true), c.Add(v3, v3, 0, 0, 0, 1); }, "Complex  <> Vec2.Complex"},
        {"range 2: Self", [&] { r.Add(r, v3, 0, 0, 0, 1); }, "(Self = Vec1) or (Self = Vec2)"},
        {"range: negative Len", [&] { r.Add(v3, 0, 0, -1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"range: negative VecIndex", [&] { r.Add(v3, -1, 0, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"range: Vec bound", [&] { r.Add(v3, 2, 9, 2); }, "VecIndex + Len) > Vec.Length"},
        {"range: Self bound", [&] { r.Add(v4, 0, 2, 2); }, "(Index + Len) > Length"},
        {"range: kinds", [&] { r.Add(c3, 0, 0, 1); }, "Complex <> Vec.Complex"},
        {"range: Self", [&] { r.Add(r, 0, 0, 1); }, "Self = Vec"},
    };
    for (const Case& c : cases) {
        ExpectRaise(c.run, c.message, c.what);
        ExpectSame(r, false, before, std::string(c.what) + ": Self unchanged");
    }
}

TEST_F(AddTest, ConditionCheckOffSkipsOnlyWhatIsSafe)
{
    TVec r, v2, v4;
    Set(r, false, {1, 2, 3});
    Set(v2, false, {1, 2});
    Set(v4, false, {10, 20, 30, 40});
    r.SetConditionCheck(false);
    // Gated checks that guard nothing are skipped: Self doubles, a longer Vec lends its first elements.
    r.Add(r, 1, 0);
    ExpectSame(r, false, {2, 4, 6});
    r.Add(v4);
    ExpectSame(r, false, {12, 24, 36});
    r.Add(r, 0, 0, 3);
    ExpectSame(r, false, {24, 48, 72});
    // Len = 0 does nothing, also at the end of both vectors.
    r.Add(v4, 4, 3, 0);
    ExpectSame(r, false, {24, 48, 72});
    // Anything that would leave a vector's data is refused with the check's own text.
    ExpectRaise([&] { r.Add(v2); }, "Vec.Length <> Length");
    ExpectRaise([&] { r.Add(v4, 0, 2, 2); }, "(Index + Len) > Length");
    ExpectRaise([&] { r.Add(v2, 1, 0, 2); }, "VecIndex + Len) > Vec.Length");
    ExpectRaise([&] { r.Add(v4, 0, 0, -1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)");
    ExpectRaise([&] { r.Add(v4, v4, 0, 0, -1, 1); }, "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)");
    TVec c;
    Set(c, true, {1, 1, 2, 2, 3, 3});
    ExpectRaise([&] { r.Add(c, 2, 0); }, "TVec.Add: Vec.Complex <> Complex");
    // A range over kinds that differ is held to the Doubles of each vector: 3 complex elements need 6 Doubles of
    // a real source that has 4.
    c.SetConditionCheck(false);
    ExpectRaise([&] { c.Add(v4, 0, 0, 3); }, "VecIndex + Len) > Vec.Length");
    ExpectRaise([&] { c.Add(v4, v4, 0, 0, 0, 3); }, "(Vec1Index + Len) > Vec1.Length");
    c.Add(v4, 0, 0, 2);  // 4 Doubles: allowed, the real numbers added Double by Double
    ExpectSame(c, true, {11, 21, 32, 42, 3, 3});
    ExpectSame(r, false, {24, 48, 72});
}

TEST_F(AddTest, OverlappingViewsGiveTheResultOfDistinctVectors)
{
    // Self and Vec view one buffer, shifted by one element: Self[i] += Vec[i] must read the old values.
    std::vector<double> buf = Ramp(6, 1);  // 1 2 3 4 5 6
    TVec self, vec;
    View(self, buf, 1, 4, false);  // 2 3 4 5
    View(vec, buf, 0, 4, false);   // 1 2 3 4
    self.Add(vec);
    EXPECT_EQ(buf, (std::vector<double>{1, 3, 5, 7, 9, 6}));
    // The same through the range form with the vector itself (checks off) and through the scaled form.
    TVec r;
    Set(r, false, {1, 2, 3, 4});
    r.SetConditionCheck(false);
    r.Add(r, 0, 1, 3);
    ExpectSame(r, false, {1, 3, 5, 7});
    std::copy_n(Ramp(6, 1).begin(), 6, buf.begin());  // the views keep the same storage
    self.Add(vec, 2, 0);
    EXPECT_EQ(buf, (std::vector<double>{1, 4, 7, 10, 13, 6}));
    // Two sources, one of them overlapping the destination.
    std::copy_n(Ramp(6, 1).begin(), 6, buf.begin());  // the views keep the same storage
    TVec other;
    Set(other, false, {10, 20, 30, 40});
    self.Add(vec, other);
    EXPECT_EQ(buf, (std::vector<double>{1, 11, 22, 33, 44, 6}));
    // A real Self turning complex while Vec views Self's own block.
    TVec s, v;
    Set(s, false, {1, 2, 3, 4});
    s.SetLength(2);                   // 1, 2; the block keeps 3, 4 behind them
    v.Adopt(s.Values(), 4, 2, true);  // 1+2i, 3+4i
    s.Add(v);
    ExpectSame(s, true, {2, 2, 5, 4});
}

TEST_F(AddTest, ScaledSumsAtBlasSizes)
{
    // Long enough for the BLAS kernels and the threaded element-wise paths (2^17 elements).
    const int n = 1 << 17;
    TVec a, b, r;
    a.Size(n, true);
    b.Size(n, true);
    for (int i = 0; i < 2 * n; ++i) {
        a.Values()[i] = i % 7;
        b.Values()[i] = (i % 5) - 2;
    }
    r.Copy(a);
    r.Add(b, 0.5, 2);
    for (int k = 0; k < n; k += 997) {
        const TCplx x = a.CValues()[k], y = b.CValues()[k], got = r.CValues()[k];
        EXPECT_DOUBLE_EQ(got.Re, x.Re + 0.5 * y.Re - 2 * y.Im) << k;
        EXPECT_DOUBLE_EQ(got.Im, x.Im + 0.5 * y.Im + 2 * y.Re) << k;
    }
    r.Add(a, b);
    for (int k = 0; k < 2 * n; k += 1009) EXPECT_EQ(r.Values()[k], a.Values()[k] + b.Values()[k]) << k;
}

TEST_F(AddTest, SubIndexViewsAndViewsAsOperands)
{
    TVec v;
    Set(v, false, Ramp(8));
    v.SetSubIndex(2, 5);
    ExpectSame(v, false, {2, 3, 4, 5});
    // A view as Self and as operand: elements 2 .. 5 += elements 0 .. 3 of the same buffer (overlapping).
    v.SetFullRange();
    TVec head;
    head.SetSubRange(v, 0, 4);
    v.SetSubIndex(2, 5);
    v.Add(head);
    v.SetFullRange();
    head.SetFullRange();
    ExpectSame(v, false, {0, 1, 2, 4, 6, 8, 6, 7});
    ExpectRaise([&] { v.SetSubIndex(5, 3); }, "Len < 0");
    // A view cannot be resized: a real view given a complex operand refuses before anything changes.
    TVec c;
    Set(c, true, {1, 1, 2, 2});
    v.SetSubIndex(0, 1);
    ExpectRaise([&] { v.Add(c); }, "IsSubRange = True!");
    v.SetFullRange();
    ExpectSame(v, false, {0, 1, 2, 4, 6, 8, 6, 7});
    // Lengths of two sources are compared also with ConditionCheck off.
    TVec a, b, r;
    Set(a, false, {1, 2, 3});
    Set(b, false, {1, 2, 3, 4});
    r.SetConditionCheck(false);
    ExpectRaise([&] { r.Add(a, b); }, "Vec1.Length <> Vec2.Length");
}

TEST_F(AddTest, DisownDropsTheData)
{
    TVec v;
    Set(v, false, {1, 2, 3});
    v.Disown();
    EXPECT_EQ(v.Length(), 0);
    EXPECT_EQ(v.Values(), nullptr);
    EXPECT_EQ(v.AllocatedSize(), 0);
    std::vector<double> outside = {4, 5};
    v.Adopt(outside.data(), 2, 2, false);
    v.Disown();
    EXPECT_EQ(v.Values(), nullptr);
    EXPECT_EQ(outside, (std::vector<double>{4, 5}));
}

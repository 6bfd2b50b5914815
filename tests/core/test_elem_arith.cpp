// Vector arithmetic on two operands: Sub, Mul, Divide, DivideVec, ConjMul, Difference and Normalize in every
// calling form against numpy (real, complex and mixed kinds), the threshold rule of the quotients, the checks in
// their order with ConditionCheck on and off, ranges, aliased operands, the long threaded paths, and the faults guarded
// against (operands written to, the reciprocals of a complex divisor overrunning a real-sized temporary, unchecked
// ranges).
#include <cmath>
#include <vector>

#include "arith_util.h"
#include "platform/wavrin/Parallel.h"

using namespace arithtest;

namespace {

class ArithTest : public ElemTest {};

constexpr int n = kArithN;

}  // namespace

TEST_F(ArithTest, EveryFormAgainstNumpy)
{
    Inputs in;
    TVec r;
    const double thr = kArithThr;
    const TCplx sub = Cplx(kArithSubRe, kArithSubIm), a = Cplx(kArithARe, kArithAIm), b = Cplx(kArithBRe, kArithBIm);
    RunCases(
        r, {
               {"Sub(Vec) real", [&] { r.Copy(in.x), r.Sub(in.y); }, false, &kArithXminusY, 0},
               {"Sub(Vec) complex", [&] { r.Copy(in.z), r.Sub(in.w); }, true, &kArithZminusW, 0},
               {"Sub(Vec) complex - real", [&] { r.Copy(in.z), r.Sub(in.x); }, true, &kArithZminusX, 0},
               {"Sub(Vec) real - complex", [&] { r.Copy(in.x), r.Sub(in.z); }, true, &kArithXminusZ, 0},
               {"Sub(Vec1, Vec2)", [&] { r.Sub(in.z, in.w); }, true, &kArithZminusW, 0},
               {"Sub range of two", [&] { r.Size(n, false), r.Sub(in.x, in.y, 0, 0, 0, n); }, false, &kArithXminusY, 0},
               {"Sub range", [&] { r.Copy(in.z), r.Sub(in.w, 0, 0, n); }, true, &kArithZminusW, 0},

               {"Mul(Vec) real", [&] { r.Copy(in.x), r.Mul(in.y); }, false, &kArithXtimesY, 0},
               {"Mul(Vec) complex", [&] { r.Copy(in.z), r.Mul(in.w); }, true, &kArithZtimesW, 0},
               {"Mul(Vec) complex * real", [&] { r.Copy(in.z), r.Mul(in.x); }, true, &kArithZtimesX, 0},
               {"Mul(Vec) real * complex", [&] { r.Copy(in.x), r.Mul(in.z); }, true, &kArithXtimesZ, 0},
               {"Mul(Vec1, Vec2) real", [&] { r.Mul(in.x, in.y); }, false, &kArithXtimesY, 0},
               {"Mul(Vec1, Vec2) complex", [&] { r.Mul(in.z, in.w); }, true, &kArithZtimesW, 0},
               {"Mul range of two", [&] { r.Size(n, true), r.Mul(in.z, in.w, 0, 0, 0, n); }, true, &kArithZtimesW, 0},
               {"Mul range", [&] { r.Copy(in.x), r.Mul(in.y, 0, 0, n); }, false, &kArithXtimesY, 0},

               {"Divide(Vec) real", [&] { r.Copy(in.x), r.Divide(in.y, thr); }, false, &kArithXdivY, 0},
               {"Divide(Vec) complex", [&] { r.Copy(in.z), r.Divide(in.w, thr); }, true, &kArithZdivW, 0},
               {"Divide(Vec) complex / real", [&] { r.Copy(in.z), r.Divide(in.x, thr); }, true, &kArithZdivX, 0},
               {"Divide(Vec) real / complex", [&] { r.Copy(in.x), r.Divide(in.z, thr); }, true, &kArithXdivZ, 0},
               {"Divide(Vec1, Vec2) real", [&] { r.Divide(in.x, in.y, thr); }, false, &kArithXdivY, 0},
               {"Divide(Vec1, Vec2) complex", [&] { r.Divide(in.z, in.w, thr); }, true, &kArithZdivW, 0},
               {"Divide range of two", [&] { r.Size(n, true), r.Divide(in.z, in.w, thr, 0, 0, 0, n); }, true,
                &kArithZdivW, 0},
               {"Divide range", [&] { r.Copy(in.x), r.Divide(in.y, thr, 0, 0, n); }, false, &kArithXdivY, 0},

               {"DivideVec(Num, Den) real", [&] { r.DivideVec(in.x, in.y); }, false, &kArithXdivYPlain, 0},
               {"DivideVec(Num, Den) complex", [&] { r.DivideVec(in.z, in.w); }, true, &kArithZdivWPlain, 0},
               {"DivideVec(Vec) real", [&] { r.Copy(in.x), r.DivideVec(in.y); }, false, &kArithXdivYPlain, 0},
               {"DivideVec(Vec) complex", [&] { r.Copy(in.z), r.DivideVec(in.w); }, true, &kArithZdivWPlain, 0},
               {"DivideVec range", [&] { r.Copy(in.z), r.DivideVec(in.w, 0, 0, n); }, true, &kArithZdivWPlain, 0},

               {"ConjMul(Vec) complex", [&] { r.Copy(in.z), r.ConjMul(in.w); }, true, &kArithZconjW, 0},
               {"ConjMul(Vec) complex, real Vec", [&] { r.Copy(in.z), r.ConjMul(in.x); }, true, &kArithZtimesX, 0},
               {"ConjMul(Vec) real, complex Vec", [&] { r.Copy(in.x), r.ConjMul(in.z); }, true, &kArithXconjZ, 0},
               {"ConjMul(Vec1, Vec2) complex", [&] { r.ConjMul(in.z, in.w); }, true, &kArithZconjW, 0},
               {"ConjMul(Vec1, Vec2) real Vec1", [&] { r.ConjMul(in.x, in.z); }, true, &kArithXconjZ, 0},
               {"ConjMul(Vec1, Vec2) real Vec2", [&] { r.ConjMul(in.x, in.y); }, false, &kArithXtimesY, 0},
               {"ConjMul range of two", [&] { r.Size(n, true), r.ConjMul(in.z, in.w, 0, 0, 0, n); }, true,
                &kArithZconjW, 0},
               {"ConjMul range", [&] { r.Copy(in.z), r.ConjMul(in.w, 0, 0, n); }, true, &kArithZconjW, 0},

               {"Difference(Vec) real", [&] { r.Difference(in.x); }, false, &kArithDiffX, 0},
               {"Difference(Vec) complex", [&] { r.Difference(in.z); }, true, &kArithDiffZ, 0},
               // Self needs Len elements and receives Len - 1.
               {"Difference range", [&] { r.Size(n, true), r.Difference(in.z, 0, 0, n), r.Resize(n - 1); }, true,
                &kArithDiffZ, 0},
               {"Difference(Vec, VecIndex, Len)", [&] { r.Difference(in.x, 0, n); }, false, &kArithDiffX, 0},

               {"Normalize(Vec, Sub, Div) complex", [&] { r.Normalize(in.z, sub, kArithDiv); }, true, &kArithNormZ, 0},
               {"Normalize(Vec, Sub, Div) real", [&] { r.Normalize(in.x, sub.Re, kArithDiv); }, false, &kArithNormX, 0},
               {"Normalize(Vec, A, B)", [&] { r.Normalize(in.z, a, b); }, true, &kArithNormAB, 0},
           });
}

TEST_F(ArithTest, ModelCasesOfTheFamily)
{
    TVec s, v, r;
    // A real Self minus a complex Vec becomes complex; the real value counts as x + 0i.
    Set(s, false, {5});
    Set(v, true, {1, 2});
    s.Sub(v);
    ExpectSame(s, true, {4, -2});
    // Complex by real: both parts multiplied, both parts divided.
    Set(s, true, {2, 4});
    Set(v, false, {3});
    s.Mul(v);
    ExpectSame(s, true, {6, 12});
    Set(s, true, {2, 4});
    Set(v, false, {2});
    s.Divide(v, 1e-10);
    ExpectSame(s, true, {1, 2});
    // First differences, of both kinds; one element leaves none, and so does an empty vector.
    Set(v, false, {1, 4, 9, 16});
    r.Difference(v);
    ExpectSame(r, false, {3, 5, 7});
    Set(v, true, {1, 1, 3, 5});
    r.Difference(v);
    ExpectSame(r, true, {2, 4});
    Set(v, false, {1});
    r.Difference(v);
    EXPECT_EQ(r.Length(), 0);
    v.Size(0, true);
    r.Difference(v);
    EXPECT_EQ(r.Length(), 0);
    EXPECT_TRUE(r.Complex());
    // The two complex Normalize forms.
    Set(v, true, {1, 1});
    r.Normalize(v, Cplx(1, 0), Cplx(2, 0));
    ExpectSame(r, true, {4, 2});
    r.Normalize(v, Cplx(1, 0), 2.0);
    ExpectSame(r, true, {0, 0.5});
    // Vec1·conj(Vec2).
    TVec v1, v2;
    Set(v1, true, {2, 0});
    Set(v2, true, {1, 1});
    r.ConjMul(v1, v2);
    ExpectSame(r, true, {2, -2});
}

TEST_F(ArithTest, ZeroDivisors)
{
    // Divide: a divisor below the threshold gives ±1/Threshold by its sign bit (complex: magnitude 1/Threshold in
    // the direction of 1/z), never an infinity.
    TVec s, v;
    Set(s, false, {1, 1, 1, 1});
    Set(v, false, {0.0, -0.0, 1e-300, -1e-300});
    s.Divide(v, 1e-3);
    ExpectSame(s, false, {1e3, -1e3, 1e3, -1e3});
    Set(s, true, {1, 0, 1, 0});
    Set(v, true, {0.0, 0.0, 0.0, -1e-200});
    s.Divide(v, 1e-3);
    ExpectSame(s, true, {1e3, 0, 0, 1e3});
    // DivideVec of real data divides plainly: infinities and NaN.
    TVec num, den, r;
    Set(num, false, {1, -1, 0});
    Set(den, false, {0.0, 0.0, 0.0});
    r.DivideVec(num, den);
    ExpectSame(r, false, {INFINITY, -INFINITY, NAN});
    // Its complex data use the fixed threshold: 1/0 is 1/T0 (about 1.34e154).
    Set(num, true, {1, 0});
    Set(den, true, {0, 0});
    r.DivideVec(num, den);
    ExpectSame(r, true, {1 / 0x1.0000000000003p-512, 0});
}

TEST_F(ArithTest, RealDividedByComplexAtLength2000)
{
    // The reciprocals of a complex divisor of a real Self are complex and as long as the divisor: 6 / (1 + i) is
    // 3 - 3i everywhere (a temporary sized like the real Self would be overrun).
    TVec s, v;
    Fill(s, 2000, false, 6);
    Fill(v, 2000, true, 1, 1);
    s.Divide(v, 1e-12);
    ASSERT_TRUE(s.Complex());
    ASSERT_EQ(s.Length(), 2000);
    for (int i = 0; i < 2000; ++i) ASSERT_TRUE(s.CValues()[i].Re == 3 && s.CValues()[i].Im == -3) << i;
}

TEST_F(ArithTest, ConjMulNeverWritesItsOperand)
{
    // A complex Vec of 2 elements in the middle of a buffer: nothing before, inside or after it may change.
    std::vector<double> buffer = {-7, -7, 1, 2, 3, 4, -7, -7};
    const std::vector<double> before = buffer;
    TVec vec, s, shorter;
    View(vec, buffer, 2, 2, true);
    Set(s, true, {1, 0, 0, 1});
    s.ConjMul(vec);
    ExpectSame(s, true, {1, -2, 4, 3});
    EXPECT_EQ(buffer, before) << "after a product";
    Set(shorter, true, {1, 0});
    ExpectRaise([&] { shorter.ConjMul(vec); }, "Length <> Vec.Length");
    EXPECT_EQ(buffer, before) << "after a refused product";
    // The range form: a negative VecIndex is refused before anything is read or written.
    Set(s, true, {1, 0, 0, 1});
    ExpectRaise([&] { s.ConjMul(vec, -1, 0, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)");
    ExpectRaise([&] { s.ConjMul(vec, 1, 0, 2); }, "VecIndex+Len > Vec.Length");
    s.ConjMul(vec, 1, 0, 1);
    ExpectSame(s, true, {3, -4, 0, 1});
    EXPECT_EQ(buffer, before) << "after the range forms";
    vec.Disown();
}

TEST_F(ArithTest, ConjMulOfTwoRangesChecksFirst)
{
    TVec s, v2;
    Set(s, true, {1, 1, 2, 2});
    Set(v2, true, {0, 1, 0, 1});
    // Self = Vec1: refused with Self unchanged (the conjugate of Vec2 is not written first).
    ExpectRaise([&] { s.ConjMul(s, v2, 0, 0, 0, 2); }, "Self = Vec");
    ExpectSame(s, true, {1, 1, 2, 2});
    // Without ConditionCheck: the result of distinct vectors, (1 + i)·(-i) and (2 + 2i)·(-i).
    s.SetConditionCheck(false);
    s.ConjMul(s, v2, 0, 0, 0, 2);
    ExpectSame(s, true, {1, -1, 2, -2});
    // The whole-vector form likewise.
    Set(s, true, {1, 1, 2, 2});
    s.ConjMul(s, v2);
    ExpectSame(s, true, {1, -1, 2, -2});
}

TEST_F(ArithTest, MessagesInTheirOrder)
{
    TVec r, v3, v4, c3, v2;
    Set(r, false, {1, 2, 3});
    Set(v3, false, {1, 2, 3});
    Set(v4, false, {1, 2, 3, 4});
    Set(c3, true, {1, 0, 2, 0, 3, 0});
    Set(v2, false, {1, 2});
    const std::vector<double> before = Doubles(r);
    struct Case {
        const char* what;
        std::function<void()> run;
        const char* message;
    };
    const Case cases[] = {
        {"Sub: lengths first", [&] { r.Sub(v4); }, "Vec.Length <> Length"},
        {"Sub: Self", [&] { r.Sub(r); }, "Vec = Src"},
        {"Sub two: lengths", [&] { r.Sub(c3, v4); }, "Vec1.Length <> Vec2.Length"},
        {"Sub two: kinds", [&] { r.Sub(v3, c3); }, "Vec1.Complex  <> Vec2.Complex"},
        {"Sub two: Self", [&] { r.Sub(v3, r); }, "(Self = Vec1) or (Self = Vec2)"},
        {"Sub range: negative Vec2Index", [&] { r.Sub(v3, v3, 0, -1, 0, 1); },
         "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Sub range: Vec1", [&] { r.Sub(v3, v4, 2, 9, 9, 2); }, "(Vec1Index + Len) > Vec1.Length"},
        {"Sub range: Vec2", [&] { r.Sub(v4, v3, 2, 2, 9, 2); }, "(Vec2Index + Len) > Vec2.Length"},
        {"Sub range: Self", [&] { r.Sub(v4, v4, 0, 0, 2, 2); }, "(Index + Len) > Length"},
        {"Sub range: Vec1/Vec2 kinds", [&] { r.Sub(c3, v3, 0, 0, 0, 1); }, "Vec1.Complex  <> Vec2.Complex"},
        {"Sub range: Self kind", [&] { r.Sub(c3, c3, 0, 0, 0, 1); }, "Complex <> Vec1.Complex"},
        {"Sub range: Self", [&] { r.Sub(v3, r, 0, 0, 0, 1); }, "(Self = Vec1) or (Self = Vec2)"},
        {"Sub range of one: negative", [&] { r.Sub(v3, 0, -1, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Sub range of one: Self", [&] { r.Sub(r, 0, 0, 1); }, "Self = Vec"},
        {"Mul: lengths first", [&] { r.Mul(v4); }, "Length <> Vec.Length"},
        {"Mul: Self", [&] { r.Mul(r); }, "Self = Vec"},
        {"Mul range: negative", [&] { r.Mul(v3, v3, -1, 0, 0, 1); },
         "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)"},
        {"Mul range: Self kind", [&] { r.Mul(c3, c3, 0, 0, 0, 1); }, "Complex <> Vec1.Complex"},
        {"Mul range of one: kinds", [&] { r.Mul(c3, 0, 0, 1); }, "Complex <> Vec.Complex"},
        {"Divide: lengths first", [&] { r.Divide(v4, 1); }, "TVec.Divide: Length <> Vec.Length"},
        {"Divide: Self", [&] { r.Divide(r, 1); }, "TVec.Divide: Self = Vec"},
        {"Divide two: Self", [&] { r.Divide(r, v3, 1); }, "(Self = Vec1) or (Self = Vec2)"},
        {"Divide range: Self kind", [&] { r.Divide(c3, c3, 1, 0, 0, 0, 1); }, "Vec1.Complex  <> Complex"},
        {"Divide range: negative", [&] { r.Divide(v3, v3, 1, 0, 0, 0, -1); },
         "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)"},
        {"Divide range of one: bound", [&] { r.Divide(v3, 1, 2, 0, 2); }, "VecIndex + Len) > Vec.Length"},
        {"DivideVec(Num, Den): lengths", [&] { r.DivideVec(v3, v4); }, "Num.Length <> Den.Length"},
        {"DivideVec(Num, Den): kinds", [&] { r.DivideVec(v3, c3); }, "Num.Complex  <> Den.Complex"},
        {"DivideVec(Num, Den): Self", [&] { r.DivideVec(v3, r); }, "(Self = Num) or (Self = Den)"},
        {"DivideVec(Vec): lengths", [&] { r.DivideVec(v4); }, "Vec.Length <> Length"},
        {"DivideVec(Vec): kinds", [&] { r.DivideVec(c3); }, "Vec.Complex  <> Complex"},
        {"DivideVec(Vec): Self", [&] { r.DivideVec(r); }, "(Self = Vec)"},
        // The range form checks its ranges too, negatives first.
        {"DivideVec range: negative", [&] { r.DivideVec(v3, -1, 0, 1); },
         "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"DivideVec range: Vec bound", [&] { r.DivideVec(v3, 2, 0, 2); }, "VecIndex + Len) > Vec.Length"},
        {"DivideVec range: Self bound", [&] { r.DivideVec(v3, 0, 2, 2); }, "(Index + Len) > Length"},
        {"ConjMul: lengths", [&] { r.ConjMul(v4); }, "Length <> Vec.Length"},
        {"ConjMul two: lengths", [&] { r.ConjMul(v3, v4); }, "Vec1.Length <> Vec2.Length"},
        {"ConjMul two: Self", [&] { r.ConjMul(v3, r); }, "(Self = Vec1) or (Self = Vec2)"},
        {"ConjMul range of two: Vec2 bound", [&] { r.ConjMul(v3, v3, 0, 2, 0, 2); }, "VecIndex + Len) > Vec.Length"},
        {"ConjMul range of two: Vec1 bound", [&] { r.ConjMul(v2, v3, 1, 0, 0, 2); }, "VecIndex + Len) > Vec.Length"},
        {"ConjMul range of two: Self = Vec2", [&] { r.ConjMul(v3, r, 0, 0, 0, 1); }, "Self = Vec"},
        {"Difference: Self", [&] { r.Difference(r); }, "TVec.Difference: Self = Vec"},
        {"Difference range: negative", [&] { r.Difference(v3, -1, 0, 1); },
         "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Difference range: Vec", [&] { r.Difference(v3, 1, 0, 3); }, "(Len + VecIndex) > Vec.Length"},
        {"Difference range: Self", [&] { r.Difference(v4, 0, 0, 4); }, "(Len + Index) > Length"},
        {"Difference range: kinds", [&] { r.Difference(c3, 0, 0, 2); }, "Complex <> Vec.Complex"},
        {"Difference range: Self", [&] { r.Difference(r, 0, 0, 2); }, "Vec = Self"},
        {"Difference(Vec, VecIndex, Len): negative", [&] { r.Difference(v3, -1, 2); },
         "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Difference(Vec, VecIndex, Len): bound", [&] { r.Difference(v3, 2, 2); }, "(Len + VecIndex) > Vec.Length"},
        {"Difference(Vec, VecIndex, Len): Self", [&] { r.Difference(r, 0, 2); }, "Vec = Self"},
        {"Normalize complex: real Vec", [&] { r.Normalize(v3, Cplx(0, 0), 1.0); }, "Vec.Complex <> True"},
        {"Normalize real: complex Vec", [&] { r.Normalize(c3, 0.0, 1.0); }, "Vec.Complex = True"},
        {"Normalize real: Self", [&] { r.Normalize(r, 0.0, 1.0); }, "Self = Vec"},
        {"Normalize(Vec, A, B): Self", [&] { r.Normalize(r, Cplx(0, 0), Cplx(1, 0)); }, "Self = Vec"},
        // A real source was read as complex numbers.
        {"Normalize(Vec, A, B): real Vec", [&] { r.Normalize(v3, Cplx(0, 0), Cplx(1, 0)); }, "Vec.Complex <> True"},
    };
    for (const Case& c : cases) {
        ExpectRaise(c.run, c.message, c.what);
        ExpectSame(r, false, before, std::string(c.what) + ": Self unchanged");
    }
}

TEST_F(ArithTest, RangesWithLenZeroAndOutside)
{
    TVec r, v;
    Set(r, false, {1, 2, 3});
    Set(v, false, {5, 6, 7});
    // Len 0 at the very end of both vectors changes nothing in any range form.
    r.Sub(v, 3, 3, 0);
    r.Mul(v, v, 3, 3, 3, 0);
    r.Divide(v, 1, 3, 3, 0);
    r.DivideVec(v, 3, 3, 0);
    r.ConjMul(v, 3, 3, 0);
    r.Difference(v, 3, 0, 0);
    ExpectSame(r, false, {1, 2, 3});
    // Difference of a range of one element or of Len 0: nothing written; into a new Self: empty.
    r.Difference(v, 2, 0, 1);
    ExpectSame(r, false, {1, 2, 3});
    TVec d;
    Set(d, false, {9});
    d.Difference(v, 3, 0);
    EXPECT_EQ(d.Length(), 0);
    // A range in the middle: only its elements change.
    r.Mul(v, 1, 1, 1);
    ExpectSame(r, false, {1, 12, 3});
    r.Difference(v, 0, 1, 2);
    ExpectSame(r, false, {1, 1, 3});
}

TEST_F(ArithTest, ConditionCheckOffSkipsOnlyWhatIsSafe)
{
    TVec r, v2, v4, c2;
    Set(r, false, {1, 2, 3});
    Set(v2, false, {1, 2});
    Set(v4, false, {2, 4, 8, 16});
    Set(c2, true, {1, 0, 2, 0});
    r.SetConditionCheck(false);
    // The gated checks that guard nothing are skipped: Self as an operand, a longer Vec lends its first elements.
    r.Mul(r, 0, 0, 3);
    ExpectSame(r, false, {1, 4, 9});
    r.DivideVec(v4);
    ExpectSame(r, false, {0.5, 1, 9.0 / 8});
    r.DivideVec(r);
    ExpectSame(r, false, {1, 1, 1});
    TVec num;
    Set(num, false, {4, 6, 8});
    num.SetConditionCheck(false);
    num.DivideVec(num, v4);
    ExpectSame(num, false, {2, 1.5, 1});
    // Anything that would leave a vector's data is refused with the check's own text.
    ExpectRaise([&] { r.DivideVec(v2); }, "Vec.Length <> Length");
    ExpectRaise([&] { r.DivideVec(v4, 2, 0, 3); }, "VecIndex + Len) > Vec.Length");
    ExpectRaise([&] { r.DivideVec(v4, 0, 1, 3); }, "(Index + Len) > Length");
    ExpectRaise([&] { r.DivideVec(v4, 0, -1, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)");
    ExpectRaise([&] { r.Sub(v2, v4, 0, 0, 0, 3); }, "(Vec1Index + Len) > Vec1.Length");
    ExpectRaise([&] { r.Difference(v4, 0, 1, 3); }, "(Len + Index) > Length");
    ExpectRaise([&] { num.DivideVec(v4, v2); }, "Num.Length <> Den.Length");
    // A real divisor of complex data would be read past its end.
    TVec c;
    Set(c, true, {1, 0, 2, 0, 3, 0});
    c.SetConditionCheck(false);
    ExpectRaise([&] { c.DivideVec(v4); }, "Vec.Complex  <> Complex");
    ExpectRaise([&] { c.DivideVec(c2, v4); }, "Num.Complex  <> Den.Complex");
    // Ungated checks still run.
    ExpectRaise([&] { r.Sub(r); }, "Vec = Src");
    ExpectRaise([&] { r.Difference(r); }, "TVec.Difference: Self = Vec");
}

TEST_F(ArithTest, OverlappingViewsGiveTheResultOfDistinctVectors)
{
    // Vec1 = buffer[0..4), Self = buffer[2..6): writing Self would overwrite Vec1's last elements before use.
    const std::vector<double> start = {1, 2, 3, 4, 5, 6};
    struct Case {
        const char* what;
        std::function<void(TVec& Self, TVec& V1, TVec& V2)> run;
        std::vector<double> expected;  // Self's four elements
    };
    const Case cases[] = {
        {"Mul(Vec1, Vec2)", [](TVec& S, TVec& V1, TVec& V2) { S.Mul(V1, V2); }, {10, 40, 90, 160}},
        {"Sub range", [](TVec& S, TVec& V1, TVec& V2) { S.Sub(V1, V2, 0, 0, 0, 4); }, {-9, -18, -27, -36}},
        {"Divide(Vec1, Vec2)", [](TVec& S, TVec& V1, TVec& V2) { S.Divide(V2, V1, 1e-9); }, {10, 10, 10, 10}},
        {"DivideVec range", [](TVec& S, TVec& V1, TVec&) { S.DivideVec(V1, 0, 0, 4); }, {3, 2, 5.0 / 3, 1.5}},
        {"ConjMul range", [](TVec& S, TVec& V1, TVec&) { S.ConjMul(V1, 0, 0, 4); }, {3, 8, 15, 24}},
        {"Difference range", [](TVec& S, TVec& V1, TVec&) { S.Difference(V1, 0, 0, 4); }, {1, 1, 1, 6}},
    };
    for (const Case& c : cases) {
        std::vector<double> buffer = start;
        TVec self, v1, v2;
        View(v1, buffer, 0, 4, false);
        View(self, buffer, 2, 4, false);
        self.SetConditionCheck(false);
        Set(v2, false, {10, 20, 30, 40});
        c.run(self, v1, v2);
        ExpectSame(self, false, c.expected, c.what);
        self.Disown();
        v1.Disown();
    }
}

TEST_F(ArithTest, LongVectorsMatchTheTwoPassForms)
{
    // 2^17 elements run in pieces on several threads and in chunks: the fused quotient and conjugate product give
    // the bits of the reciprocal (Inv) followed by the product (Mul), and of Conj followed by Mul.
    const parallel::TFixedThreads shared(parallel::kMaxThreads);
    const int len = 1 << 17;
    TVec a, b, fused, twoPass;
    a.Size(len, true);
    b.Size(len, true);
    for (int i = 0; i < len; ++i) {
        a.CValues()[i] = Cplx(std::sin(i), std::cos(3.0 * i));
        b.CValues()[i] = Cplx(i % 7 == 0 ? 0.0 : std::cos(i), std::sin(0.5 * i) * 1e-3);
    }
    fused.Divide(a, b, 1e-4);
    twoPass.Inv(b, 1e-4);
    twoPass.Mul(a);
    ExpectSame(fused, true, Doubles(twoPass), "Divide");
    fused.ConjMul(a, b);
    twoPass.Conj(b);
    twoPass.Mul(a);
    ExpectSame(fused, true, Doubles(twoPass), "ConjMul");
    fused.DivideVec(a, b);
    twoPass.Inv(b, 0x1.0000000000003p-512);
    twoPass.Mul(a);
    ExpectSame(fused, true, Doubles(twoPass), "DivideVec");
}

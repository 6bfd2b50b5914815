// Moving elements of vectors: copies, reversal, rotation, Concat, Split, Gather and Scatter, with their messages,
// their sizing, and aliased operands (one vector given twice, views of one buffer).
#include <algorithm>
#include <string>
#include <vector>

#include "elem_util.h"
// clang-format off
#include "elem_golden.inc"
// clang-format on

using namespace elemtest;

namespace {

class MoveTest : public ElemTest {};

}  // namespace

TEST_F(MoveTest, CopyForms)
{
    TVec a, b, r;
    Set(a, true, {1, 1});
    Set(b, true, {2, 2, 3, 3});
    r.Copy(a, b);
    ExpectSame(r, true, {1, 1, 2, 2, 3, 3});
    r.Copy(b);
    ExpectSame(r, true, {2, 2, 3, 3});
    r.Copy(r);
    ExpectSame(r, true, {2, 2, 3, 3});
    // Range copy: nothing resized; overlapping ranges of one vector copy as if through a buffer.
    TVec s;
    Set(s, false, {1, 2, 3, 4, 5});
    s.Copy(s, 0, 1, 4);
    ExpectSame(s, false, {1, 1, 2, 3, 4});
    s.Copy(s, 1, 0, 4);
    ExpectSame(s, false, {1, 2, 3, 4, 4});
    // The checks run before Len matters: Len 0 with kinds that differ is refused too.
    ExpectRaise([&] { s.Copy(a, 0, 0, 0); }, "Vec.Complex <> Complex");
}

TEST_F(MoveTest, CopyMessagesAndGuards)
{
    TVec r, v, c;
    Set(r, false, {0, 0, 0});
    Set(v, false, {1, 2, 3, 4});
    Set(c, true, {1, 1, 2, 2});
    ExpectRaise([&] { r.Copy(v, 0, -1, 1); }, "Len < 0 or Index < 0 VecIndex < 0");
    ExpectRaise([&] { r.Copy(v, 9, 2, 2); }, "Index+Len > Length");
    ExpectRaise([&] { r.Copy(v, 3, 0, 2); }, "VecIndex+Len > Vec.Length");
    ExpectRaise([&] { r.Copy(c, 0, 0, 1); }, "Vec.Complex <> Complex");
    ExpectRaise([&] { r.Copy(c, v); }, "Vec1.Complex <> Vec2.Complex");
    ExpectRaise([&] { r.Copy(r, v); }, "Self = Vec1");
    ExpectRaise([&] { r.Copy(v, r); }, "Self = Vec2");
    ExpectSame(r, false, {0, 0, 0});
    // With ConditionCheck off the kinds may differ, but the Doubles stay within both vectors.
    r.SetConditionCheck(false);
    r.Copy(c, 1, 0, 2);  // real Self: 2 Doubles from complex element 1
    ExpectSame(r, false, {2, 2, 0});
    ExpectRaise([&] { r.Copy(v, 0, 2, 2); }, "Index+Len > Length");
    ExpectRaise([&] { r.Copy(v, -1, 0, 1); }, "Len < 0 or Index < 0 VecIndex < 0");
    c.SetConditionCheck(false);
    ExpectRaise([&] { c.Copy(v, 1, 0, 2); }, "VecIndex+Len > Vec.Length");  // 4 Doubles from Double 1 of 4
    c.Copy(v, 0, 0, 2);
    ExpectSame(c, true, {1, 2, 3, 4});
}

TEST_F(MoveTest, CopyMtxRunsIntoTheFollowingRows)
{
    TMtx m;
    m.Size(3, 3);
    for (int i = 0; i < 9; ++i) m.Values()[i] = i;
    TVec r;
    r.Size(5);
    r.SetIt({-1, -1, -1, -1, -1});
    r.CopyMtx(m, 1, 1, 2, 4);
    ExpectSame(r, false, {-1, 5, 6, 7, 8});
    r.CopyMtx(m, 9, 9, 9, 0);  // Len 0: nothing
    ExpectRaise([&] { r.CopyMtx(m, 0, 2, 2, 2); }, "(StartPos+Len) > Mtx.Rows*Mtx.Cols");
    ExpectRaise([&] { r.CopyMtx(m, 4, 0, 0, 2); }, "Index+Len > Length");
    ExpectRaise([&] { r.CopyMtx(m, 0, -1, 0, 1); }, "(Len < 0) or (Index < 0) or (Row < 0) or (Col < 0)");
    TMtx c;
    c.Size(2, 2, true);
    ExpectRaise([&] { r.CopyMtx(c, 0, 0, 0, 1); }, "Complex <> Mtx.Complex");
    r.SetConditionCheck(false);
    ExpectRaise([&] { r.CopyMtx(m, 0, 2, 2, 2); }, "(StartPos+Len) > Mtx.Rows*Mtx.Cols");
    ExpectSame(r, false, {-1, 5, 6, 7, 8});
}

TEST_F(MoveTest, ReverseForms)
{
    TVec z, r;
    Set(z, true, kElemZ);
    r.Reverse(z);
    ExpectSame(r, true, kElemReverseZ);
    r.Reverse();
    ExpectSame(r, true, kElemZ);
    ExpectRaise([&] { r.Reverse(r); }, "Self = Vec");
    // The range form on the vector itself gives what distinct vectors give.
    TVec s;
    Set(s, false, {1, 2, 3, 4});
    s.Reverse(s, 0, 0, 4);
    ExpectSame(s, false, {4, 3, 2, 1});
    s.Reverse(s, 0, 1, 3);
    ExpectSame(s, false, {4, 2, 3, 4});
    s.Reverse(s, 9, 9, 0);
    ExpectRaise([&] { s.Reverse(z, 8, 0, 2); }, "(Len + VecIndex) > Vec.Length");
    ExpectRaise([&] { s.Reverse(s, 0, 3, 2); }, "(Len + Index) > fLength");
    ExpectRaise([&] { s.Reverse(s, 0, 0, -1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)");
    // Kinds are not checked, but a complex Self never reads past a real source's Doubles.
    TVec c;
    Set(c, true, {1, 1, 2, 2});
    ExpectRaise([&] { c.Reverse(s, 2, 0, 2); }, "(Len + VecIndex) > Vec.Length");
    TVec e;
    e.Reverse();
    EXPECT_EQ(e.Length(), 0);
}

TEST_F(MoveTest, RotateAgainstNumpyRoll)
{
    const std::vector<const std::vector<double>*> expected = {&kElemRotate0, &kElemRotate1, &kElemRotate2,
                                                              &kElemRotate3, &kElemRotate4, &kElemRotate5,
                                                              &kElemRotate6, &kElemRotate7, &kElemRotate8};
    for (std::size_t i = 0; i < kElemRotateOffsets.size(); ++i) {
        TVec v;
        Set(v, false, Ramp(7));
        v.Rotate(kElemRotateOffsets[i]);
        ExpectSame(v, false, *expected[i], "Rotate(" + std::to_string(kElemRotateOffsets[i]) + ")");
    }
    TVec c;
    Set(c, true, {1, 1, 2, 2, 3, 3});
    c.Rotate(1);
    ExpectSame(c, true, {3, 3, 1, 1, 2, 2});
    TVec e;
    e.Rotate(3);
    EXPECT_EQ(e.Length(), 0);
}

TEST_F(MoveTest, Concat)
{
    TVec a, b, r;
    Set(a, true, {1, 1, 2, 2});
    Set(b, true, {3, 3});
    r.Concat({&a, &b});
    ExpectSame(r, true, {1, 1, 2, 2, 3, 3});
    r.Concat({});
    ExpectSame(r, false, {});
    ExpectRaise([&] { r.Concat({&a, &a, nullptr}); }, "TestNil: Nil pointer");
    TVec x;
    Set(x, false, {5});
    ExpectRaise([&] { r.Concat({&a, &x}); }, "src[i].Complex <> src[0].Complex");
    // Self among the sources keeps its old values for every place it appears.
    Set(r, false, {1, 2});
    r.Concat({&r, &x, &r});
    ExpectSame(r, false, {1, 2, 5, 1, 2});
    // Into Self from Index, not resized.
    TVec p, q, s;
    Set(p, false, {1, 2});
    Set(q, false, {3, 4, 5});
    Set(s, false, {0, 0, 0, 0, 0, 0});
    s.Concat(1, {&p, &q});
    ExpectSame(s, false, {0, 1, 2, 3, 4, 5});
    s.Size(5);
    ExpectRaise([&] { s.Concat(1, {&p, &q}); }, "(Index + Sum(Src[i].Length)) > Length");
    ExpectRaise([&] { s.Concat(-1, {&p}); }, "Index < 0");
    ExpectRaise([&] { s.Concat(0, {&a}); }, "src[i].Complex <> src[0].Complex");
    // A source that views Self's own buffer is read before Self is written.
    Set(s, false, {1, 2, 3, 4, 5});
    TVec head;
    head.SetSubRange(s, 0, 2);
    s.Concat(1, {&head, &head});
    head.SetFullRange();
    ExpectSame(s, false, {1, 1, 2, 1, 2});
}

TEST_F(MoveTest, Split)
{
    TVec s, v1, v2;
    Set(s, true, {1, 1, 2, 2, 3, 3});
    s.Split(v1, 2, v2);
    ExpectSame(v1, true, {1, 1, 2, 2});
    ExpectSame(v2, true, {3, 3});
    ExpectRaise([&] { s.Split(v1, 4, v2); }, "Offset > fLength");
    ExpectRaise([&] { s.Split(s, 1, v2); }, "Self = Vec1");
    ExpectRaise([&] { s.Split(v1, 1, s); }, "Self = Vec2");
    ExpectRaise([&] { s.Split(v1, 1, v1); }, "Vec1 = Vec2");
    ExpectRaise([&] { s.Split(v1, -1, v2); }, "Offset < 0");
    // By the destinations' lengths; each destination takes Self's kind first.
    TVec r, a, b;
    Set(r, false, Ramp(5));
    a.Size(2);
    b.Size(3);
    r.Split({&a, &b});
    ExpectSame(a, false, {0, 1});
    ExpectSame(b, false, {2, 3, 4});
    b.Size(4);
    ExpectRaise([&] { r.Split({&a, &b}); }, "Size mismatch at vec 2");
    // By the given sizes; nil destinations skip their piece.
    r.Split({&a, nullptr, &b}, {2, 1, 2});
    ExpectSame(a, false, {0, 1});
    ExpectSame(b, false, {3, 4});
    ExpectRaise([&] { r.Split({&a, &b}, {2}); }, "High(Dst) <> High(DstSize)");
    ExpectRaise([&] { r.Split({&a, nullptr, &b}, {2, 2, 2}); }, "Self.Length exceeded at vec 3");
    ExpectRaise([&] { r.Split({&a, nullptr}, {2, -1}); }, "DstSize[i] < 0");
}

TEST_F(MoveTest, SplitIntoViewsOfItsOwnBuffer)
{
    // The destinations view the source's own buffer shifted: they receive what distinct vectors would.
    std::vector<double> buf = Ramp(8, 1);  // 1 .. 8
    TVec src, d1, d2;
    View(src, buf, 0, 6, false);  // 1 2 3 4 5 6
    View(d1, buf, 2, 3, false);
    View(d2, buf, 5, 3, false);
    src.Split({&d1, &d2}, {3, 3});
    EXPECT_EQ(buf, (std::vector<double>{1, 2, 1, 2, 3, 4, 5, 6}));
}

TEST_F(MoveTest, GatherInThreeModes)
{
    TVec x, r, m, idx;
    Set(x, false, Ramp(7));
    r.Gather(x, nullptr, indIncrement, 3, 1);
    ExpectSame(r, false, kElemGatherInc);
    Set(m, false, kElemMask);
    r.Gather(x, &m, indMask, 0, 0);
    ExpectSame(r, false, kElemGatherMask);
    TVec z;
    Set(z, true, std::vector<double>(kElemZ.begin(), kElemZ.begin() + 14));
    r.Gather(z, &m, indMask, 0, 0);
    ExpectSame(r, true, kElemGatherMaskZ);
    Set(idx, false, kElemIndexes);
    r.Gather(x, &idx, indVector, 0, 0);
    ExpectSame(r, false, kElemGatherVec);
    // Every index is checked, not only the last; an empty index vector gives an empty result.
    Set(r, false, {9});
    Set(idx, false, {7, 1});
    ExpectRaise([&] { r.Gather(x, &idx, indVector, 0, 0); }, "Indexes.Values[Indexes.length-1] > (X.Length-1)");
    Set(idx, false, {-1, 1});
    ExpectRaise([&] { r.Gather(x, &idx, indVector, 0, 0); }, "Indexes.Values[i] < 0");
    Set(idx, false, {NAN});
    ExpectRaise([&] { r.Gather(x, &idx, indVector, 0, 0); }, "Indexes.Values[i] < 0");
    ExpectSame(r, false, {9});
    idx.Size(0);
    r.Gather(x, &idx, indVector, 0, 0);
    EXPECT_EQ(r.Length(), 0);
    // Increment and Offset.
    ExpectRaise([&] { r.Gather(x, nullptr, indIncrement, 3, 3); }, "Offset > (Increment-1)");
    ExpectRaise([&] { r.Gather(x, nullptr, indIncrement, 0, 0); }, "Increment < 1");
    ExpectRaise([&] { r.Gather(x, nullptr, indIncrement, -2, 0); }, "Increment < 1");
    ExpectRaise([&] { r.Gather(x, nullptr, indIncrement, 2, -1); }, "Offset < 0");
    Set(m, false, {1, 0});
    ExpectRaise([&] { r.Gather(x, &m, indMask, 0, 0); }, "X.Length <> Indexes.Length");
    ExpectRaise([&] { r.Gather(x, nullptr, indMask, 0, 0); }, "TestNil: Nil pointer");
    // Complex data by increment, and X = Self.
    Set(z, true, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4});
    r.Gather(z, nullptr, indIncrement, 2, 1);
    ExpectSame(r, true, {1, 1, 3, 3});
    Set(r, false, Ramp(7));
    r.Gather(r, nullptr, indIncrement, 3, 1);
    ExpectSame(r, false, kElemGatherInc);
    Set(r, false, Ramp(7));
    Set(idx, false, {6, 5, 0});
    r.Gather(r, &idx, indVector, 0, 0);
    ExpectSame(r, false, {6, 5, 0});
}

TEST_F(MoveTest, ScatterInThreeModes)
{
    TVec x, r, idx, m;
    Set(x, false, Ramp(3));
    Set(r, false, std::vector<double>(9, -1));
    r.Scatter(x, nullptr, indIncrement, 3, 2);
    ExpectSame(r, false, kElemScatterInc);
    ExpectRaise([&] { r.Scatter(x, nullptr, indIncrement, 4, 0); }, "Length < X.Length*Increment");
    ExpectRaise([&] { r.Scatter(x, nullptr, indIncrement, 3, 3); }, "Offset > (Increment-1)");
    ExpectRaise([&] { r.Scatter(x, nullptr, indIncrement, 0, 0); }, "Increment < 1");
    ExpectRaise([&] { r.Scatter(x, nullptr, indIncrement, 1, -1); }, "Offset < 0");
    // By index vector: every index checked, and X must hold an element for every index.
    Set(r, false, {0, 0, 0, 0});
    Set(idx, false, {3, 0.4, 1.6});
    r.Scatter(x, &idx, indVector, 0, 0);
    ExpectSame(r, false, {1, 0, 2, 0});
    Set(idx, false, {4, 0});
    ExpectRaise([&] { r.Scatter(x, &idx, indVector, 0, 0); }, "Length < (Indexes.Values[Indexes.Length-1]-1)");
    Set(idx, false, {0, -2});
    ExpectRaise([&] { r.Scatter(x, &idx, indVector, 0, 0); }, "Indexes.Values[i] < 0");
    Set(idx, false, {0, 1, 2, 3});
    ExpectRaise([&] { r.Scatter(x, &idx, indVector, 0, 0); }, "X.Length < Indexes.Length");
    ExpectSame(r, false, {1, 0, 2, 0});
    // By mask: Self sized like the mask; refused before anything changes when X runs out.
    TVec x2;
    Set(x2, false, {7, 8});
    Set(m, false, {1, 1, 0, 1});
    ExpectRaise([&] { r.Scatter(x2, &m, indMask, 0, 0); }, "i > X.Length");
    ExpectSame(r, false, {1, 0, 2, 0});
    Set(m, false, {1, 0, 1});
    r.Scatter(x2, &m, indMask, 0, 0);
    EXPECT_EQ(r.Length(), 3);
    EXPECT_EQ(r.Values()[0], 7);
    EXPECT_EQ(r.Values()[2], 8);
    // Kinds.
    TVec c, ci;
    Set(c, true, {1, 1});
    Set(ci, true, {0, 0});
    ExpectRaise([&] { r.Scatter(c, &m, indMask, 0, 0); }, "X.Complex <> Complex");
    ExpectRaise([&] { r.Scatter(x, &ci, indVector, 0, 0); }, "Indexes.Complex = True");
    // Complex data by increment.
    Set(r, true, {0, 0, 0, 0, 0, 0, 0, 0});
    Set(c, true, {1, 1, 2, 2});
    r.Scatter(c, nullptr, indIncrement, 2, 1);
    ExpectSame(r, true, {0, 0, 1, 1, 0, 0, 2, 2});
}

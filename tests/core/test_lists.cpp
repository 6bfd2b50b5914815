// The owning lists TVecList and TMtxList: counts and indexes, assignment that reuses the items, and the list stream
// against the bytes Python's struct writes (tests/data/gen_stream_golden.py, kList*), both ways; hostile counts and
// cut streams.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "elem_util.h"
#include "stream_util.h"

using namespace tarnel;
using namespace streamtest;
using namespace testsupport;
using elemtest::ExpectSame;

namespace {

#include "stream_golden.inc"

class Lists : public elemtest::ElemTest {};

// The two vectors and the two matrices of kListVec and kListMtx.
void FillVecs(TVecList& L)
{
    L.SetCount(2);
    L.Items(0).SetIt(false, {1.5, -2.0, 3.25});
    L.Items(0).SetTag(7);
    L.Items(0).SetCaption("abc");
    L.Items(1).SetIt(true, {1, 2, 0, -0.5});
}

void FillMtxs(TMtxList& L)
{
    L.SetCount(2);
    L.Items(0).SetIt(2, 2, false, {1.0, -2.0, 0.5, 4.0});
    L.Items(0).SetTag(3);
    L.Items(0).SetCaption("A");
    L.Items(1).SetIt(1, 2, true, {0, 1, 2, -1});
}

void ExpectVecs(const TVecList& L, const std::string& Where)
{
    ASSERT_EQ(L.Count(), 2) << Where;
    ExpectSame(L.Items(0), false, {1.5, -2.0, 3.25}, Where);
    EXPECT_EQ(L.Items(0).Tag(), 7) << Where;
    EXPECT_EQ(L.Items(0).Caption(), "abc") << Where;
    ExpectSame(L.Items(1), true, {1, 2, 0, -0.5}, Where);
}

TEST_F(Lists, CountsAndIndexes)
{
    TVecList l;
    l.SetCount(3);
    ASSERT_EQ(l.Count(), 3);
    for (int i = 0; i < 3; ++i) ExpectSame(l.Items(i), false, {}, "a new item is an empty real vector");
    const TVec* first = &l.Items(0);
    l.SetCount(1);
    EXPECT_EQ(l.Count(), 1);
    EXPECT_EQ(&l.Items(0), first);
    l.SetCount(1);
    EXPECT_EQ(&l.Items(0), first);
    EXPECT_EQ(l.Add(), 1);

    ExpectRaise([&] { l.SetCount(-1); }, "List count out of bounds (-1)");
    ExpectRaise([&] { l.Items(2); }, "List index out of bounds (2)");
    ExpectRaise([&] { l.Delete(-1); }, "List index out of bounds (-1)");
    EXPECT_THROW(l.Items(-1), EListError);
    EXPECT_EQ(l.Count(), 2);
    l.Delete(0);
    EXPECT_EQ(l.Count(), 1);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

// Items are copied in, never taken: the list keeps its own object.
TEST_F(Lists, SetItemsCopies)
{
    TVecList l;
    l.SetCount(1);
    TVec v;
    v.SetIt(true, {1, 2});
    l.SetItems(0, v);
    v.SetIt(false, {5});
    ExpectSame(l.Items(0), true, {1, 2});
    ExpectRaise([&] { l.SetItems(1, v); }, "List index out of bounds (1)");

    TMtxList m;
    m.SetCount(1);
    ExpectRaise([&] { m.SetItems(0, m.Items(0)); }, "Mtx = Self");
}

// Assign copies values and settings into the items the list has, adds or deletes the rest; a list assigned to
// itself stays as it is.
TEST_F(Lists, AssignReusesItems)
{
    TVecList src, dst;
    FillVecs(src);
    dst.SetCount(5);
    const TVec* first = &dst.Items(0);
    const TVec* second = &dst.Items(1);
    dst.Assign(src);
    ExpectVecs(dst, "2 into 5");
    EXPECT_EQ(&dst.Items(0), first);
    EXPECT_EQ(&dst.Items(1), second);
    EXPECT_NE(&dst.Items(0), &src.Items(0));
    TVecList longer;
    longer.Assign(src);
    ExpectVecs(longer, "2 into 0");
    dst.Assign(dst);
    ExpectVecs(dst, "itself");

    TMtxList m;
    FillMtxs(m);
    m.Assign(m);
    EXPECT_EQ(m.Count(), 2);
    TMtxList copy;
    copy.Assign(m);
    EXPECT_EQ(copy.Items(1).Rows(), 1);
    EXPECT_TRUE(copy.Items(1).Complex());
    EXPECT_EQ(copy.Items(0).Caption(), "A");
}

TEST_F(Lists, StreamsAgainstStruct)
{
    TVecList v;
    TMemoryStream s;
    v.SaveToStream(s);
    EXPECT_EQ(Content(s), kListEmpty);
    FillVecs(v);
    TMemoryStream sv;
    v.SaveToStream(sv);
    EXPECT_EQ(Content(sv), kListVec);
    TMtxList m;
    FillMtxs(m);
    TMemoryStream sm;
    m.SaveToStream(sm);
    EXPECT_EQ(Content(sm), kListMtx);

    // Loading into a longer list reuses its first items and deletes the rest.
    TVecList back;
    back.SetCount(4);
    const TVec* first = &back.Items(0);
    TBytesStream in(kListVec);
    back.LoadFromStream(in);
    ExpectVecs(back, "loaded");
    EXPECT_EQ(&back.Items(0), first);
    EXPECT_EQ(in.Position(), in.Size());
    TMtxList mback;
    TBytesStream min(kListMtx);
    mback.LoadFromStream(min);
    TMemoryStream again;
    mback.SaveToStream(again);
    EXPECT_EQ(Content(again), kListMtx);
    TBytesStream empty(kListEmpty);
    back.LoadFromStream(empty);
    EXPECT_EQ(back.Count(), 0);
}

// A count below zero or beyond what the stream can hold changes nothing; a stream cut inside an item keeps the
// items loaded before it.
TEST_F(Lists, HostileCountsAndCutStreams)
{
    const auto withCount = [](Bytes B, std::int32_t N) {
        std::memcpy(B.data(), &N, 4);
        return B;
    };
    struct Case {
        Bytes Stream;
        std::string Message;
    };
    const Case cases[] = {
        {withCount(kListVec, -1), "List count out of bounds (-1)"},
        {withCount(kListVec, 0x7fffffff), "List count out of bounds (2147483647)"},
        {withCount(kListVec, 4), "List count out of bounds (4)"},  // 155 bytes hold no 4 items of 44 bytes
        {Bytes{0x01, 0x00}, "Stream read error"},
    };
    for (const Case& c : cases) {
        TVecList l;
        l.SetCount(3);
        l.Items(0).SetIt(false, {9});
        TBytesStream in(c.Stream);
        ExpectRaise([&] { l.LoadFromStream(in); }, c.Message);
        ASSERT_EQ(l.Count(), 3) << c.Message;
        ExpectSame(l.Items(0), false, {9}, c.Message);
    }

    TVecList l;
    l.SetCount(1);
    Bytes cut = withCount(kListVec, 3);
    TBytesStream in(cut);
    ExpectRaise([&] { l.LoadFromStream(in); }, "Error reading stream!");
    ASSERT_GE(l.Count(), 2);
    ExpectSame(l.Items(0), false, {1.5, -2.0, 3.25}, "first item");
    ExpectSame(l.Items(1), true, {1, 2, 0, -0.5}, "second item");
}

}  // namespace

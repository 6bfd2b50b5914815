// Sub-ranges and block processing: views of a vector's own data, of another vector and of a matrix, their checks,
// aliasing and limits, the return to the full range, and block walks alone, with partners and nested.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class SubRangeTest : public PoolCheck {
protected:
    void TearDown() override
    {
        TarnelBlockSize = 800;
        PoolCheck::TearDown();
    }
};

// A vector of Len elements of the kind given, holding the numbers 0, 1, 2, ... (Re, Im pairs when complex).
void Ramp(TVecs& V, int Len, bool Complex = false)
{
    V.Size(Len, Complex);
    const int n = Complex ? 2 * Len : Len;
    for (int i = 0; i < n; ++i) V.Values()[i] = i;
}

std::int32_t HeaderCount(const TVecs& V, const double* Data)
{
    std::int32_t w;
    std::memcpy(&w, reinterpret_cast<const std::byte*>(Data) - 4, sizeof w);
    (void)V;
    return w;
}

}  // namespace

TEST_F(SubRangeTest, ViewOfTheOwnDataAliasesAndReturns)
{
    TVec v;
    Ramp(v, 10);
    const double* data = v.Values();
    int events = 0;
    v.SetOnSetLength([&](TVecs&) { ++events; });
    v.SetSubRange(2, 3);
    EXPECT_TRUE(v.IsSubRange());
    EXPECT_EQ(v.Length(), 3);
    EXPECT_EQ(v.ActualLength(), 3);
    EXPECT_EQ(v[0], 2.0);
    v[2] = -4.0;
    v.SetSubRange(5, 2);  // moves within the full data, not within the previous view
    EXPECT_EQ(v[0], 5.0);
    EXPECT_EQ(v[1], 6.0);
    v.SetFullRange();
    EXPECT_FALSE(v.IsSubRange());
    EXPECT_EQ(v.Length(), 10);
    EXPECT_EQ(v.ActualLength(), 1024);
    EXPECT_EQ(v.Values(), data);
    EXPECT_EQ(v[4], -4.0) << "written through the view";
    EXPECT_EQ(events, 0) << "views fire no event";
    EXPECT_EQ(HeaderCount(v, data), 10) << "the header is never rewritten by a view";
    v.SetFullRange();  // without a view: nothing
    EXPECT_EQ(v.Length(), 10);
}

// A complex view of a real vector halves the length, SetComplex on a view changes the view only, and the full
// range comes back with its own complexity.
TEST_F(SubRangeTest, ViewsAcrossComplexity)
{
    TVec v;
    Ramp(v, 10);
    v.SetSubRange(2, 4);
    v.SetComplex(true);
    EXPECT_EQ(v.Length(), 2);
    EXPECT_EQ(v.CValues()[1].Re, 4.0);
    EXPECT_EQ(HeaderCount(v, v.Values() - 2), 10);
    v.SetSubRange(1, 4);  // complex elements of the full data: SLength = 10 div 2
    EXPECT_EQ(v.CValues()[0].Re, 2.0);
    ExpectRaise([&] { v.SetSubRange(2, 4); }, "(Index + Len) > SLength");
    v.SetFullRange();
    EXPECT_FALSE(v.Complex());
    EXPECT_EQ(v.Length(), 10);

    TVec src, c;
    Ramp(src, 10);
    c.Size(0, true);
    c.SetSubRange(src, 1, 4);
    EXPECT_EQ(c.Length(), 4);
    EXPECT_EQ(c.CValues()[0].Re, 2.0);
    EXPECT_EQ(c.CValues()[3].Im, 9.0);
    ExpectRaise([&] { c.SetSubRange(src, 0, 6); }, "(Index + Len) > (Src.Length div 2)");
    c.SetFullRange();
    TVec zsrc, r;
    Ramp(zsrc, 3, true);
    r.SetSubRange(zsrc, 1, 5);
    EXPECT_EQ(r[0], 1.0);
    EXPECT_EQ(r[4], 5.0);
    ExpectRaise([&] { r.SetSubRange(zsrc, 2, 5); }, "(Index + Len) > (Src.Length*2)");
}

// Every message, its order, and that a refused view changes nothing; without ConditionCheck the source's memory
// still bounds the view.
TEST_F(SubRangeTest, MessagesAndTheOrderOfChecks)
{
    TVec src;
    Ramp(src, 10);
    TMtx m;
    m.Size(3, 4);
    struct Row {
        const char* what;
        bool checks;
        std::function<void(TVec&)> op;
        const char* message;
    };
    const Row rows[] = {
        {"own: negative index first", true, [](TVec& v) { v.SetSubRange(-1, -1); }, "Index < 0"},
        {"own: negative length", true, [](TVec& v) { v.SetSubRange(0, -1); }, "Len < 0"},
        {"own: beyond the length", true, [](TVec& v) { v.SetSubRange(8, 3); }, "(Index + Len) > SLength"},
        {"own: unchecked within the memory", false, [](TVec& v) { v.SetSubRange(8, 3); }, ""},
        {"own: unchecked beyond the memory", false, [](TVec& v) { v.SetSubRange(1000, 100); },
         "(Index + Len) > SLength"},
        {"vector: negative", true, [&](TVec& v) { v.SetSubRange(src, 0, -2); }, "Len < 0"},
        {"vector: beyond", true, [&](TVec& v) { v.SetSubRange(src, 5, 6); }, "(Index + Len) > Src.Length"},
        {"vector: unchecked beyond the memory", false, [&](TVec& v) { v.SetSubRange(src, 0, 1027); },
         "(Index + Len) > Src.Length"},
        {"vector: index form", true, [&](TVec& v) { v.SetSubIndex(src, 4, 10); }, "(Index + Len) > Src.Length"},
        {"vector: index form reversed", true, [&](TVec& v) { v.SetSubIndex(src, 4, 2); }, "Len < 0"},
        {"matrix: beyond", true, [&](TVec& v) { v.SetSubRange(m, 10, 3); }, "(Index + Len) > Src.Length"},
        {"matrix: negative index", true, [&](TVec& v) { v.SetSubRange(m, -1); }, "Index < 0"},
        {"matrix: unchecked beyond the memory", false, [&](TVec& v) { v.SetSubRange(m, 1020, 5); },
         "(Index + Len) > Src.Length"},
        {"matrix: index form reversed is no whole view", true, [&](TVec& v) { v.SetSubIndex(m, 5, 2); }, "Len < 0"},
        {"block size 0", true, [](TVec& v) { v.BlockInit(0); }, "BlockInit: BlockSize < 1"},
        {"block size -2", true, [](TVec& v) { v.BlockInit(-2); }, "BlockInit: BlockSize < 1"},
        {"block init on a view", true,
         [](TVec& v) {
             v.SetSubRange(0, 2);
             v.BlockInit();
         },
         "IsSubRange = True!"},
    };
    for (const Row& r : rows) {
        TVec v;
        Ramp(v, 10);
        v.SetConditionCheck(r.checks);
        const double* data = v.Values();
        if (*r.message == '\0') {
            EXPECT_NO_THROW(r.op(v)) << r.what;
            v.SetFullRange();
            continue;
        }
        ExpectRaise([&] { r.op(v); }, r.message, r.what);
        if (!v.IsSubRange()) {
            EXPECT_EQ(v.Length(), 10) << r.what;
            EXPECT_EQ(v.Values(), data) << r.what;
            EXPECT_EQ(v.BlockLevel(), 0) << r.what;
        }
        v.SetFullRange();
        EXPECT_EQ(v.Length(), 10) << r.what;
        EXPECT_EQ(v.Values(), data) << r.what;
    }
    TarnelBlockSize = 0;
    TVec v;
    Ramp(v, 5);
    ExpectRaise([&] { v.BlockInit(); }, "BlockInit: BlockSize < 1");
}

// A view of the whole source is a view when the source is another object; only the vector itself as its own
// source stays as it is.
TEST_F(SubRangeTest, WholeSourceViews)
{
    TVec src;
    Ramp(src, 6);
    TVec v;
    Ramp(v, 3);
    v.SetSubRange(src, 0, src.Length());
    EXPECT_TRUE(v.IsSubRange());
    EXPECT_EQ(v.Values(), src.Values());
    EXPECT_EQ(v.Length(), 6);
    v.SetFullRange();
    EXPECT_EQ(v.Length(), 3);

    v.SetSubRange(v, 0, 3);
    EXPECT_FALSE(v.IsSubRange()) << "the vector already sees exactly this";

    TMtx m;
    m.Size(2, 3);
    v.SetSubRange(m);
    EXPECT_TRUE(v.IsSubRange());
    EXPECT_EQ(v.Values(), m.Values());
    EXPECT_EQ(v.Length(), 6);
    v.SetFullRange();
    EXPECT_EQ(v.Length(), 3);
}

// Views alias their source: writing through the view changes the source, for every kind of source.
TEST_F(SubRangeTest, ViewsAliasTheirSource)
{
    TMtx m, zm;
    m.Size(3, 4);
    zm.Size(2, 2, true);
    TVec src;
    Ramp(src, 12);
    struct Row {
        const char* what;
        std::function<void(TVec&)> view;
        std::function<double()> read;  // the source element that view element 1 (its Re part) is
        bool complex;
    };
    const Row rows[] = {
        {"own data", [](TVec& v) { v.SetSubRange(3, 4); }, nullptr, false},
        {"vector", [&](TVec& v) { v.SetSubRange(src, 5, 3); }, [&] { return src[6]; }, false},
        {"vector, complex view", [&](TVec& v) { v.SetSubRange(src, 2, 3); }, [&] { return src[6]; }, true},
        {"matrix row 1", [&](TVec& v) { v.SetSubRange(m, 4, 4); }, [&] { return m(1, 1); }, false},
        {"matrix through index", [&](TVec& v) { v.SetSubIndex(m, 7, 9); }, [&] { return m(2, 0); }, false},
        {"complex matrix, real view", [&](TVec& v) { v.SetSubRange(zm, 2, 4); },
         [&] { return zm.CValues2D()[0][1].Im; }, false},
        {"complex matrix, complex view", [&](TVec& v) { v.SetSubRange(zm, 1, 3); },
         [&] { return zm.CValues2D()[1][0].Re; }, true},
    };
    for (const Row& r : rows) {
        TVec v;
        Ramp(v, 10, r.complex);
        r.view(v);
        ASSERT_TRUE(v.IsSubRange()) << r.what;
        v.Values()[r.complex ? 2 : 1] = -99.0;
        if (r.read) {
            EXPECT_EQ(r.read(), -99.0) << r.what;
        } else {
            v.SetFullRange();
            EXPECT_EQ(v[4], -99.0) << r.what;
        }
        v.SetFullRange();
        EXPECT_EQ(v.Length(), 10) << r.what;
        EXPECT_EQ(v.Complex(), r.complex) << r.what;
    }
}

// A sub-view of a view counts from that view's start and is bounded by its length.
TEST_F(SubRangeTest, ViewOfAView)
{
    TVec parent, mid, leaf;
    Ramp(parent, 20);
    mid.SetSubRange(parent, 5, 6);  // parent[5..10]
    leaf.SetSubRange(mid, 2, 3);    // mid[2..4] = parent[7..9]
    EXPECT_EQ(leaf[0], 7.0);
    EXPECT_EQ(leaf[2], 9.0);
    leaf[1] = -1.0;
    EXPECT_EQ(parent[8], -1.0);
    ExpectRaise([&] { leaf.SetSubRange(mid, 4, 3); }, "(Index + Len) > Src.Length");
    mid.SetConditionCheck(false);
    leaf.SetConditionCheck(false);
    // A view has no spare room, also without checks.
    ExpectRaise([&] { leaf.SetSubRange(mid, 4, 3); }, "(Index + Len) > Src.Length", "unchecked");
    // The vector's own view of itself, while viewing, also counts from the current view.
    mid.SetSubRange(mid, 1, 2);
    EXPECT_EQ(mid[0], 6.0);
    mid.SetFullRange();
    EXPECT_EQ(mid.Length(), 0);
}

// A view may never be written past its length: the next element belongs to the source.
TEST_F(SubRangeTest, NothingIsWrittenPastAView)
{
    TVec parent, v;
    Ramp(parent, 10);
    v.SetConditionCheck(false);
    v.SetSubRange(parent, 2, 4);
    const std::vector<double> five{1, 2, 3, 4, 5};
    ExpectRaise([&] { v.SetIt(five); }, "(High(a)+1) > Length");
    ExpectRaise([&] { v[4] = 1.0; }, "Indx > Length-1");
    EXPECT_EQ(parent[6], 6.0);
    v.SetComplex(true);  // a complex view of 2 elements covers the same 4 Doubles
    ExpectRaise([&] { v.SetIt({1, 2, 3, 4, 5, 6}); }, "((High(A)+1) div 2) > Length");
    EXPECT_EQ(parent[6], 6.0);
}

TEST_F(SubRangeTest, ViewsForgetTheFftOrder)
{
    TVec v;
    Ramp(v, 1024);
    v.SetNotPowerOfTwo(false);
    v.SetFFTOrder(10);
    v.SetSubRange(0, 256);
    EXPECT_TRUE(v.NotPowerOfTwo()) << "a 256-long view is not of order 10";
    v.SetNotPowerOfTwo(false);
    v.SetFullRange();
    EXPECT_TRUE(v.NotPowerOfTwo());
    TVec w;
    w.SetNotPowerOfTwo(false);
    w.SetSubRange(v, 0, 8);
    EXPECT_TRUE(w.NotPowerOfTwo());
    TVec adopted;
    adopted.SetNotPowerOfTwo(false);
    TSampleArray data(8, 1.0);
    adopted.Adopt(data, 8, false);
    EXPECT_TRUE(adopted.NotPowerOfTwo());
}

TEST_F(SubRangeTest, AViewCannotBeSizedOrReset)
{
    struct Row {
        const char* what;
        std::function<void(TVec&)> op;
    };
    const Row rows[] = {
        {"SetLength", [](TVec& v) { v.SetLength(5); }},
        {"SetActualLength", [](TVec& v) { v.SetActualLength(5000); }},
        {"Size", [](TVec& v) { v.Size(2, true); }},
        {"Resize", [](TVec& v) { v.Resize(50); }},
        {"Reset", [](TVec& v) { v.Reset(); }},
        {"Adopt",
         [](TVec& v) {
             double d[4];
             v.Adopt(d, 4, 4, false);
         }},
    };
    for (const Row& r : rows) {
        TVec v;
        Ramp(v, 10);
        v.SetSubRange(1, 3);
        ExpectRaise([&] { r.op(v); }, "IsSubRange = True!", r.what);
        EXPECT_EQ(v.Length(), 3) << r.what;
        v.SetFullRange();
        EXPECT_EQ(v.Length(), 10) << r.what;
        EXPECT_EQ(v[9], 9.0) << r.what;
    }
    TVec* pooled;
    CreateIt(pooled);
    Ramp(*pooled, 10);
    pooled->SetSubRange(0, 5);
    ExpectRaise([&] { FreeIt(pooled); }, "IsSubRange = True!");
    ASSERT_NE(pooled, nullptr);
    pooled->SetFullRange();
    FreeIt(pooled);
}

// Walks over the lengths that matter, with three vectors of equal length processed block by block: c := a + b,
// and the blocks seen are those of TarnelBlockSize.
TEST_F(SubRangeTest, BlockWalksWithPartners)
{
    const int lengths[] = {0, 1, 799, 800, 801, 2401};
    for (int len : lengths) {
        TVec a, b, c;
        Ramp(a, len);
        Ramp(b, len);
        c.SetLength(len);
        for (int i = 0; i < len; ++i) b.Values()[i] *= 10;
        a.BlockInit();
        b.BlockInit();
        c.BlockInit();
        std::vector<int> blocks;
        int guard = 0;
        while (!c.BlockEnd() && ++guard < 100) {
            blocks.push_back(c.Length());
            ASSERT_EQ(a.Length(), c.Length());
            for (int i = 0; i < c.Length(); ++i) c.Values()[i] = a.Values()[i] + b.Values()[i];
            a.BlockNext();
            b.BlockNext();
            c.BlockNext();
        }
        std::vector<int> expected;
        for (int s = 0; s < len; s += 800) expected.push_back(std::min(800, len - s));
        EXPECT_EQ(blocks, expected) << len;
        for (TVec* v : {&a, &b, &c}) {
            EXPECT_EQ(v->BlockLevel(), 0) << len;
            EXPECT_TRUE(v->BlockEnd()) << len;
            EXPECT_FALSE(v->IsSubRange()) << len;
            EXPECT_EQ(v->Length(), len) << len;
        }
        for (int i = 0; i < len; ++i) ASSERT_EQ(c[i], 11.0 * i) << len << " " << i;
        EXPECT_NO_THROW(c.Reset()) << "the walk is over";
    }
}

TEST_F(SubRangeTest, BlockSizesAndLevels)
{
    TVec v;
    Ramp(v, 2000);
    v.BlockInit(900);
    EXPECT_EQ(v.BlockLevel(), 1);
    EXPECT_FALSE(v.BlockEnd());
    EXPECT_EQ(v.Length(), 900);
    v.BlockNext();
    EXPECT_EQ(v.Length(), 900);
    EXPECT_EQ(v[0], 900.0);
    ExpectRaise([&] { v.SetLength(5); }, "IsSubRange = True!");
    v.BlockNext();
    EXPECT_EQ(v.Length(), 200);
    EXPECT_EQ(v[199], 1999.0);
    v.BlockNext();
    EXPECT_TRUE(v.BlockEnd());
    EXPECT_EQ(v.BlockLevel(), 0);
    EXPECT_EQ(v.Length(), 2000);
    v.BlockNext();  // at level 0: nothing
    EXPECT_EQ(v.BlockLevel(), 0);
    EXPECT_EQ(v.Length(), 2000);

    TarnelBlockSize = 300;
    TVec w;
    Ramp(w, 100);
    w.BlockInit();
    EXPECT_EQ(w.Length(), 100) << "one block of 100";
    w.BlockNext();
    EXPECT_TRUE(w.BlockEnd());

    TVec empty;
    empty.BlockInit();
    EXPECT_EQ(empty.BlockLevel(), 0) << "an empty walk ends at once";
    EXPECT_TRUE(empty.BlockEnd());
    EXPECT_NO_THROW(empty.Reset());
}

// A routine written as a walk, called on vectors already inside a walk, works on the current block once.
TEST_F(SubRangeTest, NestedWalkWorksOnTheCurrentBlock)
{
    auto addOne = [](TVec& x) {
        x.BlockInit();
        int passes = 0;
        while (!x.BlockEnd()) {
            for (int i = 0; i < x.Length(); ++i) x.Values()[i] += 1;
            ++passes;
            x.BlockNext();
        }
        return passes;
    };
    TVec v;
    Ramp(v, 1700);
    v.BlockInit();
    int outer = 0;
    while (!v.BlockEnd()) {
        EXPECT_EQ(addOne(v), 1);
        EXPECT_EQ(v.BlockLevel(), 1);
        ++outer;
        v.BlockNext();
    }
    EXPECT_EQ(outer, 3);
    for (int i = 0; i < 1700; ++i) ASSERT_EQ(v[i], i + 1.0);
    EXPECT_EQ(addOne(v), 3) << "alone it walks all blocks";
}

// An exception inside a walk leaves the vector viewing a block; SetFullRange ends the walk and the vector can be
// reset and returned to the pool.
TEST_F(SubRangeTest, RecoveryAfterAnExceptionInsideAWalk)
{
    TVec* v;
    CreateIt(v);
    Ramp(*v, 2000);
    try {
        v->BlockInit();
        while (!v->BlockEnd()) {
            v->SetLength(3);  // refused inside a walk
            v->BlockNext();
        }
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "IsSubRange = True!");
    }
    EXPECT_EQ(v->BlockLevel(), 1);
    ExpectRaise([&] { v->Reset(); }, "IsSubRange = True!");
    v->SetFullRange();
    EXPECT_EQ(v->BlockLevel(), 0);
    EXPECT_TRUE(v->BlockEnd());
    EXPECT_EQ(v->Length(), 2000);
    v->BlockInit();
    EXPECT_EQ((*v)[0], 0.0) << "a new walk starts at the first block";
    v->SetFullRange();
    FreeIt(v);
    EXPECT_EQ(v, nullptr);
}

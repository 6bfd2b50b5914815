// Calls a hostile caller makes: sources that view the block their destination's sizing frees, refused calls that
// must leave every object as it was, lengths below the whole-vector default, and allocations that fail.
#include <sys/resource.h>

#include <climits>
#include <cstdio>
#include <fstream>

#include "elem_util.h"

namespace {

using namespace elemtest;

// A vector's kind, length and Doubles, to show that a refused call left it as it was.
struct TState {
    bool Complex;
    int Length;
    std::vector<double> Data;
    explicit TState(const TVecs& V) : Complex(V.Complex()), Length(V.Length()), Data(Doubles(V)) {}
    bool operator==(const TState&) const = default;
};

class HostileTest : public ElemTest {
protected:
    void TearDown() override
    {
        ElemTest::TearDown();
        EXPECT_EQ(MtxCacheUsed.load(), 0) << "a pooled matrix was not given back";
    }
};

// Each case runs the call with a source that views (part of) the destination's own block, which sizing the
// destination frees, and the same call on a distinct copy of the source; the results must agree.
struct TAliasCase {
    const char* Name;
    std::function<std::vector<double>(bool Aliased)> Run;
};

std::vector<double> Ramped(TVecs& V, int N, bool Complex)
{
    V.SetIt(Complex, Ramp(Complex ? 2 * N : N, 1));
    return Doubles(V);
}

// B := a view of A's elements [Index, Index + Len), or a distinct copy of them.
void ViewOrCopy(TVec& B, TVec& A, int Index, int Len, bool Aliased)
{
    B.Size(0, A.Complex());
    if (Aliased) {
        B.SetSubRange(A, Index, Len);
        return;
    }
    B.Size(Len, A.Complex());
    B.Copy(A, Index, 0, Len);
}

const TAliasCase kAliasCases[] = {
    {"Resize(Src) of a view of Self",
     [](bool Aliased) {
         TVec a, b;
         Ramped(a, 10, false);
         ViewOrCopy(b, a, 0, 10, Aliased);
         a.Resize(b, 2000);
         return Doubles(a);
     }},
    {"Assign of a view of Self",
     [](bool Aliased) {
         TVec a, b;
         Ramped(a, 2000, false);
         ViewOrCopy(b, a, 0, 1500, Aliased);
         a.Assign(b);
         return Doubles(a);
     }},
    {"Flip of a view of Self",
     [](bool Aliased) {
         TVec a, b;
         Ramped(a, 2000, true);
         ViewOrCopy(b, a, 3, 10, Aliased);
         a.Flip(b);
         return Doubles(a);
     }},
    {"TensorProd with Vec in Self's spare room",
     [](bool Aliased) {
         TVec y, x;
         TMtx m;
         m.Size(2, 3);
         for (int i = 0; i < 6; ++i) m.Values()[i] = i + 1;
         y.Size(2001);  // capacity 2002: two spare elements past the length
         y.SetConditionCheck(false);
         y[2001] = 7;
         y[2002] = 11;
         if (Aliased) {
             x.SetConditionCheck(false);
             x.SetSubRange(y, 2001, 2);
         } else {
             Set(x, false, {7, 11});
         }
         y.TensorProd(x, m, mtGeneral);
         return Doubles(y);
     }},
    {"CopyVec of a view of the matrix",
     [](bool Aliased) {
         TMtx m;
         TVec v;
         m.Size(40, 40);
         for (int i = 0; i < 1600; ++i) m.Values()[i] = i + 1;
         if (Aliased) {
             v.SetSubRange(m, 0, 1200);
         } else {
             v.SetIt(false, Ramp(1200, 1));
         }
         m.CopyVec(v, 30);
         EXPECT_EQ(m.Rows(), 30);
         EXPECT_EQ(m.Cols(), 40);
         return std::vector<double>(m.Values(), m.Values() + 1200);
     }},
};

TEST_F(HostileTest, SizingSelfReadsSourcesBeforeFreeingThem)
{
    for (const TAliasCase& c : kAliasCases) {
        const std::vector<double> distinct = c.Run(false);
        const std::vector<double> aliased = c.Run(true);
        ASSERT_EQ(aliased.size(), distinct.size()) << c.Name;
        for (std::size_t i = 0; i < aliased.size(); ++i)
            ASSERT_TRUE(SameDouble(aliased[i], distinct[i])) << c.Name << ": Double " << i;
    }
}

// Outputs of which one views the other's block: sizing the first would free what the second writes to.
TEST_F(HostileTest, OutputsThatShareMemoryAreRefused)
{
    TVec z, a, p;
    Set(z, true, {3, 4, 0, 1});
    Ramped(a, 2001, false);
    p.SetConditionCheck(false);
    p.SetSubRange(a, 2001, 2);  // a's spare room
    const TState za(z), aa(a);
    ExpectRaise([&] { z.CartToPolar(a, p); }, "AmpltVec and PhaseVec share memory", "CartToPolar");
    ExpectRaise([&] { z.CartToPolar(p, a, 0, 2); }, "AmpltVec and PhaseVec share memory", "CartToPolar range");
    ExpectRaise([&] { z.CplxToReal(a, p); }, "ReVec and ImVec share memory", "CplxToReal");
    ExpectRaise([&] { z.Split(a, 1, p); }, "Vec1 and Vec2 share memory", "Split");
    ExpectRaise([&] { z.Split({&a, &p}, {1, 1}); }, "Dst[i] and Dst[j] share memory", "sized Split");
    EXPECT_TRUE(TState(z) == za);
    EXPECT_TRUE(TState(a) == aa);

    // Apart, the same outputs work.
    TVec q;
    z.CartToPolar(a, q);
    ExpectNear(a, false, {5, 1}, 1e-15, "magnitudes");
}

// Every check runs before anything changes: a refused call leaves each object as it was.
TEST_F(HostileTest, RefusedCallsChangeNothing)
{
    TVec v, w, x, y, view;
    struct TCase {
        const char* Name;
        std::function<void()> Call;
        const char* Message;
    };
    const auto fresh = [&] {
        view.SetFullRange();
        v.SetIt(false, Ramp(10, 1));
        Set(w, true, {1, 2, 3, 4, 5, 6});
        Set(x, false, {9, 8, 7, 6, 5, 4, 3});
        y.SetIt(false, Ramp(7, 1));
        view.SetSubRange(y, 0, 2);
    };
    double *p1, *p2, *p3, *p4;
    TCplx *c1, *c2, *c3, *c4;
    const TCase cases[] = {
        {"Size to a complex length too large", [&] { v.Size(INT_MAX - 1, true); }, "SetActualLength: Value too large"},
        {"Resize(Src) too large", [&] { v.Resize(w, INT_MAX - 1); }, "SetActualLength: Value too large"},
        {"complex SliceIt too large", [&] { v.SliceIt(INT_MAX - 1, 0, 0, 0, c1, c2, c3, c4); },
         "SetActualLength: Value too large"},
        {"real SliceIt of a view", [&] { view.SliceIt(1, 1, 1, 1, p1, p2, p3, p4); }, "IsSubRange = True!"},
        {"SetVecSize with a view last",
         [&] {
             SetVecSize(5, true, {&v, &view});
         },
         "IsSubRange = True!"},
        {"Flip past X", [&] { v.Flip(w, 1, 0, -1); }, "(XIndex + Len) > X.Length"},
        {"Flip past Self", [&] { v.Flip(w, 0, 2, -1); }, "(Index + Len) > FLength"},
        {"CartToPolar into a view", [&] { w.CartToPolar(v, view); }, "IsSubRange = True!"},
        {"CplxToReal into a view", [&] { w.CplxToReal(v, view); }, "IsSubRange = True!"},
        {"Split into a view", [&] { y.Split(v, 2, view); }, "IsSubRange = True!"},
        {"Split: size mismatch",
         [&] {
             x.Split({&w, &v});
         },
         "Size mismatch at vec 2"},
        {"Split: length exceeded",
         [&] {
             x.Split({&v, &w}, {1, 7});
         },
         "Self.Length exceeded at vec 2"},
    };
    for (const TCase& c : cases) {
        fresh();
        const TState sv(v), sw(w), sx(x), sview(view);
        ExpectRaise(c.Call, c.Message, c.Name);
        EXPECT_TRUE(TState(v) == sv) << c.Name;
        EXPECT_TRUE(TState(w) == sw) << c.Name;
        EXPECT_TRUE(TState(x) == sx) << c.Name;
        EXPECT_TRUE(TState(view) == sview) << c.Name;
    }
    view.SetFullRange();
}

TEST_F(HostileTest, LengthsBelowTheWholeDefaultAreRefused)
{
    for (const bool checks : {true, false}) {
        for (const int len : {-2, -3, -7, INT_MIN}) {
            TVec v, x;
            v.SetConditionCheck(checks);
            Set(v, true, {1, 2, 3, 4});
            Set(x, true, {5, 6, 7, 8});
            const TState before(v);
            const std::string where = "Len " + std::to_string(len) + (checks ? "" : ", checks off");
            ExpectRaise([&] { v.Flip(x, 0, 0, len); }, "Len < -1", "Flip, " + where);
            ExpectRaise([&] { v.FlipConj(x, 0, 0, len); }, "Len < -1", "FlipConj, " + where);
            ExpectRaise([&] { v.MulI(x, 0, 0, len); }, "Len < -1", "MulI, " + where);
            ExpectRaise([&] { v.Flip(0, len); }, "Len < -1", "in-place Flip, " + where);
            ExpectRaise([&] { v.MulI(0, len); }, "Len < -1", "in-place MulI, " + where);
            EXPECT_TRUE(TState(v) == before) << where;
        }
    }
    // -1 is the default: the whole of X.
    TVec v, x;
    Set(x, true, {1, 2});
    v.Flip(x, 0, 0, -1);
    ExpectSame(v, true, {2, 1});
}

// With ConditionCheck off CopyVec drops the rest of the vector, but more rows than elements would make a matrix of
// no columns with a row table of NrRows entries out of nothing.
TEST_F(HostileTest, CopyVecRefusesMoreRowsThanElements)
{
    TMtx m;
    TVec v;
    m.SetConditionCheck(false);
    m.Size(2, 2);
    Set(v, false, {5, 6, 7});
    ExpectRaise([&] { m.CopyVec(v, 2000000000); }, "Vec.Length mod NrRows <> 0");
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Cols(), 2);
    m.CopyVec(v, 2);  // the rest is dropped without the check
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Cols(), 1);
    EXPECT_EQ(m.Values()[1], 6.0);
}

// Allocations that fail: the address space is held to what the process uses now plus a little, so that the
// sizes below cannot be had. The sanitizers reserve their own shadow memory and cannot run under such a limit.
#if defined(__SANITIZE_ADDRESS__)
#define TARNEL_NO_ADDRESS_LIMIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNEL_NO_ADDRESS_LIMIT 1
#endif
#endif

class AddressLimit {
public:
    AddressLimit()
    {
        getrlimit(RLIMIT_AS, &FSaved);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit r = FSaved;
        r.rlim_cur = static_cast<rlim_t>(pages) * 4096 + (rlim_t{1} << 30);
        if (FSaved.rlim_max != RLIM_INFINITY && r.rlim_cur > FSaved.rlim_max) r.rlim_cur = FSaved.rlim_max;
        setrlimit(RLIMIT_AS, &r);
    }
    ~AddressLimit() { setrlimit(RLIMIT_AS, &FSaved); }

private:
    rlimit FSaved{};
};

TEST_F(HostileTest, FailedAllocationsLeaveObjectsAsTheyWere)
{
#ifdef TARNEL_NO_ADDRESS_LIMIT
    GTEST_SKIP() << "no address-space limit under the sanitizers";
#else
    TVec v;
    v.SetIt(false, Ramp(10, 1));
    TMtx m, empty;
    m.Size(3, 4);
    for (int i = 0; i < 12; ++i) m.Values()[i] = i + 1;
    const TState sv(v);
    {
        AddressLimit limit;
        EXPECT_THROW(v.Size(1000000000, true), std::bad_alloc);
        EXPECT_THROW(m.Size(30000, 30000, true), std::bad_alloc);
        EXPECT_THROW(empty.Size(2000000000, 0), std::bad_alloc);
    }
    EXPECT_TRUE(TState(v) == sv);
    EXPECT_FALSE(m.Complex());
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 4);
    EXPECT_EQ(m.Values2D()[2][3], 12.0);
    EXPECT_EQ(empty.Rows(), 0);
    EXPECT_EQ(empty.Values2D().Length(), 0);
#endif
}

}  // namespace

// The vector class: storage and capacity rules, values kept across sizing, element access, the SetIt family,
// outside data, reset and the small whole-vector operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

using namespace tarnel;
using namespace testsupport;

namespace {

// Runs each test with the module's minimum capacity set as given (through the pool, as programs do), and puts
// the start-up setting back afterwards.
class VecTest : public PoolCheck {
protected:
    void TearDown() override
    {
        PoolCheck::TearDown();
        SetVecCacheSize(32, 1024);
        SetVecConditionCheck(true);
    }
    static void UseCacheElements(int Elements) { SetVecCacheSize(32, Elements); }
};

void Fill(TVecs& V, double Start)
{
    const int n = V.Complex() ? 2 * V.Length() : V.Length();
    for (int i = 0; i < n; ++i) V.Values()[i] = Start + i;
}

// The first Count Doubles hold Start, Start+1, ...
bool Holds(const TVecs& V, int Count, double Start)
{
    for (int i = 0; i < Count; ++i) {
        if (V.Values()[i] != Start + i) return false;
    }
    return true;
}

std::int32_t HeaderWord(const TVecs& V, int Word)
{
    std::int32_t w;
    std::memcpy(&w, reinterpret_cast<const std::byte*>(V.Values()) - 8 + 4 * Word, sizeof w);
    return w;
}

}  // namespace

TEST_F(VecTest, NewVectorIsEmptyRealAndUnpooled)
{
    TVec v;
    EXPECT_EQ(v.Length(), 0);
    EXPECT_EQ(v.ActualLength(), 0);
    EXPECT_EQ(v.Values(), nullptr);
    EXPECT_EQ(v.CValues(), nullptr);
    EXPECT_EQ(v.AllocatedSize(), 0);
    EXPECT_EQ(v.CacheIndex(), -1);
    EXPECT_TRUE(v.BlockEnd());
    EXPECT_FALSE(v.Complex());
    EXPECT_FALSE(v.Dirty());
    EXPECT_FALSE(v.IsSubRange());
    EXPECT_TRUE(v.ConditionCheck());
    EXPECT_EQ(v.Tag(), 0);
    EXPECT_EQ(v.Caption(), "");
    EXPECT_FALSE(v.GaussSet());
    EXPECT_FALSE(v.UniformSet());
    EXPECT_EQ(v.RandParams().UniformSeed, 0.0);
    EXPECT_EQ(v.BlasAlpha().Re, 1.0);
    EXPECT_EQ(v.BlasAlpha().Im, 0.0);
    EXPECT_EQ(v.BlasBeta().Re, 0.0);
    ASSERT_NE(v.GoertzelState(), nullptr);
    ASSERT_NE(v.GaussState(), nullptr);
    ASSERT_NE(v.UniformState(), nullptr);
    const auto* g = static_cast<const unsigned char*>(v.GaussState());
    for (int i = 0; i < kGaussStateBytes; ++i) EXPECT_EQ(g[i], 0) << i;
}

TEST_F(VecTest, NewVectorTakesTheModuleDefaultOfConditionCheck)
{
    SetVecConditionCheck(false);
    TVec v;
    EXPECT_FALSE(v.ConditionCheck());
}

// Capacity, block size and layout for the rows: minimum capacity, complexity, requested length.
TEST_F(VecTest, CapacityRules)
{
    struct Row {
        int cacheElements;
        bool complex;
        int length;
        int capacity;
    };
    const Row rows[] = {
        {1024, false, 10, 1024}, {1024, false, 1024, 1024}, {1024, false, 2000, 2000}, {1024, false, 2001, 2002},
        {1024, true, 10, 512},   {1024, true, 512, 512},    {1024, true, 600, 600},    {1024, true, 601, 602},
        {1001, false, 10, 1002}, {1001, true, 10, 500},     {1001, false, 1001, 1002}, {0, false, 3, 4},
        {0, false, 1, 2},        {0, true, 5, 6},           {100, false, 1, 100},      {7, true, 1, 4},
    };
    for (const Row& r : rows) {
        UseCacheElements(r.cacheElements);
        TVec v;
        v.Size(r.length, r.complex);
        const std::string where =
            "E=" + std::to_string(r.cacheElements) + (r.complex ? " complex " : " real ") + std::to_string(r.length);
        EXPECT_EQ(v.ActualLength(), r.capacity) << where;
        EXPECT_EQ(v.Length(), r.length) << where;
        const std::int64_t element = r.complex ? 16 : 8;
        EXPECT_EQ(v.AllocatedSize(), (r.capacity + 2) * element + 40) << where;
        // 32-byte aligned data, at least 8 and at most 40 bytes into the block, room for capacity + 2 elements.
        const auto data = reinterpret_cast<std::uintptr_t>(v.Values());
        const auto block = reinterpret_cast<std::uintptr_t>(v.AllocatedBlock());
        EXPECT_EQ(data % 32, 0u) << where;
        EXPECT_GE(data - block, 8u) << where;
        EXPECT_LE(data - block, 40u) << where;
        EXPECT_LE(data + (r.capacity + 2) * element, block + v.AllocatedSize()) << where;
        EXPECT_EQ(static_cast<const void*>(v.CValues()), static_cast<const void*>(v.Values())) << where;
        // The header before the data: reference count 1 and the length.
        EXPECT_EQ(HeaderWord(v, 0), 1) << where;
        EXPECT_EQ(HeaderWord(v, 1), r.length) << where;
        // The spare room past the capacity is part of the block and zero-filled, as is the whole new block.
        const std::int64_t doubles = (r.capacity + 2) * (r.complex ? 2 : 1);
        for (std::int64_t i = 0; i < doubles; ++i) ASSERT_EQ(v.Values()[i], 0.0) << where << " at " << i;
    }
}

TEST_F(VecTest, ZeroLengthWithoutMinimumHasNoBlock)
{
    UseCacheElements(0);
    TVec v;
    v.SetLength(4);
    EXPECT_NE(v.Values(), nullptr);
    v.SetActualLength(0);
    EXPECT_EQ(v.Length(), 0) << "a capacity below the length cuts the length";
    EXPECT_EQ(v.Values(), nullptr);
    EXPECT_EQ(v.AllocatedSize(), 0);
}

TEST_F(VecTest, SetActualLengthBelowLengthCutsLengthAndHeader)
{
    TVec v;
    v.SetLength(3000);
    v.SetActualLength(1001);
    EXPECT_EQ(v.ActualLength(), 1002);
    EXPECT_EQ(v.Length(), 1002);
    EXPECT_EQ(HeaderWord(v, 1), 1002);
}

// Values kept or lost by SetLength: they survive exactly when the capacity requested equals the current one
// (compared before rounding to even); a new block is zero-filled.
TEST_F(VecTest, SetLengthKeepsValuesOnlyWithinTheSameCapacity)
{
    struct Row {
        const char* what;
        int cacheElements;
        bool complex;
        int from;
        int to;
        bool kept;
    };
    const Row rows[] = {
        {"within the minimum", 1024, false, 10, 500, true},
        {"up to the minimum", 1024, false, 10, 1024, true},
        {"beyond the minimum", 1024, false, 10, 2000, false},
        {"2001 to 2002, same even capacity", 1024, false, 2001, 2002, true},
        {"2002 to 2001 reallocates", 1024, false, 2002, 2001, false},
        {"down to the minimum reallocates", 1024, false, 2000, 10, false},
        {"complex within half the minimum", 1024, true, 10, 512, true},
        {"complex beyond half the minimum", 1024, true, 10, 513, false},
        {"odd minimum: requested 1001 differs from 1002", 1001, false, 10, 20, false},
        {"no minimum", 0, false, 10, 8, false},
    };
    for (const Row& r : rows) {
        UseCacheElements(r.cacheElements);
        TVec v;
        v.Size(r.from, r.complex);
        Fill(v, 1);
        const int n = (r.complex ? 2 : 1) * std::min(r.from, r.to);
        v.SetLength(r.to);
        if (r.kept) {
            EXPECT_TRUE(Holds(v, n, 1)) << r.what;
        } else {
            for (int i = 0; i < n; ++i) ASSERT_EQ(v.Values()[i], 0.0) << r.what << ": new block zero-filled at " << i;
        }
    }
}

TEST_F(VecTest, SetLengthFiresOnSetLengthOnlyOnChange)
{
    TVec v;
    int calls = 0;
    TVecs* sender = nullptr;
    v.SetOnSetLength([&](TVecs& s) {
        ++calls;
        sender = &s;
    });
    v.SetNotPowerOfTwo(false);
    v.SetLength(5);
    v.SetLength(5);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sender, &v);
    EXPECT_TRUE(v.NotPowerOfTwo()) << "every length change marks the length as not a known power of two";
    v.SetComplex(true);
    EXPECT_EQ(calls, 2);
}

TEST_F(VecTest, SetComplexViewsTheSameBytes)
{
    TVec v;
    v.SetLength(5);
    Fill(v, 1);
    v.SetFFTOrder(3);
    const double* before = v.Values();
    v.SetComplex(true);
    EXPECT_EQ(v.Length(), 2);
    EXPECT_EQ(v.ActualLength(), 512);
    EXPECT_EQ(v.FFTOrder(), 2);
    EXPECT_EQ(v.Values(), before);
    EXPECT_EQ(HeaderWord(v, 1), 2);
    EXPECT_EQ(v.CValues()[1].Re, 3.0);
    EXPECT_EQ(v.CValues()[1].Im, 4.0);
    v.SetComplex(false);
    EXPECT_EQ(v.Length(), 4);
    EXPECT_EQ(v.ActualLength(), 1024);
    EXPECT_EQ(v.FFTOrder(), 3);
    EXPECT_TRUE(Holds(v, 5, 1)) << "the fifth number stays in memory, out of view";
}

TEST_F(VecTest, SizeSetsComplexityFirst)
{
    TVec v;
    v.Size(1024);
    Fill(v, 1);
    v.Size(512, true);  // 1024 reals seen as 512 complex numbers: no reallocation
    EXPECT_TRUE(Holds(v, 1024, 1));
    TVec* a = new TVec;
    TVec* b = new TVec;
    SetVecSize(7, true, {a, b});
    EXPECT_TRUE(a->Complex() && b->Complex());
    EXPECT_EQ(a->Length() + b->Length(), 14);
    delete a;
    delete b;
}

// Resize keeps the first min(Len, Length) values on every path, and zeroes the new elements with ZeroIt.
TEST_F(VecTest, ResizeKeepsValues)
{
    struct Row {
        const char* what;
        int cacheElements;
        bool complex;
        int from;
        int to;
        bool zeroIt;
        std::function<void(TVec&)> prepare;  // runs after filling, before Resize
    };
    const Row rows[] = {
        {"grow beyond the minimum", 1024, false, 10, 2000, true, nullptr},
        {"grow within the minimum", 1024, false, 10, 20, true, nullptr},
        {"shrink to the minimum", 1024, false, 3000, 5, false, nullptr},
        {"2002 to 2001", 1024, false, 2002, 2001, false, nullptr},
        {"complex grow", 1024, true, 10, 1500, true, nullptr},
        {"odd minimum", 1001, false, 10, 20, true, nullptr},
        {"minimum changed after allocation", 1024, false, 10, 50, true, [](TVec&) { SetVecCacheSize(32, 100); }},
        {"after SetComplex to an odd capacity", 1024, false, 1025, 500, false, [](TVec& v) { v.SetComplex(true); }},
        {"from an empty vector", 1024, false, 0, 10, true, nullptr},
    };
    for (const Row& r : rows) {
        UseCacheElements(r.cacheElements);
        TVec v;
        v.Size(r.from, r.complex);
        Fill(v, 1);
        if (r.prepare) r.prepare(v);
        const int oldLength = v.Length();
        const int width = v.Complex() ? 2 : 1;
        v.Resize(r.to, r.zeroIt);
        EXPECT_EQ(v.Length(), r.to) << r.what;
        EXPECT_TRUE(Holds(v, width * std::min(oldLength, r.to), 1)) << r.what;
        if (r.zeroIt) {
            for (int i = width * oldLength; i < width * r.to; ++i) ASSERT_EQ(v.Values()[i], 0.0) << r.what << " " << i;
        }
        EXPECT_EQ(VecCacheUsed.load(), 0) << r.what << ": the temporary went back";
    }
}

TEST_F(VecTest, ResizeZeroesTheGrownPartEvenWithinTheCapacity)
{
    TVec v;
    v.SetLength(20);
    Fill(v, 1);
    v.SetLength(10);
    v.Resize(20, true);
    EXPECT_TRUE(Holds(v, 10, 1));
    for (int i = 10; i < 20; ++i) EXPECT_EQ(v.Values()[i], 0.0);
    v.SetLength(10);
    v.Resize(20, false);
    EXPECT_EQ(v.Values()[15], 0.0) << "without ZeroIt the old contents of the capacity show again";
}

TEST_F(VecTest, ResizeFromSource)
{
    TVec src, v;
    src.SetLength(5);
    Fill(src, 1);
    v.SetLength(8);
    for (int i = 0; i < 8; ++i) v.Values()[i] = 99;
    v.Resize(src, 8, true);
    EXPECT_FALSE(v.Complex());
    EXPECT_TRUE(Holds(v, 5, 1));
    for (int i = 5; i < 8; ++i) EXPECT_EQ(v.Values()[i], 0.0);

    src.Size(2, true);
    Fill(src, 1);
    v.Resize(src, 1, true);
    EXPECT_TRUE(v.Complex());
    EXPECT_EQ(v.Length(), 1);
    EXPECT_TRUE(Holds(v, 2, 1));

    // The source may be the vector itself: its values are kept.
    v.Size(3);
    Fill(v, 1);
    v.Resize(v, 3000, true);
    EXPECT_EQ(v.Length(), 3000);
    EXPECT_TRUE(Holds(v, 3, 1));
    EXPECT_EQ(v.Values()[2999], 0.0);
}

TEST_F(VecTest, IndexedPropertyChecks)
{
    TVec v;
    v.SetLength(4);
    v[0] = 1.5;
    v[3] = 2.5;
    EXPECT_EQ(v.Values()[0], 1.5);
    EXPECT_EQ(static_cast<double>(v[3]), 2.5);
    const TVec& c = v;
    EXPECT_EQ(c[3], 2.5);
    v[1] = v[3];
    EXPECT_EQ(v.GetDefaultArray(1), 2.5);

    ExpectRaise([&] { (void)c[4]; }, "Indx > Length-1", "get 4");
    ExpectRaise([&] { v[4] = 1; }, "Indx > Length-1", "set 4");
    ExpectRaise([&] { (void)c[-1]; }, "Indx < 0 ", "get -1");
    ExpectRaise([&] { v.SetDefaultArray(-1, 0); }, "Indx < 0 ", "set -1");

    // Without checks the index is not held to Length, only to the vector's memory (capacity + 2 spare).
    v.SetConditionCheck(false);
    v[4] = 7;
    EXPECT_EQ(v.Values()[4], 7.0);
    EXPECT_NO_THROW(v[1025] = 1);
    ExpectRaise([&] { v[1026] = 1; }, "Indx > Length-1", "past the block");
    ExpectRaise([&] { (void)c[-1]; }, "Indx < 0 ", "unchecked -1");
    TVec empty;
    empty.SetConditionCheck(false);
    ExpectRaise([&] { (void)static_cast<const TVec&>(empty)[0]; }, "Indx > Length-1", "no block");
}

TEST_F(VecTest, FirstAndLastElements)
{
    TVec v;
    v.SetIt(false, {1, 2, 3, 4});
    EXPECT_EQ(v.FirstSample(), 1.0);
    EXPECT_EQ(v.LastSample(), 4.0);
    ExpectRaise([&] { v.FirstCplx(); }, "not Complex!");
    ExpectRaise([&] { v.LastCplx(); }, "not Complex!");
    v.SetComplex(true);
    EXPECT_EQ(v.FirstCplx().Im, 2.0);
    EXPECT_EQ(v.LastCplx().Re, 3.0);
    EXPECT_EQ(v.LastSample(), 2.0) << "LastSample reads the Double at Length-1";

    TVec e;
    ExpectRaise([&] { e.FirstSample(); }, "FirstSample: Length = 0");
    ExpectRaise([&] { e.LastSample(); }, "LastSample: Length = 0");
    e.SetComplex(true);
    ExpectRaise([&] { e.FirstCplx(); }, "FirstCplx: Length = 0");
    ExpectRaise([&] { e.LastCplx(); }, "LastCplx: Length = 0");
}

TEST_F(VecTest, SetItFamilyResults)
{
    const double a6[] = {1, 2, 3, 4, 5, 6};
    TVec v;
    v.SetIt(true, a6);
    EXPECT_TRUE(v.Complex());
    EXPECT_EQ(v.Length(), 3);
    EXPECT_EQ(v.CValues()[2].Re, 5.0);
    EXPECT_EQ(v.CValues()[2].Im, 6.0);

    v.SetDouble(false, a6);
    EXPECT_FALSE(v.Complex());
    EXPECT_EQ(v.Length(), 6);
    EXPECT_TRUE(Holds(v, 6, 1));

    const float f[] = {0.5f, 1.5f};
    v.SetSingle(true, f);
    EXPECT_EQ(v.Length(), 1);
    EXPECT_EQ(v.CValues()[0].Im, 1.5);
    const int n[] = {-3, 4, 7};
    v.SetInteger(false, n);
    EXPECT_EQ(v.Length(), 3);
    EXPECT_EQ(v.Values()[0], -3.0);

    // TVec.SetIt(2, 1, 3, A) on a real vector of length 6 writes elements 2, 3, 4 from A[1], A[2], A[3].
    v.SetIt(false, std::vector<double>(6, 0.0));
    v.SetIt(2, 1, 3, a6);
    const double expected[] = {0, 0, 2, 3, 4, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(v.Values()[i], expected[i]) << i;
    // Complex: Len complex elements from Double entry AIndex on.
    v.Size(3, true);
    v.SetIt(1, 1, 2, a6);
    const double expectedC[] = {0, 0, 2, 3, 4, 5};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(v.Values()[i], expectedC[i]) << i;

    // Index forms write without sizing.
    v.Size(6, false);
    const double two[] = {8, 9};
    v.SetIt(4, two);
    EXPECT_EQ(v.Values()[4], 8.0);
    EXPECT_EQ(v.Values()[5], 9.0);
    const float fs[] = {2.5f};
    v.SetSingle(0, fs);
    EXPECT_EQ(v.Values()[0], 2.5);
    const int is[] = {11, 12};
    v.SetInteger(1, is);
    EXPECT_EQ(v.Values()[2], 12.0);
    v.SetDouble(3, two);
    EXPECT_EQ(v.Values()[3], 8.0);
    v.Size(3, true);
    v.SetIt(2, two);
    EXPECT_EQ(v.CValues()[2].Re, 8.0);
    EXPECT_EQ(v.CValues()[2].Im, 9.0);
    // TVec0.SetIt copies from element 0.
    v.SetIt({-1, -2});
    EXPECT_EQ(v.CValues()[0].Im, -2.0);
}

// Every message of the size, access and copying members, in the order of the checks; a refused call leaves the
// vector as it was.
TEST_F(VecTest, MessagesAndTheOrderOfChecks)
{
    const double a2[] = {1, 2};
    const double a3[] = {1, 2, 3};
    const double a7[] = {1, 2, 3, 4, 5, 6, 7};
    const float f3[] = {1, 2, 3};
    const int i3[] = {1, 2, 3};
    struct Row {
        const char* what;
        bool complex;
        int length;
        std::function<void(TVec&)> op;
        const char* message;
    };
    const Row rows[] = {
        {"negative length", false, 2, [](TVec& v) { v.SetLength(-1); }, "SetActualLength: Value < 0"},
        {"negative capacity", false, 2, [](TVec& v) { v.SetActualLength(-2); }, "SetActualLength: Value < 0"},
        {"negative size", false, 2, [](TVec& v) { v.Size(-1, true); }, "SetActualLength: Value < 0"},
        {"negative resize", false, 2, [](TVec& v) { v.Resize(-1); }, "SetActualLength: Value < 0"},
        {"view before sign", false, 2,
         [](TVec& v) {
             v.SetIsSubRange(true);
             v.SetLength(-1);
         },
         "IsSubRange = True!"},
        {"view: capacity", false, 2,
         [](TVec& v) {
             v.SetIsSubRange(true);
             v.SetActualLength(5000);
         },
         "IsSubRange = True!"},
        {"view: size refused before the complexity changes", false, 2,
         [](TVec& v) {
             v.SetIsSubRange(true);
             v.Size(5, true);
         },
         "IsSubRange = True!"},
        {"view: resize", false, 2,
         [](TVec& v) {
             v.SetIsSubRange(true);
             v.Resize(3000);
         },
         "IsSubRange = True!"},
        {"view: reset of a zero-length view", true, 0,
         [](TVec& v) {
             v.SetIsSubRange(true);
             v.Reset();
         },
         "IsSubRange = True!"},
        {"view: adopt", false, 2,
         [](TVec& v) {
             v.SetIsSubRange(true);
             double d[2];
             v.Adopt(d, 2, 2, false);
         },
         "IsSubRange = True!"},
        {"TVec0.SetIt real", false, 2, [&](TVec& v) { v.SetIt(std::span<const double>(a3)); }, "(High(a)+1) > Length"},
        {"TVec0.SetIt complex", true, 1, [&](TVec& v) { v.SetIt(std::span<const double>(a3, 2)); }, ""},
        {"TVec0.SetIt complex too long", true, 1, [&](TVec& v) { v.SetIt(std::span<const double>(a7, 4)); },
         "((High(A)+1) div 2) > Length"},
        {"TVec0.SetIt odd complex", true, 5, [&](TVec& v) { v.SetIt(std::span<const double>(a3)); },
         "Odd number of entries for complex data"},
        {"TVecs.SetIt odd complex", false, 2, [&](TVec& v) { v.SetIt(true, a7); },
         "Odd number of entries for complex data"},
        {"TVec1.SetIt negative", false, 4, [&](TVec& v) { v.SetIt(-1, a2); }, "Index < 0"},
        {"TVec1.SetIt real", false, 4, [&](TVec& v) { v.SetIt(3, a2); }, "(High(a)+1) > Length"},
        {"TVec1.SetDouble real", false, 4, [&](TVec& v) { v.SetDouble(3, a2); }, "(High(a)+1) > Length"},
        {"TVec1.SetIt complex", true, 2, [&](TVec& v) { v.SetIt(1, std::span<const double>(a7, 4)); },
         "((High(A)+1) div 2) > Length"},
        {"TVec1.SetSingle real", false, 4, [&](TVec& v) { v.SetSingle(2, f3); }, "(High(a)+1+Index) > Length"},
        {"TVec1.SetInteger real", false, 4, [&](TVec& v) { v.SetInteger(2, i3); }, "(High(a)+1+Index) > Length"},
        {"TVec1.SetSingle complex", true, 1, [&](TVec& v) { v.SetSingle(1, std::span<const float>(f3, 2)); },
         "((High(A)+1) div 2) > Length"},
        {"TVec1.SetInteger negative", false, 4, [&](TVec& v) { v.SetInteger(-2, i3); }, "Index < 0"},
        {"TVec.SetIt negative Index", false, 4, [&](TVec& v) { v.SetIt(-1, 0, 1, a3); }, "Index < 0"},
        {"TVec.SetIt negative AIndex", false, 4, [&](TVec& v) { v.SetIt(0, -1, 1, a3); }, "AIndex < 0"},
        {"TVec.SetIt negative Len", false, 4, [&](TVec& v) { v.SetIt(0, 0, -1, a3); }, "Len < 0"},
        {"TVec.SetIt both too long: Index first", false, 4, [&](TVec& v) { v.SetIt(2, 2, 3, a3); },
         "(Len+Index) > Length"},
        {"TVec.SetIt array too short", false, 4, [&](TVec& v) { v.SetIt(0, 1, 3, a3); }, "(Len+AIndex) > Length(a)"},
        {"TVec.SetIt complex counts 2 Len", true, 4, [&](TVec& v) { v.SetIt(0, 0, 2, a3); },
         "(Len+AIndex) > Length(a)"},
        {"adopt negative", false, 2, [](TVec& v) { v.Adopt(nullptr, 0, -1, false); }, "Adopt: Len < 0"},
        {"adopt too long", false, 2,
         [](TVec& v) {
             double d[3];
             v.Adopt(d, 3, 4, false);
         },
         "Adopt: Len > Length(Data)"},
        {"adopt complex too long", false, 2,
         [](TVec& v) {
             double d[3];
             v.Adopt(d, 3, 2, true);
         },
         "Adopt: Len > Length(Data)"},
        {"adopt nil", false, 2, [](TVec& v) { v.Adopt(nullptr, 3, 1, false); }, "Adopt: Data = nil"},
        {"slice negative", false, 2,
         [](TVec& v) {
             double *p1, *p2, *p3, *p4;
             v.SliceIt(1, -1, 0, 0, p1, p2, p3, p4);
         },
         "SliceIt: Len < 0"},
    };
    for (const Row& r : rows) {
        TVec v;
        v.Size(r.length, r.complex);
        Fill(v, 1);
        v.SetTag(77);
        const double* values = v.Values();
        const int capacity = v.ActualLength();
        if (*r.message == '\0') {
            EXPECT_NO_THROW(r.op(v)) << r.what;
            continue;
        }
        ExpectRaise([&] { r.op(v); }, r.message, r.what);
        EXPECT_EQ(v.Complex(), r.complex) << r.what << ": unchanged";
        EXPECT_EQ(v.Length(), r.length) << r.what << ": unchanged";
        EXPECT_EQ(v.ActualLength(), capacity) << r.what << ": unchanged";
        EXPECT_EQ(v.Values(), values) << r.what << ": unchanged";
        EXPECT_TRUE(Holds(v, (r.complex ? 2 : 1) * r.length, 1)) << r.what << ": values unchanged";
        v.SetIsSubRange(false);
    }
}

TEST_F(VecTest, UncheckedCopyInIsStillBoundByMemory)
{
    TVec v;
    v.SetLength(2);
    v.SetConditionCheck(false);
    std::vector<double> a(1026, 1.0);
    EXPECT_NO_THROW(v.SetIt(a)) << "within capacity + spare room";
    a.push_back(1.0);
    ExpectRaise([&] { v.SetIt(a); }, "(High(a)+1) > Length");
}

TEST_F(VecTest, AdoptWorksOnTheCallersArray)
{
    TSampleArray data{1, 2, 3, 4, 5, 6, 7};
    TVec v;
    v.SetLength(10);
    int events = 0;
    v.SetOnSetLength([&](TVecs&) { ++events; });
    v.Adopt(data, 3, true);
    EXPECT_EQ(events, 1) << "the complexity changed; the length is set without an event";
    EXPECT_TRUE(v.Complex());
    EXPECT_EQ(v.Length(), 3);
    EXPECT_EQ(v.ActualLength(), 0);
    EXPECT_EQ(v.AllocatedSize(), 0);
    EXPECT_EQ(v.Values(), data.data());
    v.CValues()[2].Im = -6;
    EXPECT_EQ(data[5], -6.0);

    // Nothing is written past the array: checks off, the bound is the array.
    v.SetConditionCheck(false);
    EXPECT_NO_THROW(v[6] = 70);
    EXPECT_THROW(v[7] = 80, Exception);
    v.SetConditionCheck(true);

    // Growing copies into an own block and leaves the array alone.
    v.Resize(5, true);
    EXPECT_NE(v.Values(), data.data());
    EXPECT_EQ(v.CValues()[2].Im, -6.0);
    EXPECT_EQ(v.CValues()[4].Re, 0.0);
    EXPECT_EQ(data[6], 70.0);

    // Disown hands the array back.
    v.Adopt(data.data(), 7, 7, false);
    double* out = nullptr;
    int len = -1;
    bool complex = true;
    v.Disown(out, len, complex);
    EXPECT_EQ(out, data.data());
    EXPECT_EQ(len, 7);
    EXPECT_FALSE(complex);
    EXPECT_EQ(v.Length(), 0);
    EXPECT_EQ(v.Values(), nullptr);
    v.SetLength(3);  // a fresh own block
    EXPECT_NE(v.Values(), nullptr);
    EXPECT_EQ(data[0], 1.0);
}

TEST_F(VecTest, DisownOfAnOwningVectorFreesItsBlock)
{
    TVec v;
    v.Size(10, true);
    double dummy = 0;
    double* out = &dummy;
    int len = -1;
    bool complex = false;
    v.Disown(out, len, complex);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(len, 0);
    EXPECT_TRUE(complex);
    EXPECT_EQ(v.ActualLength(), 0);
    EXPECT_EQ(v.Values(), nullptr);
    v.SetLength(4);
    v.CValues()[3] = Cplx(1, 2);  // a new block, not a write through nil
    EXPECT_EQ(v.ActualLength(), 512);
}

TEST_F(VecTest, ResetEmptiesAndKeepsWhatItShould)
{
    TVec v;
    v.Size(300, true);
    v.SetTag(5);
    v.SetDirty(true);
    v.SetCaption("x");
    v.SetConditionCheck(false);
    v.SetGaussSet(true);
    v.SetUniformSet(true);
    v.SetBlasAlpha(Cplx(2, 2));
    v.SetBlasBeta(Cplx(3, 3));
    int events = 0;
    v.SetOnSetLength([&](TVecs&) { ++events; });
    v.Reset();
    EXPECT_FALSE(v.Complex());
    EXPECT_EQ(v.Length(), 0);
    EXPECT_EQ(v.ActualLength(), 1024) << "the capacity stays";
    EXPECT_TRUE(v.ConditionCheck());
    EXPECT_FALSE(v.GaussSet());
    EXPECT_FALSE(v.UniformSet());
    EXPECT_EQ(v.Caption(), "");
    EXPECT_EQ(v.BlasAlpha().Re, 1.0);
    EXPECT_EQ(v.BlasBeta().Re, 0.0);
    EXPECT_EQ(v.Tag(), 5);
    EXPECT_TRUE(v.Dirty());
    EXPECT_EQ(events, 2);
    EXPECT_TRUE(static_cast<bool>(v.OnSetLength()));

    // An adopted array is dropped: a reset vector refers to no memory it does not own.
    double d[4] = {1, 2, 3, 4};
    v.Adopt(d, 4, 0, false);
    v.Reset();
    EXPECT_NE(v.Values(), d);
}

TEST_F(VecTest, ConditionCheckPairDoesNotNest)
{
    TVec v;
    v.CondDisable();
    v.CondDisable();
    v.CondEnable();
    EXPECT_FALSE(v.ConditionCheck());
    v.SetConditionCheck(true);
    v.CondDisable();
    EXPECT_FALSE(v.ConditionCheck());
    v.CondEnable();
    EXPECT_TRUE(v.ConditionCheck());
}

TEST_F(VecTest, Shift)
{
    struct Row {
        bool complex;
        int offset;
        std::vector<double> expected;
    };
    const Row rows[] = {
        {false, 2, {1, 2, 1, 2, 3}}, {false, -2, {3, 4, 5, 4, 5}},  {false, 0, {1, 2, 3, 4, 5}},
        {false, 5, {1, 2, 3, 4, 5}}, {false, 6, {1, 2, 3, 4, 5}},   {false, -6, {1, 2, 3, 4, 5}},
        {false, 4, {1, 2, 3, 4, 1}}, {true, 1, {1, 2, 1, 2, 3, 4}}, {true, -1, {3, 4, 5, 6, 5, 6}},
    };
    for (const Row& r : rows) {
        TVec v;
        if (r.complex)
            v.SetIt(true, {1, 2, 3, 4, 5, 6});
        else
            v.SetIt(false, {1, 2, 3, 4, 5});
        v.Shift(r.offset);
        for (std::size_t i = 0; i < r.expected.size(); ++i) {
            EXPECT_EQ(v.Values()[i], r.expected[i]) << "offset " << r.offset << " at " << i;
        }
    }
    TVec e;
    EXPECT_NO_THROW(e.Shift(3));
}

TEST_F(VecTest, AssignCopiesSettingsAndValues)
{
    TVec src, dst;
    src.SetIt(true, {1, 2, 3, 4});
    src.SetCaption("c");
    src.SetTag(9);
    src.SetDirty(true);
    src.SetConditionCheck(false);
    src.SetCacheIndex(3);
    int events = 0;
    dst.SetOnSetLength([&](TVecs&) { ++events; });
    dst.Assign(src);
    EXPECT_TRUE(dst.Complex());
    EXPECT_EQ(dst.Length(), 2);
    EXPECT_TRUE(Holds(dst, 4, 1));
    EXPECT_EQ(dst.Caption(), "c");
    EXPECT_EQ(dst.Tag(), 9);
    EXPECT_TRUE(dst.Dirty());
    EXPECT_FALSE(dst.ConditionCheck());
    EXPECT_EQ(dst.CacheIndex(), -1);
    EXPECT_GT(events, 0) << "the target keeps its own handler";
    src.SetCacheIndex(-1);

    dst.Assign(dst);
    EXPECT_TRUE(Holds(dst, 4, 1));

    TarnelAssignCopyData = false;
    TVec only;
    only.Assign(src);
    TarnelAssignCopyData = true;
    EXPECT_EQ(only.Length(), 0);
    EXPECT_EQ(only.Tag(), 9);
}

TEST_F(VecTest, SliceIt)
{
    TVec v;
    v.SetComplex(true);
    double *p1, *p2, *p3, *p4;
    v.SliceIt(2, 3, 0, 1, p1, p2, p3, p4);
    EXPECT_FALSE(v.Complex());
    EXPECT_EQ(v.Length(), 6);
    EXPECT_EQ(p1, v.Values());
    EXPECT_EQ(p2, v.Values() + 2);
    EXPECT_EQ(p3, v.Values() + 5);
    EXPECT_EQ(p4, v.Values() + 5);

    TCplx *c1, *c2, *c3, *c4;
    v.SliceIt(1, 1, 1, 1, c1, c2, c3, c4);
    EXPECT_TRUE(v.Complex());
    EXPECT_EQ(v.Length(), 4);
    EXPECT_EQ(c4, v.CValues() + 3);
}

TEST_F(VecTest, EnlistAndDismiss)
{
    TVec a, b;
    a.SetIt(false, {1, 2, 3});
    b.SetIt(true, {1, 2, 3, 4});
    TSampleView ra, rb;
    TCplxView ca, cb;
    Enlist(a, b, a, b, ra, rb, ca, cb);
    EXPECT_EQ(ra.Length(), 3);
    EXPECT_EQ(ra[2], 3.0);
    EXPECT_EQ(rb.Length(), 4) << "a real view of complex data counts Doubles";
    EXPECT_EQ(ca.Length(), 1) << "a complex view of real data counts whole pairs";
    EXPECT_EQ(cb.Length(), 2);
    EXPECT_EQ(cb[1].Im, 4.0);
    cb[0].Re = 10;
    EXPECT_EQ(b.Values()[0], 10.0);
    double sum = 0;
    for (double x : ra) sum += x;
    EXPECT_EQ(sum, 6.0);
    Dismiss(ra, rb, ca, cb);
    EXPECT_EQ(ra.data(), nullptr);
    EXPECT_EQ(cb.Length(), 0);
    EXPECT_TRUE(Holds(a, 3, 1)) << "Dismiss leaves the data alone";
    Enlist(a, ra);
    Dismiss(ra);
    Enlist(a, b, ra, cb);
    Enlist(a, a, b, ra, rb, cb);
    EXPECT_EQ(rb.Length(), 3);
    Dismiss(ra, rb, cb);
}

TEST_F(VecTest, TestNil)
{
    int x = 0;
    EXPECT_NO_THROW(TestNil(&x));
    EXPECT_NO_THROW(TestNil(&x, &x, &x, &x));
    ExpectRaise([&] { TestNil(nullptr); }, "TestNil: Nil pointer");
    ExpectRaise([&] { TestNil(&x, nullptr); }, "TestNil: Nil pointer");
    ExpectRaise([&] { TestNil(&x, &x, nullptr); }, "TestNil: Nil pointer");
    ExpectRaise([&] { TestNil(&x, &x, &x, nullptr); }, "TestNil: Nil pointer");
}

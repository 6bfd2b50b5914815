// The read-only array parameter of the library's members: what a caller may pass (brace lists, contiguous ranges,
// arrays of pointers to a derived class) and what does not compile (entries of another type).
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <list>
#include <span>
#include <vector>

#include "Feldrin.h"

using namespace tarnel;

namespace {

// ---- What does not compile ----------------------------------------------------------------------------------------
// Each call is a requirement of a template, so that a refused call makes the requirement false instead of breaking
// this file.

template <class V>
concept IntegersFromWholeNumbers = requires(V& v)
{
    v.SetInteger(false, {1, 2});
};
template <class V>
concept IntegersFromAFraction = requires(V& v)
{
    v.SetInteger(false, {1, 2.5});
};
template <class V>
concept SinglesFromASingle = requires(V& v, float f)
{
    v.SetSingle(false, {f, 1});
};
template <class V>
concept SinglesFromADouble = requires(V& v, double d)
{
    v.SetSingle(false, {d});
};
template <class V>
concept DoublesFromAnIntegerVariable = requires(V& v, int n)
{
    v.SetIt(false, {n});
};
template <class V, class R>
concept DoublesFrom = requires(V& v, R& r)
{
    v.SetIt(false, r);
};
template <class V, class R>
concept ConcatFrom = requires(V& v, R& r)
{
    v.Concat(r);
};
template <class V, class R>
concept SplitInto = requires(V& v, R& r)
{
    v.Split(r);
};

// A brace list converts its entries only where no value can change: no fraction to an integer, no Double variable
// to a Single, no Integer variable to a Double.
static_assert(IntegersFromWholeNumbers<TVec>);
static_assert(!IntegersFromAFraction<TVec>);
static_assert(SinglesFromASingle<TVec>);
static_assert(!SinglesFromADouble<TVec>);
static_assert(!DoublesFromAnIntegerVariable<TVec>);

// A range must hold the element type itself and lie in one piece.
static_assert(DoublesFrom<TVec, std::vector<double>>);
static_assert(DoublesFrom<TVec, const double[3]>);
static_assert(DoublesFrom<TVec, std::array<double, 3>>);
static_assert(DoublesFrom<TVec, std::span<const double>>);
static_assert(!DoublesFrom<TVec, std::vector<int>>);
static_assert(!DoublesFrom<TVec, std::vector<float>>);
static_assert(!DoublesFrom<TVec, std::list<double>>);

// Arrays of objects: pointers to the derived class are read as pointers to the base; a source array may hold const
// objects, a destination array may not; other classes are refused.
static_assert(ConcatFrom<TVec, std::vector<TVec*>>);
static_assert(ConcatFrom<TVec, std::vector<const TVec*>>);
static_assert(ConcatFrom<TVec, TVec* [2]>);
static_assert(!ConcatFrom<TVec, std::vector<TMtx*>>);
static_assert(SplitInto<TVec, std::vector<TVec*>>);
static_assert(!SplitInto<TVec, std::vector<const TVec*>>);

// An array of numbers is two words, as cheap to pass as a span.
static_assert(sizeof(TOpenArray<double>) == 2 * sizeof(void*));

template <class T>
std::vector<T> Entries(TOpenArray<T> A)
{
    std::vector<T> byIndex;
    for (std::size_t i = 0; i < A.size(); ++i) byIndex.push_back(A[i]);
    std::size_t k = 0;
    for (const T& e : A) {
        EXPECT_EQ(std::memcmp(&e, &byIndex[k], sizeof(T)), 0) << "iterating and indexing differ at " << k;
        ++k;
    }
    EXPECT_EQ(k, A.size());
    EXPECT_EQ(A.empty(), A.size() == 0);
    return byIndex;
}

template <class T>
const T* Address(TOpenArray<T> A)
{
    return A.data();
}

}  // namespace

TEST(OpenArray, EverySourceGivesTheCallersEntriesInPlace)
{
    const std::vector<double> expected{1, -2.5, 3};
    const std::vector<double> vec{1, -2.5, 3};
    const double carray[] = {1, -2.5, 3};
    const std::array<double, 3> arr{1, -2.5, 3};
    const TSampleArray samples{1, -2.5, 3};
    const double longer[] = {0, 1, -2.5, 3, 9};

    EXPECT_EQ(Entries<double>({1, -2.5, 3}), expected);
    EXPECT_EQ(Entries<double>(vec), expected);
    EXPECT_EQ(Entries<double>(carray), expected);
    EXPECT_EQ(Entries<double>(arr), expected);
    EXPECT_EQ(Entries<double>(samples), expected);
    EXPECT_EQ(Entries<double>(std::span<const double>(longer + 1, 3)), expected);
    EXPECT_EQ(Entries<double>(std::vector<double>{1, -2.5, 3}), expected) << "a temporary lives for the call";
    EXPECT_TRUE(Entries<double>({}).empty());
    EXPECT_TRUE(Entries<double>(std::vector<double>()).empty());

    // Nothing is copied: the view points at the caller's entries.
    EXPECT_EQ(Address<double>(vec), vec.data());
    EXPECT_EQ(Address<double>(carray), carray);
    EXPECT_EQ(Address<double>(std::span<const double>(longer + 1, 3)), longer + 1);

    // The other element types of the library's arrays.
    EXPECT_EQ(Entries<int>({-3, 0, 7}), (std::vector<int>{-3, 0, 7}));
    EXPECT_EQ(Entries<float>({0.5f, 1.5f}), (std::vector<float>{0.5f, 1.5f}));
    const std::vector<TCplx> z = Entries<TCplx>({{1, 2}, {3, -4}});
    ASSERT_EQ(z.size(), 2u);
    EXPECT_EQ(z[1].Re, 3.0);
    EXPECT_EQ(z[1].Im, -4.0);
}

namespace {

// A base that does not start the derived object, so that reading a derived pointer as a base pointer without
// converting it would give the wrong address.
struct First {
    int A = 1;
};
struct Second {
    int B = 2;
};
struct Both : First, Second {};

}  // namespace

TEST(OpenArray, PointersToADerivedClassAreConvertedEntryByEntry)
{
    Both x, y;
    std::vector<Both*> derived{&x, nullptr, &y};
    const std::vector<const Second*> got = Entries<const Second*>(derived);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], static_cast<const Second*>(&x));
    EXPECT_NE(static_cast<const void*>(got[0]), static_cast<const void*>(&x)) << "the fixture must shift the base";
    EXPECT_EQ(got[1], nullptr) << "a nil entry stays nil";
    EXPECT_EQ(got[2]->B, 2);

    // Pointers of the element type itself are read in place.
    const Second* direct[] = {&x, &y};
    EXPECT_EQ(Entries<const Second*>(direct), (std::vector<const Second*>{&x, &y}));
}

// The brace forms pick the same member as an array variable would: a Boolean first argument sizes the vector, an
// Integer one writes from that index on.
TEST(OpenArray, BraceListsReachTheRightMember)
{
    TVec v;
    v.SetIt(false, {1, 2, 3});
    EXPECT_FALSE(v.Complex());
    ASSERT_EQ(v.Length(), 3);
    EXPECT_EQ(v.Values()[2], 3.0);
    v.SetIt(true, {1, 2, 3, 4});
    EXPECT_TRUE(v.Complex());
    ASSERT_EQ(v.Length(), 2);
    EXPECT_EQ(v.CValues()[1].Im, 4.0);

    v.SetIt(false, {0, 0, 0, 0});
    v.SetIt(1, {7, 8});
    EXPECT_EQ(v.Length(), 4) << "the index form does not size";
    EXPECT_EQ((std::vector<double>(v.Values(), v.Values() + 4)), (std::vector<double>{0, 7, 8, 0}));
    v.SetIt({5});
    EXPECT_EQ(v.Values()[0], 5.0);
    v.SetInteger(true, {-3, 4});
    EXPECT_EQ(v.CValues()[0].Re, -3.0);
    v.SetIt(false, {});
    EXPECT_EQ(v.Length(), 0);
}

// Arrays of vectors and matrices from each kind of source: a brace list, a std::vector of the derived class, a C
// array and a span.
TEST(OpenArray, ObjectArraysFromEverySource)
{
    TVec a, b, c;
    a.SetIt(false, {1, 2});
    b.SetIt(false, {3});
    std::vector<TVec*> parts{&a, &b};
    c.Concat(parts);
    EXPECT_EQ((std::vector<double>(c.Values(), c.Values() + c.Length())), (std::vector<double>{1, 2, 3}));
    TVec* carray[] = {&b, &a};
    c.Concat(carray);
    EXPECT_EQ((std::vector<double>(c.Values(), c.Values() + c.Length())), (std::vector<double>{3, 1, 2}));

    TVec p, q;
    const std::array<TVec*, 2> dst{&p, &q};
    const std::vector<int> sizes{1, 2};
    c.Split(dst, sizes);
    EXPECT_EQ(p.Length(), 1);
    EXPECT_EQ(q.Values()[1], 2.0);

    SetVecSize(4, true, carray);
    EXPECT_EQ(a.Length(), 4);
    EXPECT_TRUE(b.Complex());

    TMtx A, B;
    std::vector<TMtx*> mtxs{&A, &B};
    SetMtxSize(2, 3, false, std::span<TMtx*>(mtxs));
    EXPECT_EQ(B.Cols(), 3);
    SetMtxSize(1, 1, true, {&A, &B});
    EXPECT_TRUE(A.Complex());
    EXPECT_EQ(B.Rows(), 1);
}

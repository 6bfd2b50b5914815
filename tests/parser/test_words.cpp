// The words, the collections and the dictionary of the expression compiler.
#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ParserGolden.h"
#include "TestSupport.h"
#include "TestWords.h"

using namespace tarnel;
using testsupport::ExpectRaise;

namespace {

using namespace parsertest;

class ParserWords : public testsupport::PoolCheck {};

// An item that records its release, and can be told to raise instead.
struct TItem {
    int Key;
    std::vector<int>* Log;
    bool Raise = false;
};

class TLoggingCollection : public TOCollection<TItem> {
public:
    ~TLoggingCollection() override { ReleaseAll(); }
    void ReleaseItem(TItem* Item) override
    {
        Item->Log->push_back(Item->Key);
        const bool raise = Item->Raise;
        delete Item;
        if (raise) throw std::runtime_error("release failed");
    }
};

class TIntCollection : public TSortedCollection<TItem, int> {
public:
    int CompareKeys(int a, int b) const override { return a < b ? -1 : a > b ? 1 : 0; }
    int ItemKey(TItem* Item) const override { return Item->Key; }
};

}  // namespace

TEST_F(ParserWords, ReleaseAllGoesLastToFirstAndReleasesAllEvenWhenOneRaises)
{
    std::vector<int> log;
    TLoggingCollection c;
    for (int k = 1; k <= 4; ++k) c.Add(new TItem{k, &log, k == 3});
    EXPECT_THROW(c.ReleaseAll(), std::runtime_error);
    EXPECT_EQ(c.Count(), 0);
    // All were released, last first, despite the raise (the leak check would show one lost).
    EXPECT_EQ(log, (std::vector<int>{4, 3, 2, 1}));
    c.Add(new TItem{5, &log});  // the destructor releases what the list holds then
}

TEST_F(ParserWords, NonOwningCollectionNeverFreesItsItems)
{
    std::vector<int> log;
    TItem a{1, &log}, b{2, &log};
    {
        TNoOwnerCollection<TItem> c(4);
        c.Add(&a);
        c.Add(&b);
        c.ReleaseAll();
        EXPECT_EQ(c.Count(), 0);
        c.Add(&a);
    }  // leaves a alone
    EXPECT_EQ(a.Key, 1);
}

TEST_F(ParserWords, SortedCollectionSearchInsertReplaceAndDuplicates)
{
    std::vector<int> log;
    TIntCollection c;
    for (int k : {5, 1, 3}) EXPECT_TRUE(c.InsertItem(new TItem{k, &log}));
    TItem* dup = new TItem{3, &log};
    EXPECT_FALSE(c.InsertItem(dup));  // refused: the caller keeps it
    EXPECT_EQ(c.Count(), 3);
    int at = -1;
    EXPECT_TRUE(c.SearchKey(3, at));
    EXPECT_EQ(at, 1);
    EXPECT_FALSE(c.SearchKey(4, at));
    EXPECT_EQ(at, 2);  // the insertion point
    EXPECT_FALSE(c.SearchKey(9, at));
    EXPECT_EQ(at, 3);
    EXPECT_EQ(c.IndexOfItem(dup), 1);  // without duplicates: the position of the key

    // ReplaceItem takes the old item out without freeing it.
    TItem* old = c.Items(1);
    EXPECT_TRUE(c.ReplaceItem(dup));
    EXPECT_EQ(c.Items(1), dup);
    EXPECT_TRUE(log.empty());
    delete old;

    // With duplicates: the leftmost equal key, and IndexOfItem scans forward to the item itself.
    c.Duplicates = true;
    TItem* second = new TItem{3, &log};
    TItem* third = new TItem{3, &log};
    EXPECT_TRUE(c.InsertItem(second));
    EXPECT_TRUE(c.InsertItem(third));
    EXPECT_TRUE(c.SearchKey(3, at));
    EXPECT_EQ(at, 1);
    EXPECT_EQ(c.Items(at), third);  // inserted at the leftmost equal key
    EXPECT_EQ(c.IndexOfItem(dup), 3);
    EXPECT_EQ(c.IndexOfItem(third), 1);
    TItem stranger{3, &log};
    EXPECT_EQ(c.IndexOfItem(&stranger), -1);  // runs off the end
    TItem absent{7, &log};
    EXPECT_EQ(c.IndexOfItem(&absent), -1);
    ExpectRaise([&] { c.Items(c.Count()); }, "List index out of bounds (" + std::to_string(c.Count()) + ")");
    ExpectRaise([&] { c.Delete(-1); }, "List index out of bounds (-1)");
}

TEST_F(ParserWords, DictionaryOrderFoldsToUpperCase)
{
    TExpressList d(10);
    // inserted in a scrambled order
    std::vector<std::string> names(std::begin(kDictionaryOrder), std::end(kDictionaryOrder));
    std::vector<std::string> scrambled = names;
    std::shuffle(scrambled.begin(), scrambled.end(), std::mt19937(5));
    for (const std::string& n : scrambled) EXPECT_TRUE(d.InsertItem(new TDoubleConstant(n, 1.0))) << n;
    ASSERT_EQ(static_cast<std::size_t>(d.Count()), names.size());
    for (int i = 0; i < d.Count(); ++i) EXPECT_EQ(d.Items(i)->Name(), names[static_cast<std::size_t>(i)]) << i;

    // Case does not matter, and a second word of a known name is refused and leaves the dictionary as it was.
    TExprWord* pi = d.Find("pi");
    EXPECT_EQ(d.Find("PI"), pi);
    EXPECT_EQ(d.Find("Pi"), pi);
    TDoubleConstant other("PI", 2.0);
    EXPECT_EQ(other.Name(), "pi");
    EXPECT_FALSE(d.InsertItem(&other));
    EXPECT_EQ(d.Find("pi"), pi);
    EXPECT_EQ(static_cast<std::size_t>(d.Count()), names.size());
}

TEST_F(ParserWords, ConstantForms)
{
    struct TCase {
        const char* Text;
        double Re, Im;
        bool Complex;
    } cases[] = {
        {"2i", 0, 2, true},       {"2", 2, 0, false},       {"1e-3i", 0, 0.001, true},
        {"1e+3i", 0, 1000, true}, {"1.5e2", 150, 0, false},
    };
    for (const TCase& c : cases) {
        TDoubleConstant k(c.Text, c.Text);
        const TValueRef* r = k.ValueRef();
        EXPECT_EQ(r->IsComplex, c.Complex) << c.Text;
        EXPECT_EQ(k.CValue().Re, c.Re) << c.Text;
        EXPECT_EQ(k.CValue().Im, c.Im) << c.Text;
        EXPECT_EQ(k.Value(), c.Re) << c.Text;  // FValue is always the real part
        EXPECT_EQ(*r->RealLoc, c.Re);
        EXPECT_EQ(r->CplxLoc, &k.CValue());
    }
    // No text: the real NaN. Made from CNAN: complex (its imaginary part is not 0).
    TDoubleConstant none("x", std::string_view());
    EXPECT_FALSE(none.ValueRef()->IsComplex);
    EXPECT_TRUE(std::isnan(none.Value()));
    TDoubleConstant cnan("cnan", CNAN);
    EXPECT_TRUE(cnan.ValueRef()->IsComplex);
    TGeneratedVariable unknown("Foo");
    EXPECT_EQ(unknown.Name(), "foo");
    EXPECT_FALSE(unknown.ValueRef()->IsComplex);
    EXPECT_TRUE(std::isnan(*unknown.ValueRef()->RealLoc));
    EXPECT_TRUE(unknown.CanVary());
    EXPECT_EQ(unknown.AsString(), "");
    EXPECT_EQ(unknown.Kind(), wkNumber);
    TBooleanConstant yes("", 1);
    EXPECT_EQ(yes.Kind(), wkBoolean);
    EXPECT_FALSE(yes.ValueRef()->IsComplex);

    TCplx v{1, 2};
    TDoubleVariable var("V", v);
    EXPECT_TRUE(var.ValueRef()->IsComplex);
    EXPECT_EQ(var.ValueRef()->CplxLoc, &v);
    EXPECT_EQ(var.ValueRef()->RealLoc, &v.Re);  // the real form of a bound value is its real part
    EXPECT_TRUE(var.CanVary());
}

TEST_F(ParserWords, FunctionsAndOperators)
{
    TFunction f("Max", parsertest::Sum8, 2);
    EXPECT_EQ(f.Name(), "max");
    EXPECT_FALSE(f.IsOperator());
    EXPECT_EQ(f.Precedence(), 0);
    EXPECT_EQ(f.ArgCount(), 2);
    TFunction op("+", parsertest::Sum8, 2, true, 40);
    EXPECT_TRUE(op.IsOperator());
    EXPECT_EQ(op.Precedence(), 40);
    TFunction eight("f8", parsertest::Sum8, 8);
    EXPECT_EQ(eight.ArgCount(), 8);
    ExpectRaise([] { TFunction nine("f9", parsertest::Sum8, 9); }, "Too many arguments");
    ExpectRaise([] { TVaryingFunction nine("f9", parsertest::Sum8, 9, true, 5); }, "Too many arguments");
    EXPECT_TRUE(TVaryingFunction("r", parsertest::Counter, 0).CanVary());
    EXPECT_EQ(TBooleanFunction("=", parsertest::Sum8, 2, true, 50).Kind(), wkBoolean);
}

TEST_F(ParserWords, StringComparisons)
{
    struct TCase {
        const char* Op;
        const char* Left;
        const char* Right;
        bool Result;
    } cases[] = {
        {"=", "'abc'", "'abc'", true},    {"=", "'abc'", "'abd'", false},
        {">", "'b'", "'abc'", true},      {"<", "'b'", "'abc'", false},
        {">=", "'a'", "'a'", true},       {"<=", "'a'", "'b'", true},
        {"<=", "'c'", "'b'", false},      {"in", "'abc'", "'x,abc,y'", true},
        {"in", "'ab'", "'x, ab'", false},  // items keep their blanks
        {"in", "'ab'", "'ab'", true},      // no "," is one item
        {"in", "''", "'a,'", true},        // an empty last item
        {"in", "'x'", "'xy'", false},
    };
    for (const TCase& c : cases) {
        TStringConstant l(c.Left), r(c.Right);
        TLogicalStringOper op(c.Op, &l, &r);
        EXPECT_EQ(op.Kind(), wkBoolean);
        EXPECT_EQ(op.ArgCount(), 0);
        EXPECT_EQ(op.ValueRef(), nullptr);
        EXPECT_FALSE(op.CanVary());
        EXPECT_EQ(op.Compare(), c.Result) << c.Left << c.Op << c.Right;
    }
    TStringConstant a("'a'"), b("'b'");
    ExpectRaise([&] { TLogicalStringOper op("<>", &a, &b); }, "<> is not a valid string operand");
    ExpectRaise([&] { TLogicalStringOper op("+", &a, &b); }, "+ is not a valid string operand");

    // The text between the quotes, or the whole token when it is not closed.
    EXPECT_EQ(TStringConstant("'x y'").AsString(), "x y");
    EXPECT_EQ(TStringConstant("'open").AsString(), "'open");
    EXPECT_EQ(TStringConstant("'").AsString(), "'");
    EXPECT_EQ(TStringConstant("''").AsString(), "");

    TGeneratedVariable g("g");
    TLogicalStringOper varying("=", &a, &g);
    EXPECT_TRUE(varying.CanVary());
}

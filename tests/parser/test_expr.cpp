// The parser class: the list policy (MaxExpressions, Insert, Delete, the current expression), evaluation, bound
// variables, AsHexadecimal, the stream record and the change event.
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "ParserGolden.h"
#include "TestSupport.h"
#include "TestWords.h"

using namespace tarnel;
using parsertest::TLanguage;
using testsupport::ExpectRaise;

namespace {

using namespace parsertest;

class ParserClass : public testsupport::PoolCheck {};

std::vector<std::string> Texts(const TStringList& L)
{
    std::vector<std::string> t;
    for (int i = 0; i < L.Count(); ++i) t.push_back(L[i]);
    return t;
}
using TTexts = std::vector<std::string>;

// The parser owns its compiled expressions: no copy of it, and no plain list sliced from it, may share them.
static_assert(!std::is_copy_constructible_v<TMtxExpression> && !std::is_copy_assignable_v<TMtxExpression>);
static_assert(!std::is_constructible_v<TStringList, const TMtxExpression&>);
static_assert(!std::is_assignable_v<TStringList&, const TMtxExpression&>);

}  // namespace

TEST_F(ParserClass, MaxExpressionsKeepsTheNewestAndTheNewOneIsCurrent)
{
    TMtxExpression P;
    EXPECT_EQ(P.MaxExpressions(), 10);
    EXPECT_EQ(P.CurrentIndex(), -1);
    P.SetMaxExpressions(2);
    EXPECT_EQ(P.Add("1"), 0);
    EXPECT_EQ(P.Add("2"), 1);
    EXPECT_EQ(P.Add("3"), 1);
    EXPECT_EQ(Texts(P), (TTexts{"2", "3"}));
    EXPECT_EQ(P.CurrentIndex(), 1);
    EXPECT_EQ(P.AsFloat(), 3);

    // Lowered below the count: the next Add keeps the newest MaxExpressions.
    P.SetMaxExpressions(10);
    for (const char* t : {"4", "5", "6"}) P.Add(t);
    P.SetMaxExpressions(2);
    EXPECT_EQ(P.Add("7"), 1);
    EXPECT_EQ(Texts(P), (TTexts{"6", "7"}));

    // 0 or below keeps nothing: -1, no current expression (the expression just added is not evaluated, it is gone).
    for (int max : {0, -3}) {
        P.SetMaxExpressions(max);
        EXPECT_EQ(P.Add("8"), -1);
        EXPECT_EQ(P.Count(), 0);
        EXPECT_EQ(P.CurrentIndex(), -1);
        ExpectRaise([&] { P.AsFloat(); }, "No expression found!");
    }
}

TEST_F(ParserClass, NoExpressionFound)
{
    TMtxExpression P;
    ExpectRaise([&] { P.AsFloat(); }, "No expression found!");
    ExpectRaise([&] { P.AsCplx(); }, "No expression found!");
    ExpectRaise([&] { P.AsHexadecimal(); }, "No expression found!");
    EXPECT_EQ(P.OperationCount(), 0);
    P.Add("1+2");
    P.Add("3");
    P.SetCurrentIndex(7);  // stored, but no expression there
    EXPECT_EQ(P.CurrentIndex(), 7);
    ExpectRaise([&] { P.AsFloat(); }, "No expression found!");
    ExpectRaise([&] { P.OperationCount(); }, "List index out of bounds (7)");
    P.SetCurrentIndex(0);
    EXPECT_EQ(P.AsFloat(), 3);
    EXPECT_EQ(P.OperationCount(), 1);

    // An entry without a compiled form is never evaluated.
    EXPECT_EQ(P.AddObject("no form", nullptr), 2);
    P.SetCurrentIndex(2);
    ExpectRaise([&] { P.AsFloat(); }, "No expression found!");
    EXPECT_EQ(P.OperationCount(), 0);

    // An empty text adds nothing and stores -1, while the expression evaluated stays.
    P.SetCurrentIndex(1);
    EXPECT_EQ(P.Add(""), -1);
    EXPECT_EQ(P.CurrentIndex(), -1);
    EXPECT_EQ(P.Count(), 3);
    EXPECT_EQ(P.AsFloat(), 3);
    EXPECT_EQ(P.OperationCount(), 0);
}

TEST_F(ParserClass, InsertDeleteAndTheCurrentIndex)
{
    TMtxExpression P;
    P.Add("10");
    P.Add("20");
    P.Insert(0, "30");
    EXPECT_EQ(Texts(P), (TTexts{"30", "20", "10"}));  // the old entry at 0 moved to the end
    EXPECT_EQ(P.CurrentIndex(), 0);
    EXPECT_EQ(P.AsFloat(), 30);  // index and evaluated expression agree
    P.Insert(3, "40");           // at Count: appended
    EXPECT_EQ(Texts(P), (TTexts{"30", "20", "10", "40"}));
    EXPECT_EQ(P.CurrentIndex(), 3);
    ExpectRaise([&] { P.Insert(5, "50"); }, "List index out of bounds (5)");
    ExpectRaise([&] { P.Insert(-1, "50"); }, "List index out of bounds (-1)");
    P.Insert(1, "");  // adds nothing, exchanges nothing
    EXPECT_EQ(Texts(P), (TTexts{"30", "20", "10", "40"}));
    EXPECT_EQ(P.Count(), 4);

    // Delete: the current index becomes min(old, Count-1); deleting before the current one makes the following
    // expression current.
    P.SetCurrentIndex(1);
    P.Delete(0);
    EXPECT_EQ(Texts(P), (TTexts{"20", "10", "40"}));
    EXPECT_EQ(P.CurrentIndex(), 1);
    EXPECT_EQ(P.AsFloat(), 10);
    P.SetCurrentIndex(2);
    P.Delete(2);
    EXPECT_EQ(P.CurrentIndex(), 1);
    EXPECT_EQ(P.AsFloat(), 10);
    ExpectRaise([&] { P.Delete(2); }, "List index out of bounds (2)");
    EXPECT_EQ(P.Count(), 2);
    P.Delete(0);
    P.Delete(0);
    EXPECT_EQ(P.CurrentIndex(), -1);
    ExpectRaise([&] { P.AsFloat(); }, "No expression found!");

    // MaxExpressions trims before the exchange: the new text lands at Index within what is kept.
    P.SetMaxExpressions(2);
    P.Add("1");
    P.Add("2");
    P.Insert(0, "3");
    EXPECT_EQ(Texts(P), (TTexts{"3", "2"}));
    EXPECT_EQ(P.AsFloat(), 3);
    P.Insert(2, "4");  // Index was Count; after the trim the new one is already last
    EXPECT_EQ(Texts(P), (TTexts{"2", "4"}));
    EXPECT_EQ(P.AsFloat(), 4);
}

TEST_F(ParserClass, AssigningATextRecompilesIt)
{
    TMtxExpression P;
    P.Add("1+1");
    P.Add("5");
    P.SetCurrentIndex(0);
    P.Put(0, "2*3");
    EXPECT_EQ(P[0], "2*3");
    EXPECT_EQ(P.AsFloat(), 6);
    ExpectRaise([&] { P.Put(0, "2*"); }, "Syntax error: function or operand has too few arguments");
    EXPECT_EQ(P[0], "2*3");  // kept, compiled form included
    EXPECT_EQ(P.AsFloat(), 6);
    ExpectRaise([&] { P.Put(2, "1"); }, "List index out of bounds (2)");
    // A sorted parser refuses new expressions; its current index follows the current expression.
    P.SetSorted(true);
    EXPECT_EQ(Texts(P), (TTexts{"2*3", "5"}));
    ExpectRaise([&] { P.Add("7"); },
                "Expressions may not be sorted! (an expression's index is its place in the order of adding)");
    EXPECT_EQ(P.Count(), 2);
    ExpectRaise([&] { P.Put(0, "8"); }, "Operation not allowed on sorted list");
    EXPECT_EQ(P[0], "2*3");
    P.Exchange(0, 1);
    EXPECT_EQ(P.CurrentIndex(), 1);
    EXPECT_EQ(P.AsFloat(), 6);
}

TEST_F(ParserClass, VariablesBoundBeforeAndAfterCompiling)
{
    TMtxExpression P;
    TCplx x{1, 0}, y{2, 0};
    P.Add("x + 1");  // x is an unknown name from now on
    P.DefineVariable("x", x);
    EXPECT_TRUE(std::isnan(P.AsFloat()));
    P.DefineVariable("y", y);  // defined first: followed at every evaluation
    P.Add("y + 1");
    EXPECT_EQ(P.AsFloat(), 3);
    y = TCplx{5, 1};
    EXPECT_EQ(P.AsCplx().Re, 6);
    EXPECT_EQ(P.AsCplx().Im, 1);
    // A built-in name keeps its meaning.
    TCplx pi{7, 0};
    P.DefineVariable("PI", pi);
    P.Add("pi");
    EXPECT_EQ(P.AsFloat(), PI);
    // A bound variable always reads as complex.
    P.Add("y");
    y = TCplx{-4, 0};
    P.Add("sqrt(y)");
    EXPECT_EQ(P.AsCplx().Im, 2);
}

TEST_F(ParserClass, AsHexadecimalAgainstPython)
{
    for (const THexadecimalCase& c : kHexadecimalCases) {
        TMtxExpression P;
        P.Add(c.Text);
        EXPECT_EQ(P.AsHexadecimal(), std::string("$") + c.Hexadecimal) << c.Text;
    }
    TMtxExpression P;
    P.SetHexChar('#');
    P.Add("#ff + 1");
    EXPECT_EQ(P.AsHexadecimal(), "#100");
}

TEST_F(ParserClass, StreamRecord)
{
    TMtxExpression P;
    P.Add("a+1");
    P.Add("b");
    TMemoryStream s;
    P.SaveToStream(s);
    ASSERT_EQ(s.Size(), static_cast<std::int64_t>(sizeof kSavedRecord));
    EXPECT_EQ(std::memcmp(s.Memory(), kSavedRecord, sizeof kSavedRecord), 0);
    // Seen as any list of lines, the parser still writes its record, not the plain lines.
    const TStrings& lines = P;
    TMemoryStream viaBase;
    lines.SaveToStream(viaBase);
    ASSERT_EQ(viaBase.Size(), static_cast<std::int64_t>(sizeof kSavedRecord));
    EXPECT_EQ(std::memcmp(viaBase.Memory(), kSavedRecord, sizeof kSavedRecord), 0);

    TMtxExpression Q;
    Q.Add("old");
    s.SetPosition(0);
    Q.LoadFromStream(s);
    EXPECT_EQ(Texts(Q), (TTexts{"a+1", "b"}));
    EXPECT_EQ(Q.CurrentIndex(), 1);
    EXPECT_EQ(s.Position(), s.Size());

    // Lines end at CR, LF or CR LF; no empty last line; MaxExpressions applies.
    auto record = [](const std::string& text) {
        std::string r(4, '\0');
        const auto n = static_cast<std::uint32_t>(text.size());
        for (int k = 0; k < 4; ++k) r[k] = static_cast<char>(n >> (8 * k));
        return r + text;
    };
    TStringStream mixed(record("1\r2\n3\r\n4"));
    Q.SetMaxExpressions(3);
    Q.LoadFromStream(mixed);
    EXPECT_EQ(Texts(Q), (TTexts{"2", "3", "4"}));
    EXPECT_EQ(Q.AsFloat(), 4);

    // A line that fails raises; the lines before it stay, those after it are not added.
    TStringStream failing(record("7\r\n3+\r\n9\r\n"));
    ExpectRaise([&] { Q.LoadFromStream(failing); }, "Syntax error: function or operand has too few arguments");
    EXPECT_EQ(Texts(Q), (TTexts{"7"}));

    // A length below 0 or past the end changes nothing, the stream's position included.
    for (const std::string& data : {std::string("\xff\xff\xff\xff", 4) + "1\r\n", record("12").substr(0, 5)}) {
        TStringStream st(data);
        st.SetPosition(0);
        EXPECT_THROW(Q.LoadFromStream(st), EReadError);
        EXPECT_EQ(Texts(Q), (TTexts{"7"}));
        EXPECT_EQ(st.Position(), 0);
    }
}

TEST_F(ParserClass, TheChangeEventFollowsEveryChange)
{
    TMtxExpression P;
    std::vector<int> seen;  // the current index at each event
    P.OnChange = [&](TStringList&) { seen.push_back(P.CurrentIndex()); };
    P.Add("1");
    P.Add("2");
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));  // once per Add, after the index is set
    seen.clear();
    P.Add("");
    ExpectRaise([&] { P.Add("1+"); }, "Syntax error: function or operand has too few arguments");
    P.SetCurrentIndex(0);
    EXPECT_TRUE(seen.empty());  // nothing changed
    P.Insert(0, "3");
    P.Delete(2);
    P.Put(0, "4");
    P.Exchange(0, 1);
    P.Clear();
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 0, 1, -1}));
    seen.clear();
    TStringStream s(std::string("\x06\x00\x00\x00", 4) + "5\r\n6\r\n");
    P.LoadFromStream(s);
    EXPECT_EQ(seen, (std::vector<int>{1}));
}

TEST_F(ParserClass, TheDictionaryIsFilledAtFirstUseByTheDescendantsDefineWords)
{
    TMtxExpression P;  // a plain parser is ready as it stands
    EXPECT_EQ(P.WordCount(), 121);
    TLanguage L;  // a descendant's DefineWords is the one that runs
    EXPECT_EQ(L.WordCount(), 123);
    L.Add("sum8(1, 2, 3, 4, 5, 6, 7, 8)");
    EXPECT_EQ(L.AsFloat(), 36);

    // The separator is read when the dictionary is filled; setting it later only stores it.
    TMtxExpression S;
    S.SetSeparator(';');
    S.Add("max(1; 2)");
    EXPECT_EQ(S.AsFloat(), 2);
    S.SetSeparator(',');
    EXPECT_EQ(S.Separator(), ',');
    S.Add("max(3; 4)");
    EXPECT_EQ(S.AsFloat(), 4);
}

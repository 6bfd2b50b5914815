// Tokenizer and syntax check: the words a text becomes, the rewrites of the check and its messages.
#include <cmath>
#include <string>

#include "ParserGolden.h"
#include "TestSupport.h"
#include "TestWords.h"

using namespace tarnel;
using parsertest::TLanguage;
using testsupport::ExpectRaise;

namespace {

using namespace parsertest;

class ParserTokens : public testsupport::PoolCheck {};

std::string Names(const TExprCollection& Words)
{
    std::string s;
    for (const TExprWord* w : Words.List()) s += (s.empty() ? "" : " ") + w->Name();
    return s;
}

std::string Tokens(TLanguage& L, std::string_view Text)
{
    return Names(*Tokenize(L.Context(), Text));
}

std::string Checked(TLanguage& L, std::string_view Text)
{
    auto words = Tokenize(L.Context(), Text);
    CheckSyntax(L.Context(), *words);
    return Names(*words);
}

// Restores the process-wide decimal separator.
struct TSeparator {
    char Old = DecimalSeparator();
    explicit TSeparator(char c) { SetDecimalSeparator(c); }
    ~TSeparator() { SetDecimalSeparator(Old); }
};

}  // namespace

TEST_F(ParserTokens, TokensOfATextTable)
{
    TLanguage L;
    const struct {
        const char* Text;
        const char* Words;
    } cases[] = {
        {"  Sin(X)+2.5E3  ", "sin ( x ) + 2.5e3"},
        {"a:=b", "a := b"},
        {"1<=2<>3>=4", "1 <= 2 <> 3 >= 4"},
        {"a==b != c && d || e", "a == b != c && d || e"},
        {"a=<b=>c><d<<e>>f", "a =< b => c >< d << e >> f"},
        {"x!%~\\;", "x ! % ~ \\ ;"},
        {"2x", "2 x"},
        {"1e-3i*2i", "1e-3i * 2i"},
        {"1.5.5", "1.5 .5"},
        {"'a b' = 'c'", "'a b' = 'c'"},
        {"'unclosed + 1", "'unclosed + 1"},  // an unclosed quote runs to the end
        {"$ff+$", "255 + $"},                // "$" with no digit after it is an identifier
        {"$xyz", "$xyz"},
        {"$ffffffff", "-1"},
        {"a\tb", "a b"},  // a tab is no blank, but a token of its own that trims to nothing
        {"-", "-"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(L, c.Text), c.Words) << c.Text;
}

TEST_F(ParserTokens, WordsComeFromTheDictionaryOrJoinIt)
{
    TLanguage L;
    const int before = L.WordCount();
    const int constants = L.ConstantList().Count();
    auto words = Tokenize(L.Context(), "PI + newname * 'txt' + 2 + newname");
    ASSERT_EQ(words->Count(), 9);
    EXPECT_EQ(words->Items(0), L.Dictionary().Find("pi"));
    EXPECT_EQ(typeid(*words->Items(2)), typeid(TGeneratedVariable));
    EXPECT_EQ(words->Items(2), words->Items(8));  // found again in the dictionary
    EXPECT_EQ(L.Dictionary().Count(), before + 1);
    EXPECT_EQ(L.ConstantList().Count(), constants + 2);  // the string and the number
    EXPECT_EQ(words->Items(4)->Kind(), wkString);
    EXPECT_EQ(words->Items(4)->AsString(), "txt");
}

TEST_F(ParserTokens, HexadecimalLiteralsWrapAt32Bits)
{
    TLanguage L;
    for (const THexCase& c : kHexCases) {
        const std::string text = std::string("$") + c.Digits;
        if (c.Valid) {
            auto e = L.Compile(text);
            EXPECT_EQ(parsertest::ValueOf(*e).Z.Re, static_cast<double>(c.Value)) << text;
        } else {
            try {
                L.Compile(text);
                ADD_FAILURE() << text << " was accepted";
            } catch (const EConvertError& e) {
                EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
            }
        }
    }
    // Another prefix character; the error names the literal with "$", as the run-time converts it.
    TLanguage H(false, '#');
    EXPECT_EQ(parsertest::ValueOf(*H.Compile("#1F + 1")).Z.Re, 32);
    EXPECT_EQ(Tokens(H, "$1"), "$ 1");
    EXPECT_EQ(parsertest::ValueOf(*H.Compile("#1e+5")).Z.Re, 35);  // "e" is a digit here, never an exponent
    for (const char* bad : {"#1.5", "#ffi"}) {
        try {
            H.Compile(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'$" + std::string(bad + 1) + "' is not a valid integer value");
        }
    }
}

TEST_F(ParserTokens, DecimalSeparatorIsReadAtEachCall)
{
    TLanguage L(false, '$', ';');
    {
        TSeparator comma(',');
        EXPECT_EQ(Tokens(L, "1,5*2"), "1,5 * 2");
        EXPECT_EQ(parsertest::ValueOf(*L.Compile("1,5*2")).Z.Re, 3);
        EXPECT_EQ(parsertest::ValueOf(*L.Compile("max(1,5; 2)")).Z.Re, 2);
        EXPECT_EQ(Checked(L, "x^2,0"), "x ^ 2,0");  // a decimal separator in the name keeps "^"
    }
    EXPECT_EQ(Tokens(L, "1,5"), "1 , 5");
    EXPECT_EQ(Checked(L, "x^2.0"), "x ^ 2.0");
}

TEST_F(ParserTokens, RewritesOfTheCheck)
{
    TLanguage L;
    const struct {
        const char* Text;
        const char* Words;
    } cases[] = {
        {"--x", "+@ x"},
        {"-+-x", "+@ x"},
        {"-x", "-@ x"},
        {"+x", "+@ x"},
        {"2*-3", "2 * -@ 3"},
        {"2 - -3", "2 - -@ 3"},
        {"max(-1, +-2)", "max ( -@ 1 , -@ 2 )"},
        {"a-b", "a - b"},
        {"(x)-y", "( x ) - y"},
        {"not not x", "x"},
        {"not not not x", "not x"},
        {"1 + not not 2", "1 + 2"},
        {"(not not not 1)", "( not 1 )"},
        {"x not 1", "x not 1"},  // no run after a value
        {"x^2", "x ^@ 2"},
        {"x^-2", "x ^ -@ 2"},
        {"x^$ff", "x ^@ 255"},
        {"x^2.0", "x ^ 2.0"},
        {"x^y", "x ^ y"},
        {"x^1e-3", "x ^ 1e-3"},  // not a whole number
        {"x^1e3", "x ^@ 1e3"},   // a whole one, written with an exponent
        {"x^3e9", "x ^ 3e9"},    // beyond the 32-bit exponents
        {"x^2i", "x ^ 2i"},      // complex
        {"x^pi", "x ^ pi"},      // a named constant that is no whole number
        {"'a' = 'b'", "="},
        {"'a' in 'a,b' and 'c' < 'd'", "in and <"},
        {"1 + ('x' >= 'y')", "1 + ( >= )"},
    };
    for (const auto& c : cases) EXPECT_EQ(Checked(L, c.Text), c.Words) << c.Text;
}

TEST_F(ParserTokens, MessagesOfTheCheck)
{
    TLanguage L;
    const struct {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"((1)", "Unequal brackets"},
        {"(1))", "Unequal brackets"},
        {")1(", "Unequal brackets"},  // a ")" that closes nothing
        {"a b", "a two space limited variables/constants"},
        {"2x", "2 two space limited variables/constants"},
        {"a == b", "a two space limited variables/constants"},  // "==" is an unknown identifier
        {"foo(1)", "foo is an unknown function"},
        {"()", "Empty brackets ()"},
        {"1+(", "Unequal brackets"},
        {"(1)(2)", "Missing operand between )("},
        {"(1)2", "Missing operand between ) and constant/variable"},
        {"2(1)", "Missing operand between constant/variable and ("},
        {"'a' + 'b'", "+ is not a valid string operand"},
        {"'a' <> 'b'", "<> is not a valid string operand"},
        {"'abc'", "'abc' can only be compared with a string"},
        {"'a' + 1", "'a' can only be compared with a string"},
        {"'a' := 1", "'a' can only be compared with a string"},
        {"'a' = 'b' = 'c'", "'a' can only be compared with a string"},
        {"'a' 'b'", "'a' two space limited variables/constants"},
    };
    for (const auto& c : cases) ExpectRaise([&] { Checked(L, c.Text); }, c.Message, c.Text);
}

TEST_F(ParserTokens, NewNamesAndConstantsStayAfterAFailedCompile)
{
    TLanguage L;
    const int constants = L.ConstantList().Count();
    ExpectRaise([&] { L.Compile("unknown1 + 2 + unknown2 unknown3"); },
                "unknown2 two space limited variables/constants");
    EXPECT_NE(L.Dictionary().Find("unknown1"), nullptr);
    EXPECT_NE(L.Dictionary().Find("unknown2"), nullptr);
    EXPECT_NE(L.Dictionary().Find("unknown3"), nullptr);
    EXPECT_EQ(L.ConstantList().Count(), constants + 1);
    // An unknown name reads as the real NaN.
    auto e = L.Compile("unknown1");
    const parsertest::TValue v = parsertest::ValueOf(*e);
    EXPECT_FALSE(v.Complex);
    EXPECT_TRUE(std::isnan(v.Z.Re));
    EXPECT_TRUE(parsertest::ValueOf(*L.Compile("cnan")).Complex);
}

// Real and complex number text of Dovi387: the general text of random Doubles against Python's decimal module,
// parsing against Python's float and complex, the complex and delimited forms, and the faults mended there.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

using namespace tarnel;

namespace {

std::uint64_t Bits(double x)
{
    return std::bit_cast<std::uint64_t>(x);
}
bool SameDouble(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || Bits(a) == Bits(b);
}

// The inputs of tests/data/gen_number_text_golden.py, rebuilt bit for bit.
class NumberTextInput {
public:
    double Next(int i)
    {
        const std::uint64_t r = Mix();
        switch (i % 4) {
            case 0: {
                const double v = std::bit_cast<double>(r);
                return std::isfinite(v) ? v : std::bit_cast<double>(r & ~(std::uint64_t{1} << 62));
            }
            case 1: {
                const double u = static_cast<double>(r >> 11) / 9007199254740992.0;
                const int a = static_cast<int>((r & 0xFF) % 16), b = static_cast<int>(((r >> 8) & 0xFF) % 12);
                return (u - 0.5) * 2.0 * Pow10(a) / Pow10(b);
            }
            case 2: {
                const double n = static_cast<double>((r >> 16) % 1000000000000ULL);
                return std::ldexp(n, -static_cast<int>(r % 24)) * (((r >> 8) & 1) ? -1.0 : 1.0);
            }
            default:
                if (r & 1)
                    return 999999999999000.0 + static_cast<double>((r >> 1) % 2000) +
                           static_cast<double>((r >> 12) % 4) / 4.0;
                return 1e-05 * (1.0 + static_cast<double>(static_cast<std::int64_t>((r >> 1) % 2001) - 1000) * 1e-12);
        }
    }

private:
    std::uint64_t Mix()
    {
        FState += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = FState;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    static double Pow10(int k)
    {
        double p = 1;
        for (int i = 0; i < k; ++i) p *= 10;  // exact up to 10^22
        return p;
    }
    std::uint64_t FState = 21;
};

struct TCplxRow {
    const char* Text;
    double Re, Im;
};

const TCplxRow kCplxRows[] = {
#include "number_text_cplx.inc"
};

using testsupport::ExpectRaise;

void ExpectConvertError(std::string_view text)
{
    try {
        StrToCplx(text);
        ADD_FAILURE() << "[" << text << "] was read";
    } catch (const EConvertError&) {
    }
}

// Restores the process-wide decimal separator a test changes.
class NumberText : public testsupport::PoolCheck {
protected:
    void TearDown() override
    {
        SetDecimalSeparator(FSaved);
        PoolCheck::TearDown();
    }
    char FSaved = DecimalSeparator();
};

}  // namespace

TEST_F(NumberText, GeneralTextOfRandomDoublesFollowsTheRuleAndReadsBack)
{
    SetDecimalSeparator('.');
    std::ifstream in(std::string(TARNEL_TEST_DATA_DIR) + "/number_text_random.txt");
    ASSERT_TRUE(in) << "tests/data/number_text_random.txt";
    std::string line;
    std::getline(in, line);  // header
    NumberTextInput input;
    int rows = 0, wrong = 0, reprRows = 0;
    for (int i = 0; std::getline(in, line); ++i, ++rows) {
        const double x = input.Next(i);
        const std::size_t blank = line.find(' ');
        const std::string text = line.substr(0, blank);
        const std::string ours = SampleToStr(x, 0);
        if (ours != text && ++wrong <= 10) ADD_FAILURE() << std::hexfloat << x << ": " << ours << ", expected " << text;
        // Fifteen digits always survive the trip through a Double.
        const std::string again = SampleToStr(StrToVal(text), 0);
        if (again != text && ++wrong <= 10) ADD_FAILURE() << text << " reads back as " << again;
        if (blank != std::string::npos) {  // Python's repr of x: read bit for bit
            ++reprRows;
            const std::string repr = line.substr(blank + 1);
            if (Bits(StrToVal(repr)) != Bits(x) && ++wrong <= 10) ADD_FAILURE() << repr << " is not read exactly";
        }
    }
    EXPECT_EQ(rows, 100000);
    EXPECT_EQ(reprRows, 20000);
    EXPECT_EQ(wrong, 0);
}

TEST_F(NumberText, StrToCplxReadsWhatPythonsComplexReads)
{
    SetDecimalSeparator('.');
    for (const TCplxRow& r : kCplxRows) {
        const TCplx z = StrToCplx(r.Text);
        EXPECT_TRUE(SameDouble(z.Re, r.Re) && SameDouble(z.Im, r.Im))
            << r.Text << " gave (" << z.Re << ", " << z.Im << "), expected (" << r.Re << ", " << r.Im << ")";
    }
}

TEST_F(NumberText, ComplexTextReadsBackWhateverItHolds)
{
    SetDecimalSeparator('.');
    struct TCase {
        TCplx Z;
        const char* Text;
    };
    const TCase cases[] = {
        {{1, 2}, "1+2i"},       {{1, -2}, "1-2i"},     {{1, 1}, "1+i"},
        {{1, -1}, "1-i"},       {{0, 2}, "2i"},        {{0, -1}, "-i"},
        {{0, 1}, "i"},          {{3, 0}, "3"},         {{-0.5, 1e-7}, "-0.5+1E-7i"},
        {{0, 0}, "0"},          {{1, NAN}, "1+NANi"},  {{0, NAN}, "NANi"},
        {{-2, NAN}, "-2+NANi"}, {{1, INF}, "1+INFi"},  {{1, -INF}, "1-INFi"},
        {{0, -INF}, "-INFi"},   {{NAN, 2}, "NAN+2i"},  {{INF, -INF}, "INF-INFi"},
        {{NAN, 0}, "NAN"},      {{-INF, 1}, "-INF+i"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CplxToStr(c.Z, 0), c.Text);
        EXPECT_EQ(FormatCplx(c.Z, "0.0##", ""), c.Text) << "an empty ImFormat is CplxToStr (z, 0)";
        const TCplx back = StrToCplx(c.Text);
        EXPECT_TRUE(SameDouble(back.Re, c.Z.Re) && SameDouble(back.Im, c.Z.Im))
            << c.Text << " reads back as (" << back.Re << ", " << back.Im << ")";
    }
    EXPECT_EQ(CplxToStr({1.5e-7, -2.5e20}, 3), "1.5E-007-2.5E020i") << "Digits: the least exponent digits";
}

TEST_F(NumberText, FormatCplxJoinsTheFormattedParts)
{
    SetDecimalSeparator('.');
    const char* re = "0.00#;-0.00#";  // the number edit's formats
    const char* im = "+0.00#i;-0.00#i";
    struct TCase {
        TCplx Z;
        const char* Text;
    };
    const TCase cases[] = {
        {{1.5, 2.25}, "1.50+2.25i"}, {{1.5, -2.125}, "1.50-2.125i"},
        {{-1.2345, 0}, "-1.234"},    {{0, 3}, "+3.00i"},
        {{0, -0.001}, "-0.001i"},    {{0, 0}, "0.00"},
        {{1, NAN}, "1.00+NANi"},     {{0, NAN}, "NANi"},
        {{2, -INF}, "2.00-INFi"},    {{0, INF}, "INFi"},
        {{NAN, 1}, "NAN+1.00i"},     {{-0.0001, 1}, "-0.000+1.00i"},
    };
    for (const TCase& c : cases) EXPECT_EQ(FormatCplx(c.Z, re, im), c.Text) << c.Z.Re << ", " << c.Z.Im;
    EXPECT_EQ(FormatSample("0.00", 0.125), "0.13");
    EXPECT_EQ(FormatSample(0.125, "0.00"), "0.13");
    EXPECT_EQ(FormatSample("", 1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatSample(1.0 / 3, ""), SampleToStr(1.0 / 3, 0));
}

TEST_F(NumberText, StrToCplxKeepsInfinityWordsExponentsAndBadRealParts)
{
    SetDecimalSeparator('.');
    struct TCase {
        const char* Text;
        TCplx Z;
    };
    const TCase cases[] = {
        {"1.5+2i", {1.5, 2}},
        {"1.5-2i", {1.5, -2}},
        {"3i", {0, 3}},
        {"i", {0, 1}},
        {"-i", {0, -1}},
        {"2", {2, 0}},
        {"1E-3+1E+2i", {0.001, 100}},
        {"inf", {INF, 0}},
        {"-inf", {-INF, 0}},
        {"1-infi", {1, -INF}},
        {"1+Infinityi", {1, INF}},
        {"INFINITY", {INF, 0}},
        {"-iNf+2i", {-INF, 2}},
        {"1+2e-3i", {1, 0.002}},
        {"2e-3i", {0, 0.002}},
        {"1e+2-3e+1i", {100, -30}},
        {" +2i", {0, 2}},
        {"+2i", {0, 2}},
        {"1+2i trailing", {1, 2}},
        {"nan", {NAN, 0}},
        {"1+nani", {1, NAN}},
    };
    for (const TCase& c : cases) {
        const TCplx z = StrToCplx(c.Text);
        EXPECT_TRUE(SameDouble(z.Re, c.Z.Re) && SameDouble(z.Im, c.Z.Im))
            << c.Text << " gave (" << z.Re << ", " << z.Im << ")";
    }
    for (const char* bad : {"abc+2i", "1x+2i", "  +2i", "1+xi", "", "1+2+3i"}) ExpectConvertError(bad);
}

TEST_F(NumberText, StrToValWordsFallbackAndErrors)
{
    SetDecimalSeparator('.');
    EXPECT_EQ(Bits(StrToVal("nan")), Bits(NAN));
    EXPECT_TRUE(std::isnan(StrToVal("-NaN")) && std::signbit(StrToVal("-NaN")));
    EXPECT_EQ(StrToVal("inf"), INF);
    EXPECT_EQ(StrToVal("-Inf"), -INF);
    EXPECT_TRUE(std::isnan(StrToVal("banana")) && !std::signbit(StrToVal("banana")));
    EXPECT_TRUE(std::isnan(StrToVal("-1.#QNAN")) && std::signbit(StrToVal("-1.#QNAN")));
    EXPECT_EQ(StrToVal("1.#INF"), INF);
    EXPECT_EQ(StrToVal("1,25"), 1.25) << "the other separator";
    EXPECT_EQ(StrToSample(" -2.5E-3 "), -0.0025);
    try {
        StrToVal("1,2.5");
        ADD_FAILURE() << "read";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "\"1,2.5\" is an invalid float");
    }
    SetDecimalSeparator(',');
    EXPECT_EQ(StrToVal("1.25"), 1.25) << "the fallback to \".\"";
    EXPECT_EQ(StrToVal("1,25"), 1.25);
    EXPECT_EQ(DecimalSeparator(), ',') << "the setting is never written";
    EXPECT_EQ(SampleToStr(1.25, 0), "1,25");
    EXPECT_EQ(CplxToStr({1.5, -0.25}, 0), "1,5-0,25i");
    const TCplx z = StrToCplx("1,5-0.25i");
    EXPECT_EQ(z.Re, 1.5);
    EXPECT_EQ(z.Im, -0.25);
}

TEST_F(NumberText, FallbackLeavesTheSettingToOtherThreads)
{
    SetDecimalSeparator(',');
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::thread formatter([&] {
        while (!stop.load()) {
            if (FormatFloat("0.00", 1.5) != "1,50" || SampleToStr(0.25, 0) != "0,25") ++wrong;
        }
    });
    for (int i = 0; i < 20000; ++i) {
        if (StrToVal("2.5") != 2.5) ++wrong;
    }
    stop = true;
    formatter.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(DecimalSeparator(), ',');
}

TEST(NumberTextWalk, OffsetPos)
{
    struct TCase {
        const char* Sub;
        const char* S;
        int Offset, Pos;
    };
    const TCase cases[] = {
        {" ", "a b c", 3, 4}, {" ", "a b c", 5, 0}, {" ", "a b c", 1, 2}, {"b c", "a b c", 1, 3},
        {"", "abc", 2, 2},    {"", "abc", 4, 4},    {"", "abc", 5, 0},    {"x", "abc", 99, 0},
    };
    for (const TCase& c : cases) EXPECT_EQ(OffsetPos(c.Sub, c.S, c.Offset), c.Pos) << c.Sub << " in " << c.S;
    ExpectRaise([] { OffsetPos(" ", "a b c", 0); }, "Offset < 1", "OffsetPos");
    ExpectRaise([] { OffsetPos(" ", "a b c", -5); }, "Offset < 1", "OffsetPos");
}

TEST(NumberTextWalk, ExtractSkipsWholeDelimitersAndStopsAtTheEnd)
{
    struct TCase {
        const char* S;
        const char* Delimiter;
        std::vector<double> Values;  // the fields, then one read past the end
    };
    const TCase cases[] = {
        {"1;2;;3", ";", {1, 2, 3, 0}},
        {"1;;;;2", ";;", {1, 2, 0}},
        {";;1;;2;;", ";;", {1, 2, 0}},
        {"1, 2,  -3.5e1", ", ", {1, 2, -35, 0}},
        {"", ";", {0}},
        {"7", ";", {7, 0}},
    };
    for (const TCase& c : cases) {
        const std::string s = c.S;
        int pos = 1;
        for (double expected : c.Values) EXPECT_EQ(ExtractSample(s, pos, c.Delimiter), expected) << s;
        EXPECT_EQ(pos, static_cast<int>(s.size()) + 1) << s;
        EXPECT_EQ(ExtractSample(s, pos, c.Delimiter), 0) << "past the end again";
    }
    int pos = 1;
    const std::string cplx = "1+2i;;-i;3";
    EXPECT_EQ(ExtractCplx(cplx, pos, ";").Im, 2);
    EXPECT_EQ(ExtractCplx(cplx, pos, ";").Im, -1);
    EXPECT_EQ(ExtractCplx(cplx, pos, ";").Re, 3);
    const TCplx past = ExtractCplx(cplx, pos, ";");
    EXPECT_TRUE(past.Re == 0 && past.Im == 0);
}

TEST(NumberTextWalk, ExtractRefusesBeforeReading)
{
    int pos = 1;
    ExpectRaise([&] { ExtractSample("1;2", pos, ""); }, "Delimiter is empty", "empty delimiter");
    ExpectRaise([&] { ExtractCplx("1;2", pos, ""); }, "Delimiter is empty", "empty delimiter");
    EXPECT_EQ(pos, 1);
    pos = 0;
    ExpectRaise([&] { ExtractSample("1;2", pos, ";"); }, "Offset < 1", "Pos 0");
    EXPECT_EQ(pos, 0);
    pos = 1;
    const std::string s = "1;x;3";
    EXPECT_EQ(ExtractSample(s, pos, ";"), 1);
    EXPECT_THROW(ExtractSample(s, pos, ";"), EConvertError);
    EXPECT_EQ(pos, 3) << "a field that does not read leaves Pos at it";
}

// The run-time's number text against Free Pascal's run-time (tests/data/gen_numtext_golden.pas): FloatToStrF,
// FormatFloat and StrToFloat, with our own rows marked there; then the settings and hostile formats.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/rtl/NumText.h"

using namespace tarnel;

namespace {

struct TFloatRow {
    std::uint64_t Bits;
    TFloatFormat Format;
    int Precision, Digits;
    const char* Text;
    const char* Fpc;  // Free Pascal's text where ours departs, else nullptr
};

struct TFormatRow {
    std::uint64_t Bits;
    const char* Format;
    char Separator;
    const char* Text;
    const char* Fpc;
};

struct TParseRow {
    const char* Text;
    char Separator;
    bool Ok;
    std::uint64_t Bits;
};

const TFloatRow kFloatRows[] = {
#define NUMTEXT_FLOAT_ROWS
#include "numtext_golden.inc"
#undef NUMTEXT_FLOAT_ROWS
};

const TFormatRow kFormatRows[] = {
#define NUMTEXT_FORMAT_ROWS
#include "numtext_golden.inc"
#undef NUMTEXT_FORMAT_ROWS
};

const TParseRow kParseRows[] = {
#define NUMTEXT_PARSE_ROWS
#include "numtext_golden.inc"
#undef NUMTEXT_PARSE_ROWS
};

TFormatSettings Settings(char decimal)
{
    return {decimal, decimal == ',' ? '.' : ','};
}

// Restores the process-wide separators a test changes.
class NumTextSettings : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetDecimalSeparator(FSaved.DecimalSeparator);
        SetThousandSeparator(FSaved.ThousandSeparator);
    }
    TFormatSettings FSaved = CurrentFormatSettings();
};

}  // namespace

TEST(NumText, FloatToStrFAgreesWithFreePascal)
{
    for (const TFloatRow& r : kFloatRows) {
        const double v = std::bit_cast<double>(r.Bits);
        EXPECT_EQ(FloatToStrF(v, r.Format, r.Precision, r.Digits, Settings('.')), r.Text)
            << std::hex << r.Bits << std::dec << " format " << r.Format << " (" << r.Precision << ", " << r.Digits
            << ")";
    }
}

TEST(NumText, FormatFloatAgreesWithFreePascal)
{
    for (const TFormatRow& r : kFormatRows) {
        const double v = std::bit_cast<double>(r.Bits);
        EXPECT_EQ(FormatFloat(r.Format, v, Settings(r.Separator)), r.Text)
            << "format [" << r.Format << "] value " << std::hex << r.Bits << " separator " << r.Separator;
    }
}

TEST(NumText, StrToFloatAcceptsAndRefusesAsFreePascal)
{
    for (const TParseRow& r : kParseRows) {
        double v = -12345;
        const bool ok = TryStrToFloat(r.Text, v, Settings(r.Separator));
        EXPECT_EQ(ok, r.Ok) << "[" << r.Text << "]";
        if (ok && r.Ok) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(v), r.Bits) << "[" << r.Text << "]";
        } else {
            EXPECT_EQ(v, -12345) << "a refused text leaves the variable alone: [" << r.Text << "]";
        }
    }
}

TEST_F(NumTextSettings, TheProcessWideSeparatorsServeTheShortForms)
{
    SetDecimalSeparator(',');
    SetThousandSeparator('.');
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(ThousandSeparator(), '.');
    const TFormatSettings now = CurrentFormatSettings();
    EXPECT_EQ(now.DecimalSeparator, ',');
    EXPECT_EQ(now.ThousandSeparator, '.');
    EXPECT_EQ(FloatToStrF(1.5, ffFixed, 15, 2), "1,50");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
    EXPECT_EQ(StrToFloat("-1,5"), -1.5);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("1.5", v));
    EXPECT_TRUE(TryStrToFloat("1.5", v, {'.', ','})) << "the settings given win over the process-wide ones";
    EXPECT_EQ(v, 1.5);
    try {
        StrToFloat("1.5");
        ADD_FAILURE() << "read with the wrong separator";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "\"1.5\" is an invalid float");
    } catch (...) {
        ADD_FAILURE() << "not an EConvertError";
    }
}

TEST(NumText, NonFiniteValuesAreWordsInEveryFormat)
{
    for (const char* format : {"0.00", "#,##0.00;(0.00);\"zero\"", "0.00E+00", ""}) {
        EXPECT_EQ(FormatFloat(format, NAN), "NAN") << format;
        EXPECT_EQ(FormatFloat(format, INFINITY), "INF") << format;
        EXPECT_EQ(FormatFloat(format, -INFINITY), "-INF") << format;
    }
    for (TFloatFormat f : {ffGeneral, ffExponent, ffFixed}) {
        EXPECT_EQ(FloatToStrF(-NAN, f, 15, 2), "NAN");
        EXPECT_EQ(FloatToStrF(-INFINITY, f, 15, 2), "-INF");
    }
}

// Formats and arguments no caller should pass: every text stays inside its own buffer (run under ASan) and the
// results are what the rules say.
TEST(NumText, MalformedFormatsAndExtremeArgumentsStayInBounds)
{
    const TFormatSettings s{'.', ','};
    const std::string many = "0." + std::string(400, '0');
    const std::string text = FormatFloat(many, 1.0 / 3, s);
    EXPECT_EQ(text.size(), 402u);
    EXPECT_EQ(text.substr(0, 19), "0.33333333333333331") << "17 digits, then zeros";
    EXPECT_EQ(FormatFloat(std::string(300, '0'), 5, s), std::string(299, '0') + "5");
    EXPECT_EQ(FormatFloat(std::string(300, '#') + ".", 1e16, s), "10000000000000000");
    EXPECT_EQ(FormatFloat("\"open0", 5, s), "open0");
    EXPECT_EQ(FormatFloat("'0.0", -5, s), "-0.0");
    EXPECT_EQ(FormatFloat("0;1;2;3;4;5", 0, s), "2");
    EXPECT_EQ(FormatFloat(";;;;", 0, s), "0");
    EXPECT_EQ(FormatFloat("0.0E+", 5, s), "5.0E+");
    EXPECT_EQ(FormatFloat("E+00", 5, s), "E+00") << "no placeholder, no digits";
    EXPECT_EQ(FormatFloat("0.00E+000000000000", 1e300, s), "1.00E+0300");
    EXPECT_EQ(FormatFloat(",,,,", 1234567, s), "");
    EXPECT_EQ(FormatFloat(std::string("0\0.0", 4), 1.5, s), std::string("1\0.5", 4)) << "a NUL is a literal";
    for (int p : {INT_MIN, -1, 0, 100, INT_MAX})
        for (int d : {INT_MIN, -1, 0, 100, INT_MAX})
            for (TFloatFormat f : {ffGeneral, ffExponent, ffFixed}) {
                const std::string r = FloatToStrF(-1.7976931348623157e308, f, p, d, s);
                EXPECT_FALSE(r.empty());
                EXPECT_LE(r.size(), 256u);
            }
    double v = 0;
    EXPECT_TRUE(TryStrToFloat("1" + std::string(5000, '0') + "e-5000", v, s));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(TryStrToFloat("0." + std::string(5000, '0') + "1e5001", v, s));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(TryStrToFloat("1e99999999999999999999999", v, s));
    EXPECT_EQ(v, INFINITY);
    EXPECT_TRUE(TryStrToFloat("-1e-99999999999999999999999", v, s));
    EXPECT_TRUE(v == 0 && std::signbit(v));
    EXPECT_TRUE(TryStrToFloat("0e99999999999999999999999", v, s));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(TryStrToFloat(std::string("1\0", 2), v, s));
}

TEST(NumText, SeparatorsFromTheLocalesTexts)
{
    struct TCase {
        const char *Radix, *Grouping;
        char Decimal, Thousand;
    };
    const TCase cases[] = {
        {".", ",", '.', ','}, {",", ".", ',', '.'},           {".", "", '.', ','},
        {",", "", ',', '.'},  {",", "\u202f", ',', ' '},      {".", "'", '.', '\''},
        {",", ",", ',', '.'}, {"\u066b", "\u066c", '.', ' '}, {nullptr, nullptr, '.', ','},
    };
    for (const TCase& c : cases) {
        const TFormatSettings s = numtext::SettingsFromLocale(c.Radix, c.Grouping);
        EXPECT_EQ(s.DecimalSeparator, c.Decimal) << (c.Radix ? c.Radix : "null");
        EXPECT_EQ(s.ThousandSeparator, c.Thousand) << (c.Grouping ? c.Grouping : "null");
    }
}

// Integers as the input boxes are read: decimal or "$"/"0x" hexadecimal, blanks only in front, 32 bits.
TEST(NumText, StrToIntReadsIntegersAndRefusesTheRest)
{
    const struct {
        const char* Text;
        bool Ok;
        int Value;
    } rows[] = {
        {"12", true, 12},
        {"  -7", true, -7},
        {"+5", true, 5},
        {"$1F", true, 31},
        {"0x10", true, 16},
        {"$FFFFFFFF", true, -1},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"12 ", false, 0},
        {"1.5", false, 0},
        {"abc", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"$1FFFFFFFF", false, 0},
    };
    for (const auto& r : rows) {
        int v = 1234;
        EXPECT_EQ(TryStrToInt(r.Text, v), r.Ok) << r.Text;
        EXPECT_EQ(v, r.Ok ? r.Value : 1234) << r.Text;
    }
    try {
        StrToInt("x1");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

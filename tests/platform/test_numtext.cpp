// The run-time's number text against Free Pascal's run-time (tests/data/gen_numtext_golden.pas): FloatToStrF,
// FormatFloat and StrToFloat, with our own rows marked there; then the settings and hostile formats.
#include <gtest/gtest.h>

#include <bit>
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

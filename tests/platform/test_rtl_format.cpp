// The run-time's Format against Free Pascal's (tests/data/gen_rtl_format_golden.pas; rows where we depart carry our
// text), and the string list that reads the report stream.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"

using namespace tarnel;

namespace {

TVarRec Bits(std::uint64_t B)
{
    return TVarRec(std::bit_cast<double>(B));
}

struct TFormatRow {
    const char* format;
    std::vector<TVarRec> args;
    const char* fpc;   // Free Pascal's text, or "!" and the message it raises
    const char* ours;  // our text where it differs, else nullptr
};

const TFormatRow kFormatRows[] = {
#include "rtl_format_golden.inc"
};

TEST(RtlFormat, AgainstFreePascal)
{
    for (const TFormatRow& r : kFormatRows) {
        const std::string want = r.ours ? r.ours : r.fpc;
        std::string got;
        try {
            got = Format(r.format, r.args);
        } catch (const EConvertError& e) {
            got = std::string("!") + e.what();
        }
        EXPECT_EQ(got, want) << r.format;
    }
}

TEST(RtlFormat, ManyConversionsAndExtraArguments)
{
    std::vector<TVarRec> args;
    std::string want;
    for (int i = 0; i < 40; ++i) {
        args.emplace_back(i + 0.5);
        want += std::to_string(i) + ".5;";
    }
    std::string fmt;
    for (int i = 0; i < 40; ++i) fmt += "%g;";
    EXPECT_EQ(Format(fmt, args), want);
    args.emplace_back("unused");
    EXPECT_EQ(Format(fmt, args), want);
}

TEST(RtlStringList, LoadsFromTheStreamPosition)
{
    TStringStream s;
    s.WriteString("first\nsecond\r\nthird\rlast");
    EXPECT_EQ(s.Position(), s.Size());
    s.SetPosition(0);
    TStringList list;
    list.LoadFromStream(s);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], "first");
    EXPECT_EQ(list[1], "second");
    EXPECT_EQ(list[2], "third");
    EXPECT_EQ(list[3], "last");
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(list.Text(), "first\nsecond\nthird\nlast\n");
    EXPECT_THROW(list.Strings(4), Exception);
    // SetSize(0) empties and rewinds: the next text starts at 0.
    s.SetSize(0);
    s.WriteString("new\n");
    EXPECT_EQ(s.DataString(), "new\n");
    s.SetPosition(0);
    list.LoadFromStream(s);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "new");
}

TEST(RtlStringList, ObjectsSortingAndTheChangeEvent)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TStringList&) { ++changes; };
    int one = 1, two = 2;
    EXPECT_EQ(list.AddObject("b", &two), 0);
    EXPECT_EQ(list.AddObject("a", &one), 1);
    list.Insert(0, "c");
    list.Exchange(0, 2);
    EXPECT_EQ(list.Text(), "a\nb\nc\n");
    EXPECT_EQ(list.Objects(0), &one);
    EXPECT_EQ(list.Objects(2), nullptr);
    EXPECT_EQ(changes, 4);
    // One event for a bracket of changes; none for a bracket without any.
    list.BeginUpdate();
    list.Put(2, "C");
    list.Delete(1);
    EXPECT_EQ(changes, 4);
    list.EndUpdate();
    EXPECT_EQ(changes, 5);
    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(changes, 5);
    // Sorted without regard to case; Add then finds the place, Insert is refused.
    list.Add("B");
    list.SetSorted(true);
    EXPECT_EQ(list.Text(), "a\nB\nC\n");
    EXPECT_EQ(list.Add("b2"), 2);
    EXPECT_THROW(list.Insert(0, "x"), Exception);
    try {
        list.Delete(4);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (4)");
    }
}

}  // namespace

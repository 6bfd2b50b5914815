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

TEST(RtlStringList, AddsThroughTheListBase)
{
    // What a log writer sees: the base, with Add giving the new line's index and Append the same without it.
    TStringList list;
    TStrings& lines = list;
    EXPECT_EQ(lines.Add("first"), 0);
    lines.Append("second");
    EXPECT_EQ(lines.Add("third"), 2);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[1], "second");
    EXPECT_EQ(list.Text(), "first\nsecond\nthird\n");
    lines.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(lines.Strings(0), Exception);
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

TEST(RtlStringList, TheBaseAndACopyOfASortedListWithAListener)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TStringList&) { ++changes; };
    int object = 0;
    list.AddObject("m", &object);
    list.SetSorted(true);
    EXPECT_EQ(changes, 2);
    // Through the base a log writer reaches the list's own operations: the sorted place, the event, the refusal.
    TStrings& lines = list;
    EXPECT_EQ(lines.Add("A"), 0);
    lines.Append("z");
    EXPECT_EQ(changes, 4);
    try {
        lines.SetStrings(0, "b");
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Operation not allowed on sorted list");
    }
    EXPECT_THROW(lines.Insert(3, "x"), EListError);
    EXPECT_EQ(list.Text(), "A\nm\nz\n");
    TStringStream s;
    lines.SaveToStream(s);
    EXPECT_EQ(s.DataString(), "A\r\nm\r\nz\r\n");
    // A copy, made inside an update bracket, has the lines, their objects and Sorted, but neither the listener nor
    // the bracket: its changes fire nothing, and the original's pending change still fires at its EndUpdate.
    list.BeginUpdate();
    list.Delete(2);
    TStringList copy(list);
    EXPECT_EQ(copy.Text(), "A\nm\n");
    EXPECT_EQ(copy.Objects(1), &object);
    EXPECT_TRUE(copy.Sorted());
    EXPECT_FALSE(copy.OnChange);
    EXPECT_EQ(copy.Add("b"), 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(list.Text(), "A\nm\n");
}

}  // namespace

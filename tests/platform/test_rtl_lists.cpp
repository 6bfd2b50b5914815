// The string list: checked line access, inserting and deleting, the file writer with CR LF; the short date.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

using namespace tarnel;

namespace {

std::string Message(const std::function<void()>& Fn)
{
    try {
        Fn();
    } catch (const EListError& e) {
        return e.what();
    }
    return "no EListError";
}

TEST(RtlStringList, EveryLineAccessIsChecked)
{
    TStringList s;
    EXPECT_EQ(s.Add("b"), 0);
    s.Insert(0, "a");
    s.Insert(2, "d");
    s.Insert(2, "c");
    s.SetStrings(3, "D");
    EXPECT_EQ(s.Text(), "a\nb\nc\nD\n");
    s.Delete(1);
    EXPECT_EQ(s.Text(), "a\nc\nD\n");
    EXPECT_EQ(Message([&] { s.Strings(3); }), "List index out of bounds (3)");
    EXPECT_EQ(Message([&] { s.Strings(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(Message([&] { s.SetStrings(3, "x"); }), "List index out of bounds (3)");
    EXPECT_EQ(Message([&] { s.Insert(4, "x"); }), "List index out of bounds (4)");
    EXPECT_EQ(Message([&] { s.Delete(3); }), "List index out of bounds (3)");
    EXPECT_EQ(s.Text(), "a\nc\nD\n");
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
}

TEST(RtlStringList, SavesLinesWithCarriageReturnAndLineFeed)
{
    testsupport::TTempDir dir;
    const std::string name = dir.File("lines.txt");
    TStringList s;
    s.Add("1 2");
    s.Add("");
    s.Add("x");
    s.SaveToFile(name);
    EXPECT_EQ(testsupport::ReadFile(name), "1 2\r\n\r\nx\r\n");
    TStringList none;
    none.SaveToFile(name);  // an existing file is emptied
    EXPECT_EQ(std::filesystem::file_size(name), 0u);
    EXPECT_THROW(s.SaveToFile(dir.File("gone/lines.txt")), EFCreateError);
    EXPECT_THROW(s.SaveToFile("/dev/full"), EWriteError);
}

// The user's date format from LC_TIME, without the process locale: the C locale writes month/day/year.
TEST(RtlDate, ShortDateOfTheUsersLocale)
{
    const char* saved = getenv("LC_ALL");
    const std::string keep = saved ? saved : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(DateToStr(46366.75), "12/10/26");  // 2026-12-10, 18:00
    EXPECT_EQ(DateToStr(36585.0), "02/29/00");
    EXPECT_EQ(Date(), static_cast<double>(static_cast<long>(Now())));
    if (saved)
        setenv("LC_ALL", keep.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

}  // namespace

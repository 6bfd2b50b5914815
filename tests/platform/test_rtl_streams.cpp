// The run-time's byte streams: memory, text and file streams, their buffer forms, positions and errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Feldrin.h"

using namespace tarnel;

namespace {

// A fresh folder per test, removed afterwards.
class StreamFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir =
            std::filesystem::temp_directory_path() / ("tarnel_streams_" + std::to_string(::getpid()) + "_" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::string File(const char* Name) const { return (Dir / Name).string(); }
    std::filesystem::path Dir;
};

std::string Content(TStream& S)
{
    std::string s(static_cast<std::size_t>(S.Size()), '\0');
    S.SetPosition(0);
    S.ReadBuffer(s.data(), static_cast<std::int64_t>(s.size()));
    return s;
}

template <class E>
void ExpectStreamError(const std::function<void()>& Fn, const std::string& Start)
{
    try {
        Fn();
        ADD_FAILURE() << "no exception, expected " << Start;
    } catch (const E& e) {
        EXPECT_EQ(std::string(e.what()).substr(0, Start.size()), Start);
        EXPECT_NE(dynamic_cast<const EStreamError*>(&e), nullptr);
    }
}

}  // namespace

// The same script of writes, seeks and reads gives the same bytes and positions on every kind of stream.
TEST_F(StreamFiles, MemoryAndFileStreamsBehaveAlike)
{
    std::vector<std::unique_ptr<TStream>> streams;
    streams.push_back(std::make_unique<TMemoryStream>());
    streams.push_back(std::make_unique<TFileStream>(File("a.bin"), fmCreate | fmShareExclusive));
    for (auto& s : streams) {
        EXPECT_EQ(s->Write("abcdef", 6), 6);
        EXPECT_EQ(s->Position(), 6);
        EXPECT_EQ(s->Seek(-4, soCurrent), 2);
        s->WriteBuffer("XY", 2);
        EXPECT_EQ(s->Seek(-1, soEnd), 5);
        char c[4] = {};
        EXPECT_EQ(s->Read(c, 4), 1) << "a read at the end moves what is there";
        EXPECT_EQ(c[0], 'f');
        EXPECT_EQ(s->Read(c, 4), 0);
        EXPECT_EQ(s->Read(c, -1), 0);
        EXPECT_EQ(s->Write(c, 0), 0);
        // Past the end: reading gives nothing, writing fills the gap with zeros.
        EXPECT_EQ(s->Seek(8, soBeginning), 8);
        EXPECT_EQ(s->Read(c, 1), 0);
        s->WriteBuffer("Z", 1);
        EXPECT_EQ(s->Size(), 9);
        EXPECT_EQ(Content(*s), std::string("abXYef\0\0Z", 9));
        // A refused seek leaves the position alone.
        s->SetPosition(3);
        ExpectStreamError<EStreamError>([&] { s->Seek(-4, soCurrent); }, "Stream seek error");
        EXPECT_EQ(s->Position(), 3);
        // Shrinking pulls a position past the new end back to it; growing adds zeros.
        s->SetPosition(9);
        s->SetSize(4);
        EXPECT_EQ(s->Position(), 4);
        s->SetSize(6);
        EXPECT_EQ(Content(*s), std::string("abXY\0\0", 6));
        // The buffer forms move everything or raise.
        s->SetPosition(4);
        char buf[8];
        ExpectStreamError<EReadError>([&] { s->ReadBuffer(buf, 3); }, "Stream read error");
        s->SetPosition(0);
        s->ReadBuffer(buf, 0);
        EXPECT_EQ(s->Position(), 0);
    }
}

TEST(MemoryStream, MemoryClearAndGrowth)
{
    TMemoryStream m;
    EXPECT_EQ(m.Memory(), nullptr);
    std::vector<int> values(100000);
    for (int i = 0; i < 100000; ++i) values[i] = i;
    for (int i = 0; i < 100000; i += 1000) m.WriteBuffer(&values[i], 1000 * sizeof(int));
    ASSERT_EQ(m.Size(), 400000);
    EXPECT_EQ(std::memcmp(m.Memory(), values.data(), 400000), 0);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_EQ(m.Memory(), nullptr);
    ExpectStreamError<EStreamError>([&] { m.SetSize(-1); }, "Stream seek error");
}

TEST(StringStream, TextInAndOut)
{
    TStringStream s("line 1\r\n");
    EXPECT_EQ(s.Position(), 0);
    s.Seek(0, soEnd);
    s.WriteString("line 2");
    EXPECT_EQ(s.DataString(), "line 1\r\nline 2");
    s.SetPosition(5);
    EXPECT_EQ(s.ReadString(3), "1\r\n");
    EXPECT_EQ(s.ReadString(100), "line 2");
    EXPECT_EQ(s.ReadString(1), "");
    EXPECT_EQ(TStringStream().DataString(), "");
}

// Each mode opens as it promises: fmCreate empties, fmOpenWrite keeps the content, fmOpenRead cannot write,
// fmOpenWrite cannot read.
TEST_F(StreamFiles, OpenModes)
{
    const std::string f = File("m.bin");
    {
        TFileStream s(f, fmCreate);
        s.WriteBuffer("0123456789", 10);
    }
    {
        TFileStream s(f, fmOpenWrite | fmShareDenyWrite);
        EXPECT_EQ(s.Size(), 10);
        s.Seek(0, soEnd);
        s.WriteBuffer("ab", 2);
        char c;
        ExpectStreamError<EReadError>([&] { s.SetPosition(0), s.ReadBuffer(&c, 1); }, "Stream read error");
    }
    {
        TFileStream s(f, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(Content(s), "0123456789ab");
        s.SetPosition(0);
        ExpectStreamError<EWriteError>([&] { s.WriteBuffer("x", 1); }, "Stream write error");
    }
    {
        TFileStream s(f, fmOpenReadWrite);
        s.SetPosition(2);
        s.WriteBuffer("--", 2);
        EXPECT_EQ(Content(s), "01--456789ab");
    }
    {
        TFileStream s(f, fmCreate);
        EXPECT_EQ(s.Size(), 0);
    }
    EXPECT_EQ(std::filesystem::file_size(f), 0u);
}

TEST_F(StreamFiles, OpenErrorsNameTheFileAndTheReason)
{
    const std::string missing = File("missing.bin");
    ExpectStreamError<EFOpenError>([&] { TFileStream s(missing, fmOpenRead); },
                                   "Cannot open file \"" + missing + "\". No such file or directory");
    const std::string noDir = File("no/such/dir.bin");
    ExpectStreamError<EFCreateError>([&] { TFileStream s(noDir, fmCreate); },
                                     "Cannot create file \"" + noDir + "\". No such file or directory");
    ExpectStreamError<EFOpenError>([&] { TFileStream s(Dir.string(), fmOpenRead); },
                                   "Cannot open file \"" + Dir.string() + "\". Is a directory");
    ExpectStreamError<EFCreateError>([&] { TFileStream s(Dir.string(), fmCreate); },
                                     "Cannot create file \"" + Dir.string() + "\". Is a directory");
    EXPECT_FALSE(std::filesystem::exists(missing)) << "a failed open must not create the file";
}

// TSparseMtx: MatrixMarket text and files.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseMarket = SparseTest;

// A folder of its own for the files of one test, removed with everything in it.
class TTempDir {
public:
    TTempDir()
    {
        std::string t = (std::filesystem::temp_directory_path() / "sparse_market_XXXXXX").string();
        FPath = mkdtemp(t.data());
    }
    ~TTempDir() { std::filesystem::remove_all(FPath); }
    std::string File(const std::string& Name) const { return (std::filesystem::path(FPath) / Name).string(); }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

std::string ReadFile(const std::string& Name)
{
    std::ifstream f(Name, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The text with its date line replaced by "%Date: <masked>", after checking that it holds today's short date.
std::string MaskDate(std::string Text, const std::string& LineEnd)
{
    const std::size_t at = Text.find("%Date: ");
    EXPECT_NE(at, std::string::npos);
    if (at == std::string::npos) return Text;
    const std::size_t end = Text.find(LineEnd, at);
    EXPECT_EQ(Text.substr(at, end - at), "%Date: " + DateToStr(Date()));
    return Text.replace(at, end - at, "%Date: <masked>");
}

std::string Joined(const TStringList& L)
{
    std::string s;
    for (int i = 0; i < L.Count(); ++i) s += L.Line(i) + "\n";
    return s;
}

TEST_F(SparseMarket, WriterLinesAsDocumented)
{
    struct Case {
        const char* Name;
        bool Complex;
        std::string Want;
    };
    const Case cases[] = {
        {"real 2 x 3", false,
         "%%MatrixMarket matrix coordinate real general \n%Created with Tarnel version 150\n%Date: <masked>\n"
         "2 3 2\n1  2  2.5\n2  3  -1\n"},
        {"complex", true,
         "%%MatrixMarket matrix coordinate complex general \n%Created with Tarnel version 150\n%Date: <masked>\n"
         "2 3 2\n1  2  2.5  -0\n2  3  -1  0.30000000000000004\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSparseMtx m;
        if (c.Complex)
            m.TripletsToSparse(2, 3, TIntArray{0, 1}, TIntArray{1, 2}, TCplxArray{{2.5, -0.0}, {-1, 0.1 + 0.2}}, 0);
        else
            m.TripletsToSparse(2, 3, TIntArray{0, 1}, TIntArray{1, 2}, TSampleArray{2.5, -1}, 0);
        m.SetCaption("not written");
        TStringList lines;
        lines.Add("kept");
        m.ValuesToStrings(lines, spfMatrixMarket, true);
        EXPECT_EQ(MaskDate(Joined(lines), "\n"), "kept\n" + c.Want);
    }
}

// Every Double in the shortest text that reads back, "." whatever the locale's separator, indices as integers.
TEST_F(SparseMarket, WriterNumbers)
{
    struct Case {
        double V;
        const char* Text;
    };
    const Case cases[] = {
        {1e-310, "1E-310"}, {-0.0, "-0"},           {1.7976931348623157e308, "1.7976931348623157E308"},
        {1e15, "1E15"},     {123456.5, "123456.5"}, {INFINITY, "INF"},
        {NAN, "NAN"}};
    const char saved = DecimalSeparator();
    SetDecimalSeparator(',');
    for (const Case& c : cases) {
        TSparseMtx m;
        m.SetDontStripZeros(true);
        m.TripletsToSparse(100000, 2, TIntArray{99999}, TIntArray{1}, TSampleArray{c.V}, 0);
        TStringList lines;
        m.ValuesToStrings(lines, spfMatrixMarket, false);
        ASSERT_EQ(lines.Count(), 5);
        EXPECT_EQ(lines.Line(3), "100000 2 1");
        EXPECT_EQ(lines.Line(4), std::string("100000  2  ") + c.Text);
    }
    SetDecimalSeparator(saved);
}

TEST_F(SparseMarket, WriterFileAndEmptyMatrix)
{
    TTempDir dir;
    TSparseMtx m;
    m.SaveToMatrixMarketFile(dir.File("empty.mtx"));
    EXPECT_EQ(MaskDate(ReadFile(dir.File("empty.mtx")), "\r\n"),
              "%%MatrixMarket matrix coordinate real general \r\n%Created with Tarnel version 150\r\n"
              "%Date: <masked>\r\n0 0 0\r\n");
    EXPECT_THROW(m.SaveToMatrixMarketFile("/no/such/folder/a.mtx"), EFCreateError);
}

TEST_F(SparseMarket, WriterRefusesABrokenPattern)
{
    TSparseMtx m;
    MakeSmall(m);
    m.Size(3, 3, 7, false);  // the pointers no longer end at the entry count
    TStringList lines;
    ExpectRaise([&] { m.ValuesToStrings(lines, spfMatrixMarket, false); }, "Invalid sparse pattern!");
    EXPECT_EQ(lines.Count(), 0);
}

TEST_F(SparseMarket, HarwellBoeingIsRefused)
{
    TTempDir dir;
    const std::string file = dir.File("hb.rua");
    {
        std::ofstream f(file, std::ios::binary);
        f << "content";
    }
    TSparseMtx m;
    MakeSmall(m);
    const TSnapshot before = Snapshot(m);
    ExpectRaise([&] { m.SaveToHarwellBoeingFile(file); }, "Harwell-Boeing files are not supported");
    ExpectRaise([&] { m.LoadFromHarwellBoeingFile(file); }, "Harwell-Boeing files are not supported");
    EXPECT_EQ(Snapshot(m), before);
    EXPECT_EQ(ReadFile(file), "content");
    ExpectRaise([&] { m.SaveToHarwellBoeingFile(dir.File("new.rua")); }, "Harwell-Boeing files are not supported");
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.rua")));
}

}  // namespace

// TSparseMtx: MatrixMarket text and files.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sparse_market_golden.inc"
#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseMarket = SparseTest;

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

TStringList Lines(std::initializer_list<const char*> Text)
{
    TStringList l;
    for (const char* t : Text) l.Add(t);
    return l;
}

// The stored form the triplets (R, C, V) give in an ARows x ACols matrix (rows ascending in every column).
TSnapshot Expected(int ARows, int ACols, const TIntArray& R, const TIntArray& C, const TCplxArray& V, bool Complex)
{
    TSparseMtx m;
    m.SetDontStripZeros(true);
    if (R.empty()) {
        m.Size(ARows, ACols, 0, Complex);
    } else if (Complex) {
        m.TripletsToSparse(ARows, ACols, R, C, V, 0);
    } else {
        TSampleArray re;
        for (const TCplx& v : V) re.push_back(v.Re);
        m.TripletsToSparse(ARows, ACols, R, C, re, 0);
    }
    return Snapshot(m);
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
    TTempDir dir;
    ExpectRaise([&] { m.SaveToMatrixMarketFile(dir.File("broken.mtx")); }, "Invalid sparse pattern!");
    EXPECT_FALSE(std::filesystem::exists(dir.File("broken.mtx")));
}

// A file far longer than one write of the writer holds exactly the lines of the text form, each ended by CR LF.
TEST_F(SparseMarket, LongFileHoldsTheTextForm)
{
    TTempDir dir;
    TIntArray r, c;
    TSampleArray re;
    TCplxArray cv;
    for (int k = 0; k < 40000; ++k) {
        r.push_back((k * 7919) % 5000);
        c.push_back(k / 8);
        re.push_back(std::ldexp(1.0 + k, k % 700 - 350) / 3);
        cv.push_back({re.back(), -k / 7.0});
    }
    TSparseMtx real, complex;
    real.TripletsToSparse(5000, 5000, r, c, re, 0);
    complex.TripletsToSparse(5000, 5000, r, c, cv, 0);
    for (const TSparseMtx* m : {&real, &complex}) {
        TStringList lines;
        m->ValuesToStrings(lines, spfMatrixMarket, false);
        std::string want;
        for (int i = 0; i < lines.Count(); ++i) want += lines.Line(i) + "\r\n";
        m->SaveToMatrixMarketFile(dir.File("long.mtx"));
        const std::string got = ReadFile(dir.File("long.mtx"));
        EXPECT_GT(got.size(), 1000000u);
        EXPECT_TRUE(got == want) << got.size() << " bytes against " << want.size();
    }
}

// The reader on the documented texts, and on symmetric files that leave out diagonal entries.
TEST_F(SparseMarket, ReaderCases)
{
    struct Case {
        const char* Name;
        TStringList Text;
        bool DontStripZeros;
        TSnapshot Want;
    };
    const Case cases[] = {
        {"written real",
         Lines({"%%MatrixMarket matrix coordinate real general ", "%Created", "%Date: x", "2 3 2", "1  2  2.5",
                "2  3  -1"}),
         false, Expected(2, 3, {0, 1}, {1, 2}, {{2.5, 0}, {-1, 0}}, false)},
        {"written complex",
         Lines({"%%MatrixMarket matrix coordinate complex general ", "2 3 2", "1  2  2.5  -3",
                "2  3  -1  0.30000000000000004"}),
         false, Expected(2, 3, {0, 1}, {1, 2}, {{2.5, -3}, {-1, 0.1 + 0.2}}, true)},
        {"symmetric with its diagonal",
         Lines({"%%MatrixMarket matrix coordinate real symmetric", "3 3 4", "1 1 1", "2 2 2", "3 3 3", "3 2 4"}), false,
         Expected(3, 3, {0, 1, 2, 2, 1}, {0, 1, 2, 1, 2}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 0}}, false)},
        {"symmetric without diagonal",
         Lines({"%%MatrixMarket matrix coordinate real symmetric", "3 3 2", "2 1 5", "3 2 4"}), false,
         Expected(3, 3, {1, 0, 2, 1}, {0, 1, 1, 2}, {{5, 0}, {5, 0}, {4, 0}, {4, 0}}, false)},
        {"skew, stored zeros kept", Lines({"%%MatrixMarket matrix coordinate real skew-symmetric", "3 3 1", "3 2 4"}),
         true, Expected(3, 3, {2, 1}, {1, 2}, {{4, 0}, {-4, 0}}, false)},
        {"hermitian", Lines({"%%MatrixMarket matrix coordinate complex hermitian", "3 3 2", "3 2 1 2", "1 1 7 0"}),
         false, Expected(3, 3, {2, 1, 0}, {1, 2, 0}, {{1, 2}, {1, -2}, {7, 0}}, true)},
        {"pattern", Lines({"%%MatrixMarket matrix coordinate pattern general", "2 2 2", "1 2", "2 1"}), false,
         Expected(2, 2, {0, 1}, {1, 0}, {{1, 0}, {1, 0}}, false)},
        {"pattern symmetric", Lines({"%%MatrixMarket matrix coordinate pattern symmetric", "3 3 1", "3 1"}), false,
         Expected(3, 3, {2, 0}, {0, 2}, {{1, 0}, {1, 0}}, false)},
        {"array", Lines({"%%MatrixMarket matrix array real general", "2 2", "1", "2", "3", "4"}), false,
         Expected(2, 2, {0, 1, 0, 1}, {0, 0, 1, 1}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}, false)},
        {"array zeros dropped", Lines({"%%MatrixMarket matrix array real general", "2 2", "0", "2", "-0", "4"}), false,
         Expected(2, 2, {1, 1}, {0, 1}, {{2, 0}, {4, 0}}, false)},
        {"array zeros kept", Lines({"%%MatrixMarket matrix array real general", "2 2", "0", "2", "0", "4"}), true,
         Expected(2, 2, {0, 1, 0, 1}, {0, 0, 1, 1}, {{0, 0}, {2, 0}, {0, 0}, {4, 0}}, false)},
        {"array symmetric, one triangle", Lines({"%%MatrixMarket matrix array real symmetric", "2 2", "1", "2", "3"}),
         false, Expected(2, 2, {0, 1, 0, 1}, {0, 0, 1, 1}, {{1, 0}, {2, 0}, {2, 0}, {3, 0}}, false)},
        {"array skew, no diagonal", Lines({"%%MatrixMarket matrix array real skew-symmetric", "3 3", "1", "2", "3"}),
         false,
         Expected(3, 3, {1, 2, 0, 2, 0, 1}, {0, 0, 1, 1, 2, 2}, {{1, 0}, {2, 0}, {-1, 0}, {3, 0}, {-2, 0}, {-3, 0}},
                  false)},
        {"array complex", Lines({"%%MatrixMarket matrix array complex general", "1 2", "1 -1", "0 0"}), false,
         Expected(1, 2, {0}, {0}, {{1, -1}}, true)},
        {"no entries", Lines({"%%MatrixMarket matrix coordinate real general", "3 4 0"}), false,
         Expected(3, 4, {}, {}, {}, false)},
        {"no entries, complex", Lines({"%%MatrixMarket matrix coordinate complex general", "0 2 0"}), false,
         Expected(0, 2, {}, {}, {}, true)},
        {"blank lines, runs of blanks, numbers rounded",
         Lines({"%%matrixmarket MATRIX coordinate Integer General", "", "%c", "  ", "2.4  2   0.6", "", "2 1.5 6"}),
         false, Expected(2, 2, {1}, {1}, {{6, 0}}, false)},
        {"CR kept by a list split at LF",
         Lines({"%%MatrixMarket matrix coordinate real general\r", "1 1 1\r", "1 1 8\r"}), false,
         Expected(1, 1, {0}, {0}, {{8, 0}}, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSparseMtx m;
        MakeSmallComplex(m);
        m.SetDontStripZeros(c.DontStripZeros);
        m.StringsToValues(c.Text, spfMatrixMarket);
        EXPECT_EQ(Snapshot(m), c.Want);
    }
}

// Caption: every comment line followed by CR LF; none gives an empty caption.
TEST_F(SparseMarket, ReaderCaption)
{
    TSparseMtx m;
    m.SetCaption("old");
    m.StringsToValues(Lines({"%%MatrixMarket matrix coordinate real general ", "%Created with Tarnel version 150", "",
                             "%Date: 1", "1 1 1", "1  1  2"}),
                      spfMatrixMarket);
    EXPECT_EQ(m.Caption(), "%Created with Tarnel version 150\r\n%Date: 1\r\n");
    m.StringsToValues(Lines({"%%MatrixMarket matrix coordinate real general", "1 1 0"}), spfMatrixMarket);
    EXPECT_EQ(m.Caption(), "");
}

// Every refusal in its order, with the matrix, its caption and its kind as they were.
TEST_F(SparseMarket, ReaderErrorsChangeNothing)
{
    struct Case {
        const char* Name;
        TSparseFormat Format;
        TStringList Text;
        const char* Message;
    };
    const char* header = "%%MatrixMarket matrix coordinate real general";
    const Case cases[] = {
        {"format", static_cast<TSparseFormat>(1), Lines({header, "1 1 0"}),
         "Format must be HarwellBoeing or MatrixMarket!"},
        {"one line", spfMatrixMarket, Lines({header}), "not (Strings.Count > 1)"},
        {"no lines", spfMatrixMarket, Lines({}), "not (Strings.Count > 1)"},
        {"not MatrixMarket", spfMatrixMarket, Lines({"%%Matrix Market matrix coordinate", "1 1 0"}),
         "Strings not in MatrixMarket format!"},
        {"a vector", spfMatrixMarket, Lines({"%%MatrixMarket vector coordinate real general", "1 1 0"}),
         "Matrix object required!"},
        {"bad number", spfMatrixMarket, Lines({header, "2 2 1", "1 1 x"}), "\"x\" is an invalid float"},
        {"bad size", spfMatrixMarket, Lines({header, "2 two 1", "1 1 1"}), "\"two\" is an invalid float"},
        {"lines missing", spfMatrixMarket, Lines({header, "2 2 3", "1 1 1", "", "2 2 1"}),
         "List index out of bounds (5)"},
        {"array lines missing", spfMatrixMarket, Lines({"%%MatrixMarket matrix array real general", "2 2", "1"}),
         "List index out of bounds (3)"},
        {"no size line", spfMatrixMarket, Lines({header, "% only comments"}), "List index out of bounds (2)"},
        {"huge count", spfMatrixMarket, Lines({header, "2 2 1e300", "1 1 1"}), "List index out of bounds (3)"},
        {"row 0", spfMatrixMarket, Lines({header, "2 2 1", "0 1 1"}), "Invalid triplet!"},
        {"column past", spfMatrixMarket, Lines({header, "2 2 1", "1 3 1"}), "Invalid triplet!"},
        {"index past Integer", spfMatrixMarket, Lines({header, "2 2 1", "1e10 1 1"}), "Invalid triplet!"},
        {"mirror past a rectangle", spfMatrixMarket,
         Lines({"%%MatrixMarket matrix coordinate real symmetric", "3 2 1", "3 1 1"}), "Invalid triplet!"},
        {"negative rows", spfMatrixMarket, Lines({header, "-2 2 0"}), "(RowCount <= 0) or (ColCount <= 0)"},
        {"zero rows with an entry", spfMatrixMarket, Lines({header, "0 2 1", "1 1 1"}),
         "(RowCount <= 0) or (ColCount <= 0)"},
        {"size past Integer", spfMatrixMarket, Lines({header, "3e9 2 0"}), "(RowCount <= 0) or (ColCount <= 0)"},
        {"NaN size", spfMatrixMarket, Lines({header, "nan 2 0"}), "(RowCount <= 0) or (ColCount <= 0)"},
        {"negative count", spfMatrixMarket, Lines({header, "2 2 -1"}), "Length(Row) <= 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSparseMtx m;
        MakeSmall(m);
        m.SetCaption("kept");
        const TSnapshot before = Snapshot(m);
        ExpectRaise([&] { m.StringsToValues(c.Text, c.Format); }, c.Message, c.Name);
        EXPECT_EQ(Snapshot(m), before);
        EXPECT_EQ(m.Caption(), "kept");
    }
}

// Other programs' files, as scipy.io.mmread reads them.
TEST_F(SparseMarket, ReaderAgreesWithScipy)
{
    for (const MarketFile& f : kMarketFiles) {
        SCOPED_TRACE(f.name);
        TSparseMtx m;
        m.LoadFromMatrixMarketFile(std::string(TARNEL_TEST_DATA_DIR "/sparse_market/") + f.name + ".mtx");
        TSnapshot want;
        want.Rows = f.rows;
        want.Cols = f.cols;
        want.Complex = f.complex;
        want.NonZeros = static_cast<int>(f.rowIndices.size());
        want.ColPointers = f.colPointers;
        want.RowIndices = f.rowIndices;
        want.Values = f.values;
        EXPECT_EQ(Snapshot(m), want);
    }
}

void Load(TSparseMtx& M, const MarketWrite& W)
{
    M.SetDontStripZeros(true);
    if (W.complex) {
        TCplxArray v;
        for (std::size_t k = 0; k < W.values.size(); k += 2) v.push_back({W.values[k], W.values[k + 1]});
        if (v.empty())
            M.Size(W.rows, W.cols, 0, true);
        else
            M.TripletsToSparse(W.rows, W.cols, W.row, W.col, v, 0);
    } else if (W.values.empty()) {
        M.Size(W.rows, W.cols, 0, false);
    } else {
        M.TripletsToSparse(W.rows, W.cols, W.row, W.col, W.values, 0);
    }
}

// Our files, read by scipy.io.mmread, hold every Double bit for bit; read back by us they give the same matrix.
TEST_F(SparseMarket, WrittenFilesReadByScipyAndBack)
{
    TTempDir dir;
    for (const MarketWrite& w : kMarketWrites) {
        SCOPED_TRACE(w.name);
        TSparseMtx m;
        Load(m, w);
        const std::string file = dir.File(std::string(w.name) + ".mtx");
        m.SaveToMatrixMarketFile(file);
        TSparseMtx back;
        back.SetDontStripZeros(true);
        back.LoadFromMatrixMarketFile(file);
        EXPECT_EQ(Snapshot(back), Snapshot(m));
    }
    EXPECT_EQ(RunPythonCheck("check_sparse_market.py", dir.Path()), "");
}

TEST_F(SparseMarket, LoadMissingFileOrFolderChangesNothing)
{
    TTempDir dir;
    TSparseMtx m;
    MakeSmall(m);
    m.SetCaption("kept");
    const TSnapshot before = Snapshot(m);
    m.LoadFromMatrixMarketFile(dir.File("missing.mtx"));
    m.LoadFromMatrixMarketFile(dir.Path());
    EXPECT_EQ(Snapshot(m), before);
    EXPECT_EQ(m.Caption(), "kept");
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

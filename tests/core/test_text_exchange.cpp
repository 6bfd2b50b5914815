// Text, MatrixMarket and grid exchange of vectors and matrices: parsed values against Python's float and complex
// (tests/data/gen_text_exchange_golden.py), the shortest number text against Python's repr, MatrixMarket files read
// by scipy.io.mmread next to scipy.io.mmwrite's (tests/data/gen_matrix_market.py, check_matrix_market.py), the
// documented examples, replace-or-append, column counts, grid layouts at the exact edge of their grids, and the
// refusals with the target and the grid unchanged.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestSupport.h"
#include "elem_util.h"

using namespace tarnel;
using namespace testsupport;
using elemtest::Doubles;
using elemtest::ExpectSame;
using elemtest::SameDouble;

namespace {

#include "matrix_market_golden.inc"
#include "text_exchange_golden.inc"

class TextExchange : public elemtest::ElemTest {
protected:
    void TearDown() override
    {
        SetDecimalSeparator(FSeparator);
        SetMtxConditionCheck(true);
        elemtest::ElemTest::TearDown();
    }
    const char FSeparator = DecimalSeparator();
};

TStringList Lines(const std::vector<std::string>& L)
{
    TStringList s;
    for (const std::string& line : L) s.Add(line);
    return s;
}

std::vector<std::string> Content(const TStrings& S)
{
    std::vector<std::string> out;
    for (int i = 0; i < S.Count(); ++i) out.push_back(S.Strings(i));
    return out;
}

std::vector<double> MtxDoubles(const TMtx& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return n ? std::vector<double>(M.Values(), M.Values() + n) : std::vector<double>();
}

void ExpectMtx(const TMtx& M, int Rows, int Cols, bool Complex, const std::vector<double>& Want,
               const std::string& Where = "")
{
    ASSERT_EQ(M.Rows(), Rows) << Where;
    ASSERT_EQ(M.Cols(), Cols) << Where;
    ASSERT_EQ(M.Complex(), Complex) << Where;
    const std::vector<double> got = MtxDoubles(M);
    ASSERT_EQ(got.size(), Want.size()) << Where;
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(SameDouble(got[i], Want[i]))
            << Where << ": Double " << i << " is " << got[i] << ", not " << Want[i];
}

// Every cell of the grid, row by row.
std::vector<std::string> Cells(const TCellGrid& G)
{
    std::vector<std::string> out;
    for (int r = 0; r < G.RowCount(); ++r)
        for (int c = 0; c < G.ColCount(); ++c) out.push_back(G.Cells(c, r));
    return out;
}

// A grid whose every cell holds "x", to see which cells a writer touched.
TStringGrid Marked(int Cols, int Rows)
{
    TStringGrid g(Cols, Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) g.SetCells(c, r, "x");
    return g;
}

// ---- Number text: the readers against Python, the MatrixMarket writer's numbers against repr ---------------------

TEST_F(TextExchange, ShortestTextReadsBackAndMatchesRepr)
{
    for (const ShortestRow& row : kShortest) {
        const std::string text = FloatToStrShortest(row.x);
        EXPECT_EQ(text, row.text) << row.text;
        EXPECT_TRUE(SameDouble(StrToFloat(text), row.x)) << text;
    }
    EXPECT_EQ(FloatToStrShortest(NAN), "NAN");
    EXPECT_EQ(FloatToStrShortest(INF), "INF");
    EXPECT_EQ(FloatToStrShortest(-INF), "-INF");
    // Whatever the process-wide separator, the MatrixMarket text keeps its point.
    SetDecimalSeparator(',');
    EXPECT_EQ(FloatToStrShortest(0.5), "0.5");
}

// Every row of the table as a line, a delimited field and a grid cell, with either decimal separator: the same
// Doubles as Python reads, bit for bit.
TEST_F(TextExchange, ParsedValuesAgainstPython)
{
    for (const char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        const std::string where = std::string("separator ") + separator;
        std::vector<double> all;
        std::vector<double> real;
        std::vector<double> cellValues;
        TStringList lines, realLines, fields;
        TStringGrid cells(1, 0);
        std::string row;
        int inRow = 0;
        for (const ParseRow& r : kParse) {
            lines.Add(r.text);
            all.push_back(r.re);
            all.push_back(r.im);
            if (r.im == 0) {
                realLines.Add(r.text);
                real.push_back(r.re);
            }
            if (r.im == 0 && std::string(r.text).back() != 'i') {  // a cell holds a real number
                cells.SetRowCount(cells.RowCount() + 1);
                cells.SetCells(0, cells.RowCount() - 1, r.text);
                cellValues.push_back(r.re);
            }
            row += (inRow ? ";" : "") + std::string(r.text);
            if (++inRow == 3) {
                fields.Add(row);
                row.clear();
                inRow = 0;
            }
        }
        TVec v;
        v.StringsToValues(lines);
        ExpectSame(v, true, all, where + ", lines");
        TVec w;
        w.StringsToValues(realLines);
        ExpectSame(w, false, real, where + ", real lines");
        TVec g;
        g.GridToValues(cells, false, true, false);
        ExpectSame(g, false, cellValues, where + ", grid cells");
        TMtx m;
        m.StringsToValues(fields, ";");
        ExpectMtx(m, fields.Count(), 3, true,
                  std::vector<double>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(fields.Count()) * 6),
                  where + ", fields");
    }
}

// ---- Vectors and lines ------------------------------------------------------------------------------------------

TEST_F(TextExchange, VectorLinesAsDocumented)
{
    TVec v;
    v.StringsToValues(Lines({"1", "2+3i", "4"}));
    ExpectSame(v, true, {1, 0, 2, 3, 4, 0}, "a complex line makes the vector complex");
    v.SetIt(false, {9});
    v.StringsToValues(Lines({"1", "2", "3"}));
    ExpectSame(v, false, {1, 2, 3}, "real lines keep it real");

    TStringList out = Lines({"first"});
    v.SetIt(true, {1.5, -2, 0, 1, 3, 0});
    v.ValuesToStrings(out);
    EXPECT_EQ(Content(out), (std::vector<std::string>{"first", "1.5-2i", "i", "3"}));
    v.ValuesToStrings(out, "0.00", "+0.0i;-0.0i");
    EXPECT_EQ(out.Strings(4), "1.50-2.0i");
}

// A line goes to ListIndex + k where the list has it, else to the end.
TEST_F(TextExchange, ReplaceOrAppend)
{
    struct Case {
        int ListIndex, Index, Len;
        std::vector<std::string> Want;
    };
    const Case cases[] = {
        {0, 0, 2, {"1", "2", "c"}},            // inside
        {2, 1, 3, {"a", "b", "2", "3", "4"}},  // from the last line on: replaced, then appended
        {3, 0, 2, {"a", "b", "c", "1", "2"}},  // at the end
        {7, 3, 1, {"a", "b", "c", "4"}},       // past the end: appended, not placed at 7
        {1, 0, 0, {"a", "b", "c"}},            // nothing
    };
    TVec v;
    v.SetIt(false, {1, 2, 3, 4});
    for (const Case& c : cases) {
        TStringList s = Lines({"a", "b", "c"});
        v.ValuesToStrings(s, c.ListIndex, c.Index, c.Len);
        EXPECT_EQ(Content(s), c.Want) << c.ListIndex << ", " << c.Index << ", " << c.Len;
    }
}

// A range of lines into a range of elements; a real vector that takes a complex value becomes x + 0i outside the
// range too, and real values in a complex vector get zero imaginary parts.
TEST_F(TextExchange, VectorRangeReadsAndPromotion)
{
    TVec v;
    v.SetIt(false, {1, 2, 3, 4});
    v.StringsToValues(Lines({"x", "5+1i", "y"}), 1, 2, 1);
    ExpectSame(v, true, {1, 0, 2, 0, 5, 1, 4, 0});
    v.StringsToValues(Lines({"-7", "8"}), 0, 0, -1);
    ExpectSame(v, true, {-7, 0, 8, 0, 5, 1, 4, 0}, "Len < 0: every line");
    v.SetIt(false, {1, 2, 3});
    v.StringsToValues(Lines({"6", "7"}), 1, 1, 1);
    ExpectSame(v, false, {1, 7, 3}, "real stays real");
}

TEST_F(TextExchange, VectorLineRefusalsChangeNothing)
{
    TStringList s = Lines({"1", "2", "3"});
    TVec v;
    const auto mark = [&] { v.SetIt(false, {9, 8}); };
    struct Case {
        std::function<void()> Call;
        std::string Message;
    };
    const Case cases[] = {
        {[&] { v.ValuesToStrings(s, -1, 0, 1); }, "(ListIndex < 0) or (Index < 0) or (Len < 0)"},
        {[&] { v.ValuesToStrings(s, 0, 0, -1); }, "(ListIndex < 0) or (Index < 0) or (Len < 0)"},
        {[&] { v.ValuesToStrings(s, 0, 1, 2); }, "Index + Len > fLength"},
        {[&] { v.StringsToValues(s, 0, -1, 1); }, "(ListIndex < 0) or (Index < 0)"},
        {[&] { v.StringsToValues(s, 0, 1, 2); }, "(Index + Len) > fLength"},
        {[&] { v.StringsToValues(s, 2, 0, 2); }, "ListIndex + Len > AList.Count"},
        {[&] { v.StringsToValues(s, 0, 0, -1); }, "(Index + Len) > fLength"},  // three lines, two elements
        {[&] {
             v.StringsToValues(Lines({"1", "abc"}), 0, 0, 2);
         },
         "\"abc\" is an invalid float"},
        {[&] {
             v.StringsToValues(Lines({"1+1i", "abc"}));
         },
         "\"abc\" is an invalid float"},
    };
    for (const Case& c : cases) {
        mark();
        ExpectRaise(c.Call, c.Message);
        ExpectSame(v, false, {9, 8}, c.Message);
        EXPECT_EQ(Content(s), (std::vector<std::string>{"1", "2", "3"})) << c.Message;
    }
    // With ConditionCheck off every one of these still raises.
    v.SetConditionCheck(false);
    ExpectRaise([&] { v.ValuesToStrings(s, 0, 1, 2); }, "Index + Len > fLength");
    ExpectRaise([&] { v.StringsToValues(s, 0, 1, 2); }, "(Index + Len) > fLength");
}

// ---- Matrices and lines -----------------------------------------------------------------------------------------

TEST_F(TextExchange, MatrixLinesAsDocumented)
{
    TMtx m;
    m.StringsToValues(Lines({"1,2,3", "4,5,6"}), ",");
    ExpectMtx(m, 2, 3, false, {1, 2, 3, 4, 5, 6});
    ExpectRaise([&] { m.StringsToValues(Lines({"1,2,3", "4,5,6", "1,2,3,4"}), ","); }, "k > AMtx.Cols-1");
    ExpectMtx(m, 2, 3, false, {1, 2, 3, 4, 5, 6}, "unchanged");

    m.SetIt(2, 2, false, {1, 2, 3, 4});
    TStringList out = Lines({"kept"});
    m.ValuesToStrings(out, ";");
    EXPECT_EQ(Content(out), (std::vector<std::string>{"kept", "1;2", "3;4"}));

    m.SetIt(1, 2, true, {1, 2, 0, -1});
    m.ValuesToStrings(out, 0, 0, 0, 1, 2, " | ");
    EXPECT_EQ(out.Strings(0), "1+2i | -i");
    m.StringsToValues(Lines({"1+2i | -i"}), " | ");
    ExpectMtx(m, 1, 2, true, {1, 2, 0, -1}, "read back");
}

TEST_F(TextExchange, ColumnCountCountsEveryDelimiterButATrailingOne)
{
    struct Case {
        const char* Line;
        const char* Delimiter;
        int Count;
    };
    const Case cases[] = {
        {"1 2 3 ", " ", 3},                                     // one trailing blank
        {"1  2", " ", 3},                                       // two blanks: an empty field
        {",1,2", ",", 3},                                       // leading
        {"1,2,", ",", 2},                                       // trailing
        {"1,,2", ",", 3},                                       // doubled
        {",,,", ",", 3},    {"", ",", 1}, {"1;;2;;", ";;", 2},  // whole delimiters, the trailing one not counted
        {"1;;;2", ";;", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(ColumnCount(Lines({c.Line}), 0, c.Delimiter), c.Count) << c.Line;
    ExpectRaise([] { ColumnCount(Lines({"1"}), 1, ","); }, "Row > AList.Count-1");
    ExpectRaise([] { ColumnCount(Lines({"1"}), -1, ","); }, "Row < 0");
    ExpectRaise([] { ColumnCount(Lines({"1"}), 0, ""); }, "Delimiter is empty");
}

// Doubled and leading delimiters count as columns while the reader skips them; an element without a field is 0,
// never a value left in the pooled block by an earlier read.
TEST_F(TextExchange, MissingFieldsReadAsZero)
{
    TMtx m;
    m.StringsToValues(Lines({"7,8,9", "7,8,9"}), ",");
    m.StringsToValues(Lines({"1,,2", "3"}), ",");
    ExpectMtx(m, 2, 3, false, {1, 2, 0, 3, 0, 0});
    m.StringsToValues(Lines({"1 2 3 ", " 4"}), " ");
    ExpectMtx(m, 2, 3, false, {1, 2, 3, 4, 0, 0}, "a trailing blank is no column, a leading one is skipped");
}

TEST_F(TextExchange, MatrixBlockReadsAndPromotion)
{
    TMtx m;
    m.SetIt(3, 3, false, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    m.StringsToValues(Lines({"skip", "10;11", "12;13i"}), 1, 2, 1, 1, ";");
    ExpectMtx(m, 3, 3, true, {1, 0, 2, 0, 3, 0, 4, 0, 10, 0, 11, 0, 7, 0, 12, 0, 0, 13});
    m.StringsToValues(Lines({"-1;-2"}), 0, 1, 2, 0, ";");
    ExpectMtx(m, 3, 3, true, {1, 0, 2, 0, 3, 0, 4, 0, 10, 0, 11, 0, -1, 0, -2, 0, 0, 13}, "complex keeps complex");
}

// Delimiters holding the decimal separator: the numbers are written with the other one and read back.
TEST_F(TextExchange, DelimiterHoldingTheDecimalSeparator)
{
    struct Case {
        char Separator;
        const char* Delimiter;
        const char* Line;
    };
    const Case cases[] = {{',', ",", "1.5,2.5"}, {',', ", ", "1.5, 2.5"}, {'.', ".", "1,5.2,5"}, {',', ";", "1,5;2,5"}};
    for (const Case& c : cases) {
        SetDecimalSeparator(c.Separator);
        TMtx m;
        m.SetIt(1, 2, false, {1.5, 2.5});
        TStringList s;
        m.ValuesToStrings(s, c.Delimiter);
        EXPECT_EQ(s.Strings(0), c.Line);
        m.StringsToValues(s, c.Delimiter);
        ExpectMtx(m, 1, 2, false, {1.5, 2.5}, c.Line);
    }
}

TEST_F(TextExchange, MatrixLineRefusalsChangeNothing)
{
    TStringList s = Lines({"1,2", "3,4", "5,6"});
    TMtx m;
    const auto mark = [&] { m.SetIt(2, 2, false, {9, 8, 7, 6}); };
    struct Case {
        bool Check;
        std::function<void()> Call;
        std::string Message;
    };
    const Case cases[] = {
        {true, [&] { m.ValuesToStrings(s, -1, 0, 0, 1, 1, ","); },
         "(ListIndex < 0) or (Row < 0) or (Col < 0) or (RowCount < 0) or (ColCount < 0)"},
        {true, [&] { m.ValuesToStrings(s, 0, 1, 0, 2, 1, ","); }, "TMtx.ValuesToStrings: (Row + RowCount) > FRows"},
        {false, [&] { m.ValuesToStrings(s, 0, 0, 1, 1, 2, ","); }, "TMtx.ValuesToStrings: (Col + ColCount) > FCols"},
        {true, [&] { m.StringsToValues(s, 0, 1, 0, -1, ","); },
         "(ListIndex < 0) or (ListLen < 0) or (Row < 0) or (Col < 0)"},
        {true, [&] { m.StringsToValues(s, 3, 1, 0, 0, ","); }, "Row > AList.Count-1"},
        {true, [&] { m.StringsToValues(s, 0, 2, 2, 0, ","); }, "(Row + ListLen-1) > fRows"},
        {true, [&] { m.StringsToValues(s, 0, 1, 0, 1, ","); }, "(Col + ColumnCount) > fCols"},
        {true, [&] { m.StringsToValues(s, 2, 3, 0, 0, ","); }, "(ListIndex+ListLen-1) > Alist.Count"},
        // One row or line too many passes these checks, as documented; the list and the block refuse it.
        {true, [&] { m.StringsToValues(s, 0, 3, 0, 0, ","); }, "Row + NrRows > Rows"},
        {true, [&] { m.StringsToValues(s, 1, 3, 0, 0, ","); }, "List index out of bounds (3)"},
        // Without ConditionCheck the same calls meet the guards that always run.
        {false, [&] { m.StringsToValues(s, 0, 2, 2, 0, ","); }, "Row + NrRows > Rows"},
        {false, [&] { m.StringsToValues(s, 0, 1, 0, 1, ","); }, "Col + NrCols > Cols"},
        {false, [&] { m.StringsToValues(s, 2, 3, 0, 0, ","); }, "List index out of bounds (3)"},
        {true,
         [&] {
             m.StringsToValues(Lines({"1,2", "3,x"}), 0, 2, 0, 0, ",");
         },
         "\"x\" is an invalid float"},
        {true,
         [&] {
             m.StringsToValues(Lines({"1,2", "3,4i"}), 0, 2, 0, 1, ",");
         },
         "(Col + ColumnCount) > fCols"},
        {true,
         [&] {
             m.StringsToValues(Lines({"1,2", "3,x"}), ",");
         },
         "\"x\" is an invalid float"},
        {true, [&] { m.StringsToValues(TStringList(), ","); }, "Row > AList.Count-1"},
    };
    for (const Case& c : cases) {
        mark();
        m.SetConditionCheck(c.Check);
        try {
            c.Call();
            ADD_FAILURE() << "no exception, expected " << c.Message;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.Message);
            if (c.Message.rfind("List index", 0) == 0) {
                EXPECT_NE(dynamic_cast<const EListError*>(&e), nullptr);
            }
        }
        ExpectMtx(m, 2, 2, false, {9, 8, 7, 6}, c.Message);
        EXPECT_EQ(Content(s), (std::vector<std::string>{"1,2", "3,4", "5,6"})) << c.Message;
    }
}

// ---- Grids ------------------------------------------------------------------------------------------------------

TEST_F(TextExchange, GridsAsDocumented)
{
    TVec v;
    v.SetIt(true, {1, 2, 3, 4});
    TStringGrid g(3, 3);
    v.ValuesToGrid(g, 0, 0, "", true, true);
    EXPECT_EQ(Cells(g), (std::vector<std::string>{"", "0-Re", "0-Im", "0", "1", "2", "1", "3", "4"}));
    TVec back;  // real until the grid makes it complex
    back.GridToValues(g, true, true, true);
    ExpectSame(back, true, {1, 2, 3, 4});

    TMtx m;
    m.SetIt(2, 2, true, {1, 2, 3, 4, 5, 6, 7, 8});
    TStringGrid h(5, 3);
    m.ValuesToGrid(h, 0, 0, "", true);
    EXPECT_EQ(Cells(h), (std::vector<std::string>{"", "0-Re", "0-Im", "1-Re", "1-Im", "0", "1", "2", "3", "4", "1", "5",
                                                  "6", "7", "8"}));
    TMtx read;
    read.GridToValues(h, true, true);
    ExpectMtx(read, 2, 2, true, {1, 2, 3, 4, 5, 6, 7, 8});

    // Horizontal headers: "0" for the row, element numbers for the columns (complex: the element's own index).
    TStringGrid r(4, 2), c(5, 2);
    v.SetIt(false, {5, 6, 7});
    v.ValuesToGrid(r, 0, 0, 1, 2, "0.0", true, false);
    EXPECT_EQ(Cells(r), (std::vector<std::string>{"", "0", "1", "", "0", "6.0", "7.0", ""}));
    v.SetIt(true, {5, 6, 7, 8, 9, 10});
    v.ValuesToGrid(c, 0, 0, 1, 2, "", true, false);
    EXPECT_EQ(Cells(c), (std::vector<std::string>{"", "1-Re", "1-Im", "2-Re", "2-Im", "0", "7", "8", "9", "10"}));
}

// Each layout on a grid of exactly its size round trips; a grid one column or one row smaller refuses it with the
// text of that dimension and keeps every cell.
TEST_F(TextExchange, VectorGridLayoutsAtTheEdge)
{
    struct Case {
        bool Complex, Vertical, Headers;
        int DstRow, DstCol, Index, Len;
        int Cols, Rows;  // the grid the layout fills
    };
    const Case cases[] = {
        {false, true, false, 0, 0, 0, 3, 1, 3},  {false, true, true, 1, 2, 1, 2, 4, 4},
        {true, true, false, 2, 1, 0, 3, 3, 5},   {true, true, true, 0, 0, 2, 1, 3, 2},
        {false, false, false, 0, 0, 0, 3, 3, 1}, {false, false, true, 2, 1, 1, 2, 4, 4},
        {true, false, false, 1, 0, 1, 2, 4, 2},  {true, false, true, 0, 3, 0, 3, 10, 2},
        {true, true, true, 1, 1, 3, 0, 4, 2},    {false, false, true, 0, 0, 3, 0, 1, 2},  // Len 0: headers only
    };
    const std::vector<double> re = {1.5, -2, 3, 4.25};
    const std::vector<double> cx = {1.5, -1, -2, 2, 3, 0, 4.25, -4};
    for (const Case& c : cases) {
        const std::string where = std::to_string(&c - cases);
        TVec v;
        v.SetIt(c.Complex, c.Complex ? cx : re);
        const int w = c.Complex ? 2 : 1;
        const int h = c.Headers ? 1 : 0;

        TStringGrid g = Marked(c.Cols, c.Rows);
        v.ValuesToGrid(g, c.DstRow, c.DstCol, c.Index, c.Len, "", c.Headers, c.Vertical);
        TVec back;
        back.Size(4, c.Complex);
        back.SetZero();
        back.GridToValues(g, c.DstRow + h, c.DstCol + h, c.Index, c.Len, c.Complex, c.Vertical);
        const std::vector<double>& all = c.Complex ? cx : re;
        for (int k = c.Index * w; k < (c.Index + c.Len) * w; ++k) EXPECT_EQ(Doubles(back)[k], all[k]) << where;
        const std::vector<std::string> written = Cells(g);
        EXPECT_NE(written, Cells(Marked(c.Cols, c.Rows))) << where << ": nothing written";
        // The last row and the last column of the grid each hold a written cell, so the grid is the smallest.
        bool lastRow = false, lastCol = false;
        for (int k = 0; k < c.Cols; ++k) lastRow = lastRow || g.Cells(k, c.Rows - 1) != "x";
        for (int k = 0; k < c.Rows; ++k) lastCol = lastCol || g.Cells(c.Cols - 1, k) != "x";
        EXPECT_TRUE(lastRow && lastCol) << where;

        TStringGrid narrow = Marked(c.Cols - 1, c.Rows), low = Marked(c.Cols, c.Rows - 1);
        ExpectRaise([&] { v.ValuesToGrid(narrow, c.DstRow, c.DstCol, c.Index, c.Len, "", c.Headers, c.Vertical); },
                    c.Vertical ? "(Dst.ColCount) < (2+Integer(FComplex))" : "(Dst.ColCount+1) < fLength", where);
        ExpectRaise([&] { v.ValuesToGrid(low, c.DstRow, c.DstCol, c.Index, c.Len, "", c.Headers, c.Vertical); },
                    c.Vertical ? "(Dst.RowCount+1) < (DstRow+Len)" : "(Dst.RowCount+1) < (2+Integer(FComplex)", where);
        EXPECT_EQ(Cells(narrow), Cells(Marked(c.Cols - 1, c.Rows))) << where;
        EXPECT_EQ(Cells(low), Cells(Marked(c.Cols, c.Rows - 1))) << where;
    }
}

TEST_F(TextExchange, MatrixGridLayoutsAtTheEdge)
{
    struct Case {
        bool Complex, Headers;
        int DstRow, DstCol, SrcRow, SrcCol, RowCount, ColCount;
        int Cols, Rows;
    };
    const Case cases[] = {
        {false, false, 0, 0, 0, 0, 3, 3, 3, 3}, {false, true, 1, 2, 1, 1, 2, 2, 5, 4},
        {true, false, 2, 1, 0, 1, 3, 2, 5, 5},  {true, true, 0, 0, 1, 0, 2, 3, 7, 3},
        {true, true, 0, 0, 0, 0, 0, 2, 5, 1},   {false, true, 1, 1, 1, 2, 2, 0, 2, 4},  // headers of empty blocks
    };
    for (const Case& c : cases) {
        const std::string where = std::to_string(&c - cases);
        TMtx m;
        std::vector<double> values;
        for (int k = 0; k < 9 * (c.Complex ? 2 : 1); ++k) values.push_back(k * 1.25 - 3);
        m.SetIt(3, 3, c.Complex, values);
        const int h = c.Headers ? 1 : 0;
        TStringGrid g = Marked(c.Cols, c.Rows);
        m.ValuesToGrid(g, c.DstRow, c.DstCol, c.SrcRow, c.SrcCol, c.RowCount, c.ColCount, "", c.Headers);
        if (c.Headers && c.RowCount > 0) {
            EXPECT_EQ(g.Cells(c.DstCol, c.DstRow + 1), std::to_string(c.SrcRow)) << where;
        }
        TMtx back;
        back.Size(3, 3, c.Complex);
        back.SetZero();
        back.GridToValues(g, c.DstRow + h, c.DstCol + h, c.SrcRow, c.SrcCol, c.RowCount, c.ColCount, c.Complex);
        for (int i = 0; i < c.RowCount; ++i)
            for (int k = 0; k < c.ColCount * (c.Complex ? 2 : 1); ++k) {
                const int at = (c.SrcRow + i) * 3 * (c.Complex ? 2 : 1) + c.SrcCol * (c.Complex ? 2 : 1) + k;
                EXPECT_EQ(back.Values()[at], values[at]) << where;
            }
        bool lastRow = false, lastCol = false;
        for (int k = 0; k < c.Cols; ++k) lastRow = lastRow || g.Cells(k, c.Rows - 1) != "x";
        for (int k = 0; k < c.Rows; ++k) lastCol = lastCol || g.Cells(c.Cols - 1, k) != "x";
        EXPECT_TRUE(lastRow && lastCol) << where;

        TStringGrid narrow = Marked(c.Cols - 1, c.Rows), low = Marked(c.Cols, c.Rows - 1);
        const auto write = [&](TStringGrid& G) {
            m.ValuesToGrid(G, c.DstRow, c.DstCol, c.SrcRow, c.SrcCol, c.RowCount, c.ColCount, "", c.Headers);
        };
        ExpectRaise([&] { write(narrow); }, "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)", where);
        ExpectRaise([&] { write(low); }, "(Dst.RowCount+1) < (RowCount+DstRow)", where);
        EXPECT_EQ(Cells(narrow), Cells(Marked(c.Cols - 1, c.Rows))) << where;
        EXPECT_EQ(Cells(low), Cells(Marked(c.Cols, c.Rows - 1))) << where;
    }
}

// Reading a real grid into a complex vector gives zero imaginary parts; a complex grid makes a real vector complex.
TEST_F(TextExchange, GridReadsMixKinds)
{
    TStringGrid g(2, 2);
    g.SetCells(0, 0, "1.5");
    g.SetCells(1, 0, "2");
    g.SetCells(0, 1, "-3");
    g.SetCells(1, 1, "4e1");
    TVec v;
    v.SetIt(true, {9, 9, 9, 9, 9, 9});
    v.GridToValues(g, 0, 0, 1, 2, false, true);
    ExpectSame(v, true, {9, 9, 1.5, 0, -3, 0});
    v.SetIt(false, {7, 7, 7});
    v.GridToValues(g, 0, 0, 2, 1, true, false);
    ExpectSame(v, true, {7, 0, 7, 0, 1.5, 2});
    TMtx m;
    m.SetIt(2, 2, false, {1, 2, 3, 4});
    m.GridToValues(g, 1, 0, 1, 1, 1, 1, true);
    ExpectMtx(m, 2, 2, true, {1, 0, 2, 0, 3, 0, -3, 40});
    m.GridToValues(g, false, false);
    ExpectMtx(m, 2, 2, false, {1.5, 2, -3, 40}, "whole");
    TVec whole;
    whole.GridToValues(g, true, false, false);
    ExpectSame(whole, true, {1.5, 2}, "horizontal complex: a row of pairs");
}

TEST_F(TextExchange, GridRefusalsChangeNothing)
{
    TStringGrid g = Marked(3, 3);
    g.SetCells(0, 0, "1");
    g.SetCells(1, 0, "2");
    g.SetCells(0, 1, "3");
    const std::vector<std::string> before = Cells(g);
    TVec v;
    TMtx m;
    const auto mark = [&] {
        v.SetIt(false, {9, 8});
        m.SetIt(2, 2, false, {9, 8, 7, 6});
    };
    struct Case {
        bool Check;
        std::function<void()> Call;
        std::string Message;
    };
    const Case cases[] = {
        {true, [&] { v.ValuesToGrid(g, -1, 0, 0, 1, "", false, true); },
         "(DstRow < 0) or (DstCol < 0) or (Index < 0) or (Len < 0)"},
        {true, [&] { v.ValuesToGrid(g, 0, 0, 1, 2, "", false, true); }, "(Index+Len) > Length"},
        {false, [&] { v.ValuesToGrid(g, 0, 0, 1, 2, "", false, true); }, "(Index+Len) > Length"},
        {true, [&] { v.GridToValues(g, 0, -1, 0, 1, false, true); },
         "(SrcRow < 0) or (SrcCol < 0) or (Index < 0) or (Len < 0)"},
        {true, [&] { v.GridToValues(g, 0, 0, 1, 2, false, true); }, "(Index + Len) > fLength"},
        {false, [&] { v.GridToValues(g, 0, 0, 1, 2, false, true); }, "(Index + Len) > fLength"},
        {true, [&] { v.GridToValues(g, 2, 0, 0, 2, false, true); }, "((SrcRow + Len) > Src.RowCount) and Vertical"},
        {true, [&] { v.GridToValues(g, 0, 2, 0, 1, true, true); }, "(SrcCol+(Byte(IsComplex)+1)) > Src.ColCount"},
        {true, [&] { v.GridToValues(g, 3, 0, 0, 1, false, false); }, "(SrcRow+1) > Src.RowCount"},
        {true, [&] { v.GridToValues(g, 0, 2, 0, 1, true, false); }, "((SrcCol + Len) > Src.ColCount) and not Vertical"},
        {false, [&] { v.GridToValues(g, 3, 0, 0, 2, false, true); }, "Grid index out of range"},
        {true, [&] { v.GridToValues(g, 0, 1, 0, 2, false, true); }, "\"x\" is an invalid float"},
        {true, [&] { v.GridToValues(g, true, true, false); }, "\"x\" is an invalid float"},
        {true, [&] { m.ValuesToGrid(g, 0, 0, 0, -1, 1, 1, "", false); },
         "(DstRow < 0) or (DstCol < 0) or (SrcRow < 0) or (SrcCol < 0) or (RowCount < 0) or (ColCount < 0)"},
        {true, [&] { m.ValuesToGrid(g, 0, 0, 1, 0, 2, 1, "", false); }, "(SrcRow + RowCount) > Src.Rows"},
        {true, [&] { m.ValuesToGrid(g, 0, 0, 0, 1, 1, 2, "", false); }, "(SrcCol + ColCount) > Src.Cols"},
        {true, [&] { m.GridToValues(g, 0, 0, -1, 0, 1, 1, false); },
         "(SrcRow < 0) or (SrcCol < 0) or (Row < 0) or (Col < 0) or (RowCount < 0) or (ColCount < 0)"},
        {true, [&] { m.GridToValues(g, 0, 0, 1, 0, 2, 1, false); }, "(Row + RowCount) > fRows"},
        {false, [&] { m.GridToValues(g, 0, 0, 0, 1, 1, 2, false); }, "(Col + ColCount) > fCols"},
        {true, [&] { m.GridToValues(g, 2, 0, 0, 0, 2, 1, false); }, "(SrcRow + RowCount) > Src.RowCount"},
        {true, [&] { m.GridToValues(g, 0, 0, 0, 0, 1, 2, true); },
         "(SrcCol + ColCount*(Byte(IsComplex)+1)) > Src.ColCount)"},
        {false, [&] { m.GridToValues(g, 3, 0, 0, 0, 1, 1, false); }, "Grid index out of range"},
        {true, [&] { m.GridToValues(g, false, false); }, "\"x\" is an invalid float"},
    };
    for (const Case& c : cases) {
        mark();
        v.SetConditionCheck(c.Check);
        m.SetConditionCheck(c.Check);
        ExpectRaise(c.Call, c.Message);
        ExpectSame(v, false, {9, 8}, c.Message);
        ExpectMtx(m, 2, 2, false, {9, 8, 7, 6}, c.Message);
        EXPECT_EQ(Cells(g), before) << c.Message;
    }
    TStringGrid empty(0, 0);
    ExpectRaise([&] { empty.Cells(0, 0); }, "Grid index out of range");
    ExpectRaise([] { TStringGrid(-1, 2); }, "Grid size < 0");
}

// ---- MatrixMarket -----------------------------------------------------------------------------------------------

TEST_F(TextExchange, MatrixMarketFileAsDocumented)
{
    TTempDir dir;
    TMtx m;
    m.SetIt(2, 2, false, {1, 2, 3, 4});
    m.SaveToMatrixMarketFile(dir.File("a.mtx"));
    std::string text = ReadFile(dir.File("a.mtx"));
    const std::string date = "%Date: " + DateToStr(Date()) + "\r\n";
    const std::size_t at = text.find("%Date: ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at, date.size()), date);
    text.replace(at, text.find("\r\n", at) + 2 - at, "%Date: <masked>\r\n");
    EXPECT_EQ(text,
              "%%MatrixMarket matrix array real general \r\n%Created with Tarnel version 150\r\n"
              "%Date: <masked>\r\n2 2 \r\n1\r\n3\r\n2\r\n4\r\n");
}

// Our files, read by scipy.io.mmread, hold every Double bit for bit and the same arrays as scipy.io.mmwrite's.
TEST_F(TextExchange, MatrixMarketFilesReadByScipy)
{
    TTempDir dir;
    for (const MarketCase& c : kMarket) {
        TMtx m;
        Load(m, c.m, c.complex);
        m.SaveToMatrixMarketFile(dir.File(std::string(c.name) + ".mtx"));
    }
    EXPECT_EQ(RunPythonCheck("check_matrix_market.py", dir.Path()), "");
}

TEST_F(TextExchange, MatrixMarketFileErrors)
{
    TMtx m;
    m.SetIt(1, 1, false, {1});
    EXPECT_THROW(m.SaveToMatrixMarketFile("/no/such/folder/a.mtx"), EFCreateError);
    ExpectRaise([&] { m.SaveToMatrixMarketFile("/dev/full"); }, "Stream write error");
}

}  // namespace

// Vectors taken from matrices: CopyMtx, Diag, GetRow and GetCol in every form against numpy
// (tests/data/gen_vec_rows_golden.py), the Len = 0 rules, every text in its order with ConditionCheck on and off
// (Self unchanged after each refusal), and a vector that views the very matrix it reads.
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "elem_util.h"

using namespace elemtest;

namespace {

class VecRows : public ElemTest {};

struct RowsMatrix {
    bool Complex;
    GoldMtx M;
};

struct RowsCase {
    const char* What;
    int Matrix;
    std::string Form;
    int A, B, C;
    const char* Raises;
    std::vector<double> Expected;
};

const RowsMatrix kMatrices[] = {
#include "vec_rows_matrices.inc"
};

const RowsCase kCases[] = {
#include "vec_rows_golden.inc"
};

// Row, col and len of a case read as a (part of a) row or column; Row and Col cases take the whole line.
struct Line {
    bool IsRow;
    int Row, Col, Len;
};

Line LineOf(const RowsCase& C, const GoldMtx& M)
{
    if (C.Form == "Row") return {true, C.A, 0, M.Cols};
    if (C.Form == "Col") return {false, 0, C.A, M.Rows};
    if (C.Form == "RowPart") return {true, C.A, C.B, C.C};
    return {false, C.A, C.B, C.C};
}

}  // namespace

TEST_F(VecRows, EveryFormAgainstNumpy)
{
    for (const RowsCase& c : kCases) {
        SCOPED_TRACE(c.What);
        const RowsMatrix& g = kMatrices[c.Matrix];
        TMtx m;
        Load(m, g.M, g.Complex);
        TVec v;
        Set(v, !g.Complex, {7, 8, 9, 10});  // the other kind: every sizing form must take the matrix's
        if (c.Raises) {
            ExpectRaise([&] { v.Diag(m, c.A); }, c.Raises);
            ExpectSame(v, !g.Complex, {7, 8, 9, 10}, "refused Diag");
            continue;
        }
        if (c.Form == "CopyMtx") {
            v.CopyMtx(m);
        } else if (c.Form == "Diag") {
            v.Diag(m, c.A);
        } else if (c.Form == "Row") {
            v.GetRow(m, c.A);
        } else if (c.Form == "Col") {
            v.GetCol(m, c.A);
        } else if (c.Form == "RowPart") {
            v.GetRow(m, c.A, c.B, c.C);
        } else {
            v.GetCol(m, c.A, c.B, c.C);
        }
        ExpectSame(v, g.Complex, c.Expected);
        if (c.Form == "CopyMtx" || c.Form == "Diag") continue;

        // The indexed form writes the same values from element Index on and leaves the rest alone.
        const Line l = LineOf(c, g.M);
        const int w = g.Complex ? 2 : 1, index = 2;
        TVec t;
        Set(t, g.Complex, Ramp(w * (l.Len + 5), 100));
        std::vector<double> expected = Ramp(w * (l.Len + 5), 100);
        std::copy(c.Expected.begin(), c.Expected.end(), expected.begin() + w * index);
        if (l.IsRow) {
            t.GetRow(m, l.Row, l.Col, index, l.Len);
        } else {
            t.GetCol(m, l.Row, l.Col, index, l.Len);
        }
        ExpectSame(t, g.Complex, expected, "indexed form");
    }
}

TEST_F(VecRows, LenZeroActsBeforeAnyCheck)
{
    TMtx real, cplx, empty;
    Load(real, 2, 3, false, Ramp(6));
    Load(cplx, 2, 3, true, Ramp(12));
    TVec v;
    // TVecs::GetRow empties Self with the matrix's kind, whatever the other arguments are.
    for (const TMtx* m : {&real, &cplx, &empty}) {
        Set(v, !m->Complex(), {1, 2, 3, 4});
        v.GetRow(*m, -5, 99, 0);
        EXPECT_EQ(v.Length(), 0);
        EXPECT_EQ(v.Complex(), m->Complex());
    }
    // TVecs::GetCol and the indexed forms leave Self as it was.
    const std::function<void(TVec&)> unchanged[] = {
        [&](TVec& s) { s.GetCol(cplx, -5, 99, 0); },
        [&](TVec& s) { s.GetRow(empty, -1, -1, 99, 0); },
        [&](TVec& s) { s.GetCol(cplx, 99, -1, -1, 0); },
    };
    for (const auto& call : unchanged) {
        Set(v, false, {1, 2, 3, 4});
        call(v);
        ExpectSame(v, false, {1, 2, 3, 4}, "Len = 0");
    }
    // An empty matrix: CopyMtx empties Self with its kind, Diag leaves Self alone (no "k out of range").
    empty.Size(0, 0, true);
    Set(v, false, {1, 2});
    v.Diag(empty, 5);
    ExpectSame(v, false, {1, 2}, "Diag of an empty matrix");
    v.CopyMtx(empty);
    EXPECT_EQ(v.Length(), 0);
    EXPECT_TRUE(v.Complex());
}

// Every text of every form in its order. All checks guard memory, so ConditionCheck changes nothing; each refusal
// leaves Self exactly as it was.
TEST_F(VecRows, TextsInOrderWithAndWithoutConditionCheck)
{
    TMtx m, mc, empty;
    Load(m, 2, 3, false, Ramp(6));
    Load(mc, 2, 3, true, Ramp(12));
    struct Case {
        const char* What;
        std::function<void(TVec&)> Call;
        const char* Message;
    };
    const Case cases[] = {
        {"TVec0 GetRow negative", [&](TVec& v) { v.GetRow(m, -1); }, "Row < 0"},
        {"TVec0 GetRow negative before empty", [&](TVec& v) { v.GetRow(empty, -1); }, "Row < 0"},
        {"TVec0 GetRow empty", [&](TVec& v) { v.GetRow(empty, 0); }, "Mtx.Rows*Mtx.Cols = 0"},
        {"TVec0 GetRow past the last row", [&](TVec& v) { v.GetRow(m, 2); }, "Row > Mtx.Rows-1"},
        {"TVec0 GetCol negative", [&](TVec& v) { v.GetCol(m, -1); }, "Col < 0"},
        {"TVec0 GetCol empty", [&](TVec& v) { v.GetCol(empty, 0); }, "Mtx.Rows*Mtx.Cols = 0"},
        {"TVec0 GetCol past the last column", [&](TVec& v) { v.GetCol(m, 3); }, "Col > Mtx.Cols-1"},

        {"TVecs GetRow Row < 0", [&](TVec& v) { v.GetRow(m, -1, -1, -1); }, "Row < 0"},
        {"TVecs GetRow Col < 0", [&](TVec& v) { v.GetRow(m, 0, -1, -1); }, "Col < 0"},
        {"TVecs GetRow Len < 0", [&](TVec& v) { v.GetRow(m, 0, 0, -1); }, "Len < 0"},
        {"TVecs GetRow row", [&](TVec& v) { v.GetRow(m, 2, 5, 1); }, "Row > (Mtx.Rows-1)"},
        {"TVecs GetRow empty", [&](TVec& v) { v.GetRow(empty, 0, 0, 1); }, "Row > (Mtx.Rows-1)"},
        {"TVecs GetRow Col + Len", [&](TVec& v) { v.GetRow(m, 1, 2, 2); }, "(Col + Len) > (Mtx.Cols-1)"},
        {"TVecs GetRow huge", [&](TVec& v) { v.GetRow(m, 0, INT_MAX, INT_MAX); }, "(Col + Len) > (Mtx.Cols-1)"},
        {"TVecs GetCol Row < 0", [&](TVec& v) { v.GetCol(m, -1, -1, -1); }, "Row < 0"},
        {"TVecs GetCol Col < 0", [&](TVec& v) { v.GetCol(m, 0, -1, -1); }, "Col < 0"},
        {"TVecs GetCol Len < 0", [&](TVec& v) { v.GetCol(m, 0, 0, -1); }, "Len < 0"},
        {"TVecs GetCol empty", [&](TVec& v) { v.GetCol(empty, 5, 5, 1); }, "Mtx.Rows*Mtx.Cols = 0"},
        {"TVecs GetCol Row + Len", [&](TVec& v) { v.GetCol(m, 1, 5, 2); }, "(Row + Len) > Mtx.Rows "},
        {"TVecs GetCol huge", [&](TVec& v) { v.GetCol(m, INT_MAX, 0, INT_MAX); }, "(Row + Len) > Mtx.Rows "},
        {"TVecs GetCol column", [&](TVec& v) { v.GetCol(m, 0, 3, 2); }, "Col > (Mtx.Cols-1)"},

        {"TVec1 GetRow Row < 0", [&](TVec& v) { v.GetRow(m, -1, -1, -1, -1); }, "Row < 0"},
        {"TVec1 GetRow Col < 0", [&](TVec& v) { v.GetRow(m, 0, -1, -1, -1); }, "Col < 0"},
        {"TVec1 GetRow Index < 0", [&](TVec& v) { v.GetRow(m, 0, 0, -1, -1); }, "Index < 0"},
        {"TVec1 GetRow Len < 0", [&](TVec& v) { v.GetRow(m, 0, 0, 0, -1); }, "Len < 0"},
        {"TVec1 GetRow empty", [&](TVec& v) { v.GetRow(empty, 5, 5, 9, 1); }, "Mtx.Rows*Mtx.Cols = 0"},
        {"TVec1 GetRow row", [&](TVec& v) { v.GetRow(m, 2, 5, 9, 1); }, "Row > (Mtx.Rows-1)"},
        {"TVec1 GetRow Col + Len", [&](TVec& v) { v.GetRow(m, 0, 2, 9, 2); }, "(Col + Len) > Mtx.Cols"},
        {"TVec1 GetRow Index + Len", [&](TVec& v) { v.GetRow(mc, 0, 0, 4, 2); }, "(Index + len) > Length"},
        {"TVec1 GetRow huge Index", [&](TVec& v) { v.GetRow(m, 0, 0, INT_MAX, 2); }, "(Index + len) > Length"},
        {"TVec1 GetRow kinds", [&](TVec& v) { v.GetRow(mc, 0, 0, 0, 2); }, "Complex <> Mtx.Complex"},
        {"TVec1 GetCol Row < 0", [&](TVec& v) { v.GetCol(m, -1, 0, 0, 1); }, "Row < 0"},
        {"TVec1 GetCol Index < 0", [&](TVec& v) { v.GetCol(m, 0, 0, -1, -1); }, "Index < 0"},
        {"TVec1 GetCol empty", [&](TVec& v) { v.GetCol(empty, 5, 5, 9, 1); }, "Mtx.Rows*Mtx.Cols = 0"},
        {"TVec1 GetCol Row + Len", [&](TVec& v) { v.GetCol(m, 1, 5, 9, 2); }, "(Row + Len) > Mtx.Rows "},
        {"TVec1 GetCol column", [&](TVec& v) { v.GetCol(m, 0, 3, 9, 2); }, "Col > (Mtx.Cols-1)"},
        {"TVec1 GetCol Index + Len", [&](TVec& v) { v.GetCol(mc, 0, 0, 4, 2); }, "Index + Len > Length"},
        {"TVec1 GetCol kinds", [&](TVec& v) { v.GetCol(mc, 0, 0, 0, 2); }, "Complex <> Mtx.Complex"},

        {"Diag above", [&](TVec& v) { v.Diag(m, 3); }, "k out of range"},
        {"Diag below", [&](TVec& v) { v.Diag(m, -2); }, "k out of range"},
        {"Diag INT_MIN", [&](TVec& v) { v.Diag(m, INT_MIN); }, "k out of range"},
        {"Diag INT_MAX", [&](TVec& v) { v.Diag(m, INT_MAX); }, "k out of range"},
    };
    for (bool check : {true, false}) {
        for (const Case& c : cases) {
            const std::string where = std::string(c.What) + (check ? "" : ", ConditionCheck off");
            TVec v;
            Set(v, false, {1, 2, 3, 4, 5});
            v.SetConditionCheck(check);
            ExpectRaise([&] { c.Call(v); }, c.Message, where);
            ExpectSame(v, false, {1, 2, 3, 4, 5}, where);
        }
    }
}

// A vector that views the matrix it reads gets the values the matrix held before the call, as if apart.
TEST_F(VecRows, SelfViewingTheMatrix)
{
    TMtx m;
    Load(m, 3, 3, false, Ramp(9));
    TVec v;
    // Column 1 (elements 1, 4, 7) into a view starting at element 4: element 4 is written before it is read.
    v.SetSubRange(m, 4, 5);
    v.GetCol(m, 0, 1, 0, 3);
    v.SetFullRange();
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 9), (std::vector<double>{0, 1, 2, 3, 1, 4, 7, 7, 8}));
    // A sizing form on a view of its own length: row 0 into the view of elements 1 .. 3.
    Load(m, 3, 3, false, Ramp(9));
    v.SetSubRange(m, 1, 3);
    v.GetRow(m, 0);
    ExpectSame(v, false, {0, 1, 2});
    v.SetFullRange();
    // The main diagonal (elements 0, 4, 8) into a complex view of elements 4 .. 6.
    Load(m, 3, 3, true, Ramp(18));
    v.Size(0, true);
    v.SetSubRange(m, 4, 3);
    v.Diag(m, 0);
    ExpectSame(v, true, {0, 1, 8, 9, 16, 17});
    v.SetFullRange();
}

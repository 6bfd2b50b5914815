// Block and special matrices: stacking, block grids and their splitting, Kron, Diag, Eye, Toeplitz and Pascal
// matrices, against tests/data/gen_mtx_blocks_golden.py (numpy's vstack, hstack, block, outer and eye, scipy's
// toeplitz and pascal).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace {

using namespace tarnel;
using namespace testsupport;

struct KronRow {
    bool complex1;
    std::vector<double> vec1;
    bool complex2;
    std::vector<double> vec2;
    GoldMtx want;
};

struct ToeplitzRow {
    bool complex;
    std::vector<double> firstRow, firstCol;
    GoldMtx want;
};

struct DiagRow {
    int k;
    bool complex;
    std::vector<double> vec;
    GoldMtx want;
};

#include "../data/mtx_blocks_golden.inc"

class MtxBlocks : public PoolCheck {};

void LoadVec(TVec& V, bool Complex, const std::vector<double>& D)
{
    V.Size(static_cast<int>(D.size() / (Complex ? 2 : 1)), Complex);
    std::copy(D.begin(), D.end(), V.Values());
}

// Loads the golden blocks into Mtxs (as many as there are blocks) and gives their addresses.
template <std::size_t N>
std::vector<const TMtx1*> LoadBlocks(TMtx (&Mtxs)[N], const GoldMtx (&Gold)[N], bool Complex)
{
    std::vector<const TMtx1*> list;
    for (std::size_t i = 0; i < N; ++i) {
        Load(Mtxs[i], Gold[i], Complex);
        list.push_back(&Mtxs[i]);
    }
    return list;
}

std::vector<double> DoublesOf(const TMtx1& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return std::vector<double>(M.Values(), M.Values() + n);
}

// M is exactly the golden matrix (every Double, bit for bit).
void ExpectSame(const TMtx1& M, const GoldMtx& G, bool Complex, const std::string& Where)
{
    ASSERT_EQ(M.Rows(), G.Rows) << Where;
    ASSERT_EQ(M.Cols(), G.Cols) << Where;
    ASSERT_EQ(M.Complex(), Complex) << Where;
    EXPECT_EQ(DoublesOf(M), G.V) << Where;
}

TEST_F(MtxBlocks, EyeOfEveryShapeAndKind)
{
    struct Case {
        int rows, cols;
        bool complex;
        GoldMtx want;
    };
    const Case cases[] = {
        {2, 3, false, {2, 3, {1, 0, 0, 0, 1, 0}}},
        {3, 2, false, {3, 2, {1, 0, 0, 1, 0, 0}}},
        {2, 2, true, {2, 2, {1, 0, 0, 0, 0, 0, 1, 0}}},
        {1, 1, false, {1, 1, {1}}},
        {0, 4, false, {0, 4, {}}},
        {0, 0, true, {0, 0, {}}},
    };
    for (const Case& c : cases) {
        TMtx m;
        // A matrix of the same capacity full of other values: Eye clears what it reuses.
        m.Size(4, 4, true);
        m.SetVal(TCplx{7, 7});
        m.Eye(c.rows, c.cols, c.complex);
        ExpectSame(m, c.want, c.complex, std::to_string(c.rows) + "x" + std::to_string(c.cols));
    }
    TMtx m;
    ExpectRaise([&] { m.Eye(-1, 2); }, "SetActualSize: Value < 0", "negative rows");
}

TEST_F(MtxBlocks, StackingAgainstNumpy)
{
    for (const bool complex : {false, true}) {
        const std::string kind = complex ? "complex" : "real";
        TMtx v[3], h[3], out;
        const auto vert = LoadBlocks(v, complex ? kVertC : kVertR, complex);
        const auto horz = LoadBlocks(h, complex ? kHorzC : kHorzR, complex);
        out.ConcatVert(vert);
        ExpectSame(out, complex ? kVertCWant : kVertRWant, complex, kind + " vstack");
        out.ConcatHorz(horz);
        ExpectSame(out, complex ? kHorzCWant : kHorzRWant, complex, kind + " hstack");
        // Self among the sources gives what a distinct matrix of the same values gives.
        out.Copy(v[1]);
        out.ConcatVert({&v[0], &out, &v[2]});
        ExpectSame(out, complex ? kVertCWant : kVertRWant, complex, kind + " vstack with Self");
    }
    TMtx out;
    out.Size(2, 2, true);
    out.ConcatVert({});
    EXPECT_EQ(out.Rows() + out.Cols(), 0);
    EXPECT_FALSE(out.Complex());
}

TEST_F(MtxBlocks, StackingRefusesMismatchesBeforeAnyChange)
{
    TMtx a, b, c, out;
    a.SetIt(2, 3, false, {1, 2, 3, 4, 5, 6});
    b.SetIt(1, 2, false, {7, 8});
    c.Size(1, 3, true);
    out.SetIt(1, 1, false, {9});
    ExpectRaise([&] { out.ConcatVert({&a, &b}); }, "Src[0].Cols <> Src[i].Cols", "vstack width");
    ExpectRaise([&] { out.ConcatVert({&a, &c}); }, "Src[0].Complex <> Src[i].Complex", "vstack kind");
    ExpectRaise([&] { out.ConcatHorz({&a, &b}); }, "Src[0].Rows <> Src[i].Rows", "hstack height");
    ExpectRaise([&] { out.ConcatHorz({&a, &c}); }, "Src[0].Complex <> Src[i].Complex", "hstack kind");
    ExpectRaise([&] { out.ConcatHorz({&a, nullptr}); }, "Mtx = nil", "nil source");
    EXPECT_EQ(out.Rows() * out.Cols(), 1);
    EXPECT_EQ(out.Values()[0], 9);
    EXPECT_TRUE(c.Complex());
    EXPECT_EQ(c.Cols(), 3);
}

TEST_F(MtxBlocks, StackingIntoPlace)
{
    TMtx a, b, self;
    a.SetIt(2, 1, false, {1, 2});
    b.SetIt(2, 1, false, {3, 4});
    self.Size(2, 4);
    self.SetVal(-1);
    self.ConcatHorz(0, 1, {&a, &b});
    EXPECT_EQ(DoublesOf(self), (std::vector<double>{-1, 1, 3, -1, -1, 2, 4, -1}));
    // Three blocks fit exactly (columns 1 to 3); a fourth is refused and nothing is copied.
    self.SetVal(-1);
    self.ConcatHorz(0, 1, {&a, &b, &a});
    EXPECT_EQ(DoublesOf(self), (std::vector<double>{-1, 1, 3, 1, -1, 2, 4, 2}));
    self.SetVal(-1);
    ExpectRaise([&] { self.ConcatHorz(0, 1, {&a, &b, &a, &b}); }, "Too many columns!", "one past");
    ExpectRaise([&] { self.ConcatHorz(1, 0, {&a}); }, "DestRow + Src[i].Rows > Rows", "too low");
    EXPECT_EQ(DoublesOf(self), std::vector<double>(8, -1));

    TMtx r1, r2, tall;
    r1.SetIt(1, 2, false, {1, 2});
    r2.SetIt(1, 2, false, {3, 4});
    tall.Size(3, 3);
    tall.ConcatVert(1, 1, {&r1, &r2});
    EXPECT_EQ(DoublesOf(tall), (std::vector<double>{0, 0, 0, 0, 1, 2, 0, 3, 4}));
    ExpectRaise([&] { tall.ConcatVert(1, 1, {&r1, &r2, &r1}); }, "Too many rows!", "one past");
    ExpectRaise([&] { tall.ConcatVert(0, 2, {&r1}); }, "DestCol + Src[i].Cols > Cols", "too far right");
    ExpectRaise([&] { tall.ConcatVert(-1, 0, {&r1}); }, "DestRow < 0", "negative row");
    ExpectRaise([&] { tall.ConcatHorz(0, -1, {&r1}); }, "DestCol < 0", "negative column");
    TMtx z;
    z.Size(1, 1, true);
    ExpectRaise([&] { tall.ConcatVert(0, 0, {&r1, &z}); }, "Complex <> Src[i].Complex", "kind");
    EXPECT_EQ(DoublesOf(tall), (std::vector<double>{0, 0, 0, 0, 1, 2, 0, 3, 4}));
}

TEST_F(MtxBlocks, GridAgainstNumpyAndSplitBack)
{
    for (const bool complex : {false, true}) {
        const std::string kind = complex ? "complex" : "real";
        TMtx g[6], out;
        const auto grid = LoadBlocks(g, complex ? kGridC : kGridR, complex);
        out.Concat(2, 3, grid);
        ExpectSame(out, complex ? kGridCWant : kGridRWant, complex, kind + " np.block");
        TMtx back[6];
        std::vector<TMtx1*> dst;
        for (int i = 0; i < 6; ++i) {
            // Destinations of the blocks' shapes, of the other kind where the shape allows.
            const GoldMtx& b = (complex ? kGridC : kGridR)[i];
            if (!complex && b.Cols % 2 == 0)
                back[i].Size(b.Rows, b.Cols / 2, true);
            else if (complex)
                back[i].Size(b.Rows, 2 * b.Cols, false);
            else
                back[i].Size(b.Rows, b.Cols, false);
            dst.push_back(&back[i]);
        }
        EXPECT_EQ(out.Split(2, 3, dst), 1) << kind;
        for (int i = 0; i < 6; ++i)
            ExpectSame(back[i], (complex ? kGridC : kGridR)[i], complex, kind + " block " + std::to_string(i));
    }
    // Split into four 1 × 1 matrices gives the elements back.
    TMtx m, a, b, c, d;
    m.SetIt(2, 2, false, {1, 2, 3, 4});
    a.Size(1, 1);
    b.Size(1, 1);
    c.Size(1, 1);
    d.Size(1, 1);
    EXPECT_EQ(m.Split(2, 2, {&a, &b, &c, &d}), 1);
    EXPECT_EQ((std::vector<double>{a.Values()[0], b.Values()[0], c.Values()[0], d.Values()[0]}),
              (std::vector<double>{1, 2, 3, 4}));
    // Self among the destinations reads Self as it was.
    m.Resize(2, 3);
    EXPECT_EQ(m.Split(1, 1, {&m}), 2);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{1, 2, 0, 3, 4, 0}));
}

TEST_F(MtxBlocks, GridsThatDoNotFitChangeNothing)
{
    TMtx a, b, c, d, z, self;
    a.SetIt(2, 2, false, {1, 2, 3, 4});
    b.SetIt(2, 1, false, {5, 6});
    c.SetIt(1, 1, false, {7});
    d.SetIt(1, 3, false, {8, 9, 10});
    z.Size(2, 1, true);
    self.SetIt(1, 1, false, {-1});
    // The edge cases of a grid: the count, and blocks of the grid's own shape.
    ExpectRaise([&] { self.Concat(1, 3, {&a, &b}); }, "(ARows*ACols) <> (High(Dst)+1)", "count");
    ExpectRaise([&] { self.Concat(-1, -2, {&a, &b}); }, "(ARows*ACols) <> (High(Dst)+1)", "negative grid");
    self.Concat(1, 2, {&a, &b});
    EXPECT_EQ(DoublesOf(self), (std::vector<double>{1, 2, 5, 3, 4, 6}));
    self.SetIt(1, 1, false, {-1});
    // A block of the other kind is refused, and the caller's block keeps its kind and shape.
    ExpectRaise([&] { self.Concat(1, 2, {&a, &z}); }, "Src[0].Complex <> Src[i].Complex", "mixed kinds");
    EXPECT_TRUE(z.Complex());
    EXPECT_EQ(z.Cols(), 1);
    // Blocks of unequal height in a block row, and block rows of unequal width.
    ExpectRaise([&] { self.Concat(2, 2, {&a, &c, &b, &c}); }, "Size mismatch: a.Rows+RowOffset > fRows", "height");
    ExpectRaise([&] { self.Concat(2, 2, {&a, &b, &c, &d}); }, "Size mismatch: a.Cols+ColOffset > fCols", "width");
    EXPECT_EQ(DoublesOf(self), std::vector<double>{-1});
    EXPECT_EQ(DoublesOf(a), (std::vector<double>{1, 2, 3, 4}));

    // Split: a ragged grid, a grid larger than Self, and a destination that cannot take Self's kind.
    TMtx m, p, q, r;
    m.SetIt(2, 2, true, {1, 1, 2, 2, 3, 3, 4, 4});
    p.SetIt(1, 1, true, {-1, -1});
    q.SetIt(2, 1, true, {-2, -2, -3, -3});
    r.SetIt(1, 3, false, {-4, -5, -6});
    ExpectRaise([&] { m.Split(1, 2, {&p, &q}); }, "Size mismatch: a.Rows+RowOffset > fRows", "ragged");
    ExpectRaise([&] { m.Split(1, 2, {&q, &q, &q}); }, "(ARows*ACols) <> (High(Dst)+1)", "count");
    ExpectRaise([&] { m.Split(1, 3, {&q, &q, &q}); }, "Size mismatch: a.Cols+ColOffset > fCols", "too wide");
    ExpectRaise([&] { m.Split(1, 1, {&r}); }, "SetComplex: Cols is odd", "odd real destination");
    EXPECT_EQ(DoublesOf(p), (std::vector<double>{-1, -1}));
    EXPECT_EQ(DoublesOf(q), (std::vector<double>{-2, -2, -3, -3}));
    EXPECT_FALSE(r.Complex());
    EXPECT_EQ(DoublesOf(r), (std::vector<double>{-4, -5, -6}));
    EXPECT_EQ(m.Split(0, 0, {}), 0);
}

TEST_F(MtxBlocks, KronAgainstNumpyOuter)
{
    for (const KronRow& r : kKron) {
        TVec a, b;
        LoadVec(a, r.complex1, r.vec1);
        LoadVec(b, r.complex2, r.vec2);
        TMtx m;
        m.Kron(a, b);
        ExpectSame(m, r.want, r.complex1 || r.complex2,
                   std::string("Kron ") + (r.complex1 ? "c" : "r") + (r.complex2 ? "c" : "r"));
    }
    TVec a, b;
    a.SetIt(false, {1, 2});
    b.SetIt(true, {1, 0, 0, 1});
    TMtx m;
    m.Kron(a, b);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{1, 0, 0, 1, 2, 0, 0, 2}));
}

TEST_F(MtxBlocks, DiagOnEveryDiagonal)
{
    for (const bool check : {true, false}) {
        for (const DiagRow& r : kDiag) {
            const std::string where = "K " + std::to_string(r.k) + (r.complex ? " complex" : " real") +
                                      (check ? "" : " without ConditionCheck");
            TMtx m;
            Load(m, r.complex ? kDiagBaseC : kDiagBaseR, r.complex);
            m.SetConditionCheck(check);
            TVec v;
            LoadVec(v, r.complex, r.vec);
            m.Diag(v, r.k);
            ExpectSame(m, r.want, r.complex, where);
            // One element more does not fit, and a vector of the other kind is refused: nothing changes.
            TVec longer;
            longer.Size(v.Length() + 1, r.complex);
            ExpectRaise([&] { m.Diag(longer, r.k); }, r.k >= 0 ? "Vec.Length + k  > Cols" : "Vec.Length - k  > Rows",
                        where);
            TVec other;
            other.Size(1, !r.complex);
            ExpectRaise([&] { m.Diag(other, r.k); }, "Vec.Complex <> Complex", where);
            ExpectRaise([&] { m.Diag(TVec(), r.k); }, "Vec.Length = 0", where);
            ExpectSame(m, r.want, r.complex, where + " after the refusals");
        }
    }
    // Diagonals that do not exist in a 3 × 4 matrix.
    TMtx m;
    m.Size(3, 4);
    TVec v;
    v.SetIt(false, {1});
    ExpectRaise([&] { m.Diag(v, 4); }, "Vec.Length + k  > Cols", "K 4");
    ExpectRaise([&] { m.Diag(v, -3); }, "Vec.Length - k  > Rows", "K -3");
}

TEST_F(MtxBlocks, ToeplitzAgainstScipy)
{
    for (const ToeplitzRow& r : kToeplitz) {
        TVec row, col;
        LoadVec(row, r.complex, r.firstRow);
        LoadVec(col, r.complex, r.firstCol);
        TMtx m;
        m.Toeplitz(row, col);
        ExpectSame(m, r.want, r.complex, "Toeplitz " + std::to_string(r.want.Rows) + "x" + std::to_string(r.want.Cols));
    }
    TVec row, col;
    row.SetIt(false, {1, 2, 3});
    col.SetIt(false, {4, 5});
    TMtx m;
    m.Toeplitz(row, col);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{1, 2, 3, 4, 1, 2, 5, 4, 1}));
    // No first row: FirstCol.Length + 1 rows of nothing.
    m.Toeplitz(TVec(), col);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 0);
    col.SetIt(true, {4, 0});
    ExpectRaise([&] { m.Toeplitz(row, col); }, "FirstRow.Complex <> FirstCol.Complex", "kinds");
}

TEST_F(MtxBlocks, PascalExactToTwentyNine)
{
    TMtx m;
    for (int n = 0; n <= 29; ++n) {
        m.Pascl(n);
        ASSERT_EQ(m.Rows(), n);
        ASSERT_EQ(m.Cols(), n);
        ASSERT_FALSE(m.Complex());
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                ASSERT_EQ(m(i, j), kPascal29.V[static_cast<std::size_t>(i) * 29 + j]) << n << ": " << i << ", " << j;
    }
    m.Pascl(4);
    EXPECT_EQ((std::vector<double>{m(3, 0), m(3, 1), m(3, 2), m(3, 3)}), (std::vector<double>{1, 4, 10, 20}));
}

}  // namespace

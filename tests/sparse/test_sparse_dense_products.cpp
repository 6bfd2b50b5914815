// TSparseMtx: products with dense vectors and the residual norm.
#include <cmath>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseDenseProducts = SparseTest;

// 3 × 2: (0,0) = 1, (2,0) = 2, (1,1) = -1, (2,1) = 4.
void Make(TSparseMtx& M)
{
    M.TripletsToSparse(3, 2, TIntArray{0, 2, 1, 2}, TIntArray{0, 0, 1, 1}, TSampleArray{1, 2, -1, 4}, 0);
}

std::vector<double> Doubles(const TVec& V)
{
    return std::vector<double>(V.Values(), V.Values() + V.Length() * (V.Complex() ? 2 : 1));
}

TEST_F(SparseDenseProducts, RealAndMixedProducts)
{
    TSparseMtx a;
    Make(a);
    TVec x, y;
    x.SetIt(false, {3, 5});
    a.MulRight(x, y);
    EXPECT_EQ(Doubles(y), (std::vector<double>{3, -5, 26}));
    // A short y is sized, and y may be x.
    TVec r;
    r.SetIt(false, {1, 1, 2});
    a.MulLeft(r, r);
    EXPECT_EQ(Doubles(r), (std::vector<double>{5, 7}));
    // A complex x with a real A: the real values count as v + 0i.
    TVec cx;
    cx.SetIt(true, {1, 2, 0, -1});
    a.MulRight(cx, y);
    ASSERT_TRUE(y.Complex());
    EXPECT_EQ(Doubles(y), (std::vector<double>{1, 2, 0, 1, 2, 0}));
    TSparseMtx c;
    c.ExtendToComplex(a, false);  // v + i·v
    c.MulRight(x, y);
    EXPECT_EQ(Doubles(y), (std::vector<double>{3, 3, -5, -5, 26, 26}));
}

TEST_F(SparseDenseProducts, ResidualNormAndChecks)
{
    TSparseMtx s;
    s.TripletsToSparse(2, 2, TIntArray{0, 1, 1}, TIntArray{0, 0, 1}, TSampleArray{2, 1, 4}, 0);
    TVec b, x;
    b.SetIt(false, {2, 9});
    x.SetIt(false, {1, 2});
    EXPECT_EQ(s.ResidualNorm(b, x, false), 0.0);
    EXPECT_EQ(s.ResidualNorm(b, x, true), 2.0);  // Aᵀx = (4, 8)

    TSparseMtx rect;
    Make(rect);
    TVec c, shortX;
    c.SetIt(true, {2, 0, 9, 0});
    shortX.SetIt(false, {1});
    ExpectRaise([&] { rect.ResidualNorm(b, x, false); }, "Rows <> Cols");
    ExpectRaise([&] { s.ResidualNorm(shortX, x, false); }, "FCols <> B.Length");
    ExpectRaise([&] { s.ResidualNorm(b, shortX, false); }, "B.Length <> X.Length");
    ExpectRaise([&] { s.ResidualNorm(c, x, false); }, "B.Complex <> Complex");
    ExpectRaise([&] { s.ResidualNorm(b, c, false); }, "X.Complex <> Complex");
    TVec y;
    y.SetIt(false, {7});
    ExpectRaise([&] { rect.MulRight(shortX, y); }, "x.Length <> FCols");
    ExpectRaise([&] { rect.MulLeft(b, y); }, "X.Length <> FRows");
    rect.SetRows(2);  // row 2 is stored: met in the middle of the product, before y is written
    ExpectRaise([&] { rect.MulRight(x, y); }, "Invalid sparse pattern!");
    ExpectRaise([&] { rect.MulLeft(b, y); }, "Invalid sparse pattern!");
    EXPECT_EQ(Doubles(y), (std::vector<double>{7}));
}

std::vector<double> Doubles(const TMtx& M)
{
    return std::vector<double>(M.Values(), M.Values() + M.Rows() * M.Cols() * (M.Complex() ? 2 : 1));
}

TEST_F(SparseDenseProducts, DenseMatrixProductsAndSum)
{
    TSparseMtx a;  // [[1, 0], [0, -1], [2, 4]]
    Make(a);
    TMtx x, y;
    x.SetIt(2, 2, false, {1, 2, 3, 4});
    a.MulRight(x, y);
    ASSERT_EQ(y.Rows(), 3);
    ASSERT_EQ(y.Cols(), 2);
    EXPECT_EQ(Doubles(y), (std::vector<double>{1, 2, -3, -4, 14, 20}));
    TMtx l;
    l.SetIt(1, 3, false, {1, 1, 2});
    a.MulLeft(l, l);  // Y may be X
    EXPECT_EQ(Doubles(l), (std::vector<double>{5, 7}));
    TMtx cx;
    cx.SetIt(2, 1, true, {0, 1, 1, 0});
    a.MulRight(cx, y);
    EXPECT_EQ(Doubles(y), (std::vector<double>{0, 1, -1, 0, 4, 2}));

    TSparseMtx c;
    c.ExtendToComplex(a, false);
    TMtx sum;
    sum.SetIt(3, 2, false, {1, 1, 1, 1, 1, 1});
    a.Add(sum);
    EXPECT_EQ(Doubles(sum), (std::vector<double>{2, 1, 1, 0, 3, 5}));
    c.Add(sum);  // a real Y becomes complex
    ASSERT_TRUE(sum.Complex());
    EXPECT_EQ(Doubles(sum), (std::vector<double>{3, 1, 1, 0, 1, 0, -1, -1, 5, 2, 9, 4}));

    TMtx wrong;
    wrong.SetIt(3, 3, false, {1, 1, 1, 1, 1, 1, 1, 1, 1});
    ExpectRaise([&] { a.MulRight(wrong, y); }, "Cols <> X.Rows");
    ExpectRaise([&] { a.MulLeft(x, y); }, "Rows <> X.Cols");
    TMtx shortRows;
    shortRows.SetIt(2, 2, false, {1, 1, 1, 1});
    ExpectRaise([&] { a.Add(shortRows); }, "fRows <> Y.Rows");
    ExpectRaise([&] { a.Add(wrong); }, "fCols <> Y.Cols");
    EXPECT_EQ(Doubles(shortRows), (std::vector<double>{1, 1, 1, 1}));
}

}  // namespace

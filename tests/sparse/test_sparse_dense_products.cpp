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
    EXPECT_EQ(Doubles(y), (std::vector<double>{7}));
}

}  // namespace

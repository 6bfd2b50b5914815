// TSparseMtx: the transpose with row and column orders, in place and into another matrix, and the adjoint.
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseTransp = SparseTest;

// 2 × 3 with an empty column 1 and its rows entered in descending order:
// (1,0) = 1, (0,0) = 2, (0,2) = 3.
void Make(TSparseMtx& M)
{
    M.TripletsToSparse(2, 3, TIntArray{1, 0, 0}, TIntArray{0, 0, 2}, TSampleArray{1, 2, 3}, 0);
}

std::vector<double> Dense(const TSparseMtx& M)
{
    TMtx d;
    M.SparseToDense(d, 1000);
    return std::vector<double>(d.Values(), d.Values() + M.Rows() * M.Cols());
}

TEST_F(SparseTransp, TransposeWithAndWithoutOrders)
{
    TSparseMtx a;
    Make(a);
    struct Case {
        TIntArray P, Q;
        std::vector<std::vector<double>> Expected;  // rows of the 3 × 2 result: Self(i, c) = a(P[c], Q[i])
    };
    const Case cases[] = {
        {{}, {}, {{2, 1}, {0, 0}, {3, 0}}},
        {{1, 0}, {}, {{1, 2}, {0, 0}, {0, 3}}},
        {{}, {2, 0, 1}, {{3, 0}, {2, 1}, {0, 0}}},
        {{1, 0}, {2, 1, 0}, {{0, 3}, {0, 0}, {1, 2}}},
    };
    for (const Case& c : cases) {
        TSparseMtx t;
        t.Transp(a, c.P, c.Q);
        ASSERT_EQ(t.Rows(), 3);
        ASSERT_EQ(t.Cols(), 2);
        const std::vector<double> d = Dense(t);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j) EXPECT_EQ(d[i * 2 + j], c.Expected[i][j]) << i << "," << j;
        // Rows ascend in every column.
        const auto cp = t.ColPointers();
        const auto ri = t.RowIndices();
        for (int j = 0; j < t.Cols(); ++j)
            for (int k = cp[j] + 1; k < cp[j + 1]; ++k) EXPECT_LT(ri[k - 1], ri[k]);
    }
}

TEST_F(SparseTransp, InPlaceAndAdjoint)
{
    TSparseMtx a, b;
    Make(a);
    b.Transp(a);
    a.Transp();
    EXPECT_TRUE(Snapshot(a) == Snapshot(b));
    a.Transp(a);  // Self as the source: back to the original
    TSparseMtx orig;
    Make(orig);
    EXPECT_TRUE(Snapshot(a) == Snapshot(orig));

    TSparseMtx c;
    c.TripletsToSparse(2, 3, TIntArray{1, 0}, TIntArray{0, 2}, TCplxArray{Cplx(1, 2), Cplx(3, -4)}, 0);
    TSparseMtx h;  // a fresh matrix
    h.Adjung(c);
    ASSERT_EQ(h.Rows(), 3);
    ASSERT_EQ(h.Cols(), 2);
    EXPECT_EQ(h.GetMtxCValue(0, 1).Im, -2);
    EXPECT_EQ(h.GetMtxCValue(2, 0).Re, 3);
    EXPECT_EQ(h.GetMtxCValue(2, 0).Im, 4);
    EXPECT_EQ(c.GetMtxCValue(1, 0).Im, 2);  // the source is left as it was
    c.Adjung(c);
    EXPECT_TRUE(Snapshot(c) == Snapshot(h));
}

TEST_F(SparseTransp, OrdersThatAreNotPermutationsChangeNothing)
{
    TSparseMtx a, t;
    Make(a);
    t.Transp(a);
    const TSnapshot before = Snapshot(t);
    const TIntArray badRows[] = {{0}, {0, 0}, {0, 2}, {-1, 0}, {0, 1, 2}};
    for (const TIntArray& p : badRows) ExpectRaise([&] { t.Transp(a, p, {}); }, "P is not a permutation");
    const TIntArray badCols[] = {{0, 1}, {0, 1, 1}, {0, 1, 3}};
    for (const TIntArray& q : badCols) ExpectRaise([&] { t.Transp(a, {}, q); }, "Q is not a permutation");
    EXPECT_TRUE(Snapshot(t) == before);
    // A stored row outside the matrix, with and without orders.
    a.SetRows(1);  // row 1 is stored
    ExpectRaise([&] { t.Transp(a); }, "Invalid sparse pattern!");
    ExpectRaise([&] { t.Transp(a, {0}, {}); }, "Invalid sparse pattern!");
    EXPECT_TRUE(Snapshot(t) == before);
}

}  // namespace

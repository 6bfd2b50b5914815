// TSparseMtx: comparison with a sparse and with a dense matrix.
#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseEqual = SparseTest;

// 2 × 3: (1,0) = 1, (0,2) = 3.
void Make(TSparseMtx& M)
{
    M.TripletsToSparse(2, 3, TIntArray{1, 0}, TIntArray{0, 2}, TSampleArray{1, 3}, 0);
}

TEST_F(SparseEqual, SparseWithSparse)
{
    TSparseMtx a, b, fresh1, fresh2;
    EXPECT_TRUE(fresh1.Equal(fresh2, 0));
    Make(a);
    Make(b);
    EXPECT_TRUE(a.Equal(b, 0));
    b.Offset(1e-12);
    EXPECT_FALSE(a.Equal(b, 0));
    EXPECT_TRUE(a.Equal(b, 1e-9));
    // Same values at other positions.
    TSparseMtx moved;
    moved.TripletsToSparse(2, 3, TIntArray{0, 0}, TIntArray{0, 2}, TSampleArray{1, 3}, 0);
    EXPECT_FALSE(a.Equal(moved, 0));
    EXPECT_FALSE(a.Equal(fresh1, 0));
}

TEST_F(SparseEqual, SparseWithDense)
{
    TSparseMtx a;
    Make(a);
    TMtx d;
    d.SetIt(2, 3, false, {0, 0, 3, 1, 0, 0});
    EXPECT_TRUE(a.Equal(d, 0, false));
    EXPECT_TRUE(a.Equal(d, 0, true));
    d.SetIt(2, 3, false, {5, 0, 3, 1, 0, 0});  // an extra nonzero where nothing is stored
    EXPECT_TRUE(a.Equal(d, 0, true));
    EXPECT_FALSE(a.Equal(d, 0, false));
    d.SetIt(2, 3, false, {0, 0, 3.001, 1, 0, 0});
    EXPECT_FALSE(a.Equal(d, 0, true));
    EXPECT_TRUE(a.Equal(d, 0.01, true));
    TMtx wide;
    wide.SetIt(2, 2, false, {0, 0, 1, 0});
    EXPECT_FALSE(a.Equal(wide, 0, true));
    // A stored explicit zero: equal at the stored positions, not in pattern.
    TSparseMtx z;
    z.SetDontStripZeros(true);
    z.TripletsToSparse(2, 3, TIntArray{1, 0, 1}, TIntArray{0, 2, 2}, TSampleArray{1, 3, 0}, 0);
    d.SetIt(2, 3, false, {0, 0, 3, 1, 0, 0});
    EXPECT_TRUE(z.Equal(d, 0, true));
    EXPECT_FALSE(z.Equal(d, 0, false));
}

}  // namespace

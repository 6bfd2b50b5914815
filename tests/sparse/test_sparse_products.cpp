// TSparseMtx: the sparse product and sum.
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseProducts = SparseTest;

std::vector<double> Dense(const TSparseMtx& M)
{
    TMtx d;
    M.SparseToDense(d, 1000);
    return std::vector<double>(d.Values(), d.Values() + M.Rows() * M.Cols() * (M.Complex() ? 2 : 1));
}

std::vector<int> Rows(const TSparseMtx& M)
{
    return Snapshot(M).RowIndices;
}

// 2 × 3: [[1, 0, 2], [0, 3, 0]] and 3 × 2: [[0, 1], [4, 0], [5, 0]] with an empty row.
void MakeLeft(TSparseMtx& M)
{
    M.TripletsToSparse(2, 3, TIntArray{0, 1, 0}, TIntArray{0, 1, 2}, TSampleArray{1, 3, 2}, 0);
}

void MakeRight(TSparseMtx& M)
{
    M.TripletsToSparse(3, 2, TIntArray{1, 2, 0}, TIntArray{0, 0, 1}, TSampleArray{4, 5, 1}, 0);
}

TEST_F(SparseProducts, ProductInDiscoveryOrder)
{
    TSparseMtx l, r, p;
    MakeLeft(l);
    MakeRight(r);
    p.Mul(l, r, 1000);
    ASSERT_EQ(p.Rows(), 2);
    ASSERT_EQ(p.Cols(), 2);
    EXPECT_EQ(Dense(p), (std::vector<double>{10, 1, 12, 0}));
    // Column 0 of Right reaches row 1 (through Left's column 1) before row 0 (through column 2).
    EXPECT_EQ(Rows(p), (std::vector<int>{1, 0, 0}));
    // Mixed kinds: a complex Right times a real Left, and the conjugated form; the operand is only read.
    TSparseMtx c;
    c.ExtendToComplex(r, false);  // v + i·v
    const TSnapshot cBefore = Snapshot(c);
    p.Mul(l, c, 1000);
    EXPECT_EQ(Dense(p), (std::vector<double>{10, 10, 1, 1, 12, 12, 0, 0}));
    p.ConjMul(l, c, 1000);
    EXPECT_EQ(Dense(p), (std::vector<double>{10, -10, 1, -1, 12, -12, 0, 0}));
    EXPECT_TRUE(Snapshot(c) == cBefore);
    // ConjMul (A, A) of a 1 × 1: |a|².
    TSparseMtx z;
    z.TripletsToSparse(1, 1, TIntArray{0}, TIntArray{0}, TCplxArray{Cplx(1, 2)}, 0);
    z.ConjMul(z, z, 10);
    EXPECT_EQ(Dense(z), (std::vector<double>{5, 0}));
}

TEST_F(SparseProducts, ProductLimitsAndChecks)
{
    TSparseMtx l, r, p;
    MakeLeft(l);
    MakeRight(r);
    // A full 3 × 3 product of a 3 × 1 and a 1 × 3: 9 entries from a room of 6.
    TSparseMtx col, row;
    col.TripletsToSparse(3, 1, TIntArray{0, 1, 2}, TIntArray{0, 0, 0}, TSampleArray{1, 2, 3}, 0);
    row.TripletsToSparse(1, 3, TIntArray{0, 0, 0}, TIntArray{0, 1, 2}, TSampleArray{1, 1, 1}, 0);
    p.Mul(col, row, 12);
    EXPECT_EQ(p.NonZeros(), 9);
    p.Mul(l, r, 1000);
    const TSnapshot before = Snapshot(p);
    ExpectRaise([&] { p.Mul(col, row, 11); }, "Sparse matrix multiply: MaxNonZeroCount reached!");
    TSparseMtx crow;
    crow.ExtendToComplex(row, true);
    ExpectRaise([&] { p.Mul(col, crow, 11); }, "Sparse matrix multiply: MaxNonZeroCount limit reached!");
    ExpectRaise([&] { p.Mul(l, l, 1000); }, "B.Rows <> C.Cols");
    EXPECT_TRUE(Snapshot(p) == before);
    // Self as an operand.
    p.Mul(p, p, 1000);
    EXPECT_EQ(Dense(p), (std::vector<double>{112, 10, 120, 12}));
}

TEST_F(SparseProducts, SumsAndDifferences)
{
    TSparseMtx l, r, p, a;
    MakeLeft(l);
    MakeRight(r);
    p.Mul(l, r, 1000);  // rows of column 0 come out as 1, 0
    a.TripletsToSparse(2, 2, TIntArray{0, 1}, TIntArray{0, 1}, TSampleArray{1, 1}, 0);
    TSparseMtx s;
    s.Add(p, a, 1000);
    EXPECT_EQ(Dense(s), (std::vector<double>{11, 1, 12, 1}));
    EXPECT_EQ(Rows(s), (std::vector<int>{0, 1, 0, 1}));
    // A - A stores explicit zeros and leaves A as it was.
    const TSnapshot pBefore = Snapshot(p);
    s.Sub(p, p);
    EXPECT_EQ(s.NonZeros(), 3);
    EXPECT_EQ(Dense(s), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_TRUE(Snapshot(p) == pBefore);
    // Mixed kinds.
    TSparseMtx c;
    c.ExtendToComplex(a, false);
    s.Sub(p, c);
    EXPECT_EQ(Dense(s), (std::vector<double>{9, -1, 1, 0, 12, 0, -1, -1}));
    // Self as an operand; the growth limit; the size check, each leaving Self as it was.
    s.Add(a, a, 1000);
    s.Add(s, a, 1000);
    EXPECT_EQ(Dense(s), (std::vector<double>{3, 0, 0, 3}));
    const TSnapshot before = Snapshot(s);
    ExpectRaise([&] { s.Add(p, a, 5); }, "Sparse matrix add: MaxNonZeroCount reached!");
    ExpectRaise([&] { s.Add(l, a, 1000); }, "(A.Rows <> B.Rows) or (A.Cols <> B.Cols)");
    EXPECT_TRUE(Snapshot(s) == before);
    // The room of 3 doubles once on the way to 4 entries: a limit of 6 allows it.
    s.Add(p, a, 6);
    EXPECT_EQ(Dense(s), (std::vector<double>{11, 1, 12, 1}));
}

// Operands whose rows ascend but whose patterns differ: rows in one operand only, shared rows, the tail of either
// column and an empty column of A. A 4 × 3: (0,0)=1, (2,0)=2, (1,2)=3, (3,2)=4; B: (1,0)=10, (2,0)=20, (3,0)=30,
// (0,1)=40, (3,2)=50.
TEST_F(SparseProducts, SumsOfAscendingOperandsWithDifferentPatterns)
{
    TSparseMtx a, b;
    a.TripletsToSparse(4, 3, TIntArray{0, 2, 1, 3}, TIntArray{0, 0, 2, 2}, TSampleArray{1, 2, 3, 4}, 0);
    b.TripletsToSparse(4, 3, TIntArray{1, 2, 3, 0, 3}, TIntArray{0, 0, 0, 1, 2}, TSampleArray{10, 20, 30, 40, 50}, 0);
    TSparseMtx s;
    s.Add(a, b, 10);  // room 5, doubled once on the way to 7 entries
    EXPECT_EQ(Dense(s), (std::vector<double>{1, 40, 0, 10, 0, 3, 22, 0, 0, 30, 0, 54}));
    EXPECT_EQ(Rows(s), (std::vector<int>{0, 1, 2, 3, 0, 1, 3}));
    EXPECT_EQ(std::vector<int>(s.ColPointers().begin(), s.ColPointers().end()), (std::vector<int>{0, 4, 5, 7}));
    s.Sub(b, a);
    EXPECT_EQ(Dense(s), (std::vector<double>{-1, 40, 0, 10, 0, -3, 18, 0, 0, 30, 0, 46}));
    TSparseMtx c;
    c.ExtendToComplex(b, false);  // v + i·v
    s.Add(a, c, 10);
    EXPECT_EQ(Dense(s), (std::vector<double>{1, 0, 40, 40, 0, 0, 10, 10, 0, 0, 3, 0,  //
                                             22, 20, 0, 0, 0, 0, 30, 30, 0, 0, 54, 50}));
    s.Add(a, b, 10);
    const TSnapshot before = Snapshot(s);
    ExpectRaise([&] { s.Add(a, b, 9); }, "Sparse matrix add: MaxNonZeroCount reached!");
    // A stored row outside the matrix: refused, whether or not the rows ascend.
    TSparseMtx outside;
    outside.TripletsToSparse(4, 3, TIntArray{0, 3}, TIntArray{0, 0}, TSampleArray{1, 2}, 0);
    outside.SetRows(3);
    TSparseMtx other;
    other.TripletsToSparse(3, 3, TIntArray{1}, TIntArray{0}, TSampleArray{5}, 0);
    ExpectRaise([&] { s.Add(outside, outside, 1000); }, "Invalid sparse pattern!");
    ExpectRaise([&] { s.Add(other, outside, 1000); }, "Invalid sparse pattern!");
    EXPECT_TRUE(Snapshot(s) == before);
}

}  // namespace

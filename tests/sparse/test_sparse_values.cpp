// TSparseMtx: functions of the stored values, in place and from a source, and the reductions.
#include <cmath>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseValues = SparseTest;

// A 3 × 4 matrix with an empty column 1: (0,0) = 0 stored explicitly, (2,0) = 0.5, (1,2) = -0.25, (0,3) = 0.75.
void MakeReal(TSparseMtx& M)
{
    M.SetDontStripZeros(true);
    M.TripletsToSparse(3, 4, TIntArray{0, 2, 1, 0}, TIntArray{0, 0, 2, 3}, TSampleArray{0.0, 0.5, -0.25, 0.75}, 0);
}

std::vector<double> Vals(const TSparseMtx& M)
{
    return Snapshot(M).Values;
}

TEST_F(SparseValues, InPlaceFunctionsActOnStoredValuesOnly)
{
    TSparseMtx m;
    MakeReal(m);
    const TSnapshot before = Snapshot(m);
    m.Cos();  // a stored 0 becomes 1; implicit zeros stay absent
    TSnapshot after = Snapshot(m);
    EXPECT_EQ(after.ColPointers, before.ColPointers);
    EXPECT_EQ(after.RowIndices, before.RowIndices);
    const std::vector<double> expected{1.0, std::cos(0.5), std::cos(-0.25), std::cos(0.75)};
    EXPECT_EQ(Vals(m), expected);
    EXPECT_EQ(m.GetValue(1, 0), 0.0);

    TSparseMtx s;
    MakeReal(s);
    s.Sign();
    EXPECT_EQ(Vals(s), (std::vector<double>{-0.0, -0.5, 0.25, -0.75}));
    s.Offset(1.0).Scale(2.0);
    EXPECT_EQ(Vals(s), (std::vector<double>{2.0, 1.0, 2.5, 0.5}));
    s.InvElem(1e-30);
    EXPECT_EQ(Vals(s), (std::vector<double>{0.5, 1.0, 0.4, 2.0}));
}

TEST_F(SparseValues, SourceFormsGiveAFreshMatrixTheSourcesPattern)
{
    TSparseMtx src;
    MakeReal(src);
    // A fresh matrix and one with another pattern both become Src's shape.
    TSparseMtx fresh, other;
    other.TripletsToSparse(5, 5, TIntArray{4}, TIntArray{4}, TSampleArray{9.0}, 0);
    for (TSparseMtx* dst : {&fresh, &other}) {
        dst->Sqr(src);
        const TSnapshot s = Snapshot(*dst), r = Snapshot(src);
        EXPECT_EQ(s.Rows, 3);
        EXPECT_EQ(s.Cols, 4);
        EXPECT_EQ(s.ColPointers, r.ColPointers);
        EXPECT_EQ(s.RowIndices, r.RowIndices);
        EXPECT_EQ(s.Values, (std::vector<double>{0.0, 0.25, 0.0625, 0.5625}));
        EXPECT_EQ(dst->GetValue(1, 2), 0.0625);
    }
    // Src untouched; Self as its own source.
    EXPECT_EQ(Vals(src), (std::vector<double>{0.0, 0.5, -0.25, 0.75}));
    src.Abs(src);
    EXPECT_EQ(Vals(src), (std::vector<double>{0.0, 0.5, 0.25, 0.75}));
}

TEST_F(SparseValues, SourceFormsThatChangeTheKind)
{
    TSparseMtx src;
    MakeReal(src);
    TSparseMtx c;
    c.ExtendToComplex(src, true);
    ASSERT_TRUE(c.Complex());
    EXPECT_EQ(c.NonZeros(), 4);
    EXPECT_EQ(c.GetMtxCValue(1, 2).Re, -0.25);
    EXPECT_EQ(c.GetMtxCValue(1, 2).Im, 0);
    c.Scale(Cplx(0, 2));  // -0.25 -> -0.5i
    TSparseMtx re, im, mag;
    re.RealPart(c);
    im.ImagPart(c);
    mag.Mag(c);
    EXPECT_FALSE(im.Complex());
    EXPECT_EQ(im.NonZeros(), 4);
    EXPECT_EQ(Vals(im), (std::vector<double>{0.0, 1.0, -0.5, 1.5}));
    EXPECT_EQ(Vals(re), (std::vector<double>{0.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(Vals(mag), (std::vector<double>{0.0, 1.0, 0.5, 1.5}));
    EXPECT_EQ(Snapshot(mag).RowIndices, Snapshot(src).RowIndices);
    // The whole source for ArcSinh.
    TSparseMtx a;
    a.ArcSinh(src);
    EXPECT_EQ(Vals(a), (std::vector<double>{0.0, std::asinh(0.5), std::asinh(-0.25), std::asinh(0.75)}));
}

TEST_F(SparseValues, ReductionsCountImplicitZerosWhereTheyShould)
{
    // 2 × 2 with one stored 4.0.
    TSparseMtx m;
    m.TripletsToSparse(2, 2, TIntArray{1}, TIntArray{0}, TSampleArray{4.0}, 0);
    EXPECT_EQ(m.Mean(), 1.0);
    EXPECT_EQ(m.RMS(), 2.0);
    EXPECT_EQ(m.Sum(), 4.0);
    EXPECT_EQ(m.Max(), 4.0);
    EXPECT_EQ(m.Min(), 4.0);
    TSparseMtx c;
    c.ExtendToComplex(m, true);
    TCplx mean;
    c.Mean(mean);
    EXPECT_EQ(mean.Re, 4);
    EXPECT_EQ(mean.Im, 0);  // the stored entries only

    TSparseMtx r;
    MakeReal(r);
    EXPECT_EQ(r.Find(-0.25), 2);
    EXPECT_EQ(r.Find(7.0), -1);
    TSparseMtx z;
    z.ExtendToComplex(r, true);
    TCplx v;
    EXPECT_EQ(z.Max(v), 3);
    EXPECT_EQ(v.Re, 0.75);
    EXPECT_EQ(v.Im, 0);
    EXPECT_EQ(z.Find(Cplx(0.5, 0)), 1);
    TSparseMtx empty;
    EXPECT_EQ(empty.Mean(), 0.0);
    EXPECT_EQ(empty.RMS(), 0.0);
}

TEST_F(SparseValues, PowerSparseAndNormalizeTakeTheBasesPattern)
{
    TSparseMtx base;
    MakeReal(base);
    TSparseMtx e;
    e.SetVal(2.0);  // no values: nothing happens
    e.Copy(base);
    e.SetVal(2.0);
    TSparseMtx p;
    p.PowerSparse(base, e);
    EXPECT_EQ(Vals(p), (std::vector<double>{0.0, 0.25, 0.0625, 0.5625}));
    EXPECT_EQ(Snapshot(p).RowIndices, Snapshot(base).RowIndices);
    e.PowerSparse(base, e);  // the exponent is Self
    EXPECT_EQ(Vals(e), (std::vector<double>{0.0, 0.25, 0.0625, 0.5625}));
    TSparseMtx n;
    n.Normalize(base, 0.25, 0.5);
    EXPECT_EQ(Vals(n), (std::vector<double>{-0.5, 0.5, -1.0, 1.0}));
}

}  // namespace

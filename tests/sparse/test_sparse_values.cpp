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

// Complex quotients are rounded differently from the exact ones written here.
void ExpectNear(const std::vector<double>& Actual, const std::vector<double>& Expected)
{
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t i = 0; i < Actual.size(); ++i) EXPECT_NEAR(Actual[i], Expected[i], 1e-14) << i;
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

// Complex 2 × 3 with an empty column: (0,0) = 1+2i, (1,0) = -3, (1,2) = 0.5-0.5i.
void MakeComplex(TSparseMtx& M)
{
    M.TripletsToSparse(2, 3, TIntArray{0, 1, 1}, TIntArray{0, 0, 2},
                       TCplxArray{Cplx(1, 2), Cplx(-3, 0), Cplx(0.5, -0.5)}, 0);
}

TEST_F(SparseValues, TwoOperandFormsNeverChangeAnOperand)
{
    TSparseMtx a, b;
    MakeComplex(a);
    MakeComplex(b);
    const TSnapshot orig = Snapshot(a);
    a.ConjMulElem(a);  // |S|²
    EXPECT_EQ(Vals(a), (std::vector<double>{5, 0, 9, 0, 0.5, 0}));
    a.Copy(b);
    a.ConjMulElem(b);
    EXPECT_EQ(Vals(a), (std::vector<double>{5, 0, 9, 0, 0.5, 0}));
    EXPECT_TRUE(Snapshot(b) == orig);

    TSparseMtx p;
    p.MulElem(b, b);
    EXPECT_EQ(Vals(p), (std::vector<double>{-3, 4, 9, 0, 0, -0.5}));
    EXPECT_TRUE(Snapshot(b) == orig);
    p.MulElem(p);
    EXPECT_EQ(Vals(p), (std::vector<double>{-7, -24, 81, 0, -0.25, 0}));
    TSparseMtx q;
    q.DivideElem(p, b);  // a fresh Self takes the numerator's pattern
    EXPECT_EQ(Snapshot(q).RowIndices, orig.RowIndices);
    ExpectNear(Vals(q), {-11, -2, -27, 0, -0.25, -0.25});
    q.DivideElem(b);
    ExpectNear(Vals(q), {-3, 4, 9, 0, 0, -0.5});
}

TEST_F(SparseValues, PartsAndPolarFormsKeepTheSource)
{
    TSparseMtx c;
    MakeComplex(c);
    const TSnapshot orig = Snapshot(c);
    TSparseMtx re, im;
    c.CplxToReal(re, im);
    EXPECT_TRUE(Snapshot(c) == orig);
    EXPECT_EQ(Vals(re), (std::vector<double>{1, -3, 0.5}));
    EXPECT_EQ(Vals(im), (std::vector<double>{2, 0, -0.5}));
    EXPECT_EQ(Snapshot(im).ColPointers, orig.ColPointers);
    TSparseMtx back;
    back.RealToCplx(re, im);
    EXPECT_TRUE(Snapshot(back) == orig);

    TSparseMtx amplt, phase;
    c.CartToPolar(amplt, phase);
    EXPECT_TRUE(Snapshot(c) == orig);
    EXPECT_DOUBLE_EQ(amplt.GetValue(0, 0), std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(phase.GetValue(1, 0), std::atan2(0.0, -3.0));
    TSparseMtx cart;
    cart.PolarToCart(amplt, phase);
    EXPECT_NEAR(cart.GetMtxCValue(1, 2).Im, -0.5, 1e-15);
    // Self as an output: the other part still comes from the original values.
    c.CplxToReal(c, im);
    EXPECT_EQ(Vals(c), (std::vector<double>{1, -3, 0.5}));
    EXPECT_EQ(Vals(im), (std::vector<double>{2, 0, -0.5}));
    EXPECT_EQ(Snapshot(c).RowIndices, orig.RowIndices);
}

TEST_F(SparseValues, OperandsOfAnotherSizeOrPatternAreRefused)
{
    TSparseMtx a, other, shorter, cplx;
    MakeReal(a);
    // Same kind, dimensions and entry count as a, another pattern.
    other.SetDontStripZeros(true);
    other.TripletsToSparse(3, 4, TIntArray{1, 2, 1, 0}, TIntArray{0, 0, 2, 3}, TSampleArray{1, 1, 1, 1}, 0);
    shorter.TripletsToSparse(3, 4, TIntArray{0}, TIntArray{0}, TSampleArray{1}, 0);
    cplx.ExtendToComplex(a, true);
    const TSnapshot orig = Snapshot(a);
    for (const TSparseMtx* op : {&other, &shorter, &cplx}) {
        ExpectRaise([&] { a.MulElem(*op); }, "not IsEqualSize(Sparse)!");
        ExpectRaise([&] { a.ConjMulElem(*op); }, "not IsEqualSize(Sparse)!");
        ExpectRaise([&] { a.DivideElem(*op); }, "not IsEqualSize(Sparse)");
        TSparseMtx r;
        ExpectRaise([&] { r.DivideElem(a, *op); }, "not IsEqualSize(Den)");
        ExpectRaise([&] { r.MulElem(a, *op); }, "not Sparse1.IsEqualSize(Sparse2)");
        ExpectRaise([&] { r.RealToCplx(a, *op); }, "not ReSparse.IsEqualSize(ImSparse)");
        ExpectRaise([&] { r.PolarToCart(a, *op); }, "not AmpltSparse.IsEqualSize(PhaseSparse)");
        EXPECT_EQ(r.NonZeros(), 0);
    }
    EXPECT_TRUE(Snapshot(a) == orig);
}

}  // namespace

// TSparseMtx: the triplet and dense conversions against scipy (tests/data/gen_sparse_golden.py), their checks, and
// ZeroThresh.
#include <cfloat>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

struct TTripletGolden {
    const char* what;
    int rows, cols;
    double thresh;
    bool dontStripZeros, complex;
    std::vector<int> r, c;
    std::vector<double> v;  // (Re, Im) pairs when complex
    std::vector<int> colPointers, rowIndices;
    std::vector<double> values;
    std::vector<double> dense;  // row by row
};

struct TDenseGolden {
    const char* what;
    int rows, cols;
    double thresh;
    bool dontStripZeros, complex;
    std::vector<double> a;  // row by row
    std::vector<int> colPointers, rowIndices;
    std::vector<double> values;
    std::vector<double> dense;
};

#include "sparse_golden.inc"

using SparseTriplets = SparseTest;

TCplxArray Pairs(const std::vector<double>& D)
{
    TCplxArray z(D.size() / 2);
    for (std::size_t i = 0; i < z.size(); ++i) z[i] = {D[2 * i], D[2 * i + 1]};
    return z;
}

// The matrix holds exactly the expected compressed form, values bit for bit.
template <class G>
void ExpectForm(const TSparseMtx& M, const G& g, const std::string& where)
{
    TSnapshot expected;
    expected.Rows = g.rows;
    expected.Cols = g.cols;
    expected.Complex = g.complex;
    expected.NonZeros = static_cast<int>(g.rowIndices.size());
    expected.ColPointers = g.colPointers;
    expected.RowIndices = g.rowIndices;
    expected.Values = g.values;
    EXPECT_EQ(Snapshot(M), expected) << where;
}

// SparseToDense against scipy's toarray(), compared by value (a stored -0 is written as it is; toarray adds it to 0).
template <class G>
void ExpectDense(const TSparseMtx& M, const G& g, const std::string& where)
{
    TMtx d;
    M.SparseToDense(d, g.rows * g.cols);
    ASSERT_EQ(d.Rows(), g.rows) << where;
    ASSERT_EQ(d.Cols(), g.cols) << where;
    ASSERT_EQ(d.Complex(), g.complex) << where;
    for (std::size_t i = 0; i < g.dense.size(); ++i) EXPECT_EQ(d.Values()[i], g.dense[i]) << where << ": Double " << i;
}

// The triplet matrix of the case: 3 rows of row indices, column indices and values (complex rows when complex).
void TripletMatrix(TMtx& T, const TTripletGolden& g)
{
    const std::size_t n = g.r.size();
    T.Size(3, static_cast<int>(n), g.complex);
    for (std::size_t k = 0; k < n; ++k) {
        if (g.complex) {
            T.CValues()[k] = {static_cast<double>(g.r[k]), 0};
            T.CValues()[n + k] = {static_cast<double>(g.c[k]), 0};
            T.CValues()[2 * n + k] = {g.v[2 * k], g.v[2 * k + 1]};
        } else {
            T.Values()[k] = g.r[k];
            T.Values()[n + k] = g.c[k];
            T.Values()[2 * n + k] = g.v[k];
        }
    }
}

TEST_F(SparseTriplets, TripletsToSparseAgreesWithScipy)
{
    for (const TTripletGolden& g : kTripletGolden) {
        TSparseMtx m;
        MakeSmall(m);  // an earlier form, replaced as a whole
        m.SetDontStripZeros(g.dontStripZeros);
        if (g.complex)
            m.TripletsToSparse(g.rows, g.cols, g.r, g.c, Pairs(g.v), g.thresh);
        else
            m.TripletsToSparse(g.rows, g.cols, g.r, g.c, g.v, g.thresh);
        ExpectForm(m, g, g.what);
        ExpectDense(m, g, g.what);

        // The element reads agree with the dense form.
        for (int i = 0; i < g.rows; ++i)
            for (int j = 0; j < g.cols; ++j) {
                const std::size_t at = static_cast<std::size_t>(i * g.cols + j);
                if (g.complex) {
                    const TCplx z = m.GetMtxCValue(i, j);
                    EXPECT_TRUE(z.Re == g.dense[2 * at] && z.Im == g.dense[2 * at + 1])
                        << g.what << " " << i << "," << j;
                } else {
                    EXPECT_EQ(m.GetValue(i, j), g.dense[at]) << g.what << " " << i << "," << j;
                }
            }

        // The triplet matrix form converts with threshold 0.
        if (g.thresh == 0) {
            TSparseMtx t;
            t.SetDontStripZeros(g.dontStripZeros);
            TMtx triplets;
            TripletMatrix(triplets, g);
            t.TripletsToSparse(g.rows, g.cols, triplets);
            ExpectForm(t, g, std::string(g.what) + " (triplet matrix)");
        }

        // The triplet buffer gives the same, with the dimensions of the largest indices.
        if (g.thresh == 0) {
            TSparseMtx b;
            b.SetDontStripZeros(g.dontStripZeros);
            b.SetComplex(g.complex);
            for (std::size_t k = 0; k < g.r.size(); ++k) {
                if (g.complex)
                    b.SetMtxCValue(g.r[k], g.c[k], {g.v[2 * k], g.v[2 * k + 1]});
                else
                    b.SetValue(g.r[k], g.c[k], g.v[k]);
            }
            b.TripletsToSparseAndFlush();
            b.SetRows(g.rows);  // the extents may lie below the case's dimensions
            if (b.Cols() == g.cols) ExpectForm(b, g, std::string(g.what) + " (triplet buffer)");
        }
    }
}

TEST_F(SparseTriplets, SparseToTripletsReadsStorageOrderBack)
{
    for (const TTripletGolden& g : kTripletGolden) {
        TSparseMtx m;
        m.SetDontStripZeros(g.dontStripZeros);
        if (g.complex)
            m.TripletsToSparse(g.rows, g.cols, g.r, g.c, Pairs(g.v), g.thresh);
        else
            m.TripletsToSparse(g.rows, g.cols, g.r, g.c, g.v, g.thresh);
        const std::size_t n = g.rowIndices.size();
        std::vector<int> cols;  // the column of each stored entry
        for (int j = 0; j < g.cols; ++j)
            for (int k = g.colPointers[j]; k < g.colPointers[j + 1]; ++k) cols.push_back(j);

        TIntArray row(n), col(n);
        TSampleArray raw(n);
        m.SparseToTriplets(row, col, raw);
        EXPECT_EQ(row, g.rowIndices) << g.what;
        EXPECT_EQ(col, cols) << g.what;
        // Of a complex matrix the real form copies the first NonZeros Doubles of the interleaved values.
        for (std::size_t k = 0; k < n; ++k) EXPECT_TRUE(SameBits(raw[k], g.values[k])) << g.what << " " << k;

        TMtx triplets;
        m.SparseToTriplets(triplets, false);
        EXPECT_EQ(triplets.Rows(), 3);
        EXPECT_EQ(triplets.Cols(), static_cast<int>(n));
        EXPECT_EQ(triplets.Complex(), g.complex);
        if (g.complex) {
            TCplxArray values(n);
            m.SparseToTriplets(row, col, values);
            TMtx split;
            m.SparseToTriplets(split, true);
            ASSERT_EQ(split.Rows(), 4);
            ASSERT_FALSE(split.Complex());
            for (std::size_t k = 0; k < n; ++k) {
                EXPECT_TRUE(SameBits(values[k].Re, g.values[2 * k]) && SameBits(values[k].Im, g.values[2 * k + 1]));
                const TCplx* t = triplets.CValues();
                EXPECT_TRUE(t[k].Re == g.rowIndices[k] && t[k].Im == 0 && t[n + k].Re == cols[k] && t[n + k].Im == 0);
                EXPECT_TRUE(SameBits(t[2 * n + k].Re, g.values[2 * k]) &&
                            SameBits(t[2 * n + k].Im, g.values[2 * k + 1]));
                const double* s = split.Values();
                EXPECT_TRUE(s[k] == g.rowIndices[k] && s[n + k] == cols[k]);
                EXPECT_TRUE(SameBits(s[2 * n + k], g.values[2 * k]) && SameBits(s[3 * n + k], g.values[2 * k + 1]));
            }
        } else {
            for (std::size_t k = 0; k < n; ++k) {
                const double* t = triplets.Values();
                EXPECT_TRUE(t[k] == g.rowIndices[k] && t[n + k] == cols[k] && SameBits(t[2 * n + k], g.values[k]))
                    << g.what << " " << k;
            }
        }

        // Round trip through the triplet matrix (threshold 0 keeps what is stored, explicit zeros with DontStripZeros).
        TSparseMtx back;
        back.SetDontStripZeros(true);
        back.TripletsToSparse(g.rows, g.cols, triplets);
        ExpectForm(back, g, std::string(g.what) + " (round trip)");
    }
}

TEST_F(SparseTriplets, DenseToSparseAgreesWithScipy)
{
    for (const TDenseGolden& g : kDenseGolden) {
        TMtx a;
        a.Size(g.rows, g.cols, g.complex);
        std::copy(g.a.begin(), g.a.end(), a.Values());
        TSparseMtx m;
        m.SetDontStripZeros(g.dontStripZeros);
        m.DenseToSparse(a, g.thresh);
        ExpectForm(m, g, g.what);
        ExpectDense(m, g, g.what);
    }
    TSparseMtx m;
    TMtx empty;
    ExpectRaise([&] { m.DenseToSparse(empty, 0); }, "(RowCount <= 0) or (ColCount <= 0)");
}

TEST_F(SparseTriplets, ConversionChecksInOrderAndChangeNothing)
{
    TSparseMtx m;
    MakeSmall(m);
    const TSnapshot before = Snapshot(m);
    struct Case {
        const char* what;
        std::function<void()> op;
        const char* message;
    };
    const TIntArray r2{0, 1}, c2{0, 1};
    const Case cases[] = {
        {"values shorter", [&] { m.TripletsToSparse(0, 0, r2, TIntArray{0}, TSampleArray{1}, 0); },
         "(Length(Row) <> Length(Values))"},
        {"complex values longer", [&] { m.TripletsToSparse(0, 0, r2, c2, TCplxArray(3), 0); },
         "(Length(Row) <> Length(Values))"},
        {"rows 0",
         [&] {
             m.TripletsToSparse(0, 2, r2, TIntArray{0}, TSampleArray{1, 2}, 0);
         },
         "(RowCount <= 0) or (ColCount <= 0)"},
        {"cols negative",
         [&] {
             m.TripletsToSparse(2, -1, r2, TIntArray{0}, TSampleArray{1, 2}, 0);
         },
         "(RowCount <= 0) or (ColCount <= 0)"},
        {"column shorter",
         [&] {
             m.TripletsToSparse(2, 2, r2, TIntArray{0}, TSampleArray{1, 2}, 0);
         },
         "(Length(Row) <> Length(Column))"},
        {"no triplets", [&] { m.TripletsToSparse(2, 2, TIntArray{}, TIntArray{}, TSampleArray{}, 0); },
         "Length(Row) <= 0"},
        {"row = Rows",
         [&] {
             m.TripletsToSparse(2, 2, TIntArray{0, 2}, c2, TSampleArray{1, 2}, 0);
         },
         "Invalid triplet!"},
        {"column = Cols",
         [&] {
             m.TripletsToSparse(2, 2, r2, TIntArray{2, 0}, TSampleArray{1, 2}, 0);
         },
         "Invalid triplet!"},
        {"negative row",
         [&] {
             m.TripletsToSparse(2, 2, TIntArray{-1, 0}, c2, TSampleArray{1, 2}, 0);
         },
         "Invalid triplet!"},
        {"negative column of a dropped triplet",
         [&] {
             m.TripletsToSparse(2, 2, r2, TIntArray{0, -1}, TSampleArray{1, 0}, 0);
         },
         "Invalid triplet!"},
        {"complex row = Rows",
         [&] {
             m.TripletsToSparse(2, 2, TIntArray{2, 0}, c2, TCplxArray{{1, 1}, {2, 2}}, 0);
         },
         "Invalid triplet!"},
    };
    for (const Case& c : cases) {
        ExpectRaise(c.op, c.message, c.what);
        EXPECT_EQ(Snapshot(m), before) << c.what;
    }
}

TEST_F(SparseTriplets, TripletMatrixIndicesRoundToNearestEven)
{
    struct Case {
        double row;
        int expected;
    };
    TSparseMtx m;
    for (const Case& c : {Case{1.6, 2}, Case{2.5, 2}, Case{3.5, 4}, Case{0.5, 0}, Case{1.4999999999999998, 1},
                          Case{-0.4, 0}, Case{4.0, 4}}) {
        for (bool truncating : {false, true}) {
            TMtx t;
            t.Size(3, 1);
            t.Values()[0] = c.row;
            t.Values()[1] = 0.5;  // column 0
            t.Values()[2] = 7;
            const Word saved = truncating ? SetRoundToTrunc() : 0;
            m.TripletsToSparse(5, 1, t);
            if (truncating) RestoreRound(saved);
            EXPECT_EQ(m.RowIndices()[0], c.expected) << c.row << (truncating ? " truncating" : "");
        }
    }
}

TEST_F(SparseTriplets, TripletMatrixIsCheckedBeforeAnythingChanges)
{
    TSparseMtx m;
    MakeSmall(m);
    const TSnapshot before = Snapshot(m);
    TMtx split;
    split.Size(4, 2);
    ExpectRaise([&] { m.TripletsToSparse(3, 3, split); }, "Triplets.Rows <> 3");
    for (double bad : {double(NAN), double(INFINITY), -double(INFINITY), 3e9, -3e9, 2147483647.5, -2147483648.6}) {
        for (int rowOfBad : {0, 1}) {
            TMtx t;
            t.Size(3, 2);
            t.Values()[0] = 1;
            t.Values()[1] = 0;
            t.Values()[2] = 1;
            t.Values()[3] = 2;
            t.Values()[4] = 5;
            t.Values()[5] = 6;
            t.Values()[rowOfBad * 2 + 1] = bad;
            ExpectRaise([&] { m.TripletsToSparse(3, 3, t); }, "Invalid triplet!", std::to_string(bad));
        }
    }
    TMtx outside;
    outside.Size(3, 1);
    outside.Values()[0] = 3;  // Rows is 3
    ExpectRaise([&] { m.TripletsToSparse(3, 3, outside); }, "Invalid triplet!");
    EXPECT_EQ(Snapshot(m), before);
}

TEST_F(SparseTriplets, SparseToTripletsChecksTheArrays)
{
    TSparseMtx m;
    MakeSmall(m);  // 5 entries
    struct Case {
        const char* what;
        std::size_t row, col, values;
        const char* message;
    };
    for (const Case& c :
         {Case{"row longer", 6, 6, 6, "Length(Row) < NonZeros"}, Case{"row shorter", 4, 5, 5, "Length(Row) < NonZeros"},
          Case{"column", 5, 6, 4, "Length(Column) < NonZeros"}, Case{"values", 5, 5, 4, "Length(Values) < NonZeros"}}) {
        TIntArray r(c.row), col(c.col);
        TSampleArray v(c.values);
        TCplxArray z(c.values);
        ExpectRaise([&] { m.SparseToTriplets(r, col, v); }, c.message, c.what);
        ExpectRaise([&] { m.SparseToTriplets(r, col, z); }, c.message, c.what);
    }
    TIntArray r(5), col(5);
    TCplxArray z(5);
    ExpectRaise([&] { m.SparseToTriplets(r, col, z); }, "Not complex!");
}

TEST_F(SparseTriplets, SparseToDenseLimitsTheElementCount)
{
    TSparseMtx m;
    MakeSmall(m);
    TMtx d;
    ExpectRaise([&] { m.SparseToDense(d, 8); }, "MaxElemCount reached!");
    EXPECT_EQ(d.Rows(), 0);
    m.SparseToDense(d, 9);
    EXPECT_EQ(d(2, 2), 5);
    // Rows·Cols in 64 bits: 70000 × 70000 does not wrap below a limit of 10^9.
    TSparseMtx big;
    big.Size(70000, 70000, 0, false);
    ExpectRaise([&] { big.SparseToDense(d, 1000000000); }, "MaxElemCount reached!");
    ExpectRaise([&] { big.SparseToDense(d, INT_MAX); }, "MaxElemCount reached!");
    EXPECT_EQ(d.Rows(), 3);
}

TEST_F(SparseTriplets, ZeroThreshDropsSmallEntries)
{
    TSparseMtx m;
    m.TripletsToSparse(3, 4, TIntArray{0, 1, 2, 2, 0}, TIntArray{0, 1, 1, 3, 3},
                       TSampleArray{0.5, -0.25, 2, -0.75, 0.5}, 0);
    m.ZeroThresh(0.5);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 4);
    EXPECT_EQ(m.NonZeros(), 2);
    EXPECT_EQ(m.GetValue(2, 1), 2);
    EXPECT_EQ(m.GetValue(2, 3), -0.75);

    // With DontStripZeros the small entries stay as explicit zeros.
    TSparseMtx k;
    k.SetDontStripZeros(true);
    k.TripletsToSparse(2, 2, TIntArray{0, 1}, TIntArray{0, 1}, TCplxArray{{0.3, 0.4}, {3, 4}}, 0);
    k.ZeroThresh(0.5);
    EXPECT_EQ(k.NonZeros(), 2);
    EXPECT_EQ(k.GetMtxCValue(0, 0).Re, 0);
    EXPECT_EQ(k.GetMtxCValue(0, 0).Im, 0);
    EXPECT_EQ(k.GetMtxCValue(1, 1).Im, 4);

    // A matrix without entries stays as it is.
    TSparseMtx e;
    e.Size(3, 4, 0, false);
    const TSnapshot before = Snapshot(e);
    e.ZeroThresh(0.5);
    EXPECT_EQ(Snapshot(e), before);
}

}  // namespace

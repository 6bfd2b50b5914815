// TSparseMtx: defaults, settings and the control array, sizing, Copy/Assign, and the triplet buffer.
#include <umfpack.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseClass = SparseTest;

TEST_F(SparseClass, NewMatrixHasTheDefaults)
{
    double defaults[UMFPACK_CONTROL];
    umfpack_di_defaults(defaults);
    TSparseMtx m;
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);
    EXPECT_EQ(m.NonZeros(), 0);
    EXPECT_FALSE(m.Complex());
    EXPECT_EQ(std::vector<int>(m.ColPointers().begin(), m.ColPointers().end()), std::vector<int>{0});
    EXPECT_EQ(m.Values().Length(), 0);
    EXPECT_EQ(m.ReportLevel(), prlBasic);
    EXPECT_EQ(m.SparseSystem(), spsA);
    EXPECT_EQ(m.SystemString(), "Ax=b");
    EXPECT_TRUE(SameBits(m.Tolerance(), std::ldexp(500.0, -52)));
    EXPECT_EQ(m.MaxIters(), 500);
    EXPECT_EQ(m.VectorCount(), 10);
    EXPECT_TRUE(m.AutoPattern());
    EXPECT_TRUE(m.AutoClearReport());
    EXPECT_FALSE(m.DontStripZeros());
    EXPECT_FALSE(m.Dirty());
    EXPECT_EQ(m.IterativeMethod(), itmSGS);
    EXPECT_EQ(m.ConvergenceCheck(), cvcNorm2);
    EXPECT_EQ(m.MtxError(), "");
    EXPECT_EQ(m.Caption(), "");
    EXPECT_EQ(m.TripletCount(), 0);
    EXPECT_EQ(m.BlockSize(), static_cast<int>(defaults[UMFPACK_BLOCK_SIZE]));
    EXPECT_EQ(m.RefinmentIters(), static_cast<int>(defaults[UMFPACK_IRSTEP]));
    // The control array is UMFPACK's defaults with the print level of prlBasic; the spare entry is 0.
    const auto control = m.ControlArray();
    for (int i = 0; i < UMFPACK_CONTROL; ++i) {
        if (i == UMFPACK_PRL)
            EXPECT_EQ(control[i], 2);
        else
            EXPECT_TRUE(SameBits(control[i], defaults[i])) << "control entry " << i;
    }
    for (int i = UMFPACK_CONTROL; i < TSparseMtx::kControlCount; ++i) EXPECT_EQ(control[i], 0);
    for (double v : m.InfoArray()) EXPECT_EQ(v, 0);
}

TEST_F(SparseClass, SettersClampAndMirrorIntoTheControlArray)
{
    struct Case {
        const char* what;
        std::function<void(TSparseMtx&)> set;
        std::function<int(const TSparseMtx&)> property;
        int expected;
        int entry;  // control entry written, -1 for none
        double entryValue;
    };
    const Case cases[] = {
        {"VectorCount 1 keeps 2", [](TSparseMtx& m) { m.SetVectorCount(1); },
         [](const TSparseMtx& m) { return m.VectorCount(); }, 2, -1, 0},
        {"VectorCount 7", [](TSparseMtx& m) { m.SetVectorCount(7); },
         [](const TSparseMtx& m) { return m.VectorCount(); }, 7, -1, 0},
        {"RefinmentIters -3", [](TSparseMtx& m) { m.SetRefinmentIters(-3); },
         [](const TSparseMtx& m) { return m.RefinmentIters(); }, 0, UMFPACK_IRSTEP, -3},
        {"RefinmentIters 5", [](TSparseMtx& m) { m.SetRefinmentIters(5); },
         [](const TSparseMtx& m) { return m.RefinmentIters(); }, 5, UMFPACK_IRSTEP, 5},
        {"BlockSize 16", [](TSparseMtx& m) { m.SetBlockSize(16); }, [](const TSparseMtx& m) { return m.BlockSize(); },
         16, UMFPACK_BLOCK_SIZE, 16},
        {"ReportLevel prlNone", [](TSparseMtx& m) { m.SetReportLevel(prlNone); },
         [](const TSparseMtx& m) { return static_cast<int>(m.ReportLevel()); }, prlNone, UMFPACK_PRL, 0},
        {"ReportLevel prlAll", [](TSparseMtx& m) { m.SetReportLevel(prlAll); },
         [](const TSparseMtx& m) { return static_cast<int>(m.ReportLevel()); }, prlAll, UMFPACK_PRL, 5},
    };
    for (const Case& c : cases) {
        TSparseMtx m;
        c.set(m);
        EXPECT_EQ(c.property(m), c.expected) << c.what;
        if (c.entry >= 0) {
            EXPECT_EQ(m.ControlArray()[c.entry], c.entryValue) << c.what;
        }
    }
}

TEST_F(SparseClass, SparseSystemSelectsTheSystemString)
{
    const char* strings[] = {"Ax=b", "A'x=b", "P'Lx=b", "L'Px=b", "UQ'x=b", "QU'x=b", "Lx=b", "L'x=b", "Ux=b", "U'x=b"};
    TSparseMtx m;
    for (int s = spsA; s <= spsUT; ++s) {
        m.SetSparseSystem(static_cast<TSparseSystem>(s));
        EXPECT_EQ(m.SystemString(), strings[s]) << s;
    }
    // An ordinal outside the table (as a stream may hold) is stored and leaves the string alone.
    m.SetSparseSystem(spsLTP);
    m.SetSparseSystem(static_cast<TSparseSystem>(12));
    EXPECT_EQ(static_cast<int>(m.SparseSystem()), 12);
    EXPECT_EQ(m.SystemString(), "L'Px=b");
}

TEST_F(SparseClass, SizeReservesAndComplexHalvesTheEntries)
{
    TSparseMtx m;
    m.Size(4, 4, 10, false);
    EXPECT_EQ(m.ColPointers().size(), 5u);
    EXPECT_EQ(m.RowIndices().size(), 10u);
    EXPECT_EQ(m.Values().Length(), 10);
    EXPECT_FALSE(m.Values().Complex());
    m.SetComplex(true);
    EXPECT_EQ(m.NonZeros(), 5);
    EXPECT_EQ(m.RowIndices().size(), 5u);
    EXPECT_EQ(m.Values().Length(), 5);
    EXPECT_TRUE(m.Values().Complex());
    m.SetComplex(false);
    EXPECT_EQ(m.NonZeros(), 10);

    // A complex reservation: the kind first, then the count.
    TSparseMtx c;
    c.Size(3, 2, 6, true);
    EXPECT_TRUE(c.Complex());
    EXPECT_EQ(c.NonZeros(), 6);
    EXPECT_EQ(c.Values().Length(), 6);
    EXPECT_EQ(c.Rows(), 3);
    EXPECT_EQ(c.Cols(), 2);
}

TEST_F(SparseClass, NegativeCountsAreRefusedBeforeAnythingChanges)
{
    TSparseMtx m;
    MakeSmall(m);
    const TSnapshot before = Snapshot(m);
    ExpectRaise([&] { m.SetCols(-2); }, "SetCols: Value < 0");
    ExpectRaise([&] { m.SetNonZeros(-1); }, "SetActualLength: Value < 0");
    ExpectRaise([&] { m.Size(2, -1, 0, true); }, "SetCols: Value < 0");
    ExpectRaise([&] { m.Size(2, 2, -1, true); }, "SetActualLength: Value < 0");
    EXPECT_EQ(Snapshot(m), before);
}

TEST_F(SparseClass, CopyKeepsThePatternAcrossKinds)
{
    // A complex source into a real matrix: switching the values' kind must not cost the row indices.
    TSparseMtx src, dst;
    MakeSmallComplex(src);
    MakeSmall(dst);
    dst.Copy(src);
    EXPECT_EQ(Snapshot(dst), Snapshot(src));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const TCplx a = dst.GetMtxCValue(r, c), b = src.GetMtxCValue(r, c);
            EXPECT_TRUE(a.Re == b.Re && a.Im == b.Im) << r << ", " << c;
        }
    // And back: a real source into the complex matrix.
    TSparseMtx real;
    MakeSmall(real);
    dst.Copy(real);
    EXPECT_EQ(Snapshot(dst), Snapshot(real));
    // Self is left alone.
    dst.Copy(dst);
    EXPECT_EQ(Snapshot(dst), Snapshot(real));
}

TEST_F(SparseClass, AKindSwitchAndBackRestoresTheRowIndices)
{
    // The values switching to complex and regrowing (as a widening to complex does) keep the pattern: the row
    // indices past NonZeros are spare room, not lost.
    TSparseMtx m;
    MakeSmall(m);
    const TSnapshot before = Snapshot(m);
    m.SetComplex(true);
    EXPECT_EQ(m.NonZeros(), 2);
    m.SetNonZeros(5);
    EXPECT_EQ(Snapshot(m).RowIndices, before.RowIndices);
}

TEST_F(SparseClass, SizeFromAnotherMatrixKeepsTheOwnPatternAndReadersRefuseIt)
{
    TSparseMtx src, m;
    src.Size(5, 3, 9, false);
    MakeSmall(m);
    m.Size(src);
    EXPECT_TRUE(m.IsEqualSize(src));
    EXPECT_EQ(m.ColPointers().back(), 5);  // the own pattern: 5 entries described, 9 stored
    EXPECT_EQ(m.GetValue(0, 2), 4);        // each column lies within the 9 entries, so single reads still work
    TIntArray r(9), c(9);
    TSampleArray v(9);
    ExpectRaise([&] { m.SparseToTriplets(r, c, v); }, "Invalid sparse pattern!", "SparseToTriplets");
    TMtx dense, triplets;
    ExpectRaise([&] { m.SparseToDense(dense, 1000); }, "Invalid sparse pattern!", "SparseToDense");
    ExpectRaise([&] { m.SparseToTriplets(triplets, false); }, "Invalid sparse pattern!", "SparseToTriplets(Mtx)");
    ExpectRaise([&] { m.ZeroThresh(0.5); }, "Invalid sparse pattern!", "ZeroThresh");

    // Fewer entries than the pointers describe: the reads stay within the entries.
    TSparseMtx shrunk;
    MakeSmall(shrunk);
    shrunk.SetNonZeros(3);
    ExpectRaise([&] { (void)shrunk.GetValue(1, 2); }, "Invalid sparse pattern!");
    EXPECT_EQ(shrunk.GetValue(2, 0), 2);
}

TEST_F(SparseClass, SparseToDenseRefusesRowsOutsideTheMatrix)
{
    TSparseMtx m;
    MakeSmall(m);
    m.SetRows(2);  // row 2 is stored
    TMtx dense;
    ExpectRaise([&] { m.SparseToDense(dense, 1000); }, "Invalid sparse pattern!");
    EXPECT_EQ(dense.Rows(), 0);
}

// The whole-pattern check finds one row outside the matrix wherever it lies among the entries (the check reads
// them four at a time, then the rest one by one).
TEST_F(SparseClass, PatternCheckFindsARowOutsideAtEveryPosition)
{
    for (int n = 1; n <= 9; ++n)
        for (int at = 0; at < n; ++at) {
            SCOPED_TRACE(testing::Message() << n << " entries, row 9 at " << at);
            // Column k holds one entry; the one at position At is in row 9, the others in rows 0..7.
            TIntArray r, c;
            for (int k = 0; k < n; ++k) r.push_back(k == at ? 9 : k % 8), c.push_back(k);
            TSparseMtx m;
            m.TripletsToSparse(10, n, r, c, TSampleArray(static_cast<std::size_t>(n), 1.0), 0);
            TStringList lines;
            m.ValuesToStrings(lines, spfMatrixMarket, false);
            m.SetRows(9);
            ExpectRaise([&] { m.ValuesToStrings(lines, spfMatrixMarket, false); }, "Invalid sparse pattern!");
        }
    // A negative row count leaves every stored row outside.
    TSparseMtx m;
    m.TripletsToSparse(3, 1, TIntArray{0}, TIntArray{0}, TSampleArray{1.0}, 0);
    m.SetRows(-1);
    TStringList lines;
    ExpectRaise([&] { m.ValuesToStrings(lines, spfMatrixMarket, false); }, "Invalid sparse pattern!");
}

TEST_F(SparseClass, AssignCopiesTheSettingsOfItsList)
{
    TSparseMtx src, dst;
    MakeSmallComplex(src);
    src.SetAutoClearReport(false);
    src.SetReportLevel(prlAll);
    src.SetRefinmentIters(7);
    src.SetSparseSystem(spsUT);
    src.SetBlockSize(8);
    src.SetIterativeMethod(itmLUGMRES);
    src.SetConvergenceCheck(cvcNorm2InvA);
    src.SetTolerance(1e-7);
    src.SetMaxIters(42);
    src.SetVectorCount(6);
    src.SetCaption("source");
    src.SetDirty(true);
    // Not copied:
    src.SetAutoPattern(false);
    src.SetDontStripZeros(true);
    src.SetMtxError("failed");
    src.SetActualIters(3);
    src.SetBackError(0.5);

    dst.Assign(src);
    EXPECT_EQ(Snapshot(dst), Snapshot(src));
    EXPECT_FALSE(dst.AutoClearReport());
    EXPECT_EQ(dst.ReportLevel(), prlAll);
    EXPECT_EQ(dst.ControlArray()[UMFPACK_PRL], 5);
    EXPECT_EQ(dst.RefinmentIters(), 7);
    EXPECT_EQ(dst.ControlArray()[UMFPACK_IRSTEP], 7);
    EXPECT_EQ(dst.SparseSystem(), spsUT);
    EXPECT_EQ(dst.SystemString(), "U'x=b");
    EXPECT_EQ(dst.BlockSize(), 8);
    EXPECT_EQ(dst.ControlArray()[UMFPACK_BLOCK_SIZE], 8);
    EXPECT_EQ(dst.IterativeMethod(), itmLUGMRES);
    EXPECT_EQ(dst.ConvergenceCheck(), cvcNorm2InvA);
    EXPECT_EQ(dst.Tolerance(), 1e-7);
    EXPECT_EQ(dst.MaxIters(), 42);
    EXPECT_EQ(dst.VectorCount(), 6);
    EXPECT_EQ(dst.Caption(), "source");
    EXPECT_TRUE(dst.Dirty());
    EXPECT_TRUE(dst.AutoPattern());
    EXPECT_FALSE(dst.DontStripZeros());
    EXPECT_EQ(dst.MtxError(), "");
    EXPECT_EQ(dst.ActualIters(), 0);
    EXPECT_EQ(dst.BackError(), 0);
}

TEST_F(SparseClass, IsEqualSizeComparesKindCountAndDimensionsOnly)
{
    TSparseMtx a, b;
    MakeSmall(a);
    b.Size(3, 3, 5, false);  // another pattern, same size
    EXPECT_TRUE(a.IsEqualSize(b));
    struct Case {
        const char* what;
        int rows, cols, nonZeros;
        bool complex;
    };
    for (const Case& c : {Case{"rows", 4, 3, 5, false}, Case{"cols", 3, 2, 5, false}, Case{"entries", 3, 3, 4, false},
                          Case{"kind", 3, 3, 5, true}}) {
        b.Size(c.rows, c.cols, c.nonZeros, c.complex);
        EXPECT_FALSE(a.IsEqualSize(b)) << c.what;
    }
}

TEST_F(SparseClass, TripletBufferSetsAndReadsElements)
{
    TSparseMtx m;
    m.SetValue(2, 5, 1.5);
    m.SetValue(0, 1, 2.0);
    ExpectRaise([&] { (void)m.GetValue(0, 1); }, "Call TripletsToSparseAndFlush first!");
    m.TripletsToSparseAndFlush();
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 6);
    EXPECT_EQ(m.NonZeros(), 2);
    EXPECT_EQ(m.GetValue(2, 5), 1.5);
    EXPECT_EQ(m.GetValue(0, 1), 2.0);
    EXPECT_EQ(m.GetValue(1, 1), 0.0);
    EXPECT_EQ(m.GetValue(-1, 1), 0.0);  // a negative row finds no entry
    EXPECT_EQ(m.TripletCount(), 0);
    EXPECT_EQ(m.TripletBufferLength(), 0);

    // Duplicates add up; a zero leaves no entry unless DontStripZeros.
    m.SetValue(1, 1, 2.5);
    m.SetValue(1, 1, 0.25);
    m.SetValue(0, 0, 0.0);
    m.TripletsToSparseAndFlush();
    EXPECT_EQ(m.NonZeros(), 1);
    EXPECT_EQ(m.GetValue(1, 1), 2.75);
    m.SetDontStripZeros(true);
    m.SetValue(1, 1, 0.0);
    m.TripletsToSparseAndFlush();
    EXPECT_EQ(m.NonZeros(), 1);
    EXPECT_EQ(m.Rows(), 2);

    // Complex elements.
    TSparseMtx c;
    c.SetComplex(true);
    c.SetMtxCValue(1, 0, {1, -2});
    c.SetMtxCValue(1, 0, {0.5, 0.5});
    c.TripletsToSparseAndFlush();
    EXPECT_TRUE(c.Complex());
    const TCplx z = c.GetMtxCValue(1, 0);
    EXPECT_EQ(z.Re, 1.5);
    EXPECT_EQ(z.Im, -1.5);
    const TCplx zero = c.GetMtxCValue(0, 0);
    EXPECT_EQ(zero.Re, 0);
    EXPECT_EQ(zero.Im, 0);
}

TEST_F(SparseClass, TripletBufferGrowsGeometrically)
{
    TSparseMtx m;
    m.SetValue(0, 0, 1);
    EXPECT_EQ(m.TripletBufferLength(), 100);
    for (int i = 1; i < 100; ++i) m.SetValue(i, 0, 1);
    EXPECT_EQ(m.TripletBufferLength(), 100);
    m.SetValue(100, 0, 1);  // the 101st
    EXPECT_EQ(m.TripletBufferLength(), 200);
    for (int i = 101; i < 201; ++i) m.SetValue(i, 0, 1);
    EXPECT_EQ(m.TripletBufferLength(), 400);
    EXPECT_EQ(m.TripletCount(), 201);
    m.TripletsToSparseAndFlush();
    EXPECT_EQ(m.NonZeros(), 201);
    EXPECT_EQ(m.Rows(), 201);
    EXPECT_EQ(m.GetValue(200, 0), 1);
}

TEST_F(SparseClass, ElementAccessChecksInOrder)
{
    TSparseMtx real, cplx;
    MakeSmall(real);
    MakeSmallComplex(cplx);
    struct Case {
        const char* what;
        std::function<void()> op;
        const char* message;
    };
    const Case cases[] = {
        {"SetValue on complex", [&] { cplx.SetValue(-1, -1, 1); }, "Complex = True"},
        {"SetMtxCValue on real",
         [&] {
             real.SetMtxCValue(-1, -1, {1, 0});
         },
         "not Complex"},
        {"SetValue ARow < 0", [&] { real.SetValue(-1, -1, 1); }, "ARow < 0"},
        {"SetValue ACol < 0", [&] { real.SetValue(0, -1, 1); }, "ACol < 0"},
        {"SetMtxCValue ARow < 0",
         [&] {
             cplx.SetMtxCValue(-1, 0, {1, 0});
         },
         "ARow < 0"},
        {"SetMtxCValue ACol < 0",
         [&] {
             cplx.SetMtxCValue(0, -5, {1, 0});
         },
         "ACol < 0"},
        {"SetValue ARow = MaxInt", [&] { real.SetValue(INT_MAX, 0, 1); }, "ARow too large"},
        {"SetValue ACol = MaxInt", [&] { real.SetValue(0, INT_MAX, 1); }, "ACol too large"},
        {"GetValue ACol high", [&] { (void)real.GetValue(5, 3); }, "ACol > (FCols-1)"},
        {"GetValue ARow high", [&] { (void)real.GetValue(3, -1); }, "ARow > (FRows-1)"},
        {"GetValue on complex", [&] { (void)cplx.GetValue(0, -1); }, "Complex = True"},
        {"GetValue ACol < 0", [&] { (void)real.GetValue(0, -1); }, "ACol < 0"},
        {"GetMtxCValue ACol high", [&] { (void)cplx.GetMtxCValue(0, 3); }, "ACol > (FCols-1)"},
        {"GetMtxCValue ARow high", [&] { (void)cplx.GetMtxCValue(3, 0); }, "ARow > (FRows-1)"},
        {"GetMtxCValue on real", [&] { (void)real.GetMtxCValue(0, -1); }, "not Complex"},
        {"GetMtxCValue ACol < 0", [&] { (void)cplx.GetMtxCValue(0, -1); }, "ACol < 0"},
    };
    const TSnapshot realBefore = Snapshot(real), cplxBefore = Snapshot(cplx);
    for (const Case& c : cases) ExpectRaise(c.op, c.message, c.what);
    EXPECT_EQ(Snapshot(real), realBefore);
    EXPECT_EQ(Snapshot(cplx), cplxBefore);
    // Nothing was buffered by the refused calls: the matrices still read.
    EXPECT_EQ(real.TripletCount(), 0);
    EXPECT_EQ(real.GetValue(2, 2), 5);

    // Pending triplets come first of all the reading checks.
    real.SetValue(0, 0, 1);
    ExpectRaise([&] { (void)real.GetValue(9, -9); }, "Call TripletsToSparseAndFlush first!");
    ExpectRaise([&] { (void)real.GetMtxCValue(9, -9); }, "Call TripletsToSparseAndFlush first!");
}

TEST_F(SparseClass, ANegativeIndexDoesNotSpoilTheBuffer)
{
    TSparseMtx m;
    m.SetValue(1, 1, 3);
    ExpectRaise([&] { m.SetValue(-1, 0, 1); }, "ARow < 0");
    m.SetValue(0, 2, 4);
    m.TripletsToSparseAndFlush();
    EXPECT_EQ(m.NonZeros(), 2);
    EXPECT_EQ(m.GetValue(1, 1), 3);
    EXPECT_EQ(m.GetValue(0, 2), 4);
}

TEST_F(SparseClass, PendingTripletsKeepTheirKind)
{
    // Real triplets pending, the matrix switched to complex: a complex triplet is refused, and the flush converts
    // the real ones as real.
    TSparseMtx m;
    m.SetValue(0, 0, 1.5);
    m.SetValue(1, 2, -2);
    m.SetComplex(true);
    ExpectRaise([&] { m.SetMtxCValue(0, 0, {1, 1}); }, "Call TripletsToSparseAndFlush first!");
    m.TripletsToSparseAndFlush();
    EXPECT_FALSE(m.Complex());
    EXPECT_EQ(m.NonZeros(), 2);
    EXPECT_EQ(m.GetValue(1, 2), -2);

    // And the other way round.
    TSparseMtx c;
    c.SetComplex(true);
    c.SetMtxCValue(2, 0, {0, 1});
    c.SetComplex(false);
    ExpectRaise([&] { c.SetValue(0, 0, 1); }, "Call TripletsToSparseAndFlush first!");
    c.TripletsToSparseAndFlush();
    EXPECT_TRUE(c.Complex());
    EXPECT_EQ(c.GetMtxCValue(2, 0).Im, 1);
    // After the flush the new kind is free.
    c.SetComplex(false);
    c.SetValue(0, 0, 1);
    c.TripletsToSparseAndFlush();
    EXPECT_EQ(c.GetValue(0, 0), 1);
}

TEST_F(SparseClass, AnEmptyFlushRaisesAndChangesNothing)
{
    TSparseMtx m;
    MakeSmall(m);
    const TSnapshot before = Snapshot(m);
    ExpectRaise([&] { m.TripletsToSparseAndFlush(); }, "(RowCount <= 0) or (ColCount <= 0)");
    EXPECT_EQ(Snapshot(m), before);
}

TEST_F(SparseClass, NewMatrixReadsSafely)
{
    TSparseMtx m;
    TIntArray r, c;
    TSampleArray v;
    m.SparseToTriplets(r, c, v);  // no entries
    TMtx dense, triplets;
    m.SparseToDense(dense, 0);
    EXPECT_EQ(dense.Rows() * dense.Cols(), 0);
    m.SparseToTriplets(triplets, false);
    EXPECT_EQ(triplets.Rows(), 3);
    EXPECT_EQ(triplets.Cols(), 0);
    ExpectRaise([&] { (void)m.GetValue(0, 0); }, "ACol > (FCols-1)");
    m.SetCols(3);  // pointers grow from the {0} of a new matrix
    EXPECT_EQ(std::vector<int>(m.ColPointers().begin(), m.ColPointers().end()), (std::vector<int>{0, 0, 0, 0}));
}

}  // namespace

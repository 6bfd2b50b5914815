// The matrix class: storage and capacity rules, the row table, sizing and the real/complex switch, resizing,
// element access, rows and columns from vectors, assignment, outside data, reset, fills and norms.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "core/TempGuard.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class MtxTest : public PoolCheck {
protected:
    void TearDown() override
    {
        PoolCheck::TearDown();
        SetMtxCacheSize(16, 32);
        SetMtxConditionCheck(true);
        TarnelAssignCopyData = true;
    }
};

// Numbers 1, 2, 3, ... row by row (Re, Im pairs for complex matrices).
void Fill(TMtx1& M, double Start = 1)
{
    const std::int64_t n = static_cast<std::int64_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    for (std::int64_t i = 0; i < n; ++i) M.Values()[i] = Start + static_cast<double>(i);
}

std::int32_t HeaderWord(const TMtx1& M, int Word)
{
    std::int32_t w;
    std::memcpy(&w, reinterpret_cast<const std::byte*>(M.Values()) - 8 + 4 * Word, sizeof w);
    return w;
}

// Every row address is row i of the flat data, and the table has Rows entries.
::testing::AssertionResult RowTableMatches(const TMtx1& M)
{
    const TRowsView<double> rows = M.Values2D();
    const TRowsView<TCplx> crows = M.CValues2D();
    if (rows.Length() != M.Rows()) return ::testing::AssertionFailure() << "table length " << rows.Length();
    if (M.RowTableSize() != static_cast<std::int64_t>(M.Rows()) * 8) {
        return ::testing::AssertionFailure() << "table size " << M.RowTableSize();
    }
    const std::int64_t stride = static_cast<std::int64_t>(M.Cols()) * (M.Complex() ? 2 : 1);
    for (int i = 0; i < M.Rows(); ++i) {
        const double* expected = M.Values() ? M.Values() + i * stride : nullptr;
        if (rows[i] != expected || reinterpret_cast<const double*>(crows[i]) != expected) {
            return ::testing::AssertionFailure()
                   << "row " << i << " of " << M.Rows() << " x " << M.Cols() << (M.Complex() ? " complex" : " real");
        }
    }
    // The whole matrix lies in the memory the matrix owns.
    if (M.AllocatedBlock() && M.Rows() * static_cast<std::int64_t>(M.Cols()) > M.ActualSize()) {
        return ::testing::AssertionFailure() << "Rows*Cols beyond the capacity";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(MtxTest, NewMatrixHasTheDefaults)
{
    TMtx m;
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);
    EXPECT_EQ(m.ActualSize(), 0);
    EXPECT_EQ(m.Values(), nullptr);
    EXPECT_EQ(m.Values2D().Length(), 0);
    EXPECT_EQ(m.RowTableSize(), 0);
    EXPECT_EQ(m.CacheIndex(), -1);
    EXPECT_EQ(m.TriangleForm(), tfUpper);
    EXPECT_EQ(m.ConditionNumber(), cnNone);
    EXPECT_EQ(m.Balance(), btFull);
    EXPECT_EQ(m.EigGenType(), etAzBz);
    EXPECT_TRUE(m.ConditionCheck());
    EXPECT_FALSE(m.AutoMtxType());
    EXPECT_FALSE(m.RefineSolution());
    EXPECT_FALSE(m.TriangleUnit());
    EXPECT_FALSE(m.IsPowerOfTwo());
    EXPECT_FALSE(m.Complex());
    EXPECT_FALSE(m.GaussSet());
    EXPECT_FALSE(m.UniformSet());
    EXPECT_EQ(m.Info(), 0);
    EXPECT_EQ(m.MtxError(), "");
    EXPECT_EQ(m.SuperDiag(), 0);
    EXPECT_EQ(m.SubDiag(), 0);
    EXPECT_EQ(m.Tag(), 0);
    EXPECT_EQ(m.Alpha().Re, 1.0);
    EXPECT_EQ(m.Alpha().Im, 0.0);
    EXPECT_EQ(m.Beta().Re, 0.0);
    ASSERT_NE(m.GaussState(), nullptr);
    ASSERT_NE(m.UniformState(), nullptr);
    SetMtxConditionCheck(false);
    TMtx unchecked;
    EXPECT_FALSE(unchecked.ConditionCheck());
}

// Capacity, block size, alignment and header for a table of cache sides, complexities and sizes.
TEST_F(MtxTest, CapacityRules)
{
    struct Row {
        int side;
        bool complex;
        int rows, cols;
        int capacity;
    };
    const Row rows[] = {
        {32, false, 10, 10, 1024}, {32, true, 10, 10, 512}, {32, false, 40, 30, 1200}, {32, true, 40, 30, 1200},
        {32, false, 1, 1, 1024},   {32, false, 0, 5, 1024}, {0, false, 3, 3, 10},      {0, true, 3, 3, 10},
        {0, false, 1, 1, 2},       {5, true, 2, 2, 12},     {5, false, 7, 1, 26},      {0, false, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SetMtxCacheSize(16, r.side);
        TMtx m;
        m.Size(r.rows, r.cols, r.complex);
        const std::string what = std::to_string(r.side) + ": " + std::to_string(r.rows) + " x " +
                                 std::to_string(r.cols) + (r.complex ? " complex" : " real");
        EXPECT_EQ(m.ActualSize(), r.capacity) << what;
        EXPECT_TRUE(RowTableMatches(m)) << what;
        if (r.capacity == 0) {
            EXPECT_EQ(m.AllocatedSize(), 0) << what;
            continue;
        }
        EXPECT_EQ(m.AllocatedSize(), r.complex ? r.capacity * 16 + 104 : r.capacity * 8 + 72) << what;
        const auto data = reinterpret_cast<std::uintptr_t>(m.Values());
        const auto start = reinterpret_cast<std::uintptr_t>(m.AllocatedBlock());
        EXPECT_EQ(data % 32, 0u) << what;
        EXPECT_GE(data - start, 8u) << what;
        EXPECT_LE(data - start, 40u) << what;
        EXPECT_EQ(HeaderWord(m, 0), 1) << what;
        EXPECT_EQ(HeaderWord(m, 1), r.rows * r.cols) << what;
        // New blocks are zero-filled.
        for (int i = 0; i < r.capacity * (r.complex ? 2 : 1); ++i) ASSERT_EQ(m.Values()[i], 0.0) << what << " " << i;
    }
}

TEST_F(MtxTest, ValuesSurviveSizeOnlyWithinTheSameCapacity)
{
    TMtx m;
    m.Size(4, 4);
    Fill(m);
    const double* data = m.Values();
    m.Size(8, 2);  // 16 elements within 1024: the same block
    EXPECT_EQ(m.Values(), data);
    EXPECT_EQ(m(3, 1), 8.0);
    m.Size(4, 4, true);  // switches first (4 x 2 complex, 512), then sizes within the same block
    EXPECT_EQ(m.ActualSize(), 512);
    EXPECT_EQ(m.Values(), data);
    EXPECT_EQ(m.CValues()[7].Re, 15.0);
    EXPECT_EQ(m.CValues()[7].Im, 16.0);
    m.Size(40, 40, true);  // 1600 > 512: a new, zeroed block
    EXPECT_EQ(m.ActualSize(), 1600);
    EXPECT_EQ(m.CValues()[7].Re, 0.0);
    EXPECT_TRUE(RowTableMatches(m));
}

TEST_F(MtxTest, SetComplexViewsTheSameBytes)
{
    TMtx m;
    m.Size(4, 6);
    Fill(m);
    int events = 0;
    m.SetOnSetSize([&](TMtx1& sender) {
        EXPECT_EQ(&sender, &m);
        ++events;
    });
    m.SetComplex(true);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(m.Cols(), 3);
    EXPECT_EQ(m.ActualSize(), 512);
    EXPECT_FALSE(m.Quadratic());
    EXPECT_EQ(HeaderWord(m, 1), 12);
    EXPECT_EQ(m.CValues2D()[1][0].Re, 7.0);
    EXPECT_TRUE(RowTableMatches(m));
    m.SetComplex(true);
    EXPECT_EQ(events, 1) << "no change, no event";
    m.SetComplex(false);
    EXPECT_EQ(m.Cols(), 6);
    EXPECT_EQ(m.ActualSize(), 1024);
    EXPECT_EQ(HeaderWord(m, 1), 24);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(m.Values()[i], i + 1.0);
    EXPECT_TRUE(RowTableMatches(m));
}

// A real matrix of an odd number of columns has no complex rows: SetComplex refuses, while Size (which rebuilds
// the row table) may still switch it.
TEST_F(MtxTest, OddColumnsAndComplexRows)
{
    TMtx m;
    m.Size(3, 3);
    Fill(m);
    ExpectRaise([&] { m.SetComplex(true); }, "SetComplex: Cols is odd");
    EXPECT_FALSE(m.Complex());
    EXPECT_EQ(m.Cols(), 3);
    m.Size(3, 1, true);  // the switch alone gives these dimensions
    EXPECT_TRUE(m.Complex());
    EXPECT_TRUE(RowTableMatches(m));
    EXPECT_EQ(m.CValues2D()[1][0].Re, 3.0) << "row 1 is complex element 1 of the flat data";
    m.Size(3, 3);
    m.Size(3, 3, true);
    EXPECT_EQ(m.Cols(), 3);
    EXPECT_TRUE(RowTableMatches(m));
}

// Quadratic and IsPowerOfTwo follow the dimensions whatever happened before, also for empty sizes and after
// Assign.
TEST_F(MtxTest, DerivedFlagsFollowTheDimensions)
{
    struct Row {
        int rows, cols;
        bool quadratic, power;
    };
    const Row rows[] = {{2, 8, false, true},  {1, 8, false, false}, {3, 4, false, false}, {4, 4, true, true},
                        {1, 1, true, false},  {0, 0, true, false},  {0, 4, false, false}, {4, 0, false, false},
                        {16, 2, false, true}, {6, 6, true, false}};
    TMtx m;
    for (const Row& r : rows) {
        m.Size(4, 4);  // quadratic and a power of two before each size
        m.Size(r.rows, r.cols);
        EXPECT_EQ(m.Quadratic(), r.quadratic) << r.rows << " x " << r.cols;
        EXPECT_EQ(m.IsPowerOfTwo(), r.power) << r.rows << " x " << r.cols;
        TMtx copy;
        copy.Size(3, 5);
        copy.Assign(m);
        EXPECT_EQ(copy.Quadratic(), r.quadratic) << "assigned " << r.rows << " x " << r.cols;
        TarnelAssignCopyData = false;
        TMtx settingsOnly;
        settingsOnly.Size(3, 5);
        settingsOnly.Assign(m);
        EXPECT_FALSE(settingsOnly.Quadratic()) << "a 3 x 5 matrix stays non-square without the data";
        TarnelAssignCopyData = true;
    }
}

// Negative and unrepresentable sizes are refused before anything changes.
TEST_F(MtxTest, SizeChecksSignAndOverflow)
{
    struct Row {
        const char* what;
        std::function<void(TMtx&)> op;
        const char* message;
    };
    const Row rows[] = {
        {"negative rows", [](TMtx& m) { m.Size(-1, 4); }, "SetActualSize: Value < 0"},
        {"negative both", [](TMtx& m) { m.Size(-2, -2); }, "SetActualSize: Value < 0"},
        {"negative rows through SetRows", [](TMtx& m) { m.SetRows(-3); }, "SetActualSize: Value < 0"},
        {"negative cols through SetCols", [](TMtx& m) { m.SetCols(-3); }, "SetActualSize: Value < 0"},
        {"65536 x 65536 wraps in 32 bits", [](TMtx& m) { m.Size(65536, 65536); }, "SetActualSize: Value too large"},
        {"complex half the limit", [](TMtx& m) { m.Size(2, INT_MAX / 2, true); }, "SetActualSize: Value too large"},
        {"complex before the switch", [](TMtx& m) { m.Size(40000, 40000, true); }, "SetActualSize: Value too large"},
        {"negative capacity", [](TMtx& m) { m.SetActualSize(-1); }, "SetActualSize: Value < 0"},
        {"negative resize", [](TMtx& m) { m.Resize(-1, 2); }, "SetActualSize: Value < 0"},
        {"huge resize", [](TMtx& m) { m.Resize(100000, 100000); }, "SetActualSize: Value too large"},
        {"negative resize from",
         [](TMtx& m) {
             TMtx a;
             m.Resize(a, 2, -1);
         },
         "SetActualSize: Value < 0"},
        {"resize from itself", [](TMtx& m) { m.Resize(m, 2, 2); }, "A = Self"},
        {"assign itself", [](TMtx& m) { m.Assign(m); }, "Mtx = Self"},
    };
    for (const Row& r : rows) {
        TMtx m;
        m.Size(3, 4);
        Fill(m);
        const double* data = m.Values();
        ExpectRaise([&] { r.op(m); }, r.message, r.what);
        EXPECT_EQ(m.Rows(), 3) << r.what;
        EXPECT_EQ(m.Cols(), 4) << r.what;
        EXPECT_FALSE(m.Complex()) << r.what;
        EXPECT_EQ(m.Values(), data) << r.what;
        EXPECT_EQ(m(2, 3), 12.0) << r.what;
    }
    ExpectRaise([] { SetMtxCacheSize(4, 50000); }, "SetMtxCacheSize: Elements too large");
    ExpectRaise([] { SetMtxCacheSize(4, -1); }, "SetMtxCacheSize: Elements < 0");
    EXPECT_EQ(MtxCacheElements.load(), 32);
}

// The row table matches the dimensions and the data address after any sequence of sizing operations.
TEST_F(MtxTest, RowTableInvariantUnderRandomSizing)
{
    std::mt19937 gen(20261210);
    TMtx m;
    std::vector<double> outside(400, 1.0);
    for (int step = 0; step < 3000; ++step) {
        const int rows = static_cast<int>(gen() % 12);
        const int cols = static_cast<int>(gen() % 12);
        const bool complex = gen() % 2 == 0;
        const int op = static_cast<int>(gen() % 11);
        std::string what = "step " + std::to_string(step) + " op " + std::to_string(op);
        try {
            switch (op) {
                case 0:
                    m.Size(rows, cols, complex);
                    break;
                case 1:
                    m.SetRows(rows);
                    break;
                case 2:
                    m.SetCols(cols);
                    break;
                case 3:
                    m.SetComplex(complex);
                    break;
                case 4:
                    m.SetActualSize(static_cast<int>(gen() % 150));
                    break;
                case 5:
                    m.Resize(rows, cols);
                    break;
                case 6: {
                    TMtx a;
                    a.Size(rows, cols, complex);
                    m.Resize(a, cols, rows, complex);
                    break;
                }
                case 7:
                    m.Adopt(outside.data(), static_cast<std::int64_t>(outside.size()), rows, cols, complex);
                    break;
                case 8: {
                    double* data;
                    int r, c;
                    bool z;
                    m.Disown(data, r, c, z);
                    break;
                }
                case 9:
                    m.Reset();
                    break;
                default:
                    SetMtxCacheSize(16, static_cast<int>(gen() % 12));
                    break;
            }
        } catch (const Exception& e) {
            // Only the odd-columns refusal of SetComplex is expected here.
            ASSERT_EQ(std::string(e.what()), "SetComplex: Cols is odd") << what;
        }
        ASSERT_TRUE(RowTableMatches(m)) << what;
        if (m.Rows() > 0 && m.Cols() > 0) {
            // Every element is addressable: write the last one through the row table.
            m.Values2D()[m.Rows() - 1][(m.Cols() - 1) * (m.Complex() ? 2 : 1)] = 1.0;
        }
    }
}

// SetActualSize called directly rebuilds the row table and keeps only the rows that fit.
TEST_F(MtxTest, SetActualSizeKeepsTheTableConsistent)
{
    TMtx m;
    m.Size(10, 10);
    m.SetActualSize(35);
    EXPECT_EQ(m.ActualSize(), 36);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 10);
    EXPECT_TRUE(RowTableMatches(m));
    m.SetActualSize(0);
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Values(), nullptr);
    EXPECT_TRUE(RowTableMatches(m));
    m.Size(5, 0);
    m.SetActualSize(4);
    EXPECT_EQ(m.Rows(), 5) << "rows of no columns fit in any capacity";
    EXPECT_TRUE(RowTableMatches(m));
    m.FreeMemory();
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);
    EXPECT_EQ(m.ActualSize(), 0);
    EXPECT_EQ(m.AllocatedBlock(), nullptr);
    EXPECT_TRUE(RowTableMatches(m));
}

TEST_F(MtxTest, ResizeKeepsTheTopLeftBlock)
{
    TMtx m;
    m.Size(3, 3);
    Fill(m);
    m.Resize(2, 2);
    EXPECT_EQ(m(0, 0), 1.0);
    EXPECT_EQ(m(0, 1), 2.0);
    EXPECT_EQ(m(1, 0), 4.0);
    EXPECT_EQ(m(1, 1), 5.0);
    m.Resize(3, 4);  // grows within the same block: the new elements are zero, not the old numbers
    const double grown[3][4] = {{1, 2, 0, 0}, {4, 5, 0, 0}, {0, 0, 0, 0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(m(i, j), grown[i][j]) << i << "," << j;
    m.Resize(50, 40);  // reallocates
    EXPECT_EQ(m(1, 1), 5.0);
    EXPECT_EQ(m(49, 39), 0.0);
    EXPECT_TRUE(RowTableMatches(m));

    TMtx z;
    z.Size(2, 2, true);
    Fill(z);
    z.Resize(3, 1);
    EXPECT_EQ(z.CValues2D()[1][0].Re, 5.0);
    EXPECT_EQ(z.CValues2D()[1][0].Im, 6.0);
    EXPECT_EQ(z.CValues2D()[2][0].Re, 0.0);
    EXPECT_EQ(z.ActualSize(), 512);
}

TEST_F(MtxTest, ResizeFromAnotherMatrixWithAndWithoutTranspose)
{
    TMtx a;
    a.Size(3, 3);
    Fill(a);
    TMtx m;
    m.Resize(a, 2, 3, true);  // rows 0..1, columns 0..2 of A, transposed
    ASSERT_EQ(m.Rows(), 3);
    ASSERT_EQ(m.Cols(), 2);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m(j, i), a(i, j)) << i << "," << j;
    m.Resize(a, 4, 2);
    const double expected[4][2] = {{1, 2}, {4, 5}, {7, 8}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(m(i, j), expected[i][j]) << i << "," << j;
    m.Resize(a, 3, 3, true);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m(i, j), a(j, i));

    TMtx z;
    z.Size(2, 3, true);
    Fill(z);
    m.Resize(z, 2, 3, true);
    ASSERT_TRUE(m.Complex());
    ASSERT_EQ(m.Rows(), 3);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(m.CValues2D()[j][i].Re, z.CValues2D()[i][j].Re);
            EXPECT_EQ(m.CValues2D()[j][i].Im, z.CValues2D()[i][j].Im);
        }
    }
}

TEST_F(MtxTest, IndexedPropertyChecksInOrder)
{
    TMtx m;
    m.Size(2, 3);
    Fill(m);
    EXPECT_EQ(m(1, 2), 6.0);
    m(1, 0) = 40.0;
    EXPECT_EQ(m.Values()[3], 40.0);
    struct Row {
        int row, col;
        const char* message;
    };
    const Row rows[] = {{2, 0, "Indx1 > Rows-1"}, {2, 3, "Indx1 > Rows-1"},  {0, 3, "Indx2 > Cols-1"},
                        {-1, 0, "Indx1 < 0"},     {-1, 3, "Indx2 > Cols-1"}, {0, -1, "Indx2 < 0"},
                        {-1, -1, "Indx1 < 0"}};
    for (const Row& r : rows) {
        ExpectRaise([&] { (void)m.GetDefaultArray(r.row, r.col); }, r.message,
                    std::to_string(r.row) + "," + std::to_string(r.col));
        ExpectRaise([&] { m.SetDefaultArray(r.row, r.col, 1); }, r.message);
    }
    // Without checks the dimensions are not enforced, the memory still is.
    m.SetConditionCheck(false);
    EXPECT_EQ(m(0, 4), 5.0) << "Values[0*3 + 4]";
    EXPECT_NO_THROW(m(10, 0) = 1.0) << "inside the capacity of 1024";
    ExpectRaise([&] { (void)m.GetDefaultArray(400, 0); }, "Indx1 > Rows-1");
    ExpectRaise([&] { (void)m.GetDefaultArray(0, -1); }, "Indx2 < 0");
}

TEST_F(MtxTest, SetColAndSetRowCopyTheVector)
{
    TMtx m;
    m.Size(3, 4);
    TVec v;
    v.SetIt(false, {10, 20, 30, 40, 50});
    m.SetCol(v, 1, 1, 2, 2);  // elements (1,2), (2,2) := v[1], v[2]
    EXPECT_EQ(m(1, 2), 20.0);
    EXPECT_EQ(m(2, 2), 30.0);
    EXPECT_EQ(m(0, 2), 0.0);
    m.SetRow(v, 2, 0, 1, 3);  // (0,1), (0,2), (0,3) := v[2..4]
    EXPECT_EQ(m(0, 1), 30.0);
    EXPECT_EQ(m(0, 3), 50.0);
    EXPECT_EQ(m(0, 0), 0.0);
    TVec col;
    col.SetIt(false, {1, 2, 3});
    m.SetCol(col, 3);
    EXPECT_EQ(m(2, 3), 3.0);
    TVec row;
    row.SetIt(false, {5, 6, 7, 8});
    m.SetRow(row, 1);
    EXPECT_EQ(m(1, 0), 5.0);
    EXPECT_EQ(m(1, 3), 8.0);

    TMtx z;
    z.Size(2, 2, true);
    TVec zc;
    zc.SetIt(true, {1, 2, 3, 4});
    z.SetCol(zc, 1);
    EXPECT_EQ(z.CValues2D()[1][1].Re, 3.0);
    EXPECT_EQ(z.CValues2D()[1][1].Im, 4.0);
    z.SetRow(zc, 0);
    EXPECT_EQ(z.CValues2D()[0][1].Im, 4.0);
}

// Messages of the row and column forms, in the order the checks run; a refused call changes nothing.
TEST_F(MtxTest, SetColAndSetRowMessages)
{
    TVec real4, cplx2, real3;
    real4.SetLength(4);
    cplx2.Size(2, true);
    real3.SetLength(3);
    struct Row {
        const char* what;
        bool checks;
        std::function<void(TMtx&)> op;
        const char* message;
    };
    const Row rows[] = {
        {"col: negative row", true, [&](TMtx& m) { m.SetCol(real4, 0, -1, 0, 1); }, "Row < 0"},
        {"col: negative col", true, [&](TMtx& m) { m.SetCol(real4, 0, 0, -1, 1); }, "Col < 0"},
        {"col: negative index", true, [&](TMtx& m) { m.SetCol(real4, -1, 0, 0, 1); }, "VecIndex < 0"},
        {"col: negative len", true, [&](TMtx& m) { m.SetCol(real4, 0, 0, 0, -1); }, "Len < 0"},
        {"col: complexity before bounds", true, [&](TMtx& m) { m.SetCol(cplx2, 0, 3, 9, 2); },
         "Complex <> Vec.Complex"},
        {"col: rows before col", true, [&](TMtx& m) { m.SetCol(real4, 0, 2, 9, 2); }, "(Row+Len) > Rows"},
        {"col: col", true, [&](TMtx& m) { m.SetCol(real4, 0, 0, 4, 2); }, "Col > (Cols-1)"},
        {"col: vector", true, [&](TMtx& m) { m.SetCol(real4, 3, 0, 0, 2); }, "VecIndex+ Len > Vec.Length"},
        {"col: unchecked, still the vector", false, [&](TMtx& m) { m.SetCol(real4, 3, 0, 0, 2); },
         "VecIndex+ Len > Vec.Length"},
        {"col: unchecked beyond the memory", false, [&](TMtx& m) { m.SetCol(real4, 0, 1000, 0, 1); },
         "(Row+Len) > Rows"},
        {"col: unchecked past Rows·Cols, inside the capacity", false, [&](TMtx& m) { m.SetCol(real4, 0, 2, 0, 2); },
         "(Row+Len) > Rows"},
        {"row: complexity", true, [&](TMtx& m) { m.SetRow(cplx2, 0, 0, 0, 1); }, "Complex <> Vec.Complex"},
        {"row: row before cols", true, [&](TMtx& m) { m.SetRow(real4, 0, 3, 3, 2); }, "Row > Rows-1"},
        {"row: cols", true, [&](TMtx& m) { m.SetRow(real4, 0, 0, 3, 2); }, "(Col + Len) > Cols"},
        {"row: vector", true, [&](TMtx& m) { m.SetRow(real4, 3, 0, 0, 2); }, "VecIndex + Len > Vec.Length"},
        {"row: unchecked beyond the memory", false, [&](TMtx& m) { m.SetRow(real4, 0, 400, 0, 4); },
         "(Col + Len) > Cols"},
        {"row: unchecked past Rows·Cols, inside the capacity", false, [&](TMtx& m) { m.SetRow(real4, 0, 2, 2, 4); },
         "(Col + Len) > Cols"},
        {"whole col: complexity", true, [&](TMtx& m) { m.SetCol(cplx2, 0); }, "Complex <> Vec.Complex"},
        {"whole col: length before col", true, [&](TMtx& m) { m.SetCol(real4, 9); }, "Vec.Length <> Vec.Rows"},
        {"whole col: col = Cols", true, [&](TMtx& m) { m.SetCol(real3, 4); }, "Col > (Cols-1)"},
        {"whole col: negative", true, [&](TMtx& m) { m.SetCol(real3, -1); }, "Col < 0"},
        {"whole row: row first", true, [&](TMtx& m) { m.SetRow(cplx2, 3); }, "Row > Rows-1"},
        {"whole row: complexity overruns a row", true, [&](TMtx& m) { m.SetRow(cplx2, 0); }, "Complex <> Vec.Complex"},
        {"whole row: complexity, unchecked", false, [&](TMtx& m) { m.SetRow(cplx2, 0); }, "Complex <> Vec.Complex"},
        {"whole row: length", true, [&](TMtx& m) { m.SetRow(real3, 0); }, "Vec.Length <> Cols"},
        {"whole row: negative", true, [&](TMtx& m) { m.SetRow(real4, -1); }, "Row < 0"},
    };
    for (const Row& r : rows) {
        TMtx m;
        m.Size(3, 4);
        Fill(m);
        m.SetConditionCheck(r.checks);
        ExpectRaise([&] { r.op(m); }, r.message, r.what);
        for (int i = 0; i < 12; ++i) ASSERT_EQ(m.Values()[i], i + 1.0) << r.what;
    }
    // Nothing to do: no elements, or an empty matrix.
    TMtx empty;
    EXPECT_NO_THROW(empty.SetCol(cplx2, 0, 5, 5, 3));
    EXPECT_NO_THROW(empty.SetCol(real4, 7));
    TMtx m;
    m.Size(3, 4);
    EXPECT_NO_THROW(m.SetRow(cplx2, 0, 9, 9, 0));
}

TEST_F(MtxTest, AssignCopiesValuesAndSettings)
{
    TMtx a;
    a.Size(2, 3, true);
    Fill(a);
    a.SetAutoMtxType(true);
    a.SetEigGenType(etBAz);
    a.SetBalance(btScale);
    a.SetConditionCheck(false);
    a.SetConditionNumber(cnNormInf);
    a.SetRefineSolution(true);
    a.SetTriangleForm(tfLower);
    a.SetTriangleUnit(true);
    a.SetSuperDiag(2);
    a.SetSubDiag(1);
    a.SetCaption("A");
    a.SetDirty(true);
    a.SetTag(7);
    a.SetAlpha(Cplx(2, 0));
    TMtx b;
    int events = 0;
    b.SetOnSetSize([&](TMtx1&) { ++events; });
    b.Assign(a);
    EXPECT_EQ(b.Rows(), 2);
    EXPECT_EQ(b.Cols(), 3);
    EXPECT_TRUE(b.Complex());
    for (int i = 0; i < 12; ++i) EXPECT_EQ(b.Values()[i], a.Values()[i]);
    EXPECT_TRUE(b.AutoMtxType());
    EXPECT_EQ(b.EigGenType(), etBAz);
    EXPECT_EQ(b.Balance(), btScale);
    EXPECT_FALSE(b.ConditionCheck());
    EXPECT_EQ(b.ConditionNumber(), cnNormInf);
    EXPECT_TRUE(b.RefineSolution());
    EXPECT_EQ(b.TriangleForm(), tfLower);
    EXPECT_TRUE(b.TriangleUnit());
    EXPECT_EQ(b.SuperDiag(), 2);
    EXPECT_EQ(b.SubDiag(), 1);
    EXPECT_EQ(b.Caption(), "A");
    EXPECT_TRUE(b.Dirty());
    EXPECT_EQ(b.Tag(), 7);
    EXPECT_EQ(b.Alpha().Re, 1.0) << "Alpha is not copied";
    EXPECT_TRUE(static_cast<bool>(b.OnSetSize())) << "the handler stays";
    EXPECT_GE(events, 1);
    EXPECT_TRUE(RowTableMatches(b));
}

TEST_F(MtxTest, AdoptAndDisown)
{
    std::vector<double> data{1, 2, 3, 4, 5, 6, 7, 8};
    TMtx m;
    m.Size(5, 5);
    m.Adopt(data, 2, 2, true);
    EXPECT_EQ(m.Values(), data.data());
    EXPECT_EQ(m.ActualSize(), 0);
    EXPECT_EQ(m.AllocatedBlock(), nullptr);
    EXPECT_TRUE(RowTableMatches(m));
    EXPECT_EQ(m.CValues2D()[1][0].Re, 5.0);
    m.CValues2D()[1][1] = Cplx(-1, -2);
    EXPECT_EQ(data[6], -1.0);
    m.SetConditionCheck(false);
    ExpectRaise([&] { m(0, 8) = 1.0; }, "Indx2 > Cols-1");  // no dimension check, but past the array
    double* back;
    int rows, cols;
    bool complex;
    m.Disown(back, rows, cols, complex);
    EXPECT_EQ(back, data.data());
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 2);
    EXPECT_TRUE(complex);
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Values(), nullptr);
    EXPECT_TRUE(RowTableMatches(m));

    // Refusals: the array must hold what the dimensions say.
    ExpectRaise([&] { m.Adopt(data, 3, 3, false); }, "Adopt: Rows*Cols > Length(Data)");
    ExpectRaise([&] { m.Adopt(data, 2, 3, true); }, "Adopt: Rows*Cols > Length(Data)");
    ExpectRaise([&] { m.Adopt(data, -1, 3, true); }, "Adopt: Rows or Cols < 0");
    ExpectRaise([&] { m.Adopt(nullptr, 4, 1, 1, false); }, "Adopt: Data = nil");

    // Sizing an adopted matrix moves it to its own block and leaves the array alone.
    m.Adopt(data, 2, 4, false);
    m.Size(3, 3);
    EXPECT_NE(m.Values(), data.data());
    EXPECT_EQ(data[0], 1.0);
    // Disown of an owning matrix frees its block and hands out nothing.
    m.Disown(back, rows, cols, complex);
    EXPECT_EQ(back, nullptr);
    EXPECT_EQ(m.AllocatedBlock(), nullptr);
    // Reset drops an adopted array.
    m.Adopt(data, 2, 2, false);
    m.Reset();
    EXPECT_NE(m.Values(), data.data());
    EXPECT_EQ(m.Rows(), 0);
}

TEST_F(MtxTest, ResetEmptiesAndKeepsWhatItShould)
{
    TMtx m;
    m.Size(3, 4, true);
    m.SetTag(5);
    m.SetDirty(true);
    m.SetSuperDiag(3);
    m.SetSubDiag(2);
    m.SetTriangleForm(tfLower);
    m.SetConditionNumber(cnNorm1);
    m.SetBalance(btNone);
    m.SetConditionCheck(false);
    m.SetAutoMtxType(true);
    m.SetEigGenType(etABz);
    m.SetRefineSolution(true);
    m.SetTriangleUnit(true);
    m.SetCaption("x");
    m.SetGaussSet(true);
    m.SetAlpha(Cplx(3, 3));
    m.SetBeta(Cplx(1, 1));
    int events = 0;
    m.SetOnSetSize([&](TMtx1&) { ++events; });
    m.Reset();
    EXPECT_EQ(m.Rows(), 0);
    EXPECT_EQ(m.Cols(), 0);
    EXPECT_FALSE(m.Complex());
    EXPECT_EQ(m.ActualSize(), 1024);
    EXPECT_EQ(m.Tag(), 5);
    EXPECT_TRUE(m.Dirty());
    EXPECT_EQ(m.SuperDiag(), 3);
    EXPECT_EQ(m.SubDiag(), 2);
    EXPECT_EQ(m.TriangleForm(), tfUpper);
    EXPECT_EQ(m.ConditionNumber(), cnNone);
    EXPECT_EQ(m.Balance(), btFull);
    EXPECT_TRUE(m.ConditionCheck());
    EXPECT_FALSE(m.AutoMtxType());
    EXPECT_EQ(m.EigGenType(), etAzBz);
    EXPECT_FALSE(m.RefineSolution());
    EXPECT_FALSE(m.TriangleUnit());
    EXPECT_EQ(m.Caption(), "");
    EXPECT_FALSE(m.GaussSet());
    EXPECT_EQ(m.Alpha().Re, 1.0);
    EXPECT_EQ(m.Beta().Im, 0.0);
    EXPECT_TRUE(static_cast<bool>(m.OnSetSize()));
    EXPECT_GE(events, 1);
    EXPECT_TRUE(RowTableMatches(m));
}

TEST_F(MtxTest, FillsAndElementWiseOperations)
{
    TMtx m;
    m.Size(2, 2);
    m.SetVal(2.5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.Values()[i], 2.5);
    m.SetVal(Cplx(-1, 9));
    EXPECT_EQ(m(1, 1), -1.0) << "a real matrix takes Re";
    const double reals[] = {4, -9, 0.25, -0.0};
    std::memcpy(m.Values(), reals, sizeof reals);
    EXPECT_EQ(&m.Sign(), &m);
    EXPECT_EQ(m(0, 0), -4.0);
    EXPECT_EQ(m(0, 1), 9.0);
    m.SqrElem();
    EXPECT_EQ(m(0, 1), 81.0);
    m.SqrtElem();
    EXPECT_EQ(m(0, 0), 4.0);
    EXPECT_EQ(m(1, 0), 0.25);
    m(1, 1) = -4.0;
    m.SqrtElem();
    EXPECT_TRUE(std::isnan(m(1, 1))) << "real square root of a negative number";
    m.SetZero();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.Values()[i], 0.0);

    TMtx z;
    z.Size(1, 3, true);
    z.SetVal(2.0);
    EXPECT_EQ(z.CValues()[2].Re, 2.0);
    EXPECT_EQ(z.CValues()[2].Im, 0.0);
    z.SetVal(Cplx(1, -2));
    EXPECT_EQ(z.CValues()[1].Im, -2.0);
    z.CValues()[0] = Cplx(-4, 0);
    z.CValues()[1] = Cplx(3, 4);
    z.CValues()[2] = Cplx(0, 2);
    z.SqrtElem();  // principal roots
    EXPECT_EQ(z.CValues()[0].Re, 0.0);
    EXPECT_EQ(z.CValues()[0].Im, 2.0);
    EXPECT_EQ(z.CValues()[1].Re, 2.0);
    EXPECT_EQ(z.CValues()[1].Im, 1.0);
    EXPECT_EQ(z.CValues()[2].Re, 1.0);
    EXPECT_EQ(z.CValues()[2].Im, 1.0);
    z.SqrElem();
    EXPECT_EQ(z.CValues()[1].Re, 3.0);
    EXPECT_EQ(z.CValues()[1].Im, 4.0);
    z.Sign();
    EXPECT_EQ(z.CValues()[1].Im, -4.0);

    TMtx empty;
    EXPECT_NO_THROW(empty.SetVal(1.0).SetZero().Sign().SqrElem().SqrtElem());
    EXPECT_NO_THROW(static_cast<TMtx&>(empty).SetVal(Cplx(1, 1)));
}

// Norm1 and NormInf against numpy.linalg.norm (tests/data/gen_mtx_norms.py); the sums may be formed in another
// order, so they agree to a few units in the last place.
TEST_F(MtxTest, NormsAgreeWithNumpy)
{
    struct Row {
        const char* what;
        int rows, cols;
        bool complex;
        std::vector<double> numbers;
        double norm1, normInf;
    };
    const Row rows[] = {
#include "mtx_norms.inc"
    };
    for (const Row& r : rows) {
        TMtx m;
        m.Size(r.rows, r.cols, r.complex);
        ASSERT_EQ(static_cast<std::size_t>(r.rows * r.cols * (r.complex ? 2 : 1)), r.numbers.size()) << r.what;
        std::memcpy(m.Values(), r.numbers.data(), r.numbers.size() * sizeof(double));
        EXPECT_NEAR(m.Norm1(), r.norm1, 1e-14 * r.norm1) << r.what;
        EXPECT_NEAR(m.NormInf(), r.normInf, 1e-14 * r.normInf) << r.what;
        EXPECT_EQ(Norm1(m), m.Norm1()) << r.what;
        EXPECT_EQ(NormInf(m), m.NormInf()) << r.what;
    }
    TMtx empty;
    EXPECT_TRUE(std::isnan(empty.Norm1()));
    EXPECT_TRUE(std::isnan(empty.NormInf()));
    empty.Size(3, 0);
    EXPECT_TRUE(std::isnan(NormInf(empty)));
    TMtx withNan;
    withNan.Size(2, 2);
    withNan(1, 0) = NAN;
    EXPECT_TRUE(std::isnan(withNan.Norm1()));
    EXPECT_TRUE(std::isnan(withNan.NormInf()));
}

// The complex norms take four moduli at a time where the processor allows, with the wide modulus for elements whose
// squares leave the Double range, and the rest of a row one by one. Each row width and place below puts such an
// element in another position of that walk: every modulus must land in its own column and keep its value. Case 1:
// one huge element among ordinary ones; case 2: a subnormal one among elements of 2^-600 (all of them too small to
// square), where a modulus lost to underflow would show; case 3: one subnormal element among ordinary ones, so that
// its row takes the one-by-one path for those four while the other rows do not (a mix-up of columns would show).
TEST_F(MtxTest, ComplexNormsTakeEveryModulusWhereverItStands)
{
    struct Case {
        double scale;
        TCplx special;
    };
    const Case cases[] = {
        {1, Cplx(3 * 0x1p600, -4 * 0x1p600)}, {0x1p-600, Cplx(3e-310, 4e-310)}, {1, Cplx(3e-310, 4e-310)}};
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> u(-4, 4);
    for (const Case& c : cases) {
        for (int cols : {1, 2, 3, 4, 5, 7, 8, 9, 13}) {
            for (int place = 0; place < cols; ++place) {
                TMtx m;
                m.Size(3, cols, true);
                for (int i = 0; i < 3 * cols; ++i) m.CValues()[i] = Cplx(c.scale * u(gen), c.scale * u(gen));
                m.CValues()[cols + place] = c.special;
                std::vector<long double> colSums(cols, 0);
                long double normInf = 0;
                for (int i = 0; i < 3; ++i) {
                    long double row = 0;
                    for (int j = 0; j < cols; ++j) {
                        const long double a = CAbs(m.CValues()[i * cols + j]);
                        row += a;
                        colSums[j] += a;
                    }
                    normInf = std::max(normInf, row);
                }
                const long double norm1 = *std::max_element(colSums.begin(), colSums.end());
                const std::string what = "scale " + std::to_string(c.scale) + ", " + std::to_string(cols) +
                                         " columns, odd element at " + std::to_string(place);
                EXPECT_NEAR(m.Norm1(), norm1, 1e-15 * norm1) << what;
                EXPECT_NEAR(m.NormInf(), normInf, 1e-15 * normInf) << what;
            }
        }
    }
}

TEST_F(MtxTest, EnlistGivesTheRowTable)
{
    TMtx a, z;
    a.Size(3, 2);
    Fill(a);
    z.Size(2, 2, true);
    Fill(z);
    T2DSampleView va;
    T2DCplxView vz;
    Enlist(a, z, va, vz);
    EXPECT_EQ(va.Length(), 3);
    EXPECT_EQ(vz.Length(), 2);
    EXPECT_EQ(va[2][1], 6.0);
    EXPECT_EQ(vz[1][0].Re, 5.0);
    va[0][0] = -1;
    EXPECT_EQ(a(0, 0), -1.0);
    Dismiss(va, vz);
    EXPECT_EQ(va.Length(), 0);
    EXPECT_EQ(a(0, 0), -1.0);
    SetMtxSize(4, 4, true, {&a, &z});
    EXPECT_EQ(a.Cols(), 4);
    EXPECT_TRUE(z.Complex());
    ExpectRaise([&] { SetMtxSize(1, 1, false, {&a, nullptr}); }, "Mtx = nil");
    EXPECT_TRUE(a.Complex()) << "no matrix is sized when one is nil";
}

// ---- The matrix pool ------------------------------------------------------------------------------------------

namespace {

class MtxPoolTest : public MtxTest {
protected:
    void SetUp() override
    {
        MtxTest::SetUp();
        MtxCount = 0;
        MtxCacheFull = false;
    }
};

}  // namespace

TEST_F(MtxPoolTest, SixteenTakesUseTheSlotsAndTheNextIsAPlainMatrix)
{
    std::vector<TMtx*> taken(16);
    for (int i = 0; i < 16; ++i) {
        CreateIt(taken[i]);
        EXPECT_EQ(taken[i]->CacheIndex(), i);
        EXPECT_EQ(taken[i]->ActualSize(), 1024);
        EXPECT_EQ(taken[i]->Rows(), 0);
    }
    EXPECT_EQ(MtxCount.load(), 16);
    EXPECT_EQ(MtxCacheUsed.load(), 16);
    TMtx* extra = nullptr;
    CreateIt(extra);
    EXPECT_EQ(extra->CacheIndex(), -1);
    EXPECT_TRUE(MtxCacheFull.load());
    FreeIt(extra);
    EXPECT_EQ(extra, nullptr);
    // Taking A and B, returning A and taking the rest compacts: B moves to slot 0.
    for (int i = 15; i >= 2; --i) FreeIt(taken[i]);
    TMtx* a = taken[0];
    TMtx* b = taken[1];
    FreeIt(a);
    EXPECT_EQ(MtxCount.load(), 2) << "a hole below the top";
    std::vector<TMtx*> more(14);
    for (int i = 0; i < 14; ++i) CreateIt(more[i]);
    EXPECT_EQ(more[13]->CacheIndex(), 15);
    TMtx* last = nullptr;
    CreateIt(last);
    EXPECT_EQ(b->CacheIndex(), 0);
    EXPECT_EQ(more[0]->CacheIndex(), 1);
    EXPECT_EQ(last->CacheIndex(), 15);
    EXPECT_EQ(last, taken[0]) << "the compacted free slot holds the object A had";
    FreeIt(last);
    for (int i = 13; i >= 0; --i) FreeIt(more[i]);
    FreeIt(b);
    EXPECT_EQ(MtxCacheUsed.load(), 0);
}

TEST_F(MtxPoolTest, FreeItResetsAndReturnsLastFirst)
{
    TMtx *a, *b, *c, *d;
    CreateIt(a, b, c, d);
    EXPECT_EQ(MtxCount.load(), 4);
    a->Size(3, 3, true);
    a->SetCaption("used");
    a->SetConditionCheck(false);
    TMtx* keep = a;
    FreeIt(a, b, c, d);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(d, nullptr);
    EXPECT_EQ(MtxCount.load(), 0);
    EXPECT_EQ(keep->Rows(), 0);
    EXPECT_FALSE(keep->Complex());
    EXPECT_EQ(keep->Caption(), "");
    EXPECT_TRUE(keep->ConditionCheck());
    EXPECT_EQ(keep->ActualSize(), 1024);
    TMtx* nil = nullptr;
    EXPECT_NO_THROW(FreeIt(nil));
    CreateIt(a);
    TMtx* twice = a;
    FreeIt(a);
    ExpectRaise([&] { FreeIt(twice); }, "FreeIt: object already returned to the pool");
}

TEST_F(MtxPoolTest, CacheSizeAndConditionCheckSettings)
{
    TMtx* held;
    CreateIt(held);
    TMtx* other;
    CreateIt(other);
    FreeIt(held);
    ExpectRaise([] { SetMtxCacheSize(8, 10); }, "MtxCache[1] = Used");
    SetMtxConditionCheck(false);
    EXPECT_TRUE(other->ConditionCheck()) << "a matrix a thread holds keeps its setting";
    TMtx fresh;
    EXPECT_FALSE(fresh.ConditionCheck());
    FreeIt(other);
    SetMtxConditionCheck(true);
    SetMtxCacheSize(8, 10);
    EXPECT_EQ(MtxCacheElements.load(), 10);
    MtxCount = 0;
    CreateIt(held);
    EXPECT_EQ(held->ActualSize(), 100);
    TMtx plain;
    plain.Size(2, 2);
    EXPECT_EQ(plain.ActualSize(), 100) << "the minimum capacity of every matrix";
    FreeIt(held);
}

TEST_F(MtxPoolTest, TemporaryMatricesGoBackOnEveryPath)
{
    try {
        detail::TMtxTemp a, b;
        EXPECT_EQ(a->CacheIndex(), 0);
        EXPECT_EQ(b->CacheIndex(), 1);
        b->Size(5, 5);
        throw Exception("out");
    } catch (const Exception&) {
    }
    EXPECT_EQ(MtxCacheUsed.load(), 0);
    EXPECT_EQ(MtxCount.load(), 0);
    // Resize borrows a temporary and returns it.
    TMtx m;
    m.Size(40, 40);
    m.Resize(41, 39);
    EXPECT_EQ(MtxCacheUsed.load(), 0);
}

// Shut-down destroys the pooled matrices as well; one still handed out survives as a plain object.
TEST_F(MtxPoolTest, ShutDownWithMatricesHandedOut)
{
    TMtx* held;
    TVec* vec;
    CreateIt(held);
    CreateIt(vec);
    TarnelFinalize();
    EXPECT_EQ(held->CacheIndex(), -1);
    EXPECT_EQ(vec->CacheIndex(), -1);
    held->Size(3, 3);
    FreeIt(held);
    FreeIt(vec);
    EXPECT_EQ(held, nullptr);
    TarnelInitialize();
    CreateIt(held);
    EXPECT_EQ(held->ActualSize(), 1024);
    EXPECT_GE(held->CacheIndex(), 0);
    FreeIt(held);
}

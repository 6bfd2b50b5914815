// TSparseMtx: random diagonally dominant systems, distinct random integers and pixel pictures of the pattern. The
// systems and the pictures are written to files that tests/data/check_sparse_random.py checks with scipy and numpy.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/messages.h"
#include "platform/rtl/Random.h"
#include "sparse/messages.h"
#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

std::uint64_t gClockTicks = 0;
std::uint64_t FixedClock()
{
    return gClockTicks;
}

// Every test runs on the system clock unless it installs the fixed one, and leaves the system clock behind.
class SparseRandom : public SparseTest {
protected:
    void TearDown() override
    {
        SetRandomizeClock(nullptr);
        SparseTest::TearDown();
    }
    static void Seed(std::uint64_t Ticks)
    {
        gClockTicks = Ticks;
        SetRandomizeClock(FixedClock);
    }
};

struct TSystem {
    TSparseMtx A;
    TVec B, X;
};

// A fresh system of order N with room for Room entries.
void MakeSystem(TSystem& S, int N, bool Symmetric, double FillPercent, int Room = 100, int Limit = 10000000)
{
    S.A.Size(N, N, Room, false);
    S.A.RandomSparse(S.B, S.X, Symmetric, FillPercent, Limit);
}

std::vector<double> Doubles(const TVec& V)
{
    return std::vector<double>(V.Values(), V.Values() + V.Length());
}

// The system's dense form (small orders only).
std::vector<double> Dense(const TSparseMtx& M)
{
    TMtx d;
    M.SparseToDense(d, 1 << 24);
    return std::vector<double>(d.Values(), d.Values() + static_cast<std::size_t>(M.Rows()) * M.Cols());
}

// Runs the checker on the folder: it prints nothing and succeeds when every file holds what it should.
void RunChecker(const TTempDir& Dir)
{
    EXPECT_EQ(RunPythonCheck("check_sparse_random.py", Dir.Path()), "");
}

// A vector as a one-column MatrixMarket file (zeros kept), which scipy reads back bit for bit.
void SaveColumn(const TVec& V, const std::string& File)
{
    TSparseMtx m;
    m.SetDontStripZeros(true);
    const int n = V.Length();
    TIntArray rows(static_cast<std::size_t>(n)), cols(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) rows[static_cast<std::size_t>(i)] = i;
    m.TripletsToSparse(n, 1, rows, cols, TSampleArray(V.Values(), V.Values() + n), 0);
    m.SaveToMatrixMarketFile(File);
}

TEST_F(SparseRandom, SeededCallsRepeatAndQuickCallsDiffer)
{
    TSystem a, b;
    Seed(39);
    MakeSystem(a, 60, false, 20);
    MakeSystem(b, 60, false, 20);
    EXPECT_EQ(Snapshot(a.A), Snapshot(b.A));
    EXPECT_EQ(Doubles(a.B), Doubles(b.B));
    EXPECT_EQ(Doubles(a.X), Doubles(b.X));
    Seed(40);
    MakeSystem(b, 60, false, 20);
    EXPECT_FALSE(Snapshot(a.A) == Snapshot(b.A));

    // On the system clock two calls in a row differ.
    SetRandomizeClock(nullptr);
    MakeSystem(a, 60, false, 20);
    MakeSystem(b, 60, false, 20);
    EXPECT_FALSE(Snapshot(a.A) == Snapshot(b.A));
}

TEST_F(SparseRandom, FillIsClampedToZeroAndHundredPercent)
{
    // No fill: the diagonal 1.0001 and B = 1.0001·X.
    for (double fill : {0.0, -5.0}) {
        TSystem s;
        MakeSystem(s, 7, false, fill, 3);
        EXPECT_EQ(s.A.NonZeros(), 7);
        EXPECT_FALSE(s.A.Complex());
        EXPECT_EQ(s.A.Rows(), 7);
        for (int j = 0; j < 7; ++j) {
            EXPECT_EQ(s.A.GetValue(j, j), 1.0001);
            EXPECT_EQ(s.B.Values()[j], 1.0001 * s.X.Values()[j]);
            EXPECT_GE(s.X.Values()[j], 0);
            EXPECT_LT(s.X.Values()[j], 1);
        }
    }
    // 150 % fills as 100 % does.
    for (const bool symmetric : {false, true}) {
        TSystem full, over;
        Seed(7);
        MakeSystem(full, 40, symmetric, 100);
        Seed(7);
        MakeSystem(over, 40, symmetric, 150);
        EXPECT_EQ(Snapshot(over.A), Snapshot(full.A));
        EXPECT_GT(full.A.NonZeros(), 40 * 10);
    }
}

// Off-diagonal entries come in mirrored pairs: symmetric ones equal, the others 3.5 times the entry below the
// diagonal (duplicates summed on both sides, so equal up to the rounding of the sums).
TEST_F(SparseRandom, MirroredEntries)
{
    for (const bool symmetric : {true, false}) {
        SCOPED_TRACE(symmetric ? "symmetric" : "not symmetric");
        TSystem s;
        Seed(11);
        MakeSystem(s, 50, symmetric, 60);
        const std::vector<double> a = Dense(s.A);
        int below = 0;
        for (int r = 0; r < 50; ++r)
            for (int c = 0; c < r; ++c) {
                const double low = a[static_cast<std::size_t>(r) * 50 + c],
                             up = a[static_cast<std::size_t>(c) * 50 + r];
                if (low == 0) {
                    EXPECT_EQ(up, 0) << r << "," << c;
                    continue;
                }
                ++below;
                EXPECT_LT(low, 0);
                if (symmetric)
                    EXPECT_EQ(up, low) << r << "," << c;
                else
                    EXPECT_NEAR(up, 3.5 * low, 4e-16 * std::fabs(up)) << r << "," << c;
            }
        EXPECT_GT(below, 100);
        if (symmetric) {
            TSparseMtx t;
            t.Transp(s.A);
            EXPECT_EQ(Snapshot(t), Snapshot(s.A));
        }
    }
}

TEST_F(SparseRandom, RefusalsLeaveEverythingAsItWas)
{
    TSystem s;
    s.A.Size(30, 30, 4, false);
    s.B.SetIt(false, {1, 2});
    s.X.SetIt(false, {3});
    const TSnapshot before = Snapshot(s.A);
    // Twice the room passes the limit on the way.
    ExpectRaise([&] { s.A.RandomSparse(s.B, s.X, false, 50, 100); }, msg::sparse::kRandomMaxReached);
    EXPECT_EQ(Snapshot(s.A), before);
    EXPECT_EQ(Doubles(s.B), (std::vector<double>{1, 2}));
    EXPECT_EQ(Doubles(s.X), (std::vector<double>{3}));
    // Without room for a first entry the arrays could never grow.
    s.A.Size(30, 30, 0, false);
    const TSnapshot empty = Snapshot(s.A);
    ExpectRaise([&] { s.A.RandomSparse(s.B, s.X, false, 50, 100000); }, msg::sparse::kRandomNonZeros);
    EXPECT_EQ(Snapshot(s.A), empty);
    // One entry of room grows as far as the limit allows; a complex matrix becomes real.
    s.A.Size(30, 30, 1, true);
    s.A.RandomSparse(s.B, s.X, false, 50, 100000);
    EXPECT_FALSE(s.A.Complex());
    EXPECT_GT(s.A.NonZeros(), 30);
}

// For several seeds and fills, order 200: scipy finds every column strictly dominant and A·X = B.
TEST_F(SparseRandom, SystemsAreDominantAndSolvedByX)
{
    TTempDir dir;
    struct Case {
        std::uint64_t Seed;
        bool Symmetric;
        double Fill;
    };
    for (const Case& c : {Case{1, false, 1}, Case{2, true, 1}, Case{3, false, 10}, Case{4, true, 30},
                          Case{5, false, 100}, Case{6, true, 100}}) {
        TSystem s;
        Seed(c.Seed);
        MakeSystem(s, 200, c.Symmetric, c.Fill);
        const std::string name = std::to_string(c.Seed);
        s.A.SaveToMatrixMarketFile(dir.File("system_" + name + ".mtx"));
        SaveColumn(s.X, dir.File("x_" + name + ".mtx"));
        SaveColumn(s.B, dir.File("b_" + name + ".mtx"));
    }
    RunChecker(dir);
}

// Pictures of the three methods, checked against numpy's binning; the sides hold the last row and column.
TEST_F(SparseRandom, PicturesAgainstNumpyBinning)
{
    TTempDir dir;
    struct Case {
        const char* Name;
        int Rows, Cols, Width;
        bool Complex;
        int Pixels[2];  // the picture's rows and columns
    };
    const Case cases[] = {
        {"2000 at 500", 2000, 2000, 500, false, {500, 500}},
        {"531 at 500", 531, 531, 500, false, {500, 500}},
        {"161 at 100", 161, 161, 100, false, {100, 100}},
        {"tall", 300, 120, 50, false, {50, 20}},
        {"wide", 120, 300, 50, false, {20, 50}},
        {"complex", 200, 150, 64, true, {64, 48}},
        {"width above the size", 50, 40, 120, false, {120, 96}},
    };
    std::mt19937_64 gen(39);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSparseMtx m;
        if (c.Rows == 2000) {
            // The grid-series page's matrix.
            TVec b, x;
            m.Size(2000, 2000, 100000, false);
            m.RandomSparse(b, x, false, 1, 100000);
        } else {
            // About 5 % of the elements, the first and the last row and column among them.
            std::uniform_real_distribution<double> u(-4, 4);
            TIntArray rows, cols;
            TSampleArray re;
            TCplxArray z;
            for (int i = 0; i < c.Rows; ++i)
                for (int j = 0; j < c.Cols; ++j)
                    if (gen() % 20 == 0 || (i == c.Rows - 1 && j % 7 == 0) || (j == c.Cols - 1 && i % 5 == 0)) {
                        rows.push_back(i);
                        cols.push_back(j);
                        re.push_back(u(gen));
                        z.push_back({re.back(), u(gen)});
                    }
            if (c.Complex)
                m.TripletsToSparse(c.Rows, c.Cols, rows, cols, z, 0);
            else
                m.TripletsToSparse(c.Rows, c.Cols, rows, cols, re, 0);
        }
        const std::string name = std::to_string(&c - cases);
        m.SaveToMatrixMarketFile(dir.File("source_" + name + ".mtx"));
        const std::pair<TPixelDownSample, const char*> methods[] = {
            {pdsPattern, "pattern"}, {pdsAverage, "average"}, {pdsPeak, "peak"}};
        for (const auto& [method, label] : methods) {
            TMtx p;
            m.PixelDownSample(p, c.Width, method);
            EXPECT_EQ(p.Rows(), c.Pixels[0]);
            EXPECT_EQ(p.Cols(), c.Pixels[1]);
            EXPECT_FALSE(p.Complex());
            FILE* f = std::fopen(
                dir.File("picture_" + name + "_w" + std::to_string(c.Width) + "_" + label + ".bin").c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::fwrite(p.Values(), sizeof(double), static_cast<std::size_t>(p.Rows()) * p.Cols(), f);
            std::fclose(f);
            // At 500 of 2000 a pattern pixel counts the entries of its 4 x 4 block by 0.0625.
            if (c.Rows == 2000 && method == pdsPattern) {
                double total = 0;
                for (int k = 0; k < 500 * 500; ++k) total += p.Values()[k];
                EXPECT_EQ(total, 0.0625 * m.NonZeros());
            }
        }
    }
    RunChecker(dir);
}

TEST_F(SparseRandom, PictureRefusalsAndEmptyMatrices)
{
    TSparseMtx m;
    MakeSmall(m);
    TMtx p;
    p.Size(2, 2);
    for (int width : {0, -3}) ExpectRaise([&] { m.PixelDownSample(p, width, pdsPattern); }, msg::kPixelWidth);
    EXPECT_EQ(p.Rows(), 2);
    TSparseMtx empty;
    empty.PixelDownSample(p, 100, pdsPeak);
    EXPECT_EQ(p.Rows(), 0);
    EXPECT_EQ(p.Cols(), 0);
    empty.Size(5, 0, 0, false);
    p.Size(2, 2);
    empty.PixelDownSample(p, 100, pdsAverage);
    EXPECT_EQ(p.Rows(), 0);
    EXPECT_EQ(p.Cols(), 0);
}

TEST_F(SparseRandom, DistinctIntegers)
{
    std::vector<int> three(3);
    dmpl(10, three);
    EXPECT_EQ(std::set<int>(three.begin(), three.end()).size(), 3u);
    for (int v : three) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 10);
    }
    // As many as there are: every value of 0..N once.
    std::vector<int> all(21);
    dmpl(20, all);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()), [] {
        std::set<int> s;
        for (int i = 0; i <= 20; ++i) s.insert(i);
        return s;
    }());

    std::vector<int> none, one(1), tooMany(12);
    ExpectRaise([&] { dmpl(10, none); }, msg::sparse::kIndxShort);
    ExpectRaise([&] { dmpl(10, one); }, msg::sparse::kIndxShort);
    ExpectRaise([&] { dmpl(10, tooMany); }, msg::sparse::kIndxLong);
}

}  // namespace

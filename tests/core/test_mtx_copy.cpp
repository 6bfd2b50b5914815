// Copies, transposition, flips, the quarter turn and the upper triangle of TMtx; the rearrangements against numpy
// (tests/data/gen_mul_golden.py, exact integers).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "platform/wavrin/Parallel.h"

using namespace tarnel;
using namespace testsupport;

namespace {

class MtxRearrange : public PoolCheck {};
class MtxCopy : public PoolCheck {};

struct RearrangeCase {
    const char* What;
    bool Complex;
    GoldMtx A, Transp, Adjung, FlipVer, FlipHor, Rotate90;
};

const RearrangeCase kRearrange[] = {
#include "mul_rearrange_golden.inc"
};

void Expect(const TMtx& M, const GoldMtx& G, bool Complex, const char* What)
{
    ASSERT_EQ(M.Rows(), G.Rows) << What;
    ASSERT_EQ(M.Cols(), G.Cols) << What;
    ASSERT_EQ(M.Complex(), Complex) << What;
    for (std::size_t i = 0; i < G.V.size(); ++i) ASSERT_EQ(M.Values()[i], G.V[i]) << What << ", number " << i;
}

// Element (i, j) := i·Cols + j + 1 (complex: imaginary part the negative).
void Ramp(TMtx& M, int Rows, int Cols, bool Complex)
{
    M.Size(Rows, Cols, Complex);
    for (int i = 0; i < Rows * Cols; ++i) {
        if (Complex) {
            M.CValues()[i] = {static_cast<double>(i + 1), -static_cast<double>(i + 1)};
        } else {
            M.Values()[i] = i + 1;
        }
    }
}

}  // namespace

TEST_F(MtxRearrange, MatchesNumpyIntoAnotherMatrixAndInPlace)
{
    for (const RearrangeCase& c : kRearrange) {
        SCOPED_TRACE(c.What);
        TMtx a, r;
        Load(a, c.A, c.Complex);
        Expect(r.Transp(a), c.Transp, c.Complex, "Transp");
        Expect(r.Adjung(a), c.Adjung, c.Complex, "Adjung");
        Expect(r.FlipVer(a), c.FlipVer, c.Complex, "FlipVer");
        Expect(r.FlipHor(a), c.FlipHor, c.Complex, "FlipHor");
        Expect(r.Rotate90(a), c.Rotate90, c.Complex, "Rotate90");
        const struct {
            TMtx& (TMtx::*Fn)();
            const GoldMtx& Expected;
            const char* What;
        } inPlace[] = {{&TMtx::Transp, c.Transp, "Transp()"},
                       {&TMtx::Adjung, c.Adjung, "Adjung()"},
                       {&TMtx::FlipVer, c.FlipVer, "FlipVer()"},
                       {&TMtx::FlipHor, c.FlipHor, "FlipHor()"},
                       {&TMtx::Rotate90, c.Rotate90, "Rotate90()"}};
        for (const auto& p : inPlace) {
            Load(r, c.A, c.Complex);
            Expect((r.*p.Fn)(), p.Expected, c.Complex, p.What);
        }
    }
}

TEST_F(MtxRearrange, TiledTransposesAgreeWithTheDefinition)
{
    // Sizes around and across the tile edge, every remainder of the kernels' blocks of 8 rows by 4 columns, square (in
    // place) and not.
    for (bool complex : {false, true}) {
        for (const auto& [rows, cols] :
             {std::pair{1, 1}, {1, 70}, {70, 1}, {31, 33}, {18, 35}, {64, 64}, {65, 65}, {67, 66}, {97, 40}}) {
            TMtx a, t;
            Ramp(a, rows, cols, complex);
            t.Adjung(a);
            TMtx inPlace;
            inPlace.Copy(a);
            inPlace.Adjung();
            ASSERT_EQ(t.Rows(), cols);
            ASSERT_EQ(inPlace.Rows(), cols);
            for (int i = 0; i < rows; ++i) {
                for (int j = 0; j < cols; ++j) {
                    const std::int64_t s = static_cast<std::int64_t>(i) * cols + j;
                    const std::int64_t d = static_cast<std::int64_t>(j) * rows + i;
                    if (complex) {
                        ASSERT_EQ(t.CValues()[d].Re, a.CValues()[s].Re);
                        ASSERT_EQ(t.CValues()[d].Im, -a.CValues()[s].Im);
                        ASSERT_EQ(inPlace.CValues()[d].Im, -a.CValues()[s].Im) << rows << "x" << cols;
                    } else {
                        ASSERT_EQ(t.Values()[d], a.Values()[s]);
                        ASSERT_EQ(inPlace.Values()[d], a.Values()[s]) << rows << "x" << cols;
                    }
                }
            }
        }
    }
}

TEST_F(MtxRearrange, LargeTransposeAndSubBlockAgreeWithTheDefinition)
{
    // From 4 MiB on the worker threads share real transpositions in runs of destination rows: one thread, 3 (12
    // pieces) and all of them.
    for (int threads : {1, 3, parallel::kMaxThreads}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        const parallel::TFixedThreads fixed(threads);
        // Over 8 MiB of destination: written around the cache, in rows of 16-byte aligned pairs.
        TMtx a, t;
        Ramp(a, 1030, 1027, false);
        t.Transp(a);
        for (int i = 0; i < 1030; ++i) {
            for (int j = 0; j < 1027; ++j)
                ASSERT_EQ(t.Values()[j * 1030 + i], a.Values()[i * 1027 + j]) << i << "," << j;
        }
        // Few long rows and many short ones: fewer source rows than the destination's first line may need; and a
        // matrix shared by the threads but written through the cache (4 to 8 MiB). The quarter turn reads the same
        // kernel's source from the last row up.
        for (const auto& [rows, cols] : {std::pair{3, 360000}, {360000, 3}, {801, 703}}) {
            Ramp(a, rows, cols, false);
            t.Transp(a);
            TMtx turned;
            turned.Rotate90(a);
            for (int i = 0; i < rows; ++i) {
                for (int j = 0; j < cols; ++j) {
                    const double x = a.Values()[static_cast<std::int64_t>(i) * cols + j];
                    ASSERT_EQ(t.Values()[static_cast<std::int64_t>(j) * rows + i], x);
                    ASSERT_EQ(turned.Values()[static_cast<std::int64_t>(j) * rows + rows - 1 - i], x);
                }
            }
        }
        // A block of a square matrix, transposed into an inner block of larger matrices: rows of odd length
        // (unaligned destination rows) and of even length (aligned rows starting inside the matrix).
        Ramp(a, 1100, 1100, false);
        for (int cols : {1105, 1104}) {
            TMtx big;
            big.Size(1100, cols);
            big.Copy(a, 3, 5, 1, 2, 1090, 1080, true);
            for (int i = 0; i < 1090; ++i) {
                for (int j = 0; j < 1080; ++j) {
                    ASSERT_EQ(big.Values()[(1 + j) * cols + 2 + i], a.Values()[(3 + i) * 1100 + 5 + j])
                        << i << "," << j;
                }
            }
            EXPECT_EQ(big.Values()[cols + 1], 0);
            EXPECT_EQ(big.Values()[cols + 2 + 1090], 0);
        }
    }
}

TEST_F(MtxRearrange, SmallExamples)
{
    TMtx z, r;
    z.Size(2, 2, true);
    z.CValues()[0] = {1, 1};
    z.CValues()[1] = {2, 0};
    z.CValues()[2] = {0, 3};
    z.CValues()[3] = {4, -1};
    z.Adjung();  // ((1 - i, -3i), (2, 4 + i))
    const TCplx expected[4] = {{1, -1}, {0, -3}, {2, 0}, {4, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(z.CValues()[i].Re, expected[i].Re);
        EXPECT_EQ(z.CValues()[i].Im, expected[i].Im);
    }
    TMtx m;
    Ramp(m, 2, 3, false);
    r.Rotate90(m);  // ((4, 1), (5, 2), (6, 3))
    const double turned[6] = {4, 1, 5, 2, 6, 3};
    ASSERT_EQ(r.Rows(), 3);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r.Values()[i], turned[i]);

    ExpectRaise([&] { m.Transp(m); }, "Mtx = Self");
    ExpectRaise([&] { m.Adjung(m); }, "X = Self");
    ExpectRaise([&] { m.FlipVer(m); }, "Self = SrcMtx");
    ExpectRaise([&] { m.FlipHor(m); }, "Self = SrcMtx");
    ExpectRaise([&] { m.Rotate90(m); }, "Mtx = Self");
    TMtx empty;
    r.Transp(empty);
    EXPECT_EQ(r.Rows(), 0);
}

TEST_F(MtxCopy, WholeAndSubBlockCopies)
{
    TMtx m, self;
    Ramp(m, 3, 3, false);  // rows (1 2 3) (4 5 6) (7 8 9)
    self.Size(3, 2);
    self.SetVal(-1);
    // Rows 1 and 2, columns 0 to 2, transposed into the top-left 3 x 2 block.
    self.Copy(m, 1, 0, 0, 0, 2, 3, true);
    const double transposed[6] = {4, 7, 5, 8, 6, 9};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(self.Values()[i], transposed[i]);
    self.Size(3, 3);
    self.SetZero();
    self.Copy(m, 0, 1, 1, 0, 2, 2);
    const double block[9] = {0, 0, 0, 2, 3, 0, 5, 6, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(self.Values()[i], block[i]);

    TMtx z;
    Ramp(z, 2, 2, true);
    self.Copy(z);
    EXPECT_TRUE(self.Complex());
    EXPECT_EQ(self.CValues()[3].Im, -4);
    TMtx empty;
    empty.Size(0, 4, true);
    self.Copy(empty);
    EXPECT_EQ(self.Rows(), 0);
    EXPECT_EQ(self.Cols(), 0);
    EXPECT_TRUE(self.Complex());
    ExpectRaise([&] { m.Copy(m); }, "Mtx = Self");
}

// From 2^20 Doubles on, whole copies are shared among threads: every element, first and last included, must arrive,
// for odd sizes just below and above that point and for complex matrices, into a matrix that had another shape.
TEST_F(MtxCopy, LargeWholeCopiesArriveComplete)
{
    struct Case {
        int Rows, Cols;
        bool Complex;
    };
    const Case cases[] = {{1023, 1025, false}, {1025, 1025, false}, {513, 1023, true}, {1, (1 << 20) + 3, false}};
    for (const Case& c : cases) {
        TMtx src, dst;
        Ramp(src, c.Rows, c.Cols, c.Complex);
        dst.Size(3, 5);
        dst.SetVal(-7);
        dst.Copy(src);
        const std::string what = std::to_string(c.Rows) + " x " + std::to_string(c.Cols);
        ASSERT_EQ(dst.Rows(), c.Rows) << what;
        ASSERT_EQ(dst.Cols(), c.Cols) << what;
        ASSERT_EQ(dst.Complex(), c.Complex) << what;
        const std::int64_t doubles = static_cast<std::int64_t>(c.Rows) * c.Cols * (c.Complex ? 2 : 1);
        std::int64_t wrong = 0;
        for (std::int64_t i = 0; i < doubles; ++i) wrong += dst.Values()[i] != src.Values()[i];
        EXPECT_EQ(wrong, 0) << what;
    }
}

TEST_F(MtxCopy, SubBlockChecksInOrderAndAlwaysGuardTheMemory)
{
    TMtx m, self, z, empty;
    Ramp(m, 3, 4, false);
    Ramp(z, 3, 4, true);
    self.Size(2, 2);
    const struct {
        std::function<void()> Fn;
        const char* Message;
    } cases[] = {
        {[&] { self.Copy(empty, 0, 0, 0, 0, 1, 1); }, "Mtx.Rows*MTx.Cols = 0"},
        {[&] { self.Copy(z, 0, 0, 0, 0, 1, 1); }, "Mtx.Complex <> Complex"},
        {[&] { self.Copy(m, 2, 0, 0, 0, 2, 1); }, "MtxRow + NrRows > Mtx.Rows"},
        {[&] { self.Copy(m, 0, 3, 0, 0, 1, 2); }, "MtxCol + NrCols > Mtx.Cols"},
        {[&] { self.Copy(m, 0, 0, 1, 0, 2, 1); }, "Row + NrRows > Rows"},
        {[&] { self.Copy(m, 0, 0, 0, 1, 1, 2); }, "Col + NrCols > Cols"},
        {[&] { self.Copy(m, 0, 0, 0, 0, 1, 3, true); }, "Row + NrRows > Rows"},
        {[&] { self.Copy(self, 0, 0, 0, 0, 1, 1); }, "Mtx = Self"},
        {[&] { self.Copy(m, -1, 0, 0, 0, 1, 1); }, "MtxRow < 0"},
    };
    for (bool check : {true, false}) {
        self.SetConditionCheck(check);
        for (const auto& c : cases) {
            if (!check && std::string(c.Message) == "Mtx = Self") continue;  // only checked with ConditionCheck
            ExpectRaise(c.Fn, c.Message);
        }
    }
}

TEST_F(MtxCopy, CopyVecShapesAndRanges)
{
    TVec v;
    v.Size(6);
    for (int i = 0; i < 6; ++i) v.Values()[i] = i + 1;
    TMtx self;
    self.CopyVec(v, 2);
    ASSERT_EQ(self.Rows(), 2);
    ASSERT_EQ(self.Cols(), 3);
    EXPECT_EQ(self.Values()[5], 6);
    ExpectRaise([&] { self.CopyVec(v, 4); }, "Vec.Length mod NrRows <> 0");
    ExpectRaise([&] { self.CopyVec(v, 0); }, "NrRows < 1");
    EXPECT_EQ(self.Rows(), 2) << "a refused call leaves Self alone";

    // Into the data from (Row, Col) on, across a row end.
    self.Size(3, 3);
    self.SetZero();
    self.CopyVec(v, 2, 3, 0, 2);  // elements 3, 4, 5 at positions 2, 3, 4
    const double placed[9] = {0, 0, 3, 4, 5, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(self.Values()[i], placed[i]);
    for (bool check : {true, false}) {
        self.SetConditionCheck(check);
        // VecIndex + Len = Length + 1 would read one element past the vector.
        ExpectRaise([&] { self.CopyVec(v, 4, 3, 0, 0); }, "(VecIndex+Len-1) > Vec.Length");
        ExpectRaise([&] { self.CopyVec(v, 0, 3, 2, 1); }, "(StartPos +VecIndex + Len) > Mtx.Cols*Mtx.Rows");
    }
    self.SetConditionCheck(true);
    // Complex: the positions count complex elements.
    TVec z;
    z.Size(2, true);
    z.CValues()[1] = {7, 8};
    TMtx zm;
    zm.Size(2, 2, true);
    zm.CopyVec(z, 1, 1, 1, 0);
    EXPECT_EQ(zm.CValues()[2].Re, 7);
    EXPECT_EQ(zm.CValues()[2].Im, 8);
    ExpectRaise([&] { self.CopyVec(z, 0, 1, 0, 0); }, "Vec.Complex <> Complex");
}

TEST_F(MtxCopy, UpperTriangleZeroesEverythingElse)
{
    TMtx m, self;
    Ramp(m, 4, 3, false);
    self.Size(4, 3);
    self.SetVal(99);  // stale values must not survive
    for (bool diagonal : {true, false}) {
        for (bool zeroLower : {true, false}) {
            self.UpperTriangle(m, zeroLower, diagonal);
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 3; ++j) {
                    const double want = (j > i || (diagonal && j == i)) ? m.Values()[i * 3 + j] : 0.0;
                    EXPECT_EQ(self.Values()[i * 3 + j], want) << i << "," << j;
                }
            }
        }
    }
    ExpectRaise([&] { m.UpperTriangle(m, true, true); }, "Mtx = Self");
}

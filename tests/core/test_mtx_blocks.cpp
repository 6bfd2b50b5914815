// Block and special matrices: stacking, block grids and their splitting, Kron, Diag, Eye, Toeplitz and Pascal
// matrices, against tests/data/gen_mtx_blocks_golden.py (numpy's vstack, hstack, block, outer and eye, scipy's
// toeplitz and pascal).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace {

using namespace tarnel;
using namespace testsupport;

class MtxBlocks : public PoolCheck {};

std::vector<double> DoublesOf(const TMtx1& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return std::vector<double>(M.Values(), M.Values() + n);
}

// M is exactly the golden matrix (every Double, bit for bit).
void ExpectSame(const TMtx1& M, const GoldMtx& G, bool Complex, const std::string& Where)
{
    ASSERT_EQ(M.Rows(), G.Rows) << Where;
    ASSERT_EQ(M.Cols(), G.Cols) << Where;
    ASSERT_EQ(M.Complex(), Complex) << Where;
    EXPECT_EQ(DoublesOf(M), G.V) << Where;
}

TEST_F(MtxBlocks, EyeOfEveryShapeAndKind)
{
    struct Case {
        int rows, cols;
        bool complex;
        GoldMtx want;
    };
    const Case cases[] = {
        {2, 3, false, {2, 3, {1, 0, 0, 0, 1, 0}}},
        {3, 2, false, {3, 2, {1, 0, 0, 1, 0, 0}}},
        {2, 2, true, {2, 2, {1, 0, 0, 0, 0, 0, 1, 0}}},
        {1, 1, false, {1, 1, {1}}},
        {0, 4, false, {0, 4, {}}},
        {0, 0, true, {0, 0, {}}},
    };
    for (const Case& c : cases) {
        TMtx m;
        // A matrix of the same capacity full of other values: Eye clears what it reuses.
        m.Size(4, 4, true);
        m.SetVal(TCplx{7, 7});
        m.Eye(c.rows, c.cols, c.complex);
        ExpectSame(m, c.want, c.complex, std::to_string(c.rows) + "x" + std::to_string(c.cols));
    }
    TMtx m;
    ExpectRaise([&] { m.Eye(-1, 2); }, "SetActualSize: Value < 0", "negative rows");
}

}  // namespace

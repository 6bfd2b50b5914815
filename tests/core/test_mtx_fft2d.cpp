// The matrix 2-D FFT against tests/data/gen_mtx_fft2d_golden.py (numpy's fft2 and rfft2, the real samples and their
// packed spectrum in the matrix layout), round trips, adopted data and the checks with their texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace {

using namespace tarnel;
using namespace testsupport;

struct Fft2dRow {
    GoldMtx in;
    GoldMtx out;
};

#include "../data/mtx_fft2d_golden.inc"

class MtxFft2d : public PoolCheck {};

// Every Double within a few units of rounding of the largest magnitude (an FFT's errors scale with it and log n).
void ExpectNear(const TMtx1& M, const GoldMtx& G, bool Complex, const std::string& Where)
{
    ASSERT_EQ(M.Rows(), G.Rows) << Where;
    ASSERT_EQ(M.Cols(), G.Cols) << Where;
    ASSERT_EQ(M.Complex(), Complex) << Where;
    double big = 0;
    for (double v : G.V) big = std::fmax(big, std::fabs(v));
    const double tol = 16 * std::numeric_limits<double>::epsilon() * big;
    for (std::size_t i = 0; i < G.V.size(); ++i) EXPECT_NEAR(M.Values()[i], G.V[i], tol) << Where << ": Double " << i;
}

std::string Shape(const GoldMtx& G)
{
    return std::to_string(G.Rows) + "x" + std::to_string(G.Cols);
}

TEST_F(MtxFft2d, ComplexAgainstNumpyAndBack)
{
    for (const Fft2dRow& r : kComplex) {
        TMtx m;
        Load(m, r.in, true);
        m.FFT();
        ExpectNear(m, r.out, true, "fft2 " + Shape(r.in));
        m.IFFT();
        ExpectNear(m, r.in, true, "ifft2 " + Shape(r.in));
    }
}

TEST_F(MtxFft2d, RealAgainstNumpyAndBack)
{
    for (const Fft2dRow& r : kReal) {
        TMtx m;
        Load(m, r.in, false);
        m.FFT();
        ExpectNear(m, r.out, true, "rfft2 " + Shape(r.in));
        m.IRealFFT();
        ExpectNear(m, r.in, false, "irfft2 " + Shape(r.in));
    }
}

TEST_F(MtxFft2d, AdoptedUnalignedData)
{
    const Fft2dRow& r = kReal[1];
    // One Double past an aligned start, so the data lie off FFTW's preferred alignment.
    std::vector<double> block(r.in.V.size() + 1);
    std::copy(r.in.V.begin(), r.in.V.end(), block.begin() + 1);
    TMtx m;
    m.Adopt(block.data() + 1, static_cast<std::int64_t>(r.in.V.size()), r.in.Rows, r.in.Cols, false);
    m.FFT();
    ExpectNear(m, r.out, true, "adopted rfft2");
    m.IRealFFT();
    ExpectNear(m, r.in, false, "adopted irfft2");
    double* data = nullptr;
    int rows = 0, cols = 0;
    bool complex = false;
    m.Disown(data, rows, cols, complex);
}

TEST_F(MtxFft2d, ShapesAreCheckedInOrder)
{
    const std::string realSizes = "(CheckPowerOfTwo(FRows-2) and  CheckPowerOfTwo(FCols-2)) = False";
    const std::string inverseSizes = "(CheckPowerOfTwo(FRows-2) and  CheckPowerOfTwo(FCols-1)) = False";
    struct Case {
        int rows, cols;
        bool complex;
        const char* op;
        std::string text;  // empty: accepted
    };
    const Case cases[] = {
        {4, 8, true, "FFT", ""},
        {4, 6, true, "FFT", "IsPowerOfTwo = False"},
        {1, 4, true, "FFT", "IsPowerOfTwo = False"},
        {4, 0, true, "FFT", "IsPowerOfTwo = False"},
        {6, 10, false, "FFT", ""},
        {4, 4, false, "FFT", ""},
        {3, 4, false, "FFT", realSizes},
        {4, 3, false, "FFT", realSizes},
        {2, 4, false, "FFT", realSizes},
        {4, 8, true, "IFFT", ""},
        {4, 8, false, "IFFT", "Complex = False"},
        {4, 6, false, "IFFT", "IsPowerOfTwo = False"},
        {6, 5, true, "IRealFFT", ""},
        {4, 2, true, "IRealFFT", ""},
        {4, 4, false, "IRealFFT", "Complex = False"},
        {3, 5, true, "IRealFFT", inverseSizes},
        {6, 4, true, "IRealFFT", inverseSizes},
        {6, 1, true, "IRealFFT", inverseSizes},
    };
    for (const Case& c : cases) {
        const std::string where = std::string(c.op) + " " + std::to_string(c.rows) + "x" + std::to_string(c.cols) +
                                  (c.complex ? " complex" : " real");
        TMtx m;
        m.Size(c.rows, c.cols, c.complex);
        m.SetConditionCheck(false);  // the checks guard the routines' memory: they run always
        const auto run = [&] {
            if (std::string(c.op) == "FFT")
                m.FFT();
            else if (std::string(c.op) == "IFFT")
                m.IFFT();
            else
                m.IRealFFT();
        };
        if (c.text.empty()) {
            EXPECT_NO_THROW(run()) << where;
            continue;
        }
        ExpectRaise(run, c.text, where);
        EXPECT_EQ(m.Rows(), c.rows) << where;
        EXPECT_EQ(m.Cols(), c.cols) << where;
        EXPECT_EQ(m.Complex(), c.complex) << where;
    }
    // The real 6 × 10 matrix (m = 4, n = 8) becomes a complex 6 × 5 one, and back.
    TMtx m;
    m.Size(6, 10);
    m.FFT();
    EXPECT_TRUE(m.Complex());
    EXPECT_EQ(m.Cols(), 5);
    m.IRealFFT();
    EXPECT_FALSE(m.Complex());
    EXPECT_EQ(m.Cols(), 10);
    // A real 8 × 2 matrix seen as complex is 8 × 1: refused.
    m.Size(8, 2);
    m.SetComplex(true);
    ExpectRaise([&] { m.FFT(); }, "IsPowerOfTwo = False", "8 x 2 made complex");
}

TEST_F(MtxFft2d, SpectrumOfASmallRealMatrixInverts)
{
    // The real 4 × 4 matrix (m = n = 2) gives a complex 4 × 2 spectrum, which the inverse accepts.
    TMtx m;
    m.SetIt(4, 4, false, {1, 2, 0, 0, 3, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    m.FFT();
    ASSERT_EQ(m.Cols(), 2);
    // Bins of x = ((1, 2), (3, 5)): X(0, 0) = 11, X(0, 1) = -3, X(1, 0) = -5, X(1, 1) = 1.
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 8), (std::vector<double>{11, 0, -3, 0, -5, 0, 1, 0}));
    m.IRealFFT();
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 16),
              (std::vector<double>{1, 2, 0, 0, 3, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace

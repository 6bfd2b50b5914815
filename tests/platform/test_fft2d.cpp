// lapack's 2-D FFTs against numpy.fft.fft2 and rfft2 on 4 by 8 and 16 by 32, with round trips.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/Nmkl.h"
#include "fft2d_golden.inc"

using namespace tarnel;

namespace {

struct Case {
    int m, n;
    const double *zin, *zout, *rin, *rout;
};

const Case kCases[] = {
    {4, 8, kZ2In_4x8, kZ2Out_4x8, kR2In_4x8, kR2Out_4x8},
    {16, 32, kZ2In_16x32, kZ2Out_16x32, kR2In_16x32, kR2Out_16x32},
};

TEST(Fft2d, ComplexTransformAndRoundTrip)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.m);
        const int count = 2 * c.m * c.n;
        std::vector<double> d(c.zin, c.zin + count);
        const int fwd = -1, inv = 1;
        ZFFT2D(d.data(), &c.m, &c.n, &fwd);
        for (int i = 0; i < count; ++i) ASSERT_NEAR(c.zout[i], d[i], 1e-13) << i;
        ZFFT2D(d.data(), &c.m, &c.n, &inv);
        for (int i = 0; i < count; ++i) ASSERT_NEAR(c.zin[i], d[i], 1e-15) << i;
    }
}

TEST(Fft2d, RealTransformPacksTheSpectrumInTheBlockAndComesBack)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.m);
        const int stride = c.n + 2, bins = c.n / 2 + 1;
        // The samples in the first n Doubles of the first m rows; the spare places hold garbage.
        std::vector<double> block((c.m + 2) * stride, 7.0);
        for (int r = 0; r < c.m; ++r)
            for (int j = 0; j < c.n; ++j) block[r * stride + j] = c.rin[r * c.n + j];
        DZFFT2D(block.data(), &c.m, &c.n);
        for (int k = 0; k < c.m; ++k)
            for (int l = 0; l < bins; ++l) {
                ASSERT_NEAR(c.rout[2 * (k * bins + l)], block[k * stride + 2 * l], 1e-13);
                ASSERT_NEAR(c.rout[2 * (k * bins + l) + 1], block[k * stride + 2 * l + 1], 1e-13);
            }
        for (int i = c.m * stride; i < (c.m + 2) * stride; ++i) ASSERT_EQ(0.0, block[i]);
        ZDFFT2D(block.data(), &c.m, &c.n);
        for (int r = 0; r < c.m; ++r) {
            for (int j = 0; j < c.n; ++j) ASSERT_NEAR(c.rin[r * c.n + j], block[r * stride + j], 1e-15);
            EXPECT_EQ(0.0, block[r * stride + c.n]);
            EXPECT_EQ(0.0, block[r * stride + c.n + 1]);
        }
    }
}

TEST(Fft2d, BadSizesDoNothing)
{
    std::vector<double> d(40, 1.0);
    const int m = 4, odd = 5, zero = 0, sign = 2;
    DZFFT2D(d.data(), &m, &odd);
    ZFFT2D(d.data(), &m, &zero, &m);
    ZFFT2D(d.data(), &m, &m, &sign);
    for (double v : d) EXPECT_EQ(1.0, v);
}

}  // namespace

// The signal library's element-wise routines, statistics, norms and conversions.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "GoldenInput.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "platform/wavrin/PairSum.h"
#include "platform/wavrin/Parallel.h"
#include "wavrin_misc.inc"

using namespace tarnel;

namespace {

bool Same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

TEST(WavrinArith, OperandOrderOfTheTwoAndThreeForms)
{
    std::vector<double> a{10, 20, 30}, b{1, 2, 3}, d(3);
    nspdbSub3(a.data(), b.data(), d.data(), 3);  // a − b
    EXPECT_EQ((std::vector<double>{9, 18, 27}), d);
    nspdbSub2(b.data(), a.data(), 3);  // dst − src
    EXPECT_EQ((std::vector<double>{9, 18, 27}), a);
    nspdbAdd3(a.data(), b.data(), a.data(), 3);  // the destination may be a source
    EXPECT_EQ((std::vector<double>{10, 20, 30}), a);
    nspdbMpy1(0.5, a.data(), 3);
    nspdbAdd1(1.0, a.data(), 3);
    EXPECT_EQ((std::vector<double>{6, 11, 16}), a);

    std::vector<TCplx> z{{1, 2}, {3, -1}}, w{{2, 1}, {0, 1}}, r(2);
    nspzbMpy3(z.data(), w.data(), r.data(), 2);  // (1+2i)(2+i) = 5i, (3−i)i = 1+3i
    EXPECT_DOUBLE_EQ(0, r[0].Re);
    EXPECT_DOUBLE_EQ(5, r[0].Im);
    EXPECT_DOUBLE_EQ(1, r[1].Re);
    EXPECT_DOUBLE_EQ(3, r[1].Im);
    nspzbSub3(z.data(), w.data(), r.data(), 2);
    EXPECT_EQ(-1, r[0].Re);
    EXPECT_EQ(1, r[0].Im);
    nspzbMpy1(TCplx{0, 1}, z.data(), 2);  // times i
    EXPECT_EQ(-2, z[0].Re);
    EXPECT_EQ(1, z[0].Im);
    nspzbSqr2(w.data(), r.data(), 1);  // (2+i)² = 3+4i
    EXPECT_EQ(3, r[0].Re);
    EXPECT_EQ(4, r[0].Im);
    nspzbConj1(w.data(), 2);
    EXPECT_EQ(-1, w[0].Im);
    nspzbNormalize(w.data(), r.data(), 1, TCplx{1, 1}, 2.0);  // ((2 − i) − (1 + i))/2
    EXPECT_EQ(0.5, r[0].Re);
    EXPECT_EQ(-1, r[0].Im);
}

TEST(WavrinArith, ThresholdedReciprocalKeepsTheSign)
{
    // Below the threshold: ±1/thresh by the sign (±0 included); at or above: the plain reciprocal.
    const double t = 1e-3;
    std::vector<double> x{0.0, -0.0, 5e-4, -5e-4, 1e-3, -4.0, NAN, INFINITY}, y(x.size());
    nspdbInvThresh2(x.data(), y.data(), static_cast<int>(x.size()), t);
    const double want[] = {1000, -1000, 1000, -1000, 1000, -0.25, NAN, 0};
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_TRUE(Same(want[i], y[i])) << i << ": " << y[i];
    nspdbInvThresh1(x.data(), 2, 0.0);  // no threshold: infinities
    EXPECT_EQ(INFINITY, x[0]);
    EXPECT_EQ(-INFINITY, x[1]);

    // Complex: magnitude below the threshold gives magnitude 1/thresh in the direction of 1/z.
    std::vector<TCplx> z{{0, 0}, {3e-4, 4e-4}, {0, 2}, {-0.0, 0}}, r(4);
    nspzbInvThresh2(z.data(), r.data(), 4, t);
    EXPECT_EQ(1000, r[0].Re);
    EXPECT_EQ(0, r[0].Im);
    EXPECT_NEAR(600, r[1].Re, 1e-9);
    EXPECT_NEAR(-800, r[1].Im, 1e-9);
    EXPECT_EQ(0, r[2].Re);
    EXPECT_EQ(-0.5, r[2].Im);
    EXPECT_EQ(-1000, r[3].Re);
    nspzbInvThresh1(z.data() + 2, 1, t);
    EXPECT_EQ(-0.5, z[2].Im);
    // No overflow of |z|² for large elements.
    TCplx big{3e200, 4e200};
    nspzbInvThresh1(&big, 1, t);
    EXPECT_NEAR(1.2e-201, big.Re, 1e-215);  // (3 − 4i)/25 · 1e-200
    EXPECT_NEAR(-1.6e-201, big.Im, 1e-215);
}

TEST(WavrinArith, ClippingAndComplexParts)
{
    std::vector<double> x{-1, 2, NAN}, y(3);
    nspdbThresh2(x.data(), y.data(), 3, 0.0, NSP_LT);
    EXPECT_EQ(0, y[0]);
    EXPECT_EQ(2, y[1]);
    EXPECT_TRUE(std::isnan(y[2]));
    nspdbThresh1(x.data(), 3, 1.0, NSP_GT);
    EXPECT_EQ(-1, x[0]);
    EXPECT_EQ(1, x[1]);
    std::vector<TCplx> z{{3, 4}, {0.3, 0.4}, {0, 0}};
    nspzbThresh1(z.data(), 3, 1.0, NSP_LT);  // magnitudes below 1 are raised to 1, the phase kept
    EXPECT_EQ(3, z[0].Re);
    EXPECT_NEAR(0.6, z[1].Re, 1e-15);
    EXPECT_NEAR(0.8, z[1].Im, 1e-15);
    EXPECT_EQ(1, z[2].Re);
    nspzbThresh1(z.data(), 1, 2.5, NSP_GT);
    EXPECT_NEAR(1.5, z[0].Re, 1e-15);
    EXPECT_NEAR(2.0, z[0].Im, 1e-15);

    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    nspdbThresh1(x.data(), 3, 1.0, 7);
    EXPECT_EQ(NSP_StsBadArg, nspGetErrStatus());
    nspSetErrMode(mode);

    std::vector<TCplx> c{{3, 4}, {-1, 0}, {1e300, 1e300}};
    std::vector<double> mag(3), ph(3), ps(3), re(3), im(3);
    nspzbCartToPolar(c.data(), mag.data(), ph.data(), 3);
    EXPECT_EQ(5, mag[0]);
    EXPECT_DOUBLE_EQ(PI, ph[1]);
    EXPECT_DOUBLE_EQ(std::sqrt(2.0) * 1e300, mag[2]);  // no overflow
    nspzbPowerSpectr(c.data(), ps.data(), 2);
    EXPECT_EQ(25, ps[0]);
    std::vector<TCplx> back(3);
    nspzbPolarToCart(mag.data(), ph.data(), back.data(), 2);
    EXPECT_NEAR(3, back[0].Re, 1e-15);
    EXPECT_NEAR(4, back[0].Im, 1e-15);
    nspzbCplxTo2Real(c.data(), re.data(), im.data(), 3);
    nspzb2RealToCplx(im.data(), re.data(), back.data(), 3);  // swapped parts
    EXPECT_EQ(4, back[0].Re);
    EXPECT_EQ(3, back[0].Im);
}

TEST(WavrinArith, CopyIsOverlapSafeAndZeroCountsDoNothing)
{
    std::vector<double> v{1, 2, 3, 4, 5};
    nspdbCopy(v.data(), v.data() + 1, 4);
    EXPECT_EQ((std::vector<double>{1, 1, 2, 3, 4}), v);
    nspdbCopy(v.data() + 1, v.data(), 4);
    EXPECT_EQ((std::vector<double>{1, 2, 3, 4, 4}), v);
    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    nspdbSet(7, v.data(), 0);
    EXPECT_EQ(NSP_StsOk, nspGetErrStatus());
    nspdbSet(7, v.data(), -1);
    EXPECT_EQ(NSP_StsBadLen, nspGetErrStatus());
    nspdbAdd2(nullptr, v.data(), 3);
    EXPECT_EQ(NSP_StsNullPtr, nspGetErrStatus());
    EXPECT_EQ((std::vector<double>{1, 2, 3, 4, 4}), v);
    nspSetErrMode(mode);
}

TEST(WavrinStats, MeansExtremesNormsAndDotProductsMatchNumpy)
{
    std::vector<double> a = golden::Lcg(11, 1000), b = golden::Lcg(12, 1000);
    for (double& v : a) v *= 8.0;
    for (double& v : b) v *= 3.0;
    int at = -5;
    EXPECT_NEAR(kStats[0], nspdMean(a.data(), 1000), 1e-15);
    EXPECT_EQ(kStats[1], nspdMaxExt(a.data(), 1000, &at));
    EXPECT_EQ(kStats[2], at);
    EXPECT_EQ(kStats[3], nspdMinExt(a.data(), 1000, &at));
    EXPECT_EQ(kStats[4], at);
    EXPECT_EQ(kStats[1], nspdMax(a.data(), 1000));
    EXPECT_EQ(kStats[3], nspdMin(a.data(), 1000));
    EXPECT_EQ(kStats[5], nspdNorm(a.data(), b.data(), 1000, NSP_C));
    EXPECT_NEAR(kStats[6], nspdNorm(a.data(), b.data(), 1000, NSP_L1), 1e-12);
    EXPECT_NEAR(kStats[7], nspdNorm(a.data(), b.data(), 1000, NSP_L2), 1e-13);
    EXPECT_EQ(kStats[8], nspdNorm(a.data(), nullptr, 1000, NSP_C));
    EXPECT_NEAR(kStats[9], nspdNorm(a.data(), nullptr, 1000, NSP_L1), 1e-12);
    EXPECT_NEAR(kStats[10], nspdNorm(a.data(), nullptr, 1000, NSP_L2), 1e-13);
    EXPECT_NEAR(kStats[11], nspdNorm(a.data(), b.data(), 1000, NSP_L1 | NSP_RELATIVE), 1e-14);
    EXPECT_NEAR(kStats[12], nspdDotProd(a.data(), b.data(), 1000), 1e-12);

    const std::vector<TCplx> ca = golden::Pairs(a), cb = golden::Pairs(b);
    const TCplx m = nspzMean(ca.data(), 500);
    EXPECT_NEAR(kCplxStats[0], m.Re, 1e-15);
    EXPECT_NEAR(kCplxStats[1], m.Im, 1e-15);
    EXPECT_NEAR(kCplxStats[2], nspzNorm(ca.data(), cb.data(), 500, NSP_C), 1e-14);
    EXPECT_NEAR(kCplxStats[3], nspzNorm(ca.data(), cb.data(), 500, NSP_L1), 1e-11);
    EXPECT_NEAR(kCplxStats[4], nspzNorm(ca.data(), cb.data(), 500, NSP_L2), 1e-13);
    EXPECT_NEAR(kCplxStats[5], nspzNorm(ca.data(), cb.data(), 500, NSP_L2 | NSP_RELATIVE), 1e-14);
    const TCplx dot = nspzDotProd(ca.data(), cb.data(), 500);
    EXPECT_NEAR(kCplxStats[6], dot.Re, 1e-12);
    EXPECT_NEAR(kCplxStats[7], dot.Im, 1e-12);
}

// Sums from 2^21 terms on share the subtrees of the pairwise sum among the worker threads: the results are those
// of the one-thread summation bit for bit, for a length that is not a multiple of 8.
TEST(WavrinStats, SharedLongSumsAreThePairwiseSum)
{
    const int n = static_cast<int>(wavrin::kShareFrom) + 1001;
    const std::vector<double> a = golden::Lcg(13, 2 * n), b = golden::Lcg(14, n);
    const auto sum = [n](const auto& f) { return wavrin::PairSum(0, n, f); };
    EXPECT_EQ(sum([&](long long i) { return a[i]; }) / n, nspdMean(a.data(), n));
    EXPECT_EQ(sum([&](long long i) { return a[i] * b[i]; }), nspdDotProd(a.data(), b.data(), n));
    const TCplx m = nspzMean(reinterpret_cast<const TCplx*>(a.data()), n);
    EXPECT_EQ(sum([&](long long i) { return a[2 * i]; }) / n, m.Re);
    EXPECT_EQ(sum([&](long long i) { return a[2 * i + 1]; }) / n, m.Im);
}

// The infinity norm is the largest magnitude wherever it stands and whatever the length's leftover; a NaN anywhere
// makes it NaN, also after an infinity.
TEST(WavrinStats, InfinityNormAtEveryPositionAndLength)
{
    for (int n = 1; n <= 11; ++n) {
        for (int at = 0; at < n; ++at) {
            std::vector<double> a(static_cast<std::size_t>(n)), b(static_cast<std::size_t>(n), 0.5);
            for (int i = 0; i < n; ++i) a[static_cast<std::size_t>(i)] = (i % 2 ? -0.25 : 0.125) * (i + 1);
            a[static_cast<std::size_t>(at)] = -100.0 - at;
            EXPECT_EQ(100.0 + at, nspdNorm(a.data(), nullptr, n, NSP_C)) << n << " " << at;
            EXPECT_EQ(100.5 + at, nspdNorm(a.data(), b.data(), n, NSP_C)) << n << " " << at;
            a[static_cast<std::size_t>(n - 1 - at)] = -INFINITY;
            a[static_cast<std::size_t>(at)] = NAN;
            EXPECT_TRUE(std::isnan(nspdNorm(a.data(), nullptr, n, NSP_C))) << n << " " << at;
        }
    }
    const double zeros[3] = {-0.0, 0.0, -0.0};
    EXPECT_EQ(0.0, nspdNorm(zeros, nullptr, 3, NSP_C));
    EXPECT_FALSE(std::signbit(nspdNorm(zeros, nullptr, 3, NSP_C)));
}

TEST(WavrinStats, EdgeRules)
{
    // NaN wins max and min at its first position, as numpy's max and argmax; ties keep the first position.
    const double x[] = {1, 3, NAN, 3, NAN};
    int at = 0;
    EXPECT_TRUE(std::isnan(nspdMaxExt(x, 5, &at)));
    EXPECT_EQ(2, at);
    const double t[] = {3, 1, 3, 1};
    EXPECT_EQ(3, nspdMaxExt(t, 4, &at));
    EXPECT_EQ(0, at);
    EXPECT_EQ(1, nspdMinExt(t, 4, &at));
    EXPECT_EQ(1, at);
    EXPECT_TRUE(std::isnan(nspdMaxExt(t, 0, &at)));
    EXPECT_EQ(-1, at);
    EXPECT_EQ(0, nspdMean(t, 0));
    // The L2 norm survives squares beyond the Double range and below it.
    const double big[] = {3e200, 4e200}, tiny[] = {3e-200, 4e-200};
    EXPECT_DOUBLE_EQ(5e200, nspdNorm(big, nullptr, 2, NSP_L2));
    EXPECT_DOUBLE_EQ(5e-200, nspdNorm(tiny, nullptr, 2, NSP_L2));
    // Mixed dot products: complex times real and real times complex.
    const TCplx z[] = {{1, 2}, {3, 4}};
    const double r[] = {2, -1};
    const TCplx zd = nspzdDotProd(z, r, 2), dz = nspdzDotProd(r, z, 2);
    EXPECT_EQ(-1, zd.Re);
    EXPECT_EQ(0, zd.Im);
    EXPECT_EQ(zd.Re, dz.Re);
    EXPECT_EQ(zd.Im, dz.Im);
    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    EXPECT_TRUE(std::isnan(nspdNorm(t, nullptr, 4, NSP_L2 | NSP_RELATIVE)));
    EXPECT_EQ(NSP_StsBadFlags, nspGetErrStatus());
    nspSetErrMode(mode);
}

TEST(WavrinConvert, FloatToIntEdgeValues)
{
    constexpr double big = 1e10;
    struct Case {
        double x;
        int flags;
        std::int32_t want;
    } cases[] = {
        // to nearest: ties to even
        {2.5, NSP_Round, 2},
        {3.5, NSP_Round, 4},
        {-2.5, NSP_Round, -2},
        {-1.7, NSP_Round, -2},
        {0.49999999999999994, NSP_Round, 0},
        // toward zero and toward minus infinity
        {-2.7, NSP_TruncZero, -2},
        {2.7, NSP_TruncZero, 2},
        {-2.1, NSP_TruncNeg, -3},
        {-2.0, NSP_TruncNeg, -2},
        // no rounding flag: toward zero
        {-2.7, 0, -2},
        // saturation with NSP_Clip
        {big, NSP_Round | NSP_Clip, 2147483647},
        {-big, NSP_Round | NSP_Clip, -2147483647 - 1},
        {INFINITY, NSP_TruncZero | NSP_Clip, 2147483647},
        {2147483647.6, NSP_TruncZero | NSP_Clip, 2147483647},
        // without it: modulo 2^32, infinities 0
        {4294967297.0, NSP_TruncZero, 1},
        {2147483648.0, NSP_TruncZero, -2147483647 - 1},
        {INFINITY, NSP_Round, 0},
        // NaN is always 0
        {NAN, NSP_Round | NSP_Clip, 0},
        {NAN, NSP_TruncNeg, 0},
    };
    for (const Case& c : cases) {
        std::int32_t out = 12345;
        nspdbFloatToInt(&c.x, &out, 1, 32, c.flags);
        EXPECT_EQ(c.want, out) << c.x << " flags " << c.flags;
    }
    // Narrow and unsigned types.
    const double v[] = {300, -4, 127.5, -129, 70000};
    std::uint8_t u8[5];
    nspdbFloatToInt(v, u8, 5, 8, NSP_Unsigned | NSP_Clip | NSP_TruncZero);
    EXPECT_EQ((std::vector<int>{255, 0, 127, 0, 255}), std::vector<int>(u8, u8 + 5));
    std::int8_t s8[5];
    nspdbFloatToInt(v, s8, 5, 8, NSP_Round | NSP_Clip);
    EXPECT_EQ((std::vector<int>{127, -4, 127, -128, 127}), std::vector<int>(s8, s8 + 5));
    std::int16_t s16[5];
    nspdbFloatToInt(v, s16, 5, 16, NSP_TruncZero);
    EXPECT_EQ((std::vector<int>{300, -4, 127, -129, 70000 - 65536}), std::vector<int>(s16, s16 + 5));
    std::uint16_t u16[5];
    nspdbFloatToInt(v, u16, 5, 16, NSP_Unsigned | NSP_Clip);
    EXPECT_EQ(65535, u16[4]);
    // And back.
    double d[5];
    nspdbIntToFloat(s16, d, 5, 16, 0);
    EXPECT_EQ(4464, d[4]);
    nspdbIntToFloat(u16, d, 5, 16, NSP_Unsigned);
    EXPECT_EQ(65535, d[4]);
    const std::uint32_t u32[] = {4294967295u};
    nspdbIntToFloat(u32, d, 1, 32, NSP_Unsigned);
    EXPECT_EQ(4294967295.0, d[0]);
    nspdbIntToFloat(u32, d, 1, 32, 0);
    EXPECT_EQ(-1, d[0]);

    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    std::int32_t out = 5;
    nspdbFloatToInt(v, &out, 1, 32, NSP_Round | NSP_TruncZero);
    EXPECT_EQ(NSP_StsBadFlags, nspGetErrStatus());
    nspdbFloatToInt(v, &out, 1, 12, NSP_Round);
    EXPECT_EQ(NSP_StsBadArg, nspGetErrStatus());
    EXPECT_EQ(5, out);
    nspSetErrMode(mode);
}

TEST(WavrinConvert, G711MatchesTheStandardTables)
{
    std::vector<std::uint8_t> codes(256);
    for (int c = 0; c < 256; ++c) codes[c] = static_cast<std::uint8_t>(c);
    std::vector<double> mu(256), al(256);
    nspdbMuLawToLin(codes.data(), mu.data(), 256);
    nspdbALawToLin(codes.data(), al.data(), 256);
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(kMuLawDecode[c], mu[c]) << c;
        EXPECT_EQ(kALawDecode[c], al[c]) << c;
    }
    // Every 16-bit input against the runs of the tables.
    std::vector<double> lin(65536);
    for (int i = 0; i < 65536; ++i) lin[i] = i - 32768;
    std::vector<std::uint8_t> m(65536), a(65536);
    nspdbLinToMuLaw(lin.data(), m.data(), 65536);
    nspdbLinToALaw(lin.data(), a.data(), 65536);
    auto check = [&](const int* start, const int* code, std::size_t runs, const std::vector<std::uint8_t>& got) {
        int bad = 0;
        for (std::size_t r = 0; r < runs; ++r) {
            const int end = r + 1 < runs ? start[r + 1] : 32768;
            for (int s = start[r]; s < end; ++s) bad += got[s + 32768] != code[r];
        }
        return bad;
    };
    EXPECT_EQ(0, check(kMuLawRunStart, kMuLawRunCode, std::size(kMuLawRunStart), m));
    EXPECT_EQ(0, check(kALawRunStart, kALawRunCode, std::size(kALawRunStart), a));
    // Values beyond the 16-bit range saturate, fractions round to nearest, NaN codes as 0.
    const double odd[] = {1e6, -1e6, NAN, 7.6};
    std::uint8_t oc[4];
    nspdbLinToMuLaw(odd, oc, 4);
    EXPECT_EQ(m[65535], oc[0]);
    EXPECT_EQ(m[0], oc[1]);
    EXPECT_EQ(m[32768], oc[2]);
    EXPECT_EQ(m[32768 + 8], oc[3]);
}

// Magnitudes are the root of the two rounded squares' sum wherever that sum lies in [1e-290, 1e290], else hypot's:
// element by element whatever its neighbours, its position in a block of four, the array's start and the length's
// leftover, in place (the source's storage as Doubles) as into another array.
TEST(WavrinArith, MagnitudesAreTheDirectRootOrHypotForEveryElement)
{
    const double parts[] = {0.0, -0.0, 4.9e-324, -2.2250738585072014e-308, 1e-300, 1e-160, 1.1e-145, 3e-145,
                            0.75, -1.0, 3.0, 1e145, -1.2e145, 1e150, 1e300, -1.7976931348623157e308,
                            INFINITY, -INFINITY, NAN};
    std::vector<TCplx> z;
    for (double re : parts)
        for (double im : parts) z.push_back({re, im});
    // Ordinary values between the edge ones, so that blocks of four mix safe and unsafe elements.
    const std::vector<double> a = golden::Lcg(21, 400), b = golden::Lcg(22, 400);
    for (int i = 0; i < 400; ++i) z.push_back({a[i] * std::ldexp(1.0, i % 41 - 20), b[i]});
    const auto want = [](const TCplx& c) {
        const double m2 = c.Re * c.Re + c.Im * c.Im;
        return m2 >= 1e-290 && m2 <= 1e290 ? std::sqrt(m2) : std::hypot(c.Re, c.Im);
    };
    const int n = static_cast<int>(z.size());
    for (int start = 0; start < 4; ++start)
        for (int len : {n - start, n - start - 1, n - start - 2, n - start - 3, 1, 2, 3, 5}) {
            const TCplx* src = z.data() + start;
            std::vector<double> out(len);
            nspzbMag(src, out.data(), len);
            std::vector<TCplx> storage(src, src + len);
            double* inPlace = &storage[0].Re;
            nspzbMag(storage.data(), inPlace, len);
            for (int i = 0; i < len; ++i) {
                const double w = want(src[i]);
                ASSERT_TRUE(Same(w, out[i])) << start << "+" << i << ": |" << src[i].Re << ", " << src[i].Im << "| "
                                             << out[i] << " not " << w;
                ASSERT_TRUE(Same(w, inPlace[i])) << "in place " << start << "+" << i;
            }
        }
}

// Scaling, offsetting and absolute values run eight wide where the processor can, each piece's elements before its
// destination's first cache-line boundary apart: every element exactly once (a second pass would show in the
// product and the sum), the elements around the range untouched, the same Doubles as one element at a time,
// whatever the start against a 64-byte boundary, the length's leftover and the pieces that threads take.
TEST(WavrinArith, ScaleOffsetAbsAtEveryStartLeftoverAndPiece)
{
    const double edges[] = {0.0, -0.0, 4.9e-324, -2.2250738585072014e-308, 1e-300, -0.75, 3.0, 1e300,
                            -1.7976931348623157e308, INFINITY, -INFINITY, NAN};
    const auto values = [&](int n) {
        std::vector<double> v = golden::Lcg(31, n);
        for (int i = 0; i < n; ++i) v[i] = i % 5 == 0 ? edges[(i / 5) % std::size(edges)] : v[i] * 1e3;
        return v;
    };
    struct Case {
        const char* name;
        void (*apply)(const double* src, double* dst, int n);  // dst may be src
        double (*want)(double);
    };
    const Case cases[] = {
        {"Mpy1", [](const double*, double* d, int n) { nspdbMpy1(3.0, d, n); }, [](double x) { return x * 3.0; }},
        {"Add1", [](const double*, double* d, int n) { nspdbAdd1(0.5, d, n); }, [](double x) { return x + 0.5; }},
        {"Abs2", [](const double* s, double* d, int n) { nspdbAbs2(s, d, n); }, [](double x) { return std::fabs(x); }},
        {"Abs1", [](const double*, double* d, int n) { nspdbAbs1(d, n); }, [](double x) { return std::fabs(x); }},
    };
    const double guard = -12345.0;
    const auto check = [&](const Case& c, int start, int len) {
        const std::vector<double> src = values(len);
        // Buffers with room for any start against a 64-byte boundary and a guard on either side.
        std::vector<double> store(static_cast<std::size_t>(len) + 24, guard), from = store;
        const auto at = [&](std::vector<double>& b) {
            const auto base = reinterpret_cast<std::uintptr_t>(b.data() + 8);
            return reinterpret_cast<double*>((base + 63) / 64 * 64) + start;
        };
        double* d = at(store);
        double* s = at(from);
        std::copy(src.begin(), src.end(), d);
        std::copy(src.begin(), src.end(), s);
        c.apply(s, d, len);
        const std::string where = std::string(c.name) + " start " + std::to_string(start) + " length " +
                                  std::to_string(len);
        int wrong = 0;
        for (int i = 0; i < len; ++i) wrong += !Same(c.want(src[i]), d[i]);
        EXPECT_EQ(0, wrong) << where;
        for (double* g : {d - 1, d + len}) EXPECT_EQ(guard, *g) << where << ": wrote outside the range";
    };
    for (const Case& c : cases)
        for (int start = 0; start < 8; ++start) {
            for (int len = 1; len <= 40; ++len) check(c, start, len);
            for (int len : {1000, 1001, 1007}) check(c, start, len);
        }
    // Long enough for pieces on several threads, which start at multiples of 8 elements from a start that is not.
    const parallel::TFixedThreads shared(parallel::kMaxThreads);
    for (const Case& c : cases) check(c, 3, (1 << 21) + 5);
}

// Sums, differences and products of two arrays, real and complex, and the quotient by thresholded reciprocals: short
// ones through the plain loop, long ones (beyond parallel::kStreamBytes for the three arrays) with their stores past
// the caches, on one thread and shared out; every start of the destination against a 64-byte boundary (a complex
// one also between two elements' halves), sources at another, and a guard on either side. The expected Doubles
// come element by element: the plain operation, the complex product's formula, and the reciprocal of
// nspdbInvThresh2 times the dividend.
TEST(WavrinArith, TwoArrayPassesGiveTheSameDoublesAtEveryStartAndLength)
{
    const double edges[] = {0.0, -0.0, 4.9e-324, -1e-300, 3.0, 1e300, INFINITY, -INFINITY, NAN};
    constexpr double kThreshold = 1e-290;
    struct Case {
        const char* name;
        int width;                                                   // Doubles per element
        void (*apply)(const double* a, const double* b, double* d, int n);  // n elements
        void (*want)(const double* x, const double* y, double* r);         // one element
    };
    const Case cases[] = {
        {"Add3", 1, nspdbAdd3, [](const double* x, const double* y, double* r) { *r = *x + *y; }},
        {"Sub3", 1, nspdbSub3, [](const double* x, const double* y, double* r) { *r = *x - *y; }},
        {"Mpy3", 1, nspdbMpy3, [](const double* x, const double* y, double* r) { *r = *x * *y; }},
        {"zbMpy3", 2,
         [](const double* a, const double* b, double* d, int n) {
             nspzbMpy3(reinterpret_cast<const TCplx*>(a), reinterpret_cast<const TCplx*>(b),
                       reinterpret_cast<TCplx*>(d), n);
         },
         [](const double* x, const double* y, double* r) {
             r[0] = x[0] * y[0] - x[1] * y[1];
             r[1] = x[0] * y[1] + y[0] * x[1];
         }},
        {"ThresholdedQuotient", 1,
         [](const double* a, const double* b, double* d, int n) {
             detail::ThresholdedQuotient(a, b, d, n, kThreshold);
         },
         [](const double* x, const double* y, double* r) {
             double recip;
             nspdbInvThresh2(y, &recip, 1, kThreshold);
             *r = *x * recip;
         }},
    };
    const int large = static_cast<int>(parallel::kStreamBytes / 24) + 13, shared = (1 << 21) + 5;
    const std::vector<double> a0 = golden::Lcg(41, shared), b0 = golden::Lcg(42, shared);
    const double guard = -12345.0;
    // Buffers with room for any start against a 64-byte boundary and a guard on either side.
    std::vector<double> store(static_cast<std::size_t>(shared) + 24), sa = store, sb = store;
    const auto at = [](std::vector<double>& buf, int start) {
        const auto base = reinterpret_cast<std::uintptr_t>(buf.data() + 8);
        return reinterpret_cast<double*>((base + 63) / 64 * 64) + start;
    };
    // len elements of c's width, sources and destination start Doubles past a boundary; the destination apart, or
    // (Into 1, 2) the first or second source itself.
    std::vector<double> want(static_cast<std::size_t>(shared) + 1);
    const auto check = [&](const Case& c, int start, int len, int into = 0) {
        const int n = len * c.width;
        double* a = at(sa, into == 1 ? start : (start + 3) % 8);
        double* b = at(sb, into == 2 ? start : (start + 5) % 8);
        for (int i = 0; i < n; ++i) {
            a[i] = i % 7 == 0 ? edges[(i / 7) % std::size(edges)] : a0[i] * 1e3;
            b[i] = i % 11 == 0 ? edges[(i / 11) % std::size(edges)] : b0[i];
        }
        for (int i = 0; i < n; i += c.width) c.want(a + i, b + i, &want[i]);
        std::fill(store.begin(), store.end(), guard);
        double* d = into == 1 ? a : into == 2 ? b : at(store, start);
        double* const lead = d - 1;
        *lead = guard;
        d[n] = guard;
        c.apply(a, b, d, len);
        const std::string where = std::string(c.name) + " start " + std::to_string(start) + " length " +
                                  std::to_string(len) + (into ? " in place of source " + std::to_string(into) : "");
        int wrong = 0;
        for (int i = 0; i < n; ++i) wrong += !Same(want[i], d[i]);
        EXPECT_EQ(0, wrong) << where;
        for (double* g : {lead, d + n}) EXPECT_EQ(guard, *g) << where << ": wrote outside the range";
    };
    for (const Case& c : cases)
        for (int start = 0; start < 8; ++start) {
            for (int len = 1; len <= 40; ++len)
                for (int into : {0, 1, 2}) check(c, start, len, into);
            check(c, start, large / c.width + 7);
        }
    // Long enough for pieces on several threads, which start at multiples of 8 Doubles from a start that is not.
    const parallel::TFixedThreads threads(parallel::kMaxThreads);
    for (const Case& c : cases)
        for (int start : {2, 3}) {
            check(c, start, shared / c.width);
            check(c, start, shared / c.width, 1);
        }
}

TEST(WavrinArith, LargeArraysGiveTheSameResultsInPiecesAndInPlace)
{
    const int n = 200003;
    std::vector<double> a = golden::Lcg(7, n), b = golden::Lcg(8, n), y(n), want(n);
    for (int i = 0; i < n; ++i) want[i] = a[i] * b[i];
    nspdbMpy3(a.data(), b.data(), y.data(), n);
    EXPECT_TRUE(y == want);
    nspdbMpy2(b.data(), a.data(), n);  // in place
    EXPECT_TRUE(a == want);
    // A destination one element past its source (a partial overlap) runs front to back in one piece.
    std::vector<double> v(n + 1, 1.0);
    nspdbAdd2(v.data(), v.data() + 1, n);
    for (int i = 1; i <= n; ++i) ASSERT_EQ(i + 1.0, v[i]) << i;
}

// In place means the same result as distinct buffers, also where the destination's elements are smaller or larger
// than the source's (a complex array turned into Doubles in its own storage, and back), and at sizes that threads
// share.
TEST(WavrinArith, InPlaceAcrossElementSizesEqualsDistinctBuffers)
{
    const parallel::TFixedThreads shared(parallel::kMaxThreads);
    const int n = 1 << 20;
    const std::vector<double> re = golden::Lcg(11, n), im = golden::Lcg(12, n);
    std::vector<TCplx> src(n);
    for (int i = 0; i < n; ++i) src[i] = {re[i], im[i]};
    using TNarrow = void (*)(const TCplx*, double*, int);
    const std::pair<const char*, TNarrow> narrowing[] = {
        {"nspzbReal", nspzbReal},
        {"nspzbImag", nspzbImag},
        {"nspzbMag", nspzbMag},
        {"nspzbPhase", nspzbPhase},
        {"nspzbPowerSpectr", nspzbPowerSpectr},
    };
    for (const auto& [name, routine] : narrowing) {
        std::vector<double> want(n);
        routine(src.data(), want.data(), n);
        std::vector<TCplx> storage = src;
        double* inPlace = &storage[0].Re;
        routine(storage.data(), inPlace, n);
        EXPECT_EQ(NSP_StsOk, nspGetErrStatus()) << name;
        int wrong = 0;
        for (int i = 0; i < n; ++i) wrong += !Same(inPlace[i], want[i]);
        EXPECT_EQ(0, wrong) << name << " in place";
    }

    // Widening into the storage of a source, and the two-destination split with one part in the source's storage.
    const int m = 1000;
    std::vector<double> both(2 * m);
    for (int i = 0; i < m; ++i) both[i] = re[i];
    nspzb2RealToCplx(both.data(), im.data(), reinterpret_cast<TCplx*>(both.data()), m);
    const auto* z = reinterpret_cast<const TCplx*>(both.data());
    for (int i = 0; i < m; ++i) ASSERT_TRUE(Same(z[i].Re, re[i]) && Same(z[i].Im, im[i])) << "2RealToCplx " << i;
    std::vector<TCplx> parts(src.begin(), src.begin() + m);
    double* partRe = &parts[0].Re;
    double* partIm = partRe + m;
    nspzbCplxTo2Real(parts.data(), partRe, partIm, m);
    for (int i = 0; i < m; ++i) ASSERT_TRUE(Same(partRe[i], re[i]) && Same(partIm[i], im[i])) << "CplxTo2Real " << i;
}

// The cut of element-wise work: whatever the threads the machine has room for, the least piece (of the
// transcendental kernels or of the streaming passes) and the least length shared out (from a time per element: one
// above two least pieces, one that falls back to them), the pieces cover every element exactly once, start at
// multiples of 8 and are never shorter than the least piece but for the last; shorter work stays in one piece,
// longer work is cut where there is more than one thread.
TEST(WavrinParallel, PiecesCoverEveryElementOnceWhateverTheThreads)
{
    using namespace tarnel::parallel;
    const int most = WorkerCount() + 1;
    EXPECT_GE(UsefulThreads(), 1);
    EXPECT_LE(UsefulThreads(), most);
    const std::pair<long long, long long> cuts[] = {
        {kMinPiece, 0}, {kMinStreamPiece, 0}, {kMinPiece, MinSplitFor(0.55)}, {kMinPiece, MinSplitFor(100.0)}};
    for (int threads : {1, 2, most}) {
        const TFixedThreads fixed(threads);
        EXPECT_EQ(std::min(threads, most), UsefulThreads());
        for (const auto& [least, split] : cuts) {
            const long long alone = std::max(2 * least, split);
            for (long long n : {0LL, 1LL, 2 * least - 1, 2 * least, 2 * least + 1, alone - 1, alone, 1000003LL}) {
                std::vector<int> hits(static_cast<std::size_t>(n));
                std::vector<std::pair<long long, long long>> pieces(64);
                std::atomic<int> count{0};
                Pieces(n, [&](long long lo, long long hi) {
                    pieces[static_cast<std::size_t>(count++)] = {lo, hi};
                    for (long long i = lo; i < hi; ++i) ++hits[static_cast<std::size_t>(i)];
                }, least, split);
                const std::string where = std::to_string(threads) + " threads, n " + std::to_string(n) + ", least " +
                                          std::to_string(least) + ", split " + std::to_string(split);
                int wrong = 0;
                for (int h : hits) wrong += h != 1;
                EXPECT_EQ(0, wrong) << where;
                if (n < alone || threads == 1) {
                    EXPECT_EQ(1, count.load()) << where;
                } else {
                    EXPECT_LT(1, count.load()) << where;
                }
                for (int p = 0; p < count; ++p) {
                    EXPECT_EQ(0, pieces[p].first % 8) << where;
                    if (pieces[p].second < n) {
                        EXPECT_GE(pieces[p].second - pieces[p].first, least) << where;
                    }
                }
            }
        }
    }
}

}  // namespace

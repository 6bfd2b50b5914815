// Convolution, correlation, 2-D filtering, IIR, Goertzel, resampling, generators and the error status.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GoldenInput.h"
#include "core/Raroz.h"
#include "wavrin_misc.inc"

using namespace tarnel;

namespace {

void ExpectNear(const double* want, const double* got, int n, double tol)
{
    for (int i = 0; i < n; ++i) EXPECT_NEAR(want[i], got[i], tol) << "at " << i;
}

const double* D(const std::vector<TCplx>& z)
{
    return &z[0].Re;
}

TEST(WavrinFilters, ConvolutionAndCorrelationMatchNumpy)
{
    const std::vector<double> x = golden::Lcg(21, 14), h = golden::Lcg(22, 8);
    const std::vector<TCplx> xc = golden::Pairs(x), hc = golden::Pairs(h);
    std::vector<double> r(10);
    nspdConv(x.data(), 7, h.data(), 4, r.data());
    ExpectNear(kConvRR, r.data(), 10, 1e-15);
    std::vector<TCplx> c(10);
    nspzConv(xc.data(), 7, hc.data(), 4, c.data());
    ExpectNear(kConvCC, D(c), 20, 1e-15);
    nspzdConv(xc.data(), 7, h.data(), 4, c.data());
    ExpectNear(kConvCR, D(c), 20, 1e-15);
    nspdzConv(h.data(), 4, xc.data(), 7, c.data());  // convolution commutes
    ExpectNear(kConvCR, D(c), 20, 1e-15);

    std::vector<double> ac(7);
    for (int kind = 0; kind < 3; ++kind) {
        nspdAutoCorr(x.data(), 7, ac.data(), 7, kind);
        ExpectNear(kAutoCorrR + 7 * kind, ac.data(), 7, 1e-15);
    }
    std::vector<TCplx> acz(5);
    nspzAutoCorr(xc.data(), 7, acz.data(), 5, NSP_Normal);
    ExpectNear(kAutoCorrC, D(acz), 10, 1e-15);

    std::vector<double> cr(9);
    nspdCrossCorr(x.data(), 7, h.data(), 4, cr.data(), -3, 5);
    ExpectNear(kCrossRR, cr.data(), 9, 1e-15);
    std::vector<TCplx> crz(9);
    nspzCrossCorr(xc.data(), 7, hc.data(), 4, crz.data(), -3, 5);
    ExpectNear(kCrossCC, D(crz), 18, 1e-15);

    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    nspdCrossCorr(x.data(), 7, h.data(), 4, cr.data(), 2, 1);
    EXPECT_EQ(NSP_StsBadArg, nspGetErrStatus());
    nspSetErrMode(mode);
}

TEST(WavrinFilters, TwoDimensionalConvolutionMatchesScipy)
{
    const std::vector<double> x = golden::Lcg(31, 12), h = golden::Lcg(32, 6);  // 3 by 4 and 2 by 3
    std::vector<double> full(4 * 6), same(12);
    nspdConv2D(x.data(), 4, 3, h.data(), 3, 2, full.data());
    nspdFilter2D(x.data(), 4, 3, h.data(), 3, 2, same.data());
    ExpectNear(kConv2DFull, full.data(), 24, 1e-15);
    ExpectNear(kConv2DSame, same.data(), 12, 1e-15);
}

TEST(WavrinFilters, IirMatchesLfilterAcrossCalls)
{
    const std::vector<double> sig = golden::Lcg(43, 12), sigIm = golden::Lcg(46, 12);
    std::vector<TCplx> zsig(12);
    for (int i = 0; i < 12; ++i) zsig[i] = {sig[i], sigIm[i]};

    NSPIirState st{};
    nspdIirInit(NSP_IirDefault, kIirTaps, 2, &st);
    std::vector<double> y(12);
    nspdbIir(&st, sig.data(), y.data(), 5);  // the memory carries over into the second call
    nspdbIir(&st, sig.data() + 5, y.data() + 5, 7);
    nspIirFree(&st);
    EXPECT_EQ(nullptr, st.impl);
    ExpectNear(kIirReal, y.data(), 12, 1e-14);

    std::vector<TCplx> zy = zsig;
    nspdIirInit(NSP_IirDefault, kIirTaps, 2, &st);
    nspdzbIir(&st, zy.data(), zy.data(), 12);  // in place
    nspIirFree(&st);
    ExpectNear(kIirRealTapsCplxData, D(zy), 24, 1e-14);

    const std::vector<TCplx> ctaps = golden::Pairs(std::vector<double>(kIirCTaps, kIirCTaps + 12));
    nspzIirInit(NSP_IirDefault, ctaps.data(), 2, &st);
    nspzbIir(&st, zsig.data(), zy.data(), 12);
    nspIirFree(&st);
    ExpectNear(kIirCplx, D(zy), 24, 1e-14);

    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    const double zeroA0[] = {1, 0};
    nspdIirInit(NSP_IirDefault, zeroA0, 0, &st);
    EXPECT_EQ(NSP_StsDivByZero, nspGetErrStatus());
    EXPECT_EQ(nullptr, st.impl);
    nspdbIir(&st, sig.data(), y.data(), 3);
    EXPECT_EQ(NSP_StsBadState, nspGetErrStatus());
    nspSetErrMode(mode);
}

TEST(WavrinFilters, GoertzelGivesTheFourierSumFromTheReset)
{
    const std::vector<double> g = golden::Lcg(51, 50), gi = golden::Lcg(52, 50);
    std::vector<TCplx> gz(50);
    for (int i = 0; i < 50; ++i) gz[i] = {g[i], gi[i]};
    NSPDGoertzState st;
    nspdGoertzInit(0.1, &st);
    TCplx r = nspdbGoertz(&st, g.data(), 50);
    EXPECT_NEAR(kGoertz[0], r.Re, 1e-13);
    EXPECT_NEAR(kGoertz[1], r.Im, 1e-13);
    nspdGoertzReset(&st);
    nspdbGoertz(&st, g.data(), 20);  // fed in two pieces: the same sum
    r = nspdbGoertz(&st, g.data() + 20, 30);
    EXPECT_NEAR(kGoertz[0], r.Re, 1e-13);
    nspzGoertzInit(0.1, &st);
    r = nspzbGoertz(&st, gz.data(), 50);
    EXPECT_NEAR(kGoertz[2], r.Re, 1e-13);
    EXPECT_NEAR(kGoertz[3], r.Im, 1e-13);
}

TEST(WavrinFilters, ResamplingPlacesAndPicksByFactorAndPhase)
{
    const double src[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    double up[8];
    int len = 8, phase = 1;
    nspdUpSample(src, 3, up, &len, 2, &phase);
    EXPECT_EQ(6, len);
    EXPECT_EQ((std::vector<double>{0, 1, 0, 2, 0, 3}), std::vector<double>(up, up + 6));
    len = 3, phase = 0;  // room for 3 only: nothing past it is written
    up[3] = 99;
    nspdUpSample(src, 3, up, &len, 2, &phase);
    EXPECT_EQ(3, len);
    EXPECT_EQ(99, up[3]);

    double down[4];
    len = 4, phase = 0;
    nspdDownSample(src, 10, down, &len, 3, &phase);
    EXPECT_EQ(4, len);
    EXPECT_EQ((std::vector<double>{1, 4, 7, 10}), std::vector<double>(down, down + 4));
    EXPECT_EQ(2, phase);  // the next block continues at its element 2
    len = 4, phase = 2;
    nspdDownSample(src, 10, down, &len, 3, &phase);
    EXPECT_EQ(3, len);  // 3, 6, 9: nothing is read past the end
    EXPECT_EQ(9, down[2]);
    const TCplx zs[] = {{1, 1}, {2, 2}, {3, 3}};
    TCplx zd[2];
    len = 2, phase = 1;
    nspzDownSample(zs, 3, zd, &len, 2, &phase);
    EXPECT_EQ(1, len);
    EXPECT_EQ(2, zd[0].Im);

    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    len = 4, phase = 3;
    nspdDownSample(src, 10, down, &len, 3, &phase);
    EXPECT_EQ(NSP_StsBadArg, nspGetErrStatus());
    len = 4, phase = -1;
    nspdUpSample(src, 2, up, &len, 2, &phase);
    EXPECT_EQ(NSP_StsBadArg, nspGetErrStatus());
    nspSetErrMode(mode);
}

TEST(WavrinRandom, SequencesRepeatForASeedAndHaveTheirMoments)
{
    NSPDRandUniState u1, u2;
    nspdRandUniInit(5.0, -1.0, 3.0, &u1);
    nspdRandUniInit(5.0, -1.0, 3.0, &u2);
    EXPECT_EQ(-1.0, u1.low);
    EXPECT_EQ(3.0, u1.high);
    std::vector<double> a(100000), b(100000);
    nspdbRandUni(&u1, a.data(), 50000);
    nspdbRandUni(&u1, a.data() + 50000, 50000);
    nspdbRandUni(&u2, b.data(), 100000);
    EXPECT_EQ(a, b);
    double s = 0, lo = 10, hi = -10;
    for (double v : a) s += v, lo = std::min(lo, v), hi = std::max(hi, v);
    EXPECT_NEAR(1.0, s / a.size(), 0.02);
    EXPECT_GE(lo, -1.0);
    EXPECT_LT(hi, 3.0);
    nspdRandUniInit(6.0, -1.0, 3.0, &u2);
    EXPECT_NE(a[0], nspdRandUni(&u2));

    NSPDRandGausState g1, g2;
    nspdRandGausInit(5.0, 2.0, 0.5, &g1);
    nspdRandGausInit(5.0, 2.0, 0.5, &g2);
    EXPECT_EQ(2.0, g1.mean);
    EXPECT_EQ(0.5, g1.stdDev);
    std::vector<TCplx> z(50000), w(50000);
    nspzbRandGaus(&g1, z.data(), 50000);
    nspdbRandGaus(&g2, &w[0].Re, 100000);
    double m = 0, q = 0;
    for (int i = 0; i < 50000; ++i) {
        ASSERT_EQ(z[i].Re, w[i].Re);
        m += z[i].Re + z[i].Im;
        q += (z[i].Re - 2) * (z[i].Re - 2) + (z[i].Im - 2) * (z[i].Im - 2);
    }
    EXPECT_NEAR(2.0, m / 100000, 0.01);
    EXPECT_NEAR(0.25, q / 100000, 0.01);
}

TEST(WavrinStatus, ModesTextsAndStartUpMode)
{
    EXPECT_EQ(NSP_ErrModeParent, nspGetErrMode()) << "the library's start-up sets mode 1";
    nspSetErrStatus(0);
    double v = 1;
    // Parent mode: a failure's status stays over later successful calls until it is cleared.
    nspdbSet(2.0, &v, -1);
    nspdbSet(2.0, &v, 1);
    EXPECT_EQ(NSP_StsBadLen, nspGetErrStatus());
    EXPECT_STREQ("Negative length", nspErrorStr(nspGetErrStatus()));
    nspSetErrStatus(0);
    // Leaf mode: every call tells about itself.
    EXPECT_EQ(NSP_ErrModeParent, nspSetErrMode(NSP_ErrModeLeaf));
    nspdbSet(2.0, &v, -1);
    nspdbSet(2.0, &v, 1);
    EXPECT_EQ(NSP_StsOk, nspGetErrStatus());
    // Silent mode records nothing.
    nspSetErrMode(NSP_ErrModeSilent);
    nspdbSet(2.0, &v, -1);
    EXPECT_EQ(NSP_StsOk, nspGetErrStatus());
    EXPECT_EQ(NSP_ErrModeSilent, nspSetErrMode(9));
    EXPECT_EQ(NSP_ErrModeSilent, nspGetErrMode());
    nspSetErrMode(NSP_ErrModeParent);
    for (int s : {NSP_StsOk, NSP_StsError, NSP_StsNoMem, NSP_StsBadArg, NSP_StsNullPtr, NSP_StsBadLen, NSP_StsBadOrder,
                  NSP_StsBadFlags, NSP_StsBadState, NSP_StsDivByZero})
        EXPECT_STRNE("Unknown status code", nspErrorStr(s)) << s;
    EXPECT_STREQ("Unknown status code", nspErrorStr(12345));
}

// Down-sampling into the storage of its own source, the destination half an element past the source: the result of
// distinct buffers.
TEST(WavrinFilters, DownSamplingIntoItsOwnStorageEqualsDistinctBuffers)
{
    for (const int factor : {1, 2, 3}) {
        const int n = 64;
        std::vector<double> raw(2 * n + 2);
        for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<double>(i) + 0.5;
        std::vector<TCplx> want(n);
        int wantLen = n, wantPhase = factor - 1;
        nspzDownSample(reinterpret_cast<const TCplx*>(raw.data()), n, want.data(), &wantLen, factor, &wantPhase);
        for (const int shift : {1, -1}) {  // dst 8 bytes after, then before, the source
            std::vector<double> buf(2 * n + 4);
            double* srcAt = buf.data() + 2;
            std::copy(raw.begin(), raw.begin() + 2 * n, srcAt);
            int len = n, phase = factor - 1;
            auto* dst = reinterpret_cast<TCplx*>(srcAt + shift);
            nspzDownSample(reinterpret_cast<const TCplx*>(srcAt), n, dst, &len, factor, &phase);
            ASSERT_EQ(wantLen, len);
            EXPECT_EQ(wantPhase, phase);
            for (int k = 0; k < len; ++k)
                ASSERT_TRUE(dst[k].Re == want[k].Re && dst[k].Im == want[k].Im)
                    << "factor " << factor << ", shift " << shift << ", element " << k;
        }
    }
}

}  // namespace

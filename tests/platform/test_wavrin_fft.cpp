// The signal library's transforms against numpy.fft and scipy.fft (tests/data/gen_wavrin_golden.py).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "GoldenInput.h"
#include "core/Raroz.h"
#include "wavrin_fft.inc"

using namespace tarnel;

namespace {

double Tol(int n)
{
    return 1e-13 * n;
}  // inputs lie in [-0.5, 0.5): |X| stays below N/2

struct FftCase {
    const FftGolden& g;
    int n;
    std::vector<TCplx> z;       // complex input
    std::vector<double> x;      // real input
    std::vector<TCplx> packed;  // packed spectrum input, N/2 + 1 bins
    explicit FftCase(const FftGolden& gold) : g(gold), n(1 << gold.order)
    {
        z = golden::Pairs(golden::Lcg(1000 + g.order, 2 * n));
        x = golden::Lcg(2000 + g.order, n);
        packed = golden::Pairs(golden::Lcg(3000 + g.order, n + 2));
        packed.front().Im = 0.0;
        packed.back().Im = 0.0;
    }
};

TEST(WavrinFft, ComplexTransformMatchesNumpyInPlaceAndNotInPlace)
{
    for (const FftGolden& g : kFftGolden) {
        SCOPED_TRACE(g.order);
        FftCase c(g);
        std::vector<TCplx> in = c.z, nip(c.n);
        nspzFftNip(c.z.data(), nip.data(), g.order, NSP_Forw);
        nspzFft(in.data(), g.order, NSP_Forw);
        for (int k = 0; k < 8; ++k) {
            EXPECT_NEAR(in[g.idx[k]].Re, g.cplx[2 * k], Tol(c.n));
            EXPECT_NEAR(in[g.idx[k]].Im, g.cplx[2 * k + 1], Tol(c.n));
        }
        for (int k = 0; k < c.n; ++k) ASSERT_NEAR(in[k].Re, nip[k].Re, Tol(c.n));
        EXPECT_EQ(0, std::memcmp(c.z.data(), FftCase(g).z.data(), c.z.size() * sizeof(TCplx))) << "source changed";
        // Inverse (divided by N) restores the input; without scaling it comes back N times larger.
        nspzFft(in.data(), g.order, NSP_Inv);
        for (int j = 0; j < c.n; j += 1 + c.n / 64) EXPECT_NEAR(in[j].Re, c.z[j].Re, 1e-15 * c.n);
        nspzFftNip(nip.data(), in.data(), g.order, NSP_Inv | NSP_NoScale);
        for (int j = 0; j < c.n; j += 1 + c.n / 64) EXPECT_NEAR(in[j].Im, c.n * c.z[j].Im, 1e-14 * c.n * c.n);
    }
}

TEST(WavrinFft, RealTransformGivesThePackedSpectrum)
{
    for (const FftGolden& g : kFftGolden) {
        SCOPED_TRACE(g.order);
        FftCase c(g);
        const int bins = c.n / 2 + 1;
        std::vector<double> in(c.n + 2, 99.0);
        std::copy(c.x.begin(), c.x.end(), in.begin());
        std::vector<TCplx> nip(bins);
        nspdRealFft(in.data(), g.order, NSP_Forw);
        nspdRealFftNip(c.x.data(), nip.data(), g.order, NSP_Forw);
        const TCplx* spec = reinterpret_cast<const TCplx*>(in.data());
        for (int k = 0; k < 8; ++k) {
            const int b = g.idx[k] % bins;
            EXPECT_NEAR(spec[b].Re, g.real[2 * k], Tol(c.n));
            EXPECT_NEAR(spec[b].Im, g.real[2 * k + 1], Tol(c.n));
        }
        EXPECT_EQ(0.0, spec[0].Im);
        EXPECT_EQ(0.0, spec[bins - 1].Im);
        for (int b = 0; b < bins; ++b) ASSERT_NEAR(spec[b].Im, nip[b].Im, Tol(c.n));
        // The inverse transform of real samples is the conjugate spectrum divided by N.
        nspdRealFftNip(c.x.data(), nip.data(), g.order, NSP_Inv);
        for (int b = 0; b < bins; b += 1 + bins / 16) {
            EXPECT_NEAR(nip[b].Re * c.n, spec[b].Re, Tol(c.n));
            EXPECT_NEAR(nip[b].Im * c.n, -spec[b].Im, Tol(c.n));
        }
        // The packed inverse restores the samples, in place and not in place.
        std::vector<double> back(c.n);
        nspdCcsFftNip(spec, back.data(), g.order, NSP_Inv);
        nspdCcsFft(in.data(), g.order, NSP_Inv);
        for (int j = 0; j < c.n; ++j) {
            ASSERT_NEAR(back[j], c.x[j], 1e-15 * c.n);
            ASSERT_NEAR(back[j], in[j], 1e-15 * c.n);
        }
    }
}

TEST(WavrinFft, PackedTransformsMatchNumpy)
{
    for (const FftGolden& g : kFftGolden) {
        SCOPED_TRACE(g.order);
        FftCase c(g);
        std::vector<TCplx> keep = c.packed;
        std::vector<double> fwd(c.n), inv(c.n), inPlace(c.n + 2);
        nspdCcsFftNip(c.packed.data(), fwd.data(), g.order, NSP_Forw);
        nspdCcsFftNip(c.packed.data(), inv.data(), g.order, NSP_Inv);
        ASSERT_EQ(0, std::memcmp(keep.data(), c.packed.data(), keep.size() * sizeof(TCplx))) << "source changed";
        std::memcpy(inPlace.data(), c.packed.data(), (c.n + 2) * sizeof(double));
        nspdCcsFft(inPlace.data(), g.order, NSP_Forw);
        for (int k = 0; k < 8; ++k) {
            EXPECT_NEAR(fwd[g.idx[k]], g.ccs[k], Tol(c.n));
            EXPECT_NEAR(inv[g.idx[k]], g.iccs[k], 1e-15 * c.n);
            EXPECT_NEAR(fwd[g.idx[k]], inPlace[g.idx[k]], Tol(c.n));
        }
    }
}

TEST(WavrinFft, BadArgumentsRecordAStatusAndLeaveTheDataAlone)
{
    const int mode = nspSetErrMode(NSP_ErrModeLeaf);
    std::vector<TCplx> z(8, TCplx{1.0, 2.0});
    struct Case {
        int order, flags, status;
    } cases[] = {
        {-1, NSP_Forw, NSP_StsBadOrder},          {28, NSP_Forw, NSP_StsBadOrder},    {3, 0, NSP_StsBadFlags},
        {3, NSP_Forw | NSP_Inv, NSP_StsBadFlags}, {3, NSP_Forw | 4, NSP_StsBadFlags},
    };
    for (const Case& c : cases) {
        nspzFft(z.data(), c.order, c.flags);
        EXPECT_EQ(c.status, nspGetErrStatus()) << c.order << " " << c.flags;
        EXPECT_EQ(1.0, z[0].Re);
    }
    nspzFft(nullptr, 3, NSP_Forw);
    EXPECT_EQ(NSP_StsNullPtr, nspGetErrStatus());
    nspzFft(z.data(), 3, NSP_Forw);
    EXPECT_EQ(NSP_StsOk, nspGetErrStatus());
    nspSetErrMode(mode);
}

TEST(WavrinFft, TransformsRunFromSeveralThreadsAtOnce)
{
    // Each thread plans and runs its own sizes while the others do the same; every result must be exact.
    std::vector<std::thread> threads;
    std::vector<int> bad(8, 0);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t, &bad] {
            for (int rep = 0; rep < 20; ++rep) {
                const int order = 3 + (t + rep) % 9, n = 1 << order;
                std::vector<TCplx> z(n, TCplx{0.0, 0.0});
                z[1] = {1.0, 0.0};
                nspzFft(z.data(), order, NSP_Forw);
                for (int k = 0; k < n; ++k)
                    if (std::fabs(z[k].Re - std::cos(2 * PI * k / n)) > 1e-14) ++bad[t];
            }
        });
    for (auto& th : threads) th.join();
    for (int t = 0; t < 8; ++t) EXPECT_EQ(0, bad[t]);
}

TEST(WavrinDct, OrthonormalPairMatchesScipy)
{
    const struct {
        int n;
        const double* dct;
        const double* idct;
    } cases[] = {{1, kDct1, kIdct1}, {2, kDct2, kIdct2}, {5, kDct5, kIdct5}, {8, kDct8, kIdct8}, {13, kDct13, kIdct13}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const std::vector<double> x = golden::Lcg(4000 + c.n, c.n);
        std::vector<double> y(c.n), back(c.n), inv(c.n), same = x;
        nspdDct(x.data(), y.data(), c.n, NSP_Forw);
        nspdDct(x.data(), inv.data(), c.n, NSP_Inv);
        nspdDct(same.data(), same.data(), c.n, NSP_Forw);
        nspdDct(y.data(), back.data(), c.n, NSP_Inv);
        for (int k = 0; k < c.n; ++k) {
            EXPECT_NEAR(y[k], c.dct[k], 1e-15 * c.n);
            EXPECT_NEAR(inv[k], c.idct[k], 1e-15 * c.n);
            EXPECT_NEAR(y[k], same[k], 1e-15 * c.n);
            EXPECT_NEAR(back[k], x[k], 1e-15 * c.n);
        }
    }
}

}  // namespace

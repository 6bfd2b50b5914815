// DCT, Hilbert, resampling, Goertzel, convolution and correlation of vectors and matrices against numpy/scipy
// (tests/data/gen_signal_golden.py), with their checks in order and the faults they must not have.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "../platform/GoldenInput.h"
#include "TestSupport.h"
#include "elem_util.h"

using namespace tarnel;
using namespace testsupport;
using elemtest::Doubles;

namespace {

struct DctRow {
    int n, seed;
    std::vector<int> idx;
    std::vector<double> fwd, inv;
};
struct HilbertRow {
    int n, seed;
    std::vector<int> idx;
    std::vector<double> z;
};
struct ConvRow {
    int xn, hn, xc, hc, sx, sh;
    std::vector<int> idx;
    std::vector<double> y;
};
struct CorrRow {
    int an, bn, ac, bc, sa, sb, lo, hi;
    std::vector<int> idx;
    std::vector<double> y;
};
struct AutoRow {
    int n, lags, c, s;
    std::vector<int> idx;
    std::vector<double> raw, biased, unbiased;
};
struct Conv2Row {
    int xr, xc, hr, hc, sx, sh;
    std::vector<int> fi;
    std::vector<double> full;
    std::vector<int> si;
    std::vector<double> same;
};
struct GoertzRow {
    int n, c, seed;
    double f, re, im;
};

const DctRow kDct[] = {
#define SIGNAL_DCT
#include "signal_golden.inc"
#undef SIGNAL_DCT
};
const HilbertRow kHilbert[] = {
#define SIGNAL_HILBERT
#include "signal_golden.inc"
#undef SIGNAL_HILBERT
};
const ConvRow kConv[] = {
#define SIGNAL_CONV
#include "signal_golden.inc"
#undef SIGNAL_CONV
};
const CorrRow kCorr[] = {
#define SIGNAL_CORR
#include "signal_golden.inc"
#undef SIGNAL_CORR
};
const AutoRow kAuto[] = {
#define SIGNAL_AUTO
#include "signal_golden.inc"
#undef SIGNAL_AUTO
};
const Conv2Row kConv2[] = {
#define SIGNAL_CONV2
#include "signal_golden.inc"
#undef SIGNAL_CONV2
};
const GoertzRow kGoertz[] = {
#define SIGNAL_GOERTZ
#include "signal_golden.inc"
#undef SIGNAL_GOERTZ
};

// The golden generator's values as a vector: reals, or (Re, Im) pairs from one stream.
void Make(TVecs& V, int Seed, int N, bool Complex)
{
    const std::vector<double> d = golden::Lcg(Seed, Complex ? 2 * N : N);
    V.Size(N, Complex);
    std::copy(d.begin(), d.end(), V.Values());
}

// Doubles at the probe indices of elements (pairs for complex vectors) within Tol·max(1, |expected|).
void ExpectProbes(const TVecs& V, const std::vector<int>& Idx, const std::vector<double>& Want, double Tol,
                  const std::string& Where)
{
    const int w = V.Complex() ? 2 : 1;
    ASSERT_EQ(Want.size(), Idx.size() * w) << Where;
    for (std::size_t i = 0; i < Idx.size(); ++i)
        for (int p = 0; p < w; ++p) {
            const double got = V.Values()[static_cast<std::int64_t>(Idx[i]) * w + p], want = Want[i * w + p];
            EXPECT_NEAR(got, want, Tol * std::fmax(1.0, std::fabs(want))) << Where << " element " << Idx[i];
        }
}

class Signal : public elemtest::ElemTest {};

// ---- DCT -------------------------------------------------------------------------------------------------------

TEST_F(Signal, DctAndIdctAgainstScipyOrthoAndBack)
{
    TVec x, y, back;
    for (const DctRow& r : kDct) {
        const std::string where = "N = " + std::to_string(r.n);
        Make(x, r.seed, r.n, false);
        y.Size(3, true);  // a complex Self becomes real
        y.DCT(x);
        EXPECT_FALSE(y.Complex()) << where;
        ASSERT_EQ(y.Length(), r.n) << where;
        ExpectProbes(y, r.idx, r.fwd, 1e-12, where + " DCT");
        back.IDCT(y);
        elemtest::ExpectNear(back, false, Doubles(x), 1e-13, where + " round trip");
        y.IDCT(x);
        ExpectProbes(y, r.idx, r.inv, 1e-12, where + " IDCT");
    }
}

TEST_F(Signal, DctChecksAndSharedMemory)
{
    TVec x, c;
    x.SetIt(false, {1, 2, 3});
    c.SetIt(true, {1, 2});
    ExpectRaise([&] { x.DCT(c); }, "TVec.DCT: Vec.Complex = True");
    ExpectRaise([&] { x.DCT(x); }, "TVec.DCT: Self = Vec");
    ExpectRaise([&] { x.IDCT(c); }, "Vec.Complex = True");
    ExpectRaise([&] { x.IDCT(x); }, "Self = Vec");
    elemtest::ExpectSame(x, false, {1, 2, 3});
    // A source viewing Self's own data: the result of distinct vectors.
    std::vector<double> buf = golden::Lcg(5, 64);
    TVec a, b, want, src;
    elemtest::View(a, buf, 0, 40, false);
    elemtest::View(b, buf, 8, 40, false);
    src.Copy(b);
    want.DCT(src);
    a.DCT(b);
    elemtest::ExpectNear(a, false, Doubles(want), 1e-15, "overlapping views");
}

// ---- Hilbert ---------------------------------------------------------------------------------------------------

TEST_F(Signal, HilbertIsTheAnalyticSignalOfScipy)
{
    TVec x, z;
    x.SetIt(false, {1, 2, 3, 4});
    z.Hilbert(x);
    elemtest::ExpectNear(z, true, {1, 1, 2, -1, 3, -1, 4, 1}, 1e-15, "(1, 2, 3, 4)");
    for (const HilbertRow& r : kHilbert) {
        Make(x, r.seed, r.n, false);
        z.Hilbert(x);
        ASSERT_EQ(z.Length(), r.n);
        ExpectProbes(z, r.idx, r.z, 1e-13, "N = " + std::to_string(r.n));
    }
    // cos gives sin, and the Nyquist sequence has no Hilbert transform.
    x.Size(16, false);
    for (int k = 0; k < 16; ++k) x[k] = std::cos(2 * PI * k / 8);
    z.Hilbert(x);
    for (int k = 0; k < 16; ++k) EXPECT_NEAR(z.CValues()[k].Im, std::sin(2 * PI * k / 8), 1e-15);
    x.SetIt(false, {1, -1, 1, -1});
    z.Hilbert(x);
    elemtest::ExpectNear(z, true, {1, 0, -1, 0, 1, 0, -1, 0}, 1e-15, "Nyquist");
}

TEST_F(Signal, HilbertChecks)
{
    TVec x, z, c;
    c.SetIt(true, {1, 2});
    ExpectRaise([&] { z.Hilbert(c); }, "Vec.Complex = True");
    ExpectRaise([&] { x.Hilbert(x); }, "Self = Vec");
    x.SetIt(false, {1, 2, 3, 4, 5, 6});
    ExpectRaise([&] { z.Hilbert(x); }, "Length is not power of two!");
    EXPECT_TRUE(z.Complex());
    EXPECT_EQ(z.Length(), 6);
    x.SetIt(false, {7});
    ExpectRaise([&] { z.Hilbert(x); }, "Length is not power of two!");
    x.SetIt(false, {3, 5});  // the one-bin spectrum of N = 2 transforms back
    z.Hilbert(x);
    elemtest::ExpectNear(z, true, {3, 0, 5, 0}, 1e-15, "N = 2");
    x.Size(0, false);
    z.Hilbert(x);
    EXPECT_TRUE(z.Complex());
    EXPECT_EQ(z.Length(), 0);
}

// ---- Resampling --------------------------------------------------------------------------------------------------

// numpy slicing: src[phase::factor] in ceil(n / factor) elements, zeros where no sample is left.
std::vector<double> Sliced(const std::vector<double>& Src, bool Complex, int Factor, int Phase)
{
    const int w = Complex ? 2 : 1, n = static_cast<int>(Src.size()) / w;
    std::vector<double> out(static_cast<std::size_t>((n + Factor - 1) / Factor) * w, 0.0);
    for (int i = 0; Phase + i * Factor < n; ++i)
        for (int p = 0; p < w; ++p) out[i * w + p] = Src[(Phase + i * Factor) * w + p];
    return out;
}

TEST_F(Signal, DownAndUpSampleAgainstSlicing)
{
    struct Case {
        int n, factor, phase;
    };
    // Phase beyond (n − 1) mod Factor leaves the last element without a sample: it is 0, nothing is read past Src.
    const Case cases[] = {{10, 3, 0}, {12, 3, 2}, {10, 3, 2}, {10, 4, 3}, {7, 1, 0}, {0, 3, 1}, {5, 8, 6}};
    TVec src, d, u;
    for (bool cplx : {false, true})
        for (const Case& c : cases) {
            const std::string where = std::to_string(c.n) + " by " + std::to_string(c.factor) + " from " +
                                      std::to_string(c.phase) + (cplx ? " complex" : " real");
            std::vector<double> buf = golden::Lcg(c.n + 40, (cplx ? 2 : 1) * c.n);
            buf.push_back(1e300);  // a Double just past Src's end, which must not show up
            src.Adopt(buf.data(), static_cast<std::int64_t>(buf.size()) - 1, c.n, cplx);
            d.DownSample(src, c.factor, c.phase);
            elemtest::ExpectSame(d, cplx, Sliced(Doubles(src), cplx, c.factor, c.phase), where);
            if (c.phase + 1 < c.factor) {
                u.UpSample(src, c.factor, c.phase);
                TVec back;
                back.DownSample(u, c.factor, c.phase);
                elemtest::ExpectSame(back, cplx, Doubles(src), where + " up and down");
                EXPECT_EQ(u.Length(), c.n * c.factor);
            }
        }
    src.SetIt(false, {1, 2});
    u.UpSample(src, 2, 0);
    elemtest::ExpectSame(u, false, {1, 0, 2, 0});
}

TEST_F(Signal, IndexedResamplingOnRanges)
{
    TVec src, d;
    src.SetIt(false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    d.SetIt(true, {-1, -1, -1, -1, -1, -1, -1, -1});  // 4 complex elements: 8 real ones once retyped
    d.DownSample(src, 3, 2, 1, 9, 1);                 // Src[3], Src[6], Src[9] from element 1
    elemtest::ExpectSame(d, false, {-1, 3, 6, 9, -1, -1, -1, -1});
    d.UpSample(src, 3, 4, 2, 2, 1);  // Src[4], Src[5] at offset 1 of groups of 3 from element 2
    elemtest::ExpectSame(d, false, {-1, 3, 0, 4, 0, 0, 5, 0});
    TVec z, zs;
    zs.SetIt(true, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5});
    z.Size(3, true);
    z.DownSample(zs, 2, 1, 0, 4, 0);  // zs[1], zs[3]
    EXPECT_EQ(z.Values()[0], 2);
    EXPECT_EQ(z.Values()[2], 4);
}

TEST_F(Signal, ResamplingChecksInOrderBeforeSelfChanges)
{
    TVec src, d;
    src.SetIt(false, {1, 2, 3, 4, 5, 6});
    d.SetIt(true, {7, 8});
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* msg;
    };
    const Case cases[] = {
        {"negative phase", [&] { d.DownSample(src, 3, -1); }, "Phase < 0"},
        {"Factor 0, Phase -2", [&] { d.DownSample(src, 0, 0, 0, 4, -2); }, "Phase < 0"},
        {"phase at factor", [&] { d.DownSample(src, 3, 3); }, "(Phase+1) >= Factor"},
        {"self", [&] { src.DownSample(src, 2, 0); }, "Self = Src"},
        {"factor 0", [&] { d.DownSample(src, 0, -0); }, "(Phase+1) >= Factor"},
        {"indexed phase", [&] { d.DownSample(src, 3, 0, 0, 3, 2); }, "(Phase+1) >= Factor"},
        {"indexed negative", [&] { d.DownSample(src, 3, -1, 0, 3, 0); }, "(SrcIndex < 0) or (Index < 0) or (Len < 0)"},
        {"indexed source", [&] { d.DownSample(src, 2, 4, 0, 3, 0); }, "SrcIndex+Len > Src.Length"},
        {"indexed self", [&] { src.DownSample(src, 2, 0, 0, 2, 0); }, "Self = Src"},
        {"indexed room", [&] { d.DownSample(src, 2, 0, 3, 4, 0); }, "Index+ (Len div Factor) > Length"},
        {"up factor 1", [&] { d.UpSample(src, 1, 0); }, "(Phase+1) >= Factor"},
        {"up self", [&] { src.UpSample(src, 2, 0); }, "Self = Src"},
        {"up negative", [&] { d.UpSample(src, 2, 0, -1, 1, 0); }, "(SrcIndex < 0) or (Index < 0) or (Len < 0)"},
        {"up source", [&] { d.UpSample(src, 2, 5, 0, 2, 0); }, "Index+Len > Src.Length"},
        {"up room", [&] { d.UpSample(src, 2, 0, 1, 2, 0); }, "Index + Len*Factor > Length"},
        {"up overflow", [&] { d.UpSample(src, 2, 0, 0, 2000000000, 0); }, "Index+Len > Src.Length"},
    };
    for (const Case& c : cases) {
        ExpectRaise(c.call, c.msg, c.what);
        elemtest::ExpectSame(d, true, {7, 8}, c.what);
        elemtest::ExpectSame(src, false, {1, 2, 3, 4, 5, 6}, c.what);
    }
    d.UpSample(src, 1, -5, -5, -5, 7);  // Factor <= 1 does nothing, without any check
    elemtest::ExpectSame(d, true, {7, 8});
}

// ---- Goertzel and the status text ---------------------------------------------------------------------------

TEST_F(Signal, GoertzGivesTheFftBinsAndExactSumsOffBin)
{
    TVec x, X;
    for (bool cplx : {false, true}) {
        Make(x, 77, 64, cplx);
        X.FFT(x);
        for (int k : {1, 5, 17, 31}) {
            x.GoertzInit(k / 64.0);
            const TCplx g = x.Goertz();
            EXPECT_NEAR(g.Re, X.CValues()[k].Re, 1e-13) << k;
            EXPECT_NEAR(g.Im, X.CValues()[k].Im, 1e-13) << k;
            const TCplx again = Goertz(x);  // each call starts from a cleared filter
            EXPECT_EQ(again.Re, g.Re);
            EXPECT_EQ(again.Im, g.Im);
        }
    }
    // 10^6 samples next to 0 and 1/2, where the plain recurrence loses five digits.
    for (const GoertzRow& r : kGoertz) {
        Make(x, r.seed, r.n, r.c != 0);
        x.GoertzInit(r.f);
        const TCplx g = x.Goertz();
        const double err = std::hypot(g.Re - r.re, g.Im - r.im), mag = std::hypot(r.re, r.im);
        EXPECT_LE(err, 1e-9 * mag) << "f = " << r.f;
    }
}

TEST_F(Signal, GoertzEdgesAndChecks)
{
    TVec x;
    x.SetIt(false, {1, 2, 3});
    ExpectRaise([&] { x.Goertz(); }, "GoertzInit not called");
    ExpectRaise([&] { x.GoertzInit(0.5); }, "(not Complex) and (Freq >= 0.5)");
    ExpectRaise([&] { x.GoertzInit(0); }, "Freq <= 0)");
    ExpectRaise([&] { x.GoertzInit(NAN); }, "Freq <= 0)");
    x.SetComplex(true);
    ExpectRaise([&] { x.GoertzInit(1); }, "Freq >= 1)");
    x.GoertzInit(0.5);  // accepted on a complex vector
    TVec e;
    e.GoertzInit(0.25);
    const TCplx z = e.Goertz();
    EXPECT_EQ(z.Re, 0);
    EXPECT_EQ(z.Im, 0);
    // The frequency survives a change of kind: a complex vector made real computes the real sum.
    TVec v;
    v.SetIt(true, {1, 2, 3, 4});
    v.GoertzInit(0.25);
    v.SetComplex(false);
    const TCplx g = v.Goertz();  // 1 − 2i − 3 + 4i = −2 + 2i
    EXPECT_NEAR(g.Re, -2, 1e-14);
    EXPECT_NEAR(g.Im, 2, 1e-14);
    TVec p;
    p.Size(4, false);
    p.SetConditionCheck(false);  // unchecked, the frequency is still kept
    p.GoertzInit(0.75);
    v.Reset();
    v.SetIt(false, {1});
    ExpectRaise([&] { v.Goertz(); }, "GoertzInit not called");
}

TEST_F(Signal, NspErrorReadsTheLibraryStatus)
{
    TVec v;
    TMtx m;
    std::string msg = "old";
    nspSetErrStatus(0);
    v.nspError(msg);
    EXPECT_EQ(msg, "");
    double d = 0;
    nspdbAdd1(1, &d, -1);  // a negative count
    v.nspError(msg);
    EXPECT_EQ(msg, "Negative length");
    m.nspError(msg);
    EXPECT_EQ(msg, "Negative length");
    nspSetErrStatus(0);
}

// ---- Convolution and correlation ----------------------------------------------------------------------------------

// Golden pairs at the probe indices: a real vector compares its values with the real parts (the imaginary ones 0).
void ExpectPairs(const TVecs& V, const std::vector<int>& Idx, const std::vector<double>& Want, double Tol,
                 const std::string& Where)
{
    ASSERT_EQ(Want.size(), 2 * Idx.size()) << Where;
    for (std::size_t i = 0; i < Idx.size(); ++i) {
        const std::int64_t k = Idx[i];
        const double re = V.Complex() ? V.Values()[2 * k] : V.Values()[k];
        const double im = V.Complex() ? V.Values()[2 * k + 1] : 0.0;
        EXPECT_NEAR(re, Want[2 * i], Tol * std::fmax(1.0, std::fabs(Want[2 * i]))) << Where << " element " << k;
        EXPECT_NEAR(im, Want[2 * i + 1], Tol * std::fmax(1.0, std::fabs(Want[2 * i + 1]))) << Where << " element " << k;
    }
}

TEST_F(Signal, ConvolveAgainstNumpyEveryKindBothPaths)
{
    TVec x, h, y;
    for (const ConvRow& r : kConv) {
        const std::string where = std::to_string(r.xn) + " x " + std::to_string(r.hn) + " kinds " +
                                  std::to_string(r.xc) + std::to_string(r.hc);
        Make(x, r.sx, r.xn, r.xc);
        Make(h, r.sh, r.hn, r.hc);
        y.Convolve(x, h);
        ASSERT_EQ(y.Length(), r.xn + r.hn - 1) << where;
        EXPECT_EQ(y.Complex(), r.xc || r.hc) << where;
        ExpectPairs(y, r.idx, r.y, 1e-12, where);
    }
    x.SetIt(false, {1, 2});
    h.SetIt(false, {1, 1});
    y.Convolve(x, h);
    elemtest::ExpectSame(y, false, {1, 3, 2});
}

TEST_F(Signal, ConvolveEdgesChecksAndAliasing)
{
    TVec x, h, y;
    x.SetIt(false, {1, 2, 3});
    h.SetIt(true, {1, 0});
    // Checked before Self is retyped: X keeps its kind and values.
    ExpectRaise([&] { x.Convolve(x, h); }, "TVec.Convolve: (Self = X) or (Self = H)");
    elemtest::ExpectSame(x, false, {1, 2, 3});
    ExpectRaise([&] { h.Convolve(x, h); }, "TVec.Convolve: (Self = X) or (Self = H)");
    TVec e;
    y.SetIt(false, {9});
    y.Convolve(x, e);  // an empty operand gives an empty result
    EXPECT_EQ(y.Length(), 0);
    y.Convolve(e, h);
    EXPECT_EQ(y.Length(), 0);
    EXPECT_TRUE(y.Complex());
    // Operands that view Self's own data.
    std::vector<double> buf = golden::Lcg(9, 100);
    TVec a, b, want, xa, xb;
    elemtest::View(a, buf, 0, 30, false);
    elemtest::View(b, buf, 10, 20, false);
    xa.Copy(a);
    xb.Copy(b);
    want.Convolve(xa, xb);
    a.Convolve(xa, b);
    elemtest::ExpectNear(a, false, Doubles(want), 1e-15, "H views Self");
}

TEST_F(Signal, CrossAndAutoCorrelationAgainstScipy)
{
    TVec a, b, r;
    for (const CorrRow& c : kCorr) {
        const std::string where = "CrossCorr " + std::to_string(c.an) + ", " + std::to_string(c.bn) + " kinds " +
                                  std::to_string(c.ac) + std::to_string(c.bc);
        Make(a, c.sa, c.an, c.ac);
        Make(b, c.sb, c.bn, c.bc);
        r.CrossCorr(a, b, c.hi, c.lo);
        ASSERT_EQ(r.Length(), c.hi - c.lo + 1) << where;
        EXPECT_EQ(r.Complex(), c.ac || c.bc) << where;
        ExpectPairs(r, c.idx, c.y, 1e-12, where);
    }
    for (const AutoRow& c : kAuto) {
        const std::string where = "AutoCorr " + std::to_string(c.n) + ", " + std::to_string(c.lags);
        Make(a, c.s, c.n, c.c != 0);
        r.AutoCorrNormal(a, c.lags);
        ExpectPairs(r, c.idx, c.raw, 1e-12, where + " normal");
        r.AutoCorrBiased(a, c.lags);
        ExpectPairs(r, c.idx, c.biased, 1e-12, where + " biased");
        r.AutoCorrUnBiased(a, c.lags);
        ExpectPairs(r, c.idx, c.unbiased, 1e-12, where + " unbiased");
    }
}

TEST_F(Signal, CorrelationChecksInOrderBeforeSelfChanges)
{
    TVec a, b, r;
    a.SetIt(false, {1, 2, 3, 4});
    b.SetIt(true, {1, 1, 2, 2});
    r.SetIt(false, {5});
    ExpectRaise([&] { r.CrossCorr(a, b, 2, 2); }, "TVec.CrossCorr: HiLag <= LoLag");
    ExpectRaise([&] { a.CrossCorr(a, b, 2, -2); }, "TVec.CrossCorr: (Self = Vec1) or (Self = Vec2)");
    elemtest::ExpectSame(a, false, {1, 2, 3, 4});
    r.CrossCorr(a, b, 2, -2);
    EXPECT_EQ(r.Length(), 5);
    TVec e;
    r.CrossCorr(a, e, 1, -1);  // an empty operand meets at no lag
    elemtest::ExpectSame(r, false, {0, 0, 0});
    ExpectRaise([&] { r.CrossCorr(a, b, INT_MAX, -2); }, "SetActualLength: Value too large");
    r.AutoCorrBiased(a, 4);  // Lags equal to the Length is accepted
    EXPECT_EQ(r.Length(), 4);
    r.SetIt(false, {5});
    ExpectRaise([&] { r.AutoCorrBiased(a, 5); }, "TVec.AutoCorrBiased: Lags > Vec.Length");
    ExpectRaise([&] { r.AutoCorrNormal(a, 5); }, "TVec.AutoCorrNormal: Lags > Vec.Length");
    ExpectRaise([&] { r.AutoCorrUnBiased(a, 5); }, "TVec.AutoCorrUnBiased: Lags > Vec.Length");
    ExpectRaise([&] { r.AutoCorrNormal(a, -1); }, "Lags < 0");
    ExpectRaise([&] { a.AutoCorrNormal(a, 2); }, "TVec.AutoCorrNormal: Self = Vec");
    ExpectRaise([&] { a.AutoCorrBiased(a, 2); }, "TVec.AutoCorrBiased: Self = Vec");
    ExpectRaise([&] { a.AutoCorrUnBiased(a, 2); }, "TVec.AutoCorrUnBiased: Self = Vec");
    elemtest::ExpectSame(r, false, {5});
}

TEST_F(Signal, MatrixConvolveFullAndSameAgainstScipy)
{
    TMtx x, h, y;
    for (const Conv2Row& c : kConv2) {
        const std::string where = std::to_string(c.xr) + "x" + std::to_string(c.xc) + " by " + std::to_string(c.hr) +
                                  "x" + std::to_string(c.hc);
        Load(x, c.xr, c.xc, false, golden::Lcg(c.sx, c.xr * c.xc));
        Load(h, c.hr, c.hc, false, golden::Lcg(c.sh, c.hr * c.hc));
        y.Convolve(&x, &h, false);
        ASSERT_EQ(y.Rows(), c.xr + c.hr - 1) << where;
        ASSERT_EQ(y.Cols(), c.xc + c.hc - 1) << where;
        for (std::size_t i = 0; i < c.fi.size(); ++i)
            EXPECT_NEAR(y.Values()[c.fi[i]], c.full[i], 1e-12) << where << " full " << c.fi[i];
        y.Convolve(&x, &h, true);
        ASSERT_EQ(y.Rows(), c.xr) << where;
        ASSERT_EQ(y.Cols(), c.xc) << where;
        for (std::size_t i = 0; i < c.si.size(); ++i)
            EXPECT_NEAR(y.Values()[c.si[i]], c.same[i], 1e-12) << where << " same " << c.si[i];
    }
}

TEST_F(Signal, MatrixConvolveChecksRunWithoutConditionCheck)
{
    TMtx x, h, y, e, z;
    x.Size(3, 4);
    h.Size(2, 2);
    z.Size(2, 2, true);
    y.SetConditionCheck(false);
    ExpectRaise([&] { y.Convolve(nullptr, &h, false); }, "X = nil");
    ExpectRaise([&] { y.Convolve(&x, nullptr, false); }, "X = nil");
    ExpectRaise([&] { y.Convolve(&e, &h, false); }, "X.Rows*X.Cols = 0");
    ExpectRaise([&] { y.Convolve(&x, &e, false); }, "H.Rows*H.Cols = 0");
    ExpectRaise([&] { y.Convolve(&x, &z, false); }, "X.Complex or H.Complex");
    ExpectRaise([&] { x.Convolve(&x, &h, false); }, "(X = Self) or (H = Self)");
    EXPECT_EQ(y.Rows(), 0);
    y.Convolve(&x, &h, false);
    EXPECT_EQ(y.Rows(), 4);
    EXPECT_EQ(y.Cols(), 5);
    y.Convolve(&x, &h, true);
    EXPECT_EQ(y.Rows(), 3);
    EXPECT_EQ(y.Cols(), 4);
}

}  // namespace

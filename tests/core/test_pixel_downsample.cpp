// Pixel down-sampling of vectors and matrices against numpy reshape reductions and a numpy version of the
// unequally spaced rule (tests/data/gen_signal_golden.py), the checks, aliased objects and the control word.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../platform/GoldenInput.h"
#include "TestSupport.h"
#include "elem_util.h"

using namespace tarnel;
using namespace testsupport;
using elemtest::Doubles;

namespace {

struct PixelRow {
    int n, seed, index, len, width, step;
    std::vector<double> out;
};
struct Pixel1Row {
    int n, width, seed;
    std::vector<double> x, out, nx;
};
struct PixelMtxRow {
    int rows, cols, width, cplx, seed, r, c;
    std::vector<double> pattern, average, peak;
};

const PixelRow kPixel[] = {
#define SIGNAL_PIXEL
#include "signal_golden.inc"
#undef SIGNAL_PIXEL
};
const Pixel1Row kPixel1[] = {
#define SIGNAL_PIXEL1
#include "signal_golden.inc"
#undef SIGNAL_PIXEL1
};
const PixelMtxRow kPixelMtx[] = {
#define SIGNAL_PIXELMTX
#include "signal_golden.inc"
#undef SIGNAL_PIXELMTX
};

class PixelDownSample : public elemtest::ElemTest {};

void Set(TVecs& V, const std::vector<double>& D)
{
    V.SetIt(false, D);
}

TEST_F(PixelDownSample, EquallySpacedPairsAgainstNumpyReshape)
{
    TVec src, out, x, nx;
    for (const PixelRow& r : kPixel) {
        const std::string where = std::to_string(r.n) + " [" + std::to_string(r.index) + ", +" + std::to_string(r.len) +
                                  ") to " + std::to_string(r.width);
        Set(src, golden::Lcg(r.seed, r.n));
        Set(x, {5, 6, 7});
        out.PixelDownSample(r.width, src, r.index, r.len, &x, &nx, true);
        elemtest::ExpectSame(out, false, r.out, where);
        ASSERT_EQ(nx.Length(), out.Length()) << where;
        // Pairs sit step/2 apart from X[0]; a plain copy has one position per sample.
        const double gap = r.step <= 2 ? 1.0 : r.step / 2.0;
        for (int i = 0; i < nx.Length(); ++i) EXPECT_EQ(nx[i], 5 + gap * i) << where;
    }
    // The whole of Src, without positions.
    Set(src, golden::Lcg(kPixel[0].seed, 1000));
    out.PixelDownSample(100, src, nullptr, nullptr, true);
    elemtest::ExpectSame(out, false, kPixel[0].out);
}

TEST_F(PixelDownSample, UnequallySpacedBinsAgainstTheNumpyRule)
{
    TVec src, out, x, nx;
    for (const Pixel1Row& r : kPixel1) {
        const std::string where = std::to_string(r.n) + " to " + std::to_string(r.width);
        Set(src, golden::Lcg(r.seed, r.n));
        Set(x, r.x);
        out.PixelDownSample1(r.width, src, 0, r.n, &x, &nx);
        elemtest::ExpectSame(out, false, r.out, where);
        elemtest::ExpectSame(nx, false, r.nx, where + " NX");
        out.PixelDownSample(r.width, src, 0, r.n, &x, &nx, false);  // the same through the shared form
        elemtest::ExpectSame(out, false, r.out, where);
    }
    // A range with step <= 2: a copy of the range and its own positions.
    Set(src, {1, 2, 3, 4, 5, 6});
    Set(x, {0, 1, 3, 7, 8, 20});
    out.PixelDownSample1(2, src, 2, 3, &x, &nx);
    elemtest::ExpectSame(out, false, {3, 4, 5});
    elemtest::ExpectSame(nx, false, {3, 7, 8});
}

TEST_F(PixelDownSample, ChecksRunAlwaysAndInOrder)
{
    TVec src, out, x, nx, z;
    Set(src, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    Set(x, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    Set(out, {42});
    z.SetIt(true, {1, 2, 3, 4});
    out.SetConditionCheck(false);
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* msg;
    };
    TVec shortX, flat;
    Set(shortX, {1, 2});
    Set(flat, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3});
    const Case cases[] = {
        {"negative index", [&] { out.PixelDownSample(2, src, -1, 3, &x, &nx, true); }, "Index < 0"},
        {"negative length", [&] { out.PixelDownSample(2, src, 0, -3, &x, &nx, true); }, "Len < 0"},
        {"width 0", [&] { out.PixelDownSample(0, src, 0, 10, &x, &nx, true); }, "Width < 1"},
        {"range", [&] { out.PixelDownSample(2, src, 5, 6, &x, &nx, true); }, "Index+Len > Src.Length"},
        {"complex", [&] { out.PixelDownSample(2, z, 0, 2, &x, &nx, true); }, "Src.Complex = True"},
        {"no X", [&] { out.PixelDownSample1(2, src, 0, 10, nullptr, &nx); }, "(X = nil) or (NX = nil)"},
        {"no NX", [&] { out.PixelDownSample1(2, src, 0, 10, &x, nullptr); }, "(X = nil) or (NX = nil)"},
        {"X range", [&] { out.PixelDownSample1(2, src, 0, 11, &x, &nx); }, "Index+Len > Src.Length"},
        {"X length", [&] { out.PixelDownSample1(1, src, 0, 2, &shortX, &nx); }, "SrcX.Length <> SrcY.Length"},
        {"complex unequal", [&] { out.PixelDownSample1(1, z, 0, 2, &shortX, &nx); }, "Src.Complex = True"},
        {"positions not rising", [&] { out.PixelDownSample1(2, src, 0, 10, &flat, &nx); },
         "X[Index+Len-1] <= X[Index]"},
    };
    for (const Case& c : cases) {
        ExpectRaise(c.call, c.msg, c.what);
        elemtest::ExpectSame(out, false, {42}, c.what);
    }
}

TEST_F(PixelDownSample, SourcesThatAreAlsoResultsKeepTheirData)
{
    std::vector<double> d = golden::Lcg(31, 1000);
    TVec v, want, x, nx;
    Set(v, d);
    TVec copy;
    copy.Copy(v);
    want.PixelDownSample(100, copy, nullptr, nullptr, true);
    v.PixelDownSample(100, v, nullptr, nullptr, true);  // Self = Src
    elemtest::ExpectSame(v, false, Doubles(want));
    // NX = X, unequally spaced.
    Set(v, d);
    x.Size(1000);
    x.Ramp(0, 0.5);
    TVec xc, wantNx;
    xc.Copy(x);
    want.PixelDownSample1(100, v, 0, 1000, &xc, &wantNx);
    TVec out;
    out.PixelDownSample1(100, v, 0, 1000, &x, &x);
    elemtest::ExpectSame(out, false, Doubles(want));
    elemtest::ExpectSame(x, false, Doubles(wantNx));
}

TEST_F(PixelDownSample, MatrixModesAgainstNumpy)
{
    TMtx a, dst;
    for (const PixelMtxRow& r : kPixelMtx) {
        const std::string where = std::to_string(r.rows) + "x" + std::to_string(r.cols) + " to " +
                                  std::to_string(r.width) + (r.cplx ? " complex" : " real");
        const int w = r.cplx ? 2 : 1;
        std::vector<double> v = golden::Lcg(r.seed, r.rows * r.cols * w);
        for (std::size_t k = 0; k < v.size(); k += w) {
            const double mag = r.cplx ? std::hypot(v[k], v[k + 1]) : std::fabs(v[k]);
            if (mag < 0.2)
                for (int p = 0; p < w; ++p) v[k + p] = 0;
        }
        Load(a, r.rows, r.cols, r.cplx != 0, v);
        const unsigned cw = Get8087CW();
        const std::pair<TPixelDownSample, const std::vector<double>*> modes[] = {
            {pdsPattern, &r.pattern}, {pdsAverage, &r.average}, {pdsPeak, &r.peak}};
        for (const auto& [mode, want] : modes) {
            a.PixelDownSample(dst, r.width, mode);
            ASSERT_EQ(dst.Rows(), r.r) << where;
            ASSERT_EQ(dst.Cols(), r.c) << where;
            for (std::size_t k = 0; k < want->size(); ++k)
                EXPECT_NEAR(dst.Values()[k], (*want)[k], 1e-14) << where << " mode " << mode << " cell " << k;
        }
        EXPECT_EQ(Get8087CW(), cw) << where;
    }
}

TEST_F(PixelDownSample, MatrixEdges)
{
    TMtx a, dst;
    a.Size(4, 4);
    a.SetVal(1);
    ExpectRaise([&] { a.PixelDownSample(dst, 0, pdsAverage); }, "Width < 1");
    TMtx e;
    dst.Size(2, 2);
    e.PixelDownSample(dst, 10, pdsPeak);
    EXPECT_EQ(dst.Rows(), 0);
    EXPECT_EQ(dst.Cols(), 0);
    a.PixelDownSample(a, 2, pdsAverage);  // Dst = Self: read before it is zeroed
    ASSERT_EQ(a.Rows(), 2);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(a.Values()[k], 1.0);  // four ones at a quarter each
}

}  // namespace

// Vector FFT: every transform in its three calling forms against numpy.fft (tests/data/gen_vec_fft_golden.py), the
// order cache and its history, the checks of the indexed forms, and bin N/2 past the end.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
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

struct VecFftGolden {
    int order;
    int idx[8];
    double fft[16], ifft[16], rfft[16], ihfft[16];
    double irfft[8], hfft[8];
};
const VecFftGolden kGolden[] = {
#include "vec_fft_golden.inc"
};

class VecFft : public elemtest::ElemTest {};

void ExpectSameValues(const TVecs& V, const std::vector<double>& Expected)
{
    elemtest::ExpectSame(V, V.Complex(), Expected);
}

// Inputs lie in [-0.5, 0.5): every value stays below N/2, so the rounding of either library is within 1e-13·N.
double Tol(int n)
{
    return 1e-13 * n;
}

enum class TForm { InPlace, Source, Indexed };
const char* Name(TForm F)
{
    return F == TForm::InPlace ? "in place" : F == TForm::Source ? "from a source" : "indexed";
}

// The input of one transform as a vector: complex pairs or reals, with the packed bin N/2 past the end.
void Fill(TVec& V, const std::vector<double>& D, bool Complex)
{
    V.Size(static_cast<int>(D.size() / (Complex ? 2 : 1)), Complex);
    std::copy(D.begin(), D.end(), V.Values());
}

// Indexed forms work at odd offsets in longer vectors: the source from element 3, the result from element 5.
constexpr int kVecIndex = 3;
constexpr int kIndex = 5;

void FillAt(TVec& V, const std::vector<double>& D, bool Complex, int Extra)
{
    const int w = Complex ? 2 : 1;
    V.Size(static_cast<int>(D.size() / w) + kVecIndex + Extra, Complex);
    std::fill(V.Values(), V.Values() + V.Length() * w, 1e300);  // anything read outside the range shows
    std::copy(D.begin(), D.end(), V.Values() + kVecIndex * w);
}

// The result's Doubles from the start of the transformed range.
const double* ResultOf(const TVec& V, TForm F)
{
    return F == TForm::Indexed ? V.Values() + kIndex * (V.Complex() ? 2 : 1) : V.Values();
}

void ExpectPairs(const double* Got, const int* At, const double* Want, double Scale, double Tolerance)
{
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(Got[2 * At[k]], Scale * Want[2 * k], Tolerance) << "probe " << k;
        EXPECT_NEAR(Got[2 * At[k] + 1], Scale * Want[2 * k + 1], Tolerance) << "probe " << k;
    }
}

void ExpectReals(const double* Got, const int* At, const double* Want, double Scale, double Tolerance)
{
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(Got[At[k]], Scale * Want[k], Tolerance) << "probe " << k;
}

}  // namespace

// Each of the fifteen members against numpy at N = 2 .. 2^16, the inverses scaled and unscaled.
TEST_F(VecFft, EveryFormAgainstNumpy)
{
    for (const VecFftGolden& g : kGolden) {
        const int n = 1 << g.order;
        const std::vector<double> z = golden::Lcg(5000 + g.order, 2 * n);
        const std::vector<double> x = golden::Lcg(6000 + g.order, n);
        std::vector<double> packed = golden::Lcg(7000 + g.order, n + 2);
        packed[1] = packed[n + 1] = 0.0;
        int bins[8];
        for (int k = 0; k < 8; ++k) bins[k] = g.idx[k] % (n / 2 + 1);
        const double tol = Tol(n);

        for (TForm f : {TForm::InPlace, TForm::Source, TForm::Indexed}) {
            SCOPED_TRACE(std::string(Name(f)) + ", N = " + std::to_string(n));
            TVec src, dst;
            // An indexed packed transform of Len = 1 (N = 2) is below the smallest power of two the checks
            // accept: it runs with the checks off, which transform 2^floor(log2 Len) = 1 element.
            dst.SetConditionCheck(!(f == TForm::Indexed && n == 2));
            // The complex transforms.
            for (bool inverse : {false, true}) {
                for (bool noScale : {false, true}) {
                    if (!inverse && noScale) continue;
                    if (f == TForm::Indexed) {
                        FillAt(src, z, true, 2);
                        dst.Size(n + kIndex + 2, true);
                        if (inverse)
                            dst.IFFT(src, kVecIndex, kIndex, n, noScale);
                        else
                            dst.FFT(src, kVecIndex, kIndex, n);
                    } else {
                        TVec& v = f == TForm::InPlace ? dst : src;
                        Fill(v, z, true);
                        if (f == TForm::InPlace)
                            inverse ? dst.IFFT(noScale) : dst.FFT();
                        else
                            inverse ? dst.IFFT(src, noScale) : dst.FFT(src);
                        EXPECT_TRUE(dst.Complex());
                        EXPECT_EQ(dst.Length(), n);
                    }
                    ExpectPairs(ResultOf(dst, f), g.idx, inverse ? g.ifft : g.fft, noScale ? n : 1, tol);
                }
            }
            // Real samples to the packed spectrum: FFT (numpy rfft) and IFFTReal (ihfft).
            for (bool inverse : {false, true}) {
                for (bool noScale : {false, true}) {
                    if ((!inverse || f == TForm::InPlace) && noScale) continue;
                    if (f == TForm::Indexed) {
                        // FFT's destination range counts Len elements; IFFTReal's Len div 2, with bin N/2 in
                        // the room past the end.
                        FillAt(src, x, false, 2);
                        dst.Size((inverse ? n / 2 : n) + kIndex, true);
                        if (inverse)
                            dst.IFFTReal(src, kVecIndex, kIndex, n, noScale);
                        else
                            dst.FFT(src, kVecIndex, kIndex, n);
                    } else {
                        TVec& v = f == TForm::InPlace ? dst : src;
                        Fill(v, x, false);
                        if (f == TForm::InPlace)
                            inverse ? dst.IFFTReal() : dst.FFT();
                        else
                            inverse ? dst.IFFTReal(src, noScale) : dst.FFT(src);
                        EXPECT_TRUE(dst.Complex());
                        EXPECT_EQ(dst.Length(), n / 2) << "bin N/2 lies past the end";
                    }
                    ExpectPairs(ResultOf(dst, f), bins, inverse ? g.ihfft : g.rfft, noScale ? n : 1, tol);
                }
            }
            // The packed spectrum to real samples: IRealFFT (irfft) and FFTReal (hfft).
            for (bool forward : {false, true}) {
                for (bool noScale : {false, true}) {
                    if (forward && noScale) continue;
                    if (f == TForm::Indexed) {
                        FillAt(src, packed, true, 0);
                        dst.Size(n + kIndex, false);
                        if (forward)
                            dst.FFTReal(src, kVecIndex, kIndex, n / 2);
                        else
                            dst.IRealFFT(src, kVecIndex, kIndex, n / 2, noScale);
                    } else {
                        // The packed input: N/2 complex elements and bin N/2 in the room past them.
                        TVec& v = f == TForm::InPlace ? dst : src;
                        Fill(v, std::vector<double>(packed.begin(), packed.end() - 2), true);
                        v.Values()[n] = packed[n];
                        v.Values()[n + 1] = packed[n + 1];
                        if (f == TForm::InPlace)
                            forward ? dst.FFTReal() : dst.IRealFFT(noScale);
                        else
                            forward ? dst.FFTReal(src) : dst.IRealFFT(src, noScale);
                        EXPECT_FALSE(dst.Complex());
                        EXPECT_EQ(dst.Length(), n);
                    }
                    ExpectReals(ResultOf(dst, f), g.idx, forward ? g.hfft : g.irfft, noScale ? n : 1, tol);
                }
            }
        }
    }
}

// Eight samples out and back: the scaled inverse returns them, the unscaled one eight times larger.
TEST_F(VecFft, ScaledAndUnscaledRoundTripOfEightSamples)
{
    const std::vector<double> x{1, -2, 3.5, 0, 0.25, 7, -1, 2};
    for (bool noScale : {false, true}) {
        TVec v;
        v.SetIt(false, x);
        v.FFT();
        ASSERT_TRUE(v.Complex());
        ASSERT_EQ(v.Length(), 4);
        EXPECT_DOUBLE_EQ(v.CValues()[4].Re, 1 + 2 + 3.5 - 0 + 0.25 - 7 - 1 - 2) << "bin 4 past the end";
        EXPECT_EQ(v.CValues()[4].Im, 0.0);
        v.IRealFFT(noScale);
        ASSERT_FALSE(v.Complex());
        ASSERT_EQ(v.Length(), 8);
        for (int i = 0; i < 8; ++i) EXPECT_NEAR(v.Values()[i], (noScale ? 8 : 1) * x[i], 1e-14) << i;
    }
}

TEST_F(VecFft, OrderCacheAndItsHistory)
{
    struct {
        int length;
        bool pow2;
        int order;
    } const cases[] = {{0, false, 1}, {1, false, 1}, {2, true, 1}, {3, false, 2}, {1024, true, 10}, {1000, false, 10}};
    for (const auto& c : cases) {
        TVec v;
        v.SetLength(c.length);
        EXPECT_EQ(v.IsPowerOfTwo(), c.pow2) << c.length;
        EXPECT_EQ(v.FFTOrder(), c.order) << c.length;
        EXPECT_EQ(v.NotPowerOfTwo(), !c.pow2) << c.length;
    }
    {
        // Lengths past 2^30 end the count (a 32-bit p would wrap and never pass them). The array is never read.
        double cell = 0;
        TVec v;
        v.Adopt(&cell, INT_MAX, INT_MAX, false);
        EXPECT_FALSE(v.IsPowerOfTwo());
        EXPECT_EQ(v.FFTOrder(), 31);
        v.Disown();
    }
    {
        // N = 2 in place: FFT leaves one complex element with order 0 known, and IRealFFT works from it.
        TVec v;
        v.SetIt(false, {3, 1});
        v.FFT();
        EXPECT_EQ(v.FFTOrder(), 0);
        EXPECT_FALSE(v.NotPowerOfTwo());
        v.IRealFFT();
        ExpectSameValues(v, {3, 1});
    }
    {
        // The same spectrum made by FFT (Vec) has its length newly set: the check refuses one element.
        TVec x, s;
        x.SetIt(false, {3, 1});
        s.FFT(x);
        ExpectRaise([&] { s.IRealFFT(); }, "Length is not power of two!");
    }
    {
        TVec x, s;
        x.SetIt(false, {5});
        s.FFT(x);
        EXPECT_TRUE(s.Complex());
        EXPECT_EQ(s.Length(), 0);
        ExpectRaise([&] { x.FFT(); }, "Length is not power of two!");
        TVec empty;
        ExpectRaise([&] { s.IFFT(empty); }, "Length is not power of two!");
    }
    {
        // SetComplex keeps the order in step without a recount.
        TVec v;
        v.SetLength(16);
        ASSERT_TRUE(v.IsPowerOfTwo());
        v.SetComplex(true);
        EXPECT_EQ(v.FFTOrder(), 3);
        EXPECT_FALSE(v.NotPowerOfTwo());
    }
    {
        // Empty vectors: left alone, FFTReal makes them real and IFFTReal complex.
        TVec v;
        v.FFT();
        v.IFFT();
        v.IRealFFT();
        EXPECT_FALSE(v.Complex());
        v.IFFTReal();
        EXPECT_TRUE(v.Complex());
        v.FFTReal();
        EXPECT_FALSE(v.Complex());
    }
}

// A length cut by SetActualLength, and a vector emptied by Disown, must not keep the order of their old length: a
// stale order would transform 16 elements of an 8-element vector.
TEST_F(VecFft, AStaleOrderIsNeverUsed)
{
    TVec v;
    v.SetLength(16);
    ASSERT_TRUE(v.IsPowerOfTwo());
    v.SetActualLength(8);
    ASSERT_EQ(v.Length(), 8);
    EXPECT_TRUE(v.NotPowerOfTwo());
    for (int i = 0; i < 8; ++i) v.Values()[i] = i;
    v.FFT();
    EXPECT_EQ(v.Length(), 4);
    EXPECT_DOUBLE_EQ(v.CValues()[0].Re, 28.0);

    TVec w;
    w.SetLength(8);
    ASSERT_TRUE(w.IsPowerOfTwo());
    w.Disown();
    EXPECT_TRUE(w.NotPowerOfTwo());
}

// Checks of the in-place and source forms, each refusal before anything changes.
TEST_F(VecFft, KindsAndSelfAreAlwaysChecked)
{
    TVec real, cplx, s;
    real.SetIt(false, {1, 2, 3, 4});
    cplx.SetIt(true, {1, 2, 3, 4});
    const std::vector<double> before = Doubles(real);
    struct {
        std::function<void()> call;
        const char* text;
    } const cases[] = {
        {[&] { real.IFFT(); }, "Complex = False"},      {[&] { real.IRealFFT(); }, "Complex = False"},
        {[&] { real.FFTReal(); }, "not Complex"},       {[&] { cplx.IFFTReal(); }, "Complex = True"},
        {[&] { s.IFFT(real); }, "Vec.Complex = False"}, {[&] { s.IRealFFT(real); }, "Vec.Complex = False"},
        {[&] { s.FFTReal(real); }, "not Complex"},      {[&] { s.IFFTReal(cplx); }, "Complex = True"},
        {[&] { real.FFT(real); }, "Self = Vec"},        {[&] { cplx.IRealFFT(cplx); }, "Self = Vec"},
        {[&] { cplx.FFTReal(cplx); }, "Vec = Self"},    {[&] { real.IFFTReal(real); }, "Vec = Self"},
    };
    for (const auto& c : cases) {
        for (bool on : {true, false}) {
            real.SetConditionCheck(on);
            cplx.SetConditionCheck(on);
            s.SetConditionCheck(on);
            ExpectRaise(c.call, c.text);
        }
    }
    ExpectSameValues(real, before);
    EXPECT_EQ(s.Length(), 0);
    // A refused order check of a source form leaves Self as it was.
    TVec odd;
    odd.SetIt(true, {1, 2, 3, 4, 5, 6});
    s.SetIt(false, {9});
    ExpectRaise([&] { s.FFT(odd); }, "Length is not power of two!");
    ExpectSameValues(s, {9});
    EXPECT_FALSE(s.Complex());
}

TEST_F(VecFft, IfftOfItselfTransformsInPlace)
{
    TVec v, w;
    v.SetIt(true, {1, 2, 3, -4});
    w.SetIt(true, {1, 2, 3, -4});
    v.IFFT(v, true);
    w.IFFT(true);
    ExpectSameValues(v, Doubles(w));
    ExpectSameValues(v, {4, -2, -2, 6});
}

// The indexed forms: every text in its order, Self unchanged; with ConditionCheck off only the power-of-two
// refusal is skipped.
TEST_F(VecFft, IndexedChecksInOrder)
{
    TVec c8, r8, c4, r4;
    c8.SetLength(8);
    c8.SetComplex(true);  // 4 complex elements
    r8.SetLength(8);
    c4.Size(4, true);
    r4.SetLength(4);
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* text;
        bool gated;  // only with ConditionCheck
    };
    const Case cases[] = {
        {"FFT negative", [&] { c4.FFT(c8, 0, -1, 2); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)", false},
        {"FFT source", [&] { c4.FFT(c8, 3, 0, 2); }, "VecIndex + Len) > Vec.Length", false},
        {"FFT destination", [&] { c4.FFT(c8, 0, 3, 2); }, "(Index + Len) > Length", false},
        {"FFT power", [&] { c4.FFT(r8, 0, 0, 3); }, "Len is not power of two!", true},
        {"FFT Len 0", [&] { c4.FFT(c8, 0, 0, 0); }, "Len is not power of two!", true},
        {"FFT kind", [&] { r4.FFT(c8, 0, 0, 2); }, "Complex = False", false},
        {"FFT self", [&] { c4.FFT(c4, 0, 0, 2); }, "Self = Vec", false},
        {"IFFT power", [&] { c4.IFFT(c8, 0, 0, 3); }, "Len is not power of two!", true},
        {"IFFT Vec kind", [&] { c4.IFFT(r8, 0, 0, 2); }, "Vec.Complex = False", false},
        {"IRealFFT 2·Len", [&] { r4.IRealFFT(c8, 0, 1, 2); }, "(Index + Len) > Length", false},
        {"IRealFFT Len 0", [&] { r4.IRealFFT(c8, 0, 0, 0); }, "Len must be power of two!", true},
        {"IRealFFT kind", [&] { c4.IRealFFT(c8, 0, 0, 2); }, "Complex = True", false},
        {"IRealFFT Vec kind", [&] { r4.IRealFFT(r8, 0, 0, 2); }, "Vec.Complex = False", false},
        {"FFTReal negative", [&] { r4.FFTReal(c8, -1, 0, 2); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)", false},
        {"FFTReal 2·Len", [&] { r4.FFTReal(c8, 0, 2, 2); }, "(Index + Len) > Length", false},
        {"FFTReal Vec kind", [&] { r8.FFTReal(r4, 0, 0, 2); }, "Vec.Complex = False", false},
        {"IFFTReal negative", [&] { c4.IFFTReal(r8, 0, 0, -2); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)", false},
        {"IFFTReal destination", [&] { c4.IFFTReal(r8, 0, 1, 8); }, "(Index + (Len div 2)) > Length", false},
        {"IFFTReal power", [&] { c4.IFFTReal(r8, 0, 0, 6); }, "Len must be power of two!", true},
        {"IFFTReal kind", [&] { r4.IFFTReal(r8, 0, 0, 4); }, "Complex = False", false},
        {"IFFTReal Vec kind", [&] { c4.IFFTReal(c8, 0, 0, 4); }, "Vec.Complex = True", false},
        {"IFFTReal self", [&] { c4.IFFTReal(c4, 0, 0, 2); }, "Vec.Complex = True", false},
    };
    for (const Case& c : cases) {
        for (bool on : {true, false}) {
            for (TVec* v : {&c8, &r8, &c4, &r4}) {
                v->SetConditionCheck(on);
                std::fill(v->Values(), v->Values() + 8, 1.0);
            }
            if (on || !c.gated) {
                ExpectRaise(c.call, c.text, c.what);
                for (TVec* v : {&c4, &r4}) {
                    for (int i = 0; i < 4 * (v->Complex() ? 2 : 1); ++i) EXPECT_EQ(v->Values()[i], 1.0) << c.what;
                }
            } else {
                EXPECT_NO_THROW(c.call()) << c.what;
            }
        }
    }
}

// Len 6 with the checks off transforms the first 4 elements, as the in-place FFT of those 4 does.
TEST_F(VecFft, IndexedLenSixWithChecksOffTransformsFour)
{
    const std::vector<double> z{1, 0, 2, -1, 0.5, 3, -2, 1, 7, 7, 9, 9};
    TVec src, dst, four;
    src.SetIt(true, z);
    dst.Size(6, true);
    std::fill(dst.Values(), dst.Values() + 12, -5.0);
    ExpectRaise([&] { dst.FFT(src, 0, 0, 6); }, "Len is not power of two!");
    dst.SetConditionCheck(false);
    dst.FFT(src, 0, 0, 6);
    four.SetIt(true, std::vector<double>(z.begin(), z.begin() + 8));
    four.FFT();
    for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(dst.Values()[i], four.Values()[i]) << i;
    for (int i = 8; i < 12; ++i) EXPECT_EQ(dst.Values()[i], -5.0) << "past the transformed elements";
}

// Bin N/2 past the end of a view is its parent's next element: transforms that would touch it refuse, in place, from
// a source and indexed, and the parent is left as it was.
TEST_F(VecFft, NoRoomPastLengthForBinNHalf)
{
    TVec parent, view, s;
    parent.SetIt(false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const std::vector<double> before = Doubles(parent);
    view.SetSubRange(parent, 0, 8);
    ExpectRaise([&] { view.FFT(); }, "No room past Length for bin N/2");
    view.SetFullRange();
    ExpectSameValues(parent, before);

    view.SetComplex(true);
    view.SetSubRange(parent, 0, 4);  // 4 of the 5 complex elements the 10 reals hold
    for (const auto& call : std::vector<std::function<void()>>{[&] { view.IRealFFT(); }, [&] { view.FFTReal(); },
                                                               [&] { s.IRealFFT(view); }, [&] { s.FFTReal(view); }}) {
        ExpectRaise(call, "No room past Length for bin N/2");
    }
    view.SetFullRange();
    ExpectSameValues(parent, before);

    // Indexed: bin Len of the source, or bin Len/2 of the destination, past the vector's own memory.
    TVec c2, r8;
    r8.SetIt(false, {1, 2, 3, 4, 5, 6, 7, 8});
    c2.Size(2, true);
    c2.SetSubRange(parent, 1, 2);  // a complex view with no room past it
    TVec out;
    out.SetLength(4);
    ExpectRaise([&] { out.IRealFFT(c2, 0, 0, 2); }, "No room past Length for bin N/2");
    ExpectRaise([&] { c2.IFFTReal(r8, 0, 0, 4); }, "No room past Length for bin N/2");
    c2.SetFullRange();
    ExpectSameValues(parent, before);

    // An owning vector has the room: the same indexed calls work at the end of its data.
    TVec own;
    own.Size(2, true);
    own.IFFTReal(r8, 0, 0, 4);
    EXPECT_DOUBLE_EQ(own.CValues()[0].Re, (1 + 2 + 3 + 4) / 4.0);
    EXPECT_DOUBLE_EQ(own.CValues()[2].Re, (1 - 2 + 3 - 4) / 4.0) << "bin 2 in the room past the end";
}

// Copying a packed spectrum takes bin N/2 along, so the copy transforms back like the original.
TEST_F(VecFft, CopyKeepsBinNHalf)
{
    const std::vector<double> x{1, -2, 3.5, 0, 0.25, 7, -1, 2};
    TVec s, s2, back;
    s.SetIt(false, x);
    s.FFT();
    s2.Copy(s);
    back.IRealFFT(s2);
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(back.Values()[i], x[i], 1e-14) << i;
}

// Matrix element-wise arithmetic and complex parts against the numpy tables of
// tests/data/gen_fills_mtx_golden.py, on non-square real and complex operands.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace {

using namespace tarnel;
using namespace testsupport;

#include "../data/fills_mtx_golden.inc"

class MtxArith : public PoolCheck {
protected:
    void TearDown() override
    {
        PoolCheck::TearDown();
        SetMtxConditionCheck(true);
    }
};

std::vector<double> DoublesOf(const TMtx& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return std::vector<double>(M.Values(), M.Values() + n);
}

// Within Ulps units in the last place of the expected value (0: bit for bit, NaN equal to NaN).
void ExpectMtx(const TMtx& M, const GoldMtx& G, bool Complex, int Ulps, const std::string& Where)
{
    ASSERT_EQ(M.Rows(), G.Rows) << Where;
    ASSERT_EQ(M.Cols(), G.Cols) << Where;
    ASSERT_EQ(M.Complex(), Complex) << Where;
    const std::vector<double> got = DoublesOf(M);
    for (std::size_t i = 0; i < got.size(); ++i) {
        const double e = G.V[i];
        if (std::isnan(e)) {
            EXPECT_TRUE(std::isnan(got[i])) << Where << ": Double " << i;
            continue;
        }
        const double tol = Ulps * (std::nextafter(std::fabs(e), INFINITY) - std::fabs(e));
        EXPECT_LE(std::fabs(got[i] - e), tol) << Where << ": Double " << i << " is " << got[i] << ", expected " << e;
    }
}

TEST_F(MtxArith, EveryMemberAgainstNumpy)
{
    TMtx a, b, z, w, r;
    Load(a, kMA, false);
    Load(b, kMB, false);
    Load(z, kMZ, true);
    Load(w, kMW, true);
    struct Case {
        const char* what;
        std::function<void()> run;
        const GoldMtx* expected;
        bool complex;
        int ulps;  // 0: bit for bit
    };
    // The sums, differences and products are exact operations of numpy's too; the roots agree to 1 ulp and BLAS's
    // scaled sums may fuse.
    const Case cases[] = {
        {"Add(Mtx1, Mtx2)", [&] { r.Add(a, b); }, &kMAplusB, false, 0},
        {"Add(Mtx)", [&] { r.Copy(z), r.Add(w); }, &kMZplusW, true, 0},
        {"Add(M, 2, -1)", [&] { r.Copy(z), r.Add(w, 2, -1); }, &kMZplus2m1iW, true, 2},
        {"real Add(M, 2)", [&] { r.Copy(a), r.Add(b, 2); }, &kMAplus2B, false, 1},
        {"Sub(Mtx1, Mtx2)", [&] { r.Sub(z, w); }, &kMZminusW, true, 0},
        {"Sub(Mtx)", [&] { r.Copy(a), r.Sub(b); }, &kMAminusB, false, 0},
        {"MulElem(Mtx1, Mtx2) real", [&] { r.MulElem(a, b); }, &kMAtimesB, false, 0},
        {"MulElem(Mtx1, Mtx2) complex", [&] { r.MulElem(z, w); }, &kMZtimesW, true, 0},
        {"MulElem(Mtx)", [&] { r.Copy(z), r.MulElem(w); }, &kMZtimesW, true, 0},
        {"Abs(Mtx)", [&] { r.Abs(a); }, &kMAbsA, false, 0},
        {"Abs in place", [&] { r.Copy(a), r.Abs(); }, &kMAbsA, false, 0},
        {"Abs of complex", [&] { r.Abs(z); }, &kMMagZ, false, 1},
        {"SqrElem(Mtx)", [&] { r.SqrElem(a); }, &kMSqrA, false, 0},
        {"SqrtElem(Mtx) real", [&] { b.Abs(a), r.SqrtElem(b); }, &kMSqrtAbsA, false, 1},
        {"SqrtElem(Mtx) complex", [&] { r.SqrtElem(z); }, &kMSqrtZ, true, 1},
        {"Mag", [&] { r.Mag(z); }, &kMMagZ, false, 1},
        {"Phase", [&] { r.Phase(z); }, &kMAngleZ, false, 1},
        {"RealPart", [&] { r.RealPart(z); }, &kMRealZ, false, 0},
        {"RealPart of real", [&] { r.RealPart(a); }, &kMA, false, 0},
        {"ImagPart", [&] { r.ImagPart(z); }, &kMImagZ, false, 0},
        {"Conj(Mtx)", [&] { r.Conj(z); }, &kMConjZ, true, 0},
        {"Conj in place", [&] { r.Copy(z), r.Conj(); }, &kMConjZ, true, 0},
        {"Conj of real", [&] { r.Conj(a); }, &kMA, false, 0},
        {"Round(Mtx)", [&] { r.Round(a); }, &kMRintA, false, 0},
        {"Round in place", [&] { r.Copy(a), r.Round(); }, &kMRintA, false, 0},
        {"Trunc(Mtx)", [&] { r.Trunc(z); }, &kMTruncZ, true, 0},
        {"Trunc in place", [&] { r.Copy(z), r.Trunc(); }, &kMTruncZ, true, 0},
    };
    for (const Case& c : cases) {
        c.run();
        if (c.expected) ExpectMtx(r, *c.expected, c.complex, c.ulps, c.what);
    }
}

TEST_F(MtxArith, SourceFormsAgreeBitForBitWithInPlace)
{
    TMtx z, r, s;
    Load(z, kMZ, true);
    // Negative, zero and signed-zero parts: the principal roots of C99.
    z.CValues()[1] = TCplx{-0.0, -4.0};
    z.CValues()[2] = TCplx{-9.0, -0.0};
    z.CValues()[3] = TCplx{0.0, 0.0};
    for (bool complex : {false, true}) {
        if (!complex) r.RealPart(z), z.Copy(r);
        r.SqrElem(z);
        s.Copy(z);
        s.SqrElem();
        EXPECT_EQ(DoublesOf(r), DoublesOf(s)) << "SqrElem " << complex;
        r.SqrtElem(z);
        s.Copy(z);
        s.SqrtElem();
        const std::vector<double> x = DoublesOf(r), y = DoublesOf(s);
        ASSERT_EQ(x.size(), y.size());
        for (std::size_t i = 0; i < x.size(); ++i)
            EXPECT_EQ(std::memcmp(&x[i], &y[i], sizeof(double)), 0) << "SqrtElem " << complex << " Double " << i;
        if (!complex) Load(z, kMZ, true);
    }
}

TEST_F(MtxArith, PolarFormsAndParts)
{
    TMtx z, m, p, r;
    Load(z, kMZ, true);
    z.CartToPolar(m, p);
    ExpectMtx(m, kMMagZ, false, 1, "CartToPolar magnitudes");
    ExpectMtx(p, kMAngleZ, false, 1, "CartToPolar phases");
    ExpectMtx(z, kMZ, true, 0, "Self unchanged");
    // cos and sin of the phases against numpy's exp: parts near zero carry the magnitude's rounding.
    r.PolarToCart(m, p);
    ASSERT_EQ(r.Complex(), true);
    const std::vector<double> got = DoublesOf(r);
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], kMPolar.V[i], 1e-14) << "PolarToCart " << i;
    TMtx re, im;
    re.RealPart(z);
    im.ImagPart(z);
    r.RealToCplx(re, im);
    ExpectMtx(r, kMZ, true, 0, "RealToCplx");
}

TEST_F(MtxArith, ScalarsThresholdsReciprocals)
{
    TMtx m;
    m.SetIt(1, 3, false, {4, 0.1, -0.2});
    m.InvElem(0.5);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{0.25, 2, -2}));
    m.Scale(1);
    m.Scale(TCplx{1, 0});
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{0.25, 2, -2})) << "a factor of 1 changes nothing";
    m.Scale(TCplx{2, 0});
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{0.5, 4, -4}));
    ExpectRaise([&] { m.Scale(TCplx{2, 3}); }, "TMtx.Scale: Not Complex");
    ExpectRaise([&] { m.Offset(TCplx{1, 1}); }, "TMtx.Offset: Not Complex");
    m.ThreshBottom(-1).ThreshTop(3);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{0.5, 3, -1}));
    m.Offset(1.5);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{2, 4.5, 0.5}));
    TMtx c;
    c.SetIt(1, 2, true, {1, 1, -2, 0});
    c.Offset(1);
    c.Scale(TCplx{0, 1});
    c.Offset(TCplx{0, 1});
    EXPECT_EQ(DoublesOf(c), (std::vector<double>{-1, 3, 0, 0}));
    ExpectRaise([&] { c.Abs(); }, "Complex = True");
    c.Size(0, 0, true);
    c.Abs();
    // Rounding stays in floating point: nothing saturates at the 32-bit range.
    m.SetIt(1, 4, false, {3e9, -3e9, -2.7, 2.5});
    TMtx t;
    t.Trunc(m);
    EXPECT_EQ(DoublesOf(t), (std::vector<double>{3e9, -3e9, -2, 2}));
    m.Round();
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{3e9, -3e9, -3, 2}));
}

// Each refusal: its text with ConditionCheck on and off (Off = "" where the call then runs), Self unchanged.
TEST_F(MtxArith, ChecksInOrderWithConditionCheckOnAndOff)
{
    TMtx r, a, a2, e, z, big, wide, longer;
    a.SetIt(2, 3, false, {1, 2, 3, 4, 5, 6});
    a2.SetIt(2, 3, false, {1, 1, 1, 1, 1, 1});
    z.SetIt(2, 3, true, {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0});
    big.Size(3, 3, false);
    wide.Size(1, 6, false);
    longer.Size(2, 4, false);
    struct Case {
        const char* what;
        std::function<void()> run;
        const char* on;
        const char* off;
    };
    const Case cases[] = {
        {"Add rows", [&] { r.Add(big); }, "Mtx.Rows <> Rows", ""},
        {"Add short", [&] { r.Add(e); }, "Mtx.Rows <> Rows", "Mtx.Rows <> Rows"},
        {"Add same count", [&] { r.Add(wide); }, "Mtx.Rows <> Rows", ""},
        {"Add kinds", [&] { r.Add(z); }, "Mtx.Complex <> Complex", "Mtx.Complex <> Complex"},
        {"Add self", [&] { r.Add(r); }, "Mtx = Self", ""},
        {"Add complex factor", [&] { r.Add(a2, 1, 1); }, "TMtx.Add: Not Complex", "TMtx.Add: Not Complex"},
        {"Sub empty", [&] { r.Sub(e); }, "Mtx.Rows = 0", "Mtx.Rows <> Rows"},
        {"Sub kinds", [&] { r.Sub(z); }, "Mtx.Complex <> Complex", "Mtx.Complex <> Complex"},
        {"MulElem empty", [&] { r.MulElem(e); }, "Length = 0", ""},
        {"MulElem kinds", [&] { r.MulElem(z); }, "Complex <> Vec.Complex", "Complex <> Vec.Complex"},
        {"MulElem larger", [&] { r.MulElem(big); }, "Mtx.Rows*Mtx.Cols <> Rows*Cols", "Mtx.Rows*Mtx.Cols <> Rows*Cols"},
        {"Add(M1, M2) rows", [&] { r.Add(a, big); }, "Mtx2.Rows <> Mtx1.Rows", ""},
        {"Add(M1, M2) short", [&] { r.Add(big, a); }, "Mtx2.Rows <> Mtx1.Rows", "Mtx2.Rows <> Mtx1.Rows"},
        {"Add(M1, M2) cols", [&] { r.Add(a, longer); }, "Mtx2.Cols <> Mtx1.Cols ", ""},
        {"Add(M1, M2) kinds", [&] { r.Add(a, z); }, "Mtx1.Complex <> Mtx2.Complex", "Mtx1.Complex <> Mtx2.Complex"},
        {"Add(M1, M2) self", [&] { r.Add(r, a); }, "(Self = Mtx1) or (Self = Mtx2)", ""},
        {"Sub(M1, M2) empty", [&] { r.Sub(e, a); }, "Mtx1.Rows*Mtx1.Cols = 0 ", ""},
        {"Sub(M1, M2) cols", [&] { r.Sub(a, wide); }, "Mtx1.Rows <> Mtx2.Rows", ""},
        {"MulElem(M1, M2) count", [&] { r.MulElem(big, a); }, "Mtx1.Rows*Mtx1.Cols", "Mtx1.Rows*Mtx1.Cols"},
        {"MulElem(M1, M2) self", [&] { r.MulElem(r, a); }, "(Mtx1 = Self) or (Mtx1 = Self)", ""},
        {"Abs(Self)", [&] { r.Abs(r); }, "Self = Mtx", "Self = Mtx"},
        {"InvElem(Self)", [&] { r.InvElem(r, 0.1); }, "Self = SrcMtx", "Self = SrcMtx"},
        {"SqrElem(Self)", [&] { r.SqrElem(r); }, "Mtx = Self", "Mtx = Self"},
        {"ImagPart of real", [&] { r.ImagPart(a); }, "Mtx.Complex = False", "Mtx.Complex = False"},
        {"Mag of empty", [&] { r.Mag(e); }, "Mtx.Rows*Mtx.Cols = 0", ""},
        {"CartToPolar real", [&] { r.CartToPolar(a, a2); }, "Not complex!", "Not complex!"},
        {"PolarToCart empty", [&] { r.PolarToCart(e, a); }, "AmpltMtx.Rows*AmpltMtx.Cols = 0 ", ""},
        {"PolarToCart cols", [&] { r.PolarToCart(a, wide); }, "PhaseMtx.Rows <> AmpltMtx.Rows", ""},
        {"PolarToCart short", [&] { r.PolarToCart(big, a); }, "PhaseMtx.Rows <> AmpltMtx.Rows",
         "PhaseMtx.Rows <> AmpltMtx.Rows"},
        {"RealToCplx empty", [&] { r.RealToCplx(a, e); }, "ImMtx.Rows*ImMtx.Cols = 0 ", "ReMtx.Rows <> ImMtx.Rows"},
        {"RealToCplx self", [&] { r.RealToCplx(r, a); }, "(ReMtx = Self) or (ImMtx = Self)", ""},
    };
    for (bool on : {true, false}) {
        for (const Case& c : cases) {
            r.SetIt(2, 3, false, {6, 5, 4, 3, 2, 1});
            r.SetConditionCheck(on);
            const char* text = on ? c.on : c.off;
            if (*text) {
                ExpectRaise(c.run, text, std::string(c.what) + (on ? " (on)" : " (off)"));
                EXPECT_EQ(DoublesOf(r), (std::vector<double>{6, 5, 4, 3, 2, 1})) << c.what << " changed Self";
            } else {
                EXPECT_NO_THROW(c.run()) << c.what;
            }
        }
    }
}

TEST_F(MtxArith, EmptyOperands)
{
    TMtx r, e, z;
    r.SetIt(1, 2, false, {1, 2});
    e.Size(0, 0, true);
    z.SetIt(1, 1, true, {1, 2});
    r.SetConditionCheck(false);
    r.Add(e, z);
    EXPECT_EQ(r.Rows(), 0);
    EXPECT_TRUE(r.Complex()) << "0 × 0 with Mtx1's kind";
    r.SetIt(1, 2, false, {1, 2});
    r.Abs(e);
    r.SqrElem(e);
    EXPECT_EQ(DoublesOf(r), (std::vector<double>{1, 2})) << "an empty source leaves Self as it is";
}

// Matrices adopting overlapping pieces of one buffer compute as distinct matrices would.
TEST_F(MtxArith, OverlappingAdoptedArrays)
{
    std::vector<double> buf(12);
    for (int i = 0; i < 12; ++i) buf[i] = i + 1;
    const std::vector<double> orig = buf;
    TMtx p, q, pc, qc, expect;
    p.Adopt(buf.data() + 2, 10, 2, 3, false);
    q.Adopt(buf.data(), 12, 2, 3, false);
    pc.SetIt(2, 3, false, std::vector<double>(orig.begin() + 2, orig.begin() + 8));
    qc.SetIt(2, 3, false, std::vector<double>(orig.begin(), orig.begin() + 6));
    expect.Copy(pc);
    expect.Add(qc);
    p.Add(q);
    EXPECT_EQ(DoublesOf(p), DoublesOf(expect)) << "in place";
    buf = orig;
    p.Adopt(buf.data() + 2, 10, 2, 3, false);
    q.Adopt(buf.data(), 12, 2, 3, false);
    p.SetConditionCheck(false);
    p.MulElem(q, pc);  // Self overlaps its first source's data
    expect.MulElem(qc, pc);
    EXPECT_EQ(DoublesOf(p), DoublesOf(expect)) << "from sources";
    q.Disown();
    p.Disown();
}

}  // namespace

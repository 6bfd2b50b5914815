// The Sylvester equation, outer products and rank-1 updates, Vandermonde matrices, widening to complex, SetIt, block
// zeroing and Disown, against tests/data/gen_fills_mtx_golden.py (scipy's dtrsyl/ztrsyl, a Kronecker-form solve,
// numpy's outer and vander).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace {

using namespace tarnel;
using namespace testsupport;

#include "../data/fills_mtx_golden.inc"

class MtxSmall : public PoolCheck {};

std::vector<double> DoublesOf(const TMtx& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return std::vector<double>(M.Values(), M.Values() + n);
}

void ExpectNearMtx(const TMtx& M, const GoldMtx& G, bool Complex, double Tol, const std::string& Where)
{
    ASSERT_EQ(M.Rows(), G.Rows) << Where;
    ASSERT_EQ(M.Cols(), G.Cols) << Where;
    ASSERT_EQ(M.Complex(), Complex) << Where;
    const std::vector<double> got = DoublesOf(M);
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], G.V[i], Tol * std::fmax(1.0, std::fabs(G.V[i]))) << Where << ": Double " << i;
}

TMtxOperation Op(char C)
{
    return C == 'N' ? opNone : (C == 'T' ? opTran : opHerm);
}

TEST_F(MtxSmall, SylvesterRealAgainstScipy)
{
    TMtx a, b, c, x;
    Load(a, kSylA, false);
    Load(b, kSylB, false);
    Load(c, kSylC, false);
    ASSERT_TRUE(kSylA.V[3] != 0 || kSylA.V[7] != 0) << "A holds a 2 × 2 block";
    EXPECT_EQ(x.Sylvester(a, b, c, siPlus), 1.0);
    ExpectNearMtx(x, kSylXdtrsylNN, false, 0, "dtrsyl N N +");
    EXPECT_EQ(x.Info(), 0);
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
    struct Case {
        const GoldMtx* x;
        char opa, opb;
        TSign sign;
    };
    const Case cases[] = {{&kSylXNNP, 'N', 'N', siPlus}, {&kSylXNNM, 'N', 'N', siMinus},
                          {&kSylXNTP, 'N', 'T', siPlus}, {&kSylXNTM, 'N', 'T', siMinus},
                          {&kSylXTNP, 'T', 'N', siPlus}, {&kSylXTNM, 'T', 'N', siMinus},
                          {&kSylXTTP, 'T', 'T', siPlus}, {&kSylXTTM, 'T', 'T', siMinus}};
    for (const Case& k : cases) {
        x.Sylvester(a, b, c, k.sign, Op(k.opa), Op(k.opb));
        ExpectNearMtx(x, *k.x, false, 1e-12, std::string("real ") + k.opa + k.opb);
    }
    // opHerm of real data is the transpose.
    x.Sylvester(a, b, c, siMinus, opHerm, opNone);
    ExpectNearMtx(x, kSylXTNM, false, 1e-12, "real H N");
}

TEST_F(MtxSmall, SylvesterComplexEveryOperation)
{
    TMtx a, b, c, x;
    Load(a, kSylZA, true);
    Load(b, kSylZB, true);
    Load(c, kSylZC, true);
    EXPECT_EQ(x.Sylvester(a, b, c, siMinus, opNone, opHerm), 1.0);
    ExpectNearMtx(x, kSylZXztrsylNCM, true, 1e-14, "ztrsyl N C -");
    const GoldMtx* gold[3][3][2] = {{{&kSylZXNNP, &kSylZXNNM}, {&kSylZXNTP, &kSylZXNTM}, {&kSylZXNCP, &kSylZXNCM}},
                                    {{&kSylZXTNP, &kSylZXTNM}, {&kSylZXTTP, &kSylZXTTM}, {&kSylZXTCP, &kSylZXTCM}},
                                    {{&kSylZXCNP, &kSylZXCNM}, {&kSylZXCTP, &kSylZXCTM}, {&kSylZXCCP, &kSylZXCCM}}};
    const char ops[] = "NTC";
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int s = 0; s < 2; ++s) {
                x.Sylvester(a, b, c, s == 0 ? siPlus : siMinus, Op(ops[i]), Op(ops[j]));
                EXPECT_EQ(x.Info(), 0);
                ExpectNearMtx(x, *gold[i][j][s], true, 1e-12, std::string("complex ") + ops[i] + ops[j]);
            }
        }
    }
    // The operands are left as they were (the conjugates are pooled copies).
    ExpectNearMtx(a, kSylZA, true, 0, "A unchanged");
}

TEST_F(MtxSmall, SylvesterSelfAsOperandAndRefusals)
{
    TMtx a, b, c, x;
    Load(a, kSylA, false);
    Load(b, kSylB, false);
    Load(c, kSylC, false);
    c.Sylvester(a, b, c, siPlus);
    ExpectNearMtx(c, kSylXNNP, false, 1e-12, "Self = C");
    TMtx one, two, six;
    one.SetIt(1, 1, false, {1});
    two.SetIt(1, 1, false, {2});
    six.SetIt(1, 1, false, {6});
    x.Sylvester(one, two, six, siPlus);
    EXPECT_EQ(DoublesOf(x), std::vector<double>{2});
    x.Sylvester(one, two, six, siMinus);
    EXPECT_EQ(DoublesOf(x), std::vector<double>{-6});
    // Self = A: A's data are copied before Self is sized.
    TMtx s;
    s.SetIt(1, 1, false, {1});
    s.Sylvester(s, two, six, siPlus);
    EXPECT_EQ(DoublesOf(s), std::vector<double>{2});

    TMtx general, zc;
    general.SetIt(3, 3, false, {1, 2, 3, 4, 5, 6, 0, 7, 8});  // two neighbouring subdiagonal entries
    Load(zc, kSylZC, true);
    TMtx tri;
    tri.SetIt(2, 2, true, {1, 0, 2, 0, 1e-3, 0, 3, 0});  // complex: upper triangular only
    struct Case {
        std::function<void()> run;
        const char* text;
    };
    const Case cases[] = {
        {[&] { x.Sylvester(a, b, zc, siPlus); }, "A.Complex <> B.Complex"},
        {[&] { x.Sylvester(c, b, c, siPlus); }, "not A.Quadratic"},
        {[&] { x.Sylvester(a, c, c, siPlus); }, "not A.Quadratic"},
        {[&] { x.Sylvester(a, b, b, siPlus); }, "C.Rows <> A.Rows"},
        {[&] { x.Sylvester(a, a, c, siPlus); }, "C.Cols <> A.Cols"},
        {[&] { x.Sylvester(general, b, c, siPlus); }, "A is not upper quasi-triangular"},
        {[&] { x.Sylvester(a, general, a, siPlus); }, "B is not upper quasi-triangular"},
        {[&] { x.Sylvester(tri, tri, tri, siPlus); }, "A is not upper quasi-triangular"},
    };
    for (bool on : {true, false}) {
        x.SetConditionCheck(on);
        for (const Case& k : cases) ExpectRaise(k.run, k.text, on ? "on" : "off");
    }
}

TEST_F(MtxSmall, TensorProdOuterAndUpdate)
{
    TVec v1, v2, c1, c2;
    v1.SetIt(false, kV1);
    v2.SetIt(false, kV2);
    c1.SetIt(true, kC1);
    c2.SetIt(true, kC2);
    TMtx m;
    m.TensorProd(v1, v2);
    ExpectNearMtx(m, kOuterV1V2, false, 0, "real outer");
    m.TensorProd(c1, c2);
    ExpectNearMtx(m, kOuterC1C2, true, 0, "complex outer");
    m.TensorProd(c1, c2, false, true);
    ExpectNearMtx(m, kOuterC1C2H, true, 0, "Vec1·Vec2ᴴ");
    m.TensorProd(v1, c2, false, true);
    ExpectNearMtx(m, kOuterV1C2H, true, 0, "real by complex, conjugated");
    // Updates conjugate Vec2 too (ZGERU on a conjugated copy); BLAS may fuse.
    for (bool conj : {false, true}) {
        Load(m, kUpdS0, true);
        m.SetAlpha(TCplx{kUpdAlphaRe, kUpdAlphaIm});
        m.TensorProd(c1, c2, true, conj);
        ExpectNearMtx(m, conj ? kUpdC1C2H : kUpdC1C2, true, 1e-15, conj ? "update, conjugated" : "update");
        EXPECT_EQ(m.Alpha().Re, 1.0);
        EXPECT_EQ(m.Beta().Re, 0.0);
    }
    TVec p, q;
    p.SetIt(false, {1, 2});
    q.SetIt(false, {3, 4, 5});
    m.Size(2, 3, false);
    m.SetZero();
    m.SetAlpha(TCplx{2, 0});
    m.TensorProd(p, q, true, false);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{6, 8, 10, 12, 16, 20}));
    EXPECT_EQ(m.Alpha().Re, 1.0);
    ExpectRaise([&] { m.TensorProd(p, c2, true, false); }, "Vec1.Complex <> Vec2.Complex");
    ExpectRaise([&] { m.TensorProd(q, q, true, false); }, "Vec1.Length <> FRows");
    ExpectRaise([&] { m.TensorProd(p, p, true, false); }, "Vec1.Length <> FCols");
    TVec pc, qc;
    pc.SetIt(true, {1, 0, 2, 0});
    qc.SetIt(true, {3, 0, 4, 0, 5, 0});
    m.SetConditionCheck(false);
    ExpectRaise([&] { m.TensorProd(pc, qc, true, false); }, "Vec1.Complex <> Complex");
    ExpectRaise([&] { m.TensorProd(p, p, true, false); }, "Vec1.Length <> FCols");
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{6, 8, 10, 12, 16, 20})) << "unchanged after the refusals";
}

TEST_F(MtxSmall, VanderMonde)
{
    TVec v, c;
    v.SetIt(false, kV1);
    c.SetIt(true, kC1);
    TMtx m;
    m.VanderMonde(5, v);
    ExpectNearMtx(m, kVanderV1, false, 0, "real");
    m.VanderMonde(4, c);
    ExpectNearMtx(m, kVanderC1, true, 1e-15, "complex");
    TVec s;
    s.SetIt(false, {2, 3});
    m.VanderMonde(3, s);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{4, 2, 1, 9, 3, 1}));
}

TEST_F(MtxSmall, ExtendToComplexSetItSetZeroDisown)
{
    TMtx m, r;
    struct Case {
        bool zero;
        std::vector<double> expected;
    };
    for (const Case& k : {Case{false, {1, 1, 2, 2}}, Case{true, {1, 0, 2, 0}}}) {
        m.SetIt(1, 2, false, {1, 2});
        m.ExtendToComplex(k.zero);
        EXPECT_TRUE(m.Complex());
        EXPECT_EQ(DoublesOf(m), k.expected) << "in place " << k.zero;
        m.SetIt(1, 2, false, {1, 2});
        r.ExtendToComplex(m, k.zero);
        EXPECT_EQ(DoublesOf(r), k.expected) << "from SrcMtx " << k.zero;
    }
    m.Size(0, 0, false);
    m.ExtendToComplex(false);
    EXPECT_TRUE(m.Complex()) << "an empty real matrix becomes an empty complex one";
    ExpectRaise([&] { m.ExtendToComplex(r, true); }, "SrcMtx.Complex = True");
    m.Size(1, 1, false);
    ExpectRaise([&] { m.ExtendToComplex(m, true); }, "SrcMtx = Self");

    // SetIt: the count must match; a short array is refused even with ConditionCheck off, and nothing changes.
    m.SetIt(2, 2, true, {1, 2, 3, 4, 5, 6, 7, 8});
    struct SetCase {
        std::function<void()> run;
        const char* on;
        const char* off;
    };
    const SetCase cases[] = {
        {[&] {
             m.SetIt(2, 2, false, {1, 2, 3});
         },
         "Rows*Cols <> (High(A)+1)", "Rows*Cols <> (High(A)+1)"},
        {[&] {
             m.SetIt(1, 2, true, {1, 2, 3});
         },
         "Rows*Cols*2 <> (High(A)+1)", "Rows*Cols*2 <> (High(A)+1)"},
        {[&] {
             m.SetIt({1, 2, 3});
         },
         "Rows*Cols*2 <> (High(A)+1)", "Rows*Cols*2 <> (High(A)+1)"},
        {[&] {
             m.SetIt(1, 1, false, {9, 9});
         },
         "Rows*Cols <> (High(A)+1)", nullptr},
    };
    for (bool on : {true, false}) {
        for (const SetCase& k : cases) {
            m.SetIt(2, 2, true, {1, 2, 3, 4, 5, 6, 7, 8});
            m.SetConditionCheck(on);
            const char* text = on ? k.on : k.off;
            if (!text) {
                k.run();
                continue;
            }
            ExpectRaise(k.run, text, on ? "on" : "off");
            EXPECT_EQ(DoublesOf(m), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}));
        }
    }
    m.SetConditionCheck(true);
    m.SetIt(2, 2, false, {1, 2, 3, 4});
    m.SetIt({5, 6, 7, 8});
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{5, 6, 7, 8}));

    // SetZero of a block.
    m.SetZero(0, 1, 1, 1);
    EXPECT_EQ(DoublesOf(m), (std::vector<double>{5, 0, 7, 0}));
    TMtx z;
    z.SetIt(2, 3, true, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6});
    z.SetZero(1, 1, 1, 2);
    EXPECT_EQ(DoublesOf(z), (std::vector<double>{1, 1, 2, 2, 3, 3, 4, 4, 0, 0, 0, 0}));
    const std::vector<double> kept = DoublesOf(z);
    for (bool on : {true, false}) {
        z.SetConditionCheck(on);
        ExpectRaise([&] { z.SetZero(-1, 0, 0, 0); }, "Row < 0");
        ExpectRaise([&] { z.SetZero(0, -1, 0, 0); }, "Col < 0");
        ExpectRaise([&] { z.SetZero(0, 0, 2, 0); }, "ToRows > Rows-1");
        ExpectRaise([&] { z.SetZero(0, 0, 0, 3); }, "ToCols > Cols-1");
    }
    z.SetConditionCheck(true);
    ExpectRaise([&] { z.SetZero(1, 0, 0, 0); }, "Row > ToRow");
    ExpectRaise([&] { z.SetZero(0, 1, 0, 0); }, "Col > ToCol");
    z.SetConditionCheck(false);
    z.SetZero(0, 1, 0, 0);
    EXPECT_EQ(DoublesOf(z), kept) << "an empty block changes nothing";

    // Disown frees an owned block.
    z.Disown();
    EXPECT_EQ(z.Rows(), 0);
    EXPECT_EQ(z.AllocatedBlock(), nullptr);
    std::vector<double> buf = {1, 2, 3, 4};
    z.Adopt(buf.data(), 4, 2, 2, false);
    z.Disown();
    EXPECT_EQ(z.Cols(), 0);
    EXPECT_EQ(buf, (std::vector<double>{1, 2, 3, 4}));
}

}  // namespace

// Transcendental functions of matrices: every member in its source and in-place forms against the vector form on
// the same elements (the golden inputs of tests/data/gen_transcendental_golden.py), the documented cases, the checks,
// and the faults guarded against (a complex exponent on a real matrix losing its imaginary part, Omega = Self with
// the checks off, an empty source leaving Self as it was).
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "transcendental_util.h"

using namespace trtest;

namespace {

class MtxTranscend : public ElemTest {
protected:
    void TearDown() override
    {
        ElemTest::TearDown();
        SetMtxConditionCheck(true);
    }
};

std::vector<double> DoublesOf(const TMtx1& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return n ? std::vector<double>(M.Values(), M.Values() + n) : std::vector<double>();
}

void ExpectMtx(const TMtx1& M, int Rows, int Cols, bool Complex, const std::vector<double>& Expected,
               const std::string& Where)
{
    EXPECT_EQ(M.Rows(), Rows) << Where;
    EXPECT_EQ(M.Cols(), Cols) << Where;
    EXPECT_EQ(M.Complex(), Complex) << Where;
    ExpectSameDoubles(DoublesOf(M), Expected, Where);
}

}  // namespace

TEST_F(MtxTranscend, EveryMemberAgreesWithTheVectorForm)
{
    struct Row {
        const char* name;
        std::function<void(TMtx& R, const TMtx& M)> source;
        std::function<void(TMtx& R)> inPlace;
        std::function<void(TVec& R, const TVec& X)> vector;
    };
    const std::vector<Row> rows = {
        {"Exp", [](TMtx& R, const TMtx& M) { R.Exp(M); }, [](TMtx& R) { R.Exp(); },
         [](TVec& R, const TVec& X) { R.Exp(X); }},
        {"Ln", [](TMtx& R, const TMtx& M) { R.Ln(M); }, [](TMtx& R) { R.Ln(); },
         [](TVec& R, const TVec& X) { R.Ln(X); }},
        {"Log10", [](TMtx& R, const TMtx& M) { R.Log10(M); }, [](TMtx& R) { R.Log10(); },
         [](TVec& R, const TVec& X) { R.Log10(X); }},
        {"LogN 3", [](TMtx& R, const TMtx& M) { R.LogN(3, M); }, [](TMtx& R) { R.LogN(3); },
         [](TVec& R, const TVec& X) { R.LogN(3, X); }},
        {"IntPower -3", [](TMtx& R, const TMtx& M) { R.IntPower(M, -3); }, [](TMtx& R) { R.IntPower(-3); },
         [](TVec& R, const TVec& X) { R.IntPower(X, -3); }},
        {"Power 1.5", [](TMtx& R, const TMtx& M) { R.Power(M, 1.5); },
         [](TMtx& R) {
             TMtx c;
             c.Copy(R), R.Power(c, 1.5);
         },
         [](TVec& R, const TVec& X) { R.Power(X, 1.5); }},
        {"Sin", [](TMtx& R, const TMtx& M) { R.Sin(M); }, [](TMtx& R) { R.Sin(); },
         [](TVec& R, const TVec& X) { R.Sin(X); }},
        {"Cos", [](TMtx& R, const TMtx& M) { R.Cos(M); }, [](TMtx& R) { R.Cos(); },
         [](TVec& R, const TVec& X) { R.Cos(X); }},
        {"Tan", [](TMtx& R, const TMtx& M) { R.Tan(M); }, [](TMtx& R) { R.Tan(); },
         [](TVec& R, const TVec& X) { R.Tan(X); }},
        {"ArcSin", [](TMtx& R, const TMtx& M) { R.ArcSin(M); }, [](TMtx& R) { R.ArcSin(); },
         [](TVec& R, const TVec& X) { R.ArcSin(X); }},
        {"ArcCos", [](TMtx& R, const TMtx& M) { R.ArcCos(M); }, [](TMtx& R) { R.ArcCos(); },
         [](TVec& R, const TVec& X) { R.ArcCos(X); }},
        {"ArcTan", [](TMtx& R, const TMtx& M) { R.ArcTan(M); }, [](TMtx& R) { R.ArcTan(); },
         [](TVec& R, const TVec& X) { R.ArcTan(X); }},
        {"Sinh", [](TMtx& R, const TMtx& M) { R.Sinh(M); }, [](TMtx& R) { R.Sinh(); },
         [](TVec& R, const TVec& X) { R.Sinh(X); }},
        {"Cosh", [](TMtx& R, const TMtx& M) { R.Cosh(M); }, [](TMtx& R) { R.Cosh(); },
         [](TVec& R, const TVec& X) { R.Cosh(X); }},
        {"Tanh", [](TMtx& R, const TMtx& M) { R.Tanh(M); }, [](TMtx& R) { R.Tanh(); },
         [](TVec& R, const TVec& X) { R.Tanh(X); }},
        {"ArcSinh", [](TMtx& R, const TMtx& M) { R.ArcSinh(M); }, [](TMtx& R) { R.ArcSinh(); },
         [](TVec& R, const TVec& X) { R.ArcSinh(X, 0, 0); }},
        {"ArcCosh", [](TMtx& R, const TMtx& M) { R.ArcCosh(M); }, [](TMtx& R) { R.ArcCosh(); },
         [](TVec& R, const TVec& X) { R.ArcCosh(X); }},
        {"ArcTanh", [](TMtx& R, const TMtx& M) { R.ArcTanh(M); }, [](TMtx& R) { R.ArcTanh(); },
         [](TVec& R, const TVec& X) { R.ArcTanh(X); }},
    };
    TMtx m, r;
    TVec x, v;
    for (const Row& row : rows) {
        for (bool complex : {false, true}) {
            const std::vector<double>& in = complex ? kTrZt : kTrTr;
            m.SetIt(4, 4, complex, in);
            Set(x, complex, in);
            row.vector(v, x);
            const std::string name = std::string(row.name) + (complex ? " complex" : " real");
            r.Size(1, 2, !complex);
            row.source(r, m);
            ExpectMtx(r, 4, 4, complex, Doubles(v), name + " from a source");
            r.SetIt(4, 4, complex, in);
            row.inPlace(r);
            ExpectMtx(r, 4, 4, complex, Doubles(v), name + " in place");
            // Source forms size Self like the source, an empty one too.
            m.Size(0, 0, complex);
            r.Size(2, 2, !complex);
            row.source(r, m);
            ExpectMtx(r, 0, 0, complex, {}, name + " of an empty source");
        }
    }
    // PowerMtx: exp(E·ln B) for real pairs too (NaN for negative bases), and the complex power of the vectors.
    TMtx b, e;
    b.SetIt(1, 4, false, {2, -2, 0, 9});
    e.SetIt(1, 4, false, {3, 2, 0, 0.5});
    r.PowerMtx(b, e);
    ASSERT_EQ(r.Cols(), 4);
    EXPECT_NEAR(r.Values()[0], 8, 8 * 4.5e-16);
    EXPECT_TRUE(std::isnan(r.Values()[1]) && std::isnan(r.Values()[2]));
    EXPECT_NEAR(r.Values()[3], 3, 3 * 4.5e-16);
    Set(x, true, kTrZb);
    m.SetIt(2, 5, true, kTrZb);
    r.PowerMtx(m, m);
    TVec pv;
    pv.PowerVec(x, x);
    ExpectMtx(r, 2, 5, true, Doubles(pv), "PowerMtx complex = PowerVec");
}

TEST_F(MtxTranscend, DocumentedCases)
{
    TMtx m, r;
    m.SetIt(1, 1, true, {0, M_PI});
    r.Exp(m);
    EXPECT_NEAR(r.CValues()[0].Re, -1, 1e-15);
    EXPECT_NEAR(r.CValues()[0].Im, 0, 2e-16);
    m.Exp();
    ExpectMtx(m, 1, 1, true, DoublesOf(r), "Exp in place");
    m.SetIt(1, 1, true, {-1, 0});
    r.Ln(m);
    ExpectMtx(r, 1, 1, true, {0, M_PI}, "ln(-1)");
    m.SetIt(1, 1, false, {1000});
    r.Log10(m);
    ExpectMtx(r, 1, 1, false, {3}, "log10(1000)");
    m.SetIt(1, 1, false, {8});
    r.LogN(2, m);
    ExpectMtx(r, 1, 1, false, {3}, "LogN(2, 8)");
    m.SetIt(1, 1, false, {-2});
    r.IntPower(m, 3);
    ExpectMtx(r, 1, 1, false, {-8}, "IntPower(-2, 3)");
    r.Power(m, 3);
    ExpectMtx(r, 1, 1, false, {NAN}, "Power(-2, 3)");
    m.SetIt(1, 2, false, {0, M_PI / 2});
    r.Expj(m);
    ASSERT_TRUE(r.Complex());
    EXPECT_EQ(r.CValues()[0].Re, 1);
    EXPECT_EQ(r.CValues()[0].Im, 0);
    EXPECT_NEAR(r.CValues()[1].Re, 0, 1e-16);
    EXPECT_EQ(r.CValues()[1].Im, 1);
    // A complex exponent: complex matrices take it whole.
    m.SetIt(1, 1, true, {2, 0});
    r.Power(m, Cplx(0, 1));
    EXPECT_NEAR(r.CValues()[0].Re, std::cos(std::log(2.0)), 2e-16);
    EXPECT_NEAR(r.CValues()[0].Im, std::sin(std::log(2.0)), 2e-16);
}

TEST_F(MtxTranscend, ChecksInOrderWithSelfUnchanged)
{
    TMtx m, z, r;
    m.SetIt(1, 2, false, {1, 2});
    z.SetIt(1, 1, true, {1, 1});
    r.SetIt(1, 3, false, {4, 5, 6});
    const struct {
        const char* what;
        std::function<void()> run;
        const char* message;
    } rows[] = {
        {"Exp(Self)", [&] { r.Exp(r); }, "Self = Mtx"},
        {"Ln(Self)", [&] { r.Ln(r); }, "Mtx = Self"},
        {"Log10(Self)", [&] { r.Log10(r); }, "Mtx = Self"},
        {"LogN(0, Mtx)", [&] { r.LogN(0, m); }, "N = 0"},
        {"LogN(NaN, Mtx)", [&] { r.LogN(NAN, m); }, "N = 0"},
        {"LogN(0) in place", [&] { r.LogN(0); }, "N = 0"},
        {"LogN(2, Self)", [&] { r.LogN(2, r); }, "Mtx = Self"},
        {"Power(Self, 2)", [&] { r.Power(r, 2.0); }, "Base = Self"},
        // The imaginary part of a complex exponent was dropped on real data.
        {"Power(real, TCplx)", [&] { r.Power(m, Cplx(2, 1)); }, "Base.Complex = false"},
        {"Power(Self, TCplx)", [&] { r.Power(r, Cplx(2, 0)); }, "Mtx = Self"},
        {"PowerMtx(Self, E)", [&] { r.PowerMtx(r, m); }, "Mtx = Self"},
        {"PowerMtx kinds", [&] { r.PowerMtx(m, z); }, "Complex <> Vec.Complex"},
        {"PowerMtx counts", [&] { r.PowerMtx(m, r); }, "Mtx.Rows*Mtx.Cols <> Rows*Cols"},
        {"Expj complex Omega", [&] { r.Expj(z); }, "Omega.Complex := True"},
        {"Expj(Self)", [&] { r.Expj(r); }, "Omega = Self"},
    };
    for (const auto& row : rows) {
        ExpectRaise(row.run, row.message, row.what);
        ExpectMtx(r, 1, 3, false, {4, 5, 6}, std::string("after ") + row.what);
    }
    // With ConditionCheck off an operand that is Self is read before it is overwritten, and a shorter exponent
    // matrix is still refused.
    SetMtxConditionCheck(false);
    TMtx s, expected;
    s.SetIt(1, 2, false, {0, M_PI / 2});
    expected.Expj(s);
    s.Expj(s);
    ExpectMtx(s, 1, 2, true, DoublesOf(expected), "Expj(Self) with the checks off");
    TMtx off;
    off.SetIt(1, 3, false, {4, 5, 6});
    ExpectRaise([&] { off.PowerMtx(off, m); }, "Mtx.Rows*Mtx.Cols <> Rows*Cols", "checks off");
    s.SetIt(1, 2, false, {2, 3});
    s.Exp(s);
    ExpectMtx(s, 1, 2, false, {std::exp(2.0), std::exp(3.0)}, "Exp(Self) with the checks off");
}

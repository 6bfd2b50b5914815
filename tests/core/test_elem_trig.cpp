// Trigonometric and hyperbolic functions of vectors: the functions of the vector-math routines and of the complex
// formulas against mpmath (±0, ±∞, NaN, subnormals, |Im| of 20, 400 and 800), the element-by-element functions
// against their scalar functions, every calling form, SinCos and SinhCosh, the documented cases, and the faults
// guarded against (NaN from overflowing pieces of the complex formulas, negative ranges passing silently, a real X
// read as complex under a complex Self).
#include <cmath>
#include <functional>
#include <vector>

#include "transcendental_util.h"

using namespace trtest;

namespace {

class TrigTest : public ElemTest {};

// The vector-math routines: 1 ulp. The complex formulas: products of 1-ulp pieces (and a reciprocal for tan and
// tanh), relative to the element's magnitude.
constexpr double kVd = 1;
constexpr double kCplx = 1e-15;

using Form = std::function<void(TVec& R, const TVec& X)>;

struct Golden {
    const char* name;
    const std::vector<double>* expectedReal;
    const std::vector<double>* expectedComplex;  // nil: real data only
    std::vector<std::pair<const char*, Form>> forms;
};

}  // namespace

TEST_F(TrigTest, FormulaFunctionsInEveryFormAgainstMpmath)
{
    const auto sinForms = [](bool Cos) -> std::vector<std::pair<const char*, Form>> {
        return {
            {"(X)", [Cos](TVec& R, const TVec& X) { Cos ? R.Cos(X) : R.Sin(X); }},
            {"in place", [Cos](TVec& R, const TVec& X) { R.Copy(X), Cos ? R.Cos() : R.Sin(); }},
            {"working range",
             [Cos](TVec& R, const TVec& X) {
                 R.Size(X.Length(), X.Complex());
                 Cos ? R.Cos(X, 0, 0, X.Length()) : R.Sin(X, 0, 0, X.Length());
             }},
            {"range in place",
             [Cos](TVec& R, const TVec& X) { R.Copy(X), Cos ? R.Cos(0, X.Length()) : R.Sin(0, X.Length()); }},
            {"Self = X", [Cos](TVec& R, const TVec& X) { R.Copy(X), Cos ? R.Cos(R) : R.Sin(R); }},
        };
    };
    const auto twoForms = [](auto Source, auto InPlace) -> std::vector<std::pair<const char*, Form>> {
        return {{"(X)", Source}, {"in place", [InPlace](TVec& R, const TVec& X) { R.Copy(X), InPlace(R); }}};
    };
    const std::vector<Golden> rows = {
        {"Sin", &kTrSinR, &kTrSinZ, sinForms(false)},
        {"Cos", &kTrCosR, &kTrCosZ, sinForms(true)},
        {"Tan", &kTrTanR, &kTrTanZ, twoForms([](TVec& R, const TVec& X) { R.Tan(X); }, [](TVec& R) { R.Tan(); })},
        {"Sinh", &kTrSinhR, &kTrSinhZ, twoForms([](TVec& R, const TVec& X) { R.Sinh(X); }, [](TVec& R) { R.Sinh(); })},
        {"Cosh", &kTrCoshR, &kTrCoshZ, twoForms([](TVec& R, const TVec& X) { R.Cosh(X); }, [](TVec& R) { R.Cosh(); })},
        {"Tanh", &kTrTanhR, &kTrTanhZ, twoForms([](TVec& R, const TVec& X) { R.Tanh(X); }, [](TVec& R) { R.Tanh(); })},
        {"ArcSin", &kTrArcSinR, nullptr,
         twoForms([](TVec& R, const TVec& X) { R.ArcSin(X); }, [](TVec& R) { R.ArcSin(); })},
        {"ArcCos", &kTrArcCosR, nullptr,
         twoForms([](TVec& R, const TVec& X) { R.ArcCos(X); }, [](TVec& R) { R.ArcCos(); })},
        {"ArcTan", &kTrArcTanR, nullptr,
         twoForms([](TVec& R, const TVec& X) { R.ArcTan(X); }, [](TVec& R) { R.ArcTan(); })},
    };
    TVec x, r;
    for (const Golden& g : rows) {
        for (bool complex : {false, true}) {
            const std::vector<double>* expected = complex ? g.expectedComplex : g.expectedReal;
            if (!expected) continue;
            Set(x, complex, complex ? kTrZt : kTrTr);
            for (const auto& [form, run] : g.forms) {
                r.Size(2, !complex);
                run(r, x);
                ExpectGolden(r, complex, *expected, complex ? kCplx : kVd,
                             std::string(g.name) + (complex ? " complex " : " real ") + form);
            }
        }
    }
}

TEST_F(TrigTest, ElementByElementFunctionsAgreeWithTheScalarOnes)
{
    using RealFn = double (*)(double);
    using CplxFn = TCplx (*)(const TCplx&);
    using Whole = std::function<void(TVec & R, const TVec& X, int XIndex, int Index, int Len)>;
    using Own = std::function<void(TVec & R, int Index, int Len)>;
    struct Row {
        const char* name;
        RealFn real;
        CplxFn complex;
        Whole whole;  // the whole-vector-default form, or the source form for ArcCosh and ArcTanh (ranges ignored)
        Own own;      // the in-place form
    };
#define ROW(F)                                                                                              \
    Row                                                                                                     \
    {                                                                                                       \
#F, static_cast < RealFn>(tarnel::F), static_cast < CplxFn>(tarnel::F),                             \
            [](TVec & R, const TVec& X, int A, int B, int L) { R.F(X, A, B, L); }, [](TVec & R, int I,      \
                                                                                      int L) { R.F(I, L); } \
    }
    const std::vector<Row> rows = {
        ROW(ArcSinh), ROW(Cot),     ROW(Coth),   ROW(Csc),     ROW(Csch),   ROW(Sec),     ROW(Sech),
        ROW(ArcCot),  ROW(ArcCoth), ROW(ArcCsc), ROW(ArcCsch), ROW(ArcSec), ROW(ArcSech),
    };
#undef ROW
    TVec x, r;
    for (const Row& row : rows) {
        for (bool complex : {false, true}) {
            Set(x, complex, complex ? kTrZt : kTrTr);
            const int n = x.Length();
            std::vector<double> expected;
            for (int k = 0; k < n; ++k) {
                if (complex) {
                    const TCplx v = row.complex(x.CValues()[k]);
                    expected.insert(expected.end(), {v.Re, v.Im});
                } else {
                    expected.push_back(row.real(x.Values()[k]));
                }
            }
            const std::string name = std::string(row.name) + (complex ? " complex" : " real");
            r.Size(2, !complex);
            row.whole(r, x, 0, 0, -1);
            ExpectSame(r, complex, expected, name + " Len -1");
            r.Copy(x), row.own(r, 0, -1);
            ExpectSame(r, complex, expected, name + " in place, Len -1");
            r.Copy(x), row.own(r, 0, n);
            ExpectSame(r, complex, expected, name + " in place range");
            r.Copy(x), row.whole(r, r, 0, 0, -1);
            ExpectSame(r, complex, expected, name + " X = Self at the same index");
            // A range writes exactly its elements.
            r.Size(n + 2, complex), r.SetVal(7);
            row.whole(r, x, 3, 1, n - 3);
            ExpectSameDoubles(Part(r, 1, n - 3),
                              std::vector<double>(expected.begin() + 3 * (complex ? 2 : 1), expected.end()),
                              name + " range");
            ExpectSameDoubles(Part(r, 0, 1), Part(r, n - 1, 1), name + " untouched ends");
        }
    }
    // ArcCosh and ArcTanh: the real and complex scalar functions from a source and in place.
    for (bool complex : {false, true}) {
        Set(x, complex, complex ? kTrZt : kTrTr);
        for (int f = 0; f < 2; ++f) {
            std::vector<double> expected;
            for (int k = 0; k < x.Length(); ++k) {
                if (complex) {
                    const TCplx v = f ? ArcTanh(x.CValues()[k]) : ArcCosh(x.CValues()[k]);
                    expected.insert(expected.end(), {v.Re, v.Im});
                } else {
                    expected.push_back(f ? ArcTanh(x.Values()[k]) : ArcCosh(x.Values()[k]));
                }
            }
            f ? r.ArcTanh(x) : r.ArcCosh(x);
            ExpectSame(r, complex, expected, f ? "ArcTanh" : "ArcCosh");
            r.Copy(x), f ? r.ArcTanh() : r.ArcCosh();
            ExpectSame(r, complex, expected, f ? "ArcTanh in place" : "ArcCosh in place");
        }
    }
    // The complex inverses of the vector-math functions are the scalar ones too.
    Set(x, true, kTrZt);
    r.ArcSin(x);
    EXPECT_TRUE(SameDouble(r.CValues()[3].Re, ArcSin(x.CValues()[3]).Re));
    EXPECT_TRUE(SameDouble(r.CValues()[10].Im, ArcSin(x.CValues()[10]).Im));
}

TEST_F(TrigTest, DocumentedCasesAndOverflowLimits)
{
    TVec x, r;
    Set(x, true, {0, 1});
    r.Sin(x);
    ExpectNear(r, true, {0, 1.1752011936438014}, 2.3e-16, "sin(i)");
    EXPECT_TRUE(SameDouble(r.CValues()[0].Re, 0));
    r.Cos(x);
    ExpectNear(r, true, {1.5430806348152437, 0}, 2.3e-16, "cos(i)");
    Set(x, true, {M_PI / 4, 0});
    r.Tan(x);
    ExpectNear(r, true, {1, 0}, 2.3e-16, "tan(pi/4)");
    // C99's limits where the pieces overflow: sin(0 + 800i) = 0 + ∞i, tan(0 + 400i) = i, tanh(400) = 1.
    Set(x, true, {0, 800, 0, 400, 400, 0});
    r.Sin(x);
    EXPECT_TRUE(SameDouble(r.CValues()[0].Re, 0) && r.CValues()[0].Im == INFINITY);
    r.Tan(x);
    EXPECT_TRUE(SameDouble(r.CValues()[1].Re, 0) && r.CValues()[1].Im == 1);
    r.Tanh(x);
    EXPECT_TRUE(r.CValues()[2].Re == 1 && SameDouble(r.CValues()[2].Im, 0));
    // An empty X leaves Self empty.
    x.Size(0, false);
    Set(r, false, {1, 2});
    r.Sin(x);
    ExpectSame(r, false, {}, "Sin of an empty X");
    // Cot (X, 2, 0, 3) writes cot 3, cot 4, cot 5 into Self[0 .. 2] and leaves Self[3] alone.
    Set(x, false, {1, 2, 3, 4, 5});
    Set(r, false, {9, 9, 9, 9});
    r.Cot(x, 2, 0, 3);
    ExpectSame(r, false, {Cot(3.0), Cot(4.0), Cot(5.0), 9}, "Cot(X, 2, 0, 3)");
    Set(x, false, {0});
    r.Sec(x, 0, 0, -1);
    ExpectSame(r, false, {1}, "Sec(0)");
    Set(x, false, {1});
    r.Csch(x, 0, 0, -1);
    ExpectNear(r, false, {1 / std::sinh(1.0)}, 4.5e-16, "Csch(1)");
    // ArcCot is atan2(1, x): in (0, π), so ArcCot(-1) = 3π/4.
    Set(x, false, {-1, 0, 1});
    r.ArcCot(x, 0, 0, -1);
    ExpectNear(r, false, {3 * M_PI / 4, M_PI / 2, M_PI / 4}, 4.5e-16, "ArcCot");
}

TEST_F(TrigTest, ChecksInOrderWithSelfUnchanged)
{
    TVec x, z, r, s, c;
    Set(x, false, {1, 2, 3});
    Set(z, true, {1, 1, 2, 2, 3, 3});
    Set(r, false, {4, 5, 6, 7});
    const struct {
        const char* what;
        std::function<void()> run;
        const char* message;
    } rows[] = {
        // A negative index passed silently before.
        {"Sin negative XIndex", [&] { r.Sin(x, -1, 0, 3); }, "(Index < 0) or (XIndex < 0)"},
        {"Cos negative Index", [&] { r.Cos(x, 0, -1, 1); }, "(Index < 0) or (XIndex < 0)"},
        {"Sin negative Len", [&] { r.Sin(x, 0, 0, -1); }, "Len < 0"},
        {"Sin past X", [&] { r.Sin(x, 1, 0, 3); }, "XIndex + Len) > X.Length"},
        {"Sin past Self", [&] { r.Sin(x, 0, 2, 3); }, "(Index + Len) > Length"},
        // A complex X under a real Self (and the other way) was read with the wrong width.
        {"Sin kinds", [&] { r.Sin(z, 0, 0, 3); }, "Complex <> X.Complex"},
        {"Sin range in place negative", [&] { r.Sin(-1, 1); }, "(Index < 0) or (XIndex < 0)"},
        {"Cot negative Len", [&] { r.Cot(0, -2); }, "(Len <= 0) or (Index < 0)"},
        {"Cot past the end", [&] { r.Cot(2, 3); }, "(Index + Len) > FLength"},
        {"Sec Self = Vec", [&] { r.Sec(r, 1, 0, 2); }, "Self = Vec"},
        {"Sec kinds", [&] { r.Sec(z, 0, 0, 2); }, "Complex <> X.Complex"},
        {"ArcSinh past X", [&] { r.ArcSinh(x, 2, 0, 2); }, "(XIndex + Len) > X.Length"},
        {"ArcSinh in place past the end", [&] { r.ArcSinh(3, 2); }, "(Index + Len) > FLength"},
        {"SinCos complex Self", [&] { z.SinCos(s, c, 0, 0, 0, -1); }, "Complex = True"},
        {"SinCos Sinx = Self", [&] { r.SinCos(r, c, 0, 0, 0, 1); }, "Sinx = Self"},
        {"SinCos Cosx = Self", [&] { r.SinCos(s, r, 0, 0, 0, 1); }, "Cosx = Self"},
        {"SinCos SinX kind", [&] { r.SinCos(z, c, 0, 0, 0, 1); }, "Complex <> SinX.Complex"},
        {"SinCos past Self", [&] { r.SinCos(s, c, 0, 0, 3, 2); }, "(Index + Len) > FLength"},
        {"SinCos past SinX", [&] { x.SinCos(s, c, 0, 0, 0, 1); }, "(XIndex + Len) > SinX.Length"},
        {"SinhCosh Coshx = Self", [&] { r.SinhCosh(s, r, 0, 0, 0, 1); }, "Coshx = Self"},
        {"SinhCosh past CoshX",
         [&] {
             Set(s, false, {0, 0}), r.SinhCosh(s, c, 0, 0, 0, 2);
         },
         "(XIndex + Len) > CoshX.Length"},
    };
    for (const auto& row : rows) {
        ExpectRaise(row.run, row.message, row.what);
        ExpectSame(r, false, {4, 5, 6, 7}, std::string("after ") + row.what);
    }
    // Sized like the source, a complex Self takes a real X's kind (the sizing form), and the working form refuses
    // the mismatch even with ConditionCheck off.
    SetVecConditionCheck(false);
    Set(r, true, {1, 1, 2, 2, 3, 3});
    ExpectRaise([&] { r.Sin(x, 0, 0, 3); }, "Complex <> X.Complex", "checks off");
}

TEST_F(TrigTest, SinCosAndSinhCosh)
{
    TVec x, s, c;
    Set(x, false, kTrTr);
    const int n = x.Length();
    // Len -1 sizes SinX and CosX like Self. VDSINCOS is within 1 ulp, as VDSIN and VDCOS, but not always the
    // same Double as they.
    Set(s, true, {1, 1});
    x.SinCos(s, c, 0, 0, 0, -1);
    ExpectGolden(s, false, kTrSinR, kVd, "SinCos sine");
    ExpectGolden(c, false, kTrCosR, kVd, "SinCos cosine");
    const std::vector<double> es = Doubles(s), ec = Doubles(c);
    // Ranges into longer vectors give the same Doubles.
    s.Size(n + 1, false), s.SetZero();
    c.Size(n + 2, false), c.SetZero();
    x.SinCos(s, c, 1, 2, 0, n);
    ExpectSameDoubles(Part(s, 1, n), es, "SinCos sine range");
    ExpectSameDoubles(Part(c, 2, n), ec, "SinCos cosine range");
    EXPECT_EQ(s.Values()[0], 0);
    // SinhCosh: the scalar SinhCosh of each element.
    x.SinhCosh(s, c, 0, 0, 0, -1);
    for (int k = 0; k < n; ++k) {
        double sh, ch;
        SinhCosh(x.Values()[k], sh, ch);
        EXPECT_TRUE(SameDouble(s.Values()[k], sh) && SameDouble(c.Values()[k], ch)) << "SinhCosh element " << k;
    }
    // Self as a destination with ConditionCheck off: the angles are read before they are overwritten.
    SetVecConditionCheck(false);
    TVec y;
    y.Copy(x);
    y.SinCos(y, c, 0, 0, 0, -1);
    ExpectSame(y, false, es, "SinCos into Self");
    ExpectSame(c, false, ec, "SinCos cosine beside Self");
}

TEST_F(TrigTest, LongVectorsAgreeWithShortOnes)
{
    const int n = 1 << 17;
    TVec x, r, one;
    x.Size(n, true);
    for (int i = 0; i < n; ++i) x.CValues()[i] = Cplx((i % 101) * 0.07 - 3, (i % 37) * 0.5 - 9);
    for (int f = 0; f < 4; ++f) {
        const auto apply = [f](TVec& R, const TVec& X) {
            if (f == 0) R.Sin(X);
            if (f == 1) R.Tan(X);
            if (f == 2) R.Tanh(X);
            if (f == 3) R.Sec(X, 0, 0, -1);
        };
        apply(r, x);
        for (int i : {0, 255, 256, 40000, n - 1}) {
            TVec e;
            Set(e, true, {x.CValues()[i].Re, x.CValues()[i].Im});
            apply(one, e);
            ExpectSame(one, true, Part(r, i, 1), "function " + std::to_string(f) + " element " + std::to_string(i));
        }
    }
}

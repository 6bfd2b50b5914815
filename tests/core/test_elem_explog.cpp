// Exponentials and logarithms of vectors: Exp, Ln, Log10, LogN, Log2, Exp2 and Exp10 against mpmath at ±0, ±∞,
// NaN, subnormals, overflow and both sides of the cut, every calling form against the whole-vector result, the
// documented cases, the checks, and the faults guarded against (overflow turning exact zero parts into NaN, the
// in-place and source complex Exp disagreeing at -∞ + 0i, unchecked ranges).
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/wavrin/Parallel.h"
#include "transcendental_util.h"

using namespace trtest;

namespace {

class ExpLogTest : public ElemTest {};

// The vector-math routines are within 1 ulp; the scalar functions of Log2, Exp2, Exp10 and the scaled logarithms
// (a product after the logarithm) within 2. Complex results from real pieces: a few ulps of the magnitude.
constexpr double kVd = 1;
constexpr double kScalar = 2;
constexpr double kCplx = 1e-15;
// Complex 2^z and 10^z are exp(z·ln 2) and exp(z·ln 10): the rounded product z·ln 10 carries a relative error of
// |z·ln 10|·eps into the result, up to 2e-13 for |z| = 800.
constexpr double kExpBase = 3e-13;

using Form = std::function<void(TVec& R, const TVec& X)>;

struct Family {
    const char* name;
    const std::vector<double>* input;
    bool complex;
    const std::vector<double>* expected;
    double tol;
    Form whole;                                        // the form checked against the golden table
    std::vector<std::pair<const char*, Form>> others;  // every other form, checked against the whole one
};

// The forms of a function with the whole-vector-default range form f (X, XIndex, Index, Len).
template <class F>
std::vector<std::pair<const char*, Form>> WholeDefaultForms(F Range)
{
    return {
        {"Len -1", [Range](TVec& R, const TVec& X) { Range(R, X, 0, 0, -1); }},
        {"range", [Range](TVec& R, const TVec& X) { R.Size(X.Length(), X.Complex()), Range(R, X, 0, 0, X.Length()); }},
        {"in place, Len -1", [Range](TVec& R, const TVec& X) { R.Copy(X), Range(R, R, 0, 0, -1); }},
    };
}

}  // namespace

TEST_F(ExpLogTest, EveryFormAgainstMpmath)
{
    const std::vector<Family> families = {
        {"Exp real",
         &kTrExR,
         false,
         &kTrExpR,
         kVd,
         [](TVec& R, const TVec& X) { R.Exp(X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Exp(); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), false), R.Exp(X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Exp(0, X.Length()); }}}},
        {"Exp complex",
         &kTrZe,
         true,
         &kTrExpZ,
         kCplx,
         [](TVec& R, const TVec& X) { R.Exp(X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Exp(); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), true), R.Exp(X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Exp(0, X.Length()); }},
          {"Self = Vec", [](TVec& R, const TVec& X) { R.Copy(X), R.Exp(R); }}}},
        {"Ln real",
         &kTrLnR,
         false,
         &kTrLnR_,
         kVd,
         [](TVec& R, const TVec& X) { R.Ln(X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Ln(); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), false), R.Ln(X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Ln(0, X.Length()); }}}},
        {"Ln complex",
         &kTrZl,
         true,
         &kTrLnZ,
         kCplx,
         [](TVec& R, const TVec& X) { R.Ln(X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Ln(); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), true), R.Ln(X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Ln(0, X.Length()); }},
          {"Self = Vec", [](TVec& R, const TVec& X) { R.Copy(X), R.Ln(R); }}}},
        {"Log10 real",
         &kTrLnR,
         false,
         &kTrLog10R,
         kVd,
         [](TVec& R, const TVec& X) { R.Log10(X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Log10(); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), false), R.Log10(X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Log10(0, X.Length()); }}}},
        {"Log10 complex",
         &kTrZl,
         true,
         &kTrLog10Z,
         kCplx,
         [](TVec& R, const TVec& X) { R.Log10(X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Log10(); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), true), R.Log10(X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.Log10(0, X.Length()); }}}},
        {"LogN 7 real",
         &kTrLnR,
         false,
         &kTrLog7R,
         kScalar,
         [](TVec& R, const TVec& X) { R.LogN(7, X); },
         {{"in place", [](TVec& R, const TVec& X) { R.Copy(X), R.LogN(7); }},
          {"range", [](TVec& R, const TVec& X) { R.Size(X.Length(), false), R.LogN(7, X, 0, 0, X.Length()); }},
          {"range in place", [](TVec& R, const TVec& X) { R.Copy(X), R.LogN(7, 0, X.Length()); }}}},
        {"Log2 real", &kTrLnR, false, &kTrLog2R, kScalar, [](TVec& R, const TVec& X) { R.Log2(X, 0, 0); },
         WholeDefaultForms([](TVec& R, const TVec& X, int A, int B, int L) { R.Log2(X, A, B, L); })},
        {"Log2 complex", &kTrZl, true, &kTrLog2Z, kCplx, [](TVec& R, const TVec& X) { R.Log2(X, 0, 0); },
         WholeDefaultForms([](TVec& R, const TVec& X, int A, int B, int L) { R.Log2(X, A, B, L); })},
        {"Exp2 real", &kTrExR, false, &kTrExp2R, kScalar, [](TVec& R, const TVec& X) { R.Exp2(X, 0, 0); },
         WholeDefaultForms([](TVec& R, const TVec& X, int A, int B, int L) { R.Exp2(X, A, B, L); })},
        {"Exp2 complex", &kTrZe, true, &kTrExp2Z, kExpBase, [](TVec& R, const TVec& X) { R.Exp2(X, 0, 0); },
         WholeDefaultForms([](TVec& R, const TVec& X, int A, int B, int L) { R.Exp2(X, A, B, L); })},
        {"Exp10 real", &kTrExR, false, &kTrExp10R, kScalar, [](TVec& R, const TVec& X) { R.Exp10(X, 0, 0); },
         WholeDefaultForms([](TVec& R, const TVec& X, int A, int B, int L) { R.Exp10(X, A, B, L); })},
        {"Exp10 complex", &kTrZe, true, &kTrExp10Z, kExpBase, [](TVec& R, const TVec& X) { R.Exp10(X, 0, 0); },
         WholeDefaultForms([](TVec& R, const TVec& X, int A, int B, int L) { R.Exp10(X, A, B, L); })},
    };
    TVec x, whole, r;
    for (const Family& f : families) {
        Set(x, f.complex, *f.input);
        whole.Size(3, !f.complex);
        f.whole(whole, x);
        ExpectGolden(whole, f.complex, *f.expected, f.tol, f.name);
        for (const auto& [form, run] : f.others) {
            r.Size(2, !f.complex);
            run(r, x);
            ExpectSame(r, f.complex, Doubles(whole), std::string(f.name) + ", " + form);
        }
        // A range inside larger vectors writes exactly its elements.
        const int n = x.Length();
        TVec big;
        big.Size(n + 3, f.complex), big.SetZero();
        for (int k = 0; k < n; ++k) {
            if (f.complex)
                big.CValues()[k + 3] = x.CValues()[k];
            else
                big.Values()[k + 3] = x.Values()[k];
        }
        TVec view;
        view.SetComplex(f.complex);
        view.SetSubRange(big, 3, n);
        f.whole(r, view);
        ExpectSame(r, f.complex, Doubles(whole), std::string(f.name) + " of a view");
    }
}

TEST_F(ExpLogTest, DocumentedCasesAndTheEdgesOfTheComplexFormulas)
{
    TVec x, r;
    // exp(πi) = -1 to rounding; ln(-1 + 0i) = πi; log10(100) = 2; LogN(2, 8) = 3.
    Set(x, true, {0, M_PI});
    r.Exp(x);
    ExpectNear(r, true, {-1, 0}, 1e-15, "exp(pi i)");
    Set(x, true, {-1, 0});
    r.Ln(x);
    ExpectSame(r, true, {0, M_PI}, "ln(-1 + 0i)");
    Set(x, true, {100, 0});
    r.Log10(x);
    ExpectSame(r, true, {2, 0}, "log10(100 + 0i)");
    Set(x, false, {8});
    r.LogN(2, x);
    ExpectSame(r, false, {3}, "LogN(2, 8): ln 8 / ln 2");
    // TVec0.Exp(1, 1) changes only element 1; TVec1.Ln(Vec, 2, 0, 1) takes Vec's element 2.
    Set(r, true, {1, 1, 0, 0, 2, 2});
    r.Exp(1, 1);
    ExpectSame(r, true, {1, 1, 1, 0, 2, 2}, "Exp(1, 1)");
    Set(x, true, {5, 5, 6, 6, -1, 0});
    Set(r, true, {7, 7, 8, 8});
    r.Ln(x, 2, 0, 1);
    ExpectSame(r, true, {0, M_PI, 8, 8}, "Ln(Vec, 2, 0, 1)");
    // Overflow keeps exact zero parts (C99's cexp): exp(800 + 0i) = ∞ + 0i; both complex forms give 0 at
    // -∞ + 0i, and +0·(cos 3 + i·sin 3) at -∞ + 3i.
    Set(x, true, {800, 0, -INFINITY, 0, -INFINITY, 3});
    r.Exp(x);
    ExpectSame(r, true, {INFINITY, 0, 0, 0, -0.0, 0}, "exp at overflow and -inf");
    r.Copy(x), r.Exp();
    ExpectSame(r, true, {INFINITY, 0, 0, 0, -0.0, 0}, "exp in place at overflow and -inf");
    // Exp2 with Len -1 sizes Self like X; Len 0 does nothing.
    Set(x, false, {1, 2, 3});
    Set(r, true, {9, 9});
    r.Exp2(x, 0, 0, -1);
    ExpectSame(r, false, {2, 4, 8}, "Exp2 Len -1");
    r.Exp2(x, 0, 1, 0);
    ExpectSame(r, false, {2, 4, 8}, "Exp2 Len 0");
}

TEST_F(ExpLogTest, ChecksInOrderWithSelfUnchanged)
{
    TVec x, r;
    Set(x, false, {1, 2, 3});
    Set(r, false, {4, 5, 6});
    const struct {
        const char* what;
        std::function<void()> run;
        const char* message;
    } rows[] = {
        {"LogN(0, Vec)", [&] { r.LogN(0, x); }, "N = 0"},
        {"LogN(0)", [&] { r.LogN(0); }, "N = 0"},
        {"LogN(0, Index, Len)", [&] { r.LogN(0, 0, 1); }, "N = 0"},
        {"LogN(0, X, ...)", [&] { r.LogN(0, x, 0, 0, 1); }, "N = 0"},
        {"LogN range Self = X", [&] { r.LogN(2, r, 0, 0, 1); }, "Self = X"},
        {"Log10 range Self = X", [&] { r.Log10(r, 0, 0, 1); }, "Self = X"},
        // The real Log10 range was unchecked.
        {"Log10 range past X", [&] { r.Log10(x, 1, 0, 3); }, "VecIndex + Len) > Vec.Length"},
        {"Log10 range past Self", [&] { r.Log10(x, 0, 1, 3); }, "(Index + Len) > Length"},
        {"Exp range negative", [&] { r.Exp(-1, 1); }, "(Len <= 0) or (Index < 0)"},
        {"Exp range past the end", [&] { r.Exp(2, 2); }, "Index + Len) > Length"},
        {"Ln range negative Len", [&] { r.Ln(0, -1); }, "(Len <= 0) or (Index < 0)"},
        {"Ln range past the end", [&] { r.Ln(1, 3); }, "(Index + Len) > Length"},
        {"Log10 in place range", [&] { r.Log10(3, 1); }, "(Index + Len) > Length"},
        {"Ln range negative VecIndex", [&] { r.Ln(x, -1, 0, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)"},
        {"Exp range kinds", [&] { r.Exp(r, 0, 0, 1); }, "Self = Vec"},
        {"Log2 negative index", [&] { r.Log2(x, -1, 0, 1); }, "(Index < 0) or (XIndex < 0)"},
        {"Exp2 kinds",
         [&] {
             TVec z;
             z.Size(3, true), r.Exp2(z, 0, 0, 1);
         },
         "Complex <> X.Complex"},
        {"Exp10 past Self", [&] { r.Exp10(x, 0, 2, 2); }, "(Index + Len) > FLength"},
        {"Exp10 past X", [&] { r.Exp10(x, 2, 0, 2); }, "(XIndex + Len) > X.Length"},
        {"Log2 in place past the end", [&] { r.Log2(2, 2); }, "(Index + Len) > FLength"},
    };
    for (const auto& row : rows) {
        ExpectRaise(row.run, row.message, row.what);
        ExpectSame(r, false, {4, 5, 6}, std::string("after ") + row.what);
    }
    // With ConditionCheck off the memory guards still refuse ranges past the data.
    SetVecConditionCheck(false);
    TVec off;
    Set(off, false, {4, 5, 6});
    ExpectRaise([&] { off.Exp(x, 1, 0, 3); }, "VecIndex + Len) > Vec.Length", "checks off");
    ExpectRaise([&] { off.Exp2(x, 0, 2, 2); }, "(Index + Len) > FLength", "checks off");
    ExpectSame(off, false, {4, 5, 6}, "after the refusals with checks off");
}

TEST_F(ExpLogTest, LongVectorsAgreeWithShortOnes)
{
    // 2^17 elements run on the worker threads, the complex ones fused in chunks: every element as if alone.
    const parallel::TFixedThreads shared(parallel::kMaxThreads);
    const int n = 1 << 17;
    TVec x, r, one;
    x.Size(n, true);
    for (int i = 0; i < n; ++i) x.CValues()[i] = Cplx((i % 101) * 0.07 - 3, (i % 37) * 0.5 - 9);
    for (int f = 0; f < 3; ++f) {
        const auto apply = [f](TVec& R, const TVec& X) {
            if (f == 0) R.Exp(X);
            if (f == 1) R.Ln(X);
            if (f == 2) R.Exp10(X, 0, 0);
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

TEST_F(ExpLogTest, RealLog2IsExactAtPowersOfTwoAcrossChunkEdges)
{
    // The real Log2 splits x = m·2^e by its bits, chunk by chunk, and leaves zeros, subnormals, infinities and NaN
    // to the scalar Log2: every power of two from 2^-1074 to 2^1023 gives its exponent exactly, and the special
    // values, put at the edges of the chunks and in the leftover, give the scalar function's values. In place, where
    // a chunk holding special values is kept before it is overwritten, the bits are those of the source form.
    const int n = 2200;
    TVec x, r, inPlace;
    x.Size(n);
    std::vector<double> want(n);
    for (int i = 0; i < n; ++i) {
        const int k = i % 2098 - 1074;
        x.Values()[i] = std::ldexp(1.0, k);
        want[i] = k;
    }
    const double specials[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, -1.0, 5e-324, -3e-310};
    const int at[] = {0, 255, 256, 511, 512, 1023, 2047, 2199};
    for (int s = 0; s < 8; ++s) {
        x.Values()[at[s]] = specials[s];
        want[at[s]] = tarnel::Log2(specials[s]);
    }
    r.Log2(x, 0, 0);
    inPlace.Copy(x);
    inPlace.Log2(0, n);
    for (int i = 0; i < n; ++i) {
        const double got = r.Values()[i];
        if (std::isnan(want[i]))
            EXPECT_TRUE(std::isnan(got)) << "element " << i;
        else
            EXPECT_EQ(want[i], got) << "element " << i << " of 2^" << std::ilogb(x.Values()[i]);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(inPlace.Values()[i]))
            << "in place, element " << i;
    }
}

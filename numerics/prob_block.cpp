// The block-computed vector forms of Probabilities: closed formulas run as whole-vector operations.
//
// X is held still through detail::TStable (a pooled copy when it shares memory with Res), Res is sized like X, and
// both are walked in blocks of TarnelBlockSize elements through pooled views, so X and Res may themselves be views
// or inside a walk of their caller. Each block of Res is computed from the same block of X by the formula's vector
// operations in order (reciprocals with the threshold 5.56268464626801E-309); then the elements where the scalar
// routine has a rule of its own for the argument (below or above the support, the ends of [0, 1], non-finite
// values) take the scalar routine's value, so that block and scalar forms agree at every X for valid parameters.
// So do the elements where a formula cancels: 1 − e^−t and ln(1 − P) for t and P below 1/64 (relative error up to
// ε/t, 0 for a tiny positive P), e^x − 1 for |x| < ½, tan near its poles; and any NaN result (INF·0 where a power
// overflows far in a tail). The parameters are not checked, apart from ExpPDF's and ExpCDF's "mu <= 0".
#include <emmintrin.h>

#include <algorithm>
#include <cmath>

#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Probabilities.h"

namespace tarnel {

namespace {

constexpr double kInvThreshold = 5.56268464626801E-309;

// Where the formula's value stands: X in the range from Lo to Hi (each end open or closed), or with Outside X
// outside it. Every other element, a NaN argument included, takes the scalar routine's value.
struct TRange {
    double Lo = -INF, Hi = INF;
    bool LoOpen = false, HiOpen = false, Outside = false;
    bool Stands(double x) const
    {
        const bool inside = (LoOpen ? x > Lo : x >= Lo) && (HiOpen ? x < Hi : x <= Hi);
        return Outside ? !inside && x == x : inside;
    }
};

// Ends that are open: (Lo, Hi), [Lo, Hi), (Lo, Hi].
TRange Open(double Lo, double Hi)
{
    return {Lo, Hi, true, true, false};
}
TRange HalfOpen(double Lo, double Hi)
{
    return {Lo, Hi, false, true, false};
}
TRange OpenBelow(double Lo, double Hi)
{
    return {Lo, Hi, true, false, false};
}

// Whether any of N elements needs the scalar: an argument where the formula does not stand (NaN included), or a
// NaN result. Two elements a step (SSE2), as this runs after every block; the kind of range is a template
// argument, so the loop holds no branch.
template <bool LoOpen, bool HiOpen, bool Outside>
bool AnyFixOf(const double* X, const double* R, int N, const TRange& Rg)
{
    const __m128d lo = _mm_set1_pd(Rg.Lo), hi = _mm_set1_pd(Rg.Hi);
    // Good: the argument in the range (never a NaN argument) and a result that is not NaN.
    __m128d good = _mm_castsi128_pd(_mm_set1_epi32(-1));
    int k = 0;
    for (; k + 2 <= N; k += 2) {
        const __m128d x = _mm_loadu_pd(X + k), r = _mm_loadu_pd(R + k);
        const __m128d above = LoOpen ? _mm_cmpgt_pd(x, lo) : _mm_cmpge_pd(x, lo);
        const __m128d below = HiOpen ? _mm_cmplt_pd(x, hi) : _mm_cmple_pd(x, hi);
        __m128d stands = _mm_and_pd(above, below);
        if constexpr (Outside) stands = _mm_andnot_pd(stands, _mm_cmpord_pd(x, x));
        good = _mm_and_pd(good, _mm_and_pd(stands, _mm_cmpord_pd(r, r)));
    }
    bool any = _mm_movemask_pd(good) != 3;
    for (; k < N; ++k) any |= !Rg.Stands(X[k]) || std::isnan(R[k]);
    return any;
}

bool AnyFix(const double* X, const double* R, int N, const TRange& Rg)
{
    using Fn = bool (*)(const double*, const double*, int, const TRange&);
    static constexpr Fn kinds[] = {AnyFixOf<false, false, false>, AnyFixOf<false, false, true>,
                                   AnyFixOf<false, true, false>,  AnyFixOf<false, true, true>,
                                   AnyFixOf<true, false, false>,  AnyFixOf<true, false, true>,
                                   AnyFixOf<true, true, false>,   AnyFixOf<true, true, true>};
    return kinds[Rg.LoOpen * 4 + Rg.HiOpen * 2 + Rg.Outside](X, R, N, Rg);
}

// Res := Formula(X) block by block. Formula(x, r, w) writes the block r from the block x (two views of equal
// length), w a pooled work vector of that length when Work is set; afterwards every element outside the formula's
// range, or made NaN by it, takes Scalar at its argument.
template <class Formula, class Scalar>
void Blocked(const TVec& X, TVec& Res, const char* ComplexMsg, bool Work, const Formula& F, const TRange& Rg,
             const Scalar& S)
{
    if (X.Complex()) ERaise(ComplexMsg);
    detail::TStable x(X, Res);
    const int n = x->Length();
    Res.Size(n, false);
    if (n == 0) return;
    detail::TVecTemp xb, rb, w;
    const int block = std::max(TarnelBlockSize, 1);
    for (int i = 0; i < n; i += block) {
        const int len = std::min(block, n - i);
        xb->SetSubRange(*x, i, len);
        rb->SetSubRange(Res, i, len);
        if (Work) w->Size(len, false);
        F(*xb, *rb, *w);
        const double* xs = xb->Values();
        double* rs = rb->Values();
        if (AnyFix(xs, rs, len, Rg))
            for (int k = 0; k < len; ++k)
                if (!Rg.Stands(xs[k]) || std::isnan(rs[k])) rs[k] = S(xs[k]);
    }
    xb->SetFullRange();
    rb->SetFullRange();
}

// Below it 1 − e^−t and ln(1 − P) lose more than a few units of the last place to cancellation.
constexpr double kCancels = 1.0 / 64;

// Probabilities in [kCancels, 1): the scalar's values elsewhere (NaN outside [0, 1], INF at 1, the quantiles of
// small P without the cancellation of ln(1 − P)).
const TRange kLogOneMinus = HalfOpen(kCancels, 1);

// Every argument but NaN.
const TRange kEverywhere{};

void CheckMu(double Mu)
{
    if (Mu <= 0) ERaise(msg::kProbMuNotPositive);
}

}  // namespace

// 1/(exp(A·X) − 1). For |A·X| < ½ exp(A·X) − 1 cancels (relative error ε/|A·X|, MaxD for 1/0): the scalar's
// e^x − 1 without the cancellation there, INF at 0.
void BoseEinsteinPDF(const TVec& X, double A, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Copy(x);
            r.Scale(A).Exp().Offset(-1).Inv(kInvThreshold);
        },
        TRange{-0.5 / std::fabs(A), 0.5 / std::fabs(A), true, true, true},
        [=](double x) { return BoseEinsteinPDF(x, A); });
}

// S·(1/π)/((X − M)² + S²)
void CauchyPDF(const TVec& X, double S, double M, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Copy(x);
            r.Offset(-M).Sqr().Offset(S * S).Inv(kInvThreshold).Scale(S / PI);
        },
        kEverywhere, [=](double x) { return CauchyPDF(x, S, M); });
}

// atan((X − M)/S)/π + 0.5
void CauchyCDF(const TVec& X, double S, double M, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) { r.Normalize(x, M, S).ArcTan().Scale(1 / PI).Offset(0.5); }, kEverywhere,
        [=](double x) { return CauchyCDF(x, S, M); });
}

// tan((P − 0.5)·π)·S + M; ∓INF at P = 0 and 1.
void CauchyCDFInv(const TVec& P, double S, double M, TVec& Res)
{
    Blocked(
        P, Res, msg::kProbPComplex, false,
        [=](const TVec& p, TVec& r, TVec&) {
            r.Copy(p);
            r.Offset(-0.5).Scale(PI);
            r.Tan();
            r.Scale(S).Offset(M);
        },
        TRange{kCancels, 1 - kCancels}, [=](double p) { return CauchyCDFInv(p, S, M); });
}

// exp(−X/Mu)/Mu, 0 below 0.
void ExpPDF(const TVec& X, double Mu, TVec& Res)
{
    if (X.Complex()) ERaise(msg::kProbXComplex);
    CheckMu(Mu);
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Copy(x);
            r.Scale(-1 / Mu).Exp().Scale(1 / Mu).ThreshBottom(0);
        },
        TRange{0, INF}, [=](double x) { return ExpPDF(x, Mu); });
}

// 1 − exp(−X/Mu), 0 at and below 0.
void ExpCDF(const TVec& X, double Mu, TVec& Res)
{
    if (X.Complex()) ERaise(msg::kProbXComplex);
    CheckMu(Mu);
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Copy(x);
            r.Scale(-1 / Mu).Exp().Scale(-1).Offset(1).ThreshBottom(0);
        },
        TRange{Mu * kCancels, INF}, [=](double x) { return ExpCDF(x, Mu); });
}

// −Mu·ln(1 − P)
void ExpCDFInv(const TVec& P, double Mu, TVec& Res)
{
    Blocked(
        P, Res, msg::kProbPComplex, false,
        [=](const TVec& p, TVec& r, TVec&) {
            r.Copy(p);
            r.Scale(-1).Offset(1).Ln().Scale(-Mu);
        },
        kLogOneMinus, [=](double p) { return ExpCDFInv(p, Mu); });
}

// With d = Nu1/Nu2: X^((Nu1−2)/2)·d^(Nu1/2)/B(Nu1/2, Nu2/2)·(1 + d·X)^(−(Nu1+Nu2)/2); 0 below 0, the density's
// limits at 0.
void FPDF(const TVec& X, int Nu1, int Nu2, TVec& Res)
{
    const double n1 = Nu1, n2 = Nu2, d = n1 / n2;
    const double c = std::pow(d, n1 / 2) / Beta(n1 / 2, n2 / 2);
    Blocked(
        X, Res, msg::kProbXComplex, true,
        [=](const TVec& x, TVec& r, TVec& w) {
            w.Copy(x);
            w.Scale(d).Offset(1);
            w.Power(-(n1 + n2) / 2);
            r.Power(x, (n1 - 2) / 2);
            r.Scale(c).Mul(w);
        },
        Open(0, INF), [=](double x) { return FPDF(x, Nu1, Nu2); });
}

// 1/(exp(A·X + B) + 1)
void FermiDiracPDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Copy(x);
            r.Scale(A).Offset(B).Exp().Offset(1).Inv(kInvThreshold);
        },
        kEverywhere, [=](double x) { return FermiDiracPDF(x, A, B); });
}

// exp(−(ln X − Mu)²/(2·Sigma²))/X/(Sigma·√(2π)); NaN at and below 0, 0 at INF.
void LogNormalPDF(const TVec& X, double Mu, double Sigma, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Ln(x);
            r.Offset(-Mu).Sqr().Scale(-1 / (2 * Sigma * Sigma)).Exp();
            r.DivideVec(x).Scale(1 / (Sigma * SQRT2PI));
        },
        Open(0, INF), [=](double x) { return LogNormalPDF(x, Mu, Sigma); });
}

// X²·exp(−A·X²/2)·A·√(4A/(2π)); NaN below 0, 0 at INF.
void MaxwellPDF(const TVec& X, double A, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, true,
        [=](const TVec& x, TVec& r, TVec& w) {
            w.Sqr(x);
            r.Copy(w);
            r.Scale(-A / 2).Exp().Mul(w).Scale(A * std::sqrt(4 * A * INVTWOPI));
        },
        HalfOpen(0, INF), [=](double x) { return MaxwellPDF(x, A); });
}

// exp(−((X − Mu)/Sigma)²/2)/(Sigma·√(2π))
void NormalPDF(const TVec& X, double Mu, double Sigma, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Normalize(x, Mu, Sigma).Sqr().Scale(-0.5).Exp().Scale(1 / (Sigma * SQRT2PI));
        },
        kEverywhere, [=](double x) { return NormalPDF(x, Mu, Sigma); });
}

// A·B^A·X^(−(A+1)); NaN below the minimum B.
void ParetoPDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Power(x, -(A + 1));
            r.Scale(A * std::pow(B, A));
        },
        TRange{B, INF}, [=](double x) { return ParetoPDF(x, A, B); });
}

// 1 − (B/X)^A; 0 at and below B.
void ParetoCDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Inv(x, kInvThreshold);
            r.Scale(B);
            r.Power(A);
            r.Scale(-1).Offset(1);
        },
        OpenBelow(B, INF), [=](double x) { return ParetoCDF(x, A, B); });
}

// B·(1 − P)^(−1/A)
void ParetoCDFInv(const TVec& P, double A, double B, TVec& Res)
{
    Blocked(
        P, Res, msg::kProbPComplex, false,
        [=](const TVec& p, TVec& r, TVec&) {
            r.Copy(p);
            r.Scale(-1).Offset(1);
            r.Power(-1 / A);
            r.Scale(B);
        },
        HalfOpen(0, 1), [=](double p) { return ParetoCDFInv(p, A, B); });
}

// X·exp(−X²/(2B²))/B²; NaN below 0, 0 at INF.
void RayleighPDF(const TVec& X, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Sqr(x);
            r.Scale(-1 / (2 * B * B)).Exp().Mul(x).Scale(1 / (B * B));
        },
        HalfOpen(0, INF), [=](double x) { return RayleighPDF(x, B); });
}

// 1 − exp(−(X/B)²/2); 0 at and below 0.
void RayleighCDF(const TVec& X, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) { r.Normalize(x, 0, B).Sqr().Scale(-0.5).Exp().Scale(-1).Offset(1); },
        TRange{B * std::sqrt(2 * kCancels), INF}, [=](double x) { return RayleighCDF(x, B); });
}

// B·√(−2·ln(1 − P))
void RayleighCDFInv(const TVec& P, double B, TVec& Res)
{
    Blocked(
        P, Res, msg::kProbPComplex, false,
        [=](const TVec& p, TVec& r, TVec&) {
            r.Copy(p);
            r.Scale(-1).Offset(1).Ln().Scale(-2).Sqrt().Scale(B);
        },
        kLogOneMinus, [=](double p) { return RayleighCDFInv(p, B); });
}

// 1/(B − A) on [A, B], 0 outside.
void UniformPDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false, [=](const TVec&, TVec& r, TVec&) { r.SetVal(1 / (B - A)); }, TRange{A, B},
        [=](double x) { return UniformPDF(x, A, B); });
}

// (X − A)/(B − A) inside (A, B); 0 at and below A, 1 at and above B.
void UniformCDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false, [=](const TVec& x, TVec& r, TVec&) { r.Normalize(x, A, B - A); }, Open(A, B),
        [=](double x) { return UniformCDF(x, A, B); });
}

// A + P·(B − A)
void UniformCDFInv(const TVec& P, double A, double B, TVec& Res)
{
    Blocked(
        P, Res, msg::kProbPComplex, false,
        [=](const TVec& p, TVec& r, TVec&) {
            r.Copy(p);
            r.Scale(B - A).Offset(A);
        },
        TRange{0, 1}, [=](double p) { return UniformCDFInv(p, A, B); });
}

// A·B·X^(B−1)·exp(−A·X^B); 0 below 0 and at INF, the density's limits at 0.
void WeibullPDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, true,
        [=](const TVec& x, TVec& r, TVec& w) {
            // Both powers from one logarithm: X^p is exp(p·ln X) in the vector Power too, so the bits are the same.
            w.Ln(x);
            r.Copy(w);
            r.Scale(B - 1).Exp();
            w.Scale(B).Exp().Scale(-A).Exp();
            r.Mul(w).Scale(A * B);
        },
        Open(0, INF), [=](double x) { return WeibullPDF(x, A, B); });
}

// 1 − exp(−A·X^B); 0 at and below 0.
void WeibullCDF(const TVec& X, double A, double B, TVec& Res)
{
    const double cut = std::pow(kCancels / A, 1 / B);  // A·X^B < 1/64
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Power(x, B);
            r.Scale(-A).Exp().Scale(-1).Offset(1).ThreshBottom(0);
        },
        TRange{cut, INF}, [=](double x) { return WeibullCDF(x, A, B); });
}

// (−ln(1 − P)/A)^(1/B)
void WeibullCDFInv(const TVec& P, double A, double B, TVec& Res)
{
    Blocked(
        P, Res, msg::kProbPComplex, false,
        [=](const TVec& p, TVec& r, TVec&) {
            r.Copy(p);
            r.Scale(-1).Offset(1).Ln().Scale(-1 / A);
            r.Power(1 / B);
        },
        kLogOneMinus, [=](double p) { return WeibullCDFInv(p, A, B); });
}

}  // namespace tarnel

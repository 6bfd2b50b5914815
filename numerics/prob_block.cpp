// The block-computed vector forms of Probabilities: closed formulas run as whole-vector operations.
//
// X is held still through detail::TStable (a pooled copy when it shares memory with Res), Res is sized like X, and
// both are walked in blocks of TarnelBlockSize elements through pooled views, so X and Res may themselves be views
// or inside a walk of their caller. Each block of Res is computed from the same block of X by the formula's vector
// operations in order (reciprocals with the threshold 5.56268464626801E-309); then the elements where the scalar
// routine has a rule of its own for the argument (below or above the support, the ends of [0, 1], non-finite
// values) take the scalar routine's value, so that block and scalar forms agree at every X for valid parameters.
// So do the elements where a formula cancels: 1 − e^−t and ln(1 − P) for t and P below 1/64 (relative error up to
// ε/t, 0 for a tiny positive P), e^x − 1 for |x| < ½, tan near its poles; and any NaN the formula makes from an
// argument that is not NaN (INF·0 where a power overflows far in a tail). The parameters are not checked, apart
// from ExpPDF's and ExpCDF's "mu <= 0".
#include <algorithm>
#include <cmath>

#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Probabilities.h"

namespace tarnel {

namespace {

constexpr double kInvThreshold = 5.56268464626801E-309;

// The formula has no argument rule of its own: every element keeps the block's value.
struct NoRule {
    bool operator()(double) const { return false; }
};

// Res := Formula(X) block by block. Formula(x, r, w) writes the block r from the block x (two views of equal
// length), w a pooled work vector of that length when Work is set; afterwards every element whose argument
// satisfies Rule takes Scalar at that argument.
template <class Formula, class Rule, class Scalar>
void Blocked(const TVec& X, TVec& Res, const char* ComplexMsg, bool Work, const Formula& F, const Rule& R,
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
        for (int k = 0; k < len; ++k)
            if (R(xs[k]) || (std::isnan(rs[k]) && !std::isnan(xs[k]))) rs[k] = S(xs[k]);
    }
    xb->SetFullRange();
    rb->SetFullRange();
}

// Below it 1 − e^−t and ln(1 − P) lose more than a few units of the last place to cancellation.
constexpr double kCancels = 1.0 / 64;

// A probability outside [kCancels, 1) (NaN included): the scalar's values there (NaN outside [0, 1], INF at 1, the
// quantiles of small P without the cancellation of ln(1 − P)).
bool LogOneMinusRule(double P)
{
    return !(P >= kCancels && P < 1);
}

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
        [=](double x) { return std::fabs(A * x) < 0.5; }, [=](double x) { return BoseEinsteinPDF(x, A); });
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
        NoRule{}, [](double) { return 0.0; });
}

// atan((X − M)/S)/π + 0.5
void CauchyCDF(const TVec& X, double S, double M, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) { r.Normalize(x, M, S).ArcTan().Scale(1 / PI).Offset(0.5); }, NoRule{},
        [](double) { return 0.0; });
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
        [](double p) { return !(p >= kCancels && p <= 1 - kCancels); },
        [=](double p) { return CauchyCDFInv(p, S, M); });
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
        [](double x) { return x < 0; }, [=](double x) { return ExpPDF(x, Mu); });
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
        [=](double x) { return x < Mu * kCancels; }, [=](double x) { return ExpCDF(x, Mu); });
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
        LogOneMinusRule, [=](double p) { return ExpCDFInv(p, Mu); });
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
        [](double x) { return !(x > 0) || std::isinf(x); }, [=](double x) { return FPDF(x, Nu1, Nu2); });
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
        NoRule{}, [](double) { return 0.0; });
}

// exp(−(ln X − Mu)²/(2·Sigma²))/X/(Sigma·√(2π)); NaN at and below 0, 0 at INF.
void LogNormalPDF(const TVec& X, double Mu, double Sigma, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Ln(x);
            r.Offset(-Mu).Sqr().Scale(-1 / (2 * Sigma * Sigma)).Exp();
            r.Divide(x, kInvThreshold).Scale(1 / (Sigma * SQRT2PI));
        },
        [](double x) { return !(x > 0) || std::isinf(x); }, [=](double x) { return LogNormalPDF(x, Mu, Sigma); });
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
        [](double x) { return x < 0 || std::isinf(x); }, [=](double x) { return MaxwellPDF(x, A); });
}

// exp(−((X − Mu)/Sigma)²/2)/(Sigma·√(2π))
void NormalPDF(const TVec& X, double Mu, double Sigma, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) {
            r.Normalize(x, Mu, Sigma).Sqr().Scale(-0.5).Exp().Scale(1 / (Sigma * SQRT2PI));
        },
        NoRule{}, [](double) { return 0.0; });
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
        [=](double x) { return !(x >= B); }, [=](double x) { return ParetoPDF(x, A, B); });
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
        [=](double x) { return !(x > B); }, [=](double x) { return ParetoCDF(x, A, B); });
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
        [](double p) { return !(p >= 0 && p < 1); }, [=](double p) { return ParetoCDFInv(p, A, B); });
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
        [](double x) { return x < 0 || std::isinf(x); }, [=](double x) { return RayleighPDF(x, B); });
}

// 1 − exp(−(X/B)²/2); 0 at and below 0.
void RayleighCDF(const TVec& X, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false,
        [=](const TVec& x, TVec& r, TVec&) { r.Normalize(x, 0, B).Sqr().Scale(-0.5).Exp().Scale(-1).Offset(1); },
        [=](double x) { return x < B * std::sqrt(2 * kCancels); }, [=](double x) { return RayleighCDF(x, B); });
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
        LogOneMinusRule, [=](double p) { return RayleighCDFInv(p, B); });
}

// 1/(B − A) on [A, B], 0 outside.
void UniformPDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false, [=](const TVec&, TVec& r, TVec&) { r.SetVal(1 / (B - A)); },
        [=](double x) { return !(x >= A && x <= B); }, [=](double x) { return UniformPDF(x, A, B); });
}

// (X − A)/(B − A) inside (A, B); 0 at and below A, 1 at and above B.
void UniformCDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, false, [=](const TVec& x, TVec& r, TVec&) { r.Normalize(x, A, B - A); },
        [=](double x) { return !(x > A && x < B); }, [=](double x) { return UniformCDF(x, A, B); });
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
        [](double p) { return !(p >= 0 && p <= 1); }, [=](double p) { return UniformCDFInv(p, A, B); });
}

// A·B·X^(B−1)·exp(−A·X^B); 0 below 0 and at INF, the density's limits at 0.
void WeibullPDF(const TVec& X, double A, double B, TVec& Res)
{
    Blocked(
        X, Res, msg::kProbXComplex, true,
        [=](const TVec& x, TVec& r, TVec& w) {
            w.Power(x, B);
            w.Scale(-A).Exp();
            r.Power(x, B - 1);
            r.Mul(w).Scale(A * B);
        },
        [](double x) { return !(x > 0) || std::isinf(x); }, [=](double x) { return WeibullPDF(x, A, B); });
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
        [=](double x) { return !(x >= cut); }, [=](double x) { return WeibullCDF(x, A, B); });
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
        LogOneMinusRule, [=](double p) { return WeibullCDFInv(p, A, B); });
}

}  // namespace tarnel

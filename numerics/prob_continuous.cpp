// The continuous distributions of Probabilities: density, distribution function and inverse at one value.
//
// A NaN argument or parameter gives NaN before anything else; the distribution functions are 0 below their
// support and 1 above it. The two Newton inverses (Beta, Gamma) raise only when their last step missed the
// tolerance.
#include <algorithm>
#include <cmath>

#include "core/messages.h"
#include "numerics/Probabilities.h"
#include "numerics/prob_internal.h"

namespace tarnel {

namespace {

constexpr double MaxD = 1.797693134862315E308;

template <class... T>
bool AnyNan(T... v)
{
    return (std::isnan(static_cast<double>(v)) || ...);
}

// tan(π(P − ½)); in the tails as −cot(πP) and cot(π(1 − P)), where P − ½ would lose the digits of a P close to
// 0 or 1 (1 − P is exact there). INF at P = 1, −INF at P = 0.
double UnitCauchyInv(double P)
{
    if (P < 0.25) return -1 / std::tan(PI * P);
    if (P > 0.75) return 1 / std::tan(PI * (1 - P));
    return std::tan(PI * (P - 0.5));
}

bool OutsideUnit(double P)
{
    return !(P >= 0 && P <= 1);
}

// ln B(A, B) through lnΓ, where B itself would leave the range of Doubles.
double LnBeta(double A, double B)
{
    return LnGamma(A) + LnGamma(B) - LnGamma(A + B);
}

}  // namespace

// ---- Beta ----

double BetaPDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A <= 0 || B <= 0 || X < 0 || X > 1) return NAN;
    if (X == 0) return A < 1 ? INF : (A == 1 ? B : 0);  // the limits of the density at the end points
    if (X == 1) return B < 1 ? INF : (B == 1 ? A : 0);
    return std::exp((A - 1) * std::log(X) + (B - 1) * std::log1p(-X) - LnBeta(A, B));
}

double BetaCDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A <= 0 || B <= 0) return NAN;
    if (X <= 0) return 0;
    if (X >= 1) return 1;
    return std::min(BetaIncomplete(X, A, B), 1.0);
}

double BetaCDFInv(double P, double A, double B)
{
    if (AnyNan(P, A, B) || OutsideUnit(P) || A <= 0 || B <= 0) return NAN;
    if (P == 0 || P == 1) return P;
    constexpr double tol = 0x1p-26;
    double x = A / (A + B);
    if (x == 0) x = tol;
    if (x == 1) x = 1 - tol;
    // Deep in the lower tail I_x ≈ x^A/(A·B(A, B)): start there when that lies far below the mean, or the /10
    // steps would not reach a small quantile within the 100 steps. (Nearer the mean the approximation is poor.)
    const double tail = std::exp((std::log(P) + std::log(A) + LnBeta(A, B)) / A);
    if (tail > 0 && tail < 0.01 * x) x = tail;
    double dx = 1;
    // The step is measured relative to x only: an absolute 2^-26 would stop at once at quantiles below it.
    auto missed = [&] { return !(std::fabs(dx) <= std::fabs(x) * tol); };
    for (int i = 0; i < 100 && missed(); ++i) {
        dx = (BetaCDF(x, A, B) - P) / BetaPDF(x, A, B);
        double next = x - dx;
        if (!(next >= 0)) next = x / 10;  // also a NaN step
        if (next > 1) next = 1 - (1 - x) / 10;
        x = next;
    }
    if (missed()) ERaise(msg::kFailedToConverge);
    return x;
}

// ---- Cauchy ----

double CauchyPDF(double X, double S, double M)
{
    if (AnyNan(X, S, M)) return NAN;
    const double d = X - M;
    return S / (PI * (d * d + S * S));
}

double CauchyCDF(double X, double S, double M)
{
    if (AnyNan(X, S, M)) return NAN;
    return std::atan2(X - M, S) / PI + 0.5;
}

double CauchyCDFInv(double P, double S, double M)
{
    if (AnyNan(P, S, M)) return NAN;
    return M + S * UnitCauchyInv(P);
}

// ---- Gamma and its relatives ----

double GammaPDF(double X, double A, double B)
{
    if (AnyNan(X, A, B)) return NAN;
    if (X == 0 && A < 1) return INF;
    if (A <= 0 || B <= 0) return NAN;
    if (X > 0) return std::isinf(X) ? 0 : std::exp((A - 1) * std::log(X) - X / B - LnGammaOfShape(A) - A * std::log(B));
    return X == 0 && A == 1 ? 1 / B : 0;
}

double GammaCDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A <= 0 || B <= 0) return NAN;
    return X > 0 ? std::min(IGamma(A, X / B), 1.0) : 0;
}

double GammaCDFInv(double P, double A, double B)
{
    if (AnyNan(P, A, B) || OutsideUnit(P) || A <= 0 || B <= 0) return NAN;
    if (P == 0) return 0;
    if (P == 1) return INF;
    constexpr double tol = 1.4901161194E-8;
    // Start from the log-normal distribution of the same mean and variance.
    const double m = A * B, v = A * B * B;
    double x =
        std::exp(NormalCDFInv(P, 2 * std::log(m) - 0.5 * std::log(m * m + v), std::log(m * m + v) - 2 * std::log(m)));
    if (!(x > 0 && std::isfinite(x))) x = m;
    // Deep in the lower tail P(A, x/B) ≈ (x/B)^A/Γ(A + 1): start there when that lies far lower (as in
    // BetaCDFInv).
    const double tail = B * std::exp((std::log(P) + LnGamma(A + 1)) / A);
    if (tail > 0 && tail < 0.01 * x) x = tail;
    double dx = 1;
    // Relative to x only, as in BetaCDFInv.
    auto missed = [&] { return !(std::fabs(dx) <= std::fabs(x) * tol); };
    for (int i = 0; i < 100 && missed(); ++i) {
        dx = (GammaCDF(x, A, B) - P) / GammaPDF(x, A, B);
        if (x - dx >= 0) {
            x -= dx;
        } else {
            dx = 0.9 * x;
            x /= 10;
        }
    }
    if (missed() || !std::isfinite(x)) ERaise(msg::kFailedToConverge);
    return x;
}

double ChiSquarePDF(double X, double Nu)
{
    return GammaPDF(X, Nu / 2, 2);
}

double ChiSquareCDF(double X, int Nu)
{
    if (Nu <= 0) return NAN;
    return GammaCDF(X, Nu / 2.0, 2);
}

double ChiSquareCDFInv(double P, int Nu)
{
    if (Nu < 0) return NAN;
    return GammaCDFInv(P, Nu / 2.0, 2);
}

double MaxwellPDF(double X, double A)
{
    if (AnyNan(X, A) || X < 0 || A <= 0) return NAN;
    if (std::isinf(X)) return 0;
    return X * X * A * std::sqrt(4 * A * INVTWOPI) * std::exp(-A * X * X / 2);
}

double MaxwellCDF(double X, double A)
{
    if (AnyNan(X, A) || A <= 0) return NAN;
    return X > 0 ? GammaCDF(X * X, 1.5, 2 / A) : 0;
}

double MaxwellCDFInv(double P, double A)
{
    if (AnyNan(P, A) || OutsideUnit(P) || A <= 0) return NAN;
    return std::sqrt(GammaCDFInv(P, 1.5, 2 / A));
}

// ---- Exponential ----

double ExpPDF(double X, double Mu)
{
    if (AnyNan(X, Mu) || Mu <= 0) return NAN;
    return X >= 0 ? std::exp(-X / Mu) / Mu : 0;
}

double ExpCDF(double X, double Mu)
{
    if (AnyNan(X, Mu) || Mu <= 0) return NAN;
    return X > 0 ? -std::expm1(-X / Mu) : 0;
}

double ExpCDFInv(double P, double Mu)
{
    if (AnyNan(P, Mu) || OutsideUnit(P)) return NAN;
    return -Mu * std::log1p(-P);
}

// ---- F ----

double FPDF(double X, int Nu1, int Nu2)
{
    if (std::isnan(X) || Nu1 <= 0 || Nu2 <= 0) return NAN;
    const double n1 = Nu1, n2 = Nu2, d = n1 / n2;
    if (X == 0) return Nu1 < 2 ? INF : (Nu1 == 2 ? 1 : 0);  // the limits at the origin
    if (X < 0 || std::isinf(X)) return 0;
    return std::exp(n1 / 2 * std::log(d) + (n1 - 2) / 2 * std::log(X) - (n1 + n2) / 2 * std::log1p(d * X) -
                    LnBeta(n1 / 2, n2 / 2));
}

double FCDF(double X, int Nu1, int Nu2)
{
    if (std::isnan(X) || Nu1 <= 0 || Nu2 <= 0) return NAN;
    const double n1 = Nu1, n2 = Nu2;
    return X > 0 ? 1 - BetaIncomplete(n2 / (n2 + n1 * X), n2 / 2, n1 / 2) : 0;
}

double FCDFInv(double P, int Nu1, int Nu2)
{
    if (std::isnan(P) || OutsideUnit(P) || Nu1 <= 0 || Nu2 <= 0) return NAN;
    if (P == 1) return INF;
    if (P == 0) return 0;
    const double n1 = Nu1, n2 = Nu2;
    if (P < 0.5) {
        // The same quantile through the lower tail, y = n1·x/(n2 + n1·x): Nu2/b − Nu2 would cancel here.
        const double y = BetaCDFInv(P, n1 / 2, n2 / 2);
        return n2 * y / (n1 * (1 - y));
    }
    const double b = BetaCDFInv(1 - P, n2 / 2, n1 / 2);
    return (n2 / b - n2) / n1;
}

// ---- Log-normal and normal ----

double LogNormalPDF(double X, double Mu, double Sigma)
{
    if (AnyNan(X, Mu, Sigma) || Sigma <= 0 || X <= 0) return NAN;
    if (std::isinf(X)) return 0;
    const double z = (std::log(X) - Mu) / Sigma;
    return std::exp(-z * z / 2) / (Sigma * X * SQRT2PI);
}

double LogNormalCDF(double X, double Mu, double Sigma)
{
    if (AnyNan(X, Mu, Sigma) || Sigma <= 0) return NAN;
    if (X <= 0) return 0;
    return std::min((Erf((std::log(X) - Mu) / (Sigma * SQRT2)) + 1) / 2, 1.0);
}

double LogNormalCDFInv(double P, double Mu, double Sigma)
{
    if (AnyNan(P, Mu, Sigma) || OutsideUnit(P) || Sigma <= 0) return NAN;
    if (P == 0) return 0;
    if (P == 1) return INF;
    return std::exp(ErfInv(2 * P - 1) * Sigma * SQRT2 + Mu);
}

double NormalPDF(double X, double Mu, double Sigma)
{
    if (AnyNan(X, Mu, Sigma) || Sigma <= 0) return NAN;
    const double z = (X - Mu) / Sigma;
    return std::exp(-z * z / 2) / (Sigma * SQRT2PI);
}

double NormalCDF(double X, double Mu, double Sigma)
{
    if (AnyNan(X, Mu, Sigma) || Sigma <= 0) return NAN;
    return std::min((Erf((X - Mu) / Sigma * SQRT2DIV2) + 1) / 2, 1.0);
}

double NormalCDFInv(double P, double Mu, double Sigma)
{
    if (AnyNan(P, Mu, Sigma) || OutsideUnit(P) || Sigma <= 0) return NAN;
    if (P == 0) return -INF;
    if (P == 1) return INF;
    return ErfInv(2 * P - 1) * Sigma * SQRT2 + Mu;
}

// ---- Pareto and Rayleigh ----

double ParetoPDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || X < B) return NAN;
    return A * std::pow(B, A) * std::pow(X, -A - 1);
}

double ParetoCDF(double X, double A, double B)
{
    if (AnyNan(X, A, B)) return NAN;
    return X < B ? 0 : 1 - std::pow(B / X, A);
}

double ParetoCDFInv(double P, double A, double B)
{
    if (AnyNan(P, A, B) || OutsideUnit(P)) return NAN;
    return P == 1 ? INF : B * std::pow(1 - P, -1 / A);
}

double RayleighPDF(double X, double B)
{
    if (AnyNan(X, B) || B <= 0 || X < 0) return NAN;
    if (std::isinf(X)) return 0;
    return X / (B * B) * std::exp(-X * X / (2 * B * B));
}

double RayleighCDF(double X, double B)
{
    if (AnyNan(X, B) || B <= 0) return NAN;
    if (X <= 0) return 0;
    const double r = X / B;
    return -std::expm1(-r * r / 2);
}

double RayleighCDFInv(double P, double B)
{
    if (AnyNan(P, B) || B <= 0 || OutsideUnit(P)) return NAN;
    return P == 1 ? INF : B * std::sqrt(-2 * std::log1p(-P));
}

// ---- Student's t ----

double StudentPDF(double X, int Nu)
{
    if (std::isnan(X) || Nu <= 0) return NAN;
    const double n = Nu;
    return std::exp(LnGamma((n + 1) / 2) - LnGamma(n / 2) - 0.5 * std::log(n * PI) -
                    (n + 1) / 2 * std::log1p(X * X / n));
}

double StudentCDF(double X, int Nu)
{
    if (std::isnan(X) || Nu <= 0) return NAN;
    if (Nu == 1) return std::atan(X) / PI + 0.5;
    const double n = Nu, t = n / (X * X + n);
    if (X == 0) return 0.5;
    const double half = BetaIncomplete(t, n / 2, 0.5) / 2;
    return X > 0 ? 1 - half : half;
}

double StudentCDFInv(double P, int Nu)
{
    if (std::isnan(P) || OutsideUnit(P) || Nu <= 0) return NAN;
    if (Nu == 1) return UnitCauchyInv(P);
    if (P == 0) return -MaxD;
    if (P == 1) return MaxD;
    const double n = Nu;
    if (P >= 0.5) return std::sqrt(n / BetaCDFInv(2 * (1 - P), n / 2, 0.5) - n);
    return -std::sqrt(n / BetaCDFInv(2 * P, n / 2, 0.5) - n);
}

// ---- Uniform ----

double UniformPDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A >= B) return NAN;
    return X >= A && X <= B ? 1 / (B - A) : 0;
}

double UniformCDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A >= B) return NAN;
    if (X <= A) return 0;
    if (X >= B) return 1;
    return (X - A) / (B - A);
}

double UniformCDFInv(double P, double A, double B)
{
    if (AnyNan(P, A, B) || A >= B || OutsideUnit(P)) return NAN;
    return A + P * (B - A);
}

// ---- Weibull ----

double WeibullPDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A <= 0 || B <= 0) return NAN;
    if (X < 0 || std::isinf(X)) return 0;
    if (X == 0) return B < 1 ? INF : (B == 1 ? A : 0);
    return A * B * std::pow(X, B - 1) * std::exp(-A * std::pow(X, B));
}

double WeibullCDF(double X, double A, double B)
{
    if (AnyNan(X, A, B) || A <= 0 || B <= 0) return NAN;
    return X >= 0 ? -std::expm1(-A * std::pow(X, B)) : 0;
}

double WeibullCDFInv(double P, double A, double B)
{
    if (AnyNan(P, A, B) || A <= 0 || B <= 0 || OutsideUnit(P)) return NAN;
    if (P == 1) return INF;
    if (P == 0) return 0;
    return std::pow(-std::log1p(-P) / A, 1 / B);
}

}  // namespace tarnel

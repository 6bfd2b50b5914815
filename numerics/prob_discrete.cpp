// The discrete distributions of Probabilities: mass function, distribution function and inverse at one value.
//
// Counts are held in Doubles: no non-finite or out-of-range argument reaches an integer conversion. Coefficients
// that leave the range of Doubles are combined in lnΓ. The inverses search the distribution function (doubling,
// then bisection), so they take O(log k) evaluations and stop for every Y, including one within rounding of 1.
#include <algorithm>
#include <cmath>
#include <functional>

#include "numerics/Probabilities.h"
#include "numerics/prob_internal.h"

namespace tarnel {

namespace {

constexpr double MaxD = 1.797693134862315E308;
// Beyond 2^53 whole numbers are no longer all Doubles; the searches stop there.
constexpr double LastCount = 0x1p53;

template <class... T>
bool AnyNan(T... v)
{
    return (std::isnan(static_cast<double>(v)) || ...);
}

bool OutsideUnit(double P)
{
    return !(P >= 0 && P <= 1);
}

// ln C(N, K) for 0 ≤ K ≤ N.
double LnChoose(double N, double K)
{
    return LnGamma(N + 1) - LnGamma(K + 1) - LnGamma(N - K + 1);
}

// The smallest whole k in [0, Last] with Cdf(k) ≥ Y (Last when none below it is); Cdf non-decreasing. The search
// starts at Guess (held within [0, Last]; 0 for NaN), gallops away from it by 1, 2, 4, ... until Y is bracketed,
// then bisects: a guess within a few units of the answer costs a handful of evaluations.
double SmallestWith(const std::function<double(double)>& Cdf, double Y, double Last, double Guess = 0)
{
    const double g = Guess > 0 ? std::min(std::floor(Guess), Last) : 0;
    double lo, hi;  // Cdf(lo) < Y ≤ Cdf(hi)
    if (Cdf(g) < Y) {
        lo = g;
        for (double step = 1;; step *= 2) {
            hi = std::min(lo + step, Last);
            if (hi >= Last) {
                if (Cdf(Last) < Y) return Last;
                break;
            }
            if (Cdf(hi) >= Y) break;
            lo = hi;
        }
    } else {
        hi = g;
        for (double step = 1;; step *= 2) {
            if (hi == 0) return 0;
            lo = std::max(hi - step, 0.0);
            if (Cdf(lo) < Y) break;
            hi = lo;
        }
    }
    while (hi - lo > 1) {
        const double mid = std::floor(lo + (hi - lo) / 2);
        if (Cdf(mid) < Y)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

// A start for that search: the Cornish-Fisher quantile Mean + Sd·(z + (z² − 1)·Skew/6), z the normal quantile of
// Y, less ½ for the steps of a distribution on the whole numbers; usually a unit or two from the answer.
double NearQuantile(double Y, double Mean, double Sd, double Skew)
{
    if (!(Sd > 0)) return Mean;  // all the mass at one point (P = 1)
    const double z = NormalCDFInv(Y, 0, 1);
    return Mean + Sd * (z + (z * z - 1) * Skew / 6) - 0.5;
}

}  // namespace

// ---- Binomial ----

double BinomPDF(double X, int N, double P)
{
    if (AnyNan(X, P) || OutsideUnit(P) || N <= 0 || X > N) return NAN;
    if (X < 0) return 0;
    const double n = N, k = std::trunc(X);
    if (k == 0) return std::pow(1 - P, n);
    if (k == n) return std::pow(P, n);
    // Up to N = 1000 the coefficient and both powers are in range; beyond, combined in lnΓ.
    if (N <= 1000) return Binomial(N, static_cast<int>(k)) * std::pow(P, k) * std::pow(1 - P, n - k);
    return std::exp(LnChoose(n, k) + k * std::log(P) + (n - k) * std::log1p(-P));
}

double BinomCDF(double X, int N, double P)
{
    if (AnyNan(X, P) || OutsideUnit(P) || N <= 0) return NAN;
    if (X < 0) return 0;
    if (X >= N) return 1;
    const double n = N, k = std::trunc(X);
    if (k == 0) return std::pow(1 - P, n);
    return 1 - BetaIncomplete(P, k + 1, n - k);
}

double BinomCDFInv(double Y, int N, double P)
{
    if (AnyNan(Y, P) || N < 0 || OutsideUnit(P) || OutsideUnit(Y)) return NAN;
    if (N == 0) return 0;
    const double n = N, sd = std::sqrt(n * P * (1 - P));
    return SmallestWith([&](double k) { return BinomCDF(k, N, P); }, Y, n,
                        NearQuantile(Y, n * P, sd, (1 - 2 * P) / sd));
}

// ---- Geometric ----

double GeometricPDF(double X, double P)
{
    if (AnyNan(X, P) || P <= 0 || P > 1) return NAN;
    if (X < 0 || X != std::round(X)) return 0;
    return P * std::pow(1 - P, X);
}

double GeometricCDF(double X, double P)
{
    if (AnyNan(X, P) || P <= 0 || P > 1) return NAN;
    if (X < 0) return 0;
    if (P == 1) return 1;
    return -std::expm1((std::floor(X) + 1) * std::log1p(-P));
}

double GeometricCDFInv(double Y, double P)
{
    if (AnyNan(Y, P) || OutsideUnit(Y) || P <= 0 || P > 1) return NAN;
    if (Y == 1) return INF;
    if (P == 1 || Y == 0) return 0;
    // (k + 1)·ln(1 − P) ≤ ln(1 − Y), then the rounding of both logarithms settled on the distribution function.
    double k = std::max(std::ceil(std::log1p(-Y) / std::log1p(-P)) - 1, 0.0);
    // A step or two at most; bounded, since past 2^53 k ± 1 is k again.
    for (int i = 0; i < 4 && k > 0 && GeometricCDF(k - 1, P) >= Y; ++i) k -= 1;
    for (int i = 0; i < 4 && GeometricCDF(k, P) < Y; ++i) k += 1;
    return k;
}

// ---- Hypergeometric ----

double HypGeometricPDF(int X, int M, int K, int N)
{
    if (M < 0 || K < 0 || N < 0 || M < N || M < K || X > N || X > K) return NAN;
    const double x = X, m = M, k = K, n = N;
    if (X < 0 || x + m - k - n + 1 <= 0) return 0;
    return std::exp(LnChoose(k, x) + LnChoose(m - k, n - x) - LnChoose(m, n));
}

double HypGeometricCDF(int X, int M, int K, int N)
{
    if (M < 0 || K < 0 || N < 0 || M < N || M < K) return NAN;
    if (X < 0) return 0;
    const int last = std::min({K, N, X});
    if (X > std::min(K, N)) return 1;
    double sum = 0;
    for (int i = 0; i <= last; ++i) sum += HypGeometricPDF(i, M, K, N);
    return std::min(sum, 1.0);
}

double HypGeometricCDFInv(double Y, int M, int K, int N)
{
    if (std::isnan(Y) || OutsideUnit(Y) || M < 0 || K < 0 || N < 0 || M < N || M < K) return NAN;
    const int last = std::min(N, K);
    double sum = HypGeometricPDF(0, M, K, N);
    int k = 0;
    while (sum + MACHEP < Y && k < last) sum += HypGeometricPDF(++k, M, K, N);
    return k;
}

// ---- Negative binomial ----

double NegBinomPDF(double X, int R, double P)
{
    if (AnyNan(X, P) || OutsideUnit(P) || R <= 0) return NAN;
    if (X < 0 || X != std::round(X) || std::isinf(X)) return 0;
    const double r = R;
    const double lc = LnGamma(X + r) - LnGamma(X + 1) - LnGamma(r);
    if (lc < 690) {
        // The coefficient C(X + R − 1, X) as a whole number, rounded in Doubles.
        const double v = std::nearbyint(std::exp(lc)) * std::pow(P, r) * std::pow(1 - P, X);
        if (v > 1e-290 || X == 0) return v;
    }
    return std::exp(lc + r * std::log(P) + X * std::log1p(-P));
}

double NegBinomCDF(double X, int R, double P)
{
    if (AnyNan(X, P) || OutsideUnit(P) || R <= 0) return NAN;
    if (X < 0) return 0;
    if (std::isinf(X)) return 1;
    return std::min(BetaIncomplete(P, R, std::floor(X) + 1), 1.0);
}

double NegBinomCDFInv(double Y, int R, double P)
{
    if (AnyNan(Y, P) || OutsideUnit(P) || R <= 0 || OutsideUnit(Y)) return NAN;
    if (Y == 1 || P == 0) return INF;
    const double r = R, sd = std::sqrt(r * (1 - P)) / P;
    return SmallestWith([&](double k) { return NegBinomCDF(k, R, P); }, Y, LastCount,
                        NearQuantile(Y, r * (1 - P) / P, sd, (2 - P) / (sd * P)));
}

// ---- Poisson ----

double PoissonMass(double X, double Lambda)
{
    if (std::isnan(Lambda) || Lambda <= 0) return NAN;
    if (X < 0) return 0;
    if (X == 0) return std::exp(-Lambda);
    if (std::isinf(X)) return 0;
    if (Lambda < 700 && X <= 1000) {
        // e^−λ·λ/1·λ/2···λ/X: e^−λ is a normal Double below λ = 708 and the product stays below 1.
        double v = std::exp(-Lambda);
        for (double i = 1; i <= X; ++i) v *= Lambda / i;
        return v;
    }
    // X·ln λ − λ − lnΓ(X + 1) formed around X = λ, where each term is far larger than the sum.
    return std::exp(X * Log1pMinus((Lambda - X) / X) - 0.5 * std::log(X) - LNSQRT2PI - StirlingTail(X));
}

double PoissonPDF(int X, double Lambda)
{
    return PoissonMass(X, Lambda);
}

double PoissonCDF(double X, double Lambda)
{
    if (AnyNan(X, Lambda) || Lambda <= 0) return NAN;
    if (X < 0) return 0;
    if (std::isinf(X)) return 1;
    if (X < 1) return std::exp(-Lambda);
    return JGamma(std::floor(X) + 1, Lambda);
}

double PoissonCDFInv(double Y, double Lambda)
{
    if (AnyNan(Y, Lambda) || Lambda <= 0 || OutsideUnit(Y)) return NAN;
    if (Y == 1) return MaxD;
    const double sd = std::sqrt(Lambda);
    return SmallestWith([&](double k) { return PoissonCDF(k, Lambda); }, Y, LastCount,
                        NearQuantile(Y, Lambda, sd, 1 / sd));
}

// ---- Discrete uniform ----

double UniformDPDF(double X, int N)
{
    if (std::isnan(X) || N <= 0) return NAN;
    return X >= 1 && X <= N && X == std::round(X) ? 1.0 / N : 0;
}

double UniformDCDF(double X, int N)
{
    if (std::isnan(X) || N <= 0) return NAN;
    const double f = std::floor(X);
    if (f > 0 && f <= N) return f / N;
    return X <= N ? 0 : 1;
}

double UniformDCDFInv(double Y, int N)
{
    if (std::isnan(Y) || N <= 0 || Y <= 0 || Y > 1) return NAN;
    return std::ceil(Y * N);
}

// ---- Occupation functions ----

double BoseEinsteinPDF(double X, double A)
{
    return 1 / std::expm1(A * X);
}

double FermiDiracPDF(double X, double A, double B)
{
    const double e = A * X + B;
    return e == 0 ? 0.5 : 1 / (std::exp(e) + 1);
}

}  // namespace tarnel

// The special functions of Probabilities: binomial coefficient, beta function, incomplete gamma and beta functions,
// error function and its inverse.
//
// The series and continued fractions run until a term changes the result by less than MACHEP relative, capped at
// StepCap steps: the real series needs 7-14·√A steps near X = A, the fractions fewer, so the cap is never reached by
// a convergent finite case; reaching it gives NaN rather than an endless loop.
#include <algorithm>
#include <cmath>

#include "core/messages.h"
#include "numerics/Probabilities.h"
#include "numerics/prob_internal.h"

namespace tarnel {

namespace {

constexpr double MaxD = 1.797693134862315E308;

// The most steps a series or continued fraction may take for a parameter of size A (and argument size R).
double StepCap(double A, double R = 0)
{
    return 1000.0 + 60.0 * std::sqrt(std::max(A, 0.0)) + 60.0 * R;
}

// A·ln X − X − lnΓ(A), the log of the factor before the series and the fraction; formed around X = A for large A,
// where the three terms are each far larger than their sum.
double LogFactor(double A, double X)
{
    if (A < 10) return A * std::log(X) - X - LnGammaOfShape(A);
    return A * Log1pMinus((X - A) / A) + 0.5 * std::log(A) - LNSQRT2PI - StirlingTail(A);
}

// Keeps a continued fraction's denominator away from zero.
double Floored(double v)
{
    return std::fabs(v) < MINNUM ? MINNUM : v;
}

TCplx Floored(const TCplx& v)
{
    return CAbs(v) < MINNUM ? TCplx{MINNUM, 0} : v;
}

TCplx ComplexFactor(double A, const TCplx& Z)
{
    return Exp(CSub(CSub(CMul(A, Ln(Z)), Z), TCplx{LnGamma(A), 0}));
}

// The complex continued fraction; NaN where it has not settled within the cap.
TCplx FracOrNan(double A, const TCplx& Z)
{
    TCplx b = CAdd(Z, 1 - A);
    TCplx c{1 / MINNUM, 0};
    TCplx d = CDiv(1.0, Floored(b));
    TCplx h = d;
    const double cap = StepCap(A, CAbs(Z));
    for (double i = 1; i <= cap; ++i) {
        const double an = -i * (i - A);
        b = CAdd(b, 2.0);
        d = Floored(CAdd(CMul(an, d), b));
        c = Floored(CAdd(b, CDiv(an, c)));
        d = CDiv(1.0, d);
        const TCplx del = CMul(d, c);
        h = CMul(h, del);
        if (CAbs(CSub(del, 1.0)) < MACHEP) return CMul(ComplexFactor(A, Z), h);
        if (IsInfNan(h)) break;
    }
    return CNAN;
}

}  // namespace

double Log1pMinus(double t)
{
    if (std::fabs(t) >= 0.3) return std::log1p(t) - t;
    // −t²/2 + t³/3 − t⁴/4 + ...
    double term = -t * t, sum = 0;
    for (int k = 2; k < 80; ++k) {
        const double d = term / k;
        sum += d;
        if (std::fabs(d) <= std::fabs(sum) * 1e-17) break;
        term *= -t;
    }
    return sum;
}

double LnGammaOfShape(double A)
{
    thread_local double last = NAN, value = NAN;
    if (!(A == last)) {
        value = LnGamma(A);
        last = A;
    }
    return value;
}

double StirlingTail(double A)
{
    const double r = 1 / A, r2 = r * r;
    return r * (1.0 / 12 -
                r2 * (1.0 / 360 - r2 * (1.0 / 1260 - r2 * (1.0 / 1680 - r2 * (1.0 / 1188 - r2 * 691.0 / 360360)))));
}

double Binomial(int N, int K)
{
    if (K < 0 || K > N) return 0;
    if (K == 0 || K == N) return 1;
    if (K == 1 || N == K + 1) return N;
    K = std::min(K, N - K);
    const double n = N;
    double r = n;
    for (int i = 2; i <= K; ++i) r = (n - i + 1) / i * r;
    return std::floor(r + 0.5);
}

double Beta(double A, double B)
{
    if (std::isnan(A) || std::isnan(B)) return NAN;
    const double s = SgnGamma(A) * SgnGamma(B) * SgnGamma(A + B);
    const double lab = LnGamma(A + B), la = LnGamma(A), lb = LnGamma(B);
    if (std::isinf(lab)) return 0;
    if (std::isinf(la) || std::isinf(lb)) return s * MaxD;
    return s * std::exp(la + lb - lab);
}

double GammaSer(double A, double X)
{
    if (std::isnan(A) || std::isnan(X)) return NAN;
    double ap = A, del = 1 / A, sum = del;
    const double cap = StepCap(A);
    for (double n = 0;; ++n) {
        if (n > cap || !std::isfinite(sum)) return NAN;
        ap += 1;
        del *= X / ap;
        sum += del;
        if (std::fabs(del) < std::fabs(sum) * MACHEP) break;
    }
    return sum * std::exp(LogFactor(A, X));
}

double GammaFrac(double A, double X)
{
    if (std::isnan(A) || std::isnan(X) || X <= 0) return NAN;
    double b = X + 1 - A;
    double c = 1 / MINNUM;
    double d = 1 / Floored(b);
    double h = d;
    const double cap = StepCap(A);
    for (double i = 1;; ++i) {
        if (i > cap || !std::isfinite(h)) return NAN;
        const double an = -i * (i - A);
        b += 2;
        d = 1 / Floored(an * d + b);
        c = Floored(b + an / c);
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1) < MACHEP) break;
    }
    return std::exp(LogFactor(A, X)) * h;
}

double IGamma(double A, double X)
{
    if (std::isnan(A) || std::isnan(X)) return NAN;
    if (A <= 0 || X <= 0) return 0;
    if (std::isinf(A)) return std::isinf(X) ? NAN : 0;
    if (std::isinf(X)) return 1;
    return X < A + 1 ? GammaSer(A, X) : 1 - GammaFrac(A, X);
}

double JGamma(double A, double X)
{
    if (std::isnan(A) || std::isnan(X)) return NAN;
    if (A <= 0 || X < 0) return 0;
    if (X == 0) return 1;
    if (std::isinf(A)) return std::isinf(X) ? NAN : 1;
    if (std::isinf(X)) return 0;
    return X < A + 1 ? 1 - GammaSer(A, X) : GammaFrac(A, X);
}

TCplx GammaSer(double A, const TCplx& Z)
{
    if (std::isnan(A) || IsNan(Z)) return CNAN;
    double ap = A;
    TCplx del{1 / A, 0};
    TCplx sum = del;
    const double cap = StepCap(A, CAbs(Z));
    for (double n = 0;; ++n) {
        if (n > cap || IsInfNan(sum)) return CNAN;
        ap += 1;
        del = CMul(del, CDiv(Z, ap));
        sum = CAdd(sum, del);
        if (CAbs(del) < CAbs(sum) * MACHEP) break;
    }
    return CMul(sum, ComplexFactor(A, Z));
}

TCplx GammaFrac(double A, const TCplx& Z)
{
    if (std::isnan(A) || IsNan(Z) || (Z.Im == 0 && Z.Re <= 0)) return CNAN;
    return FracOrNan(A, Z);
}

namespace {

// P(A, Z) and Q(A, Z) for finite Z ≠ 0 and 0 < A < INF: the series inside |Z| < A + 1, the fraction outside, the
// series again where the fraction does not settle.
void ComplexPQ(double A, const TCplx& Z, TCplx& P, TCplx& Q)
{
    if (CAbs(Z) >= A + 1) {
        Q = FracOrNan(A, Z);
        if (!IsNan(Q)) {
            P = CSub(1.0, Q);
            return;
        }
    }
    P = GammaSer(A, Z);
    Q = CSub(1.0, P);
}

// The values at an infinite Z or A (P, with Q = 1 − P); false when there are none.
bool ComplexLimit(double A, const TCplx& Z, TCplx& P)
{
    if (std::isinf(A)) {
        if (IsInfNan(Z)) return false;
        P = C_ZERO;
        return true;
    }
    if (IsInfNan(Z)) {
        // e^−Z vanishes only along the positive real direction.
        if (!(Z.Re == INF && std::isfinite(Z.Im))) return false;
        P = C_ONE;
        return true;
    }
    return false;
}

}  // namespace

TCplx IGamma(double A, const TCplx& Z)
{
    if (std::isnan(A) || IsNan(Z)) return CNAN;
    if (A <= 0 || (Z.Re == 0 && Z.Im == 0)) return C_ZERO;
    TCplx P, Q;
    if (std::isinf(A) || IsInfNan(Z)) return ComplexLimit(A, Z, P) ? P : CNAN;
    ComplexPQ(A, Z, P, Q);
    return P;
}

TCplx JGamma(double A, const TCplx& Z)
{
    if (std::isnan(A) || IsNan(Z)) return CNAN;
    if (A <= 0) return C_ZERO;
    if (Z.Re == 0 && Z.Im == 0) return C_ONE;
    TCplx P, Q;
    if (std::isinf(A) || IsInfNan(Z)) return ComplexLimit(A, Z, P) ? CSub(1.0, P) : CNAN;
    ComplexPQ(A, Z, P, Q);
    return Q;
}

namespace {

// The continued fraction of I_X(A, B) (modified Lentz); NaN where it has not settled within the cap.
double BetaContinuedFraction(double X, double A, double B)
{
    const double qab = A + B, qap = A + 1, qam = A - 1;
    double c = 1;
    double d = 1 / Floored(1 - qab * X / qap);
    double h = d;
    const double cap = StepCap(std::max(A, B));
    for (double m = 1; m <= cap; ++m) {
        const double m2 = 2 * m;
        double aa = m * (B - m) * X / ((qam + m2) * (A + m2));
        d = 1 / Floored(1 + aa * d);
        c = Floored(1 + aa / c);
        h *= d * c;
        aa = -(A + m) * (qab + m) * X / ((A + m2) * (qap + m2));
        d = 1 / Floored(1 + aa * d);
        c = Floored(1 + aa / c);
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1) < MACHEP) return h;
        if (!std::isfinite(h)) break;
    }
    return NAN;
}

}  // namespace

double BetaIncomplete(double X, double A, double B)
{
    if (std::isnan(X) || std::isnan(A) || std::isnan(B)) return NAN;
    if (!(A > 0 && B > 0 && X >= 0 && X <= 1)) return 0;
    if (std::isinf(A) || std::isinf(B)) return NAN;
    const double bt = (X == 0 || X == 1)
                          ? 0
                          : std::exp(LnGamma(A + B) - LnGamma(A) - LnGamma(B) + A * std::log(X) + B * std::log1p(-X));
    if (X < (A + 1) / (A + B + 2)) return bt * BetaContinuedFraction(X, A, B) / A;
    return 1 - bt * BetaContinuedFraction(1 - X, B, A) / B;
}

double ErfInv(double Y)
{
    if (std::isnan(Y)) return NAN;
    if (std::fabs(Y) > 1) ERaise(msg::kErfInvRange);
    if (Y == 1) return MaxD;
    if (Y == -1) return -MaxD;
    constexpr double a0 = 0.886226899, a1 = -1.645349621, a2 = 0.914624893, a3 = -0.140543331;
    constexpr double b0 = -2.118377725, b1 = 1.442710462, b2 = -0.329097515, b3 = 0.012229801;
    constexpr double c0 = -1.970840454, c1 = -1.624906493, c2 = 3.429567803, c3 = 1.641345311;
    constexpr double d0 = 3.5438892, d1 = 1.6370678;
    double x;
    if (std::fabs(Y) <= 0.7) {
        const double z = Y * Y;
        x = Y * (((a3 * z + a2) * z + a1) * z + a0) / ((((b3 * z + b2) * z + b1) * z + b0) * z + 1);
    } else {
        const double z = std::sqrt(-std::log((1 - std::fabs(Y)) / 2));
        x = (((c3 * z + c2) * z + c1) * z + c0) / ((d1 * z + d0) * z + 1);
        if (Y < 0) x = -x;
    }
    // Two Newton steps on Erf(x) − Y. Beyond 0.7 the difference is formed as ±((1 − |Y|) − Erfc(|x|)): the same
    // number without the rounding of Erf near ±1, which would otherwise cost up to five digits of x.
    const double s = Y < 0 ? -1 : 1, tail = 1 - std::fabs(Y);
    for (int step = 0; step < 2; ++step) {
        const double miss = std::fabs(Y) <= 0.7 ? Erf(x) - Y : s * (tail - Erfc(s * x));
        x -= miss / (2 / SQRTPI * std::exp(-x * x));
    }
    return x;
}

}  // namespace tarnel

// Complete elliptic integrals and Jacobi's elliptic functions by the arithmetic-geometric mean, associated
// Legendre functions by upward recurrence.
//
// The mean ends where the tolerance is met or where cₙ = (aₙ₋₁ − bₙ₋₁)/2 stops decreasing: near the rounding
// floor a and b may settle one unit apart, c then never reaches 0 and 2ⁿ·cₙ² grows again, so a tolerance of 0
// (or below that floor) would otherwise never be met.
#include <climits>
#include <cmath>
#include <limits>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "numerics/SpecialFuncs.h"

namespace tarnel {

namespace {

bool InUnitRange(double M)
{
    return M >= 0 && M <= 1;
}  // NaN is outside

double Tolerance(double Tol)
{
    return Tol > 0 ? Tol : 0.0;
}  // below 0 or NaN: 0

constexpr int kFirstSteps = 8;

}  // namespace

double EllipComplete(double M, double Tol, double& E)
{
    if (!InUnitRange(M)) ERaise(msg::kEllipCompleteRange);
    if (M == 1) {
        E = 1;
        return INF;
    }
    Tol = Tolerance(Tol);
    double a = 1, b = std::sqrt(1 - M), s = M, t = 1, pow2 = 1, last = INF;
    while (t > Tol) {
        const double c = (a - b) / 2;
        if (!(std::fabs(c) < last)) break;
        last = std::fabs(c);
        pow2 *= 2;
        t = pow2 * (c * c);
        s += t;
        const double bn = std::sqrt(a * b);
        a = (a + b) / 2;
        b = bn;
    }
    const double k = PI / (2 * a);
    E = (1 - s / 2) * k;
    return k;
}

double EllipComplete(double M)
{
    double e;
    return EllipComplete(M, MACHEP, e);
}

void EllipJacoby(double U, double M, double Tol, double& Sn, double& Cn, double& Dn)
{
    if (!InUnitRange(M)) ERaise(msg::kEllipJacobyRange);
    Tol = Tolerance(Tol);
    detail::TVecTemp va, vb, vc;
    va->Size(kFirstSteps);
    vb->Size(kFirstSteps);
    vc->Size(kFirstSteps);
    double* a = va->Values();
    double* b = vb->Values();
    double* c = vc->Values();
    a[0] = 1;
    b[0] = std::sqrt(1 - M);
    c[0] = std::sqrt(M);
    int n = 0;
    while (std::fabs(c[n]) > Tol) {
        const double cn = (a[n] - b[n]) / 2;
        if (!(std::fabs(cn) < std::fabs(c[n]))) break;
        if (n + 1 == va->Length()) {
            const int len = 2 * va->Length();
            va->Resize(len);
            vb->Resize(len);
            vc->Resize(len);
            a = va->Values();
            b = vb->Values();
            c = vc->Values();
        }
        a[n + 1] = (a[n] + b[n]) / 2;
        b[n + 1] = std::sqrt(a[n] * b[n]);
        c[n + 1] = cn;
        ++n;
    }
    double phi = std::ldexp(1.0, n) * a[n] * U;
    for (int j = n; j >= 1; --j) phi = (std::asin(c[j] / a[j] * std::sin(FixAngle(phi))) + phi) / 2;
    const double p = FixAngle(phi);
    Sn = std::sin(p);
    Cn = std::cos(p);
    Dn = std::sqrt(1 - M * Sn * Sn);
    if (M == 1) {
        Sn = std::tanh(U);
        Cn = 1 / std::cosh(U);
        Dn = Cn;
    }
}

double LegendreP(int N, int M, double X)
{
    if (!(M >= 0 && M <= N && std::fabs(X) <= 1)) return std::numeric_limits<double>::quiet_NaN();
    double pmm = 1;
    if (M > 0) {
        const double s = std::sqrt(1 - X * X);
        double f = 1;
        for (int i = 0; i < M; ++i) {
            pmm = -pmm * f * s;
            f += 2;
        }
    }
    if (N == M) return pmm;
    double pmm1 = X * (2.0 * M + 1) * pmm;
    if (N == M + 1) return pmm1;
    double pll = 0;
    for (double l = M + 2.0; l <= N; l += 1) {
        pll = (X * (2 * l - 1) * pmm1 - (l + M - 1) * pmm) / (l - M);
        pmm = pmm1;
        pmm1 = pll;
    }
    return pll;
}

double LegendreP(int N, double X)
{
    return LegendreP(N, 0, X);
}

void LegendreP(int N, double X, TVec& Res)
{
    if (Res.Complex()) ERaise(msg::kLegendreComplex);
    if (N < 0) ERaise(msg::kLegendreNegN);
    if (N == INT_MAX) ERaise(msg::kLegendreTooLarge);
    Res.SetLength(N + 1);
    double* r = Res.Values();
    if (!(std::fabs(X) <= 1)) {
        for (int k = 0; k <= N; ++k) r[k] = std::numeric_limits<double>::quiet_NaN();
        return;
    }
    // The recurrence of LegendreP(k, 0, X), every step kept.
    r[0] = 1;
    if (N >= 1) r[1] = X * 1.0 * r[0];
    for (int k = 2; k <= N; ++k) {
        const double l = k;
        r[k] = (X * (2 * l - 1) * r[k - 1] - (l - 1) * r[k - 2]) / l;
    }
}

}  // namespace tarnel

// Airy and Bessel functions over the complex routines of lapack (core/Nmkl.h), with the reflection of negative
// orders. NZ and IERR are not examined: the routines always write their result (NaN where nothing is computed).
#include <cmath>
#include <limits>

#include "core/Nmkl.h"
#include "numerics/SpecialFuncs.h"

namespace tarnel {

namespace {

constexpr int kOne = 1;

int Kode(bool Scaled)
{
    return Scaled ? 2 : 1;
}

TCplx Real(double X)
{
    return {X, 0.0};
}

bool IsZero(const TCplx& Z)
{
    return Z.Re == 0 && Z.Im == 0;
}

TCplx Scale(double a, const TCplx& z)
{
    return {a * z.Re, a * z.Im};
}

TCplx Mul(const TCplx& a, const TCplx& b)
{
    return {a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re};
}

// a·X + b·Y; a term with an exact zero factor is left out, so that it cannot bring in an infinity or a NaN.
TCplx Combine(double a, const TCplx& X, double b, const TCplx& Y)
{
    TCplx r{0.0, 0.0};
    if (a != 0) r = Scale(a, X);
    if (b != 0) r = {r.Re + b * Y.Re, r.Im + b * Y.Im};
    return r;
}

// The reflection data of a negative order Nu: v = −Nu, whether v is an integer, and sin vπ, cos vπ with v
// reduced exactly modulo 2 first (exact 0 and ±1 at integers and half-integers).
struct Reflection {
    double V;
    bool Integer;
    bool Odd;
    double Sin, Cos;
};

Reflection Reflect(double Nu)
{
    Reflection r{-Nu, false, false, 0.0, 1.0};
    r.Integer = std::isfinite(r.V) && r.V == std::floor(r.V);
    double t = std::fmod(r.V, 2.0);  // exact, in [0, 2)
    r.Odd = r.Integer && t == 1.0;
    if (t > 1.0) t -= 2.0;  // exact: now in (−1, 1]
    double sign = 1.0;
    if (t > 0.5) {  // sin πt = sin π(1 − t), cos πt = −cos π(1 − t)
        t = 1.0 - t;
        sign = -1.0;
    } else if (t < -0.5) {
        t = -1.0 - t;
        sign = -1.0;
    }
    if (t == 0.5 || t == -0.5) {
        r.Sin = t > 0 ? 1.0 : -1.0;
        r.Cos = 0.0;
    } else if (t == 0) {
        r.Sin = 0.0;
        r.Cos = sign;
    } else {
        r.Sin = std::sin(PI * t);
        r.Cos = sign * std::cos(PI * t);
    }
    if (!std::isfinite(r.V)) r.Sin = r.Cos = std::numeric_limits<double>::quiet_NaN();
    return r;
}

using Routine = void (*)(const TCplx*, const double*, const int*, const int*, TCplx*, int*, int*);

TCplx Call(Routine F, double Nu, const TCplx& Z, bool Scaled)
{
    TCplx cy;
    int nz = 0, ierr = 0;
    const int kode = Kode(Scaled);
    F(&Z, &Nu, &kode, &kOne, &cy, &nz, &ierr);
    return cy;
}

TCplx Y(double Nu, const TCplx& Z, bool Scaled)
{
    TCplx cy, cwrk;
    int nz = 0, ierr = 0;
    const int kode = Kode(Scaled);
    CBESY(&Z, &Nu, &kode, &kOne, &cy, &nz, &cwrk, &ierr);
    return cy;
}

TCplx H(double Nu, const TCplx& Z, bool Scaled, bool FirstKind)
{
    TCplx cy;
    int nz = 0, ierr = 0;
    const int kode = Kode(Scaled), m = FirstKind ? 1 : 2;
    CBESH(&Z, &Nu, &kode, &m, &kOne, &cy, &nz, &ierr);
    return cy;
}

TCplx AiryCall(bool Bi, const TCplx& Z, bool Derivative, bool Scaled)
{
    TCplx r;
    int nz = 0, ierr = 0;
    const int id = Derivative ? 1 : 0, kode = Kode(Scaled);
    if (Bi)
        CBIRY(&Z, &id, &kode, &r, &ierr);
    else
        CAIRY(&Z, &id, &kode, &r, &nz, &ierr);
    return r;
}

TCplx Negated(bool Odd, const TCplx& Z)
{
    return Odd ? TCplx{-Z.Re, -Z.Im} : Z;
}

}  // namespace

// ---- Airy ---------------------------------------------------------------------------------------------------

TCplx Airy(const TCplx& Z, bool Derivative, bool Scaled)
{
    return AiryCall(false, Z, Derivative, Scaled);
}
TCplx Airy(const TCplx& Z)
{
    return Airy(Z, false, false);
}
double Airy(double X, bool Derivative, bool Scaled)
{
    return Airy(Real(X), Derivative, Scaled && !(X < 0)).Re;
}
double Airy(double X)
{
    return Airy(X, false, false);
}

TCplx Biry(const TCplx& Z, bool Derivative, bool Scaled)
{
    return AiryCall(true, Z, Derivative, Scaled);
}
TCplx Biry(const TCplx& Z)
{
    return Biry(Z, false, false);
}
double Biry(double X, bool Derivative, bool Scaled)
{
    return Biry(Real(X), Derivative, Scaled).Re;
}
double Biry(double X)
{
    return Biry(X, false, false);
}

// ---- Bessel -------------------------------------------------------------------------------------------------

TCplx Besj(double Nu, const TCplx& Z, bool Scaled)
{
    if (!(Nu < 0)) return Call(CBESJ, Nu, Z, Scaled);
    const Reflection r = Reflect(Nu);
    const TCplx j = Call(CBESJ, r.V, Z, Scaled);
    if (r.Integer) return Negated(r.Odd, j);
    return Combine(r.Cos, j, -r.Sin, Y(r.V, Z, Scaled));
}

TCplx Besy(double Nu, const TCplx& Z, bool Scaled)
{
    if (IsZero(Z)) {
        // Y₋ᵥ = ±Jᵥ at half-integers v, which is 0 at the origin.
        if (Nu < 0 && Reflect(Nu).Cos == 0) return {0.0, 0.0};
        return {-INF, -INF};
    }
    if (!(Nu < 0)) return Y(Nu, Z, Scaled);
    const Reflection r = Reflect(Nu);
    const TCplx y = Y(r.V, Z, Scaled);
    if (r.Integer) return Negated(r.Odd, y);
    return Combine(r.Sin, Call(CBESJ, r.V, Z, Scaled), r.Cos, y);
}

TCplx Besi(double Nu, const TCplx& Z, bool Scaled)
{
    if (!(Nu < 0)) return Call(CBESI, Nu, Z, Scaled);
    const Reflection r = Reflect(Nu);
    const TCplx i = Call(CBESI, r.V, Z, Scaled);
    if (r.Integer) return i;
    TCplx k = Call(CBESK, r.V, Z, Scaled);
    // The scaled K carries e^z, the scaled I e^(−|Re z|): K is brought to I's scale, e^(−|Re z| − z).
    if (Scaled) k = Mul(k, Scale(std::exp(-std::fabs(Z.Re) - Z.Re), Expj(-Z.Im)));
    return Combine(1.0, i, 2.0 / PI * r.Sin, k);
}

TCplx Besk(double Nu, const TCplx& Z, bool Scaled)
{
    if (IsZero(Z)) return {INF, INF};
    return Call(CBESK, std::fabs(Nu), Z, Scaled);
}

TCplx Besh(double Nu, const TCplx& Z, bool Scaled, bool FirstKind)
{
    if (!(Nu < 0)) return H(Nu, Z, Scaled, FirstKind);
    const Reflection r = Reflect(Nu);
    const TCplx h = H(r.V, Z, Scaled, FirstKind);
    if (r.Integer) return Negated(r.Odd, h);
    return Mul(h, {r.Cos, FirstKind ? r.Sin : -r.Sin});  // e^(±iνπ)
}

TCplx Besj(double Nu, const TCplx& Z)
{
    return Besj(Nu, Z, false);
}
TCplx Besj(double Nu, double X)
{
    return Besj(Nu, Real(X), false);
}
TCplx Besj(double Nu, double X, bool Scaled)
{
    return Besj(Nu, Real(X), Scaled);
}
TCplx Besy(double Nu, const TCplx& Z)
{
    return Besy(Nu, Z, false);
}
TCplx Besy(double Nu, double X)
{
    return Besy(Nu, Real(X), false);
}
TCplx Besy(double Nu, double X, bool Scaled)
{
    return Besy(Nu, Real(X), Scaled);
}
TCplx Besi(double Nu, const TCplx& Z)
{
    return Besi(Nu, Z, false);
}
TCplx Besi(double Nu, double X)
{
    return Besi(Nu, Real(X), false);
}
TCplx Besi(double Nu, double X, bool Scaled)
{
    return Besi(Nu, Real(X), Scaled);
}
TCplx Besk(double Nu, const TCplx& Z)
{
    return Besk(Nu, Z, false);
}
TCplx Besk(double Nu, double X)
{
    return Besk(Nu, Real(X), false);
}
TCplx Besk(double Nu, double X, bool Scaled)
{
    return Besk(Nu, Real(X), Scaled);
}
TCplx Besh(double Nu, const TCplx& Z)
{
    return Besh(Nu, Z, false, true);
}
TCplx Besh(double Nu, double X)
{
    return Besh(Nu, Real(X), false, true);
}
TCplx Besh(double Nu, double X, bool Scaled, bool FirstKind)
{
    return Besh(Nu, Real(X), Scaled, FirstKind);
}

}  // namespace tarnel

// SpecialFuncs: Airy and Bessel functions of real order and real or complex argument, complete elliptic
// integrals, Jacobi's elliptic functions and associated Legendre functions. Shared library only.
//
// The Airy and Bessel values come from the complex routines of core/Nmkl.h (CAIRY, CBIRY, CBESJ, ...), one order
// per call. A real X is taken as the complex (X, +0), the upper side of the cut on the negative axis. Scaled gives
// the exponentially scaled values those routines define (J, Y times e^(−|Im z|), I times e^(−|Re z|), K times e^z,
// H⁽¹⁾/H⁽²⁾ times e^(∓iz), Ai, Ai′ times e^ζ, Bi, Bi′ times e^(−|Re ζ|), ζ = ⅔z^(3/2)); the short forms are the
// plain values (and H⁽¹⁾). Nothing is raised: a value that cannot be computed is NaN, one beyond the range of
// Doubles ±INF.
//
// Negative orders are reflected, with sin νπ and cos νπ exact at integers and half-integers:
//   J₋ᵥ = cos νπ·Jᵥ − sin νπ·Yᵥ,  Y₋ᵥ = sin νπ·Jᵥ + cos νπ·Yᵥ,  I₋ᵥ = Iᵥ + (2/π)·sin νπ·Kᵥ,  K₋ᵥ = Kᵥ,
//   H⁽¹⁾₋ᵥ = e^(iνπ)·H⁽¹⁾ᵥ,  H⁽²⁾₋ᵥ = e^(−iνπ)·H⁽²⁾ᵥ;
// at integers J₋ₙ = (−1)ⁿJₙ, Y₋ₙ = (−1)ⁿYₙ, I₋ₙ = Iₙ, H₋ₙ = (−1)ⁿHₙ.
// At Z = 0: Besy gives (−INF, −INF) (0 at Nu = −½, −3⁄2, ...), Besk (INF, INF), Besh NaN; Besj and Besi give
// their value at Nu ≥ 0 and at negative integers (0), NaN at other negative orders.
#pragma once

#include "core/Dovi387.h"
#include "core/Tarnel.h"

namespace tarnel {

// ---- Airy functions ---------------------------------------------------------------------------------------
// Ai(Z), or Ai′ with Derivative; the real forms give the real part. Scaled at a real X < 0 gives the plain
// value (e^ζ has modulus 1 there, and the real part of the scaled value is no value of anything).
TCplx Airy(const TCplx& Z);
double Airy(double X);
TCplx Airy(const TCplx& Z, bool Derivative, bool Scaled);
double Airy(double X, bool Derivative, bool Scaled);
// Bi(Z), or Bi′ with Derivative.
TCplx Biry(const TCplx& Z);
double Biry(double X);
TCplx Biry(const TCplx& Z, bool Derivative, bool Scaled);
double Biry(double X, bool Derivative, bool Scaled);

// ---- Bessel functions of order Nu -------------------------------------------------------------------------
TCplx Besj(double Nu, const TCplx& Z);
TCplx Besj(double Nu, double X);
TCplx Besj(double Nu, const TCplx& Z, bool Scaled);
TCplx Besj(double Nu, double X, bool Scaled);
TCplx Besy(double Nu, const TCplx& Z);
TCplx Besy(double Nu, double X);
TCplx Besy(double Nu, const TCplx& Z, bool Scaled);
TCplx Besy(double Nu, double X, bool Scaled);
TCplx Besi(double Nu, const TCplx& Z);
TCplx Besi(double Nu, double X);
TCplx Besi(double Nu, const TCplx& Z, bool Scaled);
TCplx Besi(double Nu, double X, bool Scaled);
TCplx Besk(double Nu, const TCplx& Z);
TCplx Besk(double Nu, double X);
TCplx Besk(double Nu, const TCplx& Z, bool Scaled);
TCplx Besk(double Nu, double X, bool Scaled);
// H⁽¹⁾_Nu, or H⁽²⁾_Nu when FirstKind is false.
TCplx Besh(double Nu, const TCplx& Z);
TCplx Besh(double Nu, double X);
TCplx Besh(double Nu, const TCplx& Z, bool Scaled, bool FirstKind);
TCplx Besh(double Nu, double X, bool Scaled, bool FirstKind);

// ---- Elliptic functions (the parameter m, not the modulus k = √m) ------------------------------------------
// K(m) by the arithmetic-geometric mean to the tolerance MACHEP.
double EllipComplete(double M);
// K(m) as result and E(m) in E. The mean runs while 2ⁿ·cₙ² > Tol and cₙ still decreases (so a Tol of 0, or one
// below the rounding floor, ends where the Doubles do); a Tol below 0 or NaN counts as 0. M = 1 gives INF and
// E = 1. M outside [0, 1] or NaN raises "EllipComplete: (m < 0) or (1 < m)".
double EllipComplete(double M, double Tol, double& E);
// sn(u|m), cn(u|m), dn(u|m) by descending Landen steps while |cₙ| > Tol and |cₙ| still decreases; M = 1 gives
// tanh U, sech U, sech U. M outside [0, 1] or NaN raises "EllipJacoby: (m < 0) or (1 < m)".
void EllipJacoby(double U, double M, double Tol, double& Sn, double& Cn, double& Dn);

// ---- Associated Legendre functions --------------------------------------------------------------------------
// Pₙᵐ(X) with the factor (−1)ᵐ, by upward recurrence; NaN unless 0 ≤ M ≤ N and |X| ≤ 1.
double LegendreP(int N, int M, double X);
double LegendreP(int N, double X);  // LegendreP(N, 0, X)
// Res := [P₀(X), ..., Pₙ(X)] (Length N + 1) in one pass, the same values as LegendreP(k, X). Raises "Result =
// Complex" for a complex Res and "n < 0", before Res changes.
void LegendreP(int N, double X, TVec& Res);

}  // namespace tarnel

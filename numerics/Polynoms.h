// Polynoms: polynomials held as coefficient vectors, highest power first (Coeff[0]·xⁿ⁻¹ + … + Coeff[n−1]), and
// piecewise polynomials with the splines and interpolation built on them.
//
// An empty coefficient vector is the zero polynomial. Every routine raises tarnel::Exception with the texts given
// below, in the order given, before it changes an output (IIRFilter sizes Y first). Outputs may be inputs: the
// result is that of distinct vectors.
#pragma once

#include <memory>

#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

// ---- Polynomials (poly_fit.cpp, poly_eval.cpp, poly_roots.cpp, poly_filter.cpp) --------------------------------

// Least-squares fit of degree Deg: Coeff := the solution of V·Coeff = Y by QR (xGELS), V the Vandermonde matrix
// of X with Deg + 1 columns; R := the (Deg + 1) × (Deg + 1) triangular factor, DegFreedom := Y.Length − Deg − 1,
// L2R := ‖V·Coeff − Y‖₂. "PolyFit : XValues.Complex <> YValues.Complex", "PolyFit : XValues.Length <>
// YValues.Length", "PolyFit : XValues.Length = 0", "PolyFit : Deg < 0"; a fit without a unique solution (fewer
// distinct abscissae than Deg + 1) raises "PolyFit : Vandermonde matrix rank deficient" and leaves the outputs.
void PolyFit(const TVec& X, const TVec& Y, int Deg, TVec& Coeff, TMtx& R, int& DegFreedom, double& L2R);
// The same without R, DegFreedom and L2R.
void PolyFit(const TVec& X, const TVec& Y, int Deg, TVec& Coeff);

// Y := the polynomial at X, and Delta := the prediction standard error of a fit by PolyFit (R, DegFreedom, L2R):
// Delta[j] = (L2R/√DegFreedom)·√(1 + ‖R⁻ᵀ·a_j‖²), a_j the Vandermonde row of X[j]; all INF when DegFreedom = 0.
// Delta is real for real X; for complex X it is complex with zero imaginary parts. "PolyEval : Val.Complex <>
// Coeff.Complex".
void PolyEval(const TVec& X, const TVec& Coeff, const TMtx& R, int DegFreedom, double L2R, TVec& Y, TVec& Delta);
// Y[i] := the polynomial at X[i] by Horner, Y sized like X. "not (Val.Complex = Coeff.Complex)!".
void PolyEval(const TVec& X, const TVec& Coeff, TVec& Y);
// Horner on real coefficients: "Coeff.Complex = True" for complex ones.
double PolyEval(double X, const TVec& Coeff);
// Horner in complex arithmetic; real coefficients are taken as x + 0i.
TCplx PolyEval(const TCplx& X, const TVec& Coeff);

// Coeff := the monic polynomial with the given roots (Roots.Length + 1 elements of Roots' kind).
void PolyCoeff(const TVec& Roots, TVec& Coeff);
// Coeff := the characteristic polynomial of the square Mtx from its eigenvalues (Eig, mtGeneral); Coeff is left
// unchanged when the eigenvalues fail (Mtx.Info ≠ 0). "not Mtx.Quadratic".
void PolyCoeff(TMtx& Mtx, TVec& Coeff);

// Dst := Src[First..Last], First and Last the indexes of the first and last nonzero elements (a complex element
// is zero when both parts are). Only zeros (or an empty Src) give an empty Dst, First = Src.Length, Last = −1.
void StripZeros(const TVec& Src, TVec& Dst, int& First, int& Last);
// Dst := Src from its first nonzero element on; only zeros give an empty Dst and First = Src.Length.
void StripLeadZeros(const TVec& Src, TVec& Dst, int& First);

// Roots := the complex roots of the polynomial: a zero root for each trailing zero coefficient, then the
// eigenvalues of the companion matrix of the rest (Eig, mtGeneral). Leading zeros lower the degree, so Roots holds
// only the roots found; a constant or zero polynomial gives an empty (real) Roots.
void PolyRoots(TVec& Roots, const TVec& Coeff);

// Polynomial division B = conv(A, Q) + R, R of B's length. B shorter than A: Q := one zero, R := B.
// "A.Complex<>B.Complex", then IIRFilter's texts for a zero or missing A[0].
void DeConv(const TVec& B, const TVec& A, TVec& Q, TVec& R);

// Y := X filtered by B(z)/A(z) with a zero initial state (taps divided by A[0]). Y is sized like X first (complex
// when X or the taps are), then "A.Complex<>B.Complex!", "A[0]=0 !" ("A.CValues[0]=(0,0) !" for complex taps);
// an empty A counts as A[0] = 0.
void IIRFilter(const TVec& B, const TVec& A, const TVec& X, TVec& Y);

// Kept for programs that call them; both are incomplete. ResExtract: "A.Complex<>B.Complex!", IIRFilter's texts for
// a zero or missing A[0], then B and A divided by A[0]; when the scaled A is shorter than the scaled B, V3 := the
// quotient and V4 := the remainder of their division. V5 is never touched; no residues are computed.
void ResExtract(const TVec& B, const TVec& A, TVec& V3, TVec& V4, TVec& V5);
// Does nothing.
void ResCompose(TVec& V1, TVec& V2, TVec& V3, TVec& V4, double K);

// ---- Piecewise polynomials (pp_piecepoly.cpp) ------------------------------------------------------------------

// Break points, ascending, Pieces + 1 of them, and one coefficient row per piece: row k is piece k in powers of
// (x − Breaks[k]), highest first. Changing Breaks' length sizes Coefficients to max(0, Length − 1) rows (columns
// kept); changing Coefficients' size sets Breaks' length to Rows + 1; the two settle after one exchange. Breaks
// of length 0 settle at one break and no piece.
class TPiecePoly {
public:
    TPiecePoly();
    ~TPiecePoly();
    TPiecePoly(const TPiecePoly&) = delete;
    TPiecePoly& operator=(const TPiecePoly&) = delete;

    TVec& Breaks() { return *FBreaks; }
    const TVec& Breaks() const { return *FBreaks; }
    TMtx& Coefficients() { return *FCoefficients; }
    const TMtx& Coefficients() const { return *FCoefficients; }
    void SetBreaks(const TVec& Value);
    void SefCoefficients(const TMtx& Value);
    int Pieces() const;
    int Order() const;

    // Y := the piecewise polynomial at X. Piece k serves (Breaks[k], Breaks[k + 1]], piece 0 also everything below
    // and the last piece everything beyond; an Order of 0 gives 0. "(FBreaks.Length <= 0) or (FCoefficients.Rows
    // <> FBreaks.Length -1)" when Breaks and Coefficients do not fit together or there is no piece. Works on
    // locals only: one object may be evaluated from several threads at once.
    void Evaluate(double X, double& Y) const;
    // Y sized like X. Ascending: X sorted ascending, its pieces found by walking forward from the first (the last
    // piece when X[0] ≥ Breaks[Pieces − 1]); otherwise each found by bisection as above. A complex X raises
    // "TPiecePoly.Evaluate : X.Complex = True".
    void Evaluate(const TVec& X, TVec& Y, bool Ascending) const;

private:
    void IOnSetLength(TVecs& Sender);
    void IOnSetSize(TMtx1& Sender);
    void CheckEvaluate() const;

    std::unique_ptr<TVec> FBreaks;
    std::unique_ptr<TMtx> FCoefficients;
};

enum TInterpolationType { IntLinear, IntCubic };

// ---- Splines and interpolation (pp_spline.cpp, pp_interp.cpp) --------------------------------------------------
// A tarnel::Exception raised inside these routines after their checks comes out with the routine's prefix
// ("Linear1D : " …) before its text; the condition checks of the caller's vectors are off while they work.

// PP := the broken line through (X[i], Y[i]). "Linear1D : X.Length <> Y.Length", "Linear1D : all vectors must be
// real!", "Linear1D : X.Length < 2", "Linear1D : X is not ascending".
void Linear1D(const TVec& X, const TVec& Y, TPiecePoly& PP);
// The same at abscissae 0, 1, …. "Linear1D : all vectors must be real!", "Linear1D : X.Length < 2".
void Linear1D(const TVec& Y, TPiecePoly& PP);
// PP := the cubic spline through (X, Y): not-a-knot ends when Y.Length = X.Length, clamped ends with Y[0] and
// Y[last] the end slopes when Y.Length = X.Length + 2. Two points give a line (or one cubic with slopes), three
// without slopes one parabola. "Spline1D :(X.Complex) or (Y.Complex)", "Spline1D : X.Length < 2", "Spline1D :
// Abscisa and ordinanta points DO NOT match!", "Spline1D : X is not strictly ascending".
void Spline1D(const TVec& X, const TVec& Y, TPiecePoly& PP);
// The same at abscissae 0, 1, …, EndSlopes saying whether Y's first and last elements are the end slopes.
// "Spline1D :(Y.Complex)", "Spline1D : X.Length < 2" (also for fewer than two data values besides the slopes).
void Spline1D(const TVec& Y, TPiecePoly& PP, bool EndSlopes);
// YI := the linear or not-a-knot cubic interpolant of (X, Y) at XI (Ascending: XI sorted). "Interpolate : X.Length
// <> Y.Length", "Interpolate : all vectors must be real!", "Interpolate : X.Length < 3" (cubic), "Interpolate :
// X.Length < 2" (linear), then those of Linear1D and Spline1D.
void Interpolate(const TVec& X, const TVec& Y, const TVec& XI, TVec& YI, TInterpolationType IntType, bool Ascending);
// The same at abscissae 0, 1, …. "Interpolate : all vectors must be real!", "Interpolate : Y.Length < 3",
// "Interpolate : Y.Length < 2".
void Interpolate(const TVec& Y, const TVec& XI, TVec& YI, TInterpolationType IntType, bool Ascending);
// YI := Y interpolated at XI, the abscissae equidistant from X[0] to X[X.Length − 1] (the others are not read):
// linearly or by cubic convolution, extrapolating with the first or last interval outside; a non-finite XI gives
// NaN. "InterpolateEqd : X.Length <> Y.Length", "InterpolateEqd : all vectors must be real!", "InterpolateEqd :
// X.Length < 3", "InterpolateEqd : X[0] = X[X.Length-1]".
void InterpolateEqd(const TVec& X, const TVec& Y, const TVec& XI, TVec& YI, TInterpolationType IntType);

}  // namespace tarnel

// Probabilities: the special functions behind the distributions: the binomial coefficient, the beta function,
// the regularised incomplete gamma functions (real and complex argument), the regularised incomplete beta
// function and the error function with its complement and inverse.
//
// Invalid arguments give 0 (or the value listed) rather than an exception; the one exception is ErfInv's
// "abs(y) > 0". A NaN argument gives NaN. Every series and continued fraction stops: its number of steps is
// capped well beyond what any convergent finite case needs (the cap grows with √A, and with |Z| for the complex
// forms); a case that reaches the cap gives NaN.
#pragma once

#include "core/Dovi387.h"
#include "core/Tarnel.h"

namespace tarnel {

// ---- Special functions (prob_special.cpp) -------------------------------------------------------------------

// C(N, K), formed in Doubles and rounded to the nearest whole number; 0 for K < 0 and for K > N.
double Binomial(int N, int K);
// B(A, B) = Γ(A)Γ(B)/Γ(A + B): 0 when Γ(A + B) is infinite, ±1.797693134862315E308 when Γ(A) or Γ(B) is.
double Beta(double A, double B);

// The series of the regularised lower incomplete gamma function P(A, X); accurate for X < A + 1.
double GammaSer(double A, double X);
// The continued fraction of the regularised upper incomplete gamma function Q(A, X); accurate for X ≥ A + 1.
// NaN for X ≤ 0.
double GammaFrac(double A, double X);
// P(A, X) = γ(A, X)/Γ(A): 0 when A ≤ 0 or X ≤ 0, 1 at X = INF, 0 at A = INF for finite X.
double IGamma(double A, double X);
// Q(A, X) = 1 − P(A, X): 0 when A ≤ 0 or X < 0, 1 at X = 0, 0 at X = INF, 1 at A = INF for finite X.
double JGamma(double A, double X);

// The same with a complex argument. IGamma uses the series for |Z| < A + 1 and the continued fraction beyond,
// or the series where the fraction does not settle (near the negative real axis), so that IGamma + JGamma = 1
// everywhere. IGamma: (0, 0) when A ≤ 0 or Z = 0; JGamma: (0, 0) when A ≤ 0, (1, 0) at Z = 0.
TCplx GammaSer(double A, const TCplx& Z);
TCplx GammaFrac(double A, const TCplx& Z);
TCplx IGamma(double A, const TCplx& Z);
TCplx JGamma(double A, const TCplx& Z);

// I_X(A, B), the regularised incomplete beta function: 0 unless A > 0, B > 0 and 0 ≤ X ≤ 1.
double BetaIncomplete(double X, double A, double B);

// The error function: Erf(±INF) = ±1, 2X/√π below 2^-26 in magnitude.
double Erf(double X);
// 1 − Erf(X): Erfc(INF) = 0, Erfc(−INF) = 2.
double Erfc(double X);
// The inverse of Erf: raises "abs(y) > 0" for |Y| > 1; ±1.797693134862315E308 at Y = ±1.
double ErfInv(double Y);

// ---- Continuous distributions (prob_continuous.cpp) ---------------------------------------------------------
// The density (PDF), the distribution function (CDF) and its inverse (CDFInv) at one value: the argument first
// (X, or the probability P for the inverses), then the parameters. Invalid parameters or arguments give NaN, as
// does a NaN anywhere; a distribution function is 0 below its support and 1 above it, also at X = ±INF.
// BetaCDFInv and GammaCDFInv (and the inverses built on them) iterate Newton's method and raise
// "Failed to converge!" when the last of their 100 steps still missed the tolerance.
double BetaPDF(double X, double A, double B);
double BetaCDF(double X, double A, double B);
double BetaCDFInv(double P, double A, double B);
// S the scale, M the location.
double CauchyPDF(double X, double S, double M);
double CauchyCDF(double X, double S, double M);
double CauchyCDFInv(double P, double S, double M);
double ChiSquarePDF(double X, double Nu);
double ChiSquareCDF(double X, int Nu);
double ChiSquareCDFInv(double P, int Nu);
// Mu the mean.
double ExpPDF(double X, double Mu);
double ExpCDF(double X, double Mu);
double ExpCDFInv(double P, double Mu);
double FPDF(double X, int Nu1, int Nu2);
double FCDF(double X, int Nu1, int Nu2);
double FCDFInv(double P, int Nu1, int Nu2);
// A the shape, B the scale.
double GammaPDF(double X, double A, double B);
double GammaCDF(double X, double A, double B);
double GammaCDFInv(double P, double A, double B);
double LogNormalPDF(double X, double Mu, double Sigma);
double LogNormalCDF(double X, double Mu, double Sigma);
double LogNormalCDFInv(double P, double Mu, double Sigma);
double MaxwellPDF(double X, double A);
double MaxwellCDF(double X, double A);
double MaxwellCDFInv(double P, double A);
// NormalCDFInv gives −INF at P = 0 and INF at P = 1.
double NormalPDF(double X, double Mu, double Sigma);
double NormalCDF(double X, double Mu, double Sigma);
double NormalCDFInv(double P, double Mu, double Sigma);
// A the shape, B the minimum.
double ParetoPDF(double X, double A, double B);
double ParetoCDF(double X, double A, double B);
double ParetoCDFInv(double P, double A, double B);
double RayleighPDF(double X, double B);
double RayleighCDF(double X, double B);
double RayleighCDFInv(double P, double B);
// StudentCDFInv gives ∓1.797693134862315E308 at P = 0 and 1 (Nu > 1).
double StudentPDF(double X, int Nu);
double StudentCDF(double X, int Nu);
double StudentCDFInv(double P, int Nu);
double UniformPDF(double X, double A, double B);
double UniformCDF(double X, double A, double B);
double UniformCDFInv(double P, double A, double B);
// A the scale factor, B the shape: CDF = 1 − exp(−A·X^B).
double WeibullPDF(double X, double A, double B);
double WeibullCDF(double X, double A, double B);
double WeibullCDFInv(double P, double A, double B);

// ---- Discrete distributions and occupation functions (prob_discrete.cpp) -----------------------------------
// X is a Double (whole numbers are the support; k = Trunc(X) where a formula needs a count), except for the
// Integer X of PoissonPDF and of the hypergeometric PDF and CDF. A distribution function is 0 below the support
// and 1 above it; an inverse gives the smallest k with CDF(k) ≥ Y.
double BinomPDF(double X, int N, double P);
double BinomCDF(double X, int N, double P);
double BinomCDFInv(double Y, int N, double P);
// P·(1 − P)^X at whole X ≥ 0. GeometricCDFInv: INF at Y = 1, NaN for P = 0.
double GeometricPDF(double X, double P);
double GeometricCDF(double X, double P);
double GeometricCDFInv(double Y, double P);
// M the population, K its successes, N the draws.
double HypGeometricPDF(int X, int M, int K, int N);
double HypGeometricCDF(int X, int M, int K, int N);
double HypGeometricCDFInv(double Y, int M, int K, int N);
// Failures X before the R-th success: C(X + R − 1, X)·P^R·(1 − P)^X. NegBinomCDFInv: INF at Y = 1 or P = 0.
double NegBinomPDF(double X, int R, double P);
double NegBinomCDF(double X, int R, double P);
double NegBinomCDFInv(double Y, int R, double P);
// PoissonCDFInv gives 1.797693134862315E308 at Y = 1.
double PoissonPDF(int X, double Lambda);
double PoissonCDF(double X, double Lambda);
double PoissonCDFInv(double Y, double Lambda);
// 1/N at the whole numbers 1..N.
double UniformDPDF(double X, int N);
double UniformDCDF(double X, int N);
double UniformDCDFInv(double Y, int N);
// 1/(exp(A·X) − 1) and 1/(exp(A·X + B) + 1) (0.5 where A·X + B = 0); no checks.
double BoseEinsteinPDF(double X, double A);
double FermiDiracPDF(double X, double A, double B);

// ---- Vector forms, element by element (prob_vector.cpp) -----------------------------------------------------
// Res := the scalar routine at every element of X, Res sized like X (length, real); X and Res may be the same
// vector or views. A complex X raises " X.Complex = true " (" Y.Complex = true ", " P.Complex = true " for the
// inverses, as named) before Res is touched; the scalar routines' exceptions pass on. A count (the hypergeometric
// X) outside the Integers is held at their ends, where the result no longer changes.
void BetaPDF(const TVec& X, double A, double B, TVec& Res);
void BetaCDF(const TVec& X, double A, double B, TVec& Res);
void BetaCDFInv(const TVec& X, double A, double B, TVec& Res);
void BinomPDF(const TVec& X, int N, double P, TVec& Res);
void BinomCDF(const TVec& X, int N, double P, TVec& Res);
void BinomCDFInv(const TVec& Y, int N, double P, TVec& Res);
void ChiSquarePDF(const TVec& X, double Nu, TVec& Res);
void ChiSquareCDF(const TVec& X, int Nu, TVec& Res);
void ChiSquareCDFInv(const TVec& P, int Nu, TVec& Res);
void FCDF(const TVec& X, int Nu1, int Nu2, TVec& Res);
// Res[i] := FCDFInv(P, Nu1[i], Nu2[i]) where both are whole numbers within 0.0001 (rounded), else NaN; Res sized
// like Nu1. " Nu.Complex = true ", " Nu1.Length <> Nu2.Length ".
void FCDFInv(double P, const TVec& Nu1, const TVec& Nu2, TVec& Res);
void GammaPDF(const TVec& X, double A, double B, TVec& Res);
void GammaCDF(const TVec& X, double A, double B, TVec& Res);
void GammaCDFInv(const TVec& P, double A, double B, TVec& Res);
void GeometricPDF(const TVec& X, double P, TVec& Res);
void GeometricCDF(const TVec& X, double P, TVec& Res);
void GeometricCDFInv(const TVec& Y, double P, TVec& Res);
void HypGeometricPDF(const TVec& X, int M, int K, int N, TVec& Res);
void HypGeometricCDF(const TVec& X, int M, int K, int N, TVec& Res);
void HypGeometricCDFInv(const TVec& P, int M, int K, int N, TVec& Res);
void LogNormalCDF(const TVec& X, double Mu, double Sigma, TVec& Res);
void LogNormalCDFInv(const TVec& P, double Mu, double Sigma, TVec& Res);
void MaxwellCDF(const TVec& X, double A, TVec& Res);
void MaxwellCDFInv(const TVec& P, double A, TVec& Res);
void NegBinomPDF(const TVec& X, int R, double P, TVec& Res);
void NegBinomCDF(const TVec& X, int R, double P, TVec& Res);
void NegBinomCDFInv(const TVec& Y, int R, double P, TVec& Res);
void NormalCDF(const TVec& X, double Mu, double Sigma, TVec& Res);
void NormalCDFInv(const TVec& P, double Mu, double Sigma, TVec& Res);
// NaN where X[i] is not a whole number.
void PoissonPDF(const TVec& X, double Lambda, TVec& Res);
void PoissonCDF(const TVec& X, double Lambda, TVec& Res);
void PoissonCDFInv(const TVec& P, double Lambda, TVec& Res);
void StudentPDF(const TVec& X, int Nu, TVec& Res);
void StudentCDF(const TVec& X, int Nu, TVec& Res);
void StudentCDFInv(const TVec& P, int Nu, TVec& Res);
void UniformDPDF(const TVec& X, int N, TVec& Res);
void UniformDCDF(const TVec& X, int N, TVec& Res);
void UniformDCDFInv(const TVec& P, int N, TVec& Res);

// ---- Vector forms, block by block (prob_block.cpp) ----------------------------------------------------------
// Res := the closed formula at every element of X, computed with whole-vector operations on blocks of
// TarnelBlockSize elements; Res sized like X (length, real); X and Res may be the same vector, views, or inside a
// walk of the caller. Where the scalar routine has a rule for the argument (outside the support, the ends of
// [0, 1], non-finite values) the element takes the scalar's value, so both forms agree for valid parameters; the
// parameters are not checked, except that ExpPDF and ExpCDF raise "mu <= 0". A complex X raises
// " X.Complex = true " (" P.Complex = true " for the inverses) before Res is touched.
void BoseEinsteinPDF(const TVec& X, double A, TVec& Res);
void CauchyPDF(const TVec& X, double S, double M, TVec& Res);
void CauchyCDF(const TVec& X, double S, double M, TVec& Res);
void CauchyCDFInv(const TVec& P, double S, double M, TVec& Res);
void ExpPDF(const TVec& X, double Mu, TVec& Res);
void ExpCDF(const TVec& X, double Mu, TVec& Res);
void ExpCDFInv(const TVec& P, double Mu, TVec& Res);
void FPDF(const TVec& X, int Nu1, int Nu2, TVec& Res);
void FermiDiracPDF(const TVec& X, double A, double B, TVec& Res);
void LogNormalPDF(const TVec& X, double Mu, double Sigma, TVec& Res);
void MaxwellPDF(const TVec& X, double A, TVec& Res);
void NormalPDF(const TVec& X, double Mu, double Sigma, TVec& Res);
void ParetoPDF(const TVec& X, double A, double B, TVec& Res);
void ParetoCDF(const TVec& X, double A, double B, TVec& Res);
void ParetoCDFInv(const TVec& P, double A, double B, TVec& Res);
void RayleighPDF(const TVec& X, double B, TVec& Res);
void RayleighCDF(const TVec& X, double B, TVec& Res);
void RayleighCDFInv(const TVec& P, double B, TVec& Res);
void UniformPDF(const TVec& X, double A, double B, TVec& Res);
void UniformCDF(const TVec& X, double A, double B, TVec& Res);
void UniformCDFInv(const TVec& P, double A, double B, TVec& Res);
void WeibullPDF(const TVec& X, double A, double B, TVec& Res);
void WeibullCDF(const TVec& X, double A, double B, TVec& Res);
void WeibullCDFInv(const TVec& P, double A, double B, TVec& Res);

}  // namespace tarnel

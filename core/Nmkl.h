// Nmkl: prototypes of the linear-algebra library's entry points that the library calls.
//
// Fortran conventions throughout: C linkage, every argument by pointer (counts and options included),
// 32-bit int, complex values as two Doubles with the real part first. The BLAS and LAPACK prototypes
// (NmklBlas.h) join the lapack library's own families below; BlasCalls.h is the typed layer over them.
#pragma once

#include <cstdint>

#include "core/NmklBlas.h"

namespace tarnel {

extern "C" {

// ---- Vector maths (platform/lapack) ------------------------------------------------------------------------
// y[k] := f(a[k]) for k < *n, with an error of at most one unit in the last place and the C library's values
// at ±0, ±inf, NaN and subnormal arguments. Any output may be any input (the same array); outputs that
// overlap inputs otherwise are computed through a buffer. A count of 0 or below does nothing. Arrays of 2^16
// elements and more are shared among up to eight threads (no more than the processor runs at once); the
// results are the same as from one thread.
void VDEXP(const int* n, const double* a, double* y);
void VDLN(const int* n, const double* a, double* y);
void VDLOG10(const int* n, const double* a, double* y);
void VDSQRT(const int* n, const double* a, double* y);
void VDINVSQRT(const int* n, const double* a, double* y);  // 1/√a
void VDCBRT(const int* n, const double* a, double* y);
void VDINVCBRT(const int* n, const double* a, double* y);  // 1/∛a
void VDINV(const int* n, const double* a, double* y);      // 1/a
void VDSIN(const int* n, const double* a, double* y);
void VDCOS(const int* n, const double* a, double* y);
void VDTAN(const int* n, const double* a, double* y);
void VDASIN(const int* n, const double* a, double* y);
void VDACOS(const int* n, const double* a, double* y);
void VDATAN(const int* n, const double* a, double* y);
void VDSINH(const int* n, const double* a, double* y);
void VDCOSH(const int* n, const double* a, double* y);
void VDTANH(const int* n, const double* a, double* y);
void VDDIV(const int* n, const double* a, const double* b, double* y);  // a/b, correctly rounded
void VDPOW(const int* n, const double* a, const double* b, double* y);  // a^b
void VDSINCOS(const int* n, const double* a, double* s, double* c);     // s may be a, c may be a
// Strided copies: y[k] := a[k·inc] (pack) and y[k·inc] := a[k] (unpack), k < *n; an increment below 1 does
// nothing.
void VDPACKI(const int* n, const double* a, const int* inc, double* y);
void VDUNPACKI(const int* n, const double* a, double* y, const int* inc);

// ---- Two-dimensional FFT (platform/lapack) -----------------------------------------------------------------
// Data are row-major: *m rows of *n columns. The forward transform is unscaled,
// X[k, l] = Σ x[i, j]·e^(−2πi(ik/m + jl/n)); the inverse uses +2πi and divides by m·n, so that a forward and
// an inverse transform give the data back. m and n may be any positive sizes.
//
// ZFFT2D: m by n complex values in place; *sign −1 forward, +1 inverse.
// DZFFT2D: the real m by n samples lie in the first n Doubles of the first m rows of an (m + 2) by (n + 2)
//   block of Doubles (row stride n + 2). The packed spectrum replaces them: bins X[k, l] for k < m and
//   l ≤ n/2 as complex numbers, row k at Doubles k·(n + 2) .. k·(n + 2) + n + 1, that is element (k, l) of
//   the block read as an (m + 2) by (n/2 + 1) complex matrix. The other bins follow from
//   X[k, l] = conj(X[(m − k) mod m, (n − l) mod n]). The last two rows are set to 0.
// ZDFFT2D: the packed spectrum of that layout back to the real samples in the same places, divided by m·n;
//   the two spare columns and the last two rows are set to 0. n must be even for both real transforms.
void ZFFT2D(double* data, const int* m, const int* n, const int* sign);
void DZFFT2D(double* data, const int* m, const int* n);
void ZDFFT2D(double* data, const int* m, const int* n);

// ---- Iterative sparse solvers (platform/lapack) --------------------------------------------------------------
// Solve A·x = b for a real N × N matrix given as NELT 1-based triplets (IA[k], JA[k], A[k]) in any order;
// duplicates are summed. ISYM 1: only one triangle is given and A = L + Lᵀ − D (an entry above the diagonal
// stands for its mirror). X holds the first guess on entry and the last iterate on return; B and X must not
// overlap. IA, JA, A and B are only read.
//   DSJAC   Jacobi refinement                    DSLUBC  biconjugate gradients, ILU(0)
//   DSGS    Gauss–Seidel refinement, M = tril(A) DSLUCN  CG on the normal equations A·Aᵀ, ILU(0)
//   DSILUR  refinement with ILU(0)               DSLUCS  CG squared, ILU(0)
//   DSICCG  CG, IC(0) of the lower triangle      DSLUGM  GMRES(min(NSAVE, N)), ILU(0)
//                                                DSLUOM  Orthomin(NSAVE), ILU(0)
// Stopping test, at ITER 0 and after each iteration, ERR its last value: ITOL 1 ‖r‖/‖b‖, ITOL 2 ‖M⁻¹r‖/‖M⁻¹b‖
// (DSLUCN: ‖Aᵀz‖/‖Aᵀ(M·Mᵀ)⁻¹b‖ with z = (M·Mᵀ)⁻¹r); DSLUGM takes ITOL 0 or 2, both its preconditioned residual.
// A TOL below 500·2^-53 is reset to that and written back. ITER never exceeds ITMAX.
// IERR: 0 converged (also b = 0, which gives X = 0); 1 LENW or LENIW below the method's length (also for more
// triplets than the routine can count, or no memory); 2 not converged in ITMAX iterations; 3 bad input (N or
// NELT below 1, ISYM, ITOL, NSAVE, an index outside 1..N, a zero diagonal for DSJAC and DSGS); 4 converged after
// TOL was reset (not DSLUGM); 5 and 6 breakdowns of the method; 7 converged, but an IC(0) pivot ≤ 0 or an
// ILU(0) pivot 0 was replaced by 1. After 1 and 3, X is untouched and ITER, ERR are 0. The routines keep their
// own storage (IA, JA and A stay as given): IUNIT, RWORK and IWORK are never read, LENW and LENIW only checked.
// Nothing is printed and nothing is kept between calls.
void DSGS(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
          const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
          const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSICCG(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSILUR(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSJAC(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
           const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
           const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSLUBC(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSLUCN(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSLUCS(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR, int* IERR,
            const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSLUGM(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* NSAVE, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR,
            int* IERR, const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);
void DSLUOM(const int* N, const double* B, double* X, const int* NELT, const int* IA, const int* JA, const double* A,
            const int* ISYM, const int* NSAVE, const int* ITOL, double* TOL, const int* ITMAX, int* ITER, double* ERR,
            int* IERR, const int* IUNIT, double* RWORK, const int* LENW, int* IWORK, const int* LENIW);

}  // extern "C"

// ---- Work lengths of the iterative sparse solvers --------------------------------------------------------------
// The nine routines in the order of the library's TIterativeMethod.
enum TSlapRoutine : int { slapSGS, slapICCG, slapILUR, slapJAC, slapLUBC, slapSLUCN, slapLUCS, slapLUGM, slapLUOM };

struct TSlapLengths {
    std::int64_t LenW;
    std::int64_t LenIW;
};

// The least LENW and LENIW each routine accepts for N unknowns, NZ = NELT triplets and NS = NSAVE (DSLUGM and
// DSLUOM), in 64 bits so that no size wraps.
inline TSlapLengths SlapWorkLengths(TSlapRoutine Routine, std::int64_t N, std::int64_t NZ, std::int64_t NS)
{
    switch (Routine) {
        case slapSGS:
            return {3 * N + NZ, NZ + N + 11};
        case slapICCG:
            return {5 * N + NZ, NZ + N + 11};
        case slapILUR:
            return {5 * N + NZ, 5 * N + NZ + 10};
        case slapJAC:
            return {4 * N + 1, 11};
        case slapLUBC:
        case slapSLUCN:
        case slapLUCS:
            return {9 * N + NZ, 5 * N + NZ + 12};
        case slapLUGM:
            return {(NS + 8) * N + NS * (NS + 3) + NZ + 1, 5 * N + NZ + 32};
        case slapLUOM:
            return {8 * N + NZ + (3 * N + 1) * NS, 5 * N + NZ + 12};
    }
    return {0, 0};
}

// The routine of Routine with these arguments (NSAVE reaches DSLUGM and DSLUOM only; IUNIT, RWORK and IWORK,
// which the routines do not use, are left out). An unknown Routine gives IERR 3.
void SlapSolve(TSlapRoutine Routine, const int* N, const double* B, double* X, const int* NELT, const int* IA,
               const int* JA, const double* A, const int* ISYM, const int* NSAVE, const int* ITOL, double* TOL,
               const int* ITMAX, int* ITER, double* ERR, int* IERR, const int* LENW, const int* LENIW);

}  // namespace tarnel

// ---- Bessel and Airy functions (platform/lapack, shared library only) -----------------------------------------
namespace tarnel {

extern "C" {

// Complex Bessel and Airy functions of real order, on Arb's ball arithmetic. The argument's branch is
// −π < arg z ≤ π, a zero imaginary part counting as the upper side whatever its sign bit. CY[k] receives the
// function of order FNU + k for k = 0 .. N − 1; AI and BI one value. KODE 1 gives the plain values, KODE 2 the
// scaled ones: J, Y times e^(−|Im z|), I times e^(−|Re z|), K times e^z, H⁽¹⁾ (M 1) times e^(−iz), H⁽²⁾ (M 2)
// times e^(iz), Ai, Ai′ times e^ζ and Bi, Bi′ times e^(−|Re ζ|), ζ = ⅔·z^(3/2); a scaled value stays finite where
// the plain one overflows. ID 0 gives the function, 1 its derivative.
// Every result is written. The working precision grows until the error bound is below 2^-53 of the modulus and
// the midpoint is rounded to the nearest Double: each part is within about one unit in the last place of the
// modulus (a part that is zero within that bound is +0). NZ counts the members below 2^-1022 in modulus, which
// are set to 0. IERR:
//   0  all values to full accuracy;
//   1  bad input: FNU < 0, KODE, ID or M outside their sets, N < 1, z = 0 for Y, K and H, z or FNU not finite;
//      every value NaN;
//   2  a part passed the range of Doubles (that part is ±INF);
//   3  the working precision reached 2^15 bits with 26 correct bits or more; the value is kept;
//   4  the working precision reached 2^15 bits with fewer; the value is NaN.
// The worst outcome of the N members is reported. Nothing is printed, nothing raised.
void CAIRY(const TCplx* Z, const int* ID, const int* KODE, TCplx* AI, int* NZ, int* IERR);
void CBIRY(const TCplx* Z, const int* ID, const int* KODE, TCplx* BI, int* IERR);
void CBESJ(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR);
void CBESI(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR);
void CBESK(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR);
// CWRK (one element or more) is not used; it is kept for the classic calling sequence.
void CBESY(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, TCplx* CWRK,
           int* IERR);
void CBESH(const TCplx* Z, const double* FNU, const int* KODE, const int* M, const int* N, TCplx* CY, int* NZ,
           int* IERR);

}  // extern "C"

}  // namespace tarnel

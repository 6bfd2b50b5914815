// Nmkl: prototypes of the linear-algebra library's entry points that the library calls.
//
// Fortran conventions throughout: C linkage, every argument by pointer (counts and options included),
// 32-bit int, complex values as two Doubles with the real part first. The BLAS and LAPACK prototypes
// (NmklBlas.h) join the lapack library's own families below; BlasCalls.h is the typed layer over them.
#pragma once

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

}  // extern "C"

}  // namespace tarnel

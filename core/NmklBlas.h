// Raw prototypes of the BLAS and LAPACK routines the library calls (OpenBLAS, LP64).
//
// The Fortran calling convention as gfortran compiles it: every argument by address, INTEGER is a 32-bit
// int, complex data is passed as std::complex<double>-compatible pairs (TCplx), and every CHARACTER argument
// adds a hidden length of type size_t at the END of the argument list, in the order of the CHARACTER
// arguments. The typed layer in BlasCalls.h passes those lengths; nothing else should call these directly.
#pragma once

#include <cstddef>

#include "core/Dovi387.h"

extern "C" {

// ---- Level 1 ----
double dasum_(const int* n, const double* x, const int* incx);
void daxpy_(const int* n, const double* alpha, const double* x, const int* incx, double* y, const int* incy);
void zaxpy_(const int* n, const tarnel::TCplx* alpha, const tarnel::TCplx* x, const int* incx, tarnel::TCplx* y,
            const int* incy);

// ---- Level 2 ----
void dgemv_(const char* trans, const int* m, const int* n, const double* alpha, const double* a, const int* lda,
            const double* x, const int* incx, const double* beta, double* y, const int* incy, std::size_t);
void zgemv_(const char* trans, const int* m, const int* n, const tarnel::TCplx* alpha, const tarnel::TCplx* a,
            const int* lda, const tarnel::TCplx* x, const int* incx, const tarnel::TCplx* beta, tarnel::TCplx* y,
            const int* incy, std::size_t);
void dsymv_(const char* uplo, const int* n, const double* alpha, const double* a, const int* lda, const double* x,
            const int* incx, const double* beta, double* y, const int* incy, std::size_t);
void zhemv_(const char* uplo, const int* n, const tarnel::TCplx* alpha, const tarnel::TCplx* a, const int* lda,
            const tarnel::TCplx* x, const int* incx, const tarnel::TCplx* beta, tarnel::TCplx* y, const int* incy,
            std::size_t);
void dtrmv_(const char* uplo, const char* trans, const char* diag, const int* n, const double* a, const int* lda,
            double* x, const int* incx, std::size_t, std::size_t, std::size_t);
void ztrmv_(const char* uplo, const char* trans, const char* diag, const int* n, const tarnel::TCplx* a,
            const int* lda, tarnel::TCplx* x, const int* incx, std::size_t, std::size_t, std::size_t);

// ---- Level 3 ----
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k, const double* alpha,
            const double* a, const int* lda, const double* b, const int* ldb, const double* beta, double* c,
            const int* ldc, std::size_t, std::size_t);
void zgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const tarnel::TCplx* alpha, const tarnel::TCplx* a, const int* lda, const tarnel::TCplx* b,
            const int* ldb, const tarnel::TCplx* beta, tarnel::TCplx* c, const int* ldc, std::size_t, std::size_t);
void dsymm_(const char* side, const char* uplo, const int* m, const int* n, const double* alpha, const double* a,
            const int* lda, const double* b, const int* ldb, const double* beta, double* c, const int* ldc,
            std::size_t, std::size_t);
void zhemm_(const char* side, const char* uplo, const int* m, const int* n, const tarnel::TCplx* alpha,
            const tarnel::TCplx* a, const int* lda, const tarnel::TCplx* b, const int* ldb,
            const tarnel::TCplx* beta, tarnel::TCplx* c, const int* ldc, std::size_t, std::size_t);
void dtrmm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const double* alpha, const double* a, const int* lda, double* b, const int* ldb, std::size_t,
            std::size_t, std::size_t, std::size_t);
void ztrmm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const tarnel::TCplx* alpha, const tarnel::TCplx* a, const int* lda, tarnel::TCplx* b, const int* ldb,
            std::size_t, std::size_t, std::size_t, std::size_t);

// ---- LAPACK ----
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info, std::size_t);
void zpotrf_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, int* info, std::size_t);
void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
void zgetrf_(const int* m, const int* n, tarnel::TCplx* a, const int* lda, int* ipiv, int* info);

// The error handler BLAS and LAPACK call on an illegal argument. The library defines its own (xerbla.cpp):
// it records the routine and the argument's position and returns, so that the routine comes back with a
// negative INFO (LAPACK) or without doing anything (BLAS) instead of ending the process.
int xerbla_(const char* srname, const int* info, std::size_t srname_len);

}  // extern "C"

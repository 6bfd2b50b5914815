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
void ztrmv_(const char* uplo, const char* trans, const char* diag, const int* n, const tarnel::TCplx* a, const int* lda,
            tarnel::TCplx* x, const int* incx, std::size_t, std::size_t, std::size_t);

// ---- Level 3 ----
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k, const double* alpha,
            const double* a, const int* lda, const double* b, const int* ldb, const double* beta, double* c,
            const int* ldc, std::size_t, std::size_t);
void zgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const tarnel::TCplx* alpha, const tarnel::TCplx* a, const int* lda, const tarnel::TCplx* b, const int* ldb,
            const tarnel::TCplx* beta, tarnel::TCplx* c, const int* ldc, std::size_t, std::size_t);
void dsymm_(const char* side, const char* uplo, const int* m, const int* n, const double* alpha, const double* a,
            const int* lda, const double* b, const int* ldb, const double* beta, double* c, const int* ldc, std::size_t,
            std::size_t);
void zhemm_(const char* side, const char* uplo, const int* m, const int* n, const tarnel::TCplx* alpha,
            const tarnel::TCplx* a, const int* lda, const tarnel::TCplx* b, const int* ldb, const tarnel::TCplx* beta,
            tarnel::TCplx* c, const int* ldc, std::size_t, std::size_t);
void dtrmm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const double* alpha, const double* a, const int* lda, double* b, const int* ldb, std::size_t, std::size_t,
            std::size_t, std::size_t);
void ztrmm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const tarnel::TCplx* alpha, const tarnel::TCplx* a, const int* lda, tarnel::TCplx* b, const int* ldb,
            std::size_t, std::size_t, std::size_t, std::size_t);

// ---- LAPACK ----
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info, std::size_t);
void zpotrf_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, int* info, std::size_t);
void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
void zgetrf_(const int* m, const int* n, tarnel::TCplx* a, const int* lda, int* ipiv, int* info);

// ---- LAPACK: the linear solver (LUSolve, mtx_lapack_solve.cpp) ----
// Real refinements and estimates take an INTEGER work array (iwork), complex ones a DOUBLE PRECISION one (rwork).
// Cholesky
void dpotrs_(const char* uplo, const int* n, const int* nrhs, const double* a, const int* lda, double* b,
             const int* ldb, int* info, std::size_t);
void zpotrs_(const char* uplo, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda, tarnel::TCplx* b,
             const int* ldb, int* info, std::size_t);
void dporfs_(const char* uplo, const int* n, const int* nrhs, const double* a, const int* lda, const double* af,
             const int* ldaf, const double* b, const int* ldb, double* x, const int* ldx, double* ferr, double* berr,
             double* work, int* iwork, int* info, std::size_t);
void zporfs_(const char* uplo, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda,
             const tarnel::TCplx* af, const int* ldaf, const tarnel::TCplx* b, const int* ldb, tarnel::TCplx* x,
             const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork, int* info, std::size_t);
void dpocon_(const char* uplo, const int* n, const double* a, const int* lda, const double* anorm, double* rcond,
             double* work, int* iwork, int* info, std::size_t);
void zpocon_(const char* uplo, const int* n, const tarnel::TCplx* a, const int* lda, const double* anorm, double* rcond,
             tarnel::TCplx* work, double* rwork, int* info, std::size_t);
// Bunch-Kaufman, symmetric (d, z) and Hermitian (z)
void dsytrf_(const char* uplo, const int* n, double* a, const int* lda, int* ipiv, double* work, const int* lwork,
             int* info, std::size_t);
void zsytrf_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, int* ipiv, tarnel::TCplx* work,
             const int* lwork, int* info, std::size_t);
void zhetrf_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, int* ipiv, tarnel::TCplx* work,
             const int* lwork, int* info, std::size_t);
void dsytrs_(const char* uplo, const int* n, const int* nrhs, const double* a, const int* lda, const int* ipiv,
             double* b, const int* ldb, int* info, std::size_t);
void zsytrs_(const char* uplo, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda, const int* ipiv,
             tarnel::TCplx* b, const int* ldb, int* info, std::size_t);
void zhetrs_(const char* uplo, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda, const int* ipiv,
             tarnel::TCplx* b, const int* ldb, int* info, std::size_t);
void dsyrfs_(const char* uplo, const int* n, const int* nrhs, const double* a, const int* lda, const double* af,
             const int* ldaf, const int* ipiv, const double* b, const int* ldb, double* x, const int* ldx, double* ferr,
             double* berr, double* work, int* iwork, int* info, std::size_t);
void zsyrfs_(const char* uplo, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda,
             const tarnel::TCplx* af, const int* ldaf, const int* ipiv, const tarnel::TCplx* b, const int* ldb,
             tarnel::TCplx* x, const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork,
             int* info, std::size_t);
void zherfs_(const char* uplo, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda,
             const tarnel::TCplx* af, const int* ldaf, const int* ipiv, const tarnel::TCplx* b, const int* ldb,
             tarnel::TCplx* x, const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork,
             int* info, std::size_t);
void dsycon_(const char* uplo, const int* n, const double* a, const int* lda, const int* ipiv, const double* anorm,
             double* rcond, double* work, int* iwork, int* info, std::size_t);
void zsycon_(const char* uplo, const int* n, const tarnel::TCplx* a, const int* lda, const int* ipiv,
             const double* anorm, double* rcond, tarnel::TCplx* work, int* info, std::size_t);
void zhecon_(const char* uplo, const int* n, const tarnel::TCplx* a, const int* lda, const int* ipiv,
             const double* anorm, double* rcond, tarnel::TCplx* work, int* info, std::size_t);
// Triangular
void dtrtrs_(const char* uplo, const char* trans, const char* diag, const int* n, const int* nrhs, const double* a,
             const int* lda, double* b, const int* ldb, int* info, std::size_t, std::size_t, std::size_t);
void ztrtrs_(const char* uplo, const char* trans, const char* diag, const int* n, const int* nrhs,
             const tarnel::TCplx* a, const int* lda, tarnel::TCplx* b, const int* ldb, int* info, std::size_t,
             std::size_t, std::size_t);
void dtrrfs_(const char* uplo, const char* trans, const char* diag, const int* n, const int* nrhs, const double* a,
             const int* lda, const double* b, const int* ldb, const double* x, const int* ldx, double* ferr,
             double* berr, double* work, int* iwork, int* info, std::size_t, std::size_t, std::size_t);
void ztrrfs_(const char* uplo, const char* trans, const char* diag, const int* n, const int* nrhs,
             const tarnel::TCplx* a, const int* lda, const tarnel::TCplx* b, const int* ldb, const tarnel::TCplx* x,
             const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork, int* info, std::size_t,
             std::size_t, std::size_t);
void dtrcon_(const char* norm, const char* uplo, const char* diag, const int* n, const double* a, const int* lda,
             double* rcond, double* work, int* iwork, int* info, std::size_t, std::size_t, std::size_t);
void ztrcon_(const char* norm, const char* uplo, const char* diag, const int* n, const tarnel::TCplx* a, const int* lda,
             double* rcond, tarnel::TCplx* work, double* rwork, int* info, std::size_t, std::size_t, std::size_t);
// LU
void dgetrs_(const char* trans, const int* n, const int* nrhs, const double* a, const int* lda, const int* ipiv,
             double* b, const int* ldb, int* info, std::size_t);
void zgetrs_(const char* trans, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda, const int* ipiv,
             tarnel::TCplx* b, const int* ldb, int* info, std::size_t);
void dgerfs_(const char* trans, const int* n, const int* nrhs, const double* a, const int* lda, const double* af,
             const int* ldaf, const int* ipiv, const double* b, const int* ldb, double* x, const int* ldx, double* ferr,
             double* berr, double* work, int* iwork, int* info, std::size_t);
void zgerfs_(const char* trans, const int* n, const int* nrhs, const tarnel::TCplx* a, const int* lda,
             const tarnel::TCplx* af, const int* ldaf, const int* ipiv, const tarnel::TCplx* b, const int* ldb,
             tarnel::TCplx* x, const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork,
             int* info, std::size_t);
void dgecon_(const char* norm, const int* n, const double* a, const int* lda, const double* anorm, double* rcond,
             double* work, int* iwork, int* info, std::size_t);
void zgecon_(const char* norm, const int* n, const tarnel::TCplx* a, const int* lda, const double* anorm, double* rcond,
             tarnel::TCplx* work, double* rwork, int* info, std::size_t);
// Band Cholesky
void dpbtrf_(const char* uplo, const int* n, const int* kd, double* ab, const int* ldab, int* info, std::size_t);
void zpbtrf_(const char* uplo, const int* n, const int* kd, tarnel::TCplx* ab, const int* ldab, int* info, std::size_t);
void dpbtrs_(const char* uplo, const int* n, const int* kd, const int* nrhs, const double* ab, const int* ldab,
             double* b, const int* ldb, int* info, std::size_t);
void zpbtrs_(const char* uplo, const int* n, const int* kd, const int* nrhs, const tarnel::TCplx* ab, const int* ldab,
             tarnel::TCplx* b, const int* ldb, int* info, std::size_t);
void dpbrfs_(const char* uplo, const int* n, const int* kd, const int* nrhs, const double* ab, const int* ldab,
             const double* afb, const int* ldafb, const double* b, const int* ldb, double* x, const int* ldx,
             double* ferr, double* berr, double* work, int* iwork, int* info, std::size_t);
void zpbrfs_(const char* uplo, const int* n, const int* kd, const int* nrhs, const tarnel::TCplx* ab, const int* ldab,
             const tarnel::TCplx* afb, const int* ldafb, const tarnel::TCplx* b, const int* ldb, tarnel::TCplx* x,
             const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork, int* info, std::size_t);
void dpbcon_(const char* uplo, const int* n, const int* kd, const double* ab, const int* ldab, const double* anorm,
             double* rcond, double* work, int* iwork, int* info, std::size_t);
void zpbcon_(const char* uplo, const int* n, const int* kd, const tarnel::TCplx* ab, const int* ldab,
             const double* anorm, double* rcond, tarnel::TCplx* work, double* rwork, int* info, std::size_t);
// Band LU
void dgbtrf_(const int* m, const int* n, const int* kl, const int* ku, double* ab, const int* ldab, int* ipiv,
             int* info);
void zgbtrf_(const int* m, const int* n, const int* kl, const int* ku, tarnel::TCplx* ab, const int* ldab, int* ipiv,
             int* info);
void dgbtrs_(const char* trans, const int* n, const int* kl, const int* ku, const int* nrhs, const double* ab,
             const int* ldab, const int* ipiv, double* b, const int* ldb, int* info, std::size_t);
void zgbtrs_(const char* trans, const int* n, const int* kl, const int* ku, const int* nrhs, const tarnel::TCplx* ab,
             const int* ldab, const int* ipiv, tarnel::TCplx* b, const int* ldb, int* info, std::size_t);
void dgbrfs_(const char* trans, const int* n, const int* kl, const int* ku, const int* nrhs, const double* ab,
             const int* ldab, const double* afb, const int* ldafb, const int* ipiv, const double* b, const int* ldb,
             double* x, const int* ldx, double* ferr, double* berr, double* work, int* iwork, int* info, std::size_t);
void zgbrfs_(const char* trans, const int* n, const int* kl, const int* ku, const int* nrhs, const tarnel::TCplx* ab,
             const int* ldab, const tarnel::TCplx* afb, const int* ldafb, const int* ipiv, const tarnel::TCplx* b,
             const int* ldb, tarnel::TCplx* x, const int* ldx, double* ferr, double* berr, tarnel::TCplx* work,
             double* rwork, int* info, std::size_t);
void dgbcon_(const char* norm, const int* n, const int* kl, const int* ku, const double* ab, const int* ldab,
             const int* ipiv, const double* anorm, double* rcond, double* work, int* iwork, int* info, std::size_t);
void zgbcon_(const char* norm, const int* n, const int* kl, const int* ku, const tarnel::TCplx* ab, const int* ldab,
             const int* ipiv, const double* anorm, double* rcond, tarnel::TCplx* work, double* rwork, int* info,
             std::size_t);
// Tridiagonal LU (the band LU with one sub- and one super-diagonal): DL, D, DU the diagonals, DU2 the fill-in
void dgttrf_(const int* n, double* dl, double* d, double* du, double* du2, int* ipiv, int* info);
void zgttrf_(const int* n, tarnel::TCplx* dl, tarnel::TCplx* d, tarnel::TCplx* du, tarnel::TCplx* du2, int* ipiv,
             int* info);
void dgtsv_(const int* n, const int* nrhs, double* dl, double* d, double* du, double* b, const int* ldb, int* info);
void zgtsv_(const int* n, const int* nrhs, tarnel::TCplx* dl, tarnel::TCplx* d, tarnel::TCplx* du, tarnel::TCplx* b,
            const int* ldb, int* info);
void dgttrs_(const char* trans, const int* n, const int* nrhs, const double* dl, const double* d, const double* du,
             const double* du2, const int* ipiv, double* b, const int* ldb, int* info, std::size_t);
void zgttrs_(const char* trans, const int* n, const int* nrhs, const tarnel::TCplx* dl, const tarnel::TCplx* d,
             const tarnel::TCplx* du, const tarnel::TCplx* du2, const int* ipiv, tarnel::TCplx* b, const int* ldb,
             int* info, std::size_t);
void dgtrfs_(const char* trans, const int* n, const int* nrhs, const double* dl, const double* d, const double* du,
             const double* dlf, const double* df, const double* duf, const double* du2, const int* ipiv,
             const double* b, const int* ldb, double* x, const int* ldx, double* ferr, double* berr, double* work,
             int* iwork, int* info, std::size_t);
void zgtrfs_(const char* trans, const int* n, const int* nrhs, const tarnel::TCplx* dl, const tarnel::TCplx* d,
             const tarnel::TCplx* du, const tarnel::TCplx* dlf, const tarnel::TCplx* df, const tarnel::TCplx* duf,
             const tarnel::TCplx* du2, const int* ipiv, const tarnel::TCplx* b, const int* ldb, tarnel::TCplx* x,
             const int* ldx, double* ferr, double* berr, tarnel::TCplx* work, double* rwork, int* info, std::size_t);
void dgtcon_(const char* norm, const int* n, const double* dl, const double* d, const double* du, const double* du2,
             const int* ipiv, const double* anorm, double* rcond, double* work, int* iwork, int* info, std::size_t);
void zgtcon_(const char* norm, const int* n, const tarnel::TCplx* dl, const tarnel::TCplx* d, const tarnel::TCplx* du,
             const tarnel::TCplx* du2, const int* ipiv, const double* anorm, double* rcond, tarnel::TCplx* work,
             int* info, std::size_t);
// The norms of the matrix a routine reads (work: n Doubles)
double dlansy_(const char* norm, const char* uplo, const int* n, const double* a, const int* lda, double* work,
               std::size_t, std::size_t);
double zlansy_(const char* norm, const char* uplo, const int* n, const tarnel::TCplx* a, const int* lda, double* work,
               std::size_t, std::size_t);
double zlanhe_(const char* norm, const char* uplo, const int* n, const tarnel::TCplx* a, const int* lda, double* work,
               std::size_t, std::size_t);
double dlangb_(const char* norm, const int* n, const int* kl, const int* ku, const double* ab, const int* ldab,
               double* work, std::size_t);
double zlangb_(const char* norm, const int* n, const int* kl, const int* ku, const tarnel::TCplx* ab, const int* ldab,
               double* work, std::size_t);
double dlangt_(const char* norm, const int* n, const double* dl, const double* d, const double* du, std::size_t);
double zlangt_(const char* norm, const int* n, const tarnel::TCplx* dl, const tarnel::TCplx* d, const tarnel::TCplx* du,
               std::size_t);
double dlansb_(const char* norm, const char* uplo, const int* n, const int* k, const double* ab, const int* ldab,
               double* work, std::size_t, std::size_t);
double zlanhb_(const char* norm, const char* uplo, const int* n, const int* k, const tarnel::TCplx* ab, const int* ldab,
               double* work, std::size_t, std::size_t);

// ---- Level 1 copies (numerics/Toeplitz.cpp) ----
void dcopy_(const int* n, const double* x, const int* incx, double* y, const int* incy);
void zcopy_(const int* n, const tarnel::TCplx* x, const int* incx, tarnel::TCplx* y, const int* incy);

// ---- Least squares, LU, inverse, QR (mtx_lapack_lsq.cpp, mtx_lapack_lu.cpp, mtx_lapack_qr.cpp) ----
// LWORK = -1 is the workspace query of the routines that take LWORK: the optimal size comes back in WORK(1)
// (and, for xGELSD, the integer and real workspace in IWORK(1) and RWORK(1)).
void dgels_(const char* trans, const int* m, const int* n, const int* nrhs, double* a, const int* lda, double* b,
            const int* ldb, double* work, const int* lwork, int* info, std::size_t);
void zgels_(const char* trans, const int* m, const int* n, const int* nrhs, tarnel::TCplx* a, const int* lda,
            tarnel::TCplx* b, const int* ldb, tarnel::TCplx* work, const int* lwork, int* info, std::size_t);
void dgelsd_(const int* m, const int* n, const int* nrhs, double* a, const int* lda, double* b, const int* ldb,
             double* s, const double* rcond, int* rank, double* work, const int* lwork, int* iwork, int* info);
void zgelsd_(const int* m, const int* n, const int* nrhs, tarnel::TCplx* a, const int* lda, tarnel::TCplx* b,
             const int* ldb, double* s, const double* rcond, int* rank, tarnel::TCplx* work, const int* lwork,
             double* rwork, int* iwork, int* info);
void dpotri_(const char* uplo, const int* n, double* a, const int* lda, int* info, std::size_t);
void zpotri_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, int* info, std::size_t);
// WORK: N Doubles (DSYTRI), 2·N complex elements (ZSYTRI), N complex elements (ZHETRI).
void dsytri_(const char* uplo, const int* n, double* a, const int* lda, const int* ipiv, double* work, int* info,
             std::size_t);
void zsytri_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, const int* ipiv, tarnel::TCplx* work,
             int* info, std::size_t);
void zhetri_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, const int* ipiv, tarnel::TCplx* work,
             int* info, std::size_t);
void dtrtri_(const char* uplo, const char* diag, const int* n, double* a, const int* lda, int* info, std::size_t,
             std::size_t);
void ztrtri_(const char* uplo, const char* diag, const int* n, tarnel::TCplx* a, const int* lda, int* info, std::size_t,
             std::size_t);
void dgetri_(const int* n, double* a, const int* lda, const int* ipiv, double* work, const int* lwork, int* info);
void zgetri_(const int* n, tarnel::TCplx* a, const int* lda, const int* ipiv, tarnel::TCplx* work, const int* lwork,
             int* info);
void dgeqrf_(const int* m, const int* n, double* a, const int* lda, double* tau, double* work, const int* lwork,
             int* info);
void zgeqrf_(const int* m, const int* n, tarnel::TCplx* a, const int* lda, tarnel::TCplx* tau, tarnel::TCplx* work,
             const int* lwork, int* info);
void dgelqf_(const int* m, const int* n, double* a, const int* lda, double* tau, double* work, const int* lwork,
             int* info);
void zgelqf_(const int* m, const int* n, tarnel::TCplx* a, const int* lda, tarnel::TCplx* tau, tarnel::TCplx* work,
             const int* lwork, int* info);
void dorgqr_(const int* m, const int* n, const int* k, double* a, const int* lda, const double* tau, double* work,
             const int* lwork, int* info);
void zungqr_(const int* m, const int* n, const int* k, tarnel::TCplx* a, const int* lda, const tarnel::TCplx* tau,
             tarnel::TCplx* work, const int* lwork, int* info);
void dorglq_(const int* m, const int* n, const int* k, double* a, const int* lda, const double* tau, double* work,
             const int* lwork, int* info);
void zunglq_(const int* m, const int* n, const int* k, tarnel::TCplx* a, const int* lda, const tarnel::TCplx* tau,
             tarnel::TCplx* work, const int* lwork, int* info);

// The error handler BLAS and LAPACK call on an illegal argument. The library defines its own (xerbla.cpp):
// it records the routine and the argument's position and returns, so that the routine comes back with a
// negative INFO (LAPACK) or without doing anything (BLAS) instead of ending the process.
int xerbla_(const char* srname, const int* info, std::size_t srname_len);

// ---- Dot products and norms (vec_norms.cpp; ddot_ and dnrm2_ for the benchmarks) ----
// gfortran returns a COMPLEX*16 function result by value, in the registers of a pair of Doubles (as TCplx).
tarnel::TCplx zdotc_(const int* n, const tarnel::TCplx* x, const int* incx, const tarnel::TCplx* y, const int* incy);
double ddot_(const int* n, const double* x, const int* incx, const double* y, const int* incy);
double dnrm2_(const int* n, const double* x, const int* incx);

// ---- Rank-1 updates and the Sylvester equation (mtx_small.cpp) ----
void dger_(const int* m, const int* n, const double* alpha, const double* x, const int* incx, const double* y,
           const int* incy, double* a, const int* lda);
void zgeru_(const int* m, const int* n, const tarnel::TCplx* alpha, const tarnel::TCplx* x, const int* incx,
            const tarnel::TCplx* y, const int* incy, tarnel::TCplx* a, const int* lda);
void dtrsyl_(const char* trana, const char* tranb, const int* isgn, const int* m, const int* n, const double* a,
             const int* lda, const double* b, const int* ldb, double* c, const int* ldc, double* scale, int* info,
             std::size_t, std::size_t);
void ztrsyl_(const char* trana, const char* tranb, const int* isgn, const int* m, const int* n, const tarnel::TCplx* a,
             const int* lda, const tarnel::TCplx* b, const int* ldb, tarnel::TCplx* c, const int* ldc, double* scale,
             int* info, std::size_t, std::size_t);

// ---- Eigenvalues and the singular value decomposition (mtx_lapack_eig.cpp, mtx_lapack_svd.cpp) ----
void dtrsm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const double* alpha, const double* a, const int* lda, double* b, const int* ldb, std::size_t, std::size_t,
            std::size_t, std::size_t);
void ztrsm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m, const int* n,
            const tarnel::TCplx* alpha, const tarnel::TCplx* a, const int* lda, tarnel::TCplx* b, const int* ldb,
            std::size_t, std::size_t, std::size_t, std::size_t);
void dsytrd_(const char* uplo, const int* n, double* a, const int* lda, double* d, double* e, double* tau, double* work,
             const int* lwork, int* info, std::size_t);
void zhetrd_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, double* d, double* e, tarnel::TCplx* tau,
             tarnel::TCplx* work, const int* lwork, int* info, std::size_t);
void dorgtr_(const char* uplo, const int* n, double* a, const int* lda, const double* tau, double* work,
             const int* lwork, int* info, std::size_t);
void zungtr_(const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, const tarnel::TCplx* tau,
             tarnel::TCplx* work, const int* lwork, int* info, std::size_t);
void dsterf_(const int* n, double* d, double* e, int* info);
void dsteqr_(const char* compz, const int* n, double* d, double* e, double* z, const int* ldz, double* work, int* info,
             std::size_t);
void zsteqr_(const char* compz, const int* n, double* d, double* e, tarnel::TCplx* z, const int* ldz, double* work,
             int* info, std::size_t);
void dpteqr_(const char* compz, const int* n, double* d, double* e, double* z, const int* ldz, double* work, int* info,
             std::size_t);
void zpteqr_(const char* compz, const int* n, double* d, double* e, tarnel::TCplx* z, const int* ldz, double* work,
             int* info, std::size_t);
void dgebal_(const char* job, const int* n, double* a, const int* lda, int* ilo, int* ihi, double* scale, int* info,
             std::size_t);
void zgebal_(const char* job, const int* n, tarnel::TCplx* a, const int* lda, int* ilo, int* ihi, double* scale,
             int* info, std::size_t);
void dgehrd_(const int* n, const int* ilo, const int* ihi, double* a, const int* lda, double* tau, double* work,
             const int* lwork, int* info);
void zgehrd_(const int* n, const int* ilo, const int* ihi, tarnel::TCplx* a, const int* lda, tarnel::TCplx* tau,
             tarnel::TCplx* work, const int* lwork, int* info);
void dorghr_(const int* n, const int* ilo, const int* ihi, double* a, const int* lda, const double* tau, double* work,
             const int* lwork, int* info);
void zunghr_(const int* n, const int* ilo, const int* ihi, tarnel::TCplx* a, const int* lda, const tarnel::TCplx* tau,
             tarnel::TCplx* work, const int* lwork, int* info);
void dhseqr_(const char* job, const char* compz, const int* n, const int* ilo, const int* ihi, double* h,
             const int* ldh, double* wr, double* wi, double* z, const int* ldz, double* work, const int* lwork,
             int* info, std::size_t, std::size_t);
void zhseqr_(const char* job, const char* compz, const int* n, const int* ilo, const int* ihi, tarnel::TCplx* h,
             const int* ldh, tarnel::TCplx* w, tarnel::TCplx* z, const int* ldz, tarnel::TCplx* work, const int* lwork,
             int* info, std::size_t, std::size_t);
void dgebak_(const char* job, const char* side, const int* n, const int* ilo, const int* ihi, const double* scale,
             const int* m, double* v, const int* ldv, int* info, std::size_t, std::size_t);
void zgebak_(const char* job, const char* side, const int* n, const int* ilo, const int* ihi, const double* scale,
             const int* m, tarnel::TCplx* v, const int* ldv, int* info, std::size_t, std::size_t);
void dgeev_(const char* jobvl, const char* jobvr, const int* n, double* a, const int* lda, double* wr, double* wi,
            double* vl, const int* ldvl, double* vr, const int* ldvr, double* work, const int* lwork, int* info,
            std::size_t, std::size_t);
void zgeev_(const char* jobvl, const char* jobvr, const int* n, tarnel::TCplx* a, const int* lda, tarnel::TCplx* w,
            tarnel::TCplx* vl, const int* ldvl, tarnel::TCplx* vr, const int* ldvr, tarnel::TCplx* work,
            const int* lwork, double* rwork, int* info, std::size_t, std::size_t);
void dsygst_(const int* itype, const char* uplo, const int* n, double* a, const int* lda, const double* b,
             const int* ldb, int* info, std::size_t);
void zhegst_(const int* itype, const char* uplo, const int* n, tarnel::TCplx* a, const int* lda, const tarnel::TCplx* b,
             const int* ldb, int* info, std::size_t);
void dgebrd_(const int* m, const int* n, double* a, const int* lda, double* d, double* e, double* tauq, double* taup,
             double* work, const int* lwork, int* info);
void zgebrd_(const int* m, const int* n, tarnel::TCplx* a, const int* lda, double* d, double* e, tarnel::TCplx* tauq,
             tarnel::TCplx* taup, tarnel::TCplx* work, const int* lwork, int* info);
void dbdsqr_(const char* uplo, const int* n, const int* ncvt, const int* nru, const int* ncc, double* d, double* e,
             double* vt, const int* ldvt, double* u, const int* ldu, double* c, const int* ldc, double* work, int* info,
             std::size_t);
void zbdsqr_(const char* uplo, const int* n, const int* ncvt, const int* nru, const int* ncc, double* d, double* e,
             tarnel::TCplx* vt, const int* ldvt, tarnel::TCplx* u, const int* ldu, tarnel::TCplx* c, const int* ldc,
             double* rwork, int* info, std::size_t);
void dgesdd_(const char* jobz, const int* m, const int* n, double* a, const int* lda, double* s, double* u,
             const int* ldu, double* vt, const int* ldvt, double* work, const int* lwork, int* iwork, int* info,
             std::size_t);
// The symmetric eigen-driver, for the benchmarks.
void dsyev_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda, double* w, double* work,
            const int* lwork, int* info, std::size_t, std::size_t);
void zgesdd_(const char* jobz, const int* m, const int* n, tarnel::TCplx* a, const int* lda, double* s,
             tarnel::TCplx* u, const int* ldu, tarnel::TCplx* vt, const int* ldvt, tarnel::TCplx* work,
             const int* lwork, double* rwork, int* iwork, int* info, std::size_t);

// ---- Symmetric rank-1 and rank-2 updates (numerics/opt_bfgs.cpp) ----
void dsyr_(const char* uplo, const int* n, const double* alpha, const double* x, const int* incx, double* a,
           const int* lda, std::size_t);
void dsyr2_(const char* uplo, const int* n, const double* alpha, const double* x, const int* incx, const double* y,
            const int* incy, double* a, const int* lda, std::size_t);

// ---- OpenBLAS's thread count (process-wide) ----
int openblas_get_num_threads(void);
void openblas_set_num_threads(int num_threads);

}  // extern "C"

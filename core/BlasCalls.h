// The typed layer over the raw BLAS and LAPACK prototypes (NmklBlas.h). Internal to the library.
//
// One overload per element type (double or TCplx) and family, so that code templated on the element type calls
// the right routine without run-time tests. Every dimension is an int that BlasInt has checked; letters are single
// characters passed by address, with their hidden lengths (1) at the end of the list as gfortran expects.
//
// "Sym" names the family a TMtx of that element type multiplies as symmetric: DSYMM/DSYMV for real data,
// ZHEMM/ZHEMV (Hermitian) for complex data.
#pragma once

#include <type_traits>

#include "core/Dovi387.h"
#include "core/NmklBlas.h"

namespace tarnel::blas {

template <class T>
inline constexpr bool kIsElement = std::is_same_v<T, double> || std::is_same_v<T, TCplx>;

// The BLAS scalar of an element type made from a TCplx factor: real products use the real part.
template <class T>
T Scalar(const TCplx& Z)
{
    if constexpr (std::is_same_v<T, double>) {
        return Z.Re;
    } else {
        return Z;
    }
}

// ---- Level 3 --------------------------------------------------------------------------------------------------

inline void Gemm(char TransA, char TransB, int M, int N, int K, double Alpha, const double* A, int Lda, const double* B,
                 int Ldb, double Beta, double* C, int Ldc)
{
    dgemm_(&TransA, &TransB, &M, &N, &K, &Alpha, A, &Lda, B, &Ldb, &Beta, C, &Ldc, 1, 1);
}
inline void Gemm(char TransA, char TransB, int M, int N, int K, TCplx Alpha, const TCplx* A, int Lda, const TCplx* B,
                 int Ldb, TCplx Beta, TCplx* C, int Ldc)
{
    zgemm_(&TransA, &TransB, &M, &N, &K, &Alpha, A, &Lda, B, &Ldb, &Beta, C, &Ldc, 1, 1);
}

// C := Alpha·A·B + Beta·C (Side 'L') or Alpha·B·A + Beta·C (Side 'R'), A symmetric (real) or Hermitian (complex)
// with its values in the triangle Uplo.
inline void SymMm(char Side, char Uplo, int M, int N, double Alpha, const double* A, int Lda, const double* B, int Ldb,
                  double Beta, double* C, int Ldc)
{
    dsymm_(&Side, &Uplo, &M, &N, &Alpha, A, &Lda, B, &Ldb, &Beta, C, &Ldc, 1, 1);
}
inline void SymMm(char Side, char Uplo, int M, int N, TCplx Alpha, const TCplx* A, int Lda, const TCplx* B, int Ldb,
                  TCplx Beta, TCplx* C, int Ldc)
{
    zhemm_(&Side, &Uplo, &M, &N, &Alpha, A, &Lda, B, &Ldb, &Beta, C, &Ldc, 1, 1);
}

inline void Trmm(char Side, char Uplo, char TransA, char Diag, int M, int N, double Alpha, const double* A, int Lda,
                 double* B, int Ldb)
{
    dtrmm_(&Side, &Uplo, &TransA, &Diag, &M, &N, &Alpha, A, &Lda, B, &Ldb, 1, 1, 1, 1);
}
inline void Trmm(char Side, char Uplo, char TransA, char Diag, int M, int N, TCplx Alpha, const TCplx* A, int Lda,
                 TCplx* B, int Ldb)
{
    ztrmm_(&Side, &Uplo, &TransA, &Diag, &M, &N, &Alpha, A, &Lda, B, &Ldb, 1, 1, 1, 1);
}

// ---- Level 2 --------------------------------------------------------------------------------------------------

inline void Gemv(char Trans, int M, int N, double Alpha, const double* A, int Lda, const double* X, int IncX,
                 double Beta, double* Y, int IncY)
{
    dgemv_(&Trans, &M, &N, &Alpha, A, &Lda, X, &IncX, &Beta, Y, &IncY, 1);
}
inline void Gemv(char Trans, int M, int N, TCplx Alpha, const TCplx* A, int Lda, const TCplx* X, int IncX, TCplx Beta,
                 TCplx* Y, int IncY)
{
    zgemv_(&Trans, &M, &N, &Alpha, A, &Lda, X, &IncX, &Beta, Y, &IncY, 1);
}

inline void SymMv(char Uplo, int N, double Alpha, const double* A, int Lda, const double* X, int IncX, double Beta,
                  double* Y, int IncY)
{
    dsymv_(&Uplo, &N, &Alpha, A, &Lda, X, &IncX, &Beta, Y, &IncY, 1);
}
inline void SymMv(char Uplo, int N, TCplx Alpha, const TCplx* A, int Lda, const TCplx* X, int IncX, TCplx Beta,
                  TCplx* Y, int IncY)
{
    zhemv_(&Uplo, &N, &Alpha, A, &Lda, X, &IncX, &Beta, Y, &IncY, 1);
}

inline void Trmv(char Uplo, char Trans, char Diag, int N, const double* A, int Lda, double* X, int IncX)
{
    dtrmv_(&Uplo, &Trans, &Diag, &N, A, &Lda, X, &IncX, 1, 1, 1);
}
inline void Trmv(char Uplo, char Trans, char Diag, int N, const TCplx* A, int Lda, TCplx* X, int IncX)
{
    ztrmv_(&Uplo, &Trans, &Diag, &N, A, &Lda, X, &IncX, 1, 1, 1);
}

// ---- LAPACK ---------------------------------------------------------------------------------------------------

// Cholesky factorization in place; returns INFO (0, -i for an illegal argument i, or i > 0 when the leading minor
// of order i is not positive definite).
inline int Potrf(char Uplo, int N, double* A, int Lda)
{
    int info = 0;
    dpotrf_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}
inline int Potrf(char Uplo, int N, TCplx* A, int Lda)
{
    int info = 0;
    zpotrf_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}

// ---- Least squares, LU, inverse, QR -----------------------------------------------------------------------------
// Each returns INFO; Lwork -1 is the workspace query (the optimal size in Work[0]).

// Least squares or minimum norm through QR/LQ: Trans 'N', 'T' (real) or 'C' (complex).
inline int Gels(char Trans, int M, int N, int Nrhs, double* A, int Lda, double* B, int Ldb, double* Work, int Lwork)
{
    int info = 0;
    dgels_(&Trans, &M, &N, &Nrhs, A, &Lda, B, &Ldb, Work, &Lwork, &info, 1);
    return info;
}
inline int Gels(char Trans, int M, int N, int Nrhs, TCplx* A, int Lda, TCplx* B, int Ldb, TCplx* Work, int Lwork)
{
    int info = 0;
    zgels_(&Trans, &M, &N, &Nrhs, A, &Lda, B, &Ldb, Work, &Lwork, &info, 1);
    return info;
}
// Minimum-norm least squares through the SVD. Rwork is read by the complex routine only; the query (Lwork -1)
// answers in Work[0], Iwork[0] and, complex, Rwork[0].
inline int Gelsd(int M, int N, int Nrhs, double* A, int Lda, double* B, int Ldb, double* S, double Rcond, int& Rank,
                 double* Work, int Lwork, double*, int* Iwork)
{
    int info = 0;
    dgelsd_(&M, &N, &Nrhs, A, &Lda, B, &Ldb, S, &Rcond, &Rank, Work, &Lwork, Iwork, &info);
    return info;
}
inline int Gelsd(int M, int N, int Nrhs, TCplx* A, int Lda, TCplx* B, int Ldb, double* S, double Rcond, int& Rank,
                 TCplx* Work, int Lwork, double* Rwork, int* Iwork)
{
    int info = 0;
    zgelsd_(&M, &N, &Nrhs, A, &Lda, B, &Ldb, S, &Rcond, &Rank, Work, &Lwork, Rwork, Iwork, &info);
    return info;
}

// The inverse from a Cholesky factor (real symmetric or complex Hermitian), in the triangle Uplo.
inline int Potri(char Uplo, int N, double* A, int Lda)
{
    int info = 0;
    dpotri_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}
inline int Potri(char Uplo, int N, TCplx* A, int Lda)
{
    int info = 0;
    zpotri_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}

// Bunch-Kaufman: Sy* symmetric (real or complex), He* Hermitian (complex only).
inline int Sytrf(char Uplo, int N, double* A, int Lda, int* Ipiv, double* Work, int Lwork)
{
    int info = 0;
    dsytrf_(&Uplo, &N, A, &Lda, Ipiv, Work, &Lwork, &info, 1);
    return info;
}
inline int Sytrf(char Uplo, int N, TCplx* A, int Lda, int* Ipiv, TCplx* Work, int Lwork)
{
    int info = 0;
    zsytrf_(&Uplo, &N, A, &Lda, Ipiv, Work, &Lwork, &info, 1);
    return info;
}
inline int Hetrf(char Uplo, int N, TCplx* A, int Lda, int* Ipiv, TCplx* Work, int Lwork)
{
    int info = 0;
    zhetrf_(&Uplo, &N, A, &Lda, Ipiv, Work, &Lwork, &info, 1);
    return info;
}
// Work: N Doubles (real), 2·N complex elements (ZSYTRI) or N (ZHETRI).
inline int Sytri(char Uplo, int N, double* A, int Lda, const int* Ipiv, double* Work)
{
    int info = 0;
    dsytri_(&Uplo, &N, A, &Lda, Ipiv, Work, &info, 1);
    return info;
}
inline int Sytri(char Uplo, int N, TCplx* A, int Lda, const int* Ipiv, TCplx* Work)
{
    int info = 0;
    zsytri_(&Uplo, &N, A, &Lda, Ipiv, Work, &info, 1);
    return info;
}
inline int Hetri(char Uplo, int N, TCplx* A, int Lda, const int* Ipiv, TCplx* Work)
{
    int info = 0;
    zhetri_(&Uplo, &N, A, &Lda, Ipiv, Work, &info, 1);
    return info;
}

inline int Trtri(char Uplo, char Diag, int N, double* A, int Lda)
{
    int info = 0;
    dtrtri_(&Uplo, &Diag, &N, A, &Lda, &info, 1, 1);
    return info;
}
inline int Trtri(char Uplo, char Diag, int N, TCplx* A, int Lda)
{
    int info = 0;
    ztrtri_(&Uplo, &Diag, &N, A, &Lda, &info, 1, 1);
    return info;
}

inline int Getrf(int M, int N, double* A, int Lda, int* Ipiv)
{
    int info = 0;
    dgetrf_(&M, &N, A, &Lda, Ipiv, &info);
    return info;
}
inline int Getrf(int M, int N, TCplx* A, int Lda, int* Ipiv)
{
    int info = 0;
    zgetrf_(&M, &N, A, &Lda, Ipiv, &info);
    return info;
}
inline int Getri(int N, double* A, int Lda, const int* Ipiv, double* Work, int Lwork)
{
    int info = 0;
    dgetri_(&N, A, &Lda, Ipiv, Work, &Lwork, &info);
    return info;
}
inline int Getri(int N, TCplx* A, int Lda, const int* Ipiv, TCplx* Work, int Lwork)
{
    int info = 0;
    zgetri_(&N, A, &Lda, Ipiv, Work, &Lwork, &info);
    return info;
}

// QR and LQ in compact form (reflectors and Tau), and the explicit Q from them: Orgqr/Orglq are DORGQR/DORGLQ for
// real data and ZUNGQR/ZUNGLQ for complex data.
inline int Geqrf(int M, int N, double* A, int Lda, double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dgeqrf_(&M, &N, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Geqrf(int M, int N, TCplx* A, int Lda, TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zgeqrf_(&M, &N, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Gelqf(int M, int N, double* A, int Lda, double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dgelqf_(&M, &N, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Gelqf(int M, int N, TCplx* A, int Lda, TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zgelqf_(&M, &N, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Orgqr(int M, int N, int K, double* A, int Lda, const double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dorgqr_(&M, &N, &K, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Orgqr(int M, int N, int K, TCplx* A, int Lda, const TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zungqr_(&M, &N, &K, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Orglq(int M, int N, int K, double* A, int Lda, const double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dorglq_(&M, &N, &K, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Orglq(int M, int N, int K, TCplx* A, int Lda, const TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zunglq_(&M, &N, &K, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}

}  // namespace tarnel::blas

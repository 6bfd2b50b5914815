// The typed layer over the raw BLAS and LAPACK prototypes (NmklBlas.h). Internal to the library.
//
// One overload per element type (double or TCplx) and family, so that code templated on the element type calls
// the right routine without run-time tests. Every dimension is an int that BlasInt has checked; letters are single
// characters passed by address, with their hidden lengths (1) at the end of the list as gfortran expects.
//
// "Sym" names the family a TMtx of that element type multiplies as symmetric: DSYMM/DSYMV for real data,
// ZHEMM/ZHEMV (Hermitian) for complex data.
#pragma once

#include <algorithm>
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

// OpenBLAS runs its LU, Cholesky and triangular-inverse drivers and the solves with their factors on its own
// threads, which wait for each other by spinning and yielding. On a small matrix they have almost nothing to share,
// and on a busy machine (more runnable threads than processors) every wait lasts until a descheduled partner runs
// again: a 225 × 225 LU took over a second on eight threads at load 25, against 0.3 ms on one, and its solve with 100
// right-hand sides 8 ms against 0.4 ms. So these calls run on one OpenBLAS thread while the matrix (for a solve the
// larger of the matrix and the right-hand sides) has fewer than kSingleThreadElements elements (order 512). The count is process-wide: the first guard in
// saves it and sets 1, the last one out restores it; a large call on another thread meanwhile runs on one thread too
// (the same results, only slower). Nothing changes when OpenBLAS already runs on one thread.
inline constexpr long long kSingleThreadElements = 512 * 512;

class TSingleThread {
public:
    explicit TSingleThread(bool Apply);
    // For an M × N matrix: one thread below kSingleThreadElements elements.
    TSingleThread(int M, int N) : TSingleThread(static_cast<long long>(M) * N < kSingleThreadElements) {}
    ~TSingleThread();
    TSingleThread(const TSingleThread&) = delete;
    TSingleThread& operator=(const TSingleThread&) = delete;

private:
    bool FActive = false;
};

// Cholesky factorization in place; returns INFO (0, -i for an illegal argument i, or i > 0 when the leading minor
// of order i is not positive definite).
inline int Potrf(char Uplo, int N, double* A, int Lda)
{
    TSingleThread one(N, N);
    int info = 0;
    dpotrf_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}
inline int Potrf(char Uplo, int N, TCplx* A, int Lda)
{
    TSingleThread one(N, N);
    int info = 0;
    zpotrf_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}

// ---- LAPACK: the linear solver --------------------------------------------------------------------------------
// Each returns INFO. Real refinements and estimates take an int work array of N (Aux), complex ones a Double array
// (RWORK); TAux<T> names it for code templated on the element type. FERR and BERR hold one bound per right-hand side.

template <class T>
using TAux = std::conditional_t<std::is_same_v<T, double>, int, double>;

// Cholesky (real symmetric or complex Hermitian positive definite)
inline int Potrs(char Uplo, int N, int Nrhs, const double* A, int Lda, double* B, int Ldb)
{
    TSingleThread one(N, std::max(N, Nrhs));
    int info = 0;
    dpotrs_(&Uplo, &N, &Nrhs, A, &Lda, B, &Ldb, &info, 1);
    return info;
}
inline int Potrs(char Uplo, int N, int Nrhs, const TCplx* A, int Lda, TCplx* B, int Ldb)
{
    TSingleThread one(N, std::max(N, Nrhs));
    int info = 0;
    zpotrs_(&Uplo, &N, &Nrhs, A, &Lda, B, &Ldb, &info, 1);
    return info;
}
inline int Porfs(char Uplo, int N, int Nrhs, const double* A, int Lda, const double* Af, int Ldaf, const double* B,
                 int Ldb, double* X, int Ldx, double* Ferr, double* Berr, double* Work, int* Aux)
{
    int info = 0;
    dporfs_(&Uplo, &N, &Nrhs, A, &Lda, Af, &Ldaf, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Porfs(char Uplo, int N, int Nrhs, const TCplx* A, int Lda, const TCplx* Af, int Ldaf, const TCplx* B,
                 int Ldb, TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    zporfs_(&Uplo, &N, &Nrhs, A, &Lda, Af, &Ldaf, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Pocon(char Uplo, int N, const double* A, int Lda, double Anorm, double* Rcond, double* Work, int* Aux)
{
    int info = 0;
    dpocon_(&Uplo, &N, A, &Lda, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}
inline int Pocon(char Uplo, int N, const TCplx* A, int Lda, double Anorm, double* Rcond, TCplx* Work, double* Aux)
{
    int info = 0;
    zpocon_(&Uplo, &N, A, &Lda, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}

// Bunch-Kaufman: Sy* symmetric (real or complex), He* Hermitian (complex only). Lwork -1 is the workspace query.
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
inline int Sytrs(char Uplo, int N, int Nrhs, const double* A, int Lda, const int* Ipiv, double* B, int Ldb)
{
    int info = 0;
    dsytrs_(&Uplo, &N, &Nrhs, A, &Lda, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Sytrs(char Uplo, int N, int Nrhs, const TCplx* A, int Lda, const int* Ipiv, TCplx* B, int Ldb)
{
    int info = 0;
    zsytrs_(&Uplo, &N, &Nrhs, A, &Lda, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Hetrs(char Uplo, int N, int Nrhs, const TCplx* A, int Lda, const int* Ipiv, TCplx* B, int Ldb)
{
    int info = 0;
    zhetrs_(&Uplo, &N, &Nrhs, A, &Lda, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Syrfs(char Uplo, int N, int Nrhs, const double* A, int Lda, const double* Af, int Ldaf, const int* Ipiv,
                 const double* B, int Ldb, double* X, int Ldx, double* Ferr, double* Berr, double* Work, int* Aux)
{
    int info = 0;
    dsyrfs_(&Uplo, &N, &Nrhs, A, &Lda, Af, &Ldaf, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Syrfs(char Uplo, int N, int Nrhs, const TCplx* A, int Lda, const TCplx* Af, int Ldaf, const int* Ipiv,
                 const TCplx* B, int Ldb, TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    zsyrfs_(&Uplo, &N, &Nrhs, A, &Lda, Af, &Ldaf, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Herfs(char Uplo, int N, int Nrhs, const TCplx* A, int Lda, const TCplx* Af, int Ldaf, const int* Ipiv,
                 const TCplx* B, int Ldb, TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    zherfs_(&Uplo, &N, &Nrhs, A, &Lda, Af, &Ldaf, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
// The complex estimates take no RWORK; Aux is accepted so that the families call all three alike.
inline int Sycon(char Uplo, int N, const double* A, int Lda, const int* Ipiv, double Anorm, double* Rcond, double* Work,
                 int* Aux)
{
    int info = 0;
    dsycon_(&Uplo, &N, A, &Lda, Ipiv, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}
inline int Sycon(char Uplo, int N, const TCplx* A, int Lda, const int* Ipiv, double Anorm, double* Rcond, TCplx* Work,
                 double*)
{
    int info = 0;
    zsycon_(&Uplo, &N, A, &Lda, Ipiv, &Anorm, Rcond, Work, &info, 1);
    return info;
}
inline int Hecon(char Uplo, int N, const TCplx* A, int Lda, const int* Ipiv, double Anorm, double* Rcond, TCplx* Work,
                 double*)
{
    int info = 0;
    zhecon_(&Uplo, &N, A, &Lda, Ipiv, &Anorm, Rcond, Work, &info, 1);
    return info;
}

// Triangular
inline int Trtrs(char Uplo, char Trans, char Diag, int N, int Nrhs, const double* A, int Lda, double* B, int Ldb)
{
    TSingleThread one(N, std::max(N, Nrhs));
    int info = 0;
    dtrtrs_(&Uplo, &Trans, &Diag, &N, &Nrhs, A, &Lda, B, &Ldb, &info, 1, 1, 1);
    return info;
}
inline int Trtrs(char Uplo, char Trans, char Diag, int N, int Nrhs, const TCplx* A, int Lda, TCplx* B, int Ldb)
{
    TSingleThread one(N, std::max(N, Nrhs));
    int info = 0;
    ztrtrs_(&Uplo, &Trans, &Diag, &N, &Nrhs, A, &Lda, B, &Ldb, &info, 1, 1, 1);
    return info;
}
inline int Trrfs(char Uplo, char Trans, char Diag, int N, int Nrhs, const double* A, int Lda, const double* B, int Ldb,
                 const double* X, int Ldx, double* Ferr, double* Berr, double* Work, int* Aux)
{
    int info = 0;
    dtrrfs_(&Uplo, &Trans, &Diag, &N, &Nrhs, A, &Lda, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1, 1, 1);
    return info;
}
inline int Trrfs(char Uplo, char Trans, char Diag, int N, int Nrhs, const TCplx* A, int Lda, const TCplx* B, int Ldb,
                 const TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    ztrrfs_(&Uplo, &Trans, &Diag, &N, &Nrhs, A, &Lda, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1, 1, 1);
    return info;
}
inline int Trcon(char Norm, char Uplo, char Diag, int N, const double* A, int Lda, double* Rcond, double* Work,
                 int* Aux)
{
    int info = 0;
    dtrcon_(&Norm, &Uplo, &Diag, &N, A, &Lda, Rcond, Work, Aux, &info, 1, 1, 1);
    return info;
}
inline int Trcon(char Norm, char Uplo, char Diag, int N, const TCplx* A, int Lda, double* Rcond, TCplx* Work,
                 double* Aux)
{
    int info = 0;
    ztrcon_(&Norm, &Uplo, &Diag, &N, A, &Lda, Rcond, Work, Aux, &info, 1, 1, 1);
    return info;
}

// LU
inline int Getrf(int M, int N, double* A, int Lda, int* Ipiv)
{
    TSingleThread one(M, N);
    int info = 0;
    dgetrf_(&M, &N, A, &Lda, Ipiv, &info);
    return info;
}
inline int Getrf(int M, int N, TCplx* A, int Lda, int* Ipiv)
{
    TSingleThread one(M, N);
    int info = 0;
    zgetrf_(&M, &N, A, &Lda, Ipiv, &info);
    return info;
}
inline int Getrs(char Trans, int N, int Nrhs, const double* A, int Lda, const int* Ipiv, double* B, int Ldb)
{
    TSingleThread one(N, std::max(N, Nrhs));
    int info = 0;
    dgetrs_(&Trans, &N, &Nrhs, A, &Lda, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Getrs(char Trans, int N, int Nrhs, const TCplx* A, int Lda, const int* Ipiv, TCplx* B, int Ldb)
{
    TSingleThread one(N, std::max(N, Nrhs));
    int info = 0;
    zgetrs_(&Trans, &N, &Nrhs, A, &Lda, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Gerfs(char Trans, int N, int Nrhs, const double* A, int Lda, const double* Af, int Ldaf, const int* Ipiv,
                 const double* B, int Ldb, double* X, int Ldx, double* Ferr, double* Berr, double* Work, int* Aux)
{
    int info = 0;
    dgerfs_(&Trans, &N, &Nrhs, A, &Lda, Af, &Ldaf, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Gerfs(char Trans, int N, int Nrhs, const TCplx* A, int Lda, const TCplx* Af, int Ldaf, const int* Ipiv,
                 const TCplx* B, int Ldb, TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    zgerfs_(&Trans, &N, &Nrhs, A, &Lda, Af, &Ldaf, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
// Work: 4·N Doubles (real) or 2·N complex elements; Aux: N ints (real) or 2·N Doubles (complex).
inline int Gecon(char Norm, int N, const double* A, int Lda, double Anorm, double* Rcond, double* Work, int* Aux)
{
    int info = 0;
    dgecon_(&Norm, &N, A, &Lda, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}
inline int Gecon(char Norm, int N, const TCplx* A, int Lda, double Anorm, double* Rcond, TCplx* Work, double* Aux)
{
    int info = 0;
    zgecon_(&Norm, &N, A, &Lda, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}

// Band Cholesky (Kd diagonals on one side, the band in Kd+1 rows)
inline int Pbtrf(char Uplo, int N, int Kd, double* Ab, int Ldab)
{
    int info = 0;
    dpbtrf_(&Uplo, &N, &Kd, Ab, &Ldab, &info, 1);
    return info;
}
inline int Pbtrf(char Uplo, int N, int Kd, TCplx* Ab, int Ldab)
{
    int info = 0;
    zpbtrf_(&Uplo, &N, &Kd, Ab, &Ldab, &info, 1);
    return info;
}
inline int Pbtrs(char Uplo, int N, int Kd, int Nrhs, const double* Ab, int Ldab, double* B, int Ldb)
{
    int info = 0;
    dpbtrs_(&Uplo, &N, &Kd, &Nrhs, Ab, &Ldab, B, &Ldb, &info, 1);
    return info;
}
inline int Pbtrs(char Uplo, int N, int Kd, int Nrhs, const TCplx* Ab, int Ldab, TCplx* B, int Ldb)
{
    int info = 0;
    zpbtrs_(&Uplo, &N, &Kd, &Nrhs, Ab, &Ldab, B, &Ldb, &info, 1);
    return info;
}
inline int Pbrfs(char Uplo, int N, int Kd, int Nrhs, const double* Ab, int Ldab, const double* Afb, int Ldafb,
                 const double* B, int Ldb, double* X, int Ldx, double* Ferr, double* Berr, double* Work, int* Aux)
{
    int info = 0;
    dpbrfs_(&Uplo, &N, &Kd, &Nrhs, Ab, &Ldab, Afb, &Ldafb, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Pbrfs(char Uplo, int N, int Kd, int Nrhs, const TCplx* Ab, int Ldab, const TCplx* Afb, int Ldafb,
                 const TCplx* B, int Ldb, TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    zpbrfs_(&Uplo, &N, &Kd, &Nrhs, Ab, &Ldab, Afb, &Ldafb, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Pbcon(char Uplo, int N, int Kd, const double* Ab, int Ldab, double Anorm, double* Rcond, double* Work,
                 int* Aux)
{
    int info = 0;
    dpbcon_(&Uplo, &N, &Kd, Ab, &Ldab, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}
inline int Pbcon(char Uplo, int N, int Kd, const TCplx* Ab, int Ldab, double Anorm, double* Rcond, TCplx* Work,
                 double* Aux)
{
    int info = 0;
    zpbcon_(&Uplo, &N, &Kd, Ab, &Ldab, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}

// Band LU: the factor needs Ldab >= 2·Kl + Ku + 1, the unfactored band Kl + Ku + 1 rows.
inline int Gbtrf(int M, int N, int Kl, int Ku, double* Ab, int Ldab, int* Ipiv)
{
    int info = 0;
    dgbtrf_(&M, &N, &Kl, &Ku, Ab, &Ldab, Ipiv, &info);
    return info;
}
inline int Gbtrf(int M, int N, int Kl, int Ku, TCplx* Ab, int Ldab, int* Ipiv)
{
    int info = 0;
    zgbtrf_(&M, &N, &Kl, &Ku, Ab, &Ldab, Ipiv, &info);
    return info;
}
inline int Gbtrs(char Trans, int N, int Kl, int Ku, int Nrhs, const double* Ab, int Ldab, const int* Ipiv, double* B,
                 int Ldb)
{
    int info = 0;
    dgbtrs_(&Trans, &N, &Kl, &Ku, &Nrhs, Ab, &Ldab, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Gbtrs(char Trans, int N, int Kl, int Ku, int Nrhs, const TCplx* Ab, int Ldab, const int* Ipiv, TCplx* B,
                 int Ldb)
{
    int info = 0;
    zgbtrs_(&Trans, &N, &Kl, &Ku, &Nrhs, Ab, &Ldab, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Gbrfs(char Trans, int N, int Kl, int Ku, int Nrhs, const double* Ab, int Ldab, const double* Afb, int Ldafb,
                 const int* Ipiv, const double* B, int Ldb, double* X, int Ldx, double* Ferr, double* Berr,
                 double* Work, int* Aux)
{
    int info = 0;
    dgbrfs_(&Trans, &N, &Kl, &Ku, &Nrhs, Ab, &Ldab, Afb, &Ldafb, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info,
            1);
    return info;
}
inline int Gbrfs(char Trans, int N, int Kl, int Ku, int Nrhs, const TCplx* Ab, int Ldab, const TCplx* Afb, int Ldafb,
                 const int* Ipiv, const TCplx* B, int Ldb, TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work,
                 double* Aux)
{
    int info = 0;
    zgbrfs_(&Trans, &N, &Kl, &Ku, &Nrhs, Ab, &Ldab, Afb, &Ldafb, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info,
            1);
    return info;
}
inline int Gbcon(char Norm, int N, int Kl, int Ku, const double* Ab, int Ldab, const int* Ipiv, double Anorm,
                 double* Rcond, double* Work, int* Aux)
{
    int info = 0;
    dgbcon_(&Norm, &N, &Kl, &Ku, Ab, &Ldab, Ipiv, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}
inline int Gbcon(char Norm, int N, int Kl, int Ku, const TCplx* Ab, int Ldab, const int* Ipiv, double Anorm,
                 double* Rcond, TCplx* Work, double* Aux)
{
    int info = 0;
    zgbcon_(&Norm, &N, &Kl, &Ku, Ab, &Ldab, Ipiv, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}

// Tridiagonal LU: Gttrf overwrites Dl, D and Du (N − 1, N and N − 1 elements) with the factor and writes the
// second super-diagonal of U into Du2 (N − 2); the others read that factor. Gtrfs: Work 3·N Doubles and Aux N ints
// (real) or 2·N complex elements and N Doubles (complex); Gtcon: Work 2·N elements and Aux N ints (real only).
inline int Gttrf(int N, double* Dl, double* D, double* Du, double* Du2, int* Ipiv)
{
    int info = 0;
    dgttrf_(&N, Dl, D, Du, Du2, Ipiv, &info);
    return info;
}
inline int Gttrf(int N, TCplx* Dl, TCplx* D, TCplx* Du, TCplx* Du2, int* Ipiv)
{
    int info = 0;
    zgttrf_(&N, Dl, D, Du, Du2, Ipiv, &info);
    return info;
}
// Gtsv: A·X = B in one pass, the factorization of Gttrf and the solve of Gttrs (Trans 'N') with the same pivots and
// the same operations, keeping no factor; it stops at the first zero pivot with B partly eliminated.
inline int Gtsv(int N, int Nrhs, double* Dl, double* D, double* Du, double* B, int Ldb)
{
    int info = 0;
    dgtsv_(&N, &Nrhs, Dl, D, Du, B, &Ldb, &info);
    return info;
}
inline int Gtsv(int N, int Nrhs, TCplx* Dl, TCplx* D, TCplx* Du, TCplx* B, int Ldb)
{
    int info = 0;
    zgtsv_(&N, &Nrhs, Dl, D, Du, B, &Ldb, &info);
    return info;
}
inline int Gttrs(char Trans, int N, int Nrhs, const double* Dl, const double* D, const double* Du, const double* Du2,
                 const int* Ipiv, double* B, int Ldb)
{
    int info = 0;
    dgttrs_(&Trans, &N, &Nrhs, Dl, D, Du, Du2, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Gttrs(char Trans, int N, int Nrhs, const TCplx* Dl, const TCplx* D, const TCplx* Du, const TCplx* Du2,
                 const int* Ipiv, TCplx* B, int Ldb)
{
    int info = 0;
    zgttrs_(&Trans, &N, &Nrhs, Dl, D, Du, Du2, Ipiv, B, &Ldb, &info, 1);
    return info;
}
inline int Gtrfs(char Trans, int N, int Nrhs, const double* Dl, const double* D, const double* Du, const double* Dlf,
                 const double* Df, const double* Duf, const double* Du2, const int* Ipiv, const double* B, int Ldb,
                 double* X, int Ldx, double* Ferr, double* Berr, double* Work, int* Aux)
{
    int info = 0;
    dgtrfs_(&Trans, &N, &Nrhs, Dl, D, Du, Dlf, Df, Duf, Du2, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Gtrfs(char Trans, int N, int Nrhs, const TCplx* Dl, const TCplx* D, const TCplx* Du, const TCplx* Dlf,
                 const TCplx* Df, const TCplx* Duf, const TCplx* Du2, const int* Ipiv, const TCplx* B, int Ldb,
                 TCplx* X, int Ldx, double* Ferr, double* Berr, TCplx* Work, double* Aux)
{
    int info = 0;
    zgtrfs_(&Trans, &N, &Nrhs, Dl, D, Du, Dlf, Df, Duf, Du2, Ipiv, B, &Ldb, X, &Ldx, Ferr, Berr, Work, Aux, &info, 1);
    return info;
}
inline int Gtcon(char Norm, int N, const double* Dl, const double* D, const double* Du, const double* Du2,
                 const int* Ipiv, double Anorm, double* Rcond, double* Work, int* Aux)
{
    int info = 0;
    dgtcon_(&Norm, &N, Dl, D, Du, Du2, Ipiv, &Anorm, Rcond, Work, Aux, &info, 1);
    return info;
}
// The complex estimate takes no RWORK; Aux is accepted as for Sycon.
inline int Gtcon(char Norm, int N, const TCplx* Dl, const TCplx* D, const TCplx* Du, const TCplx* Du2,
                 const int* Ipiv, double Anorm, double* Rcond, TCplx* Work, double*)
{
    int info = 0;
    zgtcon_(&Norm, &N, Dl, D, Du, Du2, Ipiv, &Anorm, Rcond, Work, &info, 1);
    return info;
}

// Norms ('1' or 'I') of the matrix a routine reads: symmetric or Hermitian from one triangle, general band,
// tridiagonal (from its three diagonals, no work), and a band from one triangle, symmetric for real data (DLANSB)
// and Hermitian for complex data. Work: N Doubles.
inline double Lansy(char Norm, char Uplo, int N, const double* A, int Lda, double* Work)
{
    return dlansy_(&Norm, &Uplo, &N, A, &Lda, Work, 1, 1);
}
inline double Lansy(char Norm, char Uplo, int N, const TCplx* A, int Lda, double* Work)
{
    return zlansy_(&Norm, &Uplo, &N, A, &Lda, Work, 1, 1);
}
inline double Lanhe(char Norm, char Uplo, int N, const TCplx* A, int Lda, double* Work)
{
    return zlanhe_(&Norm, &Uplo, &N, A, &Lda, Work, 1, 1);
}
inline double Langb(char Norm, int N, int Kl, int Ku, const double* Ab, int Ldab, double* Work)
{
    return dlangb_(&Norm, &N, &Kl, &Ku, Ab, &Ldab, Work, 1);
}
inline double Langb(char Norm, int N, int Kl, int Ku, const TCplx* Ab, int Ldab, double* Work)
{
    return zlangb_(&Norm, &N, &Kl, &Ku, Ab, &Ldab, Work, 1);
}
inline double Langt(char Norm, int N, const double* Dl, const double* D, const double* Du)
{
    return dlangt_(&Norm, &N, Dl, D, Du, 1);
}
inline double Langt(char Norm, int N, const TCplx* Dl, const TCplx* D, const TCplx* Du)
{
    return zlangt_(&Norm, &N, Dl, D, Du, 1);
}
inline double Lanhb(char Norm, char Uplo, int N, int Kd, const double* Ab, int Ldab, double* Work)
{
    return dlansb_(&Norm, &Uplo, &N, &Kd, Ab, &Ldab, Work, 1, 1);
}
inline double Lanhb(char Norm, char Uplo, int N, int Kd, const TCplx* Ab, int Ldab, double* Work)
{
    return zlanhb_(&Norm, &Uplo, &N, &Kd, Ab, &Ldab, Work, 1, 1);
}

// ---- Dot products (vec_norms.cpp) ----
// Σ conj(X[i])·Y[i], increments 1.
inline TCplx Dotc(int N, const TCplx* X, const TCplx* Y)
{
    const int one = 1;
    return zdotc_(&N, X, &one, Y, &one);
}

// ---- Level 1 copies ------------------------------------------------------------------------------------------

// Y[k·IncY] := X[k·IncX] for k < N.
inline void Copy(int N, const double* X, int IncX, double* Y, int IncY)
{
    dcopy_(&N, X, &IncX, Y, &IncY);
}
inline void Copy(int N, const TCplx* X, int IncX, TCplx* Y, int IncY)
{
    zcopy_(&N, X, &IncX, Y, &IncY);
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
    TSingleThread one(N, N);
    int info = 0;
    dpotri_(&Uplo, &N, A, &Lda, &info, 1);
    return info;
}
inline int Potri(char Uplo, int N, TCplx* A, int Lda)
{
    TSingleThread one(N, N);
    int info = 0;
    zpotri_(&Uplo, &N, A, &Lda, &info, 1);
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
    TSingleThread one(N, N);
    int info = 0;
    dtrtri_(&Uplo, &Diag, &N, A, &Lda, &info, 1, 1);
    return info;
}
inline int Trtri(char Uplo, char Diag, int N, TCplx* A, int Lda)
{
    TSingleThread one(N, N);
    int info = 0;
    ztrtri_(&Uplo, &Diag, &N, A, &Lda, &info, 1, 1);
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

// ---- Rank-1 updates and the Sylvester equation (mtx_small.cpp) ------------------------------------------------

// A := Alpha·x·yᵀ + A (DGER, ZGERU: no conjugation).
inline void Geru(int M, int N, double Alpha, const double* X, int IncX, const double* Y, int IncY, double* A, int Lda)
{
    dger_(&M, &N, &Alpha, X, &IncX, Y, &IncY, A, &Lda);
}
inline void Geru(int M, int N, TCplx Alpha, const TCplx* X, int IncX, const TCplx* Y, int IncY, TCplx* A, int Lda)
{
    zgeru_(&M, &N, &Alpha, X, &IncX, Y, &IncY, A, &Lda);
}

// Solves op(A)·X + Isgn·X·op(B) = Scale·C for X (into C), A and B in Schur form; returns INFO.
inline int Trsyl(char TranA, char TranB, int Isgn, int M, int N, const double* A, int Lda, const double* B, int Ldb,
                 double* C, int Ldc, double& Scale)
{
    int info = 0;
    dtrsyl_(&TranA, &TranB, &Isgn, &M, &N, A, &Lda, B, &Ldb, C, &Ldc, &Scale, &info, 1, 1);
    return info;
}
inline int Trsyl(char TranA, char TranB, int Isgn, int M, int N, const TCplx* A, int Lda, const TCplx* B, int Ldb,
                 TCplx* C, int Ldc, double& Scale)
{
    int info = 0;
    ztrsyl_(&TranA, &TranB, &Isgn, &M, &N, A, &Lda, B, &Ldb, C, &Ldc, &Scale, &info, 1, 1);
    return info;
}

// ---- Eigenvalues and the singular value decomposition (mtx_lapack_eig.cpp, mtx_lapack_svd.cpp) -----------------
// Each LAPACK call returns INFO; Lwork -1 is the workspace query. The tridiagonal and bidiagonal forms (D, E), the
// balancing scales and the singular values are real for both element types. "Sym" as above: DSYTRD/ZHETRD,
// DORGTR/ZUNGTR, DSYGST/ZHEGST; "Org" DORGHR/ZUNGHR.

// B := Alpha·op(A)⁻¹·B (Side 'L') or Alpha·B·op(A)⁻¹ (Side 'R'), A triangular.
inline void Trsm(char Side, char Uplo, char TransA, char Diag, int M, int N, double Alpha, const double* A, int Lda,
                 double* B, int Ldb)
{
    dtrsm_(&Side, &Uplo, &TransA, &Diag, &M, &N, &Alpha, A, &Lda, B, &Ldb, 1, 1, 1, 1);
}
inline void Trsm(char Side, char Uplo, char TransA, char Diag, int M, int N, TCplx Alpha, const TCplx* A, int Lda,
                 TCplx* B, int Ldb)
{
    ztrsm_(&Side, &Uplo, &TransA, &Diag, &M, &N, &Alpha, A, &Lda, B, &Ldb, 1, 1, 1, 1);
}

inline int SymTrd(char Uplo, int N, double* A, int Lda, double* D, double* E, double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dsytrd_(&Uplo, &N, A, &Lda, D, E, Tau, Work, &Lwork, &info, 1);
    return info;
}
inline int SymTrd(char Uplo, int N, TCplx* A, int Lda, double* D, double* E, TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zhetrd_(&Uplo, &N, A, &Lda, D, E, Tau, Work, &Lwork, &info, 1);
    return info;
}
inline int SymOrgtr(char Uplo, int N, double* A, int Lda, const double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dorgtr_(&Uplo, &N, A, &Lda, Tau, Work, &Lwork, &info, 1);
    return info;
}
inline int SymOrgtr(char Uplo, int N, TCplx* A, int Lda, const TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zungtr_(&Uplo, &N, A, &Lda, Tau, Work, &Lwork, &info, 1);
    return info;
}
inline int Sterf(int N, double* D, double* E)
{
    int info = 0;
    dsterf_(&N, D, E, &info);
    return info;
}
// Work: max(1, 2·N - 2) Doubles (Steqr), 4·N Doubles (Pteqr), for both element types.
inline int Steqr(char Compz, int N, double* D, double* E, double* Z, int Ldz, double* Work)
{
    int info = 0;
    dsteqr_(&Compz, &N, D, E, Z, &Ldz, Work, &info, 1);
    return info;
}
inline int Steqr(char Compz, int N, double* D, double* E, TCplx* Z, int Ldz, double* Work)
{
    int info = 0;
    zsteqr_(&Compz, &N, D, E, Z, &Ldz, Work, &info, 1);
    return info;
}
inline int Pteqr(char Compz, int N, double* D, double* E, double* Z, int Ldz, double* Work)
{
    int info = 0;
    dpteqr_(&Compz, &N, D, E, Z, &Ldz, Work, &info, 1);
    return info;
}
inline int Pteqr(char Compz, int N, double* D, double* E, TCplx* Z, int Ldz, double* Work)
{
    int info = 0;
    zpteqr_(&Compz, &N, D, E, Z, &Ldz, Work, &info, 1);
    return info;
}
inline int Gebal(char Job, int N, double* A, int Lda, int& Ilo, int& Ihi, double* Scale)
{
    int info = 0;
    dgebal_(&Job, &N, A, &Lda, &Ilo, &Ihi, Scale, &info, 1);
    return info;
}
inline int Gebal(char Job, int N, TCplx* A, int Lda, int& Ilo, int& Ihi, double* Scale)
{
    int info = 0;
    zgebal_(&Job, &N, A, &Lda, &Ilo, &Ihi, Scale, &info, 1);
    return info;
}
inline int Gehrd(int N, int Ilo, int Ihi, double* A, int Lda, double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dgehrd_(&N, &Ilo, &Ihi, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Gehrd(int N, int Ilo, int Ihi, TCplx* A, int Lda, TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zgehrd_(&N, &Ilo, &Ihi, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Orghr(int N, int Ilo, int Ihi, double* A, int Lda, const double* Tau, double* Work, int Lwork)
{
    int info = 0;
    dorghr_(&N, &Ilo, &Ihi, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
inline int Orghr(int N, int Ilo, int Ihi, TCplx* A, int Lda, const TCplx* Tau, TCplx* Work, int Lwork)
{
    int info = 0;
    zunghr_(&N, &Ilo, &Ihi, A, &Lda, Tau, Work, &Lwork, &info);
    return info;
}
// The eigenvalues of a Hessenberg matrix: real data into Wr and Wi, complex data into W.
inline int Hseqr(char Job, char Compz, int N, int Ilo, int Ihi, double* H, int Ldh, double* Wr, double* Wi, double* Z,
                 int Ldz, double* Work, int Lwork)
{
    int info = 0;
    dhseqr_(&Job, &Compz, &N, &Ilo, &Ihi, H, &Ldh, Wr, Wi, Z, &Ldz, Work, &Lwork, &info, 1, 1);
    return info;
}
inline int Hseqr(char Job, char Compz, int N, int Ilo, int Ihi, TCplx* H, int Ldh, TCplx* W, TCplx* Z, int Ldz,
                 TCplx* Work, int Lwork)
{
    int info = 0;
    zhseqr_(&Job, &Compz, &N, &Ilo, &Ihi, H, &Ldh, W, Z, &Ldz, Work, &Lwork, &info, 1, 1);
    return info;
}
inline int Gebak(char Job, char Side, int N, int Ilo, int Ihi, const double* Scale, int M, double* V, int Ldv)
{
    int info = 0;
    dgebak_(&Job, &Side, &N, &Ilo, &Ihi, Scale, &M, V, &Ldv, &info, 1, 1);
    return info;
}
inline int Gebak(char Job, char Side, int N, int Ilo, int Ihi, const double* Scale, int M, TCplx* V, int Ldv)
{
    int info = 0;
    zgebak_(&Job, &Side, &N, &Ilo, &Ihi, Scale, &M, V, &Ldv, &info, 1, 1);
    return info;
}
// Eigenvalues and eigenvectors of a general matrix; the complex form takes Rwork of 2·N Doubles.
inline int Geev(char Jobvl, char Jobvr, int N, double* A, int Lda, double* Wr, double* Wi, double* Vl, int Ldvl,
                double* Vr, int Ldvr, double* Work, int Lwork)
{
    int info = 0;
    dgeev_(&Jobvl, &Jobvr, &N, A, &Lda, Wr, Wi, Vl, &Ldvl, Vr, &Ldvr, Work, &Lwork, &info, 1, 1);
    return info;
}
inline int Geev(char Jobvl, char Jobvr, int N, TCplx* A, int Lda, TCplx* W, TCplx* Vl, int Ldvl, TCplx* Vr, int Ldvr,
                TCplx* Work, int Lwork, double* Rwork)
{
    int info = 0;
    zgeev_(&Jobvl, &Jobvr, &N, A, &Lda, W, Vl, &Ldvl, Vr, &Ldvr, Work, &Lwork, Rwork, &info, 1, 1);
    return info;
}
inline int SymGst(int Itype, char Uplo, int N, double* A, int Lda, const double* B, int Ldb)
{
    int info = 0;
    dsygst_(&Itype, &Uplo, &N, A, &Lda, B, &Ldb, &info, 1);
    return info;
}
inline int SymGst(int Itype, char Uplo, int N, TCplx* A, int Lda, const TCplx* B, int Ldb)
{
    int info = 0;
    zhegst_(&Itype, &Uplo, &N, A, &Lda, B, &Ldb, &info, 1);
    return info;
}
inline int Gebrd(int M, int N, double* A, int Lda, double* D, double* E, double* Tauq, double* Taup, double* Work,
                 int Lwork)
{
    int info = 0;
    dgebrd_(&M, &N, A, &Lda, D, E, Tauq, Taup, Work, &Lwork, &info);
    return info;
}
inline int Gebrd(int M, int N, TCplx* A, int Lda, double* D, double* E, TCplx* Tauq, TCplx* Taup, TCplx* Work,
                 int Lwork)
{
    int info = 0;
    zgebrd_(&M, &N, A, &Lda, D, E, Tauq, Taup, Work, &Lwork, &info);
    return info;
}
// Singular values of a bidiagonal matrix; no vectors are asked for, so Vt, U and C are not referenced. Work: 4·N
// Doubles for both element types.
template <class T>
int BdsqrValues(char Uplo, int N, double* D, double* E, double* Work)
{
    int info = 0;
    const int zero = 0, one = 1;
    T unused{};
    if constexpr (std::is_same_v<T, double>) {
        dbdsqr_(&Uplo, &N, &zero, &zero, &zero, D, E, &unused, &one, &unused, &one, &unused, &one, Work, &info, 1);
    } else {
        zbdsqr_(&Uplo, &N, &zero, &zero, &zero, D, E, &unused, &one, &unused, &one, &unused, &one, Work, &info, 1);
    }
    return info;
}
// The divide-and-conquer decomposition; Rwork is used by the complex form only.
inline int Gesdd(char Jobz, int M, int N, double* A, int Lda, double* S, double* U, int Ldu, double* Vt, int Ldvt,
                 double* Work, int Lwork, double* /*Rwork*/, int* Iwork)
{
    int info = 0;
    dgesdd_(&Jobz, &M, &N, A, &Lda, S, U, &Ldu, Vt, &Ldvt, Work, &Lwork, Iwork, &info, 1);
    return info;
}
inline int Gesdd(char Jobz, int M, int N, TCplx* A, int Lda, double* S, TCplx* U, int Ldu, TCplx* Vt, int Ldvt,
                 TCplx* Work, int Lwork, double* Rwork, int* Iwork)
{
    int info = 0;
    zgesdd_(&Jobz, &M, &N, A, &Lda, S, U, &Ldu, Vt, &Ldvt, Work, &Lwork, Rwork, Iwork, &info, 1);
    return info;
}

// ---- Symmetric rank-1 and rank-2 updates (numerics/opt_bfgs.cpp) ----------------------------------------------
// Real only: the quasi-Newton updates of a real symmetric matrix. Only the triangle Uplo names is written.

// A := Alpha·x·xᵀ + A (DSYR), increments 1.
inline void Syr(char Uplo, int N, double Alpha, const double* X, double* A, int Lda)
{
    const int one = 1;
    dsyr_(&Uplo, &N, &Alpha, X, &one, A, &Lda, 1);
}

// A := Alpha·x·yᵀ + Alpha·y·xᵀ + A (DSYR2), increments 1.
inline void Syr2(char Uplo, int N, double Alpha, const double* X, const double* Y, double* A, int Lda)
{
    const int one = 1;
    dsyr2_(&Uplo, &N, &Alpha, X, &one, Y, &one, A, &Lda, 1);
}

}  // namespace tarnel::blas

// The symmetric product and rank-one updates of BFGS's inverse-Hessian estimate for small matrices.
//
// Below kOptSmallSym rows a BLAS call costs more around the arithmetic than in it (argument checks, a work buffer
// taken from a locked table, the scaling of y, and for the update one axpy call per column). Here the same
// operations run in the same order as the BLAS's AVX2/FMA kernels form them, so the values are the same bit for bit:
//   update (one call per vector): column j of the column-major lower triangle (row j of the row-major upper one)
//     gets t·x[j..n) with t = Alpha·x[j], skipped when x[j] = 0 or Alpha = 0; the first (n - j) & -16 elements by
//     fused multiply-adds, the rest by a product and a sum;
//   product: y := 0, then columns in blocks of four: the diagonal and the triangle inside the block by products and
//     sums, the rows below it from the next multiple of four up to the last in steps of four by fused
//     multiply-adds (four partial sums per column, reduced (0 + 2) + (1 + 3) and added once), the last rows and
//     the columns after the last block by products and sums; column j's sum is added as Alpha·sum at the end.
// Without AVX2 and FMA, for the other triangle, or from kOptSmallSym rows up, the BLAS routines run.
#include <immintrin.h>

#include <algorithm>

#include "core/BlasCalls.h"
#include "numerics/OptimizationWork.h"

namespace tarnel::detail {

namespace {

bool HasFma()
{
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}

// (V0 + V2) + (V1 + V3).
__attribute__((target("avx2,fma"))) inline double Reduce(__m256d V)
{
    const __m128d h = _mm_add_pd(_mm256_castpd256_pd128(V), _mm256_extractf128_pd(V, 1));
    return _mm_cvtsd_f64(_mm_hadd_pd(h, h));
}

// Columns C0..C3 over rows [From, To) (To - From a multiple of 4): y += T1k·Ck and Sk += the four partial sums of
// Ck·x, reduced (0 + 2) + (1 + 3).
__attribute__((target("avx2,fma"))) inline void Block4(long From, long To, const double* C0, const double* C1,
                                                       const double* C2, const double* C3, const double* X, double* Y,
                                                       double T10, double T11, double T12, double T13, double& S0,
                                                       double& S1, double& S2, double& S3)
{
    __m256d s0 = _mm256_setzero_pd(), s1 = s0, s2 = s0, s3 = s0;
    const __m256d b0 = _mm256_set1_pd(T10), b1 = _mm256_set1_pd(T11), b2 = _mm256_set1_pd(T12),
                  b3 = _mm256_set1_pd(T13);
    for (long i = From; i < To; i += 4) {
        const __m256d a0 = _mm256_loadu_pd(C0 + i), a1 = _mm256_loadu_pd(C1 + i), a2 = _mm256_loadu_pd(C2 + i),
                      a3 = _mm256_loadu_pd(C3 + i);
        const __m256d x = _mm256_loadu_pd(X + i);
        __m256d y = _mm256_loadu_pd(Y + i);
        s0 = _mm256_fmadd_pd(x, a0, s0);
        y = _mm256_fmadd_pd(b0, a0, y);
        s1 = _mm256_fmadd_pd(x, a1, s1);
        y = _mm256_fmadd_pd(b1, a1, y);
        s2 = _mm256_fmadd_pd(x, a2, s2);
        y = _mm256_fmadd_pd(b2, a2, y);
        s3 = _mm256_fmadd_pd(x, a3, s3);
        y = _mm256_fmadd_pd(b3, a3, y);
        _mm256_storeu_pd(Y + i, y);
    }
    S0 = S0 + Reduce(s0);
    S1 = S1 + Reduce(s1);
    S2 = S2 + Reduce(s2);
    S3 = S3 + Reduce(s3);
}

// The lower triangle of the column-major M×M A (columns contiguous), in the order described at the top. The
// running values are locals (the arrays are distinct), which keeps them in registers.
__attribute__((target("avx2,fma"))) void SymMvLower(long M, double Alpha, const double* __restrict A,
                                                    const double* __restrict X, double* __restrict Y)
{
    for (long i = 0; i < M; ++i) Y[i] = 0;
    if (Alpha == 0) return;
    const long blocks = M / 4 * 4;
    long j = 0;
    for (; j < blocks; j += 4) {
        const double t0 = Alpha * X[j], t1 = Alpha * X[j + 1], t2 = Alpha * X[j + 2], t3 = Alpha * X[j + 3];
        const double *const c0 = A + j * M, *const c1 = c0 + M, *const c2 = c1 + M, *const c3 = c2 + M;
        // The diagonal, then the triangle inside the block column by column.
        double y0 = Y[j] + t0 * c0[j], y1 = Y[j + 1] + t1 * c1[j + 1], y2 = Y[j + 2] + t2 * c2[j + 2],
               y3 = Y[j + 3] + t3 * c3[j + 3];
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        // Row I of a column C with factor T: into y and into the column's sum.
        const auto term = [X](double& Yi, double& S, double T, const double* C, long I) {
            Yi = Yi + T * C[I];
            S = S + C[I] * X[I];
        };
        term(y1, s0, t0, c0, j + 1);
        term(y2, s0, t0, c0, j + 2);
        term(y3, s0, t0, c0, j + 3);
        term(y2, s1, t1, c1, j + 2);
        term(y3, s1, t1, c1, j + 3);
        term(y3, s2, t2, c2, j + 3);
        long rest = j + 4;
        if (M - (j + 1) >= 12) {
            if (blocks > j + 4) Block4(j + 4, blocks, c0, c1, c2, c3, X, Y, t0, t1, t2, t3, s0, s1, s2, s3);
            rest = blocks;
        }
        for (long i = rest; i < M; ++i) {
            double yi = Y[i];
            term(yi, s0, t0, c0, i);
            term(yi, s1, t1, c1, i);
            term(yi, s2, t2, c2, i);
            term(yi, s3, t3, c3, i);
            Y[i] = yi;
        }
        Y[j] = y0 + Alpha * s0;
        Y[j + 1] = y1 + Alpha * s1;
        Y[j + 2] = y2 + Alpha * s2;
        Y[j + 3] = y3 + Alpha * s3;
    }
    for (; j < M; ++j) {
        const double t = Alpha * X[j];
        double s = 0;
        const double* const col = A + j * M;
        const double yj = Y[j] + t * col[j];
        for (long i = j + 1; i < M; ++i) {
            Y[i] = Y[i] + t * col[i];
            s = s + col[i] * X[i];
        }
        Y[j] = yj + Alpha * s;
    }
}

// Col[0..Len) += T1·U[0..Len), then Col[0..Len) += T2·V[0..Len) (a zero factor: that update is skipped), in one
// pass: fused multiply-adds over the first Len & -16, products and sums (also four at a time: the same values)
// after them.
template <bool First, bool Second>
__attribute__((target("avx2,fma"))) inline void AxpyColumns(long Len, double T1, const double* __restrict U, double T2,
                                                            const double* __restrict V, double* __restrict Col)
{
    const long fused = Len & -16;
    const __m256d t1 = _mm256_set1_pd(T1), t2 = _mm256_set1_pd(T2);
    long i = 0;
    for (; i < fused; i += 4) {
        __m256d h = _mm256_loadu_pd(Col + i);
        if constexpr (First) h = _mm256_fmadd_pd(t1, _mm256_loadu_pd(U + i), h);
        if constexpr (Second) h = _mm256_fmadd_pd(t2, _mm256_loadu_pd(V + i), h);
        _mm256_storeu_pd(Col + i, h);
    }
    for (; i + 4 <= Len; i += 4) {
        __m256d h = _mm256_loadu_pd(Col + i);
        if constexpr (First) h = _mm256_add_pd(h, _mm256_mul_pd(t1, _mm256_loadu_pd(U + i)));
        if constexpr (Second) h = _mm256_add_pd(h, _mm256_mul_pd(t2, _mm256_loadu_pd(V + i)));
        _mm256_storeu_pd(Col + i, h);
    }
    for (; i < Len; ++i) {
        double h = Col[i];
        if constexpr (First) h = h + T1 * U[i];
        if constexpr (Second) h = h + T2 * V[i];
        Col[i] = h;
    }
}

__attribute__((target("avx2,fma"))) void SyrPairLower(long N, double A1, const double* U, double A2, const double* V,
                                                      double* H)
{
    for (long j = 0; j < N; ++j) {
        double* const col = H + j * N + j;
        const bool first = A1 != 0 && U[j] != 0, second = A2 != 0 && V[j] != 0;
        const double t1 = A1 * U[j], t2 = A2 * V[j];
        if (first && second) {
            AxpyColumns<true, true>(N - j, t1, U + j, t2, V + j, col);
        } else if (first) {
            AxpyColumns<true, false>(N - j, t1, U + j, t2, V + j, col);
        } else if (second) {
            AxpyColumns<false, true>(N - j, t1, U + j, t2, V + j, col);
        }
    }
}

}  // namespace

void OptSymMv(char Uplo, int N, double Alpha, const double* H, const double* X, double* Y)
{
    if (Uplo == 'L' && N < kOptSmallSym && HasFma()) {
        SymMvLower(N, Alpha, H, X, Y);
        return;
    }
    blas::SymMv(Uplo, N, Alpha, H, std::max(1, N), X, 1, 0.0, Y, 1);
}

void OptSyrPair(char Uplo, int N, double A1, const double* U, double A2, const double* V, double* H)
{
    if (Uplo == 'L' && N < kOptSmallSym && HasFma()) {
        SyrPairLower(N, A1, U, A2, V, H);
        return;
    }
    blas::Syr(Uplo, N, A1, U, H, N);
    blas::Syr(Uplo, N, A2, V, H, N);
}

}  // namespace tarnel::detail

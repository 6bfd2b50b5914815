// What the eigenvalue, SVD and matrix function tests share: small dense complex matrices for the reconstruction
// checks (A·V = V·D, Vᴴ·V = I, U·S·Vᵀ = A), computed here without the library.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace eigtest {

using Z = std::complex<double>;

struct CMat {
    int Rows = 0, Cols = 0;
    std::vector<Z> V;
    Z& operator()(int r, int c) { return V[static_cast<std::size_t>(r) * Cols + c]; }
    Z operator()(int r, int c) const { return V[static_cast<std::size_t>(r) * Cols + c]; }
};

inline CMat Zeros(int Rows, int Cols)
{
    return {Rows, Cols, std::vector<Z>(static_cast<std::size_t>(Rows) * Cols)};
}

// The elements of a matrix as complex numbers (real data: + 0i).
inline CMat Of(const tarnel::TMtx& M)
{
    CMat c = Zeros(M.Rows(), M.Cols());
    for (std::size_t k = 0; k < c.V.size(); ++k)
        c.V[k] = M.Complex() ? Z(M.Values()[2 * k], M.Values()[2 * k + 1]) : Z(M.Values()[k], 0);
    return c;
}

inline CMat Of(const testsupport::GoldMtx& G, bool Complex)
{
    CMat c = Zeros(G.Rows, G.Cols);
    for (std::size_t k = 0; k < c.V.size(); ++k) c.V[k] = Complex ? Z(G.V[2 * k], G.V[2 * k + 1]) : Z(G.V[k], 0);
    return c;
}

// The elements of a vector.
inline std::vector<Z> Of(const tarnel::TVecs& D)
{
    std::vector<Z> d(D.Length());
    for (int k = 0; k < D.Length(); ++k)
        d[k] = D.Complex() ? Z(D.Values()[2 * k], D.Values()[2 * k + 1]) : D.Values()[k];
    return d;
}

inline CMat Mul(const CMat& A, const CMat& B)
{
    CMat c = Zeros(A.Rows, B.Cols);
    for (int i = 0; i < A.Rows; ++i)
        for (int k = 0; k < A.Cols; ++k)
            for (int j = 0; j < B.Cols; ++j) c(i, j) += A(i, k) * B(k, j);
    return c;
}

// Aᵀ, or Aᴴ with Conjugate.
inline CMat Transposed(const CMat& A, bool Conjugate)
{
    CMat t = Zeros(A.Cols, A.Rows);
    for (int i = 0; i < A.Rows; ++i)
        for (int j = 0; j < A.Cols; ++j) t(j, i) = Conjugate ? std::conj(A(i, j)) : A(i, j);
    return t;
}

// A·diag(D): column j scaled by D(j).
inline CMat ScaledColumns(CMat A, const std::vector<Z>& D)
{
    for (int i = 0; i < A.Rows; ++i)
        for (int j = 0; j < A.Cols; ++j) A(i, j) *= D[j];
    return A;
}

inline CMat Identity(int N)
{
    CMat c = Zeros(N, N);
    for (int k = 0; k < N; ++k) c(k, k) = 1;
    return c;
}

// The largest modulus of an element of A - B (infinity when the shapes differ).
inline double MaxDiff(const CMat& A, const CMat& B)
{
    if (A.Rows != B.Rows || A.Cols != B.Cols) return std::numeric_limits<double>::infinity();
    double m = 0;
    for (std::size_t k = 0; k < A.V.size(); ++k) m = std::max(m, std::abs(A.V[k] - B.V[k]));
    return m;
}

// MaxDiff of eigenvector columns, each of A turned by the unit factor that best matches B's column first: an
// eigenvector of a simple eigenvalue is unique only up to such a factor, and LAPACK's choice (its largest element
// real) flips between two elements of nearly equal modulus with the rounding of the BLAS kernels in use.
inline double MaxDiffUpToPhase(const CMat& A, const CMat& B)
{
    if (A.Rows != B.Rows || A.Cols != B.Cols) return std::numeric_limits<double>::infinity();
    double m = 0;
    for (int j = 0; j < A.Cols; ++j) {
        Z s = 0;
        for (int i = 0; i < A.Rows; ++i) s += std::conj(A(i, j)) * B(i, j);
        const Z turn = std::abs(s) > 0 ? s / std::abs(s) : Z(1);
        for (int i = 0; i < A.Rows; ++i) m = std::max(m, std::abs(A(i, j) * turn - B(i, j)));
    }
    return m;
}

// The largest column sum of moduli.
inline double Norm1(const CMat& A)
{
    double m = 0;
    for (int j = 0; j < A.Cols; ++j) {
        double s = 0;
        for (int i = 0; i < A.Rows; ++i) s += std::abs(A(i, j));
        m = std::max(m, s);
    }
    return m;
}

// Every expected value matched by the nearest value not matched yet, within Tol (the order does not count).
inline void ExpectSameSet(const std::vector<Z>& Got, const std::vector<Z>& Expected, double Tol,
                          const std::string& What)
{
    ASSERT_EQ(Got.size(), Expected.size()) << What;
    std::vector<bool> used(Got.size());
    for (const Z& e : Expected) {
        std::size_t best = Got.size();
        for (std::size_t k = 0; k < Got.size(); ++k)
            if (!used[k] && (best == Got.size() || std::abs(Got[k] - e) < std::abs(Got[best] - e))) best = k;
        used[best] = true;
        EXPECT_LE(std::abs(Got[best] - e), Tol) << What << ": expected " << e << ", nearest " << Got[best];
    }
}

// The elements of a golden column (n × 1) as a vector.
inline std::vector<Z> Column(const testsupport::GoldMtx& G, bool Complex)
{
    return Of(G, Complex).V;
}

// M := the matrix the caller hands over with only the triangle Kept holding values: the other strict triangle NaN.
inline void KeepTriangle(tarnel::TMtx& M, tarnel::TTriangleForm Kept)
{
    const int w = M.Complex() ? 2 : 1;
    for (int i = 0; i < M.Rows(); ++i)
        for (int j = 0; j < M.Cols(); ++j)
            if (Kept == tarnel::tfUpper ? j < i : j > i)
                for (int p = 0; p < w; ++p) M.Values()[(static_cast<std::int64_t>(i) * M.Cols() + j) * w + p] = NAN;
    M.SetTriangleForm(Kept);
}

}  // namespace eigtest

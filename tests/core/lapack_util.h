// What the least-squares, factorization and QR tests share: vectors and matrices from golden rows, comparisons
// within a relative tolerance, and the residual checks of reconstructions.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"

namespace lapacktest {

using tarnel::TCplx;
using tarnel::TMtx;
using tarnel::TVec;
using testsupport::GoldMtx;

// Element k of a matrix's or vector's data as a complex number (real data: + 0i).
inline TCplx At(const double* V, bool Complex, std::int64_t K)
{
    return Complex ? TCplx{V[2 * K], V[2 * K + 1]} : TCplx{V[K], 0};
}

// The largest modulus of Count elements.
inline double MaxAbs(const double* V, bool Complex, std::int64_t Count)
{
    double m = 0;
    for (std::int64_t k = 0; k < Count; ++k) m = std::max(m, std::hypot(At(V, Complex, k).Re, At(V, Complex, k).Im));
    return m;
}

// Every element of Got within Tol·max(1, largest expected modulus) of Expected (Count elements each).
inline void ExpectClose(const double* Got, const double* Expected, bool Complex, std::int64_t Count, double Tol,
                        const std::string& What)
{
    const double scale = std::max(1.0, MaxAbs(Expected, Complex, Count));
    for (std::int64_t k = 0; k < Count; ++k) {
        const TCplx g = At(Got, Complex, k), e = At(Expected, Complex, k);
        ASSERT_LE(std::hypot(g.Re - e.Re, g.Im - e.Im), Tol * scale)
            << What << ": element " << k << " is (" << g.Re << ", " << g.Im << "), expected (" << e.Re << ", " << e.Im
            << ")";
    }
}

inline void ExpectClose(const TMtx& Got, const GoldMtx& Expected, bool Complex, double Tol, const std::string& What)
{
    ASSERT_EQ(Got.Rows(), Expected.Rows) << What;
    ASSERT_EQ(Got.Cols(), Expected.Cols) << What;
    ASSERT_EQ(Got.Complex(), Complex) << What;
    ExpectClose(Got.Values(), Expected.V.data(), Complex, static_cast<std::int64_t>(Got.Rows()) * Got.Cols(), Tol,
                What);
}

inline void ExpectClose(const TMtx& Got, const TMtx& Expected, double Tol, const std::string& What)
{
    ASSERT_EQ(Got.Rows(), Expected.Rows()) << What;
    ASSERT_EQ(Got.Cols(), Expected.Cols()) << What;
    ASSERT_EQ(Got.Complex(), Expected.Complex()) << What;
    ExpectClose(Got.Values(), Expected.Values(), Got.Complex(), static_cast<std::int64_t>(Got.Rows()) * Got.Cols(), Tol,
                What);
}

// V := the Doubles of a golden matrix (its elements row by row).
inline void LoadVec(TVec& V, const GoldMtx& G, bool Complex)
{
    V.Size(G.Rows * G.Cols, Complex);
    std::copy(G.V.begin(), G.V.end(), V.Values());
}

// The identity of order N.
inline void Identity(TMtx& I, int N, bool Complex)
{
    I.Size(N, N, Complex);
    I.SetZero();
    for (int k = 0; k < N; ++k) I.Values()[(static_cast<std::int64_t>(k) * N + k) * (Complex ? 2 : 1)] = 1;
}

// Expects A·B (with the operations) within Tol of C.
inline void ExpectProduct(TMtx& A, TMtx& B, const TMtx& C, double Tol, const std::string& What,
                          tarnel::TMtxOperation OpA = tarnel::opNone, tarnel::TMtxOperation OpB = tarnel::opNone)
{
    TMtx p;
    p.Mul(A, B, OpA, OpB);
    ExpectClose(p, C, Tol, What);
}

}  // namespace lapacktest

// TMtx: the matrix type that picks a routine family (DetectMtxType), the diagonal count, and the conversions to and
// from band storage.
#include <algorithm>
#include <cstring>

#include "core/BandLayout.h"
#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/messages.h"
#include "core/mtx_class.h"

namespace tarnel {

namespace {

inline bool IsZero(double X)
{
    return X == 0;
}
inline bool IsZero(const TCplx& Z)
{
    return Z.Re == 0 && Z.Im == 0;
}

template <class T>
bool StrictUpperZero(const T* A, int N)
{
    for (int r = 0; r < N; ++r) {
        const T* row = A + static_cast<std::int64_t>(r) * N;
        for (int c = r + 1; c < N; ++c) {
            if (!IsZero(row[c])) return false;
        }
    }
    return true;
}

template <class T>
bool StrictLowerZero(const T* A, int N)
{
    for (int r = 1; r < N; ++r) {
        const T* row = A + static_cast<std::int64_t>(r) * N;
        for (int c = 0; c < r; ++c) {
            if (!IsZero(row[c])) return false;
        }
    }
    return true;
}

bool IsSymmetric(const double* A, int N)
{
    for (int r = 0; r < N; ++r) {
        for (int c = r + 1; c < N; ++c) {
            if (A[static_cast<std::int64_t>(r) * N + c] != A[static_cast<std::int64_t>(c) * N + r]) return false;
        }
    }
    return true;
}

// Symmetric: a(r,c) = a(c,r); Hermitian: a(r,c) = conj(a(c,r)) and a real diagonal.
void SymmetryOf(const TCplx* A, int N, bool& Symmetric, bool& Hermitian)
{
    Symmetric = true;
    Hermitian = true;
    for (int r = 0; r < N && (Symmetric || Hermitian); ++r) {
        if (A[static_cast<std::int64_t>(r) * N + r].Im != 0) Hermitian = false;
        for (int c = r + 1; c < N; ++c) {
            const TCplx& u = A[static_cast<std::int64_t>(r) * N + c];
            const TCplx& l = A[static_cast<std::int64_t>(c) * N + r];
            if (u.Re != l.Re) {
                Symmetric = false;
                Hermitian = false;
                break;
            }
            if (u.Im != l.Im) Symmetric = false;
            if (u.Im != -l.Im) Hermitian = false;
        }
    }
}

// A Cholesky factorization of a copy decides; any INFO but 0 means "not positive definite".
template <class T>
bool PositiveDefinite(const TMtx& Mtx)
{
    detail::TMtxTemp work;
    work->Copy(Mtx);
    const int n = BlasInt(Mtx.Rows());
    return blas::Potrf('U', n, detail::Data<T>(*work), std::max(n, 1)) == 0;
}

template <class T>
void CountDiagonals(const T* A, int Rows, int Cols, int& Upper, int& Lower)
{
    Upper = 0;
    Lower = 0;
    for (int r = 0; r < Rows; ++r) {
        const T* row = A + static_cast<std::int64_t>(r) * Cols;
        for (int c = 0; c < Cols; ++c) {
            if (IsZero(row[c])) continue;
            Upper = std::max(Upper, c - r);
            Lower = std::max(Lower, r - c);
        }
    }
}

}  // namespace

void TMtx::SetLapackResult(int AInfo, std::string AError)
{
    FInfo = AInfo;
    FMtxError = std::move(AError);
}

TMtxType TMtx::DetectMtxType(bool TestPosDef)
{
    if (!Quadratic()) return mtGeneral;
    const int n = FRows;
    FTriangleForm = tfLower;
    const bool upperZero = FComplex ? StrictUpperZero(CValues(), n) : StrictUpperZero(FValues, n);
    if (upperZero) return mtTriangle;
    FTriangleForm = tfUpper;
    const bool lowerZero = FComplex ? StrictLowerZero(CValues(), n) : StrictLowerZero(FValues, n);
    if (lowerZero) return mtTriangle;

    bool symmetric = false, hermitian = false;
    if (FComplex) {
        SymmetryOf(CValues(), n, symmetric, hermitian);
    } else {
        symmetric = IsSymmetric(FValues, n);
    }
    // Only a real symmetric or a Hermitian matrix can be positive definite in the Cholesky sense; a complex
    // symmetric one is never tested.
    bool posDef = false;
    if (TestPosDef && (symmetric || hermitian)) {
        if (!FComplex || hermitian)
            posDef = FComplex ? PositiveDefinite<TCplx>(*this) : PositiveDefinite<double>(*this);
        FInfo = 0;
    }
    if (hermitian) return posDef ? mtHermPosDef : mtHermitian;
    if (symmetric) return posDef ? mtSymmPosDef : mtSymmetric;
    return mtGeneral;
}

void TMtx::DiagonalsCount(int& Upper, int& Lower) const
{
    if (FComplex) {
        CountDiagonals(CValues(), FRows, FCols, Upper, Lower);
    } else {
        CountDiagonals(FValues, FRows, FCols, Upper, Lower);
    }
}

TMtx& TMtx::DenseToBanded(TMtx& Dst, int MaxElemCount)
{
    if (&Dst == this) ERaise(msg::kDstSelf);
    int ku = 0, kl = 0;
    DiagonalsCount(ku, kl);
    detail::PrepareBand(Dst, ku, kl, FCols, FComplex, MaxElemCount);
    const int w = Width();
    for (int j = 0; j < FCols; ++j) {
        const int iFirst = std::max(0, j - ku);
        const int iLast = std::min(FRows - 1, j + kl);
        for (int i = iFirst; i <= iLast; ++i) {
            const double* from = FValues + (static_cast<std::int64_t>(i) * FCols + j) * w;
            double* to = Dst.Values() + detail::BandSlot(ku, FCols, i, j) * w;
            to[0] = from[0];
            if (w == 2) to[1] = from[1];
        }
    }
    return *this;
}

TMtx& TMtx::BandedToDense(const TMtx1& A)
{
    if (A.Complex()) ERaise(msg::kAComplex);
    if (&A == this) ERaise(msg::kASelf);
    const int ku = A.SuperDiag(), kl = A.SubDiag();
    // The band matrix must hold the rows its diagonal counts announce.
    if (ku < 0 || kl < 0 || static_cast<std::int64_t>(ku) + kl + 1 > A.Rows()) ERaise(msg::kBandRows);
    const int n = A.Cols();
    Size(n, n, false);
    SetZero();
    for (int k = 0; k <= ku + kl; ++k) {
        const int shift = k - ku;  // dense row = j + shift
        const int jFirst = std::max(0, -shift);
        const int jLast = std::min(n - 1, n - 1 - shift);
        const double* band = A.Values() + static_cast<std::int64_t>(k) * n;
        for (int j = jFirst; j <= jLast; ++j) FValues[(static_cast<std::int64_t>(j) + shift) * n + j] = band[j];
    }
    return *this;
}

// ---- The band layout shared with the sparse band conversion ------------------------------------------------------

void detail::PrepareBand(TMtx& Dst, int Ku, int Kl, int Cols, bool Complex, int MaxElemCount)
{
    // What is allocated is checked: Ku+Kl+1 rows (the text names Ku+Kl, as it always has).
    const std::int64_t rows = static_cast<std::int64_t>(Ku) + Kl + 1;
    if (rows * Cols > MaxElemCount) ERaise(msg::kBandTooLarge);
    Dst.Size(static_cast<int>(rows), Cols, Complex);
    Dst.SetSuperDiag(Ku);
    Dst.SetSubDiag(Kl);
    Dst.SetZero();
}

}  // namespace tarnel

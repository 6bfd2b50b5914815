// TMtx.LQRSolve and TMtx.SVDSolve: least-squares and minimum-norm solutions of Self·X = B through xGELS (QR or LQ)
// and xGELSD (the singular value decomposition).
//
// LAPACK reads A = Self from a pooled transposed copy, whose row-major data is A in column-major order with leading
// dimension m, so Self is never changed. The right-hand sides reach the cores as one column-major block of NRHS
// columns with leading dimension max(m, n): the row-major data of X after X := Bᵀ widened to max(m, n) columns (one
// row per right-hand side, with room for the longer solution). Only these two members switch the control word, and
// neither raises on a numerical failure: INFO is left in Info, MtxError is not touched.
//
// ZGELS knows no plain transpose of complex data, so a complex opTran solve factors conj(A) and solves with 'C':
// Aᵀ = (conj A)ᴴ. The R handed back is conjugated again, so that it is A's own triangular factor.
//
// The copy of A has one spare zero column after it (detail::ColumnMajorImage).
//
// xGELSD's three workspaces (WORK, IWORK and, complex, RWORK) are all sized by its workspace query into a local
// answer; S receives nothing but the singular values.
#include <algorithm>
#include <cstring>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

// The leading dimension of the right-hand side block.
int BlockLd(const TMtx& A)
{
    return std::max({A.Rows(), A.Cols(), 1});
}

// Refuses a block that cannot hold Nrhs columns of the leading dimension (Doubles per element W).
void CheckBlock(std::span<double> B, int Ld, int Nrhs, int W)
{
    if (Nrhs < 0 || static_cast<std::int64_t>(B.size()) < static_cast<std::int64_t>(Ld) * Nrhs * W)
        ERaise(msg::kBlockShort);
}

template <class T>
void GelsCore(TMtx& Self, T* B, int Nrhs, TMtxOperation Op, TMtx* R)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    const int m = BlasInt(Self.Rows()), n = BlasInt(Self.Cols());
    const int lda = std::max(m, 1), ld = BlockLd(Self);
    const bool conjugated = complex && Op == opTran;
    detail::TMtxTemp a;
    detail::ColumnMajorImage(*a, Self, conjugated);
    FortranFpuMode fpu;
    const char trans = conjugated ? 'C' : OperationLetter(Op, complex);
    T query{};
    blas::Gels(trans, m, n, Nrhs, detail::Data<T>(*a), lda, B, ld, &query, -1);
    const int lwork = detail::QueriedSize(query);
    detail::TWork<T> work(lwork);
    const int info = blas::Gels(trans, m, n, Nrhs, detail::Data<T>(*a), lda, B, ld, work.data(), lwork);
    Self.SetLapackResult(info, Self.MtxError());
    if (!R) return;
    // R(r, i) := the factored array's element (r, i), r ≤ i, in LAPACK's column-major view.
    const int k = std::min(m, n);
    R->Size(k, k, complex);
    R->SetZero();
    const T* f = detail::Data<T>(*a);
    T* r = detail::Data<T>(*R);
    for (int i = 0; i < k; ++i) {
        for (int row = 0; row <= i; ++row) {
            T v = f[row + static_cast<std::int64_t>(i) * lda];
            if constexpr (complex) {
                if (conjugated) v.Im = -v.Im;
            }
            r[static_cast<std::int64_t>(row) * k + i] = v;
        }
    }
}

template <class T>
void GelsdCore(TMtx& Self, T* B, int Nrhs, int& Rank, double Rcond, TVecs& S)
{
    const int m = BlasInt(Self.Rows()), n = BlasInt(Self.Cols());
    const int lda = std::max(m, 1), ld = BlockLd(Self);
    S.Size(std::min(m, n), false);
    FortranFpuMode fpu;
    detail::TMtxTemp a;
    detail::ColumnMajorImage(*a, Self, false);
    T query{};
    double rquery = 0;
    int iquery = 0;
    double sQuery = 0;  // S may be empty
    double* s = S.Length() > 0 ? S.Values() : &sQuery;
    blas::Gelsd(m, n, Nrhs, detail::Data<T>(*a), lda, B, ld, s, Rcond, Rank, &query, -1, &rquery, &iquery);
    const int lwork = detail::QueriedSize(query);
    detail::TWork<T> work(lwork);
    detail::TWork<int> iwork(std::max(1, iquery));
    detail::TWork<double> rwork(std::is_same_v<T, TCplx> ? detail::QueriedSize(rquery) : 1);
    const int info = blas::Gelsd(m, n, Nrhs, detail::Data<T>(*a), lda, B, ld, s, Rcond, Rank, work.data(), lwork,
                                 rwork.data(), iwork.data());
    Self.SetLapackResult(info, Self.MtxError());
}

// X := Bᵀ widened to Ld columns (B may be X itself).
void WidenedTranspose(TMtx& X, const TMtx& B, int Ld)
{
    if (&X == &B) {
        X.Transp();
        X.Resize(X.Rows(), Ld);
    } else {
        X.Resize(B, Ld, B.Cols(), true);
    }
}

// X := the first Len elements of each row of X, transposed (one column per right-hand side).
void Solutions(TMtx& X, int Len)
{
    X.Resize(X.Rows(), Len);
    X.Transp();
}

}  // namespace

void TMtx::LQRSolveInt(std::span<double> B, int Nrhs, TMtxOperation Operation, TMtx* R)
{
    CheckBlock(B, BlockLd(*this), Nrhs, Width());
    if (FComplex) {
        GelsCore(*this, reinterpret_cast<TCplx*>(B.data()), Nrhs, Operation, R);
    } else {
        GelsCore(*this, B.data(), Nrhs, Operation, R);
    }
}

TMtx& TMtx::LQRSolve(const TVecs& B, TVec& X, TMtxOperation Operation, TMtx* R)
{
    if (Elements() == 0) return *this;
    if (Operation == opNone) {
        if (B.Length() != FRows) ERaise(msg::kFRowsBLength);
    } else if (B.Length() != FCols) {
        ERaise(msg::kFColsBLength);
    }
    if (B.Complex() != FComplex) ERaise(msg::kFComplexB);
    X.Resize(B, BlockLd(*this));
    LQRSolveInt(std::span<double>(X.Values(), static_cast<std::size_t>(X.Length()) * Width()), 1, Operation, R);
    X.Resize(Operation == opNone ? FCols : FRows);
    return *this;
}

TMtx& TMtx::LQRSolve(const TMtx& B, TMtx& X, TMtxOperation Operation, TMtx* R)
{
    if (&B == this || &X == this) ERaise(msg::kLQRSolveSelf);
    if (Elements() == 0) return *this;
    if (Operation == opNone) {
        if (B.Rows() != FRows) ERaise(msg::kFRowsBRows);
    } else if (B.Rows() != FCols) {
        ERaise(msg::kFColsBRows);
    }
    if (B.Complex() != FComplex) ERaise(msg::kFComplexB);
    if (R == &X) ERaise(msg::kRX);
    const int nrhs = B.Cols();
    WidenedTranspose(X, B, BlockLd(*this));
    LQRSolveInt(std::span<double>(X.Values(), static_cast<std::size_t>(X.Numbers())), nrhs, Operation, R);
    Solutions(X, Operation == opNone ? FCols : FRows);
    return *this;
}

void TMtx::SVDSolveInt(std::span<double> B, int Nrhs, int& Rank, double RCOND, TVecs& S)
{
    CheckBlock(B, BlockLd(*this), Nrhs, Width());
    if (FComplex) {
        GelsdCore(*this, reinterpret_cast<TCplx*>(B.data()), Nrhs, Rank, RCOND, S);
    } else {
        GelsdCore(*this, B.data(), Nrhs, Rank, RCOND, S);
    }
}

int TMtx::SVDSolve(const TVecs& B, TVec& X, TVecs& S, double RCOND)
{
    if (B.Length() != FRows) ERaise(msg::kBLenghtRows);
    if (B.Complex() != FComplex) ERaise(msg::kFComplexB);
    if (&S == &X) ERaise(msg::kSX);
    if (Elements() == 0) return 0;
    X.Resize(B, BlockLd(*this));
    int rank = 0;
    SVDSolveInt(std::span<double>(X.Values(), static_cast<std::size_t>(X.Length()) * Width()), 1, rank, RCOND, S);
    X.Resize(FCols);
    return rank;
}

int TMtx::SVDSolve(const TMtx& B, TMtx& X, TVecs& S, double RCOND)
{
    if (B.Rows() != FRows) ERaise(msg::kBRowsRows);
    if (&B == this || &X == this) ERaise(msg::kSVDSolveSelf);
    if (B.Complex() != FComplex) ERaise(msg::kFComplexB);
    if (Elements() == 0) return 0;
    FortranFpuMode fpu;
    const int nrhs = B.Cols();
    WidenedTranspose(X, B, BlockLd(*this));
    int rank = 0;
    SVDSolveInt(std::span<double>(X.Values(), static_cast<std::size_t>(X.Numbers())), nrhs, rank, RCOND, S);
    Solutions(X, FCols);
    return rank;
}

}  // namespace tarnel

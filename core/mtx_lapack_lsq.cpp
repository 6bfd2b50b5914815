// TMtx.LQRSolve and TMtx.SVDSolve: least-squares and minimum-norm solutions of Self·X = B through xGELS (QR or LQ)
// and xGELSD (the singular value decomposition).
//
// LAPACK reads A = Self from a column-major copy in a pooled matrix (leading dimension m), so Self is never changed.
// The right-hand sides reach the cores as one column-major block of NRHS columns with leading dimension max(m, n): a
// vector's own data widened to max(m, n), or for a matrix B a work area holding Bᵀ in rows of max(m, n) elements
// (one row per right-hand side, with room for the longer solution), from which X is transposed back. Only these two
// members switch the control word, and neither raises on a numerical failure: INFO is left in Info, MtxError is not
// touched.
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
    detail::TMtxTemp image;
    detail::ColumnMajorImage(*image, Self, conjugated);
    T* const a = detail::Data<T>(*image);
    FortranFpuMode fpu;
    const char trans = conjugated ? 'C' : OperationLetter(Op, complex);
    T query{};
    blas::Gels(trans, m, n, Nrhs, a, lda, B, ld, &query, -1);
    const int lwork = detail::QueriedSize(query);
    detail::TWork<T> work(lwork);
    const int info = blas::Gels(trans, m, n, Nrhs, a, lda, B, ld, work.data(), lwork);
    Self.SetLapackResult(info, Self.MtxError());
    // R(r, i) := the factored array's element (r, i), r ≤ i, in LAPACK's column-major view.
    const int k = std::min(m, n);
    if (R) detail::FactorTriangle(*R, a, lda, k, k, true, conjugated);
}

template <class T>
void GelsdCore(TMtx& Self, T* B, int Nrhs, int& Rank, double Rcond, TVecs& S)
{
    const int m = BlasInt(Self.Rows()), n = BlasInt(Self.Cols());
    const int lda = std::max(m, 1), ld = BlockLd(Self);
    S.Size(std::min(m, n), false);
    FortranFpuMode fpu;
    detail::TMtxTemp image;
    detail::ColumnMajorImage(*image, Self, false);
    T* const a = detail::Data<T>(*image);
    T query{};
    double rquery = 0;
    int iquery = 0;
    double sQuery = 0;  // S may be empty
    double* s = S.Length() > 0 ? S.Values() : &sQuery;
    blas::Gelsd(m, n, Nrhs, a, lda, B, ld, s, Rcond, Rank, &query, -1, &rquery, &iquery);
    const int lwork = detail::QueriedSize(query);
    detail::TWork<T> work(lwork);
    detail::TWork<int> iwork(std::max(1, iquery));
    detail::TWork<double> rwork(std::is_same_v<T, TCplx> ? detail::QueriedSize(rquery) : 1);
    const int info = blas::Gelsd(m, n, Nrhs, a, lda, B, ld, s, Rcond, Rank, work.data(), lwork,
                                 rwork.data(), iwork.data());
    Self.SetLapackResult(info, Self.MtxError());
}

// Solve(Block, Nrhs) on the column-major block of B's columns with leading dimension Ld (zero below B's rows), then
// X := the first Len rows of the block, one column per right-hand side. B may be X.
template <class Solve>
void SolveColumns(const TMtx& B, TMtx& X, int Ld, int Len, const Solve& solve)
{
    const int nrhs = B.Cols(), rows = B.Rows(), w = B.Complex() ? 2 : 1;
    const bool complex = B.Complex();
    detail::TWork<double> block(static_cast<std::int64_t>(Ld) * nrhs * w);
    double* b = block.data();
    for (int j = 0; j < nrhs && Ld > rows; ++j) {
        std::memset(b + (static_cast<std::int64_t>(j) * Ld + rows) * w, 0,
                    static_cast<std::size_t>(Ld - rows) * w * sizeof(double));
    }
    detail::TransposedBlock(complex, B.Values(), nrhs, rows, nrhs, b, Ld);
    solve(std::span<double>(b, static_cast<std::size_t>(block.size())), nrhs);
    X.Size(Len, nrhs, complex);
    detail::TransposedBlock(complex, b, Ld, nrhs, Len, X.Values(), nrhs);
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
    SolveColumns(B, X, BlockLd(*this), Operation == opNone ? FCols : FRows,
                 [&](std::span<double> Block, int Nrhs) { LQRSolveInt(Block, Nrhs, Operation, R); });
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
    int rank = 0;
    SolveColumns(B, X, BlockLd(*this), FCols,
                 [&](std::span<double> Block, int Nrhs) { SVDSolveInt(Block, Nrhs, rank, RCOND, S); });
    return rank;
}

}  // namespace tarnel

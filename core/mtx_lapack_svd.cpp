// TMtx.SVD: the singular values (xGEBRD, then xBDSQR without vectors; past a crossover on the triangle of a QR or LQ
// factorization first) and the decomposition Self = U·diag(S)·Vᵀ
// (xGESDD, divide and conquer).
//
// Both work on a transposed pooled copy of Self (detail::ColumnMajorImage), so LAPACK sees the m × n Self. The
// decomposition hands LAPACK U and V's data as they will be returned: a k × m (or m × m) U read column-major is
// LAPACK's m × k (m × m) U, transposed in place afterwards; an n × k (n × n) V read column-major is LAPACK's VT = Vᴴ,
// left as it is, so that V's columns are the right singular vectors (real data) or their conjugates (complex data).
// An output not given is computed into a pooled stand-in, so U alone and V alone both work.
//
// Only the decomposition switches the control word. Neither raises on a numerical failure.
#include <algorithm>
#include <cstdint>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

using detail::TWork;

using detail::kComplex;

std::string NoConvergence(int)
{
    return msg::kSVDNoConvergence;
}

// The square triangle of a QR (Lower false) or LQ factorization of the m × n column-major A, k × k column-major in T
// with zeros elsewhere.
template <class T>
void TriangleOf(TMtx& Tri, const T* A, int M, int K, bool Lower)
{
    Tri.Size(K, K, kComplex<T>);
    Tri.SetZero();
    T* t = detail::Data<T>(Tri);
    for (int j = 0; j < K; ++j) {
        const int from = Lower ? j : 0, to = Lower ? K : j + 1;
        for (int i = from; i < to; ++i)
            t[i + static_cast<std::int64_t>(j) * K] = A[i + static_cast<std::int64_t>(j) * M];
    }
}

// The singular values of a bidiagonal reduction. A matrix much taller than wide (or wider than tall) is first
// factored by QR (LQ) and its square triangle reduced instead, as LAPACK's own drivers do past the same crossover:
// fewer operations, and most of them in blocked products.
template <class T>
void ValuesTyped(TMtx& Self, TVecs& S)
{
    constexpr bool complex = kComplex<T>;
    const int m = Self.Rows(), n = Self.Cols(), k = std::min(m, n);
    const int crossover = static_cast<int>(k * 11.0 / 6.0);
    const bool qr = m > n && m >= crossover, lq = n > m && n >= crossover;
    detail::TMtxTemp a, tri;
    detail::ColumnMajorImage(*a, Self, false);
    S.Size(k, false);
    TWork<double> e(std::max(k - 1, 1));
    TWork<T> tau(k), tauq(k), taup(k);
    int bm = m, bn = n;
    T* b = detail::Data<T>(*a);
    T query{};
    int lwork = 1;
    if (qr || lq) {
        if (qr) {
            blas::Geqrf(m, n, b, m, tau.data(), &query, -1);
        } else {
            blas::Gelqf(m, n, b, m, tau.data(), &query, -1);
        }
        lwork = detail::QueriedSize(query);
        bm = bn = k;
    }
    blas::Gebrd(bm, bn, b, std::max(bm, 1), S.Values(), e.data(), tauq.data(), taup.data(), &query, -1);
    lwork = std::max(lwork, detail::QueriedSize(query));
    TWork<T> work(lwork);
    const char* routine = complex ? "ZGEBRD" : "DGEBRD";
    int info = 0;
    if (qr || lq) {
        info = qr ? blas::Geqrf(m, n, b, m, tau.data(), work.data(), lwork)
                  : blas::Gelqf(m, n, b, m, tau.data(), work.data(), lwork);
        routine = qr ? (complex ? "ZGEQRF" : "DGEQRF") : (complex ? "ZGELQF" : "DGELQF");
        if (info == 0) {
            TriangleOf<T>(*tri, b, m, k, lq);
            b = detail::Data<T>(*tri);
            routine = complex ? "ZGEBRD" : "DGEBRD";
        }
    }
    if (info == 0)
        info =
            blas::Gebrd(bm, bn, b, std::max(bm, 1), S.Values(), e.data(), tauq.data(), taup.data(), work.data(), lwork);
    if (detail::RecordInfo(Self, routine, info, detail::TInfoForm::Appended(msg::kBidiagonalError)) != 0) return;
    TWork<double> w(4 * static_cast<std::int64_t>(k));
    info = blas::BdsqrValues<T>(bm >= bn ? 'U' : 'L', k, S.Values(), e.data(), w.data());
    detail::RecordInfo(Self, complex ? "ZBDSQR" : "DBDSQR", info, detail::TInfoForm::Inside(NoConvergence, nullptr));
}

template <class T>
void DecomposeTyped(TMtx& Self, TMtx* U, TVecs& S, TMtx* V, bool Economy)
{
    constexpr bool complex = kComplex<T>;
    const int m = Self.Rows(), n = Self.Cols(), k = std::min(m, n);
    const bool vectors = U || V;
    TMtx* const given = U;
    const char jobz = !vectors ? 'N' : (Economy ? 'S' : 'A');
    detail::TMtxTemp a, uStandIn, vStandIn;
    if (vectors) {
        if (!U) U = uStandIn.get();
        if (!V) V = vStandIn.get();
        U->Size(Economy ? k : m, m, complex);
        V->Size(n, Economy ? k : n, complex);
    }
    detail::ColumnMajorImage(*a, Self, false);
    S.Size(k, false);
    T unused{};
    T* u = vectors ? detail::Data<T>(*U) : &unused;
    T* vt = vectors ? detail::Data<T>(*V) : &unused;
    const int ldu = vectors ? m : 1, ldvt = vectors ? V->Cols() : 1;
    // RWORK as LAPACK documents it now (older texts give k·(5k + 7) or k·(5k + 5), too short for its own code).
    const std::int64_t mn = k, mx = std::max(m, n);
    const std::int64_t lrwork = !complex   ? 1
                                : !vectors ? 7 * mn
                                           : std::max(5 * mn * mn + 5 * mn, 2 * mx * mn + 2 * mn * mn + mn);
    TWork<double> rwork(lrwork);
    TWork<int> iwork(8 * mn);
    T query{};
    blas::Gesdd(jobz, m, n, detail::Data<T>(*a), m, S.Values(), u, ldu, vt, ldvt, &query, -1, rwork.data(),
                iwork.data());
    const int lwork = detail::QueriedSize(query);
    TWork<T> work(lwork);
    const int info = blas::Gesdd(jobz, m, n, detail::Data<T>(*a), m, S.Values(), u, ldu, vt, ldvt, work.data(), lwork,
                                 rwork.data(), iwork.data());
    detail::RecordInfo(Self, complex ? "ZGESDD" : "DGESDD", info, detail::TInfoForm::Inside(detail::NoText, nullptr));
    if (given) given->Transp();
}

}  // namespace

TMtx& TMtx::SVD(TVecs& S)
{
    if (Elements() == 0) return *this;
    SetLapackResult(FInfo, {});
    if (FComplex) {
        ValuesTyped<TCplx>(*this, S);
    } else {
        ValuesTyped<double>(*this, S);
    }
    return *this;
}

TMtx& TMtx::SVD(TMtx* U, TVecs& S, TMtx* V, bool Economy)
{
    FortranFpuMode fpu;
    if (U == this) ERaise(msg::kUSelf);
    if (V == this) ERaise(msg::kVSelf);
    if (U && U == V) ERaise(msg::kUV);
    if (Elements() == 0) return *this;
    if (FComplex) {
        DecomposeTyped<TCplx>(*this, U, S, V, Economy);
    } else {
        DecomposeTyped<double>(*this, U, S, V, Economy);
    }
    return *this;
}

}  // namespace tarnel

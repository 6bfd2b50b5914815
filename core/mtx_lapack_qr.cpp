// TMtx.LQR and LMinQR: A = Q·R (m ≥ n) or A = L·Q (m < n) through xGEQRF/xGELQF, with the explicit Q from
// xORGQR/ZUNGQR or xORGLQ/ZUNGLQ; and the index forms of the triangle extractions.
//
// A pooled work matrix receives the column-major image of A = Self (leading dimension m, or, without Economy, the square
// array of order max(m, n) whose column j is column j of A), LAPACK factors and forms Q there, and Q is copied out
// transposed at the end. R and L are read straight from the factored column-major data. No control-word change; no
// raise on a LAPACK failure: Info holds INFO of each call and MtxError a text for an illegal argument only.
#include <algorithm>
#include <cstring>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

struct TQRTexts {
    const char* LSelf;
    const char* QSelf;
    const char* RSelf;
    const char* LQ;
    const char* RQ;
};
constexpr TQRTexts kLQRTexts = {msg::kLQRLSelf, msg::kLQRQSelf, msg::kLQRRSelf, msg::kLQRLQ, msg::kLQRRQ};
constexpr TQRTexts kLMinQRTexts = {msg::kLMinQRLSelf, msg::kLMinQRQSelf, msg::kLMinQRRSelf, msg::kLMinQRLQ,
                                   msg::kLMinQRRQ};

// Info := INFO; MtxError := Text + INFO for an illegal argument, else left as it is. Returns INFO.
int Record(TMtx& Self, int Info, const char* Text)
{
    Self.SetLapackResult(Info, Info < 0 ? Text + std::to_string(Info) : Self.MtxError());
    return Info;
}

template <class T>
void FactorQR(TMtx& Self, TMtx* L, TMtx* Q, TMtx* R, bool Economy)
{
    const int m = BlasInt(Self.Rows()), n = BlasInt(Self.Cols());
    const int big = std::max(m, n), small = std::min(m, n);
    // The work matrix: A column-major with leading dimension ld, in ld × (cols + 1) elements (a spare column, as
    // LAPACK's complex kernels may read past the end; see detail::ColumnMajorImage), zero outside A.
    const int ld = Economy ? m : big;
    const int cols = Economy ? n : big;
    detail::TMtxTemp w;
    detail::ColumnMajorImage(*w, Self, ld, cols, false);
    T* a = detail::Data<T>(*w);
    detail::TWork<T> tau(std::max(small, 1));
    // The workspace of every call of the family, as large as the largest query asks.
    auto lworkOf = [](auto Query) {
        T w{};
        Query(&w);
        return detail::QueriedSize(w);
    };
    const int k = Economy ? (m >= n ? n : m) : big;  // columns (QR) or rows (LQ) of the explicit Q
    if (m >= n) {
        int lwork = lworkOf([&](T* W) { blas::Geqrf(m, n, a, ld, tau.data(), W, -1); });
        if (Q) lwork = std::max(lwork, lworkOf([&](T* W) { blas::Orgqr(m, k, n, a, ld, tau.data(), W, -1); }));
        detail::TWork<T> work(lwork);
        const int info = Record(Self, blas::Geqrf(m, n, a, ld, tau.data(), work.data(), lwork), msg::kQRInvalid);
        if (R) detail::FactorTriangle(*R, a, ld, Economy ? n : m, n, true);
        if (Q && info == 0) Record(Self, blas::Orgqr(m, k, n, a, ld, tau.data(), work.data(), lwork), msg::kQInvalid);
    } else {
        int lwork = lworkOf([&](T* W) { blas::Gelqf(m, n, a, ld, tau.data(), W, -1); });
        if (Q) lwork = std::max(lwork, lworkOf([&](T* W) { blas::Orglq(k, n, m, a, ld, tau.data(), W, -1); }));
        detail::TWork<T> work(lwork);
        const int info = Record(Self, blas::Gelqf(m, n, a, ld, tau.data(), work.data(), lwork), msg::kLQInvalid);
        if (L) detail::FactorTriangle(*L, a, ld, m, Economy ? m : n, false);
        if (Q && info == 0) Record(Self, blas::Orglq(k, n, m, a, ld, tau.data(), work.data(), lwork), msg::kQInvalid);
    }
    // Q is qr × qc column-major in the work matrix: qc rows of qr elements, ld apart, transposed.
    if (Q) {
        const int qr = m >= n ? m : k;
        const int qc = m >= n ? k : n;
        Q->Size(qr, qc, detail::kComplex<T>);
        detail::TransposedBlock(detail::kComplex<T>, reinterpret_cast<const double*>(a), ld, qc, qr, Q->Values(), qc);
    }
}

TMtx& FactorChecked(TMtx& Self, TMtx* L, TMtx* Q, TMtx* R, bool Economy, const TQRTexts& Texts)
{
    if (L == &Self) ERaise(Texts.LSelf);
    if (Q == &Self) ERaise(Texts.QSelf);
    if (R == &Self) ERaise(Texts.RSelf);
    if (Q && L == Q) ERaise(Texts.LQ);
    if (Q && R == Q) ERaise(Texts.RQ);
    Self.SetLapackResult(Self.Info(), {});
    if (static_cast<std::int64_t>(Self.Rows()) * Self.Cols() == 0) return Self;
    if (Self.Complex()) {
        FactorQR<TCplx>(Self, L, Q, R, Economy);
    } else {
        FactorQR<double>(Self, L, Q, R, Economy);
    }
    return Self;
}

// The checks of the index forms; returns the number of rows of the result.
int TriangleRows(int First, int Last)
{
    if (First < 0) ERaise(msg::kFirstNeg);
    if (static_cast<std::int64_t>(Last) < static_cast<std::int64_t>(First) - 1) ERaise(msg::kLastFirst);
    return Last - First + 1;
}

}  // namespace

TMtx& TMtx::LQR(TMtx* L, TMtx* Q, TMtx* R, bool Economy)
{
    return FactorChecked(*this, L, Q, R, Economy, kLQRTexts);
}

TMtx& TMtx::LMinQR(TMtx* L, TMtx* Q, TMtx* R)
{
    return FactorChecked(*this, L, Q, R, true, kLMinQRTexts);
}

TMtx& TMtx::LowerTriangle(const TMtx1& Mtx, bool ZeroOther, bool Diagonal, int First, int Last)
{
    (void)ZeroOther;  // what is not copied is always zero
    if (&Mtx == this) ERaise(msg::kMtxSelf);
    if (static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols() == 0) ERaise(msg::kMtxRowsCols);
    const int rows = TriangleRows(First, Last);
    const int d = std::min(rows, Mtx.Rows());
    // Row i reads columns First .. First+i-1, and i on the diagonal.
    const std::int64_t lastCol =
        std::max<std::int64_t>(d >= 2 ? static_cast<std::int64_t>(First) + d - 2 : -1, Diagonal ? d - 1 : -1);
    if (lastCol > Mtx.Cols() - 1) ERaise(msg::kTriangleCols);
    Size(rows, Mtx.Rows(), Mtx.Complex());
    SetZero();
    const int w = Width();
    for (int i = 0; i < d; ++i) {
        double* to = FValues + static_cast<std::int64_t>(i) * FCols * w;
        const double* from = Mtx.Values() + static_cast<std::int64_t>(i) * Mtx.Cols() * w;
        std::memcpy(to, from + static_cast<std::int64_t>(First) * w, static_cast<std::size_t>(i) * w * 8);
        if (Diagonal) std::memcpy(to + i * w, from + i * w, static_cast<std::size_t>(w) * 8);
    }
    return *this;
}

TMtx& TMtx::UpperTriangle(const TMtx1& Mtx, bool ZeroOther, bool Diagonal, int First, int Last)
{
    (void)ZeroOther;  // what is not copied is always zero
    if (&Mtx == this) ERaise(msg::kMtxSelf);
    if (static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols() == 0) {
        Size(0, 0, Mtx.Complex());
        return *this;
    }
    const int rows = TriangleRows(First, Last);
    const int cols = Mtx.Rows();
    const int d = std::min(rows, cols);
    // Row i reads columns i+1 .. cols-1, and i on the diagonal.
    const std::int64_t lastCol = std::max(d >= 1 && cols >= 2 ? cols - 1 : -1, Diagonal ? d - 1 : -1);
    if (lastCol > Mtx.Cols() - 1) ERaise(msg::kTriangleCols);
    Size(rows, cols, Mtx.Complex());
    SetZero();
    const int w = Width();
    for (int i = 0; i < d; ++i) {
        double* to = FValues + static_cast<std::int64_t>(i) * FCols * w;
        const double* from = Mtx.Values() + static_cast<std::int64_t>(i) * Mtx.Cols() * w;
        const int start = Diagonal ? i : i + 1;
        if (cols > start) std::memcpy(to + start * w, from + start * w, static_cast<std::size_t>(cols - start) * w * 8);
    }
    return *this;
}

}  // namespace tarnel

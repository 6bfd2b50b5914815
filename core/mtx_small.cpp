// Smaller operations around the dense linear algebra: the Sylvester equation (DTRSYL/ZTRSYL), outer products and
// rank-1 updates (DGER/ZGERU), Vandermonde matrices, widening to complex, filling from an array, zeroing a block and
// giving up the data.
//
// Row-major data read column-major are the transpose (header of mtx_mul.cpp). The Sylvester solver gets column-major
// images of A, B and C in pooled matrices, so Self may be any of them. The rank-1 update exchanges the roles instead:
// Selfᵀ += Alpha·Vec2·Vec1ᵀ is Self += Alpha·Vec1·Vec2ᵀ, on Self's own data with M = Cols, N = Rows, LDA = Cols.
#include <algorithm>
#include <cstring>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/mtx_class.h"

namespace tarnel {

using detail::TCheck;

namespace {

std::int64_t ElementsOf(const TMtx1& M)
{
    return static_cast<std::int64_t>(M.Rows()) * M.Cols();
}

// A is in the Schur form the solver needs: upper triangular when complex; when real, upper quasi-triangular, with
// nothing below the first subdiagonal and no two neighbouring subdiagonal entries (2 × 2 blocks lie apart).
bool SchurForm(const TMtx1& A)
{
    const int n = A.Rows();
    for (int i = 1; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            if (A.Complex()) {
                const TCplx z = A.CValues2D()[i][j];
                if (z.Re != 0 || z.Im != 0) return false;
                continue;
            }
            const double a = A.Values2D()[i][j];
            if (a == 0) continue;
            if (j < i - 1) return false;
            if (j > 0 && A.Values2D()[i - 1][j - 1] != 0) return false;
        }
    }
    return true;
}

// The data of Vec that a member reads while it writes Self: Vec's own, or a pooled copy (conjugated when Conjugate
// is set) when they share memory with Self or a conjugate is needed.
const double* VecHeld(const TVecs& Vec, const TMtx1& Self, bool Conjugate, detail::TLazyTemp& Temp)
{
    const std::int64_t n = detail::Numbers(Vec);
    const bool shared =
        n > 0 && (detail::Overlap(Vec.Values(), n, Self.Values(), ElementsOf(Self) * (Self.Complex() ? 2 : 1)) ||
                  detail::Overlap(Vec.Values(), n, static_cast<const double*>(Self.AllocatedBlock()),
                                  Self.AllocatedSize() / static_cast<std::int64_t>(sizeof(double))));
    if (!shared && !Conjugate) return Vec.Values();
    TVec& c = Temp.Get();
    c.Copy(Vec);
    if (Conjugate) c.Conj();
    return c.Values();
}

// Self := Vec1·Vec2ᵀ (Vec2ᴴ with Conjugate), complex when either vector is, a real vector read as x + 0i. False when
// the product is empty.
bool Outer(TMtx1& Self, const TVecs& Vec1, const TVecs& Vec2, bool Conjugate)
{
    detail::TLazyTemp t1, t2;
    const bool c1 = Vec1.Complex(), c2 = Vec2.Complex();
    const bool complex = c1 || c2;
    const int n1 = Vec1.Length(), n2 = Vec2.Length();
    const double* a = VecHeld(Vec1, Self, false, t1);
    const double* b = VecHeld(Vec2, Self, false, t2);
    Self.Size(n1, n2, complex);
    if (ElementsOf(Self) == 0) return false;
    for (int i = 0; i < n1; ++i) {
        double* row = Self.Values() + static_cast<std::int64_t>(i) * n2 * (complex ? 2 : 1);
        if (!complex) {
            for (int j = 0; j < n2; ++j) row[j] = a[i] * b[j];
            continue;
        }
        // Element (i, j) := Vec1(i)·Vec2(j) in complex arithmetic.
        const double ar = c1 ? a[2 * i] : a[i], ai = c1 ? a[2 * i + 1] : 0.0;
        for (int j = 0; j < n2; ++j) {
            const double br = c2 ? b[2 * j] : b[j];
            const double bi = c2 ? (Conjugate ? -b[2 * j + 1] : b[2 * j + 1]) : 0.0;
            row[2 * j] = ar * br - ai * bi;
            row[2 * j + 1] = ar * bi + ai * br;
        }
    }
    return true;
}

// Runs the solver on the column-major images a (M × M), b (N × N) and c (M × N, the solution on return).
template <class T>
int SylvesterTyped(TMtx& a, TMtx& b, TMtx& c, TSign Sign, TMtxOperation OpA, TMtxOperation OpB, double& Scale)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    char ta = OperationLetter(OpA, complex), tb = OperationLetter(OpB, complex);
    // ZTRSYL takes "N" and "C" only: a plain transpose is conj(A)ᴴ, and conj(A) is upper triangular as A is.
    if (complex && OpA == opTran) {
        a.Conj();
        ta = 'C';
    }
    if (complex && OpB == opTran) {
        b.Conj();
        tb = 'C';
    }
    const int m = BlasInt(a.Rows()), n = BlasInt(b.Rows());
    FortranFpuMode fpu;
    return blas::Trsyl(ta, tb, Sign == siPlus ? 1 : -1, m, n, detail::Data<T>(a), std::max(1, m), detail::Data<T>(b),
                       std::max(1, n), detail::Data<T>(c), std::max(1, m), Scale);
}

}  // namespace

// ---- The Sylvester equation -----------------------------------------------------------------------------------------

double TMtx1::Sylvester(const TMtx1& A, const TMtx1& B, const TMtx1& C, TSign Sign, TMtxOperation OpA,
                        TMtxOperation OpB)
{
    // Every check guards the memory the solver reads, so all run whatever ConditionCheck is.
    TCheck(FConditionCheck)
        .Always(A.Complex() != B.Complex(), msg::kABComplex)
        .Always(A.Complex() != C.Complex(), msg::kABComplex)
        .Always(!A.Quadratic(), msg::kANotQuadratic)
        .Always(!B.Quadratic(), msg::kANotQuadratic)
        .Always(C.Rows() != A.Rows(), msg::kCRowsARows)
        .Always(C.Cols() != B.Cols(), msg::kCColsACols)
        .Always(!SchurForm(A), msg::kANotQuasiTriangular)
        .Always(!SchurForm(B), msg::kBNotQuasiTriangular);
    const bool complex = A.Complex();
    const int m = A.Rows(), n = B.Rows();
    double scale = 1;
    int info = 0;
    // The images are taken before Self is sized, so A, B or C may be Self.
    detail::TMtxTemp a, b, c;
    if (m > 0 && n > 0) {
        a->Transp(A);
        b->Transp(B);
        c->Transp(C);
        info = complex ? SylvesterTyped<TCplx>(*a, *b, *c, Sign, OpA, OpB, scale)
                       : SylvesterTyped<double>(*a, *b, *c, Sign, OpA, OpB, scale);
    }
    Size(m, n, complex);
    // c is the N × M row-major image of the M × N solution.
    if (m > 0 && n > 0) CopyBlockFrom(c->Values(), m, n, m, true);
    FInfo = info;
    FMtxError = detail::TInfoForm(msg::kSylvesterPerturbed)(complex ? "ZTRSYL" : "DTRSYL", info);
    return scale;
}

// ---- Outer products and rank-1 updates ------------------------------------------------------------------------------

TMtx1& TMtx1::TensorProd(const TVecs& Vec1, const TVecs& Vec2, bool Update, bool Conjugate)
{
    detail::TLazyTemp t1, t2;
    if (Update) {
        // Vectors of another kind or shorter than Self's dimensions would be read or written past their ends.
        TCheck(FConditionCheck)
            .Always(Vec1.Complex() != Vec2.Complex(), msg::kVec12Complex)
            .Gated(Vec1.Length() != FRows, msg::kVec1LengthRows)
            .Gated(Vec2.Length() != FCols, msg::kVec1LengthCols)
            .Always(Vec1.Length() < FRows, msg::kVec1LengthRows)
            .Always(Vec2.Length() < FCols, msg::kVec1LengthCols)
            .Always(Vec1.Complex() != FComplex, msg::kVec1ComplexSelf);
        if (Elements() > 0) {
            const int m = BlasInt(FCols), n = BlasInt(FRows);
            const double* x = VecHeld(Vec2, *this, FComplex && Conjugate, t2);
            const double* y = VecHeld(Vec1, *this, false, t1);
            if (FComplex) {
                blas::Geru(m, n, FAlpha, reinterpret_cast<const TCplx*>(x), 1, reinterpret_cast<const TCplx*>(y), 1,
                           CValues(), m);
            } else {
                blas::Geru(m, n, FAlpha.Re, x, 1, y, 1, FValues, m);
            }
        }
    } else if (!Outer(*this, Vec1, Vec2, Conjugate)) {
        return *this;
    }
    FAlpha = C_ONE;
    FBeta = C_ZERO;
    return *this;
}

TMtx1& TMtx1::Kron(const TVecs& Vec1, const TVecs& Vec2)
{
    Outer(*this, Vec1, Vec2, false);
    return *this;
}

// ---- Vandermonde matrices -------------------------------------------------------------------------------------------

TMtx1& TMtx1::VanderMonde(int Cols, const TVecs& Vec)
{
    detail::TLazyTemp t;
    const double* v = VecHeld(Vec, *this, false, t);
    const bool complex = Vec.Complex();
    const int rows = Vec.Length();
    Size(rows, Cols, complex);
    // Column Cols-1-c := Vec^c, each power the previous one times Vec (the highest power on the left).
    for (int i = 0; i < rows && Cols > 0; ++i) {
        double* row = FValues + static_cast<std::int64_t>(i) * Cols * Width();
        if (!complex) {
            double p = 1;
            for (int c = Cols - 1; c >= 0; --c) {
                row[c] = p;
                p *= v[i];
            }
            continue;
        }
        const double vr = v[2 * i], vi = v[2 * i + 1];
        double pr = 1, pi = 0;
        for (int c = Cols - 1; c >= 0; --c) {
            row[2 * c] = pr;
            row[2 * c + 1] = pi;
            const double r = pr * vr - pi * vi;
            pi = pr * vi + pi * vr;
            pr = r;
        }
    }
    return *this;
}

// ---- Widening to complex --------------------------------------------------------------------------------------------

TMtx1& TMtx1::ExtendToComplex(bool ZeroImag)
{
    if (FComplex) return *this;
    // The real values from a pooled copy; an empty matrix simply becomes complex.
    detail::TVecTemp c;
    const int n = static_cast<int>(Elements());
    c->Size(n, false);
    if (n > 0) std::memcpy(c->Values(), FValues, static_cast<std::size_t>(n) * sizeof(double));
    const double* src = c->Values();
    Size(FRows, FCols, true);
    if (n > 0) nspzb2RealToCplx(src, ZeroImag ? nullptr : src, CValues(), n);
    return *this;
}

TMtx& TMtx::ExtendToComplex(const TMtx1& SrcMtx, bool ZeroImag)
{
    TCheck(FConditionCheck).Always(SrcMtx.Complex(), msg::kSrcMtxComplex).Always(&SrcMtx == this, msg::kSrcMtxSelf);
    detail::TLazyTemp t;
    const double* src = detail::Held(SrcMtx, {this}, t);
    Size(SrcMtx.Rows(), SrcMtx.Cols(), true);
    if (Elements() > 0) nspzb2RealToCplx(src, ZeroImag ? nullptr : src, CValues(), static_cast<int>(Elements()));
    return *this;
}

// ---- Filling from an array ------------------------------------------------------------------------------------------

namespace {

// The count check of SetIt for a Rows × Cols matrix of the given kind: with ConditionCheck any other count is
// refused; without it a short array still is (it would be read past its end).
std::int64_t CheckCount(bool On, int Rows, int Cols, bool Complex, std::size_t Count)
{
    const std::int64_t need = static_cast<std::int64_t>(Rows) * Cols * (Complex ? 2 : 1);
    const char* text = Complex ? msg::kSetItCplxCount : msg::kSetItCount;
    TCheck(On)
        .Gated(static_cast<std::int64_t>(Count) != need, text)
        .Always(static_cast<std::int64_t>(Count) < need, text);
    return need;
}

}  // namespace

TMtx1& TMtx1::SetIt(int ARows, int ACols, bool AComplex, TOpenArray<double> A)
{
    // Checked before sizing, so a refused call changes nothing.
    CheckSize(ARows, ACols, AComplex);
    const std::int64_t need = CheckCount(FConditionCheck, ARows, ACols, AComplex, A.size());
    // The array may lie in this matrix's data, which sizing may free.
    detail::TLazyTemp t;
    const double* src = A.data();
    if (need > 0 && (detail::Overlap(src, need, FValues, Numbers()) ||
                     detail::Overlap(src, need, reinterpret_cast<const double*>(FBlockStart),
                                     FAllocatedSize / static_cast<std::int64_t>(sizeof(double))))) {
        TVec& c = t.Get();
        c.Size(static_cast<int>(static_cast<std::int64_t>(ARows) * ACols), AComplex);
        std::memcpy(c.Values(), src, static_cast<std::size_t>(need) * sizeof(double));
        src = c.Values();
    }
    Size(ARows, ACols, AComplex);
    if (need > 0) std::memcpy(FValues, src, static_cast<std::size_t>(need) * sizeof(double));
    return *this;
}

TMtx& TMtx::SetIt(TOpenArray<double> A)
{
    const std::int64_t need = CheckCount(FConditionCheck, FRows, FCols, FComplex, A.size());
    if (need > 0) std::memmove(FValues, A.data(), static_cast<std::size_t>(need) * sizeof(double));
    return *this;
}

// ---- Zeroing a block, giving up the data ----------------------------------------------------------------------------

TMtx& TMtx::SetZero(int Row, int Col, int ToRow, int ToCol)
{
    const bool any = ToRow >= Row && ToCol >= Col;
    TCheck(FConditionCheck)
        .Negative({Row}, msg::kNegRow)
        .Negative({Col}, msg::kNegCol)
        .Gated(ToRow < Row, msg::kRowToRow)
        .Gated(ToCol < Col, msg::kColToCol)
        .Gated(ToRow > FRows - 1, msg::kToRowsRows)
        .Gated(ToCol > FCols - 1, msg::kToColsCols)
        .Always(any && ToRow > FRows - 1, msg::kToRowsRows)
        .Always(any && ToCol > FCols - 1, msg::kToColsCols);
    if (!any) return *this;
    const std::size_t bytes = static_cast<std::size_t>(ToCol - Col + 1) * ElementBytes();
    for (int r = Row; r <= ToRow; ++r)
        std::memset(FValues + (static_cast<std::int64_t>(r) * FCols + Col) * Width(), 0, bytes);
    return *this;
}

void TMtx::Disown()
{
    double* data = nullptr;
    int rows = 0, cols = 0;
    bool complex = false;
    TMtx1::Disown(data, rows, cols, complex);
}

}  // namespace tarnel

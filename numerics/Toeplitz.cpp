// Toeplitz systems by a Levinson-type recursion for a non-symmetric matrix, and the prediction-error filter of an
// autocorrelation.
//
// The kernel (Recursion), with r the first row, c the first column without its diagonal element, b the right-hand
// side, x the solution, F and G two work arrays, ε the prediction error and γ a carried scalar:
//   1. ε := r[0]; x[0] := b[0]/r[0]; γ := 0.
//   2. For m = 1 .. n-1:
//      G[m-1] := γ (m ≥ 2);
//      λ := r[m] + Σ_{k=1..m-1} r[k]·F[k-1];  μ := c[m-1] + Σ_{k=1..m-1} c[k-1]·G[m-k];
//      α := -λ/ε;  γ := -μ/ε;  ε := ε + μ·α;
//      F[k] := F'[k-1] + α·G[k] and G[k] := G[k] + γ·F'[k-1] for k = m-1 down to 1 (F' the F before the step);
//      F[0] := α;
//      v := (b[m] - Σ_{k=1..m} c[k-1]·x[m-k])/ε;  x[k] := x[k] + v·F[k] for k < m;  x[m] := v.
// The three sums need only what the previous step left (F, G with G[m-1] set, x), so they run in one loop as three
// independent chains, and the updates of F, G and x share the downward loop; every sum and every element is
// computed with the same operations in the same order as the steps above. b[m] is read before x[m] is written,
// so b and x may be one array. Complex data run the same template on TCplx with the library's complex operations
// and no conjugation: Levinson conjugates its data before the kernel sees them.
//
// No pivoting and no singularity test: a zero r[0] or ε gives infinities or NaN (the library's FPU word masks the
// exceptions), and the caller sees them in X.
#include "numerics/Toeplitz.h"

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/Raroz.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"

namespace tarnel {

namespace {

// The kernel's arithmetic: plain for Doubles, CAdd, CSub, CMul, CDiv and Neg for complex numbers.
inline double Add(double a, double b)
{
    return a + b;
}
inline double Sub(double a, double b)
{
    return a - b;
}
inline double Mul(double a, double b)
{
    return a * b;
}
inline double Div(double a, double b)
{
    return a / b;
}
inline double Neg(double a)
{
    return -a;
}
inline TCplx Add(const TCplx& a, const TCplx& b)
{
    return CAdd(a, b);
}
inline TCplx Sub(const TCplx& a, const TCplx& b)
{
    return CSub(a, b);
}
inline TCplx Mul(const TCplx& a, const TCplx& b)
{
    return CMul(a, b);
}
inline TCplx Div(const TCplx& a, const TCplx& b)
{
    return CDiv(a, b);
}

// Solves the order n system of row r and column c for the right-hand side b into x (b may be x); F and G hold n
// elements each.
template <class T>
void Recursion(const T* r, const T* c, int n, T* F, T* G, T* x, const T* b)
{
    T eps = r[0];
    x[0] = Div(b[0], r[0]);
    T gamma{};
    for (int m = 1; m < n; ++m) {
        if (m >= 2) G[m - 1] = gamma;
        T lambda = r[m], mu = c[m - 1], v = b[m];
        for (int k = 1; k < m; ++k) {
            lambda = Add(lambda, Mul(r[k], F[k - 1]));
            mu = Add(mu, Mul(c[k - 1], G[m - k]));
            v = Sub(v, Mul(c[k - 1], x[m - k]));
        }
        v = Sub(v, Mul(c[m - 1], x[0]));
        const T alpha = Neg(Div(lambda, eps));
        gamma = Neg(Div(mu, eps));
        eps = Add(eps, Mul(mu, alpha));
        v = Div(v, eps);
        for (int k = m - 1; k >= 1; --k) {
            const T previous = F[k - 1];  // F'[k-1]: the loop runs down, so it is not updated yet
            F[k] = Add(previous, Mul(alpha, G[k]));
            G[k] = Add(G[k], Mul(gamma, previous));
            x[k] = Add(x[k], Mul(v, F[k]));
        }
        F[0] = alpha;
        x[0] = Add(x[0], Mul(v, alpha));
        x[m] = v;
    }
}

template <class T>
void Solve(const TVec& FirstRow, const TVec& FirstCol, const TVecs& B, TVec& X, TVec& Work)
{
    const int n = B.Length();
    T *f, *g, *unused3, *unused4;
    Work.SliceIt(n, n, 0, 0, f, g, unused3, unused4);
    Recursion(detail::Data<T>(FirstRow), detail::Data<T>(FirstCol), n, f, g, detail::Data<T>(X), detail::Data<T>(B));
}

// Levinson for elements of type T, n = R.Length ≥ 2.
template <class T>
void Filter(const TVec& R, TVec& A, TVec& Work)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    const int n = R.Length(), m = n - 1;
    // Row (m), column (m - 1) and right-hand side (m) of the order m system, then F and G: SliceIt hands out four
    // addresses, so the fourth slice holds both and G starts m elements past F.
    T *row, *col, *rhs, *f;
    Work.SliceIt(m, m - 1, m, 2 * m, row, col, rhs, f);
    T* g = f + m;
    const T* r = detail::Data<T>(R);
    blas::Copy(m, r, 1, row, 1);
    blas::Copy(m - 1, r + 1, 1, col, 1);
    blas::Copy(m, r + 1, 1, rhs, 1);
    nspdbMpy1(-1.0, reinterpret_cast<double*>(rhs), complex ? 2 * m : m);
    // The Hermitian matrix's first row holds the conjugates of R[1 .. m-1].
    if constexpr (complex) nspzbConj1(row + 1, m - 1);
    Recursion(row, col, m, f, g, rhs, rhs);
    // R has been read in full: A may be R, or share its memory.
    A.Size(n, complex);
    T* a = detail::Data<T>(A);
    if constexpr (complex) {
        a[0] = C_ONE;
    } else {
        a[0] = 1.0;
    }
    blas::Copy(m, rhs, 1, a + 1, 1);
}

}  // namespace

void ToeplitzSolve(const TVec& FirstRow, const TVec& FirstCol, const TVec& B, TVec& X)
{
    const std::int64_t n = B.Length(), rowLength = FirstRow.Length(), colLength = FirstCol.Length();
    const bool kinds = FirstRow.Complex() != FirstCol.Complex() || FirstRow.Complex() != B.Complex();
    // ConditionCheck switches off only the demand for exact agreement: what the recursion reads (the first n
    // elements of FirstRow, n - 1 of FirstCol, in B's kind) and a matrix apart from X are required always.
    detail::TCheck(X)
        .Gated(colLength + 1 != n, msg::kFirstColLengthB)
        .Gated(rowLength != colLength + 1, msg::kFirstRowLength)
        .Gated(kinds, msg::kFirstRowComplex)
        .Always(colLength < n - 1, msg::kFirstColLengthB)
        .Always(rowLength < n, msg::kFirstRowLength)
        .Always(kinds, msg::kFirstRowComplex)
        .Always(detail::SharesMemory(FirstRow, X), msg::kXFirstRow)
        .Always(detail::SharesMemory(FirstCol, X), msg::kXFirstCol);
    // B given as X itself (or as the very same data) is safe: the kernel reads b[m] before it writes x[m]. Any
    // other overlap is read from a copy.
    const bool same = &B == &X || (B.Values() == X.Values() && B.Length() == X.Length() && B.Complex() == X.Complex());
    const detail::TStable b(B, {same ? nullptr : &X});
    X.Size(static_cast<int>(n), B.Complex());
    if (n == 0) return;
    detail::TVecTemp work;
    if (B.Complex()) {
        Solve<TCplx>(FirstRow, FirstCol, *b, X, *work);
    } else {
        Solve<double>(FirstRow, FirstCol, *b, X, *work);
    }
}

void Levinson(const TVec& R, TVec& A)
{
    if (R.Length() <= 1) return;
    detail::TVecTemp work;
    if (R.Complex()) {
        Filter<TCplx>(R, A, *work);
    } else {
        Filter<double>(R, A, *work);
    }
}

}  // namespace tarnel

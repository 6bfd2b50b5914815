// Least-squares polynomial fits and the prediction error of their values.
//
// PolyFit solves V·c = y by QR (xGELS through TMtx.LQRSolve), V the Vandermonde matrix of X, and keeps R of
// V = Q·R. The prediction standard error at x with Vandermonde row a is s·√(1 + a·(VᴴV)⁻¹·aᴴ), s = L2R/√DegFreedom
// the residual standard deviation; with RᴴR = VᴴV the quadratic form is ‖R⁻ᵀ·aᵀ‖² (R⁻ᴴ·aᴴ is its conjugate), so
// PolyEval solves Rᵀ·Z = Wᵀ, W the Vandermonde matrix of the evaluation points, and sums |Z[i][j]|² per column
// (one triangular solve when R is the fit's square factor; any other R goes through the least-squares solver).
// Complex data square magnitudes, not the elements: z² would give a complex and wrong estimate.
#include <cmath>
#include <type_traits>

#include "core/BlasCalls.h"
#include "core/LapackSupport.h"
#include "core/LapackWork.h"
#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"
#include "numerics/poly_internal.h"

namespace tarnel {

namespace {

void CheckFit(const TVec& X, const TVec& Y, int Deg)
{
    if (X.Complex() != Y.Complex()) ERaise(msg::kPolyFitComplex);
    if (X.Length() != Y.Length()) ERaise(msg::kPolyFitLength);
    if (X.Length() == 0) ERaise(msg::kPolyFitEmpty);
    if (Deg < 0) ERaise(msg::kPolyFitDeg);
}

// Coeff := the fit of degree Deg into the pooled V (the Vandermonde matrix) and C; R receives the factor when given.
void Fit(const TVec& X, const TVec& Y, int Deg, TMtx& V, TVec& C, TMtx* R)
{
    V.VanderMonde(Deg + 1, X);
    V.LQRSolve(Y, C, opNone, R);
    // INFO > 0: a zero diagonal element of the triangular factor, so no unique solution exists.
    if (V.Info() != 0) ERaise(msg::kPolyFitRank);
}

// Element j of the error estimate: a real number, or the same number + 0i in a complex Delta.
void Set(TVecs& Delta, int j, double Value)
{
    double* e = detail::At(Delta, j);
    e[0] = Value;
    if (Delta.Complex()) e[1] = 0;
}

// Element j of the error estimate for the square triangular R of the fit: Scale·√(1 + ‖zⱼ‖²) with Rᵀ·zⱼ = wⱼᵀ,
// wⱼ the Vandermonde row of X[j]. The row-major Vandermonde matrix of X is, read column-major, the block of right-hand
// sides wⱼᵀ side by side, and R's row-major data is Rᵀ (lower triangular) to BLAS: one triangular solve in place
// turns each row into its zⱼ, summed where it lies.
template <class T>
void TriangularDelta(const TVecs& X, const TMtx& R, double Scale, TVecs& Delta)
{
    const int m = R.Rows(), n = X.Length();
    detail::TMtxTemp w;
    w->VanderMonde(m, X);
    T* z = detail::Data<T>(*w);
    {
        FortranFpuMode fpu;
        blas::Trsm('L', 'L', 'N', 'N', m, n, blas::Scalar<T>(C_ONE), detail::Data<T>(R), m, z, m);
    }
    for (int j = 0; j < n; ++j) {
        const T* e = z + static_cast<std::int64_t>(j) * m;
        double sum = 0;
        for (int i = 0; i < m; ++i) {
            if constexpr (std::is_same_v<T, TCplx>) {
                sum += e[i].Re * e[i].Re + e[i].Im * e[i].Im;
            } else {
                sum += e[i] * e[i];
            }
        }
        Set(Delta, j, Scale * std::sqrt(1 + sum));
    }
}

}  // namespace

void PolyFit(const TVec& X, const TVec& Y, int Deg, TVec& Coeff, TMtx& R, int& DegFreedom, double& L2R)
{
    CheckFit(X, Y, Deg);
    detail::TMtxTemp v, r;
    detail::TVecTemp c, residual;
    Fit(X, Y, Deg, *v, *c, r.get());
    // Sized first: the product's overlap guard measures Self's room from its current data, and a pooled vector
    // shorter than the result could seem to overlap the operands.
    residual->Size(Y.Length(), Y.Complex());
    residual->TensorProd(*v, *c, mtGeneral);
    residual->Sub(Y);
    L2R = residual->NormL2();
    DegFreedom = Y.Length() - Deg - 1;
    R.Copy(*r);
    Coeff.Copy(*c);
}

void PolyFit(const TVec& X, const TVec& Y, int Deg, TVec& Coeff)
{
    CheckFit(X, Y, Deg);
    detail::TMtxTemp v;
    detail::TVecTemp c;
    Fit(X, Y, Deg, *v, *c, nullptr);
    Coeff.Copy(*c);
}

void PolyEval(const TVec& X, const TVec& Coeff, const TMtx& R, int DegFreedom, double L2R, TVec& Y, TVec& Delta)
{
    if (X.Complex() != Coeff.Complex()) ERaise(msg::kPolyEvalComplex);
    // Y and Delta may be X or Coeff: the inputs are held (copied only then) before either output changes.
    const detail::TStable x(X, {&Y, &Delta}), c(Coeff, {&Y, &Delta});
    const int n = x->Length();
    detail::TVecTemp delta;
    delta->Size(n, x->Complex());
    if (DegFreedom == 0) {
        for (int j = 0; j < n; ++j) Set(*delta, j, INF);
    } else if (n > 0) {
        const double scale = L2R / std::sqrt(static_cast<double>(DegFreedom));
        if (R.Rows() == c->Length() && R.Cols() == c->Length() && R.Complex() == x->Complex() && R.Rows() > 0) {
            if (x->Complex()) {
                TriangularDelta<TCplx>(*x, R, scale, *delta);
            } else {
                TriangularDelta<double>(*x, R, scale, *delta);
            }
        } else {
            // Any other R: its least-squares solution, as the general solver gives it (or its refusal).
            detail::TMtxTemp w, z, rt;
            w->VanderMonde(c->Length(), *x);
            w->Transp();
            rt->Copy(R);  // the solver records its outcome in the matrix it works on; the caller's R stays as it is
            rt->LQRSolve(*w, *z, opTran);
            const int rows = z->Rows();
            const int width = z->Complex() ? 2 : 1;
            for (int j = 0; j < n; ++j) {
                double sum = 0;
                for (int i = 0; i < rows; ++i) {
                    const double* e = z->Values() + (static_cast<std::int64_t>(i) * z->Cols() + j) * width;
                    sum += width == 2 ? e[0] * e[0] + e[1] * e[1] : e[0] * e[0];
                }
                Set(*delta, j, scale * std::sqrt(1 + sum));
            }
        }
    }
    detail::PolyEvalInto(*x, *c, Y);
    Delta.Copy(*delta);
}

}  // namespace tarnel

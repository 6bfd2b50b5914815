// Evaluation of polynomials by Horner's scheme.
//
// The vector form works block by block (TarnelBlockSize elements): y := c₀, then y := y·x + cₖ for k = 1 .. n−1,
// the product and the sum as two roundings (no fused multiply-add), which are numpy.polyval's operations in its
// order. Real data run the recurrence per element (the processor overlaps the chains of neighbouring elements, and y
// stays in a register); complex data pass over the block once per coefficient.
#include <algorithm>

#include "core/Tarnel.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"
#include "numerics/poly_internal.h"

namespace tarnel {

namespace {

void HornerBlock(const double* x, double* y, int n, const double* c, int m)
{
    for (int i = 0; i < n; ++i) {
        const double xi = x[i];
        double s = c[0];
        for (int k = 1; k < m; ++k) s = s * xi + c[k];
        y[i] = s;
    }
}

// Complex elements as (re, im) pairs of Doubles; (a + ib)(c + id) = (ac − bd) + i(ad + bc), as numpy.
void HornerBlock(const TCplx* x, TCplx* y, int n, const TCplx* c, int m)
{
    for (int i = 0; i < n; ++i) y[i] = c[0];
    for (int k = 1; k < m; ++k) {
        const double cr = c[k].Re, ci = c[k].Im;
        for (int i = 0; i < n; ++i) {
            const double yr = y[i].Re, yi = y[i].Im, xr = x[i].Re, xi = x[i].Im;
            y[i].Re = (yr * xr - yi * xi) + cr;
            y[i].Im = (yr * xi + yi * xr) + ci;
        }
    }
}

template <class T>
void Horner(const T* x, T* y, int n, const T* c, int m)
{
    const int block = std::max(TarnelBlockSize, 1);
    for (int i = 0; i < n; i += block) HornerBlock(x + i, y + i, std::min(block, n - i), c, m);
}

}  // namespace

void PolyEval(const TVec& X, const TVec& Coeff, TVec& Y)
{
    if (X.Complex() != Coeff.Complex()) ERaise(msg::kPolyEvalKinds);
    detail::PolyEvalInto(X, Coeff, Y);
}

void detail::PolyEvalInto(const TVecs& X, const TVecs& Coeff, TVecs& Y)
{
    const detail::TStable x(X, Y), c(Coeff, Y);
    const int n = x->Length(), m = c->Length();
    Y.Size(n, x->Complex());
    if (n == 0) return;
    if (m == 0) {  // the zero polynomial
        std::fill_n(Y.Values(), detail::Numbers(Y), 0.0);
        return;
    }
    if (Y.Complex()) {
        Horner(x->CValues(), Y.CValues(), n, c->CValues(), m);
    } else {
        Horner(x->Values(), Y.Values(), n, c->Values(), m);
    }
}

double PolyEval(double X, const TVec& Coeff)
{
    if (Coeff.Complex()) ERaise(msg::kPolyEvalCoeffComplex);
    const int m = Coeff.Length();
    if (m == 0) return 0;
    const double* c = Coeff.Values();
    double y = c[0];
    for (int k = 1; k < m; ++k) y = y * X + c[k];
    return y;
}

TCplx PolyEval(const TCplx& X, const TVec& Coeff)
{
    const int m = Coeff.Length();
    if (m == 0) return C_ZERO;
    if (Coeff.Complex()) {
        const TCplx* c = Coeff.CValues();
        TCplx y = c[0];
        for (int k = 1; k < m; ++k) y = CAdd(CMul(y, X), c[k]);
        return y;
    }
    const double* c = Coeff.Values();
    TCplx y = Cplx(c[0], 0);
    for (int k = 1; k < m; ++k) {
        y = CMul(y, X);
        y.Re = y.Re + c[k];
    }
    return y;
}

}  // namespace tarnel

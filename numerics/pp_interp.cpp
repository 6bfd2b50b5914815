// Interpolation at new abscissae: through a temporary piecewise polynomial, or directly on equidistant data.
//
// InterpolateEqd, with h = (X[n−1] − X[0])/(n − 1), t = (xi − X[0])/h, k = ⌊t⌋ held to 0 .. n − 2 and u = t − k
// (outside [X[0], X[n−1]] u leaves [0, 1], so the first or last interval extrapolates):
// - linear: (1 − u)·Y[k] + u·Y[k+1];
// - cubic convolution on p = (3(Y₀ − Y₁) + Y₂, Y₀ … Y_{n−1}, 3(Y_{n−1} − Y_{n−2}) + Y_{n−3}):
//   ½·(−(u³ − 2u² + u)·p[k] + (3u³ − 5u² + 2)·p[k+1] + (−3u³ + 4u² + u)·p[k+2] + (u³ − u²)·p[k+3]),
//   exact on quadratics (for every u, so also where it extrapolates).
// A non-finite t has no interval: NaN.
#include <algorithm>
#include <cmath>

#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"
#include "numerics/poly_internal.h"

namespace tarnel {

namespace {

// out[i] := the interpolant at xs[i], i < m, from n data values (p: extended by one at each end when Cubic).
template <bool Cubic>
void Equidistant(const double* xs, int m, double x0, double h, int n, const double* p, double* out)
{
    const double last = n - 2;
    for (int i = 0; i < m; ++i) {
        const double t = (xs[i] - x0) / h;
        if (!std::isfinite(t)) {
            out[i] = NAN;
            continue;
        }
        // ⌊t⌋ held to 0 .. n − 2: on [0, n − 2] truncation is the floor, so holding t first gives the same k.
        const int k = static_cast<int>(std::clamp(t, 0.0, last));
        const double u = t - k;
        if constexpr (Cubic) {
            const double u2 = u * u, u3 = u2 * u;
            out[i] = 0.5 * (-(u3 - 2 * u2 + u) * p[k] + (3 * u3 - 5 * u2 + 2) * p[k + 1] +
                            (-3 * u3 + 4 * u2 + u) * p[k + 2] + (u3 - u2) * p[k + 3]);
        } else {
            out[i] = (1 - u) * p[k] + u * p[k + 1];
        }
    }
}

}  // namespace

void Interpolate(const TVec& X, const TVec& Y, const TVec& XI, TVec& YI, TInterpolationType IntType, bool Ascending)
{
    if (X.Length() != Y.Length()) ERaise(msg::kInterpolateLength);
    if (X.Complex() || Y.Complex() || XI.Complex()) ERaise(msg::kInterpolateReal);
    if (IntType == IntCubic && X.Length() < 3) ERaise(msg::kInterpolateX3);
    if (IntType == IntLinear && X.Length() < 2) ERaise(msg::kInterpolateX2);
    const detail::TCondOff off{&X, &Y, &XI, &YI};
    detail::Wrapped("Interpolate : ", [&] {
        TPiecePoly pp;
        if (IntType == IntCubic) {
            Spline1D(X, Y, pp);
        } else {
            Linear1D(X, Y, pp);
        }
        pp.Evaluate(XI, YI, Ascending);
    });
}

void Interpolate(const TVec& Y, const TVec& XI, TVec& YI, TInterpolationType IntType, bool Ascending)
{
    if (Y.Complex() || XI.Complex()) ERaise(msg::kInterpolateReal);
    if (IntType == IntCubic && Y.Length() < 3) ERaise(msg::kInterpolateY3);
    if (IntType == IntLinear && Y.Length() < 2) ERaise(msg::kInterpolateY2);
    const detail::TCondOff off{&Y, &XI, &YI};
    detail::Wrapped("Interpolate : ", [&] {
        TPiecePoly pp;
        if (IntType == IntCubic) {
            Spline1D(Y, pp, false);
        } else {
            Linear1D(Y, pp);
        }
        pp.Evaluate(XI, YI, Ascending);
    });
}

void InterpolateEqd(const TVec& X, const TVec& Y, const TVec& XI, TVec& YI, TInterpolationType IntType)
{
    if (X.Length() != Y.Length()) ERaise(msg::kInterpolateEqdLength);
    if (X.Complex() || Y.Complex() || XI.Complex()) ERaise(msg::kInterpolateEqdReal);
    const int n = X.Length();
    if (n < 3) ERaise(msg::kInterpolateEqdShort);
    const double x0 = X.Values()[0], h = (X.Values()[n - 1] - x0) / (n - 1);
    if (X.Values()[n - 1] == x0) ERaise(msg::kInterpolateEqdStep);
    const detail::TCondOff off{&X, &Y, &XI, &YI};
    detail::Wrapped("InterpolateEqd : ", [&] {
        const detail::TStable xi(XI, YI), y0(Y, YI);
        detail::TVecTemp p;  // Y with one value added at each end (cubic)
        const double* y = y0->Values();
        if (IntType == IntCubic) {
            p->Size(n + 2);
            double* pv = p->Values();
            pv[0] = 3 * (y[0] - y[1]) + y[2];
            std::copy_n(y, n, pv + 1);
            pv[n + 1] = 3 * (y[n - 1] - y[n - 2]) + y[n - 3];
        }
        const double* data = IntType == IntCubic ? p->Values() : y;
        const int m = xi->Length();
        YI.Size(m, false);
        if (IntType == IntCubic) {
            Equidistant<true>(xi->Values(), m, x0, h, n, data, YI.Values());
        } else {
            Equidistant<false>(xi->Values(), m, x0, h, n, data, YI.Values());
        }
    });
}

}  // namespace tarnel

// Broken lines and cubic splines as piecewise polynomials.
//
// The cubic spline of n points with slopes s: per piece k, with h = Δx[k], d = Δy[k]/h and
// c₄ = (s[k] + s[k+1] − 2d)/h, the row (c₄/h, (d − s[k])/h − c₄, s[k], y[k]) in powers of x − x[k]. The slopes
// solve the tridiagonal system of equal second derivatives at the inner points,
//   Δx[i]·s[i−1] + 2(Δx[i] + Δx[i−1])·s[i] + Δx[i−1]·s[i+1] = 3(Δx[i]·d[i−1] + Δx[i−1]·d[i]),  i = 1 .. n−2,
// closed by not-a-knot rows (third derivative continuous at x[1] and x[n−2]) or by the given end slopes. The
// not-a-knot rows are not diagonally dominant, so the LU pivots: LUSolve's tridiagonal path (one DGTSV pass) on the
// three-row band, a temporary it factors in place.

#include <cmath>

#include "core/BandLayout.h"
#include "core/LapackWork.h"
#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"
#include "numerics/poly_internal.h"

namespace tarnel {

namespace {

// Inv[i] := the thresholded reciprocal of X[i + 1] − X[i], i < n − 1 (as TVec.Inv with the threshold: a step below it
// in magnitude gives ±1/threshold). One plain pass: the steps are a small part of the work.
void InverseSteps(const TVecs& X, double* Inv)
{
    const double* x = X.Values();
    const double clamped = 1.0 / detail::kPieceThreshold;
    for (int i = 0; i + 1 < X.Length(); ++i) {
        const double h = x[i + 1] - x[i];
        Inv[i] = std::fabs(h) < detail::kPieceThreshold ? std::copysign(clamped, h) : 1.0 / h;
    }
}

// PP's coefficients sized Rows × Cols (real), to be written through the address returned; the hook gives Breaks
// Rows + 1 elements, which Breaks() then receives. The sources must be held against PP's objects.
double* Rows(TPiecePoly& PP, int Rows, int Cols)
{
    PP.Coefficients().Size(Rows, Cols, false);
    return PP.Coefficients().Values();
}

// The spline through (x, y), n = X.Length ≥ 2, strictly ascending; Slopes nil (not-a-knot) or the two end slopes.
void SplineCore(const TVecs& X, const double* y, const double* Slopes, TPiecePoly& PP)
{
    const int n = X.Length();
    const double* x = X.Values();
    const detail::TWork<double> inv(n - 1), d(n - 1);
    InverseSteps(X, inv.data());
    const double* r = inv.data();
    double* dd = d.data();
    for (int i = 0; i < n - 1; ++i) dd[i] = (y[i + 1] - y[i]) * r[i];
    if (n == 2 && Slopes == nullptr) {  // a line
        double* row = Rows(PP, 1, 2);
        row[0] = dd[0];
        row[1] = y[0];
        PP.Breaks().Copy(X);
        return;
    }
    if (n == 2) {  // one cubic with the given end slopes
        const double a = (dd[0] - Slopes[0]) * r[0], b = (Slopes[1] - dd[0]) * r[0];
        double* row = Rows(PP, 1, 4);
        row[0] = (b - a) * r[0];
        row[1] = 2 * a - b;
        row[2] = Slopes[0];
        row[3] = y[0];
        PP.Breaks().Copy(X);
        return;
    }
    if (n == 3 && Slopes == nullptr) {  // one parabola over [x₀, x₂]
        const double c0 = (dd[1] - dd[0]) / (x[2] - x[0]);
        const double row0 = c0, row1 = dd[0] - c0 * (x[1] - x[0]), row2 = y[0], x0 = x[0], x2 = x[2];
        double* row = Rows(PP, 1, 3);
        row[0] = row0;
        row[1] = row1;
        row[2] = row2;
        PP.Breaks().SetIt(false, {x0, x2});
        return;
    }
    // The band matrix, 3 × n: A(i, j) in row 1 + i − j of column j.
    detail::TMtxTemp band;
    band->Size(3, n);
    band->SetSubDiag(1);
    band->SetSuperDiag(1);
    band->SetAutoMtxType(false);
    double* super = band->Values();
    double* diag = super + n;
    double* sub = diag + n;
    // The loop below writes every other place; with end slopes the two end rows hold the diagonal alone.
    super[0] = super[1] = sub[n - 2] = sub[n - 1] = 0;
    const detail::TWork<double> rhs(n);
    double* b = rhs.data();
    auto h = [x](int i) { return x[i + 1] - x[i]; };
    for (int i = 1; i < n - 1; ++i) {
        sub[i - 1] = h(i);
        diag[i] = 2 * (h(i) + h(i - 1));
        super[i + 1] = h(i - 1);
        b[i] = 3 * (h(i) * dd[i - 1] + h(i - 1) * dd[i]);
    }
    diag[0] = h(1);
    diag[n - 1] = h(n - 3);
    if (Slopes == nullptr) {
        const double x31 = x[2] - x[0], xn = x[n - 1] - x[n - 3];
        super[1] = x31;
        b[0] = ((h(0) + 2 * x31) * h(1) * dd[0] + h(0) * h(0) * dd[1]) / x31;
        sub[n - 2] = xn;
        b[n - 1] = (h(n - 2) * h(n - 2) * dd[n - 3] + (2 * xn + h(n - 2)) * h(n - 3) * dd[n - 2]) / xn;
    } else {
        b[0] = h(1) * Slopes[0];
        b[n - 1] = h(n - 3) * Slopes[1];
    }
    detail::LUSolveOnBand(*band, b, mtBandGeneral);  // the slopes in place of the right-hand side
    const double* sl = b;
    double* rows = Rows(PP, n - 1, 4);
    for (int k = 0; k < n - 1; ++k) {
        const double c4 = (sl[k] + sl[k + 1] - 2 * dd[k]) * r[k];
        double* row = rows + 4 * static_cast<std::int64_t>(k);
        row[0] = c4 * r[k];
        row[1] = (dd[k] - sl[k]) * r[k] - c4;
        row[2] = sl[k];
        row[3] = y[k];
    }
    PP.Breaks().Copy(X);
}

// The broken line through (X, y); Unit: abscissae 0, 1, … (no division).
void LinearCore(const TVecs& X, const double* y, bool Unit, TPiecePoly& PP)
{
    const int n = X.Length();
    const detail::TWork<double> inv(Unit ? 0 : n - 1);
    if (!Unit) InverseSteps(X, inv.data());
    double* row = Rows(PP, n - 1, 2);
    for (int k = 0; k < n - 1; ++k) {
        const double dy = y[k + 1] - y[k];
        row[2 * k] = Unit ? dy : dy * inv[k];
        row[2 * k + 1] = y[k];
    }
    PP.Breaks().Copy(X);
}

bool Decreasing(const TVecs& X)
{
    const double* x = X.Values();
    for (int i = 0; i + 1 < X.Length(); ++i)
        if (x[i + 1] < x[i]) return true;
    return false;
}

bool NotStrictlyAscending(const TVecs& X)
{
    const double* x = X.Values();
    for (int i = 0; i + 1 < X.Length(); ++i)
        if (!(x[i + 1] > x[i])) return true;
    return false;
}

}  // namespace

void Linear1D(const TVec& X, const TVec& Y, TPiecePoly& PP)
{
    if (X.Length() != Y.Length()) ERaise(msg::kLinear1DLength);
    if (X.Complex() || Y.Complex()) ERaise(msg::kLinear1DReal);
    if (X.Length() < 2) ERaise(msg::kLinear1DShort);
    if (Decreasing(X)) ERaise(msg::kLinear1DAscending);
    const detail::TCondOff off{&X, &Y};
    detail::Wrapped("Linear1D : ", [&] {
        const detail::TStable x(X, PP.Breaks()), y(Y, PP.Breaks());
        LinearCore(*x, y->Values(), false, PP);
    });
}

void Linear1D(const TVec& Y, TPiecePoly& PP)
{
    if (Y.Complex()) ERaise(msg::kLinear1DReal);
    if (Y.Length() < 2) ERaise(msg::kLinear1DShort);
    const detail::TCondOff off{&Y};
    detail::Wrapped("Linear1D : ", [&] {
        const detail::TStable y(Y, PP.Breaks());
        detail::TVecTemp x;
        x->Size(y->Length());
        x->Ramp();
        LinearCore(*x, y->Values(), true, PP);
    });
}

void Spline1D(const TVec& X, const TVec& Y, TPiecePoly& PP)
{
    if (X.Complex() || Y.Complex()) ERaise(msg::kSpline1DComplex);
    if (X.Length() < 2) ERaise(msg::kSpline1DShort);
    const bool slopes = Y.Length() == X.Length() + 2;
    if (Y.Length() != X.Length() && !slopes) ERaise(msg::kSpline1DMatch);
    if (NotStrictlyAscending(X)) ERaise(msg::kSpline1DAscending);
    const detail::TCondOff off{&X, &Y};
    detail::Wrapped("Spline1D : ", [&] {
        const detail::TStable x(X, PP.Breaks()), y(Y, PP.Breaks());
        const double* yv = y->Values();
        const double ends[2] = {slopes ? yv[0] : 0, slopes ? yv[Y.Length() - 1] : 0};
        SplineCore(*x, slopes ? yv + 1 : yv, slopes ? ends : nullptr, PP);
    });
}

void Spline1D(const TVec& Y, TPiecePoly& PP, bool EndSlopes)
{
    if (Y.Complex()) ERaise(msg::kSpline1DYComplex);
    // With end slopes two data values at least must remain besides them.
    if (Y.Length() < (EndSlopes ? 4 : 2)) ERaise(msg::kSpline1DShort);
    const detail::TCondOff off{&Y};
    detail::Wrapped("Spline1D : ", [&] {
        const detail::TStable y(Y, PP.Breaks());
        const int n = EndSlopes ? y->Length() - 2 : y->Length();
        detail::TVecTemp x;
        x->Size(n);
        x->Ramp();
        const double* yv = y->Values();
        const double ends[2] = {EndSlopes ? yv[0] : 0, EndSlopes ? yv[n + 1] : 0};
        SplineCore(*x, EndSlopes ? yv + 1 : yv, EndSlopes ? ends : nullptr, PP);
    });
}

}  // namespace tarnel

// Brent's minimisation of a function of one variable: golden sections of the bracket [a, b], and a parabola through
// the three best points (x the best, w the second, v the previous w) whenever its step stays inside the bracket and
// is less than half the step before last. Every pass makes one evaluation, at u, and shrinks the bracket around x.
#include <cmath>
#include <utility>

#include "core/Dovi387.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"

namespace tarnel {

namespace {

// The relative part of the tolerance (about the square root of the double epsilon, as stated).
constexpr double kRelTol = 1.4901161194E-8;

// |a| with the sign of b (+|a| for b = 0).
double WithSign(double a, double b)
{
    return b >= 0 ? std::fabs(a) : -std::fabs(a);
}

}  // namespace

int MinBrent(double ax, double bx, TOptFunction Fun, std::span<const double> Consts, std::span<void* const> OConsts,
             double& XMin, int MaxIter, double Tol, TStrings* Verbose)
{
    const detail::TOptLog log(Verbose, "MinBrent", "Iteration x", Tol);
    if (ax > bx) std::swap(ax, bx);
    double a = ax, b = bx;
    double x = a + CGOLD * (b - a);
    double w = x, v = x;
    const auto f = [&](double At) { return Fun(std::span<const double>(&At, 1), Consts, OConsts); };
    double fx = f(x);
    double fw = fx, fv = fx;
    double d = 0, e = 0;
    int iter = 0;
    for (;;) {
        const double xm = (a + b) / 2;
        const double tol1 = kRelTol * std::fabs(x) + Tol / 3;
        const double tol2 = 2 * tol1;
        if (std::fabs(x - xm) <= tol2 - (b - a) / 2 || iter > MaxIter) break;
        ++iter;
        log.Line(iter + 1, x);

        bool golden = true;
        if (std::fabs(e) > tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) p = -p;
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            if (!(std::fabs(p) >= std::fabs(q * etemp / 2) || p <= q * (a - x) || p >= q * (b - x))) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = WithSign(tol1, xm - x);
                golden = false;
            }
        }
        if (golden) {
            e = x >= xm ? a - x : b - x;
            d = CGOLD * e;
        }
        const double u = std::fabs(d) >= tol1 ? x + d : x + WithSign(tol1, d);
        const double fu = f(u);
        if (fu <= fx) {
            if (u >= x)
                a = x;
            else
                b = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    XMin = x;
    return iter;
}

}  // namespace tarnel

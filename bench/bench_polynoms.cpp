// Polynomials and splines against numpy and scipy (bench/peers/polynoms.py, in the same run): vector PolyEval at
// 10⁶ points (degree 5 and 20) also against a plain Horner loop over the whole vector; IIRFilter (10⁶ samples, order
// 2 and 10) against scipy.signal.lfilter; PolyRoots (degree 50, 200) against numpy.roots; PolyFit (10⁵ points,
// degree 5) against numpy.polyfit; Spline1D (n = 10⁵, 10⁶) against scipy's CubicSpline; the vector Evaluate of a
// spline of 10⁴ pieces at 10⁶ sorted points (both modes) against PPoly.__call__; InterpolateEqd and the linear
// Interpolate (10⁵ data, 10⁶ points) against numpy.interp. Both sides build the same data from the same formulas.
// OpenBLAS (PolyFit, PolyRoots, Spline1D's band solve) runs with the thread count scripts/bench sets
// (OPENBLAS_NUM_THREADS, 1 unless given); everything else is one thread on every side.
#include <cmath>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"

using namespace tarnel;

namespace {

// x[i] = Lo + (Hi − Lo)·i/(n − 1).
void Line(TVec& V, int n, double Lo, double Hi)
{
    V.Size(n);
    for (int i = 0; i < n; ++i) V.Values()[i] = Lo + (Hi - Lo) * i / (n - 1);
}

// y[i] = sin(0.37·i) + 0.1·cos(1.3·i): bounded and not smooth from point to point.
void Wiggle(TVec& V, int n)
{
    V.Size(n);
    for (int i = 0; i < n; ++i) V.Values()[i] = std::sin(0.37 * i) + 0.1 * std::cos(1.3 * i);
}

// Coefficients c[k] = 1/(k + 1)·(−1)^k.
void Coefficients(TVec& C, int Count)
{
    C.Size(Count);
    for (int k = 0; k < Count; ++k) C.Values()[k] = (k % 2 == 0 ? 1.0 : -1.0) / (k + 1);
}

template <class Fn>
void Loop(benchmark::State& st, Fn&& Call)
{
    Call();
    for (auto _ : st) {
        Call();
        benchmark::ClobberMemory();
    }
}

void OursPolyEval(benchmark::State& st, int n, int deg)
{
    TVec x, c, y;
    Line(x, n, -1, 1);
    Coefficients(c, deg + 1);
    Loop(st, [&] { PolyEval(x, c, y); });
}

// The plain loop: Horner per element over all coefficients.
void HornerLoop(benchmark::State& st, int n, int deg)
{
    TVec x, c, y;
    Line(x, n, -1, 1);
    Coefficients(c, deg + 1);
    y.Size(n);
    const double* cv = c.Values();
    Loop(st, [&] {
        const double* xv = x.Values();
        double* yv = y.Values();
        for (int i = 0; i < n; ++i) {
            double s = cv[0];
            for (int k = 1; k <= deg; ++k) s = s * xv[i] + cv[k];
            yv[i] = s;
        }
    });
}

// A stable low-pass of order m: b = (1, ..., 1)/(m + 1), a = (1, −0.5, 0, ..., 0) with 0.1 added to a[m].
void Taps(TVec& B, TVec& A, int m)
{
    B.Size(m + 1);
    A.Size(m + 1);
    for (int k = 0; k <= m; ++k) {
        B.Values()[k] = 1.0 / (m + 1);
        A.Values()[k] = 0;
    }
    A.Values()[0] = 1;
    A.Values()[1] = -0.5;
    A.Values()[m] += 0.1;
}

void OursIIR(benchmark::State& st, int n, int m)
{
    TVec b, a, x, y;
    Taps(b, a, m);
    Wiggle(x, n);
    Loop(st, [&] { IIRFilter(b, a, x, y); });
}

void OursRoots(benchmark::State& st, int deg)
{
    TVec c, r;
    Coefficients(c, deg + 1);
    Loop(st, [&] { PolyRoots(r, c); });
}

void OursFit(benchmark::State& st, int n, int deg)
{
    TVec x, y, c;
    TMtx r;
    int dof = 0;
    double l2r = 0;
    Line(x, n, -1, 1);
    Wiggle(y, n);
    Loop(st, [&] { PolyFit(x, y, deg, c, r, dof, l2r); });
}

void OursSpline(benchmark::State& st, int n)
{
    TVec x, y;
    Line(x, n, 0, n - 1);
    Wiggle(y, n);
    TPiecePoly pp;
    Loop(st, [&] { Spline1D(x, y, pp); });
}

void OursEvaluate(benchmark::State& st, int n, bool Ascending)
{
    const int breaks = 10001;
    TVec x, y, xi, yi;
    Line(x, breaks, 0, breaks - 1);
    Wiggle(y, breaks);
    TPiecePoly pp;
    Spline1D(x, y, pp);
    Line(xi, n, 0, breaks - 1);
    Loop(st, [&] { pp.Evaluate(xi, yi, Ascending); });
}

void OursInterp(benchmark::State& st, int n, bool Eqd)
{
    const int points = 100000;
    TVec x, y, xi, yi;
    Line(x, points, 0, points - 1);
    Wiggle(y, points);
    Line(xi, n, 0, points - 1);
    if (Eqd) {
        Loop(st, [&] { InterpolateEqd(x, y, xi, yi, IntLinear); });
    } else {
        Loop(st, [&] { Interpolate(x, y, xi, yi, IntLinear, true); });
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    const int n = 1000000;
    for (int deg : {5, 20}) {
        const std::string op = "PolyEval deg " + std::to_string(deg);
        Row(op, n, "ours", [n, deg](benchmark::State& s) { OursPolyEval(s, n, deg); });
        Row(op, n, "Horner loop", [n, deg](benchmark::State& s) { HornerLoop(s, n, deg); });
    }
    for (int m : {2, 10})
        Row("IIRFilter order " + std::to_string(m), n, "ours", [n, m](benchmark::State& s) { OursIIR(s, n, m); });
    for (int deg : {50, 200}) Row("PolyRoots", deg, "ours", [deg](benchmark::State& s) { OursRoots(s, deg); });
    Row("PolyFit deg 5", 100000, "ours", [](benchmark::State& s) { OursFit(s, 100000, 5); });
    for (int k : {100000, 1000000}) Row("Spline1D", k, "ours", [k](benchmark::State& s) { OursSpline(s, k); });
    Row("Evaluate ascending", n, "ours", [n](benchmark::State& s) { OursEvaluate(s, n, true); });
    Row("Evaluate bisection", n, "ours", [n](benchmark::State& s) { OursEvaluate(s, n, false); });
    Row("InterpolateEqd linear", n, "ours", [n](benchmark::State& s) { OursInterp(s, n, true); });
    Row("Interpolate linear", n, "ours", [n](benchmark::State& s) { OursInterp(s, n, false); });
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

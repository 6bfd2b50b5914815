"""numpy and scipy peers of the polynomial rows (bench/bench_polynoms.cpp), on the same data from the same formulas:
numpy.polyval, scipy.signal.lfilter, numpy.roots, numpy.polyfit, scipy.interpolate.CubicSpline, PPoly.__call__
(which finds each point's piece by bisection) and numpy.interp. The Evaluate rows of both modes compare with the one
PPoly call; both InterpolateEqd and the linear Interpolate compare with numpy.interp."""
import numpy as np
import scipy.interpolate
import scipy.signal

from common import row


def line(n, lo, hi):
    return lo + (hi - lo) * np.arange(n) / (n - 1)


def wiggle(n):
    i = np.arange(n)
    return np.sin(0.37 * i) + 0.1 * np.cos(1.3 * i)


def coefficients(count):
    k = np.arange(count)
    return np.where(k % 2 == 0, 1.0, -1.0) / (k + 1)


N = 1000000
x = line(N, -1, 1)
for deg in (5, 20):
    c = coefficients(deg + 1)
    row(f"PolyEval deg {deg}", N, lambda: np.polyval(c, x))

for m in (2, 10):
    b = np.full(m + 1, 1.0 / (m + 1))
    a = np.zeros(m + 1)
    a[0], a[1] = 1, -0.5
    a[m] += 0.1
    s = wiggle(N)
    row(f"IIRFilter order {m}", N, lambda: scipy.signal.lfilter(b, a, s), side="scipy")

for deg in (50, 200):
    c = coefficients(deg + 1)
    row("PolyRoots", deg, lambda: np.roots(c))

xf, yf = line(100000, -1, 1), wiggle(100000)
row("PolyFit deg 5", 100000, lambda: np.polyfit(xf, yf, 5))

for k in (100000, 1000000):
    xs, ys = line(k, 0, k - 1), wiggle(k)
    row("Spline1D", k, lambda: scipy.interpolate.CubicSpline(xs, ys), side="scipy")

pp = scipy.interpolate.CubicSpline(line(10001, 0, 10000), wiggle(10001))
xi = line(N, 0, 10000)
row("Evaluate ascending", N, lambda: pp(xi), side="scipy")
row("Evaluate bisection", N, lambda: pp(xi), side="scipy")

xd, yd = line(100000, 0, 99999), wiggle(100000)
xi = line(N, 0, 99999)
row("InterpolateEqd linear", N, lambda: np.interp(xi, xd, yd))
row("Interpolate linear", N, lambda: np.interp(xi, xd, yd))

#!/usr/bin/python3
"""The interpolation and polynomial fitting pages against scipy and numpy, on the pages' own random walks.

The walks: the run-time generator (platform/rtl/Random.cpp, SplitMix64) re-seeded from the clock reading CLOCK that
the tests install through its seam, drawn as the pages draw them. The integer walks are committed with the results,
so a test first checks that the page drew exactly this walk.
- Interpolation (N = 5000, M = 8): scipy's CubicSpline with not-a-knot ends and interp1d (linear), both
  extrapolating past the last point, at the grid k/M, k = 0 .. N·M − 1; every 97th value and the last 2·M.
- Least squares (orders 3 and 8, M = 5): numpy.polyfit and polyval at k/M, k = 0 .. 1000·M − 1, and the error
  estimate √(1 + ‖R⁻ᵀv‖²)·normr/√df with v the row of the fit's basis at the point, R from the QR of that basis;
  the basis is Chebyshev on [0, 999] (the estimate does not depend on the basis of the same polynomials, and this
  one is well conditioned); every 53rd value and the last M.

Run: /usr/bin/python3 tests/data/gen_interp_fit_golden.py   (writes interp_fit_golden.inc)
"""
import numpy as np
from numpy.polynomial import chebyshev
from scipy.interpolate import CubicSpline, interp1d
from scipy.linalg import solve_triangular

from golden import lit, write

CLOCK = 0x1234ABCD
MASK = (1 << 64) - 1
INC = 0x9E3779B97F4A7C15


def mix(z):
    z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK
    z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK
    return z ^ (z >> 31)


class Generator:
    def __init__(self, clock):
        self.state = mix(clock ^ 0x6A09E667F3BCC909)

    def random(self, n):
        self.state = (self.state + INC) & MASK
        return ((mix(self.state) >> 32) * n) >> 32


def interp_walk(n):
    g = Generator(CLOCK)
    y = [1000]
    for _ in range(1, n):
        y.append(y[-1] + 250 - g.random(500))
    return np.array(y, dtype=float)


def poly_walk():
    g = Generator(CLOCK)
    x = g.random(1000)
    out = []
    for _ in range(1000):
        x = x + g.random(1000) - 500
        out.append(x)
    return np.array(out, dtype=float)


def ints(a):
    return "{" + ", ".join(str(int(v)) for v in a) + "}"


def samples(values, every, tail):
    idx = sorted(set(range(0, len(values), every)) | set(range(len(values) - tail, len(values))))
    return "{" + ", ".join(f"{{{i}, {lit(values[i])}}}" for i in idx) + "}"


lines = []
# ---- Interpolation ----
N, M = 5000, 8
y = interp_walk(N)
x = np.arange(N, dtype=float)
xi = np.arange(N * M) / M
cubic = CubicSpline(x, y, bc_type="not-a-knot", extrapolate=True)(xi)
linear = interp1d(x, y, kind="linear", fill_value="extrapolate")(xi)
lines += [f"static const int kInterpWalk[{N}] = {ints(y)};",
          f"static const double kInterpWalkMaxAbs = {lit(np.max(np.abs(y)))};",
          f"static const GoldSample kInterpCubic[] = {samples(cubic, 97, 2 * M)};",
          f"static const GoldSample kInterpLinear[] = {samples(linear, 97, 2 * M)};"]

# ---- Least squares ----
yp = poly_walk()
xp = np.arange(1000, dtype=float)
lines.append(f"static const int kPolyWalk[1000] = {ints(yp)};")
Mp = 5
xip = np.arange(1000 * Mp) / Mp
for deg in (3, 8):
    coef = np.polyfit(xp, yp, deg)
    fitted = np.polyval(coef, xip)
    t = lambda v: (v - 499.5) / 499.5
    V = chebyshev.chebvander(t(xp), deg)
    c, *_ = np.linalg.lstsq(V, yp, rcond=None)
    normr = np.linalg.norm(V @ c - yp)
    df = len(yp) - deg - 1
    _, R = np.linalg.qr(V)
    Z = solve_triangular(R.T, chebyshev.chebvander(t(xip), deg).T, lower=True)
    delta = normr / np.sqrt(df) * np.sqrt(1 + np.sum(Z * Z, axis=0))
    lines += [f"static const GoldSample kPolyFitted{deg}[] = {samples(fitted, 53, Mp)};",
              f"static const GoldSample kPolyDelta{deg}[] = {samples(delta, 53, Mp)};",
              f"static const double kPolyL2R{deg} = {lit(normr)};"]
write("interp_fit_golden.inc", lines, "{index, value} samples; walks as integers")

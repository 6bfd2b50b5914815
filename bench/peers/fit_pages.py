"""Peers of the interpolation, least-squares and probability pages (bench/bench_fit_pages.cpp).

- "Interpolate cubic|100000": scipy.interpolate.CubicSpline (not-a-knot) built on the walk and evaluated at the grid
  1/10 apart, the grid included; "Interpolate linear|100000": numpy.interp on the same grid.
- "Fit order 20, M|5" and "|20": numpy.polyfit, numpy.polyval at the grid 1/M apart, and the error estimate
  (L2R/√df)·√(1 + ‖R⁻ᵀv‖²) with R from numpy.linalg.qr of the Vandermonde matrix and scipy's solve_triangular.
- "Calc probability <distribution>|100": scipy.stats pdf and cdf at the page's starting x and pdf over the page's
  100-point grid; "Calc x <distribution>|1": ppf(0.3). The distributions as mapped in
  tests/data/gen_prob_calc_golden.py.
"""
import warnings

import numpy as np
import scipy.stats as st
from scipy.interpolate import CubicSpline
from scipy.linalg import solve_triangular

from common import row

warnings.simplefilter("ignore")

# ---- Interpolation: the walk of the page from the same fixed seed as ours ----
N, M = 100000, 10
y = np.empty(N)
s = 7
y[0] = 1000
for i in range(1, N):
    s = (s * 6364136223846793005 + 1442695040888963407) & ((1 << 64) - 1)
    y[i] = y[i - 1] + 250 - ((s >> 33) % 500)
x = np.arange(N, dtype=float)
row("Interpolate cubic", N, lambda: CubicSpline(x, y)(np.arange(N * M) / M), side="scipy")
row("Interpolate linear", N, lambda: np.interp(np.arange(N * M) / M, x, y))

# ---- Least squares ----
rng = np.random.default_rng(3)
xp = np.arange(1000, dtype=float)
yp = np.cumsum(rng.integers(-500, 500, 1000)).astype(float)


def fit(m, deg=20):
    coef = np.polyfit(xp, yp, deg)
    V = np.vander(xp, deg + 1)
    _, R = np.linalg.qr(V)
    normr = np.linalg.norm(V @ coef - yp)
    xi = np.arange(1000 * m) / m
    yc = np.polyval(coef, xi)
    Z = solve_triangular(R.T, np.vander(xi, deg + 1).T, lower=True)
    delta = normr / np.sqrt(1000 - deg - 1) * np.sqrt(1 + np.sum(Z * Z, axis=0))
    return yc, delta


for m in (5, 20):
    row("Fit order 20, M", m, lambda m=m: fit(m))

# ---- Probability calculator: (caption, distribution, x, grid offset, grid step) ----
DISTS = [
    ("Beta", st.beta(0.25, 0.75), 0.5, 0.01, 0.0099),
    ("Binomial", st.binom(4, 0.75), 3, 0, 0.04),
    ("Cauchy", st.cauchy(loc=2, scale=2.12), 3, 0, 0.1),
    ("Chi2", st.chi2(5), 1.2, 0.02, 0.25),
    ("Exponential", st.expon(scale=0.95), 3.25, 0, 0.0475),
    ("F (Fisher)", st.f(7, 3), 0.5, 0, 1),
    ("Gamma", st.gamma(1.95, scale=5), 0.32, 0.02, 0.2),
    ("Geometric", st.geom(0.15, loc=-1), 2.5, 0, 1),
    ("Hypergeometric", st.hypergeom(10, 6, 5), 2.5, 0, 0.05),
    ("Maxwell", st.maxwell(scale=0.95 ** -0.5), 1.2, 0, 0.06),
    ("Negative binomial", st.nbinom(5, 0.75), 2, 0, 0.1),
    ("Normal", st.norm(0, 1), 1, -10, 0.2),
    ("Pareto", st.pareto(1.1, scale=0.3), 2.5, 0.4, 0.1),
    ("Poisson", st.poisson(13.2), 7, 0, 1),
    ("Student (t)", st.t(3), 5.5, -9, 0.18),
    ("Rayleigh", st.rayleigh(scale=1), 3, 0.1, 0.15),
    ("Uniform continuous", st.uniform(-3, 8), 1, -3, 0.08),
    ("Uniform discrete", st.randint(1, 6), 3.1, 1, 0.05),
    ("Weibull", st.weibull_min(c=2.5, scale=0.75 ** (-1 / 2.5)), 1.25, 0.02, 0.1),
]


def calc_probability(d, xv, offset, step):
    density = d.pmf if hasattr(d, "pmf") else d.pdf
    return density(xv), d.cdf(xv), density(offset + step * np.arange(100))


for caption, d, xv, offset, step in DISTS:
    row(f"Calc probability {caption}", 100, lambda d=d, xv=xv, o=offset, s=step: calc_probability(d, xv, o, s),
        side="scipy")
    row(f"Calc x {caption}", 1, lambda d=d: d.ppf(0.3), side="scipy")

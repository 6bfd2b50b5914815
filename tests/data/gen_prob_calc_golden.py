#!/usr/bin/python3
"""The probability calculator page against scipy.stats: for each of its 19 distributions, at the page's starting
values, the density and the distribution function at x, the inverse distribution function at 0.3, and the plotting
grid with the densities over it (raised to 2^-52 where below, as the page plots them).

The page's parameters mapped to scipy: Cauchy(m, b) = cauchy(loc=m, scale=b); Exp(Mu) = expon(scale=Mu);
Gamma(a, b) = gamma(a, scale=b); Geometric(p) counts failures = geom(p, loc=-1); Hypergeometric(M, K, N) =
hypergeom(M, K, N); Maxwell(a) = maxwell(scale=a^(-1/2)); NegBinom(R, p) = nbinom(R, p); Pareto(a, b) =
pareto(a, scale=b); Rayleigh(b) = rayleigh(scale=b); Uniform(a, b) = uniform(a, b - a); UniformD(N) = randint(1,
N + 1); Weibull(a, b) = weibull_min(c=b, scale=a^(-1/b)). The discrete mass functions take Trunc(x) where the
library does (Binomial, Hypergeometric, and the page's Integer x of Poisson); Geometric, NegBinom and UniformD are 0
off the whole numbers; Geometric's distribution function rounds x to the nearest whole number, ties to even.

Run: /usr/bin/python3 tests/data/gen_prob_calc_golden.py   (writes prob_calc_golden.inc)
"""
import math

import numpy as np
import scipy.stats as st

from golden import doubles, lit, write

FLOOR = 2.0 ** -52


def trunc_pmf(d):
    return lambda x: d.pmf(np.trunc(x))


def whole_pmf(d):
    return lambda x: np.where(np.asarray(x) == np.round(x), d.pmf(np.round(x)), 0.0)


# (item, caption, row values as the page shows them at 8 decimals (whole rows already rounded), distribution,
#  pdf, cdf, grid offset and step, x)
def cases():
    out = []

    def add(item, name, d, x, grid, pdf=None, cdf=None, ppf=None):
        out.append((item, name, d, x, grid, pdf or d.pdf, cdf or d.cdf, ppf or d.ppf))

    add(0, "Beta", st.beta(0.25, 0.75), 0.5, (0.01, 0.0099))
    b = st.binom(4, 0.75)
    add(1, "Binomial", b, 3, (0, 0.01 * 4), pdf=trunc_pmf(b), cdf=lambda x: b.cdf(np.trunc(x)))
    add(2, "Cauchy", st.cauchy(loc=2, scale=2.12), 3, (0, 0.1))  # m shows "2", x "3"
    add(3, "Chi2", st.chi2(5), 1.2, (0.02, 0.05 * 5))
    add(4, "Exponential", st.expon(scale=0.95), 3.25, (0, 0.05 * 0.95))
    add(5, "F (Fisher)", st.f(7, 3), 0.5, (0, 1))
    add(6, "Gamma", st.gamma(1.95, scale=5), 0.32, (0.02, 0.2))
    g = st.geom(0.15, loc=-1)
    add(7, "Geometric", g, 2.5, (0, 1), pdf=whole_pmf(g), cdf=lambda x: g.cdf(np.round(x)))
    h = st.hypergeom(10, 6, 5)
    add(8, "Hypergeometric", h, 2.5, (0, 0.01 * 5), pdf=trunc_pmf(h), cdf=lambda x: h.cdf(np.trunc(x)))
    add(9, "Maxwell", st.maxwell(scale=0.95 ** -0.5), 1.2, (0, 0.05 * 1.2))
    nb = st.nbinom(5, 0.75)
    add(10, "Negative binomial", nb, 2, (0, 0.02 * 5), pdf=whole_pmf(nb))
    add(11, "Normal", st.norm(0, 1), 1, (0 - 10 * 1, 0.2 * 1))
    add(12, "Pareto", st.pareto(1.1, scale=0.3), 2.5, (0.3 + 0.1, 0.1))
    po = st.poisson(13.2)
    add(13, "Poisson", po, 7, (0, 1), pdf=po.pmf)
    add(14, "Student (t)", st.t(3), 5.5, (-3 * 3, 0.06 * 3))
    add(15, "Rayleigh", st.rayleigh(scale=1), 3, (0.1, 0.05 * 3))  # x shows "3"
    add(16, "Uniform continuous", st.uniform(-3, 8), 1, (-3, 0.01 * 8))
    ud = st.randint(1, 6)
    add(17, "Uniform discrete", ud, 3.1, (1, 0.01 * 5), pdf=whole_pmf(ud))
    add(18, "Weibull", st.weibull_min(c=2.5, scale=0.75 ** (-1 / 2.5)), 1.25, (0.02, 0.1))
    return out


P_INV = 0.3
lines = ["// {item, caption, PDF(x), CDF(x), CDFInv(0.3), grid offset, grid step, {100 densities}}",
         "static const ProbCalcRow kCalcRows[] = {"]
for item, name, d, x, (offset, step), pdf, cdf, ppf in cases():
    grid = offset + step * np.arange(100)
    dens = np.maximum(np.asarray(pdf(grid), dtype=float), FLOOR)
    inv = float(ppf(P_INV))
    if name == "Poisson":
        inv = math.trunc(inv)
    lines.append(f'    {{{item}, "{name}", {lit(pdf(x))}, {lit(cdf(x))}, {lit(inv)}, {lit(offset)}, {lit(step)}, '
                 f'{doubles(dens)}}},')
lines.append("};")
write("prob_calc_golden.inc", lines)

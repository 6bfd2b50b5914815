"""Peers of bench/bench_probabilities.cpp: the densities as numpy operations into preallocated arrays, scipy.special's
ndtr and gammainc, scipy.stats' binom.ppf and poisson.ppf, on the same arguments (rebuilt from frac(k·phi))."""
import numpy as np
import scipy.special
import scipy.stats

from common import row


def arguments(n, lo, hi):
    return lo + (hi - lo) * np.fmod(np.arange(n, dtype=float) * 0.6180339887498949, 1.0)


SQRT2PI = np.sqrt(2 * np.pi)

for n in (1_000_000, 10_000_000):
    t = np.empty(n)
    w = np.empty(n)
    out = np.empty(n)

    x = arguments(n, -5, 5)

    def normal_pdf(x=x):
        # exp(-((x - mu)/sigma)^2/2)/(sigma*sqrt(2 pi))
        np.subtract(x, 0.5, out=t)
        np.divide(t, 1.5, out=t)
        np.square(t, out=t)
        np.multiply(t, -0.5, out=t)
        np.exp(t, out=t)
        np.multiply(t, 1 / (1.5 * SQRT2PI), out=out)

    row("NormalPDF", n, normal_pdf)

    xl = arguments(n, 1e-9, 10)

    def lognormal_pdf(x=xl):
        # exp(-(ln x - mu)^2/(2 sigma^2))/(x sigma sqrt(2 pi))
        np.log(x, out=t)
        np.subtract(t, 0.2, out=t)
        np.square(t, out=t)
        np.multiply(t, -1 / (2 * 0.7 * 0.7), out=t)
        np.exp(t, out=t)
        np.divide(t, x, out=t)
        np.multiply(t, 1 / (0.7 * SQRT2PI), out=out)

    row("LogNormalPDF", n, lognormal_pdf)

    xw = arguments(n, 0, 4)

    def weibull_pdf(x=xw):
        # a b x^(b-1) exp(-a x^b)
        np.power(x, 1.7, out=w)
        np.multiply(w, -0.8, out=w)
        np.exp(w, out=w)
        np.power(x, 0.7, out=t)
        np.multiply(t, w, out=t)
        np.multiply(t, 0.8 * 1.7, out=out)

    row("WeibullPDF", n, weibull_pdf)
    del t, w, out

N = 1_000_000
out = np.empty(N)
xn = arguments(N, -5, 5)
row("NormalCDF", N, lambda: scipy.special.ndtr(xn, out=out), side="scipy")
xg = arguments(N, 0, 15)
row("GammaCDF", N, lambda: scipy.special.gammainc(2.5, xg / 1.5, out=out), side="scipy")

p = arguments(1000, 1e-9, 1)
binom = scipy.stats.binom(100_000, 0.3)
poisson = scipy.stats.poisson(500)
row("BinomCDFInv", 100_000, lambda: binom.ppf(p), side="scipy")
row("PoissonCDFInv", 500, lambda: poisson.ppf(p), side="scipy")

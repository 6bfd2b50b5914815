"""numpy and scipy peers of bench/bench_scalar_functions.cpp: numpy.sort of 10^6 complex values (numpy orders by
real part, then imaginary part; the row compares timing only), scipy's gamma and gammaln on 10^6 doubles in the
same range as ours, (-29.15, 140)."""
import numpy as np
import scipy.special

from common import row

N = 1_000_000
rng = np.random.default_rng(112)
base = np.array([3 + 4j, 4 + 3j, 5, 5j, -3 + 4j, -4 - 3j, -5j, 3 - 4j])
v = np.where(np.arange(N) % 2 == 0, base[rng.integers(0, 8, N)], rng.normal(size=N) + 1j * rng.normal(size=N))

row("SortCplx", N, lambda: np.sort(v))

x = 17 * rng.uniform(0.05, 10, N) - 30
out = np.empty(N)
row("Gamma", N, lambda: scipy.special.gamma(x, out=out), side="scipy")
row("LnGamma", N, lambda: scipy.special.gammaln(x, out=out), side="scipy")

"""numpy peer of the complex sort row of bench/bench_scalar_functions.cpp: numpy.sort of 10^6 complex values
(numpy orders by real part, then imaginary part; the row compares timing only)."""
import numpy as np

from common import row

N = 1_000_000
rng = np.random.default_rng(112)
base = np.array([3 + 4j, 4 + 3j, 5, 5j, -3 + 4j, -4 - 3j, -5j, 3 - 4j])
v = np.where(np.arange(N) % 2 == 0, base[rng.integers(0, 8, N)], rng.normal(size=N) + 1j * rng.normal(size=N))

row("SortCplx", N, lambda: np.sort(v))

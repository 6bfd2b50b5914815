"""numpy peer of the vector statistics rows: numpy.sort and numpy.argsort of 10^6 reals and complex values (each
call sorts a fresh copy, as the library's rows copy before sorting), numpy.mean, sum, std(ddof=1) and median at
10^6 and 10^7, numpy.dot and numpy.vdot and numpy.linalg.norm at 10^6. OPENBLAS_NUM_THREADS as scripts/bench sets
it."""
import numpy as np

from common import row

N = 1000000
rng = np.random.default_rng(1)
x = rng.normal(size=N)
z = rng.normal(size=N) + 1j * rng.normal(size=N)
row("SortAscend real", N, lambda: np.sort(x))
row("SortAscend real IndexVec", N, lambda: np.argsort(x))
row("SortAscend complex", N, lambda: np.sort(z))
row("SortAscend complex IndexVec", N, lambda: np.argsort(z))

for n in (1000000, 10000000):
    v = rng.normal(size=n)
    row("Mean", n, lambda: np.mean(v))
    row("Sum", n, lambda: np.sum(v))
    row("StdDev", n, lambda: np.std(v, ddof=1))
    row("Median", n, lambda: np.median(v))

a, b = rng.normal(size=N), rng.normal(size=N)
row("DotProd real", N, lambda: np.dot(a, b))
za = rng.normal(size=N) + 1j * rng.normal(size=N)
zb = rng.normal(size=N) + 1j * rng.normal(size=N)
row("DotProd conj", N, lambda: np.vdot(zb, za))
row("NormL2", N, lambda: np.linalg.norm(a))

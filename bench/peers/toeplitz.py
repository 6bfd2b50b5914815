"""scipy peers of the Toeplitz rows (bench/bench_toeplitz.cpp): scipy.linalg.solve_toeplitz of a diagonally
dominant non-symmetric system (real at n = 500, 2000, 8000, complex at 2000), the same routine on the symmetric
normal equations of an autocorrelation for the Levinson rows (the filter (1, a) put together as Levinson returns it),
and numpy's M[:, c].copy() of a 4000 x 4000 matrix. The same kinds of data and sizes as the C++ side; the recursion
runs in one thread on both sides."""
import numpy as np
import scipy.linalg

from common import row

rng = np.random.default_rng(1)


def system(n, complex_=False):
    def values(m):
        v = rng.uniform(-1, 1, m)
        return v + 1j * rng.uniform(-1, 1, m) if complex_ else v

    k = np.arange(n, dtype=float)
    r = values(n) / (k + 1) ** 2
    c = values(n) / (k + 2) ** 2
    r[0] = 4
    first_col = np.concatenate([r[:1], c[:n - 1]])
    return first_col, r, values(n)


for n in (500, 2000, 8000):
    col, first_row, b = system(n)
    row("ToeplitzSolve", n, lambda: scipy.linalg.solve_toeplitz((col, first_row), b), side="scipy")

col, first_row, b = system(2000, True)
row("ToeplitzSolve complex", 2000, lambda: scipy.linalg.solve_toeplitz((col, first_row), b), side="scipy")


def levinson(r):
    return np.concatenate([[1.0], scipy.linalg.solve_toeplitz(r[:-1], -r[1:])])


for n in (500, 2000, 8000):
    s = rng.uniform(-1, 1, 4 * n)
    r = np.array([s[k:] @ s[:4 * n - k] for k in range(n)]) / (4 * n)
    row("Levinson", n, lambda: levinson(r), side="scipy")

m = rng.uniform(-1, 1, (4000, 4000))
row("GetCol", 4000, lambda: m[:, 2000].copy())

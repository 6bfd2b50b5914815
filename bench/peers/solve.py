"""numpy and scipy peers of the linear-solver rows: numpy.linalg.solve of a general n x n system with 1 and 100
right-hand sides, scipy.linalg.solve with assume_a='pos', scipy.linalg.solve (getrf, getrs and gecon) for the row
with the condition estimate, and scipy.linalg.solve_banded of a tridiagonal system of order 10^5. The same matrices
in kind and size as bench/bench_solve.cpp; numpy and scipy use the same OpenBLAS as the library, with
OPENBLAS_NUM_THREADS as scripts/bench sets it."""
import numpy as np
import scipy.linalg

from common import row

rng = np.random.default_rng(1)


def system(n, posdef=False):
    a = rng.uniform(-1, 1, (n, n))
    if posdef:
        return a.T @ a + n * np.eye(n)
    return a + 2 * np.eye(n)


for n in (100, 1000, 2000):
    a = system(n)
    for nrhs in (1, 100):
        b = rng.uniform(-1, 1, n if nrhs == 1 else (n, nrhs))
        row(f"LUSolve nrhs={nrhs}", n, lambda: np.linalg.solve(a, b))

b = rng.uniform(-1, 1, 1000)
a = system(1000, posdef=True)
row("LUSolve SymmPosDef", 1000, lambda: scipy.linalg.solve(a, b, assume_a="pos"), side="scipy")
a = system(1000)
row("LUSolve cnNorm1", 1000, lambda: scipy.linalg.solve(a, b), side="scipy")

n = 100000
ab = rng.uniform(-1, 1, (3, n))
ab[1] += 4
b = rng.uniform(-1, 1, n)
row("LUSolve band", n, lambda: scipy.linalg.solve_banded((1, 1), ab, b), side="scipy")

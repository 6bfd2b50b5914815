"""numpy/scipy peers of the eigenvalue, SVD and matrix function rows of bench/bench_eig.cpp: scipy.linalg.eigvalsh and
eigh with driver 'ev' (xSYEV: the same tridiagonal chain), numpy.linalg.eig, numpy.linalg.svd (xGESDD; values only
with compute_uv=False), scipy.linalg.sqrtm and numpy.linalg.matrix_power. numpy and scipy use the same OpenBLAS as the
library, with OPENBLAS_NUM_THREADS as scripts/bench sets it."""
import numpy as np
import scipy.linalg

from common import row

rng = np.random.default_rng(1)
for n in (500, 1000):
    a = rng.uniform(-1, 1, (n, n))
    a = np.tril(a) + np.tril(a, -1).T
    row("Eig symmetric values", n, lambda: scipy.linalg.eigvalsh(a, driver="ev"), side="scipy")
    row("Eig symmetric vectors", n, lambda: scipy.linalg.eigh(a, driver="ev"), side="scipy")

a = rng.uniform(-1, 1, (500, 500))
row("Eig general vectors", 500, lambda: np.linalg.eig(a))

for m, n in ((1000, 1000), (2000, 500)):
    a = rng.uniform(-1, 1, (m, n))
    row(f"SVD values {m}x{n}", m, lambda: np.linalg.svd(a, compute_uv=False))
    row(f"SVD full {m}x{n}", m, lambda: np.linalg.svd(a, full_matrices=True))

for n in (200, 500):
    a = rng.uniform(-1, 1, (n, n)) + np.sqrt(n) * np.eye(n)
    row("MtxSqrt", n, lambda: scipy.linalg.sqrtm(a), side="scipy")

a = rng.uniform(-1, 1, (200, 200)) * np.sqrt(3 / 200)
row("MtxIntPower k=1000", 200, lambda: np.linalg.matrix_power(a, 1000))

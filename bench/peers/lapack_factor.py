"""numpy/scipy peers of the least-squares, factorization, inverse, QR and determinant rows: numpy.linalg.inv,
scipy.linalg.lu, numpy.linalg.qr (reduced), numpy.linalg.lstsq (the same xGELSD driver) and numpy.linalg.det on the
sizes of bench/bench_lapack_factor.cpp. numpy and scipy use the same OpenBLAS as the library, with
OPENBLAS_NUM_THREADS as scripts/bench sets it."""
import numpy as np
import scipy.linalg

from common import row

rng = np.random.default_rng(1)
for n in (500, 1000, 2000):
    a = rng.uniform(-1, 1, (n, n))
    row("Inv", n, lambda: np.linalg.inv(a))
    row("LUD", n, lambda: scipy.linalg.lu(a), side="scipy")

a = rng.uniform(-1, 1, (2000, 500))
row("LQR 2000x500", 2000, lambda: np.linalg.qr(a))

a = rng.uniform(-1, 1, (1000, 500))
b = rng.uniform(-1, 1, 1000)
row("SVDSolve 1000x500", 1000, lambda: np.linalg.lstsq(a, b, rcond=-1))

for n in (100, 500):
    a = rng.uniform(-1, 1, (n, n))
    row("Determinant", n, lambda: np.linalg.det(a))

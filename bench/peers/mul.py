"""numpy peer of the matrix rows: numpy.matmul of two n x n matrices into a preallocated result, and
numpy.ascontiguousarray(A.T) of a 2000 x 2000 matrix (the transposed copy). numpy uses the same OpenBLAS as the
library, with OPENBLAS_NUM_THREADS as scripts/bench sets it."""
import numpy as np

from common import row

rng = np.random.default_rng(1)
for n in (8, 32, 100, 500, 1000, 2000):
    a = rng.uniform(-1, 1, (n, n))
    b = rng.uniform(-1, 1, (n, n))
    c = np.empty((n, n))
    row("Mul", n, lambda: np.matmul(a, b, out=c))

a = rng.uniform(-1, 1, (2000, 2000))
row("Transp", 2000, lambda: np.ascontiguousarray(a.T))
row("Transp in place", 2000, lambda: np.ascontiguousarray(a.T))

"""numpy peer of the matrix rows: numpy.matmul of two n x n matrices into a preallocated result, and the
transposed copy of a 2000 x 2000 matrix into a preallocated one. numpy uses the same OpenBLAS as the library, on
one thread as scripts/bench sets it, and on its default thread count for the "default threads" row."""
import numpy as np

from common import default_threads, row

rng = np.random.default_rng(1)
for n in (8, 32, 100, 500, 1000, 2000):
    a = rng.uniform(-1, 1, (n, n))
    b = rng.uniform(-1, 1, (n, n))
    c = np.empty((n, n))
    row("Mul", n, lambda: np.matmul(a, b, out=c))

a = rng.uniform(-1, 1, (2000, 2000))
t = np.empty((2000, 2000))
row("Transp", 2000, lambda: np.copyto(t, a.T))
# numpy has no transposition in place; the closest is the same copy into another matrix.
row("Transp in place", 2000, lambda: np.copyto(t, a.T))

# As a user gets it: OpenBLAS on its default thread count (ours switches the same way).
a = rng.uniform(-1, 1, (2000, 2000))
b = rng.uniform(-1, 1, (2000, 2000))
c = np.empty((2000, 2000))
with default_threads():
    row("Mul, default threads", 2000, lambda: np.matmul(a, b, out=c))

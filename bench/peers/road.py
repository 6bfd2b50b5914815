"""numpy peer of the timing pages' rows (bench_road.cpp): the product of two matrices of random integers 0 to 9
(numpy.matmul into a preallocated result), and copying and transposing an n x n matrix holding i*n + j into a
preallocated destination (numpy.copyto of the matrix and of its transposed view)."""
import numpy as np

from common import row

MUL_SIZES = (10, 24, 50, 100, 250, 375)
COPY_SIZES = (14, 100, 500, 1300)

rng = np.random.default_rng(7)
for n in MUL_SIZES:
    a = rng.integers(0, 10, (n, n)).astype(np.float64)
    b = rng.integers(0, 10, (n, n)).astype(np.float64)
    c = np.empty((n, n))
    row("page Mul", n, lambda a=a, b=b, c=c: np.matmul(a, b, out=c))

for n in COPY_SIZES:
    src = np.arange(n * n, dtype=np.float64).reshape(n, n)
    dst = np.empty((n, n))
    row("page Copy", n, lambda src=src, dst=dst: np.copyto(dst, src))
for n in COPY_SIZES:
    src = np.arange(n * n, dtype=np.float64).reshape(n, n)
    dst = np.empty((n, n))
    row("page Transp", n, lambda src=src, dst=dst: np.copyto(dst, src.T))

"""numpy peer of the matrix reduction, stacking and 2-D FFT rows: sum, max, sum(axis=1) into a preallocated vector
and linalg.norm (Frobenius) of an n × n matrix, concatenate of ten 100 × 1000 blocks into a preallocated matrix,
and numpy.fft.fft2/rfft2 (which return new arrays: numpy has no transform in place)."""
import numpy as np

from common import row

rng = np.random.default_rng(1)
for n in (1000, 4000):
    a = rng.uniform(-1, 1, (n, n))
    v = np.empty(n)
    row("Mtx.Sum", n, lambda: a.sum())
    row("Mtx.Max", n, lambda: a.max())
    row("Mtx.SumRows", n, lambda: a.sum(axis=1, out=v))
    row("Mtx.NormFro", n, lambda: np.linalg.norm(a))

parts = [rng.uniform(-1, 1, (100, 1000)) for _ in range(10)]
out = np.empty((1000, 1000))
row("Mtx.ConcatVert", 10, lambda: np.concatenate(parts, axis=0, out=out))

for n in (256, 1024, 2048):
    z = rng.uniform(-1, 1, (n, n)) + 1j * rng.uniform(-1, 1, (n, n))
    row("Mtx.FFT complex", n, lambda: np.fft.fft2(z))
x = rng.uniform(-1, 1, (1024, 1024))
row("Mtx.FFT real", 1024, lambda: np.fft.rfft2(x))

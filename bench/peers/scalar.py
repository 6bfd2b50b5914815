"""numpy peer of the complex scalar rows: element-wise complex arithmetic on 10^6 pairs, every result into a
preallocated array as ours writes it."""
import numpy as np

from common import row

N = 1_000_000
rng = np.random.default_rng(7)
a = rng.uniform(-10, 10, N) + 1j * rng.uniform(-10, 10, N)
b = rng.uniform(-10, 10, N) + 1j * rng.uniform(-10, 10, N)
r = np.empty_like(a)
mag = np.empty(N)

row("CAdd", N, lambda: np.add(a, b, out=r))
row("CMul", N, lambda: np.multiply(a, b, out=r))
row("CDiv", N, lambda: np.divide(a, b, out=r))
row("CAbs", N, lambda: np.abs(a, out=mag))

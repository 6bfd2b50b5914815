"""numpy peer of the signal rows: FFTs of 2^10, 2^16 and 2^20 points and ufuncs on 10^6 elements."""
import numpy as np

from common import default_threads, row

rng = np.random.default_rng(1)
for order in (10, 16, 20):
    n = 1 << order
    z = rng.uniform(-1, 1, n) + 1j * rng.uniform(-1, 1, n)
    x = rng.uniform(-1, 1, n)
    row("nspzFft", n, lambda: np.fft.fft(z))
    row("nspdRealFft", n, lambda: np.fft.rfft(x))

# numpy's FFT runs on the calling thread whatever the thread settings.
with default_threads():
    n = 1 << 20
    z = rng.uniform(-1, 1, n) + 1j * rng.uniform(-1, 1, n)
    row("nspzFft, default threads", n, lambda: np.fft.fft(z))

N = 1_000_000
r = np.empty(N)
e = rng.uniform(-50, 50, N)
ln = rng.uniform(1e-3, 1e3, N)
s = rng.uniform(-100, 100, N)
a = rng.uniform(-1, 1, N)
b = rng.uniform(-1, 1, N)
row("VDEXP", N, lambda: np.exp(e, out=r))
row("VDLN", N, lambda: np.log(ln, out=r))
row("VDSIN", N, lambda: np.sin(s, out=r))
row("nspdbAdd3", N, lambda: np.add(a, b, out=r))

"""numpy/scipy peers of the signal member rows: scipy.fft.dct (norm='ortho'), scipy.signal.hilbert, np.convolve and
scipy.signal.fftconvolve, scipy.signal.convolve2d, numpy.fft.rfft in place of a Goertzel filter, default_rng fills
into a preallocated array, and the reshape reductions of pixel down-sampling."""
import numpy as np
import scipy.fft
import scipy.signal

from common import row

rng = np.random.default_rng(1)
for n in (1 << 10, 1 << 16, 1 << 20, 1000000):
    x = rng.uniform(-1, 1, n)
    row("TVec.DCT", n, lambda: scipy.fft.dct(x, norm="ortho"))

x = rng.uniform(-1, 1, 1 << 20)
row("TVec.Hilbert", 1 << 20, lambda: scipy.signal.hilbert(x))

for n, m, name in ((1000, 1000, "TVec.Convolve by 1000"), (1000000, 64, "TVec.Convolve by 64"),
                   (1000000, 10000, "TVec.Convolve by 10000")):
    x = rng.uniform(-1, 1, n)
    h = rng.uniform(-1, 1, m)
    row(name, n, lambda: np.convolve(x, h), min_time=0.01 if m == 10000 else None)
    row(name, n, lambda: scipy.signal.fftconvolve(x, h), side="fftconvolve")

a = rng.uniform(-1, 1, (1024, 1024))
k = rng.uniform(-1, 1, (5, 5))
row("TMtx.Convolve full by 5x5", 1024, lambda: scipy.signal.convolve2d(a, k))

x = rng.uniform(-1, 1, 1 << 20)
row("TVec.Goertz", 1 << 20, lambda: np.fft.rfft(x))

out = np.empty(10000000)
g = np.random.default_rng(7)
row("TVec.RandUniform", 10000000, lambda: g.random(out=out))
row("TVec.RandGauss", 10000000, lambda: g.standard_normal(out=out))

x = rng.uniform(-1, 1, 10000000)


def pairs():
    b = x.reshape(2000, 5000)
    return b.max(axis=1), b.min(axis=1)


row("TVec.PixelDownSample to 2000", 10000000, pairs)

m = rng.uniform(-1, 1, (4000, 4000))
f2 = (500 / 4000) ** 2
row("TMtx.PixelDownSample average to 500", 4000,
    lambda: np.abs(m).reshape(500, 8, 500, 8).sum(axis=(1, 3)) * f2)

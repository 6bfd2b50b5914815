"""numpy/scipy peers of the spectrum rows of bench/bench_demo_pages.cpp: the same steps as the page "Levinson Yule
Walker" on demo/FFTData.vec. AR: read the file, x[:N] (zero-extended), the biased autocorrelation with p lags
(numpy.correlate), scipy.linalg.solve_toeplitz for the model (1, a), zero padding to the power of two >= p * factor,
numpy.fft.rfft, magnitudes, reciprocals, log10. FFT: read the file, x[:p] padded to pow2(p) * factor, rfft,
magnitudes, values below 1e-5 raised, log10. One thread (OPENBLAS_NUM_THREADS=1 from scripts/bench)."""
import os

import numpy as np
import scipy.linalg

from common import row

FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "demo", "FFTData.vec")


def load():
    return np.fromfile(FILE, dtype="<f8", offset=48)


def pow2(n):
    p = 2
    while p < n:
        p *= 2
    return p


def ar(n, p, factor):
    x = load()
    s = np.zeros(n)
    s[:min(n, len(x))] = x[:n]
    r = np.correlate(s, s, "full")[n - 1:n - 1 + p] / n
    a = np.concatenate([[1.0], scipy.linalg.solve_toeplitz(r[:-1], -r[1:])])
    length = pow2(len(a) * factor)
    return np.log10(1.0 / np.abs(np.fft.rfft(a, length)[:length // 2]))


def fft(p, factor):
    x = load()
    length = pow2(p) * factor
    return np.log10(np.maximum(np.abs(np.fft.rfft(x[:p], length)[:length // 2]), 1e-5))


for name, n, p, factor in (("2000 4x", 2000, 1000, 4), ("8000 16x", 8000, 8000, 16)):
    row(f"AR spectrum {name}", p, lambda: ar(n, p, factor), side="numpy")
    row(f"FFT spectrum {name}", p, lambda: fft(p, factor), side="numpy")

#!/usr/bin/python3
"""The two spectra of the page "Levinson Yule Walker" (tests/demo/test_spectrum_pages.cpp), written through golden.py.

Input        demo/FFTData.vec (scripts/make-fftdata), the first N samples.
AR rows      r = the biased autocorrelation of x[:N] with p lags, r[k] = sum(x[k:N] * x[:N-k]) / N; A = (1, a) with
             a = scipy.linalg.solve_toeplitz(r[:p-1], -r[1:p]) (A = (1) for p = 1); A zero-padded to L = the smallest
             power of two >= max(p * factor, 2); spectrum = log10(1 / |rfft(A)[:L/2]|).
FFT rows     x[:p] zero-padded to L = (smallest power of two >= max(p, 2)) * factor; spectrum =
             log10(max(|rfft|[:L/2], 1e-5)).
Rows         every stride-th value of a spectrum (at most 512 values a row), with a tolerance in log10 units: the AR
             spectra through a Levinson recursion of order p - 1 against scipy's solver differ by the rounding of the
             Toeplitz system, which grows with its condition number (cond(T) * 64 eps, at least 1e-12); the FFT
             spectra agree to 1e-12.

Run: /usr/bin/python3 tests/data/gen_yule_levinson_golden.py   (writes yule_levinson_golden.inc next to this script)
"""
import os
import struct

import numpy as np
import scipy.linalg

from golden import HERE, doubles, lit, write

EPS = np.finfo(float).eps
CASES = [(2000, 1000, 4), (2000, 50, 4), (50, 25, 1), (8000, 8000, 1), (2000, 1, 4)]


def signal():
    data = open(os.path.join(HERE, "..", "..", "demo", "FFTData.vec"), "rb").read()
    n = int(round(struct.unpack("<f", data[4:8])[0]))
    return np.array(struct.unpack("<%dd" % n, data[48:48 + 8 * n]))


def exp2(n):
    p = 2
    while p < n:
        p *= 2
    return p


def ar_spectrum(x, n, p, factor):
    s = np.zeros(n)
    s[:min(n, len(x))] = x[:n]
    r = np.array([np.dot(s[k:], s[:n - k]) / n for k in range(p)])
    if p > 1:
        a = scipy.linalg.solve_toeplitz(r[:p - 1], -r[1:p])
        t = scipy.linalg.toeplitz(r[:p - 1])
        tol = max(1e-12, 64 * EPS * np.linalg.cond(t))
    else:
        a, tol = np.zeros(0), 1e-12
    model = np.concatenate([[1.0], a])
    length = exp2(len(model) * factor)
    spec = np.abs(np.fft.rfft(model, length))[:length // 2]
    return np.log10(1.0 / spec), tol


def fft_spectrum(x, p, factor):
    length = exp2(p) * factor
    spec = np.abs(np.fft.rfft(x[:p], length))[:length // 2]
    return np.log10(np.maximum(spec, 1e-5)), 1e-12


def rows():
    x = signal()
    lines = []
    for n, p, factor in CASES:
        for kind, (spec, tol) in (("AR", ar_spectrum(x, n, p, factor)), ("FFT", fft_spectrum(x, p, factor))):
            stride = max(1, len(spec) // 512)
            lines.append(f'{{"{kind} {n} {p} {factor}x", {n}, {p}, {factor}, {str(kind == "AR").lower()}, '
                         f'{len(spec)}, {stride}, {doubles(spec[::stride])}, {lit(tol)}}},')
    return lines


if __name__ == "__main__":
    write("yule_levinson_golden.inc", rows(),
          "{ what, N, p, factor, AR, spectrum length, stride, {every stride-th value}, tolerance }")

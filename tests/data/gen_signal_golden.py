#!/usr/bin/python3
"""The vector and matrix signal members against numpy/scipy, for tests/core/test_signal.cpp and
tests/core/test_pixel_downsample.cpp.

Inputs come from the generator of tests/platform/GoldenInput.h (seeds in the rows, rebuilt bit for bit in C++).
Rows hold every value of a short result, or the values at probe indices of a long one:
  dct      scipy.fft.dct / idct, norm='ortho'
  hilbert  scipy.signal.hilbert
  conv     numpy.convolve, every kind pair, sizes on both sides of the FFT crossover
  corr     scipy.signal.correlate (full) at the lags of scipy.signal.correlation_lags
  auto     numpy.correlate(x, x) from lag 0, raw, /N and /(N - k)
  conv2    scipy.signal.convolve2d, mode 'full' and 'same'
  goertz   extended-precision sums Σ x[n]·e^(-2πi·f·n) over 10^6 samples (the phase f·n mod 1 exact in integers,
           the terms and the sum in 80-bit long double)
  pixel    numpy reshape reductions of the equally spaced form, the unequal rule written in numpy, and the three
           matrix modes

Run: /usr/bin/python3 tests/data/gen_signal_golden.py   (writes signal_golden.inc next to this script)
"""
from fractions import Fraction

import numpy as np
import scipy.fft
import scipy.signal

from gen_wavrin_golden import lcg
from golden import lit, write


def reals(a):
    return "{" + ", ".join(lit(v) for v in np.ravel(a)) + "}"


def pairs(a):
    a = np.asarray(a, dtype=complex).ravel()
    return "{" + ", ".join(lit(c) for v in a for c in (v.real, v.imag)) + "}"


def probes(n, count=12):
    if n <= 64:
        return list(range(n))
    return sorted({(i * 2654435761 + 7) % n for i in range(count)} | {0, n - 1})


def ints(a):
    return "{" + ", ".join(str(int(v)) for v in a) + "}"


def make(seed, n, cplx):
    if not cplx:
        return lcg(seed, n)
    v = lcg(seed, 2 * n)
    return v[0::2] + 1j * v[1::2]


lines = ["#ifdef SIGNAL_DCT"]
for n in (0, 1, 2, 5, 1000, 1 << 16):
    x = lcg(100 + n % 997, n)
    idx = probes(n)
    f = scipy.fft.dct(x, norm="ortho") if n else np.zeros(0)
    b = scipy.fft.idct(x, norm="ortho") if n else np.zeros(0)
    lines.append("{%d, %d, %s, %s, %s}," % (n, 100 + n % 997, ints(idx), reals(f[idx]), reals(b[idx])))
lines.append("#endif")

lines.append("#ifdef SIGNAL_HILBERT")
for n in (2, 4, 8, 1024):
    x = lcg(200 + n, n)
    idx = probes(n)
    lines.append("{%d, %d, %s, %s}," % (n, 200 + n, ints(idx), pairs(scipy.signal.hilbert(x)[idx])))
lines.append("#endif")

# Convolution: (xn, hn, x complex, h complex); up to 5000 x 13 and 20000 x 3 the sums run directly (four taps at
# a time, with edges), 3000 x 500 and 2500 x 2600 through FFTs.
lines.append("#ifdef SIGNAL_CONV")
for xn, hn in ((7, 3), (1, 5), (40, 9), (5000, 13), (3000, 500), (20000, 3), (2500, 2600)):
    for xc, hc in ((False, False), (True, True), (True, False), (False, True)):
        sx, sh = 300 + xn, 400 + hn
        x, h = make(sx, xn, xc), make(sh, hn, hc)
        y = np.convolve(x, h)
        idx = probes(len(y))
        lines.append("{%d, %d, %d, %d, %d, %d, %s, %s}," % (xn, hn, xc, hc, sx, sh, ints(idx), pairs(y[idx])))
lines.append("#endif")

lines.append("#ifdef SIGNAL_CORR")
for an, bn, lo, hi in ((6, 4, -5, 7), (30, 11, -2, 2), (3000, 700, -900, 3100), (4000, 3000, -10, 10)):
    for ac, bc in ((False, False), (True, True), (True, False), (False, True)):
        sa, sb = 500 + an, 600 + bn
        a, b = make(sa, an, ac), make(sb, bn, bc)
        full = scipy.signal.correlate(a, b, mode="full", method="direct")
        lags = scipy.signal.correlation_lags(an, bn, mode="full")
        want = np.array([full[lags == k][0] if (lags == k).any() else 0 for k in range(lo, hi + 1)])
        idx = probes(hi - lo + 1)
        lines.append("{%d, %d, %d, %d, %d, %d, %d, %d, %s, %s}," % (
            an, bn, ac, bc, sa, sb, lo, hi, ints(idx), pairs(want[idx])))
lines.append("#endif")

lines.append("#ifdef SIGNAL_AUTO")
for n, lags in ((9, 9), (9, 4), (5000, 5000), (5000, 300)):
    for c in (False, True):
        s = 700 + n
        x = make(s, n, c)
        full = np.correlate(x, x, mode="full")[n - 1:n - 1 + lags]
        k = np.arange(lags)
        idx = probes(lags)
        lines.append("{%d, %d, %d, %d, %s, %s, %s, %s}," % (
            n, lags, c, s, ints(idx), pairs(full[idx]), pairs((full / n)[idx]), pairs((full / (n - k))[idx])))
lines.append("#endif")

lines.append("#ifdef SIGNAL_CONV2")
for (xr, xc), (hr, hc) in (((3, 4), (2, 2)), ((40, 50), (9, 7)), ((200, 180), (31, 29)), ((64, 64), (5, 5))):
    sx, sh = 800 + xr, 900 + hr
    x = lcg(sx, xr * xc).reshape(xr, xc)
    h = lcg(sh, hr * hc).reshape(hr, hc)
    full = scipy.signal.convolve2d(x, h, mode="full").ravel()
    same = scipy.signal.convolve2d(x, h, mode="same").ravel()
    i1, i2 = probes(len(full)), probes(len(same))
    lines.append("{%d, %d, %d, %d, %d, %d, %s, %s, %s, %s}," % (
        xr, xc, hr, hc, sx, sh, ints(i1), reals(full[i1]), ints(i2), reals(same[i2])))
lines.append("#endif")


def goertz_exact(x, f):
    """Σ x[n]·e^(-2πi·f·n) with f·n mod 1 exact and the rest in long double."""
    p, q = Fraction(f).as_integer_ratio()
    n = len(x)
    frac = np.array([(p * k) % q for k in range(n)], dtype=object)
    ph = np.array([Fraction(int(v), q) for v in frac], dtype=object)
    t = np.array([np.longdouble(v.numerator) / np.longdouble(v.denominator) for v in ph], dtype=np.longdouble)
    w = np.longdouble(2) * np.longdouble(np.pi) * t
    xr = np.real(x).astype(np.longdouble)
    xi = np.imag(x).astype(np.longdouble)
    c, s = np.cos(w), np.sin(w)
    # (xr + i xi)(c - i s)
    return np.sum(xr * c + xi * s), np.sum(xi * c - xr * s)


lines.append("#ifdef SIGNAL_GOERTZ")
N = 1000000
xg = lcg(1000, N)
for f in (3e-7, 1e-5, 0.1234567, 0.4999997):
    re, im = goertz_exact(xg, f)
    lines.append("{%d, 0, 1000, %s, %s, %s}," % (N, lit(f), lit(float(re)), lit(float(im))))
zg = make(1001, N, True)
for f in (0.75, 0.9999993):
    re, im = goertz_exact(zg, f)
    lines.append("{%d, 1, 1001, %s, %s, %s}," % (N, lit(f), lit(float(re)), lit(float(im))))
lines.append("#endif")

# Equally spaced pairs: numpy reshape of the whole groups and the remainder; step <= 2 copies the range.
lines.append("#ifdef SIGNAL_PIXEL")
for n, index, length, width in ((1000, 0, 1000, 100), (1005, 0, 1005, 100), (250, 0, 250, 100),
                                (1000, 37, 900, 100), (1000, 10, 55, 5)):
    s = 1100 + n
    x = lcg(s, n)[index:index + length]
    step = int(length / width)
    if step <= 2:
        out = x
    else:
        g = length // step
        body = x[:g * step].reshape(g, step)
        out = np.empty(2 * g)
        out[0::2], out[1::2] = body.max(axis=1), body.min(axis=1)
        if length % step:
            rest = x[g * step:]
            out = np.concatenate([out, [rest.max(), rest.min()]])
    lines.append("{%d, %d, %d, %d, %d, %d, %s}," % (n, s, index, length, width, step, reals(out)))
lines.append("#endif")


def unequal(x, y, width):
    """The unequal rule: P/2 bins of width 2·span/P from x[0], end bins take the samples outside, an empty bin
    repeats the pair before it."""
    n = len(x)
    step = int(n / width)
    pairs_ = n // step + (1 if n % step else 0)
    P = 2 * pairs_
    span = x[-1] - x[0]
    w = 2 * span / P
    t = (x - x[0]) / w
    b = np.where(t >= pairs_, pairs_ - 1, np.where(t > 0, np.floor(t), 0)).astype(int)
    out = np.empty(P)
    for k in range(pairs_):
        sel = y[b == k]
        if len(sel):
            out[2 * k], out[2 * k + 1] = sel.max(), sel.min()
        else:
            out[2 * k], out[2 * k + 1] = out[2 * k - 2], out[2 * k - 1]
    nx = x[0] + (span / P) * np.arange(P)
    return out, nx


lines.append("#ifdef SIGNAL_PIXEL1")
# Positions: a sorted, unevenly spaced sweep (a cluster and a gap) from 10.
for n, width in ((1000, 100), (1003, 50), (400, 7)):
    s = 1200 + n
    y = lcg(s, n)
    gaps = (lcg(s + 1, n) + 0.5) ** 3
    gaps[n // 3:n // 3 + n // 10] *= 40.0  # a stretch with wide gaps leaves bins empty
    x = 10.0 + np.cumsum(gaps)
    x -= gaps[0]
    out, nx = unequal(x, y, width)
    lines.append("{%d, %d, %d, %s, %s, %s}," % (n, width, s, reals(x), reals(out), reals(nx)))
lines.append("#endif")

# Matrix modes, f = Width / max(Rows, Cols) exact in binary (0.125, 0.25) or not (0.1).
lines.append("#ifdef SIGNAL_PIXELMTX")
for rows, cols, width, cplx in ((100, 50, 10, False), (64, 40, 16, True), (80, 72, 10, False)):
    s = 1300 + rows
    a = make(s, rows * cols, cplx).reshape(rows, cols)
    a[np.abs(a) < 0.2] = 0  # zeros for the pattern mode
    f = width / max(rows, cols)
    R, C = int(np.ceil(rows * f)), int(np.ceil(cols * f))
    ri = np.minimum(np.floor(np.arange(rows) * f).astype(int), R - 1)
    ci = np.minimum(np.floor(np.arange(cols) * f).astype(int), C - 1)
    w = np.abs(a) * (f * f)
    pat, avg, peak = np.zeros((R, C)), np.zeros((R, C)), np.zeros((R, C))
    np.add.at(pat, (ri[:, None], ci[None, :]), (w != 0) * (f * f))
    np.add.at(avg, (ri[:, None], ci[None, :]), w)
    np.maximum.at(peak, (ri[:, None], ci[None, :]), w)
    lines.append("{%d, %d, %d, %d, %d, %d, %d, %s, %s, %s}," % (
        rows, cols, width, cplx, s, R, C, reals(pat), reals(avg), reals(peak)))
lines.append("#endif")

write("signal_golden.inc", lines)

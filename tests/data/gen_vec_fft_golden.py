#!/usr/bin/python3
"""The vector FFT of every transform against numpy.fft, N = 2 to 2^16, for tests/core/test_vec_fft.cpp.

Inputs come from the generator of tests/platform/GoldenInput.h (exact Doubles, rebuilt bit for bit in C++). Packed
spectra have zero imaginary parts in bins 0 and N/2. Each row holds the values at 8 probe indices:
  fft    numpy.fft.fft of the complex input            (FFT of a complex vector)
  ifft   numpy.fft.ifft of the complex input           (IFFT)
  rfft   numpy.fft.rfft of the real input, bins idx mod (N/2 + 1)   (FFT of a real vector)
  ihfft  numpy.fft.ihfft of the real input, same bins  (IFFTReal)
  irfft  numpy.fft.irfft of the packed input           (IRealFFT)
  hfft   numpy.fft.hfft of the packed input            (FFTReal)
The unscaled inverses are these times N.

Run: /usr/bin/python3 tests/data/gen_vec_fft_golden.py   (writes vec_fft_golden.inc next to this script)
"""
import numpy as np

from golden import lit, write

from gen_wavrin_golden import lcg  # the generator the signal tests share


def probes(n):
    return [(i * 2654435761 + 7) % n for i in range(8)]


def pairs(values):
    return "{" + ", ".join(lit(c) for v in values for c in (v.real, v.imag)) + "}"


def reals(values):
    return "{" + ", ".join(lit(v) for v in values) + "}"


lines = []
for order in range(1, 17):
    n = 1 << order
    v = lcg(5000 + order, 2 * n)
    z = v[0::2] + 1j * v[1::2]
    x = lcg(6000 + order, n)
    p = lcg(7000 + order, n + 2)
    packed = p[0::2] + 1j * p[1::2]
    packed[0] = packed[0].real
    packed[-1] = packed[-1].real
    idx = probes(n)
    bins = [k % (n // 2 + 1) for k in idx]
    lines.append("{%d, {%s}, %s, %s, %s, %s, %s, %s}," % (
        order, ", ".join(map(str, idx)),
        pairs(np.fft.fft(z)[idx]), pairs(np.fft.ifft(z)[idx]),
        pairs(np.fft.rfft(x)[bins]), pairs(np.fft.ihfft(x)[bins]),
        reals(np.fft.irfft(packed, n)[idx]), reals(np.fft.hfft(packed, n)[idx])))
write("vec_fft_golden.inc", lines, "{ order, {probe indices}, fft, ifft, rfft, ihfft (pairs), irfft, hfft (reals) }")

#!/usr/bin/python3
"""Two-dimensional FFTs of matrices for tests/core/test_mtx_fft2d.cpp: numpy's fft2 of complex m × n matrices, and
rfft2 of real m × n samples in the matrix layout (the samples in the first n Doubles of the first m rows of a real
(m + 2) × (n + 2) matrix; the spectrum the complex (m + 2) × (n/2 + 1) matrix with bin (k, l) at (k, l) and the
last two rows zero). The inverses are checked against the inputs: ifft2(fft2(z)) and irfft2(rfft2(x)) give them back.

Run: /usr/bin/python3 tests/data/gen_mtx_fft2d_golden.py   (writes mtx_fft2d_golden.inc next to this script)
"""
import numpy as np

from golden import cplx, matrix, write

rng = np.random.default_rng(20261151)

lines = ["static const Fft2dRow kComplex[] = {"]
for m, n in ((2, 2), (4, 8), (16, 32)):
    z = cplx(rng.uniform(-1, 1, (m, n)), rng.uniform(-1, 1, (m, n)))
    lines.append(f"{{{matrix(z, True)}, {matrix(np.fft.fft2(z), True)}}},")
lines += ["};", "static const Fft2dRow kReal[] = {"]
for m, n in ((2, 2), (4, 8), (16, 32)):
    x = rng.uniform(-1, 1, (m, n))
    samples = np.zeros((m + 2, n + 2))
    samples[:m, :n] = x
    spectrum = np.zeros((m + 2, n // 2 + 1), dtype=complex)
    spectrum[:m] = np.fft.rfft2(x)
    assert np.allclose(np.fft.irfft2(spectrum[:m], s=(m, n)), x)
    lines.append(f"{{{matrix(samples, False)}, {matrix(spectrum, True)}}},")
lines.append("};")
write("mtx_fft2d_golden.inc", lines)

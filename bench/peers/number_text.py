"""numpy peer of the number text rows: numpy.savetxt with "%.15G" and "%.3f" and numpy.loadtxt of the 15-digit
texts, on the 10^6 numbers of bench/bench_number_text.cpp (the same 64-bit LCG); for the text exchange rows
numpy.loadtxt of the lines, numpy.savetxt of the 1000 × 1000 matrix they make, and scipy.io.mmwrite of it into a
file in /tmp."""
import io
import os

import scipy.io

import numpy as np

from common import row

N = 1_000_000
MASK = (1 << 64) - 1


def numbers():
    x = np.empty(N)
    s = 42
    for i in range(N):
        s = (s * 6364136223846793005 + 1442695040888963407) & MASK
        u = (s >> 11) / 9007199254740992.0 - 0.5
        k = (s >> 3) % 17 - 8
        x[i] = u / float(10 ** -k) if k < 0 else u * float(10**k)
    return x


x = numbers()
buf = io.StringIO()
np.savetxt(buf, x, fmt="%.15G")
text = buf.getvalue()

row("SampleToStr", N, lambda: np.savetxt(io.StringIO(), x, fmt="%.15G"))
row("StrToVal", N, lambda: np.loadtxt(io.StringIO(text)))
row("FormatFloat 0.000", N, lambda: np.savetxt(io.StringIO(), x, fmt="%.3f"))

a = x.reshape(1000, 1000)
mtx = "/tmp/tarnel_bench_peer_%d.mtx" % os.getpid()
row("StringsToValues", N, lambda: np.loadtxt(io.StringIO(text)))
row("ValuesToStrings", 1000, lambda: np.savetxt(io.StringIO(), a, fmt="%.15G"))
row("SaveToMatrixMarketFile", 1000, lambda: scipy.io.mmwrite(mtx, a), side="scipy")
if os.path.exists(mtx):
    os.remove(mtx)

"""numpy peer of the vector FFT and stream rows: numpy.fft at 2^10, 2^16 and 2^20 points, tofile/fromfile of 10^7
Doubles, and astype with clipping for the 16-bit and single encodings (each side converts into a preallocated
array where numpy allows it)."""
import os
import tempfile

import numpy as np

from common import row

rng = np.random.default_rng(1)
for order in (10, 16, 20):
    n = 1 << order
    z = rng.uniform(-1, 1, n) + 1j * rng.uniform(-1, 1, n)
    x = rng.uniform(-1, 1, n)
    for where in ("in place", "from source"):
        row(f"TVec.FFT complex {where}", n, lambda: np.fft.fft(z))
        row(f"TVec.FFT real {where}", n, lambda: np.fft.rfft(x))

N = 10_000_000
x = rng.uniform(-1, 1, N)
path = os.path.join(tempfile.gettempdir(), f"tarnel_peer_{os.getpid()}.bin")
x.tofile(path)  # the load row reads this file even when a filter leaves the save row out
row("SaveToFile prDouble", N, lambda: x.tofile(path))
row("LoadFromFile prDouble", N, lambda: np.fromfile(path, dtype=np.float64))
if os.path.exists(path):
    os.remove(path)

big = x * 40000.0
t = np.empty(N)
i16 = np.empty(N, dtype=np.int16)
f32 = np.empty(N, dtype=np.float32)


def to_int16():
    np.rint(big, out=t)
    np.clip(t, -32768, 32767, out=t)
    i16[:] = t


row("SaveToStream prSmallInt memory", N, to_int16)
row("LoadFromStream prSmallInt memory", N, lambda: np.copyto(t, i16))
row("SaveToStream prSingle memory", N, lambda: np.copyto(f32, x, casting="same_kind"))
row("LoadFromStream prSingle memory", N, lambda: np.copyto(t, f32))

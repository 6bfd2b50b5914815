"""numpy peer of the transcendental and search rows (bench_vec_transcendental.cpp): exp, log, sin and x**2.5 at 8
and 10^6 elements; complex exp, log, sin and tan, real 10**x and log2 at 10^6; exp and sin of a 1000 × 1000 array;
(a > 2).astype(float) and a[a > 2] at 10^7. The same numbers as ours; results into preallocated arrays where numpy
allows it (the mask's conversion and the gather allocate, as numpy must)."""
import numpy as np

from common import row


def fill(n, complex_, scale=3.0):
    i = np.arange(n, dtype=np.float64)
    re = 0.5 + np.abs(np.sin(i)) * scale
    return re + 1j * np.cos(i) if complex_ else re


for n in (8, 1_000_000):
    a = fill(n, False)
    r = np.empty_like(a)
    row("Exp(Vec) real", n, lambda: np.exp(a, out=r))
    row("Ln(Vec) real", n, lambda: np.log(a, out=r))
    row("Sin(X) real", n, lambda: np.sin(a, out=r))
    row("Power(Base, 2.5) real", n, lambda: np.power(a, 2.5, out=r))

N = 1_000_000
z = fill(N, True)
rz = np.empty_like(z)
row("Exp(Vec) complex", N, lambda: np.exp(z, out=rz))
row("Ln(Vec) complex", N, lambda: np.log(z, out=rz))
row("Sin(X) complex", N, lambda: np.sin(z, out=rz))
row("Tan(X) complex", N, lambda: np.tan(z, out=rz))
x = fill(N, False)
rx = np.empty_like(x)
row("Exp10(X) real", N, lambda: np.power(10.0, x, out=rx))
row("Log2(X) real", N, lambda: np.log2(x, out=rx))

m = fill(1000 * 1000, False).reshape(1000, 1000)
rm = np.empty_like(m)
row("Exp(Mtx) real", 1000, lambda: np.exp(m, out=rm))
row("Sin(Mtx) real", 1000, lambda: np.sin(m, out=rm))

S = 10_000_000
s = fill(S, False)
row("FindIndexes(a, >, 2)", S, lambda: (s > 2.0).astype(float))
row("FindAndGather(a, >, 2)", S, lambda: s[s > 2.0])

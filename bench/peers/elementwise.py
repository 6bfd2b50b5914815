"""numpy peer of the element-wise vector rows (bench_elementwise.cpp): the sum of two vectors, the scaled sum
r += 2.5·b, and a copy at 8, 800, 10^6 and 10^7 elements; the magnitudes and the polar form of 10^6 complex
numbers. Every result goes into a preallocated array, as ours does."""
import numpy as np

from common import row

for n in (8, 800, 1_000_000, 10_000_000):
    i = np.arange(n, dtype=np.float64)
    a = np.sin(i)
    b = np.sin(i + 1)
    r = np.sin(i)
    t = np.empty(n)
    row("Add(Vec1, Vec2)", n, lambda: np.add(a, b, out=r))

    def scaled():
        np.multiply(b, 2.5, out=t)
        np.add(r, t, out=r)

    row("Add(Vec, 2.5, 0)", n, scaled)
    row("Copy(Vec)", n, lambda: np.copyto(r, a))

N = 1_000_000
i = np.arange(N, dtype=np.float64)
z = np.sin(i) + 1j * np.cos(i)
mag = np.empty(N)
phase = np.empty(N)
row("Mag(Vec)", N, lambda: np.abs(z, out=mag))


def polar():
    np.abs(z, out=mag)
    np.arctan2(z.imag, z.real, out=phase)


row("CartToPolar", N, polar)

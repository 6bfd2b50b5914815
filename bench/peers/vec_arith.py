"""numpy peer of the vector arithmetic rows (bench_vec_arith.cpp): a - b, a * b, a / b (both the thresholded Divide
and the plain DivideVec are compared with numpy's division) at 8, 800 and 10^6 elements, real and complex;
a * conj(b), r *= -1, r += 0.5, sqrt, 1/sqrt, cbrt, z**(1/3) and abs at 10^6. Every result goes into a preallocated
array, as ours does."""
import numpy as np

from common import row


def fill(n, complex_, shift):
    i = np.arange(n, dtype=np.float64) + shift
    return np.sin(i) + 1j * np.cos(i) if complex_ else np.sin(i)


for n in (8, 800, 1_000_000):
    for c in (False, True):
        kind = " complex" if c else " real"
        a, b = fill(n, c, 0), fill(n, c, 1)
        r = np.empty_like(a)
        row("Sub(Vec1, Vec2)" + kind, n, lambda: np.subtract(a, b, out=r))
        row("Mul(Vec1, Vec2)" + kind, n, lambda: np.multiply(a, b, out=r))
        row("Divide(Vec1, Vec2)" + kind, n, lambda: np.divide(a, b, out=r))
        row("DivideVec(Num, Den)" + kind, n, lambda: np.divide(a, b, out=r))

N = 1_000_000
a, b = fill(N, True, 0), fill(N, True, 1)
r = np.empty_like(a)
t = np.empty_like(b)


def conj_mul():
    np.conjugate(b, out=t)
    np.multiply(a, t, out=r)


row("ConjMul(Vec1, Vec2) complex", N, conj_mul)
row("Cbrt(Vec) complex", N, lambda: np.power(a, 1.0 / 3.0, out=r))

x = fill(N, False, 0)
y = x.copy()
row("Scale(-1) real", N, lambda: np.multiply(y, -1.0, out=y))
row("Offset(0.5) real", N, lambda: np.add(y, 0.5, out=y))
row("Sqrt(Vec) real", N, lambda: np.sqrt(x, out=y))


def inv_sqrt():
    np.sqrt(x, out=y)
    np.divide(1.0, y, out=y)


row("InvSqrt(Vec) real", N, inv_sqrt)
row("Cbrt(Vec) real", N, lambda: np.cbrt(x, out=y))
row("Abs(Vec) real", N, lambda: np.abs(x, out=y))

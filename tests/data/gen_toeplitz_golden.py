#!/usr/bin/python3
"""The reference solutions of the Toeplitz tests (tests/numerics/test_toeplitz.cpp), written through golden.py.

Solve rows   ToeplitzSolve against scipy.linalg.solve_toeplitz((c, r), b), c = FirstRow[0] followed by FirstCol:
             non-symmetric real and complex systems of order 1, 2, 6 and 500. The inputs are rebuilt in the test from
             the generator of gen_wavrin_golden.py (tests/platform/GoldenInput.h), so only X is written:
               FirstRow[0] = 2 + u[0], FirstRow[k] = u[k]/(k+1)^2, FirstCol[k] = v[k]/(k+2)^2, B = w,
             each part of a complex element divided alike (u, v, w from lcg(seed), lcg(seed+1), lcg(seed+2)). The
             off-diagonal sums stay below 0.65 against a diagonal of at least 1.5, so every leading minor is
             diagonally dominant and the recursion needs no pivoting.
Levinson rows R, a biased autocorrelation of a generator signal (real: sum s[i+k] s[i] / L, complex:
             sum s[i+k] conj(s[i]) / L), and A = (1, a) with a from numpy.linalg.solve of the symmetric or Hermitian
             normal equations T a = -(R[1], ..., R[n-1]), T[i][j] = R[i-j] for i >= j and conj(R[j-i]) above.
Tolerance    64 eps cond(T) max|x| per row: the recursion and the oracle are both backward stable on these systems
             and differ by rounding only.

Run: /usr/bin/python3 tests/data/gen_toeplitz_golden.py   (writes toeplitz_golden.inc next to this script)
"""
import numpy as np
import scipy.linalg

from gen_wavrin_golden import lcg
from golden import cplx, doubles, lit, write

EPS = np.finfo(float).eps


def elements(values, complex_, divisors):
    """Elements from generator values: one per value, or (Re, Im) pairs, each part divided by its divisor."""
    if not complex_:
        return values / divisors
    return cplx(values[0::2] / divisors, values[1::2] / divisors)


def system(n, complex_, seed):
    w = 2 if complex_ else 1
    k = np.arange(n, dtype=float)
    row = elements(lcg(seed, w * n), complex_, (k + 1) ** 2)
    u0 = lcg(seed, w)
    row[0] = (u0[0] + 2.0) + (1j * u0[1] if complex_ else 0)
    col = elements(lcg(seed + 1, w * (n - 1)), complex_, (np.arange(n - 1, dtype=float) + 2) ** 2)
    b = elements(lcg(seed + 2, w * n), complex_, np.ones(n))
    return row, col, b


def dense(row, col):
    c = np.concatenate([row[:1], col])
    return scipy.linalg.toeplitz(c, row), c


def tolerance(t, x):
    return 64 * EPS * np.linalg.cond(t) * max(1.0, np.max(np.abs(x)))


def solve_rows():
    lines = []
    for complex_ in (False, True):
        for n in (1, 2, 6, 500):
            seed = 100 * n + (7 if complex_ else 0)
            row, col, b = system(n, complex_, seed)
            t, c = dense(row, col)
            x = scipy.linalg.solve_toeplitz((c, row), b)
            assert np.allclose(t @ x, b)
            kind = "complex" if complex_ else "real"
            lines.append(f'{{"{kind} n = {n}", {str(complex_).lower()}, {n}, {seed}, {doubles(x, complex_)}, '
                         f'{lit(tolerance(t, x))}}},')
    return lines


def autocorrelation(s, n):
    length = len(s)
    return np.array([np.sum(s[k:] * np.conj(s[:length - k])) / length for k in range(n)])


def levinson_rows():
    lines = []
    for complex_ in (False, True):
        for n in (5, 50):
            length = 3 * n
            seed = 9000 + n + (1 if complex_ else 0)
            raw = lcg(seed, 2 * length if complex_ else length)
            s = cplx(raw[0::2], raw[1::2]) if complex_ else raw
            r = autocorrelation(s, n)
            if not complex_:
                r = r.real
            m = n - 1
            t = np.array([[r[i - j] if i >= j else np.conj(r[j - i]) for j in range(m)] for i in range(m)])
            a = np.linalg.solve(t, -r[1:])
            a = np.concatenate([[1.0], a])
            kind = "complex" if complex_ else "real"
            lines.append(f'{{"{kind} n = {n}", {str(complex_).lower()}, {doubles(r, complex_)}, '
                         f'{doubles(a, complex_)}, {lit(tolerance(t, a))}}},')
    return lines


if __name__ == "__main__":
    write("toeplitz_solve_golden.inc", solve_rows(), "{ what, complex, n, seed, {X}, tolerance }")
    write("toeplitz_levinson_golden.inc", levinson_rows(), "{ what, complex, {R}, {A}, tolerance }")

#!/usr/bin/python3
"""Writes the one- and infinity-norms of a few real and complex matrices (numpy.linalg.norm with ord 1 and
inf) as a C++ table for the matrix tests, through the writer of golden.py (hexadecimal literals: the table holds
exactly the Doubles numpy used).

Run: /usr/bin/python3 tests/data/gen_mtx_norms.py   (writes mtx_norms.inc next to this script)
"""
import numpy as np

from golden import doubles, lit, write

rng = np.random.default_rng(20261210)


def real(rows, cols, scale=10.0):
    return (rng.standard_normal((rows, cols)) * scale).astype(np.float64)


def cplx(rows, cols, scale=10.0):
    return real(rows, cols, scale) + 1j * real(rows, cols, scale)


CASES = [
    ("2x2 [[1, -2], [3, 4]]", np.array([[1.0, -2.0], [3.0, 4.0]])),
    ("1x1 negative", np.array([[-7.25]])),
    ("1x5 row", real(1, 5)),
    ("5x1 column", real(5, 1)),
    ("3x4 real", real(3, 4)),
    ("7x3 real", real(7, 3)),
    ("40x33 real, longer than a BLAS kernel step", real(40, 33)),
    ("mixed magnitudes", np.array([[1e300, -1e-300, 3.0], [-2.0, 5e299, 1e-10]])),
    ("2x2 complex", np.array([[3 + 4j, -1j], [1 - 1j, 2 + 0j]])),
    ("1x3 complex", cplx(1, 3)),
    ("4x3 complex", cplx(4, 3)),
    ("9x17 complex", cplx(9, 17)),
    ("complex moduli whose squares leave the Double range",
     np.array([[3e200 + 4e200j, 3e-200 - 4e-200j, 1 + 1j], [-5e-170j, 2e160 + 0j, -1e154 + 1e154j]])),
]


lines = []
for what, a in CASES:
    rows, cols = a.shape
    is_complex = "true" if np.iscomplexobj(a) else "false"
    n1 = np.linalg.norm(a, 1)
    ninf = np.linalg.norm(a, np.inf)
    lines.append(f'{{"{what}", {rows}, {cols}, {is_complex}, {doubles(a)}, {lit(n1)}, {lit(ninf)}}},')
write("mtx_norms.inc", lines,
      "{ what, rows, cols, complex, {numbers row by row (Re, Im pairs when complex)}, Norm1, NormInf }")

"""Solutions of the direct sparse solve tests from scipy (tests/sparse/test_sparse_umf.cpp).
Run: /usr/bin/python3 tests/data/gen_umf_golden.py   (writes umf_golden.inc)

The systems are rebuilt on the C++ side from the same rules (UmfSystem in the test):
  "small"     the 3 x 3 matrix of sparse_test_util.h's MakeSmall, b = (1, 2, 3)
  "pde225"    -Laplace(u) + 20 u_x + 10 u_y on the 15 x 15 interior grid of h = 1/16, rows times h^2: diagonal 4,
              west -1.625, east -0.375, south -1.3125, north -0.6875 (unknown i + 15 j, i along x)
  "poisson900" the 5-point Poisson matrix of the 30 x 30 grid: diagonal 4, the four neighbours -1
Right-hand sides: b[k] = ((37 k + 11 c) mod 101) / 16 - 3 for column c (exact Doubles).
kUmfSolveGolden: spsolve(A, b) and spsolve(A.T, b) for column 0, and spsolve(A, B) for a 3-column B.
kUmfInvGolden: numpy.linalg.inv of the small matrix and of a 2 x 2 one.
"""
import numpy as np
import scipy.sparse as sp
import scipy.sparse.linalg as spla

from golden import doubles, matrix, write


def grid(m, diag, west, east, south, north):
    n = m * m
    rows, cols, vals = [], [], []
    for j in range(m):
        for i in range(m):
            k = i + m * j
            for di, dj, v in ((0, 0, diag), (-1, 0, west), (1, 0, east), (0, -1, south), (0, 1, north)):
                ii, jj = i + di, j + dj
                if 0 <= ii < m and 0 <= jj < m:
                    rows.append(k)
                    cols.append(ii + m * jj)
                    vals.append(v)
    return sp.csc_matrix((vals, (rows, cols)), shape=(n, n))


def small():
    return sp.csc_matrix(([1.0, 2.0, 3.0, 4.0, 5.0], ([0, 2, 1, 0, 2], [0, 0, 1, 2, 2])), shape=(3, 3))


def rhs(n, columns):
    return np.array([[((37 * k + 11 * c) % 101) / 16 - 3 for c in range(columns)] for k in range(n)])


SYSTEMS = {
    "small": small(),
    "pde225": grid(15, 4.0, -1.625, -0.375, -1.3125, -0.6875),
    "poisson900": grid(30, 4.0, -1.0, -1.0, -1.0, -1.0),
}

lines = []
for name, a in SYSTEMS.items():
    n = a.shape[0]
    b = rhs(n, 3)
    x = spla.spsolve(a, b[:, 0])
    xt = spla.spsolve(a.T.tocsc(), b[:, 0])
    xm = spla.spsolve(a, b)
    lines.append(f'{{"{name}", {doubles(x)}, {doubles(xt)}, {matrix(xm, False)}}},')
write("umf_golden.inc", lines, "{ system, spsolve(A, b), spsolve(A', b), spsolve(A, B) for 3 columns }")

inv = [f'{{"small", {matrix(np.linalg.inv(small().toarray()), False)}}},',
       f'{{"2x2", {matrix(np.linalg.inv(np.array([[4.0, 1.0], [2.0, 3.0]])), False)}}},']
write("umf_inv_golden.inc", inv, "{ system, numpy.linalg.inv }")

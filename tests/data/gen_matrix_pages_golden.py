#!/usr/bin/python3
"""Reference results of the matrix pages' tests (tests/demo/test_matrix_pages.cpp) from numpy and scipy, written as
named C++ arrays through golden.py into matrix_pages_golden.inc.

- kInvA, kInvOfA: a 4 x 4 matrix as the grid shows it (four decimals) and numpy.linalg.inv of it.
- kEigA, kEigValues: the eigenvalue page's fixed matrix and numpy.linalg.eigvals of it, sorted by real and imaginary
  part (the test compares them as a set); its residual checks of VL and VR need no table.
- kRootA, kRootEigValues: a matrix with a negative eigenvalue and the eigenvalues of its principal square root,
  sqrt(eigvals(A)) (the test squares the page's root and compares with A, and compares the root's eigenvalues as a
  set: scipy.linalg.sqrtm may take another branch, so no root is compared element by element).
- kLqA/kQrA and their factors: scipy.linalg.qr of A (QR) and of A^T (LQ: L = R^T), full and economic, as absolute
  values (a factor is unique up to the signs of its columns or rows); numpy.linalg.svd singular values of both.
- kLinA, kLinB, kLstsqX, kLstsqS, kLstsqRank: the solver page's default system by numpy.linalg.lstsq(rcond=1e-9).
- kConA, kConB, kConX, kRcond1, kRcondInf: a nonsingular system typed in, its solution, and
  scipy.linalg.lapack.dgecon of its LU factors in the 1-norm and the infinity norm.

Run: /usr/bin/python3 tests/data/gen_matrix_pages_golden.py   (writes the file next to this script)
"""
import numpy as np
import scipy.linalg
import scipy.linalg.lapack as lapack

from golden import doubles, lit, write

lines = []


def arr(name, a, complex_=None):
    a = np.asarray(a)
    lines.append(f"constexpr double {name}[] = {doubles(a, complex_)};")


def sorted_set(values):
    return np.array(sorted(np.asarray(values, dtype=complex), key=lambda z: (round(z.real, 12), z.imag)))


inv_a = np.array([[2.4075, -3.8339, 2.8026, -3.0023], [2.2303, -0.5624, 4.5630, -4.1969],
                  [3.3226, -3.4183, 3.7958, -0.1758], [-4.3100, 1.4226, -4.9074, -1.0058]])
arr("kInvA", inv_a)
arr("kInvOfA", np.linalg.inv(inv_a))

eig_a = np.array([[1, -3, 5, -3], [-1, 12, 0.3, 2.5], [5, 1.22, 2.33, -0.5], [2.4, -1, 5, 3]])
arr("kEigA", eig_a)
arr("kEigValues", sorted_set(np.linalg.eigvals(eig_a)), True)

root_a = np.array([[1.0, 2, 0], [2, 1, 0], [0, 0, 4]])
arr("kRootA", root_a)
arr("kRootEigValues", sorted_set(np.sqrt(np.linalg.eigvals(root_a).astype(complex))), True)

qr_a = np.array([[-8.8114, -7.6432], [-4.4089, -3.4305], [-7.6755, -5.7608]])
arr("kQrA", qr_a)
q, r = scipy.linalg.qr(qr_a)
arr("kQrRFull", np.abs(r))
q, r = scipy.linalg.qr(qr_a, mode="economic")
arr("kQrREcon", np.abs(r))
arr("kQrS", np.linalg.svd(qr_a, compute_uv=False))

lq_a = np.array([[2.5, 7.25, 3.125, 9.0], [4.75, 2.0, 8.5, 5.5]])
arr("kLqA", lq_a)
q, r = scipy.linalg.qr(lq_a.T)
arr("kLqLFull", np.abs(r.T))
q, r = scipy.linalg.qr(lq_a.T, mode="economic")
arr("kLqLEcon", np.abs(r.T))
arr("kLqS", np.linalg.svd(lq_a, compute_uv=False))

lin_a = np.array([[0.001, 0, 0, 0], [3, 0, 0, 0], [2.5, 2, 3, 0], [4, -1, 0.5, 0.1]])
lin_b = np.array([3, 1.5, -2, 4.0])
x, _, rank, s = np.linalg.lstsq(lin_a, lin_b, rcond=1e-9)
arr("kLinA", lin_a)
arr("kLinB", lin_b)
arr("kLstsqX", x)
arr("kLstsqS", s)
lines.append(f"constexpr int kLstsqRank = {rank};")

con_a = np.array([[4.0, 1, 0, 0], [1, 4, 1, 0], [0, 1, 4, 1], [0, 0, 1, 4]])
con_b = np.array([1.0, 2, 3, 4])
arr("kConA", con_a)
arr("kConB", con_b)
arr("kConX", np.linalg.solve(con_a, con_b))
lu, piv, info = lapack.dgetrf(con_a)
assert info == 0
for name, norm in (("kRcond1", "1"), ("kRcondInf", "I")):
    anorm = np.linalg.norm(con_a, 1 if norm == "1" else np.inf)
    rcond, info = lapack.dgecon(lu, anorm, norm=norm)
    assert info == 0
    lines.append(f"constexpr double {name} = {lit(rcond)};")

write("matrix_pages_golden.inc", lines)

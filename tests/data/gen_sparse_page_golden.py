"""The sparse solver page's system and solutions from scipy (tests/demo/test_sparse_page.cpp).
Run: /usr/bin/python3 tests/data/gen_sparse_page_golden.py   (writes sparse_page_golden.inc)

The system is built here a second way, as a sum of Kronecker products of 15 x 15 difference matrices, and must
equal scipy.io.mmread of demo/pde225.mtx exactly (the script stops otherwise):
  A = I (x) T_x + T_y (x) I + 4 I, T_x with -1.625 below and -0.375 above its diagonal (west, east neighbours of
  unknown i + 15 j), T_y with -1.3125 below and -0.6875 above (south, north).
kPde225Cols/Rows/Values: A in compressed-column form (column pointers, row indices, values).
kPde225B: b from numpy's default_rng(46), standard normal; kPde225X: spsolve(A, b).
"""
import os

import numpy as np
import scipy.io
import scipy.sparse as sp
import scipy.sparse.linalg as spla

from golden import HERE, doubles, write

K = 15
e = np.ones(K - 1)
tx = sp.diags([-1.625 * e, -0.375 * e], [-1, 1])
ty = sp.diags([-1.3125 * e, -0.6875 * e], [-1, 1])
kron = (sp.kron(sp.eye(K), tx) + sp.kron(ty, sp.eye(K)) + 4 * sp.eye(K * K)).tocsc()
kron.sort_indices()

read = scipy.io.mmread(os.path.join(HERE, "..", "..", "demo", "pde225.mtx")).tocsc()
read.sort_indices()
if read.shape != (225, 225) or read.nnz != 1065 or (read != kron).nnz != 0:
    raise SystemExit("demo/pde225.mtx is not the Kronecker build")
if not (np.array_equal(read.indptr, kron.indptr) and np.array_equal(read.indices, kron.indices)
        and np.array_equal(read.data, kron.data)):
    raise SystemExit("demo/pde225.mtx differs from the Kronecker build in its storage")

b = np.random.default_rng(46).standard_normal(225)
x = spla.spsolve(kron, b)


def ints(a):
    return "{" + ", ".join(str(int(v)) for v in a) + "}"


write("sparse_page_golden.inc", [
    "constexpr int kPde225Cols[] = %s;" % ints(kron.indptr),
    "constexpr int kPde225Rows[] = %s;" % ints(kron.indices),
    "constexpr double kPde225Values[] = %s;" % doubles(kron.data),
    "constexpr double kPde225B[] = %s;" % doubles(b),
    "constexpr double kPde225X[] = %s;" % doubles(x),
])

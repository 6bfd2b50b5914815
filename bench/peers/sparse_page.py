"""numpy and scipy peers of the sparse solver page's rows (bench/bench_sparse_page.cpp) on demo/pde225.mtx:
100 numpy.linalg.solve calls on the dense matrix, and 100 gmres calls (restart 10, tolerance 500 * 2^-52) from a
ramp with spilu(drop_tol=0, fill_factor=1) made per call. b[i] = cos(i), as on the C++ side."""
import os

import numpy as np
import scipy.io
import scipy.sparse.linalg as spla

from common import row

HERE = os.path.dirname(os.path.abspath(__file__))
S = scipy.io.mmread(os.path.join(HERE, "..", "..", "demo", "pde225.mtx")).tocsc()
A = S.toarray()
B = np.cos(np.arange(225))
RAMP = np.arange(225.0)


def dense():
    for _ in range(100):
        np.linalg.solve(A, B)


def iterative():
    for _ in range(100):
        ilu = spla.spilu(S, drop_tol=0, fill_factor=1)
        m = spla.LinearOperator(S.shape, matvec=ilu.solve)
        spla.gmres(S, B, x0=RAMP, tol=500 * 2.0**-52, atol=0, restart=10, maxiter=500, M=m)


row("pde225 100 LUSolve", 225, dense, side="numpy")
row("pde225 100 SolveIterative", 225, iterative, side="scipy")

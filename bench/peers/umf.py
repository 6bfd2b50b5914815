"""scipy peer of the direct sparse solve rows (bench/bench_umf.cpp): scipy.sparse.linalg.spsolve on the 5-point
Poisson matrix of the m x m grid (unknown i + m j; diagonal 4, neighbours -1) for m = 100, 200, 300, with one
right-hand side and with 16. Right-hand sides b[k] = ((37 k + 11 c) mod 101) / 16 - 3, as on the C++ side."""
import numpy as np
import scipy.sparse as sp
import scipy.sparse.linalg as spla

from common import row


def poisson(m):
    t = sp.diags([-1.0, 4.0, -1.0], [-1, 0, 1], shape=(m, m))
    e = sp.identity(m)
    off = sp.diags([-1.0, -1.0], [-1, 1], shape=(m, m))
    return (sp.kron(e, t) + sp.kron(off, e)).tocsc()


def rhs(n, columns):
    k = np.arange(n)[:, None]
    c = np.arange(columns)[None, :]
    return ((37 * k + 11 * c) % 101) / 16 - 3


for m in (100, 200, 300):
    a = poisson(m)
    n = m * m
    b = rhs(n, 1)[:, 0]
    bm = rhs(n, 16)
    row("Solve", n, lambda: spla.spsolve(a, b), side="scipy")
    row("Solve 16 rhs", n, lambda: spla.spsolve(a, bm), side="scipy")

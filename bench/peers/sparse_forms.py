"""scipy/numpy peer of the sparse form rows (bench/bench_sparse_forms.cpp): scipy.sparse.random of order 2000 at
density 0.01 with a random X and B = A·X; numpy.add.at binning of such a matrix's entries to 500 x 500 pixels (entry
(r, c) on pixel (trunc(r·s), trunc(c·s)), s = 500 / 2000, adding s²); both together as the grid-series page's tick;
and todia, tocsc, tril/diagonal/triu and the sum L + diag(D) + U of the tridiagonal matrix (-1, 4, -1) of order
10^6."""
import numpy as np
import scipy.sparse as sp

from common import row

N = 2000
WIDTH = 500
rng = np.random.default_rng(39)


def random_system():
    a = sp.random(N, N, density=0.01, format="csc", random_state=rng)
    x = rng.random(N)
    return a, x, a @ x


def picture(a):
    s = WIDTH / N
    coo = a.tocoo()
    p = np.zeros((WIDTH, WIDTH))
    np.add.at(p, (np.trunc(coo.row * s).astype(np.intp), np.trunc(coo.col * s).astype(np.intp)), s * s)
    return p


def tick():
    a, _, _ = random_system()
    return picture(a)


a, _, _ = random_system()
row("RandomSparse", N, random_system, side="scipy")
row("PixelDownSample", WIDTH, lambda: picture(a), side="numpy")
row("Grid-series page tick", N, tick, side="scipy")

T = 1000000
t = sp.diags([-np.ones(T - 1), 4 * np.ones(T), -np.ones(T - 1)], [-1, 0, 1], shape=(T, T), format="csc")
dia = t.todia()
lower, d, upper = sp.tril(t, -1, format="csc"), t.diagonal(), sp.triu(t, 1, format="csc")
row("SparseToBanded", T, lambda: t.todia(), side="scipy")
row("BandedToSparse", T, lambda: dia.tocsc(), side="scipy")
row("Split", T, lambda: (sp.tril(t, -1, format="csc"), t.diagonal(), sp.triu(t, 1, format="csc")), side="scipy")
row("AddSplit", T, lambda: (lower + sp.diags(d, format="csc") + upper).tocsc(), side="scipy")

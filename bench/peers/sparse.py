"""scipy peer of the sparse rows (bench/bench_sparse.cpp): coo_matrix(...).tocsc() of 10^6 and 10^7 random triplets
with duplicates in an n x n matrix, n = count / 1000 (also the peer of 10^6 SetValue calls and the flush), and
csc_matrix / .toarray() of a 2000 x 2000 matrix with about 1 % entries. The numbers are those of the C++ side:
splitmix64 of a counter, computed here with numpy's wrapping uint64 arithmetic.

Arithmetic on the 5-point Laplacian of a 500 x 500 grid (A @ A, A + A, A.transpose().tocsc(), A @ x), MatrixMarket
files of 10^6 entries (scipy.io.mmwrite, scipy.io.mmread(...).tocsc(), which gives what our reader gives) and a
file of the three arrays of 10^7 entries (tofile and fromfile)."""
import os
import tempfile

import numpy as np
import scipy.io
import scipy.sparse as sp

from common import row

M64 = np.uint64(0xFFFFFFFFFFFFFFFF)


def mix(seed, k):
    with np.errstate(over="ignore"):
        z = np.uint64(seed) + (k.astype(np.uint64) + np.uint64(1)) * np.uint64(0x9E3779B97F4A7C15)
        z = (z ^ (z >> np.uint64(30))) * np.uint64(0xBF58476D1CE4E5B9)
        z = (z ^ (z >> np.uint64(27))) * np.uint64(0x94D049BB133111EB)
    return z ^ (z >> np.uint64(31))


def uniform(seed, k):
    return (mix(seed, k) >> np.uint64(11)).astype(np.float64) / 9007199254740992.0 - 0.5


def triplets(count):
    n = count // 1000
    k = np.arange(count, dtype=np.uint64)
    z = mix(1, k)
    r = ((z & np.uint64(0xFFFFFFFF)) % np.uint64(n)).astype(np.int32)
    c = ((z >> np.uint64(32)) % np.uint64(n)).astype(np.int32)
    return n, r, c, uniform(2, k)


for count in (1000000, 10000000):
    n, r, c, v = triplets(count)
    row("TripletsToSparse", count, lambda: sp.coo_matrix((v, (r, c)), shape=(n, n)).tocsc(), side="scipy")
    if count == 1000000:
        row("SetValue and flush", count, lambda: sp.coo_matrix((v, (r, c)), shape=(n, n)).tocsc(), side="scipy")

N = 2000
k = np.arange(N * N, dtype=np.uint64)
a = np.where(mix(3, k) % np.uint64(100) == 0, uniform(4, k), 0.0).reshape(N, N)
m = sp.csc_matrix(a)
row("DenseToSparse", N, lambda: sp.csc_matrix(a), side="scipy")
row("SparseToDense", N, lambda: m.toarray(), side="scipy")


def poisson(n):
    t = sp.diags([-1.0, 2.0, -1.0], [-1, 0, 1], shape=(n, n))
    eye = sp.identity(n)
    a = (sp.kron(eye, t) + sp.kron(t, eye)).tocsc()
    a.sort_indices()
    return a


A = poisson(500)
x = uniform(5, np.arange(A.shape[1], dtype=np.uint64))
row("Sparse Mul", 500, lambda: A @ A, side="scipy")
row("Sparse Add", 500, lambda: A + A, side="scipy")
row("Sparse Transp", 500, lambda: A.transpose().tocsc(), side="scipy")
row("Sparse MulRight", 500, lambda: A @ x, side="scipy")


def file_matrix(count):
    n = count // 10
    k = np.arange(count, dtype=np.int64)
    j, i = k // 10, k % 10
    r = (j * 7919 + i * 10007) % n
    m = sp.csc_matrix((uniform(6, k.astype(np.uint64)), (r, j)), shape=(n, n))
    m.sort_indices()
    return m


folder = tempfile.mkdtemp(prefix="tarnel_bench_")
market = os.path.join(folder, "m.mtx")
M = file_matrix(1000000)
scipy.io.mmwrite(market, M)
row("MatrixMarket write", 1000000, lambda: scipy.io.mmwrite(market, M), side="scipy")
row("MatrixMarket read", 1000000, lambda: scipy.io.mmread(market).tocsc(), side="scipy")

stream = os.path.join(folder, "m.bin")
S = file_matrix(10000000)


def save():
    with open(stream, "wb") as f:
        S.indices.tofile(f)
        S.indptr.tofile(f)
        S.data.tofile(f)


def load():
    with open(stream, "rb") as f:
        n = S.shape[1]
        indices = np.fromfile(f, np.int32, S.nnz)
        indptr = np.fromfile(f, np.int32, n + 1)
        data = np.fromfile(f, np.float64, S.nnz)
    return sp.csc_matrix((data, indices, indptr), shape=S.shape)


save()
row("Sparse stream save", 10000000, save, side="numpy")
row("Sparse stream load", 10000000, load, side="numpy")
for name in os.listdir(folder):
    os.remove(os.path.join(folder, name))
os.rmdir(folder)

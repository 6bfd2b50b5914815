"""scipy peer of the sparse rows (bench/bench_sparse.cpp): coo_matrix(...).tocsc() of 10^6 and 10^7 random triplets
with duplicates in an n x n matrix, n = count / 1000 (also the peer of 10^6 SetValue calls and the flush), and
csc_matrix / .toarray() of a 2000 x 2000 matrix with about 1 % entries. The numbers are those of the C++ side:
splitmix64 of a counter, computed here with numpy's wrapping uint64 arithmetic."""
import numpy as np
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

#!/usr/bin/python3
"""Golden tables of the sparse band, diagonal and triangle forms (tests/sparse/test_sparse_banded.cpp), from scipy.

kBandCases      a matrix as triplets, its band counts (largest c - r above and r - c on or below the diagonal) and its
                band storage in the layout of scipy.linalg.solve_banded (ab[ku + i - j, j] = a[i, j]), checked here by
                solving with solve_banded where the matrix is square.
kUnbandCases    band storage (ku, kl, n) and a threshold -> the compressed form of the square matrix it holds, slots at
                or below the threshold (and zeros) left out: the csc arrays of scipy.sparse.
kFormMatrices   small matrices, square, tall, wide and complex, with stored entries in ascending rows.
kDiagCases      matrix, k -> the diagonal vector of min(rows, cols) elements: element c = a[c + k, c] (A.diagonal(-k)
                placed at the columns it comes from), for every k from -rows to cols.
kTriangleCases  matrix, lower/upper, with or without the diagonal -> scipy.sparse.tril / triu in csc.
Values are small multiples of 1/8, so every result is exact and compared bit for bit.

Run: /usr/bin/python3 tests/data/gen_sparse_banded.py   (writes sparse_banded_golden.inc next to this script)
"""
import numpy as np
import scipy.linalg
import scipy.sparse as sp

from golden import doubles, lit, write

rng = np.random.default_rng(39)
lines = []


def ints(a):
    return "{" + ", ".join(str(int(v)) for v in a) + "}"


def dyadic(shape, cplx=False):
    v = np.where((v := rng.integers(-40, 41, shape) / 8.0) == 0, 0.125, v)
    if cplx:
        w = rng.integers(-40, 41, shape) / 8.0
        return v + 1j * w
    return v


def triplets(a):
    """The nonzero elements of a dense matrix column by column, rows ascending (what the test loads)."""
    r, c = np.nonzero(a.T)
    return c, r, a[c, r]


def counts(a):
    r, c = np.nonzero(a)
    up = max([0] + [int(j - i) for i, j in zip(r, c) if i < j])
    low = max([0] + [int(i - j) for i, j in zip(r, c) if i >= j])
    return up, low


def band_of(a, ku, kl):
    rows, cols = a.shape
    ab = np.zeros((ku + kl + 1, cols), dtype=a.dtype)
    for i in range(rows):
        for j in range(cols):
            if a[i, j] != 0:
                ab[ku + i - j, j] = a[i, j]
    return ab


def banded(n, offsets, cplx=False, rows=None, cols=None):
    rows = rows or n
    cols = cols or n
    a = np.zeros((rows, cols), dtype=complex if cplx else float)
    for i in range(rows):
        for j in range(cols):
            if (j - i) in offsets:
                a[i, j] = dyadic((), cplx)
    if rows == cols:
        a += np.eye(rows) * 40  # well conditioned, so that solve_banded confirms the layout
    return a


# ---- Band storage ----
lines.append("inline const std::vector<BandCase> kBandCases = {")
for name, a in [
    ("tridiagonal", banded(6, {-1, 0, 1})),
    ("ku 2, kl 1", banded(6, {-1, 0, 1, 2})),
    ("diagonal", banded(4, {0})),
    ("upper bidiagonal", banded(5, {0, 1})),
    ("tall 5 x 3", banded(0, {-2, -1, 0, 1}, rows=5, cols=3)),
    ("wide 3 x 5", banded(0, {-1, 0, 2, 4}, rows=3, cols=5)),
    ("complex tridiagonal", banded(5, {-1, 0, 1}, cplx=True)),
]:
    ku, kl = counts(a)
    ab = band_of(a, ku, kl)
    if a.shape[0] == a.shape[1]:
        b = np.arange(1, a.shape[0] + 1, dtype=a.dtype)
        assert np.allclose(scipy.linalg.solve_banded((kl, ku), ab, b), np.linalg.solve(a, b), rtol=1e-12)
    cplx = np.iscomplexobj(a)
    r, c, v = triplets(a)
    lines.append(f'    {{"{name}", {a.shape[0]}, {a.shape[1]}, {str(cplx).lower()}, {ints(r)}, {ints(c)}, '
                 f'{doubles(v, cplx)}, {ku}, {kl}, {doubles(ab, cplx)}}},')
lines.append("};")


# ---- Band storage back to the compressed form ----
def csc_fields(m, cplx):
    m = sp.csc_matrix(m)
    m.sort_indices()
    return f"{ints(m.indptr)}, {ints(m.indices)}, {doubles(m.data, cplx)}"


def unband(ab, ku, kl, n):
    a = np.zeros((n, n), dtype=ab.dtype)
    for k in range(ku + kl + 1):
        for j in range(n):
            i = k + j - ku
            if 0 <= i < n:
                a[i, j] = ab[k, j]
    return a


lines.append("inline const std::vector<UnbandCase> kUnbandCases = {")
for name, ku, kl, n, cplx, thresh in [
    ("tridiagonal", 1, 1, 6, False, 0.0),
    ("tridiagonal above 2.5", 1, 1, 6, False, 2.5),
    ("ku 2, kl 1", 2, 1, 5, False, 0.0),
    ("ku past the order", 4, 1, 3, False, 0.0),
    ("kl past the order", 0, 5, 4, False, 1.0),
    ("complex above 3", 1, 2, 5, True, 3.0),
    ("nothing above 100", 1, 1, 4, False, 100.0),
]:
    ab = dyadic((ku + kl + 1, n), cplx)
    ab[0, 0] = 0  # a zero inside the band
    a = unband(ab, ku, kl, n)
    a[np.abs(a) <= thresh] = 0
    lines.append(f'    {{"{name}", {ku}, {kl}, {n}, {str(cplx).lower()}, {doubles(ab, cplx)}, {lit(thresh)}, '
                 f'{csc_fields(a, cplx)}}},')
lines.append("};")


# ---- Diagonals and triangles ----
def pattern(rows, cols, cplx=False, density=0.6):
    a = dyadic((rows, cols), cplx) * (rng.random((rows, cols)) < density)
    return a


forms = [("square 5 x 5", pattern(5, 5)), ("tall 6 x 4", pattern(6, 4)), ("wide 4 x 6", pattern(4, 6)),
         ("complex 4 x 4", pattern(4, 4, True))]
lines.append("inline const std::vector<FormMatrix> kFormMatrices = {")
for name, a in forms:
    cplx = np.iscomplexobj(a)
    r, c, v = triplets(a)
    lines.append(f'    {{"{name}", {a.shape[0]}, {a.shape[1]}, {str(cplx).lower()}, {ints(r)}, {ints(c)}, '
                 f'{doubles(v, cplx)}}},')
lines.append("};")

lines.append("inline const std::vector<DiagCase> kDiagCases = {")
for index, (name, a) in enumerate(forms):
    rows, cols = a.shape
    m = sp.csc_matrix(a)
    length = min(rows, cols)
    for k in range(-rows, cols + 1):
        d = m.diagonal(-k)
        out = np.zeros(length, dtype=a.dtype)
        first = max(0, -k)  # the column of d[0]
        for i, x in enumerate(d):
            if first + i < length:
                out[first + i] = x
        lines.append(f"    {{{index}, {k}, {doubles(out, np.iscomplexobj(a))}}},")
lines.append("};")

lines.append("inline const std::vector<TriangleCase> kTriangleCases = {")
for index, (name, a) in enumerate(forms):
    m = sp.csc_matrix(a)
    for lower in (True, False):
        for diagonal in (True, False):
            if lower:
                t = sp.tril(m, 0 if diagonal else -1)
            else:
                t = sp.triu(m, 0 if diagonal else 1)
            lines.append(f"    {{{index}, {str(lower).lower()}, {str(diagonal).lower()}, "
                         f"{csc_fields(t, np.iscomplexobj(a))}}},")
lines.append("};")

write("sparse_banded_golden.inc", lines)

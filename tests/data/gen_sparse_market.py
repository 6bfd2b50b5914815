#!/usr/bin/python3
"""MatrixMarket files for the sparse reader and matrices for the sparse writer (tests/sparse/test_sparse_market.cpp).

Reader: files in tests/data/sparse_market/ written by scipy.io.mmwrite (every symmetry; real, integer, complex,
pattern; coordinate and array) and files laid out as published collections lay them out (a comment block, the lower
triangle only, diagonal entries absent, pattern symmetric, complex Hermitian, upper-case words, blank lines, CR LF).
For each file, the matrix scipy.io.mmread gives, in compressed columns with explicit zeros eliminated and the rows of
every column ascending: the reader must give exactly that pattern and those Doubles.

Writer: matrices whose files the test writes; check_sparse_market.py reads them with scipy.io.mmread and compares
them with these, bit for bit (17-digit values, -0, infinities, complex, no entries).

Run: /usr/bin/python3 tests/data/gen_sparse_market.py
"""
import os

import numpy as np
import scipy.io
import scipy.sparse as sp

from golden import HERE, doubles, write

FOLDER = os.path.join(HERE, "sparse_market")
rng = np.random.default_rng(38)


def full_digits(shape):
    """Values that need all 17 significant digits."""
    return rng.standard_normal(shape) * 10.0 ** rng.integers(-5, 6, shape)


def sparse_real(n, density=0.5):
    a = np.where(rng.random((n, n)) < density, full_digits((n, n)), 0.0)
    return a


def sparse_complex(n, density=0.5):
    mask = rng.random((n, n)) < density
    return np.where(mask, full_digits((n, n)) + 1j * full_digits((n, n)), 0)


def symmetric(a):
    return np.tril(a) + np.tril(a, -1).T


def skew(a):
    return np.tril(a, -1) - np.tril(a, -1).T


def hermitian(a):
    d = np.diag(np.diag(a).real)
    return np.tril(a, -1) + np.tril(a, -1).conj().T + d


def integers(a):
    return np.round(a * 7 + 0.0).astype(np.int64) % 50 - 25


# ---- Files of scipy.io.mmwrite: (name, matrix, sparse?, field, symmetry) ----------------------------------------
R5 = sparse_real(5)
C4 = sparse_complex(4)
I5 = integers(sparse_real(5, 0.6))
MMWRITE = [
    ("coo_real_general", sparse_real(5)[:, :4], True, None, "general"),
    ("coo_real_symmetric", symmetric(R5), True, None, "symmetric"),
    ("coo_real_skew", skew(R5), True, None, "skew-symmetric"),
    ("coo_integer_general", I5, True, "integer", "general"),
    ("coo_integer_symmetric", symmetric(I5), True, "integer", "symmetric"),
    ("coo_complex_general", C4[:3, :], True, None, "general"),
    ("coo_complex_symmetric", symmetric(C4), True, None, "symmetric"),
    ("coo_complex_skew", skew(C4), True, None, "skew-symmetric"),
    ("coo_complex_hermitian", hermitian(C4), True, None, "hermitian"),
    ("coo_pattern_general", sparse_real(5)[:4, :], True, "pattern", "general"),
    ("coo_pattern_symmetric", symmetric(sparse_real(5)), True, "pattern", "symmetric"),
    ("array_real_general", full_digits((3, 4)), False, None, "general"),
    ("array_real_symmetric", symmetric(full_digits((4, 4))), False, None, "symmetric"),
    ("array_real_skew", skew(full_digits((4, 4))), False, None, "skew-symmetric"),
    ("array_integer_general", integers(full_digits((4, 3))), False, "integer", "general"),
    ("array_complex_general", full_digits((2, 3)) + 1j * full_digits((2, 3)), False, None, "general"),
    ("array_complex_symmetric", symmetric(full_digits((3, 3)) + 1j * full_digits((3, 3))), False, None, "symmetric"),
    ("array_complex_hermitian", hermitian(full_digits((3, 3)) + 1j * full_digits((3, 3))), False, None, "hermitian"),
]

# ---- Files as published collections lay them out: (name, text) --------------------------------------------------
# 6 x 6 symmetric, lower triangle only, two diagonal entries absent, a comment block.
_sym = ["%%MatrixMarket matrix coordinate real symmetric",
        "%-------------------------------------------------------------------------------",
        "% collection-style file",
        "% name: test/six",
        "% kind: structural problem",
        "%-------------------------------------------------------------------------------",
        "6 6 8",
        "1 1 4.0",
        "2 1 -1.5",
        "4 1 2.5e-3",
        "3 3 1.0000000000000002",
        "6 3 -7",
        "5 4 3.25",
        "6 5 1E+2",
        "6 6 11"]
# 5 x 5 pattern symmetric, no diagonal at all.
_pat = ["%%MatrixMarket matrix coordinate pattern symmetric", "%", "5 5 4", "2 1", "4 2", "5 3", "5 4"]
# 3 x 3 complex Hermitian, upper-case words, blank lines, runs of blanks, CR LF.
_herm = ["%%MatrixMarket MATRIX Coordinate COMPLEX Hermitian", "% complex", "", "3  3   4", "", "1 1 2.0 0.0",
         "2   1  1.0  -2.5", "3 2 0.5 0.25", "", "3 3 -1 0"]
# 4 x 4 skew-symmetric, lower triangle.
_skew = ["%%MatrixMarket matrix coordinate real skew-symmetric", "4 4 3", "2 1 1.5", "4 2 -2", "4 3 0.125"]
# 4 x 3 general with duplicates (summed) and an explicit zero (dropped).
_dup = ["%%MatrixMarket matrix coordinate real general", "4 3 5", "1 1 1", "1 1 2.5", "4 3 0", "2 2 -1", "4 3 6"]
PUBLISHED = [
    ("pub_real_symmetric", "\n".join(_sym) + "\n"),
    ("pub_pattern_symmetric", "\n".join(_pat) + "\n"),
    ("pub_complex_hermitian", "\r\n".join(_herm) + "\r\n"),
    ("pub_real_skew", "\n".join(_skew) + "\n"),
    ("pub_real_duplicates", "\n".join(_dup) + "\n"),
]

# ---- Matrices the writer writes: (name, matrix as scipy.sparse or dense) ------------------------------------------
_w = sp.random(7, 5, density=0.4, random_state=38, format="csc")
_w.data = full_digits(_w.data.shape)
_wc = sp.random(4, 6, density=0.5, random_state=39, format="csc").astype(complex)
_wc.data = full_digits(_wc.data.shape) + 1j * full_digits(_wc.data.shape)
_special = sp.csc_matrix((np.array([-0.0, 1e-310, np.inf, -np.inf, 5e-324, 1.7976931348623157e308, 0.1 + 0.2]),
                          (np.array([0, 2, 1, 3, 0, 2, 3]), np.array([0, 0, 1, 1, 2, 3, 3]))), shape=(4, 5))
_cspecial = sp.csc_matrix((np.array([complex(-0.0, 1e-310), complex(0.1, -0.0), complex(np.inf, 2 / 3)]),
                           (np.array([0, 1, 0]), np.array([0, 0, 2]))), shape=(2, 3))
WRITE = [
    ("write_real", _w),
    ("write_complex", _wc),
    ("write_special", _special),
    ("write_complex_special", _cspecial),
    ("write_empty_real", sp.csc_matrix((3, 4))),
    ("write_empty_complex", sp.csc_matrix((2, 2), dtype=complex)),
]


def compressed(m):
    """The matrix mmread gives, in compressed columns: explicit zeros eliminated, rows ascending."""
    c = sp.csc_matrix(m)
    c.sum_duplicates()
    c.eliminate_zeros()
    c.sort_indices()
    return c


def ints(a):
    return "{" + ", ".join(str(int(v)) for v in a) + "}"


def entry(name, m):
    c = compressed(m)
    cplx = np.iscomplexobj(c.data)
    return '  {"%s", %d, %d, %s, %s, %s, %s},' % (name, c.shape[0], c.shape[1], "true" if cplx else "false",
                                                 ints(c.indptr), ints(c.indices), doubles(c.data, cplx))


def write_case(name, m):
    """A writer case: kind, size, and the triplets in storage order (column by column, rows ascending)."""
    c = sp.csc_matrix(m)
    c.sort_indices()
    cols = np.repeat(np.arange(c.shape[1]), np.diff(c.indptr))
    cplx = np.iscomplexobj(c.data)
    return '  {"%s", %d, %d, %s, %s, %s, %s},' % (name, c.shape[0], c.shape[1], "true" if cplx else "false",
                                                 ints(c.indices), ints(cols), doubles(c.data, cplx))


def same(a, b):
    """mmread's coo matrix of our file holds exactly the entries of b, in storage order, bit for bit."""
    b = sp.csc_matrix(b)
    b.sort_indices()
    if a.shape != b.shape or np.iscomplexobj(a.data) != np.iscomplexobj(b.data):
        return False
    a = sp.coo_matrix(a)
    cols = np.repeat(np.arange(b.shape[1]), np.diff(b.indptr))
    x = a.data.view(float) if np.iscomplexobj(a.data) else a.data.astype(float)
    y = b.data.view(float) if np.iscomplexobj(b.data) else b.data.astype(float)
    return (np.array_equal(a.row, b.indices) and np.array_equal(a.col, cols) and x.shape == y.shape and
            bool(np.all((np.isnan(x) & np.isnan(y)) | (x.view(np.int64) == y.view(np.int64)))))


if __name__ == "__main__":
    os.makedirs(FOLDER, exist_ok=True)
    lines = ["struct MarketFile { const char* name; int rows, cols; bool complex; std::vector<int> colPointers, "
             "rowIndices; std::vector<double> values; };",
             "static const MarketFile kMarketFiles[] = {"]
    for name, a, sparse, field, symmetry in MMWRITE:
        path = os.path.join(FOLDER, name + ".mtx")
        scipy.io.mmwrite(path, sp.coo_matrix(a) if sparse else a, field=field, symmetry=symmetry)
        lines.append(entry(name, scipy.io.mmread(path)))
    for name, text in PUBLISHED:
        path = os.path.join(FOLDER, name + ".mtx")
        with open(path, "w", newline="") as f:
            f.write(text)
        lines.append(entry(name, scipy.io.mmread(path)))
    lines.append("};")
    lines.append("struct MarketWrite { const char* name; int rows, cols; bool complex; std::vector<int> row, col; "
                 "std::vector<double> values; };")
    lines.append("static const MarketWrite kMarketWrites[] = {")
    for name, m in WRITE:
        lines.append(write_case(name, m))
    lines.append("};")
    write("sparse_market_golden.inc", lines, "MatrixMarket files read by scipy.io.mmread; matrices for the writer.")

#!/usr/bin/python3
"""Checks what tests/sparse/test_sparse_random.cpp wrote into FOLDER, with scipy and numpy:

system_NAME.mtx, x_NAME.mtx, b_NAME.mtx   a RandomSparse system A, its solution X and right-hand side B (X and B as
                                          one-column matrices): every column of A strictly diagonally dominant
                                          (|a_jj| > the sum of the column's other magnitudes) and
                                          ||A·X - B||inf <= 1e-12·||B||inf.
source_NAME.mtx, picture_NAME_wWIDTH_METHOD.bin
                                          a matrix and its PixelDownSample picture at WIDTH pixels (row-major
                                          Doubles): the picture of numpy.add.at binning (numpy.maximum.at for peak)
                                          of the entries in storage order, entry (r, c) on pixel (trunc(r·s),
                                          trunc(c·s)) with s = WIDTH / max(rows, cols), a side of n pixels being
                                          max(trunc(n·s), trunc((n - 1)·s) + 1); pattern adds s², average s²·|v|,
                                          peak keeps the largest s²·|v|. Real pictures agree bit for bit, complex ones
                                          to 2^-52 relative (the modulus may round differently).
Prints one line per failure and exits with 1 if there is any.

Run: /usr/bin/python3 tests/data/check_sparse_random.py FOLDER
"""
import glob
import os
import re
import sys

import numpy as np
import scipy.io
import scipy.sparse as sp

folder = sys.argv[1]
failures = []
checked = 0


def read(path):
    """The entries of a MatrixMarket file in the order of its lines, and its shape."""
    m = scipy.io.mmread(path)
    m = sp.coo_matrix(m)
    return m


for path in sorted(glob.glob(os.path.join(folder, "system_*.mtx"))):
    name = os.path.basename(path)[len("system_"):-len(".mtx")]
    a = read(path).tocsc()
    x = read(os.path.join(folder, f"x_{name}.mtx")).toarray().ravel()
    b = read(os.path.join(folder, f"b_{name}.mtx")).toarray().ravel()
    n = a.shape[0]
    if a.shape != (n, n) or x.size != n or b.size != n:
        failures.append(f"{name}: shapes {a.shape}, {x.size}, {b.size}")
        continue
    mags = abs(a)
    diag = a.diagonal()
    off = np.asarray(mags.sum(axis=0)).ravel() - np.abs(diag)
    bad = np.nonzero(~(diag > off))[0]
    if bad.size:
        failures.append(f"{name}: columns not strictly dominant: {bad[:10].tolist()}")
    residual = np.max(np.abs(a @ x - b))
    if not residual <= 1e-12 * np.max(np.abs(b)):
        failures.append(f"{name}: residual {residual} against |B| {np.max(np.abs(b))}")
    checked += 1

for path in sorted(glob.glob(os.path.join(folder, "picture_*.bin"))):
    match = re.fullmatch(r"picture_(.+)_w(\d+)_(pattern|average|peak)\.bin", os.path.basename(path))
    name, width, method = match.group(1), int(match.group(2)), match.group(3)
    m = read(os.path.join(folder, f"source_{name}.mtx"))
    rows, cols = m.shape
    s = width / max(rows, cols)
    w = s * s

    def side(count):
        return max(int(np.trunc(count * s)), int(np.trunc((count - 1) * s)) + 1)

    shape = (side(rows), side(cols))
    pr = np.trunc(m.row * s).astype(np.int64)
    pc = np.trunc(m.col * s).astype(np.int64)
    expected = np.zeros(shape)
    if method == "pattern":
        np.add.at(expected, (pr, pc), w)
    elif method == "average":
        np.add.at(expected, (pr, pc), np.abs(m.data) * w)
    else:
        np.maximum.at(expected, (pr, pc), np.abs(m.data) * w)
    ours = np.fromfile(path, dtype="<f8")
    if ours.size != expected.size:
        failures.append(f"{name} {method}: {ours.size} pixels, expected {shape}")
        continue
    ours = ours.reshape(shape)
    if np.iscomplexobj(m.data):
        same = np.allclose(ours, expected, rtol=2.0**-52 * 4, atol=0)
    else:
        same = np.array_equal(ours, expected)
    if not same:
        diff = np.argwhere(ours != expected)[:5].tolist()
        failures.append(f"{name} {method}: pixels differ at {diff}")
    checked += 1

if checked == 0:
    failures.append("nothing to check in " + folder)
for f in failures:
    print(f)
sys.exit(1 if failures else 0)

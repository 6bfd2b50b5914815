#!/usr/bin/python3
"""Block and special matrices for tests/core/test_mtx_blocks.cpp: numpy's vstack, hstack, block and outer, scipy's
toeplitz (FirstRow[0] atop FirstCol) and pascal (exact, N = 29: every smaller Pascal matrix is its top-left
corner), and a vector placed on each diagonal of a matrix.

Run: /usr/bin/python3 tests/data/gen_mtx_blocks_golden.py   (writes mtx_blocks_golden.inc next to this script)
"""
import numpy as np
from scipy.linalg import pascal, toeplitz

from golden import cplx, doubles, matrix, write

rng = np.random.default_rng(20261165)


def real(rows, cols):
    return np.round(rng.standard_normal((rows, cols)) * 10, 3)


def cmat(rows, cols):
    return cplx(real(rows, cols), real(rows, cols))


def blocks(name, mats):
    is_c = np.iscomplexobj(mats[0])
    return f"static const GoldMtx {name}[] = {{" + ", ".join(matrix(m, is_c) for m in mats) + "};"


lines = []
# Stacking: three blocks of one width (height), real and complex.
vert_r = [real(2, 3), real(1, 3), real(3, 3)]
vert_c = [cmat(2, 3), cmat(1, 3), cmat(3, 3)]
horz_r = [real(2, 1), real(2, 3), real(2, 2)]
horz_c = [cmat(2, 1), cmat(2, 3), cmat(2, 2)]
lines += [blocks("kVertR", vert_r), f"static const GoldMtx kVertRWant = {matrix(np.vstack(vert_r), False)};",
          blocks("kVertC", vert_c), f"static const GoldMtx kVertCWant = {matrix(np.vstack(vert_c), True)};",
          blocks("kHorzR", horz_r), f"static const GoldMtx kHorzRWant = {matrix(np.hstack(horz_r), False)};",
          blocks("kHorzC", horz_c), f"static const GoldMtx kHorzCWant = {matrix(np.hstack(horz_c), True)};"]

# A 2 × 3 grid: block rows 2 and 1 high, block columns 1, 3 and 2 wide.
for kind, make in (("R", real), ("C", cmat)):
    grid = [[make(2, 1), make(2, 3), make(2, 2)], [make(1, 1), make(1, 3), make(1, 2)]]
    flat = [b for r in grid for b in r]
    lines += [blocks(f"kGrid{kind}", flat),
              f"static const GoldMtx kGrid{kind}Want = {matrix(np.block(grid), kind == 'C')};"]

# Outer products of every pair of kinds (no conjugation).
v_r, w_r = real(1, 3)[0], real(1, 4)[0]
v_c, w_c = cmat(1, 3)[0], cmat(1, 4)[0]
lines.append("static const KronRow kKron[] = {")
for a, b in ((v_r, w_r), (v_r, w_c), (v_c, w_r), (v_c, w_c)):
    ac, bc = np.iscomplexobj(a), np.iscomplexobj(b)
    out = np.outer(a, b)
    lines.append(f'{{{"true" if ac else "false"}, {doubles(a)}, {"true" if bc else "false"}, {doubles(b)}, '
                 f'{matrix(out, ac or bc)}}},')
lines.append("};")

# Toeplitz matrices: scipy's toeplitz(c, r) with c = FirstRow[0] followed by FirstCol.
lines.append("static const ToeplitzRow kToeplitz[] = {")
for first_row, first_col in ((real(1, 3)[0], real(1, 2)[0]), (real(1, 2)[0], real(1, 4)[0]),
                             (real(1, 4)[0], np.zeros(0)), (real(1, 1)[0], real(1, 3)[0]),
                             (cmat(1, 3)[0], cmat(1, 3)[0])):
    is_c = np.iscomplexobj(first_row)
    out = toeplitz(np.concatenate([first_row[:1], first_col]), first_row)
    lines.append(f'{{{"true" if is_c else "false"}, {doubles(first_row, is_c)}, {doubles(first_col, is_c)}, '
                 f'{matrix(out, is_c)}}},')
lines.append("};")

lines.append(f"static const GoldMtx kPascal29 = {matrix(np.array(pascal(29, exact=True), dtype=float), False)};")

# A vector on diagonal K of a 3 × 4 matrix, for every K with a diagonal, at the longest length that fits.
base_r, base_c = real(3, 4), cmat(3, 4)
lines += [f"static const GoldMtx kDiagBaseR = {matrix(base_r, False)};",
          f"static const GoldMtx kDiagBaseC = {matrix(base_c, True)};"]
lines.append("static const DiagRow kDiag[] = {")
for k in range(-2, 4):
    r0, c0 = max(0, -k), max(0, k)
    n = min(3 - r0, 4 - c0)
    for base in (base_r, base_c):
        is_c = np.iscomplexobj(base)
        v = (cmat if is_c else real)(1, n)[0]
        out = base.copy()
        out[np.arange(n) + r0, np.arange(n) + c0] = v
        lines.append(f'{{{k}, {"true" if is_c else "false"}, {doubles(v, is_c)}, {matrix(out, is_c)}}},')
lines.append("};")

write("mtx_blocks_golden.inc", lines)

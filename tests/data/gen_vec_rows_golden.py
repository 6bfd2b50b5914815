#!/usr/bin/python3
"""Vectors taken from matrices, from numpy, for tests/core/test_elem_rows.cpp, written through golden.py.

Matrices  3 x 3, 2 x 4 and 4 x 2, real and complex (uniform values, fixed seed), row by row.
Cases     CopyMtx: np.ravel(M); Diag: np.diag(M, k) for every k from -Rows to Cols, the two ends out of range
          ("k out of range"); Row/Col: every M[r, :] and M[:, c]; RowPart (Row, Col, Len): M[Row, Col:Col+Len];
          ColPart (Row, Col, Len): M[Row:Row+Len, Col]. Copies are exact: the test compares bit for bit.

Run: /usr/bin/python3 tests/data/gen_vec_rows_golden.py   (writes vec_rows_matrices.inc and vec_rows_golden.inc)
"""
import numpy as np

from golden import doubles, matrix, write

rng = np.random.default_rng(20261210)
SHAPES = [(3, 3), (2, 4), (4, 2)]


def case(what, index, form, a, b, c, expected, complex_, raises="nullptr"):
    return f'{{"{what}", {index}, "{form}", {a}, {b}, {c}, {raises}, {doubles(expected, complex_)}}},'


def main():
    matrices, cases = [], []
    for complex_ in (False, True):
        for rows, cols in SHAPES:
            m = rng.uniform(-10, 10, (rows, cols))
            if complex_:
                m = m + 1j * rng.uniform(-10, 10, (rows, cols))
            index = len(matrices)
            matrices.append(f"{{{str(complex_).lower()}, {matrix(m, complex_)}}},")
            name = f"{'complex' if complex_ else 'real'} {rows}x{cols}"
            cases.append(case(f"{name} CopyMtx", index, "CopyMtx", 0, 0, 0, np.ravel(m), complex_))
            for k in range(-rows, cols + 1):
                if k in (-rows, cols):
                    cases.append(case(f"{name} Diag {k}", index, "Diag", k, 0, 0, [], complex_, '"k out of range"'))
                else:
                    cases.append(case(f"{name} Diag {k}", index, "Diag", k, 0, 0, np.diag(m, k), complex_))
            for r in range(rows):
                cases.append(case(f"{name} Row {r}", index, "Row", r, 0, 0, m[r, :], complex_))
            for c in range(cols):
                cases.append(case(f"{name} Col {c}", index, "Col", c, 0, 0, m[:, c], complex_))
            for r, c, n in [(0, 0, cols), (rows - 1, 1, cols - 1), (1, cols - 1, 1)]:
                cases.append(case(f"{name} RowPart {r} {c} {n}", index, "RowPart", r, c, n, m[r, c:c + n],
                                  complex_))
            for r, c, n in [(0, 0, rows), (1, cols - 1, rows - 1), (rows - 1, 1, 1)]:
                cases.append(case(f"{name} ColPart {r} {c} {n}", index, "ColPart", r, c, n, m[r:r + n, c],
                                  complex_))
    write("vec_rows_matrices.inc", matrices, "{ complex, GoldMtx }")
    write("vec_rows_golden.inc", cases, "{ what, matrix, form, a, b, c, raises, {expected} }")


if __name__ == "__main__":
    main()

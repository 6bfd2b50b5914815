#!/usr/bin/python3
"""The matrices of the MatrixMarket test, written by scipy.io.mmwrite into tests/data/matrix_market/<name>.mtx, and
their Doubles for tests/core/test_text_exchange.cpp (matrix_market_golden.inc). The test writes the same matrices
with TMtx.SaveToMatrixMarketFile and runs check_matrix_market.py on its files, which reads them and these with
scipy.io.mmread. The files stay for the sparse MatrixMarket reader as other programs' array files.

Values that need all 17 digits, -0, infinities, NaN and a subnormal, in real and complex matrices of 1 × 1, 2 × 3,
3 × 2 and 0 × 0.

Run: /usr/bin/python3 tests/data/gen_matrix_market.py
"""
import os
import numpy as np
import scipy.io

from golden import HERE, cplx, matrix, write

# Each value of these lands in a real matrix and in a complex one, as a real and as an imaginary part.
A23 = np.array([[0.1 + 0.2, -0.0, np.inf], [-np.inf, np.nan, 1e-310]])
B32 = np.array([[5e-324, 1.7976931348623157e308], [1e15, 1e-5], [123456789012345678.0, 2.0 / 3.0]])
CASES = [
    ("real_1x1", np.array([[0.1 + 0.2]])),
    ("real_2x3", A23),
    ("real_3x2", B32),
    ("real_0x0", np.zeros((0, 0))),
    ("complex_1x1", cplx(np.array([[-0.0]]), np.array([[1e-310]]))),
    ("complex_2x3", cplx(A23, B32.T)),
    ("complex_3x2", cplx(B32, A23.T)),
    ("complex_0x0", np.zeros((0, 0), dtype=complex)),
]


def same(a, b):
    """The same shape and kind and the same Doubles bit for bit, any NaN equal to any NaN."""
    if a.shape != b.shape or np.iscomplexobj(a) != np.iscomplexobj(b):
        return False
    x = np.ravel(a.view(float) if np.iscomplexobj(a) else a)
    y = np.ravel(b.view(float) if np.iscomplexobj(b) else b)
    both_nan = np.isnan(x) & np.isnan(y)
    return bool(np.all(both_nan | (x.view(np.int64) == y.view(np.int64))))


if __name__ == "__main__":
    folder = os.path.join(HERE, "matrix_market")
    os.makedirs(folder, exist_ok=True)
    lines = ["struct MarketCase { const char* name; bool complex; GoldMtx m; };", "static const MarketCase kMarket[] = {"]
    for name, a in CASES:
        path = os.path.join(folder, name + ".mtx")
        scipy.io.mmwrite(path, a, symmetry="general")
        assert same(scipy.io.mmread(path), a), name  # mmwrite's own file reads back exactly
        lines.append('  {"%s", %s, %s},' % (name, "true" if np.iscomplexobj(a) else "false",
                                             matrix(a, np.iscomplexobj(a))))
    lines.append("};")
    write("matrix_market_golden.inc", lines, "The matrices of tests/data/matrix_market/<name>.mtx.")

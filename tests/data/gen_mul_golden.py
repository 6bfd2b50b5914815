#!/usr/bin/python3
"""Writes the reference products of the matrix-product tests as C++ tables through the writer of golden.py
(numpy.matmul on small integer matrices, so every product is exact in any order of summation and the tests
compare exactly).

mul_golden.inc   TMtx.Mul: general products for every pair of operations on non-square operands, symmetric and
                 Hermitian products (rules 1 and 2, both triangle forms, every operation), triangular products
                 (both triangle forms, unit diagonals, every operation), each with Alpha and Beta.
mul_vec_golden.inc  TensorProd: the row form Vec·op(M) and the form M·Vec for general, symmetric, Hermitian and
                 triangular matrices, with BlasAlpha and BlasBeta.

mul_rearrange_golden.inc  Transp, Adjung, FlipVer, FlipHor and Rotate90 (numpy's .T, .conj().T, flipud, fliplr and
                 rot90(a, -1)) of real and complex matrices, one of them larger than a transposition tile.
band_golden.inc  A dense matrix with 1 super- and 2 sub-diagonals and its band storage in scipy's `ab` layout
                 (ab[u + i - j, j] = a[i, j]), checked here against scipy.linalg.solve_banded.

The full symmetric/Hermitian/triangular matrix is written; the tests overwrite the triangle the routine must not
read (and a unit diagonal) with NaN, so a wrong triangle letter shows as NaN in the result.

Run: /usr/bin/python3 tests/data/gen_mul_golden.py   (writes the four files next to this script)
"""
import itertools

import numpy as np
import scipy.linalg

from golden import lit, matrix, write

rng = np.random.default_rng(20261210)
OPS = ["opNone", "opTran", "opHerm"]
TFS = ["tfLower", "tfUpper"]


def ints(rows, cols, cplx):
    a = rng.integers(-4, 5, size=(rows, cols)).astype(np.float64)
    if cplx:
        a = a + 1j * rng.integers(-4, 5, size=(rows, cols)).astype(np.float64)
    return a


def op(a, o):
    if o == "opNone":
        return a
    if o == "opTran":
        return a.T
    return a.conj().T


def shape_for(o, rows, cols):
    """Shape of the stored operand so that op(stored) is rows x cols."""
    return (rows, cols) if o == "opNone" else (cols, rows)


def sym(n, cplx):
    a = ints(n, n, cplx)
    if cplx:
        h = np.triu(a, 1)
        return h + h.conj().T + np.diag(np.real(np.diag(a)))
    u = np.triu(a)
    return u + np.triu(a, 1).T


def tri(a, tf, unit):
    t = np.tril(a) if tf == "tfLower" else np.triu(a)
    if unit:
        np.fill_diagonal(t, 1)
    return t


def mtx(a, cplx):
    return matrix(np.asarray(a), cplx)


def scalar(z):
    return "{%s, %s}" % (lit(z.real), lit(z.imag))


def mul_cases():
    out = []
    m, k, n = 3, 4, 5
    for cplx in (False, True):
        alpha = (0.5 + 1j) if cplx else 1.5 + 0j
        beta = (0.25 - 0.5j) if cplx else -0.5 + 0j
        # Rule 5: every pair of operations on non-square operands.
        for o1, o2 in itertools.product(OPS, OPS):
            a = ints(*shape_for(o1, m, k), cplx)
            b = ints(*shape_for(o2, k, n), cplx)
            c0 = ints(m, n, cplx)
            e = alpha * (op(a, o1) @ op(b, o2)) + beta * c0
            out.append(("general %s %s" % (o1, o2), cplx, "mtGeneral", "mtGeneral", o1, o2, "tfUpper", "tfUpper",
                        False, False, alpha, beta, a, b, c0, e))
        symtype = "mtHermitian" if cplx else "mtSymmetric"
        # Rules 1 and 2: the symmetric/Hermitian operand first or second, every operation on either side.
        for first, tf, os_, oo in itertools.product((True, False), TFS, OPS, ("opNone", "opTran", "opHerm")):
            s = sym(k, cplx)
            if first:
                a, o1, b, o2 = s, os_, ints(*shape_for(oo, k, n), cplx), oo
                rows, cols = k, n
            else:
                a, o1, b, o2 = ints(*shape_for(oo, m, k), cplx), oo, s, os_
                rows, cols = m, k
            c0 = ints(rows, cols, cplx)
            e = alpha * (op(a, o1) @ op(b, o2)) + beta * c0
            t1, t2 = (symtype, "mtGeneral") if first else ("mtGeneral", symtype)
            out.append(("%s %s %s %s %s" % (t1, t2, o1, o2, tf), cplx, t1, t2, o1, o2, tf, tf, False, False,
                        alpha, beta, a, b, c0, e))
        # Rules 3 and 4: the triangular operand first or second; Beta is not used.
        for first, tf, unit, ot, oo in itertools.product((True, False), TFS, (False, True), OPS, ("opNone", "opHerm")):
            full = ints(k, k, cplx)
            t = tri(full, tf, unit)
            if first:
                a, o1, b, o2 = full, ot, ints(*shape_for(oo, k, n), cplx), oo
                e = alpha * (op(t, o1) @ op(b, o2))
                rows, cols = k, n
            else:
                a, o1, b, o2 = ints(*shape_for(oo, m, k), cplx), oo, full, ot
                e = alpha * (op(a, o1) @ op(t, o2))
                rows, cols = m, k
            c0 = ints(rows, cols, cplx)
            t1, t2 = ("mtTriangle", "mtGeneral") if first else ("mtGeneral", "mtTriangle")
            out.append(("%s %s %s %s %s unit=%d" % (t1, t2, o1, o2, tf, unit), cplx, t1, t2, o1, o2, tf, tf, unit,
                        unit, alpha, beta, a, b, c0, e))
    return out


def vec_cases():
    out = []
    for cplx in (False, True):
        alpha = (2 - 1j) if cplx else 2 + 0j
        beta = (0.5 + 0.5j) if cplx else -1 + 0j
        # General matrices, not square: the row form with every operation and the form M·v.
        for o in OPS:
            mm = ints(3, 4, cplx)
            rows = op(mm, o).shape[0]
            v = ints(1, rows, cplx)[0]
            y0 = ints(1, op(mm, o).shape[1], cplx)[0]
            e = alpha * (v @ op(mm, o)) + beta * y0
            out.append(("row general %s" % o, cplx, "row", "mtGeneral", o, "tfUpper", False, alpha, beta, mm, v, y0, e))
        mm = ints(3, 4, cplx)
        v = ints(1, 4, cplx)[0]
        y0 = ints(1, 3, cplx)[0]
        out.append(("M*v general", cplx, "mv", "mtGeneral", "opNone", "tfUpper", False, alpha, beta, mm, v, y0,
                    alpha * (mm @ v) + beta * y0))
        symtype = "mtHermitian" if cplx else "mtSymmetric"
        for tf in TFS:
            for o in OPS:
                s = sym(4, cplx)
                v = ints(1, 4, cplx)[0]
                y0 = ints(1, 4, cplx)[0]
                out.append(("row %s %s %s" % (symtype, o, tf), cplx, "row", symtype, o, tf, False, alpha, beta, s, v,
                            y0, alpha * (v @ op(s, o)) + beta * y0))
            s = sym(4, cplx)
            v = ints(1, 4, cplx)[0]
            y0 = ints(1, 4, cplx)[0]
            out.append(("M*v %s %s" % (symtype, tf), cplx, "mv", symtype, "opNone", tf, False, alpha, beta, s, v, y0,
                        alpha * (s @ v) + beta * y0))
            for unit in (False, True):
                for o in OPS:
                    full = ints(4, 4, cplx)
                    v = ints(1, 4, cplx)[0]
                    y0 = ints(1, 4, cplx)[0]
                    out.append(("row triangle %s %s unit=%d" % (o, tf, unit), cplx, "row", "mtTriangle", o, tf, unit,
                                alpha, beta, full, v, y0, v @ op(tri(full, tf, unit), o)))
                full = ints(4, 4, cplx)
                v = ints(1, 4, cplx)[0]
                y0 = ints(1, 4, cplx)[0]
                out.append(("M*v triangle %s unit=%d" % (tf, unit), cplx, "mv", "mtTriangle", "opNone", tf, unit,
                            alpha, beta, full, v, y0, tri(full, tf, unit) @ v))
    return out


def vec(v, cplx):
    return mtx(np.asarray(v).reshape(1, -1), cplx)


def main():
    lines = []
    for (name, cplx, t1, t2, o1, o2, tf1, tf2, u1, u2, al, be, a, b, c0, e) in mul_cases():
        lines.append('{"%s", %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s},' % (
            name, str(cplx).lower(), t1, t2, o1, o2, tf1, tf2, str(bool(u1)).lower(), str(bool(u2)).lower(),
            scalar(al), scalar(be), mtx(a, cplx), mtx(b, cplx), mtx(c0, cplx), mtx(e, cplx)))
    write("mul_golden.inc", lines,
          "{ what, complex, Type1, Type2, Op1, Op2, TriangleForm1, TriangleForm2, TriangleUnit1, TriangleUnit2,"
          " Alpha, Beta, Mtx1, Mtx2, Self before, expected Self }")
    lines = []
    for (name, cplx, form, t, o, tf, u, al, be, mm, v, y0, e) in vec_cases():
        lines.append('{"%s", %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s},' % (
            name, str(cplx).lower(), str(form == "mv").lower(), t, o, tf, str(bool(u)).lower(), scalar(al),
            scalar(be), mtx(mm, cplx), vec(v, cplx), vec(y0, cplx), vec(e, cplx)))
    write("mul_vec_golden.inc", lines,
          "{ what, complex, matrix-times-vector form, MtxType, Operation, TriangleForm, TriangleUnit, BlasAlpha,"
          " BlasBeta, Mtx, Vec, Self before, expected Self (1 x n) }")


def rearrange():
    lines = []
    for name, cplx, shape in (("5x7 real", False, (5, 7)), ("4x6 complex", True, (4, 6)),
                              ("35x33 complex", True, (35, 33)), ("33x33 real", False, (33, 33))):
        a = ints(*shape, cplx)
        parts = [a.T, a.conj().T, np.flipud(a), np.fliplr(a), np.rot90(a, -1)]
        lines.append('{"%s", %s, %s},' % (name, str(cplx).lower(), ", ".join(mtx(x, cplx) for x in [a] + parts)))
    write("mul_rearrange_golden.inc", lines, "{ what, complex, Mtx, Transp, Adjung, FlipVer, FlipHor, Rotate90 }")


def band():
    n, kl, ku = 6, 2, 1
    a = ints(n, n, False)
    for i in range(n):
        for j in range(n):
            if j - i > ku or i - j > kl:
                a[i, j] = 0
    a[0, 1] = 7  # the outermost diagonals hold nonzero elements
    a[2, 0] = -3
    ab = np.zeros((ku + kl + 1, n))
    for i in range(n):
        for j in range(n):
            if -kl <= j - i <= ku:
                ab[ku + i - j, j] = a[i, j]
    rhs = np.arange(1.0, n + 1)
    assert np.allclose(scipy.linalg.solve_banded((kl, ku), ab, rhs), np.linalg.solve(a, rhs))
    write("band_golden.inc", ['{"6x6, 1 super, 2 sub", %d, %d, %s, %s},' % (ku, kl, mtx(a, False), mtx(ab, False))],
          "{ what, SuperDiag, SubDiag, dense, band storage }")


if __name__ == "__main__":
    main()
    rearrange()
    band()

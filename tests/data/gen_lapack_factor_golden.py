#!/usr/bin/python3
"""Writes the reference results of the least-squares, factorization, inverse, determinant and QR tests as C++ tables
through the writer of golden.py.

lsq_golden.inc     TMtx.LQRSolve against numpy.linalg.lstsq (op(A)·X = B, one or more right-hand sides), with R
                   against numpy.linalg.qr(A, 'r') where the case asks for it (a complex opTran solve factors conj(A),
                   so its R is conj(qr(conj(A), 'r'))); TMtx.SVDSolve against lstsq(rcond=...): solution, singular
                   values and rank.
lud_golden.inc     TMtx.LUD against scipy.linalg.lu_factor (P = piv, 0-based), scipy.linalg.cholesky and
                   scipy.linalg.lapack.dsytrf/zsytrf/zhetrf (both triangles; P = ipiv - 1).
inv_golden.inc     TMtx.Inv against numpy.linalg.inv for every type and both triangles; for the symmetric, Hermitian
                   and triangular types the triangle the routine must not read is NaN in the input.
det_golden.inc     TMtx.Determinant against mpmath at 50 digits on small integers (exact) and numpy.linalg.det.
qr_golden.inc      TMtx.LQR (m >= n) against numpy.linalg.qr, reduced and complete (Q and R, signs included).

Run: /usr/bin/python3 tests/data/gen_lapack_factor_golden.py   (writes the five files next to this script)
"""
import mpmath
import numpy as np
import scipy.linalg
import scipy.linalg.lapack as lapack

from golden import lit, matrix, write

rng = np.random.default_rng(20261231)
NAN = float("nan")


def rand(rows, cols, cplx):
    a = rng.uniform(-1, 1, size=(rows, cols))
    if cplx:
        a = a + 1j * rng.uniform(-1, 1, size=(rows, cols))
    return a


def ints(rows, cols, cplx):
    a = rng.integers(-5, 6, size=(rows, cols)).astype(np.float64)
    if cplx:
        a = a + 1j * rng.integers(-5, 6, size=(rows, cols)).astype(np.float64)
    return a


def op(a, o):
    return {"opNone": a, "opTran": a.T, "opHerm": a.conj().T}[o]


def empty():
    return "{0, 0, {}}"


# ---- least squares ------------------------------------------------------------------------------------------------
lsq = []


def lqr_case(what, a, b, o, with_r):
    cplx = np.iscomplexobj(a)
    x = np.linalg.lstsq(op(a, o), b, rcond=None)[0]
    r = empty()
    if with_r:
        if cplx and o == "opTran":
            r = matrix(np.conj(np.linalg.qr(a.conj(), "r")), True)
        else:
            r = matrix(np.linalg.qr(a, "r"), cplx)
    lsq.append(f'{{"{what}", {str(cplx).lower()}, false, {o}, 0, {matrix(a, cplx)}, {matrix(b, cplx)}, '
               f'{matrix(x, cplx)}, {r}, {{}}, 0}},')


def svd_case(what, a, b, rcond):
    cplx = np.iscomplexobj(a)
    x, _, rank, s = np.linalg.lstsq(a, b, rcond=rcond)
    lsq.append(f'{{"{what}", {str(cplx).lower()}, true, opNone, {lit(rcond)}, {matrix(a, cplx)}, '
               f'{matrix(b, cplx)}, {matrix(x, cplx)}, {empty()}, {{{", ".join(lit(v) for v in s)}}}, {rank}}},')


for cplx in (False, True):
    k = "complex" if cplx else "real"
    a32 = rand(3, 2, cplx)
    lqr_case(f"{k} 3x2 opNone with R", a32, rand(3, 1, cplx), "opNone", True)
    lqr_case(f"{k} 3x2 opNone 2 right-hand sides with R", a32, rand(3, 2, cplx), "opNone", True)
    lqr_case(f"{k} 2x3 opNone", rand(2, 3, cplx), rand(2, 1, cplx), "opNone", False)
    lqr_case(f"{k} 3x2 opTran with R", a32, rand(2, 1, cplx), "opTran", True)
    lqr_case(f"{k} 3x2 opHerm with R", a32, rand(2, 1, cplx), "opHerm", True)
    lqr_case(f"{k} 2x3 opTran 2 right-hand sides", rand(2, 3, cplx), rand(3, 2, cplx), "opTran", False)
    lqr_case(f"{k} 5x4 opNone 3 right-hand sides with R", rand(5, 4, cplx), rand(5, 3, cplx), "opNone", True)

    u = rand(3, 2, cplx)
    rank2 = u @ rand(2, 3, cplx)
    svd_case(f"{k} rank-2 3x3", rank2, rand(3, 1, cplx), 1e-10)
    svd_case(f"{k} 2x4", rand(2, 4, cplx), rand(2, 1, cplx), -1.0)
    svd_case(f"{k} 4x2 3 right-hand sides", rand(4, 2, cplx), rand(4, 3, cplx), -1.0)
    svd_case(f"{k} 3x3 rcond 0.5 drops a value", np.diag([4.0, 1.0, 3.0]) + (1j if cplx else 0) * np.eye(3),
             rand(3, 1, cplx), 0.5)
svd_case("complex 14x20 2 right-hand sides", rand(14, 20, True), rand(14, 2, True), -1.0)
write("lsq_golden.inc", lsq,
      "{ what, complex, SVDSolve, Operation, RCOND, A, B (one column per right-hand side), X, R (0 x 0: none), "
      "S, rank }")

# ---- LUD ----------------------------------------------------------------------------------------------------------
lud = []


def spd(n, cplx):
    a = rand(n, n, cplx)
    return a @ a.conj().T + n * np.eye(n)


def sym(n, cplx):
    a = rand(n, n, cplx)
    return a + a.T


def herm(n):
    a = rand(n, n, True)
    return a + a.conj().T


def lud_row(what, a, mtype, tf, auto, p, l, u):
    cplx = np.iscomplexobj(a)
    lud.append(f'{{"{what}", {str(cplx).lower()}, {mtype}, {tf}, {str(auto).lower()}, {matrix(a, cplx)}, '
               f'{{{", ".join(lit(v) for v in p)}}}, {l}, {u}}},')


for cplx in (False, True):
    k = "complex" if cplx else "real"
    a = rand(4, 4, cplx)
    lu, piv = scipy.linalg.lu_factor(a)
    n = a.shape[0]
    lud_row(f"{k} general", a, "mtGeneral", "tfUpper", False, piv,
            matrix(np.tril(lu, -1) + np.eye(n), cplx), matrix(np.triu(lu), cplx))
    pd = spd(4, cplx)
    t = "mtHermPosDef" if cplx else "mtSymmPosDef"
    lud_row(f"{k} Cholesky tfLower", pd, t, "tfLower", False, [],
            matrix(scipy.linalg.cholesky(pd, lower=True), cplx), empty())
    lud_row(f"{k} Cholesky tfUpper", pd, t, "tfUpper", False, [], empty(),
            matrix(scipy.linalg.cholesky(pd, lower=False), cplx))
    s = sym(5, cplx)
    trf = lapack.zsytrf if cplx else lapack.dsytrf
    for tf, lower in (("tfLower", 1), ("tfUpper", 0)):
        ldu, ipiv, info = trf(s, lower=lower)
        assert info == 0
        if lower:
            lud_row(f"{k} symmetric {tf}", s, "mtSymmetric", tf, False, ipiv - 1, matrix(np.tril(ldu), cplx),
                    empty())
        else:
            lud_row(f"{k} symmetric {tf}", s, "mtSymmetric", tf, False, ipiv - 1, empty(),
                    matrix(np.triu(ldu), cplx))
    # Detection sets tfUpper for every non-triangular matrix, so a preset tfLower gives the upper factor in U.
    ldu, ipiv, info = trf(s, lower=0)
    lud_row(f"{k} symmetric AutoMtxType over tfLower", s, "mtGeneral", "tfLower", True, ipiv - 1, empty(),
            matrix(np.triu(ldu), cplx))
h = herm(5)
for tf, lower in (("tfLower", 1), ("tfUpper", 0)):
    ldu, ipiv, info = lapack.zhetrf(h, lower=lower)
    assert info == 0
    if lower:
        lud_row(f"complex Hermitian {tf}", h, "mtHermitian", tf, False, ipiv - 1, matrix(np.tril(ldu), True),
                empty())
    else:
        lud_row(f"complex Hermitian {tf}", h, "mtHermitian", tf, False, ipiv - 1, empty(),
                matrix(np.triu(ldu), True))
write("lud_golden.inc", lud, "{ what, complex, MtxType, TriangleForm, AutoMtxType, A, P, L (0 x 0: not compared), "
      "U (0 x 0: not compared) }")

# ---- Inv ----------------------------------------------------------------------------------------------------------
inv = []


def poisoned(a, tf, strict=True):
    """a with the triangle the routine must not read set to NaN (strict: the diagonal is kept)."""
    p = np.array(a, dtype=a.dtype)
    n = a.shape[0]
    for i in range(n):
        for j in range(n):
            if (tf == "tfUpper" and i > j) or (tf == "tfLower" and i < j):
                p[i, j] = NAN * (1 + 1j) if np.iscomplexobj(a) else NAN
    return p


def inv_row(what, a, given, mtype, tf, unit=False):
    cplx = np.iscomplexobj(a)
    inv.append(f'{{"{what}", {str(cplx).lower()}, {mtype}, {tf}, {str(unit).lower()}, {matrix(given, cplx)}, '
               f'{matrix(np.linalg.inv(a), cplx)}}},')


for cplx in (False, True):
    k = "complex" if cplx else "real"
    g = rand(5, 5, cplx)
    inv_row(f"{k} general", g, g, "mtGeneral", "tfUpper")
    pd = spd(5, cplx)
    s = sym(5, cplx)
    for tf in ("tfLower", "tfUpper"):
        inv_row(f"{k} positive definite {tf}", pd, poisoned(pd, tf), "mtHermPosDef" if cplx else "mtSymmPosDef", tf)
        inv_row(f"{k} symmetric {tf}", s, poisoned(s, tf), "mtSymmetric", tf)
        tri = np.triu(rand(5, 5, cplx)) + 2 * np.eye(5)
        if tf == "tfLower":
            tri = tri.T
        inv_row(f"{k} triangle {tf}", tri, poisoned(tri, tf), "mtTriangle", tf)
        unit = tri - np.diag(np.diag(tri)) + np.eye(5)
        given = poisoned(unit, tf)
        np.fill_diagonal(given, NAN)
        inv_row(f"{k} unit triangle {tf}", unit, given, "mtTriangle", tf, True)
    h = herm(5)
    for tf in ("tfLower", "tfUpper"):
        inv_row(f"complex Hermitian {tf}" if cplx else f"real Hermitian {tf} (as symmetric)",
                h if cplx else s, poisoned(h if cplx else s, tf), "mtHermitian", tf)
write("inv_golden.inc", inv, "{ what, complex, MtxType, TriangleForm, TriangleUnit, A as given (NaN where not read), "
      "inverse of the whole matrix }")

# ---- Determinant --------------------------------------------------------------------------------------------------
det = []
mpmath.mp.dps = 50


def det_row(what, a, tol):
    cplx = np.iscomplexobj(a)
    exact = mpmath.det(mpmath.matrix([[mpmath.mpc(complex(v)) for v in r] for r in a]))
    d = complex(exact)
    if not np.isclose(d, np.linalg.det(a), rtol=1e-10, atol=1e-300):
        raise SystemExit(f"numpy and mpmath differ for {what}")
    det.append(f'{{"{what}", {str(cplx).lower()}, {matrix(a, cplx)}, {{{lit(d.real)}, {lit(d.imag)}}}, {lit(tol)}}},')


for cplx in (False, True):
    k = "complex" if cplx else "real"
    det_row(f"{k} 1x1", ints(1, 1, cplx), 0)
    det_row(f"{k} 5x5 integers", ints(5, 5, cplx), 1e-13)
    det_row(f"{k} 8x8", rand(8, 8, cplx), 1e-12)
    det_row(f"{k} zero first pivot", np.array([[0, 2, 1], [3, 1, 4], [1, 5, 9]], dtype=complex if cplx else float),
            1e-14)
det_row("real exchange", np.array([[0.0, 1.0], [1.0, 0.0]]), 0)
det_row("real singular", np.array([[1.0, 2.0], [2.0, 4.0]]), 0)
write("det_golden.inc", det, "{ what, complex, A, determinant (Re, Im), relative tolerance (0: exact) }")

# ---- QR -----------------------------------------------------------------------------------------------------------
qr = []
for cplx in (False, True):
    k = "complex" if cplx else "real"
    for rows, cols in ((3, 2), (6, 4), (4, 4)):
        a = rand(rows, cols, cplx)
        for economy in (True, False):
            q, r = np.linalg.qr(a, "reduced" if economy else "complete")
            qr.append(f'{{"{k} {rows}x{cols} {"economy" if economy else "complete"}", {str(cplx).lower()}, '
                      f'{str(economy).lower()}, {matrix(a, cplx)}, {matrix(q, cplx)}, {matrix(r, cplx)}}},')
write("qr_golden.inc", qr, "{ what, complex, Economy, A, Q, R }")

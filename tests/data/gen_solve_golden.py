#!/usr/bin/python3
"""The reference solutions, condition numbers and error bounds of the linear-solver tests (TMtx.LUSolve), written
through the writer of golden.py.

solve_golden.inc  op(A)·X = B for every matrix type, real and complex, every triangle form, unit and non-unit
                  triangles, each operation, 1 and 3 right-hand sides: scipy.linalg.solve(assume_a='gen'/'pos'/'sym'/
                  'her') for opNone (numpy.linalg.solve on A.T or A.conj().T for the other operations: scipy's
                  `transposed` is real-only), solve_triangular, solve_banded and solveh_banded on the same `ab` band
                  layouts the library stores. A is written as the library reads it: the triangle a routine must not
                  read, a unit diagonal and the band positions outside the matrix are NaN.
                  Tolerance: c·eps·cond(A)·max|x| (c = 64): backward-stable solvers on the same data differ by
                  rounding only.
bounds_golden.inc ConditionNr against scipy.linalg.lapack ?gecon, ?pocon, ?sycon, zhecon on the same matrix and norm;
                  triangular and band matrices against 1/(‖A‖·‖A⁻¹‖) from numpy (the estimate is exact on these small
                  cases: the real triangles have a nonnegative inverse). ForwError/BackError (the largest bound over 3 right-hand sides) against ?gesvx, ?posvx with
                  fact 'N', ?sysvx, zhesvx and, for a tridiagonal band, ?gtsvx (its estimate too). NaN where a field is not compared.

Run: /usr/bin/python3 tests/data/gen_solve_golden.py   (writes both files next to this script)
"""
import numpy as np
import scipy.linalg
import scipy.linalg.lapack as lapack

from golden import lit, matrix, write

rng = np.random.default_rng(20261213)
OPS = ["opNone", "opTran", "opHerm"]
EPS = np.finfo(float).eps


def rand(shape, cplx, gen=rng):
    a = gen.uniform(-1, 1, shape)
    if cplx:
        a = a + 1j * gen.uniform(-1, 1, shape)
    return a


def op(a, o):
    return a if o == "opNone" else (a.T if o == "opTran" else a.conj().T)


def general(n, cplx):
    return rand((n, n), cplx) + 2 * np.eye(n)


def posdef(n, cplx):
    m = rand((n, n), cplx)
    return m @ m.conj().T + n * np.eye(n)


def symmetric(n, cplx):
    """Indefinite, with a zero leading diagonal element so that Bunch-Kaufman pivots."""
    m = rand((n, n), cplx)
    s = m + m.T
    s[0, 0] = 0
    s[1, 0] = s[0, 1] = 2
    return s


def hermitian(n):
    m = rand((n, n), True)
    h = m + m.conj().T
    h[0, 0] = 0
    h[1, 0] = 2 - 1j
    h[0, 1] = 2 + 1j
    return h


def band_of(n, kl, ku, cplx, diag, gen=rng):
    a = rand((n, n), cplx, gen) + diag * np.eye(n)
    for i in range(n):
        for j in range(n):
            if j - i > ku or i - j > kl:
                a[i, j] = 0
    return a


def ab_general(a, kl, ku):
    """scipy's (and the library's) general band layout: ab[ku + i - j, j] = a[i, j]; NaN outside the matrix."""
    n = a.shape[0]
    ab = np.full((kl + ku + 1, n), np.nan, dtype=a.dtype)
    for j in range(n):
        for i in range(max(0, j - ku), min(n, j + kl + 1)):
            ab[ku + i - j, j] = a[i, j]
    return ab


def ab_triangle(a, kd, lower):
    """One triangle's band: upper ab[kd + i - j, j] (i <= j), lower ab[i - j, j] (i >= j); NaN outside the matrix."""
    n = a.shape[0]
    ab = np.full((kd + 1, n), np.nan, dtype=a.dtype)
    for j in range(n):
        if lower:
            for i in range(j, min(n, j + kd + 1)):
                ab[i - j, j] = a[i, j]
        else:
            for i in range(max(0, j - kd), j + 1):
                ab[kd + i - j, j] = a[i, j]
    return ab


# The tridiagonal cases (the band LU with one sub- and one super-diagonal, solved by the tridiagonal routines) draw
# from a generator of their own, so that the cases above keep their values.
trng = np.random.default_rng(20261211)


def tridiagonal(n, cplx):
    """Three random diagonals of one size: the diagonal is often the smaller, so the LU interchanges rows."""
    return band_of(n, 1, 1, cplx, 0, trng)


def poisoned(a, tf, unit=False):
    """A with NaN in the strict triangle opposite tf (and on the diagonal when unit)."""
    p = a.astype(complex if np.iscomplexobj(a) else float).copy()
    n = p.shape[0]
    for i in range(n):
        for j in range(n):
            if (tf == "tfUpper" and i > j) or (tf == "tfLower" and i < j) or (unit and i == j):
                p[i, j] = np.nan
    return p


def tolerance(a, x):
    return 64 * EPS * np.linalg.cond(a) * max(1.0, np.max(np.abs(x)))


def solve_cases():
    out = []
    n = 4
    nb = 6

    def add(what, cplx, mtype, o, tf, unit, ku, kl, stored, full, b, x):
        assert np.allclose(op(full, o) @ x, b)
        out.append((what, cplx, mtype, o, tf, unit, ku, kl, stored, b, x, tolerance(full, x)))

    for cplx in (False, True):
        for k, o in enumerate(OPS):
            nrhs = 3 if k != 1 else 1
            # General LU.
            a = general(n, cplx)
            b = rand((n, nrhs), cplx)
            x = scipy.linalg.solve(a, b, assume_a="gen") if o == "opNone" else np.linalg.solve(op(a, o), b)
            add("general", cplx, "mtGeneral", o, "tfUpper", False, 0, 0, a, a, b, x)
            # Band LU, 1 super- and 2 sub-diagonals.
            kl, ku = 2, 1
            a = band_of(nb, kl, ku, cplx, 4)
            b = rand((nb, nrhs), cplx)
            ab = ab_general(a, kl, ku)
            x = scipy.linalg.solve_banded((kl, ku), np.nan_to_num(ab), b) if o == "opNone" else \
                np.linalg.solve(op(a, o), b)
            add("band general", cplx, "mtBandGeneral", o, "tfUpper", False, ku, kl, ab, a, b, x)
            for tf in ("tfLower", "tfUpper"):
                lower = tf == "tfLower"
                # Cholesky: real symmetric or complex Hermitian positive definite.
                types = ["mtSymmPosDef", "mtHermPosDef"] if not cplx else ["mtHermPosDef"]
                for t in types:
                    a = posdef(n, cplx)
                    b = rand((n, nrhs), cplx)
                    x = scipy.linalg.solve(a, b, assume_a="pos", lower=lower) if o == "opNone" else \
                        np.linalg.solve(op(a, o), b)
                    add("Cholesky " + t, cplx, t, o, tf, False, 0, 0, poisoned(a, tf), a, b, x)
                # Bunch-Kaufman: symmetric (real or complex) and Hermitian.
                kinds = [("mtSymmetric", symmetric(n, cplx), "sym")]
                if cplx:
                    kinds.append(("mtHermitian", hermitian(n), "her"))
                for t, a, assume in kinds:
                    b = rand((n, nrhs), cplx)
                    x = scipy.linalg.solve(a, b, assume_a=assume, lower=lower) if o == "opNone" else \
                        np.linalg.solve(op(a, o), b)
                    add("Bunch-Kaufman " + t, cplx, t, o, tf, False, 0, 0, poisoned(a, tf), a, b, x)
                # Triangular, with and without a unit diagonal.
                for unit in (False, True):
                    full = rand((n, n), cplx) + 3 * np.eye(n)
                    tri = np.tril(full) if lower else np.triu(full)
                    if unit:
                        np.fill_diagonal(tri, 1)
                    b = rand((n, nrhs), cplx)
                    x = scipy.linalg.solve_triangular(tri, b, trans={"opNone": 0, "opTran": 1, "opHerm": 2}[o],
                                                      lower=lower, unit_diagonal=unit)
                    add("triangle unit=%d" % unit, cplx, "mtTriangle", o, tf, unit, 0, 0, poisoned(full, tf, unit),
                        tri, b, x)
                # Band Cholesky, 2 diagonals on each side of the main one.
                kd = 2
                types = ["mtBandSymmPosDef", "mtBandHermPosDef"] if not cplx else ["mtBandHermPosDef"]
                for t in types:
                    m = band_of(nb, kd, 0, cplx, 0)
                    a = m @ m.conj().T + nb * np.eye(nb)  # kd diagonals on each side, positive definite
                    ab = ab_triangle(a, kd, lower)
                    b = rand((nb, nrhs), cplx)
                    x = scipy.linalg.solveh_banded(np.nan_to_num(ab), b, lower=lower) if o == "opNone" else \
                        np.linalg.solve(op(a, o), b)
                    ku_, kl_ = (0, kd) if lower else (kd, 0)
                    add("band Cholesky " + t, cplx, t, o, tf, False, ku_, kl_, ab, a, b, x)
    for cplx in (False, True):
        for k, o in enumerate(OPS):
            nrhs = 3 if k != 1 else 1
            a = tridiagonal(nb, cplx)
            b = rand((nb, nrhs), cplx, trng)
            ab = ab_general(a, 1, 1)
            x = scipy.linalg.solve_banded((1, 1), np.nan_to_num(ab), b) if o == "opNone" else \
                np.linalg.solve(op(a, o), b)
            add("tridiagonal", cplx, "mtBandGeneral", o, "tfUpper", False, 1, 1, ab, a, b, x)
    return out


def norm_of(a, cn):
    return np.linalg.norm(a, 1 if cn == "cnNorm1" else np.inf)


def exact_rcond(a, cn):
    return 1 / (norm_of(a, cn) * norm_of(np.linalg.inv(a), cn))


def bound_cases():
    out = []
    n, nrhs = 5, 3
    nan = float("nan")
    for cplx in (False, True):
        p = "z" if cplx else "d"
        for cn in ("cnNorm1", "cnNormInf"):
            letter = "1" if cn == "cnNorm1" else "I"
            a = general(n, cplx)
            b = rand((n, nrhs), cplx)
            lu, piv, _ = getattr(lapack, p + "getrf")(a)
            rcond, _ = getattr(lapack, p + "gecon")(lu, norm_of(a, cn), norm=letter)
            sv = getattr(lapack, p + "gesvx")(a, b, fact="N")
            out.append(("general", cplx, "mtGeneral", "tfUpper", False, 0, 0, cn, a, b, rcond, max(sv[9]),
                        max(sv[10])))
            for tf in ("tfLower", "tfUpper"):
                lower = tf == "tfLower"
                # Cholesky
                a = posdef(n, cplx)
                b = rand((n, nrhs), cplx)
                c, _ = getattr(lapack, p + "potrf")(a, lower=lower)
                rcond, _ = getattr(lapack, p + "pocon")(c, norm_of(a, cn), uplo="L" if lower else "U")
                sv = getattr(lapack, p + "posvx")(a, b, fact="N", lower=lower)
                t = "mtHermPosDef" if cplx else "mtSymmPosDef"
                out.append(("Cholesky", cplx, t, tf, False, 0, 0, cn, poisoned(a, tf), b, rcond, max(sv[7]),
                            max(sv[8])))
                # Bunch-Kaufman
                kinds = [("mtSymmetric", symmetric(n, cplx), "sy")]
                if cplx:
                    kinds.append(("mtHermitian", hermitian(n), "he"))
                for t, a, fam in kinds:
                    b = rand((n, nrhs), cplx)
                    ldu, ipiv, _ = getattr(lapack, p + fam + "trf")(a, lower=lower)
                    rcond, _ = getattr(lapack, p + fam + "con")(ldu, ipiv, norm_of(a, cn), lower=lower)
                    sv = getattr(lapack, p + fam + "svx")(a, b, lower=lower)
                    out.append(("Bunch-Kaufman " + t, cplx, t, tf, False, 0, 0, cn, poisoned(a, tf), b, rcond,
                                max(sv[-3]), max(sv[-2])))
                # Triangular, against the exact reciprocal condition number. Real ones have a nonnegative inverse
                # (positive diagonal, nonpositive elements off it), on which the estimate is exact.
                for unit in (False, True):
                    full = rand((n, n), cplx) + 3 * np.eye(n)
                    if not cplx:
                        full = -np.abs(full) + 6 * np.eye(n)
                    tri = np.tril(full) if lower else np.triu(full)
                    if unit:
                        np.fill_diagonal(tri, 1)
                    out.append(("triangle unit=%d" % unit, cplx, "mtTriangle", tf, unit, 0, 0, cn,
                                poisoned(full, tf, unit), rand((n, nrhs), cplx), exact_rcond(tri, cn), nan, nan))
            # The tridiagonal (-1, 2, -1) of order 3 (its norms are 4, which the band storage's own sums miss), as a
            # general band and as one triangle of a symmetric or Hermitian band.
            tri3 = np.array([[2, -1, 0], [-1, 2, -1], [0, -1, 2]], dtype=complex if cplx else float)
            rc = exact_rcond(tri3, cn)
            out.append(("tridiagonal band general", cplx, "mtBandGeneral", "tfUpper", False, 1, 1, cn,
                        ab_general(tri3, 1, 1), rand((3, nrhs), cplx), rc, nan, nan))
            t = "mtBandHermPosDef" if cplx else "mtBandSymmPosDef"
            for tf in ("tfLower", "tfUpper"):
                lower = tf == "tfLower"
                ku_, kl_ = (0, 1) if lower else (1, 0)
                out.append(("tridiagonal band Cholesky", cplx, t, tf, False, ku_, kl_, cn, ab_triangle(tri3, 1, lower),
                            rand((3, nrhs), cplx), rc, nan, nan))
    # A tridiagonal band that pivots, against ?gtsvx: its estimate takes the 1-norm with TRANS 'N' and the infinity
    # norm otherwise; the bounds are those of op(A) = A.
    for cplx in (False, True):
        p = "z" if cplx else "d"
        for cn in ("cnNorm1", "cnNormInf"):
            a = tridiagonal(n, cplx)
            b = rand((n, nrhs), cplx, trng)
            diagonals = (np.diag(a, -1).copy(), np.diag(a).copy(), np.diag(a, 1).copy())
            sv = getattr(lapack, p + "gtsvx")(*diagonals, b, fact="N", trans="N")
            rcond = sv[6] if cn == "cnNorm1" else getattr(lapack, p + "gtsvx")(*diagonals, b, fact="N", trans="T")[6]
            assert sv[9] == 0
            out.append(("tridiagonal", cplx, "mtBandGeneral", "tfUpper", False, 1, 1, cn, ab_general(a, 1, 1), b, rcond,
                        max(sv[7]), max(sv[8])))
    return out


def mtx(a, cplx):
    return matrix(np.asarray(a), cplx)


def b(x):
    return str(bool(x)).lower()


def main():
    lines = []
    for (what, cplx, t, o, tf, unit, ku, kl, a, rhs, x, tol) in solve_cases():
        lines.append('{"%s %s %s %s", %s, %s, %s, %s, %s, %d, %d, %s, %s, %s, %s},' % (
            what, "complex" if cplx else "real", o, tf, b(cplx), t, o, tf, b(unit), ku, kl, mtx(a, cplx),
            mtx(rhs, cplx), mtx(x, cplx), lit(tol)))
    write("solve_golden.inc", lines,
          "{ what, complex, MtxType, Operation, TriangleForm, TriangleUnit, SuperDiag, SubDiag, A as stored, B, X,"
          " tolerance }")
    lines = []
    for (what, cplx, t, tf, unit, ku, kl, cn, a, rhs, rcond, ferr, berr) in bound_cases():
        lines.append('{"%s %s %s %s", %s, %s, %s, %s, %d, %d, %s, %s, %s, %s, %s, %s},' % (
            what, "complex" if cplx else "real", tf, cn, b(cplx), t, tf, b(unit), ku, kl, cn, mtx(a, cplx),
            mtx(rhs, cplx), lit(rcond), lit(ferr), lit(berr)))
    write("bounds_golden.inc", lines,
          "{ what, complex, MtxType, TriangleForm, TriangleUnit, SuperDiag, SubDiag, ConditionNumber, A as stored,"
          " B, ConditionNr, ForwError, BackError (NaN: not compared) }")


if __name__ == "__main__":
    main()

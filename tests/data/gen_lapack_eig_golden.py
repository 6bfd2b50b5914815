#!/usr/bin/python3
"""Writes the reference results of the eigenvalue, singular value and matrix function tests as C++ tables through the
writer of golden.py.

eig_golden.inc     TMtx.Eig: eigenvalues against numpy.linalg.eigvalsh (ascending; descending for the positive definite
                   types) and numpy.linalg.eigvals (general and triangular types, compared as sets). Kept names the
                   triangle a symmetric or Hermitian case keeps; the test makes the other one NaN.
eigvec_golden.inc  TMtx.Eig with vectors of general matrices against scipy.linalg.eig(left=True, right=True): the
                   eigenvalues in LAPACK's order and the left and right eigenvectors as columns.
eiggen_golden.inc  TMtx.EigGen against scipy.linalg.eigh(a, b, type=...): eigenvalues, ascending.
svd_golden.inc     TMtx.SVD against numpy.linalg.svd: the singular values of given matrices, and of matrices rebuilt in
                   the test from golden::Lcg (tests/platform/GoldenInput.h) with the seed of the row.
mtxfunc_golden.inc MtxSqrt against scipy.linalg.sqrtm, MtxPower against inv, expm(p·logm(A)) and fractional_matrix_power,
                   MtxIntPower against numpy.linalg.matrix_power.

Run: /usr/bin/python3 tests/data/gen_lapack_eig_golden.py   (writes the files next to this script)
"""
import numpy as np
import scipy.linalg

from gen_wavrin_golden import lcg
from golden import doubles, lit, matrix, write

rng = np.random.default_rng(20261210)
NAN = float("nan")


def rand(rows, cols, cplx):
    a = rng.uniform(-1, 1, size=(rows, cols))
    if cplx:
        a = a + 1j * rng.uniform(-1, 1, size=(rows, cols))
    return a


def hermitian(n, cplx):
    a = rand(n, n, cplx)
    return (a + a.conj().T) / 2


def definite(n, cplx):
    a = rand(n, n, cplx)
    return a @ a.conj().T + n * np.eye(n)


def column(v, cplx):
    return matrix(np.asarray(v).reshape(-1, 1), cplx)


def flag(b):
    return str(bool(b)).lower()


# ---- eigenvalues --------------------------------------------------------------------------------------------------
eig = []


def eig_case(what, a, mtype, kept="tfUpper"):
    cplx = np.iscomplexobj(a)
    if mtype in ("mtSymmetric", "mtHermitian"):
        d, dc = np.linalg.eigvalsh(a), False
    elif mtype in ("mtSymmPosDef", "mtHermPosDef"):
        d, dc = np.linalg.eigvalsh(a)[::-1], False
    else:
        d, dc = np.linalg.eigvals(a).astype(complex), True
    eig.append(f'{{"{what}", {flag(cplx)}, {mtype}, {kept}, {matrix(a, cplx)}, {column(d, dc)}}},')


eig_case("real (2, 1; 1, 2) symmetric", np.array([[2.0, 1.0], [1.0, 2.0]]), "mtSymmetric")
eig_case("real (2, 1; 1, 2) positive definite", np.array([[2.0, 1.0], [1.0, 2.0]]), "mtSymmPosDef")
eig_case("real rotation", np.array([[0.0, -1.0], [1.0, 0.0]]), "mtGeneral")
eig_case("real 1x1", np.array([[-3.5]]), "mtGeneral")
for kept in ("tfUpper", "tfLower"):
    eig_case(f"real symmetric 5x5 {kept}", hermitian(5, False), "mtSymmetric", kept)
    eig_case(f"real positive definite 6x6 {kept}", definite(6, False), "mtSymmPosDef", kept)
    eig_case(f"complex Hermitian 4x4 {kept}", hermitian(4, True), "mtHermitian", kept)
    eig_case(f"complex positive definite 5x5 {kept}", definite(5, True), "mtHermPosDef", kept)
eig_case("real general 7x7", rand(7, 7, False), "mtGeneral")
eig_case("real upper triangle 4x4", np.triu(rand(4, 4, False)), "mtTriangle")
eig_case("complex general 5x5", rand(5, 5, True), "mtGeneral")
eig_case("complex lower triangle 3x3", np.tril(rand(3, 3, True)), "mtTriangle")
write("eig_golden.inc", eig, "What, Complex, MtxType, the triangle kept, A, D")

# ---- eigenvectors of general matrices -----------------------------------------------------------------------------
vec = []
for what, a in (("real 6x6 with complex pairs", rand(6, 6, False)),
                ("real 3x3 real eigenvalues", np.array([[4.0, 1.0, 0.5], [0.0, 3.0, 1.0], [0.25, 0.0, 1.0]])),
                ("complex 4x4", rand(4, 4, True))):
    cplx = np.iscomplexobj(a)
    w, vl, vr = scipy.linalg.eig(a, left=True, right=True)
    vec.append(f'{{"{what}", {flag(cplx)}, {matrix(a, cplx)}, {column(w, True)}, {matrix(vl, True)}, '
               f'{matrix(vr, True)}}},')
write("eigvec_golden.inc", vec, "What, Complex, A, D in LAPACK's order, VL and VR (eigenvectors as columns)")

# ---- generalized problems -----------------------------------------------------------------------------------------
gen = []
for cplx in (False, True):
    for etype, name in ((1, "etAzBz"), (2, "etABz"), (3, "etBAz")):
        for kept in ("tfUpper", "tfLower"):
            n = 4 if cplx else 5
            a, b = hermitian(n, cplx), definite(n, cplx)
            d = scipy.linalg.eigh(a, b, type=etype, eigvals_only=True)
            kind = "complex" if cplx else "real"
            gen.append(f'{{"{kind} {name} {kept}", {flag(cplx)}, {name}, {kept}, {matrix(a, cplx)}, '
                       f'{matrix(b, cplx)}, {column(d, False)}}},')
write("eiggen_golden.inc", gen, "What, Complex, EigGenType, the triangle kept, A, B, D")

# ---- singular values ----------------------------------------------------------------------------------------------
svd = []


def svd_case(what, a):
    cplx = np.iscomplexobj(a)
    s = np.linalg.svd(a, compute_uv=False)
    svd.append(f'{{"{what}", {flag(cplx)}, {matrix(a, cplx)}, 0, {doubles(s)}}},')


def lcg_matrix(seed, rows, cols, cplx):
    v = lcg(seed, rows * cols * (2 if cplx else 1))
    return v[0::2].reshape(rows, cols) + 1j * v[1::2].reshape(rows, cols) if cplx else v.reshape(rows, cols)


def svd_lcg_case(what, seed, rows, cols, cplx):
    s = np.linalg.svd(lcg_matrix(seed, rows, cols, cplx), compute_uv=False)
    svd.append(f'{{"{what}", {flag(cplx)}, {{{rows}, {cols}, {{}}}}, {seed}, {doubles(s)}}},')


svd_case("real diagonal (3, -4)", np.array([[3.0, 0.0], [0.0, -4.0]]))
svd_case("real 3x2", rand(3, 2, False))
svd_case("real 2x3", rand(2, 3, False))
svd_case("real 1x1", np.array([[-2.5]]))
svd_case("real 1x4", rand(1, 4, False))
svd_case("complex 3x3", rand(3, 3, True))
svd_case("complex 1x1", np.array([[3.0 - 4.0j]]))
svd_case("complex 9x16", rand(9, 16, True))
svd_case("complex 16x9", rand(16, 9, True))
svd_case("real 5x4 (bidiagonal without QR)", rand(5, 4, False))
svd_case("real 4x5 (lower bidiagonal)", rand(4, 5, False))
svd_lcg_case("real 200x100", 3201, 200, 100, False)
svd_lcg_case("real 100x200", 3202, 100, 200, False)
svd_lcg_case("complex 60x90", 3203, 60, 90, True)
write("svd_golden.inc", svd, "What, Complex, A (or its size), the Lcg seed of A when not given, S")

# ---- matrix functions and powers ----------------------------------------------------------------------------------
fun = []


def fun_case(what, a, mtype, op, p, f):
    cplx = np.iscomplexobj(a)
    fun.append(f'{{"{what}", {flag(cplx)}, {mtype}, {op}, {{{lit(np.real(p))}, {lit(np.imag(p))}}}, '
               f'{matrix(a, cplx)}, {matrix(f, True)}}},')


sym4 = hermitian(4, False)
gen4 = rand(4, 4, False)
cgen3 = rand(3, 3, True)
herm3 = hermitian(3, True)
for what, a, t in (("real symmetric 4x4", sym4, "mtSymmetric"), ("real general 4x4", gen4, "mtGeneral"),
                   ("complex general 3x3", cgen3, "mtGeneral"), ("complex Hermitian 3x3", herm3, "mtHermitian")):
    fun_case(f"exp of {what}", a, t, "fnExp", 0, scipy.linalg.expm(a))

spd4 = definite(4, False)
shifted = rand(4, 4, False) + 4 * np.eye(4)
cshift = rand(3, 3, True) + 3 * np.eye(3)
negative = np.array([[1.0, 2.0], [2.0, 1.0]])  # eigenvalues 3 and -1
for what, a, t in (("diagonal (4, 9)", np.diag([4.0, 9.0]), "mtSymmetric"),
                   ("(2, 1; 1, 2)", np.array([[2.0, 1.0], [1.0, 2.0]]), "mtSymmetric"),
                   ("symmetric with a negative eigenvalue", negative, "mtSymmetric"),
                   ("positive definite 4x4", spd4, "mtSymmPosDef"),
                   ("real general 4x4", shifted, "mtGeneral"),
                   ("complex general 3x3", cshift, "mtGeneral")):
    fun_case(f"sqrt of {what}", a, t, "fnSqrt", 0.5, scipy.linalg.sqrtm(a))
fun_case("power -1 of real general 4x4", shifted, "mtGeneral", "fnPower", -1, np.linalg.inv(shifted))
fun_case("power 1.5 of real general 4x4", shifted, "mtGeneral", "fnPower", 1.5,
         scipy.linalg.fractional_matrix_power(shifted, 1.5))
p = 0.5 + 0.3j
fun_case("power 0.5+0.3i of positive definite 4x4", spd4, "mtSymmPosDef", "fnPower", p,
         scipy.linalg.expm(p * scipy.linalg.logm(spd4)))
fun_case("power 0.5+0.3i of complex general 3x3", cshift, "mtGeneral", "fnPower", p,
         scipy.linalg.expm(p * scipy.linalg.logm(cshift)))
for k in (5, -2, 0, 1):
    fun_case(f"integer power {k} of complex general 3x3", cshift, "mtGeneral", "fnIntPower", k,
             np.linalg.matrix_power(cshift, k))
    fun_case(f"integer power {k} of real general 4x4", shifted, "mtGeneral", "fnIntPower", k,
             np.linalg.matrix_power(shifted, k))
fun_case("integer power -2^31 of the rotation", np.array([[0.0, -1.0], [1.0, 0.0]]), "mtGeneral", "fnIntPower",
         -2 ** 31, np.eye(2))
write("mtxfunc_golden.inc", fun, "What, Complex, MtxType, function, parameter, A, f(A)")

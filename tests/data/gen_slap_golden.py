"""Reference values of the iterative sparse solvers from scipy, for tests/sparse/test_sparse_iterative.cpp.

kSlapSystems   each test system's right-hand side and scipy.sparse.linalg.spsolve's solution
kSlapRandom    the triplets of the random diagonally dominant 200 x 200 matrix (the other matrices are rebuilt by
               formula on both sides: tridiag(-1, 4, -1), the 2-D Poisson matrix and the convection-diffusion
               system -Δu + 20·u_x + 10·u_y on a 15 x 15 grid, h = 1/16, rows times h²)
kSlapSteps     X after 1, 2 and 5 iterations from x0[i] = i/n: scipy's cg with IC(0) (ICCG) and bicg with ILU(0)
               (LUBC) as M, and the refinement x := x + M⁻¹(b - A·x) with Jacobi, Gauss-Seidel and ILU(0)
               (JAC, SGS, ILUR). The factors are computed here: IC(0) is L·D·Lᵀ of the lower triangle, ILU(0)
               L·D·U on A's pattern, both without fill.

Run: /usr/bin/python3 tests/data/gen_slap_golden.py   (writes slap_golden.inc)
"""
import numpy as np
import scipy.linalg as la
import scipy.sparse as sp
import scipy.sparse.linalg as spla

from golden import doubles, write

rng = np.random.default_rng(20261210)


def tridiag(n):
    return sp.diags([-np.ones(n - 1), 4 * np.ones(n), -np.ones(n - 1)], [-1, 0, 1]).tocsr()


def grid(k, diag, west, east, south, north):
    """A 5-point operator on a k x k grid, unknown (i, j) at j·k + i (i along x)."""
    n = k * k
    a = sp.lil_matrix((n, n))
    for j in range(k):
        for i in range(k):
            p = j * k + i
            a[p, p] = diag
            if i > 0:
                a[p, p - 1] = west
            if i < k - 1:
                a[p, p + 1] = east
            if j > 0:
                a[p, p - k] = south
            if j < k - 1:
                a[p, p + k] = north
    return a.tocsr()


def poisson(k):
    return grid(k, 4.0, -1.0, -1.0, -1.0, -1.0)


def convdiff():
    return grid(15, 4.0, -1.625, -0.375, -1.3125, -0.6875)


def random_dominant(n):
    """About 8 entries off the diagonal per row in [-1, 1), the diagonal 1 more than the row's absolute sum."""
    rows, cols, vals = [], [], []
    for i in range(n):
        c = rng.choice(np.delete(np.arange(n), i), size=8, replace=False)
        v = rng.uniform(-1, 1, size=8)
        rows += [i] * 8 + [i]
        cols += list(c) + [i]
        vals += list(v) + [1 + np.abs(v).sum()]
    return np.array(rows), np.array(cols), np.array(vals)


def ilu0(a):
    """L (unit lower), d, U (unit upper) with L·diag(d)·U = A on A's pattern."""
    a = a.toarray()
    mask = a != 0
    np.fill_diagonal(mask, True)
    w = a.copy()
    n = len(a)
    for i in range(1, n):
        for k in range(i):
            if not mask[i, k]:
                continue
            w[i, k] /= w[k, k]
            for j in range(k + 1, n):
                if mask[i, j] and mask[k, j]:
                    w[i, j] -= w[i, k] * w[k, j]
    d = np.diag(w).copy()
    low = np.tril(w, -1) + np.eye(n)
    up = np.triu(w, 1) / d[:, None] + np.eye(n)
    return low, d, up


def ic0(a):
    """L (unit lower), d with L·diag(d)·Lᵀ = S on the lower pattern, S the symmetric matrix of tril(A)."""
    s = np.tril(a.toarray())
    mask = s != 0
    n = len(s)
    low = np.eye(n)
    d = np.zeros(n)
    for i in range(n):
        for k in range(i):
            if mask[i, k]:
                common = mask[i, :k] & mask[k, :k]
                low[i, k] = (s[i, k] - np.sum(low[i, :k][common] * d[:k][common] * low[k, :k][common])) / d[k]
        d[i] = s[i, i] - np.sum(low[i, :i] ** 2 * d[:i])
        assert d[i] > 0
    return low, d, low.T


def precond(factors):
    """M⁻¹ and M⁻ᵀ of M = L·diag(d)·U as a LinearOperator."""
    low, d, up = factors

    def solve(v):
        y = la.solve_triangular(low, v, lower=True, unit_diagonal=True)
        return la.solve_triangular(up, y / d, lower=False, unit_diagonal=True)

    def solve_t(v):
        y = la.solve_triangular(up.T, v, lower=True, unit_diagonal=True)
        return la.solve_triangular(low.T, y / d, lower=False, unit_diagonal=True)

    n = len(d)
    return spla.LinearOperator((n, n), matvec=solve, rmatvec=solve_t)


def refine(a, b, x0, m, steps):
    x = x0.copy()
    for _ in range(steps):
        x = x + m.matvec(b - a @ x)
    return x


def own_pcg(a, b, x0, m, steps):
    """The textbook preconditioned CG, to confirm that scipy's cg ran exactly `steps` iterations."""
    x = x0.copy()
    r = b - a @ x
    z = m.matvec(r)
    p = z.copy()
    rz = r @ z
    for _ in range(steps):
        q = a @ p
        alpha = rz / (p @ q)
        x += alpha * p
        r -= alpha * q
        z = m.matvec(r)
        rz, rz_old = r @ z, rz
        p = z + rz / rz_old * p
    return x


def rhs(n):
    return rng.uniform(-1, 1, size=n)


lines = ["const TSlapSystem kSlapSystems[] = {"]
rr, rc, rv = random_dominant(200)
systems = {
    "tridiag50": tridiag(50),
    "poisson20": poisson(20),
    "poisson30": poisson(30),
    "convdiff15": convdiff(),
    "random200": sp.coo_matrix((rv, (rr, rc)), shape=(200, 200)).tocsr(),
}
bs = {}
for name, a in systems.items():
    b = rhs(a.shape[0])
    bs[name] = b
    x = spla.spsolve(a.tocsc(), b)
    lines.append(f'    {{"{name}", {a.shape[0]}, {doubles(b)}, {doubles(x)}}},')
lines.append("};")
lines.append(f"const int kSlapRandomRows[] = {{{', '.join(str(int(v)) for v in rr)}}};")
lines.append(f"const int kSlapRandomCols[] = {{{', '.join(str(int(v)) for v in rc)}}};")
lines.append(f"const double kSlapRandomValues[] = {doubles(rv)};")

lines.append("const TSlapSteps kSlapSteps[] = {")
cases = [
    ("ICCG", "poisson10", poisson(10)),
    ("LUBC", "convdiff15", convdiff()),
    ("JAC", "convdiff15", convdiff()),
    ("SGS", "convdiff15", convdiff()),
    ("ILUR", "convdiff15", convdiff()),
]
for method, name, a in cases:
    n = a.shape[0]
    b = np.cos(np.arange(n))  # rebuilt on the C++ side
    x0 = np.arange(n) / n
    if method == "JAC":
        m = precond((np.eye(n), a.diagonal(), np.eye(n)))
    elif method == "SGS":
        low = np.tril(a.toarray())
        m = precond((low / a.diagonal()[None, :], a.diagonal(), np.eye(n)))
    elif method == "ICCG":
        m = precond(ic0(a))
    else:
        m = precond(ilu0(a))
    for steps in (1, 2, 5):
        if method == "ICCG":
            x, _ = spla.cg(a, b, x0=x0, tol=1e-300, atol=0, maxiter=steps, M=m)
            assert np.allclose(x, own_pcg(a, b, x0, m, steps), rtol=0, atol=1e-13)
        elif method == "LUBC":
            x, _ = spla.bicg(a, b, x0=x0, tol=1e-300, atol=0, maxiter=steps, M=m)
        else:
            x = refine(a, b, x0, m, steps)
        lines.append(f'    {{"{method}", "{name}", {steps}, {doubles(x)}}},')
lines.append("};")

write("slap_golden.inc", lines)

"""scipy peer of the iterative solver rows (bench/bench_slap.cpp): cg, bicg, cgs and gmres (restart 10) for 50
iterations from 0 on the 2-D Poisson matrix of 100² and 300² unknowns with spilu(drop_tol=0, fill_factor=1) as M
(made outside the timing), b[i] = cos(i); A @ x on the same CSR matrices; and 100 gmres solves of the
225-unknown convection-diffusion system from a ramp, spilu made per solve."""
import numpy as np
import scipy.sparse as sp
import scipy.sparse.linalg as spla

from common import row

TOL = 500 * 2.0**-53


def grid(k, diag, west, east, south, north):
    """The 5-point operator on a k x k grid, unknown (i, j) at j·k + i."""
    e = np.ones(k)
    along = sp.diags([west * e[1:], east * e[1:]], [-1, 1])
    across = sp.diags([south * e[1:], north * e[1:]], [-1, 1])
    return (sp.kron(sp.eye(k), along) + sp.kron(across, sp.eye(k)) + diag * sp.eye(k * k)).tocsr()


def preconditioner(a):
    ilu = spla.spilu(a.tocsc(), drop_tol=0, fill_factor=1)
    return spla.LinearOperator(a.shape, matvec=ilu.solve, rmatvec=lambda v: ilu.solve(v, "T"))


for k in (100, 300):
    a = grid(k, 4.0, -1.0, -1.0, -1.0, -1.0)
    n = k * k
    b = np.cos(np.arange(n))
    x0 = np.zeros(n)
    m = preconditioner(a)
    row("ICCG 50 iterations", n, lambda: spla.cg(a, b, x0=x0, tol=TOL, atol=0, maxiter=50, M=m), side="scipy")
    row("LUBC 50 iterations", n, lambda: spla.bicg(a, b, x0=x0, tol=TOL, atol=0, maxiter=50, M=m), side="scipy")
    row("LUCS 50 iterations", n, lambda: spla.cgs(a, b, x0=x0, tol=TOL, atol=0, maxiter=50, M=m), side="scipy")
    # gmres counts restart cycles: 5 cycles of 10 are 50 iterations.
    row("LUGMRES 50 iterations", n,
        lambda: spla.gmres(a, b, x0=x0, tol=TOL, atol=0, restart=10, maxiter=5, M=m), side="scipy")
    x = b.copy()
    row("Sparse A*x", n, lambda: a @ x, side="scipy")

cd = grid(15, 4.0, -1.625, -0.375, -1.3125, -0.6875)
bc = np.cos(np.arange(225))
ramp = np.arange(225.0)


def page_case():
    for _ in range(100):
        spla.gmres(cd, bc, x0=ramp, tol=500 * 2.0**-52, atol=0, restart=10, maxiter=500, M=preconditioner(cd))


row("100 LUGMRES solves", 225, page_case, side="scipy")

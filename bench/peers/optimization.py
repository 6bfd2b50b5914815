"""scipy peers of the optimisation rows (bench/bench_optimization.cpp), the objectives written in numpy:
minimize_scalar(method='bounded', xatol=1e-8) on (x - 2)^2 over [0, 5]; minimize(method='Nelder-Mead', xatol=1e-8,
fatol=1e-8) on the extended Rosenbrock function from (-1.2, 1, -1.2, 1, ...) at n = 2 and 10; approx_fprime
(forward differences, n + 1 evaluations) of the extended Rosenbrock function at n = 10 and 100, the peer of each
derivative row.
The gradient methods: minimize(method='BFGS' and 'CG', jac=the analytic gradient, gtol 1e-5) on the same function
from the same start at n = 2, 10 and 50 (the BFGS peer stands beside BFGS and DFP, the CG peer beside both ConjGrad
forms, with either line search; beside "DFP Rosenbrock from 0" the BFGS peer starts from (0, 0, ...) as well);
least_squares(method='lm', jac=...) on the residuals of a e^(b t) at 100 exact points from (1, 0), xtol 1e-8, beside
Marquardt.
Each row also reports its evaluations per call ("evals": the calls of the objective and of its gradient or
Jacobian, counted in one extra call before the timing), as ours do."""
import numpy as np
from scipy.optimize import approx_fprime, least_squares, minimize, minimize_scalar

from common import row

CALLS = [0]


def counted(f):
    """f, counting its calls in CALLS."""
    def call(*args):
        CALLS[0] += 1
        return f(*args)
    return call


def evaluations(solve):
    """The calls one solve(wrap) makes of the functions it passes through wrap."""
    CALLS[0] = 0
    solve(counted)
    return CALLS[0]


def timed(solve):
    """solve with its functions as they are, for the timing."""
    return lambda: solve(lambda f: f)


def peer(operation, size, solve, **kw):
    """A scipy row of solve(wrap), with its evaluations."""
    row(operation, size, timed(solve), side="scipy", evals=lambda: evaluations(solve), **kw)


def square(x):
    return (x - 2) ** 2


def rosenbrock(x):
    return np.sum(100 * (x[1::2] - x[::2] ** 2) ** 2 + (1 - x[::2]) ** 2)


peer("MinBrent (x-2)^2", 1,
     lambda w: minimize_scalar(w(square), bounds=(0, 5), method="bounded", options={"xatol": 1e-8}))

for n in (2, 10):
    x0 = np.tile([-1.2, 1.0], n // 2)
    peer("Simplex Rosenbrock", n,
         lambda w: minimize(w(rosenbrock), x0, method="Nelder-Mead",
                            options={"xatol": 1e-8, "fatol": 1e-8, "maxiter": 100000, "maxfev": 100000}),
         min_time=0.5 if n > 2 else None)

for name in ("NumericGradRichardson", "NumericGradDifference", "NumericGradHess"):
    for n in (10, 100):
        x = 0.5 + 0.1 * (np.arange(n) % 7)
        peer(name, n, lambda w: approx_fprime(x, w(rosenbrock), 1.4901161194e-8))


def rosenbrock_grad(x):
    g = np.empty_like(x)
    a = x[1::2] - x[::2] ** 2
    g[::2] = -400 * x[::2] * a - 2 * (1 - x[::2])
    g[1::2] = 200 * a
    return g


for n in (2, 10, 50):
    for names, method, x0 in (
            (("BFGS Rosenbrock", "DFP Rosenbrock unsolved", "DFP strict Rosenbrock"), "BFGS",
             np.tile([-1.2, 1.0], n // 2)),
            (("DFP Rosenbrock from 0",), "BFGS", np.zeros(n)),
            (("ConjGrad FR Rosenbrock", "ConjGrad PR Rosenbrock unsolved", "ConjGrad FR strict Rosenbrock",
              "ConjGrad PR strict Rosenbrock"), "CG", np.tile([-1.2, 1.0], n // 2))):
        for name in names:
            peer(name, n, lambda w: minimize(w(rosenbrock), x0, jac=w(rosenbrock_grad), method=method,
                                             options={"gtol": 1e-5}))

FIT_T = 0.02 * np.arange(100)
FIT_Y = 2.5 * np.exp(-1.3 * FIT_T)


def fit_residuals(p):
    return p[0] * np.exp(p[1] * FIT_T) - FIT_Y


def fit_jacobian(p):
    e = np.exp(p[1] * FIT_T)
    return np.column_stack([e, p[0] * FIT_T * e])


peer("Marquardt exp fit", 100,
     lambda w: least_squares(w(fit_residuals), np.array([1.0, 0.0]), jac=w(fit_jacobian), method="lm", xtol=1e-8))

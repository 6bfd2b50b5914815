"""scipy peers of the optimisation rows (bench/bench_optimization.cpp), the objectives written in numpy:
minimize_scalar(method='bounded', xatol=1e-8) on (x - 2)^2 over [0, 5]; minimize(method='Nelder-Mead', xatol=1e-8,
fatol=1e-8) on the extended Rosenbrock function from (-1.2, 1, -1.2, 1, ...) at n = 2 and 10; approx_fprime
(forward differences, n + 1 evaluations) of the extended Rosenbrock function at n = 10 and 100, the peer of each
derivative row. Evaluations per solve: MinBrent's peer 6, Nelder-Mead 219 (n = 2) and 18672 (n = 10).
The gradient methods: minimize(method='BFGS' and 'CG', jac=the analytic gradient, gtol 1e-5) on the same function
from the same start at n = 2, 10 and 50 (the BFGS peer stands beside BFGS and DFP, the CG peer beside both ConjGrad
forms, with either line search); least_squares(method='lm', jac=...) on the residuals of a e^(b t) at 100 exact points from (1, 0), xtol 1e-8,
beside Marquardt."""
import numpy as np
from scipy.optimize import approx_fprime, least_squares, minimize, minimize_scalar

from common import row


def square(x):
    return (x - 2) ** 2


def rosenbrock(x):
    return np.sum(100 * (x[1::2] - x[::2] ** 2) ** 2 + (1 - x[::2]) ** 2)


row("MinBrent (x-2)^2", 1,
    lambda: minimize_scalar(square, bounds=(0, 5), method="bounded", options={"xatol": 1e-8}), side="scipy")

for n in (2, 10):
    x0 = np.tile([-1.2, 1.0], n // 2)
    row("Simplex Rosenbrock", n,
        lambda: minimize(rosenbrock, x0, method="Nelder-Mead",
                         options={"xatol": 1e-8, "fatol": 1e-8, "maxiter": 100000, "maxfev": 100000}),
        side="scipy", min_time=0.5 if n > 2 else None)

for name in ("NumericGradRichardson", "NumericGradDifference", "NumericGradHess"):
    for n in (10, 100):
        x = 0.5 + 0.1 * (np.arange(n) % 7)
        row(name, n, lambda: approx_fprime(x, rosenbrock, 1.4901161194e-8), side="scipy")


def rosenbrock_grad(x):
    g = np.empty_like(x)
    a = x[1::2] - x[::2] ** 2
    g[::2] = -400 * x[::2] * a - 2 * (1 - x[::2])
    g[1::2] = 200 * a
    return g


for n in (2, 10, 50):
    x0 = np.tile([-1.2, 1.0], n // 2)
    for names, method in ((("BFGS Rosenbrock", "DFP Rosenbrock", "DFP strict Rosenbrock"), "BFGS"),
                          (("ConjGrad FR Rosenbrock", "ConjGrad PR Rosenbrock", "ConjGrad FR strict Rosenbrock",
                            "ConjGrad PR strict Rosenbrock"), "CG")):
        for name in names:
            row(name, n, lambda: minimize(rosenbrock, x0, jac=rosenbrock_grad, method=method, options={"gtol": 1e-5}),
                side="scipy")

FIT_T = 0.02 * np.arange(100)
FIT_Y = 2.5 * np.exp(-1.3 * FIT_T)


def fit_residuals(p):
    return p[0] * np.exp(p[1] * FIT_T) - FIT_Y


def fit_jacobian(p):
    e = np.exp(p[1] * FIT_T)
    return np.column_stack([e, p[0] * FIT_T * e])


row("Marquardt exp fit", 100,
    lambda: least_squares(fit_residuals, np.array([1.0, 0.0]), jac=fit_jacobian, method="lm", xtol=1e-8),
    side="scipy")

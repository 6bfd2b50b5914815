"""numpy and scipy peers of the component rows (bench/bench_components.cpp): scipy.optimize.minimize on Rosenbrock
from (-1.2, 1) (Nelder-Mead with xatol and fatol 1e-8; BFGS with its finite-difference gradient and gtol 1e-8),
and 1500 products of the same 100 x 100 matrices with numpy.matmul into a preallocated result, beside each of the
four progress-dialog rows. OpenBLAS runs with OPENBLAS_NUM_THREADS as scripts/bench sets it."""
import numpy as np
from scipy.optimize import minimize

from common import row


def rosenbrock(x):
    return 100 * (x[1] - x[0] ** 2) ** 2 + (1 - x[0]) ** 2


x0 = np.array([-1.2, 1.0])
row("Recalculate Simplex Rosenbrock", 2,
    lambda: minimize(rosenbrock, x0, method="Nelder-Mead",
                     options={"xatol": 1e-8, "fatol": 1e-8, "maxiter": 10000, "maxfev": 10000}), side="scipy")
row("Recalculate BFGS Rosenbrock", 2,
    lambda: minimize(rosenbrock, x0, method="BFGS", options={"gtol": 1e-8, "maxiter": 10000}), side="scipy")

PRODUCTS, ORDER = 1500, 100
i = np.arange(ORDER * ORDER)
a = np.sin(0.001 * i).reshape(ORDER, ORDER)
b = np.sin(0.001 * i + 1).reshape(ORDER, ORDER)
c = np.empty((ORDER, ORDER))


def products():
    for _ in range(PRODUCTS):
        np.matmul(a, b, out=c)


for shown in ("shown", "hidden"):
    for interval in (200, 10):
        row(f"Progress Mul 100 {shown} {interval}", PRODUCTS, products, min_time=0.5)

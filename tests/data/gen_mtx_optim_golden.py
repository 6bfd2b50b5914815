#!/usr/bin/python3
"""The inverse Hessian of the Rosenbrock function at its minimum (1, 1), from scipy.optimize.rosen_hess, for the
minimisation page's test.

Run: /usr/bin/python3 tests/data/gen_mtx_optim_golden.py   (writes mtx_optim_golden.inc)
"""
import numpy as np
from scipy.optimize import rosen_hess

from golden import doubles, write

inv = np.linalg.inv(rosen_hess([1.0, 1.0]))
write("mtx_optim_golden.inc", ["// The inverse of rosen_hess(1, 1), row by row",
                               f"static const double kInvHessAtMinimum[4] = {doubles(inv)};"])

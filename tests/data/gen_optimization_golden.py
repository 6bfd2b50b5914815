#!/usr/bin/python3
"""Reference values of the optimisation tests (tests/numerics/test_optimization.cpp), written through golden.py.

Brent rows    MinBrent on (x - 2)^2 over [0, 5] and [5, 0], cos over [3, 4], x e^x over [-3, 2]: the analytic
              minimum (mpmath) and scipy.optimize.minimize_scalar(method='bounded', xatol=Tol), which runs the same
              search with the same tolerance tol1 = sqrt(eps)|x| + Tol/3. Tolerance: both stop with the minimum
              within 2 tol1 of x, and a smooth minimum cannot be located from rounded values closer than about
              sqrt(eps) max(1, |x|); so 2 tol1 + sqrt(eps) max(1, |x|) against the analytic minimum, twice that
              against scipy.
Simplex rows  Simplex on Rosenbrock from (-1.2, 1), on a three-parameter quadratic bowl from (0, 1, -1) and on
              (x - c)^2 with c = 0.7 in Consts from 3: the analytic minimum and scipy.optimize.minimize
              (method='Nelder-Mead', xatol=Tol, fatol=0), whose minimiser differs in its first simplex and its
              steps. Tolerance: 8 sqrt(eps) + 1e3 Tol: a smooth minimum is flat to rounding within about sqrt(eps)
              of it, so neither minimiser can place it closer, whatever its Tol.
Derivative    NumericGradRichardson, NumericGradDifference and NumericGradHess: the steps of the routines computed
rows          in Doubles exactly as they are (h = GradStepSize (|x| + 1), GradStepSize the Double 0x1.7c6a1f29e2ce6p-10;
              h = (|x| + 1) 1.4901161194e-8 for the forward difference), the function values in Doubles exactly as
              the test's C++ objective computes them (the same IEEE operations, glibc's sin), and then each formula
              evaluated exactly in mpmath from those values: (64 D1 - 20 D2 + D3)/45, (f(x + h) - f(x))/h, the
              central gradient, (f+ + f- - 2 f0)/h^2 and the mixed forward difference. The routines differ from it
              only by rounding in their own arithmetic: tolerance 16 eps (max |f| / (h_i h_j...) + |value|). Also the
              analytic derivatives, and for sin(100 x) at 0.3 the leading miss of the extrapolation against the
              analytic derivative, 64 h^6 f^(7) / 5040 (the next term is 1 % of it here).

Quadratic     1/2 x'Ax - b'x for BFGS, DFP and ConjGrad (tests/numerics/test_optimization_gradient.cpp): A = [[4, 1],
rows          [1, 3]] with b = (1, 2), and an SPD A of n = 10 (M M' + n I, M standard normal, seed 33) with a standard
              normal b; numpy.linalg.solve's minimum and numpy.linalg.inv(A), which the inverse-Hessian estimate
              approaches.
Rosenbrock    scipy.optimize.minimize(method='BFGS' and 'CG', with the analytic gradient, gtol 1e-12) from (-1.2, 1).
rows
Fit rows      a e^(b x) fitted to exact data (a = 2.5, b = -1.3 at x = 0, 0.1, ..., 1.9) from (1, 0) by Marquardt on
              Σ r² with the Gauss-Newton Hessian 2 J'J: scipy.optimize.least_squares(method='lm') and
              numpy.linalg.inv(2 J'J) at its point, the inverse of the damped matrix as the damping vanishes.

Run: /usr/bin/python3 tests/data/gen_optimization_golden.py
     (writes optimization_brent_golden.inc, optimization_simplex_golden.inc, optimization_deriv_golden.inc,
     optimization_quadratic_golden.inc, optimization_rosenbrock_golden.inc, optimization_fit_golden.inc)
"""
import math

import mpmath
import numpy as np
from scipy.optimize import least_squares, minimize, minimize_scalar, rosen, rosen_der

from golden import doubles, lit, write

mpmath.mp.dps = 50
EPS = 2.0**-52
SQRT_EPS = math.sqrt(EPS)
GRAD_STEP = float.fromhex("0x1.7c6a1f29e2ce6p-10")
FORWARD_STEP = 1.4901161194e-8


# ---- MinBrent ------------------------------------------------------------------------------------------------------
BRENT_FUNS = {
    "BrentSquare": (lambda x: (x - 2) ** 2, mpmath.mpf(2)),
    "BrentCos": (np.cos, mpmath.pi),
    "BrentXExp": (lambda x: x * np.exp(x), mpmath.mpf(-1)),
}
BRENT_CASES = [
    ("(x - 2)^2 on [0, 5]", "BrentSquare", 0.0, 5.0, 1e-8),
    ("(x - 2)^2 on [5, 0]", "BrentSquare", 5.0, 0.0, 1e-8),
    ("cos on [3, 4]", "BrentCos", 3.0, 4.0, 1e-8),
    ("cos on [3, 4], Tol 1e-5", "BrentCos", 3.0, 4.0, 1e-5),
    ("x e^x on [-3, 2]", "BrentXExp", -3.0, 2.0, 1e-8),
    ("x e^x on [-3, 2], Tol 1e-5", "BrentXExp", -3.0, 2.0, 1e-5),
]


def brent_rows():
    lines = []
    for what, fun, a, b, tol in BRENT_CASES:
        f, exact = BRENT_FUNS[fun]
        r = minimize_scalar(f, bounds=(min(a, b), max(a, b)), method="bounded", options={"xatol": tol})
        xs = float(exact)
        tolerance = 2 * (SQRT_EPS * abs(xs) + tol / 3) + SQRT_EPS * max(1.0, abs(xs))
        assert abs(r.x - xs) <= tolerance, what
        lines.append(f'{{"{what}", {fun}, {lit(a)}, {lit(b)}, {lit(tol)}, {lit(xs)}, {lit(r.x)}, {lit(tolerance)}}},')
    return lines


# ---- Simplex ------------------------------------------------------------------------------------------------------
BOWL_A = np.array([[2.0, 1.0, 0.0], [1.0, 4.0, 0.0], [0.0, 0.0, 6.0]])
BOWL_B = np.array([1.0, -2.0, 3.0])


def rosenbrock(x):
    return 100 * (x[1] - x[0] ** 2) ** 2 + (1 - x[0]) ** 2


def bowl(x):
    # 1/2 x'Ax - b'x, written as the C++ objective writes it.
    return 0.5 * (x @ BOWL_A @ x) - BOWL_B @ x


SIMPLEX_CASES = [
    ("Rosenbrock from (-1.2, 1)", "SimplexRosenbrock", [-1.2, 1.0], [], 1e-10, lambda x, c: rosenbrock(x),
     [1.0, 1.0]),
    ("bowl from (0, 1, -1)", "SimplexBowl", [0.0, 1.0, -1.0], [], 1e-10, lambda x, c: bowl(x),
     list(np.linalg.solve(BOWL_A, BOWL_B))),
    ("(x - c)^2, c = 0.7, from 3", "SimplexShift", [3.0], [0.7], 1e-10, lambda x, c: (x[0] - c[0]) ** 2, [0.7]),
]


def simplex_rows():
    lines = []
    for what, fun, x0, consts, tol, f, exact in SIMPLEX_CASES:
        r = minimize(lambda x: f(x, consts), np.array(x0), method="Nelder-Mead",
                     options={"xatol": tol, "fatol": 0.0, "maxiter": 100000, "maxfev": 100000})
        tolerance = 8 * SQRT_EPS + 1e3 * tol
        assert np.max(np.abs(r.x - exact)) <= tolerance, what
        lines.append(f'{{"{what}", {fun}, {doubles(x0)}, {doubles(consts)}, {lit(tol)}, {doubles(exact)}, '
                     f'{doubles(r.x)}, {lit(tolerance)}}},')
    return lines


# ---- Derivatives ----------------------------------------------------------------------------------------------------
def pow5(x):
    return x[0] * x[0] * x[0] * x[0] * x[0]


def sin100(x):
    return math.sin(100 * x[0])


def square(x):
    return x[0] * x[0]


def cubic2(x):
    return x[0] * x[0] * x[1] + 3 * x[1] * x[1]


DERIV_FUNS = {"DerivPow5": pow5, "DerivSin100": sin100, "DerivSquare": square, "DerivCubic2": cubic2}


def moved(x, i, xi):
    y = list(x)
    y[i] = xi
    return y


def richardson(f, x):
    grad, fmax, bound = [], 0.0, []
    for i, xi in enumerate(x):
        h = GRAD_STEP * (abs(xi) + 1)
        v = [f(moved(x, i, xi + k)) for k in (h, -h, 2 * h, -2 * h, 4 * h, -4 * h)]
        m = [mpmath.mpf(t) for t in v]
        d1 = (m[0] - m[1]) / (2 * mpmath.mpf(h))
        d2 = (m[2] - m[3]) / (4 * mpmath.mpf(h))
        d3 = (m[4] - m[5]) / (8 * mpmath.mpf(h))
        g = (64 * d1 - 20 * d2 + d3) / 45
        grad.append(g)
        bound.append(16 * EPS * (max(abs(t) for t in v) / h + abs(float(g))))
    return grad, max(bound)


def difference(f, x):
    f0 = f(x)
    grad, bound = [], []
    for i, xi in enumerate(x):
        h = (abs(xi) + 1) * FORWARD_STEP
        fp = f(moved(x, i, xi + h))
        g = (mpmath.mpf(fp) - mpmath.mpf(f0)) / mpmath.mpf(h)
        grad.append(g)
        bound.append(16 * EPS * (max(abs(fp), abs(f0)) / h + abs(float(g))))
    return grad, max(bound)


def hessian(f, x):
    n = len(x)
    f0 = f(x)
    h = [(abs(xi) + 1) * GRAD_STEP for xi in x]
    fm = [f(moved(x, i, x[i] - h[i])) for i in range(n)]
    fp = [f(moved(x, i, x[i] + h[i])) for i in range(n)]
    mp = mpmath.mpf
    grad = [(mp(fp[i]) - mp(fm[i])) / (2 * mp(h[i])) for i in range(n)]
    hess = [[mp(0)] * n for _ in range(n)]
    fmax = max([abs(f0)] + [abs(t) for t in fp + fm])
    hbound = []
    for i in range(n):
        hess[i][i] = (mp(fp[i]) + mp(fm[i]) - 2 * mp(f0)) / (mp(h[i]) * mp(h[i]))
        hbound.append(16 * EPS * (4 * fmax / (h[i] * h[i]) + abs(float(hess[i][i]))))
        for j in range(i + 1, n):
            y = moved(moved(x, i, x[i] + h[i]), j, x[j] + h[j])
            fij = f(y)
            hess[i][j] = hess[j][i] = (mp(fij) - mp(fp[i]) - mp(fp[j]) + mp(f0)) / (mp(h[i]) * mp(h[j]))
            hbound.append(16 * EPS * (4 * max(fmax, abs(fij)) / (h[i] * h[j]) + abs(float(hess[i][j]))))
    gbound = max(16 * EPS * (fmax / h[i] + abs(float(grad[i]))) for i in range(n))
    return grad, gbound, [v for r in hess for v in r], max(hbound)


def sin100_miss(x):
    """The leading miss of the extrapolated derivative of sin(100 x): 64 h^6 f^(7)(x) / 5040."""
    h = mpmath.mpf(GRAD_STEP * (abs(x) + 1))
    f7 = -(100**7) * mpmath.cos(100 * mpmath.mpf(x))
    return 64 * h**6 * f7 / 5040


DERIV_CASES = [
    # what, fun, method, x, analytic gradient, analytic Hessian (row by row, for the reader), leading miss of
    # Grad[0] (0: none given)
    ("x^5 at 1.3, Richardson", "DerivPow5", "kRichardson", [1.3], [5 * mpmath.mpf(1.3) ** 4], [], 0),
    ("sin(100x) at 0.3, Richardson", "DerivSin100", "kRichardson", [0.3], [100 * mpmath.cos(100 * mpmath.mpf(0.3))],
     [], sin100_miss(0.3)),
    ("x^2 at 0, forward difference", "DerivSquare", "kDifference", [0.0], [0], [], 0),
    ("x^5 at 1.3, forward difference", "DerivPow5", "kDifference", [1.3], [5 * mpmath.mpf(1.3) ** 4], [], 0),
    ("x0^2 x1 + 3 x1^2 at (1, 2), Richardson", "DerivCubic2", "kRichardson", [1.0, 2.0], [4, 13], [], 0),
    ("x0^2 x1 + 3 x1^2 at (1, 2), forward difference", "DerivCubic2", "kDifference", [1.0, 2.0], [4, 13], [], 0),
    ("x0^2 x1 + 3 x1^2 at (1, 2), central with Hessian", "DerivCubic2", "kHess", [1.0, 2.0], [4, 13],
     [4, 2, 2, 6], 0),
    ("x^5 at -1.3, central with Hessian", "DerivPow5", "kHess", [-1.3], [5 * mpmath.mpf(-1.3) ** 4],
     [20 * mpmath.mpf(-1.3) ** 3], 0),
]


def deriv_rows():
    lines = []
    for what, fun, method, x, agrad, ahess, miss in DERIV_CASES:
        f = DERIV_FUNS[fun]
        hess, hbound = [], 0.0
        if method == "kRichardson":
            grad, gbound = richardson(f, x)
        elif method == "kDifference":
            grad, gbound = difference(f, x)
        else:
            grad, gbound, hess, hbound = hessian(f, x)
        # The formula is exact for this function when its value from exact f values is the analytic gradient to
        # within the rounding of the steps (x +- h are Doubles).
        exact = all(abs(g - a) <= gbound / 16 for g, a in zip(grad, agrad))
        lines.append(f'{{"{what}", {fun}, {method}, {doubles(x)}, {doubles([float(g) for g in grad])}, '
                     f'{lit(gbound)}, {doubles([float(v) for v in hess])}, {lit(hbound)}, '
                     f'{doubles([float(g) for g in agrad])}, {str(exact).lower()}, {lit(miss)}}},')
    return lines


# ---- Gradient methods ----------------------------------------------------------------------------------------------
def quadratic_rows():
    rng = np.random.default_rng(33)
    m = rng.standard_normal((10, 10))
    cases = [("2 x 2", np.array([[4.0, 1.0], [1.0, 3.0]]), np.array([1.0, 2.0])),
             ("n = 10", m @ m.T + 10 * np.eye(10), rng.standard_normal(10))]
    lines = []
    for what, a, b in cases:
        lines.append(f'{{"{what}", {len(b)}, {doubles(a)}, {doubles(b)}, {doubles(np.linalg.solve(a, b))}, '
                     f'{doubles(np.linalg.inv(a))}}},')
    return lines


def rosenbrock_rows():
    lines = []
    for method in ("BFGS", "CG"):
        r = minimize(rosen, np.array([-1.2, 1.0]), jac=rosen_der, method=method, options={"gtol": 1e-12})
        assert np.max(np.abs(r.x - 1)) < 1e-7, method
        lines.append(f'{{"{method}", {doubles(r.x)}}},')
    return lines


FIT_X = np.arange(20) / 10
FIT_TRUE = (2.5, -1.3)


def fit_rows():
    y = FIT_TRUE[0] * np.exp(FIT_TRUE[1] * FIT_X)
    r = least_squares(lambda p: p[0] * np.exp(p[1] * FIT_X) - y, np.array([1.0, 0.0]), method="lm",
                      xtol=1e-15, ftol=1e-15, gtol=1e-15)
    a, b = r.x
    e = np.exp(b * FIT_X)
    j = np.column_stack([e, a * FIT_X * e])
    return [f'{{{doubles(FIT_X)}, {doubles(y)}, {doubles([1.0, 0.0])}, {doubles(r.x)}, '
            f'{doubles(np.linalg.inv(2 * j.T @ j))}}},']


if __name__ == "__main__":
    write("optimization_brent_golden.inc", brent_rows(),
          "{ what, fun, ax, bx, Tol, analytic minimum, scipy's XMin, tolerance }")
    write("optimization_simplex_golden.inc", simplex_rows(),
          "{ what, fun, {start}, {Consts}, Tol, {analytic minimum}, {scipy's point}, tolerance }")
    write("optimization_deriv_golden.inc", deriv_rows(),
          "{ what, fun, method, {x}, {Grad}, tolerance, {Hess}, tolerance, {analytic Grad}, formula exact for fun, "
          "leading miss of Grad[0] against the analytic value (0: not checked) }")
    write("optimization_quadratic_golden.inc", quadratic_rows(), "{ what, n, {A}, {b}, {solve(A, b)}, {inv(A)} }")
    write("optimization_rosenbrock_golden.inc", rosenbrock_rows(), "{ scipy's method, {its minimum} }")
    write("optimization_fit_golden.inc", fit_rows(),
          "{ {x}, {y}, {start}, {least_squares' (a, b)}, {inv(2 J'J) there} }")

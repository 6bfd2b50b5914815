#!/usr/bin/python3
"""The reference values of the polynomial and spline tests (tests/numerics/test_polynoms.cpp), written through
golden.py as named arrays of Doubles ((Re, Im) pairs for complex data); the test looks them up by name.

fit.*      numpy.polyfit (real) and numpy.linalg.lstsq on numpy.vander (complex) of 20 noisy points of a cubic (real)
           and a quadratic (complex); L2R = ||V c - y||; Delta at 7 points from numpy.linalg.qr: Z = solve(R^T, W^T),
           W = vander(xe), Delta = L2R/sqrt(dof) sqrt(1 + sum |Z|^2 per column).
eval.*     numpy.polyval of a degree-7 polynomial at 64 points, real and complex (the same operations in the same
           order: the test wants the real values bit for bit).
roots.*    numpy.roots of a complex degree-6 polynomial; poly.mtx numpy.poly of a 4 x 4 matrix.
iir.*      scipy.signal.lfilter(b, a, x) for each pair of kinds of taps and data (b 3 taps, a 2, a0 != 1).
spline.*   scipy.interpolate.CubicSpline: c transposed (rows per piece, highest power first) for 7 uneven abscissae
           with not-a-knot ends and with clamped ends; values at 9 points for n = 3 (a parabola) and n = 2 clamped.
interp.*   numpy.interp on 12 uneven abscissae at 25 points inside.
deconv.*   numpy.polydiv of four small real divisions.
Run: /usr/bin/python3 tests/data/gen_polynoms_golden.py   (writes polynoms_golden.inc next to this script)
"""
import numpy as np
import scipy.interpolate
import scipy.signal

from golden import doubles, write

rng = np.random.default_rng(34)
rows = []


def put(name, a, complex_=None):
    rows.append('{"%s", %s},' % (name, doubles(a, complex_)))


def fit(name, x, y, deg, xe):
    v = np.vander(x, deg + 1)
    c = np.linalg.lstsq(v, y, rcond=None)[0]
    if not np.iscomplexobj(x):
        c = np.polyfit(x, y, deg)
    l2r = np.linalg.norm(v @ c - y)
    dof = len(y) - deg - 1
    r = np.linalg.qr(v, mode="r")
    z = np.linalg.solve(r.T, np.vander(xe, deg + 1).T)
    delta = l2r / np.sqrt(dof) * np.sqrt(1 + np.sum(np.abs(z) ** 2, axis=0))
    put(name + ".x", x)
    put(name + ".y", y)
    put(name + ".xe", xe)
    put(name + ".coeff", c)
    put(name + ".l2r", [l2r])
    put(name + ".delta", delta)


x = np.sort(rng.uniform(-2, 3, 20))
fit("fit.real", x, np.polyval([0.5, -1, 2, 3], x) + rng.normal(0, 0.3, 20), 3, np.linspace(-3, 4, 7))
xc = rng.uniform(-1, 1, 20) + 1j * rng.uniform(-1, 1, 20)
yc = np.polyval([1 - 2j, 0.5j, 3], xc) + rng.normal(0, 0.1, 20) + 1j * rng.normal(0, 0.1, 20)
fit("fit.cplx", xc, yc, 2, np.linspace(-1, 1, 7) + 0.5j)

c = rng.uniform(-2, 2, 8)
xs = rng.uniform(-1.5, 1.5, 64)
put("eval.real.coeff", c)
put("eval.real.x", xs)
put("eval.real.y", np.polyval(c, xs))
cc = rng.uniform(-2, 2, 8) + 1j * rng.uniform(-2, 2, 8)
xsc = rng.uniform(-1.5, 1.5, 64) + 1j * rng.uniform(-1.5, 1.5, 64)
put("eval.cplx.coeff", cc)
put("eval.cplx.x", xsc)
put("eval.cplx.y", np.polyval(cc, xsc))

pc = rng.uniform(-2, 2, 7) + 1j * rng.uniform(-2, 2, 7)
put("roots.cplx.coeff", pc)
put("roots.cplx.roots", np.roots(pc))
m = rng.uniform(-1, 1, (4, 4))
put("poly.mtx", m)
put("poly.mtx.coeff", np.poly(m))

xr = rng.uniform(-1, 1, 30)
xi = xr + 1j * rng.uniform(-1, 1, 30)
b, a = np.array([0.5, -0.25, 0.125]), np.array([2.0, -0.8])
bc, ac = b + 1j * np.array([0.1, 0.2, -0.3]), a + 1j * np.array([0.5, 0.1])
put("iir.x.real", xr)
put("iir.x.cplx", xi)
put("iir.b.real", b)
put("iir.a.real", a)
put("iir.b.cplx", bc)
put("iir.a.cplx", ac)
put("iir.real.real", scipy.signal.lfilter(b, a, xr))
put("iir.real.cplx", scipy.signal.lfilter(b, a, xi))
put("iir.cplx.cplx", scipy.signal.lfilter(bc, ac, xi))
put("iir.cplx.real", scipy.signal.lfilter(bc, ac, xr.astype(complex)), True)

xk = np.array([0.0, 0.3, 1.1, 1.5, 2.9, 3.2, 4.7])
yk = rng.uniform(-1, 1, 7)
put("spline.x", xk)
put("spline.y", yk)
put("spline.notaknot.c", scipy.interpolate.CubicSpline(xk, yk).c.T)
put("spline.clamped.c", scipy.interpolate.CubicSpline(xk, yk, bc_type=((1, 0.7), (1, -1.3))).c.T)
xe = np.array([-0.5, 0.0, 0.2, 0.4, 0.9, 1.0, 1.4, 2.0, 2.6])
put("spline.n3.x", xk[:3])
put("spline.n3.y", yk[:3])
put("spline.xe", xe)
put("spline.n3.values", scipy.interpolate.CubicSpline(xk[:3], yk[:3])(xe))
put("spline.n2.values", scipy.interpolate.CubicSpline(xk[:2], yk[:2], bc_type=((1, 0.7), (1, -1.3)))(xe))

xl = np.sort(rng.uniform(0, 10, 12))
yl = rng.uniform(-5, 5, 12)
xli = np.sort(rng.uniform(xl[0], xl[-1], 25))
put("interp.x", xl)
put("interp.y", yl)
put("interp.xi", xli)
put("interp.yi", np.interp(xli, xl, yl))

# numpy.polydiv: the quotient, and the remainder padded on the left to B's length (DeConv keeps B's length).
for i, (b, a) in enumerate((([1, 5, 6], [1, 2]), ([2, 4, 2], [2, 2]), ([1, 0, 0, 1], [1, 1]), ([1, 2, 3], [2, 1]))):
    q, r = np.polydiv(np.array(b, float), np.array(a, float))
    put(f"deconv.{i}.q", q)
    put(f"deconv.{i}.r", np.concatenate([np.zeros(len(b) - len(r)), r]))

write("polynoms_golden.inc", rows, "{ name, {Doubles} }")

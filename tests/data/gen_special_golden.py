#!/usr/bin/python3
"""Golden tables of SpecialFuncs: the Bessel functions at negative orders (mpmath at 30 digits, the scaled values
as mpmath's plain ones times the scale factor), complete elliptic integrals and Jacobi's elliptic functions
(scipy's ellipk and ellipe, mpmath's ellipfun where
scipy's ellipj loses digits near m = 1; all in the parameter m) and associated Legendre functions (scipy's lpmv, with
the factor (-1)^m).

Run: /usr/bin/python3 tests/data/gen_special_golden.py   (writes special_golden.inc)
"""
import math

import mpmath
import numpy as np
import scipy.special as sp

from golden import lit, write

mpmath.mp.dps = 30

ORDERS = [-2.0, -1.5, -0.5, -0.3]
POINTS = [complex(1.0, 0.0), complex(-2.0, 0.0), complex(0.75, -1.25), complex(-3.5, 2.0), complex(12.0, 30.0)]


def factor(fn, z):
    zz = mpmath.mpc(z.real, z.imag)
    return {"J": mpmath.exp(-abs(zz.imag)), "Y": mpmath.exp(-abs(zz.imag)), "I": mpmath.exp(-abs(zz.real)),
            "K": mpmath.exp(zz), "H1": mpmath.exp(-1j * zz), "H2": mpmath.exp(1j * zz)}[fn]


def value(fn, nu, z):
    zz = mpmath.mpc(z.real, z.imag)
    n = mpmath.mpf(nu)
    return {"J": mpmath.besselj, "Y": mpmath.bessely, "I": mpmath.besseli, "K": mpmath.besselk,
            "H1": mpmath.hankel1, "H2": mpmath.hankel2}[fn](n, zz)


def c(v):
    return f"{{{lit(float(mpmath.re(v)))}, {lit(float(mpmath.im(v)))}}}"


neg = []
for fn in ("J", "Y", "I", "K", "H1", "H2"):
    for nu in ORDERS:
        for z in POINTS:
            with mpmath.workdps(60):  # J ± iY for H: enough digits for the cancellation at these points
                v = value(fn, nu, z)
                s = v * factor(fn, z)
            neg.append(f'{{"{fn}", {lit(nu)}, {{{lit(z.real)}, {lit(z.imag)}}}, {c(v)}, {c(s)}}},')

MS = [0.0, 1e-300, 1e-10, 0.1, 0.25, 0.3, 0.5, 0.7, 0.9, 0.99, 0.999999, 1 - 1e-12]
ellip = [f"{{{lit(m)}, {lit(sp.ellipk(m))}, {lit(sp.ellipe(m))}}}," for m in MS]

jac = []
for m in [0.0, 1e-12, 0.3, 0.5, 0.8, 0.999, 1 - 1e-12, 1.0]:
    for u in [-7.5, -0.4, 0.0, 0.7, 2.0, 25.0]:
        # mpmath, not scipy's ellipj: near m = 1 at large u ellipj loses digits (sn(25 | 1 - 1e-12) > 1).
        sn, cn, dn = (float(mpmath.ellipfun(f, u, m=m)) for f in ("sn", "cn", "dn"))
        jac.append(f"{{{lit(u)}, {lit(m)}, {lit(sn)}, {lit(cn)}, {lit(dn)}}},")

leg = []
for n in [0, 1, 2, 3, 5, 10, 30]:
    for m in sorted({0, 1, 2, n // 2, n}):
        if m > n:
            continue
        for x in [-1.0, -0.7, -0.2, 0.0, 0.35, 0.9, 1.0]:
            leg.append(f"{{{n}, {m}, {lit(x)}, {lit(sp.lpmv(m, n, x))}}},")

def table(decl, rows):
    return [decl + " = {", *rows, "};"]


# The row types (NegOrderRow, EllipRow, JacobiRow, LegendreRow) are declared by the test that includes the table.
lines = [*table("inline const NegOrderRow kNegOrders[]", neg),  # { function, order, z, plain, scaled }
         *table("inline const EllipRow kEllip[]", ellip),  # { m, K(m), E(m) }
         *table("inline const JacobiRow kJacobi[]", jac),  # { u, m, sn, cn, dn }
         *table("inline const LegendreRow kLegendre[]", leg)]  # { n, m, x, P_n^m(x) }
write("special_golden.inc", lines)

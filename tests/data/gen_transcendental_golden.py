#!/usr/bin/python3
"""Writes the golden tables of the exponentials, logarithms, powers, trigonometric functions and searches of vectors
and matrices: reference values from mpmath at 50 digits rounded once to Double (numpy's own functions for the
searches), as named C++ arrays of hexadecimal literals.

Inputs cover ±0, ±∞, NaN, subnormals, |Im| of 20, 400 and 800 and points next to the branch cuts. Where a value
has a limit rather than a value (overflow, a zero part), the table holds C99's limit, which mpmath gives as well.

Run: /usr/bin/python3 tests/data/gen_transcendental_golden.py
"""
import math

import mpmath as mp
import numpy as np

from golden import cplx, doubles, write

mp.mp.dps = 50
INF = math.inf
NAN = math.nan

lines = []


def table(name, a, complex_=None):
    lines.append(f"inline const std::vector<double> {name} = {doubles(a, complex_)};")


def rd(v):
    """An mpmath number rounded once to a Double (or a complex of Doubles)."""
    if isinstance(v, mp.mpc):
        return complex(float(v.real), float(v.imag))
    return float(v)


# ---- Inputs ---------------------------------------------------------------------------------------------------
# Positive reals for the powers, and reals of every sign for IntPower.
POS = [0.5, 1.0, 2.0, 3.7, 1e-310, 0.001, 20.0, 123.456, 1e300, 7.25]
REAL = [0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 0.5, -3.7, 1e-310, 1e150, 1e-200, INF, -INF, NAN, 1.0000001, -0.75]
# Complex bases away from zero and the cut.
ZB = cplx(np.array([1.0, 0.5, 3.0, -2.5, 0.1, -1.0, 1e-3, 7.0, -0.25, 2.0]),
          np.array([1.0, -2.0, 4.0, 0.1, 20.0, 1e-3, 1.0, -3.0, -0.5, 0.0]))

table("kTrPos", POS)
table("kTrReal", REAL)
table("kTrZb", ZB)


def real_power(xs, p):
    out = []
    for x in xs:
        out.append(rd(mp.exp(mp.mpf(p) * mp.log(mp.mpf(x)))) if x > 0 else (0.0 if x == 0 and p > 0 else NAN))
    return out


def cpow(zs, p):
    return [rd(mp.exp(p * mp.log(mp.mpc(z.real, z.imag)))) for z in zs]


# Power: exp(p·ln x) of positive reals; complex bases with a real and a complex exponent.
table("kTrPowReal", real_power(POS, 2.5))
table("kTrPowRealNeg", real_power(POS, -1.75))
table("kTrPowZb", np.array(cpow(ZB, mp.mpf(2.5))))
table("kTrPowZbC", np.array(cpow(ZB, mp.mpc(0.75, -1.25))))

# IntPower: the exact power rounded once; a negative exponent then takes the reciprocal thresholded at
# 5.56268464626801E-309 (±1/threshold below it), as the library does after squaring. The squaring loop rounds after
# each product, so the tests allow a few ulps.
THR = 5.56268464626801e-309
IPIN = [0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 0.5, -3.7, 1e-310, 1e150, 1e-200, INF, -INF, NAN, 1.0000001, -0.75]
table("kTrIpIn", IPIN)


def ipow_real(x, n):
    if math.isnan(x):
        return NAN
    if math.isinf(x):
        r = INF if (x > 0 or n % 2 == 0) else -INF
    elif x == 0:
        r = x if n % 2 else 0.0  # the sign of a zero survives odd powers
    else:
        r = rd(mp.mpf(x) ** abs(n))
    if n >= 0:
        return r
    return math.copysign(1 / THR, r) if abs(r) < THR else 1 / r


for n, tag in [(1, "1"), (-1, "M1"), (2, "2"), (-2, "M2"), (3, "3"), (5, "5"), (-2**31, "Min")]:
    table(f"kTrIp{tag}", [ipow_real(x, n) for x in IPIN])
for n, tag in [(2, "2"), (3, "3"), (5, "5"), (-2, "M2"), (-5, "M5")]:
    table(f"kTrIpZb{tag}", np.array([rd(mp.mpc(z.real, z.imag) ** n) for z in ZB]))

# PowerVec: C's pow for real pairs (numpy's power is C's pow on these), complex exp(e·ln b) otherwise.
PVB = [2.0, 0.5, -2.0, -8.0, 0.0, 0.0, INF, 1.0, 10.0, -0.5]
PVE = [0.5, -3.0, 3.0, 1.0 / 3.0, 0.0, -1.0, -2.0, NAN, 308.5, 2.0]
table("kTrPvBase", PVB)
table("kTrPvExp", PVE)
with np.errstate(all="ignore"):
    table("kTrPvReal", np.power(np.array(PVB), np.array(PVE)))
PVEC = cplx(np.array([0.0, 1.0, -0.5, 2.0, 0.25]), np.array([1.0, 0.5, 2.0, 0.0, -1.0]))
PVBR = [2.0, 0.5, 3.0, 1.5, 10.0]
table("kTrPvBaseR", PVBR)
table("kTrPvExpC", PVEC)
table("kTrPvRealC", np.array([rd(mp.exp(mp.mpc(e.real, e.imag) * mp.log(mp.mpf(b)))) for b, e in zip(PVBR, PVEC)]))
table("kTrPvZbR", np.array([rd(mp.exp(mp.mpf(e) * mp.log(mp.mpc(z.real, z.imag))))
                            for z, e in zip(ZB[:5], [0.5, -1.0, 2.0, 1.5, 0.25])]))

write("transcendental_golden.inc", lines)

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

# ---- Exponentials and logarithms ----------------------------------------------------------------------------
PI = math.pi
EXR = [0.0, -0.0, 1.0, -1.0, 0.5, 700.0, 709.7, 710.0, -745.0, -746.0, 1e-310, INF, -INF, NAN, 20.0, -20.0]
LNR = [0.0, -0.0, 1.0, 2.0, 0.5, 1e-310, 5e-324, 1e300, INF, -INF, NAN, -1.0, 10.0, 100.0, 1e-5, 123.456]
ZE = cplx(np.array([0.0, 0.0, 1.0, -1.0, 800.0, -INF, 0.0, 20.0, 0.0, 400.0, NAN, 1e-310, -800.0, 2.0, -0.0, 1.5]),
          np.array([0.0, PI, 1.0, -2.0, 0.0, 0.0, 20.0, 20.0, 400.0, 0.5, 0.0, 1e-310, 1.0, 800.0, -0.0, -0.0]))
ZL = cplx(np.array([1.0, -1.0, -1.0, 0.0, 3.0, 1e-310, 1e300, INF, 0.0, NAN, 0.5, -2.5, -2.5, 0.0, 1.0, 100.0]),
          np.array([0.0, 0.0, -0.0, 0.0, 4.0, 0.0, 1e300, 0.0, INF, 0.0, -2.0, 1e-20, -1e-20, 20.0, 1e-16, 0.0]))
table("kTrExR", EXR)
table("kTrLnR", LNR)
table("kTrZe", ZE)
table("kTrZl", ZL)


def finite(z):
    return math.isfinite(z.real) and math.isfinite(z.imag)


def cfun(f, npf, zs):
    """f from mpmath at finite points (the zero parts exact), numpy's C99 values at the others. mpmath has no -0:
    below a -0 imaginary part f(z) is conj(f(conj z)), which holds for every function here (real on the real axis,
    the cuts taking the side of the zero's sign)."""
    out = []
    with np.errstate(all="ignore"):
        for z in zs:
            if not finite(z):
                out.append(complex(npf(z)))
            elif z.imag == 0 and math.copysign(1, z.imag) < 0:
                out.append(rd(f(mp.mpc(z.real, 0))).conjugate())
            else:
                out.append(rd(f(mp.mpc(z.real, z.imag))))
    return np.array(out)


def rfun(f, npf, xs):
    with np.errstate(all="ignore"):
        return [rd(f(mp.mpf(x))) if math.isfinite(x) and x > 0 else float(npf(x)) for x in xs]


def rexp(f, npf, xs):
    with np.errstate(all="ignore"):
        return [rd(f(mp.mpf(x))) if math.isfinite(x) else float(npf(x)) for x in xs]


table("kTrExpR", rexp(mp.exp, np.exp, EXR))
table("kTrExp2R", rexp(lambda x: mp.mpf(2) ** x, np.exp2, EXR))
table("kTrExp10R", rexp(lambda x: mp.mpf(10) ** x, lambda x: np.power(10.0, x), EXR))
table("kTrLnR_", rfun(mp.log, np.log, LNR))
table("kTrLog10R", rfun(mp.log10, np.log10, LNR))
table("kTrLog2R", rfun(lambda x: mp.log(x, 2), np.log2, LNR))
table("kTrLog7R", rfun(lambda x: mp.log(x) / mp.log(7), lambda x: np.log(x) / np.log(7.0), LNR))
table("kTrExpZ", cfun(mp.exp, np.exp, ZE))
# 2^z and 10^z are exp(z·ln 2) and exp(z·ln 10); at the non-finite points C99's exp of the scaled z.
table("kTrExp2Z", cfun(lambda z: mp.exp(z * mp.log(2)), lambda z: np.exp(complex(z.real * math.log(2), z.imag * math.log(2))), ZE))
table("kTrExp10Z", cfun(lambda z: mp.exp(z * mp.log(10)), lambda z: np.exp(complex(z.real * math.log(10), z.imag * math.log(10))), ZE))
table("kTrLnZ", cfun(mp.log, np.log, ZL))
table("kTrLog10Z", cfun(lambda z: mp.log(z) / mp.log(10), np.log10, ZL))
table("kTrLog2Z", cfun(lambda z: mp.log(z) / mp.log(2), np.log2, ZL))

# ---- Trigonometric and hyperbolic functions ------------------------------------------------------------------
TR = [0.0, -0.0, 0.5, -1.0, 1e-310, PI / 4, 3.0, 20.0, -20.0, 400.0, 800.0, 1e10, INF, -INF, NAN, 0.9999999]
ZT = cplx(np.array([0.0, 0.0, PI / 4, 1.0, -2.0, 0.0, 0.0, 0.0, 400.0, 20.0, 0.5, 3.0, 1e-310, -0.0, 0.25, 800.0]),
          np.array([0.0, 1.0, 0.0, 1.0, 0.5, 20.0, 400.0, 800.0, 0.0, 0.0, -20.0, -400.0, 1e-310, -0.0, -1.5, 0.1]))
table("kTrTr", TR)
table("kTrZt", ZT)


def rtab(f, npf, xs, domain=lambda x: True):
    with np.errstate(all="ignore"):
        return [rd(f(mp.mpf(x))) if math.isfinite(x) and x != 0 and domain(x) else float(npf(x)) for x in xs]


def ctab(f, npf, zs):
    """mpmath's value; a part that is zero takes the sign numpy's C99 function gives it (mpmath has no -0), and
    the non-finite points numpy's value."""
    out = []
    with np.errstate(all="ignore"):
        for z in zs:
            ref = complex(npf(z))
            if not finite(z):
                out.append(ref)
                continue
            v = rd(f(mp.mpc(z.real, z.imag)))
            re = math.copysign(0.0, ref.real) if v.real == 0 else v.real
            im = math.copysign(0.0, ref.imag) if v.imag == 0 else v.imag
            out.append(complex(re, im))
    return np.array([cplx(np.array([v.real]), np.array([v.imag]))[0] for v in out])


for name, f, npf in [("Sin", mp.sin, np.sin), ("Cos", mp.cos, np.cos), ("Tan", mp.tan, np.tan),
                     ("Sinh", mp.sinh, np.sinh), ("Cosh", mp.cosh, np.cosh), ("Tanh", mp.tanh, np.tanh)]:
    table(f"kTr{name}R", rtab(f, npf, TR))
    table(f"kTr{name}Z", ctab(f, npf, ZT))
table("kTrArcSinR", rtab(mp.asin, np.arcsin, TR, lambda x: abs(x) <= 1))
table("kTrArcCosR", rtab(mp.acos, np.arccos, TR, lambda x: abs(x) <= 1))
table("kTrArcTanR", rtab(mp.atan, np.arctan, TR))

# ---- Searches ----------------------------------------------------------------------------------------------
# Masks of every relation text, in the order of kTrOps, against numpy's comparisons (real data) and against the
# library's order of complex numbers (modulus Re² + Im², then the phase with -x + 0i at π), ranked by np.lexsort.
OPS = ["<", "<=", "=<", ">=", "=>", ">", "=", "==", "<>"]
lines.append("inline const std::vector<std::string> kTrOps = {" + ", ".join(f'"{o}"' for o in OPS) + "};")
FA = np.array([1.0, 3.0, 2.0, NAN, INF, -INF, 2.0, -0.0, 0.0, 5.0, NAN, INF])
FB = np.array([2.0, 2.0, 2.0, NAN, -INF, INF, NAN, 0.0, -0.0, 7.0, 1.0, 1.0, 9.0])  # one longer than a
table("kTrFa", FA)
table("kTrFb", FB)


def eq_rule(a, b):
    return np.where(np.isnan(b), np.isnan(a), np.where(np.isinf(b), np.isinf(a), a == b))


def real_masks(a, b):
    with np.errstate(invalid="ignore"):
        return [np.less(a, b), np.less_equal(a, b), np.less_equal(a, b), np.greater_equal(a, b),
                np.greater_equal(a, b), np.greater(a, b), eq_rule(a, b), eq_rule(a, b), ~eq_rule(a, b)]


def emit_masks(name, masks):
    for k, m in enumerate(masks):
        table(f"{name}{k}", np.asarray(m, dtype=float))


n = min(len(FA), len(FB))
emit_masks("kTrMaskRR", real_masks(FA, FB[:n]))
for tag, v in [("2", 2.0), ("Nan", NAN), ("Inf", INF)]:
    emit_masks(f"kTrMaskRV{tag}", real_masks(FA, np.full(len(FA), v)))

# Complex operands with small integer parts, so every modulus is exact and ties go to the phase.
CA = cplx(np.array([3.0, -5.0, 0.0, 1.0, NAN, INF, 0.0, 2.0, -3.0, 4.0]),
          np.array([4.0, 0.0, 5.0, 1.0, 0.0, 0.0, -5.0, 0.0, -4.0, 3.0]))
CB = cplx(np.array([5.0, 3.0, -3.0, 1.0, 1.0, 0.0, -4.0, 2.0, 3.0, 4.0]),
          np.array([0.0, -4.0, 4.0, 1.0, 0.0, INF, -3.0, 0.0, -4.0, 3.0]))
table("kTrCa", CA)
table("kTrCb", CB)


def complex_masks(a, b):
    vals = np.concatenate([a, b])
    norm = vals.real * vals.real + vals.imag * vals.imag
    phase = np.where((vals.imag == 0) & (vals.real < 0), math.pi, np.arctan2(vals.imag, vals.real))
    order = np.lexsort((phase, norm))
    rank = np.empty(len(vals))
    r = -1
    prev = None
    for i in order:
        key = (norm[i], phase[i])
        if key != prev:
            r += 1
            prev = key
        rank[i] = r if not np.isnan(norm[i]) else NAN
    ra, rb = rank[: len(a)], rank[len(a):]
    eq = np.array([(np.isnan(y.real) or np.isnan(y.imag)) and (np.isnan(x.real) or np.isnan(x.imag)) if
                   (np.isnan(y.real) or np.isnan(y.imag)) else
                   ((np.isinf(x.real) or np.isinf(x.imag)) if (np.isinf(y.real) or np.isinf(y.imag)) else x == y)
                   for x, y in zip(a, b)])
    with np.errstate(invalid="ignore"):
        return [ra < rb, ra <= rb, ra <= rb, ra >= rb, ra >= rb, ra > rb, eq, eq, ~eq]


emit_masks("kTrMaskCC", complex_masks(CA, CB))

write("transcendental_golden.inc", lines)

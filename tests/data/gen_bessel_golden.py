#!/usr/bin/python3
"""Golden table of the complex Bessel and Airy routines (CBESJ .. CBESH, CAIRY, CBIRY): mpmath at 30 digits, the
inputs taken as the exact Doubles, rounded once; scipy.special's plain and exponentially scaled forms (jv .. hankel2,
jve .. hankel2e, airy, airye) as a second column that confirms the scalings and branches. Where scipy's own value is
not finite or is off mpmath's by more than 1e-12 of the modulus (its routines lose digits near |z| ≈ ν and at large
|z|), its column is NaN and that row is not compared with it.

Run: /usr/bin/python3 tests/data/gen_bessel_golden.py   (writes bessel_golden.inc)
"""
import math

import mpmath
import numpy as np
import scipy.special as sp

from golden import lit, write

mpmath.mp.dps = 30

ARGS = [("0", 0.0, 0.0), ("pi/4", 1.0, 1.0), ("-pi/4", 1.0, -1.0), ("pi/2", 0.0, 1.0), ("-pi/2", 0.0, -1.0),
        ("3pi/4", -1.0, 1.0), ("pi", -1.0, 0.0)]
MODS = [1e-3, 1.0, 10.0, 100.0, 1e4]
ORDERS = [0.0, 0.5, 1.0, 10.3, 100.0]


def point(mod, cre, cim):
    """The Double point of modulus mod in the direction (cre, cim): exact zeros on the axes."""
    if cre == 0 or cim == 0:
        return complex(mod * cre, mod * cim)
    h = mod * math.sqrt(0.5)
    return complex(h * cre, h * cim)


def mpz(z):
    return mpmath.mpc(mpmath.mpf(z.real), mpmath.mpf(z.imag))


def scale_factor(fn, z):
    """The factor of KODE 2, in mpmath."""
    x, y = mpmath.mpf(z.real), mpmath.mpf(z.imag)
    zz = mpz(z)
    if fn in ("J", "Y"):
        return mpmath.exp(-abs(y))
    if fn == "I":
        return mpmath.exp(-abs(x))
    if fn == "K":
        return mpmath.exp(zz)
    if fn == "H1":
        return mpmath.exp(-1j * zz)
    if fn == "H2":
        return mpmath.exp(1j * zz)
    zeta = mpmath.mpf(2) / 3 * zz * mpmath.sqrt(zz)
    if fn in ("Ai", "Aip"):
        return mpmath.exp(zeta)
    return mpmath.exp(-abs(mpmath.re(zeta)))


def hankel(kind, n, z):
    """mpmath forms H as J ± iY, which cancels to nothing where H is small; there it is taken from K (DLMF 10.27.8):
    H1 = -(2i/pi) e^(-i pi n/2) K(-iz) for -pi/2 < arg z <= pi, H2 = (2i/pi) e^(i pi n/2) K(iz) for -pi < arg z <= pi/2."""
    zz = mpz(z)
    upper = z.imag >= 0
    if kind == 1 and not (z.imag < 0 and z.real <= 0):
        return -2j / mpmath.pi * mpmath.expjpi(-n / 2) * mpmath.besselk(n, -1j * zz)
    if kind == 2 and not (upper and z.real < 0):
        return 2j / mpmath.pi * mpmath.expjpi(n / 2) * mpmath.besselk(n, 1j * zz)
    return (mpmath.hankel1 if kind == 1 else mpmath.hankel2)(n, zz)


def exact(fn, nu, z):
    zz = mpz(z)
    n = mpmath.mpf(nu)
    return {
        "J": lambda: mpmath.besselj(n, zz),
        "Y": lambda: mpmath.bessely(n, zz),
        "I": lambda: mpmath.besseli(n, zz),
        "K": lambda: mpmath.besselk(n, zz),
        "H1": lambda: hankel(1, n, z),
        "H2": lambda: hankel(2, n, z),
        "Ai": lambda: mpmath.airyai(zz),
        "Aip": lambda: mpmath.airyai(zz, derivative=1),
        "Bi": lambda: mpmath.airybi(zz),
        "Bip": lambda: mpmath.airybi(zz, derivative=1),
    }[fn]()


def scipy_value(fn, nu, z, scaled):
    with np.errstate(all="ignore"):
        if fn in ("Ai", "Aip", "Bi", "Bip"):
            r = (sp.airye if scaled else sp.airy)(z)
            return complex(r[("Ai", "Aip", "Bi", "Bip").index(fn)])
        f = {"J": (sp.jv, sp.jve), "Y": (sp.yv, sp.yve), "I": (sp.iv, sp.ive), "K": (sp.kv, sp.kve),
             "H1": (sp.hankel1, sp.hankel1e), "H2": (sp.hankel2, sp.hankel2e)}[fn][1 if scaled else 0]
        return complex(f(nu, z))


def to_double(v):
    """The parts as Doubles; a part below 1e-25 of the modulus is within mpmath's error at 30 digits and is taken
    as 0 (beyond the Double range such noise would otherwise read as an infinity)."""
    mod = abs(v)
    re, im = mpmath.re(v), mpmath.im(v)
    if abs(re) < mpmath.mpf("1e-25") * mod:
        re = 0
    if abs(im) < mpmath.mpf("1e-25") * mod:
        im = 0
    return float(re), float(im)


def row(fn, nu, z, scaled, v):
    re, im = to_double(v)
    if math.hypot(re, im) < 2.0 ** -1022 and math.isfinite(re) and math.isfinite(im):
        re, im = 0.0, 0.0
    s = scipy_value(fn, nu, z, scaled)
    mod = float(abs(v))
    if not (math.isfinite(s.real) and math.isfinite(s.imag)) or not math.isfinite(mod) or \
            abs(mpmath.mpc(s) - v) > 1e-12 * abs(v):
        s = complex(math.nan, math.nan)
    return (f'{{"{fn}", {lit(nu)}, {{{lit(z.real)}, {lit(z.imag)}}}, {2 if scaled else 1}, '
            f'{{{lit(re)}, {lit(im)}}}, {{{lit(s.real)}, {lit(s.imag)}}}}},')


lines = []
for fn in ("J", "Y", "I", "K", "H1", "H2", "Ai", "Aip", "Bi", "Bip"):
    orders = [0.0] if fn in ("Ai", "Aip", "Bi", "Bip") else ORDERS
    for name, cre, cim in ARGS:
        for mod in MODS:
            z = point(mod, cre, cim)
            for nu in orders:
                v = exact(fn, nu, z)
                lines.append(row(fn, nu, z, False, v))
                lines.append(row(fn, nu, z, True, v * scale_factor(fn, z)))
# K's first attempts: the expansion that ends after finitely many terms (ν = n + ½) and the series after an
# expansion too wide at small |z| (23.5), the expansion near the modulus it is first tried from (21, ν = 1.3).
for fn in ("K", "H1", "H2"):
    for name, cre, cim in ARGS:
        for mod in (0.3, 21.0):
            z = point(mod, cre, cim)
            for nu in (1.3, 1.5, 23.5):
                v = exact(fn, nu, z)
                lines.append(row(fn, nu, z, False, v))
                lines.append(row(fn, nu, z, True, v * scale_factor(fn, z)))
write("bessel_golden.inc", lines, "{ function, order, z, KODE, mpmath value, scipy value (NaN: not compared) }")

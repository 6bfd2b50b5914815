#!/usr/bin/python3
"""Writes the bit patterns of the library's real constants, from their decimal literals and from
their mathematical definitions (mpmath at 50 digits), as a C++ table for the core tests, through the writer of
golden.py. The table holds bit patterns (integers), so it writes no Double literals.

Run: /usr/bin/python3 tests/data/gen_dovi387_constants.py   (writes dovi387_constants.inc next to this script)
"""
import struct

import mpmath

from golden import write

mpmath.mp.dps = 50

# name, decimal literal as published, exact definition (None where the literal is the definition)
CONSTANTS = [
    ("PI", "3.141592653589793", mpmath.pi),
    ("LN2", "0.6931471805599453", mpmath.log(2)),
    ("LN10", "2.302585092994046", mpmath.log(10)),
    ("LNPI", "1.1447298858494002", mpmath.log(mpmath.pi)),
    ("INVLN2", "1.4426950408889634", 1 / mpmath.log(2)),
    ("INVLN10", "0.4342944819032518", 1 / mpmath.log(10)),
    ("TWOPI", "6.283185307179586", 2 * mpmath.pi),
    ("INVTWOPI", "0.15915494309189535", 1 / (2 * mpmath.pi)),
    ("PIDIV2", "1.5707963267948966", mpmath.pi / 2),
    ("SQRTPI", "1.772453850905516", mpmath.sqrt(mpmath.pi)),
    ("SQRT2PI", "2.5066282746310007", mpmath.sqrt(2 * mpmath.pi)),
    ("INVSQRT2PI", "0.3989422804014327", 1 / mpmath.sqrt(2 * mpmath.pi)),
    ("LNSQRT2PI", "0.9189385332046728", mpmath.log(mpmath.sqrt(2 * mpmath.pi))),
    ("LN2PIDIV2", "0.9189385332046728", mpmath.log(2 * mpmath.pi) / 2),
    ("SQRT2", "1.4142135623730951", mpmath.sqrt(2)),
    ("SQRT2DIV2", "0.7071067811865476", mpmath.sqrt(2) / 2),
    ("GOLD", "1.618033988749895", (1 + mpmath.sqrt(5)) / 2),
    ("CGOLD", "0.38196601125010515", (3 - mpmath.sqrt(5)) / 2),
    ("PI180", "0.017453292519943295", mpmath.pi / 180),
    ("INVPI180", "57.29577951308232", 180 / mpmath.pi),
    ("MACHEP", "2.220446049250313e-16", mpmath.mpf(2) ** -52),
    ("MINNUM", "2.225073858507202e-308", None),
    ("MAXLOG", "709.782712893384", None),
    ("MINLOG", "-708.3964185322641", None),
    ("MAXFAC", "170", None),
    ("MAXGAM", "171.624376956302", None),
    ("MAXLGM", "2.556348e+305", None),
]


def bits(x: float) -> str:
    return "0x%016XULL" % struct.unpack("<Q", struct.pack("<d", x))[0]


lines = []
for name, literal, exact in CONSTANTS:
    lit = bits(float(literal))
    ref = bits(float(exact)) if exact is not None else lit
    lines.append('{"%s", tarnel::%s, %s, %s},' % (name, name, lit, ref))
write("dovi387_constants.inc", lines,
      "{ name, value in the library, bits of the published literal, bits of the nearest Double to the definition }")

#!/usr/bin/python3
"""Golden tables of the scalar functions of Dovi387: elementary real and complex functions (mpmath at 30 digits),
rounding and integer utilities (math.trunc, floor, ceil, gcd, lcm) and the complex order (a key sort: the squared
modulus in numpy's longdouble rounded to float64, the quadrant code, then the real part).

The random real arguments are rebuilt in the test from golden::Lcg (tests/platform/GoldenInput.h), so only the
results are stored. Values are hexadecimal literals, NAN and INFINITY the C macros.

Run: /usr/bin/python3 tests/data/gen_scalar_functions_golden.py > tests/data/scalar_functions_golden.inc
"""
import math
from fractions import Fraction

import mpmath
import numpy as np

mpmath.mp.dps = 30
mpf, mpc = mpmath.mpf, mpmath.mpc
POINTS = 1000


def lit(x):
    x = float(x)
    if math.isnan(x):
        return "NAN"
    if math.isinf(x):
        return "INFINITY" if x > 0 else "-INFINITY"
    return x.hex()


def lcg(seed, count):
    s, out = seed, []
    for _ in range(count):
        s = (s * 6364136223846793005 + 1442695040888963407) % 2**64
        out.append(float(s >> 11) / 9007199254740992.0 - 0.5)
    return out


# Argument kinds, rebuilt bit for bit by ArgumentsOf in tests/core/test_scalar_functions.cpp:
# ("lin", lo, hi): lo + (hi - lo)·(u + 0.5); ("log", e0, e1, signed): ±(1.5 + u)·2^e with e from a second stream.
def arguments(kind, seed):
    u = lcg(seed, POINTS)
    if kind[0] == "lin":
        lo, hi = kind[1], kind[2]
        return [lo + (hi - lo) * (v + 0.5) for v in u]
    e0, e1, signed = kind[1], kind[2], kind[3]
    w = lcg(seed + 1, POINTS)
    out = []
    for v, t in zip(u, w):
        e = e0 + int((e1 - e0) * (t + 0.5))
        x = math.ldexp(1.5 + v, e)
        out.append(-x if signed and t * 1e6 % 2 < 1 else x)
    return out


TWOPI = 6.283185307179586


def fix_angle(x):
    n = round(x / TWOPI)  # Python's round is to nearest, ties to even
    return mpf(x) - mpf(TWOPI) * n


# name, argument kind, seed, exact function
REAL = [
    ("Sin", ("lin", -10.0, 10.0), 1, mpmath.sin),
    ("Cos", ("lin", -10.0, 10.0), 3, mpmath.cos),
    ("Tan", ("lin", -10.0, 10.0), 5, mpmath.tan),
    ("Sec", ("lin", -10.0, 10.0), 7, mpmath.sec),
    ("Csc", ("lin", -10.0, 10.0), 9, mpmath.csc),
    ("Cot", ("lin", -10.0, 10.0), 11, mpmath.cot),
    ("ArcSin", ("lin", -1.0, 1.0), 13, mpmath.asin),
    ("ArcCos", ("lin", -1.0, 1.0), 15, mpmath.acos),
    ("ArcTan", ("log", -30, 30, True), 17, mpmath.atan),
    ("ArcCot", ("log", -30, 30, True), 19, lambda x: mpmath.atan2(1, x)),
    ("ArcSec", ("log", 0, 40, True), 21, lambda x: mpmath.acos(1 / x)),
    ("ArcCsc", ("log", 0, 40, True), 23, lambda x: mpmath.asin(1 / x)),
    ("FixAngle", ("lin", -100.0, 100.0), 25, fix_angle),
    ("Sinh", ("log", -40, 9, True), 27, mpmath.sinh),
    ("Cosh", ("lin", -700.0, 700.0), 29, mpmath.cosh),
    ("Tanh", ("log", -40, 5, True), 31, mpmath.tanh),
    ("TanhX", ("log", -40, 5, True), 33, mpmath.tanh),
    ("Coth", ("log", -40, 5, True), 35, mpmath.coth),
    ("Sech", ("lin", -740.0, 740.0), 37, mpmath.sech),
    ("Csch", ("log", -40, 9, True), 39, mpmath.csch),
    ("ArcSinh", ("log", -60, 60, True), 41, mpmath.asinh),
    ("ArcCosh", ("log", 0, 60, False), 43, mpmath.acosh),
    ("ArcTanh", ("log", -60, -1, True), 45, mpmath.atanh),
    ("ArcCoth", ("log", 0, 60, True), 47, mpmath.acoth),
    ("ArcSech", ("log", -60, -1, False), 49, mpmath.asech),
    ("ArcCsch", ("log", -60, 60, True), 51, mpmath.acsch),
    ("Ln", ("log", -1000, 1000, False), 53, mpmath.log),
    ("Ln1", ("log", -60, 10, True), 55, mpmath.log1p),
    ("Log2", ("log", -1000, 1000, False), 57, lambda x: mpmath.log(x, 2)),
    ("Log10", ("log", -1000, 1000, False), 59, mpmath.log10),
    ("Log2X", ("lin", 0.5, 1.5), 61, lambda x: mpmath.log(x, 2)),
    ("Exp", ("lin", -745.0, 709.0), 63, mpmath.exp),
    ("Exp2", ("lin", -1074.0, 1023.0), 65, lambda x: mpf(2) ** x),
    ("Exp10", ("lin", -323.0, 308.0), 67, lambda x: mpf(10) ** x),
]
# Ln1's negative arguments must stay above -1.
REAL_FIX = {"Ln1": lambda x: x if x > -1 else -1 / (2 - x)}

def exact_rem(x, y):
    q = Fraction(float(x)) / Fraction(float(y))
    return float(Fraction(float(x)) - Fraction(float(y)) * int(q))  # int() truncates toward zero


# name, first-argument kind, second-argument kind, seed, exact function
REAL2 = [
    ("ArcTan2", ("lin", -5.0, 5.0), ("lin", -5.0, 5.0), 71, mpmath.atan2),
    ("LogN", ("log", -20, 20, False), ("log", -1000, 1000, False), 73, lambda b, x: mpmath.log(x) / mpmath.log(b)),
    ("Power", ("log", -3, 3, False), ("lin", -100.0, 100.0), 75, lambda b, e: mpmath.power(b, e)),
    ("Pythag", ("log", -500, 500, True), ("log", -500, 500, True), 77, lambda a, b: mpmath.sqrt(mpf(a) ** 2 + mpf(b) ** 2)),
    ("Rem", ("log", -30, 30, True), ("log", -30, 30, True), 79, lambda x, y: exact_rem(x, y)),
    ("IntPower", ("lin", -2.0, 2.0), ("lin", -600.0, 600.0), 81, lambda x, n: mpf(x) ** int(n)),
]


def real_tables():
    print("const RealSeries kRealSeries[] = {")
    for name, kind, seed, f in REAL:
        xs = [REAL_FIX.get(name, lambda x: x)(x) for x in arguments(kind, seed)]
        ys = [lit(f(mpf(x))) for x in xs]
        print(f'{{"{name}", {kind_lit(kind)}, {seed}, {{{", ".join(ys)}}}}},')
    print("};")
    print("const Real2Series kReal2Series[] = {")
    for name, k1, k2, seed, f in REAL2:
        a, b = arguments(k1, seed), arguments(k2, seed + 100)
        if name == "IntPower":
            b = [float(int(v)) for v in b]
        ys = [lit(f(mpf(x), mpf(y))) for x, y in zip(a, b)]
        print(f'{{"{name}", {kind_lit(k1)}, {kind_lit(k2)}, {seed}, {{{", ".join(ys)}}}}},')
    print("};")


def kind_lit(kind):
    if kind[0] == "lin":
        return f"{{false, {lit(kind[1])}, {lit(kind[2])}, false}}"
    return f"{{true, {kind[1]}, {kind[2]}, {'true' if kind[3] else 'false'}}}"


def cplx_lit(z):
    return f"{{{lit(z.real)}, {lit(z.imag)}}}"


CINV = lambda z: 1 / z
COMPLEX = {
    "Ln": mpmath.log, "Log10": lambda z: mpmath.log(z) / mpmath.log(10), "Log2": lambda z: mpmath.log(z) / mpmath.log(2),
    "Exp": mpmath.exp, "Exp2": lambda z: mpmath.exp(mpmath.log(2) * z), "Exp10": lambda z: mpmath.exp(mpmath.log(10) * z),
    "CSqrt": mpmath.sqrt, "Sin": mpmath.sin, "Cos": mpmath.cos, "Tan": mpmath.tan, "Cot": mpmath.cot,
    "Sec": mpmath.sec, "Csc": mpmath.csc, "Sinh": mpmath.sinh, "Cosh": mpmath.cosh, "Tanh": mpmath.tanh,
    "Coth": mpmath.coth, "Sech": mpmath.sech, "Csch": mpmath.csch, "ArcSin": mpmath.asin, "ArcCos": mpmath.acos,
    "ArcTan": mpmath.atan, "ArcCot": lambda z: mpmath.atan(1 / z), "ArcSec": lambda z: mpmath.acos(1 / z),
    "ArcCsc": lambda z: mpmath.asin(1 / z), "ArcSinh": mpmath.asinh, "ArcCosh": mpmath.acosh, "ArcTanh": mpmath.atanh,
    "ArcCoth": lambda z: mpmath.atanh(1 / z), "ArcSech": lambda z: mpmath.acosh(1 / z),
    "ArcCsch": lambda z: mpmath.asinh(1 / z),
}
# Off the cuts: both sides (±1e-9) of every cut of the principal branches, near the axes, the unit circle, far out.
GRID = [complex(x, y) for x in (-3.5, -2.0, -1.0, -0.5, -1e-9, 1e-9, 0.5, 1.0, 2.0, 3.5)
        for y in (-3.5, -2.0, -1.0, -0.5, -1e-9, 1e-9, 0.5, 1.0, 2.0, 3.5)]
GRID += [complex(0.6, 0.8), complex(-0.8, 0.6), complex(1e10, 3e9), complex(-2e12, 1e12), complex(1e-12, -3e-12),
         complex(20, -15), complex(-0.3, 40), complex(1e-200, 1e-200)]


def complex_tables():
    print("const ComplexRow kComplexRows[] = {")
    for name, f in COMPLEX.items():
        for z in GRID:
            if name in ("Exp", "Exp2", "Exp10", "Sin", "Cos", "Sinh", "Cosh", "Sec", "Csc", "Sech", "Csch") and abs(z) > 100:
                continue
            with mpmath.workdps(450):  # tiny parts beside large ones need the digits
                w = complex(f(mpc(z.real, z.imag)))
            # ArcSec and ArcSech take ArcSin of 1/z, rounded to long double first: beside the branch points ±1,
            # where ArcSin's derivative grows without bound, that rounding alone moves the result by ~1e-11.
            tol = 1e-10 if name in ("ArcSec", "ArcSech") and abs(abs(z.real) - 1) < 1e-8 and abs(z.imag) < 1e-8 \
                else 4e-16
            print(f'{{"{name}", {cplx_lit(z)}, {cplx_lit(w)}, {tol}}},')
    print("};")
    # The mixed forms: Power, LogN, Root, IntPower, Pythag.
    print("const ComplexMixedRow kComplexMixed[] = {")
    rng = np.random.default_rng(19)
    for i in range(40):
        a = complex(rng.uniform(-4, 4), rng.uniform(-4, 4))
        b = complex(rng.uniform(-3, 3), rng.uniform(-3, 3))
        r = float(rng.uniform(0.1, 5))
        n = int(rng.integers(-30, 30))
        k = int(rng.integers(0, 5))
        za, zb = mpc(a.real, a.imag), mpc(b.real, b.imag)
        rows = [
            ("PowerRC", a, b, r, 0, 0, mpmath.exp(zb * mpmath.log(r))),
            ("PowerCR", a, b, b.real, 0, 0, mpmath.exp(mpf(b.real) * mpmath.log(za))),
            ("PowerCC", a, b, 0, 0, 0, mpmath.exp(zb * mpmath.log(za))),
            ("LogNCR", a, b, r, 0, 0, mpmath.log(r) / mpmath.log(za)),
            ("LogNRC", a, b, r, 0, 0, mpmath.log(za) / mpmath.log(r)),
            ("LogNCC", a, b, 0, 0, 0, mpmath.log(zb) / mpmath.log(za)),
            ("IntPower", a, b, 0, n, 0, za ** n),
            ("Root", a, b, 0, 5, k, mpmath.root(za, 5, k)),
            ("Pythag", a, b, 0, 0, 0, mpmath.sqrt(za ** 2 + zb ** 2)),
        ]
        for name, x, y, d, nn, kk, w in rows:
            print(f'{{"{name}", {cplx_lit(x)}, {cplx_lit(y)}, {lit(d)}, {nn}, {kk}, {cplx_lit(complex(w))}}},')
    print("};")


INDEFINITE = -2147483648


def to_int(v):
    return v if -2**31 <= v < 2**31 else INDEFINITE


def rounding_tables():
    xs = [0.0, -0.0, 2.5, -2.5, -2.7, 2.7, 0.5, -0.5, 1e-300, -1e-300, 2147483647.0, 2147483647.5, 2147483648.0,
          -2147483648.0, -2147483648.5, -2147483649.0, 3e9, -3e9, 1e300, -1e300]
    print("const RoundRow kRoundRows[] = {")
    for x in xs:
        print(f"{{{lit(x)}, {to_int(math.trunc(x))}, {to_int(math.ceil(x))}, {to_int(math.floor(x))}}},")
    for x in (math.nan, math.inf, -math.inf):
        print(f"{{{lit(x)}, {INDEFINITE}, {INDEFINITE}, {INDEFINITE}}},")
    print("};")
    pairs = [(0, 0), (12, 0), (0, -12), (-12, 18), (4, 6), (-4, 6), (-4, -6), (7, 13), (2**31 - 1, 2), (65536, 65537),
             (-2**31, 2), (-2**31, 0), (-2**31, -2**31), (46341, 46343), (1, -1)]
    print("const GcdRow kGcdRows[] = {")
    for a, b in pairs:
        print(f"{{{a if a != -2**31 else 'INT_MIN'}, {b if b != -2**31 else 'INT_MIN'}, "
              f"{to_int(math.gcd(a, b))}, {to_int(math.lcm(a, b))}}},")
    print("};")


def order_table():
    rng = np.random.default_rng(112)
    vals = []
    # Equal moduli: the 3-4-5 family and the axes in every sign, signed zeros, scaled copies.
    base = [(3, 4), (4, 3), (5, 0), (0, 5), (-3, 4), (-4, 3), (-5, 0), (0, -5), (3, -4), (-3, -4), (4, -3), (-4, -3)]
    zeros = [(0.0, 0.0), (-0.0, 0.0), (0.0, -0.0), (-0.0, -0.0)]
    for i in range(10000):
        c = rng.integers(0, 10)
        if c < 5:
            re, im = base[rng.integers(0, len(base))]
            s = [0.25, 0.5, 1.0, 2.0][rng.integers(0, 4)]
            re, im = re * s, im * s
            if re == 0 and rng.integers(0, 2):
                re = -0.0
            if im == 0 and rng.integers(0, 2):
                im = -0.0
        elif c < 6:
            re, im = zeros[rng.integers(0, 4)]
        elif c < 8:
            re, im = float(rng.integers(-3, 4)) / 2, float(rng.integers(-3, 4)) / 2
        else:
            re, im = float(rng.normal()), float(rng.normal())
        vals.append((float(re), float(im)))

    def key(z):
        re, im = z
        m = float(np.longdouble(re) ** 2 + np.longdouble(im) ** 2)
        q = (1 if re < 0 else 2) if im < 0 else (4 if re < 0 else 3)
        return (m, q, re if q <= 2 else -re)

    order = sorted(range(len(vals)), key=lambda i: key(vals[i]))
    print("const TCplx kOrderValues[] = {")
    print(",\n".join(f"{{{repr(re)}, {repr(im)}}}" for re, im in vals))  # repr: the shortest exact decimal
    print("};")
    print("const int kOrderSorted[] = {" + ", ".join(str(i) for i in order) + "};")


print("// Generated by tests/data/gen_scalar_functions_golden.py; do not edit.")
real_tables()
complex_tables()
rounding_tables()
order_table()

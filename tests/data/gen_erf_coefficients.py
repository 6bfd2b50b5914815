#!/usr/bin/python3
"""Fits the error function's kernel in numerics/prob_erf.cpp with mpmath (40 digits) and prints the polynomials as
C++ arrays of Doubles, highest power first (the order Horner's rule reads them):

- kErfSmall: erf(x)/x as a polynomial in t = x² on 0 ≤ t ≤ 1/4 (|x| ≤ 1/2), 10 terms;
- kErfcMid: R(x) = e^(x²)·erfc(x) on five intervals of [1/2, 4], each a polynomial in s = x − (the middle);
- kErfcTail: x·R(x) as a polynomial in u = 1/x² on 0 ≤ u ≤ 1/16 (x ≥ 4).

Every fit's error is below 1e-17 relative, a tenth of a unit in the last place. Run:
/usr/bin/python3 tests/data/gen_erf_coefficients.py, and paste the arrays into numerics/prob_erf.cpp.
"""
import mpmath

mpmath.mp.dps = 40
SQRTPI = mpmath.sqrt(mpmath.pi)


def scaled_erfc(x):
    x = mpmath.mpf(x)
    return mpmath.erfc(x) * mpmath.exp(x * x)


def erf_over_x(t):
    if t == 0:
        return 2 / SQRTPI
    x = mpmath.sqrt(t)
    return mpmath.erf(x) / x


def tail(u):
    if u == 0:
        return 1 / SQRTPI
    x = 1 / mpmath.sqrt(u)
    return x * scaled_erfc(x)


def show(name, coefficients, comment):
    print(f"// {comment}")
    print(f"constexpr double {name}[] = {{")
    print("    " + ", ".join(repr(float(v)) for v in coefficients) + ",")
    print("};")


worst = 0
c, e = mpmath.chebyfit(erf_over_x, [0, mpmath.mpf(1) / 4], 10, error=True)
worst = max(worst, e / erf_over_x(mpmath.mpf(1) / 4))
show("kErfSmall", c, "erf(x)/x in x², |x| <= 1/2")

INTERVALS = [(0.5, 1, 15), (1, 1.5, 14), (1.5, 2, 14), (2, 2.75, 15), (2.75, 4, 16)]
print("// e^(x²)·erfc(x) in x − m on [a, b]: a, b, m, then the coefficients")
print("struct TErfcPiece {\n    double A, B, M;\n    double C[16];\n    int Terms;\n};")
print("constexpr TErfcPiece kErfcMid[] = {")
for a, b, n in INTERVALS:
    m = (mpmath.mpf(a) + b) / 2
    h = (mpmath.mpf(b) - a) / 2
    c, e = mpmath.chebyfit(lambda s: scaled_erfc(m + s), [-h, h], n, error=True)
    worst = max(worst, e / scaled_erfc(b))
    print(f"    {{{a}, {b}, {float(m)!r}, {{" + ", ".join(repr(float(v)) for v in c) + f"}}, {n}}},")
print("};")
c, e = mpmath.chebyfit(tail, [0, mpmath.mpf(1) / 16], 16, error=True)
worst = max(worst, e * SQRTPI)
show("kErfcTail", c, "x·e^(x²)·erfc(x) in 1/x², x >= 4")
print(f"// largest relative error of the fits: {mpmath.nstr(worst, 3)}")

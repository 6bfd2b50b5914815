#!/usr/bin/python3
"""Golden tables of the parser's built-in words for tests/parser/test_builtin.cpp: the constants (mpmath at 50
digits, rounded once), every word on real and complex operands (mpmath at 40 digits and Python's integers, each part
rounded once) with the form of the result, AsHexadecimal (Python's format(n & (2**64-1), 'X')), and the bytes of a
saved parser (struct.pack).

A row's operands are literals in the text or the bound variable x, which is always complex. The complex inverse
functions are sampled off their branch cuts, where the principal values of mpmath are the library's.

Run: /usr/bin/python3 tests/data/gen_parser_words_golden.py   (writes parser_words_golden.inc)
"""
import math
import struct

import mpmath

from golden import lit, write

mpmath.mp.dps = 40
mpf, mpc = mpmath.mpf, mpmath.mpc

# ---- Constants --------------------------------------------------------------------------------------------------
with mpmath.workdps(50):
    pi = mpmath.pi
    CONSTANTS = [
        ("pi", pi), ("ln2", mpmath.log(2)), ("ln10", mpmath.log(10)), ("lnpi", mpmath.log(pi)),
        ("invln2", 1 / mpmath.log(2)), ("invln10", 1 / mpmath.log(10)), ("twopi", 2 * pi),
        ("invtwopi", 1 / (2 * pi)), ("pidiv2", pi / 2), ("sqrtpi", mpmath.sqrt(pi)),
        ("sqrt2pi", mpmath.sqrt(2 * pi)), ("invsqrt2pi", 1 / mpmath.sqrt(2 * pi)),
        ("lnsqrt2pi", mpmath.log(mpmath.sqrt(2 * pi))), ("ln2pidiv2", mpmath.log(2 * pi) / 2),
        ("sqrt2", mpmath.sqrt(2)), ("sqrt2div2", mpmath.sqrt(2) / 2), ("gold", (1 + mpmath.sqrt(5)) / 2),
        ("cgold", (3 - mpmath.sqrt(5)) / 2), ("pi180", pi / 180), ("invpi180", 180 / pi),
    ]
    const_lines = ["static const TConstantCase kWordConstants[] = {"]
    const_lines += ['    {"%s", %s},' % (n, lit(float(v))) for n, v in CONSTANTS]
    const_lines.append("};")

# ---- Words ------------------------------------------------------------------------------------------------------
rows = []
NAN = float("nan")


def row(text, value, complex_, ulps=0, x=0j):
    """value: the exact result (mpf/mpc/int/float); ulps: the tolerance in units of the last place of the larger
    part's magnitude (0: bit for bit)."""
    v = mpc(value)
    re, im = float(v.real), float(v.imag)
    rows.append('    {"%s", %s, %s, %s, %s, %s, %d},' % (text, lit(x.real), lit(x.imag), lit(re), lit(im),
                                                      "true" if complex_ else "false", ulps))


Z = complex(0.5, 0.25)  # the bound value of most complex rows: off every branch cut
z = mpc(Z)

# One argument: the real function on a literal, the complex one on x.
ONE = [
    # word, real argument, real function, complex function, tolerance in ulps (real, complex)
    ("exp", 0.5, mpmath.exp, mpmath.exp, 1, 4),
    ("sin", 0.5, mpmath.sin, mpmath.sin, 1, 4),
    ("cos", 0.5, mpmath.cos, mpmath.cos, 1, 4),
    ("tan", 0.5, mpmath.tan, mpmath.tan, 1, 4),
    ("sinh", 0.5, mpmath.sinh, mpmath.sinh, 1, 4),
    ("cosh", 0.5, mpmath.cosh, mpmath.cosh, 1, 4),
    ("tanh", 0.5, mpmath.tanh, mpmath.tanh, 1, 4),
    ("cot", 0.5, mpmath.cot, mpmath.cot, 1, 4),
    ("coth", 0.5, mpmath.coth, mpmath.coth, 1, 4),
    ("epx2", 0.5, lambda t: mpf(2) ** t, lambda t: mpmath.exp(t * mpmath.log(2)), 1, 4),
    ("exp10", 0.5, lambda t: mpf(10) ** t, lambda t: mpmath.exp(t * mpmath.log(10)), 1, 4),
    ("sqr", 1.5, lambda t: t * t, lambda t: t * t, 0, 1),
    ("sqrt", 2.0, mpmath.sqrt, mpmath.sqrt, 0, 2),
    ("ln", 0.5, mpmath.log, mpmath.log, 1, 4),
    ("log10", 0.5, mpmath.log10, lambda t: mpmath.log(t) / mpmath.log(10), 1, 4),
    ("log2", 0.5, lambda t: mpmath.log(t, 2), lambda t: mpmath.log(t) / mpmath.log(2), 1, 4),
    ("arcsin", 0.5, mpmath.asin, mpmath.asin, 1, 4),
    ("arccos", 0.5, mpmath.acos, mpmath.acos, 1, 4),
    ("arcsinh", 0.5, mpmath.asinh, mpmath.asinh, 1, 4),
    ("arccosh", 1.5, mpmath.acosh, mpmath.acosh, 1, 4),
    ("arctanh", 0.5, mpmath.atanh, mpmath.atanh, 1, 4),
    ("sec", 0.5, mpmath.sec, mpmath.sec, 1, 4),
    ("sech", 0.5, mpmath.sech, mpmath.sech, 1, 4),
    ("arcsec", 1.5, lambda t: mpmath.acos(1 / t), lambda t: mpmath.acos(1 / t), 1, 4),
    ("arcsech", 0.5, lambda t: mpmath.acosh(1 / t), lambda t: mpmath.acosh(1 / t), 1, 4),
    ("csc", 0.5, mpmath.csc, mpmath.csc, 1, 4),
    ("csch", 0.5, mpmath.csch, mpmath.csch, 1, 4),
    ("arcsc", 1.5, lambda t: mpmath.asin(1 / t), lambda t: mpmath.asin(1 / t), 1, 4),
    ("arccsch", 0.5, lambda t: mpmath.asinh(1 / t), lambda t: mpmath.asinh(1 / t), 1, 4),
    # real: atan2(1, x), in (0, pi)
    ("arccot", -2.0, lambda t: mpmath.atan2(1, t), lambda t: mpmath.atan(1 / t), 1, 4),
    ("arccoth", 1.5, lambda t: mpmath.atanh(1 / t), lambda t: mpmath.atanh(1 / t), 1, 4),
    ("gamma", 0.5, mpmath.gamma, mpmath.gamma, 1, 16),
    ("lngamma", 0.5, lambda t: mpmath.log(abs(mpmath.gamma(t))), mpmath.loggamma, 1, 16),
]
for word, a, fr, fc, ur, uc in ONE:
    row("%s(%r)" % (word, a), fr(mpf(a)), False, ur)
    row("%s(x)" % word, fc(z), True, uc, Z)

# Tangents far from the real axis: their limits, also where e^(2y) passes the long double range.
for word, f, arg in [("tan", mpmath.tan, complex(1, 1000)), ("tan", mpmath.tan, complex(1, -20000)),
                     ("tanh", mpmath.tanh, complex(1000, 1)), ("tanh", mpmath.tanh, complex(-20000, 1)),
                     ("cot", mpmath.cot, complex(1, 1000)), ("cot", mpmath.cot, complex(1, -20000)),
                     ("coth", mpmath.coth, complex(-1000, 1)), ("coth", mpmath.coth, complex(20000, 1))]:
    row("%s(x)" % word, f(mpc(arg)), True, 1, arg)

# Forms and the words whose result has a form of its own.
row("abs(-2.5)", 2.5, False)
row("abs(x)", abs(z), False, 1, Z)
row("round(2.5)", 2, False)
row("round(-3.5)", -4, False)
row("round(x)", mpc(0, 2), True, 0, complex(0.5, 1.5))
row("trunc(-2.7)", -2, False)
row("trunc(x)", mpc(-2, 1), True, 0, complex(-2.7, 1.7))
row("ceil(-2.7)", -2, False)
row("ceil(x)", mpc(-2, 2), True, 0, complex(-2.7, 1.2))
row("floor(-2.2)", -3, False)
row("floor(x)", mpc(-3, 1), True, 0, complex(-2.2, 1.7))
row("round(3e9 + 0.5)", 3000000000, False)  # never narrowed to 32 bits
row("trunc(-1e300)", -1e300, False)
row("floor(x)", mpc(-3e12, 4e15), True, 0, complex(-2999999999999.5, 4e15))
row("i*i", -1, True)
row("2i", mpc(0, 2), True)
row("2*i", mpc(0, 2), True)
row("sqrt(-4)", NAN, False)
row("sqrt(x)", mpc(0, 2), True, 0, complex(-4, 0))
row("x > 0", 1, False, 0, complex(-5, 0))  # bound variables compare as complex numbers: |-5| > 0
row("x < 0", 0, False, 0, complex(-5, 0))
row("1 and x", 1, False, 0, complex(-5, 0))
row("imag(5)", 0, False)
row("real(5)", 5, False)
row("real(x)", 0.5, False, 0, Z)
row("imag(x)", 0.25, False, 0, Z)
row("if(1-1, 10, 20)", 20, False)
row("if(i, 10, 20)", 10, False)
row("if(x, i, 2)", mpc(0, 1), True, 0, complex(-1, 0))
row("cplx(1, -2)", mpc(1, -2), True)
row("conj(x)", mpc(0.5, -0.25), True, 0, Z)
row("conj(3)", 3, False)
row("flip(x)", mpc(0.25, 0.5), True, 0, Z)
row("flip(3)", mpc(0, 3), True)
row("norm(x)", mpf(0.5) ** 2 + mpf(0.25) ** 2, False, 0, Z)
row("norm(-3)", 9, False)
row("arg(x)", mpmath.atan2(0.25, 0.5), False, 1, Z)
row("arg(-2)", mpmath.pi, False, 1)
row("sgn(-0.5)", -1, False)
row("sgn(x)", 1, False, 0, complex(0, 2))
row("sgn(x)", -1, False, 0, complex(0, -2))
row("expj(0.5)", mpmath.expj(0.5), True, 1)
row("cartopolar(x)", mpc(abs(z), mpmath.arg(z)), True, 1, Z)
row("polartocart(x)", mpc(2 * mpmath.cos(0.5), 2 * mpmath.sin(0.5)), True, 1, complex(2, 0.5))
row("degtorad(90)", mpmath.pi / 2, False, 1)
row("radtodeg(1)", 180 / mpmath.pi, False, 1)
row("arctan2(1, -1)", mpmath.atan2(1, -1), False, 1)
row("isnan(nan)", 1, False)
row("isnan(x)", 0, False, 0, Z)
row("isinf(-inf)", 1, False)
row("isinfnan(nan)", 1, False)
row("isnaninf(x)", 1, False, 0, complex(1, float("inf")))
row("50%", 0.5, False)
row("x%", z * mpf(0.01), True, 0, Z)
row("-x", mpc(-0.5, -0.25), True, 0, Z)
row("+x", z, True, 0, Z)

# Two arguments and the operators.
row("1.5 + 2.25", 3.75, False)
row("x + 2", z + 2, True, 0, Z)
row("x - 2", z - 2, True, 0, Z)
row("2 - x", 2 - z, True, 0, Z)
row("x * 3", z * 3, True, 0, Z)
row("x * x", z * z, True, 0, Z)
row("1 / 3", mpf(1) / 3, False, 0)
row("x / 4", z / 4, True, 0, Z)
row("1 / x", 1 / z, True, 1, Z)
row("x / cplx(1, 1)", z / mpc(1, 1), True, 1, Z)
row("power(2, 0.5)", mpmath.sqrt(2), False, 1)
row("pow(-8, 1/3)", NAN, False)  # a real power of a negative base
row("2.5 ^ 1.5", mpf(2.5) ** 1.5, False, 1)
row("x ^ 2.5", mpmath.exp(2.5 * mpmath.log(z)), True, 4, Z)
row("power(2.5, x)", mpmath.exp(z * mpmath.log(2.5)), True, 4, Z)
row("x ^ x", mpmath.exp(z * mpmath.log(z)), True, 8, Z)
row("x ^ 3", z ** 3, True, 4, Z)
row("intpower(2, -3)", 0.125, False)
row("intpower(x, 3)", z ** 3, True, 4, Z)
row("intpower(2.5, x)", mpmath.exp(z * mpmath.log(2.5)), True, 4, Z)
row("2 ^ 10", 1024, False)
row("logn(2, 8)", 3, False)
row("logn(10, 0.001)", -3, False)
row("logn(2, x)", mpmath.log(z) / mpmath.log(2), True, 4, Z)
row("logn(x, 16)", mpmath.log(16) / mpmath.log(z), True, 4, Z)
row("logn(x, x)", 1, True, 4, Z)
row("max(1, 2)", 2, False)
row("min(1, 2)", 1, False)
row("max(x, 3)", 3, True, 0, Z)
row("min(x, -3)", z, True, 0, Z)
row("pythag(3e300, 4e300)", 5e300, False)
row("pythag(x, 1)", mpmath.sqrt(z * z + 1), True, 4, Z)
row("rem(-7, 3)", -1, False)
row("rem(x, 0.2)", z - mpc(0.2) * mpc(2, 1), True, 4, Z)
row("arctan2(-1, 0)", -mpmath.pi / 2, False, 1)
row("cplx(0.5, 1) * 2", mpc(1, 2), True)

# Comparisons and logic: real operands as IEEE numbers, complex ones by the library's order.
for text, v in [("1 < 2", 1), ("2 <= 2", 1), ("3 > 4", 0), ("3 >= 4", 0), ("3 = 3", 1), ("3 <> 3", 0),
                ("nan = nan", 0), ("nan <> nan", 1), ("nan < 1", 0), ("nan >= 1", 0), ("1 > nan", 0),
                ("2 in 2", 1), ("not 0", 1), ("not nan", 1), ("not (-1)", 1), ("1 and 2", 1), ("1 and -2", 0),
                ("0 or 3", 1), ("1 xor 1", 0), ("1 xor 0", 1), ("i > 1", 1), ("i > -1", 0),
                ("cplx(3, 4) = cplx(3, 4)", 1), ("cplx(3, 4) <> 5", 1), ("cplx(0, 2) >= 2", 1), ("-i < i", 1)]:
    row(text, v, False)

# Integer words: 64-bit values, NaN where an operand is NaN, infinite or of magnitude 2^63 or more.
TWO63 = 2 ** 63


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


INTS = [(7, 2), (-7, 2), (7, -2), (-7, -2), (2.5, 1), (3.5, 1), (9e18, 7), (-9e18, 10), (2 ** 62 + 1, 3)]
for a, b in INTS:
    ra, rb = round(float(a)), round(float(b))  # the texts are read as Doubles; Python rounds ties to even, too
    q = trunc_div(ra, rb)
    row("%r div %r" % (a, b), q, False)
    row("%r mod %r" % (a, b), ra - q * rb, False)
for text in ["nan div 1", "nan div -1", "inf mod 2", "1 div inf", "9.3e18 div 2", "-9.3e18 mod 2",
             "9223372036854775808 div 1", "gcd(nan, 4)", "lcm(1e19, 2)"]:
    row(text, NAN, False)
# The last pair's least common multiple passes 2^64.
for a, b in [(12, 18), (-12, 18), (0, 0), (0, 5), (2 ** 62, 2 ** 40), (1e18, 2.5e17), (1234567890123, 9876543210),
             (2 ** 62 - 1024, 3 ** 33 * 1024)]:
    ia, ib = int(float(a)), int(float(b))
    g = math.gcd(ia, ib)
    row("gcd(%r, %r)" % (a, b), g, False)
    row("lcm(%r, %r)" % (a, b), 0 if g == 0 else abs(ia // g * ib), False)
row("5!", 120, False)
row("2.5!", 2, False)  # rounded to even first
row("170!", math.factorial(170), False, 1)
row("171!", float("inf"), False)
row("4294967301!", float("inf"), False)
row("nan!", NAN, False)
row("(-1)!", NAN, False)
row("intpower(2, 3e9)", float("inf"), False)
row("intpower(0.5, 3e9)", 0, False)
row("intpower(-1, 4294967297)", -1, False)
row("intpower(1.0000000000000002, 3e9)", mpf(1.0000000000000002) ** 3000000000, False, 1)
row("intpower(2, nan)", NAN, False)
row("intpower(x, 4294967297)", mpc(1, 0), True, 0, complex(1, 0))

word_lines = ["static const TWordCase kWordCases[] = {"] + rows + ["};"]

# ---- AsHexadecimal ----------------------------------------------------------------------------------------------
hex_lines = ["static const THexadecimalCase kHexadecimalCases[] = {"]
for text, value in [("255", 255), ("-1", -1), ("0", 0), ("2.5", 2.5), ("3.5", 3.5), ("-2.5", -2.5),
                    ("4611686018427387904", 2 ** 62), ("-1e18", -1e18), ("9223372036854774784", 2 ** 63 - 1024),
                    ("-9223372036854775808", -2 ** 63), ("cplx(16, 3)", 16)]:
    n = round(value)
    hex_lines.append('    {"%s", "%s"},' % (text, format(n & (2 ** 64 - 1), "X")))
# No 64-bit integer: the integer-indefinite value.
for text in ["nan", "inf", "-inf", "9223372036854775808", "1e19"]:
    hex_lines.append('    {"%s", "8000000000000000"},' % text)
hex_lines.append("};")

# ---- The stream record of a parser holding "a+1" and "b" --------------------------------------------------------
record = struct.pack("<i", 8) + b"a+1\r\nb\r\n"
stream_lines = ["static const unsigned char kSavedRecord[] = {" + ", ".join(str(b) for b in record) + "};"]

write("parser_words_golden.inc", const_lines + word_lines + hex_lines + stream_lines,
      "kWordConstants { name, value }; kWordCases { text, x.Re, x.Im, Re, Im, complex, ulps }; "
      "kHexadecimalCases { text, AsHexadecimal }; kSavedRecord")

#!/usr/bin/python3
"""Fields of number text and the values Python reads from them, and the shortest text of Doubles, for
tests/core/test_text_exchange.cpp.

Parsing: each row is a field as it stands in a line or a grid cell and the value Python's float() (complex() for a
field with the unit i, read as j) gives for the text the library's rules take it to mean: the same text, or with
"," as the decimal point the text with "." (the separator fallback). The rows cover the plain numbers that the
readers take without the general rules and the texts that need them (signs, blanks, words, the other separator,
exponent letters, underflow and overflow), and 400 Doubles written by repr, by %.17g and by %.15g.

Shortest text: the digits of repr (the shortest that read back), laid out as the general format of 15 digits lays
them out: fixed notation from 1E-5 up to below 1E15, else "d.dddE-x" with no "+"; "-0" for a negative zero.

Run: /usr/bin/python3 tests/data/gen_text_exchange_golden.py   (writes text_exchange_golden.inc)
"""
import math
import random
import struct
from decimal import Decimal

from golden import lit, write

random.seed(27)


def from_bits(b):
    return struct.unpack("<d", struct.pack("<Q", b))[0]


def random_doubles(n):
    out = []
    while len(out) < n:
        if len(out) % 2 == 0:
            v = from_bits(random.getrandbits(64))
        else:
            v = random.uniform(-1, 1) * 10.0 ** random.randint(-20, 20)
        if math.isfinite(v):
            out.append(v)
    return out


def c_string(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


# (field, the text Python reads for it); None: the field itself.
PLAIN = ["0", "-0", "1", "-1", "1.5", "-2.25", ".5", "-.5", "5.", "1e5", "1E5", "1e-5", "2.5E+3", "1e-310",
         "4.9e-324", "2e-324", "1e400", "-1e400", "1.7976931348623157e308", "2.2250738585072011e-308",
         "0.1000000000000000055511151231257827", "9007199254740993", "123456789012345678901234567890",
         "0.30000000000000004", "00012", "-0.0e0"]
RULES = [("+1.5", None), (" 1.5", None), ("1.5 ", None), ("\t-2\t", None), ("1,5", "1.5"), ("-0,25e2", "-0.25e2"),
         ("nan", None), ("NaN", None), ("-nan", None), ("inf", None), ("-Inf", None), ("INF", None),
         ("Infinity", None), ("-infinity", None), ("+1e-3", None), ("1.e2", None)]
COMPLEX = ["1.5+2i", "1.5-2i", "3i", "i", "-i", "+i", "1-i", "1E-3+1E+2i", "1e-3-2e-2i", "-0.5+0i", "1-0i",
           "2.5e300+1e-310i", "-inf+1i", "1+nani"]


def parse_row(field, text):
    return field, float(text), 0.0


def complex_row(field):
    z = complex(field[:-1] + "j")  # the unit is the last letter
    return field, z.real, z.imag


rows = [parse_row(f, f) for f in PLAIN]
rows += [parse_row(f, t or f) for f, t in RULES]
rows += [complex_row(f) for f in COMPLEX]
for v in random_doubles(400):
    for text in (repr(v), "%.17g" % v, "%.15g" % v):
        rows.append(parse_row(text, text))


def shortest(x):
    if x == 0:
        return "-0" if math.copysign(1, x) < 0 else "0"
    d = Decimal(repr(abs(x))).normalize()
    sign, digits, exp = d.as_tuple()
    digits = "".join(map(str, digits))
    e = len(digits) - 1 + exp
    lead = "-" if x < 0 else ""
    if -5 <= e < 15:
        if e >= 0:
            whole = digits[: e + 1].ljust(e + 1, "0")
            frac = digits[e + 1:]
        else:
            whole = "0"
            frac = "0" * (-e - 1) + digits
        return lead + whole + ("." + frac if frac else "")
    return lead + digits[0] + ("." + digits[1:] if len(digits) > 1 else "") + "E" + ("-" if e < 0 else "") + str(abs(e))


SHORT = [0.0, -0.0, 1.0, -1.0, 0.1 + 0.2, 1e-310, 5e-324, 1.7976931348623157e308, 1e-5, 9.999999999999999e-06,
         1e15, 999999999999999.9, 123456789012345678.0, 0.5, -2.5e-7, 1e21, 100.0, 1234.5678]
SHORT += random_doubles(300)

lines = ["struct ParseRow { const char* text; double re; double im; };", "static const ParseRow kParse[] = {"]
lines += ["  {%s, %s, %s}," % (c_string(f), lit(re), lit(im)) for f, re, im in rows]
lines += ["};", "struct ShortestRow { double x; const char* text; };", "static const ShortestRow kShortest[] = {"]
lines += ["  {%s, %s}," % (lit(x), c_string(shortest(x))) for x in SHORT]
lines += ["};"]
write("text_exchange_golden.inc", lines, "Fields with the values Python reads; Doubles with their shortest text.")

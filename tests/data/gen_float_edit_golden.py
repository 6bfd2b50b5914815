#!/usr/bin/python3
"""The texts the number edit shows, computed with Python's decimal module, for tests/components/test_mtx_com_ctrls.cpp
(float_edit_golden.inc): values set as text under the default, the demo's and other formats and in the
scientific text; values clamped by bounds when the control is left or when the bounds are set; steps of the up and
down buttons with plain and integer increments.

The rules followed (the library's, restated here independently of its code):
- a format section of "0", "#" and one "." between literal text, "pos;neg": the negative section shows the
  magnitude; the value's 17 significant digits, then rounded half away from zero to the places after the point;
  trailing zeros dropped down to the last "0" placeholder;
- a complex value: the real part alone when the imaginary part is zero, the imaginary part alone (by its format)
  when the real part is zero, else both texts one after the other;
- the scientific text: 15 significant digits (17 first, then 15, half away from zero), fixed from 1E-5 up to below
  1E15, "1.5E-7" otherwise; "1+2i", "1-2i", "1+i", "-i", "2i";
- bounds: equal bounds clamp nothing; otherwise each part on its own, a part not at least the minimum's (NaN too)
  becomes the minimum's, one above the maximum's the maximum's; leaving the control shows a clamped value by the
  formats and keeps the text as typed when the bounds leave the value as it is;
- a step: the shown text read back, plus or minus the increment; an integer increment has both parts rounded to
  the nearest integer, ties to even.

Run: /usr/bin/python3 tests/data/gen_float_edit_golden.py
"""
import math
from decimal import ROUND_HALF_UP, Context, Decimal

from golden import write

D17 = Context(prec=17, rounding=ROUND_HALF_UP)
D15 = Context(prec=15, rounding=ROUND_HALF_UP)

RE_DEFAULT = "0.00#;-0.00#"
IM_DEFAULT = "+0.00#i;-0.00#i"
RE_DEMO = "0.####;-0.####"
IM_DEMO = "+0.####i;-0.####i"


def parse(text):
    """The edit's text as a complex number (inputs here are plain decimal texts; "NAN" is a NaN part)."""
    t = text.replace("NAN", "nan").replace("i", "j")
    return complex(t)


def format_float(fmt, x):
    if math.isnan(x):
        return "NAN"
    sections = fmt.split(";")
    if x < 0 and len(sections) > 1:
        section, sign = sections[1], ""
    else:
        section, sign = sections[0], "-" if x < 0 else ""
    places = [k for k, c in enumerate(section) if c in "0#."]
    head, body, tail = section[: places[0]], section[places[0]: places[-1] + 1], section[places[-1] + 1:]
    whole, _, frac = body.partition(".")
    least_whole = len(whole) - whole.find("0") if "0" in whole else 0
    least_frac = frac.rfind("0") + 1
    exact = D17.plus(Decimal(abs(x)))
    rounded = exact.quantize(Decimal(1).scaleb(-len(frac)), rounding=ROUND_HALF_UP)
    w, _, f = format(rounded, "f").partition(".")
    w = w.lstrip("0").rjust(least_whole, "0")
    f = f.ljust(len(frac), "0")
    if not (rounded == 0 and x != 0):  # a value rounded to zero keeps every place
        while len(f) > least_frac and f.endswith("0"):
            f = f[:-1]
    return sign + head + w + ("." + f if f else "") + tail


def general15(x):
    if x == 0:
        return "0"
    d = D15.plus(D17.plus(Decimal(x)))
    mantissa = format(abs(d), "e")  # "d.ddddde+XX"
    digits, _, exponent = mantissa.partition("e")
    digits = digits.replace(".", "").rstrip("0") or "0"
    e = int(exponent)
    sign = "-" if d < 0 else ""
    if -5 <= e < 15:
        text = format(abs(d), "f")
        if "." in text:
            text = text.rstrip("0").rstrip(".")
        return sign + text
    return sign + digits[0] + ("." + digits[1:] if len(digits) > 1 else "") + "E" + ("-" if e < 0 else "") + str(abs(e))


def cplx_to_str(z):
    re, im = z.real, z.imag
    if im == 0 or math.isnan(im):
        return general15(re)
    if re == 0:
        return "i" if im == 1 else "-i" if im == -1 else general15(im) + "i"
    if im > 0:
        return general15(re) + "+" + ("i" if im == 1 else general15(im) + "i")
    return general15(re) + ("-i" if im == -1 else general15(im) + "i")


def shown(z, re_fmt=RE_DEFAULT, im_fmt=IM_DEFAULT, scientific=False):
    if scientific:
        return cplx_to_str(z)
    if z.imag == 0 or math.isnan(z.imag):
        return format_float(re_fmt, z.real)
    if z.real != 0:
        return format_float(re_fmt, z.real) + format_float(im_fmt, z.imag)
    return format_float(im_fmt, z.imag)


def clamp(z, lo, hi):
    if lo == hi:
        return z

    def part(x, a, b):
        if not x >= a:
            x = a
        return b if x > b else x

    return complex(part(z.real, lo.real, hi.real), part(z.imag, lo.imag, hi.imag))


def c(s):
    return '"' + s + '"'


# (what, the text set as Value, real format, imaginary format, scientific)
FORMATS = [
    ("zero", "0", RE_DEFAULT, IM_DEFAULT, False),
    ("two decimals shown", "1.1", RE_DEFAULT, IM_DEFAULT, False),
    ("complex", "1.5-2.25i", RE_DEFAULT, IM_DEFAULT, False),
    ("imaginary alone", "2i", RE_DEFAULT, IM_DEFAULT, False),
    ("third decimal", "-3.14159+0.5i", RE_DEFAULT, IM_DEFAULT, False),
    ("tie away from zero", "0.0625", RE_DEFAULT, IM_DEFAULT, False),
    ("negative tie", "-0.0625-0.0625i", RE_DEFAULT, IM_DEFAULT, False),
    ("below the tie in binary", "1.2345", RE_DEFAULT, IM_DEFAULT, False),
    ("large", "1234567.891", RE_DEFAULT, IM_DEFAULT, False),
    ("tiny imaginary", "1-0.0005i", RE_DEFAULT, IM_DEFAULT, False),
    ("rounds to zero", "-0.0001", RE_DEFAULT, IM_DEFAULT, False),
    ("demo formats", "2+2i", RE_DEMO, IM_DEMO, False),
    ("demo formats, four places", "2.5-0.333333333333333i", RE_DEMO, IM_DEMO, False),
    ("integer format", "2.5-3.5i", "0;-0", "+0i;-0i", False),
    ("scientific third", "0.333333333333333333", RE_DEFAULT, IM_DEFAULT, True),
    ("scientific complex", "1.5-2.25i", RE_DEFAULT, IM_DEFAULT, True),
    ("scientific unit imaginary", "1E20+1i", RE_DEFAULT, IM_DEFAULT, True),
    ("scientific minus i", "-1i", RE_DEFAULT, IM_DEFAULT, True),
    ("scientific small", "1.5E-7+0.125i", RE_DEFAULT, IM_DEFAULT, True),
]

# (what, text, minimum, maximum): the text is set and the control left; and the text is set first and the bounds
# after it, the minimum (while the maximum is still 0) and then the maximum, each setter clamping the text's value.
CLAMPS = [
    ("above both maxima", "12+3i", "0", "10+10i"),
    ("below both minima", "-5-20i", "0", "10+10i"),
    ("inside", "4.5+9.99i", "0", "10+10i"),
    ("NaN part", "NAN+2i", "0", "10+10i"),
    ("equal bounds clamp nothing", "12+3i", "7", "7"),
    ("a negative inside [-10, 5]", "-8", "-10", "5"),
    ("imaginary bounds only", "3-4i", "-100-1i", "100+1i"),
]

# (what, start text, increment, integer increment, +1 up or -1 down)
STEPS = [
    ("up by 0.1", "1", "0.1", False, 1),
    ("down by 0.1", "1", "0.1", False, -1),
    ("complex increment", "1.5-2.25i", "0.5+0.25i", False, 1),
    ("integer increment 1.6", "1", "1.6", True, 1),
    ("integer increment 2.5, ties to even", "1", "2.5", True, -1),
    ("integer complex increment", "1", "-0.5+3.5i", True, 1),
    ("plain increment 2.5", "1", "2.5", False, 1),
]


def main():
    lines = ["// FormatRow: what, Value set, ReFormat, ImFormat, Scientific, text shown.",
             "const FormatRow kFormats[] = {"]
    for what, text, re_fmt, im_fmt, sci in FORMATS:
        out = shown(parse(text), re_fmt, im_fmt, sci)
        lines.append("    {%s, %s, %s, %s, %s, %s}," % (c(what), c(text), c(re_fmt), c(im_fmt),
                                                       "true" if sci else "false", c(out)))
    lines += ["};", "// ClampRow: what, text, MinValue, MaxValue, text shown after leaving the control, text shown after",
              "// setting the bounds.", "const ClampRow kClamps[] = {"]
    for what, text, lo, hi in CLAMPS:
        value = parse(text)
        clamped = clamp(value, parse(lo), parse(hi))
        out = text if clamped == value else shown(clamped)  # a value the bounds leave keeps its text as typed
        first = parse(shown(clamp(parse(text), parse(lo), 0j)))
        later = shown(clamp(first, parse(lo), parse(hi)))
        lines.append("    {%s, %s, %s, %s, %s, %s}," % (c(what), c(text), c(lo), c(hi), c(out), c(later)))
    lines += ["};", "// StepRow: what, start, Increment set, IntegerIncrement, direction, Increment read back, text.",
              "const StepRow kSteps[] = {"]
    for what, start, inc, integer, direction in STEPS:
        step = parse(inc)
        if integer:
            step = complex(round(step.real), round(step.imag))
        before = parse(shown(parse(start)))
        out = shown(before + direction * step)
        lines.append("    {%s, %s, %s, %s, %d, %s, %s}," % (c(what), c(start), c(inc), "true" if integer else "false",
                                                           direction, c(cplx_to_str(step)), c(out)))
    lines.append("};")
    write("float_edit_golden.inc", lines)


if __name__ == "__main__":
    main()

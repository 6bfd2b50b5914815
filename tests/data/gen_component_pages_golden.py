#!/usr/bin/python3
"""Reference results of the component pages' tests (tests/demo/test_component_pages.cpp), written through golden.py
into component_pages_golden.inc.

- kFloatEditOps: the number edit page's starting values Z1 = 2+2i and Z2 = 2+5i under its four operations, by
  Python's complex arithmetic: the real and imaginary parts and the text the page shows (15 significant digits, as
  "a+bi" with a zero real part left out).

Run: /usr/bin/python3 tests/data/gen_component_pages_golden.py   (writes the file next to this script)
"""
from golden import lit, write


def text(z):
    def part(x):
        return "%.15g" % x
    im = ("+" if z.imag >= 0 else "-") + part(abs(z.imag)) + "i"
    if z.imag == 0:
        return part(z.real)
    if z.real == 0:
        return im.lstrip("+")
    return part(z.real) + im


lines = []
z1, z2 = complex(2, 2), complex(2, 5)
lines.append("const struct { const char* Button; double Re, Im; const char* Text; } kFloatEditOps[] = {")
for button, z in (("Z1 * Z2", z1 * z2), ("Z1 / Z2", z1 / z2), ("Z1 + Z2", z1 + z2), ("Z1 - Z2", z1 - z2)):
    lines.append(f'    {{"{button}", {lit(z.real)}, {lit(z.imag)}, "{text(z)}"}},')
lines.append("};")

write("component_pages_golden.inc", lines)

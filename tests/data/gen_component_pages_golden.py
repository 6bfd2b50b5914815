#!/usr/bin/python3
"""Reference results of the component pages' tests (tests/demo/test_component_pages.cpp), written through golden.py
into component_pages_golden.inc.

- kFloatEditOps: the number edit page's starting values Z1 = 2+2i and Z2 = 2+5i under its four operations, by
  Python's complex arithmetic: the real and imaginary parts and the text the page shows (15 significant digits, as
  "a+bi" with a zero real part left out).
- kGridEntries, kGridPixels: a seeded 2000 x 2000 scipy.sparse.random matrix (values of either sign) as triplets,
  and its 500 x 500 pictures from numpy's 4 x 4 blocks: the pattern (entries of the block / 16), the peak (largest
  |v| / 16) and the average (sum of |v| / 16), listed for the pixels whose block holds an entry.

Run: /usr/bin/python3 tests/data/gen_component_pages_golden.py   (writes the file next to this script)
"""
import numpy as np
import scipy.sparse

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

n, block = 2000, 4
a = scipy.sparse.random(n, n, density=0.0004, format="coo", random_state=np.random.default_rng(46),
                        data_rvs=lambda k: np.random.default_rng(7).uniform(-2, 2, k))
lines.append("const struct { int Row, Col; double Value; } kGridEntries[] = {")
for r, c, v in zip(a.row, a.col, a.data):
    lines.append(f"    {{{r}, {c}, {lit(v)}}},")
lines.append("};")
dense = a.toarray()
blocks = dense.reshape(n // block, block, n // block, block).transpose(0, 2, 1, 3).reshape(n // block, n // block, -1)
pattern = (blocks != 0).sum(axis=2) / block**2
peak = np.abs(blocks).max(axis=2) / block**2
average = np.abs(blocks).sum(axis=2) / block**2
lines.append("const struct { int Row, Col; double Pattern, Peak, Average; } kGridPixels[] = {")
for r, c in zip(*np.nonzero(pattern)):
    lines.append(f"    {{{r}, {c}, {lit(pattern[r, c])}, {lit(peak[r, c])}, {lit(average[r, c])}}},")
lines.append("};")

write("component_pages_golden.inc", lines)

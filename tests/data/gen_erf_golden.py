#!/usr/bin/python3
"""The error function and its complement from Python's math.erf and math.erfc, for the direct kernel of
numerics/prob_erf.cpp: the ends of its ranges (2^-26, 1/2, the pieces' bounds 1, 1.5, 2, 2.75, 4, erf's 6, the
underflow near 27.3) and a Double to either side of each, then 3000 random points over [-6, 6] and 600 over [6, 27.3]
(fixed seed).

Run: /usr/bin/python3 tests/data/gen_erf_golden.py   (writes erf_golden.inc)
"""
import math
import random

from golden import lit, write

random.seed(35)
xs = [0.0, 1e-300, 1e-20, 2.0**-26, 1e-5, 0.1, 0.25]
for b in [0.5, 1, 1.5, 2, 2.75, 4, 6, 26.5, 27, 27.2, 27.25]:
    xs += [math.nextafter(b, 0), float(b), math.nextafter(b, math.inf)]
xs += [random.uniform(-6, 6) for _ in range(3000)]
xs += [random.uniform(6, 27.3) for _ in range(600)]
xs += [-x for x in xs[:40]]
rows = [f"    {{{lit(x)}, {lit(math.erf(x))}, {lit(math.erfc(x))}}}," for x in xs]
write("erf_golden.inc", ["static const ErfRow kErfPythonRows[] = {"] + rows + ["};"], "{X, math.erf(X), math.erfc(X)}")

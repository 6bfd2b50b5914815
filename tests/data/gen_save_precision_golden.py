#!/usr/bin/python3
"""The storage precisions of the page "Different numeric precisions" (tests/demo/test_export_pages.cpp), written
through golden.py.

Inputs       48 values that cover ties (k + 0.5 either side of zero), the ends of every integer type and beyond them,
             values that single precision cannot hold exactly, and normal values near 5 like the page's own. The test
             tiles them over the 50 x 50 source matrix (element k takes input k mod 48).
Rows         what comes back for every precision the page offers and every rounding: prDouble the value itself,
             prSingle numpy.float32 (round to nearest even), the integer types numpy.trunc, numpy.floor or
             numpy.rint (ties to even) clipped to the type's range. Exact: tolerance 0.

Run: /usr/bin/python3 tests/data/gen_save_precision_golden.py   (writes save_precision_golden.inc next to this script)
"""
import numpy as np

from golden import doubles, write

INPUTS = np.array([
    0.0, 0.5, -0.5, 1.5, -1.5, 2.5, -2.5, 0.49999999999999994, -0.7, 1.0 / 3.0,
    127.5, 128.5, -128.5, -129.0, 255.5, 256.0, -1.0, -0.0001,
    32767.5, 32768.5, -32768.5, -32769.0, 65535.5, 65536.0, 70000.25,
    2147483647.5, 2147483648.0, -2147483648.5, -2147483649.0, 3e9, 4294967295.5, 4294967296.0, -3e9,
    1e10, -1e10, 16777217.0, 0.1, 5.123456789012345, 4.5, 5.5, 6.5, 3.999999, 4.000001,
    1e-300, -1e-300, 123.456, -123.456, 99.99,
])
assert len(INPUTS) == 48

PRECISIONS = ["prDouble", "prSingle", "prInteger", "prCardinal", "prSmallInt", "prWord", "prShortInt", "prByte"]
RANGES = {"prInteger": (-2**31, 2**31 - 1), "prCardinal": (0, 2**32 - 1), "prSmallInt": (-2**15, 2**15 - 1),
          "prWord": (0, 2**16 - 1), "prShortInt": (-2**7, 2**7 - 1), "prByte": (0, 2**8 - 1)}
ROUNDINGS = [("rnTrunc", np.trunc), ("rnTruncNeg", np.floor), ("rnRound", np.rint)]


def rows():
    lines = [f'{{"inputs", -1, -1, {doubles(INPUTS)}}},']
    for p, name in enumerate(PRECISIONS):
        for r, (rname, fn) in enumerate(ROUNDINGS):
            if name == "prDouble":
                out = INPUTS
            elif name == "prSingle":
                out = INPUTS.astype(np.float32).astype(np.float64)
            else:
                lo, hi = RANGES[name]
                out = np.clip(fn(INPUTS), lo, hi)
            lines.append(f'{{"{name} {rname}", {p}, {r}, {doubles(out)}}},')
    return lines


if __name__ == "__main__":
    write("save_precision_golden.inc", rows(), "{ what, precision, rounding, {values} }")

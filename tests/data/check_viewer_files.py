#!/usr/bin/python3
"""Reads the files that tests/components/test_tarnel_edit.cpp saved through the value viewer into FOLDER:
real.txt and complex.txt (the text form, tab-delimited, numbers in the 15-digit general text) with numpy.loadtxt,
real.mtx and complex.mtx (the MatrixMarket form) with scipy.io.mmread. The text files must hold each value of
gen_viewer_golden.py rounded to 15 significant digits, the MatrixMarket files each value bit for bit. Prints one
line per failure and exits with 1 if there is any.

Run: /usr/bin/python3 tests/data/check_viewer_files.py FOLDER
"""
import os
import sys

import numpy as np
import scipy.io

from gen_matrix_market import same
from gen_viewer_golden import SAVE_COMPLEX, SAVE_REAL

folder = sys.argv[1]
failures = []


def fifteen(a):
    """Each part as the 15-digit general text reads back (it writes a negative zero as "0")."""
    r = np.vectorize(lambda v: float("%.15g" % v) + 0.0)
    return cplx_of(r(a.real), r(a.imag)) if np.iscomplexobj(a) else r(a)


def cplx_of(re, im):
    out = np.empty(re.shape, dtype=complex)
    out.real = re
    out.imag = im
    return out


def complex_field(s):
    """The viewer's complex text ("1+2i", "-i", "2i") as Python reads a complex number."""
    s = s.strip()
    if s.endswith("i"):
        body = s[:-1]
        if body in ("", "+", "-"):
            body += "1"
        elif body[-1] in "+-":
            body += "1"
        s = body + "j"
    return complex(s)


for name, expected in (("real", SAVE_REAL), ("complex", SAVE_COMPLEX)):
    path = os.path.join(folder, name + ".txt")
    try:
        if np.iscomplexobj(expected):
            text = np.loadtxt(path, delimiter="\t", dtype=str, ndmin=2)
            got = np.vectorize(complex_field, otypes=[complex])(text)
        else:
            got = np.loadtxt(path, delimiter="\t", ndmin=2)
    except Exception as e:  # noqa: BLE001 - any failure to read is a finding
        failures.append("%s.txt: loadtxt failed: %s" % (name, e))
    else:
        if not same(got, fifteen(expected)):
            failures.append("%s.txt: %r read back, expected %r" % (name, got, fifteen(expected)))
    try:
        got = scipy.io.mmread(os.path.join(folder, name + ".mtx"))
    except Exception as e:  # noqa: BLE001
        failures.append("%s.mtx: mmread failed: %s" % (name, e))
    else:
        if not same(got, expected):
            failures.append("%s.mtx: %r read back, expected %r" % (name, got, expected))
for f in failures:
    print(f)
sys.exit(1 if failures else 0)

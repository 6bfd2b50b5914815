#!/usr/bin/python3
"""Reads the MatrixMarket files that tests/core/test_text_exchange.cpp wrote into FOLDER with scipy.io.mmread and
checks, for every matrix of gen_matrix_market.py, that they hold the matrix bit for bit and the same array as
scipy.io.mmwrite's file in tests/data/matrix_market. Prints one line per failure and exits with 1 if there is any.

Run: /usr/bin/python3 tests/data/check_matrix_market.py FOLDER
"""
import os
import sys

import scipy.io

from gen_matrix_market import CASES, HERE, same

failures = []
for name, a in CASES:
    try:
        ours = scipy.io.mmread(os.path.join(sys.argv[1], name + ".mtx"))
    except Exception as e:  # noqa: BLE001 - any failure to read is a finding
        failures.append("%s: mmread failed: %s" % (name, e))
        continue
    theirs = scipy.io.mmread(os.path.join(HERE, "matrix_market", name + ".mtx"))
    if not same(ours, a):
        failures.append("%s: %r read back, expected %r" % (name, ours, a))
    if not same(ours, theirs):
        failures.append("%s: %r differs from mmwrite's file %r" % (name, ours, theirs))
for f in failures:
    print(f)
sys.exit(1 if failures else 0)

#!/usr/bin/python3
"""Reads the MatrixMarket files that tests/sparse/test_sparse_market.cpp wrote into FOLDER with scipy.io.mmread and
checks, for every writer matrix of gen_sparse_market.py, that the file holds it bit for bit: the size, the kind, and
the entries in storage order. Prints one line per failure and exits with 1 if there is any.

Run: /usr/bin/python3 tests/data/check_sparse_market.py FOLDER
"""
import os
import sys

import scipy.io

from gen_sparse_market import WRITE, same

failures = []
for name, m in WRITE:
    try:
        ours = scipy.io.mmread(os.path.join(sys.argv[1], name + ".mtx"))
    except Exception as e:  # noqa: BLE001 - any failure to read is a finding
        failures.append("%s: mmread failed: %s" % (name, e))
        continue
    if not same(ours, m):
        failures.append("%s: %r read back, expected %r" % (name, ours, m))
for f in failures:
    print(f)
sys.exit(1 if failures else 0)

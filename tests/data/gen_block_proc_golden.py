#!/usr/bin/python3
"""The block processing page's density against scipy.stats: maxwell.pdf (scale 1, the library's MaxwellPDF with
parameter 1) at the page's input 2 and over a ramp of 2000 points from 0 to 10, long enough to cross the block
boundaries at 800 and 1600.

Run: /usr/bin/python3 tests/data/gen_block_proc_golden.py   (writes block_proc_golden.inc)
"""
import numpy as np
import scipy.stats as st

from golden import doubles, lit, write

x = np.linspace(0.0, 10.0, 2000)
write("block_proc_golden.inc", [
    f"static const double kMaxwellAt2 = {lit(st.maxwell.pdf(2.0))};",
    f"static const double kRampX[2000] = {doubles(x)};",
    f"static const double kRampPdf[2000] = {doubles(st.maxwell.pdf(x))};",
])

"""numpy peer of bench/bench_block_proc.cpp: the Maxwell density with parameter 1 over x = 2 as whole-vector steps
into preallocated arrays, t = x·x, y = t·(-0.5), y = exp(y), y = y·t, y = y·sqrt(2/pi), at lengths 10 to 10^6."""
import math

import numpy as np

from common import row

C = math.sqrt(2.0 / math.pi)


def maxwell(x, t, y):
    np.multiply(x, x, out=t)
    np.multiply(t, -0.5, out=y)
    np.exp(y, out=y)
    np.multiply(y, t, out=y)
    np.multiply(y, C, out=y)


for n in (10, 100, 1000, 10000, 100000, 1000000):
    x = np.full(n, 2.0)
    t = np.empty(n)
    y = np.empty(n)
    row("Maxwell PDF", n, lambda x=x, t=t, y=y: maxwell(x, t, y), side="numpy")

"""numpy peer of the fill, rounding and element-wise matrix rows: fill of a preallocated vector, arange (numpy has
no arange into a given array, so its row includes the allocation), rint and the element-wise matrix operations
into preallocated results, and a boolean sieve of Eratosthenes for the primes below 10^7."""
import math

import numpy as np

from common import row

rng = np.random.default_rng(1)
N = 1000000
v = np.empty(N)
row("SetVal", N, lambda: v.fill(1.5))
row("Ramp", N, lambda: np.arange(1.0, 1.0 + 0.1 * (N - 0.5), 0.1))
x = rng.uniform(-1000, 1000, N)
r = np.empty(N)
row("Round", N, lambda: np.rint(x, out=r))


def sieve(n):
    s = np.ones(n, dtype=bool)
    s[:2] = False
    for i in range(2, math.isqrt(n - 1) + 1):
        if s[i]:
            s[i * i::i] = False
    return np.nonzero(s)[0].astype(float)


row("PrimeNumbers", 10000000, lambda: sieve(10000000))

M = 1000
a = rng.uniform(-1, 1, (M, M))
b = rng.uniform(-1, 1, (M, M))
c = np.empty((M, M))
row("Add", M, lambda: np.add(a, b, out=c))
z = rng.uniform(-1, 1, (M, M)) + 1j * rng.uniform(-1, 1, (M, M))
w = rng.uniform(-1, 1, (M, M)) + 1j * rng.uniform(-1, 1, (M, M))
zc = np.empty((M, M), dtype=complex)
row("MulElem complex", M, lambda: np.multiply(z, w, out=zc))
row("Mag", M, lambda: np.abs(z, out=c))

"""scipy.special peers of bench/bench_special.cpp: jv, kv and airy on the same 10^4 complex points, one call each,
and ellipk, ellipj on the same 10^6 values (the points rebuilt from the same sequence, frac(k·phi))."""
import numpy as np
import scipy.special

from common import row

P = 10_000
N = 1_000_000
NU = 1.5


def quasi(count, phi):
    return np.fmod(np.arange(count, dtype=float) * phi, 1.0)


mod = 0.5 + 29.5 * quasi(P, 0.6180339887498949)
arg = np.pi * (2 * quasi(P, 0.7548776662466927) - 1)
z = mod * np.cos(arg) + 1j * (mod * np.sin(arg))
out = np.empty(P, dtype=complex)
row("Besj", P, lambda: scipy.special.jv(NU, z, out=out), side="scipy")
row("Besk", P, lambda: scipy.special.kv(NU, z, out=out), side="scipy")
row("Airy", P, lambda: scipy.special.airy(z), side="scipy")

m = quasi(N, 0.6180339887498949)
u = 10 * quasi(N, 0.7548776662466927) - 5
k = np.empty(N)
row("EllipComplete", N, lambda: scipy.special.ellipk(m, out=k), side="scipy")
row("EllipJacoby", N, lambda: scipy.special.ellipj(u, m), side="scipy")

#!/usr/bin/python3
"""Golden tables of the vector fills and rounding, the matrix element-wise arithmetic and the small matrix operations
(Sylvester, outer and Kronecker products, Vandermonde) from numpy and scipy, through the writer of golden.py.

Run: /usr/bin/python3 tests/data/gen_fills_mtx_golden.py   (writes fills_mtx_golden.inc next to this script)
"""
import numpy as np
import scipy.linalg
from scipy.linalg import lapack

from golden import doubles, lit, matrix, write

rng = np.random.default_rng(23)
lines = []


def table(name, a, complex_=None):
    lines.append(f"inline const std::vector<double> {name} = {doubles(a, complex_)};")


def mtx(name, a, complex_):
    lines.append(f"inline const testsupport::GoldMtx {name} = {matrix(a, complex_)};")


def ints(name, a):
    lines.append(f"inline const std::vector<int> {name} = {{{', '.join(str(int(v)) for v in a)}}};")


# ---- Vectors: ramps, primes, rounding, fractional parts ----
lines.append(f"inline constexpr double kRamp999999 = {lit((1 + 0.1 * np.arange(1000000))[999999])};")
table("kRampSmall", 1 + 0.1 * np.arange(7))
sieve = np.ones(1000001, dtype=bool)
sieve[:2] = False
for i in range(2, 1001):
    if sieve[i]:
        sieve[i * i::i] = False
primes = np.nonzero(sieve)[0]
lines.append(f"inline constexpr int kPi1000 = {np.count_nonzero(primes < 1000)};")
lines.append(f"inline constexpr int kPi1e6 = {np.count_nonzero(primes < 1000000)};")
lines.append(f"inline constexpr double kLastPrimeBelow1e6 = {lit(primes[primes < 1000000][-1])};")
lines.append(f"inline constexpr double kPrimeSumBelow1e6 = {lit(float(primes[primes < 1000000].sum()))};")

x = np.array([2.5, 3.5, -1.7, -2.5, 0.5, -0.5, 1e10, -1e10 - 0.5, 3e9, -3e9, 1e300, np.nan, np.inf, -np.inf,
              -0.0, 4503599627370497.0, 0.49999999999999994, -2.7, 1e10 + 0.5, 123.456])
table("kRoundX", x)
table("kRoundRint", np.rint(x))
table("kRoundTrunc", np.trunc(x))
with np.errstate(invalid="ignore"):
    clip = lambda r: np.where(np.isnan(r), 0, np.clip(r, -2**31, 2**31 - 1))
ints("kRoundInt", clip(np.rint(x)))
ints("kTruncInt", clip(np.trunc(x)))
frac, _ = np.modf(x[np.isfinite(x)])
table("kFracX", x[np.isfinite(x)])
table("kFracModf", frac)

# ---- Matrices: element-wise arithmetic on non-square operands ----
R, C = 3, 4
a = rng.uniform(-10, 10, (R, C))
b = rng.uniform(-10, 10, (R, C))
b[1, 2] = 0.0
z = rng.uniform(-10, 10, (R, C)) + 1j * rng.uniform(-10, 10, (R, C))
w = rng.uniform(-10, 10, (R, C)) + 1j * rng.uniform(-10, 10, (R, C))
z[0, 0] = complex(-4.0, 0.0)
for name, m, c in [("kMA", a, False), ("kMB", b, False), ("kMZ", z, True), ("kMW", w, True)]:
    mtx(name, m, c)
mtx("kMAplusB", a + b, False)
mtx("kMAminusB", a - b, False)
mtx("kMAtimesB", a * b, False)
mtx("kMZplusW", z + w, True)
mtx("kMZminusW", z - w, True)
mtx("kMZtimesW", z * w, True)
mtx("kMZplus2m1iW", z + (2 - 1j) * w, True)
mtx("kMAplus2B", a + 2 * b, False)
mtx("kMAbsA", np.abs(a), False)
mtx("kMSqrA", a * a, False)
mtx("kMSqrtAbsA", np.sqrt(np.abs(a)), False)
mtx("kMSqrtZ", np.sqrt(z), True)
mtx("kMMagZ", np.abs(z), False)
mtx("kMAngleZ", np.angle(z), False)
mtx("kMRealZ", z.real, False)
mtx("kMImagZ", z.imag, False)
mtx("kMConjZ", np.conj(z), True)
mtx("kMRintA", np.rint(a), False)
mtx("kMTruncZ", np.trunc(z.real) + 1j * np.trunc(z.imag), True)
mtx("kMPolar", np.abs(z) * np.exp(1j * np.angle(z)), True)

# ---- Sylvester on Schur input ----
def schur_real(n, seed):
    r = np.random.default_rng(seed)
    while True:
        t, _ = scipy.linalg.schur(r.uniform(-1, 1, (n, n)), output="real")
        if np.any(np.abs(np.diag(t, -1)) > 0):
            return t


def schur_cplx(n, seed):
    r = np.random.default_rng(seed)
    t, _ = scipy.linalg.schur(r.uniform(-1, 1, (n, n)) + 1j * r.uniform(-1, 1, (n, n)), output="complex")
    return t


def kron_solve(A, B, Cm, opa, opb, sgn):
    """X with op(A)·X + sgn·X·op(B) = C, from the Kronecker form (an oracle apart from LAPACK)."""
    op = lambda M, o: M if o == "N" else (M.T if o == "T" else M.conj().T)
    oa, ob = op(A, opa), op(B, opb)
    m, n = Cm.shape
    K = np.kron(np.eye(n), oa) + sgn * np.kron(ob.T, np.eye(m))
    return np.linalg.solve(K, Cm.flatten(order="F")).reshape((m, n), order="F")


SA = schur_real(3, 1) + np.diag([3.0, 3.0, 3.0])  # keeps A and -B apart in their spectra
SB = schur_real(2, 2)
SB = np.triu(SB) + np.diag([0.5, 0.25])
SC = rng.uniform(-2, 2, (3, 2))
mtx("kSylA", SA, False)
mtx("kSylB", SB, False)
mtx("kSylC", SC, False)
x, scale, info = lapack.dtrsyl(SA, SB, SC, trana="N", tranb="N", isgn=1)
assert info == 0 and scale == 1.0
mtx("kSylXdtrsylNN", x, False)
cases = []
for opa in "NT":
    for opb in "NT":
        for sgn in (1, -1):
            mtx(f"kSylX{opa}{opb}{'P' if sgn > 0 else 'M'}", kron_solve(SA, SB, SC, opa, opb, sgn), False)
ZA = schur_cplx(3, 3) + np.diag([3.0, 3.0, 3.0])
ZB = schur_cplx(2, 4)
ZC = rng.uniform(-2, 2, (3, 2)) + 1j * rng.uniform(-2, 2, (3, 2))
mtx("kSylZA", ZA, True)
mtx("kSylZB", ZB, True)
mtx("kSylZC", ZC, True)
x, scale, info = lapack.ztrsyl(ZA, ZB, ZC, trana="N", tranb="C", isgn=-1)
assert info == 0 and scale == 1.0
mtx("kSylZXztrsylNCM", x, True)
for opa in "NTC":
    for opb in "NTC":
        for sgn in (1, -1):
            mtx(f"kSylZX{opa}{opb}{'P' if sgn > 0 else 'M'}", kron_solve(ZA, ZB, ZC, opa, opb, sgn), True)

# ---- Outer and Kronecker products, Vandermonde ----
v1 = rng.uniform(-3, 3, 3)
v2 = rng.uniform(-3, 3, 4)
c1 = rng.uniform(-3, 3, 3) + 1j * rng.uniform(-3, 3, 3)
c2 = rng.uniform(-3, 3, 4) + 1j * rng.uniform(-3, 3, 4)
table("kV1", v1)
table("kV2", v2)
table("kC1", c1)
table("kC2", c2)
mtx("kOuterV1V2", np.outer(v1, v2), False)
mtx("kOuterC1C2", np.outer(c1, c2), True)
mtx("kOuterC1C2H", np.outer(c1, c2.conj()), True)
mtx("kOuterV1C2H", np.outer(v1, c2.conj()), True)
S0 = rng.uniform(-1, 1, (3, 4)) + 1j * rng.uniform(-1, 1, (3, 4))
alpha = 1.5 - 0.5j
mtx("kUpdS0", S0, True)
mtx("kUpdC1C2H", S0 + alpha * np.outer(c1, c2.conj()), True)
mtx("kUpdC1C2", S0 + alpha * np.outer(c1, c2), True)
lines.append(f"inline constexpr double kUpdAlphaRe = {lit(alpha.real)};")
lines.append(f"inline constexpr double kUpdAlphaIm = {lit(alpha.imag)};")
table("kKronV1V2", np.kron(v1, v2))
table("kKronC1V2", np.kron(c1, v2.astype(complex)), True)
mtx("kVanderV1", np.vander(v1, 5), False)
mtx("kVanderC1", np.vander(c1, 4), True)

write("fills_mtx_golden.inc", lines)

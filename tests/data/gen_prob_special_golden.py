#!/usr/bin/python3
"""Golden tables of the special functions of Probabilities: the regularised incomplete gamma functions for real and
complex arguments, the incomplete beta function and the error functions (mpmath at 40 digits, rounded once; scipy's gammainc and
gammaincc for A ≥ 1e4, where mpmath's series do not converge),
binomial coefficients (exact integers, rounded once).

Run: /usr/bin/python3 tests/data/gen_prob_special_golden.py   (writes prob_special_golden.inc)
"""
import math

import mpmath
import scipy.special as sp

from golden import lit, write

mpmath.mp.dps = 40


def pq(a, z):
    if isinstance(z, mpmath.mpf) and a >= 1e4:
        # mpmath's series do not reach these; scipy's asymptotic expansions do (to about 1e-13 relative).
        return sp.gammainc(float(a), float(z)), sp.gammaincc(float(a), float(z))
    p = mpmath.gammainc(a, 0, z, regularized=True)
    q = mpmath.gammainc(a, z, mpmath.inf, regularized=True)
    return p, q


lines = ["// {A, X, P, Q}", "static const ProbGammaRow kGammaRows[] = {"]
for a, x in [(1, 0.5), (1, 3), (0.5, 1e-3), (0.5, 2.25), (2.5, 1), (2.5, 7), (10, 9), (10, 11.5), (30, 45),
             (100, 100), (1e4, 1e4 - 150), (1e6, 1e6), (1e6, 1e6 + 2500), (1e12, 1e12), (1e12, 1e12 - 3e6),
             (1e12, 1e12 + 1.5e6), (3, 1e-200), (0.1, 40)]:
    p, q = pq(mpmath.mpf(a), mpmath.mpf(x))
    lines.append(f"    {{{lit(a)}, {lit(x)}, {lit(p)}, {lit(q)}}},")
lines.append("};")

lines += ["// {A, Re Z, Im Z, Re P, Im P, Re Q, Im Q}", "static const ProbCGammaRow kCGammaRows[] = {"]
for a, z in [(1, 0.5 + 40j), (1, 0.3 + 0.2j), (2.5, 3 - 1j), (0.5, -2 + 0.5j), (3, -4 - 2j), (1.5, 20 + 20j),
             (4, -10 + 30j), (2, 45 - 40j), (0.75, 0.5 - 60j), (5, 7 + 1e-3j), (1, -20 + 1j), (2, -3 + 0j)]:
    zz = mpmath.mpc(z.real, z.imag)
    p, q = pq(mpmath.mpf(a), zz)
    lines.append(f"    {{{lit(a)}, {lit(z.real)}, {lit(z.imag)}, {lit(p.real)}, {lit(p.imag)}, {lit(q.real)}, "
                 f"{lit(q.imag)}}},")
lines.append("};")

lines += ["// {X, A, B, I}", "static const ProbBetaRow kBetaRows[] = {"]
for x, a, b in [(0.5, 2, 2), (0.2, 0.5, 3), (0.9, 5, 0.7), (0.3, 30, 40), (0.6, 200, 150), (1e-3, 0.2, 0.2),
                (0.999, 3, 8)]:
    v = mpmath.betainc(a, b, 0, x, regularized=True)
    lines.append(f"    {{{lit(x)}, {lit(a)}, {lit(b)}, {lit(v)}}},")
lines.append("};")

lines += ["// {X, Erf, Erfc}", "static const ProbErfRow kErfRows[] = {"]
for x in [1e-170, 1e-9, 0.1, 0.5, -0.75, 1.5, -2.5, 4, 6, -6, 27]:
    xx = mpmath.mpf(x)
    lines.append(f"    {{{lit(x)}, {lit(mpmath.erf(xx))}, {lit(mpmath.erfc(xx))}}},")
lines.append("};")

lines += ["// {Y, ErfInv}", "static const ProbErfInvRow kErfInvRows[] = {"]
for y in [1e-170, 1e-5, 0.3, -0.7, 0.71, -0.95, 0.999999, 1 - 2**-40]:
    lines.append(f"    {{{lit(y)}, {lit(mpmath.erfinv(mpmath.mpf(y)))}}},")
lines.append("};")

lines += ["// {N, K, C}", "static const ProbBinomialRow kBinomialRows[] = {"]
for n, k in [(5, 2), (5, 0), (5, 5), (5, 1), (5, 4), (67, 33), (100, 50), (1020, 60), (40, 20)]:
    lines.append(f"    {{{n}, {k}, {lit(float(math.comb(n, k)))}}},")
lines.append("};")

write("prob_special_golden.inc", lines)

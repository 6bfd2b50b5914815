#!/usr/bin/python3
"""Golden tables of the discrete distributions of Probabilities against scipy.stats, with the parameters mapped:
Binom(N, P) = binom(N, P); Geometric(P) = geom(P, loc=-1) (failures before the first success);
HypGeometric(M, K, N) = hypergeom(M, K, N); NegBinom(R, P) = nbinom(R, P); Poisson(Lambda) = poisson(Lambda);
UniformD(N) = randint(1, N + 1). The inverses are scipy's ppf, the smallest k with CDF(k) ≥ Y.

Run: /usr/bin/python3 tests/data/gen_prob_discrete_golden.py   (writes prob_discrete_golden.inc)
"""
import scipy.stats as st

from golden import lit, write

DISTS = {
    "Binom": (lambda n, p, _: st.binom(int(n), p), [(2, 4, 0.5, 0), (7, 20, 0.3, 0), (5e4, 1e5, 0.5, 0),
                                                    (480, 2000, 0.25, 0)]),
    "Geometric": (lambda p, a, _: st.geom(p, loc=-1), [(3, 0.25, 0, 0), (0, 0.7, 0, 0), (40, 0.05, 0, 0)]),
    "HypGeometric": (lambda m, k, n: st.hypergeom(int(m), int(k), int(n)), [(3, 50, 10, 12), (0, 20, 5, 4),
                                                                             (8, 100, 30, 25)]),
    "NegBinom": (lambda r, p, _: st.nbinom(int(r), p), [(100, 50, 0.7, 0), (3, 2, 0.4, 0), (0, 5, 0.9, 0)]),
    "Poisson": (lambda lam, a, _: st.poisson(lam), [(2, 1, 0, 0), (1000, 1000, 0, 0), (12, 4.5, 0, 0),
                                                    (0, 3, 0, 0), (40, 1e3, 0, 0)]),
    "UniformD": (lambda n, a, _: st.randint(1, int(n) + 1), [(3, 7, 0, 0)]),
}

rows, inv = [], []
for name, (make, cases) in DISTS.items():
    for x, p1, p2, p3 in cases:
        d = make(p1, p2, p3)
        rows.append(f'    {{"{name}", {lit(x)}, {lit(p1)}, {lit(p2)}, {lit(p3)}, {lit(d.pmf(x))}, {lit(d.cdf(x))}}},')
        for y in (1e-6, 0.03, 0.5, 0.975, 1 - 1e-9):
            inv.append(f'    {{"{name}", {lit(y)}, {lit(p1)}, {lit(p2)}, {lit(p3)}, {lit(d.ppf(y))}}},')

write("prob_discrete_golden.inc", ["// {Name, X, parameters 1..3, PDF, CDF}",
                                   "static const ProbDiscreteRow kDiscreteRows[] = {"] + rows + ["};",
                                   "// {Name, Y, parameters 1..3, CDFInv}",
                                   "static const ProbDiscreteInvRow kDiscreteInvRows[] = {"] + inv + ["};"])

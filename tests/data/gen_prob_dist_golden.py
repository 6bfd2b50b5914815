#!/usr/bin/python3
"""Golden tables of the continuous distributions of Probabilities against scipy.stats, with the parameters mapped:
Cauchy(X, S, M) = cauchy(loc=M, scale=S); ChiSquare(Nu) = chi2(Nu); Exp(Mu) = expon(scale=Mu); F(Nu1, Nu2) = f;
Gamma(A, B) = gamma(A, scale=B); LogNormal(Mu, Sigma) = lognorm(Sigma, scale=e^Mu); Maxwell(A) = maxwell(scale=
A^(-1/2)); Normal(Mu, Sigma) = norm; Pareto(A, B) = pareto(A, scale=B); Rayleigh(B) = rayleigh(scale=B);
Student(Nu) = t(Nu); Uniform(A, B) = uniform(A, B - A); Weibull(A, B) = weibull_min(c=B, scale=A^(-1/B));
Beta(A, B) = beta(A, B).

Run: /usr/bin/python3 tests/data/gen_prob_dist_golden.py   (writes prob_dist_golden.inc)
"""
import mpmath
import scipy.stats as st

mpmath.mp.dps = 40

from golden import lit, write

DISTS = {
    "Beta": (lambda a, b, _: st.beta(a, b), [(0.3, 2, 3, 0), (0.9, 0.5, 0.7, 0), (0.5, 40, 25, 0)]),
    "Cauchy": (lambda s, m, _: st.cauchy(loc=m, scale=s), [(1.5, 2, -1, 0), (-30, 0.5, 3, 0)]),
    "ChiSquare": (lambda nu, a, _: st.chi2(nu), [(2.5, 3, 0, 0), (40, 30, 0, 0), (0.1, 1, 0, 0)]),
    "Exp": (lambda mu, a, _: st.expon(scale=mu), [(1.2, 2, 0, 0), (30, 0.5, 0, 0)]),
    "F": (lambda n1, n2, _: st.f(n1, n2), [(1.3, 3, 7, 0), (0.2, 1, 4, 0), (4, 12, 30, 0)]),
    "Gamma": (lambda a, b, _: st.gamma(a, scale=b), [(2, 3, 0.5, 0), (0.05, 0.4, 2, 0), (120, 100, 1.1, 0)]),
    "LogNormal": (lambda mu, s, _: st.lognorm(s, scale=__import__("math").exp(mu)), [(2, 0.3, 0.8, 0),
                                                                                     (0.01, 1, 2, 0)]),
    "Maxwell": (lambda a, b, _: st.maxwell(scale=a ** -0.5), [(1.1, 2, 0, 0), (5, 0.3, 0, 0)]),
    "Normal": (lambda mu, s, _: st.norm(mu, s), [(0.3, 1, 2, 0), (-4, 0, 1, 0), (3, 0, 1, 0)]),
    "Pareto": (lambda a, b, _: st.pareto(a, scale=b), [(3, 2.5, 1.5, 0), (1e3, 1.2, 2, 0)]),
    "Rayleigh": (lambda b, a, _: st.rayleigh(scale=b), [(1.2, 0.8, 0, 0), (0.01, 3, 0, 0)]),
    "Student": (lambda nu, a, _: st.t(nu), [(0.7, 1, 0, 0), (-2.1, 4, 0, 0), (1.5, 30, 0, 0)]),
    "Uniform": (lambda a, b, _: st.uniform(a, b - a), [(0.25, -1, 2, 0)]),
    "Weibull": (lambda a, b, _: st.weibull_min(c=b, scale=a ** (-1 / b)), [(0.8, 1.5, 2.5, 0), (3, 0.2, 0.7, 0)]),
}

rows, inv = [], []
for name, (make, cases) in DISTS.items():
    for x, p1, p2, p3 in cases:
        d = make(p1, p2, p3)
        rows.append(f'    {{"{name}", {lit(x)}, {lit(p1)}, {lit(p2)}, {lit(d.pdf(x))}, {lit(d.cdf(x))}}},')
        for p in (1e-6, 0.03, 0.5, 0.975, 1 - 1e-9):
            q = d.ppf(p)
            if name == "Cauchy" or (name == "Student" and p1 == 1):
                # scipy forms tan(π(p − ½)) in Doubles and loses digits near p = 1; mpmath at 40 digits.
                m, s = (p2, p1) if name == "Cauchy" else (0, 1)
                q = float(mpmath.mpf(m) + mpmath.mpf(s) * mpmath.tan(mpmath.pi * (mpmath.mpf(p) - mpmath.mpf(0.5))))
            inv.append(f'    {{"{name}", {lit(p)}, {lit(p1)}, {lit(p2)}, {lit(q)}}},')

write("prob_dist_golden.inc", ["// {Name, X, first parameter, second parameter, PDF, CDF}",
                               "static const ProbDistRow kDistRows[] = {"] + rows + ["};",
                               "// {Name, P, first parameter, second parameter, CDFInv}",
                               "static const ProbInvRow kInvRows[] = {"] + inv + ["};"])

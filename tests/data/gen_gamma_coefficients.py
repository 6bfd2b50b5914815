#!/usr/bin/python3
"""Fits the approximations of the real gamma and log-gamma in core/dovi_gamma.cpp with mpmath (50 digits) and
prints them as long double literals, highest power first (the order Horner's rule reads them):

- Gamma: Γ(2 + t) on 0 ≤ t ≤ 1, a Chebyshev fit of 22 terms (error below 2e-22, under one unit of long double);
- LogGamma: lnΓ(2 + t)/t on 0 < t ≤ 1, 20 terms (error below 1e-21);
- RecipGamma: 1/Γ(1 + x), the Taylor series to x^12: below 1e-24 for |x| ≤ 1/32, the small-argument form;
- Stirling: B_2k/(2k(2k - 1)) for k = 1..10, exact: the asymptotic series of lnΓ in 1/x², enough to 2e-20 at 13.

Run: /usr/bin/python3 tests/data/gen_gamma_coefficients.py, and paste the arrays into core/dovi_gamma.cpp.
"""
import mpmath

mpmath.mp.dps = 50


def lit(v):
    return mpmath.nstr(v, 25, min_fixed=-4, max_fixed=4, strip_zeros=False) + "L"


def show(name, coefficients):
    print(f"constexpr Wide {name}[] = {{")
    for v in coefficients:
        print(f"    {lit(v)},")
    print("};")


gamma, err1 = mpmath.chebyfit(lambda t: mpmath.gamma(2 + t), [0, 1], 22, error=True)
loggamma, err2 = mpmath.chebyfit(lambda t: mpmath.loggamma(2 + t) / t, [0, 1], 20, error=True)
recip = mpmath.taylor(lambda x: 1 / mpmath.gamma(1 + x), 0, 12)[::-1]
stirling = [mpmath.bernoulli(2 * k) / (2 * k * (2 * k - 1)) for k in range(10, 0, -1)]
print(f"// errors of the fits: {mpmath.nstr(err1, 3)}, {mpmath.nstr(err2, 3)}")
show("kGamma", gamma)
show("kLogGamma", loggamma)
show("kRecipGamma", recip)
show("kStirling", stirling)

"""Sorts, statistics, norms and dot products of vectors from numpy, scipy and mpmath, and the tie orders and an
adversarial input from a replica of the library's quicksort, for tests/core/test_elem_sort.cpp, test_elem_stats.cpp
and test_elem_norms.cpp.
Run: /usr/bin/python3 tests/data/gen_vec_stats_golden.py   (writes vec_sort_golden.inc, vec_stats_golden.inc,
vec_norms_golden.inc, vec_sort_adversary.inc)
"""
import sys

import mpmath
import numpy as np
import scipy.linalg
import scipy.stats
from golden import cplx, doubles, lit, write

mpmath.mp.prec = 200
rng = np.random.default_rng(22)


# ---- The quicksort, step by step as the library runs it -------------------------------------------------------------

def m_of(z):
    """m(z) = Re² + Im² in extended precision, rounded once to a Double (as the library's Norm)."""
    z = complex(z)
    return float(np.longdouble(z.real) * np.longdouble(z.real) + np.longdouble(z.imag) * np.longdouble(z.imag))


def code(z):
    """The quadrant code of the complex order."""
    if z.real >= 0:
        return 3 if z.imag >= 0 else 2
    return 4 if z.imag >= 0 else 1


def smaller2(a, b):
    qa, qb = code(a), code(b)
    if qa != qb:
        return qa < qb
    return a.real < b.real if qa <= 2 else a.real > b.real


def bigger2(a, b):
    qa, qb = code(a), code(b)
    if qa != qb:
        return qa > qb
    return a.real > b.real if qa <= 2 else a.real < b.real


def replica(values, ascend, complex_):
    """The sorted values and the positions they came from, by the library's quicksort."""
    a = list(values)
    key = [m_of(z) for z in a] if complex_ else None
    idx = list(range(len(a)))

    def less(i, p, pk):
        if complex_:
            return key[i] < pk or (key[i] == pk and smaller2(a[i], p))
        return a[i] < p

    def greater(i, p, pk):
        if complex_:
            return key[i] > pk or (key[i] == pk and bigger2(a[i], p))
        return a[i] > p

    before, after = (less, greater) if ascend else (greater, less)

    def sort(lo, hi):
        mid = (lo + hi) // 2
        p, pk = a[mid], (key[mid] if complex_ else 0)
        i, j = lo, hi
        while True:
            while before(i, p, pk):
                i += 1
            while after(j, p, pk):
                j -= 1
            if i <= j:
                a[i], a[j] = a[j], a[i]
                idx[i], idx[j] = idx[j], idx[i]
                if complex_:
                    key[i], key[j] = key[j], key[i]
                i += 1
                j -= 1
            if i > j:
                break
        if lo < j:
            sort(lo, j)
        if i < hi:
            sort(i, hi)

    if len(a) > 1:
        sort(0, len(a) - 1)
    return a, idx


def numpy_order(values, ascend, complex_):
    """The order of distinct keys from numpy: by value, or by (m, code, ±Re) for the complex order."""
    v = np.asarray(values)
    if not complex_:
        order = np.argsort(v, kind="stable") if ascend else np.argsort(-v, kind="stable")
        return order
    m = np.array([np.longdouble(z.real) ** 2 + np.longdouble(z.imag) ** 2 for z in v])
    m = m.astype(float)  # rounded once, as m(z)
    codes = np.array([code(z) for z in v])
    re = np.where(codes <= 2, v.real, -v.real)
    order = np.lexsort((re, codes, m))
    return order if ascend else order[::-1]


def sort_case(name, values, ascend, complex_, distinct):
    values = np.asarray(values, dtype=complex if complex_ else float)
    got, idx = replica(list(values), ascend, complex_)
    if distinct:
        order = numpy_order(values, ascend, complex_)
        assert list(order) == idx, name
    return (f'{{"{name}", {str(complex_).lower()}, {str(ascend).lower()}, {len(values)}, '
            f'{doubles(values, complex_)}, {doubles(np.asarray(got), complex_)}, '
            f'{{{", ".join(str(k) for k in idx)}}}}},')


def sort_table():
    x = rng.normal(size=25)
    ties = rng.integers(0, 4, size=30).astype(float)
    z = cplx(rng.normal(size=20), rng.normal(size=20))
    unit = np.array([1j, 1, -1j, -1])
    # Equal moduli (m = 25) in every quadrant and on the axes, some repeated.
    five = np.array([3 + 4j, -3 + 4j, 4 - 3j, -4 - 3j, 5, -5, 5j, -5j, 3 + 4j, 0 + 5j, 1 + 1j, -1 - 1j, 4 + 3j])
    rows = [
        sort_case("real distinct ascending", x, True, False, True),
        sort_case("real distinct descending", x, False, False, True),
        sort_case("real 2 1 2 1 ascending", [2, 1, 2, 1], True, False, False),
        sort_case("real all equal ascending", [1, 1, 1, 1], True, False, False),
        sort_case("real all equal descending", [1, 1, 1, 1], False, False, False),
        sort_case("real small integers ascending", ties, True, False, False),
        sort_case("real small integers descending", ties, False, False, False),
        sort_case("real 3 1 2 ascending", [3, 1, 2], True, False, True),
        sort_case("complex distinct ascending", z, True, True, True),
        sort_case("complex distinct descending", z, False, True, True),
        sort_case("complex unit moduli ascending", unit, True, True, True),
        sort_case("complex equal moduli ascending", five, True, True, False),
        sort_case("complex equal moduli descending", five, False, True, False),
    ]
    assert replica([1, 1, 1, 1], True, False)[1] == [2, 3, 0, 1]
    assert replica([2, 1, 2, 1], True, False)[1] == [3, 1, 0, 2]
    write("vec_sort_golden.inc", rows, "{ what, complex, ascending, n, {data}, {sorted}, {positions} }")


# ---- An adversarial input for the quicksort ---------------------------------------------------------------------------

def adversary(n, values=None):
    """A permutation of 0 .. n-1 on which the quicksort splits off one element per partition (a lazy-comparison
    adversary: every element starts as "gas", above all values given so far; a comparison of two gas elements
    freezes the pivot to the next value). The scans run vectorised; the comparisons are those of the replica. Given
    values, the same runs on them and gives the depth the naive recursion would reach."""
    gas = np.inf
    val = np.full(n, gas) if values is None else np.asarray(values, dtype=float).copy()
    item = np.arange(n)  # the original position of the element at each place
    nxt = [0]
    depth = [0]

    def freeze(pos):
        val[pos] = nxt[0]
        nxt[0] += 1

    def sort(lo, hi, d):
        depth[0] = max(depth[0], d)
        while lo < hi:
            mid = (lo + hi) // 2
            pitem = item[mid]
            p = val[mid]
            i, j = lo, hi
            while True:
                # i-scan: while a[i] < p.
                if p == gas:
                    seg = val[i:hi + 1]
                    k = int(np.argmax(seg == gas))  # solids are below a gas pivot; the first gas freezes it
                    i += k
                    freeze(int(np.nonzero(item == pitem)[0][0]))
                    p = nxt[0] - 1
                seg = val[i:hi + 1]
                i += int(np.argmax(~(seg < p)))
                # j-scan: while a[j] > p.
                seg = val[lo:j + 1][::-1]
                j -= int(np.argmax(~(seg > p)))
                if i <= j:
                    val[i], val[j] = val[j], val[i]
                    item[i], item[j] = item[j], item[i]
                    i += 1
                    j -= 1
                if i > j:
                    break
            # The parts as the naive recursion would take them, lo .. j first; the depth is that recursion's.
            if lo < j:
                sort(lo, j, d + 1)
            lo, d = i, d + 1
            depth[0] = max(depth[0], d)

    sys.setrecursionlimit(10000)
    sort(0, n - 1, 0)
    rest = val == gas
    val[rest] = np.arange(nxt[0], nxt[0] + int(rest.sum()))
    out = np.empty(n, dtype=int)
    out[item] = val.astype(int)
    return out, depth[0]


def adversary_table(n=20000):
    a, depth = adversary(n)
    assert sorted(a) == list(range(n))
    replay, replay_depth = adversary(n, a)
    assert replay_depth == depth and depth > n // 4, depth  # the naive recursion goes this deep on the values
    lines = [f"// depth of the recursion into both parts: {depth}", "{"]
    for k in range(0, n, 20):
        lines.append("    " + ", ".join(str(v) for v in a[k:k + 20]) + ",")
    lines.append("}")
    write("vec_sort_adversary.inc", lines, f"the {n} values, a permutation of 0 .. {n - 1}")


# ---- Statistics ---------------------------------------------------------------------------------------------------------

def mp(x):
    return mpmath.mpf(float(x))


def exact_sum(v):
    return float(mpmath.fsum(mp(x) for x in v))


def part_stats(v, mean, sd):
    """StdDev, Skewness and Kurtosis as the library defines them, about the given Double mean and σ."""
    n = len(v)
    d = [mp(x) - mp(mean) for x in v]
    std = mpmath.sqrt(abs(mpmath.fsum(t * t for t in d) / (n - 1)))
    skew = mpmath.fsum((t / mp(sd)) ** 3 for t in d) / n
    f = mpmath.sqrt(mpmath.mpf(n) / (n - 1)) / mp(sd)
    kurt = mpmath.fsum((f * t) ** 4 for t in d) / n
    return float(std), float(skew), float(kurt)


def stats_row(name, v):
    v = np.asarray(v, dtype=float)
    n = len(v)
    mean = float(np.mean(v))
    sd_np = float(np.std(v, ddof=1))
    std, skew, kurt = part_stats(v, mean, sd_np)
    if n > 2 and np.isfinite(sd_np) and sd_np > 0:
        # scipy's biased moments converted to the library's forms (sample σ for skewness, ratio of moments for
        # kurtosis).
        s_sc = scipy.stats.skew(v, bias=True) * ((n - 1) / n) ** 1.5
        k_sc = scipy.stats.kurtosis(v, fisher=False, bias=True)
        assert abs(s_sc - skew) <= 1e-9 * max(1, abs(skew)), name
        assert abs(k_sc - kurt) <= 1e-9 * max(1, abs(kurt)), name
    prod = float(mpmath.fprod(mp(x) for x in v)) if n < 100 else float(np.prod(v))
    rms = float(mpmath.sqrt(mpmath.fsum(mp(x) ** 2 for x in v) / n))
    med = float((mp(np.partition(v, (n - 1) // 2)[(n - 1) // 2]) + mp(np.partition(v, n // 2)[n // 2])) / 2)
    assert n > 2 and abs(med - np.median(v)) <= 1e-15 * abs(med) or n <= 2
    fields = [mean, exact_sum(v), prod, float(np.max(v)), int(np.argmax(v)), float(np.min(v)), int(np.argmin(v)), med,
              std, rms, skew, kurt, sd_np]
    body = ", ".join(str(f) if isinstance(f, int) else lit(f) for f in fields)
    return f'{{"{name}", {n}, {doubles(v)}, {body}}},'


def cplx_order_first(v, largest):
    """The position of the greatest (least) element in the complex order, the first of equal ones."""
    order = numpy_order(v, True, True)
    best = order[-1] if largest else order[0]
    same = [k for k in range(len(v)) if v[k] == v[best]]
    return same[0]


def cplx_row(name, v):
    v = np.asarray(v, dtype=complex)
    n = len(v)
    mean = np.mean(v)
    re = [mp(z.real) - mp(mean.real) for z in v]
    im = [mp(z.imag) - mp(mean.imag) for z in v]
    std = float(mpmath.sqrt(abs(mpmath.fsum(t * t for t in re) / (n - 1)) + abs(mpmath.fsum(t * t for t in im) / (n - 1))))
    p = mpmath.mpc(1)
    for z in v:
        p *= mpmath.mpc(z.real, z.imag)
    rms = float(mpmath.sqrt(mpmath.fsum(mp(z.real) ** 2 + mp(z.imag) ** 2 for z in v) / n))
    s = [mpmath.fsum(mp(z.real) for z in v), mpmath.fsum(mp(z.imag) for z in v)]
    fields = [mean.real, mean.imag, float(s[0]), float(s[1]), float(p.real), float(p.imag), std, rms]
    body = ", ".join(lit(f) for f in fields)
    return (f'{{"{name}", {n}, {doubles(v, True)}, {body}, {cplx_order_first(v, True)}, '
            f'{cplx_order_first(v, False)}}},')


def stats_tables():
    real = [
        stats_row("skewed five", [1, 2, 3, 4, 10]),
        stats_row("seven integers", [1, 2, 3, 4, 5, 6, 8]),
        stats_row("three", [3, 1, 2]),
        stats_row("four", [4, 1, 3, 2]),
        stats_row("near the top of the range", [1e308, 1e308]),
        stats_row("opposite huge", [1e200, -1e200]),
        stats_row("normal 1001", rng.normal(3, 2, size=1001)),
        stats_row("uniform 64", rng.uniform(-5, 5, size=64)),
    ]
    write("vec_stats_golden.inc", real,
          "{ what, n, {data}, mean, sum, product, max, argmax, min, argmin, median, StdDev (about mean), RMS, "
          "Skewness and Kurtosis (about mean and the sample σ), sample σ }")
    # The complex order among equal moduli: codes 3, 3, 4, 2 give the greatest at 2, the least at 3.
    unit = [1, 1j, -1, -1j]
    comp = [
        cplx_row("unit moduli", unit),
        cplx_row("equal moduli repeated", [3 + 4j, -5, 5j, -3 - 4j, 4 - 3j, -5, 3 + 4j, -4 - 3j]),
        cplx_row("normal 300", cplx(rng.normal(size=300), rng.normal(size=300))),
    ]
    assert cplx_order_first(np.array(unit, dtype=complex), True) == 2
    assert cplx_order_first(np.array(unit, dtype=complex), False) == 3
    write("vec_stats_cplx_golden.inc", comp,
          "{ what, n, {data}, mean Re, Im, sum Re, Im, product Re, Im, StdDev (about mean), RMS, "
          "position of Max, of Min }")


# ---- Norms and dot products --------------------------------------------------------------------------------------------

def norm_row(name, a, b):
    ca, cb = np.iscomplexobj(a), np.iscomplexobj(b)
    n = min(len(a), len(b))
    x, y = np.asarray(a[:n], dtype=complex), np.asarray(b[:n], dtype=complex)
    d = x - y
    norms = [np.linalg.norm(d, np.inf), np.linalg.norm(d, 1), scipy.linalg.norm(d)]
    rel = [norms[0] / np.linalg.norm(y, np.inf), norms[1] / np.linalg.norm(y, 1), norms[2] / scipy.linalg.norm(y)]
    dot = np.dot(x, y)
    dotc = np.vdot(y, x) if (ca and cb) else complex(np.nan, np.nan)
    fields = norms + rel + [dot.real, dot.imag, dotc.real, dotc.imag]
    return (f'{{"{name}", {str(ca).lower()}, {str(cb).lower()}, {len(a)}, {doubles(a, ca)}, {len(b)}, '
            f'{doubles(b, cb)}, {", ".join(lit(f) for f in fields)}}},')


def norms_table():
    xa, xb = rng.normal(size=40), rng.normal(size=33)
    za, zb = cplx(rng.normal(size=30), rng.normal(size=30)), cplx(rng.normal(size=30), rng.normal(size=30))
    rows = [
        norm_row("real, shorter Vec", xa, xb),
        norm_row("complex", za, zb),
        norm_row("complex Self, real Vec", za, xb),
        norm_row("real Self, complex Vec", xb, za),
        norm_row("near 1e200", xa * 1e200, xb * 1e200),
        norm_row("near 1e-200", za * 1e-200, zb * 1e-200),
    ]
    write("vec_norms_golden.inc", rows,
          "{ what, complex Self, complex Vec, na, {Self}, nb, {Vec}, NormC, NormL1, NormL2 of Self - Vec over the "
          "shorter length, the same relative to Vec, dot Re, Im, vdot(Vec, Self) Re, Im }")


sort_table()
adversary_table()
stats_tables()
norms_table()

#!/usr/bin/python3
"""Reductions of real and complex matrices for tests/core/test_mtx_reduce.cpp: numpy's max, min, sum, mean,
sum(axis), trace; the Frobenius norm from scipy's dnrm2 of the flattened data (numpy's norm overflows at 1e200);
complex extremes in the library's complex order (np.lexsort on the squared modulus, the quadrant code and the real
part, checked against a replica of the first-wins scan); and the comparison within a tolerance.

Run: /usr/bin/python3 tests/data/gen_mtx_reduce_golden.py   (writes mtx_reduce_golden.inc next to this script)
"""
import numpy as np
from scipy.linalg.blas import dnrm2

from golden import cplx, doubles, lit, write

rng = np.random.default_rng(20261229)
nan, inf = np.nan, np.inf


def real(rows, cols, scale=10.0):
    return rng.standard_normal((rows, cols)) * scale


def cmat(rows, cols, scale=10.0):
    return cplx(real(rows, cols, scale), real(rows, cols, scale))


def m_of(z):
    """|z|² in extended precision, rounded once to a Double (the key of the complex order)."""
    return float(np.longdouble(z.real) ** 2 + np.longdouble(z.imag) ** 2)


def code(z):
    if z.real >= 0:
        return 3 if z.imag >= 0 else 2
    return 4 if z.imag >= 0 else 1


def order_keys(z):
    """Ascending keys of the complex order: the modulus key, the quadrant code, then the real part (ascending in
    codes 1 and 2, descending in 3 and 4)."""
    c = code(z)
    return (m_of(z), c, z.real if c <= 2 else -z.real)


def extreme(v, largest):
    """The first element that the scan keeps: a strictly larger (smaller) key takes over; a NaN key never does."""
    best = 0
    for k in range(1, len(v)):
        a, b = order_keys(v[k]), order_keys(v[best])
        if a[0] != b[0]:
            better = a[0] > b[0] if largest else a[0] < b[0]
        elif a[0] == b[0]:
            better = a[1:] > b[1:] if largest else a[1:] < b[1:]
        else:
            better = False
        if better:
            best = k
    if not any(np.isnan(m_of(z)) for z in v):
        keys = [order_keys(z) for z in v]
        idx = np.lexsort(([k[2] for k in keys], [k[1] for k in keys], [k[0] for k in keys]))
        pick = idx[-1] if largest else idx[0]
        assert keys[best] == keys[pick], "the scan and np.lexsort disagree"
    return v[best]


def pair(z):
    z = complex(z)
    return "{" + lit(z.real) + ", " + lit(z.imag) + "}"


def row(what, a):
    a = np.asarray(a)
    rows, cols = a.shape
    is_c = np.iscomplexobj(a)
    flat = a.ravel()
    n = flat.size
    if is_c:
        mx = extreme(flat, True) if n else complex(nan, nan)
        mn = extreme(flat, False) if n else complex(nan, nan)
        nf = dnrm2(np.column_stack([flat.real, flat.imag]).ravel()) if n else 0.0
    else:
        mx = (nan if np.isnan(flat).any() else np.max(flat)) if n else nan
        mn = (nan if np.isnan(flat).any() else np.min(flat)) if n else nan
        nf = dnrm2(flat) if n else 0.0
    s = np.sum(flat) if n else 0.0
    # The complex mean divides each part's sum by n on its own.
    if is_c:
        mean = complex(np.mean(flat.real), np.mean(flat.imag)) if n else complex(nan, nan)
    else:
        mean = np.mean(flat) if n else 0.0
    tr = np.trace(a) if min(rows, cols) else 0.0
    return (f'{{"{what}", {rows}, {cols}, {"true" if is_c else "false"}, {doubles(a, is_c)}, {pair(mx)}, '
            f'{pair(mn)}, {pair(s)}, {pair(mean)}, {lit(nf)}, {pair(tr)}, {doubles(np.sum(a, axis=0), is_c)}, '
            f'{doubles(np.sum(a, axis=1), is_c)}}},')


one_in_seven = np.zeros((7, 7))
one_in_seven[3, 4] = 1.0
equal_moduli = np.array([[3 + 4j, -3 + 4j, 3 - 4j, -3 - 4j, 4 + 3j, 4 - 3j],
                         [5 + 0j, -5 + 0j, 5j, -5j, -4 + 3j, -4 - 3j]])
REDUCE = [
    row("1x1", [[-7.25]]),
    row("((1, 5), (3, 2))", [[1.0, 5.0], [3.0, 2.0]]),
    row("1x5", real(1, 5)),
    row("5x1", real(5, 1)),
    row("3x4", real(3, 4)),
    row("130x17: pairwise blocks", real(130, 17)),
    row("7x7 holding one 1", one_in_seven),
    row("0x0", np.zeros((0, 0))),
    row("0x3", np.zeros((0, 3))),
    row("3x0", np.zeros((3, 0))),
    row("NaN inside", [[1.0, 2.0, 3.0], [4.0, nan, -6.0]]),
    row("NaN first", [[nan, 2.0], [-3.0, 9.0]]),
    row("infinities", [[1.0, inf, 3.0], [-inf, 5.0, 6.0]]),
    row("one infinity", [[1.0, -inf], [3.0, 4.0]]),
    row("1e200", [[1e200, 1e200], [-1e200, 1e200]]),
    row("1e-200", [[1e-200, 1e-200], [-1e-200, 3e-200]]),
    row("complex 1x1", cplx([[2.5]], [[-1.0]])),
    row("complex (1, -1)", cplx([[1.0, -1.0]], [[0.0, 0.0]])),
    row("complex diag(3, 4)", cplx([[3.0, 0.0], [0.0, 4.0]], np.zeros((2, 2)))),
    row("complex row (1, i)", cplx([[1.0, 0.0]], [[0.0, 1.0]])),
    row("complex 3x4", cmat(3, 4)),
    row("complex 9x17", cmat(9, 17)),
    row("complex equal moduli in every quadrant", equal_moduli),
    row("complex 0x0", np.zeros((0, 0), dtype=complex)),
    row("complex 0x2", np.zeros((0, 2), dtype=complex)),
    row("complex NaN first", cplx([[nan, 1.0], [2.0, 3.0]], [[0.0, 1.0], [-1.0, 0.5]])),
    row("complex NaN inside", cplx([[1.0, 7.0], [nan, 3.0]], [[0.0, 1.0], [2.0, 0.5]])),
    row("complex 1e200", cplx([[1e200, -1e200], [3e200, 0.0]], [[1e200, 2e200], [0.0, -4e200]])),
    row("complex 1e-200", cplx([[1e-200, -2e-200]], [[3e-200, 1e-200]])),
]


def equal_row(what, a, b, tol):
    a, b = np.asarray(a), np.asarray(b)
    is_c, b_c = np.iscomplexobj(a), np.iscomplexobj(b)
    if a.shape != b.shape or is_c != b_c:
        want = False
    elif a.size == 0:
        want = True
    elif tol < 0:
        want = False
    else:
        x = np.concatenate([a.real.ravel(), a.imag.ravel()]) if is_c else a.ravel()
        y = np.concatenate([b.real.ravel(), b.imag.ravel()]) if is_c else b.ravel()
        with np.errstate(invalid="ignore"):
            within = np.abs(x - y) <= tol if tol > 0 else np.zeros(x.shape, bool)
        want = bool(np.all((x == y) | within))
    return (f'{{"{what}", {a.shape[0]}, {a.shape[1]}, {b.shape[0]}, {b.shape[1]}, {"true" if is_c else "false"}, '
            f'{"true" if b_c else "false"}, {doubles(a, is_c)}, {doubles(b, b_c)}, {lit(tol)}, {"true" if want else "false"}}},')


base = real(3, 4)
near = base + rng.uniform(-0.1, 0.1, base.shape)
far = base.copy()
far[2, 1] += 0.25
with_nan = base.copy()
with_nan[1, 1] = nan
with_inf = base.copy()
with_inf[0, 3] = inf
with_ninf = base.copy()
with_ninf[0, 3] = -inf
cbase = cmat(2, 3)
cnear = cbase + 0.05j
EQUAL = []
for tol in (0.0, 0.1, -1.0):
    EQUAL += [
        equal_row(f"itself, tol {tol}", base, base, tol),
        equal_row(f"within 0.1, tol {tol}", base, near, tol),
        equal_row(f"0.25 apart, tol {tol}", base, far, tol),
        equal_row(f"NaN in both, tol {tol}", with_nan, with_nan, tol),
        equal_row(f"NaN in one, tol {tol}", base, with_nan, tol),
        equal_row(f"same infinity, tol {tol}", with_inf, with_inf, tol),
        equal_row(f"opposite infinities, tol {tol}", with_inf, with_ninf, tol),
        equal_row(f"empty, tol {tol}", np.zeros((0, 3)), np.zeros((0, 3)), tol),
        equal_row(f"complex itself, tol {tol}", cbase, cbase, tol),
        equal_row(f"complex imaginary parts 0.05 apart, tol {tol}", cbase, cnear, tol),
    ]
EQUAL += [
    equal_row("shapes differ", base, base.T.copy(), 0.1),
    equal_row("kinds differ", np.real(cbase), cbase, 0.1),
]

write("mtx_reduce_golden.inc",
      ["static const ReduceRow kReduce[] = {"] + REDUCE + ["};", "static const EqualRow kEqual[] = {"] + EQUAL + ["};"])

"""numpy peer of the grid image rows (bench/bench_charts.cpp): the pixels of an n x n matrix of uniform values in
[0, 100) as 0xAARRGGBB words, computed as the series does: palRange by the ramp from navy to white over the least
and greatest element (np.rint, ties to even), palRangeCustom and palCustom by a five-entry palette looked up through
its index (truncated positions, resp. np.searchsorted on the sorted values)."""
import numpy as np

from common import row

NAVY = (0, 0, 128)
D = np.array([255, 255, 127], dtype=float)
PAL_VALUES = np.array([0.0, 25.0, 50.0, 75.0, 100.0])
PAL_RGB = np.array([0xFF000080, 0xFF008000, 0xFF800000, 0xFF808080, 0xFFFFFFFF], dtype=np.uint32)


def ramp(a):
    mn, mx = a.min(), a.max()
    t = (a - mn) * (1.0 / (mx - mn))
    r = np.clip(np.rint(t * D[0]) + NAVY[0], 0, 255).astype(np.uint32)
    g = np.clip(np.rint(t * D[1]) + NAVY[1], 0, 255).astype(np.uint32)
    b = np.clip(np.rint(t * D[2]) + NAVY[2], 0, 255).astype(np.uint32)
    return np.uint32(0xFF000000) | (r << 16) | (g << 8) | b


def range_custom(a):
    n = PAL_VALUES.size
    scale = n / (PAL_VALUES[-1] - PAL_VALUES[0])
    idx = np.clip((a - PAL_VALUES[0]) * scale, 0, n - 1).astype(np.intp)
    return PAL_RGB[idx]


def custom(a):
    idx = np.minimum(np.searchsorted(PAL_VALUES, a, side="left"), PAL_VALUES.size - 1)
    return PAL_RGB[idx]


rng = np.random.default_rng(1)
for n in (500, 2000):
    a = rng.uniform(0, 100, (n, n))
    row("Grid image palRange", n, lambda: ramp(a), min_time=1e-9)
    row("Grid image palRangeCustom", n, lambda: range_custom(a), min_time=1e-9)
    row("Grid image palCustom", n, lambda: custom(a), min_time=1e-9)

#!/usr/bin/python3
"""The matrix grid series' cell colours in every palette style, its ramp palette, and the points DrawValues plots
of a thinned vector, from numpy, for tests/components/test_tarnel_tee.cpp (grid_series_golden.inc).

Colours are 0xAARRGGBB pixels of the series' image (0 for a transparent NaN cell) and $00BBGGRR framework colours
for palette entries. Rounding is np.rint: ties to even.

Run: /usr/bin/python3 tests/data/gen_grid_series_golden.py
"""
import numpy as np

from golden import doubles, write

NAN, INF = np.nan, np.inf


def comps(c):
    return c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF


def argb(r, g, b):
    return (0xFF << 24) | (int(r) << 16) | (int(g) << 8) | int(b)


def argb_of(c):
    return argb(*comps(c))


def ramp_pixels(a, bottom, top):
    """palRange over the least and greatest finite element."""
    fin = a[np.isfinite(a)]
    mn, mx = fin.min(), fin.max()
    inv = 1.0 / (mx - mn) if mx != mn else 0.0
    c0 = np.array(comps(bottom), dtype=float)
    d = np.array(comps(top), dtype=float) - c0
    out = []
    for v in a.ravel():
        if np.isnan(v):
            out.append(0)
        elif v == INF or (inv == 0 and v != -INF):
            out.append(argb_of(top))
        elif v == -INF:
            out.append(argb_of(bottom))
        else:
            t = (v - mn) * inv
            rgb = np.clip(np.rint(t * d) + c0, 0, 255)
            out.append(argb(*rgb))
    return out


def range_custom_pixels(a, pal):
    vals = np.array([p[0] for p in pal])
    L = len(pal)
    span = vals[-1] - vals[0]
    scale = L / span if span != 0 else float(L)
    out = []
    for v in a.ravel():
        if np.isnan(v):
            out.append(0)
        elif np.isinf(v):
            out.append(argb_of(pal[-1][1] if v > 0 else pal[0][1]))
        else:
            x = np.clip((v - vals[0]) * scale, 0, L - 1)
            out.append(argb_of(pal[int(np.trunc(x))][1]))
    return out


def custom_pixels(a, pal):
    out = []
    for v in a.ravel():
        if np.isnan(v):
            out.append(0)
            continue
        k = next((i for i, p in enumerate(pal) if p[0] >= v), len(pal) - 1)
        out.append(argb_of(pal[k][1]))
    return out


def ramp_palette(mn, mx, steps, bottom, top):
    g = 1.0 / (steps - 1)
    c0 = np.array(comps(bottom), dtype=float)
    d = np.array(comps(top), dtype=float) - c0
    values, colours = [], []
    for i in range(steps):
        values.append(i * ((mx - mn) * g) + mn)
        r, gg, b = np.clip(np.rint((i * g) * d) + c0, 0, 255).astype(int)
        colours.append(int(r) | int(gg) << 8 | int(b) << 16)
    return values, colours


# A 4 x 3 matrix: ties of the ramp in both directions, NaN and both infinities.
RAMP = np.array([[0, 0.5, 1], [0.25, NAN, 0.75], [INF, -INF, 0.125], [0.625, 0.375, 0.875]])
NAVY, WHITE, SMALL = 0x800000, 0xFFFFFF, 0x0A0604
RANGE_CUSTOM = np.array([[0, 10, 13], [19.9, 20, 30], [NAN, INF, -INF], [12.49, 12.5, 5]])
RANGE_PALETTE = [(10, 0x000010), (12.5, 0x002000), (15, 0x300000), (17.5, 0x404040), (20, 0x0000FF)]
CUSTOM = np.array([[0, 3, 7], [1, 5, NAN], [INF, -INF, 4.99], [1.0001, -7, 5.0]])
CUSTOM_PALETTE = [(1, 0x0000FF), (5, 0x008000)]


def thinned_points():
    """1000 values on a chart 100 pixels wide: PixelDownSample at 300 gives groups of 3 (the last holds one value);
    a group holding a NaN gives NaN for both, and DrawValues drops those points. x = k·1000·Step/668 with Step 2."""
    rng = np.random.default_rng(42)
    y = np.round(rng.uniform(-100, 100, 1000), 3)
    y[[5, 17, 18, 999]] = NAN
    y[400] = INF
    groups = [y[i:i + 3] for i in range(0, 999, 3)] + [y[999:]]
    pairs = np.ravel([(np.max(g), np.min(g)) for g in groups])
    assert pairs.size == 668
    step = 1000 * 2.0 / pairs.size
    keep = np.isfinite(pairs)
    x = np.arange(pairs.size)[keep] * step
    return y, x, pairs[keep]


def pixel_table(name, pixels):
    return "const std::vector<QRgb> %s = {%s};" % (name, ", ".join("0x%08X" % p for p in pixels))


def palette_table(name, pal):
    return "const TPaletteList %s = {%s};" % (name, ", ".join("{%s, 0x%06X}" % (float(v).hex(), c) for v, c in pal))


def main():
    values, colours = ramp_palette(0.0, 9.0, 10, NAVY, WHITE)
    y, x, points = thinned_points()
    write("grid_series_golden.inc", [
        "const std::vector<double> kRampMatrix = " + doubles(RAMP) + ";  // 4 x 3",
        pixel_table("kRampDefault", ramp_pixels(RAMP, NAVY, WHITE)),
        pixel_table("kRampSmall", ramp_pixels(RAMP, 0, SMALL)) + "  // bottom 0, top $0A0604",
        "const std::vector<double> kRangeCustomMatrix = " + doubles(RANGE_CUSTOM) + ";",
        palette_table("kRangeCustomPalette", RANGE_PALETTE),
        pixel_table("kRangeCustom", range_custom_pixels(RANGE_CUSTOM, RANGE_PALETTE)),
        "const std::vector<double> kCustomMatrix = " + doubles(CUSTOM) + ";",
        palette_table("kCustomPalette", CUSTOM_PALETTE),
        pixel_table("kCustom", custom_pixels(CUSTOM, CUSTOM_PALETTE)),
        "// BuildPalette over 0 .. 9 in 10 steps from navy to white.",
        "const std::vector<double> kPaletteValues = " + doubles(values) + ";",
        "const std::vector<TColor> kPaletteColours = {%s};" % ", ".join("0x%06X" % c for c in colours),
        "// DrawValues of 1000 values (Step 2) on a chart 100 pixels wide: the points plotted.",
        "const std::vector<double> kThinInput = " + doubles(y) + ";",
        "const std::vector<double> kThinX = " + doubles(x) + ";",
        "const std::vector<double> kThinY = " + doubles(points) + ";",
    ])


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Writes the golden tables of the vector element-wise tests (sums, complex parts, data movement) from numpy as
C++ arrays, through the writer of golden.py (hexadecimal literals: the tables hold exactly the Doubles numpy
computed). The inputs include signed zeros, tiny and huge parts so that phases and magnitudes are pinned at their
edges.

Run: /usr/bin/python3 tests/data/gen_elem_golden.py   (writes elem_golden.inc next to this script)
"""
import numpy as np

from golden import cplx, doubles, lit, write

rng = np.random.default_rng(7)
lines = []


def table(name, a):
    lines.append(f"inline const std::vector<double> {name} = {doubles(a)};")


N = 9
x = rng.uniform(-10, 10, N)
x[2] = -0.0
x[5] = 0.0
y = rng.uniform(-10, 10, N)
z = rng.uniform(-10, 10, N) + 1j * rng.uniform(-10, 10, N)
# Signed zeros and extreme parts: the phase is atan2(Im, Re) with the signs of zeros respected.
z[0] = complex(-1.0, -0.0)
z[1] = complex(-1.0, 0.0)
z[2] = complex(-0.0, 0.0)
z[3] = complex(-0.0, -0.0)
z[4] = complex(1e200, 1e200)
z[5] = complex(3e-200, -4e-200)
z[6] = complex(3.0, 4.0)
w = rng.uniform(-10, 10, N) + 1j * rng.uniform(-10, 10, N)
alpha = 2.5
calpha = complex(1.5, -2.0)

lines.append(f"inline constexpr int kElemN = {N};")
lines.append(f"inline constexpr double kElemAlpha = {lit(alpha)};")
lines.append(f"inline constexpr double kElemCAlphaRe = {lit(calpha.real)};")
lines.append(f"inline constexpr double kElemCAlphaIm = {lit(calpha.imag)};")
table("kElemX", x)
table("kElemY", y)
table("kElemZ", z)
table("kElemW", w)
# Sums: plain, scaled (real and complex factor), mixed kinds (a real operand adds to the real parts only).
table("kElemXplusY", x + y)
table("kElemXplusAlphaY", x + alpha * y)
table("kElemZplusW", z + w)
table("kElemZplusCAlphaW", z + calpha * w)
table("kElemZplusX", z + x)
table("kElemXplusZ", x + z)
# Complex parts.
table("kElemConjZ", np.conj(z))
table("kElemMagZ", np.abs(z))
table("kElemPhaseZ", np.angle(z))
with np.errstate(over="ignore"):
    table("kElemPowerZ", z.real * z.real + z.imag * z.imag)
table("kElemRealZ", z.real)
table("kElemImagZ", z.imag)
table("kElemPolarXY", cplx(x * np.cos(y), x * np.sin(y)))
table("kElemExpjY", cplx(np.cos(y), np.sin(y)))
table("kElemFlipZ", cplx(z.imag, z.real))
table("kElemFlipConjZ", cplx(z.imag, -z.real))
table("kElemMulIZ", cplx(-z.imag, z.real))
# A real X: 0 + i·x (Flip, MulI) and 0 - i·x (FlipConj).
table("kElemFlipX", cplx(np.zeros(N), x))
table("kElemFlipConjX", cplx(np.zeros(N), -x))

# Data movement on a ramp of 7 and on z.
ramp = np.arange(7.0)
lines.append("inline const std::vector<int> kElemRotateOffsets = {1, -1, 2, 7, -5, 0, 13, -13, -2147483647};")
for i, k in enumerate([1, -1, 2, 7, -5, 0, 13, -13, -2147483647]):
    table(f"kElemRotate{i}", np.roll(ramp, k))
table("kElemReverseZ", z[::-1])
# Gather by increment (Increment 3, Offset 1: length 7 div 3) and by mask, Scatter by increment.
table("kElemGatherInc", ramp[1::3][: 7 // 3])
mask = np.array([1.0, 0.0, 2.0, -1.0, 0.5, 0.0, 3.0])
table("kElemMask", mask)
table("kElemGatherMask", ramp[mask > 0])
table("kElemGatherMaskZ", z[:7][mask > 0])
idx = np.array([6.0, 0.0, 2.4, 2.6, 5.5, 4.5])  # rounded to the nearest integer, ties to even
table("kElemIndexes", idx)
table("kElemGatherVec", ramp[np.rint(idx).astype(int)])
scattered = np.full(9, -1.0)
scattered[2::3] = ramp[:3]
table("kElemScatterInc", scattered)
write("elem_golden.inc", lines)

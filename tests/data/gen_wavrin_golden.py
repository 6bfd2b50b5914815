#!/usr/bin/python3
"""Golden values for the signal library and lapack's 2-D FFT, from numpy/scipy.

Inputs come from a 64-bit linear congruential generator whose values are exact Doubles, so the C++ tests
rebuild them bit for bit (tests/platform/GoldenInput.h). The tables go through the writer of golden.py.

Run: /usr/bin/python3 tests/data/gen_wavrin_golden.py   (writes wavrin_fft.inc, wavrin_misc.inc and
fft2d_golden.inc next to this script)
"""
import numpy as np
import scipy.fft
import scipy.signal

from golden import lit, write

MASK = (1 << 64) - 1


def lcg(seed, count):
    """count values in [-0.5, 0.5): ((state >> 11) / 2^53) - 0.5 after each step of the generator."""
    s = seed & MASK
    out = np.empty(count)
    for i in range(count):
        s = (s * 6364136223846793005 + 1442695040888963407) & MASK
        out[i] = (s >> 11) / 9007199254740992.0 - 0.5
    return out


def arr(name, values, ctype="double"):
    body = ", ".join(lit(v) if ctype == "double" else str(int(v)) for v in values)
    return f"static const {ctype} {name}[] = {{{body}}};\n"


def probe_indices(count, limit):
    return [(i * 2654435761 + 7) % limit for i in range(count)]


def fft_tables():
    out = ["struct FftGolden {\n  int order;\n  int idx[8];\n  double cplx[16];    // fft of the complex input at idx\n",
           "  double real[16];    // rfft of the real input at idx mod (N/2 + 1)\n",
           "  double ccs[8];      // forward transform of the packed input, real result at idx\n",
           "  double iccs[8];     // irfft of the packed input at idx\n};\n",
           "static const FftGolden kFftGolden[] = {\n"]
    for order in range(1, 17):
        n = 1 << order
        v = lcg(1000 + order, 2 * n)
        z = v[0::2] + 1j * v[1::2]
        x = lcg(2000 + order, n)
        p = lcg(3000 + order, n + 2)
        packed = p[0::2] + 1j * p[1::2]
        packed[0] = packed[0].real
        packed[-1] = packed[-1].real
        full = np.concatenate([packed, np.conj(packed[-2:0:-1])])
        Z = np.fft.fft(z)
        R = np.fft.rfft(x)
        C = np.fft.fft(full).real
        I = np.fft.irfft(packed, n)
        idx = probe_indices(8, n)
        ridx = [k % (n // 2 + 1) for k in idx]
        cp = [c for k in idx for c in (Z[k].real, Z[k].imag)]
        rp = [c for k in ridx for c in (R[k].real, R[k].imag)]
        out.append("  {%d, {%s}, {%s}, {%s}, {%s}, {%s}},\n" % (
            order, ", ".join(map(str, idx)), ", ".join(map(lit, cp)), ", ".join(map(lit, rp)),
            ", ".join(lit(C[k]) for k in idx), ", ".join(lit(I[k]) for k in idx)))
    out.append("};\n")
    # Full small transforms for the DCT (scipy's orthonormal DCT-II and its inverse).
    for n in (1, 2, 5, 8, 13):
        x = lcg(4000 + n, n)
        out.append(arr(f"kDct{n}", scipy.fft.dct(x, type=2, norm="ortho")))
        out.append(arr(f"kIdct{n}", scipy.fft.idct(x, type=2, norm="ortho")))
    write("wavrin_fft.inc", out, "1-D FFT values from numpy.fft.")


def misc_tables():
    out = []
    a = lcg(11, 1000) * 8.0
    b = lcg(12, 1000) * 3.0
    ca = a[0::2] + 1j * a[1::2]
    cb = b[0::2] + 1j * b[1::2]
    out.append(arr("kStats", [a.mean(), a.max(), int(a.argmax()), a.min(), int(a.argmin()),
                              np.abs(a - b).max(), np.abs(a - b).sum(), np.linalg.norm(a - b),
                              np.abs(a).max(), np.abs(a).sum(), np.linalg.norm(a),
                              np.linalg.norm(a - b, 1) / np.linalg.norm(b, 1), np.dot(a, b)]))
    cd = np.dot(ca, cb)
    zm = ca.mean()
    out.append(arr("kCplxStats", [zm.real, zm.imag, np.abs(ca - cb).max(), np.abs(ca - cb).sum(),
                                  np.linalg.norm(ca - cb), np.linalg.norm(ca - cb) / np.linalg.norm(cb),
                                  cd.real, cd.imag]))
    # Convolution and correlation of short sequences (lengths 7 and 4).
    x = lcg(21, 14)
    h = lcg(22, 8)
    xr, hr = x[:7], h[:4]
    xc, hc = x[0::2] + 1j * x[1::2], h[0::2] + 1j * h[1::2]
    cplx = lambda z: [c for v in z for c in (v.real, v.imag)]
    out.append(arr("kConvRR", np.convolve(xr, hr)))
    out.append(arr("kConvCC", cplx(np.convolve(xc, hc))))
    out.append(arr("kConvCR", cplx(np.convolve(xc, hr))))
    full = np.correlate(xc, xc, "full")[len(xc) - 1:]
    out.append(arr("kAutoCorrC", cplx(full[:5])))
    rfull = np.correlate(xr, xr, "full")[len(xr) - 1:]
    out.append(arr("kAutoCorrR", list(rfull[:7]) + [rfull[k] / 7 for k in range(7)] +
                   [rfull[k] / (7 - k) for k in range(7)]))
    # Cross-correlation at lags -3 .. 5: lag k sits at index (len(b) - 1) + k of numpy's full result.
    cc = np.correlate(xr, hr, "full")
    out.append(arr("kCrossRR", [cc[len(hr) - 1 + k] for k in range(-3, 6)]))
    ccc = np.correlate(xc, hc, "full")
    out.append(arr("kCrossCC", cplx([ccc[len(hc) - 1 + k] for k in range(-3, 6)])))
    # 2-D convolution: x 3 rows by 4 columns, h 2 by 3.
    X = lcg(31, 12).reshape(3, 4)
    H = lcg(32, 6).reshape(2, 3)
    out.append(arr("kConv2DFull", scipy.signal.convolve2d(X, H, "full").ravel()))
    out.append(arr("kConv2DSame", scipy.signal.convolve2d(X, H, "same").ravel()))
    # IIR: b (3 taps) over a (3 taps), 12 samples, real and complex taps.
    bb, aa = lcg(41, 3), lcg(42, 3) + np.array([1.5, 0, 0])
    sig = lcg(43, 12)
    out.append(arr("kIirTaps", list(bb) + list(aa)))
    out.append(arr("kIirReal", scipy.signal.lfilter(bb, aa, sig)))
    bc, ac = bb + 1j * lcg(44, 3), aa + 1j * lcg(45, 3)
    zsig = sig + 1j * lcg(46, 12)
    out.append(arr("kIirCTaps", cplx(np.concatenate([bc, ac]))))
    out.append(arr("kIirCplx", cplx(scipy.signal.lfilter(bc, ac, zsig))))
    out.append(arr("kIirRealTapsCplxData", cplx(scipy.signal.lfilter(bb, aa, zsig))))
    # Goertzel at f = 0.1 over 50 samples: the DFT sum at that frequency.
    g = lcg(51, 50)
    gz = g + 1j * lcg(52, 50)
    w = np.exp(-2j * np.pi * 0.1 * np.arange(50))
    out.append(arr("kGoertz", cplx([np.sum(g * w), np.sum(gz * w)])))
    # G.711: the 256 decoded values of each law and the encoding as runs (first linear value, code) over
    # every 16-bit input.
    mu_dec = [mulaw_decode(c) for c in range(256)]
    a_dec = [alaw_decode(c) for c in range(256)]
    out.append(arr("kMuLawDecode", mu_dec, "int"))
    out.append(arr("kALawDecode", a_dec, "int"))
    for name, enc in (("MuLaw", mulaw_encode), ("ALaw", alaw_encode)):
        starts, codes, prev = [], [], None
        for s in range(-32768, 32768):
            c = enc(s)
            if c != prev:
                starts.append(s)
                codes.append(c)
                prev = c
        out.append(arr(f"k{name}RunStart", starts, "int"))
        out.append(arr(f"k{name}RunCode", codes, "int"))
    write("wavrin_misc.inc", out, "Statistics, norms, filters and G.711 from numpy/scipy.")


# G.711 from the standard's segment tables.
# µ-law works on the 14-bit magnitude m = |x| div 4 of a 16-bit sample x, clipped at 8158. Segment s (0..7)
# starts at the decision value 2^(s+5) - 33 and has sixteen steps of 2^(s+1); the decoded value is the centre
# of the step. The sign bit is set for negative samples and the whole code is sent inverted.
# A-law works on the 13-bit sample v = x div 8 (floor), magnitude v or -v - 1. Segment 0 covers 0..31 and
# segment s >= 1 covers 2^(s+4) .. 2^(s+5) - 1, in sixteen steps (2 wide in segments 0 and 1, 2^s beyond);
# magnitudes above 4095 take the last code. The sign bit is set for positive samples and the code is sent
# with its even bits inverted (XOR 0x55).
def mulaw_encode(x):
    m = min(abs(x), 32635) >> 2
    for seg in range(8):
        lo, step = (1 << (seg + 5)) - 33, 2 << seg
        if m < lo + 16 * step or seg == 7:
            q = min((m - lo) // step, 15)
            break
    code = (seg << 4) | q | (0x80 if x < 0 else 0)
    return (~code) & 0xFF


def mulaw_decode(code):
    u = (~code) & 0xFF
    seg, q = (u >> 4) & 7, u & 15
    lo, step = (1 << (seg + 5)) - 33, 2 << seg
    y = 4 * (lo + q * step + step // 2)
    return -y if u & 0x80 else y


def alaw_seg(seg):
    lo = 0 if seg == 0 else 1 << (seg + 4)
    return lo, (2 if seg == 0 else 1 << seg)


def alaw_encode(x):
    v = x >> 3
    m = v if v >= 0 else -v - 1
    code = 0x7F
    for seg in range(8):
        lo, step = alaw_seg(seg)
        if m < lo + 16 * step:
            code = (seg << 4) | ((m - lo) // step)
            break
    return (code | (0x80 if v >= 0 else 0)) ^ 0x55


def alaw_decode(code):
    a = code ^ 0x55
    seg, q = (a >> 4) & 7, a & 15
    lo, step = alaw_seg(seg)
    y = 8 * (lo + q * step + step // 2)
    return y if a & 0x80 else -y


# Anchors from the standard: the µ-law segment ends and extreme outputs, the A-law extreme outputs.
assert [(1 << (s + 6)) - 33 - 1 for s in range(8)] == [30, 94, 222, 478, 990, 2014, 4062, 8158]
assert mulaw_decode(0x80) == 32124 and mulaw_decode(0x00) == -32124 and mulaw_encode(0) == 0xFF
assert alaw_decode(0xAA) == 32256 and alaw_decode(0x2A) == -32256 and alaw_encode(0) == 0xD5


def fft2d_tables():
    out = []
    for m, n in ((4, 8), (16, 32)):
        v = lcg(100 + m, 2 * m * n)
        z = (v[0::2] + 1j * v[1::2]).reshape(m, n)
        Z = np.fft.fft2(z)
        out.append(arr(f"kZ2In_{m}x{n}", v))
        out.append(arr(f"kZ2Out_{m}x{n}", [c for w in Z.ravel() for c in (w.real, w.imag)]))
        x = lcg(200 + m, m * n).reshape(m, n)
        R = np.fft.rfft2(x)
        out.append(arr(f"kR2In_{m}x{n}", x.ravel()))
        out.append(arr(f"kR2Out_{m}x{n}", [c for w in R.ravel() for c in (w.real, w.imag)]))
    write("fft2d_golden.inc", out, "2-D FFTs from numpy.fft (row-major m by n).")


if __name__ == "__main__":
    fft_tables()
    misc_tables()
    fft2d_tables()

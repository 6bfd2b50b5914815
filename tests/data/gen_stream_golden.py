#!/usr/bin/python3
"""Golden streams of vectors and matrices, written byte by byte with Python's struct and numpy, for
tests/core/test_stream.cpp. Every stream is compared both ways: what the library writes must equal these bytes, and
reading these bytes must give the object back.

Encodings: the integer types round by the rounding (trunc toward zero, floor toward minus infinity, rint to nearest
with ties to even) and clip to the type's range, as numpy's astype after np.clip; G.711 µ-law and A-law come from
audioop on 16-bit samples (the Double rounded to nearest, ties to even, and clipped to -32768 .. 32767 first; see
encode for the low bits of negative µ-law samples).

Run: /usr/bin/python3 tests/data/gen_stream_golden.py   (writes stream_golden.inc next to this script)
"""
import struct
import warnings

import numpy as np

from golden import lit, write

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    import audioop

PRECISIONS = ["prDouble", "prSingle", "prInteger", "prCardinal", "prSmallInt", "prWord", "prShortInt", "prByte",
              "prMuLaw", "prALaw"]
ROUNDINGS = ["rnTrunc", "rnTruncNeg", "rnRound"]
INTS = {"prInteger": "<i4", "prCardinal": "<u4", "prSmallInt": "<i2", "prWord": "<u2", "prShortInt": "i1",
        "prByte": "u1"}


def encode(x, prec, rnd):
    x = np.asarray(x, dtype=float)
    if prec == "prDouble":
        return x.astype("<f8").tobytes()
    if prec == "prSingle":
        with np.errstate(over="ignore"):  # beyond the single range: infinity, as the conversion gives
            return x.astype("<f4").tobytes()
    if prec in INTS:
        r = {"rnTrunc": np.trunc, "rnTruncNeg": np.floor, "rnRound": np.rint}[rnd](x)
        info = np.iinfo(np.dtype(INTS[prec]))
        return np.clip(r, info.min, info.max).astype(INTS[prec]).tobytes()
    s = np.clip(np.rint(x), -32768, 32767)
    if prec == "prALaw":
        return audioop.lin2alaw(s.astype("<i2").tobytes(), 2)
    # µ-law codes the 14-bit magnitude |x| div 4 with the sign of x (the signal library's convention, as ITU-T's
    # reference code for -1 .. -3). audioop shifts the 16-bit sample right, which floors negative samples one step
    # further unless their two low bits are clear: it is handed the sample with those bits cleared, and the
    # negative samples of magnitude 0 (-1 .. -3), which it cannot tell from +0, take the negative zero code 0x7F.
    m = np.abs(s).astype(np.int64) >> 2
    codes = bytearray(audioop.lin2ulaw((np.sign(s) * 4 * m).astype("<i2").tobytes(), 2))
    for i in np.nonzero((s < 0) & (m == 0))[0]:
        codes[i] = 0x7F
    return bytes(codes)


def decode(b, prec):
    if prec == "prDouble":
        return np.frombuffer(b, "<f8").astype(float)
    if prec == "prSingle":
        return np.frombuffer(b, "<f4").astype(float)
    if prec in INTS:
        return np.frombuffer(b, INTS[prec]).astype(float)
    lin = audioop.ulaw2lin(b, 2) if prec == "prMuLaw" else audioop.alaw2lin(b, 2)
    return np.frombuffer(lin, "<i2").astype(float)


def numbers(values, complex_):
    v = np.asarray(values, dtype=complex if complex_ else float)
    if not complex_:
        return v
    out = np.empty(2 * v.size)
    out[0::2] = v.real
    out[1::2] = v.imag
    return out


def short_string(s):
    return struct.pack("<i", len(s)) + s.encode("latin-1")


def vec_stream(values, complex_, prec="prDouble", rnd="rnTrunc", tag=0, caption="", cond=1, version=150,
               magic=64019, extra=()):
    v = numbers(values, complex_)
    length = v.size // 2 if complex_ else v.size
    head = struct.pack("<11f", int(complex_), length, 0, cond, PRECISIONS.index(prec), version, 8, tag, magic, 0, 0)
    body = short_string(caption) if version > 104 else b""
    return head + body + (encode(np.concatenate([v, extra]), prec, rnd) if length else b"")


def mtx_stream(rows, cols, values, complex_, prec="prDouble", rnd="rnTrunc", tag=0, caption="", auto=0, eig=0,
               balance=3, cond=1, condnum=0, refine=0, form=1, unit=0, sup=0, sub=0, version=150):
    head = struct.pack("<26f", int(complex_), rows, cols, int(rows == cols), auto, eig, balance, cond, condnum,
                       PRECISIONS.index(prec), refine, form, unit, sup, sub, 8, version, tag, 64019, 0, 0, 0, 0, 0,
                       0, 0)
    body = short_string(caption) if version > 104 else b""
    return head + body + (encode(numbers(values, complex_), prec, rnd) if rows * cols else b"")


def blob(b):
    return "{" + ", ".join("0x%02x" % c for c in b) + "}"


# Values at the rounding and saturation edges of every encoding (NaN is not among them: numpy leaves its integer
# conversion undefined).
EDGES = [-1e10, -4294967296.0, -2147483648.5, -2147483648.0, -65536.0, -32768.5, -32767.5, -256.0, -129.0, -128.5,
         -127.5, -2.5, -1.5, -1.0, -0.5, -0.0, 0.0, 0.25, 0.5, 1.5, 2.5, 3.7, 126.5, 127.5, 128.0, 254.5, 255.5,
         256.0, 1000.0, 8158.0, 32766.5, 32767.5, 32768.0, 65534.5, 65535.5, 65536.0, 2147483646.5, 2147483647.5,
         4294967294.5, 4294967295.5, 4294967296.0, 1e10, 1e300, -1e300, 3.4028235677973366e38, 1e-50]

lines = []
lines.append("static const double kEdges[] = {%s};" % ", ".join(lit(v) for v in EDGES))
lines.append("struct EncodingGolden { TPrecision precision; TRounding rounding; std::vector<unsigned char> bytes; "
             "std::vector<double> back; };")
lines.append("static const EncodingGolden kEncodings[] = {")
for prec in PRECISIONS:
    for rnd in ROUNDINGS:
        b = encode(EDGES, prec, rnd)
        lines.append("  {%s, %s, %s, {%s}}," % (prec, rnd, blob(b), ", ".join(lit(v) for v in decode(b, prec))))
lines.append("};")

# Named streams: what the library writes for the objects the test builds, and what it reads back.
streams = {
    "kReal3": vec_stream([1.5, -2.0, 3.25], False, tag=7, caption="abc"),
    "kEmpty": vec_stream([], False),
    "kCplx2Single": vec_stream([1 + 2j, -0.1 + 3e38j], True, prec="prSingle", tag=-3, caption="z", cond=0),
    "kMtxSmallInt": mtx_stream(2, 2, [1.4 - 2.6j, 40000 + 0j, -40000.5 + 7j, 0.5 - 0.5j], True, prec="prSmallInt",
                               rnd="rnRound", tag=-5, caption="M", auto=1, eig=1, balance=2, cond=0, condnum=1,
                               refine=1, form=0, unit=1, sup=2, sub=1),
    "kMtxEmpty": mtx_stream(0, 3, [], False, caption="e"),
    # Old versions: no tag and no caption; vectors of 103 and below carry two numbers past their values.
    "kVersion103": vec_stream([1.0, 2.0, 3.0], False, version=103, magic=0, tag=99, extra=[8.0, 9.0]),
    "kVersion103Cplx": vec_stream([1 + 1j, 2 - 2j], True, prec="prSmallInt", version=103, magic=0, extra=[8, 9]),
    "kVersion104": vec_stream([4.0, 5.0], False, version=104, magic=0, tag=99),
    "kMtxVersion103": mtx_stream(1, 2, [6.0, 7.0], False, version=103, tag=99),
    "kMagic64018": vec_stream([1.0], False, magic=64018),
    # A caption of 300 characters, then a second vector: the reader keeps 254 and skips the rest.
    "kLongCaption": vec_stream([1.0, 2.0], False, caption="".join(chr(65 + i % 26) for i in range(300)))
    + vec_stream([5.0], False, caption="next"),
    # List streams (TVecList, TMtxList): a 32-bit count, then each item's stream (prDouble, rnTrunc).
    "kListEmpty": struct.pack("<i", 0),
    "kListVec": struct.pack("<i", 2) + vec_stream([1.5, -2.0, 3.25], False, tag=7, caption="abc")
    + vec_stream([1 + 2j, complex(0, -0.5)], True),
    "kListMtx": struct.pack("<i", 2) + mtx_stream(2, 2, [1.0, -2.0, 0.5, 4.0], False, tag=3, caption="A")
    + mtx_stream(1, 2, [1j, 2 - 1j], True),
}
for name, b in streams.items():
    lines.append("static const std::vector<unsigned char> %s = %s;" % (name, blob(b)))
write("stream_golden.inc", lines, "Edge values and their encodings, then named streams (bytes).")

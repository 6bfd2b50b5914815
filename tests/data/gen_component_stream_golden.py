#!/usr/bin/python3
"""The component record of a TMtxOptimization, encoded with Python's struct and numpy's float64 bytes, for
tests/components/test_tarnel_tools.cpp. The record is cut where its two vectors go: the test joins the pieces with the
vector streams kReal3 and kEmpty of stream_golden.inc, so the vectors' own format is written in one place only.

Record: int32 length + class name; uint16 version 1; per property uint8 1, int32 length + name, uint8 kind, int32
payload length, payload; uint8 0. A vector property (kind 6) holds its own body: version, "DataValues" (kind 7) with
the vector's stream, end tag.

Run: /usr/bin/python3 tests/data/gen_component_stream_golden.py   (writes component_stream_golden.inc next to it)
"""
import struct

import numpy as np

from golden import write

PK_INTEGER, PK_DOUBLE, PK_BOOLEAN, PK_ENUMERATION, PK_STRING, PK_OBJECT, PK_BINARY = range(1, 8)


def short_string(s):
    return struct.pack("<i", len(s)) + s.encode("latin-1")


def prop(name, kind, payload):
    return b"\x01" + short_string(name) + struct.pack("<Bi", kind, len(payload)) + payload


def double(x):
    return np.float64(x).astype("<f8").tobytes()


def vec_stream_length(n, caption):
    """Bytes of a real vector's prDouble stream: the 44-byte header, the caption record, the values."""
    return 44 + 4 + len(caption) + 8 * n


def vector_prop_head(name, stream_length):
    """A vector property up to where the vector's stream goes; the end tag of its body follows the stream."""
    body_length = 2 + 1 + len(short_string("DataValues")) + 1 + 4 + stream_length + 1
    return (b"\x01" + short_string(name) + struct.pack("<Bi", PK_OBJECT, body_length) + struct.pack("<H", 1)
            + b"\x01" + short_string("DataValues") + struct.pack("<Bi", PK_BINARY, stream_length))


# Dirty False, optConjGradPR, MaxIterations 500 (its declared default: left out), Tolerance -0, VariableParameters
# kReal3 ([1.5, -2, 3.25], tag 7, "abc"), ConstantParameters kEmpty, Lambda0 NaN, GradTolerance 1e-310, SoftSearch
# True (default: left out), StopReason OptResNotFound, NumericGradMethod numRichardson (default: left out).
pieces = [
    short_string("TMtxOptimization") + struct.pack("<H", 1)
    + prop("Dirty", PK_BOOLEAN, b"\x00")
    + prop("OptimizationMethod", PK_ENUMERATION, struct.pack("<i", 5))
    + prop("Tolerance", PK_DOUBLE, double(-0.0))
    + vector_prop_head("VariableParameters", vec_stream_length(3, "abc")),
    b"\x00" + vector_prop_head("ConstantParameters", vec_stream_length(0, "")),
    b"\x00"
    + prop("Lambda0", PK_DOUBLE, double(np.nan))
    + prop("GradTolerance", PK_DOUBLE, double(1e-310))
    + prop("StopReason", PK_ENUMERATION, struct.pack("<i", 0))
    + b"\x00",
]
assert pieces[0][:4] == b"\x10\x00\x00\x00"
assert double(np.nan) == bytes.fromhex("000000000000f87f")

lines = ["static const std::vector<unsigned char> kOptPieces[] = {"]
lines += ["  {" + ", ".join("0x%02x" % c for c in p) + "}," for p in pieces]
lines.append("};")
write("component_stream_golden.inc", lines, "A TMtxOptimization record in three pieces around kReal3 and kEmpty.")

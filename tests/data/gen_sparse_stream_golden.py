#!/usr/bin/python3
"""Golden streams of sparse matrices, written byte by byte with Python's struct and numpy, for
tests/sparse/test_sparse_stream.cpp. Each stream is checked both ways: what the library writes must equal these bytes,
and reading these bytes must give the matrix described next to them (pattern from scipy.sparse's compressed columns,
values and Tolerance as the stream's precision gives them back).

Layout: 21 little-endian singles (0, ReportLevel, AutoPattern, RefinmentIters, SparseSystem, IterativeMethod, Cols,
NonZeros, 150, Rows, BlockSize, ConvergenceCheck, Tolerance, MaxIters, VectorCount, six zeros), the row indices and
the column pointers as int32, the value vector's stream (44-byte header of singles: complex, length, 0, condition
check 1, precision, 150, 8, tag 0, 64019, 0, 0; an empty caption record; the values), then the caption record (int32
length, the characters).

Run: /usr/bin/python3 tests/data/gen_sparse_stream_golden.py   (writes sparse_stream_golden.inc next to this script)
"""
import struct

import numpy as np
import scipy.sparse as sp

from golden import lit, numbers, write

PRECISIONS = {"prDouble": ("<f8", 0), "prSingle": ("<f4", 1)}


def short_string(s):
    return struct.pack("<i", len(s)) + s.encode("latin-1")


def vec_stream(values, complex_, prec):
    dtype, ordinal = PRECISIONS[prec]
    length = len(values)
    head = struct.pack("<11f", int(complex_), length, 0, 1, ordinal, 150, 8, 0, 64019, 0, 0)
    with np.errstate(over="ignore"):  # beyond the single range: infinity, as the conversion gives
        return head + short_string("") + numbers(values, complex_).astype(dtype).tobytes()


def settings_singles(s, rows, cols, nonzeros, version=150, spare=(0,) * 6, first=0):
    return struct.pack("<21f", first, s["report"], s["auto"], s["refine"], s["system"], s["method"], cols, nonzeros,
                       version, rows, s["block"], s["check"], s["tol"], s["maxiters"], s["vectors"], *spare)


def case(name, dense, prec, settings, caption, saved=True, back_settings=None, **header):
    """One row: the stream of the matrix with these entries and settings, and what reading it gives."""
    a = sp.csc_matrix(dense)
    a.sort_indices()
    complex_ = np.iscomplexobj(dense)
    values = a.data.astype(complex if complex_ else float)
    rows, cols = a.shape
    stream = (settings_singles(settings, rows, cols, a.nnz, **header)
              + a.indices.astype("<i4").tobytes() + a.indptr.astype("<i4").tobytes()
              + vec_stream(values, complex_, prec) + short_string(caption))
    dtype = PRECISIONS[prec][0]
    with np.errstate(over="ignore"):  # beyond the single range: infinity, as the conversion gives
        back = numbers(values, complex_).astype(dtype).astype(float)
    b = back_settings or settings
    ints = [b[k] for k in ("report", "auto", "refine", "system", "method", "block", "check", "maxiters", "vectors")]
    return ("  {\"%s\", %s, %s, %d, %d, %s, {%s}, {%s}, {%s}, {%s}, {%s}, %s, %s, \"%s\", %s},"
            % (name, prec, "true" if saved else "false", rows, cols, "true" if complex_ else "false",
               ", ".join(map(str, a.indptr)), ", ".join(map(str, a.indices)),
               ", ".join(lit(v) for v in numbers(values, complex_)), ", ".join(lit(v) for v in back),
               ", ".join(map(str, ints)), lit(settings["tol"]), lit(np.float32(settings["tol"])), caption,
               "{" + ", ".join("0x%02x" % c for c in stream) + "}"), stream)


SET = dict(report=3, auto=0, refine=1, system=2, method=7, block=16, check=1, tol=1e-10, maxiters=77, vectors=12)
OTHER = dict(report=2, auto=1, refine=2, system=0, method=0, block=32, check=0, tol=500 * 2.0 ** -52,
                maxiters=500, vectors=10)

# 3 x 3 real with an empty middle column; 2 x 4 complex with an empty first column; 0 entries in a 2 x 4 matrix.
REAL = np.array([[1.5, 0, 0], [0, 0, 1 / 3], [-2, 0, 4]])
CPLX = np.array([[0, 1 - 2j, 0, -0.1 + 1e-300j], [0, 0, 3.5j, 2 + 0j]])
SINGLE = np.array([[0.1, 0], [0, -1 / 3], [1e39, 7]])

rows = []
streams = {}
for name, dense, prec, settings, caption in [
    ("real", REAL, "prDouble", SET, "pattern"),
    ("complex", CPLX, "prDouble", OTHER, ""),
    ("single", SINGLE, "prSingle", SET, "s"),
    ("no entries", np.zeros((2, 4)), "prDouble", OTHER, "none"),
]:
    line, streams[name] = case(name, dense, prec, settings, caption)
    rows.append(line)
# Read only: another version number, nonzero spare singles and settings stored as halves, which round to the nearest
# integer with ties to even (MaxIters 76.5 -> 76, RefinmentIters 2.5 -> 2, BlockSize 17.5 -> 18).
halves = dict(SET, maxiters=76.5, refine=2.5, block=17.5)
line, _ = case("version 149, halves", REAL, "prDouble", halves, "v", saved=False,
               back_settings=dict(SET, maxiters=76, refine=2, block=18), version=149, spare=(9, -1, 0, 0, 0, 2.5),
               first=3)
rows.append(line)

lines = ["struct SparseStreamGolden { const char* name; TPrecision precision; bool saved; int rows, cols; bool complex; "
         "std::vector<int> colPointers, rowIndices; std::vector<double> values, back; std::vector<int> settings; "
         "double tolerance, toleranceBack; const char* caption; std::vector<unsigned char> bytes; };",
         "// settings: ReportLevel, AutoPattern, RefinmentIters, SparseSystem, IterativeMethod, BlockSize, "
         "ConvergenceCheck, MaxIters, VectorCount",
         "static const SparseStreamGolden kSparseStreams[] = {"] + rows + ["};"]
# A file saved twice with Append: the real matrix, then the complex one.
lines.append("static const std::vector<unsigned char> kSparseAppended = {%s};"
             % ", ".join("0x%02x" % c for c in streams["real"] + streams["complex"]))
write("sparse_stream_golden.inc", lines, "Sparse matrix streams (bytes) and the matrices they hold.")

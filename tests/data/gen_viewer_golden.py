#!/usr/bin/python3
"""The value viewer's files and clipboard text against numpy and scipy, for tests/components/test_tarnel_edit.cpp
(viewer_golden.inc): a tab-delimited text written by numpy.savetxt (with its final line break) and the Doubles it
holds, pasted by the viewer; and the matrices the viewer saves, which check_viewer_files.py reads back with
numpy.loadtxt (text) and scipy.io.mmread (MatrixMarket).

Run: /usr/bin/python3 tests/data/gen_viewer_golden.py
"""
import io

import numpy as np

from golden import cplx, doubles, write

# Values that need all 17 digits, signs, tiny and huge magnitudes.
SAVE_REAL = np.array([[1.0 / 3.0, -2.5, 1e-7, 123456.78901234568],
                      [0.1 + 0.2, -0.0, 1e20, 2.0 / 3.0],
                      [5.0, -1e-300, 7.25e-5, -987654321.125]])
SAVE_COMPLEX = cplx(np.array([[1.0 / 3.0, 0.0, -4.5], [1e-7, 2.0, -0.1]]),
                    np.array([[2.0 / 3.0, -1.0, 0.0], [1e15, -3.75, 0.3]]))


def paste_values():
    return np.random.default_rng(41).uniform(-1000.0, 1000.0, (4, 3))


def main():
    p = paste_values()
    buf = io.StringIO()
    np.savetxt(buf, p, delimiter="\t", fmt="%.17g")
    text = buf.getvalue()
    assert text.endswith("\n")
    write("viewer_golden.inc", [
        "// numpy.savetxt of a 4 x 3 matrix, tab-delimited, %.17g, a line break after every row.",
        "constexpr const char* kNumpyTabText = " + " ".join('"%s\\n"' % line.replace("\t", "\\t")
                                                            for line in text.splitlines()) + ";",
        "const std::vector<double> kNumpyTabValues = " + doubles(p) + ";",
        "// The matrices saved in the text and MatrixMarket forms (check_viewer_files.py reads the files).",
        "const std::vector<double> kSaveReal = " + doubles(SAVE_REAL) + ";",
        "const std::vector<double> kSaveComplex = " + doubles(SAVE_COMPLEX) + ";",
    ])


if __name__ == "__main__":
    main()

"""Shared timing for the Python peers: prints one JSON line per row, in the form bench/table.py reads.

bench/run.py sets the run through the environment: TARNEL_BENCH_FILTER (a regular expression; rows whose
"operation|size|side" it does not match are skipped), TARNEL_BENCH_REPETITIONS (timings per row, each of at least
TARNEL_BENCH_MIN_TIME seconds) and TARNEL_BENCH_DEFAULT_THREADS (the OpenBLAS thread count of the "default
threads" rows; every other row runs OpenBLAS on one thread, as OPENBLAS_NUM_THREADS=1 started it)."""
import ctypes
import contextlib
import json
import os
import re
import sys
import timeit

import numpy as np

FILTER = re.compile(os.environ.get("TARNEL_BENCH_FILTER", ""))
REPETITIONS = max(1, int(os.environ.get("TARNEL_BENCH_REPETITIONS", "3")))
MIN_TIME = float(os.environ.get("TARNEL_BENCH_MIN_TIME", "0.05"))


def emit(record):
    print(json.dumps(record))
    sys.stdout.flush()


def row(operation, size, fn, side="numpy", min_time=None, evals=None):
    """Times fn REPETITIONS times, each over enough calls to last MIN_TIME (or min_time seconds, for a row whose
    calls are long), and prints the time per call of each; with evals (called once, only for a row that runs) also
    how many evaluations of its objective one call of fn makes."""
    name = f"{operation}|{size}|{side}"
    if not FILTER.search(name):
        return
    timer = timeit.Timer(fn)
    number, _ = timer.autorange()  # calls that take at least 0.2 s: also warms caches and plans
    per_call = timer.timeit(number) / number
    number = max(1, int((min_time or MIN_TIME) / max(per_call, 1e-9)))
    samples = [t / number * 1e9 for t in timer.repeat(repeat=REPETITIONS, number=number)]
    record = {"name": name, "ns": samples}
    if evals is not None:
        record["evals"] = evals()
    emit(record)


def _openblas():
    """numpy's OpenBLAS, found among the libraries this process has loaded (None when it is another BLAS)."""
    np.dot(np.ones((2, 2)), np.ones((2, 2)))
    with open("/proc/self/maps") as maps:
        paths = sorted({line.split()[-1] for line in maps if "blas" in line.rsplit("/", 1)[-1]})
    for path in paths:
        try:
            lib = ctypes.CDLL(path)
            lib.openblas_get_config.restype = ctypes.c_char_p
            return lib
        except (OSError, AttributeError):
            continue
    return None


OPENBLAS = _openblas()


@contextlib.contextmanager
def default_threads():
    """Runs the rows inside at the OpenBLAS thread count a user gets by default."""
    count = int(os.environ.get("TARNEL_BENCH_DEFAULT_THREADS", "0")) or os.cpu_count() or 1
    if OPENBLAS:
        OPENBLAS.openblas_set_num_threads(count)
    try:
        yield
    finally:
        if OPENBLAS:
            OPENBLAS.openblas_set_num_threads(1)


# What the peers ran on, for the table's header.
emit({"context": {
    "numpy": np.__version__,
    "numpy_blas": OPENBLAS.openblas_get_config().decode() if OPENBLAS else "not OpenBLAS",
    "numpy_blas_threads": OPENBLAS.openblas_get_num_threads() if OPENBLAS else 0,
}})

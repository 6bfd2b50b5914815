"""Shared timing for the Python peers: prints one JSON line per row, in the form bench/table.py reads."""
import json
import sys
import timeit


def row(operation, size, fn, side="numpy", min_time=0.2):
    timer = timeit.Timer(fn)
    number, _ = timer.autorange()
    repeats = max(3, int(min_time / max(timer.timeit(number) / number, 1e-9) / number))
    best = min(timer.repeat(repeat=min(repeats, 7), number=number)) / number
    print(json.dumps({"name": f"{operation}|{size}|{side}", "ns": best * 1e9}))
    sys.stdout.flush()

"""Reads what bench/run.py measured (a folder of Google Benchmark JSON files and the peers' JSON lines, one pair per
round: r<round>-<program>.json, r<round>-peer-<group>.jsonl) and prints one table, also written as CSV.

Each row: operation, size, our median time, the spread of ours (slowest / fastest repetition), our rate, then for
each peer its median time, its rate and the ratio ours / peer (below 1: ours is faster). The ratio is the median
over the rounds of the ratio within each round, so that both sides of a ratio were measured minutes apart at most.
Rates: GFLOP/s for rows that declare operations, GB/s (bytes read plus written) for rows that declare bytes, each
with its share of this machine's limit measured in the same run (bench/bench_limits.cpp).

Usage: table.py FOLDER [CSV]"""
import csv
import json
import os
import platform
import re
import statistics
import subprocess
import sys
from collections import OrderedDict, defaultdict

UNIT = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
LIMIT = "limit: "
FILE = re.compile(r"r(\d+)-(.*)\.jsonl?$")


class Runs:
    """Every timing of every side of every row, by round; the work each row declares; the context both sides
    reported."""

    def __init__(self):
        self.samples = OrderedDict()  # (operation, size, side) -> {round: [ns, ...]}
        self.work = {}  # (operation, size) -> (flop, bytes) per call
        self.context = {}
        self.evals = {}  # (operation, size, side) -> evaluations of an objective per call, for rows that count them
        self.origin = {}  # operation -> the program (bench_<group>) that measured it first
        self.file_rank = ""

    def add(self, name, round_, ns):
        op, size, side = name.split("|")
        self.origin.setdefault(op, self.file_rank)
        self.samples.setdefault((op, size, side), defaultdict(list))[round_].append(ns)

    def load(self, folder):
        files = []
        for entry in os.listdir(folder):
            m = FILE.match(entry)
            if m:
                files.append((int(m.group(1)), m.group(2), os.path.join(folder, entry)))
        for round_, program, path in sorted(files):
            self.file_rank = program.removeprefix("peer-")
            with open(path) as f:
                text = f.read().strip()
            if path.endswith(".json"):
                self.load_google(json.loads(text) if text else {}, round_)
            else:
                for line in text.splitlines():
                    r = json.loads(line)
                    if "context" in r:
                        self.context.update(r["context"])
                    else:
                        for ns in r["ns"]:
                            self.add(r["name"], round_, ns)
                        if "evals" in r:
                            self.evals[tuple(r["name"].split("|"))] = r["evals"]

    def load_google(self, doc, round_):
        for key, value in doc.get("context", {}).items():
            self.context.setdefault(key, value)
        for b in doc.get("benchmarks", []):
            if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
                continue
            self.add(b["name"], round_, b["real_time"] * UNIT[b.get("time_unit", "ns")])
            op, size, side = b["name"].split("|")
            if "evals" in b:
                self.evals[(op, size, side)] = b["evals"]
            if "flop" in b or "bytes" in b:
                self.work[(op, size)] = (b.get("flop", 0.0), b.get("bytes", 0.0))

    def median(self, key):
        return statistics.median(ns for per_round in self.samples[key].values() for ns in per_round)

    def spread(self, key):
        every = [ns for per_round in self.samples[key].values() for ns in per_round]
        return max(every) / min(every)

    def ratio(self, ours, peer):
        """The median over rounds of ours / peer within a round."""
        a, b = self.samples[ours], self.samples[peer]
        per_round = [statistics.median(a[r]) / statistics.median(b[r]) for r in a if r in b]
        return statistics.median(per_round) if per_round else None


class Limits:
    """The machine's limits from the "limit: " rows: dgemm_ GFLOP/s on one and on the default threads, memcpy
    GB/s within and beyond the last-level cache."""

    def __init__(self, runs):
        self.gemm = {}  # "1 thread" / "default threads" -> GFLOP/s
        self.copy = []  # (bytes per call, GB/s)
        for (op, size, side) in runs.samples:
            if not op.startswith(LIMIT):
                continue
            flop, moved = runs.work.get((op, size), (0, 0))
            ns = runs.median((op, size, side))
            if flop:
                self.gemm["default threads" if "default threads" in op else "1 thread"] = flop / ns
            elif moved:
                self.copy.append((moved, moved / ns))
        self.copy.sort()
        caches = [c for c in runs.context.get("caches", []) if c.get("level") == 3]
        self.cache_bytes = caches[0]["size"] if caches else 32 << 20

    def of(self, op, flop, moved):
        """The limit a row's rate is compared with, or None."""
        if flop:
            return self.gemm.get("default threads" if "default threads" in op else "1 thread")
        if moved and self.copy:
            within = [rate for b, rate in self.copy if b <= self.cache_bytes]
            beyond = [rate for b, rate in self.copy if b > self.cache_bytes]
            if moved <= self.cache_bytes:
                return (within or beyond)[-1]
            return (beyond or within)[0]
        return None

    def header(self):
        parts = [f"dgemm_ n=2000 {k} {v:.1f} GFLOP/s" for k, v in sorted(self.gemm.items())]
        parts += [f"memcpy 1 thread {b / 2**20:.0f} MB moved {v:.1f} GB/s" for b, v in self.copy]
        return "; ".join(parts) or "not measured"


def fmt_time(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def rate(runs, limits, op, size, ns):
    """(value, unit, percent of the limit or None) for one side of a row, or None when the row declares no work."""
    flop, moved = runs.work.get((op, size), (0, 0))
    if not flop and not moved:
        return None
    value, unit = (flop / ns, "GFLOP/s") if flop else (moved / ns, "GB/s")
    limit = limits.of(op, flop, moved)
    return value, unit, (100 * value / limit if limit else None)


def fmt_rate(r):
    if r is None:
        return "-"
    value, unit, pct = r
    return f"{value:.3g} {unit.replace('GFLOP', 'GF')}" + (f" {pct:.0f}%" if pct is not None else "")


def header_lines(runs, limits, rounds, repetitions):
    c = runs.context
    commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], capture_output=True, text=True).stdout.strip()
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next(line.split(":", 1)[1].strip() for line in f if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    default = c.get("openblas_default_threads", "?")
    return [
        f"# commit {commit or '?'}, {c.get('date', '')}, {cpu}, {c.get('num_cpus', os.cpu_count())} CPUs, "
        f"load {c.get('load_avg', [])}",
        f"# ours: {c.get('openblas', 'OpenBLAS ?')}, {c.get('fftw', 'FFTW ?')}; OpenBLAS on 1 thread, "
        f"{default} in the \"default threads\" rows; {c.get('worker_threads', '?')} threads share long element-wise "
        f"work",
        f"# numpy {c.get('numpy', '?')} (Python {platform.python_version()}) on {c.get('numpy_blas', '?')}, "
        f"1 thread, {default} in the \"default threads\" rows; its FFT runs on one thread",
        f"# limits: {limits.header()}",
        f"# {rounds} rounds, ours and peers alternating per program, {repetitions} repetitions per side and round; "
        f"times are medians, spread = slowest/fastest of ours, ratio = median over rounds of ours/peer "
        f"(below 1: ours faster), % = share of the limit above (memcpy within or beyond the last-level cache)",
    ]


def print_evaluations(runs, order, rows):
    """For the rows whose sides count the evaluations of an objective (the minimisers): the counts, the time per
    evaluation of each side and the two ratios, so a row's ratio splits into how many evaluations each side makes
    and what each costs."""
    keys = [(op, size) for (op, size) in order if (op, size, "ours") in runs.evals]
    if not keys:
        return
    print()
    print("# evaluations per call (objective and derivative calls as each side counts them), time per evaluation; "
          "evals = ours/peer evaluations, per eval = ratio / evals (ours/peer time per evaluation)")
    head = (f"{'operation':<28} {'size':>8} {'ours evals':>10} {'ours/eval':>9}  {'peer':<20} {'peer evals':>10} "
            f"{'peer/eval':>9} {'evals':>7} {'per eval':>8}")
    print(head)
    print("-" * len(head))
    for (op, size) in keys:
        ours = (op, size, "ours")
        ours_evals = runs.evals[ours]
        ours_per = fmt_time(runs.median(ours) / ours_evals) if ours_evals else "-"
        for side in sorted(s for s in rows[(op, size)] if s != "ours"):
            peer_evals = runs.evals.get((op, size, side))
            if not peer_evals or not ours_evals:
                continue
            ratio = runs.ratio(ours, (op, size, side))
            evals_ratio = ours_evals / peer_evals
            per_eval = f"{ratio / evals_ratio:.3f}" if ratio else "-"
            print(f"{op:<28} {size:>8} {ours_evals:>10.6g} {ours_per:>9}  {side:<20} {peer_evals:>10.6g} "
                  f"{fmt_time(runs.median((op, size, side)) / peer_evals):>9} {evals_ratio:>7.3g} {per_eval:>8}")


def main():
    folder = sys.argv[1]
    csv_path = sys.argv[2] if len(sys.argv) > 2 else None
    runs = Runs()
    runs.load(folder)
    rounds = len({r for per in runs.samples.values() for r in per})
    repetitions = max((len(v) for per in runs.samples.values() for v in per.values()), default=0)
    limits = Limits(runs)
    for line in header_lines(runs, limits, rounds, repetitions):
        print(line)
    head = (f"{'operation':<28} {'size':>8} {'ours':>9} {'spread':>6} {'ours rate':>16}  {'peer':<20} "
            f"{'peer time':>9} {'peer rate':>16} {'ratio':>6}")
    print(head)
    print("-" * len(head))
    records = []
    # Programs in file order, and within each its operations by name and sizes from small to large (the programs
    # run their rows in random order); "ours" first, then the peers by name.
    rows = OrderedDict()
    for (op, size, side) in runs.samples:
        if not op.startswith(LIMIT):
            rows.setdefault((op, size), []).append(side)
    order = sorted(rows, key=lambda k: (runs.origin[k[0]], k[0], int(k[1])))
    for (op, size) in order:
        sides = sorted(rows[(op, size)], key=lambda side: (side != "ours", side))
        ours = (op, size, "ours")
        has_ours = "ours" in sides
        ours_ns = runs.median(ours) if has_ours else None
        ours_rate = rate(runs, limits, op, size, ours_ns) if has_ours else None
        spread = runs.spread(ours) if has_ours else None
        if has_ours:
            records.append((op, size, "ours", ours_ns, spread, ours_rate, None))
        for side in sides:
            if side == "ours":
                continue
            ns = runs.median((op, size, side))
            peer_rate = rate(runs, limits, op, size, ns)
            ratio = runs.ratio(ours, (op, size, side)) if has_ours else None
            records.append((op, size, side, ns, None, peer_rate, ratio))
            print(f"{op:<28} {size:>8} {fmt_time(ours_ns) if has_ours else '-':>9} "
                  f"{f'{spread:.2f}' if has_ours else '-':>6} {fmt_rate(ours_rate):>16}  {side:<20} "
                  f"{fmt_time(ns):>9} {fmt_rate(peer_rate):>16} {f'{ratio:.2f}' if ratio else '-':>6}")
    print_evaluations(runs, order, rows)
    if csv_path:
        with open(csv_path, "w", newline="") as f:
            w = csv.writer(f)
            w.writerow(["operation", "size", "side", "median_ns", "spread", "rate", "rate_unit", "percent_of_limit",
                        "ratio_ours_to_side"])
            for op, size, side, ns, spread, r, ratio in records:
                w.writerow([op, size, side, f"{ns:.6g}", f"{spread:.4g}" if spread else "",
                            f"{r[0]:.6g}" if r else "", r[1] if r else "",
                            f"{r[2]:.4g}" if r and r[2] is not None else "", f"{ratio:.4g}" if ratio else ""])


if __name__ == "__main__":
    main()

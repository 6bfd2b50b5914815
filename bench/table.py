"""Reads Google Benchmark JSON files and the peers' JSON lines, prints one table:
operation, size, ours, peer, ratio (ours / peer: below 1 means we are faster)."""
import json
import platform
import subprocess
import sys
from collections import OrderedDict

UNIT = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load(paths):
    times = OrderedDict()
    for p in paths:
        with open(p) as f:
            text = f.read().strip()
        if text.startswith("{") and '"benchmarks"' in text:
            for b in json.loads(text)["benchmarks"]:
                if b.get("run_type", "iteration") == "iteration":
                    times[b["name"]] = b["real_time"] * UNIT[b.get("time_unit", "ns")]
        else:
            for line in text.splitlines():
                if line.startswith("{"):
                    r = json.loads(line)
                    times[r["name"]] = r["ns"]
    return times


def fmt(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def main():
    times = load(sys.argv[1:])
    rows = OrderedDict()
    for name, ns in times.items():
        op, size, side = name.split("|")
        rows.setdefault((op, size), {})[side] = ns
    commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], capture_output=True, text=True).stdout.strip()
    print(f"# commit {commit or '?'}, {platform.machine()}, {platform.processor() or ''} "
          f"python {platform.python_version()}")
    header = f"{'operation':<28} {'size':>10} {'ours':>10} {'peer':<22} {'peer time':>10} {'ratio':>7}"
    print(header)
    print("-" * len(header))
    for (op, size), sides in rows.items():
        ours = sides.get("ours")
        for side, ns in sides.items():
            if side == "ours":
                continue
            ratio = f"{ours / ns:.2f}" if ours else "-"
            print(f"{op:<28} {size:>10} {fmt(ours) if ours else '-':>10} {side:<22} {fmt(ns):>10} {ratio:>7}")


if __name__ == "__main__":
    main()

"""Runs the benchmark programs and their Python peers in rounds and prints the table (bench/table.py).

Each program bench_<group> pairs with bench/peers/<group>.py. In every round each program runs with its rows'
repetitions, then its peer (the other way round in odd rounds), so the two sides of a row are measured close in
time even when other work on the machine comes and goes. bench_limits, the machine's limits for the header, runs in
every round whatever the filter.

Usage: run.py PROGRAM_LIST OUT_FOLDER CSV [--filter REGEX] [--rounds N] [--repetitions K] [--min-time SECONDS]"""
import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"  # Debian's Python, whose numpy runs on the system's OpenBLAS
LIMITS = "bench_limits"


def default_threads():
    """The OpenBLAS thread count a user gets: their own setting, else one per processor."""
    for var in ("OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS"):
        value = os.environ.get(var, "")
        if value.isdigit() and int(value) > 0:
            return value
    return str(os.cpu_count() or 1)


def matches(program, regex):
    listed = subprocess.run([program, "--benchmark_list_tests=true", f"--benchmark_filter={regex}"],
                            capture_output=True, text=True)
    return listed.returncode == 0 and listed.stdout.strip() != ""


def main():
    p = argparse.ArgumentParser()
    p.add_argument("programs")
    p.add_argument("out")
    p.add_argument("csv")
    p.add_argument("--filter", default="")
    p.add_argument("--rounds", type=int, default=3)
    p.add_argument("--repetitions", type=int, default=3)
    p.add_argument("--min-time", type=float, default=0.05)
    a = p.parse_args()

    env = dict(os.environ, TARNEL_BENCH_DEFAULT_THREADS=default_threads(), OPENBLAS_NUM_THREADS="1",
               TARNEL_BENCH_FILTER=a.filter, TARNEL_BENCH_REPETITIONS=str(a.repetitions),
               TARNEL_BENCH_MIN_TIME=str(a.min_time))
    with open(a.programs) as f:
        programs = [line.strip() for line in f if line.strip()]
    groups = []
    for program in programs:
        name = os.path.basename(program)
        regex = "" if name == LIMITS else a.filter
        if regex and not matches(program, regex):
            program = None
        peer = os.path.join(HERE, "peers", name.removeprefix("bench_") + ".py")
        peer = peer if os.path.exists(peer) else None
        if program or peer:
            groups.append((name, program, regex, peer))

    shutil.rmtree(a.out, ignore_errors=True)
    os.makedirs(a.out)
    for r in range(a.rounds):
        for name, program, regex, peer in groups:
            def ours():
                if not program:
                    return
                print(f"round {r + 1}/{a.rounds}: {name}", file=sys.stderr)
                with open(os.path.join(a.out, f"r{r}-{name}.json"), "w") as out:
                    subprocess.run([program, f"--benchmark_filter={regex}", f"--benchmark_repetitions={a.repetitions}",
                                    f"--benchmark_min_time={a.min_time}", "--benchmark_enable_random_interleaving=true",
                                    "--benchmark_format=json"], stdout=out, env=env, check=True)

            def theirs():
                if not peer:
                    return
                print(f"round {r + 1}/{a.rounds}: {os.path.basename(peer)}", file=sys.stderr)
                with open(os.path.join(a.out, f"r{r}-peer-{name}.jsonl"), "w") as out:
                    subprocess.run([PYTHON, os.path.basename(peer)], cwd=os.path.dirname(peer), stdout=out, env=env,
                                   check=True)

            for side in ((ours, theirs) if r % 2 == 0 else (theirs, ours)):
                side()
    table = subprocess.run([PYTHON, os.path.join(HERE, "table.py"), a.out, a.csv], capture_output=True, text=True,
                           check=True)
    with open(os.path.join(a.out, "table.txt"), "w") as f:
        f.write(table.stdout)
    sys.stdout.write(table.stdout)


if __name__ == "__main__":
    main()

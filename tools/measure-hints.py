#!/usr/bin/python3
"""Runs the hint benchmark and prints its figures as one table.

For every action type and field size (the random size too): the slowest hint, the 99th
percentile and the mean in ms of CPU time, over a fixed set of positions (each puzzle's start
and the start after 1 to 8 random changes), and the share of hints that take a change back. The machine's
load average is printed beside them: the times are CPU time, yet a busy machine still
stretches them a little (shared caches).

usage: tools/measure-hints.py [BENCHMARK] [--filter REGEX]
"""
import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_BENCHMARK = os.path.join(HERE, "..", "build", "default", "tests", "benchmarks",
                                 "hint_benchmark")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("benchmark", nargs="?", default=DEFAULT_BENCHMARK)
    parser.add_argument("--filter", default=".", help="which benchmarks, e.g. 5x5")
    args = parser.parse_args()
    if not os.access(args.benchmark, os.X_OK):
        sys.exit(f"{args.benchmark} is not built: cmake --build --preset default "
                 "--target hint_benchmark")
    load_before = os.getloadavg()
    out = subprocess.run([args.benchmark, "--benchmark_format=json",
                          f"--benchmark_filter={args.filter}"],
                         check=True, capture_output=True, text=True).stdout
    load_after = os.getloadavg()
    print(f"load average before {load_before[0]:.2f}, after {load_after[0]:.2f} "
          f"({os.cpu_count()} cores)")
    print(f"{'kind':<16}{'field':>6}{'max ms':>9}{'p99 ms':>9}{'mean ms':>9}"
          f"{'take back':>11}{'positions':>11}")
    for run in json.loads(out)["benchmarks"]:
        _, kind, field = run["name"].split("/")[:3]
        print(f"{kind:<16}{field:>6}{run['max_ms']:>9.2f}{run['p99_ms']:>9.2f}"
              f"{run['mean_ms']:>9.3f}{run['take_back']:>11.3f}{int(run['positions']):>11}")


if __name__ == "__main__":
    main()

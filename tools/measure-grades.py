#!/usr/bin/python3
"""Runs the grade benchmark and prints its figures as two tables.

Measured puzzles, for every action type and field size: the share of the generator's own
puzzles in each grade, and of trivial, tedious, unique (one figure) and loose (too many
solutions to list) ones, with the time of a full measure. Graded Next presses, for every
grade, action type and field size: the puzzles drawn for one, the share of those handed out
with one figure, and the CPU time of one press (p50, p99, slowest). The machine's load
average is printed beside them.

usage: tools/measure-grades.py [BENCHMARK] [--filter REGEX]
"""
import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_BENCHMARK = os.path.join(HERE, "..", "build", "default", "tests", "benchmarks",
                                 "grade_benchmark")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("benchmark", nargs="?", default=DEFAULT_BENCHMARK)
    parser.add_argument("--filter", default=".", help="which benchmarks, e.g. Draw/Hard")
    args = parser.parse_args()
    if not os.access(args.benchmark, os.X_OK):
        sys.exit(f"{args.benchmark} is not built: cmake --build --preset default "
                 "--target grade_benchmark")
    load_before = os.getloadavg()
    out = subprocess.run([args.benchmark, "--benchmark_format=json",
                          f"--benchmark_filter={args.filter}"],
                         check=True, capture_output=True, text=True).stdout
    load_after = os.getloadavg()
    print(f"load average before {load_before[0]:.2f}, after {load_after[0]:.2f} "
          f"({os.cpu_count()} cores)")
    runs = json.loads(out)["benchmarks"]
    measured = [r for r in runs if r["name"].startswith("Measure/")]
    drawn = [r for r in runs if r["name"].startswith("Draw/")]
    if measured:
        print(f"\n{'kind':<16}{'field':>7}" + "".join(
            f"{c:>9}" for c in ("easy", "medium", "hard", "trivial", "tedious", "unique",
                                "loose", "p99 ms", "max ms")))
        for run in measured:
            _, kind, field = run["name"].split("/")[:3]
            print(f"{kind:<16}{field:>7}" + "".join(
                f"{run[c]:>9.3f}" for c in ("easy", "medium", "hard", "trivial", "tedious",
                                            "unique", "loose", "p99_ms"))
                  + f"{run['max_ms']:>9.1f}")
    if drawn:
        print(f"\n{'grade':<8}{'kind':<16}{'field':>7}{'draws':>8}{'most':>7}{'unique':>8}"
              f"{'p50 ms':>8}{'p99 ms':>8}{'max ms':>8}")
        for run in drawn:
            _, grade, kind, field = run["name"].split("/")[:4]
            print(f"{grade:<8}{kind:<16}{field:>7}{run['draws']:>8.1f}"
                  f"{int(run['most_draws']):>7}{run['unique']:>8.2f}{run['p50_ms']:>8.2f}"
                  f"{run['p99_ms']:>8.2f}{run['max_ms']:>8.1f}")


if __name__ == "__main__":
    main()

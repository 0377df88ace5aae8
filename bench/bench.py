#!/usr/bin/python3
"""Times the workloads of workloads.py in Tesmora and in the peers a user
would otherwise pick (Python 3 with numpy, Octave, R), each program timing
its own work with its own clock, and prints three tables: per workload the
median milliseconds and Tesmora / best peer; W1 with 250 more variables;
the scaling of five workloads over three sizes with the peak memory of the
largest.

Usage: bench.py [--runner PATH] [--runs N] [--only W1,W3] [--no-scaling]
"""

import argparse
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from workloads import (EMPTY_PROGRAM, PROGRAMS, WORKLOADS,  # noqa: E402
                       many_variables_w1)

HERE = Path(__file__).resolve().parent
MIN_MS = 20.0        # a repetition shorter than this is repeated
MAX_REP = 2000
TIMEOUT_S = 600

PEERS = {
    "python": (["/usr/bin/python3"], ".py"),
    "octave": (["octave-cli", "--norc", "--no-gui"], ".m"),
    "r": (["Rscript", "--vanilla"], ".R"),
}


class Failed(Exception):
    pass


def available_peers():
    found = {}
    for name, (command, suffix) in PEERS.items():
        if shutil.which(command[0]):
            found[name] = (command, suffix)
    return found


def run_measured(command, cwd):
    """Runs a command; returns (stdout, peak resident kilobytes)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(command, stdout=out, stderr=err, cwd=cwd)
        deadline = time.monotonic() + TIMEOUT_S
        while True:
            pid, status, usage = os.wait4(process.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() > deadline:
                process.kill()
                os.wait4(process.pid, 0)
                raise Failed("timeout")
            time.sleep(0.002)
        process.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        text = out.read().decode("utf-8", "replace")
        if process.returncode != 0 and not last_number(text):
            raise Failed(err.read().decode("utf-8", "replace")[-300:])
        return text, usage.ru_maxrss


def last_number(text):
    for token in reversed(text.replace('"', " ").replace(",", " ").split()):
        try:
            value = float(token)
        except ValueError:
            continue
        if math.isfinite(value):
            return value
    return None


class Bench:
    def __init__(self, runner, runs):
        self.runner = runner
        self.runs = runs
        self.peers = available_peers()
        self.work = Path(tempfile.mkdtemp(prefix="tesmora-bench-"))

    def program_file(self, language, text, suffix):
        path = self.work / ("w_" + language + suffix)
        path.write_text(text, encoding="utf-8")
        return path

    def once(self, language, setup_body, size, rep):
        setup, body = setup_body
        text = PROGRAMS[language](setup, body)
        text = text.replace("@N@", str(size)).replace("@REP@", str(rep))
        if language == "tesmora":
            path = self.program_file(language, text, ".tsm")
            out, peak = run_measured([self.runner, "--json", str(path)], self.work)
            if '"ok":true' not in out.replace(" ", ""):
                raise Failed(out.strip()[:300])
        else:
            command, suffix = self.peers[language]
            path = self.program_file(language, text, suffix)
            out, peak = run_measured(command + [str(path)], self.work)
        ms = last_number(out)
        if ms is None:
            raise Failed("no time printed: " + out.strip()[:200])
        return ms, peak

    def median(self, language, setup_body, size):
        """Median milliseconds of one repetition, and the largest peak."""
        ms, peak = self.once(language, setup_body, size, 1)
        rep = 1
        if ms < MIN_MS:
            rep = min(MAX_REP, math.ceil(MIN_MS * 1.5 / max(ms, 0.01)))
        times = []
        for _ in range(self.runs):
            ms, run_peak = self.once(language, setup_body, size, rep)
            times.append(ms)
            peak = max(peak, run_peak)
        return statistics.median(times), peak, rep

    def empty_program(self, language):
        command = [self.runner if part == "@RUNNER@" else part
                   for part in EMPTY_PROGRAM[language]]
        times = []
        for _ in range(max(5, self.runs * 3)):
            start = time.perf_counter()
            run_measured(command, self.work)
            times.append((time.perf_counter() - start) * 1000)
        return statistics.median(times)


def languages(bench):
    return ["tesmora"] + list(bench.peers)


def cell(value):
    if value is None:
        return "—"
    if value >= 100:
        return f"{value:.0f}"
    if value >= 1:
        return f"{value:.1f}"
    return f"{value:.3f}"


def ratio(ours, peers):
    known = [v for v in peers if v is not None]
    if ours is None or not known:
        return "—", "—"
    best = min(known)
    return f"{ours / best:.2f}×", best


def try_median(bench, language, setup_body, size):
    try:
        return bench.median(language, setup_body, size)
    except Failed as error:
        print(f"  {language}: failed ({str(error).strip()[:160]})", file=sys.stderr)
        return None, None, None


def main_table(bench, only):
    names = languages(bench)
    header = "| workload | " + " | ".join(n + " ms" for n in names) + " | best peer | Tesmora / best |"
    print(header)
    print("|" + "---|" * (len(names) + 3))
    for w in WORKLOADS:
        if only and w.key not in only:
            continue
        values = {}
        for language in names:
            setup_body = getattr(w, {"tesmora": "tsm", "python": "py",
                                     "octave": "m", "r": "r"}[language])
            values[language], _, _ = try_median(bench, language, setup_body, w.size)
        shown, best = ratio(values["tesmora"], [values[p] for p in bench.peers])
        best_name = next((p for p in bench.peers if values[p] == best), "—")
        row = [f"{w.key} {w.title} (n = {w.size})"] + [cell(values[n]) for n in names]
        print("| " + " | ".join(row + [best_name, shown]) + " |", flush=True)
    if not only or "W14" in only:
        values = {n: bench.empty_program(n) for n in names}
        shown, best = ratio(values["tesmora"], [values[p] for p in bench.peers])
        best_name = next((p for p in bench.peers if values[p] == best), "—")
        row = ["W14 empty program, whole process"] + [cell(values[n]) for n in names]
        print("| " + " | ".join(row + [best_name, shown]) + " |", flush=True)


def variables_table(bench):
    w1 = WORKLOADS[0]
    print("\n| W1 (n = %d) | Tesmora ms | against plain W1 |" % w1.size)
    print("|---|---|---|")
    plain, _, _ = try_median(bench, "tesmora", w1.tsm, w1.size)
    print(f"| plain | {cell(plain)} | 1.00 |")
    for where in ("first", "last"):
        ms, _, _ = try_median(bench, "tesmora", many_variables_w1(where), w1.size)
        against = f"{ms / plain:.2f}" if ms and plain else "—"
        print(f"| 250 more variables defined {where} | {cell(ms)} | {against} |", flush=True)


def scaling_table(bench, only):
    names = languages(bench)
    print("\n| workload | n | " + " | ".join(n + " ms" for n in names) + " | Tesmora / best |")
    print("|" + "---|" * (len(names) + 3))
    peaks = []
    for w in WORKLOADS:
        if not w.scaling or (only and w.key not in only):
            continue
        for size in w.scaling:
            values, largest = {}, {}
            for language in names:
                setup_body = getattr(w, {"tesmora": "tsm", "python": "py",
                                         "octave": "m", "r": "r"}[language])
                values[language], largest[language], _ = try_median(
                    bench, language, setup_body, size)
            shown, _ = ratio(values["tesmora"], [values[p] for p in bench.peers])
            row = [w.key, str(size)] + [cell(values[n]) for n in names] + [shown]
            print("| " + " | ".join(row) + " |", flush=True)
        peaks.append((w.key, w.scaling[-1], largest))
    print("\n| peak memory, MB | n | " + " | ".join(names) + " |")
    print("|" + "---|" * (len(names) + 2))
    for key, size, largest in peaks:
        row = [key, str(size)] + [cell(largest[n] / 1024) if largest[n] else "—" for n in names]
        print("| " + " | ".join(row) + " |")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runner", default=str(HERE.parent / "build/src/cli/tesmora-run"))
    parser.add_argument("--runs", type=int, default=int(os.environ.get("BENCH_RUNS", "5")))
    parser.add_argument("--only", default="", help="comma-separated workload keys")
    parser.add_argument("--no-scaling", action="store_true")
    args = parser.parse_args()
    if not os.access(args.runner, os.X_OK):
        sys.exit(f"no runner at {args.runner} (build first)")
    only = {key.strip() for key in args.only.split(",") if key.strip()}
    bench = Bench(args.runner, args.runs)
    print(f"Machine: {os.cpu_count()} cores, {os.uname().machine}; "
          f"medians of {args.runs} runs; peers: {', '.join(bench.peers) or 'none'}\n")
    main_table(bench, only)
    if not only or "W1" in only:
        variables_table(bench)
    if not args.no_scaling:
        scaling_table(bench, only)
    shutil.rmtree(bench.work, ignore_errors=True)


if __name__ == "__main__":
    main()

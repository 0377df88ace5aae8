#!/usr/bin/env python3
"""Writes onto a full file system and expects each writer's message and no
partial file.

The runs go to a 64 KB tmpfs mounted in a private mount namespace
(`unshare -rm`, no privileges needed where user namespaces are allowed), so
every 100 KB write fails half-way. Where no tmpfs can be mounted, the same
writers are pointed at /dev/full, which fails every write; only the messages
can be checked there.
"""

import argparse
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

LINE = "0123456789" * 10
# About 100 KB of text in t, and a 100 KB source file for the copy.
SETUP = f't = ""; for (i in 1:1000) t = t + "{LINE}";'

# (program, expected message, file that must not exist afterwards)
CASES = [
    (SETUP + ' savetext(t, "F/text.txt");',
     "savetext: не удается открыть файл F/text.txt\nОшибка 28", "text.txt"),
    ('setmaxdim(1000000); savevector(1:30000, "F/vector.txt");',
     "Не удается открыть файл :  F/vector.txt", "vector.txt"),
    ('setmaxdim(1000000); savetable(0(300, 100) + 1/3, "F/table.csv");',
     "Не удается открыть файл :  F/table.csv", "table.csv"),
    (SETUP + ' savetextvector([t, t], "F/strings.txt");',
     "Не удается открыть файл :  F/strings.txt", "strings.txt"),
    ('setout("F/out.txt"); for (i in 1:1000) print("' + LINE + '"); closeout();',
     "xxx Не удается открыть файл :  F/out.txt", "out.txt"),
    ('setout("F/lines.txt"); for (i in 1:2000) println("' + LINE + '");',
     "xxx Не удается открыть файл :  F/lines.txt", "lines.txt"),
]

# File-system builtins answer 0 and leave no partial copy.
COPY = ('copyfile("source.txt", "F/copy.txt") + 10 * safecopy("source.txt", "F/safe.txt")',
        "0", ["copy.txt", "safe.txt"])

# After all failures the space is free again: a small file is written whole.
SMALL = ('savetext("small", "F/small.txt"); copyfile("F/small.txt", "F/small2.txt");',
         "1", ["small.txt", "small2.txt"])


def run(runner, programs, cwd, mount):
    args = [str(runner), "--json"]
    for program in programs:
        args += ["-e", program]
    if mount:
        script = ('mount -t tmpfs -o size=64k tmpfs F && exec "$0" "$@"')
        args = ["unshare", "-rm", "sh", "-c", script] + args
    result = subprocess.run(args, cwd=cwd, capture_output=True, timeout=120)
    lines = result.stdout.decode("utf-8").splitlines()
    return [json.loads(line) for line in lines], result


def can_mount():
    if shutil.which("unshare") is None:
        return False
    with tempfile.TemporaryDirectory() as scratch:
        probe = subprocess.run(
            ["unshare", "-rm", "sh", "-c", "mount -t tmpfs -o size=64k tmpfs " + scratch],
            capture_output=True)
        return probe.returncode == 0


def check_tmpfs(runner):
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        (folder / "F").mkdir()
        (folder / "source.txt").write_text(LINE * 1000)
        programs = [case[0] for case in CASES] + [COPY[0], SMALL[0]]
        # Listing what is left on the tmpfs needs the same namespace: the
        # last run prints it through system().
        programs.append('system("ls -A F > listing.txt")')
        reports, result = run(runner, programs, folder, mount=True)
        if len(reports) != len(programs):
            return [f"expected {len(programs)} runs, got {len(reports)}: "
                    f"{result.stderr.decode('utf-8', 'replace')}"]
        for (program, message, _), report in zip(CASES, reports):
            if report.get("ok") or report.get("message") != message:
                failures.append(f"{program[-60:]}: expected failure {message!r}, got {report}")
        for (program, text, _), report in zip([COPY, SMALL], reports[len(CASES):]):
            if not report.get("ok") or report.get("text") != text:
                failures.append(f"{program}: expected {text}, got {report}")
        left = (folder / "listing.txt").read_text().split()
        expected_left = sorted(SMALL[2])
        if sorted(left) != expected_left:
            failures.append(f"files left on the full disk: {left}, expected only {expected_left}")
    return failures


def check_dev_full(runner):
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        os.symlink("/dev", folder / "F")
        for program, message, name in CASES:
            device_program = program.replace("F/" + name, "F/full")
            device_message = message.replace("F/" + name, "F/full")
            reports, _ = run(runner, [device_program], folder, mount=False)
            if not reports or reports[0].get("ok") or reports[0].get("message") != device_message:
                failures.append(f"/dev/full: {device_program[-60:]}: expected {device_message!r}, "
                                f"got {reports}")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runner", required=True)
    runner = pathlib.Path(parser.parse_args().runner)
    failures = check_dev_full(runner)
    if can_mount():
        failures += check_tmpfs(runner)
    else:
        print("no tmpfs can be mounted here: checked /dev/full only")
    for failure in failures:
        print("FAILED", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()

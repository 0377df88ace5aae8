#!/usr/bin/env python3
"""Runs one script test of Tesmora through tesmora-run and checks its output.

A test is a program NAME.tsm with its expectations beside it:

  NAME.expected.json  what `tesmora-run --json` must print: one JSON object
                      per run, in order (objects may span several lines).
                      Only the keys written in an expected object are
                      compared, at every depth of objects; arrays must have
                      the same length. Expected objects usually leave out
                      "status", which holds the elapsed time.
                      A last object holding only "exit" (and optionally
                      "stderr") is no run: it gives the expected exit status
                      and a text that standard error must contain. Without
                      it the exit status must be 0 when every run printed
                      "ok": true, else 1.
  NAME.args           optional: the command-line arguments after --json, one
                      per line, taken verbatim (an empty line is an empty
                      argument). They may name several RUNs. With this file
                      the script is run only where an argument is @SCRIPT,
                      which stands for NAME.tsm.
  NAME.args.json      the same as a JSON array of strings, for arguments
                      that hold line ends (multi-line -e texts).
  NAME.stdin          optional: the bytes given on standard input (for `-`).
  NAME.files/         optional: files the program must have written, compared
                      byte for byte with the files of the same relative path.

The runner starts in a fresh temporary copy of the test's folder, so
programs can read their data files by relative name and whatever they write
is thrown away.
"""

import argparse
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

TIMEOUT_SECONDS = 150


def read_json_objects(path):
    text = path.read_text(encoding="utf-8")
    decoder = json.JSONDecoder()
    objects, pos = [], 0
    while True:
        while pos < len(text) and text[pos].isspace():
            pos += 1
        if pos == len(text):
            return objects
        try:
            value, pos = decoder.raw_decode(text, pos)
        except json.JSONDecodeError as error:
            sys.exit(f"{path}: not JSON: {error}")
        if not isinstance(value, dict):
            sys.exit(f"{path}: every entry must be a JSON object")
        objects.append(value)


def split_exit_expectation(objects):
    if objects and "exit" in objects[-1] and set(objects[-1]) <= {"exit", "stderr"}:
        return objects[:-1], objects[-1]
    return objects, None


def read_args(script):
    lines_file = script.with_suffix(".args")
    json_file = script.with_suffix(".args.json")
    if json_file.exists():
        args = json.loads(json_file.read_text(encoding="utf-8"))
        if not isinstance(args, list) or not all(isinstance(a, str) for a in args):
            sys.exit(f"{json_file}: must be a JSON array of strings")
    elif lines_file.exists():
        args = lines_file.read_text(encoding="utf-8").split("\n")
        if args and args[-1] == "":
            args.pop()
        args = [arg.removesuffix("\r") for arg in args]
    else:
        return [script.name]
    return [script.name if arg == "@SCRIPT" else arg for arg in args]


def differences(expected, actual, where):
    """Yields (where, expected, actual) for every mismatch, keys of
    `expected` only."""
    if isinstance(expected, dict):
        if not isinstance(actual, dict):
            yield where, expected, actual
            return
        for key, value in expected.items():
            if key not in actual:
                yield f"{where}.{key}", value, "<missing>"
            else:
                yield from differences(value, actual[key], f"{where}.{key}")
    elif isinstance(expected, list):
        if not isinstance(actual, list) or len(actual) != len(expected):
            yield where, expected, actual
            return
        for index, (e, a) in enumerate(zip(expected, actual)):
            yield from differences(e, a, f"{where}[{index}]")
    elif expected != actual or type(expected) is not type(actual):
        yield where, expected, actual


def show(value):
    return json.dumps(value, ensure_ascii=False)


def compare_files(expected_dir, work_dir):
    problems = []
    if not expected_dir.is_dir():
        return problems
    for expected in sorted(p for p in expected_dir.rglob("*") if p.is_file()):
        relative = expected.relative_to(expected_dir)
        written = work_dir / relative
        if not written.is_file():
            problems.append(f"file {relative} was not written")
        elif written.read_bytes() != expected.read_bytes():
            problems.append(f"file {relative} differs:\n"
                            f"  expected bytes {expected.read_bytes()!r}\n"
                            f"  written bytes  {written.read_bytes()!r}")
    return problems


def run(runner, script):
    expected_runs, exit_expectation = split_exit_expectation(
        read_json_objects(script.parent / (script.stem + ".expected.json")))
    stdin_file = script.with_suffix(".stdin")
    stdin = stdin_file.read_bytes() if stdin_file.exists() else b""

    with tempfile.TemporaryDirectory(prefix="tesmora-script-") as temp:
        work_dir = pathlib.Path(temp) / script.parent.name
        shutil.copytree(script.parent, work_dir)
        command = [str(runner), "--json"] + read_args(script)
        try:
            completed = subprocess.run(command, cwd=work_dir, input=stdin,
                                       capture_output=True,
                                       timeout=TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            return [f"tesmora-run did not finish within {TIMEOUT_SECONDS} s"], command, None
        problems = check_output(completed, expected_runs, exit_expectation)
        problems += compare_files(script.with_suffix(".files"), work_dir)
        return problems, command, completed


def check_output(completed, expected_runs, exit_expectation):
    problems = []
    stdout = completed.stdout.decode("utf-8", errors="replace")
    stderr = completed.stderr.decode("utf-8", errors="replace")
    actual_runs = []
    for number, line in enumerate(stdout.splitlines(), 1):
        try:
            actual_runs.append(json.loads(line))
        except json.JSONDecodeError as error:
            problems.append(f"output line {number} is not JSON ({error}): {line}")
    if problems:
        return problems

    if len(actual_runs) != len(expected_runs):
        problems.append(f"expected {len(expected_runs)} run(s), "
                        f"got {len(actual_runs)}")
    for index, (expected, actual) in enumerate(zip(expected_runs, actual_runs), 1):
        for where, want, got in differences(expected, actual, f"run {index}"):
            problems.append(f"{where}:\n  expected {show(want)}\n  actual   {show(got)}")

    if exit_expectation is not None:
        want_exit = exit_expectation["exit"]
        want_stderr = exit_expectation.get("stderr")
        if want_stderr is not None and want_stderr not in stderr:
            problems.append(f"standard error lacks {show(want_stderr)}")
    else:
        want_exit = 0 if all(run.get("ok") is True for run in actual_runs) else 1
    if completed.returncode != want_exit:
        problems.append(f"exit status {completed.returncode}, expected {want_exit}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runner", required=True, type=pathlib.Path)
    parser.add_argument("script", type=pathlib.Path)
    options = parser.parse_args()
    script = options.script.resolve()

    problems, command, completed = run(options.runner, script)
    if not problems:
        return 0
    print(f"FAILED {script}")
    print("command: " + " ".join(show(arg) for arg in command))
    for problem in problems:
        print(problem)
    if completed is not None:
        print("--- standard output ---")
        print(completed.stdout.decode("utf-8", errors="replace"), end="")
        print("--- standard error ---")
        print(completed.stderr.decode("utf-8", errors="replace"), end="")
    return 1


if __name__ == "__main__":
    sys.exit(main())

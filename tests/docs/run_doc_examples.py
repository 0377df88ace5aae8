#!/usr/bin/env python3
"""Runs every example of Tesmora's documentation and checks its result.

An example is a fenced `tesmora` block followed by a `result` block (the
text the result box shows: the "text" field of `tesmora-run --json`) or an
`error` block (the error box's text: the "message" field), as
docs/README.md describes. Each example runs alone as a whole program,
`tesmora-run --json --seed 1 [--answer V ...] -e TEXT`, in a fresh empty
temporary directory. Texts are compared exactly after turning CR LF into LF
and dropping trailing line ends.

Usage: run_doc_examples.py --runner PATH FILE.md|FOLDER ...
Every failure names the file, the line of the example and both texts.
"""

import argparse
import json
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import doc_markdown  # noqa: E402

TIMEOUT_SECONDS = 120


def normalised(text):
    return text.replace("\r\n", "\n").rstrip("\r\n")


def run_example(runner, example):
    command = [str(runner), "--json", "--seed", "1"]
    for answer in example.answers:
        command += ["--answer", answer]
    command += ["-e", example.program.text]
    with tempfile.TemporaryDirectory(prefix="tesmora-doc-") as work_dir:
        try:
            completed = subprocess.run(command, cwd=work_dir, capture_output=True,
                                       timeout=TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            return None, f"tesmora-run did not finish within {TIMEOUT_SECONDS} s"
    lines = completed.stdout.decode("utf-8", errors="replace").splitlines()
    if len(lines) != 1:
        stderr = completed.stderr.decode("utf-8", errors="replace")
        return None, (f"tesmora-run printed {len(lines)} lines instead of one "
                      f"JSON object (exit {completed.returncode}): {stderr.strip()}")
    try:
        return json.loads(lines[0]), None
    except json.JSONDecodeError as error:
        return None, f"tesmora-run printed no JSON ({error}): {lines[0]}"


def shown(report):
    """What the user saw: ("result", text) or ("error", message)."""
    if report.get("ok"):
        return "result", normalised(report.get("text", ""))
    return "error", normalised(report.get("message", ""))


def indented(text):
    return "\n".join("    " + line for line in text.split("\n")) if text else "    (empty)"


def check_file(runner, path):
    where = str(path)
    try:
        found = doc_markdown.examples(path.read_text(encoding="utf-8"), where)
    except (doc_markdown.DocError, UnicodeDecodeError) as error:
        return 0, [str(error)]
    failures = []
    for example in found:
        report, problem = run_example(runner, example)
        head = f"{where}:{example.program.line}: example"
        if problem:
            failures.append(f"{head}: {problem}")
            continue
        kind, text = shown(report)
        want_kind, want = example.outcome.kind, normalised(example.outcome.text)
        if (kind, text) != (want_kind, want):
            failures.append(
                f"{head} gives a different {'result' if kind == want_kind else 'outcome'}\n"
                f"  program:\n{indented(example.program.text)}\n"
                f"  written ({want_kind}, line {example.outcome.line}):\n{indented(want)}\n"
                f"  actual ({kind}):\n{indented(text)}")
    return len(found), failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runner", required=True, type=pathlib.Path)
    parser.add_argument("paths", nargs="+", type=pathlib.Path)
    options = parser.parse_args()

    files = []
    for path in options.paths:
        files += doc_markdown.markdown_files(path) if path.is_dir() else [path]
    total, failures = 0, []
    for path in files:
        count, problems = check_file(options.runner.resolve(), path)
        total += count
        failures += problems
    for failure in failures:
        print(failure)
    print(f"{total - len(failures)} of {total} examples in {len(files)} file(s) pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

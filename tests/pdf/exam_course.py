#!/usr/bin/env python3
"""Compiles the sample exam course (examples/exam) end to end with pdflatex.

The question programs write their question files, exam.tsm writes the Meta
papers, the A/B papers and the open questions, a last run writes the papers
of ExportExam; `tesmora-run --pdf` compiles all of them. Every PDF must
exist, be a PDF, have its expected number of pages, show the substituted
values and the Russian text, and the students' versions must hold no
solution. A file with a TeX error must be reported with its file, line and
message, and --pdf without pdflatex on the PATH is a usage error.

Exit status 77 (skipped) when pdflatex, pdfinfo or pdftotext is missing.
"""

import argparse
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

QUESTION_PROGRAMS = ["determinant", "system", "probability"]
EXPORT_RUN = ('F = ["determinant", "system", "probability"]; E = super(2, 1); '
              'E(1) = LoadItemBase(F, "вариант=1"); E(2) = LoadItemBase(F, "вариант=2"); '
              'ExportExam(E);')

# Every file the course writes, with the pages of its PDF; None: no
# students' version. Meta/All and Meta0/All hold all six questions.
PAPERS = {
    "exam_out/AB/1a": 1, "exam_out/AB/1b": 1, "exam_out/AB/2a": 1, "exam_out/AB/2b": 1,
    "exam_out/1a": 1, "exam_out/1b": 1, "exam_out/2a": 1, "exam_out/2b": 1,
    "exam_out/Open": 1,
}
OTHER_FILES = {
    "determinant": 1, "system": 1, "probability": 1,
    "exam_out/Meta/All": 2, "exam_out/Meta0/All": 2,
    "exam_out/Meta/1": 1, "exam_out/Meta/2": 1, "exam_out/Meta0/1": 1, "exam_out/Meta0/2": 1,
}
# Words only a solution holds.
SOLUTION_WORDS = ["Решение", "Разложим", "Крамера", "Бернулли"]
# Names of the programs' variables: none may be left unsubstituted.
VARIABLE_NAMES = ["texA", "texB", "detA", "xOne", "nTrials", "kSucc", "pSucc", "qFail"]


class Checks:
    def __init__(self):
        self.problems = []

    def expect(self, condition, message):
        if not condition:
            self.problems.append(message)


def run(runner, args, cwd, env=None):
    return subprocess.run([str(runner)] + args, cwd=cwd, capture_output=True, env=env,
                          timeout=600)


def pdf_text(path):
    text = subprocess.run(["pdftotext", "-layout", str(path), "-"], capture_output=True,
                          check=True).stdout.decode("utf-8")
    return text.replace("\u2212", "-")


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", str(path)], capture_output=True, check=True).stdout
    return int(re.search(rb"^Pages:\s+(\d+)", info, re.M).group(1))


def solutions(question_file):
    """The Solution texts of a question file, in question order."""
    text = question_file.read_bytes().decode("cp1251").replace("\r\n", "\n")
    return re.findall(r"\\subsection\{Solution\}\n(.*?)(?=\n\\section|\n\n\\end\{document\})",
                      text, re.S)


def check_course(runner, work, checks):
    args = ["--json", "--pdf"] + [name + ".tsm" for name in QUESTION_PROGRAMS]
    args += ["exam.tsm", "--title", "exam", "-e", EXPORT_RUN]
    done = run(runner, args, work)
    checks.expect(done.returncode == 0, f"course: exit status {done.returncode}: "
                  f"{done.stderr.decode('utf-8', 'replace')}")
    reports = [json.loads(line) for line in done.stdout.decode("utf-8").splitlines()]
    checks.expect(len(reports) == 5, f"course: {len(reports)} runs reported, expected 5")
    compiled = {}
    for report in reports:
        checks.expect(report.get("ok") is True, f"course: a run failed: {report}")
        for entry in report.get("pdf", []):
            compiled[entry["tex"]] = entry
            checks.expect(entry["pdf"] is not None and entry["log"] == "",
                          f"{entry['tex']} did not compile: {entry['log']}")

    expected = dict(OTHER_FILES)
    for paper, pages in PAPERS.items():
        expected[paper] = pages
        expected[paper + "-students"] = pages
    checks.expect(sorted(compiled) == sorted(name + ".tex" for name in expected),
                  f"compiled files {sorted(compiled)}")
    texts = {}
    for name, pages in expected.items():
        pdf = work / (name + ".pdf")
        if not pdf.is_file():
            checks.expect(False, f"{pdf} was not written")
            continue
        checks.expect(pdf.read_bytes().startswith(b"%PDF"), f"{pdf} is no PDF")
        checks.expect(pdf_pages(pdf) == pages, f"{pdf}: {pdf_pages(pdf)} pages, expected {pages}")
        texts[name] = pdf_text(pdf)
        for variable in VARIABLE_NAMES:
            checks.expect(variable not in texts[name], f"{pdf} shows the name {variable}")
    return texts


def check_contents(work, texts, checks):
    determinant = [re.search(r"\\det A = (-?\d+)", s).group(1) for s in solutions(work / "determinant.tex")]
    probability = [re.search(r"\\approx ([0-9.]+)", s).group(1) for s in solutions(work / "probability.tex")]
    for folder in ("exam_out/AB/", "exam_out/"):
        for variant in (1, 2):
            key_a, key_b = texts.get(f"{folder}{variant}a", ""), texts.get(f"{folder}{variant}b", "")
            checks.expect("Задача 1" in key_a and "Вычислите определитель" in key_a,
                          f"{folder}{variant}a lacks its Russian text")
            checks.expect(f"det A = {determinant[variant - 1]}" in key_a,
                          f"{folder}{variant}a lacks the determinant {determinant[variant - 1]}")
            checks.expect(probability[variant - 1] in key_b,
                          f"{folder}{variant}b lacks the probability {probability[variant - 1]}")
            for paper in ("a", "b"):
                key = texts.get(f"{folder}{variant}{paper}", "")
                students = texts.get(f"{folder}{variant}{paper}-students", "")
                checks.expect("Ключ с решениями" in key, f"{folder}{variant}{paper} is not marked as key")
                checks.expect("Фамилия" in students, f"{folder}{variant}{paper}-students has no name line")
                for word in SOLUTION_WORDS:
                    checks.expect(word not in students,
                                  f"{folder}{variant}{paper}-students shows the solution word {word}")
    statement = "Вероятность попадания"
    checks.expect(statement in texts.get("exam_out/Open-students", ""), "Open-students lacks its questions")
    checks.expect("Стандартные" not in texts.get("exam_out/Open", "") and
                  "Открытые задачи" in texts.get("exam_out/Open", ""), "Open.pdf is not titled")
    checks.expect("Задача 2" in texts.get("determinant", ""), "determinant.pdf lacks question 2")


def check_failures(runner, work, checks):
    bad = work / "bad.tsm"
    bad.write_text("x1 = 1;\n<<R>> x1;\n<<Statement>>Задача x1: $\\nosuchmacro$\n", encoding="utf-8")
    done = run(runner, ["--json", "--pdf", "bad.tsm"], work)
    report = json.loads(done.stdout.decode("utf-8").splitlines()[0])
    entry = report["pdf"][0]
    checks.expect(done.returncode == 1, f"a TeX error: exit status {done.returncode}, expected 1")
    checks.expect(entry["tex"] == "bad.tex" and entry["pdf"] is None, f"a TeX error: {entry}")
    checks.expect(re.match(r"(\./)?bad\.tex:\d+: Undefined control sequence\.\n(.*\n)*l\.\d+ .*\\nosuchmacro",
                           entry["log"]) is not None, f"a TeX error is reported as {entry['log']!r}")

    no_tex = pathlib.Path(tempfile.mkdtemp(prefix="no-tex-"))
    env = dict(os.environ, PATH=str(no_tex))
    done = run(runner.resolve(), ["--pdf", "-e", "1;"], work, env)
    checks.expect(done.returncode == 2 and b"pdflatex" in done.stderr,
                  f"--pdf without pdflatex: exit {done.returncode}, {done.stderr!r}")
    no_tex.rmdir()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runner", required=True, type=pathlib.Path)
    parser.add_argument("--examples", required=True, type=pathlib.Path)
    options = parser.parse_args()
    if not all(shutil.which(tool) for tool in ("pdflatex", "pdfinfo", "pdftotext")):
        print("pdflatex, pdfinfo or pdftotext is missing: scripts/setup.sh --tex installs them")
        return 77
    checks = Checks()
    with tempfile.TemporaryDirectory(prefix="tesmora-exam-") as temp:
        work = pathlib.Path(temp) / "exam"
        shutil.copytree(options.examples, work)
        texts = check_course(options.runner, work, checks)
        check_contents(work, texts, checks)
        check_failures(options.runner, work, checks)
    for problem in checks.problems:
        print("FAILED: " + problem)
    return 1 if checks.problems else 0


if __name__ == "__main__":
    sys.exit(main())

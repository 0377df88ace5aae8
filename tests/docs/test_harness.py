#!/usr/bin/env python3
"""Checks the documentation tests themselves: that a wrong result, a
missing result block or an unclosed block fails with the file and line
named, and that the reference check counts, refuses and resolves as it
should.

Usage: test_harness.py --runner PATH
"""

import argparse
import pathlib
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
RUNNER = None

GOOD = """# Страница

```tesmora
2 + 3 * 4
```

Результат:

```result
14
```

```tesmora answer=NO
msg("", "", "Да?", "YES|NO")
```

```result
NO
```

```tesmora
x
```

```error
x:  нет определения
```

```tesmora
setout("out.txt");
```

```result
```
"""

WRONG = """# Страница

```tesmora
1 + 1
```

```result
3
```
"""


def run_examples(text):
    with tempfile.TemporaryDirectory() as folder:
        page = pathlib.Path(folder) / "page.md"
        page.write_text(text, encoding="utf-8")
        done = subprocess.run([sys.executable, str(HERE / "run_doc_examples.py"),
                               "--runner", str(RUNNER), str(page)],
                              capture_output=True, text=True)
        return done.returncode, done.stdout


class ExampleHarness(unittest.TestCase):
    def test_matching_results_pass(self):
        code, out = run_examples(GOOD)
        self.assertEqual(code, 0, out)
        self.assertIn("4 of 4 examples", out)

    def test_a_different_result_names_file_line_and_both_texts(self):
        code, out = run_examples(WRONG)
        self.assertEqual(code, 1)
        self.assertIn("page.md:3: example gives a different result", out)
        self.assertIn("    3", out)
        self.assertIn("    2", out)

    def test_malformed_pages_fail(self):
        cases = {
            "```tesmora\n1\n```\n": "page.md:1: example without a result",
            "```tesmora\n1\n": "page.md:1: the block opened here is never closed",
            "```result\n1\n```\n": "page.md:1: result block without an example",
            "```tesmora answr=NO\n1\n```\n```result\n1\n```\n": "unknown word",
            "```tesmora\n1\n```\n```tesmora\n2\n```\n```result\n2\n```\n":
                "page.md:1: example without a result or error block before",
        }
        for text, message in cases.items():
            code, out = run_examples(text)
            self.assertEqual(code, 1, text)
            self.assertIn(message, out, text)


class ReferenceCheck(unittest.TestCase):
    REGISTRY = 'constexpr RegistryName kOrder[] = {\n    {"sin", 0}, {"sort", 0}, {"sort", 3}, {"c", 3},\n};\n'

    def check(self, files):
        with tempfile.TemporaryDirectory() as folder:
            root = pathlib.Path(folder)
            (root / "Registry.cpp").write_text(self.REGISTRY, encoding="utf-8")
            for name, text in files.items():
                (root / "docs" / name).parent.mkdir(parents=True, exist_ok=True)
                (root / "docs" / name).write_text(text, encoding="utf-8")
            done = subprocess.run([sys.executable, str(HERE / "check_reference.py"),
                                   "--registry", str(root / "Registry.cpp"),
                                   "--docs", str(root / "docs")],
                                  capture_output=True, text=True)
            return done.returncode, done.stdout

    def test_every_distinct_name_once(self):
        code, out = self.check({
            "reference/a.md": "# A\n\n## sin\n\n## sort\n\nСм. [c](b.md#c).\n",
            "reference/b.md": "# B\n\n## c\n\n```text\n## not an entry\n```\n",
            "guide/g.md": "См. [sin](../reference/a.md#sin).\n"})
        self.assertEqual(code, 0, out)
        self.assertIn("3 of 3 registry names documented (4 registry entries)", out)

    def test_missing_unknown_twice_and_broken_links(self):
        code, out = self.check({
            "reference/a.md": "## sin\n\n## cos\n\n## sin\n\n[x](a.md#tan) [y](none.md)\n"})
        self.assertEqual(code, 1)
        self.assertIn("2 registry name(s) without an entry: sort, c", out)
        self.assertIn("entry '## cos' names no builtin", out)
        self.assertIn("entry '## sin' is written 2 times", out)
        self.assertIn("link a.md#tan: a.md has no entry '## tan'", out)
        self.assertIn("link none.md: no such file", out)


def main():
    global RUNNER
    parser = argparse.ArgumentParser()
    parser.add_argument("--runner", required=True, type=pathlib.Path)
    options, rest = parser.parse_known_args()
    RUNNER = options.runner.resolve()
    unittest.main(argv=[sys.argv[0]] + rest)


if __name__ == "__main__":
    main()

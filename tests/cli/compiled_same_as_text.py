#!/usr/bin/python3
"""The compiled form behaves as the text path: every program below, and
every sample program, gives the same report (result, message, caret, title)
run compiled and run with TESMORA_TEXT_PATH=1. The programs aim at what the
compiled form does differently inside: unboxed numbers and the stack limit,
in-place numbers and texts, remembered names, parameters in slots, ranges
not built, skipping, break and continue, carets in loops and bodies."""

import json
import os
import pathlib
import subprocess
import sys
import tempfile

PROGRAMS = [
    # carets of errors in compiled statements, loops and bodies
    'i = 0; while (i < 3) { i = i + 1; } i = i / 0;',
    'x = 1; y = x + "a" * 2;',
    's = 0; for (k in 1:5) { s = s + k; if (k == 3) q = s / zz; } s;',
    'function f(x) = x * x + y; f(2);',
    'function f(x) = x * x + 1; s = 0; i = 0; while (i < 10) { s = s + f(i); i = i + 1; } s;',
    'function f(x, x) = x; f(1, 2);',
    'function g(n) = 0; function f(n) = iff(n > 0, f, g)(n - 1); f(50);',
    'function g() = 1 + (1 + (1 + (1 + (1 + g())))); g();',
    'function g() = -(-(-(-g()))); g();',
    'function h(n) = h(n + 1) + 1; h(1);',
    'law L() = 2 + 3; L();',
    # values, loop fields, in place
    'for (x in 1:3) y = x; z = y; z.num;',
    'for (x in 3:1) y = x; y + x.num;',
    'for (x in 1:0.5:3) y = x; y;',
    'n = 0; for (x in 1:1e9) { n = n + 1; if (n == 5) break; } n;',
    'setmaxdim(10); for (x in 1:11) y = 1;',
    'for (x in "a":2) y = 1;',
    'x = 5; for (x in 1:3) { x = x * 10; } x;',
    'i = 0; s = 0; while (i < 5) { i = i + 1; if (i % 2) continue; s = s + i; } s;',
    't = ""; i = 0; while (i < 5) { t = t + i + "-"; i = i + 1; } t;',
    't = "ab"; t = t + t; t = t + 1.5; t = t + [1, 2]; t;',
    't = 1; t = t + "x"; t;',
    'pi = pi + 1; pi;',
    'e = "x"; e = e + "y"; e;',
    'a = 1; b = a; a = a + 1; [a, b];',
    'M = [1, 2]; M = M + 1; M(2) = 7; M;',
    'x = (1 + 2) * 3 - -4 / 2 ^ 2; x;',
    'x = 1 < 2 & 3 >= 3 | 0; x;',
    'x = !0 + !5; y = -(2); [x, y];',
    'if (0) x = 1; else if (1) x = 2; else x = 3; x;',
    'if (1) { y = 1; } z = 2; y + z;',
    'if ("a") x = 1;',
    'while ("a") x = 1;',
    'x = 1; if (x) { if (0) y = 2; } else z = 3; x;',
    'if (0) { s = "}"; } x = 4; x;',
    'while (0) { } 3;',
    'i = 0; while (i < 3) i = i + 1; i;',
    'x = undefinedname + 1;',
    'x = 1; x = else;',
    'do = 5; do + 1;',
    'i = 0; while (i < 2) { i = i + 1; break } i;',
    'x = 3; x;',
    'f = 2; f(1);',
    'x = sin(1) + cos(0) * sqrt(4);',
    'x = 2; y = x(1);',
    'x = 1; if (x > 0) x = x - 1; x;',
    # iff choosing between names and parameters: conditions that are no
    # 0 or 1, not numbers, undefined; choices that are no user functions
    'function g(x) = x + 1; function f(n) = iff(n, g, g)(n); [f(0), f(1), f(2)];',
    'function g(x) = x + 1; function f(v) = iff(v, g, g)(1); f([1, 0]);',
    'function g(x) = x + 1; function f(n) = iff(n < 2, g, nope)(n); f(1);',
    'function g(x) = x + 1; function f(n) = iff(nope < 2, g, g)(n); f(1);',
    'function g(x) = x + 1; function f(n) = iff(n < "a", g, g)(n); f(1);',
    'a = 3; b = [1, 2]; function f(n) = iff(n > 1, a, b)(1); [f(2), f(0)];',
    'h = 5; function g(x) = x + 1; function f(n) = iff(n > 1, h, g)(1); [f(0), f(2)];',
    'function g(x) = x + 1; function f(n) = iff(n > 0, g, sin)(n); [f(1), f(-1)];',
    'function f(n) = iff(n > 0, f, f)(n - 1) + 1; f(3000);',
    'function g(x) = x; function f(c) = iff(c, g, g)(7); [f(-0), f(1), f(0.5)];',
    # operators between two names or numbers, as arguments and conditions
    'function g(x, y) = x * y; a = 2; [g(a + 1, a - 1), g(a < 3, 4 ^ a), g(a / 0, 1)];',
    'function g(x) = x; a = [1, 2]; g(a + 1);',
    'function g(x) = x; g(zz + 1);',
    'function g(x) = x; a = "t"; g(a + 1);',
    # parameters' numbers kept and used again, also by values that outlive them
    'function g(x) = x; function f(x) = g(x) + g(x + 1); s = 0; for (k in 1:50) s = s + f(k); s;',
    'function f(x) = x; a = f(2); b = f(3); [a, b, f(a + b)];',
    'function f(v) = v.num + v; for (x in [4, 5, 6]) y = f(x); y;',
]


def report(runner, text, textPath):
    env = dict(os.environ)
    if textPath:
        env["TESMORA_TEXT_PATH"] = "1"
    else:
        env.pop("TESMORA_TEXT_PATH", None)
    # Sample programs write files: each run gets a scratch folder.
    with tempfile.TemporaryDirectory() as folder:
        result = subprocess.run([runner, "--json", "--seed", "7"] + text, cwd=folder,
                                capture_output=True, text=True, env=env, timeout=300)
    runs = []
    for line in result.stdout.splitlines():
        try:
            run = json.loads(line)
        except json.JSONDecodeError:
            runs.append(line)
            continue
        run.pop("status", None)
        runs.append(run)
    return result.returncode, runs


def main():
    runner = os.path.abspath(sys.argv[1])
    examples = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else None
    cases = [["-e", program] for program in PROGRAMS]
    if examples and examples.is_dir():
        cases += [[str(path)] for path in sorted(examples.glob("*.tsm"))]
    failures = 0
    for case in cases:
        compiled = report(runner, case, False)
        text = report(runner, case, True)
        if compiled != text:
            failures += 1
            print("DIFFERENT:", case[-1][:200])
            print("  compiled:", compiled)
            print("  text:    ", text)
    print(f"{len(cases) - failures} of {len(cases)} the same")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

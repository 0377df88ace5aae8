"""The benchmark's workloads, one row each, in Tesmora and in the peers.

Every program times only its own work with the language's own clock and
prints the milliseconds of one repetition as its last number. In each text
@N@ is the workload's size and @REP@ the number of repetitions the driver
asks for (workloads under 20 ms are repeated inside the program). Inputs
are built before the clock starts. `body` is repeated, `setup` is not.
"""

from dataclasses import dataclass, field


@dataclass
class Workload:
    key: str
    title: str
    size: int
    scaling: tuple = ()          # three sizes for the scaling table, or ()
    tsm: tuple = ("", "")        # (setup, body)
    py: tuple = ("", "")
    m: tuple = ("", "")          # Octave
    r: tuple = ("", "")          # R
    extra: dict = field(default_factory=dict)


# Programs run as a user's would, with the long-run check on (the runner
# answers its question, should it come, by running on).
def tesmora_program(setup, body):
    return (
        "setmaxdim(10000000);\n" + setup + "\n"
        "t0__ = getms();\nrep__ = 0;\n"
        "while (rep__ < @REP@) {\n" + body + "\nrep__ = rep__ + 1;\n}\n"
        "(getms() - t0__) / @REP@;\n"
    )


def python_program(setup, body):
    indented = "\n".join("    " + line for line in body.splitlines())
    return (
        "import time\nimport numpy as np\nimport scipy.special\n" + setup + "\n"
        "t0__ = time.perf_counter()\n"
        "for rep__ in range(@REP@):\n" + indented + "\n"
        "print((time.perf_counter() - t0__) * 1000 / @REP@)\n"
    )


def octave_program(setup, body):
    # A script that defines functions must not start with one.
    return (
        "1;\n" + setup + "\n"
        "t0__ = tic;\nfor rep__ = 1:@REP@\n" + body + "\nend\n"
        "printf('%.6f\\n', toc(t0__) * 1000 / @REP@);\n"
    )


def r_program(setup, body):
    return (
        setup + "\n"
        "t0__ <- proc.time()[[3]]\nfor (rep__ in 1:@REP@) {\n" + body + "\n}\n"
        "cat(sprintf('%.6f\\n', (proc.time()[[3]] - t0__) * 1000 / @REP@))\n"
    )


PROGRAMS = {
    "tesmora": tesmora_program,
    "python": python_program,
    "octave": octave_program,
    "r": r_program,
}

WORKLOADS = [
    Workload(
        "W1", "while loop, `s = s + i`", 1000000, (300000, 1000000, 3000000),
        tsm=("", "i = 0; s = 0;\nwhile (i < @N@) { s = s + i; i = i + 1; }"),
        py=("", "i = 0\ns = 0\nwhile i < @N@:\n    s = s + i\n    i = i + 1"),
        m=("", "i = 0; s = 0;\nwhile i < @N@\n s = s + i; i = i + 1;\nend"),
        r=("", "i <- 0; s <- 0\nwhile (i < @N@) { s <- s + i; i <- i + 1 }"),
    ),
    Workload(
        "W2", "`for (x in 1:n) s = s + x*x`", 1000000,
        tsm=("", "s = 0;\nfor (x in 1:@N@) s = s + x*x;"),
        py=("", "s = 0\nfor x in range(1, @N@ + 1):\n    s = s + x*x"),
        m=("", "s = 0;\nfor x = 1:@N@\n s = s + x*x;\nend"),
        r=("", "s <- 0\nfor (x in 1:@N@) s <- s + x*x"),
    ),
    Workload(
        "W3", "user function `f(x) = x*x + 1` called n times", 200000,
        (60000, 200000, 600000),
        tsm=("function f(x) = x*x + 1;",
             "i = 0; s = 0;\nwhile (i < @N@) { s = s + f(i); i = i + 1; }"),
        py=("def f(x):\n    return x*x + 1",
            "i = 0\ns = 0\nwhile i < @N@:\n    s = s + f(i)\n    i = i + 1"),
        m=("function y = f(x)\n y = x*x + 1;\nend",
           "i = 0; s = 0;\nwhile i < @N@\n s = s + f(i); i = i + 1;\nend"),
        r=("f <- function(x) x*x + 1",
           "i <- 0; s <- 0\nwhile (i < @N@) { s <- s + f(i); i <- i + 1 }"),
    ),
    Workload(
        "W4", "`sum(sin(1:n))`", 1000000,
        tsm=("", "y = sum(sin(1:@N@));"),
        py=("", "y = np.sin(np.arange(1, @N@ + 1)).sum()"),
        m=("", "y = sum(sin(1:@N@));"),
        r=("", "y <- sum(sin(1:@N@))"),
    ),
    Workload(
        "W5", "product of two n×n matrices", 300, (100, 300, 600),
        tsm=("a = 1:@N@;\nA = sin(a &* 'a);\nB = A + 1;", "P = A &* B;"),
        py=("a = np.arange(1, @N@ + 1.0)\nA = np.sin(np.outer(a, a))\nB = A + 1", "P = A @ B"),
        m=("a = (1:@N@)';\nA = sin(a * a');\nB = A + 1;", "P = A * B;"),
        r=("a <- 1:@N@\nA <- sin(outer(a, a))\nB <- A + 1", "P <- A %*% B"),
    ),
    Workload(
        "W6", "inverse of an n×n matrix", 300,
        tsm=("a = 1:@N@;\nA = sin(a &* 'a) + E(@N@) * @N@;", "I = ~A;"),
        py=("a = np.arange(1, @N@ + 1.0)\nA = np.sin(np.outer(a, a)) + np.eye(@N@) * @N@",
            "I = np.linalg.inv(A)"),
        m=("a = (1:@N@)';\nA = sin(a * a') + eye(@N@) * @N@;", "I = inv(A);"),
        r=("a <- 1:@N@\nA <- sin(outer(a, a)) + diag(@N@) * @N@", "I <- solve(A)"),
    ),
    Workload(
        "W7", "determinant of an n×n matrix", 300,
        tsm=("a = 1:@N@;\nA = sin(a &* 'a) + E(@N@) * @N@;", "d = det(A);"),
        py=("a = np.arange(1, @N@ + 1.0)\nA = np.sin(np.outer(a, a)) + np.eye(@N@) * @N@",
            "d = np.linalg.det(A)"),
        m=("a = (1:@N@)';\nA = sin(a * a') + eye(@N@) * @N@;", "d = det(A);"),
        r=("a <- 1:@N@\nA <- sin(outer(a, a)) + diag(@N@) * @N@", "d <- det(A)"),
    ),
    Workload(
        "W8", "n normal draws and their mean", 100000,
        tsm=("L = nlaw(0, 1);", "m = mean(L(@N@));"),
        py=("rng = np.random.default_rng(1)", "m = rng.standard_normal(@N@).mean()"),
        m=("", "m = mean(randn(@N@, 1));"),
        r=("", "m <- mean(rnorm(@N@))"),
    ),
    Workload(
        "W9", "normal `pl` at n points", 100000,
        tsm=("L = nlaw(0, 1);\nx = (1:@N@) * (6 / @N@) - 3;", "y = L.pl(x);"),
        py=("x = np.arange(1, @N@ + 1) * (6 / @N@) - 3", "y = scipy.special.ndtr(x)"),
        m=("x = (1:@N@)' * (6 / @N@) - 3;", "y = 0.5 * erfc(-x / sqrt(2));"),
        r=("x <- (1:@N@) * (6 / @N@) - 3", "y <- pnorm(x)"),
    ),
    Workload(
        "W10", "normal `invpl` at n points", 10000,
        tsm=("L = nlaw(0, 1);\np = (1:@N@) / (@N@ + 1);", "y = L.invpl(p);"),
        py=("p = np.arange(1, @N@ + 1) / (@N@ + 1)", "y = scipy.special.ndtri(p)"),
        m=("p = (1:@N@)' / (@N@ + 1);", "y = -sqrt(2) * erfcinv(2 * p);"),
        r=("p <- (1:@N@) / (@N@ + 1)", "y <- qnorm(p)"),
    ),
    Workload(
        "W11", "`sort` of n numbers", 1000000, (100000, 1000000, 10000000),
        tsm=("v = sin(1:@N@);", "w = sort(v);"),
        py=("v = np.sin(np.arange(1, @N@ + 1))", "w = np.sort(v)"),
        m=("v = sin(1:@N@)';", "w = sort(v);"),
        r=("v <- sin(1:@N@)", "w <- sort(v)"),
    ),
    Workload(
        "W12", "recursive fib(20) through `iff` and function values", 20,
        tsm=("function base(n) = n;\nfunction step(n) = fib(n - 1) + fib(n - 2);\n"
             "function fib(n) = iff(n < 2, base, step)(n);", "r = fib(@N@);"),
        py=("def base(n):\n    return n\ndef step(n):\n    return fib(n - 1) + fib(n - 2)\n"
            "def fib(n):\n    return (base if n < 2 else step)(n)", "r = fib(@N@)"),
        m=("function r = base(n)\n r = n;\nend\nfunction r = step(n)\n r = fib(n - 1) + fib(n - 2);\nend\n"
           "function r = fib(n)\n if n < 2\n  h = @base;\n else\n  h = @step;\n end\n r = h(n);\nend",
           "r = fib(@N@);"),
        r=("base <- function(n) n\nstep <- function(n) fib(n - 1) + fib(n - 2)\n"
           "fib <- function(n) (if (n < 2) base else step)(n)", "r <- fib(@N@)"),
    ),
    Workload(
        "W13", "`t = t + \"ab\"` n times", 10000, (10000, 30000, 100000),
        tsm=("", "i = 0; t = \"\";\nwhile (i < @N@) { t = t + \"ab\"; i = i + 1; }"),
        py=("", "i = 0\nt = ''\nwhile i < @N@:\n    t = t + 'ab'\n    i = i + 1"),
        m=("", "i = 0; t = '';\nwhile i < @N@\n t = [t 'ab']; i = i + 1;\nend"),
        r=("", "i <- 0; t <- ''\nwhile (i < @N@) { t <- paste0(t, 'ab'); i <- i + 1 }"),
    ),
]

# The empty program, timed as a whole process by the driver.
EMPTY_PROGRAM = {
    "tesmora": ["@RUNNER@", "-e", "1;"],
    "python": ["/usr/bin/python3", "-c", "1"],
    "octave": ["octave-cli", "--norc", "--eval", "1;"],
    "r": ["Rscript", "--vanilla", "-e", "1"],
}


def extra_variables(count, prefix):
    return "".join(f"{prefix}{k} = {k};\n" for k in range(count))


# W1 with 250 more user variables, defined before W1's own variables and
# after them: the loop's names must not be found more slowly.
def many_variables_w1(where):
    extras = extra_variables(250, "extra")
    loop = "while (i < @N@) { s = s + i; i = i + 1; }"
    if where == "first":
        return (extras, "i = 0; s = 0;\n" + loop)
    return ("", "i = 0; s = 0;\n" + extras + loop)

#!/usr/bin/python3
"""The runner loads Qt only for PNG pictures: a run without one maps no Qt
library, and --picture x.png still writes a PNG of the requested size."""

import os
import struct
import subprocess
import sys
import tempfile


def loaded_libraries(runner, args):
    env = dict(os.environ, LD_DEBUG="files")
    result = subprocess.run([runner] + args, capture_output=True, text=True, env=env)
    return result.returncode, result.stderr


def main():
    runner = sys.argv[1]
    failures = []
    status, trace = loaded_libraries(runner, ["-e", "x = 1 + 1; x;"])
    if status != 0 or "libQt6" in trace:
        failures.append("a run without a PNG picture loaded Qt")
    with tempfile.TemporaryDirectory() as folder:
        picture = os.path.join(folder, "p.png")
        svg = os.path.join(folder, "p.svg")
        status, trace = loaded_libraries(
            runner, ["--picture", svg, "-e", "line(0:10, (0:10)^2, red); 1;"])
        if status != 0 or "libQt6" in trace or not os.path.getsize(svg):
            failures.append("an SVG picture loaded Qt or was not written")
        status, trace = loaded_libraries(
            runner, ["--picture", picture, "--picture-size", "200x150",
                     "-e", "line(0:10, (0:10)^2, red); 1;"])
        if status != 0 or "libQt6Gui" not in trace:
            failures.append("a PNG picture run failed or did not load Qt")
        else:
            data = open(picture, "rb").read()
            width, height = struct.unpack(">II", data[16:24])
            if data[:8] != b"\x89PNG\r\n\x1a\n" or (width, height) != (200, 150):
                failures.append(f"not a 200x150 PNG: {data[:8]!r} {width}x{height}")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

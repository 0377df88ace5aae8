#!/usr/bin/env python3
"""Writes the run target's starting corpus: every example program, every
script test and every program text that a script test gives with -e, one
file each, in Windows-1251 as the interpreter reads them."""

import json
import pathlib
import sys


def as_1251(text):
    try:
        return text.encode("cp1251")
    except UnicodeEncodeError:
        return None


def main():
    root, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    count = 0

    def put(data):
        nonlocal count
        if data:
            (out / f"seed-{count:05d}.tsm").write_bytes(data)
            count += 1

    for script in sorted(list((root / "examples").glob("*.tsm")) +
                         list((root / "tests" / "scripts").rglob("*.tsm"))):
        raw = script.read_bytes()
        try:
            put(as_1251(raw.decode("utf-8")) or raw)
        except UnicodeDecodeError:
            put(raw)
    for args in sorted((root / "tests" / "scripts").rglob("*.args.json")):
        values = json.loads(args.read_text(encoding="utf-8"))
        for flag, value in zip(values, values[1:]):
            if flag == "-e":
                put(as_1251(value))
    print(f"{count} seed programs in {out}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Checks that the reference documents exactly the builtin names.

Every name of the registry (the kOrder table of src/builtins/Registry.cpp;
a name registered in several forms, e.g. sort or c, counts once) must have
exactly one entry, a level-2 heading "## NAME", in docs/reference/*.md, and
no entry may name something the registry does not hold. Every link between
documentation files must reach an existing file, and a link FILE.md#NAME
into the reference an existing entry.

Usage: check_reference.py --registry Registry.cpp --docs DOCS_FOLDER
"""

import argparse
import collections
import pathlib
import re
import sys
import urllib.parse

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import doc_markdown  # noqa: E402

ORDER_TABLE = re.compile(r"kOrder\[\]\s*=\s*\{(.*?)\n\};", re.S)
ORDER_ROW = re.compile(r'\{"([^"]+)",\s*(\d+)\}')


def registry_names(registry_source):
    table = ORDER_TABLE.search(registry_source)
    if not table:
        sys.exit("the kOrder table was not found in the registry source")
    return [name for name, _ in ORDER_ROW.findall(table.group(1))]


def entries_by_name(reference_files):
    entries = collections.defaultdict(list)
    for path in reference_files:
        text = path.read_text(encoding="utf-8")
        for line, name in doc_markdown.entry_headings(text, str(path)):
            entries[name].append(f"{path}:{line}")
    return entries


def coverage_problems(names, entries):
    problems = []
    missing = [name for name in dict.fromkeys(names) if name not in entries]
    if missing:
        problems.append(f"{len(missing)} registry name(s) without an entry: "
                        + ", ".join(missing))
    for name, places in sorted(entries.items()):
        if name not in names:
            problems.append(f"{places[0]}: entry '## {name}' names no builtin, "
                            f"method, constant or colour")
        if len(places) > 1:
            problems.append(f"entry '## {name}' is written {len(places)} times: "
                            + ", ".join(places))
    return problems


def link_problems(files, entries_of_file):
    problems = []
    for path in files:
        text = path.read_text(encoding="utf-8")
        in_code = set()
        for block in doc_markdown.fenced_blocks(text, str(path)):
            in_code.update(range(block.line, block.line + block.text.count("\n") + 2))
        for number, line in enumerate(text.split("\n"), 1):
            if number in in_code:
                continue
            for target in doc_markdown.LINK.findall(line):
                if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                    continue  # http:, mailto: … are not ours to check
                file_part, _, fragment = target.partition("#")
                fragment = urllib.parse.unquote(fragment)
                linked = (path.parent / file_part).resolve() if file_part else path.resolve()
                where = f"{path}:{number}: link {target}"
                if not linked.is_file():
                    problems.append(f"{where}: no such file")
                elif fragment and linked in entries_of_file and \
                        fragment not in entries_of_file[linked]:
                    problems.append(f"{where}: {linked.name} has no entry '## {fragment}'")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--registry", required=True, type=pathlib.Path)
    parser.add_argument("--docs", required=True, type=pathlib.Path)
    options = parser.parse_args()

    names = registry_names(options.registry.read_text(encoding="utf-8"))
    reference = doc_markdown.markdown_files(options.docs / "reference")
    entries = entries_by_name(reference)
    problems = coverage_problems(names, entries)
    entries_of_file = {
        path.resolve(): {name for _, name in doc_markdown.entry_headings(
            path.read_text(encoding="utf-8"), str(path))}
        for path in reference}
    problems += link_problems(
        doc_markdown.markdown_files(options.docs / "guide", options.docs / "reference"),
        entries_of_file)
    for problem in problems:
        print(problem)
    distinct = len(set(names))
    documented = sum(1 for name in set(names) if name in entries)
    print(f"{documented} of {distinct} registry names documented "
          f"({len(names)} registry entries)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

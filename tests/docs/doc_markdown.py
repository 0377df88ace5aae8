"""Reading Tesmora's documentation files: fenced blocks, examples, entries.

Shared by the example harness and the reference checks, so both read the
Markdown the same way the help module of the programs does: a fence is a
line that begins with three or more backticks at the first column; an entry
of the reference begins with a level-2 heading "## NAME".
"""

import pathlib
import re

FENCE = re.compile(r"^(`{3,})(.*)$")
ENTRY_HEADING = re.compile(r"^## (.*?)\s*$")
LINK = re.compile(r"\[[^\]]*\]\(([^)\s]+)\)")


class DocError(Exception):
    """A documentation file that cannot be read as the format says."""


class Block:
    def __init__(self, line, info, text):
        self.line = line    # 1-based line of the opening fence
        self.info = info    # the info string, stripped
        self.text = text    # the lines between the fences, joined by LF

    @property
    def kind(self):
        return self.info.split()[0] if self.info.split() else ""


class Example:
    def __init__(self, program, outcome, answers):
        self.program = program  # the tesmora Block
        self.outcome = outcome  # the result or error Block that follows it
        self.answers = answers  # values of answer= tokens, in order


def fenced_blocks(text, where):
    """Every fenced block of a Markdown text, in order."""
    blocks, opening, info, body = [], None, "", []
    for number, line in enumerate(text.split("\n"), 1):
        line = line.removesuffix("\r")
        match = FENCE.match(line)
        if opening is None:
            if match:
                opening, info, body = (number, match.group(1)), match.group(2).strip(), []
            continue
        if match and len(match.group(1)) >= len(opening[1]) and not match.group(2).strip():
            blocks.append(Block(opening[0], info, "\n".join(body)))
            opening = None
        else:
            body.append(line)
    if opening is not None:
        raise DocError(f"{where}:{opening[0]}: the block opened here is never closed")
    return blocks


def examples(text, where):
    """The examples of a file: each tesmora block with the result or error
    block that follows it (other blocks may stand between them only if they
    are neither)."""
    found, pending = [], None
    for block in fenced_blocks(text, where):
        if block.kind == "tesmora":
            if pending is not None:
                raise DocError(f"{where}:{pending.line}: example without a "
                               f"result or error block before the next example")
            pending = block
        elif block.kind in ("result", "error"):
            if pending is None:
                raise DocError(f"{where}:{block.line}: {block.kind} block without "
                               f"an example before it")
            if block.info != block.kind:
                raise DocError(f"{where}:{block.line}: a {block.kind} block takes "
                               f"no words after its name")
            found.append(Example(pending, block, answers_of(pending, where)))
            pending = None
    if pending is not None:
        raise DocError(f"{where}:{pending.line}: example without a result or "
                       f"error block")
    return found


def answers_of(block, where):
    answers = []
    for token in block.info.split()[1:]:
        if not token.startswith("answer="):
            raise DocError(f"{where}:{block.line}: unknown word {token!r} in the "
                           f"info string (only answer=VALUE is allowed)")
        answers.append(token.removeprefix("answer="))
    return answers


def entry_headings(text, where):
    """(line, name) of every level-2 heading outside fenced blocks."""
    headings, in_fence = [], None
    for number, line in enumerate(text.split("\n"), 1):
        line = line.removesuffix("\r")
        match = FENCE.match(line)
        if in_fence is not None:
            if match and len(match.group(1)) >= len(in_fence) and not match.group(2).strip():
                in_fence = None
            continue
        if match:
            in_fence = match.group(1)
            continue
        heading = ENTRY_HEADING.match(line)
        if heading:
            headings.append((number, heading.group(1)))
    return headings


def markdown_files(*folders):
    files = []
    for folder in folders:
        folder = pathlib.Path(folder)
        if folder.is_dir():
            files += sorted(folder.rglob("*.md"))
    return files

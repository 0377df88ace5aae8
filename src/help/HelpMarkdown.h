// How the help reads its Markdown: fenced blocks, reference entries and
// the examples inside a text. The same rules as the documentation tests
// (tests/docs/doc_markdown.py): a fence is a line that begins with three or
// more backticks; an entry begins with the level-2 heading "## NAME" and
// runs to the next heading of level 1 or 2 outside a fenced block.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesmora::help {

// One line of a Markdown text with what the help needs to know about it.
struct MarkdownLine {
  std::string_view text;     // without its line end
  std::size_t offset = 0;    // of the line's first byte in the text
  bool inFence = false;      // inside a fenced block, or one of its fences
  bool opensFence = false;
  bool closesFence = false;
  std::string_view info;     // of an opening fence: its info string
};

std::vector<MarkdownLine> markdownLines(std::string_view text);

struct EntryText {
  std::string name;
  std::string markdown;  // from its heading up to the next heading
};

// The entries of one reference file, in file order.
std::vector<EntryText> splitEntries(std::string_view text);

// The first level-1 heading's text, or `fallback` without one.
std::string pageTitle(std::string_view text, std::string_view fallback);

// The text with a link under every `tesmora` example block that offers to
// put the example into the editor; the links are `<scheme>:<index>` into
// `examples`, which receives the example texts in order.
struct LinkedExamples {
  std::string markdown;
  std::vector<std::string> examples;
};
LinkedExamples withExampleLinks(std::string_view text, std::string_view scheme,
                                std::string_view caption);

}  // namespace tesmora::help

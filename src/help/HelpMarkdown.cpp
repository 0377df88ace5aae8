#include "help/HelpMarkdown.h"

namespace tesmora::help {
namespace {

std::size_t leadingBackticks(std::string_view line) {
  std::size_t n = 0;
  while (n < line.size() && line[n] == '`') ++n;
  return n;
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// "## name" → name; anything else → empty.
std::string_view headingText(std::string_view line, std::string_view marks) {
  if (line.substr(0, marks.size()) != marks) return {};
  return trimmed(line.substr(marks.size()));
}

bool isHeadingOfLevel1Or2(std::string_view line) {
  return !headingText(line, "# ").empty() || !headingText(line, "## ").empty();
}

}  // namespace

std::vector<MarkdownLine> markdownLines(std::string_view text) {
  std::vector<MarkdownLine> lines;
  std::size_t fence = 0;  // backticks of the open fence; 0 outside
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    MarkdownLine line;
    line.offset = start;
    line.text = text.substr(start, end - start);
    if (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
    const std::size_t ticks = leadingBackticks(line.text);
    if (fence == 0 && ticks >= 3) {
      fence = ticks;
      line.inFence = line.opensFence = true;
      line.info = trimmed(line.text.substr(ticks));
    } else if (fence != 0) {
      line.inFence = true;
      if (ticks >= fence && trimmed(line.text.substr(ticks)).empty()) {
        line.closesFence = true;
        fence = 0;
      }
    }
    lines.push_back(line);
    if (end == text.size()) break;
    start = end + 1;
  }
  return lines;
}

std::vector<EntryText> splitEntries(std::string_view text) {
  std::vector<EntryText> entries;
  bool open = false;  // the last entry still takes lines
  std::size_t entryStart = 0;
  const auto close = [&](std::size_t end) {
    if (!open) return;
    std::string markdown(text.substr(entryStart, end - entryStart));
    // The blank lines that separate one entry from the next are not its own.
    while (!markdown.empty() && (markdown.back() == '\n' || markdown.back() == '\r'))
      markdown.pop_back();
    entries.back().markdown = markdown + '\n';
    open = false;
  };
  for (const MarkdownLine& line : markdownLines(text)) {
    if (line.inFence || !isHeadingOfLevel1Or2(line.text)) continue;
    close(line.offset);
    const std::string_view name = headingText(line.text, "## ");
    if (name.empty()) continue;  // a level-1 heading starts no entry
    entries.push_back({std::string(name), {}});
    entryStart = line.offset;
    open = true;
  }
  close(text.size());
  return entries;
}

std::string pageTitle(std::string_view text, std::string_view fallback) {
  for (const MarkdownLine& line : markdownLines(text)) {
    if (line.inFence) continue;
    const std::string_view title = headingText(line.text, "# ");
    if (!title.empty()) return std::string(title);
  }
  return std::string(fallback);
}

LinkedExamples withExampleLinks(std::string_view text, std::string_view scheme,
                                std::string_view caption) {
  LinkedExamples result;
  bool inExample = false;
  std::string example;
  for (const MarkdownLine& line : markdownLines(text)) {
    result.markdown.append(line.text);
    result.markdown += '\n';
    if (line.opensFence) {
      const std::string_view info = line.info;
      inExample = info.substr(0, info.find(' ')) == "tesmora";
      example.clear();
    } else if (line.closesFence && inExample) {
      inExample = false;
      result.markdown += "\n[" + std::string(caption) + "](" + std::string(scheme) +
                         ":" + std::to_string(result.examples.size()) + ")\n";
      result.examples.push_back(example);
    } else if (inExample) {
      example.append(line.text);
      example += '\n';
    }
  }
  // The last line of a text without a final line end gets none added.
  if (!text.empty() && text.back() != '\n' && !result.markdown.empty())
    result.markdown.pop_back();
  for (std::string& e : result.examples)
    if (!e.empty()) e.pop_back();
  return result;
}

}  // namespace tesmora::help

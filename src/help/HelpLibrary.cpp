#include "help/HelpLibrary.h"

#include <algorithm>
#include <cctype>

#include "help/CloseNames.h"
#include "help/EmbeddedDocs.h"
#include "help/HelpMarkdown.h"

namespace tesmora::help {
namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string fileStem(std::string_view path) {
  const auto slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return std::string(name.substr(0, name.rfind('.')));
}

// "guide/../reference/laws.md" → "reference/laws.md"; a path that climbs
// out of docs/ gives the empty text.
std::string normalisedPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (parts.empty()) return {};
      parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string joined;
  for (std::string_view part : parts) {
    if (!joined.empty()) joined += '/';
    joined += part;
  }
  return joined;
}

std::string folderOf(std::string_view file) {
  const auto slash = file.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(file.substr(0, slash + 1));
}

}  // namespace

HelpLibrary::HelpLibrary(const std::vector<HelpSource>& sources) {
  for (const HelpSource& source : sources) {
    HelpPage page{source.path, pageTitle(source.text, fileStem(source.path)), source.text};
    if (startsWith(source.path, "reference/")) {
      for (EntryText& entry : splitEntries(source.text))
        entries_.push_back({std::move(entry.name), source.path, std::move(entry.markdown)});
      reference_.push_back(std::move(page));
    } else if (startsWith(source.path, "guide/")) {
      guide_.push_back(std::move(page));
    }
  }
  const auto byFile = [](const HelpPage& a, const HelpPage& b) { return a.file < b.file; };
  std::sort(guide_.begin(), guide_.end(), byFile);
  std::sort(reference_.begin(), reference_.end(), byFile);
  // A name written twice keeps its first entry; the documentation tests
  // refuse such files, the programs just must not break on them.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const HelpEntry& a, const HelpEntry& b) { return a.name < b.name; });
  entries_.erase(std::unique(entries_.begin(), entries_.end(),
                             [](const HelpEntry& a, const HelpEntry& b) {
                               return a.name == b.name;
                             }),
                 entries_.end());
}

const HelpLibrary& HelpLibrary::embedded() {
  static const HelpLibrary library = [] {
    std::vector<HelpSource> sources;
    for (const EmbeddedDoc& doc : embeddedDocs())
      sources.push_back({std::string(doc.path), std::string(doc.text)});
    return HelpLibrary(sources);
  }();
  return library;
}

const HelpEntry* HelpLibrary::entry(std::string_view name) const {
  const auto it = std::lower_bound(
      entries_.begin(), entries_.end(), name,
      [](const HelpEntry& entry, std::string_view key) { return entry.name < key; });
  return it != entries_.end() && it->name == name ? &*it : nullptr;
}

const HelpPage* HelpLibrary::page(std::string_view file) const {
  for (const auto* pages : {&guide_, &reference_})
    for (const HelpPage& page : *pages)
      if (page.file == file) return &page;
  return nullptr;
}

const HelpPage* HelpLibrary::pageForKeyword(std::string_view word) const {
  struct Keyword {
    std::string_view word;
    std::string_view page;
  };
  static constexpr Keyword kKeywords[] = {
      {"if", "guide/04-statements.md"},       {"else", "guide/04-statements.md"},
      {"while", "guide/04-statements.md"},    {"for", "guide/04-statements.md"},
      {"in", "guide/04-statements.md"},       {"break", "guide/04-statements.md"},
      {"continue", "guide/04-statements.md"}, {"num", "guide/04-statements.md"},
      {"row", "guide/04-statements.md"},      {"col", "guide/04-statements.md"},
      {"function", "guide/05-functions.md"},  {"law", "guide/05-functions.md"},
      {"scalar", "guide/05-functions.md"},    {"matrix", "guide/05-functions.md"},
      {"supermatrix", "guide/05-functions.md"}, {"string", "guide/05-functions.md"},
      {"R", "guide/09-exam.md"},              {"Question", "guide/09-exam.md"},
      {"Comment", "guide/09-exam.md"},        {"Setup", "guide/09-exam.md"},
      {"Statement", "guide/09-exam.md"},      {"Solution", "guide/09-exam.md"},
      {"Info", "guide/09-exam.md"},
  };
  for (const Keyword& keyword : kKeywords)
    if (keyword.word == word) return page(keyword.page);
  return nullptr;
}

std::vector<std::string> HelpLibrary::entryNames() const {
  std::vector<std::string> names;
  for (const HelpEntry& entry : entries_) names.push_back(entry.name);
  return names;
}

std::vector<std::string> HelpLibrary::closeNames(std::string_view name,
                                                 std::size_t limit) const {
  return help::closeNames(name, entryNames(), limit);
}

std::vector<const HelpEntry*> HelpLibrary::search(std::string_view text) const {
  const std::string key = lowered(text);
  std::vector<const HelpEntry*> byName, byText;
  for (const HelpEntry& entry : entries_) {
    if (lowered(entry.name).find(key) != std::string::npos)
      byName.push_back(&entry);
    else if (lowered(entry.markdown).find(key) != std::string::npos)
      byText.push_back(&entry);
  }
  byName.insert(byName.end(), byText.begin(), byText.end());
  return byName;
}

std::optional<HelpTarget> HelpLibrary::resolve(std::string_view from,
                                               std::string_view href) const {
  const auto hash = href.find('#');
  const std::string_view filePart = href.substr(0, hash);
  const std::string fragment =
      hash == std::string_view::npos ? std::string() : std::string(href.substr(hash + 1));
  const std::string file =
      filePart.empty() ? std::string(from) : normalisedPath(folderOf(from) + std::string(filePart));
  if (!fragment.empty() && startsWith(file, "reference/")) {
    if (const HelpEntry* found = entry(fragment)) return HelpTarget{HelpTarget::Kind::Entry, found->name};
  }
  if (page(file)) return HelpTarget{HelpTarget::Kind::Page, file};
  return std::nullopt;
}

}  // namespace tesmora::help

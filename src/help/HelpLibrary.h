// The documentation as the programs use it: the guide's pages in order and
// the reference's entries by name, with the index, close names, search and
// the meaning of links between the files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmora::help {

// One documentation file.
struct HelpPage {
  std::string file;      // below docs/: "guide/values.md"
  std::string title;     // its level-1 heading
  std::string markdown;
};

// One reference entry: a builtin, a method, a constant or a colour.
struct HelpEntry {
  std::string name;
  std::string file;      // the reference file that holds it
  std::string markdown;  // the entry alone, from its heading
};

// Where a link of a page leads.
struct HelpTarget {
  enum class Kind { Entry, Page };
  Kind kind = Kind::Page;
  std::string key;  // the entry's name or the page's file
};

struct HelpSource {
  std::string path;  // below docs/
  std::string text;
};

class HelpLibrary {
 public:
  HelpLibrary() = default;
  explicit HelpLibrary(const std::vector<HelpSource>& sources);

  // The documentation compiled into the program.
  static const HelpLibrary& embedded();

  const HelpEntry* entry(std::string_view name) const;
  const HelpPage* page(std::string_view file) const;

  // Every entry, by name (byte order, so "E" before "e").
  const std::vector<HelpEntry>& entries() const { return entries_; }
  std::vector<std::string> entryNames() const;
  // The guide's pages in file order, then the reference's files.
  const std::vector<HelpPage>& guidePages() const { return guide_; }
  const std::vector<HelpPage>& referencePages() const { return reference_; }

  // The guide's page that explains a word of the language that is no
  // builtin (if, for, function, law, Question …), or null.
  const HelpPage* pageForKeyword(std::string_view word) const;

  std::vector<std::string> closeNames(std::string_view name,
                                      std::size_t limit = 8) const;

  // Entries whose name holds `text` (letter case ignored), then those whose
  // text holds it; empty text gives every entry.
  std::vector<const HelpEntry*> search(std::string_view text) const;

  // A link `href` written in the file `from`: "laws.md#pl",
  // "../guide/errors.md", "#pl". Empty when it leads nowhere we know.
  std::optional<HelpTarget> resolve(std::string_view from,
                                    std::string_view href) const;

 private:
  std::vector<HelpPage> guide_;
  std::vector<HelpPage> reference_;
  std::vector<HelpEntry> entries_;
};

}  // namespace tesmora::help

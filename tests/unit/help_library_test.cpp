// The help's reading of the documentation: entries, links, close names,
// search, the example links of the browser, and the runner's --doc.
#include <gtest/gtest.h>

#include <map>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CliOptions.h"
#include "cli/DocCommand.h"
#include "help/CloseNames.h"
#include "help/EmbeddedDocs.h"
#include "help/HelpLibrary.h"
#include "help/HelpMarkdown.h"

namespace tesmora::help {
namespace {

const char* const kLaws =
    "# Законы\n\n"
    "Вступление.\n\n"
    "## pl\n\nФункция распределения.\n\n```tesmora\nnlaw(0, 1).pl(0)\n```\n\n"
    "```result\n0.5\n```\n\n"
    "## invpl\n\nКвантиль. См. [pl](#pl), [sin](elementary.md#sin).\n\n"
    "```text\n## not an entry inside a block\n```\n";
const char* const kElementary = "# Элементарные\n\n## sin\n\nСинус.\n\n## E\n\nЕдиничная.\n\n## e\n\nЧисло e.\n";
const char* const kGuide = "# Значения\n\nСм. [pl](../reference/laws.md#pl) и [ошибки](errors.md).\n";

HelpLibrary sample() {
  return HelpLibrary({{"reference/laws.md", kLaws},
                      {"reference/elementary.md", kElementary},
                      {"guide/01-values.md", kGuide},
                      {"guide/errors.md", "# Ошибки\n"},
                      {"guide/04-statements.md", "# Операторы\n"}});
}

TEST(HelpLibrary, SplitsReferenceFilesIntoEntriesByName) {
  const HelpLibrary library = sample();
  EXPECT_EQ(library.entryNames(),
            (std::vector<std::string>{"E", "e", "invpl", "pl", "sin"}));
  const HelpEntry* pl = library.entry("pl");
  ASSERT_NE(pl, nullptr);
  EXPECT_EQ(pl->file, "reference/laws.md");
  EXPECT_EQ(pl->markdown.substr(0, 5), "## pl");
  EXPECT_EQ(pl->markdown.find("invpl"), std::string::npos);
  // A heading inside a fenced block is text, not an entry.
  EXPECT_NE(library.entry("invpl")->markdown.find("not an entry"), std::string::npos);
  EXPECT_EQ(library.entry("Pl"), nullptr);
  EXPECT_EQ(library.guidePages().front().title, "Значения");
}

TEST(HelpLibrary, ResolvesLinksBetweenFiles) {
  const HelpLibrary library = sample();
  struct Row {
    const char* from;
    const char* href;
    std::optional<HelpTarget::Kind> kind;
    const char* key;
  };
  const Row rows[] = {
      {"reference/laws.md", "#pl", HelpTarget::Kind::Entry, "pl"},
      {"reference/laws.md", "elementary.md#sin", HelpTarget::Kind::Entry, "sin"},
      {"guide/01-values.md", "../reference/laws.md#pl", HelpTarget::Kind::Entry, "pl"},
      {"guide/01-values.md", "errors.md", HelpTarget::Kind::Page, "guide/errors.md"},
      {"guide/01-values.md", "../reference/laws.md", HelpTarget::Kind::Page, "reference/laws.md"},
      {"guide/01-values.md", "missing.md", std::nullopt, ""},
      {"guide/01-values.md", "../../etc/passwd", std::nullopt, ""},
  };
  for (const Row& row : rows) {
    const auto target = library.resolve(row.from, row.href);
    ASSERT_EQ(target.has_value(), row.kind.has_value()) << row.href;
    if (!target) continue;
    EXPECT_EQ(target->kind, *row.kind) << row.href;
    EXPECT_EQ(target->key, row.key) << row.href;
  }
}

TEST(HelpLibrary, KeywordsLeadToTheirChapter) {
  const HelpLibrary library = sample();
  ASSERT_NE(library.pageForKeyword("while"), nullptr);
  EXPECT_EQ(library.pageForKeyword("while")->file, "guide/04-statements.md");
  EXPECT_EQ(library.pageForKeyword("function"), nullptr);  // no such page here
  EXPECT_EQ(library.pageForKeyword("sin"), nullptr);
  // The embedded guide has every chapter the keywords name.
  for (const char* word : {"if", "for", "function", "law", "Question", "Statement"})
    EXPECT_NE(HelpLibrary::embedded().pageForKeyword(word), nullptr) << word;
}

TEST(CloseNames, RanksCaseThenPrefixThenTypos) {
  const std::vector<std::string> names = {"invpl", "invpg", "pl", "ple", "pgle",
                                          "pgele", "sin", "E", "e", "LoadExamBase"};
  EXPECT_EQ(closeNames("invpll", names), (std::vector<std::string>{"invpl", "invpg"}));
  EXPECT_EQ(closeNames("loadexambase", names), (std::vector<std::string>{"LoadExamBase"}));
  EXPECT_EQ(closeNames("pgl", names).front(), "pgle");
  EXPECT_EQ(closeNames("sni", names), (std::vector<std::string>{"sin"}));
  EXPECT_TRUE(closeNames("zzzzzz", names).empty());
  EXPECT_EQ(editDistance("kitten", "sitting"), 3u);
}

TEST(HelpLibrary, SearchFindsNamesFirstThenTexts) {
  const HelpLibrary library = sample();
  const auto found = library.search("PL");
  ASSERT_GE(found.size(), 2u);
  EXPECT_EQ(found[0]->name, "invpl");
  EXPECT_EQ(found[1]->name, "pl");
  const auto byText = library.search("Синус");
  ASSERT_EQ(byText.size(), 1u);
  EXPECT_EQ(byText[0]->name, "sin");
  EXPECT_EQ(library.search("").size(), library.entries().size());
}

TEST(HelpMarkdown, PutsACopyLinkUnderEveryExample) {
  const LinkedExamples linked = withExampleLinks(
      "Текст\n```tesmora answer=NO\na = 1;\nb = 2;\n```\n```result\n2\n```\n"
      "````tesmora\nx\n````\n",
      "tesmora-example", "В редактор");
  EXPECT_EQ(linked.examples, (std::vector<std::string>{"a = 1;\nb = 2;", "x"}));
  EXPECT_NE(linked.markdown.find("```\n\n[В редактор](tesmora-example:0)\n"),
            std::string::npos);
  EXPECT_NE(linked.markdown.find("(tesmora-example:1)"), std::string::npos);
  EXPECT_EQ(linked.markdown.find("(tesmora-example:2)"), std::string::npos);
}

// The programs carry exactly the files of docs/guide and docs/reference,
// byte for byte: a stale embedding would show help that no test checked.
TEST(EmbeddedDocs, HoldEveryDocumentationFileAsWritten) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> onDisk;
  for (const char* folder : {"guide", "reference"}) {
    const fs::path root = fs::path(TESMORA_DOCS_DIR) / folder;
    if (!fs::exists(root)) continue;
    for (const auto& file : fs::recursive_directory_iterator(root)) {
      if (file.path().extension() != ".md") continue;
      std::ifstream in(file.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      onDisk[fs::relative(file.path(), TESMORA_DOCS_DIR).generic_string()] = text.str();
    }
  }
  std::map<std::string, std::string> embedded;
  for (const EmbeddedDoc& doc : embeddedDocs())
    embedded[std::string(doc.path)] = std::string(doc.text);
  EXPECT_FALSE(embedded.empty());
  EXPECT_EQ(embedded, onDisk);
}

TEST(DocCommand, PrintsTheEntryOrListsCloseNames) {
  const HelpLibrary library = sample();
  std::ostringstream out, err;
  EXPECT_EQ(cli::printDocEntry("invpl", out, err, library), 0);
  EXPECT_EQ(out.str().substr(0, 8), "## invpl");
  EXPECT_TRUE(err.str().empty());

  std::ostringstream out2, err2;
  EXPECT_EQ(cli::printDocEntry("invpll", out2, err2, library), 2);
  EXPECT_TRUE(out2.str().empty());
  EXPECT_NE(err2.str().find("closest names: invpl"), std::string::npos);
}

TEST(DocCommand, IsAnOptionOfItsOwn) {
  const auto options = cli::parseCommandLine({"--doc", "invpl"});
  ASSERT_TRUE(options.doc.has_value());
  EXPECT_EQ(*options.doc, "invpl");
  EXPECT_TRUE(options.runs.empty());
  EXPECT_THROW(cli::parseCommandLine({"--doc"}), cli::UsageError);
}

}  // namespace
}  // namespace tesmora::help

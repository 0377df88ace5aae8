#include "exam/ItemReader.h"

#include <fstream>
#include <iterator>
#include <string_view>

#include "interp/Errors.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

constexpr std::string_view kQuestionLine = "\\section{Question";
constexpr std::string_view kDocumentEnd = "\\end{document}";
constexpr std::string_view kSubsection = "\\subsection";

bool startsWith(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

// The lines of a file read in text mode, each without its line end.
class LineSource {
 public:
  explicit LineSource(std::string text) : text_(std::move(text)) {}
  bool atEnd() const { return pos_ >= text_.size(); }
  std::string_view next() {
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string::npos ? text_.size() : end;
    std::string_view line(text_.data() + pos_, stop - pos_);
    pos_ = stop + 1;
    // Files written before question files were mended end their lines in
    // CR CR LF; read in text mode, such a line keeps one CR.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }
  // Inside a question the file must go on.
  std::string_view required() {
    if (atEnd()) raise("неожиданный конец файла");
    return next();
  }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

std::string fileText(const std::string& name, const char* builtin) {
  std::ifstream in(nativeFileName(name), std::ios::binary);
  if (!in) raise1251(cp("Не удается открыть файл ") + name, builtin);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return fromTextModeBytes(bytes);
}

// The number of "\section{Question N}": from the 19th character up to the
// closing brace.
std::string_view numberText(std::string_view line) {
  constexpr std::size_t kStart = kQuestionLine.size() + 1;
  return line.size() > kStart ? line.substr(kStart, line.size() - kStart - 1)
                              : std::string_view();
}

// The buffer a subsection line selects; Comment only as the first section.
std::string* sectionBuffer(Item& item, std::string_view line, bool firstSection) {
  if (startsWith(line, "\\subsection{Comment}")) return firstSection ? &item.comment : nullptr;
  if (startsWith(line, "\\subsection{Setup}")) return &item.setup;
  if (startsWith(line, "\\subsection{Statement}")) return &item.statement;
  if (startsWith(line, "\\subsection{Solution}")) return &item.solution;
  return nullptr;
}

}  // namespace

void readItems(const std::string& listedName, const std::string& filter,
               const char* builtin, std::vector<Item>& items) {
  LineSource lines(fileText(listedName + ".tex", builtin));
  std::string_view line;
  do {
    if (lines.atEnd()) return;  // no question in this file
    line = lines.next();
  } while (!startsWith(line, kQuestionLine));

  for (;;) {  // line is the section line of the next question
    Item item;
    item.name = listedName + "-" + std::string(numberText(line));
    std::string* current = nullptr;
    bool firstSection = true;
    for (;;) {
      line = lines.required();
      bool afterTitle = false;
      while (startsWith(line, kSubsection)) {
        current = sectionBuffer(item, line, firstSection);
        firstSection = false;
        if (current) current->clear();
        line = lines.required();
        afterTitle = true;
      }
      if (afterTitle && line.empty()) continue;  // the line after a title
      if (startsWith(line, kQuestionLine) || startsWith(line, kDocumentEnd)) break;
      if (current) {
        current->append(line);
        current->push_back('\n');
      }
    }
    if (item.comment.find(filter) != std::string::npos) items.push_back(std::move(item));
    if (startsWith(line, kDocumentEnd)) return;
  }
}

}  // namespace tesmora

#include "interp/Question.h"

#include <cstring>
#include <string>
#include <vector>

#include "exam/Substitution.h"
#include "interp/Errors.h"
#include "interp/Scanner.h"
#include "values/Display.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

struct Section {
  std::string title;
  std::string text;
};

bool endsName(char c) {
  return c == 0 || c == ' ' || c == '\t' || c == '\r' || c == '\n' ||
         isSeparatorChar(c);
}

// The text a listed value puts in place of its name.
std::string substitute(const MatObject& value) {
  if (value.typeCode == kScalarType) return formatNumber(numberOf(value));
  if (value.typeCode == kStringType) return static_cast<const String&>(value).text;
  return "<..>";
}

// Everywhere but inside LaTeX control words (\det stays \det with a d).
void replaceAll(std::string& text, const std::string& name,
                const std::string& value) {
  replaceOutsideControlWords(text, name, value);
}

bool substituted(const std::string& title) {
  return title.compare(0, 7, "Comment") != 0 && title.compare(0, 4, "Info") != 0;
}

}  // namespace

ValuePtr buildQuestion(Scanner& scanner, const CSuperMatrix& listed) {
  const char* syntax = "нарушен синтаксис R-оператора";
  std::vector<Section> sections;
  // p is just after a "<<".
  const char* p = scanner.readPos;
  for (;;) {
    if (*p == 0) raise(syntax);
    const char* nameEnd = p;
    while (!endsName(*nameEnd)) ++nameEnd;
    const bool startsName = nameEnd != p && !(*p >= '0' && *p <= '9');
    if (!startsName || nameEnd[0] != '>' || nameEnd[1] != '>') {
      raise("Неправильно задан заголовок");
    }
    const std::string title(p, nameEnd);
    if (title == "R") raise("Неожиданное появление R-заголовка");
    if (title == "Question") {
      scanner.readPos = p - 2;
      break;
    }
    const char* textStart = nameEnd + 2;
    const char* next = std::strstr(textStart, "<<");
    const char* textEnd = next ? next : textStart + std::strlen(textStart);
    sections.push_back({title, std::string(textStart, textEnd)});
    if (!next) {
      scanner.readPos = textEnd;
      break;
    }
    p = next + 2;
  }

  auto question = CSuperMatrix::create(static_cast<int>(sections.size()), 2);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    Section& section = sections[i];
    if (substituted(section.title)) {
      for (int row = 0; row < listed.rows(); ++row) {
        const auto& name = static_cast<const String&>(*listed.cell(row, 0)).text;
        replaceAll(section.text, name, substitute(*listed.cell(row, 1)));
      }
    }
    question->setCell(static_cast<int>(2 * i), std::make_unique<String>(section.title));
    question->setCell(static_cast<int>(2 * i + 1),
                      std::make_unique<String>(std::move(section.text)));
  }
  // The top-level loop reads the next token from here.
  scanner.tokenStart = scanner.readPos;
  return question;
}

}  // namespace tesmora

#include "cli/Answers.h"

#include <cctype>
#include <charconv>

namespace tesmora::cli {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> AnswerQueue::take() {
  if (answers_.empty()) return {};
  std::string answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

std::string defaultButton(const BoxRequest& box) {
  if (box.kind == BoxKind::LongRun) return "NO";
  if (box.buttons == "CANCEL|TRY|CONTINUE") return "CANCEL";
  return box.buttons.substr(0, box.buttons.find('|'));
}

std::optional<std::string> matchButton(std::string_view answer,
                                       std::string_view buttons) {
  std::size_t start = 0;
  while (start <= buttons.size()) {
    std::size_t end = buttons.find('|', start);
    if (end == std::string_view::npos) end = buttons.size();
    const std::string_view button = buttons.substr(start, end - start);
    if (!button.empty() && equalsIgnoringCase(answer, button)) {
      return std::string(button);
    }
    start = end + 1;
  }
  return {};
}

std::optional<int> parseShowCode(std::string_view answer) {
  int code = 0;
  const char* first = answer.data();
  const char* last = answer.data() + answer.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, code);
  if (error != std::errc() || end != last || first == last) return {};
  return code;
}

std::optional<QShowAnswer> parseQShowAnswer(std::string_view answer) {
  if (equalsIgnoringCase(answer, "X")) return QShowAnswer::X;
  if (equalsIgnoringCase(answer, "SKIP")) return QShowAnswer::Skip;
  if (equalsIgnoringCase(answer, "ASK")) return QShowAnswer::Ask;
  return {};
}

const char* qshowAnswerName(QShowAnswer answer) {
  switch (answer) {
    case QShowAnswer::X: return "X";
    case QShowAnswer::Skip: return "SKIP";
    case QShowAnswer::Ask: return "ASK";
  }
  return "X";
}

}  // namespace tesmora::cli

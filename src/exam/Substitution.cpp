#include "exam/Substitution.h"

namespace tesmora {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether position `pos` belongs to a control word or control symbol: the
// letters before it (TeX's letters are ASCII only) follow a backslash that
// is not itself escaped, and `pos` either continues those letters or sits
// right after the backslash.
bool insideControlWord(const std::string& text, std::size_t pos) {
  std::size_t start = pos;
  while (start > 0 && isAsciiLetter(text[start - 1])) --start;
  if (start != pos && !isAsciiLetter(text[pos])) return false;
  std::size_t backslashes = 0;
  while (start > backslashes && text[start - 1 - backslashes] == '\\') ++backslashes;
  return backslashes % 2 == 1;
}

}  // namespace

void replaceOutsideControlWords(std::string& text, const std::string& name,
                                const std::string& value) {
  if (name.empty()) return;
  std::size_t pos = text.find(name);
  while (pos != std::string::npos) {
    if (insideControlWord(text, pos)) {
      pos = text.find(name, pos + 1);
      continue;
    }
    text.replace(pos, name.size(), value);
    pos = text.find(name, pos + value.size());
  }
}

}  // namespace tesmora

#include "interp/Scanner.h"

#include "interp/Errors.h"

namespace tesmora {
namespace {

// The 30 separator characters. A table keeps classification to one load.
struct CharClasses {
  bool separator[256] = {};
  bool space[256] = {};
  CharClasses() {
    for (const char c : std::string_view(".+-*/%^\\'()[]{}=!~:,;&<>?|$#@\"")) {
      separator[static_cast<unsigned char>(c)] = true;
    }
    for (const char c : std::string_view(" \n\r\t")) {
      space[static_cast<unsigned char>(c)] = true;
    }
  }
};

const CharClasses kClasses;

bool isSpace(char c) { return kClasses.space[static_cast<unsigned char>(c)]; }

bool endsNumber(char c) {
  return c == 0 || isSpace(c) || (c != '.' && isSeparatorChar(c));
}

bool endsName(char c) { return c == 0 || isSpace(c) || isSeparatorChar(c); }

// The second character that joins a separator into a two-character token.
bool joins(char first, char second) {
  switch (first) {
    case '&': return second == '*' || second == '^';
    case '^': return second == '+';
    case '<': return second == '<' || second == '=';
    case '>': return second == '>' || second == '=';
    case '=':
    case '!': return second == '=';
    default: return false;
  }
}

}  // namespace

bool isSeparatorChar(char c) {
  return kClasses.separator[static_cast<unsigned char>(c)];
}

void Scanner::scan() {
  tokenStart = readPos;
  const char* p = readPos;
  for (;;) {
    while (isSpace(*p)) ++p;
    if (p[0] == '/' && p[1] == '/') {
      while (*p && *p != '\r') ++p;
      if (*p == '\r') ++p;
      continue;
    }
    break;
  }

  if (*p == 0) {
    tokenKind = kEndToken;
    tokenText[0] = 0;
    readPos = p;
    return;
  }

  if (*p == '"') {
    const char* savedError = errorPos;
    setErrorPos(p);
    ++p;
    int length = 0;
    while (*p != '"') {
      if (*p == '\r') raise("Строковая константа не может состоять из нескольких строк");
      if (*p == 0) raise("Нет закрывающих кавычек");
      if (length == kTokenBufferSize - 2) raise("Слишком большая строковая константа");
      tokenText[length++] = *p++;
    }
    tokenText[length] = 0;
    readPos = p + 1;
    tokenKind = kStringToken;
    if (nestingDepth == 0) errorPos = savedError;
    return;
  }

  if (isSeparatorChar(*p)) {
    tokenKind = kSeparatorToken;
    tokenText[0] = *p;
    if (joins(p[0], p[1])) {
      tokenText[1] = p[1];
      tokenText[2] = 0;
      readPos = p + 2;
    } else {
      tokenText[1] = 0;
      readPos = p + 1;
    }
    return;
  }

  const bool number = *p >= '0' && *p <= '9';
  int length = 0;
  while (!(number ? endsNumber(*p) : endsName(*p))) {
    if (length == kTokenBufferSize - 1) {
      setErrorPos(p);
      raise(number ? "Слишком длинное число" : "Слишком длинное имя");
    }
    tokenText[length++] = *p++;
  }
  tokenText[length] = 0;
  readPos = p;
  tokenKind = number ? kNumberToken : kNameToken;
}

bool Scanner::precheck(const char* text) {
  start(text);
  char brackets[kMaxBracketDepth];
  int depth = 0;
  int statementMarks = 0;
  int headers = 0;
  char lastChar = 0;
  for (;;) {
    scan();
    if (tokenKind == kEndToken) break;
    errorPos = readPos;
    if (tokenKind == kStringToken) continue;
    lastChar = tokenText[0];
    if (tokenKind != kSeparatorToken) continue;
    const char c = tokenText[0];
    const bool single = tokenText[1] == 0;
    const char open = depth > 0 ? brackets[depth - 1] : 0;
    if (c == '(' || c == '[' || c == '{') {
      if (depth == kMaxBracketDepth) raise("слишком большая глубина скобок");
      brackets[depth++] = c;
    } else if (c == ')' || c == ']' || c == '}') {
      const char expected = c == ')' ? '(' : c == ']' ? '[' : '{';
      if (depth == 0 || open != expected) raise("нарушен баланс скобок");
      --depth;
    } else if (c == ';') {
      if (depth == 0 || open == '{') ++statementMarks;
      else if (open == '(') raise("';' после '('");
    } else if (c == '=' && single) {
      if (depth == 0 || open == '{') ++statementMarks;
      else if (open == '(') raise("'=' после '('");
      else raise("'=' после '['");
    } else if (c == '<' && tokenText[1] == '<') {
      ++headers;
    }
  }
  if (depth > 1) raise("остались незакрытые скобки");
  if (depth == 1) raise("осталась незакрытая скобка");
  if (headers == 0 && statementMarks > 0 && lastChar != ';' && lastChar != '}') {
    raise("нет ';' в конце программы");
  }
  return statementMarks > 0;
}

}  // namespace tesmora

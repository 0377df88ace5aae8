// The scanner reads the program text one token at a time, straight from
// the text: there is no token list and nothing is allocated per token. The
// evaluator and the statements drive it, move its reading position back to
// re-read a token, and re-scan whole stretches for every loop iteration and
// every user-function call.
#pragma once

#include <cstring>

#include "interp/Limits.h"

namespace tesmora {

enum TokenKind : int {
  kEndToken = 0,
  kNumberToken = 1,
  kSeparatorToken = 2,
  kNameToken = 3,
  kStringToken = 4,
};

class Scanner {
 public:
  // Greater than 0 while a user function's body is evaluated: then nobody
  // moves the error position, so errors point at the call.
  int nestingDepth = 0;
  const char* textStart = nullptr;
  // Where the caret goes if an error is raised now.
  const char* errorPos = nullptr;
  // First character not yet consumed.
  const char* readPos = nullptr;
  // The reading position when the current token was requested (before its
  // leading white space and comments).
  const char* tokenStart = nullptr;
  char tokenText[kTokenBufferSize] = {};
  char name1[kTokenBufferSize] = {};
  char name2[kTokenBufferSize] = {};
  int tokenKind = kEndToken;

  // Starts reading a NUL-terminated text.
  void start(const char* text) {
    textStart = errorPos = readPos = tokenStart = text;
    tokenText[0] = 0;
    tokenKind = kEndToken;
    nestingDepth = 0;
  }

  void scan();

  // Moves the error position, unless a function body is being evaluated.
  void setErrorPos(const char* pos) {
    if (nestingDepth == 0) errorPos = pos;
  }

  // Token tests, comparing the current token's text.
  bool is(const char* text) const { return std::strcmp(tokenText, text) == 0; }
  bool isSeparator(char c) const {
    return tokenKind == kSeparatorToken && tokenText[0] == c && tokenText[1] == 0;
  }
  bool isName(const char* name) const {
    return tokenKind == kNameToken && is(name);
  }
  bool atEnd() const { return tokenKind == kEndToken; }

  // The bracket pre-check over a whole text: true for a program of
  // statements, false for a single expression.
  bool precheck(const char* text);
};

bool isSeparatorChar(char c);

}  // namespace tesmora

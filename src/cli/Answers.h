// Answers to modal interactions, queued on the command line with --answer
// and consumed in order across runs; and what a box gets when none is
// queued.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "interp/Host.h"

namespace tesmora::cli {

class AnswerQueue {
 public:
  void push(std::string answer) { answers_.push_back(std::move(answer)); }
  std::optional<std::string> take();
  bool empty() const { return answers_.empty(); }

 private:
  std::deque<std::string> answers_;
};

// The button a box takes when nobody answers: the first of its set, except
// CANCEL for "CANCEL|TRY|CONTINUE"; the long-run question is answered NO
// so that the run goes on.
std::string defaultButton(const BoxRequest& box);

// The button of `buttons` ("YES|NO" ...) that `answer` names, compared
// without regard to case; nothing when the set has no such button.
std::optional<std::string> matchButton(std::string_view answer,
                                       std::string_view buttons);

// The end code of show's window from an answer such as "2" or "-1".
std::optional<int> parseShowCode(std::string_view answer);

// X, SKIP or ASK, without regard to case.
std::optional<QShowAnswer> parseQShowAnswer(std::string_view answer);
const char* qshowAnswerName(QShowAnswer answer);

}  // namespace tesmora::cli

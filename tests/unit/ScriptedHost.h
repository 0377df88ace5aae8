// A host for driving the interpreter from tests: every box is answered with
// its first button, the input dialog and the picture window are closed at
// once, and the clock is whatever the test makes it (by default a counter
// that advances one millisecond at every reading, so runs are repeatable).
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "interp/Host.h"

namespace tesmora::testing {

class ScriptedHost : public Host {
 public:
  std::string messageBox(const BoxRequest& box) override {
    boxes.push_back(box);
    return box.buttons.substr(0, box.buttons.find('|'));
  }

  std::string getString(const std::string& prompt) override {
    prompts.push_back(prompt);
    return "";
  }

  void setStatus(const std::string& text) override { status = text; }

  int showPicture(const PictureRequest&) override { return 0; }

  void setClipboardText(const std::string& text) override { clipboard = text; }

  std::int64_t tickMs() override { return tick ? tick() : ++counter; }

  std::time_t wallClock() override { return 1700000000; }

  std::vector<BoxRequest> boxes;
  std::vector<std::string> prompts;
  std::string status;
  std::string clipboard;
  std::int64_t counter = 0;
  std::function<std::int64_t()> tick;  // replaces the counter when set
};

}  // namespace tesmora::testing

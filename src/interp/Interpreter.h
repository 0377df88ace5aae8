// The interpreter as its hosts see it: one instance per process, runs one
// program text at a time and answers with a report.
//
// A host creates the Interpreter once (this builds the value stack, the
// variable table and the builtin registry), then hands it texts: the whole
// document (variables reset first) or a selected fragment (variables of
// earlier runs stay). Everything inside is Windows-1251 with CR LF line ends;
// the text helpers in text/ convert documents and command-line texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "interp/Host.h"

namespace tesmora {

struct RunRequest {
  std::string text;        // Windows-1251, CR LF line ends
  bool fragment = false;   // the user had selected this text
  std::string title;       // document title: the file name without ".tsm"
};

struct RunReport {
  bool ok = false;

  // A successful run: the result box. `shown` is false for a Void result
  // (nothing to show); then caption and text are empty.
  bool shown = false;
  std::string caption;
  std::string text;

  // A failed run: the error box and where the caret goes.
  std::string errorTitle;
  std::string errorMessage;
  std::size_t errorOffset = 0;  // byte offset into the run text

  // The first status pane at the end of the run.
  std::string status;

  // The picture left by the run: number of graphic commands and title.
  int pictureCommands = 0;
  std::string pictureTitle;
};

class ProgramContext;

class Interpreter {
 public:
  explicit Interpreter(Host& host);
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  RunReport run(const RunRequest& request);

  // Seeds the random generator (the runner's --seed).
  void seed(std::uint32_t value);

  ProgramContext& context();

 private:
  std::unique_ptr<ProgramContext> context_;
};

}  // namespace tesmora

// The headless host: every modal interaction is answered from the queue of
// --answer values (or takes its default) and logged for the run's report.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/Answers.h"
#include "cli/CliOptions.h"
#include "interp/Host.h"

namespace tesmora::cli {

// One modal interaction as the runner reports it. `kind` is ASCII; the
// other fields are Windows-1251 like everything the interpreter hands over.
struct BoxRecord {
  std::string kind;
  std::string caption;
  std::string text;
  std::string buttons;
  std::string icon;
  std::string answer;
};

class CliHost final : public Host {
 public:
  // `onBox` sees every interaction as it happens (the human form prints
  // it); `warn` receives notes about answers that do not fit (UTF-8).
  using BoxObserver = std::function<void(const BoxRecord&)>;
  using Warning = std::function<void(const std::string&)>;
  CliHost(BoxObserver onBox, Warning warn);

  void queueAnswer(std::string answer) { answers_.push(std::move(answer)); }

  // Where pictures of the following runs go (--picture, --picture-size).
  // Call it on the main thread: a PNG target prepares Qt's GUI there.
  void setPictureTarget(std::optional<std::string> file, PictureSize size);
  const std::optional<std::string>& pictureFile() const { return pictureFile_; }
  PictureSize pictureSize() const { return pictureSize_; }

  // The interactions since the last call, in order.
  std::vector<BoxRecord> takeBoxes();

  const std::string& status() const { return status_; }
  const std::string& clipboardText() const { return clipboard_; }

  std::string messageBox(const BoxRequest& box) override;
  std::string getString(const std::string& prompt) override;
  void setStatus(const std::string& text) override;
  int showPicture(const PictureRequest& request) override;
  void presentPicture(graphics::PictureState& picture) override;
  void setClipboardText(const std::string& text) override;
  std::int64_t tickMs() override;
  std::int64_t checkTickMs() override;
  std::time_t wallClock() override;

 private:
  void record(BoxRecord box);
  void drawPicture(graphics::PictureState& picture);
  bool writeSvgPicture(graphics::PictureState& picture, const std::string& file);
  std::string buttonAnswer(const BoxRequest& box);
  int showAnswer();
  QShowAnswer qshowAnswer();

  AnswerQueue answers_;
  BoxObserver onBox_;
  Warning warn_;
  std::vector<BoxRecord> boxes_;
  std::string status_;
  std::string clipboard_;
  std::optional<std::string> pictureFile_;
  PictureSize pictureSize_;
};

}  // namespace tesmora::cli

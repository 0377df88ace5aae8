#include "cli/CliHost.h"

#include <chrono>
#include <ctime>

#include "cli/PngPicture.h"
#include "graphics/PictureLayout.h"
#include "graphics/SvgCanvas.h"
#include "io/CheckedFile.h"
#include "text/Cp1251.h"

namespace tesmora::cli {
namespace {

std::string joinMenu(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) {
    if (!joined.empty()) joined += '|';
    joined += item;
  }
  return joined;
}

}  // namespace

CliHost::CliHost(BoxObserver onBox, Warning warn)
    : onBox_(std::move(onBox)), warn_(std::move(warn)) {}

std::vector<BoxRecord> CliHost::takeBoxes() {
  std::vector<BoxRecord> taken;
  taken.swap(boxes_);
  return taken;
}

void CliHost::record(BoxRecord box) {
  if (onBox_) onBox_(box);
  boxes_.push_back(std::move(box));
}

// A queued answer that names none of the box's buttons cannot be pressed;
// the box then takes its default, and the user is told why.
std::string CliHost::buttonAnswer(const BoxRequest& box) {
  const std::string fallback = defaultButton(box);
  const auto queued = answers_.take();
  if (!queued) return fallback;
  if (auto button = matchButton(*queued, box.buttons)) return *button;
  if (warn_) {
    warn_("answer \"" + cp1251ToUtf8(*queued) + "\" is no button of " +
          cp1251ToUtf8(box.buttons) + "; the box takes " + fallback);
  }
  return fallback;
}

int CliHost::showAnswer() {
  const auto queued = answers_.take();
  if (!queued) return 0;
  if (auto code = parseShowCode(*queued)) return *code;
  if (warn_) {
    warn_("answer \"" + cp1251ToUtf8(*queued) +
          "\" is no end code for show; the window ends with 0");
  }
  return 0;
}

QShowAnswer CliHost::qshowAnswer() {
  const auto queued = answers_.take();
  if (!queued) return QShowAnswer::X;
  if (auto answer = parseQShowAnswer(*queued)) return *answer;
  if (warn_) {
    warn_("answer \"" + cp1251ToUtf8(*queued) +
          "\" is not X, SKIP or ASK; qshow answers X");
  }
  return QShowAnswer::X;
}

std::string CliHost::messageBox(const BoxRequest& box) {
  std::string answer = buttonAnswer(box);
  record({boxKindName(box.kind), box.caption, box.text, box.buttons, box.icon,
          answer});
  return answer;
}

std::string CliHost::getString(const std::string& prompt) {
  std::string typed = answers_.take().value_or("");
  record({"getstr", "", prompt, "", "", typed});
  return typed;
}

void CliHost::setStatus(const std::string& text) { status_ = text; }

// PNG pictures need the Qt GUI, made here on the calling (main) thread and
// only when a PNG is asked for: the runs draw on threads of their own.
void CliHost::setPictureTarget(std::optional<std::string> file,
                               PictureSize size) {
  if (file && pictureFormatOf(*file) == PictureFormat::Png) {
    prepareRasterPictures();
  }
  pictureFile_ = std::move(file);
  pictureSize_ = size;
}

// The file shows what the window would: the client area drawn at the
// chosen size, as PNG (the window's own painter) or SVG.
void CliHost::drawPicture(graphics::PictureState& picture) {
  if (!pictureFile_) return;
  const std::string& file = *pictureFile_;
  bool written = false;
  switch (pictureFormatOf(file)) {
    case PictureFormat::Png:
      written = writePngPicture(picture, pictureSize_.width,
                                pictureSize_.height, file);
      break;
    case PictureFormat::Svg:
      written = writeSvgPicture(picture, file);
      break;
    case PictureFormat::Unknown:
      if (warn_) warn_("pictures are written as .png or .svg; \"" + file + "\" is not written");
      return;
  }
  if (!written && warn_) warn_("cannot write the picture to \"" + file + "\"");
}

bool CliHost::writeSvgPicture(graphics::PictureState& picture,
                              const std::string& file) {
  graphics::SvgCanvas canvas(pictureSize_.width, pictureSize_.height);
  graphics::paintPicture(picture, canvas);
  // A picture that cannot be written whole is not left behind in part.
  CheckedFile out;
  return out.create(file) && out.write(canvas.document()) && out.close();
}

void CliHost::presentPicture(graphics::PictureState& picture) { drawPicture(picture); }

int CliHost::showPicture(const PictureRequest& request) {
  if (request.picture) drawPicture(*request.picture);
  if (request.mode == PictureMode::QShow) {
    const QShowAnswer answer = qshowAnswer();
    record({"qshow", request.title, "", cp("Пропустить|Спросить"), "",
            qshowAnswerName(answer)});
    // The host interface encodes qshow's answer as 0 = X, 1 = SKIP, 2 = ASK.
    return answer == QShowAnswer::X ? 0 : answer == QShowAnswer::Skip ? 1 : 2;
  }
  const int code = showAnswer();
  record({"show", request.title, "", joinMenu(request.menu), "",
          std::to_string(code)});
  return code;
}

void CliHost::setClipboardText(const std::string& text) { clipboard_ = text; }

std::int64_t CliHost::tickMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch())
      .count();
}

// steady_clock is CLOCK_MONOTONIC; its coarse reading is the same clock as
// of the last timer tick, got without reading the hardware counter.
std::int64_t CliHost::checkTickMs() {
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) != 0) return tickMs();
  return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::time_t CliHost::wallClock() { return std::time(nullptr); }

}  // namespace tesmora::cli

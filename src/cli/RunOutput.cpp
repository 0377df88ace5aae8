#include "cli/RunOutput.h"

#include "cli/Json.h"
#include "text/Cp1251.h"

namespace tesmora::cli {
namespace {

std::string utf8(const std::string& text) { return cp1251ToUtf8(text); }

// The terminal wants LF line ends; JSON keeps CR LF as the texts hold it.
std::string utf8Lines(const std::string& text) {
  return cp1251ToUtf8(fromTextModeBytes(text));
}

std::string boxesJson(const std::vector<BoxRecord>& boxes) {
  std::string json = "[";
  for (const BoxRecord& box : boxes) {
    if (json.size() > 1) json += ',';
    json += JsonObject()
                .add("kind", box.kind)
                .add("caption", utf8(box.caption))
                .add("text", utf8(box.text))
                .add("buttons", utf8(box.buttons))
                .add("icon", utf8(box.icon))
                .add("answer", utf8(box.answer))
                .str();
  }
  return json + "]";
}

std::string pictureJson(const RunReport& report) {
  if (report.pictureCommands == 0) return "null";
  return JsonObject()
      .add("commands", static_cast<std::int64_t>(report.pictureCommands))
      .add("title", utf8(report.pictureTitle))
      .str();
}

}  // namespace

std::string jsonLine(const RunOutcome& outcome) {
  const RunReport& report = outcome.report;
  JsonObject line;
  line.add("ok", report.ok);
  if (report.ok) {
    if (report.shown) {
      line.add("caption", utf8(report.caption));
    } else {
      line.addNull("caption");
    }
    line.add("text", report.shown ? utf8(report.text) : std::string());
  } else {
    const LineColumn at = lineColumnAt(outcome.runText, report.errorOffset);
    line.add("title", utf8(report.errorTitle))
        .add("message", utf8(report.errorMessage))
        .add("offset", static_cast<std::int64_t>(report.errorOffset))
        .add("line", static_cast<std::int64_t>(at.line))
        .add("column", static_cast<std::int64_t>(at.column));
  }
  line.add("status", utf8(report.status))
      .addRaw("boxes", boxesJson(outcome.boxes))
      .addRaw("picture", pictureJson(report));
  return line.str();
}

std::string humanResult(const RunReport& report) {
  if (!report.ok || !report.shown) return {};
  return utf8Lines(report.text) + "\n";
}

std::string humanError(const RunOutcome& outcome) {
  const RunReport& report = outcome.report;
  const LineColumn at = lineColumnAt(outcome.runText, report.errorOffset);
  return utf8(outcome.title) + ":" + std::to_string(at.line) + ":" +
         std::to_string(at.column) + ": " + utf8Lines(report.errorTitle) +
         ": " + utf8Lines(report.errorMessage) + "\n";
}

std::string humanBox(const BoxRecord& box) {
  return "[" + utf8Lines(box.caption) + "] " + utf8Lines(box.text) + " -> " +
         utf8Lines(box.answer) + "\n";
}

}  // namespace tesmora::cli

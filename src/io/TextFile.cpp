#include "io/TextFile.h"

#include "io/Sandbox.h"
#include "text/Cp1251.h"

namespace tesmora {

std::string nativeFileName(const std::string& name1251) {
  std::string name = cp1251ToUtf8(name1251);
  // The empty name opens nothing: every operation on it fails.
  if (inSandbox() && !staysInside(name)) return {};
  return name;
}

bool TextFile::create(const std::string& name1251, WriteFailure onFailure) {
  onFailure_ = std::move(onFailure);
  return file_.create(nativeFileName(name1251));
}

void TextFile::write(std::string_view text) {
  if (!file_.isOpen() || text.empty()) return;
  check(file_.write(toTextModeBytes(text)));
}

void TextFile::flush() {
  if (file_.isOpen()) check(file_.flush());
}

void TextFile::close() {
  if (file_.isOpen()) check(file_.close());
}

void TextFile::check(bool written) {
  if (written) return;
  const WriteFailure failure = std::move(onFailure_);
  onFailure_ = nullptr;
  if (failure) failure(file_.cause());
}

}  // namespace tesmora

#include "io/TextFile.h"

#include "text/Cp1251.h"

namespace tesmora {

std::string nativeFileName(const std::string& name1251) {
  return cp1251ToUtf8(name1251);
}

bool TextFile::create(const std::string& name1251) {
  close();
  file_ = std::fopen(nativeFileName(name1251).c_str(), "wb");
  return file_ != nullptr;
}

void TextFile::write(std::string_view text) {
  if (!file_ || text.empty()) return;
  const std::string bytes = toTextModeBytes(text);
  std::fwrite(bytes.data(), 1, bytes.size(), file_);
}

void TextFile::close() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace tesmora

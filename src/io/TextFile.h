// Files that programs write: created or truncated, Windows-1251 bytes as
// given, and every line feed written as CR LF (the Windows text mode the
// files are defined by). Names are Windows-1251 like every text of the
// interpreter; the file system gets them in UTF-8, the Linux convention.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tesmora {

// The name the file system knows a program's file name by.
std::string nativeFileName(const std::string& name1251);

class TextFile {
 public:
  TextFile() = default;
  ~TextFile() { close(); }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Creates or truncates the file. False when it cannot be opened; errno
  // then holds the cause.
  bool create(const std::string& name1251);
  bool isOpen() const { return file_ != nullptr; }
  // Write errors after a successful open are not reported.
  void write(std::string_view text);
  void close();

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace tesmora

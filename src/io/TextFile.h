// Files that programs write: created or truncated, Windows-1251 bytes as
// given, and every line feed written as CR LF (the Windows text mode the
// files are defined by). Names are Windows-1251 like every text of the
// interpreter; the file system gets them in UTF-8, the Linux convention.
// The bytes go through CheckedFile: a write that fails raises the writer's
// own message, and the partly written file does not stay behind.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "io/CheckedFile.h"

namespace tesmora {

// The name the file system knows a program's file name by.
std::string nativeFileName(const std::string& name1251);

// Raises the message of a writer whose file could not be written; `cause`
// is the errno of the failure. Never returns.
using WriteFailure = std::function<void(int cause)>;

class TextFile {
 public:
  TextFile() = default;
  // Closes quietly (a failure removes the partial file, and nobody hears of
  // it): for files left behind by an error that is already being raised.
  ~TextFile() { file_.close(); }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Creates or truncates the file. False when it cannot be opened; errno
  // then holds the cause. `onFailure` raises when writing fails later.
  bool create(const std::string& name1251, WriteFailure onFailure);
  bool isOpen() const { return file_.isOpen(); }
  // Raises through onFailure when the text cannot be written.
  void write(std::string_view text);
  // Hands the buffered text to the system; raises as write().
  void flush();
  // Closes the file; raises as write() when the last bytes cannot be
  // written. Closing a closed file does nothing.
  void close();
  // Closes without raising; false when writing failed.
  bool closeQuietly() { return file_.close(); }
  int cause() const { return file_.cause(); }

 private:
  void check(bool written);

  CheckedFile file_;
  WriteFailure onFailure_;
};

}  // namespace tesmora

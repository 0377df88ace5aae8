// The one way bytes of a program's files reach the disk. Every write is
// checked (a full disk, an I/O error, a closed device), and a file whose
// writing failed never stays behind looking complete: a regular file is
// removed as soon as a write fails, or when closing it fails. Devices and
// pipes (/dev/full, a FIFO) are never removed, but their failure is still
// reported. The callers decide what a failure means for the user.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tesmora {

class CheckedFile {
 public:
  enum class Mode {
    Replace,    // create, or truncate an existing file
    Exclusive,  // create; an existing file makes create() fail
  };

  CheckedFile() = default;
  // Closes as close() does, without telling anyone about a failure.
  ~CheckedFile() { close(); }
  CheckedFile(const CheckedFile&) = delete;
  CheckedFile& operator=(const CheckedFile&) = delete;

  // `name` is the file system's own (UTF-8) name. False when the file cannot
  // be opened; errno then holds the cause.
  bool create(const std::string& name, Mode mode = Mode::Replace);
  bool isOpen() const { return file_ != nullptr; }
  // False when the bytes could not be written; the file is then closed and,
  // if regular, removed, and later calls do nothing and return false.
  bool write(std::string_view bytes);
  // Hands buffered bytes to the system; false as write().
  bool flush();
  // Closes the file. False when any write or the close itself failed (the
  // file is then removed if regular); closing a closed file gives the
  // outcome of the earlier close.
  bool close();
  // errno of the first failure, 0 without one.
  int cause() const { return cause_; }

 private:
  bool fail();

  std::FILE* file_ = nullptr;
  std::string name_;
  bool regular_ = false;
  int cause_ = 0;
};

}  // namespace tesmora

#include "io/CheckedFile.h"

#include <cerrno>

#include <sys/stat.h>

namespace tesmora {

bool CheckedFile::create(const std::string& name, Mode mode) {
  close();
  cause_ = 0;
  file_ = std::fopen(name.c_str(), mode == Mode::Exclusive ? "wbx" : "wb");
  if (!file_) return false;
  name_ = name;
  struct stat status {};
  regular_ = fstat(fileno(file_), &status) == 0 && S_ISREG(status.st_mode);
  return true;
}

bool CheckedFile::write(std::string_view bytes) {
  if (!file_) return false;
  if (bytes.empty()) return true;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
  return fail();
}

bool CheckedFile::flush() {
  if (!file_) return false;
  if (std::fflush(file_) == 0) return true;
  return fail();
}

bool CheckedFile::close() {
  if (!file_) return cause_ == 0;
  const bool written = std::fflush(file_) == 0 && !std::ferror(file_);
  if (!written) return fail();
  if (std::fclose(file_) != 0) {
    file_ = nullptr;
    cause_ = errno ? errno : EIO;
    if (regular_) std::remove(name_.c_str());
    return false;
  }
  file_ = nullptr;
  return true;
}

// The first failure ends the file: what was written so far is incomplete.
bool CheckedFile::fail() {
  cause_ = errno ? errno : EIO;
  std::fclose(file_);
  file_ = nullptr;
  if (regular_) std::remove(name_.c_str());
  return false;
}

}  // namespace tesmora

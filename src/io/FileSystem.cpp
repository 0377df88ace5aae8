#include "io/FileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "interp/Errors.h"
#include "io/CheckedFile.h"
#include "io/Sandbox.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"

extern char** environ;

namespace tesmora {
namespace fs = std::filesystem;

namespace {

fs::path pathOf(const std::string& name) { return fs::path(nativeFileName(name)); }

bool isDirectory(const std::string& name) {
  std::error_code ignored;
  return fs::is_directory(pathOf(name), ignored);
}

bool exists(const std::string& name) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(pathOf(name), ignored));
}

}  // namespace

bool canOpenForReading(const std::string& name) {
  if (isDirectory(name)) return false;
  std::FILE* file = std::fopen(nativeFileName(name).c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// The copy goes through CheckedFile, so a copy that cannot be finished (a
// full disk) leaves no truncated target behind and answers 0. A target
// that is the source itself is refused before anything is truncated.
bool copyFileTo(const std::string& from, const std::string& to, bool overwrite) {
  if (isDirectory(from) || isDirectory(to)) return false;
  std::error_code ignored;
  if (fs::equivalent(pathOf(from), pathOf(to), ignored)) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(
      std::fopen(nativeFileName(from).c_str(), "rb"), &std::fclose);
  if (!source) return false;
  CheckedFile target;
  if (!target.create(nativeFileName(to), overwrite ? CheckedFile::Mode::Replace
                                                   : CheckedFile::Mode::Exclusive)) {
    return false;
  }
  std::array<char, 1 << 16> buffer;
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), source.get());
    if (got > 0 && !target.write(std::string_view(buffer.data(), got))) return false;
    if (got < buffer.size()) break;
  }
  if (std::ferror(source.get())) {  // a copy of part of the source is no copy
    target.close();
    removeFile(to);
    return false;
  }
  if (!target.close()) return false;
  fs::permissions(pathOf(to), fs::status(pathOf(from), ignored).permissions(), ignored);
  return true;
}

bool removeFile(const std::string& name) {
  if (isDirectory(name)) return false;
  return std::remove(nativeFileName(name).c_str()) == 0;
}

bool renameFile(const std::string& from, const std::string& to) {
  if (!exists(from) || exists(to)) return false;
  return std::rename(nativeFileName(from).c_str(), nativeFileName(to).c_str()) == 0;
}

bool makeDirectory(const std::string& name) {
  std::error_code error;
  return fs::create_directory(pathOf(name), error) && !error;
}

bool removeDirectory(const std::string& name) {
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(pathOf(name), error))) return false;
  return fs::remove(pathOf(name), error) && !error;
}

bool changeDirectory(const std::string& name) {
  std::error_code error;
  fs::current_path(pathOf(name), error);
  return !error;
}

std::string currentDirectory() {
  constexpr std::size_t kBufferSize = 1000;
  const std::string error = "<Error>";
  std::error_code failure;
  const fs::path current = fs::current_path(failure);
  if (failure) return error;
  std::string name;
  if (!utf8ToCp1251(current.string(), name)) return error;
  if (name.size() + 1 > kBufferSize) return error;
  return name;
}

void createOutputDirectory(const std::string& name) {
  std::error_code error;
  fs::create_directory(pathOf(name), error);
  if (error && error != std::errc::file_exists) raise("crdir: Path was not found");
  errno = 0;
}

void runCommand(const std::string& command) {
  if (inSandbox()) raise("Command interpreter cannot be found");
  const std::string utf8 = cp1251ToUtf8(command);
  std::string shell = "sh";
  std::string option = "-c";
  std::string line = utf8.c_str();  // the command line ends at a zero byte
  char* argv[] = {shell.data(), option.data(), line.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  std::fflush(nullptr);
  pid_t child = 0;
  const int failure = posix_spawn(&child, "/bin/sh", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);

  switch (failure) {
    case 0: break;
    case E2BIG: raise("Argument list is too big");
    case ENOEXEC: raise("Command file has invalid format and is not executable");
    case ENOMEM: raise("Not enough memory is available to execute command");
    default: raise("Command interpreter cannot be found");
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// ---- memory status ----------------------------------------------------------

namespace {

std::array<double, kMemoryStatusWords> gMemoryStatus{};

// Fields of /proc/meminfo in bytes; 0 for those missing.
struct MemInfo {
  double total = 0, available = 0, swapTotal = 0, swapFree = 0;
};

MemInfo readMemInfo() {
  MemInfo info;
  std::ifstream file("/proc/meminfo");
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string key;
    double kilobytes = 0;
    if (!(fields >> key >> kilobytes)) continue;
    const double bytes = kilobytes * 1024;
    if (key == "MemTotal:") info.total = bytes;
    else if (key == "MemAvailable:") info.available = bytes;
    else if (key == "SwapTotal:") info.swapTotal = bytes;
    else if (key == "SwapFree:") info.swapFree = bytes;
  }
  if (info.total <= 0) {  // no /proc: the C library's page counts
    const double page = static_cast<double>(sysconf(_SC_PAGESIZE));
    info.total = page * static_cast<double>(sysconf(_SC_PHYS_PAGES));
    info.available = page * static_cast<double>(sysconf(_SC_AVPHYS_PAGES));
  }
  return info;
}

// The address space the process may use and how much of it is taken.
double totalVirtual() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    return static_cast<double>(limit.rlim_cur);
  }
  return 140737488355328.0;  // 2^47: the user half of a 64-bit address space
}

double usedVirtual() {
  std::ifstream file("/proc/self/statm");
  double pages = 0;
  file >> pages;
  return pages * static_cast<double>(sysconf(_SC_PAGESIZE));
}

}  // namespace

double readMemoryStatus() {
  const MemInfo info = readMemInfo();
  const double load = info.total > 0 ? static_cast<double>(static_cast<long long>(
                                           (info.total - info.available) * 100 / info.total))
                                     : 0;
  const double virtualTotal = totalVirtual();
  gMemoryStatus = {kMemoryStatusWords * 4.0,  // eight 32-bit words
                   load,
                   info.total,
                   info.available,
                   info.total + info.swapTotal,
                   info.available + info.swapFree,
                   virtualTotal,
                   std::max(0.0, virtualTotal - usedVirtual())};
  return info.available;
}

double memoryStatusWord(int index) {
  if (index < 0 || index >= kMemoryStatusWords) return 0;
  return gMemoryStatus[index];
}

}  // namespace tesmora

#include "exam/LatexFiles.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "io/TextFile.h"

namespace tesmora {
namespace {

// A run writes on the interpreter's thread while a desktop host may read
// the list of the previous run on its own thread.
struct Registry {
  std::mutex lock;
  std::vector<LatexFile> files;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

// Absolute at once: the program may change the current directory later.
std::string absoluteName(const std::string& name1251) {
  const std::filesystem::path path(nativeFileName(name1251));
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute.lexically_normal()).string();
}

LatexFile& entry(std::vector<LatexFile>& files, const std::string& path) {
  auto found = std::find_if(files.begin(), files.end(),
                            [&](const LatexFile& file) { return file.path == path; });
  if (found != files.end()) return *found;
  files.push_back({path, {}});
  return files.back();
}

}  // namespace

void noteLatexFile(const std::string& name1251) {
  const std::string path = absoluteName(name1251);
  std::lock_guard guard(registry().lock);
  entry(registry().files, path);
}

void noteStudentsVersion(const std::string& paper1251, const std::string& students1251) {
  const std::string paper = absoluteName(paper1251);
  const std::string students = absoluteName(students1251);
  std::lock_guard guard(registry().lock);
  entry(registry().files, paper).studentsPath = students;
  entry(registry().files, students);
}

void clearLatexFiles() {
  std::lock_guard guard(registry().lock);
  registry().files.clear();
}

std::vector<LatexFile> latexFiles() {
  std::lock_guard guard(registry().lock);
  return registry().files;
}

}  // namespace tesmora

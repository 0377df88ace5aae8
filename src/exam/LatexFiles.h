// The LaTeX files a run wrote (its question file and the exam papers), in
// the order they were created, so that a host can compile them to PDF. A
// host clears the list before a run and reads it after the run.
#pragma once

#include <string>
#include <vector>

namespace tesmora {

// A LaTeX file created by the exam generator.
struct LatexFile {
  std::string path;  // file-system name (UTF-8), absolute
  // The students' version of this paper (the same questions without their
  // solutions), empty for files that have none. It is itself in the list,
  // right after its paper.
  std::string studentsPath;
};

// Notes a file just created under the program's name `name1251`; a file
// created again (a second run of the same builtin) is listed once.
void noteLatexFile(const std::string& name1251);
// Notes the students' version `students1251` of the paper `paper1251`.
void noteStudentsVersion(const std::string& paper1251, const std::string& students1251);

void clearLatexFiles();
std::vector<LatexFile> latexFiles();

}  // namespace tesmora

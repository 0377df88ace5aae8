// The files of exam papers: LaTeX documents written byte for byte (no line
// end translation), each opening with the paper preamble.
#pragma once

#include <string>
#include <string_view>

#include "io/CheckedFile.h"

namespace tesmora {

class PaperFile {
 public:
  PaperFile() = default;
  ~PaperFile() { close(); }
  PaperFile(const PaperFile&) = delete;
  PaperFile& operator=(const PaperFile&) = delete;

  // Creates or truncates the file (name in Windows-1251), raising
  // `failureUtf8` when it cannot be opened, and also when it cannot be
  // written or finished (the partial file is then removed).
  void create(const std::string& name1251, std::string_view failureUtf8);
  void write(std::string_view bytes);
  // Closes the file, raising the failure message when its last bytes
  // cannot be written.
  void finish();
  // Closes without raising (after an error raised elsewhere).
  void close() { file_.close(); }

 private:
  CheckedFile file_;
  std::string failure_;
};

// The opening of every paper: the document class, the front end's data
// lines and the "Exam" section.
void writePaperPreamble(PaperFile& file);
// The opening of a paper's students' version: the same, with the style
// told that this is the students' version of the paper `paperName`.
void writeStudentsPreamble(PaperFile& file, std::string_view paperName);
// What ends every paper.
void writePaperEnding(PaperFile& file);

// A name in the output directory (the document title + "_out"), or in one of
// its subdirectories.
std::string outputDirectory();
std::string outputPath(std::string_view fileName);
std::string outputPath(std::string_view subdirectory, std::string_view fileName);

}  // namespace tesmora

#include "exam/ExamPapers.h"

#include <vector>

#include "exam/ExamBase.h"
#include "exam/LatexFiles.h"
#include "exam/PaperFile.h"
#include "interp/Errors.h"
#include "io/FileSystem.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"
#include "values/Display.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

constexpr const char* kTagA = "class=A";
constexpr const char* kTagB = "class=B";
constexpr const char* kOutputFailure = "Не удается открыть выходной файл";

std::string number(int n) { return formatNumber(n); }

// The question block every paper holds for an item.
void writeQuestionBlock(PaperFile& file, const CSuperMatrix& base, int row) {
  file.write("\\section{Question}\n\n");
  file.write("\\subsection{Setup}\n\n");
  file.write(itemText(base, row, kItemSetup));
  file.write("\\subsection{Statement}\n\n");
  file.write(itemText(base, row, kItemStatement));
  file.write("\\subsection{Solution}\n\n");
  file.write(itemText(base, row, kItemSolution));
  file.write("\n\n");
}

// The students' form of the block: the question without its solution.
void writeStudentsBlock(PaperFile& file, const CSuperMatrix& base, int row) {
  file.write("\\section{Question}\n\n");
  file.write("\\subsection{Setup}\n\n");
  file.write(itemText(base, row, kItemSetup));
  file.write("\\subsection{Statement}\n\n");
  file.write(itemText(base, row, kItemStatement));
  file.write("\n\n");
}

// The Meta form of an item: its name and Comment ahead of the Statement.
void writeMetaItem(PaperFile& file, const CSuperMatrix& base, int row) {
  file.write("\\subsection{Setup}\n\n");
  file.write(itemText(base, row, kItemSetup));
  file.write("\\subsection{Statement}\n\n");
  file.write("[");
  file.write(itemText(base, row, kItemName));
  file.write("] ");
  file.write(itemText(base, row, kItemComment));
  file.write("\n\n");
  file.write(itemText(base, row, kItemStatement));
  file.write("\\subsection{Solution}\n\n");
  file.write(itemText(base, row, kItemSolution));
  file.write("\n\n");
}

// The Meta0 form: the item without its name and Comment.
void writeMeta0Item(PaperFile& file, const CSuperMatrix& base, int row) {
  file.write("\\subsection{Setup}\n\n");
  file.write(itemText(base, row, kItemSetup));
  file.write("\\subsection{Statement}\n\n");
  file.write(itemText(base, row, kItemStatement));
  file.write("\\subsection{Solution}\n\n");
  file.write(itemText(base, row, kItemSolution));
  file.write("\n\n");
}

void createPaper(PaperFile& file, const std::string& name, const char* failure) {
  file.create(name, failure);
  noteLatexFile(name);
  writePaperPreamble(file);
}

// A paper for the teacher (with the solutions) and its students' version
// beside it: NAME.tex and NAME-students.tex.
struct Paper {
  PaperFile key;
  PaperFile students;

  void create(const std::string& directory, const std::string& name, const char* failure) {
    const std::string keyName = directory + name + ".tex";
    const std::string studentsName = directory + name + "-students.tex";
    createPaper(key, keyName, failure);
    students.create(studentsName, failure);
    noteStudentsVersion(keyName, studentsName);
    writeStudentsPreamble(students, name);
  }
  void writeItem(const CSuperMatrix& base, int row) {
    writeQuestionBlock(key, base, row);
    writeStudentsBlock(students, base, row);
  }
  void end() {
    writePaperEnding(key);
    writePaperEnding(students);
  }
};

void createList(TextFile& file, const std::string& name) {
  if (!file.create(name, [](int) { raise(kOutputFailure); })) raise(kOutputFailure);
}

void writeSummary(const std::string& name, const std::string& summary) {
  TextFile file;
  createList(file, name);
  file.write(summary);
  file.close();
}

std::string summaryLine(int k, int total, int a, int b) {
  return number(k) + ". " + number(total) + " = " + number(a) + " + " + number(b);
}

// Which paper an item goes to: exactly one class tag is required.
bool isPaperA(const CSuperMatrix& base, int row, bool nameErrors) {
  const std::string& comment = itemText(base, row, kItemComment);
  const bool a = hasTag(comment, kTagA);
  const bool b = hasTag(comment, kTagB);
  if (a == b) {
    const char* message = a ? "А и В одновременно!" : "не А и не В!";
    if (nameErrors) raiseAbout(itemText(base, row, kItemName), message);
    raise(message);
  }
  return a;
}

struct AbLayout {
  const char* builtin;
  std::string directory;  // where the papers go, with its separator
  bool lists;      // Rka.txt and Rkb.txt beside the papers
  bool allToA;     // paper b gets nothing
  bool nameErrors; // tag errors name the item
};

std::string writeAbPapers(const CSuperMatrix& exam, const AbLayout& layout) {
  const std::vector<CSuperMatrix*> variants = variantsOf(exam, layout.builtin);
  std::string summary;
  for (std::size_t v = 0; v < variants.size(); ++v) {
    const CSuperMatrix& base = *variants[v];
    const int k = static_cast<int>(v) + 1;
    Paper paperA, paperB;
    TextFile listA, listB;
    paperA.create(layout.directory, std::to_string(k) + "a", kOutputFailure);
    paperB.create(layout.directory, std::to_string(k) + "b", kOutputFailure);
    if (layout.lists) {
      createList(listA, outputPath("AB", "R" + std::to_string(k) + "a.txt"));
      createList(listB, outputPath("AB", "R" + std::to_string(k) + "b.txt"));
    }
    int a = 0, b = 0;
    for (int row = 0; row < base.rows(); ++row) {
      const bool toA = isPaperA(base, row, layout.nameErrors);
      ++(toA ? a : b);
      const bool onA = toA || layout.allToA;
      (onA ? listA : listB).write(itemText(base, row, kItemName) + "\n");
      (onA ? paperA : paperB).writeItem(base, row);
    }
    paperA.end();
    paperB.end();
    listA.close();
    listB.close();
    summary += summaryLine(k, a + b, a, b) + "\n";
  }
  return summary;
}

std::string saveTaggedItems(const CSuperMatrix& exam, const char* builtin,
                            const char* paperName, const char* failure, const char* tag,
                            const char* resultText) {
  const std::vector<CSuperMatrix*> variants = variantsOf(exam, builtin);
  Paper paper;
  paper.create(outputPath(""), paperName, failure);
  int count = 0;
  for (const CSuperMatrix* base : variants) {
    for (int row = 0; row < base->rows(); ++row) {
      if (!hasTag(itemText(*base, row, kItemComment), tag)) continue;
      paper.writeItem(*base, row);
      ++count;
    }
  }
  paper.end();
  return cp(resultText) + number(count);
}

}  // namespace

std::string saveExamMeta(const CSuperMatrix& exam) {
  const std::vector<CSuperMatrix*> variants = variantsOf(exam, "SaveExamMeta");
  const char* metaFailure = "Не удается открыть выходной Meta-файл";
  const char* meta0Failure = "Не удается открыть выходной Meta0-файл";
  createOutputDirectory(outputDirectory());
  createOutputDirectory(outputPath("Meta"));
  createOutputDirectory(outputPath("Meta0"));
  PaperFile metaAll, meta0All;
  createPaper(metaAll, outputPath("Meta", "All.tex"), metaFailure);
  createPaper(meta0All, outputPath("Meta0", "All.tex"), meta0Failure);
  std::string summary;
  for (std::size_t v = 0; v < variants.size(); ++v) {
    const CSuperMatrix& base = *variants[v];
    const int k = static_cast<int>(v) + 1;
    PaperFile meta, meta0;
    createPaper(meta, outputPath("Meta", std::to_string(k) + ".tex"), metaFailure);
    createPaper(meta0, outputPath("Meta0", std::to_string(k) + ".tex"), meta0Failure);
    int a = 0, b = 0, tagged = 0;
    for (int row = 0; row < base.rows(); ++row) {
      const std::string header = "\\section{Question " + std::to_string(row + 1) + "}\n\n";
      for (PaperFile* file : {&meta, &metaAll, &meta0, &meta0All}) file->write(header);
      writeMetaItem(meta, base, row);
      writeMetaItem(metaAll, base, row);
      writeMeta0Item(meta0, base, row);
      writeMeta0Item(meta0All, base, row);
      const std::string& comment = itemText(base, row, kItemComment);
      const bool isA = hasTag(comment, kTagA);
      const bool isB = hasTag(comment, kTagB);
      a += isA;
      b += isB;
      tagged += isA || isB;
    }
    writePaperEnding(meta);
    writePaperEnding(meta0);
    summary += summaryLine(k, tagged, a, b);
    if (a + b != tagged) summary += "?";
    summary += "\n";
  }
  writePaperEnding(metaAll);
  writePaperEnding(meta0All);
  return summary;
}

std::string saveExamAB(const CSuperMatrix& exam, bool allToA) {
  const AbLayout layout{allToA ? "SaveExamAA" : "SaveExamAB", outputPath("AB", ""), true,
                        allToA, true};
  variantsOf(exam, layout.builtin);  // a malformed base writes nothing
  createOutputDirectory(outputDirectory());
  createOutputDirectory(outputPath("AB"));
  const std::string summary = writeAbPapers(exam, layout);
  writeSummary(outputPath("AB", cp("Состав.txt")), summary);
  return summary;
}

std::string exportExam(const CSuperMatrix& exam) {
  const AbLayout layout{"ExportExam", outputPath(""), false, false, false};
  const std::string summary = writeAbPapers(exam, layout);
  writeSummary(outputPath(cp("Состав.txt")), summary);
  return summary;
}

std::string saveExamOpen(const CSuperMatrix& exam) {
  return saveTaggedItems(exam, "SaveExamOpen", "Open", "Не удается открыть файл Open.tex",
                         "state=public", "Открытых задач: ");
}

std::string saveStDok(const CSuperMatrix& exam) {
  return saveTaggedItems(exam, "SaveStDok", "StDok", "Не удается открыть файл StDok.tex",
                         "class=D", "Стандартных доказательств: ");
}

}  // namespace tesmora

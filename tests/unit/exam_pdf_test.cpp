// What the PDF step of the exam papers relies on in the core and the
// runner: substitution that spares LaTeX control words, the list of LaTeX
// files a run wrote, the support folder lookup, TEXINPUTS, reading
// pdflatex's log, and the JSON of the results.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/CliOptions.h"
#include "cli/PdfStep.h"
#include "exam/LatexFiles.h"
#include "exam/Substitution.h"
#include "exam/TexBuild.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;

TEST(Substitution, SparesControlWordsOnly) {
  struct Case {
    const char* text;
    const char* name;
    const char* value;
    const char* expected;
  } cases[] = {
      {"\\det A + d", "d", "5", "\\det A + 5"},
      {"\\begin{pmatrix} b \\end{pmatrix}", "b", "7", "\\begin{pmatrix} 7 \\end{pmatrix}"},
      {"\\begin{pmatrix}", "e", "2", "\\begin{pmatrix}"},
      {"np", "n", "10", "10p"},                    // inside words still
      {"\\\\d \\\\\\det", "d", "5", "\\\\5 \\\\\\det"},  // after \\ a letter is plain text
      {"\\_e \\e1 e", "e", "2", "\\_2 \\e1 2"},    // a control symbol protects one character
      {"\\alpha1 a1", "a1", "x", "\\alpha1 x"},    // a match starting in a control word
      {"xx", "x", "xx", "xxxx"},                   // no replacement inside the value put in
      {"abc", "", "1", "abc"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    replaceOutsideControlWords(text, c.name, c.value);
    EXPECT_EQ(text, c.expected) << c.text << " with " << c.name;
  }
}

TEST(LatexFiles, ListsEachFileOnceWithItsStudentsVersion) {
  clearLatexFiles();
  noteLatexFile("q.tex");
  noteLatexFile("out/1a.tex");
  noteStudentsVersion("out/1a.tex", "out/1a-students.tex");
  noteLatexFile("q.tex");
  const std::vector<LatexFile> files = latexFiles();
  ASSERT_EQ(files.size(), 3u);
  const fs::path here = fs::current_path();
  EXPECT_EQ(files[0].path, (here / "q.tex").string());
  EXPECT_EQ(files[1].path, (here / "out/1a.tex").string());
  EXPECT_EQ(files[1].studentsPath, (here / "out/1a-students.tex").string());
  EXPECT_EQ(files[2].path, files[1].studentsPath);
  clearLatexFiles();
  EXPECT_TRUE(latexFiles().empty());
}

TEST(TexBuild, FindsTheSupportFolderBesideTheProgram) {
  const fs::path root = fs::temp_directory_path() / "tesmora-tex-lookup";
  fs::remove_all(root);
  const fs::path tex = root / "share/tesmora/tex";
  fs::create_directories(tex);
  fs::create_directories(root / "bin");
  fs::create_directories(root / "src/cli");
  std::ofstream(tex / "sw20jart.sty") << "%";
  std::ofstream(tex / "tcilatex.tex") << "%";
  EXPECT_EQ(findTexSupport((root / "bin").string(), nullptr), tex.string());      // installed
  EXPECT_EQ(findTexSupport((root / "src/cli").string(), nullptr), tex.string());  // build tree
  EXPECT_EQ(findTexSupport((root / "src/cli").string(), root.c_str()), tex.string());
  EXPECT_EQ(findTexSupport(root.string(), (root / "bin").c_str()), "");
  fs::remove(tex / "tcilatex.tex");
  EXPECT_EQ(findTexSupport((root / "bin").string(), nullptr), "");
  fs::remove_all(root);
}

TEST(TexBuild, TexInputsKeepTexsOwnPath) {
  EXPECT_EQ(texInputs("/s", nullptr), "/s:");
  EXPECT_EQ(texInputs("/s", ""), "/s:");
  EXPECT_EQ(texInputs("/s", "/mine"), "/s:/mine:");
  EXPECT_EQ(texInputs("/s", "/mine:"), "/s:/mine:");
  EXPECT_EQ(texInputs("", nullptr), ":");
  EXPECT_EQ(pdflatexArguments("1a.tex").back(), "1a.tex");
  EXPECT_EQ(withExtension("/d/1a.tex", ".pdf"), "/d/1a.pdf");
}

TEST(TexBuild, ReadsTheFirstErrorOfALog) {
  const std::string fileLine =
      "(./sw20jart.sty)\n"
      "./1b.tex:34: Undefined control sequence.\r\n"
      "<recently read> \\nosuchmacro \n"
      "                             \n"
      "l.34 Задача 1: $\\nosuchmacro\n"
      "                             $\n"
      "./1b.tex:40: Emergency stop.\n";
  std::optional<TexError> error = firstTexError(fileLine);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->file, "1b.tex");
  EXPECT_EQ(error->line, 34);
  EXPECT_EQ(error->message, "Undefined control sequence.");
  EXPECT_EQ(error->lines,
            "./1b.tex:34: Undefined control sequence.\n<recently read> \\nosuchmacro \n"
            "                             \nl.34 Задача 1: $\\nosuchmacro\n");

  error = firstTexError("! LaTeX Error: File `x.sty' not found.\n\nl.2 \\usepackage{x}\n");
  ASSERT_TRUE(error);
  EXPECT_EQ(error->file, "");
  EXPECT_EQ(error->line, 2);
  EXPECT_EQ(error->message, "LaTeX Error: File `x.sty' not found.");

  EXPECT_FALSE(firstTexError("(/usr/share/texlive/a.sty)\nOutput written on 1a.pdf (1 page).\n"));
  EXPECT_FALSE(firstTexError("Package: sw20jart 2026/12/09\nc:12: not an error line\n"));
  EXPECT_TRUE(logAsksRerun("LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right."));
  EXPECT_FALSE(logAsksRerun("Output written on 1a.pdf (1 page)."));
}

TEST(PdfStep, ResultsCloseTheJsonObject) {
  const std::vector<cli::PdfResult> results = {
      {"exam_out/AB/1a.tex", "exam_out/AB/1a.pdf", ""},
      {"bad.tex", std::nullopt, "bad.tex:3: Undefined control sequence.\n"}};
  EXPECT_EQ(cli::withPdfResults("{\"ok\":true}", results),
            "{\"ok\":true,\"pdf\":[{\"tex\":\"exam_out/AB/1a.tex\",\"pdf\":\"exam_out/AB/1a.pdf\","
            "\"log\":\"\"},{\"tex\":\"bad.tex\",\"pdf\":null,\"log\":\"bad.tex:3: Undefined "
            "control sequence.\\n\"}]}");
  EXPECT_EQ(cli::withPdfResults("{\"ok\":true}", {}), "{\"ok\":true,\"pdf\":[]}");
  EXPECT_TRUE(cli::parseCommandLine({"--pdf", "-e", "1;"}).pdf);
  EXPECT_FALSE(cli::parseCommandLine({"-e", "1;"}).pdf);
}

}  // namespace
}  // namespace tesmora

// What a run's output and dialog builtins do beyond what the headless runner
// reports: the LaTeX document on the output channel, the clipboard, the
// status bar, and the long-run clock restarted after every wait for the user.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "ScriptedHost.h"
#include "interp/Interpreter.h"
#include "io/OutputChannel.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

using testing::ScriptedHost;

// Answers every box with a chosen button, keeps every status text, and lets
// 20 seconds pass while each box or input dialog is open.
class WaitingHost : public ScriptedHost {
 public:
  std::string messageBox(const BoxRequest& box) override {
    boxes.push_back(box);
    counter += waitMs;
    return box.kind == BoxKind::LongRun ? "NO" : answer;
  }
  std::string getString(const std::string& prompt) override {
    prompts.push_back(prompt);
    counter += waitMs;
    return typed;
  }
  void setStatus(const std::string& text) override {
    ScriptedHost::setStatus(text);
    statuses.push_back(text);
  }
  void processEvents() override { ++repaints; }

  std::string answer = "YES";
  std::string typed;
  std::int64_t waitMs = 20000;
  std::vector<std::string> statuses;
  int repaints = 0;
};

class OutputDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    directory_ = std::filesystem::temp_directory_path() /
                 ("tesmora-output-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    std::filesystem::current_path(directory_);
    interpreter_ = std::make_unique<Interpreter>(host_);
  }
  void TearDown() override {
    output::close();
    interpreter_.reset();
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  RunReport run(const std::string& utf8Text) {
    RunRequest request;
    request.text = cp(utf8Text);
    request.title = "doc";
    return interpreter_->run(request);
  }

  static std::string fileBytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  int longRunQuestions() const {
    int count = 0;
    for (const BoxRequest& box : host_.boxes) count += box.kind == BoxKind::LongRun;
    return count;
  }

  WaitingHost host_;
  std::unique_ptr<Interpreter> interpreter_;
  std::filesystem::path previous_;
  std::filesystem::path directory_;
};

TEST_F(OutputDialogs, LatexDocumentRefusesPrintAndGetsItsEndingWhenTheRunEnds) {
  ASSERT_TRUE(output::openLatex(cp("вопрос.tex")));
  output::write("\\begin{document}\n");
  const RunReport failed = run("print(1);");
  ASSERT_FALSE(failed.ok);
  EXPECT_EQ(failed.errorMessage, cp("print: используйте puts"));
  EXPECT_FALSE(output::isOpen());
  EXPECT_FALSE(output::isLatex());
  // The file name reaches the file system in UTF-8.
  EXPECT_EQ(fileBytes("вопрос.tex"), "\\begin{document}\r\n\r\n\r\n\\end{document}\r\n");

  ASSERT_TRUE(output::openLatex("q.tex"));
  const RunReport refused = run("println();");
  EXPECT_EQ(refused.errorMessage, cp("println: используйте puts"));
}

TEST_F(OutputDialogs, SetoutFinishesAnOpenLatexDocumentFirst) {
  ASSERT_TRUE(output::openLatex("q.tex"));
  const RunReport report = run("setout(\"plain.txt\"); println(\"a\"); closeout();");
  ASSERT_TRUE(report.ok) << cp1251ToUtf8(report.errorMessage);
  EXPECT_EQ(fileBytes("q.tex"), "\r\n\r\n\\end{document}\r\n");
  EXPECT_EQ(fileBytes("plain.txt"), "a\r\n");
  // closeout of a plain file writes no LaTeX ending; a second one does nothing.
  EXPECT_TRUE(run("setout(\"plain.txt\"); print(1); closeout(); closeout();").ok);
  EXPECT_EQ(fileBytes("plain.txt"), "1");
}

TEST_F(OutputDialogs, WaitingForTheUserDoesNotCountAsRunningTime) {
  // Each wait takes 20 s, twice the time limit; the statement after it
  // must not ask whether to stop.
  for (const char* text : {"message(1); x = 1; x;", "y = yes(\"?\"); y;",
                           "s = getstr(\"name\"); s;", "cprint(1); x = 2;",
                           "msg(\"c\", \"\", \"t\", \"OK\"); x = 3;",
                           "picmsg(\"c\", \"t\"); x = 4;"}) {
    host_.boxes.clear();
    const RunReport report = run(text);
    ASSERT_TRUE(report.ok) << text << ": " << cp1251ToUtf8(report.errorMessage);
    EXPECT_EQ(longRunQuestions(), 0) << text;
  }
  // Without a restart of the clock the same wait is noticed.
  host_.boxes.clear();
  host_.tick = [this] { return host_.counter += 20000; };
  ASSERT_TRUE(run("x = 1; x = 2;").ok);
  EXPECT_EQ(longRunQuestions(), 1);
}

TEST_F(OutputDialogs, CprintPutsTheCollectedTextOnTheClipboardOnlyOnYes) {
  host_.answer = "YES";
  ASSERT_TRUE(run("cprint(\"x = \", 1/4, [1, 2], \"end\");").ok);
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].caption, cp("Поместить в буфер обмена?"));
  EXPECT_EQ(host_.clipboard, "x = 0.25\n\r\n\r  1,  2\n\r\n\rend");

  host_.clipboard = "kept";
  host_.answer = "NO";
  ASSERT_TRUE(run("cprint(2);").ok);
  EXPECT_EQ(host_.clipboard, "kept");
}

TEST_F(OutputDialogs, SetstatusShowsTheRunsStartTextFollowedByItsOwn) {
  std::time_t start = host_.wallClock();
  std::tm local{};
  localtime_r(&start, &local);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%02d:%02d.  ", local.tm_hour, local.tm_min);

  ASSERT_TRUE(run("setstatus(\"шаг 1\");").ok);
  ASSERT_GE(host_.statuses.size(), 3u);
  EXPECT_EQ(host_.statuses[host_.statuses.size() - 2],
            cp("Выполняется с ") + expected + cp("шаг 1"));
  EXPECT_EQ(host_.repaints, 1);
}

TEST_F(OutputDialogs, YesAndMsgReportThePressedButton) {
  host_.answer = "NO";
  RunReport report = run("yes(\"Дальше?\")");
  EXPECT_EQ(report.text, "0");
  EXPECT_EQ(host_.boxes.back().caption, "doc");
  host_.answer = "";  // closed without a button
  report = run("msg(\"c\", \"(i)\", \"t\", \"OK|CANCEL\")");
  ASSERT_TRUE(report.ok);
  EXPECT_EQ(report.text, "");
  EXPECT_EQ(report.caption, cp("Строка"));
}

}  // namespace
}  // namespace tesmora

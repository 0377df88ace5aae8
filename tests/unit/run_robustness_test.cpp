// Whatever text a user runs, the interpreter answers with a proper report:
// a result, or an error box with a title, a message and a caret inside the
// text. Thousands of random, garbled and truncated texts are run through
// one interpreter, which must also stay usable for the next run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "ScriptedHost.h"
#include "interp/Cancellation.h"
#include "interp/Interpreter.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

using testing::ScriptedHost;

// Shows a text with its unprintable bytes escaped, for failure messages.
std::string printable(const std::string& text) {
  static const char* const kHex = "0123456789abcdef";
  std::string shown;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127 && c != '\\') {
      shown += static_cast<char>(c);
    } else {
      shown += "\\x";
      shown += kHex[c >> 4];
      shown += kHex[c & 15];
    }
  }
  return shown;
}

// Turns lone LF into CR LF, as every host hands texts to the interpreter.
std::string withCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// Loops could run for as long as the long-run question lets them; the
// generated texts stay free of them.
bool holdsLoop(const std::string& text) {
  return text.find("while") != std::string::npos || text.find("for") != std::string::npos;
}

class RunRobustness : public ::testing::Test {
 protected:
  void SetUp() override {
    // Question statements write NAME.tex into the working directory.
    previousDirectory_ = std::filesystem::current_path();
    workDirectory_ = std::filesystem::temp_directory_path() /
                     ("tesmora-robustness-" + std::to_string(::getpid()));
    std::filesystem::create_directories(workDirectory_);
    std::filesystem::current_path(workDirectory_);
    interpreter_ = std::make_unique<Interpreter>(host_);
    interpreter_->seed(12345);
  }

  void TearDown() override {
    interpreter_.reset();
    std::filesystem::current_path(previousDirectory_);
    std::error_code ignored;
    std::filesystem::remove_all(workDirectory_, ignored);
  }

  RunReport run(const std::string& text, bool fragment = false) {
    RunRequest request;
    request.text = text;
    request.fragment = fragment;
    request.title = "robust";
    return interpreter_->run(request);
  }

  // Runs the text and checks that the report is one the shell can show.
  void expectProperReport(const std::string& text, bool fragment = false) {
    ++runs_;
    RunReport report;
    try {
      report = run(text, fragment);
    } catch (const std::exception& error) {
      ADD_FAILURE() << "escaped exception " << error.what() << " for: " << printable(text);
      return;
    } catch (...) {
      ADD_FAILURE() << "escaped unknown exception for: " << printable(text);
      return;
    }
    if (report.ok) {
      // Nothing shown means nothing to show.
      if (!report.shown) {
        EXPECT_TRUE(report.caption.empty() && report.text.empty()) << printable(text);
      }
      return;
    }
    EXPECT_FALSE(report.errorTitle.empty()) << printable(text);
    EXPECT_FALSE(report.errorMessage.empty()) << printable(text);
    EXPECT_LE(report.errorOffset, text.size()) << printable(text);
    EXPECT_EQ(report.status, cp("Выполнено с ошибкой")) << printable(text);
  }

  // After any number of failed runs the interpreter still computes.
  void expectStillWorking() {
    const RunReport whole = run("x = [1, 2; 3, 4]; y = x &* x; y(2, 2) + 1;");
    ASSERT_TRUE(whole.ok) << cp1251ToUtf8(whole.errorMessage);
    EXPECT_EQ(whole.text, "23");
    const RunReport fragment = run("y(1, 1)", true);
    ASSERT_TRUE(fragment.ok) << cp1251ToUtf8(fragment.errorMessage);
    EXPECT_EQ(fragment.text, "7");
  }

  ScriptedHost host_;
  std::unique_ptr<Interpreter> interpreter_;
  std::filesystem::path previousDirectory_;
  std::filesystem::path workDirectory_;
  int runs_ = 0;
};

TEST_F(RunRobustness, RandomBytes) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> length(0, 120);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<int> printableByte(32, 126);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int n = length(random);
    // Half of the texts stay printable, where the scanner finds more to do.
    const bool printableOnly = i % 2 == 0;
    for (int k = 0; k < n; ++k) {
      text += static_cast<char>(printableOnly ? printableByte(random) : anyByte(random));
    }
    if (holdsLoop(text)) continue;
    expectProperReport(text, i % 3 == 0);
    if (i % 250 == 0) expectStillWorking();
  }
  expectStillWorking();
  EXPECT_GT(runs_, 2500);  // few texts happen to spell a loop word
}

TEST_F(RunRobustness, TokenSoups) {
  // The language's separators, names (keywords and builtins among them),
  // numbers good and bad, strings, comments and line ends. Loop words and
  // names that reach outside the process are left out.
  const std::vector<std::string> vocabulary = {
      ".", "+", "-", "*", "/", "%", "^", "\\", "'", "(", ")", "[", "]", "{", "}",
      "=", "!", "~", ":", ",", ";", "&", "<", ">", "?", "|", "$", "#", "@", "\"",
      "&*", "&^", "^+", "<<", ">>", "==", "<=", ">=", "!=", "=<",
      "x", "y", "A", "f", "L", "s", "zz", "if", "else", "break", "continue", "in",
      "function", "law", "scalar", "matrix", "supermatrix", "string", "R", "Question",
      "Info", "num", "row", "col", "pi", "e", "round", "fmod", "mod", "powmod",
      "timer", "setmaxdim", "void",
      "0", "1", "2.5", "1e3", "3x", "1e400", "0.5", "1000", "7",
      "\"a\"", "\"\"", "\"x;y\"", "\"((\"", "// c\n", "\n", " ", " ", " ",
      "f(x)", "x = ", "A(1) = ", "[x, y] = ", "function f(x) = ", "law L() = ",
      "<<R>> x;", "<<Info>>", "<<Question>>"};
  std::mt19937 random(77);
  std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
  std::uniform_int_distribution<int> length(1, 40);
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    const int n = length(random);
    for (int k = 0; k < n; ++k) text += vocabulary[pick(random)];
    // Programs end with ';' more often than chance would have it.
    if (i % 2 == 0) text += ";";
    text = withCrLf(text);
    if (holdsLoop(text)) continue;
    expectProperReport(text, i % 4 == 0);
    if (i % 500 == 0) expectStillWorking();
  }
  expectStillWorking();
  EXPECT_GT(runs_, 4500);
}

TEST_F(RunRobustness, EveryPrefixOfValidPrograms) {
  const std::vector<std::string> programs = {
      "x = 1; // a comment\ny = [x, 2; 3, 4];\nz = y &* ~y;\nz(1, 1) + y(2);",
      "function f(x, matrix A) = x * A(1) + A(2);\nf(2, [3, 4]) + f([1, 2], [0, 1])(1);",
      "law L() = 3;\nv = L(2, 3);\n[a, , b] = [1, 2, 3];\ns = \"text \" + a + b;\ns;",
      "if (1 < 2) { x = \"}\"; } else { x = 0; }\nif (0) x = [1; 2]; else x = $5;\nx;",
      "A = [1, 2, 3; 4, 5, 6];\nA(2, 3) = 7;\nB = 'A &* A;\nC = [A; '(1:3)];\n#C + B(1);",
      "a = 2; b = \"s\";\n<<R>> a, b;\n<<Info>>a and b<<Question>>",
      "m = [1, \"a\"; $[1, 2], 3];\nn = [m, m];",
      "r = 0:1:0.25;\nq = (-8)^(1/3) + 2^3 - 7 % 3 + (3 & 5) | 1;\n['r, q];",
      "function g() = 5;\nfunction h(x) = g() * x;\nh(1:3);",
      "timer(0)",
      "s = \"" + std::string(198, 'w') + "\";\ns + 1/3;",
  };
  for (const std::string& program : programs) {
    const std::string text = withCrLf(program);
    ASSERT_FALSE(holdsLoop(text)) << text;
    const RunReport whole = run(text);
    ASSERT_TRUE(whole.ok) << printable(text) << ": " << cp1251ToUtf8(whole.errorMessage);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      expectProperReport(text.substr(0, cut));
      expectProperReport(text.substr(cut), true);
    }
    expectStillWorking();
  }
}

// Values of variables may still sit on the value stack when a run ends or
// fails: the target of an element assignment that ended the run, the
// parameters of a user function whose body failed. Neither the next run's
// reset of the variables nor the clean-up after the error may touch them
// once their owners are gone.
TEST_F(RunRobustness, NamedValuesLeftOnTheStackOutliveTheirRun) {
  const RunReport assigned = run("A = [1, 2, 3]; A(2) = 7;");
  ASSERT_TRUE(assigned.ok) << cp1251ToUtf8(assigned.errorMessage);
  EXPECT_EQ(assigned.text, "7");
  const RunReport next = run("A = [4, 5]; A(1) + A(2);");
  ASSERT_TRUE(next.ok) << cp1251ToUtf8(next.errorMessage);
  EXPECT_EQ(next.text, "9");

  const RunReport failedInside = run("function f(x) = x + zz; y = 1 + f(2);");
  EXPECT_FALSE(failedInside.ok);
  EXPECT_EQ(failedInside.errorTitle, cp("Ошибка в f( )"));
  EXPECT_EQ(failedInside.errorMessage, cp("zz:  нет определения"));

  const RunReport recursion = run("function f(x) = f(x) + 1; f(1);");
  EXPECT_FALSE(recursion.ok);
  EXPECT_EQ(recursion.errorMessage, cp("слишком много переменных"));
  expectStillWorking();
}

// The value stack holds 8000 values: a call with 7999 arguments (the
// callee is the 8000th) fits and fails only for its argument count; one
// argument more overflows the stack. Both leave the interpreter sound.
TEST_F(RunRobustness, ValueStackBoundary) {
  auto callWith = [](int arguments) {
    std::string text = "5(1";
    for (int i = 1; i < arguments; ++i) text += ",1";
    return text + ")";
  };
  const RunReport fits = run(callWith(7999));
  EXPECT_FALSE(fits.ok);
  EXPECT_EQ(fits.errorMessage, cp("слишком много аргументов"));

  const RunReport overflows = run(callWith(8000));
  EXPECT_FALSE(overflows.ok);
  EXPECT_EQ(overflows.errorMessage, cp("переполнение стека"));
  EXPECT_EQ(overflows.errorTitle, cp("Ошибка"));
  expectStillWorking();

  // Pending operands of nested brackets sit on the stack too.
  std::string nested;
  for (int i = 0; i < 999; ++i) nested += "1+(";
  nested += "1";
  nested += std::string(999, ')');
  const RunReport deep = run(nested);
  ASSERT_TRUE(deep.ok) << cp1251ToUtf8(deep.errorMessage);
  EXPECT_EQ(deep.text, "1000");
}

// The long-run question is asked at the start of a statement once the run
// has lasted longer than its limit; the first button (YES) stops the run.
TEST_F(RunRobustness, LongRunQuestionStopsALoop) {
  // Every reading of the clock advances it by a millisecond, so a loop of
  // statements passes the 10 s limit after about ten thousand of them.
  const RunReport report = run("i = 0; while (i < 1000000) i = i + 1; i;");
  EXPECT_FALSE(report.ok);
  EXPECT_EQ(report.errorMessage, cp("Выполнение прекращено пользователем"));
  EXPECT_EQ(report.errorOffset, std::string("i = 0; while (i < 1000000)").size());
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].kind, BoxKind::LongRun);
  EXPECT_EQ(host_.boxes[0].caption, cp("Предупреждение"));
  EXPECT_EQ(host_.boxes[0].text, cp("Программа работает слишком долго. Прервать вычисления?"));
  EXPECT_EQ(host_.boxes[0].buttons, "YES|NO");

  // timer(0) switches the question off for the rest of the run.
  host_.boxes.clear();
  const RunReport quiet = run("timer(0); i = 0; while (i < 20000) i = i + 1; i;");
  ASSERT_TRUE(quiet.ok) << cp1251ToUtf8(quiet.errorMessage);
  EXPECT_EQ(quiet.text, "20000");
  EXPECT_TRUE(host_.boxes.empty());
}

// A requested stop ends the run at the next statement even after timer(0)
// switched the long-run question off; variables assigned so far stay, and
// the next run starts without the stale request.
TEST_F(RunRobustness, RequestedStopEndsARunWhateverTheTimer) {
  // Stop comes from another thread, as the desktop's button does.
  std::thread stopper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    requestStop();
  });
  const RunReport stopped = run("timer(0); i = 0; while (1) i = i + 1;");
  stopper.join();
  EXPECT_FALSE(stopped.ok);
  EXPECT_EQ(stopped.errorMessage, cp("Выполнение прекращено пользователем"));
  EXPECT_TRUE(host_.boxes.empty());
  const RunReport kept = run("i > 0", true);
  ASSERT_TRUE(kept.ok) << cp1251ToUtf8(kept.errorMessage);
  EXPECT_EQ(kept.text, "1");
  requestStop();
  EXPECT_TRUE(run("1;").ok);
}

// A stop requested while one long product or inverse runs ends it at its
// own polls (the statement loop would wait for the whole operation), with
// the second thread that shares the work joined: the sanitizer run would
// report a thread or memory left behind.
TEST_F(RunRobustness, RequestedStopEndsALongProductOrInverse) {
  const char* const programs[] = {
      "timer(0); setmaxdim(10000000); A = E(2800) + 1; B = A &* A;",
      "timer(0); setmaxdim(10000000); A = E(2200) * 3 + 1; B = ~A;",
  };
  for (const char* program : programs) {
    std::thread stopper([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      requestStop();
    });
    const RunReport stopped = run(program);
    stopper.join();
    EXPECT_FALSE(stopped.ok) << program;
    EXPECT_EQ(stopped.errorMessage, cp("Выполнение прекращено пользователем")) << program;
    const RunReport next = run("1 + 1");
    ASSERT_TRUE(next.ok) << cp1251ToUtf8(next.errorMessage);
    EXPECT_EQ(next.text, "2");
  }
}

// The status bar reports the elapsed time in the first form that fits.
TEST_F(RunRobustness, ElapsedTimeInTheStatusBar) {
  struct Case {
    std::int64_t elapsedMs;
    const char* status;
  };
  const Case cases[] = {
      {0, "Выполнено за 0мс"},          {999, "Выполнено за 999мс"},
      {1000, "Выполнено за 1.0с"},      {1500, "Выполнено за 1.5с"},
      {9999, "Выполнено за 10.0с"},     {10000, "Выполнено за 10с"},
      {12000, "Выполнено за 12с"},      {59999, "Выполнено за 59с"},
      {75000, "Выполнено за 1м 15с"},   {3599999, "Выполнено за 59м 59с"},
      {3725000, "Выполнено за 1ч  2м  5с"}, {36000000, "Выполнено за 10ч  0м  0с"},
  };
  for (const Case& c : cases) {
    // The first reading of the clock starts the run, every later one is
    // its end: the run lasts exactly the given time.
    bool started = false;
    host_.tick = [&] {
      const std::int64_t now = started ? c.elapsedMs : 0;
      started = true;
      return now;
    };
    const RunReport report = run("1 + 1");
    ASSERT_TRUE(report.ok) << cp1251ToUtf8(report.errorMessage);
    EXPECT_EQ(report.status, cp(c.status)) << c.elapsedMs;
    EXPECT_EQ(host_.status, cp(c.status)) << c.elapsedMs;
  }
  host_.tick = nullptr;
}

}  // namespace
}  // namespace tesmora

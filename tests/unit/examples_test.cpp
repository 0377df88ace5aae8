// The sample programs of the examples menu: every file in examples/ is a
// proper sample (a first comment line naming the task, 170 to 850
// characters as the program holds it) and runs without error on a fresh
// interpreter; the computing samples give their known answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "ScriptedHost.h"
#include "builtins/Registry.h"
#include "interp/Interpreter.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedHost;

constexpr std::size_t kShortestSample = 170;
constexpr std::size_t kLongestSample = 850;

fs::path examplesFolder() { return fs::path(TESMORA_EXAMPLES_DIR); }

std::vector<fs::path> sampleFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(examplesFolder()))
    if (entry.path().extension() == ".tsm") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sample as the program holds it: Windows-1251 with CR LF line ends.
std::string sampleText(const fs::path& path) {
  const DecodedText decoded = decodeDocument(readBytes(path));
  EXPECT_TRUE(decoded.ok) << path << ": character outside Windows-1251 at byte "
                          << decoded.badOffset;
  return decoded.text;
}

// A run reported "NAME:  нет определения" (or an unknown method) for a name
// the language has but whose builtin is not in the registry yet: that
// name, else empty.
std::string missingBuiltin(const RunReport& report) {
  const std::string& message = report.errorMessage;
  const std::size_t colon = message.find(":  ");
  if (colon == std::string::npos) return {};
  const std::string rest = message.substr(colon + 3);
  if (rest != cp("нет определения") && rest != cp("неизвестный метод")) return {};
  const std::string name = message.substr(0, colon);
  bool inLanguage = false;
  for (const RegistryName& entry : registryOrder()) {
    if (name != entry.name) continue;
    inLanguage = true;
    if (findBuiltin(entry.name, entry.category) != nullptr) return {};
  }
  return inLanguage ? name : std::string();
}

// Runs each sample in a scratch folder of its own (samples write out.txt)
// on a fresh interpreter, as a user would after starting the program.
class ExampleRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tesmora-examples-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    scratch_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(scratch_);
  }

  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(scratch_);
  }

  RunReport run(const std::string& file) {
    host_ = ScriptedHost();
    // The clock stands still: the loop samples run many thousands of
    // statements, and the long-run question must not stop them.
    host_.tick = [] { return std::int64_t{0}; };
    interpreter_ = std::make_unique<Interpreter>(host_);
    interpreter_->seed(12345);
    RunRequest request;
    request.text = sampleText(examplesFolder() / file);
    request.title = cp("Пример");
    return interpreter_->run(request);
  }

  // The run must succeed; a builtin still missing skips the sample, by name.
  RunReport runOk(const std::string& file) {
    RunReport report = run(file);
    const std::string missing = missingBuiltin(report);
    if (!report.ok && !missing.empty()) {
      skipped_ = "builtin '" + missing + "' does not exist yet";
      return report;
    }
    EXPECT_TRUE(report.ok) << file << ": " << cp1251ToUtf8(report.errorMessage)
                           << " at byte " << report.errorOffset;
    return report;
  }

  std::string outFile() const { return readBytes(scratch_ / "out.txt"); }

  ScriptedHost host_;
  std::unique_ptr<Interpreter> interpreter_;
  std::string skipped_;
  fs::path scratch_;
  fs::path previous_;
};

#define SKIP_IF_BUILTIN_MISSING() \
  if (!skipped_.empty()) GTEST_SKIP() << skipped_

TEST(Examples, EverySampleIsAProperSample) {
  const std::vector<fs::path> files = sampleFiles();
  ASSERT_EQ(files.size(), 22u);
  for (const fs::path& path : files) {
    const std::string text = sampleText(path);
    EXPECT_GE(text.size(), kShortestSample) << path;
    EXPECT_LE(text.size(), kLongestSample) << path;
    // The first line is a comment naming the task in Russian.
    const std::string first = text.substr(0, text.find("\r\n"));
    EXPECT_EQ(first.rfind("//", 0), 0u) << path;
    EXPECT_TRUE(std::any_of(first.begin(), first.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0xC0; }))
        << path << ": the first line names no task";
  }
}

TEST_F(ExampleRun, EverySampleRunsWithoutError) {
  std::vector<std::string> missing;
  for (const fs::path& path : sampleFiles()) {
    skipped_.clear();
    const RunReport report = runOk(path.filename().string());
    if (!skipped_.empty()) missing.push_back(path.filename().string() + ": " + skipped_);
    // A sample ends with a value to show or a picture to draw.
    if (report.ok) {
      EXPECT_TRUE(report.shown || report.pictureCommands > 0) << path;
    }
  }
  if (!missing.empty()) {
    std::ostringstream list;
    for (const std::string& line : missing) list << "\n  " << line;
    GTEST_SKIP() << "samples waiting for builtins:" << list.str();
  }
}

TEST_F(ExampleRun, LinearSystemIsSolved) {
  const RunReport report = runOk("linear_system.tsm");
  SKIP_IF_BUILTIN_MISSING();
  EXPECT_EQ(report.text, "  2\r\n  3\r\n  -1");
}

TEST_F(ExampleRun, FibonacciGivesTheFiftiethNumber) {
  const RunReport report = runOk("fibonacci.tsm");
  SKIP_IF_BUILTIN_MISSING();
  EXPECT_EQ(report.text, "12586269025");
}

TEST_F(ExampleRun, RsaDecryptsTheSentence) {
  const RunReport report = runOk("rsa.tsm");
  SKIP_IF_BUILTIN_MISSING();
  EXPECT_EQ(cp1251ToUtf8(report.text), "Шифр надежен, пока ключ в тайне");
}

TEST_F(ExampleRun, BothOptionPricesAgree) {
  const RunReport fromLaw = runOk("option_price_1.tsm");
  SKIP_IF_BUILTIN_MISSING();
  const RunReport fromFormula = runOk("option_price_2.tsm");
  SKIP_IF_BUILTIN_MISSING();
  ASSERT_TRUE(fromLaw.ok && fromFormula.ok);
  EXPECT_EQ(fromLaw.text, fromFormula.text);
  EXPECT_GT(std::stod(fromLaw.text), 0.0);
}

TEST_F(ExampleRun, SieveShowsEachStepAndEndsWithThePrimes) {
  // The sieve shows the sieve after each prime below m = 8 and ends with
  // the primes below 64.
  const RunReport report = runOk("sieve.tsm");
  SKIP_IF_BUILTIN_MISSING();
  EXPECT_EQ(host_.boxes.size(), 4u);  // the sieve after 2, 3, 5 and 7
  EXPECT_NE(report.text.find("2,  3,  5,  7,  11"), std::string::npos) << report.text;
  EXPECT_NE(report.text.find("59,  61"), std::string::npos) << report.text;
}

TEST_F(ExampleRun, NestedLoopsWritePrimesLineByLine) {
  runOk("nested_loops.tsm");
  SKIP_IF_BUILTIN_MISSING();
  const std::string written = cp1251ToUtf8(outFile());
  EXPECT_EQ(written.rfind("От 0 до 19: 2 3 5 7 11 13 17 19\r\n", 0), 0u) << written;
  EXPECT_NE(written.find("От 180 до 199: 181 191 193 197 199\r\n"), std::string::npos)
      << written;
}

TEST_F(ExampleRun, PrimesFileHoldsFivePerLine) {
  runOk("primes_file.tsm");
  SKIP_IF_BUILTIN_MISSING();
  const std::string written = outFile();
  EXPECT_EQ(written.substr(0, written.find("\r\n")), "1009;1013;1019;1021;1031");
}

}  // namespace
}  // namespace tesmora

#include "cli/PdfStep.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

#include "cli/Json.h"
#include "exam/TexBuild.h"
#include "text/Cp1251.h"

extern char** environ;

namespace tesmora::cli {
namespace {

namespace fs = std::filesystem;

struct PassOutcome {
  bool finished = false;  // false: stopped at the time limit
  int exitCode = -1;
};

// Runs pdflatex once in `dir` with the given environment, stopping it (and
// the font generators it may start) at the time limit. Everything the
// child needs is prepared before fork, which then only switches directory,
// redirects and executes.
PassOutcome runPass(const std::string& program, const std::vector<std::string>& args,
                    const std::string& dir, const std::vector<std::string>& env) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& entry : env) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) return {};
  if (child == 0) {
    setpgid(0, 0);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, 0);
      dup2(devNull, 1);
      dup2(devNull, 2);
    }
    if (chdir(dir.c_str()) == 0) execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  setpgid(child, child);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(kPdflatexPassSeconds);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) {
      kill(-child, SIGKILL);  // anything it left behind
      return {true, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
    if (done < 0) return {};
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-child, SIGKILL);
      waitpid(child, &status, 0);
      return {false, -1};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> environmentWith(const std::string& texInputsValue) {
  std::vector<std::string> env;
  for (char** entry = environ; entry && *entry; ++entry) {
    if (std::string_view(*entry).starts_with("TEXINPUTS=")) continue;
    env.emplace_back(*entry);
  }
  env.push_back("TEXINPUTS=" + texInputsValue);
  return env;
}

std::string shownPath(const std::string& path) {
  std::error_code error;
  const std::string here = fs::current_path(error).string() + "/";
  if (!error && path.starts_with(here)) return path.substr(here.size());
  return path;
}

std::string errorLog(const std::optional<TexError>& error, int exitCode) {
  if (error) return cp1251ToUtf8(error->lines.empty() ? error->message : error->lines);
  return "pdflatex ended with status " + std::to_string(exitCode) + " and no error in its log";
}

}  // namespace

std::optional<std::string> findPdflatex() {
  const char* path = std::getenv("PATH");
  if (!path) return {};
  std::string_view dirs(path);
  while (true) {
    const std::size_t colon = dirs.find(':');
    const std::string dir(dirs.substr(0, colon));
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/pdflatex";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return {};
    dirs.remove_prefix(colon + 1);
  }
}

std::string programDirectory() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : self.parent_path().string();
}

PdfStep::PdfStep(std::string pdflatex, std::string supportDir)
    : pdflatex_(std::move(pdflatex)), supportDir_(std::move(supportDir)) {}

std::vector<PdfResult> PdfStep::compile(const std::vector<LatexFile>& files) const {
  std::vector<PdfResult> results;
  for (const LatexFile& file : files) results.push_back(compileOne(file.path));
  return results;
}

PdfResult PdfStep::compileOne(const std::string& texPath) const {
  PdfResult result;
  result.tex = shownPath(texPath);
  const fs::path tex(texPath);
  const fs::path pdf = withExtension(texPath, ".pdf");
  const fs::path log = withExtension(texPath, ".log");
  std::error_code ignored;
  fs::remove(pdf, ignored);  // a PDF of an earlier run must not pass for this one

  const std::vector<std::string> env = environmentWith(texInputs(supportDir_, std::getenv("TEXINPUTS")));
  const std::vector<std::string> args = pdflatexArguments(tex.filename().string());
  for (int pass = 1; pass <= kPdflatexMaxPasses; ++pass) {
    const PassOutcome outcome = runPass(pdflatex_, args, tex.parent_path().string(), env);
    if (!outcome.finished) {
      result.log = "pdflatex did not finish within " + std::to_string(kPdflatexPassSeconds) + " s";
      return result;
    }
    const std::string logText = fileText(log);
    if (outcome.exitCode != 0 || !fs::exists(pdf, ignored)) {
      result.log = errorLog(firstTexError(logText), outcome.exitCode);
      return result;
    }
    if (!logAsksRerun(logText)) break;
  }
  result.pdf = shownPath(pdf.string());
  return result;
}

std::string withPdfResults(const std::string& jsonObject, const std::vector<PdfResult>& results) {
  std::string list = "[";
  for (const PdfResult& result : results) {
    if (list.size() > 1) list += ',';
    JsonObject entry;
    entry.add("tex", result.tex);
    if (result.pdf) {
      entry.add("pdf", *result.pdf);
    } else {
      entry.addNull("pdf");
    }
    entry.add("log", result.log);
    list += entry.str();
  }
  list += ']';
  std::string line = jsonObject;
  line.pop_back();  // the object's closing brace
  return line + ",\"pdf\":" + list + "}";
}

std::string humanPdfResults(const std::vector<PdfResult>& results) {
  std::string text;
  for (const PdfResult& result : results) {
    if (result.pdf) {
      text += "pdf: " + *result.pdf + "\n";
    } else {
      text += "pdf: " + result.tex + " failed:\n" + result.log;
      if (!text.empty() && text.back() != '\n') text += '\n';
    }
  }
  return text;
}

}  // namespace tesmora::cli

#include "exam/TexBuild.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tesmora {
namespace {

namespace fs = std::filesystem;

bool holdsSupport(const fs::path& dir) {
  std::error_code error;
  return fs::is_regular_file(dir / "sw20jart.sty", error) &&
         fs::is_regular_file(dir / "tcilatex.tex", error);
}

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// "FILE:LINE: MESSAGE" of -file-line-error; FILE is a file name with an
// extension (1a.tex, ./sw20jart.sty), so other log lines do not pass.
std::optional<TexError> fileLineError(std::string_view line) {
  const std::size_t firstColon = line.find(':');
  if (firstColon == std::string_view::npos || firstColon == 0) return {};
  const std::string_view file = line.substr(0, firstColon);
  if (file.find(' ') != std::string_view::npos || file.find('.') == std::string_view::npos) {
    return {};
  }
  const std::size_t secondColon = line.find(':', firstColon + 1);
  if (secondColon == std::string_view::npos || secondColon == firstColon + 1) return {};
  int number = 0;
  for (std::size_t i = firstColon + 1; i < secondColon; ++i) {
    if (line[i] < '0' || line[i] > '9') return {};
    number = number * 10 + (line[i] - '0');
    if (number > 100000000) return {};
  }
  TexError error;
  error.file = std::string(line.substr(0, firstColon));
  if (error.file.starts_with("./")) error.file.erase(0, 2);
  error.line = number;
  std::string_view message = line.substr(secondColon + 1);
  while (message.starts_with(' ')) message.remove_prefix(1);
  error.message = std::string(message);
  return error;
}

// The context line "l.N text" that ends TeX's report of an error.
bool isContextLine(std::string_view line) {
  if (!line.starts_with("l.") || line.size() < 3) return false;
  return line[2] >= '0' && line[2] <= '9';
}

}  // namespace

std::vector<std::string> pdflatexArguments(const std::string& texFileName) {
  return {"-interaction=nonstopmode", "-halt-on-error", "-file-line-error",
          "-no-shell-escape", texFileName};
}

std::string findTexSupport(const std::string& programDir, const char* overrideDir) {
  if (overrideDir && *overrideDir && holdsSupport(overrideDir)) return overrideDir;
  const fs::path program(programDir);
  for (const char* relative : {"../share/tesmora/tex", "../../share/tesmora/tex"}) {
    const fs::path candidate = (program / relative).lexically_normal();
    if (holdsSupport(candidate)) return candidate.string();
  }
  return {};
}

std::string texInputs(const std::string& supportDir, const char* existing) {
  std::string value = supportDir.empty() ? std::string() : supportDir + ":";
  if (existing && *existing) {
    value += existing;
  }
  // A trailing colon keeps TeX's own search path.
  if (value.empty() || value.back() != ':') value += ':';
  return value;
}

bool logAsksRerun(std::string_view log) {
  return log.find("Rerun to get") != std::string_view::npos;
}

std::optional<TexError> firstTexError(std::string_view log) {
  const std::vector<std::string_view> lines = linesOf(log);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::optional<TexError> error = fileLineError(lines[i]);
    if (!error && lines[i].starts_with("! ")) {
      error = TexError{{}, 0, std::string(lines[i].substr(2)), {}};
    }
    if (!error) continue;
    std::size_t last = i;
    while (last + 1 < lines.size() && last < i + 12 && !isContextLine(lines[last])) ++last;
    if (!isContextLine(lines[last])) last = i;
    for (std::size_t k = i; k <= last; ++k) {
      error->lines.append(lines[k]);
      error->lines.push_back('\n');
      if (error->line == 0 && isContextLine(lines[k])) {
        error->line = std::atoi(std::string(lines[k].substr(2)).c_str());
      }
    }
    return error;
  }
  return {};
}

std::string withExtension(const std::string& texPath, std::string_view extension) {
  std::string path = texPath;
  if (path.ends_with(".tex")) path.resize(path.size() - 4);
  return path + std::string(extension);
}

}  // namespace tesmora

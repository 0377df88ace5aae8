#include "cli/ProgramText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "text/Cp1251.h"

namespace tesmora::cli {
namespace {

// Line and column (in characters) of a byte offset into valid UTF-8.
std::string utf8Position(std::string_view text, std::size_t offset) {
  int line = 1;
  int column = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      ++line;
      column = 1;
    } else if ((byte & 0xC0) != 0x80) {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

// The character at `offset` of valid UTF-8, as it appears there, with its
// code point ("☃" U+2603) for the error message.
std::string describeCharacterAt(std::string_view text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  const std::string_view bytes = text.substr(offset, length);
  char32_t cp = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    cp = (cp << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
  }
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
  return "\"" + std::string(bytes) + "\" (" + code + ")";
}

std::string unconvertibleMessage(std::string_view where,
                                 std::string_view bytes, std::size_t offset) {
  return std::string(where) + ": the character " +
         describeCharacterAt(bytes, offset) +
         " has no Windows-1251 code, which Tesmora texts use";
}

std::string readFileBytes(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw UsageError("cannot read " + path + ": it is a directory");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) throw UsageError("cannot read " + path);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  if (file.bad()) throw UsageError("cannot read " + path);
  return std::move(bytes).str();
}

std::string readStdinBytes() {
  std::string bytes{std::istreambuf_iterator<char>(std::cin),
                    std::istreambuf_iterator<char>()};
  if (std::cin.bad()) throw UsageError("cannot read standard input");
  return bytes;
}

std::string sourceName(const RunSource& run) {
  switch (run.source) {
    case SourceKind::File: return run.argument;
    case SourceKind::Text: return "-e";
    case SourceKind::Stdin: return "-";
  }
  return "-";
}

}  // namespace

std::string decodeProgramText(std::string_view bytes,
                              std::string_view sourceName) {
  const DecodedText decoded = decodeDocument(bytes);
  if (!decoded.ok) {
    const std::string where = std::string(sourceName) + ":" +
                              utf8Position(bytes, decoded.badOffset);
    throw UsageError(unconvertibleMessage(where, bytes, decoded.badOffset));
  }
  return decoded.text;
}

std::string decodeArgumentText(std::string_view bytes, std::string_view what) {
  bool anyHigh = false;
  for (const char c : bytes) anyHigh |= static_cast<unsigned char>(c) >= 0x80;
  if (!anyHigh || !isValidUtf8(bytes)) return std::string(bytes);
  std::string converted;
  std::size_t badOffset = 0;
  if (!utf8ToCp1251(bytes, converted, &badOffset)) {
    throw UsageError(unconvertibleMessage(what, bytes, badOffset));
  }
  return converted;
}

std::string defaultTitleBytes(const RunSource& run) {
  if (run.source != SourceKind::File) return "Untitled";
  return std::filesystem::path(run.argument).stem().string();
}

PreparedRun prepareRun(const RunSource& run) {
  PreparedRun prepared;
  const std::string name = sourceName(run);
  std::string bytes;
  switch (run.source) {
    case SourceKind::File: bytes = readFileBytes(run.argument); break;
    case SourceKind::Text: bytes = run.argument; break;
    case SourceKind::Stdin: bytes = readStdinBytes(); break;
  }
  prepared.text = decodeProgramText(bytes, name);
  prepared.title = run.title
                       ? decodeArgumentText(*run.title, "--title")
                       : decodeArgumentText(defaultTitleBytes(run),
                                            "the title of " + name);
  prepared.fragment = run.fragment;
  for (const std::string& answer : run.answers) {
    prepared.answers.push_back(decodeArgumentText(answer, "--answer"));
  }
  prepared.pictureFile = run.pictureFile;
  prepared.pictureSize = run.pictureSize;
  return prepared;
}

}  // namespace tesmora::cli

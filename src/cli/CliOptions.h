// The command line of tesmora-run: which texts to run, in which order, and
// the options that apply to each of them.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tesmora::cli {

// A command line that cannot be carried out (exit status 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class SourceKind {
  File,   // FILE.tsm: the whole text of a file
  Text,   // -e TEXT
  Stdin,  // -: standard input
};

// Size of the drawn picture: the picture window's initial client area
// unless --picture-size says otherwise.
struct PictureSize {
  int width = 424;
  int height = 361;
};

// One RUN with the options in force for it. Texts are the bytes exactly as
// given on the command line; decoding happens when the run is prepared.
struct RunSource {
  SourceKind source = SourceKind::File;
  std::string argument;               // the path (File) or the text (Text)
  bool fragment = false;              // --fragment came right before it
  std::optional<std::string> title;   // the last --title before it
  std::vector<std::string> answers;   // --answer values that precede it and
                                      // no earlier RUN
  std::optional<std::string> pictureFile;
  PictureSize pictureSize;
};

struct CliOptions {
  bool json = false;
  bool help = false;
  bool version = false;
  std::optional<std::uint32_t> seed;
  std::optional<double> timeoutSeconds;  // --timeout S: stop runs after S s
  bool pdf = false;  // --pdf: compile the LaTeX files of every run
  std::optional<std::string> doc;  // --doc NAME: print its help entry
  std::vector<RunSource> runs;
};

// Throws UsageError. A command line without any RUN is an error unless it
// asks for --help or --version.
CliOptions parseCommandLine(const std::vector<std::string>& args);

// The text printed by --help.
std::string usageText();

// What --picture FILE writes, by FILE's extension in any letter case.
enum class PictureFormat { Png, Svg, Unknown };
PictureFormat pictureFormatOf(const std::string& file);

// Exposed for tests: "WxH" with both sides from 1 to 10000.
std::optional<PictureSize> parsePictureSize(const std::string& text);

}  // namespace tesmora::cli

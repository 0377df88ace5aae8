#include "cli/CliOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tesmora::cli {
namespace {

constexpr int kMaxPictureSide = 10000;

bool endsWithIgnoringCase(const std::string& text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(),
                    text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

std::optional<int> parsePositive(std::string_view text) {
  int value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return {};
  if (value < 1 || value > kMaxPictureSide) return {};
  return value;
}

// initrand takes a 32-bit seed; negative numbers wrap as they would there.
std::uint32_t parseSeed(const std::string& text) {
  long long value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() ||
      value < -2147483648LL || value > 4294967295LL) {
    throw UsageError("--seed needs an integer, not \"" + text + "\"");
  }
  return static_cast<std::uint32_t>(value);
}

// --timeout takes a decimal number of seconds, more than 0.
double parseTimeout(const std::string& text) {
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() ||
      !(value > 0 && value < 1e9)) {
    throw UsageError("--timeout needs a number of seconds above 0, not \"" + text + "\"");
  }
  return value;
}

// Walks the arguments once; per-run options collect in `pending` until the
// RUN they belong to arrives.
class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  CliOptions parse() {
    while (next_ < args_.size()) parseOne(args_[next_++]);
    if (options_.help || options_.version || options_.doc) return options_;
    if (options_.runs.empty()) {
      throw UsageError("nothing to run: give FILE.tsm, -e TEXT or -");
    }
    if (dangling_) {
      throw UsageError(*dangling_ + " after the last RUN applies to no run");
    }
    return options_;
  }

 private:
  void parseOne(const std::string& arg) {
    if (arg == "--json") {
      options_.json = true;
    } else if (arg == "--help" || arg == "-h") {
      options_.help = true;
    } else if (arg == "--version") {
      options_.version = true;
    } else if (arg == "--pdf") {
      options_.pdf = true;
    } else if (arg == "--doc") {
      options_.doc = value(arg);
    } else if (arg == "--seed") {
      options_.seed = parseSeed(value(arg));
    } else if (arg == "--timeout") {
      options_.timeoutSeconds = parseTimeout(value(arg));
    } else if (arg == "--fragment") {
      pending_.fragment = true;
      dangling_ = arg;
    } else if (arg == "--title") {
      pending_.title = value(arg);
      dangling_ = arg;
    } else if (arg == "--answer") {
      pending_.answers.push_back(value(arg));
      dangling_ = arg;
    } else if (arg == "--picture") {
      pending_.pictureFile = pictureFile(value(arg));
      dangling_ = arg;
    } else if (arg == "--picture-size") {
      const std::string size = value(arg);
      const auto parsed = parsePictureSize(size);
      if (!parsed) {
        throw UsageError("--picture-size needs WxH with sides from 1 to " +
                         std::to_string(kMaxPictureSide) + ", not \"" + size +
                         "\"");
      }
      pending_.pictureSize = *parsed;
      dangling_ = arg;
    } else if (arg == "-e") {
      addRun(SourceKind::Text, value(arg));
    } else if (arg == "-") {
      addRun(SourceKind::Stdin, "");
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      addRun(SourceKind::File, arg);
    }
  }

  // The argument after an option is always its value, even when it begins
  // with '-' (an answer of -1, a program text "-x").
  std::string value(const std::string& option) {
    if (next_ >= args_.size()) throw UsageError(option + " needs a value");
    return args_[next_++];
  }

  static std::string pictureFile(const std::string& file) {
    if (pictureFormatOf(file) == PictureFormat::Unknown) {
      throw UsageError("--picture writes .png or .svg files, not \"" + file +
                       "\"");
    }
    return file;
  }

  void addRun(SourceKind source, std::string argument) {
    RunSource run = pending_;
    run.source = source;
    run.argument = std::move(argument);
    options_.runs.push_back(std::move(run));
    // --title, --picture and --picture-size stay for the following runs;
    // a fragment mark and queued answers belong to this run only.
    pending_.fragment = false;
    pending_.answers.clear();
    dangling_.reset();
  }

  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
  CliOptions options_;
  RunSource pending_;
  std::optional<std::string> dangling_;  // a per-run option not yet used
};

}  // namespace

PictureFormat pictureFormatOf(const std::string& file) {
  if (endsWithIgnoringCase(file, ".png")) return PictureFormat::Png;
  if (endsWithIgnoringCase(file, ".svg")) return PictureFormat::Svg;
  return PictureFormat::Unknown;
}

std::optional<PictureSize> parsePictureSize(const std::string& text) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return {};
  const auto width = parsePositive(std::string_view(text).substr(0, x));
  const auto height = parsePositive(std::string_view(text).substr(x + 1));
  if (!width || !height) return {};
  return PictureSize{*width, *height};
}

CliOptions parseCommandLine(const std::vector<std::string>& args) {
  return Parser(args).parse();
}

std::string usageText() {
  return R"(Usage: tesmora-run [OPTIONS] RUN [OPTIONS] RUN ...

Runs Tesmora programs without a window. Several RUNs are run one after the
other by one interpreter, as if F12 were pressed several times in one session.

RUN:
  FILE.tsm              run the whole text of a file
  -e TEXT               run TEXT (the next argument is always the text)
  -                     read the program text from standard input

Options (apply to the RUNs that follow them unless marked "once"):
  --json                (once) one JSON object per run, one per line
  --fragment            the next RUN is a fragment run (variables are kept)
  --title NAME          document title of the following runs
                        (default: the file name without extension, Untitled)
  --answer VALUE        queue an answer for the next modal interaction:
                        a button (OK, CANCEL, ABORT, RETRY, IGNORE, YES, NO,
                        TRY, CONTINUE), the text for getstr, a number for
                        show, X, SKIP or ASK for qshow
  --picture FILE        draw the picture into FILE (.png or .svg)
  --picture-size WxH    size of the drawn picture (default 424x361)
  --seed N              (once) seed the random generator with N
  --timeout S           (once) stop any run still going after S seconds, as
                        the desktop's Stop does
  --pdf                 (once) after each run, compile every LaTeX file it
                        wrote (question file, exam papers) to PDF beside it
                        with pdflatex; a paper's students' version (without
                        solutions) is compiled too
  --version             (once) print the version and exit
  --help                (once) print this help and exit
  --doc NAME            (once) print the help entry of a builtin, method,
                        constant or colour (Markdown) and exit; for an
                        unknown NAME list the closest names, exit status 2

Without a queued answer a message box takes its first button (CANCEL for
CANCEL|TRY|CONTINUE), getstr gets "", show ends with 0, qshow answers X and
the long-run question is answered NO.

Exit status: 0 every run succeeded, 1 some run failed, 2 usage error or an
unreadable program file.
)";
}

}  // namespace tesmora::cli

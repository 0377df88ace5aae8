#include "io/OutputChannel.h"

#include "interp/Errors.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"

namespace tesmora::output {
namespace {

struct Channel {
  TextFile file;
  std::string name;
  bool latex = false;
};

Channel& channel() {
  static Channel instance;
  return instance;
}

[[noreturn]] void raiseFailure(const std::string& name, bool latex) {
  if (latex) raise1251(cp("Не удается открыть файл ") + name);
  raise1251(name, cp("xxx Не удается открыть файл "));
}

bool openAs(const std::string& name1251, bool latex) {
  close();
  Channel& c = channel();
  c.name = name1251;
  c.latex = false;
  if (!c.file.create(name1251, [name1251, latex](int) {
        channel().latex = false;
        raiseFailure(name1251, latex);
      })) {
    return false;
  }
  c.latex = latex;
  return true;
}

}  // namespace

bool isOpen() { return channel().file.isOpen(); }

bool isLatex() { return channel().latex; }

bool open(const std::string& name1251) { return openAs(name1251, false); }

bool openLatex(const std::string& name1251) { return openAs(name1251, true); }

void write(std::string_view text) {
  Channel& c = channel();
  c.file.write(text);
  if (c.latex) c.file.flush();
}

void flush() { channel().file.flush(); }

bool close() {
  Channel& c = channel();
  if (!c.file.isOpen()) return true;
  bool written = true;
  try {
    if (c.latex) {
      c.file.write("\n\n");
      c.file.write("\\end{document}\n");
    }
  } catch (const ScriptError&) {
    written = false;  // the file is closed and removed already
  }
  written = c.file.closeQuietly() && written;
  c.latex = false;
  return written;
}

void finish() {
  Channel& c = channel();
  const bool latex = c.latex;
  if (!close()) raiseFailure(c.name, latex);
}

}  // namespace tesmora::output

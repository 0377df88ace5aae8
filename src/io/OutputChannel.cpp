#include "io/OutputChannel.h"

#include "io/TextFile.h"

namespace tesmora::output {
namespace {

struct Channel {
  TextFile file;
  bool latex = false;
};

Channel& channel() {
  static Channel instance;
  return instance;
}

}  // namespace

bool isOpen() { return channel().file.isOpen(); }

bool isLatex() { return channel().latex; }

bool open(const std::string& name1251) {
  close();
  return channel().file.create(name1251);
}

bool openLatex(const std::string& name1251) {
  if (!open(name1251)) return false;
  channel().latex = true;
  return true;
}

void write(std::string_view text) { channel().file.write(text); }

void close() {
  Channel& c = channel();
  if (!c.file.isOpen()) return;
  if (c.latex) {
    c.file.write("\n\n");
    c.file.write("\\end{document}\n");
  }
  c.file.close();
  c.latex = false;
}

}  // namespace tesmora::output

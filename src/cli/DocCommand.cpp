#include "cli/DocCommand.h"

namespace tesmora::cli {

int printDocEntry(const std::string& name, std::ostream& out, std::ostream& err,
                  const help::HelpLibrary& library) {
  if (const help::HelpEntry* entry = library.entry(name)) {
    out << entry->markdown;
    return 0;
  }
  err << "tesmora-run: no help entry for \"" << name << "\"\n";
  const std::vector<std::string> close = library.closeNames(name);
  if (close.empty()) {
    err << "no entry has a close name\n";
  } else {
    err << "closest names:";
    for (const std::string& candidate : close) err << ' ' << candidate;
    err << '\n';
  }
  return 2;
}

}  // namespace tesmora::cli

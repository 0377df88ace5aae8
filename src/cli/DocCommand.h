// tesmora-run --doc NAME: the help entry of a builtin, method, constant or
// colour from the documentation compiled into the program.
#pragma once

#include <ostream>
#include <string>

#include "help/HelpLibrary.h"

namespace tesmora::cli {

// Prints the entry's Markdown (UTF-8) to `out` and returns 0; for a name
// without an entry, lists the closest names on `err` and returns 2.
int printDocEntry(const std::string& name, std::ostream& out, std::ostream& err,
                  const help::HelpLibrary& library = help::HelpLibrary::embedded());

}  // namespace tesmora::cli

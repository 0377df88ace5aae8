// Builtins of the file system and the process: file tests, copies,
// renames and deletions, directories, the command processor, memory and the
// millisecond clock. File functions answer 1 for success and 0 for failure.
#include <cmath>
#include <cstdint>

#include "builtins/Rows.h"
#include "interp/Prog.h"
#include "io/FileSystem.h"

namespace tesmora {
namespace {

ValuePtr answer(bool succeeded) { return makeNumber(succeeded ? 1 : 0); }

ValuePtr runSystemCommand(Str command) {
  runCommand(command);
  return std::make_unique<Void>();
}

ValuePtr checkFile(Str name) { return answer(canOpenForReading(name)); }
ValuePtr copyFile(Str from, Str to) { return answer(copyFileTo(from, to, true)); }
ValuePtr safeCopy(Str from, Str to) { return answer(copyFileTo(from, to, false)); }
ValuePtr removeNamedFile(Str name) { return answer(removeFile(name)); }
ValuePtr renameNamedFile(Str from, Str to) { return answer(renameFile(from, to)); }
ValuePtr makeDir(Str name) { return answer(makeDirectory(name)); }
ValuePtr removeDir(Str name) { return answer(removeDirectory(name)); }
ValuePtr changeDir(Str name) { return answer(changeDirectory(name)); }
ValuePtr currentDir() { return std::make_unique<String>(currentDirectory()); }

// The memory status words are numbered from 12, as the table they come
// from is laid out.
constexpr int kFirstMemoryWord = 12;

double memoryWord(double index) {
  const double word = std::trunc(index) - kFirstMemoryWord;
  if (!(word >= 0 && word < kMemoryStatusWords)) return 0;
  return memoryStatusWord(static_cast<int>(word));
}

double freeMemory() { return readMemoryStatus(); }

// A 32-bit millisecond count, wrapping as the system tick counter does.
double milliseconds() {
  return static_cast<double>(static_cast<std::uint32_t>(program().host.tickMs()));
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_Str, runSystemCommand>("system"),
    row<SF_D, memoryWord>("mem"),
    row<SF_, freeMemory>("fmem"),
    row<SF_, freeMemory>("freemem"),
    row<SF_, milliseconds>("getms"),
    row<FunctionO_, currentDir>("getcdir"),
    row<FunctionO_Str, checkFile>("checkfile"),
    row<FunctionO_StrStr, copyFile>("copyfile"),
    row<FunctionO_StrStr, safeCopy>("safecopy"),
    row<FunctionO_Str, removeNamedFile>("remove"),
    row<FunctionO_StrStr, renameNamedFile>("rename"),
    row<FunctionO_Str, makeDir>("mkdir"),
    row<FunctionO_Str, removeDir>("rmdir"),
    row<FunctionO_Str, changeDir>("chdir"),
};

}  // namespace

std::span<const BuiltinRow> fileBuiltins() { return kRows; }

}  // namespace tesmora

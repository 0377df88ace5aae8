// File and directory services of the language, and the process facts it
// reports (memory, the command processor). Names are Windows-1251. The
// file functions answer success with true and failure with false instead of
// raising.
#pragma once

#include <string>

namespace tesmora {

bool canOpenForReading(const std::string& name);
// Copies a file; with `overwrite` false an existing target makes it fail.
bool copyFileTo(const std::string& from, const std::string& to, bool overwrite);
// Deletes a file (never a directory).
bool removeFile(const std::string& name);
// Renames a file or directory; an existing target makes it fail.
bool renameFile(const std::string& from, const std::string& to);
// Creates one directory; false also when it exists.
bool makeDirectory(const std::string& name);
// Removes an empty directory.
bool removeDirectory(const std::string& name);
bool changeDirectory(const std::string& name);
// The current directory, or "<Error>" when it does not fit the 1000-byte
// buffer it is reported through (or has a character Windows-1251 lacks).
std::string currentDirectory();

// Creates an output directory of the exports; an existing one is fine,
// another failure raises "crdir: Path was not found".
void createOutputDirectory(const std::string& name);

// Runs a command line with the command processor (/bin/sh) and waits for it;
// the exit code is ignored. Raises when the processor cannot be run. The
// command's standard output goes to the standard error stream, so that it
// never mixes with a host's own output, and it reads no input.
void runCommand(const std::string& command);

// The memory status: eight words (structure length, memory load in percent,
// total and available physical memory, total and available page file, total
// and available virtual memory), as last read by readMemoryStatus.
inline constexpr int kMemoryStatusWords = 8;
// Reads the status anew and returns the available physical memory in bytes.
double readMemoryStatus();
// A word of the last status read; 0 before the first read.
double memoryStatusWord(int index);

}  // namespace tesmora

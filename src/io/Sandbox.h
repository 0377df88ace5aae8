// A sandbox for hosts that run programs nobody wrote, such as the fuzzer:
// once entered (for the rest of the process), every file name a program
// gives must stay inside the current directory's tree — an absolute name
// or one with a ".." part names no file, so opening, copying, removing or
// changing to it simply fails — and system() finds no command processor.
// Ordinary hosts never enter it.
#pragma once

#include <string>

namespace tesmora {

void enterSandbox();
bool inSandbox();

// False for a name that leaves the current directory's tree (native UTF-8).
bool staysInside(const std::string& nativeName);

}  // namespace tesmora

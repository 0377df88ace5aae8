#include "io/Sandbox.h"

#include <algorithm>
#include <atomic>

namespace tesmora {
namespace {

std::atomic<bool> gSandboxed{false};

}  // namespace

void enterSandbox() { gSandboxed = true; }

bool inSandbox() { return gSandboxed; }

// Programs cannot make links, so a name without a root and without ".."
// cannot lead out of the directory it is resolved against.
bool staysInside(const std::string& name) {
  if (name.empty() || name.front() == '/') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace tesmora

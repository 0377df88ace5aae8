// libFuzzer target: any bytes as a whole program text for the run driver.
// A finding is a sanitizer report, a crash, a hang past libFuzzer's
// -timeout, or an exception escaping the interpreter; errors of the program
// itself are ordinary outcomes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSession.h"

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
  tesmora::fuzz::raiseStackLimit(*argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tesmora::fuzz::FuzzSession;
  FuzzSession::instance().run(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}

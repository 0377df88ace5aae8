// libFuzzer target: random bytes as the data file of a loader. The first
// byte picks the loader and its arguments; the rest is the file, which
// every loader here reads from the scratch directory.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzSession.h"

namespace {

// Field names worth asking for: the common headers of data files, the date
// column, and one that is never there.
constexpr const char* kFields[] = {"close", "date", "x", "a", "b", "nosuch", "", "value"};

std::string loaderCall(std::uint8_t choice) {
  const std::string field = kFields[(choice >> 3) % 8];
  switch (choice % 8) {
    case 0: return "loadvector(\"data.txt\");";
    case 1: return "loadtextvector(\"data.txt\");";
    case 2: return "loadnumcol(\"data.txt\", \"" + field + "\");";
    case 3: return "loadtextcol(\"data.txt\", \"" + field + "\");";
    case 4: return "loaddaily(40000, 40100, \"data.txt\", \"" + field + "\");";
    case 5: return "loaddaily(36526, 36526 + " + std::to_string(choice) + ", \"data.txt\", \"" + field + "\");";
    case 6: return "tickerfr(\"data.txt\");";
    default: return "[strlen(loadtext(\"data.txt\")), dim(loadvector(\"data.txt\"))];";
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char*** argv) {
  tesmora::fuzz::raiseStackLimit(*argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tesmora::fuzz::FuzzSession;
  if (size == 0) return 0;
  FuzzSession& session = FuzzSession::instance();
  {
    std::ofstream file(session.scratch() + "/data.txt", std::ios::binary);
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  // The result is shown as the run's value, so display runs over it too.
  session.run("setmaxdim(10000000); x = " + loaderCall(data[0]) + " x;");
  return 0;
}

// The fuzzer's sandbox: which names stay inside the directory they are
// resolved against.
#include <gtest/gtest.h>

#include "io/Sandbox.h"

namespace tesmora {
namespace {

TEST(Sandbox, NamesThatStayInside) {
  const struct {
    const char* name;
    bool inside;
  } cases[] = {
      {"a.txt", true},      {"sub/a.txt", true},   {"./a", true},
      {"a..b", true},       {"...", true},         {"sub/..x/y", true},
      {"", false},          {"/etc/passwd", false}, {"..", false},
      {"../a", false},      {"sub/../../a", false}, {"sub/..", false},
      {"a//..//b", false},
  };
  for (const auto& c : cases) EXPECT_EQ(staysInside(c.name), c.inside) << c.name;
}

}  // namespace
}  // namespace tesmora

#include "io/RunStatus.h"

namespace tesmora {
namespace {

std::string& stored() {
  static std::string text;
  return text;
}

}  // namespace

const std::string& rememberRunStartStatus(const std::string& text) {
  return stored() = text;
}

const std::string& runStartStatus() { return stored(); }

}  // namespace tesmora

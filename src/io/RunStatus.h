// The status text shown while a run is going ("Выполняется с 14:05"), kept
// so that setstatus can show it again with the program's own text after it.
#pragma once

#include <string>

namespace tesmora {

// Remembers the text the run driver shows when a run starts, and returns it.
const std::string& rememberRunStartStatus(const std::string& text);

const std::string& runStartStatus();

}  // namespace tesmora

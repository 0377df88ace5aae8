// The compiler reads a statement or a function body once, with a scanner
// of its own, into the tree of Code.h. It follows the text path's grammar
// token for token, and gives up (returns null) wherever the text path would
// raise an error while reading, wherever the text holds a construct the
// executor does not know, and wherever skipping a part the way the text
// path skips it would not end where the part ends. So a compiled text is
// one the text path reads without a syntax error, and running the tree is
// running the text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "interp/compiled/Code.h"

namespace tesmora::compiled {

// The statement whose first token starts at `tokenStart`.
std::unique_ptr<CompiledStatement> compileStatement(const char* tokenStart);

// A user function or law body, a whole text; `parameters` are its names.
std::unique_ptr<CompiledBody> compileBody(const std::string& body,
                                          const std::vector<std::string>& parameters);

}  // namespace tesmora::compiled

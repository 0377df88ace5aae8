// Putting values in place of names in the sections of a question. A name is
// replaced wherever it occurs, also inside words, but never inside a LaTeX
// control word: with a variable d, "\det" stays "\det".
#pragma once

#include <string>

namespace tesmora {

// Replaces every occurrence of `name` in `text` by `value`, from left to
// right, going on after each inserted value. An occurrence that begins in a
// control word (a backslash and the letters after it) or right after a
// backslash is left as it is.
void replaceOutsideControlWords(std::string& text, const std::string& name,
                                const std::string& value);

}  // namespace tesmora

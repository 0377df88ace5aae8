// The documentation files compiled into the programs (generated from docs/
// by cmake/EmbedDocs.cmake): each one's path below docs/ and its UTF-8
// Markdown text.
#pragma once

#include <span>
#include <string_view>

namespace tesmora::help {

struct EmbeddedDoc {
  std::string_view path;  // "guide/values.md", "reference/laws.md" …
  std::string_view text;
};

std::span<const EmbeddedDoc> embeddedDocs();

}  // namespace tesmora::help

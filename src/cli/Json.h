// A small writer for the runner's JSON Lines: one object per line, keys in
// the order they are written. Texts handed in must be UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmora::cli {

// `text` as a JSON string literal: quotes, backslashes and control
// characters are escaped (\r \n \t, others as \u00XX); other characters,
// including non-ASCII UTF-8, pass through unchanged.
std::string jsonQuote(std::string_view text);

class JsonObject {
 public:
  JsonObject& add(std::string_view key, std::string_view text);
  JsonObject& add(std::string_view key, const char* text) {
    return add(key, std::string_view(text));
  }
  JsonObject& add(std::string_view key, bool value);
  JsonObject& add(std::string_view key, std::int64_t value);
  JsonObject& addNull(std::string_view key);
  // `json` must already be valid JSON (an array or object built here).
  JsonObject& addRaw(std::string_view key, std::string_view json);

  // The finished object, e.g. {"ok":true}.
  std::string str() const { return body_ + "}"; }

 private:
  void key(std::string_view name);
  std::string body_ = "{";
};

}  // namespace tesmora::cli

#pragma once
// One JSON object on one line, built field by field, and JSON strings: what the command line's
// --json output and the evidence files beside exports are written with.
#include <cstdint>
#include <string>
#include <string_view>

namespace dvr::platform {

class JsonLine {
 public:
  JsonLine& Add(std::string_view key, std::string_view value);
  JsonLine& Add(std::string_view key, const char* value) {
    return Add(key, std::string_view(value));
  }
  JsonLine& Add(std::string_view key, int64_t value);
  JsonLine& Add(std::string_view key, uint64_t value);
  JsonLine& Add(std::string_view key, uint32_t value) { return Add(key, uint64_t{value}); }
  JsonLine& Add(std::string_view key, int value) { return Add(key, int64_t{value}); }
  JsonLine& Add(std::string_view key, double value);
  JsonLine& Add(std::string_view key, bool value);
  JsonLine& AddNull(std::string_view key);
  // A value that is already JSON (an object or array built elsewhere).
  JsonLine& AddRaw(std::string_view key, std::string_view json);
  std::string Text() const { return body_.empty() ? "{}" : body_ + "}"; }

 private:
  void Key(std::string_view key);
  std::string body_;
};

// `text` as a JSON string, quotes included. Control characters, quotes and backslashes are
// escaped; UTF-8 passes as it is, and a byte that is not part of valid UTF-8 (a file name may hold
// any) becomes U+FFFD, so the result is always valid JSON.
std::string JsonQuote(std::string_view text);

}  // namespace dvr::platform

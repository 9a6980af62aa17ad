#pragma once
// One JSON object on one line, built field by field.
#include <cstdint>
#include <string>
#include <string_view>

namespace dvrtool {

class JsonLine {
 public:
  JsonLine& Add(std::string_view key, std::string_view value);
  JsonLine& Add(std::string_view key, const char* value) { return Add(key, std::string_view(value)); }
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

std::string JsonQuote(std::string_view text);

}  // namespace dvrtool

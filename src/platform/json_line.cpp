#include "platform/json_line.h"

#include <cstdio>

namespace dvr::platform {

namespace {

// Length of the valid UTF-8 sequence at the start of `text` (its first byte 0x80 or above), or 0
// when it is not one: no overlong forms, surrogates or code points past U+10FFFF.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string JsonQuote(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto code = static_cast<unsigned char>(c);
    if (code >= 0x80) {
      const size_t length = Utf8SequenceLength(text.substr(i));
      out += length ? text.substr(i, length) : "\\ufffd";
      i += length ? length : 1;
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (code < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
          out += escaped;
        } else {
          out += c;
        }
    }
    ++i;
  }
  return out + "\"";
}

void JsonLine::Key(std::string_view key) {
  body_ += body_.empty() ? "{" : ",";
  body_ += JsonQuote(key);
  body_ += ':';
}

JsonLine& JsonLine::Add(std::string_view key, std::string_view value) {
  Key(key);
  body_ += JsonQuote(value);
  return *this;
}

JsonLine& JsonLine::Add(std::string_view key, int64_t value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonLine& JsonLine::Add(std::string_view key, uint64_t value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonLine& JsonLine::Add(std::string_view key, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  Key(key);
  body_ += text;
  return *this;
}

JsonLine& JsonLine::Add(std::string_view key, bool value) {
  Key(key);
  body_ += value ? "true" : "false";
  return *this;
}

JsonLine& JsonLine::AddNull(std::string_view key) {
  Key(key);
  body_ += "null";
  return *this;
}

JsonLine& JsonLine::AddRaw(std::string_view key, std::string_view json) {
  Key(key);
  body_ += json;
  return *this;
}

}  // namespace dvr::platform

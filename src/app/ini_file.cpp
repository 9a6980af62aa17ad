#include "app/ini_file.h"

#include <algorithm>

namespace dvr::app {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A stray CR counts as a blank too: a value read from a line with two CRs must not keep one.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The name of a "[name]" line (already trimmed), or nothing when it is no such line.
std::optional<std::string_view> SectionName(std::string_view line) {
  if (!line.starts_with('[')) return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

}  // namespace

IniFile::IniFile(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) {
    byte_order_mark_ = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  const size_t first_end = text.find('\n');
  if (first_end != std::string_view::npos && first_end > 0 && text[first_end - 1] == '\r') {
    line_end_ = "\r\n";
  }
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    const std::string_view trimmed = Trim(raw);
    if (const auto name = SectionName(trimmed)) {
      sections_.push_back({std::string(*name), std::string(raw), {}});
      continue;
    }
    Line line{std::string(raw), {}, {}};
    const size_t equals = trimmed.find('=');
    if (!trimmed.starts_with(';') && equals != std::string_view::npos) {
      line.key = Trim(trimmed.substr(0, equals));
      line.value = Trim(trimmed.substr(equals + 1));
    }
    LastLines().push_back(std::move(line));
  }
}

size_t IniFile::Find(std::string_view name) const {
  const auto found = std::find_if(sections_.begin(), sections_.end(),
                                  [&](const Section& section) { return section.name == name; });
  return static_cast<size_t>(found - sections_.begin());
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
  const size_t index = Find(section);
  if (index == sections_.size()) return std::nullopt;
  for (const Line& line : sections_[index].lines) {
    if (!line.key.empty() && line.key == key) return line.value;
  }
  return std::nullopt;
}

void IniFile::ReplaceSection(std::string_view section, const Entries& entries) {
  const size_t index = Find(section);
  if (index == sections_.size()) {
    // A blank line between the text before and the new section.
    std::vector<Line>& last = LastLines();
    const bool text_before = !head_.empty() || !sections_.empty();
    if (text_before && (last.empty() || !Trim(last.back().text).empty())) last.push_back({});
    sections_.push_back({std::string(section), "[" + std::string(section) + "]", {}});
  }
  std::vector<Line> lines;
  for (const auto& [key, value] : entries) {
    const std::string one_line = value.substr(0, value.find('\n'));
    lines.push_back({key + "=" + one_line, key, std::string(Trim(one_line))});
  }
  for (Line& line : sections_[index].lines) {
    const bool replaced = std::any_of(entries.begin(), entries.end(),
                                      [&](const auto& entry) { return entry.first == line.key; });
    if (!replaced) lines.push_back(std::move(line));
  }
  sections_[index].lines = std::move(lines);
}

std::string IniFile::Text() const {
  std::string text(byte_order_mark_ ? kByteOrderMark : std::string_view{});
  const auto add = [&](const std::string& line) { text.append(line).append(line_end_); };
  for (const Line& line : head_) add(line.text);
  for (const Section& section : sections_) {
    add(section.header);
    for (const Line& line : section.lines) add(line.text);
  }
  return text;
}

}  // namespace dvr::app

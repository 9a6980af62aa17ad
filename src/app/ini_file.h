#pragma once
// An INI file's text kept line by line, so that rewriting one section leaves every other line as
// it was. Sections are "[name]" lines, entries "key=value" lines, ';' starts a comment line.
// Names, keys and values are compared and returned without the blanks around them; a UTF-8 byte
// order mark and CR LF line ends are accepted (and kept when the text is written back).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dvr::app {

class IniFile {
 public:
  explicit IniFile(std::string_view text);

  // The value of the first entry `key` in the first section `section` (both matched exactly).
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  using Entries = std::vector<std::pair<std::string, std::string>>;
  // Puts `entries` in their order at the top of the first section `section`; its lines that are
  // not one of these keys follow them. A missing section is added at the end. A value is written
  // up to its first line feed, which a one-line entry cannot hold.
  void ReplaceSection(std::string_view section, const Entries& entries);

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // as it stood, without its line end
    std::string key;   // an entry's key; empty for any other line
    std::string value;
  };
  struct Section {
    std::string name;
    std::string header;  // the "[name]" line as it stood
    std::vector<Line> lines;
  };

  // The index of the first section `name`; sections_.size() when there is none.
  size_t Find(std::string_view name) const;
  std::vector<Line>& LastLines() { return sections_.empty() ? head_ : sections_.back().lines; }

  std::vector<Line> head_;  // the lines before the first section
  std::vector<Section> sections_;
  bool byte_order_mark_ = false;
  std::string line_end_ = "\n";
};

}  // namespace dvr::app

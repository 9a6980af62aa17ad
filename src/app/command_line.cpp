#include "app/command_line.h"

#include <string_view>

namespace dvr::app {
namespace {

constexpr std::string_view kAddressOption = "/IP:";
constexpr std::string_view kPortOption = "/PORT:";
constexpr size_t kMaxValueLength = 31;

// The first value of an option; a later one does not replace it.
void TakeValue(std::string_view word, std::string_view option, std::string& value, bool& taken) {
  if (taken || !word.starts_with(option)) return;
  value = word.substr(option.size(), kMaxValueLength);
  taken = true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool address_given = false;
  bool port_given = false;
  for (const std::string& word : arguments) {
    TakeValue(word, kAddressOption, line.address, address_given);
    TakeValue(word, kPortOption, line.port, port_given);
  }
  line.connect_at_start = !line.address.empty() && !line.port.empty();
  if (address_given || port_given) return line;
  // A path with blanks given without quotes arrives as several words.
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) line.file += ' ';
    line.file += arguments[i];
  }
  return line;
}

bool AsksForVersion(const std::vector<std::string>& arguments) {
  for (const std::string& word : arguments) {
    if (word == "--") return false;
    if (word == "--version" || word == "-v") return true;
  }
  return false;
}

}  // namespace dvr::app

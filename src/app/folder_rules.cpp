#include "app/folder_rules.h"

#include <filesystem>

#include "export/still_image.h"

namespace dvr::app {
namespace {

// Besides the separator, characters that Windows shares and many tools refuse in a name; the
// NUL would cut the path short at the system's interface.
constexpr std::string_view kForbidden("\"*:<>?\\|\0", 9);

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsValidName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (IsBlank(name.front()) || IsBlank(name.back()) || name.back() == '.') return false;
  return name.find_first_of(kForbidden) == std::string_view::npos;
}

std::string FolderMessage(const std::string& folder, const char* ending) {
  return "The folder:\n\n" + folder + "\n\n" + ending;
}

}  // namespace

bool IsValidFolderSyntax(std::string_view folder) {
  if (!folder.starts_with('/')) return false;
  std::string_view rest = folder.substr(1);
  if (rest.empty()) return true;  // the root
  if (rest.ends_with('/')) rest.remove_suffix(1);
  for (;;) {
    const size_t separator = rest.find('/');
    if (!IsValidName(rest.substr(0, separator))) return false;
    if (separator == std::string_view::npos) return true;
    rest.remove_prefix(separator + 1);
  }
}

FolderCreation CreateFolderLevels(const std::string& folder) {
  std::filesystem::path level;
  for (const std::filesystem::path& part : std::filesystem::path(folder)) {
    if (part.empty()) continue;  // after a trailing separator
    level /= part;
    std::error_code error;
    std::filesystem::create_directory(level, error);
    if (!std::filesystem::is_directory(level, error)) return FolderCreation::kCannotCreate;
  }
  return FolderCreation::kCreated;
}

std::string FolderInvalidText(const std::string& folder) {
  return FolderMessage(folder, "is invalid. Please reenter.");
}

std::string FolderMissingQuestion(const std::string& folder) {
  return FolderMessage(folder, "does not exist. Do you want the folder to be created?");
}

std::string FolderCannotCreateText(const std::string& folder) {
  return FolderMessage(folder, "can not be created. Please double check.");
}

// Still images set the rule for every file the viewer puts in a folder.
std::string JoinFolder(const std::string& folder, const std::string& name) {
  return exporting::StillImagePath(folder, name);
}

}  // namespace dvr::app

// Temporary stand-in for the folder rules while their implementation is written elsewhere; only
// the dialog tests link it.
#include <filesystem>
#include <string>

#include "app/folder_rules.h"

namespace dvr::app {
namespace {

bool IsValidName(std::string_view name) {
  if (name.empty()) return false;
  const auto is_edge = [](char c) { return c == '\t' || c == ' ' || c == '.'; };
  if (is_edge(name.front()) || is_edge(name.back())) return false;
  return name.find_first_of("\"*/:<>?\\|") == std::string_view::npos;
}

std::string Message(const std::string& folder, const char* tail) {
  return "The folder:\n\n" + folder + "\n\n" + tail;
}

}  // namespace

bool IsValidFolderSyntax(std::string_view folder) {
  if (folder.empty() || folder.front() != '/') return false;
  size_t start = 1;
  while (start < folder.size()) {
    const size_t end = std::min(folder.find('/', start), folder.size());
    if (!IsValidName(folder.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

FolderCreation CreateFolderLevels(const std::string& folder) {
  std::filesystem::path level;
  for (const auto& part : std::filesystem::path(folder)) {
    level /= part;
    std::error_code error;
    std::filesystem::create_directory(level, error);
    if (!std::filesystem::is_directory(level, error)) return FolderCreation::kCannotCreate;
  }
  return FolderCreation::kCreated;
}

std::string FolderInvalidText(const std::string& folder) {
  return Message(folder, "is invalid. Please reenter.");
}

std::string FolderMissingQuestion(const std::string& folder) {
  return Message(folder, "does not exist. Do you want the folder to be created?");
}

std::string FolderCannotCreateText(const std::string& folder) {
  return Message(folder, "can not be created. Please double check.");
}

}  // namespace dvr::app

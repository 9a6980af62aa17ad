#pragma once
// The folders the user types for still images and local recordings, in the host's path syntax
// (here an absolute path with '/' separators): the syntax check of the folder browser, creating a
// folder level by level, joining a folder and a file name. Qt-free.
#include <string>
#include <string_view>

namespace dvr::app {

// Syntax only, nothing on disk: an absolute path whose every part between separators is a valid
// name (a trailing separator ends the path).
bool IsValidFolderSyntax(std::string_view folder);

enum class FolderCreation { kCreated, kCannotCreate };
// Creates every missing level from the root on and checks that each exists afterwards.
FolderCreation CreateFolderLevels(const std::string& folder);

// The browser's three messages, with the folder in them.
std::string FolderInvalidText(const std::string& folder);        // "...is invalid. Please reenter."
std::string FolderMissingQuestion(const std::string& folder);    // "...does not exist. Do you want..."
std::string FolderCannotCreateText(const std::string& folder);   // "...can not be created. Please double check."

// A file in a folder: the name alone when the folder is shorter than 2 characters, else the
// folder, a separator unless it already ends in one, and the name.
std::string JoinFolder(const std::string& folder, const std::string& name);

}  // namespace dvr::app

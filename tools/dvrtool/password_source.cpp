#include "password_source.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "cli.h"

namespace dvrtool {
namespace {

std::string ReadPasswordFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read the password file " + path);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IRGRP | S_IROTH)) != 0) {
    std::fprintf(stderr, "dvrtool: warning: %s can be read by other users; chmod 600 it\n",
                 path.c_str());
  }
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows
  return line;
}

std::optional<std::string> FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return value;
}

}  // namespace

std::string ResolvePassword(const std::optional<std::string>& argument,
                            const std::optional<std::string>& file) {
  const std::optional<std::string> variable = FromEnvironment(kPasswordVariable);
  const std::optional<std::string> variable_file = FromEnvironment(kPasswordFileVariable);
  const int sources = !!argument + !!file + !!variable + !!variable_file;
  if (sources != 1) {
    UsageError(std::string(sources == 0 ? "no password" : "more than one password") +
               ": give exactly one of --password-file FILE, " + kPasswordFileVariable + ", " +
               kPasswordVariable + " or --password");
  }
  if (argument) return *argument;
  if (variable) return *variable;
  return ReadPasswordFile(file ? *file : *variable_file);
}

}  // namespace dvrtool

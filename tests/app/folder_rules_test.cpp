#include "app/folder_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace dvr::app {
namespace {

using test::TempDir;

TEST(FolderRules, AcceptsAbsoluteFoldersOfValidNames) {
  for (const char* folder : {"/", "/home/me/Video", "/home/me/Video/", "/home/me/.hidden",
                             "/home/me/my videos", "/mnt/録画", "/a.b/c-d_e"}) {
    EXPECT_TRUE(IsValidFolderSyntax(folder)) << folder;
  }
}

TEST(FolderRules, RefusesRelativeFoldersAndInvalidNames) {
  using namespace std::string_literals;
  for (const std::string& folder :
       {""s,           "Video"s,   "home/me"s, "~/Video"s, "//"s,           "/home//me"s,
        "/home/me//"s, "/Video."s, "/a?b"s,    "/a*b"s,    "/a:b"s,         "/a<b"s,
        "/a>b"s,       "/a|b"s,    "/a\\b"s,   "/a\"b"s,   "/ a"s,          "/a "s,
        "/a\t"s,       "/\ta"s,    "/."s,      "/.."s,     "/home/../etc"s, "/a\0b"s}) {
    EXPECT_FALSE(IsValidFolderSyntax(folder)) << folder;
  }
}

TEST(FolderRules, TheMessagesNameTheFolder) {
  EXPECT_EQ(FolderInvalidText("/a?b"), "The folder:\n\n/a?b\n\nis invalid. Please reenter.");
  EXPECT_EQ(FolderMissingQuestion("/x"),
            "The folder:\n\n/x\n\ndoes not exist. Do you want the folder to be created?");
  EXPECT_EQ(FolderCannotCreateText("/x"),
            "The folder:\n\n/x\n\ncan not be created. Please double check.");
}

TEST(FolderRules, CreatesEveryMissingLevel) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("Video"));
  const std::string folder = dir.File("Video/New/Deeper/");
  EXPECT_EQ(CreateFolderLevels(folder), FolderCreation::kCreated);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(CreateFolderLevels(folder), FolderCreation::kCreated);  // existing is fine
}

TEST(FolderRules, AFileInTheWayCannotBecomeAFolder) {
  TempDir dir;
  dir.Write("Video", {1});
  EXPECT_EQ(CreateFolderLevels(dir.File("Video")), FolderCreation::kCannotCreate);
  EXPECT_EQ(CreateFolderLevels(dir.File("Video/New")), FolderCreation::kCannotCreate);
  EXPECT_FALSE(std::filesystem::is_directory(dir.File("Video")));
}

TEST(FolderRules, JoinsAFolderAndAName) {
  EXPECT_EQ(JoinFolder("/home/me/Video", "a.NDF"), "/home/me/Video/a.NDF");
  EXPECT_EQ(JoinFolder("/home/me/Video/", "a.NDF"), "/home/me/Video/a.NDF");
  EXPECT_EQ(JoinFolder("/", "a.NDF"), "/a.NDF");
  EXPECT_EQ(JoinFolder("", "a.NDF"), "a.NDF");
  EXPECT_EQ(JoinFolder("x", "a.NDF"), "a.NDF");
}

}  // namespace
}  // namespace dvr::app

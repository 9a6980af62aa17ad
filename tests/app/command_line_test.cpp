#include "app/command_line.h"

#include <gtest/gtest.h>

namespace dvr::app {
namespace {

TEST(CommandLine, AddressAndPortConnectAtStart) {
  const CommandLine line = ParseCommandLine({"/IP:10.0.0.5", "/PORT:8841"});
  EXPECT_EQ(line.address, "10.0.0.5");
  EXPECT_EQ(line.port, "8841");
  EXPECT_TRUE(line.connect_at_start);
  EXPECT_EQ(line.file, "");
}

TEST(CommandLine, OneOptionAloneNeitherConnectsNorOpensAFile) {
  const CommandLine address_only = ParseCommandLine({"/IP:10.0.0.5"});
  EXPECT_EQ(address_only.address, "10.0.0.5");
  EXPECT_FALSE(address_only.connect_at_start);
  EXPECT_EQ(address_only.file, "");

  const CommandLine empty_port = ParseCommandLine({"/PORT:", "/IP:10.0.0.5"});
  EXPECT_FALSE(empty_port.connect_at_start);
  EXPECT_EQ(empty_port.file, "");
}

TEST(CommandLine, OptionsAreMatchedAsWrittenAndCutTo31Characters) {
  const std::string forty(40, '7');
  const CommandLine line = ParseCommandLine({"/IP:" + forty, "/PORT:" + forty, "/IP:10.0.0.9"});
  EXPECT_EQ(line.address, std::string(31, '7'));  // the first value counts
  EXPECT_EQ(line.port, std::string(31, '7'));

  const CommandLine lower_case = ParseCommandLine({"/ip:10.0.0.5", "/port:8841"});
  EXPECT_FALSE(lower_case.connect_at_start);
  EXPECT_EQ(lower_case.file, "/ip:10.0.0.5 /port:8841");
}

TEST(CommandLine, TheWordsAreOneFileName) {
  EXPECT_EQ(ParseCommandLine({"/home/me/My", "Videos/a.NDF"}).file, "/home/me/My Videos/a.NDF");
  EXPECT_EQ(ParseCommandLine({"/home/me/My Videos/a.NDF"}).file, "/home/me/My Videos/a.NDF");
  EXPECT_EQ(ParseCommandLine({}).file, "");
}

TEST(CommandLine, VersionIsAskedByEitherSpellingBeforeTheEndOfOptions) {
  EXPECT_TRUE(AsksForVersion({"--version"}));
  EXPECT_TRUE(AsksForVersion({"a.NDF", "-v"}));
  EXPECT_FALSE(AsksForVersion({}));
  EXPECT_FALSE(AsksForVersion({"--versions", "-version", "version"}));
  EXPECT_FALSE(AsksForVersion({"--", "--version"}));  // a file of that name
}

}  // namespace
}  // namespace dvr::app

#include <gtest/gtest.h>

#include "platform/socket.h"

namespace dvr::platform {
namespace {

TEST(LookUpIpv4, DottedAddressesAndKnownNamesGiveAnAddress) {
  EXPECT_EQ(LookUpIpv4("127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(LookUpIpv4("localhost"), "127.0.0.1");
}

TEST(LookUpIpv4, ANameThatCannotExistGivesNothing) {
  // ".invalid" is reserved never to resolve.
  EXPECT_EQ(LookUpIpv4("no-such-dvr.invalid"), std::nullopt);
  EXPECT_EQ(LookUpIpv4(""), std::nullopt);
  EXPECT_EQ(ResolveIpv4("no-such-dvr.invalid"), "0.0.0.0");
}

}  // namespace
}  // namespace dvr::platform

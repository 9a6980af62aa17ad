#include "net/protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/remote_control.h"
#include "platform/md5.h"

namespace dvr::net {
namespace {

std::string Text(const uint8_t* bytes, size_t n) { return std::string(reinterpret_cast<const char*>(bytes), n); }
template <size_t N>
std::string Text(const std::array<uint8_t, N>& packet) {
  return Text(packet.data(), N);
}
std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
const std::string kStart("\x00\x00\x01\xFE", 4);

TEST(HexFieldTest, ReadsEitherCaseAndRejectsAnythingElse) {
  EXPECT_EQ(ParseHex(reinterpret_cast<const uint8_t*>("00bF")), 0x00BF);
  EXPECT_EQ(ParseHex(reinterpret_cast<const uint8_t*>("0x1F")), 0);
  EXPECT_EQ(ParseHex(reinterpret_cast<const uint8_t*>("FFFF")), 0xFFFF);
  EXPECT_EQ(ParseHex(reinterpret_cast<const uint8_t*>("12 4")), 0);
  const auto digits = FormatHex(0x1ABCD);  // modulo 65536, upper case
  EXPECT_EQ(std::string(digits.data(), 4), "ABCD");
}

TEST(PacketTest, ClientPacketsAreByteExact) {
  EXPECT_EQ(Text(KeyPacket(300)), kStart + "0010" + "0085" + "002C");
  EXPECT_EQ(Text(KeyPacket(132)), kStart + "0010" + "0085" + "0084");
  EXPECT_EQ(Text(LogoutPacket()), kStart + "000C" + "0086");
  EXPECT_EQ(Text(MousePacket(1, 640, 448, 10, 20, 1)), kStart + "0020" + "0089" + "0001" + "0280" + "01C0" + "000A" + "0014");
  EXPECT_EQ(Text(MousePacket(1, 640, 448, 10, 20, 2)).substr(12, 4), "0101");
  EXPECT_EQ(Text(MousePacket(3, 1, 1, 0, 0, 2)).substr(12, 4), "0103");
  EXPECT_EQ(ControlPacket(kStatusReport, {1, 2, 3, 4, 5}), kStart + "0020" + "0008" + "00010002000300040005");
}

TEST(PacketTest, LoginCarriesTheUpperCaseDigestOfThePassword) {
  // MD5 of nothing: d41d8cd98f00b204e9800998ecf8427e.
  EXPECT_EQ(Text(LoginPacket("")), kStart + "002C" + "0081" + "D41D8CD98F00B204E9800998ECF8427E");
  const std::string login = Text(LoginPacket("1234"));
  ASSERT_EQ(login.size(), 44u);
  EXPECT_EQ(login.substr(12), "81DC9BDB52D04DC20036DBD8313ED055");
}

LoginReply Read(const std::string& bytes) {
  const auto data = Bytes(bytes);
  return ReadLoginReply(data.data(), data.size());
}

TEST(LoginReplyTest, EveryCodeAndReason) {
  EXPECT_EQ(Read(ControlPacket(kLoginReplyAccepted, {0})).kind, LoginReply::Kind::kAccepted);
  EXPECT_EQ(Read(ControlPacket(kLoginReplyPending, {0})).kind, LoginReply::Kind::kPending);
  const char* texts[] = {"Unkown error.", "Too many client.", "Incorrect password.", "Bad network", "Unkown error."};
  for (uint32_t reason = 0; reason < 5; ++reason) {
    for (uint16_t code : {kLoginReplyRefused, kLoginReplyRefusedToo}) {
      const LoginReply reply = Read(ControlPacket(code, {reason}));
      EXPECT_EQ(reply.kind, LoginReply::Kind::kRefused);
      EXPECT_EQ(reply.refusal, texts[reason]) << reason;
    }
  }
  EXPECT_EQ(Read(ControlPacket(4, {7})).refusal, "Unkown error.");
  EXPECT_EQ(Read(ControlPacket(5, {0})).kind, LoginReply::Kind::kInvalid);
  EXPECT_EQ(Read("HTTP/1.1 200 OK\r\n").kind, LoginReply::Kind::kInvalid);
  EXPECT_EQ(Read(std::string("\x00\x00\x02", 3)).kind, LoginReply::Kind::kInvalid);
}

TEST(LoginReplyTest, RepliesAreWholePacketsFromABuffer) {
  // A pending reply and the accept in one read, then stream bytes.
  const std::string pending = ControlPacket(kLoginReplyPending, {0});
  const std::string accept = ControlPacket(kLoginReplyAccepted, {0});
  const std::string stream = std::string("\x00\x00\x01\xF8\x80", 5);
  const std::string all = pending + accept + stream;
  const LoginReply first = Read(all);
  ASSERT_EQ(first.kind, LoginReply::Kind::kPending);
  EXPECT_EQ(first.bytes, pending.size());
  const LoginReply second = Read(all.substr(first.bytes));
  ASSERT_EQ(second.kind, LoginReply::Kind::kAccepted);
  EXPECT_EQ(all.substr(first.bytes + second.bytes), stream);
  // Any prefix of a reply waits for the rest.
  for (size_t n = 0; n < accept.size(); ++n) EXPECT_EQ(Read(accept.substr(0, n)).kind, LoginReply::Kind::kIncomplete) << n;
  // A refusal waits for its reason field.
  EXPECT_EQ(Read(ControlPacket(kLoginReplyRefused, {})).kind, LoginReply::Kind::kIncomplete);
}

TEST(LoginReplyTest, RepliesAreSixteenBytesWhateverTheirLengthFieldSays) {
  // Nobody checks the field; the DVR sends every reply as 16 bytes.
  for (const std::string field : {"000C", "0008", "0000", "0400", "FFFF", "zz10"}) {
    SCOPED_TRACE(field);
    const auto reply = [&field](uint16_t code, uint32_t reason) {
      return ControlPacket(code, {reason}).replace(4, 4, field);
    };
    const std::string stream = std::string("\x00\x00\x01\xF8\x80", 5);
    const std::string all = reply(kLoginReplyPending, 0) + reply(kLoginReplyAccepted, 0) + stream;
    const LoginReply first = Read(all);
    ASSERT_EQ(first.kind, LoginReply::Kind::kPending);
    ASSERT_EQ(first.bytes, 16u);
    const LoginReply second = Read(all.substr(16));
    ASSERT_EQ(second.kind, LoginReply::Kind::kAccepted);
    ASSERT_EQ(second.bytes, 16u);
    for (size_t n = 0; n < 16; ++n) {
      EXPECT_EQ(Read(all.substr(16, n)).kind, LoginReply::Kind::kIncomplete) << n;
    }
    const LoginReply refusal = Read(reply(kLoginReplyRefused, 2));
    EXPECT_EQ(refusal.kind, LoginReply::Kind::kRefused);
    EXPECT_EQ(refusal.refusal, "Incorrect password.");
    EXPECT_EQ(Read(reply(kLoginReplyRefusedToo, 1)).refusal, "Too many client.");
  }
}

TEST(DdnsTest, RequestAndReplyWithTheirByteOrders) {
  const auto request = DdnsRequest("cam1");
  EXPECT_EQ(Text(request), std::string("\x55\xAA\x55\xAA" "cam1\0\0\0\0", 12));
  EXPECT_EQ(Text(DdnsRequest("eightchr")), std::string("\x55\xAA\x55\xAA" "eightchr", 12));
  const std::vector<uint8_t> reply = {0x55, 0xAA, 0x55, 0xAA, 192, 168, 1, 20, 0x89, 0x22, 0xEE};
  const auto answer = ReadDdnsReply(reply.data(), reply.size());
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->port, 8841);
  EXPECT_EQ(DottedAddress(answer->address), "192.168.1.20");
  EXPECT_FALSE(ReadDdnsReply(reply.data(), 9));  // too short: invalid, not read past
  std::vector<uint8_t> wrong = reply;
  wrong[3] = 0xAB;
  EXPECT_FALSE(ReadDdnsReply(wrong.data(), wrong.size()));
}

TEST(RemoteControlTest, KeyboardKeysTranslate) {
  EXPECT_EQ(KeyCodeForKey(65), 65);   // A
  EXPECT_EQ(KeyCodeForKey(97), 65);   // keypad 1 shares the code of "a"
  EXPECT_EQ(KeyCodeForKey(116), 84);  // F5
  EXPECT_EQ(KeyCodeForKey(112), 136);
  EXPECT_EQ(KeyCodeForKey(115), 135);
  EXPECT_EQ(KeyCodeForKey(37), 7);
  EXPECT_EQ(KeyCodeForKey(8), 7);
  EXPECT_EQ(KeyCodeForKey(46), 5);
  EXPECT_EQ(KeyCodeForKey(48), 48);
  EXPECT_EQ(KeyCodeForKey(42), 42);
  EXPECT_FALSE(KeyCodeForKey(16));   // Shift
  EXPECT_FALSE(KeyCodeForKey(123));  // beyond the letters
  EXPECT_FALSE(KeyCodeForKey(44));
}

TEST(RemoteControlTest, CommandsSendTheirCodes) {
  EXPECT_EQ(KeyCodeForCommand(32850), 11);  // play
  EXPECT_EQ(KeyCodeForCommand(32854), 132);
  EXPECT_EQ(KeyCodeForCommand(32862), 15);
  EXPECT_EQ(KeyCodeForCommand(32881), 15);
  EXPECT_EQ(KeyCodeForCommand(32880), 25);
  EXPECT_FALSE(KeyCodeForCommand(1));
  for (const RemoteCommand& command : RemoteCommands()) EXPECT_LE(command.key_code, 255);
}

}  // namespace
}  // namespace dvr::net

#pragma once
// Every byte that crosses the connection to a DVR and to its DDNS service: control packets of
// binary start code plus four-digit hex fields, the client's four commands, login replies and
// stream notices, and the DDNS request and reply.
#include <array>
#include <initializer_list>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dvr::net {

inline constexpr uint16_t kDefaultDvrPort = 8841;
inline constexpr uint16_t kDefaultDdnsPort = 1800;
inline constexpr size_t kControlHeader = 12;   // start code, length, command
inline constexpr size_t kLoginPacketBytes = 44;
inline constexpr size_t kKeyPacketBytes = 16;
inline constexpr size_t kLogoutPacketBytes = 12;
inline constexpr size_t kLoginReplyBytes = 16;
inline constexpr size_t kMousePacketBytes = 32;
inline constexpr size_t kDdnsRequestBytes = 12;
inline constexpr size_t kDdnsReplyBytes = 10;
inline constexpr size_t kMaxPasswordBytes = 31;
inline constexpr size_t kMaxDvrNameBytes = 8;
inline constexpr size_t kMaxControlPacket = 1024;  // the receiver's control buffer

// Commands and replies, as numbers.
enum Command : uint16_t {
  kLoginReplyPending = 1,
  kLoginReplyRefused = 2,
  kLoginReplyAccepted = 3,
  kLoginReplyRefusedToo = 4,
  kSingleStatus = 7,
  kStatusReport = 8,
  kDisconnectNotice = 11,
  kLogin = 0x81,
  kRemoteKey = 0x85,
  kLogout = 0x86,
  kMouse = 0x89,
};

// Four upper-case hex digits of a value modulo 65536.
std::array<char, 4> FormatHex(uint32_t value);
// Four hex digits (either case); any other character makes the whole field 0.
uint16_t ParseHex(const uint8_t* digits);

// A control packet: 00 00 01 FE, length, command, then four-digit arguments.
std::string ControlPacket(uint16_t command, std::initializer_list<uint32_t> arguments);

std::array<uint8_t, kLoginPacketBytes> LoginPacket(std::string_view password);
std::array<uint8_t, kKeyPacketBytes> KeyPacket(int key_code);
std::array<uint8_t, kLogoutPacketBytes> LogoutPacket();
// In mouse mode 2 the button state gets 0x100.
std::array<uint8_t, kMousePacketBytes> MousePacket(int state, int width, int height, int x, int y, int mouse_mode);

// The reply to a login, read from the start of the bytes received so far.
struct LoginReply {
  enum class Kind { kIncomplete, kPending, kAccepted, kRefused, kInvalid };
  Kind kind = Kind::kIncomplete;
  size_t bytes = 0;         // bytes the reply takes: 16, except when incomplete or invalid
  std::string refusal;      // the reason's text when refused
};
// Replies are read from a buffer that may hold more than one (a pending and an accept reply
// together, or an accept and the first stream bytes). Every reply is 16 bytes, as the DVR sends
// them, whatever its length field says: nothing checks that field. Incomplete while part of the
// 16 bytes is missing; invalid as soon as the start is not 00 00 01 FE or the code is unknown.
LoginReply ReadLoginReply(const uint8_t* data, size_t size);
// "Too many client.", "Incorrect password.", "Bad network" or "Unkown error.".
const char* RefusalText(uint16_t reason);

std::array<uint8_t, kDdnsRequestBytes> DdnsRequest(std::string_view dvr_name);
struct DdnsAnswer {
  uint32_t address = 0;  // host order
  uint16_t port = 0;
};
// Nothing when the reply is shorter than 10 bytes or lacks the 55 AA 55 AA magic.
std::optional<DdnsAnswer> ReadDdnsReply(const uint8_t* data, size_t size);
std::string DottedAddress(uint32_t address);

}  // namespace dvr::net

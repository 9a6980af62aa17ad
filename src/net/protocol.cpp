#include "net/protocol.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/md5.h"

namespace dvr::net {
namespace {

constexpr uint8_t kControlStart[4] = {0x00, 0x00, 0x01, 0xFE};
constexpr uint8_t kDdnsMagic[4] = {0x55, 0xAA, 0x55, 0xAA};

void PutHex(uint8_t* at, uint32_t value) {
  const auto digits = FormatHex(value);
  std::memcpy(at, digits.data(), 4);
}

template <size_t N>
std::array<uint8_t, N> Packet(uint16_t command) {
  std::array<uint8_t, N> packet{};
  std::memcpy(packet.data(), kControlStart, 4);
  PutHex(packet.data() + 4, N);
  PutHex(packet.data() + 8, command);
  return packet;
}

}  // namespace

std::array<char, 4> FormatHex(uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const uint32_t v = value & 0xFFFF;
  return {kDigits[v >> 12], kDigits[(v >> 8) & 15], kDigits[(v >> 4) & 15], kDigits[v & 15]};
}

uint16_t ParseHex(const uint8_t* digits) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const uint8_t c = digits[i];
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return 0;
    }
    value = value << 4 | digit;
  }
  return static_cast<uint16_t>(value);
}

std::string ControlPacket(uint16_t command, std::initializer_list<uint32_t> arguments) {
  std::string packet(reinterpret_cast<const char*>(kControlStart), 4);
  const auto append = [&packet](uint32_t value) {
    const auto digits = FormatHex(value);
    packet.append(digits.data(), 4);
  };
  append(static_cast<uint32_t>(kControlHeader + 4 * arguments.size()));
  append(command);
  for (uint32_t argument : arguments) append(argument);
  return packet;
}

std::array<uint8_t, kLoginPacketBytes> LoginPacket(std::string_view password) {
  auto packet = Packet<kLoginPacketBytes>(kLogin);
  const auto digest = platform::Md5(password.data(), password.size());
  for (size_t i = 0; i < digest.size(); ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", digest[i]);
    std::memcpy(packet.data() + kControlHeader + 2 * i, pair, 2);
  }
  return packet;
}

std::array<uint8_t, kKeyPacketBytes> KeyPacket(int key_code) {
  auto packet = Packet<kKeyPacketBytes>(kRemoteKey);
  PutHex(packet.data() + 12, static_cast<uint32_t>(key_code) & 0xFF);
  return packet;
}

std::array<uint8_t, kLogoutPacketBytes> LogoutPacket() { return Packet<kLogoutPacketBytes>(kLogout); }

std::array<uint8_t, kMousePacketBytes> MousePacket(int state, int width, int height, int x, int y, int mouse_mode) {
  auto packet = Packet<kMousePacketBytes>(kMouse);
  const uint32_t button = static_cast<uint32_t>(state) | (mouse_mode == 2 ? 0x100u : 0u);
  const uint32_t fields[5] = {button, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                              static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
  for (int i = 0; i < 5; ++i) PutHex(packet.data() + 12 + 4 * i, fields[i]);
  return packet;
}

const char* RefusalText(uint16_t reason) {
  switch (reason) {
    case 1: return "Too many client.";
    case 2: return "Incorrect password.";
    case 3: return "Bad network";
    default: return "Unkown error.";
  }
}

LoginReply ReadLoginReply(const uint8_t* data, size_t size) {
  LoginReply reply;
  if (size == 0) return reply;
  if (std::memcmp(data, kControlStart, std::min<size_t>(size, 4)) != 0) {
    reply.kind = LoginReply::Kind::kInvalid;
    return reply;
  }
  if (size < kControlHeader) return reply;  // the rest is still on its way
  const uint16_t code = ParseHex(data + 8);
  if (code < kLoginReplyPending || code > kLoginReplyRefusedToo) {
    reply.kind = LoginReply::Kind::kInvalid;
    return reply;
  }
  if (size < kLoginReplyBytes) return reply;
  reply.bytes = kLoginReplyBytes;
  switch (code) {
    case kLoginReplyPending: reply.kind = LoginReply::Kind::kPending; break;
    case kLoginReplyAccepted: reply.kind = LoginReply::Kind::kAccepted; break;
    default:
      reply.kind = LoginReply::Kind::kRefused;
      reply.refusal = RefusalText(ParseHex(data + 12));
      break;
  }
  return reply;
}

std::array<uint8_t, kDdnsRequestBytes> DdnsRequest(std::string_view dvr_name) {
  std::array<uint8_t, kDdnsRequestBytes> request{};
  std::memcpy(request.data(), kDdnsMagic, 4);
  std::memcpy(request.data() + 4, dvr_name.data(), std::min(dvr_name.size(), kMaxDvrNameBytes));
  return request;
}

std::optional<DdnsAnswer> ReadDdnsReply(const uint8_t* data, size_t size) {
  if (size < kDdnsReplyBytes || std::memcmp(data, kDdnsMagic, 4) != 0) return {};
  DdnsAnswer answer;
  answer.address = uint32_t{data[4]} << 24 | uint32_t{data[5]} << 16 | uint32_t{data[6]} << 8 | data[7];
  answer.port = static_cast<uint16_t>(data[8] | data[9] << 8);  // little-endian, unlike the address
  return answer;
}

std::string DottedAddress(uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 255, (address >> 8) & 255,
                address & 255);
  return text;
}

}  // namespace dvr::net

#include "ddns_simulator.h"

#include <array>
#include <cstring>

#include "net/protocol.h"

namespace dvr::sim {
namespace {

constexpr int kLookMs = 100;
constexpr int kRequestWaitRounds = 20;  // two seconds for the whole request

}  // namespace

DdnsSimulator::DdnsSimulator(DdnsSimOptions options) : options_(std::move(options)) {}

DdnsSimulator::~DdnsSimulator() { Stop(); }

bool DdnsSimulator::Start(std::string& error) {
  if (!listener_.Listen(options_.port, error)) return false;
  return WorkerThread::Start(platform::ThreadPriority::kNormal) == 0;
}

std::vector<std::string> DdnsSimulator::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

void DdnsSimulator::Run() {
  while (!StopEvent().IsSet()) {
    platform::TcpSocket client = listener_.Accept(kLookMs);
    if (client.IsOpen()) Answer(client);
  }
  listener_.Close();
}

void DdnsSimulator::Answer(platform::TcpSocket& client) {
  std::array<uint8_t, net::kDdnsRequestBytes> request{};
  size_t received = 0;
  for (int round = 0; round < kRequestWaitRounds && received < request.size() && !StopEvent().IsSet(); ++round) {
    if (client.WaitReadable(kLookMs * 1000) <= 0) continue;
    const long got = client.Receive(request.data() + received, request.size() - received);
    if (got <= 0) break;
    received += static_cast<size_t>(got);
  }
  std::lock_guard lock(mutex_);
  if (received < request.size()) {
    log_.push_back("ddns short request");
    return;
  }
  const std::string name(reinterpret_cast<const char*>(request.data() + 4),
                         strnlen(reinterpret_cast<const char*>(request.data() + 4), net::kMaxDvrNameBytes));
  log_.push_back("ddns " + name);
  const bool known = std::memcmp(request.data(), "\x55\xAA\x55\xAA", 4) == 0 && name == options_.name;
  std::array<uint8_t, net::kDdnsReplyBytes> reply{};  // all zero: no magic, the client refuses it
  if (known) {
    const uint32_t a = options_.dvr_address;
    reply = {0x55, 0xAA, 0x55, 0xAA, static_cast<uint8_t>(a >> 24), static_cast<uint8_t>(a >> 16),
             static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a), static_cast<uint8_t>(options_.dvr_port),
             static_cast<uint8_t>(options_.dvr_port >> 8)};
    if (options_.wrong_magic) reply[0] = 0xAA;
  }
  std::string ignored;
  client.Send(reply.data(), reply.size(), [this] { return !StopEvent().IsSet(); }, ignored);
}

}  // namespace dvr::sim

#pragma once
// TCP sockets for the DVR connection (and the simulator's side of it): non-blocking connect with
// waits, sends of whole packets with bounded waits for room, receive waits with sub-millisecond
// time-outs. Writing to a closed peer returns an error; it never raises a signal.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace dvr::platform {

// The system's text for an error number.
std::string SocketErrorText(int error);

// A typed DVR address as a dotted IPv4 address: taken as it is if it is one, else looked up as a
// host name (first address). Nothing when the text is empty or the lookup fails.
std::optional<std::string> LookUpIpv4(const std::string& text);
// The same, with 0.0.0.0 when there is no address.
std::string ResolveIpv4(const std::string& text);

class TcpSocket {
 public:
  TcpSocket() = default;
  explicit TcpSocket(int fd) : fd_(fd) {}
  ~TcpSocket() { Close(); }
  TcpSocket(TcpSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  TcpSocket& operator=(TcpSocket&& other) noexcept;
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  bool Create(std::string& error);
  bool IsOpen() const { return fd_ >= 0; }

  // Starts connecting without blocking. False (with the error's text) only on an immediate failure.
  bool StartConnect(const std::string& dotted_address, uint16_t port, std::string& error);
  enum class Ready { kNothing, kReady, kError };
  // Waits up to timeout_ms for the connect to finish (readable or writable).
  Ready WaitConnected(int timeout_ms);
  // Reads the socket's pending error; false when even that read fails.
  bool ReadPendingError(int& error);
  void SetBlocking(bool blocking);
  // No delay, keep-alive, linger on for one second.
  void SetOptions();

  // Sends all bytes without ever blocking in the system: when there is no room, waits for some in
  // rounds of up to 100 ms for as long as keep_waiting() allows (asked before each round). False
  // with the error's text on an error, or with the text of a time-out when the waiting ends first.
  bool Send(const void* data, size_t size, const std::function<bool()>& keep_waiting, std::string& error);
  // Waits up to timeout_us for data; -1 on an error, 0 on none, 1 when readable.
  int WaitReadable(int64_t timeout_us);
  // Bytes read; 0 when the peer has closed; -1 on an error.
  long Receive(void* buffer, size_t size);

  void ShutdownBoth();
  void ShutdownReceive();
  void Close();

 private:
  int fd_ = -1;
};

// A listening socket on the loopback address, for the simulator and tests.
class TcpListener {
 public:
  ~TcpListener();
  // Port 0 takes any free one.
  bool Listen(uint16_t port, std::string& error);
  uint16_t Port() const { return port_; }
  // A connected socket, or a closed one when none arrived within timeout_ms.
  TcpSocket Accept(int timeout_ms);
  void Close();

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

}  // namespace dvr::platform

#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace dvr::platform {

std::string SocketErrorText(int error) { return std::strerror(error); }

std::optional<std::string> LookUpIpv4(const std::string& text) {
  if (text.empty()) return std::nullopt;
  in_addr address{};
  if (inet_pton(AF_INET, text.c_str(), &address) == 1) return text;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(text.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return std::nullopt;
  }
  char dotted[INET_ADDRSTRLEN] = {};
  const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  inet_ntop(AF_INET, &ipv4->sin_addr, dotted, sizeof dotted);
  freeaddrinfo(found);
  return std::string(dotted);
}

std::string ResolveIpv4(const std::string& text) { return LookUpIpv4(text).value_or("0.0.0.0"); }

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool TcpSocket::Create(std::string& error) {
  Close();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) error = SocketErrorText(errno);
  return fd_ >= 0;
}

bool TcpSocket::StartConnect(const std::string& dotted_address, uint16_t port, std::string& error) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (inet_pton(AF_INET, dotted_address.c_str(), &address.sin_addr) != 1) {
    error = "Invalid address: " + dotted_address;
    return false;
  }
  SetBlocking(false);
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
  if (errno == EINPROGRESS) return true;
  error = SocketErrorText(errno);
  return false;
}

TcpSocket::Ready TcpSocket::WaitConnected(int timeout_ms) {
  pollfd p{fd_, POLLIN | POLLOUT, 0};
  const int n = ::poll(&p, 1, timeout_ms);
  if (n < 0) return errno == EINTR ? Ready::kNothing : Ready::kError;
  return n == 0 ? Ready::kNothing : Ready::kReady;
}

bool TcpSocket::ReadPendingError(int& error) {
  socklen_t size = sizeof error;
  return ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0;
}

void TcpSocket::SetBlocking(bool blocking) {
  const int flags = ::fcntl(fd_, F_GETFL, 0);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK);
}

void TcpSocket::SetOptions() {
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ::setsockopt(fd_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  const linger one_second{1, 1};
  ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &one_second, sizeof one_second);
}

namespace {

constexpr int64_t kSendRoundUs = 100000;

int WaitFor(int fd, short what, int64_t timeout_us) {
  pollfd p{fd, what, 0};
  const timespec timeout{static_cast<time_t>(timeout_us / 1000000), static_cast<long>(timeout_us % 1000000) * 1000};
  const int n = ::ppoll(&p, 1, &timeout, nullptr);
  if (n < 0) return errno == EINTR ? 0 : -1;
  return n > 0 ? 1 : 0;
}

}  // namespace

bool TcpSocket::Send(const void* data, size_t size, const std::function<bool()>& keep_waiting, std::string& error) {
  const auto* bytes = static_cast<const char*>(data);
  for (size_t done = 0; done < size;) {
    const ssize_t sent = ::send(fd_, bytes + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      done += static_cast<size_t>(sent);
      continue;
    }
    const int code = sent < 0 ? errno : EPIPE;
    if (code == EINTR) continue;
    if (code != EAGAIN && code != EWOULDBLOCK) {
      error = SocketErrorText(code);
      return false;
    }
    if (!keep_waiting()) {
      error = SocketErrorText(ETIMEDOUT);
      return false;
    }
    if (WaitFor(fd_, POLLOUT, kSendRoundUs) < 0) {
      error = SocketErrorText(errno);
      return false;
    }
  }
  return true;
}

int TcpSocket::WaitReadable(int64_t timeout_us) { return WaitFor(fd_, POLLIN, timeout_us); }

long TcpSocket::Receive(void* buffer, size_t size) {
  for (;;) {
    const ssize_t got = ::recv(fd_, buffer, size, 0);
    if (got < 0 && errno == EINTR) continue;
    return static_cast<long>(got);
  }
}

void TcpSocket::ShutdownBoth() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

void TcpSocket::ShutdownReceive() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RD);
}

void TcpSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

TcpListener::~TcpListener() { Close(); }

bool TcpListener::Listen(uint16_t port, std::string& error) {
  Close();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    error = SocketErrorText(errno);
    return false;
  }
  const int on = 1;
  ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 8) != 0 ||
      ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    error = SocketErrorText(errno);
    Close();
    return false;
  }
  port_ = ntohs(address.sin_port);
  return true;
}

TcpSocket TcpListener::Accept(int timeout_ms) {
  pollfd p{fd_, POLLIN, 0};
  if (fd_ < 0 || ::poll(&p, 1, timeout_ms) <= 0) return TcpSocket();
  return TcpSocket(::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC));
}

void TcpListener::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace dvr::platform

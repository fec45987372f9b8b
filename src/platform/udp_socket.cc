#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace vyn {

UdpSocket::~UdpSocket() {
  if (fd_ >= 0) close(fd_);
}

bool UdpSocket::Bind(std::uint16_t port) {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
    local_port_ = 0;
  }
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return false;
  }
  fd_ = fd;
  local_port_ = ntohs(address.sin_port);
  return true;
}

SendResult UdpSocket::SendTo(const std::string& host, std::uint16_t port,
                             std::span<const std::uint8_t> bytes) {
  if (host.empty()) return SendResult::kUnresolved;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return SendResult::kUnresolved;
  }
  sockaddr_in target{};
  target = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  freeaddrinfo(found);
  target.sin_port = htons(port);
  if (fd_ < 0) return SendResult::kFailed;
  ssize_t sent;
  do {
    sent = sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                  sizeof target);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(bytes.size()) ? SendResult::kSent : SendResult::kFailed;
}

std::optional<Datagram> UdpSocket::Receive() {
  if (fd_ < 0) return std::nullopt;
  // The largest UDP payload fits, so no datagram is cut short.
  std::vector<std::uint8_t> buffer(65536);
  sockaddr_in sender{};
  socklen_t length = sizeof sender;
  while (true) {
    const ssize_t n = recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&sender), &length);
    if (n >= 0) {
      buffer.resize(static_cast<std::size_t>(n));
      char text[INET_ADDRSTRLEN] = {};
      inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
      return Datagram{std::move(buffer), text, ntohs(sender.sin_port)};
    }
    // An error reported for an earlier datagram sent (no one listening there) is not a
    // datagram; whatever else is waiting still is.
    if (errno != EINTR && errno != ECONNREFUSED) return std::nullopt;
  }
}

bool UdpSocket::WaitReadable(std::uint32_t timeout_ms) {
  if (fd_ < 0) return false;
  pollfd fds{fd_, POLLIN, 0};
  const int timeout = timeout_ms > INT_MAX ? INT_MAX : static_cast<int>(timeout_ms);
  return poll(&fds, 1, timeout) > 0 && (fds.revents & POLLIN) != 0;
}

}  // namespace vyn

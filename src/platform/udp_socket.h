#pragma once

// The server exchange's UDP endpoint on a POSIX datagram socket (IPv4). Names are resolved with
// getaddrinfo for every datagram sent, so a server that moves is found again.

#include "core/server/datagram_socket.h"

namespace vyn {

class UdpSocket : public DatagramSocket {
 public:
  UdpSocket() = default;
  ~UdpSocket() override;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  bool Bind(std::uint16_t port) override;
  bool IsBound() const override { return fd_ >= 0; }
  std::uint16_t LocalPort() const override { return local_port_; }
  SendResult SendTo(const std::string& host, std::uint16_t port,
                    std::span<const std::uint8_t> bytes) override;
  std::optional<Datagram> Receive() override;
  bool WaitReadable(std::uint32_t timeout_ms) override;
  int Descriptor() const override { return fd_; }

 private:
  int fd_ = -1;
  std::uint16_t local_port_ = 0;
};

}  // namespace vyn

#pragma once

// The UDP endpoint of the server exchange. The platform implements it with POSIX sockets; tests
// script it and let time pass on a FakeClock while they wait.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vyn {

struct Datagram {
  std::vector<std::uint8_t> bytes;  // the whole datagram, whatever its size
  std::string sender_host;          // the sender's numeric address, "127.0.0.1"
  std::uint16_t sender_port = 0;
};

enum class SendResult {
  kSent,
  kUnresolved,  // the host name has no address
  kFailed,      // the system refused the datagram (no route, no socket)
};

class DatagramSocket {
 public:
  virtual ~DatagramSocket() = default;

  // Binds to `port` on every local address; 0 takes any free port. False when the port is in
  // use or no socket can be made; the endpoint then stays unbound.
  virtual bool Bind(std::uint16_t port) = 0;
  virtual bool IsBound() const = 0;
  virtual std::uint16_t LocalPort() const = 0;

  // Resolves `host` (a name or a dotted IPv4 address) afresh and sends one datagram there.
  virtual SendResult SendTo(const std::string& host, std::uint16_t port,
                            std::span<const std::uint8_t> bytes) = 0;
  // The next datagram that has arrived, without waiting; nullopt when none is waiting.
  virtual std::optional<Datagram> Receive() = 0;
  // Waits at most `timeout_ms` for a datagram to arrive; true when one is waiting.
  virtual bool WaitReadable(std::uint32_t timeout_ms) = 0;
  // A descriptor an event loop can watch for arriving datagrams; -1 when there is none.
  virtual int Descriptor() const { return -1; }
};

}  // namespace vyn

#include "platform/steady_clock.h"

#include <chrono>
#include <thread>

namespace vyn {

std::uint64_t MonotonicMs() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

std::uint64_t SteadyClock::NowMs() { return MonotonicMs(); }

void SteadyClock::SleepMs(std::uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace vyn

#pragma once

#include "core/link/clock.h"

namespace vyn {

// Milliseconds of the monotonic clock, for the ports' own deadlines.
std::uint64_t MonotonicMs();

// The real monotonic clock.
class SteadyClock : public Clock {
 public:
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
};

}  // namespace vyn

#pragma once

#include "core/link/clock.h"

namespace vyn {

// The real monotonic clock.
class SteadyClock : public Clock {
 public:
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
};

}  // namespace vyn

#pragma once

#include <cstdint>

namespace vyn {

// Monotonic time in milliseconds. Every wait and pause of the device link goes through a
// Clock, so that tests run whole exchanges in virtual time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t NowMs() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
};

// Virtual time for tests: sleeping advances the time at once, and a test (or a scripted port)
// may move it forward by hand.
class FakeClock : public Clock {
 public:
  explicit FakeClock(std::uint64_t start_ms = 1000) : now_ms_(start_ms) {}

  std::uint64_t NowMs() override { return now_ms_; }
  void SleepMs(std::uint32_t ms) override {
    now_ms_ += ms;
    slept_ms_ += ms;
  }

  void AdvanceMs(std::uint64_t ms) { now_ms_ += ms; }
  // Moves to `ms` unless the time is already past it; time never runs backwards.
  void AdvanceTo(std::uint64_t ms) {
    if (ms > now_ms_) now_ms_ = ms;
  }
  // Total of all SleepMs calls, to tell a pause from a wait on the device.
  std::uint64_t slept_ms() const { return slept_ms_; }

 private:
  std::uint64_t now_ms_;
  std::uint64_t slept_ms_ = 0;
};

}  // namespace vyn

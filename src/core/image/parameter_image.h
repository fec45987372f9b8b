#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vyn {

// The unit's parameter memory: 2048 bytes indexed by device address 0x000-0x7FF.
inline constexpr std::size_t kImageSize = 2048;
// Old configuration files hold only addresses 0x000-0x1FF.
inline constexpr std::size_t kShortImageSize = 512;

using ParameterImage = std::array<std::uint8_t, kImageSize>;

}  // namespace vyn

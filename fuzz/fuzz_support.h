#pragma once

// What the fuzz targets share: a property check that stops the run with a message (libFuzzer
// then saves the input), a scratch file per process for the readers that take a path, and a
// reader of the fuzz input as a sequence of small numbers.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace vyn::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line,
                              const std::string& detail = {}) {
  std::fprintf(stderr, "%s:%d: property violated: %s %s\n", file, line, what, detail.c_str());
  std::abort();
}

}  // namespace vyn::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::vyn::fuzz::Fail(#condition, __FILE__, __LINE__))
// The same with a detail (a field's name, the values compared) in the message.
#define FUZZ_CHECK_THAT(condition, detail) \
  ((condition) ? (void)0 : ::vyn::fuzz::Fail(#condition, __FILE__, __LINE__, (detail)))

namespace vyn::fuzz {

// A folder of this process below the system's temporary folder, made once and reused.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vyn-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// Writes `bytes` to `name` in the scratch folder and returns its path.
inline std::string ScratchFile(const std::string& name, std::string_view bytes) {
  const std::filesystem::path path = ScratchFolder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The fuzz input taken from the front: small numbers for choices, the rest as bytes.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // 0..limit-1
  unsigned Below(unsigned limit) { return limit == 0 ? 0 : Byte() % limit; }
  // Up to `max` (at most 255) bytes, as many as the next byte says and the input holds.
  std::string Bytes(std::size_t max) {
    const std::size_t want = Byte() % (max + 1);
    const std::size_t n = std::min(want, size_ - pos_);
    std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return out;
  }
  std::string Rest() {
    std::string out(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace vyn::fuzz

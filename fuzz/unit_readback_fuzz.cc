// A well-behaved simulated unit behind the link: whatever its memory and however its answers
// are cut into chunks (each in time), a read brings back exactly its memory and a write leaves
// exactly the image in it, in normal and extended mode, in bounded virtual time.

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/link/clock.h"
#include "core/link/fake_unit.h"
#include "core/link/zix_link.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  using testing::Bytes;
  using testing::Chunk;
  using testing::Reply;
  fuzz::Input input(data, size);
  FakeClock clock;
  testing::ScriptedPort port(clock);
  testing::FakeUnit unit(port);
  const bool extended = input.Byte() & 1;
  const int first = static_cast<int>(input.Below(kImageSize));
  const int last = std::min<int>(kImageSize - 1, first + static_cast<int>(input.Byte()) * 9);
  std::string memory = input.Bytes(255);
  // The memory: the input's bytes repeated over the image.
  for (std::size_t i = 0; i < kImageSize && !memory.empty(); ++i)
    unit.memory[i] = static_cast<std::uint8_t>(memory[i % memory.size()]);
  const std::string cuts = input.Rest();
  std::size_t cut = 0;
  // Cut each answer of the unit into chunks that arrive before the link's waits end.
  const auto honest = port.responder;
  port.responder = [&](const Bytes& frame) {
    const Reply whole = honest(frame);
    Bytes bytes;
    for (const Chunk& c : whole) bytes.insert(bytes.end(), c.bytes.begin(), c.bytes.end());
    Reply reply;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
      const std::uint8_t a =
          cuts.empty() ? 0 : static_cast<std::uint8_t>(cuts[cut++ % cuts.size()]);
      const std::size_t n = std::min<std::size_t>(bytes.size() - pos, 1 + a % 40);
      reply.push_back(Chunk{static_cast<std::uint64_t>(a % kReplyTimeLimitMs),
                            Bytes(bytes.begin() + static_cast<long>(pos),
                                  bytes.begin() + static_cast<long>(pos + n))});
      pos += n;
    }
    return reply;
  };
  ZixLink link(port, clock);
  FUZZ_CHECK(link.Open() == OpenResult::kOpened);
  link.SetExtendedMode(extended);

  const std::uint64_t start = clock.NowMs();
  ParameterImage read{};
  FUZZ_CHECK(link.ReadRange(read, first, last) == LinkResult::kSuccess);
  FUZZ_CHECK(
      std::equal(read.begin() + first, read.begin() + last + 1, unit.memory.begin() + first));

  ParameterImage written = unit.memory;
  for (int a = first; a <= last; ++a) written[static_cast<std::size_t>(a)] ^= 0x5A;
  FUZZ_CHECK(link.WriteRange(written, first, last) == LinkResult::kSuccess);
  FUZZ_CHECK(unit.memory == written);
  // Every block was answered at its first try, each within its time.
  const std::size_t blocks = port.written.size();
  FUZZ_CHECK(clock.NowMs() - start <= blocks * (kReplyTimeLimitMs + 40 * kChunkSilenceMs));
  link.Close();
  return 0;
}

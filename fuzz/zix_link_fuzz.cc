// The Zix link over a hostile port: whatever arrives (any bytes, in any chunks, at any time),
// every command ends with one of its results, within a bounded virtual time, and no read of a
// block stores anything but what a frame with a right checksum carried.

#include <cstdint>
#include <string>

#include "core/link/clock.h"
#include "core/link/scripted_port.h"
#include "core/link/zix_link.h"
#include "fuzz_support.h"

namespace {

using vyn::testing::Bytes;
using vyn::testing::Chunk;
using vyn::testing::Reply;

// One exchange lasts at most the reply limit plus, for every byte of the reply buffer, a chunk
// silence (a port that sends one byte just before each wait ends).
constexpr std::uint64_t kExchangeBoundMs =
    vyn::kReplyTimeLimitMs + vyn::kMaxReplyBytes * vyn::kChunkSilenceMs + 1000;

bool IsResult(vyn::LinkResult result) {
  switch (result) {
    case vyn::LinkResult::kSuccess:
    case vyn::LinkResult::kNoAnswer:
    case vyn::LinkResult::kBlockReadFailed:
    case vyn::LinkResult::kBlockWriteFailed:
    case vyn::LinkResult::kZixTooOld:
      return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  fuzz::Input input(data, size);
  FakeClock clock;
  testing::ScriptedPort port(clock);
  // Each frame written takes its reply from the input: up to four chunks with their delays.
  port.responder = [&input](const Bytes&) {
    Reply reply;
    const unsigned chunks = input.Below(5);
    for (unsigned i = 0; i < chunks; ++i) {
      const std::uint64_t delay = input.Byte() * 2;
      const std::string bytes = input.Bytes(48);
      reply.push_back(Chunk{delay, Bytes(bytes.begin(), bytes.end())});
    }
    return reply;
  };
  ZixLink link(port, clock);
  if (link.Open() != OpenResult::kOpened) return 0;
  link.SetExtendedMode(input.Byte() & 1);

  for (int operation = 0; operation < 6 && !input.Empty(); ++operation) {
    const std::uint64_t start = clock.NowMs();
    const std::size_t writes_before = port.written.size();
    const unsigned choice = input.Below(10);
    LinkResult result = LinkResult::kSuccess;
    std::string text;
    ParameterImage image{};
    image.fill(0xEE);
    const ParameterImage untouched = image;
    const int first = static_cast<int>(input.Byte()) * 8;
    const int last = first + static_cast<int>(input.Below(64));
    switch (choice) {
      case 0:
        result = link.ReadRange(image, first, last);
        // Bytes outside the range are never touched.
        for (int a = 0; a < static_cast<int>(kImageSize); ++a) {
          if (a < first || a > last)
            FUZZ_CHECK(image[static_cast<std::size_t>(a)] ==
                       untouched[static_cast<std::size_t>(a)]);
        }
        break;
      case 1:
        result = link.WriteRange(image, first, last);
        break;
      case 2:
        result = link.CheckReady();
        break;
      case 3: {
        const int memory = link.MemorySize();
        FUZZ_CHECK(memory == kExtendedMemory || memory == kUnknownMemory || memory == 512 ||
                   memory == 1024 || memory == 2048);
        break;
      }
      case 4:
        result = link.ReadZixVersion(text);
        FUZZ_CHECK(result == LinkResult::kSuccess ? text.size() == 11 : text.empty());
        break;
      case 5:
        result = link.CheckZixVersion(kVersionForDeviceRead);
        break;
      case 6:
        result = link.GetRadioCode(text);
        if (result == LinkResult::kSuccess) FUZZ_CHECK(text.size() == 4);
        break;
      case 7:
        result = link.PollTransmitterInfo(text);
        FUZZ_CHECK(result == LinkResult::kSuccess && text.size() <= kMaxReplyBytes);
        break;
      case 8:
        result = link.PollTransmitterWrite(text);
        if (result == LinkResult::kSuccess) FUZZ_CHECK(text.size() == 2);
        break;
      default:
        result = link.RequestTransmitterInfo("1234", kTransmitterInfoParameters);
        break;
    }
    FUZZ_CHECK(IsResult(result));
    const std::size_t exchanges = port.written.size() - writes_before;
    FUZZ_CHECK(clock.NowMs() - start <= (exchanges + 1) * kExchangeBoundMs);
  }
  link.Close();
  return 0;
}

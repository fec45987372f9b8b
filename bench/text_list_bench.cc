// How long the text list of a full image takes to form: every field set, every number in the
// pool, every text at its longest, so that no line is cut short.

#include <benchmark/benchmark.h>

#include <string>

#include "core/image/number_pool.h"
#include "core/reports/text_list.h"
#include "core/strings/string_table.h"

namespace vyn {
namespace {

VynData FullImage() {
  VynData data;
  data.Origin = ImageOrigin::OpenedFile;
  data.FileName = "/home/service/configurations/client-0042.Rodid";
  for (std::size_t i = 0; i < data.WorkingImage.size(); ++i) {
    data.WorkingImage[i] = static_cast<std::uint8_t>('A' + i % 26);
  }
  StoreNumbers(data.WorkingImage,
               {"00491701234567", "0049301234567,12", "112", "0W0301234#", "004989123", "*31#"},
               {"1234A", "99887766", "A1B2", "", "5555", "1"});
  return data;
}

void BM_TextListContent(benchmark::State& state, const StringTable& strings) {
  const VynData data = FullImage();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string content = TextListContent(data, strings);
    bytes = content.size();
    benchmark::DoNotOptimize(content.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK_CAPTURE(BM_TextListContent, kemb, StringTable::Builtin())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TextListContent, velkstrom,
                  StringTable::Builtin().WithText(15555, "Velkstrom"))
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vyn

BENCHMARK_MAIN();

// How long the editor's conversions take in core: LoadControls and StoreControls of a full
// image over the form, as every open, save and transfer runs them, and the form's creation.

#include <benchmark/benchmark.h>

#include <string>

#include "core/editor/form/editor_controls.h"
#include "core/image/number_pool.h"
#include "core/strings/edition.h"

namespace vyn {
namespace {

const VynIni& Settings() {
  static const VynIni ini(VYN_BENCH_SOURCE_DIR "/data/Values.ini");
  return ini;
}

// Every byte set, six numbers in the pool and six ID numbers.
VynData FullImage() {
  VynData data;
  for (std::size_t i = 0; i < data.WorkingImage.size(); ++i)
    data.WorkingImage[i] = static_cast<std::uint8_t>(i * 7 + 3);
  StoreNumbers(data.WorkingImage,
               {"00491701234567", "0049301234567,12", "112", "0W0301234#", "004989123", "*31#"},
               {"1234A", "99887766", "A1B2", "", "5555", "1"});
  return data;
}

void BM_LoadAndStoreControls(benchmark::State& state) {
  const StringTable& strings = StringTable::Builtin();
  EditorForm form = BuildEditorForm(strings, Settings());
  EditorState editor_state;
  editor_state.edition_name = EditionName(strings);
  SilentPrompter prompter;
  EditorContext context{form, editor_state, prompter, strings};
  const VynData image = FullImage();
  for (auto _ : state) {
    VynData data = image;
    benchmark::DoNotOptimize(LoadControls(context, data));
    benchmark::DoNotOptimize(StoreControls(context, data).result);
  }
}
BENCHMARK(BM_LoadAndStoreControls)->Unit(benchmark::kMicrosecond);

void BM_BuildEditorForm(benchmark::State& state) {
  for (auto _ : state) {
    EditorForm form = BuildEditorForm(StringTable::Builtin(), Settings());
    benchmark::DoNotOptimize(form.size());
  }
}
BENCHMARK(BM_BuildEditorForm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vyn

BENCHMARK_MAIN();

// How long the editor window takes to show a loaded image: LoadControls into the form and the
// binder's mirror of every changed control into the Qt widgets, offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>

#include "core/image/number_pool.h"
#include "core/link/clock.h"
#include "platform/steady_clock.h"
#include "platform/zix_port_factory.h"
#include "ui/editor/frm_enter_data.h"

namespace vyn {
namespace {

// Two images that differ in every bound field, so each load changes the widgets.
ParameterImage Image(int seed) {
  ParameterImage image;
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<std::uint8_t>(i * 7 + seed);
  StoreNumbers(image, {"0049170123456" + std::to_string(seed), "0049301234567,12", "112", "", "",
                       "*31#"},
               {"1234A", "99887766", "A1B2", "", "5555", std::to_string(seed)});
  return image;
}

// `paint`: the events that follow (layout and painting of the shown page) are processed too.
void BM_LoadIntoWidgets(benchmark::State& state, bool paint) {
  QTemporaryDir home;
  const std::string folder = home.path().toStdString() + "/";
  std::filesystem::copy_file(VYN_BENCH_SOURCE_DIR "/data/Values.ini", folder + "Values.ini");
  StartupResult folders{folder, folder, home.path().toStdString(), folder + "Values.ini", false};
  Session session;
  SteadyClock clock;
  SilentPrompter prompter;
  ui::EditorEnvironment environment{StringTable::Builtin(),
                                    session,
                                    folders,
                                    MakeZixPort(folder + "no-zix"),
                                    clock,
                                    nullptr,
                                    {},
                                    &prompter,
                                    nullptr,
                                    {}};
  ui::TfrmEnterData editor(std::move(environment));
  editor.ApplyAccessLevel(6);
  editor.show();
  editor.pages()->setCurrentIndex(1);  // the call numbers: many boxes change with the image
  const ParameterImage images[2] = {Image(3), Image(5)};
  int which = 0;
  for (auto _ : state) {
    editor.data().WorkingImage = images[which];
    which = 1 - which;
    benchmark::DoNotOptimize(editor.LoadControls());
    if (paint) QApplication::processEvents();
  }
}
BENCHMARK_CAPTURE(BM_LoadIntoWidgets, mirror, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadIntoWidgets, mirror_and_paint, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vyn

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

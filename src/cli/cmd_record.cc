#include <QByteArray>
#include <QGuiApplication>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/common_options.h"
#include "cli/image_source.h"
#include "core/app/startup.h"
#include "core/files/replace_file.h"
#include "core/image/vyn_data.h"
#include "core/reports/record/record_dates.h"
#include "core/reports/record/vyn_print.h"
#include "core/strings/string_table.h"
#include "platform/xdg_folders.h"
#include "ui/reports/canvas/record_pdf.h"

namespace vyn::cli {
namespace {

// As many as the print dialog offers.
constexpr int kMostCopies = 999;

std::optional<int> CopiesValue(const std::string& text) {
  int copies = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), copies);
  if (ec != std::errc() || end != text.data() + text.size() || copies < 1 || copies > kMostCopies) {
    return std::nullopt;
  }
  return copies;
}

// Qt's notes about its environment (no runtime folder, no session) say nothing to the user of
// a command-line tool; its errors still reach stderr.
void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "vynctl record: %s\n", message.toLocal8Bit().constData());
  }
}

// The record is drawn with Qt Gui on the offscreen platform: no display is needed.
std::string RenderPdf(VynPrint& print, const VynData& data) {
  qInstallMessageHandler(QtMessages);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "vynctl";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  return ui::RecordPdf(print, data);
}

}  // namespace

// The record the editor would print for a configuration opened from FILE, as a PDF file. The
// settings file comes from the program data folder, the logo from the delivered files.
int RunRecord(const CommandContext& context, const Args& args, std::ostream& out,
              std::ostream& err) {
  std::string error;
  const std::optional<ParsedArgs> parsed =
      ParseArgs(args, {"-o", "--id-number", "--source", "--copies"}, {}, error);
  std::optional<int> copies = 1;
  if (parsed && parsed->Has("--copies")) {
    copies = CopiesValue(parsed->Option("--copies"));
    if (!copies) error = "--copies takes a whole number from 1 to " + std::to_string(kMostCopies);
  }
  if (!parsed || parsed->positional.size() != 1 || !parsed->Has("-o") || !copies) {
    if (error.empty() && parsed && !parsed->Has("-o")) error = "-o OUT.pdf is missing";
    return UsageError(context, err, error);
  }
  const std::string& file = parsed->positional[0];
  const std::string path = parsed->Option("-o");
  VynData data;
  if (!LoadImage("record", file, data.WorkingImage, data.ShortLayout, err)) return kExitFailure;
  data.Origin = ImageOrigin::OpenedFile;
  data.FileName = file;
  data.ReferenceImage = data.WorkingImage;
  std::error_code ec;
  // The record must never take the place of the configuration it shows.
  if (std::filesystem::equivalent(file, path, ec)) {
    err << "vynctl record: " << path << ": is the configuration file itself\n";
    return kExitUsage;
  }

  const StringTable& strings = StringTable::Builtin();
  const LocaleDateTexts dates;
  RecordInputs inputs = EditorRecordInputs(data, strings, dates);
  if (parsed->Has("--id-number")) {
    inputs.IdNumber = parsed->Option("--id-number");
    inputs.RecordTitle = RecordTitleFor(inputs.IdNumber, strings);
  }
  if (parsed->Has("--source")) inputs.SourceText = parsed->Option("--source");
  inputs.Copies = *copies;

  const std::optional<std::filesystem::path> data_folder = PreparedDataFolder(context, err);
  if (!data_folder) return kExitFailure;
  const std::string settings_file = (*data_folder / kSettingsFileName).string();
  VynPrint print(strings, settings_file, InstallationFolder(ExecutableFolder()), dates);
  print.SetInputs(inputs);
  const std::string pdf = RenderPdf(print, data);
  if (ReplaceFileContent(path, pdf) != ReplaceFileResult::kOk) {
    err << "vynctl record: " << path << ": cannot be written\n";
    return kExitFailure;
  }
  out << path << "\n";
  return kExitOk;
}

}  // namespace vyn::cli

// The editor's print command and Qt's print preview of the printed record.

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <filesystem>

#include "core/image/image_file.h"
#include "core/image/number_pool.h"
#include "core/reports/record/record_dates.h"
#include "ui/reports/record_presenter.h"
#include "ui/support/programmer_fixture.h"

namespace vyn::testing {
namespace {

namespace fs = std::filesystem;

using EditorPrintTest = ProgrammerFixture;

// The value after a label of the frame on the first page.
std::string FrameValue(const RecordingCanvas& canvas, const std::string& label) {
  const std::vector<std::string> texts = canvas.PageTexts(1);
  const auto it = std::find(texts.begin(), texts.end(), label);
  return it == texts.end() || it + 1 == texts.end() ? "<none>" : *(it + 1);
}

TEST_F(EditorPrintTest, TheDefaultConfigurationAsTheEditorShowsIt) {
  Start();
  QAction* print = Editor().findChild<QAction*>("mnuFilePrint");
  ASSERT_NE(print, nullptr);
  EXPECT_EQ(print->shortcut().toString().toStdString(), "Ctrl+P");
  Click("mnuFilePrint");
  ASSERT_EQ(record_presenter_.shown.size(), 1u);
  const FakeRecordPresenter::Shown& shown = record_presenter_.shown.front();
  EXPECT_EQ(shown.title, "VYN IP/GSM Programmierdaten");
  EXPECT_EQ(shown.canvas.Title(), "VYN IP/GSM Programmierdaten");
  EXPECT_EQ(shown.canvas.Pages(), 4);
  EXPECT_EQ(FrameValue(shown.canvas, "Dateiname "), "Standard");
  EXPECT_EQ(FrameValue(shown.canvas, "Dateidatum "), "");
  // The logo of the delivered files, named by the settings file of the program data folder.
  EXPECT_NE(shown.canvas.Recording().find("bitmap-load \"vyn_logo.png\"\n"), std::string::npos);
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(EditorPrintTest, AnEditedFileShowsItsNameInBracketsAndItsDate) {
  Start();
  ParameterImage image{};
  StoreAlarmCodes(image, {"4711", "", "", "", "", ""});
  const std::string path = root_.File("kunde.Rodid");
  ASSERT_EQ(WriteImageFile(image, path), ImageWriteResult::kOk);
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 40));
  chooser_.answers = {path};
  Click("mnuFileOpen");
  TakeBoxes();
  // An edit the pages have stored into the image.
  Editor().data().WorkingImage[0x0C0] ^= 1;
  record_presenter_.copies = 2;
  Click("mnuFilePrint");
  ASSERT_EQ(record_presenter_.shown.size(), 1u);
  const RecordingCanvas& canvas = record_presenter_.shown.front().canvas;
  EXPECT_EQ(record_presenter_.shown.front().title, "VYN IP/GSM Programmierdaten (4711)");
  EXPECT_EQ(canvas.Copies(), 2);
  EXPECT_EQ(FrameValue(canvas, "Teilnehmernummer "), "4711");
  EXPECT_EQ(FrameValue(canvas, "Dateiname "), "[kunde.Rodid]");
  EXPECT_EQ(FrameValue(canvas, "Dateidatum "),
            LocaleDateTexts().ShortDate(*FileModificationDate(path)));
}

TEST(RecordPreviewTest, ShowsTheFourPagesAndClosesWithoutPrinting) {
  QWidget parent;
  ui::PreviewRecordPresenter presenter(&parent);
  int drawn = 0;
  int pages = -1;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "pdlgPrint");
    title = dialog->printer()->docName();
    if (auto* widget = dialog->findChild<QPrintPreviewWidget*>()) pages = widget->pageCount();
    dialog->reject();
  });
  presenter.Present("VYN IP/GSM Programmierdaten (1)", [&](Canvas& canvas, int copies) {
    ++drawn;
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(canvas.BeginDocument("VYN IP/GSM Programmierdaten (1)", copies), 1);
    for (int page = 2; page <= 4; ++page) canvas.NewPage();
    canvas.EndDocument();
  });
  EXPECT_GE(drawn, 1);
  EXPECT_EQ(pages, 4);
  EXPECT_EQ(title.toStdString(), "VYN IP/GSM Programmierdaten (1)");
}

}  // namespace
}  // namespace vyn::testing

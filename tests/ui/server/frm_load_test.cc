// The server exchange dialog and the editor's web and diagnostic commands, with the server
// simulator's model behind a scripted endpoint and the test server of the diagnostic commands
// played on the files.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/server/exchange_protocol.h"
#include "core/strings/message_ids.h"
#include "ui/server/frm_load.h"
#include "ui/support/programmer_fixture.h"

namespace vyn::testing {
namespace {

namespace fs = std::filesystem;

std::string Text(int id) { return StringTable::Builtin().Text(id); }

class LoadDialogTest : public ProgrammerFixture {
 protected:
  LoadDialogTest() {
    for (std::size_t i = 0; i < server_memory_.size(); ++i)
      server_memory_[i] = static_cast<std::uint8_t>(i * 3 + 1);
  }
  ui::TfrmLoad& Load() { return windows_->load(); }
  template <typename T>
  T* Child(const char* name) {
    T* child = Load().findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  // When the dialog opens: the entries typed, then `finish` (Enter in the password box unless
  // given).
  void AnswerDialog(const QString& serial, const QString& password,
                    std::function<void()> finish = {}) {
    QTimer::singleShot(0, &Load(), [this, serial, password, finish] {
      shown_ = Load().isVisible();
      QTest::keyClicks(Child<QLineEdit>("edtLoadSerial"), serial);
      QTest::keyClicks(Child<QLineEdit>("edtLoadPassword"), password);
      if (finish) {
        finish();
      } else {
        QTest::keyClick(Child<QLineEdit>("edtLoadPassword"), Qt::Key_Return);
      }
    });
  }
  std::vector<std::string> SentTexts() const { return server_socket_->Texts(); }

  bool shown_ = false;
};

TEST_F(LoadDialogTest, ShownWithTheEditionsCountry) {
  for (const bool kemb : {true, false}) {
    SCOPED_TRACE(kemb);
    Start(kemb ? StringTable::Builtin() : StringTable::Builtin().WithText(15555, "Velkstrom"));
    ui::TfrmLoad& load = Load();
    load.show();
    EXPECT_EQ(load.windowTitle().toStdString(), Text(10020));
    EXPECT_EQ(Child<QLabel>("lblEnterSerialNumber")->text().toStdString(), Text(10021));
    EXPECT_EQ(Child<QLabel>("lblEnterPassword")->text().toStdString(), Text(10022));
    EXPECT_EQ(Child<QLabel>("lblLoadCountry")->text().toStdString(), Text(13298));
    EXPECT_EQ(Child<QLabel>("lblLoadInstruction")->text().toStdString(), Text(10023));
    EXPECT_EQ(Child<QLabel>("lblStatusText")->text().toStdString(), "Warten auf Seriennummer…");
    auto* country = Child<QComboBox>("cbbxLoadCountry");
    ASSERT_EQ(country->count(), 6);
    EXPECT_EQ(country->itemText(1).toStdString(), "");
    EXPECT_EQ(country->currentText().toStdString(), kemb ? "GSM (DE)" : "IP, IP/GSM");
    EXPECT_TRUE(Child<QPushButton>("btnOK")->isEnabled());
    EXPECT_EQ(load.focusWidget(), Child<QLineEdit>("edtLoadSerial"));
    EXPECT_EQ(Child<QLineEdit>("edtLoadPassword")->maxLength(), 32);
    EXPECT_EQ(Child<QLineEdit>("edtLoadPassword")->echoMode(), QLineEdit::Normal);
    load.reject();
    EXPECT_FALSE(load.isVisible());
  }
}

TEST_F(LoadDialogTest, EditorReadsThroughTheServer) {
  Start();
  Editor().ApplyAccessLevel(4);
  Editor().data().FileName = "/c/x.Rodid";
  Editor().data().Origin = ImageOrigin::OpenedFile;
  AnswerDialog("1234", "pw");
  Click("mnuCommReadWeb");
  EXPECT_TRUE(shown_);
  EXPECT_FALSE(Load().isVisible());
  EXPECT_EQ(Load().lastEnd(), ExchangeEnd::kSucceeded);
  EXPECT_EQ(Editor().data().WorkingImage, server_memory_);
  EXPECT_EQ(Editor().data().Origin, ImageOrigin::OpenedFile);
  ASSERT_FALSE(SentTexts().empty());
  EXPECT_TRUE(SentTexts().front().starts_with("ID:Prog_4001234,")) << SentTexts().front();
  EXPECT_EQ(SentTexts().front().find("Read VYN IP config:pw"), SentTexts().front().size() - 21);
  EXPECT_TRUE(server_->violations().empty());
  const std::vector<std::string> boxes = TakeBoxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front(), Text(msg::kReadComplete));
  // The dialog's bar showed the percentage at the left and the time left at the right.
  EXPECT_EQ(Child<QLabel>("lblStatusText")->text().toStdString(), "Datenempfang vom Server… 99 %");
  EXPECT_EQ(Child<QLabel>("lblStatusTimeout")->text().toStdString(), "(Timeout: 293 s)");
  // Shown again, the boxes are empty and enabled once more.
  Load().show();
  EXPECT_TRUE(Child<QLineEdit>("edtLoadSerial")->isEnabled());
  Load().reject();
}

TEST_F(LoadDialogTest, EditorWritesThroughTheServer) {
  server_options_.scenario = sim::Scenario::kWriteOk;
  Start();
  Editor().ApplyAccessLevel(4);
  Editor().data().WorkingImage[0x300] = 0x77;
  AnswerDialog("99", "pw",
               [this] { QTest::mouseClick(Child<QPushButton>("btnOK"), Qt::LeftButton); });
  Click("mnuCommWriteWeb");
  EXPECT_EQ(server_memory_, Editor().data().WorkingImage);
  EXPECT_EQ(server_memory_[0x300], 0x77);
  EXPECT_EQ(Editor().data().ReferenceImage, Editor().data().WorkingImage);
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{Text(msg::kProgrammingComplete)});
  EXPECT_TRUE(server_->violations().empty());
}

TEST_F(LoadDialogTest, CancelStopsTheExchangeAndEscapeDoesNotLeaveIt) {
  server_options_.scenario = sim::Scenario::kSilent;
  Start();
  Editor().ApplyAccessLevel(4);
  const ParameterImage before = Editor().data().WorkingImage;
  AnswerDialog("1", "pw", [this] {
    // Escape while the exchange runs cancels it rather than closing the window under it.
    QTimer::singleShot(0, &Load(), [this] {
      EXPECT_TRUE(Load().exchangeRunning());
      QTest::keyClick(&Load(), Qt::Key_Escape);
    });
    QTest::mouseClick(Child<QPushButton>("btnOK"), Qt::LeftButton);
  });
  Click("mnuCommReadWeb");
  EXPECT_EQ(Load().lastEnd(), ExchangeEnd::kCancelled);
  EXPECT_FALSE(Load().isVisible());
  EXPECT_EQ(Editor().data().WorkingImage, before);
  ASSERT_FALSE(SentTexts().empty());
  EXPECT_NE(SentTexts().back().find("Cancel config load:pw"), std::string::npos);
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(LoadDialogTest, PortInUseIsReportedByTheWebCommands) {
  server_port_taken_ = true;
  Start();  // the program starts all the same
  Editor().ApplyAccessLevel(4);
  bool shown = false;
  QTimer::singleShot(0, &Load(), [&] {
    shown = Load().isVisible();
    Load().reject();
  });
  Click("mnuCommReadWeb");
  EXPECT_FALSE(shown);
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{Load().PortInUseText()});
  QApplication::processEvents();  // the answer above finds no dialog
  EXPECT_FALSE(shown);

  // Once the other program let the port go, the next command binds it.
  server_socket_->port_taken = false;
  QTimer::singleShot(0, &Load(), [&] {
    shown = Load().isVisible();
    Load().reject();
  });
  Click("mnuCommReadWeb");
  EXPECT_TRUE(shown);
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(LoadDialogTest, DiagnosticCommandsExchangeFilesWithTheTestServer) {
  Start();
  Editor().ApplyAccessLevel(6);
  const fs::path folder = fs::path(ProgramData()) / "vyn_ip_server";
  Editor().data().WorkingImage[0x0FD] = 0x01;  // serial number 65536 + 2
  Editor().data().WorkingImage[0x0FE] = 0x00;
  Editor().data().WorkingImage[0x0FF] = 0x02;
  std::string request;
  // The test server looks at its files whenever the editor waits.
  QTimer test_server;
  QObject::connect(&test_server, &QTimer::timeout, [&] {
    const std::string download = TempFolder::Read((folder / "download_e2prom.txt").string());
    if (!download.empty() &&
        TempFolder::Read((folder / "downloaded_e2prom.txt").string()).empty()) {
      request = download;
      std::ofstream(folder / "downloaded_e2prom.txt") << "OK";
    }
    const std::string upload = TempFolder::Read((folder / "upload_e2prom.txt").string());
    if (!upload.empty() && TempFolder::Read((folder / "uploaded_e2prom.txt").string()).empty()) {
      std::ofstream(folder / "upload.rodid", std::ios::binary)
          << std::string(server_memory_.begin(), server_memory_.end());
      std::ofstream(folder / "uploaded_e2prom.txt") << "OK";
    }
  });
  test_server.start(0);

  Click("mnuCommDebugWriteWeb");
  EXPECT_EQ(request, "65538");
  EXPECT_EQ(TempFolder::Read((folder / "download.rodid").string()),
            std::string(Editor().data().WorkingImage.begin(), Editor().data().WorkingImage.end()));
  EXPECT_EQ(TempFolder::Read((folder / "download_e2prom.txt").string()), "");
  EXPECT_EQ(Editor().data().Origin, ImageOrigin::SavedFile);

  // The answer of the write is taken back before the read's request can go.
  std::ofstream(folder / "downloaded_e2prom.txt", std::ios::trunc);
  Click("mnuCommDebugReadWeb");
  EXPECT_EQ(Editor().data().WorkingImage, server_memory_);
  EXPECT_EQ(Editor().data().Origin, ImageOrigin::OpenedFile);
  EXPECT_EQ(TempFolder::Read((folder / "upload_e2prom.txt").string()), "");
  EXPECT_FALSE(Editor().transferRunning());
}

}  // namespace
}  // namespace vyn::testing

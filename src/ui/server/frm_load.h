#pragma once

// The exchange dialog of the configuration server: serial number, password and country of the
// unit, OK to run the exchange, Cancel to stop it, and the status bar with its progress. The
// dialog is made once at start and keeps its UDP endpoint, bound to local port 45010, for the
// whole run; datagrams arriving there are handed to the exchange as events of the window.

#include <QDialog>
#include <QSocketNotifier>
#include <memory>
#include <optional>
#include <string>

#include "core/link/clock.h"
#include "core/server/server_exchange.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vyn::ui {

// Where the dialog finds the server at the start of each exchange.
struct LoadServerSettings {
  std::string settings_file;    // Values.ini of the program data folder
  std::string server_override;  // VYN_SERVER; empty when not set
};

class TfrmLoad : public QDialog {
  Q_OBJECT

 public:
  // Binds `socket` to local port 45010. A port already in use does not stop the program: the
  // dialog tries again when an exchange is to start. `prompter` replaces the status bar and
  // the message boxes (tests); null for the dialog's own.
  TfrmLoad(const StringTable& strings, const Session& session,
           std::unique_ptr<DatagramSocket> socket, Clock& clock, LoadServerSettings settings,
           Prompter* prompter = nullptr, QWidget* parent = nullptr);
  ~TfrmLoad() override;

  ServerExchange& exchange() { return *exchange_; }
  // Whether the endpoint is bound; binds it now if it was not.
  bool EnsureEndpoint();
  // The message for a local port that stays in use.
  std::string PortInUseText() const;

  // Empties the serial number and password boxes; the editor's commands call it before they
  // show the dialog.
  void ClearEntries();
  // How the last exchange ended.
  std::optional<ExchangeEnd> lastEnd() const { return last_end_; }
  bool exchangeRunning() const { return running_; }
  // The status text: what stands before its tabs at the left, what follows them at the right.
  void ShowStatus(const std::string& text);

 public slots:
  // Runs one whole exchange, then closes the dialog with OK when it succeeded, else with Cancel.
  void btnOKClick();
  // Stops a running exchange at its next check; closes an idle dialog.
  void btnCancelClick();
  // Hands every datagram waiting on the endpoint to the exchange.
  void NMUDP1DataReceived();

  // Escape and the close box act as Cancel; a running exchange is never left behind.
  void reject() override;

 protected:
  // FormShow: centred, texts set, OK and the boxes enabled, the country list filled with the
  // edition's entry selected, the focus in the serial number box.
  void showEvent(QShowEvent* event) override;

 private:
  class Pump;
  void Watch();

  const StringTable& strings_;
  std::unique_ptr<DatagramSocket> socket_;
  Clock& clock_;
  LoadServerSettings settings_;
  std::unique_ptr<ServerExchange> exchange_;
  std::unique_ptr<Prompter> own_prompter_;
  Prompter* prompter_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::optional<ExchangeEnd> last_end_;
  bool running_ = false;
  int events_handled_ = 0;  // replies and Cancel while an exchange waits

  QLabel* lblEnterSerialNumber_;
  QLineEdit* edtLoadSerial_;
  QLabel* lblEnterPassword_;
  QLineEdit* edtLoadPassword_;
  QLabel* lblLoadCountry_;
  QComboBox* cbbxLoadCountry_;
  QLabel* lblLoadInstruction_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
  QStatusBar* sbStatus_;
};

}  // namespace vyn::ui

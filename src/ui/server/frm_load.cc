#include "ui/server/frm_load.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/server/server_settings.h"
#include "core/settings/text_encoding.h"
#include "core/settings/vyn_ini.h"
#include "core/strings/edition.h"
#include "core/strings/message_ids.h"
#include "ui/app/dialog_parts.h"
#include "ui/app/qt_prompter.h"
#include "ui/app/window_placement.h"

namespace vyn::ui {

namespace {
constexpr int kCaption = 10020;
constexpr int kSerialNumber = 10021;
constexpr int kPassword = 10022;
constexpr int kInstruction = 10023;
constexpr int kCountry = 13298;
constexpr int kMaxEntryLength = 32;
// How long the dialog sleeps between two looks at its events while an exchange waits.
constexpr std::uint32_t kEventSliceMs = 20;
}  // namespace

// The exchange's view of the window: paints without handing out datagrams, and waits for
// replies and the Cancel button by processing the window's events in short slices of the clock.
class TfrmLoad::Pump : public ExchangeEventPump {
 public:
  explicit Pump(TfrmLoad& dialog) : dialog_(dialog) {}

  void ProcessPendingEvents() override {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                QEventLoop::ExcludeSocketNotifiers);
  }

  void WaitForEvents(std::uint32_t max_ms) override {
    const std::uint64_t until = dialog_.clock_.NowMs() + max_ms;
    const int before = dialog_.events_handled_;
    while (true) {
      QApplication::processEvents(QEventLoop::AllEvents);
      // Also what no descriptor announces (an endpoint without one).
      dialog_.NMUDP1DataReceived();
      if (dialog_.events_handled_ != before) return;
      const std::uint64_t now = dialog_.clock_.NowMs();
      if (now >= until) return;
      dialog_.clock_.SleepMs(
          static_cast<std::uint32_t>(std::min<std::uint64_t>(until - now, kEventSliceMs)));
    }
  }

 private:
  TfrmLoad& dialog_;
};

TfrmLoad::TfrmLoad(const StringTable& strings, const Session& session,
                   std::unique_ptr<DatagramSocket> socket, Clock& clock,
                   LoadServerSettings settings, Prompter* prompter, QWidget* parent)
    : QDialog(parent),
      strings_(strings),
      socket_(std::move(socket)),
      clock_(clock),
      settings_(std::move(settings)),
      exchange_(
          std::make_unique<ServerExchange>(*socket_, clock, strings, session.MessageCounterStart)),
      prompter_(prompter) {
  setObjectName("frmLoad");
  setModal(true);
  setWindowTitle(UiText(strings, kCaption));

  lblEnterSerialNumber_ = new QLabel(UiText(strings, kSerialNumber), this);
  lblEnterSerialNumber_->setObjectName("lblEnterSerialNumber");
  edtLoadSerial_ = new QLineEdit(this);
  edtLoadSerial_->setObjectName("edtLoadSerial");
  edtLoadSerial_->setMaxLength(kMaxEntryLength);
  lblEnterPassword_ = new QLabel(UiText(strings, kPassword), this);
  lblEnterPassword_->setObjectName("lblEnterPassword");
  edtLoadPassword_ = new QLineEdit(this);
  edtLoadPassword_->setObjectName("edtLoadPassword");
  edtLoadPassword_->setMaxLength(kMaxEntryLength);
  lblLoadCountry_ = new QLabel(UiText(strings, kCountry), this);
  lblLoadCountry_->setObjectName("lblLoadCountry");
  cbbxLoadCountry_ = new QComboBox(this);
  cbbxLoadCountry_->setObjectName("cbbxLoadCountry");
  lblLoadInstruction_ = new QLabel(UiText(strings, kInstruction), this);
  lblLoadInstruction_->setObjectName("lblLoadInstruction");
  lblLoadInstruction_->setWordWrap(true);
  lblEnterSerialNumber_->setBuddy(edtLoadSerial_);
  lblEnterPassword_->setBuddy(edtLoadPassword_);
  lblLoadCountry_->setBuddy(cbbxLoadCountry_);

  const OkCancelRow buttons = MakeOkCancelRow(strings, "btnOK", this);
  btnOK_ = buttons.ok;
  btnCancel_ = buttons.cancel;

  // The status bar: the text at the left, the time left at the right, as the tabs of the
  // status formats place them.
  sbStatus_ = new QStatusBar(this);
  sbStatus_->setObjectName("sbStatus");
  sbStatus_->setSizeGripEnabled(false);
  auto* status_text = new QLabel(sbStatus_);
  status_text->setObjectName("lblStatusText");
  auto* status_timeout = new QLabel(sbStatus_);
  status_timeout->setObjectName("lblStatusTimeout");
  sbStatus_->addWidget(status_text, 1);
  sbStatus_->addPermanentWidget(status_timeout);

  auto* grid = new QGridLayout;
  grid->addWidget(lblEnterSerialNumber_, 0, 0);
  grid->addWidget(edtLoadSerial_, 0, 1);
  grid->addWidget(lblEnterPassword_, 1, 0);
  grid->addWidget(edtLoadPassword_, 1, 1);
  grid->addWidget(lblLoadCountry_, 2, 0);
  grid->addWidget(cbbxLoadCountry_, 2, 1);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(lblLoadInstruction_);
  layout->addLayout(buttons.row);
  layout->addWidget(sbStatus_);
  layout->setContentsMargins(11, 11, 11, 0);
  resize(460, sizeHint().height());

  if (!prompter_) {
    own_prompter_ = std::make_unique<QtPrompter>(this, nullptr);
    prompter_ = own_prompter_.get();
  }
  connect(btnOK_, &QPushButton::clicked, this, &TfrmLoad::btnOKClick);
  // edtLoadSerialKeyPress serves both boxes: Enter acts as OK.
  connect(edtLoadSerial_, &QLineEdit::returnPressed, this, &TfrmLoad::btnOKClick);
  connect(edtLoadPassword_, &QLineEdit::returnPressed, this, &TfrmLoad::btnOKClick);

  if (socket_->Bind(kExchangeLocalPort)) Watch();
}

TfrmLoad::~TfrmLoad() = default;

void TfrmLoad::Watch() {
  notifier_.reset();
  if (socket_->Descriptor() < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(socket_->Descriptor(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TfrmLoad::NMUDP1DataReceived);
}

bool TfrmLoad::EnsureEndpoint() {
  if (socket_->IsBound()) return true;
  if (!socket_->Bind(kExchangeLocalPort)) return false;
  Watch();
  return true;
}

std::string TfrmLoad::PortInUseText() const {
  return Format(kLocalPortInUseText, {std::to_string(kExchangeLocalPort)});
}

void TfrmLoad::ClearEntries() {
  edtLoadSerial_->clear();
  edtLoadPassword_->clear();
}

void TfrmLoad::ShowStatus(const std::string& text) {
  // Left of the first tab, and right of the last one.
  const std::size_t tab = text.find('\t');
  QString left = QString::fromStdString(text.substr(0, tab)).trimmed();
  QString right;
  if (tab != std::string::npos) right = QString::fromStdString(text.substr(text.rfind('\t') + 1));
  sbStatus_->findChild<QLabel*>("lblStatusText")->setText(left);
  sbStatus_->findChild<QLabel*>("lblStatusTimeout")->setText(right);
}

void TfrmLoad::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
  btnOK_->setEnabled(true);
  edtLoadSerial_->setEnabled(true);
  edtLoadPassword_->setEnabled(true);
  cbbxLoadCountry_->clear();
  for (const std::string_view entry : kCountryEntries)
    cbbxLoadCountry_->addItem(QString::fromUtf8(entry.data(), static_cast<int>(entry.size())));
  cbbxLoadCountry_->setCurrentIndex(DefaultCountryEntry(EditionName(strings_)));
  ShowStatus(strings_.Text(msg::kServerWaitingForSerialNumber));
  edtLoadSerial_->setFocus();
}

void TfrmLoad::btnOKClick() {
  if (running_) return;
  if (!EnsureEndpoint()) {
    prompter_->ShowMessage(MessageKind::kError, PortInUseText(), MessageButtons::kOk);
    QDialog::done(Rejected);
    return;
  }
  running_ = true;
  btnOK_->setEnabled(false);
  edtLoadSerial_->setEnabled(false);
  edtLoadPassword_->setEnabled(false);
  setResult(Accepted);

  const ExchangeEntries entries{edtLoadSerial_->text().toStdString(),
                                Utf8ToWindows1252(edtLoadPassword_->text().toStdString()),
                                std::max(0, cbbxLoadCountry_->currentIndex())};
  // The server is looked up afresh for every exchange; a text that is no address is tried as a
  // name, and reported as not found.
  const std::optional<ServerAddress> configured =
      ConfiguredServer(VynIni(settings_.settings_file), settings_.server_override);
  const ServerAddress server =
      configured ? *configured : ServerAddress{settings_.server_override, kServerPort};

  // Status texts go to the dialog's bar as well as to a replaced prompter.
  class StatusPrompter : public Prompter {
   public:
    StatusPrompter(TfrmLoad& dialog, Prompter& target, bool forward_status)
        : dialog_(dialog), target_(target), forward_status_(forward_status) {}
    MessageButton ShowMessage(MessageKind kind, const std::string& text,
                              MessageButtons buttons) override {
      return target_.ShowMessage(kind, text, buttons);
    }
    void SetStatus(const std::string& text) override {
      dialog_.ShowStatus(text);
      if (forward_status_) target_.SetStatus(text);
    }
    void SetBusy(bool busy) override { target_.SetBusy(busy); }

   private:
    TfrmLoad& dialog_;
    Prompter& target_;
    bool forward_status_;
  } prompter(*this, *prompter_, own_prompter_ == nullptr);

  Pump pump(*this);
  last_end_ = exchange_->Run(entries, server, prompter, pump);
  running_ = false;
  QDialog::done(last_end_ == ExchangeEnd::kSucceeded ? Accepted : Rejected);
}

void TfrmLoad::btnCancelClick() {
  if (running_) {
    exchange_->RequestCancel();
    ++events_handled_;
    return;
  }
  QDialog::reject();
}

void TfrmLoad::reject() { btnCancelClick(); }

void TfrmLoad::NMUDP1DataReceived() {
  if (exchange_->DeliverReceived() > 0) ++events_handled_;
}

}  // namespace vyn::ui

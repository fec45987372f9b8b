#pragma once

// The main window: the welcome texts and the buttons for the three ways of programming. Its
// creation handler fixes the folders, the delivered files in the program data folder, the
// default passwords and the default directory that every later window reads.

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "core/app/startup.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"

namespace vyn::ui {

class TfrmEnterData;
class TfrmPassword;

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  // Runs the creation handler: edition layout, folders, copies, passwords, default directory.
  // `prompter` replaces the desktop's message boxes (tests); null for the desktop's own.
  TfrmMain(const StringTable& strings, Session& session, const StartupEnvironment& environment,
           Prompter* prompter = nullptr, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The windows the buttons open; created after the main window in the start order.
  void SetWindows(TfrmEnterData* editor, TfrmPassword* password);

  StartupResult& folders() { return folders_; }
  const StartupResult& folders() const { return folders_; }

  // How a modal window is run; tests replace it to answer the window instead of a user.
  std::function<int(QDialog&)> run_modal = [](QDialog& dialog) { return dialog.exec(); };

 public slots:
  void btnEnterDataClick();
  void btnBasicProgrammingClick();
  void btnExitClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate(const StartupEnvironment& environment);
  void EditionLayout();
  // Sizes the labels and the window to the texts just set.
  void FitToContent();

  const StringTable& strings_;
  Session& session_;
  StartupResult folders_;
  std::unique_ptr<Prompter> own_prompter_;
  Prompter* prompter_;
  TfrmEnterData* editor_ = nullptr;
  TfrmPassword* password_ = nullptr;

  QFrame* pnlMain_ = nullptr;
  QGridLayout* grdButtons_ = nullptr;
  QLabel* lblWelcome_ = nullptr;
  QLabel* lblPleaseSelect_ = nullptr;
  QPushButton* btnProgrammingGuide_ = nullptr;
  QPushButton* btnBasicProgramming_ = nullptr;
  QPushButton* btnEnterData_ = nullptr;
  QPushButton* btnExit_ = nullptr;
  QLabel* lblAStepByStep_ = nullptr;
  QLabel* lblSelectAPredefined_ = nullptr;
  QLabel* lblEditAllParameters_ = nullptr;
};

}  // namespace vyn::ui

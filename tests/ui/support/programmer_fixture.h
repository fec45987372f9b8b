#pragma once

// The whole application on a fake machine: a temporary home, the delivered files of the build,
// scripted message boxes and file dialogs, virtual time, and the simulator's unit model behind
// the Zix's port in process.

#include <gtest/gtest.h>

#include <QDialog>
#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/editor/file_commands.h"
#include "core/link/clock.h"
#include "core/link/scripted_port.h"
#include "core/server/scripted_socket.h"
#include "core/session/scripted_prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"
#include "sim/server_sim/server_model.h"
#include "sim/unit_sim/unit_model.h"
#include "support/temp_folder.h"
#include "ui/app/frm_main.h"
#include "ui/app/programmer_windows.h"
#include "ui/editor/frm_enter_data.h"
#include "ui/support/fake_record_presenter.h"

namespace vyn::testing {

// File dialogs answered from a script; nullopt is Cancel, and so is an empty script.
class FakeFileChooser : public FileChooser {
 public:
  std::deque<std::optional<std::string>> answers;
  std::vector<FileDialogRequest> requests;

  std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override {
    return Next(request);
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override {
    return Next(request);
  }

 private:
  std::optional<std::string> Next(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class ProgrammerFixture : public ::testing::Test {
 protected:
  ProgrammerFixture() {
    std::filesystem::create_directories(root_.Path() / "home/.local/share");
    std::filesystem::create_directories(root_.Path() / "home/Documents");
    environment_.data_folder = (root_.Path() / "home/.local/share").string();
    environment_.documents_folder = (root_.Path() / "home/Documents").string();
    // The build's own delivered "Values.i" and "Default.b".
    environment_.executable_folder = VYN_BIN_DIR;
    environment_.install_folder = VYN_BIN_DIR;
    environment_.program_version = "1.0.0";
    // The unit holds the delivered default configuration with one byte changed.
    const std::string delivered = TempFolder::Read(std::string(VYN_BIN_DIR) + "/Default.b");
    std::copy_n(delivered.begin(), std::min(delivered.size(), unit_memory_.size()),
                unit_memory_.begin());
    unit_memory_[0x300] ^= 0x5A;
  }

  // Creates every window as the application does at start.
  ui::ProgrammerWindows& Start(StringTable strings = StringTable::Builtin()) {
    windows_.reset();
    strings_ = std::move(strings);
    auto port = std::make_unique<ScriptedPort>(clock_);
    port_ = port.get();
    unit_ = std::make_unique<sim::UnitModel>(unit_options_, unit_memory_);
    port_->responder = [this](const Bytes& frame) -> Reply {
      sim::FrameParser parser;
      sim::FrameParser::Frame parsed;
      for (const std::uint8_t byte : frame) {
        if (!parser.Feed(byte, parsed)) continue;
        std::string note;
        const sim::Bytes answer = unit_->Answer(parsed, note);
        if (answer.empty()) return {};
        return {{2, Bytes(answer.begin(), answer.end())}};
      }
      return {};
    };
    // The configuration server: the simulator's model behind a scripted endpoint.
    auto socket = std::make_unique<ScriptedSocket>(clock_);
    server_socket_ = socket.get();
    server_socket_->port_taken = server_port_taken_;
    server_ = std::make_unique<sim::ServerModel>(server_options_, server_memory_);
    server_socket_->responder = [this](const ScriptedSocket::Sent& sent) {
      std::vector<ScriptedSocket::Reply> replies;
      std::string note;
      if (auto answer = server_->Answer(sent.bytes, 45010, note)) replies.push_back({*answer});
      return replies;
    };
    ui::ProgrammerSetup setup;
    setup.server_socket = std::move(socket);
    setup.environment = environment_;
    setup.port = std::move(port);
    setup.clock = &clock_;
    setup.prompter = &prompter_;
    setup.chooser = &chooser_;
    setup.record_presenter = &record_presenter_;
    if (!desktop_opener_) {
      setup.open_file = [this](const std::string& path, ui::OpenedCallback done) {
        opened_files_.push_back(path);
        done(open_file_works_);
      };
    }
    windows_ = std::make_unique<ui::ProgrammerWindows>(strings_, session_, std::move(setup));
    return *windows_;
  }

  std::string ProgramData() const {
    return environment_.data_folder + "/KEMB/VYN IP GSM Programmer (DE)/";
  }
  std::string ConfigFolder() const {
    return environment_.documents_folder + "/KEMB/VYN IP config/";
  }
  ui::TfrmEnterData& Editor() { return windows_->editor(); }

  // The box texts shown so far, and forgets them.
  std::vector<std::string> TakeBoxes() {
    std::vector<std::string> texts;
    for (const PromptEvent& box : prompter_.Boxes()) texts.push_back(box.text);
    prompter_.events.clear();
    return texts;
  }

  // Triggers the editor's menu item by its name.
  void Click(const char* item) {
    QAction* action = Editor().findChild<QAction*>(item);
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
  }

  TempFolder root_;
  StringTable strings_;
  StartupEnvironment environment_;
  Session session_;
  FakeClock clock_;
  ScriptedPrompter prompter_;
  FakeFileChooser chooser_;
  FakeRecordPresenter record_presenter_;
  ParameterImage unit_memory_{};
  sim::UnitOptions unit_options_;
  std::unique_ptr<sim::UnitModel> unit_;
  ScriptedPort* port_ = nullptr;
  sim::ServerOptions server_options_;
  ParameterImage server_memory_{};
  std::unique_ptr<sim::ServerModel> server_;
  ScriptedSocket* server_socket_ = nullptr;
  bool server_port_taken_ = false;         // another program holds the exchange's local port
  std::vector<std::string> opened_files_;  // handed to the desktop's program
  bool open_file_works_ = true;
  bool desktop_opener_ = false;  // the desktop's own opener (xdg-open on PATH) instead
  std::unique_ptr<ui::ProgrammerWindows> windows_;
};

}  // namespace vyn::testing

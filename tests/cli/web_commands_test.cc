// vynctl web-read and web-write against the configuration server simulator on loopback UDP.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/strings/message_ids.h"
#include "core/strings/string_table.h"
#include "platform/udp_socket.h"
#include "support/editor_stored.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/unit_sim_process.h"

namespace vyn {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing_support::BinPath;
using testing_support::ProgramRun;
using testing_support::RunProgram;
using testing_support::ServerSim;

std::string Text(int id) { return StringTable::Builtin().Text(id); }

std::string Pattern(unsigned factor) {
  std::string image(2048, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * factor + 7);
  return image;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A free local port for the programmer's side, so tests can run side by side.
std::uint16_t FreePort() {
  UdpSocket socket;
  return socket.Bind(0) ? socket.LocalPort() : 0;
}

class WebCommandsTest : public ::testing::Test {
 protected:
  WebCommandsTest() { folder_.Write("unit.bin", Pattern(13)); }

  // The simulator, quick to let the unit call, expecting our local port.
  std::unique_ptr<ServerSim> StartServer(const std::string& scenario,
                                         std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--port",        "0",
                                     "--scenario",    scenario,
                                     "--memory",      folder_.File("unit.bin"),
                                     "--log",         folder_.File("sim.log"),
                                     "--client-port", std::to_string(local_port_),
                                     "--unit-after",  "0",
                                     "--unit-polls",  "1",
                                     "--password",    "secret"};
    args.insert(args.end(), extra.begin(), extra.end());
    auto sim = std::make_unique<ServerSim>(args);
    EXPECT_NE(sim->port(), 0);
    return sim;
  }
  ProgramRun Vynctl(const ServerSim& sim, std::vector<std::string> args,
                    const std::string& password = "secret") const {
    args.insert(args.begin(), BinPath("vynctl"));
    for (const std::string& a :
         {std::string("--serial"), std::string("1234"), std::string("--password"), password,
          std::string("--server"), "127.0.0.1:" + std::to_string(sim.port()),
          std::string("--local-port"), std::to_string(local_port_), std::string("--data-dir"),
          folder_.File("data")}) {
      args.push_back(a);
    }
    return RunProgram(args);
  }
  // The simulator's log once it has ended.
  std::string Log(ServerSim& sim) {
    sim.Stop();
    return TempFolder::Read(folder_.File("sim.log"));
  }

  TempFolder folder_;
  std::uint16_t local_port_ = FreePort();
};

TEST_F(WebCommandsTest, ReadOk) {
  auto sim = StartServer("read-ok");
  const ProgramRun run = Vynctl(*sim, {"web-read", "-o", folder_.File("out.Rodid")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TempFolder::Read(folder_.File("out.Rodid")), Pattern(13));
  // The status texts as they change, the percentage included, then the box.
  EXPECT_TRUE(Contains(run.err, Text(msg::kServerDownloading) + " 99 %")) << run.err;
  EXPECT_TRUE(Contains(run.err, "vynctl web-read: " + Text(msg::kReadComplete) + "\n")) << run.err;
  const std::string log = Log(*sim);
  EXPECT_FALSE(Contains(log, "VIOLATION")) << log;
  EXPECT_TRUE(Contains(log, "ID:Prog_4001234,")) << log;  // the edition's country entry
  EXPECT_TRUE(Contains(log, "0 violations, 1 exchanges completed")) << log;
}

TEST_F(WebCommandsTest, WriteOk) {
  const std::string file = folder_.Write("config.Rodid", Pattern(29));
  folder_.Write("sip_numbers_new.txt", "new list");
  auto sim = StartServer("write-ok");
  const ProgramRun run =
      Vynctl(*sim, {"web-write", file, "--country", "0", "--sip-dir", folder_.Path().string()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, Text(msg::kServerUploading) + " 99 %")) << run.err;
  EXPECT_TRUE(Contains(run.err, Text(msg::kProgrammingComplete))) << run.err;
  const std::string log = Log(*sim);
  EXPECT_FALSE(Contains(log, "VIOLATION")) << log;
  EXPECT_TRUE(Contains(log, "ID:Prog_1234,")) << log;
  // The file went through the editor's load and store, as the window would send it.
  ParameterImage pattern;
  const std::string bytes = Pattern(29);
  std::copy(bytes.begin(), bytes.end(), pattern.begin());
  const ParameterImage sent = testing_support::EditorStored(pattern, BinPath("Values.i"));
  EXPECT_EQ(TempFolder::Read(folder_.File("unit.bin")), std::string(sent.begin(), sent.end()));
  EXPECT_EQ(sent[0x161], 5);
  EXPECT_EQ(TempFolder::Read(folder_.File("sip_numbers.txt")), "new list");
}

TEST_F(WebCommandsTest, WrongPassword) {
  auto sim = StartServer("read-ok");
  const ProgramRun run = Vynctl(*sim, {"web-read", "-o", folder_.File("out.Rodid")}, "guess");
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(Contains(run.err, Text(msg::kServerWrongPassword))) << run.err;
  EXPECT_TRUE(Contains(run.err, "vynctl web-read: " + Text(msg::kWriteFailed) + "\n")) << run.err;
  EXPECT_FALSE(fs::exists(folder_.File("out.Rodid")));
  const std::string log = Log(*sim);
  EXPECT_TRUE(Contains(log, "Error in password guess")) << log;
  EXPECT_TRUE(Contains(log, "Cancel config load")) << log;
  EXPECT_FALSE(Contains(log, "VIOLATION")) << log;
}

TEST_F(WebCommandsTest, BusyThenIdle) {
  auto sim = StartServer("busy-then-idle", {"--busy-polls", "1"});
  const ProgramRun run = Vynctl(*sim, {"web-read", "-o", folder_.File("out.Rodid")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, Text(msg::kServerBusy))) << run.err;
  EXPECT_EQ(TempFolder::Read(folder_.File("out.Rodid")), Pattern(13));
  const std::string log = Log(*sim);
  EXPECT_EQ(Count(log, "Read VYN IP config"), 2) << log;
  EXPECT_FALSE(Contains(log, "VIOLATION")) << log;
}

TEST_F(WebCommandsTest, FailuresBeforeTheExchange) {
  auto sim = StartServer("silent");
  // The local port is taken.
  UdpSocket taken;
  ASSERT_TRUE(taken.Bind(local_port_));
  ProgramRun run = Vynctl(*sim, {"web-read", "-o", folder_.File("out.Rodid")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(Contains(run.err, "local UDP port " + std::to_string(local_port_) + " is in use"))
      << run.err;

  // A server name that cannot be resolved ends the exchange at once.
  run = RunProgram({BinPath("vynctl"), "web-read", "-o", folder_.File("out.Rodid"), "--serial", "1",
                    "--password", "x", "--server", "no-such-host.invalid", "--local-port",
                    std::to_string(FreePort()), "--data-dir", folder_.File("data")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(Contains(run.err, "Server no-such-host.invalid nicht gefunden")) << run.err;
  EXPECT_FALSE(fs::exists(folder_.File("out.Rodid")));

  // A file that is no image is never sent.
  run = Vynctl(*sim, {"web-write", folder_.Write("bad.Rodid", "short")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(Contains(run.err, Text(msg::kCannotLoadConfiguration))) << run.err;
  EXPECT_FALSE(Contains(Log(*sim), "ID:Prog_"));
}

TEST_F(WebCommandsTest, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"web-read", "--serial", "1", "--password", "p"},                // no -o
      {"web-read", "-o", "x", "--password", "p"},                      // no serial
      {"web-read", "-o", "x", "--serial", "12ab", "--password", "p"},  // not a number
      {"web-read", "-o", "x", "--serial", "1"},                        // no password
      {"web-read", "-o", "x", "--serial", "1", "--password", std::string(33, 'p')},
      {"web-read", "-o", "x", "--serial", "1", "--password", "p", "--country", "6"},
      {"web-read", "-o", "x", "--serial", "1", "--password", "p", "--server", "h:0"},
      {"web-read", "-o", "x", "--serial", "1", "--password", "p", "--local-port", "70000"},
      {"web-write", "--serial", "1", "--password", "p"},  // no file
  };
  for (std::vector<std::string> args : cases) {
    args.insert(args.begin(), BinPath("vynctl"));
    args.push_back("--data-dir");
    args.push_back(folder_.File("data"));
    const ProgramRun run = RunProgram(args);
    EXPECT_EQ(run.exit_code, 2) << args[1] << " " << args[2] << " " << run.err;
    EXPECT_TRUE(Contains(run.err, "usage: vynctl web-")) << run.err;
  }
}

}  // namespace
}  // namespace vyn

#include "core/server/server_settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vyn {
namespace {

TEST(ServerSettingsTest, AddressTexts) {
  const struct {
    const char* text;
    const char* host;  // null: not valid
    int port;
  } cases[] = {
      {"config.example.net", "config.example.net", 46000},
      {"127.0.0.1:46001", "127.0.0.1", 46001},
      {"localhost:65535", "localhost", 65535},
      {"host:", nullptr, 0},
      {"host:0", nullptr, 0},
      {"host:65536", nullptr, 0},
      {"host:12a", nullptr, 0},
      {"host:+12", nullptr, 0},
      {":46000", nullptr, 0},
      {"", nullptr, 0},
  };
  for (const auto& c : cases) {
    const std::optional<ServerAddress> address = ParseServerAddress(c.text);
    ASSERT_EQ(address.has_value(), c.host != nullptr) << c.text;
    if (!address) continue;
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
  }
}

TEST(ServerSettingsTest, OverrideThenSettingsFileThenBuiltIn) {
  testing::TempFolder folder;
  const VynIni none(folder.File("missing.ini"));
  EXPECT_EQ(ConfiguredServer(none, "")->host, kDefaultServerHost);
  EXPECT_EQ(ConfiguredServer(none, "other:47000")->port, 47000);

  const VynIni settings(folder.Write("Values.ini", "[Server]\nHost=server.lan:46002\n"));
  EXPECT_EQ(ConfiguredServer(settings, "")->host, "server.lan");
  EXPECT_EQ(ConfiguredServer(settings, "")->port, 46002);
  EXPECT_EQ(ConfiguredServer(settings, "127.0.0.1")->host, "127.0.0.1");
  EXPECT_FALSE(ConfiguredServer(settings, "bad:port").has_value());

  // The delivered settings file names a placeholder host on the standard port.
  const VynIni delivered(VYN_SOURCE_DIR "/data/Values.ini");
  const std::optional<ServerAddress> address = ConfiguredServer(delivered, "");
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(address->host, kDefaultServerHost);
  EXPECT_EQ(address->port, kServerPort);
}

TEST(ServerSettingsTest, DiagnosticFolder) {
  testing::TempFolder folder;
  EXPECT_EQ(DiagnosticFolder(VynIni(folder.File("missing.ini")), "/data/"), "/data/vyn_ip_server");
  const VynIni settings(folder.Write("Values.ini", "[Server]\nDiagnosticFolder=/srv/test/\n"));
  EXPECT_EQ(DiagnosticFolder(settings, "/data/"), "/srv/test");
  EXPECT_EQ(DiagnosticFolder(VynIni(VYN_SOURCE_DIR "/data/Values.ini"), "/data/"),
            "/data/vyn_ip_server");
}

}  // namespace
}  // namespace vyn

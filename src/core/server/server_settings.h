#pragma once

// Where the web commands find the configuration server and where the diagnostic commands
// exchange their files: settings of the build in the settings file, which the environment
// (VYN_SERVER) or vynctl's --server overrides.

#include <optional>
#include <string>
#include <string_view>

#include "core/server/server_exchange.h"
#include "core/settings/vyn_ini.h"

namespace vyn {

inline constexpr std::string_view kServerSection = "Server";
inline constexpr std::string_view kServerHostKey = "Host";
inline constexpr std::string_view kDiagnosticFolderKey = "DiagnosticFolder";
inline constexpr char kServerEnvironmentVariable[] = "VYN_SERVER";

// The host when the settings file names none (a settings file older than the web commands).
inline constexpr char kDefaultServerHost[] = "vyn-config.example.com";
// The diagnostic folder's name under the program data folder when the settings file names no
// folder.
inline constexpr char kDiagnosticFolderName[] = "vyn_ip_server";

// "HOST" or "HOST:PORT", the port 1 to 65535 (46000 when not given). Nullopt for an empty host
// or a port that is not such a number.
std::optional<ServerAddress> ParseServerAddress(std::string_view text);

// The server of the web commands: `override_text` (VYN_SERVER or --server) when it is not
// empty, else the settings file's Host, else the built-in default. Nullopt when the text that
// decides is not a valid address.
std::optional<ServerAddress> ConfiguredServer(const VynIni& settings,
                                              std::string_view override_text);

// The settings file's DiagnosticFolder, else "vyn_ip_server" in the program data folder (which
// ends with "/"); never with a trailing separator.
std::string DiagnosticFolder(const VynIni& settings, const std::string& program_data_folder);

}  // namespace vyn

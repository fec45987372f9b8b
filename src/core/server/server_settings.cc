#include "core/server/server_settings.h"

#include "core/files/path_text.h"

namespace vyn {

std::optional<ServerAddress> ParseServerAddress(std::string_view text) {
  ServerAddress address;
  const std::size_t colon = text.rfind(':');
  address.host = std::string(text.substr(0, colon));
  if (colon != std::string_view::npos) {
    const std::string_view port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const char c : port) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    address.port = static_cast<std::uint16_t>(value);
  }
  if (address.host.empty()) return std::nullopt;
  return address;
}

std::optional<ServerAddress> ConfiguredServer(const VynIni& settings,
                                              std::string_view override_text) {
  if (!override_text.empty()) return ParseServerAddress(override_text);
  const std::string configured = settings.ReadText(kServerSection, kServerHostKey);
  return ParseServerAddress(configured.empty() ? kDefaultServerHost : configured);
}

std::string DiagnosticFolder(const VynIni& settings, const std::string& program_data_folder) {
  std::string folder = settings.ReadText(kServerSection, kDiagnosticFolderKey);
  if (folder.empty()) folder = program_data_folder + kDiagnosticFolderName;
  return WithoutTrailingSeparator(folder);
}

}  // namespace vyn

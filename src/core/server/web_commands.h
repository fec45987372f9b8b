#pragma once

// The detailed editor's commands that run a server exchange: reading the image from the unit
// and writing it to the unit through the configuration server. The exchange dialog comes in as
// a function, so vynctl runs the same commands with the entries of its command line.

#include <filesystem>
#include <functional>

#include "core/editor/editor_hooks.h"
#include "core/image/vyn_data.h"
#include "core/server/server_exchange.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"

namespace vyn {

struct WebCommandContext {
  VynData& data;
  ServerExchange& exchange;
  Prompter& prompter;
  const StringTable& strings;
  // The run's session, whose backup folder receives every image read; null: no backup.
  Session* session = nullptr;
};

// Clears the dialog's entries, shows it modally and returns whether it closed with OK (the
// exchange succeeded).
using ExchangeDialog = std::function<bool()>;

enum class WebCommandResult {
  kDone,                   // the dialog closed with OK
  kCancelled,              // the dialog closed with Cancel
  kDuplicateTransmitters,  // 15100
  kStoreFailed,            // 15101..15103
};

// The steps before every server write: the SIP number list step in `sip_list_folder` and the
// duplicate transmitter check; false after message 15100.
bool PrepareServerWrite(const std::filesystem::path& sip_list_folder, const EditorHooks& hooks,
                        Prompter& prompter, const StringTable& strings);
// The pages into the working image; false after message 15101, 15102 or 15103.
bool StoreControlsOrReport(const EditorHooks& hooks, Prompter& prompter,
                           const StringTable& strings);

// mnuCommReadWebClick: a reading exchange; after OK the transfer buffer becomes the working and
// the reference image and goes into the pages (message 15023 for a byte they cannot show).
// Origin and title stay as they were.
WebCommandResult CommReadWeb(const WebCommandContext& context, const EditorHooks& hooks,
                             const ExchangeDialog& dialog);

// mnuCommWriteWebClick: the SIP number list step in `sip_list_folder`, the duplicate check, the
// pages into the working image, which then fills the transfer buffer and the reference image,
// and a writing exchange.
WebCommandResult CommWriteWeb(const WebCommandContext& context, const EditorHooks& hooks,
                              const std::filesystem::path& sip_list_folder,
                              const ExchangeDialog& dialog);

}  // namespace vyn

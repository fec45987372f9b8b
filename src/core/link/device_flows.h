#pragma once

// The device operations of the detailed editor: reading the image from the unit and writing it
// to the unit through the Zix, with the readiness handshake and the memory mode selection that
// every flow transferring the image shares.

#include <filesystem>
#include <functional>
#include <optional>

#include "core/editor/editor_hooks.h"
#include "core/image/vyn_data.h"
#include "core/link/clock.h"
#include "core/link/zix_link.h"
#include "core/session/prompter.h"
#include "core/session/session.h"
#include "core/strings/string_table.h"

namespace vyn {

// Readiness polling: six acknowledged "O" polls, 100 ms apart, at most this many cycles.
inline constexpr int kReadyAcknowledgements = 6;
inline constexpr int kReadCycleLimit = 25;
inline constexpr int kWriteCycleLimit = 200;
inline constexpr std::uint32_t kReadyPauseMs = 100;

// The fixed English question of the write plan (not from the string table).
inline constexpr char kPasswordChangeQuestion[] = "Are you sure that password should be changed?";

// The SIP number list of the SIP auto-fill and its successor, which the write puts in its place.
inline constexpr char kSipNumbersFile[] = "sip_numbers.txt";
inline constexpr char kSipNumbersNewFile[] = "sip_numbers_new.txt";

// What a flow needs of the window it runs for.
struct DeviceFlowContext {
  VynData& data;
  Session& session;
  ZixLink& link;
  Prompter& prompter;
  EventPump& pump;
  Clock& clock;
  const StringTable& strings;
};

// Polls "O" until the sixth acknowledgement (the counter is never reset), putting message 15040
// in the status line in every other cycle, and runs `operation` in the cycle of the sixth.
// Every cycle, the last one too, ends with a pause of 100 ms. When `cycle_limit` cycles pass
// without it, message 15008 goes to the status line and an error box; false then.
// Each waiting cycle lets the window paint its status text.
bool WaitUntilReady(const DeviceFlowContext& context, int cycle_limit,
                    const std::function<void()>& operation);

// The memory size from the unit's memory kind, with the link's addressing mode set for it:
// extended with 2048 bytes, or normal with 512 or 2048. Nullopt for a kind no flow supports
// (1024 bytes) or no answer.
std::optional<int> SelectMemoryMode(ZixLink& link);

enum class DeviceFlowResult {
  kDone,                   // read and loaded, or written and verified
  kZixNotFound,            // 15009
  kZixTooOld,              // 15560
  kUnitNotReady,           // 15008
  kUnsupportedMemory,      // 15570
  kReadFailed,             // 13806
  kDuplicateTransmitters,  // 15100
  kStoreFailed,            // 15101..15103
  kWriteFailed,            // 15006
  kVerifyFailed,           // 15005
};

// The editor's read from the unit (mnuCommReadClick): into data.DeviceImage, then, when every
// block arrived, into WorkingImage and ReferenceImage and the pages. The image then counts as
// read from the unit (origin ReadFromUnit, not the short layout). A byte the pages cannot show
// is reported with message 15023, and the read still counts as done.
// A Zix that does not answer the version request is not found (15009); one that answers with
// a firmware too old or of another product gets 15560.
DeviceFlowResult CommRead(const DeviceFlowContext& context, const EditorHooks& hooks);

// The editor's write to the unit (mnuCommWriteClick): the SIP number list step in
// `sip_list_folder`, the duplicate check, the pages into WorkingImage, the write with its plan
// and the verifying read-back into DeviceImage.
DeviceFlowResult CommWrite(const DeviceFlowContext& context, const EditorHooks& hooks,
                           const std::filesystem::path& sip_list_folder);

// Puts "sip_numbers_new.txt" of `folder` in the place of "sip_numbers.txt". The rename
// replaces the old list in one step, so a failure leaves the old list where it was.
void PromoteSipNumberList(const std::filesystem::path& folder);

}  // namespace vyn

#include "core/link/write_plan.h"

#include <algorithm>

namespace vyn {
namespace {

// Product data, calibration and service values that only the manufacturer's level changes.
constexpr AddressRange kManufacturerRanges[] = {
    {0x0FD, 0x0FF}, {0x1F0, 0x1F5}, {0x0F7, 0x0FC}, {0x100, 0x102}, {0x149, 0x152}, {0x160, 0x160},
    {0x163, 0x17F}, {0x181, 0x184}, {0x1F7, 0x1F7}, {0x400, 0x43F}, {0x450, 0x453},
};
// Areas that the levels from 2 upward may change.
constexpr AddressRange kInstallerRanges[] = {
    {0x360, 0x3FF}, {0x460, 0x466}, {0x46D, 0x4DF}, {0x500, 0x5AF}, {0x7A0, 0x7A1},
};
constexpr std::size_t kPasswordLength = 16;

std::span<const std::uint8_t> PasswordText(std::span<const std::uint8_t> field) {
  field = field.first(std::min(field.size(), kPasswordLength));
  return field.first(static_cast<std::size_t>(
      std::find(field.begin(), field.end(), std::uint8_t{0}) - field.begin()));
}

std::span<std::uint8_t> Bytes(ParameterImage& image, AddressRange range) {
  return std::span(image).subspan(static_cast<std::size_t>(range.first),
                                  static_cast<std::size_t>(range.size()));
}

}  // namespace

std::vector<WritePlanStep> MakeWritePlan(const Session& session) {
  std::vector<WritePlanStep> plan;
  const int level = session.AccessLevel;
  if (level != 6) {
    for (AddressRange r : kManufacturerRanges)
      plan.push_back({r, WritePlanStepKind::kKeepUnitBytes});
  }
  const bool may_change_password = (level == 4 || level == 6) && !session.FirmwareUpdateActive;
  plan.push_back({kAccessPasswordRange, may_change_password ? WritePlanStepKind::kDecidePassword
                                                            : WritePlanStepKind::kKeepUnitBytes});
  if (level < 2) {
    for (AddressRange r : kInstallerRanges) plan.push_back({r, WritePlanStepKind::kKeepUnitBytes});
  }
  if (session.PinNotEntered) plan.push_back({kSimPinRange, WritePlanStepKind::kKeepUnitBytes});
  return plan;
}

PasswordDecision DecidePassword(std::span<const std::uint8_t> unit_password,
                                std::span<const std::uint8_t> image_password,
                                bool change_confirmed) {
  const auto unit = PasswordText(unit_password);
  const auto image = PasswordText(image_password);
  if (std::equal(unit.begin(), unit.end(), image.begin(), image.end())) {
    return PasswordDecision::kKeepUnitPassword;
  }
  return change_confirmed ? PasswordDecision::kWriteImagePassword : PasswordDecision::kAsk;
}

void RefreshProtectedRanges(ZixLink& link, Session& session, ParameterImage& image,
                            const ConfirmPasswordChange& confirm) {
  for (const WritePlanStep& step : MakeWritePlan(session)) {
    if (step.kind == WritePlanStepKind::kKeepUnitBytes) {
      link.ReadRange(image, step.range.first, step.range.last);
      continue;
    }
    // The unit's password goes into a scratch copy first; a block that cannot be read there
    // keeps the image's bytes and so compares equal.
    ParameterImage unit = image;
    link.ReadRange(unit, step.range.first, step.range.last);
    PasswordDecision decision = DecidePassword(Bytes(unit, step.range), Bytes(image, step.range),
                                               session.PasswordChangeConfirmed);
    if (decision == PasswordDecision::kAsk) {
      const bool ok = confirm && confirm();
      if (ok) session.PasswordChangeConfirmed = true;
      decision = ok ? PasswordDecision::kWriteImagePassword : PasswordDecision::kKeepUnitPassword;
    }
    if (decision == PasswordDecision::kKeepUnitPassword) {
      const auto from = Bytes(unit, step.range);
      std::copy(from.begin(), from.end(), Bytes(image, step.range).begin());
    }
  }
}

LinkResult WriteRangeWithPlan(ZixLink& link, Session& session, ParameterImage& image, int first,
                              int last, const ConfirmPasswordChange& confirm) {
  RefreshProtectedRanges(link, session, image, confirm);
  return link.WriteRange(image, first, last);
}

}  // namespace vyn

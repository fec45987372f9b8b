#pragma once

#include <functional>
#include <span>
#include <vector>

#include "core/image/field_catalogue.h"
#include "core/image/parameter_image.h"
#include "core/link/zix_link.h"
#include "core/session/session.h"

namespace vyn {

// Before an image is written to the unit, the ranges the access level protects are taken from
// the unit into the image, so the write leaves them as they are.
enum class WritePlanStepKind {
  kKeepUnitBytes,   // read the unit's bytes into the image
  kDecidePassword,  // compare the passwords; the user may let the image's password be written
};

struct WritePlanStep {
  AddressRange range;
  WritePlanStepKind kind;
};

// The steps in the order they are carried out, for the access level and run flags of
// `session`: product data and service values unless the level is 6, the password, the
// installer's areas below level 2, the GSM PIN when none was entered.
std::vector<WritePlanStep> MakeWritePlan(const Session& session);

enum class PasswordDecision { kKeepUnitPassword, kWriteImagePassword, kAsk };

// The unit's and the image's password ranges, compared as texts of at most 16 bytes up to
// their first 0 byte.
PasswordDecision DecidePassword(std::span<const std::uint8_t> unit_password,
                                std::span<const std::uint8_t> image_password,
                                bool change_confirmed);

// Asks "Are you sure that password should be changed?"; true for OK.
using ConfirmPasswordChange = std::function<bool()>;

// Carries out the plan on `image` through an open link. Read failures are not reported: a
// block that cannot be read keeps the image's own bytes, which are then written. Sets
// session.PasswordChangeConfirmed when the user confirms the question.
void RefreshProtectedRanges(ZixLink& link, Session& session, ParameterImage& image,
                            const ConfirmPasswordChange& confirm);

// The whole write of a range as the flows do it: the refresh of the protected ranges (every
// time, also when the range does not touch them), then the blocks of `first`..`last`.
LinkResult WriteRangeWithPlan(ZixLink& link, Session& session, ParameterImage& image, int first,
                              int last, const ConfirmPasswordChange& confirm);

}  // namespace vyn

#pragma once

// The call numbers page's algorithms: the six numbers through the number pool, the two-part
// numbers of the protocols 25 and 28, and the row layout a protocol code asks for.

#include "core/editor/form/binding.h"

namespace vyn {

inline constexpr int kCallRows = 6;  // A, B, C, D, N, V

// The protocol codes whose numbers come in two parts; 28 also offers the call-back.
inline constexpr int kTwoPartProtocol = 25;
inline constexpr int kCallBackProtocol = 28;

// The names of one call row's controls ("A".."V"; the number labels of N and V end in
// NightMode and Redirection).
struct CallRowNames {
  std::string number;        // edtTelephoneNoA
  std::string part1;         // edtTelephoneNoAMptp1
  std::string part2;         // edtTelephoneNoAMptp2
  std::string number_label;  // lblTelephoneNumberA
  std::string description;   // lblTelephoneNumberADescr
  std::string alarm_code;    // edtAlarmCodeA
  std::string alarm_code_label;
  std::string protocol;  // cbbxProtocolA
  std::string protocol_label;
  std::string attempts;  // edtCallAttemptsA
  std::string attempts_label;
  std::string attempts_updown;  // udCallAttemptsA
  std::string call_back;        // cbCallBackA
  std::string account;          // cbbxAccountToUseA
  std::string account_label;
};
CallRowNames CallRow(int row);

// The row's layout for its protocol list's selected code.
void ApplyProtocolLayout(EditorForm& form, int row);

// LoadControls' part: the numbers into the boxes (after the protocol lists are loaded).
void LoadTelephoneNumbers(EditorContext& context, const VynData& data, LoadReport& report);
// StoreControls' part: the number and ID-number area filled, the pool rewritten from its
// start, the six numbers stored in row order. A number that does not fit gives result 1.
void StoreTelephoneNumbers(EditorContext& context, VynData& target, StoreOutcome& outcome);

}  // namespace vyn

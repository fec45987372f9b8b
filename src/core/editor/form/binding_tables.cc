// The rows of the editor's pages. Families of like controls (the eight transmitter positions,
// the six call rows, the sixteen sequence steps) are written as one row in a loop.

#include <unordered_map>
#include <utility>

#include "core/editor/form/advanced_grid.h"
#include "core/editor/form/binding.h"
#include "core/editor/form/call_numbers.h"
#include "core/editor/form/handlers.h"
#include "core/image/field_catalogue.h"
#include "core/settings/vyn_ini.h"

namespace vyn {
namespace {

using K = ControlKind;
using A = Adapter;

class Rows {
 public:
  explicit Rows(std::string page) : page_(std::move(page)) {}

  ControlBinding& Add(std::string name, K kind) {
    ControlBinding row;
    row.name = std::move(name);
    row.page = page_;
    row.kind = kind;
    rows_.push_back(std::move(row));
    return rows_.back();
  }
  ControlBinding& Group(std::string name, int caption_id) {
    ControlBinding& row = Add(std::move(name), K::kGroup);
    row.caption_id = caption_id;
    return row;
  }
  ControlBinding& Label(std::string name, int caption_id) {
    ControlBinding& row = Add(std::move(name), K::kLabel);
    row.caption_id = caption_id;
    return row;
  }
  ControlBinding& Edit(std::string name, int max_length, std::string field, A adapter) {
    ControlBinding& row = Add(std::move(name), K::kEdit);
    row.max_length = max_length;
    row.field = std::move(field);
    row.adapter = adapter;
    return row;
  }
  ControlBinding& Check(std::string name, int caption_id, std::string field, A adapter) {
    ControlBinding& row = Add(std::move(name), K::kCheckBox);
    row.caption_id = caption_id;
    row.field = std::move(field);
    row.adapter = adapter;
    return row;
  }
  ControlBinding& List(std::string name, std::string field, std::string_view section,
                       A adapter) {
    ControlBinding& row = Add(std::move(name), K::kComboBox);
    row.field = std::move(field);
    row.list_section = std::string(section);
    row.adapter = adapter;
    return row;
  }
  // An up-down control beside its edit box.
  ControlBinding& UpDown(std::string name, std::string associate, int min, int max) {
    ControlBinding& row = Add(std::move(name), K::kUpDown);
    row.associate = std::move(associate);
    row.min = min;
    row.max = max;
    row.handler = udClick;
    return row;
  }
  ControlBinding& Button(std::string name, int caption_id) {
    ControlBinding& row = Add(std::move(name), K::kButton);
    row.caption_id = caption_id;
    return row;
  }
  std::vector<ControlBinding> Take() { return std::move(rows_); }

 private:
  std::string page_;
  std::vector<ControlBinding> rows_;
};

ControlBinding& Labelled(ControlBinding& row, std::string label, int label_id,
                         std::string suffix = {}) {
  row.label = std::move(label);
  row.label_id = label_id;
  row.label_suffix = std::move(suffix);
  return row;
}

ControlBinding& Handled(ControlBinding& row, ControlHandler handler) {
  row.handler = handler;
  return row;
}

std::string Number(int n) { return std::to_string(n); }
std::string Letter(int i) { return std::string(1, kNumberLetters[i]); }

// ---- Alarm sources: eight transmitter positions, the alarm source boxes, the extra button.
std::vector<ControlBinding> AlarmSourcesRows() {
  Rows r("tbshtAlarmSources");
  r.Group("gbxRadioAlarms", 13111);
  r.Group("gbxInternal", 13112);
  r.Group("gbxButtons", 13113);
  r.Group("gbxAdditional", 13114);
  r.Label("lblRadioTestAlarm", 13238);  // the supervision boxes' column heading
  for (int n = 1; n <= kTransmitterPositions; ++n) {
    const std::string suffix = " " + Number(n);
    ControlBinding& code =
        r.Edit("edtRadioPos" + Number(n), 4, "TransmitterCode." + Number(n), A::kTransmitterCode);
    Labelled(code, "lblRadioPos" + Number(n), 13140, suffix).key_filter = KeyFilter::kRadio;
    r.Button("btnReceive" + Number(n), 13501);
    r.Button("bbtnInfoRadioPos" + Number(n), 0);
    ControlBinding& type = r.List("cbbxAlarmTypePos" + Number(n),
                                  "TransmitterAlarmType." + Number(n), kAlarmTypeSection,
                                  A::kListReported);
    Labelled(type, "lblAlarmTypePos" + Number(n), 13141, suffix).tag = n;
    Handled(type, cbbxAlarmTypePosNSelect);
    ControlBinding& test = r.Check("cbTestRadioPos" + Number(n), 0, "RadioTestBits", A::kBit);
    test.bit = n - 1;
    test.tag = n;
    test.store_when_visible = "lblRadioTestAlarm";
    Handled(test, cbTestRadioPosClick);
    ControlBinding& location = r.Edit("edtLocationCode" + Number(n), 4,
                                      "LocationCode." + Number(n), A::kDecimalByte);
    location.key_filter = KeyFilter::kRadio;
    location.label = "lblLocationPos" + Number(n);
    location.label_text = "Location pos." + suffix;  // the form's own caption
  }
  struct Source {
    const char* name;
    int caption_id;
    const char* definition;
  };
  static constexpr Source kSources[] = {
      // internal
      {"cbTestAlarm", 13601, "TestAlarm"},
      {"cbMainsFailure", 13602, "MainsFailureAlarm"},
      {"cbMainsOK", 13603, "MainsOkIndication"},
      {"cbAccumulator", 13604, "AccumulatorAlarm"},
      {"cbRadioInterference", 13606, "RadioInterferenceAlarm"},
      {"cbRadioOutOfRange", 13612, "RadioOutOfRange"},
      {"cbRadioWithinRange", 13613, "RadioWithinRange"},
      {"cbEmergencyAlarm", 13615, "AccumulatorFull"},
      {"cbRoamingAlarm", 13512, "RoamingAlarm"},
      {"cbNetworkFailureAlarm", 13510, "NetworkFailure"},
      {"cbNetworkReturnAlarm", 13511, "NetworkReturn"},
      // buttons
      {"cbFrontButton", 13607, "UserAlarmFromButton"},
      // additional
      {"cbReminder", 13608, "ReminderAlarm"},
      {"cbPassive", 13609, "PassiveAlarm"},
      {"cbAssistance", 13610, "AssistanceAlarm"},
      {"cbLogCall", 13611, "LogCall"},
      {"cbAutoReady", 13605, "AutoReadyIndication"},
      {"cbInactivity", 13614, "AwayIndication"},
      {"cbCarpetAlarm", 13616, "HomeIndication"},
      {"cbAssaultAlarm", 13617, "BurglarAlarm"},
  };
  for (const Source& source : kSources) {
    r.Check(source.name, source.caption_id, std::string("AlarmTypeDefinition.") + source.definition,
            A::kActiveBit7);
  }
  Labelled(r.List("cbbxAlarmTypeExtraButton", "ExtraButtonAlarmType", kAlarmTypeSection,
                  A::kListReported),
           "lblExtraButtonAlarmType", 13142);
  return r.Take();
}

// ---- Sequences: the sequence of each alarm type group, four sequences of four steps, cycles.
std::vector<ControlBinding> SequencesRows() {
  Rows r("tbshtSequences");
  r.Group("gbxSequenceForAlarmTypeGroups", 13115);
  r.Group("gbxSequenceDefinitions", 13116);
  for (int s = 1; s <= 4; ++s) r.Group("gbxSequence" + Number(s), 13116 + s);
  r.Group("gbxCycles", 13121);
  struct Group {
    const char* stem;  // cbbx<stem>, lbl<stem>
    const char* field;
  };
  static constexpr Group kGroups[] = {
      {"UserAlarms", "User"},          {"ExternalAlarms", "External"},
      {"PowerAlarms", "Technical"},    {"SmokeDetectorAlarm", "SmokeDetector"},
      {"AssaultAlarms", "Burglar"},    {"PresenceAlarms", "Staff"},
      {"TestAlarm", "Test"},           {"EmergencyAlarm", "UserActivity"},
      {"AssistanceAlarm", "Assistance"}, {"UserDefinedAlarm", "UserDefined"},
  };
  for (int g = 0; g < 10; ++g) {
    ControlBinding& list = r.List(std::string("cbbx") + kGroups[g].stem,
                                  std::string("SequenceNumber.") + kGroups[g].field,
                                  kSequenceNumberSection, A::kListReported);
    Labelled(list, std::string("lbl") + kGroups[g].stem, 13143 + g).hint_id = 13702 + g;
  }
  for (int s = 1; s <= 4; ++s) {
    for (int t = 1; t <= 4; ++t) {
      r.List("cbbxSequence" + Number(s) + "_" + Number(t),
             "CallSequence." + Number(s) + "." + Number(t), kCallSequenceSection,
             A::kListReported);
    }
  }
  Handled(Labelled(r.Edit("edtRepeatSequence", 3, "RepeatSequence", A::kDecimalByte),
                   "lblRepeatSequence", 13153),
          edtCheck_0_to_255_Value);
  r.UpDown("udRepeatSequence", "edtRepeatSequence", 0, 255);
  Handled(Labelled(r.Edit("edtMaxNoCallAttempts", 3, "MaxCallAttempts", A::kDecimalByte),
                   "lblMaxNoCallAttempts", 13154),
          edtCheck_0_to_255_Value);
  r.UpDown("udMaxNoCallAttempts", "edtMaxNoCallAttempts", 0, 255);
  return r.Take();
}

// ---- Call numbers: six rows A, B, C, D, N and V.
std::vector<ControlBinding> CallNumbersRows() {
  Rows r("tbshtCallNumbers");
  r.Group("gbxCallInformation", 13122);
  r.Label("lblCallBack", 13179);  // the call-back column heading
  for (int i = 0; i < kCallRows; ++i) {
    const CallRowNames names = CallRow(i);
    Labelled(r.Edit(names.number, 100, "TelephoneNumber." + Letter(i), A::kTelephoneNumber),
             names.number_label, 21106 + 2 * i);
    // The two parts of the same number; the call numbers' algorithm converts them.
    Labelled(r.Edit(names.part1, 50, "", A::kNone), names.description, 21107 + 2 * i);
    r.Edit(names.part2, 50, "", A::kNone);
    ControlBinding& code =
        r.Edit(names.alarm_code, 16, "AlarmCode." + Letter(i), A::kAlarmCodeDigits);
    Labelled(code, names.alarm_code_label, 13161 + i).key_filter = KeyFilter::kAlarmCode;
    ControlBinding& protocol =
        r.List(names.protocol, "Protocol." + Letter(i), kProtocolSection, A::kListNotReported);
    Labelled(protocol, names.protocol_label, 13167 + i).tag = i;
    Handled(protocol, btnProtocolClick);
    Handled(Labelled(r.Edit(names.attempts, 3, "CallAttempts." + Letter(i), A::kDecimalByte),
                     names.attempts_label, 13173 + i),
            edtCallAttemptsChange);
    r.UpDown(names.attempts_updown, names.attempts, 0, 255);
    r.Check(names.call_back, 0, "CallBackFlags", A::kBit).bit = i;
    Labelled(r.List(names.account, "AccountToUse." + Letter(i), kAccountToUseSection,
                    A::kListNotReported),
             names.account_label, 21100 + i);
  }
  return r.Take();
}

// ---- Advanced: the line volumes and the grid.
std::vector<ControlBinding> AdvancedPageRows() {
  Rows r("tbshtAdvanced");
  r.Group("gbxAdvanced", 13110);
  static constexpr const char* kLevels[] = {"1", "2", "3", "Extra"};
  for (int i = 0; i < 4; ++i) {
    const std::string level = kLevels[i];
    ControlBinding& list = r.List("cbbxLineVolume" + level, "LineVolume." + level,
                                  kLineVolumeSection, A::kListReported);
    Labelled(list, "lblLineVolume" + level, 13239 + i).drop_down_lines = 9;
  }
  r.Add(kAdvancedGrid, K::kGrid).adapter = A::kAdvancedGrid;
  return r.Take();
}

std::vector<PageBinding> BuildPages() {
  std::vector<PageBinding> pages;
  pages.push_back({"tbshtAlarmSources", AlarmSourcesRows(), nullptr, nullptr, nullptr});
  pages.push_back({"tbshtSequences", SequencesRows(), nullptr, nullptr, nullptr});
  pages.push_back({"tbshtCallNumbers", CallNumbersRows(), nullptr, LoadTelephoneNumbers,
                   StoreTelephoneNumbers});
  // The pages of timers, call parameters, extended functions, configuration, IP and Misc add
  // their rows here, in this order.
  pages.push_back({"tbshtTimersAndIndications", {}, nullptr, nullptr, nullptr});
  pages.push_back({"tbshtCallParameters", {}, nullptr, nullptr, nullptr});
  pages.push_back({"tbshtExtendedFunctions", {}, nullptr, nullptr, nullptr});
  pages.push_back(
      {"tbshtAdvanced", AdvancedPageRows(), BuildAdvancedGrid, LoadAdvancedGrid, StoreAdvancedGrid});
  pages.push_back({"tbshtConfiguration", {}, nullptr, nullptr, nullptr});
  pages.push_back({"tbshtIp", {}, nullptr, nullptr, nullptr});
  pages.push_back({"tbshtMisc", {}, nullptr, nullptr, nullptr});
  return pages;
}

constexpr PendingControl kPending[] = {
    // Call parameters
    {"lblAutoAnswerDuration", "tbshtCallParameters"},
    {"edtAutoAnswerDuration", "tbshtCallParameters"},
    {"lblAutoAnswerDurationUnit", "tbshtCallParameters"},
    // Extended functions
    {"gbxUpdate", "tbshtExtendedFunctions"},
    {"lblAnswerRadioMessageWithAck", "tbshtExtendedFunctions"},
    {"cbbxAnswerRadioMessageWithAck", "tbshtExtendedFunctions"},
    {"edtCountry", "tbshtExtendedFunctions"},
    {"edtProductModel", "tbshtExtendedFunctions"},
    {"edtHwVersion", "tbshtExtendedFunctions"},
    {"edtSerialNumber", "tbshtExtendedFunctions"},
    // Configuration
    {"gbxConfiguration", "tbshtConfiguration"},
    {"gbxRadioConfiguration", "tbshtConfiguration"},
    {"lblPassword", "tbshtConfiguration"},
    {"edtPassword", "tbshtConfiguration"},
    {"edtRadioCalibration", "tbshtConfiguration"},
    {"edtRadioClass1Calibration", "tbshtConfiguration"},
    // IP: network, Ethernet
    {"cbNetworkEnable", "tbshtIp"},
    {"lblNetworkEnable", "tbshtIp"},
    {"lblMAC", "tbshtIp"},
    {"cbDhcpEnable", "tbshtIp"},
    {"lblDhcpEnable", "tbshtIp"},
    {"cbStaticIpEnable", "tbshtIp"},
    {"lblStaticIpEnable", "tbshtIp"},
    {"cbWanEnable", "tbshtIp"},
    {"lblWanEnable", "tbshtIp"},
    {"edtNtpServer", "tbshtIp"},
    {"lblNtpServer", "tbshtIp"},
    {"edtStunServer", "tbshtIp"},
    {"lblStunServer", "tbshtIp"},
    {"edtPingServer", "tbshtIp"},
    {"lblPingServer", "tbshtIp"},
    {"edtStaticIp1", "tbshtIp"},
    {"edtStaticIp2", "tbshtIp"},
    {"edtStaticIp3", "tbshtIp"},
    {"edtStaticIp4", "tbshtIp"},
    {"lblStaticIpAddr", "tbshtIp"},
    {"edtGatewayIp1", "tbshtIp"},
    {"edtGatewayIp2", "tbshtIp"},
    {"edtGatewayIp3", "tbshtIp"},
    {"edtGatewayIp4", "tbshtIp"},
    {"lblGatewayIpAddress", "tbshtIp"},
    {"edtDnsServerIp1", "tbshtIp"},
    {"edtDnsServerIp2", "tbshtIp"},
    {"edtDnsServerIp3", "tbshtIp"},
    {"edtDnsServerIp4", "tbshtIp"},
    {"lblDnsServerIpAddress", "tbshtIp"},
    {"edtNetworkMask1", "tbshtIp"},
    {"edtNetworkMask2", "tbshtIp"},
    {"edtNetworkMask3", "tbshtIp"},
    {"edtNetworkMask4", "tbshtIp"},
    {"lblSubnetMask", "tbshtIp"},
    // IP: SIP
    {"cbSipAccountEnable", "tbshtIp"},
    {"cbSip2AccountEnable", "tbshtIp"},
    {"lblSipAccountEnabled", "tbshtIp"},
    {"edtSipNumber", "tbshtIp"},
    {"edtSip2Number", "tbshtIp"},
    {"lblSipNumber", "tbshtIp"},
    {"edtSipServer", "tbshtIp"},
    {"edtSip2Server", "tbshtIp"},
    {"lblSipServer", "tbshtIp"},
    {"edtSipUserName", "tbshtIp"},
    {"edtSip2UserName", "tbshtIp"},
    {"lblSipUserName", "tbshtIp"},
    {"edtSipPassword2", "tbshtIp"},
    {"edtSip2Password2", "tbshtIp"},
    {"lblSipPassword", "tbshtIp"},
    {"cbOutboundProxyEnable", "tbshtIp"},
    {"lblOutboundProxyEnable", "tbshtIp"},
    {"edtOutboundProxy", "tbshtIp"},
    {"lblOutboundProxy", "tbshtIp"},
    {"edtMySipPort", "tbshtIp"},
    {"lblMySipPort", "tbshtIp"},
    {"edtRtpPort", "tbshtIp"},
    {"lblRtpPort", "tbshtIp"},
    {"btnSecondSipAccount", "tbshtIp"},
    {"edtSipExpire", "tbshtIp"},
    {"edtSip2Expire", "tbshtIp"},
    {"lblSipExpire", "tbshtIp"},
    {"edtSipServerPort", "tbshtIp"},
    {"edtSip2ServerPort", "tbshtIp"},
    {"lblSipServerPort", "tbshtIp"},
    {"cbCipPingEnable", "tbshtIp"},
    {"cbCip2PingEnable", "tbshtIp"},
    {"lblCipPingEnable", "tbshtIp"},
    {"btnAutoFillSip", "tbshtIp"},
    {"btnAutoFillSip2", "tbshtIp"},
    {"btnClearSip", "tbshtIp"},
    {"btnClearSip2", "tbshtIp"},
    // IP: server registration
    {"cbWsEnable", "tbshtIp"},
    {"lblWsEnable", "tbshtIp"},
    {"edtWs", "tbshtIp"},
    {"lblWs", "tbshtIp"},
    {"edtWsPort", "tbshtIp"},
    // Misc
    {"edtSip2Password", "tbshtMisc"},
};

constexpr UnboundField kUnbound[] = {
    {"AlarmTypeDefinition.UserAlarmFromTrigger", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.DoorAlarm", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.BedAlarm", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.BatteryAlarm", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.SmokeDetectorAlarm", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.PresenceIndication", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.ReadyIndication", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.ActionIndication", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.UserDefinedAlarmType", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.UserAlarmTriggerLowBattery", "edited by the alarm type editor only"},
    {"AlarmTypeDefinition.Network", "edited by the alarm type editor only"},
    {"NumberPool", "rewritten from the six number boxes by the call numbers' store"},
};

}  // namespace

const std::vector<PageBinding>& EditorPages() {
  static const std::vector<PageBinding> pages = BuildPages();
  return pages;
}

const ControlBinding* FindBinding(std::string_view name) {
  static const std::unordered_map<std::string_view, const ControlBinding*> by_name = [] {
    std::unordered_map<std::string_view, const ControlBinding*> map;
    for (const PageBinding& page : EditorPages()) {
      for (const ControlBinding& row : page.rows) map.emplace(row.name, &row);
    }
    return map;
  }();
  const auto it = by_name.find(name);
  return it == by_name.end() ? nullptr : it->second;
}

std::span<const PendingControl> PendingControls() { return kPending; }

std::span<const UnboundField> DeliberatelyUnboundFields() { return kUnbound; }

}  // namespace vyn

#include "core/editor/access_view.h"

#include <span>

#include "core/strings/edition.h"

namespace vyn {
namespace {

// What one rule does to its items; nullopt leaves a property as it is.
struct Action {
  std::optional<bool> visible;
  std::optional<bool> enabled;
};

constexpr Action kKeep{};
constexpr Action kShow{true, std::nullopt};
constexpr Action kHide{false, std::nullopt};
constexpr Action kEnable{std::nullopt, true};
constexpr Action kDisable{std::nullopt, false};
constexpr Action kShowEnabled{true, true};
constexpr Action kShowDisabled{true, false};
constexpr Action kHideDisabled{false, false};

// Editions as a mask, for the cells that depend on the edition.
enum Edition : unsigned { kKembGmbH = 1, kVelkstrom = 2 };

// One level's action, or another one in the editions of the mask.
struct Cell {
  // Implicit, so that a plain action reads as itself in the table.
  constexpr Cell(Action a) : action(a) {}
  constexpr Cell(unsigned mask, Action in, Action otherwise)
      : action(otherwise), in_editions(in), editions(mask) {}
  Action action;
  Action in_editions{};
  unsigned editions = 0;
};

using Names = std::span<const std::string_view>;

struct Row {
  Names items;
  Cell levels[5];  // levels 2 to 6
};

constexpr int kFirstLevel = 2;
constexpr int kLastLevel = 6;

// ---- The items, by object name.
constexpr std::string_view kDebugWebMenus[] = {"mnuCommDebugReadWeb", "mnuCommDebugWriteWeb"};
constexpr std::string_view kUpdateGroup[] = {"gbxUpdate"};
constexpr std::string_view kTextFileAndPasswordMenus[] = {"mnuToolsCreateTextFile",
                                                          "mnuToolsChangePasswords"};
constexpr std::string_view kAlarmTypesMenu[] = {"mnuToolsConfigureAlarmTypes"};
constexpr std::string_view kAnswerWithAck[] = {"lblAnswerRadioMessageWithAck",
                                               "cbbxAnswerRadioMessageWithAck"};
constexpr std::string_view kConfigurationPage[] = {"tbshtConfiguration"};
constexpr std::string_view kAdvancedPage[] = {"tbshtAdvanced"};
constexpr std::string_view kMiscPage[] = {"tbshtMisc"};
constexpr std::string_view kIpPage[] = {"tbshtIp"};
constexpr std::string_view kLineVolumes[] = {"cbbxLineVolume1", "cbbxLineVolume2",
                                             "cbbxLineVolume3", "cbbxLineVolumeExtra"};
constexpr std::string_view kNetworkEnableBox[] = {"cbNetworkEnable"};
constexpr std::string_view kNetworkEnableLabel[] = {"lblNetworkEnable"};
constexpr std::string_view kMacLabel[] = {"lblMAC"};
// The Ethernet group without the rows above and without the boxes that are always disabled
// (MAC address, DHCP).
constexpr std::string_view kEthernetControls[] = {
    "cbWanEnable",         "lblWanEnable",          "edtNtpServer",    "lblNtpServer",
    "edtStunServer",       "lblStunServer",         "edtPingServer",   "lblPingServer",
    "cbStaticIpEnable",    "lblStaticIpEnable",     "lblDhcpEnable",   "edtStaticIp1",
    "edtStaticIp2",        "edtStaticIp3",          "edtStaticIp4",    "lblStaticIpAddr",
    "edtGatewayIp1",       "edtGatewayIp2",         "edtGatewayIp3",   "edtGatewayIp4",
    "lblGatewayIpAddress", "edtDnsServerIp1",       "edtDnsServerIp2", "edtDnsServerIp3",
    "edtDnsServerIp4",     "lblDnsServerIpAddress", "edtNetworkMask1", "edtNetworkMask2",
    "edtNetworkMask3",     "edtNetworkMask4",       "lblSubnetMask",
};
// The SIP controls that level 3 leaves as they are: the account boxes, both accounts' number,
// server, user name and password, the outbound proxy and the local ports, and the account
// switch, without which the second account's boxes could not be reached.
constexpr std::string_view kSipLevel3Controls[] = {
    "cbSipAccountEnable",
    "cbSip2AccountEnable",
    "lblSipAccountEnabled",
    "edtSipNumber",
    "edtSip2Number",
    "lblSipNumber",
    "edtSipServer",
    "edtSip2Server",
    "lblSipServer",
    "edtSipUserName",
    "edtSip2UserName",
    "lblSipUserName",
    "edtSipPassword2",
    "edtSip2Password2",
    "lblSipPassword",
    "cbOutboundProxyEnable",
    "lblOutboundProxyEnable",
    "edtOutboundProxy",
    "lblOutboundProxy",
    "edtMySipPort",
    "lblMySipPort",
    "edtRtpPort",
    "lblRtpPort",
    "btnSecondSipAccount",
};
// The other SIP controls.
constexpr std::string_view kSipControls[] = {
    "edtSipExpire",      "edtSip2Expire",    "lblSipExpire",    "edtSipServerPort",
    "edtSip2ServerPort", "lblSipServerPort", "cbCipPingEnable", "cbCip2PingEnable",
    "lblCipPingEnable",  "btnAutoFillSip",   "btnAutoFillSip2", "btnClearSip",
    "btnClearSip2",
};
constexpr std::string_view kServerRegistrationControls[] = {"cbWsEnable", "lblWsEnable", "edtWs",
                                                            "lblWs", "edtWsPort"};
constexpr std::string_view kPassword[] = {"lblPassword", "edtPassword"};
constexpr std::string_view kPasswordBox[] = {"edtPassword"};
constexpr std::string_view kConfigurationGroups[] = {"gbxConfiguration", "gbxRadioConfiguration"};
constexpr std::string_view kCountry[] = {"edtCountry"};
constexpr std::string_view kProductModel[] = {"edtProductModel"};
constexpr std::string_view kFactoryValues[] = {"edtHwVersion", "edtRadioCalibration",
                                               "edtRadioClass1Calibration"};
constexpr std::string_view kSerialNumber[] = {"edtSerialNumber"};
constexpr std::string_view kAutoFillButtons[] = {"btnAutoFillSip", "btnAutoFillSip2", "btnClearSip",
                                                 "btnClearSip2"};
constexpr std::string_view kSip2ClearPassword[] = {"edtSip2Password"};
constexpr std::string_view kChangeDefaultMenu[] = {"mnuFileChangeDefaultConfig"};
constexpr std::string_view kInfoRadioButtons[] = {
    "bbtnInfoRadioPos1", "bbtnInfoRadioPos2", "bbtnInfoRadioPos3", "bbtnInfoRadioPos4",
    "bbtnInfoRadioPos5", "bbtnInfoRadioPos6", "bbtnInfoRadioPos7", "bbtnInfoRadioPos8",
};

// ---- Every level, before the level's own rules (the DHCP and static-IP boxes come first).
struct CommonRule {
  Names items;
  Action action;
};
constexpr CommonRule kCommon[] = {
    {kConfigurationGroups, kEnable}, {kUpdateGroup, kHide},       {kMiscPage, kHide},
    {kProductModel, kDisable},       {kFactoryValues, kDisable},  {kCountry, kDisable},
    {kPasswordBox, kDisable},        {kSip2ClearPassword, kHide}, {kAutoFillButtons, kHide},
    {kSerialNumber, kHide},
};

// ---- Levels 2 to 6.
constexpr Cell kHiddenInVelkstrom{kVelkstrom, kHide, kKeep};
constexpr Row kLevels[] = {
    {kDebugWebMenus, {kHide, kHideDisabled, kHideDisabled, kHideDisabled, kShowEnabled}},
    {kUpdateGroup, {kHide, kShow, kShow, kShow, kShow}},
    {kTextFileAndPasswordMenus, {kHide, kHide, kShow, kShow, kShow}},
    {kAlarmTypesMenu, {kHide, Cell(kKembGmbH, kShow, kHide), kShow, kShow, kShow}},
    {kAnswerWithAck,
     {kHiddenInVelkstrom, kHiddenInVelkstrom, kKeep, Cell(kVelkstrom, kHide, kShow), kKeep}},
    {kConfigurationPage, {kHide, kHide, kShow, kShow, kShow}},
    {kAdvancedPage, {kHide, kHide, kShow, Cell(kKembGmbH | kVelkstrom, kHide, kShow), kShow}},
    {kMiscPage, {kHide, kHide, kHide, kHide, kShow}},
    {kIpPage, {kShowDisabled, kShowEnabled, kShowEnabled, kShowEnabled, kShowEnabled}},
    {kLineVolumes, {kDisable, kKeep, kKeep, kEnable, kKeep}},
    {kNetworkEnableBox, {kDisable, kEnable, kEnable, kEnable, kEnable}},
    {kNetworkEnableLabel, {kDisable, kDisable, kEnable, kEnable, kEnable}},
    {kMacLabel, {kDisable, kDisable, kDisable, kDisable, kDisable}},
    {kEthernetControls, {kDisable, kDisable, kKeep, kEnable, kKeep}},
    {kSipLevel3Controls, {kDisable, kKeep, kKeep, kKeep, kKeep}},
    {kSipControls, {kDisable, kDisable, kKeep, kKeep, kKeep}},
    {kServerRegistrationControls, {kDisable, kDisable, kKeep, kEnable, kKeep}},
    {kPassword, {kDisable, kDisable, kEnable, kDisable, kEnable}},
    {kConfigurationGroups,
     {kEnable, kEnable, kEnable, Cell(kKembGmbH, kDisable, kEnable), kEnable}},
    {kCountry, {kDisable, kDisable, kEnable, kEnable, kEnable}},
    {kProductModel, {kDisable, kDisable, kDisable, kDisable, kEnable}},
    {kFactoryValues, {kDisable, kDisable, kDisable, kDisable, kEnable}},
    {kSerialNumber, {kHide, kHide, kHide, kHide, kShow}},
};

unsigned EditionMask(std::string_view edition_name) {
  return (IsKembGmbH(edition_name) ? kKembGmbH : 0u) |
         (IsVelkstrom(edition_name) ? kVelkstrom : 0u);
}

void Append(std::vector<ItemState>& states, Names items, Action action) {
  if (!action.visible && !action.enabled) return;
  for (std::string_view name : items)
    states.push_back({std::string(name), action.visible, action.enabled, std::nullopt});
}

}  // namespace

std::vector<ItemState> AccessView(int level, std::string_view edition_name) {
  std::vector<ItemState> states;
  // The load that follows sets both boxes from the image.
  states.push_back({"cbStaticIpEnable", std::nullopt, std::nullopt, false});
  states.push_back({"cbDhcpEnable", std::nullopt, std::nullopt, true});
  for (const CommonRule& rule : kCommon) Append(states, rule.items, rule.action);

  const unsigned edition = EditionMask(edition_name);
  if (level >= kFirstLevel && level <= kLastLevel) {
    for (const Row& row : kLevels) {
      const Cell& cell = row.levels[level - kFirstLevel];
      Append(states, row.items, (cell.editions & edition) != 0 ? cell.in_editions : cell.action);
    }
  }

  if (IsVelkstrom(edition_name)) {
    Append(states, kChangeDefaultMenu, kHide);
    Append(states, kInfoRadioButtons, level == 4 ? kShow : kHide);
  }
  return states;
}

bool AdvancedGridEditable(int level) { return level >= 4 && level <= 6; }

}  // namespace vyn

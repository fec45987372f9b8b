#pragma once

// String-table identifiers of the messages the flows show: message boxes, status-line texts,
// prompts and the texts that the firmware update reports step by step. Captions of controls
// are taken by number where the window is built and are not listed here.
namespace vyn::msg {

// ---- Main window and passwords
inline constexpr int kProgramTitle = 10001;  // caption of the main window and the editor
inline constexpr int kWrongPassword = 10013;                // information
inline constexpr int kDeletePasswordQuestion = 10014;       // Yes/No
inline constexpr int kPasswordAlreadyUsedQuestion = 13770;  // confirmation, Yes/No
inline constexpr int kPasswordsDoNotMatch = 13785;          // information (trailing blank)

// ---- Server exchange dialog: status-line texts (each starts with a blank)
inline constexpr int kServerWaitingForSerialNumber = 10025;
inline constexpr int kServerSendingRequest = 10026;
inline constexpr int kServerWaitingForAnswer = 10027;
inline constexpr int kServerWriteQueued = 10028;
inline constexpr int kServerBusy = 10029;
inline constexpr int kServerWaitingForUnit = 10030;
inline constexpr int kServerReceivingFromUnit = 10031;
inline constexpr int kServerDownloading = 10032;
inline constexpr int kServerUploading = 10033;
inline constexpr int kServerSendingToUnit = 10034;
inline constexpr int kServerUnitRestarting = 10035;
inline constexpr int kServerWrongPassword = 10036;

// ---- Step-by-step wizard
inline constexpr int kWizardStep = 11003;  // step counter, followed by a blank and the number
inline constexpr int kWizardCountQuestion = 11020;          // inserts: category name, default
inline constexpr int kWizardMainsFailureTimeRange = 11045;  // state 21
inline constexpr int kWizardReminderTimeRange = 11075;      // state 24
inline constexpr int kWizardAutoReadyTimeRange = 11085;     // state 25
inline constexpr int kWizardInterferenceTimeRange = 11105;  // state 27
inline constexpr int kWizardPassiveTimeRange = 11155;       // state 31
inline constexpr int kWizardGroupInNoList = 11231;          // insert: group name
inline constexpr int kWizardGroupInSeveralLists = 11232;    // insert: group name
inline constexpr int kWizardNoGroupTicked = 11233;
inline constexpr int kWizardConfigurationSaved = 11275;
inline constexpr int kWizardSaveNameMissing = 11276;
inline constexpr int kWizardUnusedPosition = 11285;
inline constexpr int kWizardLearnPrompt = 11286;  // followed by a blank and the position name
inline constexpr int kWizardDuplicateTransmitterCodes = 11287;  // error
inline constexpr int kWizardIdNumberMissing = 11297;
inline constexpr int kWizardNumberTip = 11301;  // Velkstrom edition
inline constexpr int kWizardFirstNumberMissing = 11302;
inline constexpr int kWizardNightModeNumberMissing = 11303;
inline constexpr int kWizardTooManyNumbers = 11304;  // error
inline constexpr int kWizardTestAlarmHoursRange = 11341;
inline constexpr int kWizardTestAlarmDaysRange = 11342;
inline constexpr int kWizardTooManyTransmitters = 11343;

// ---- Basic programming
inline constexpr int kIdNumberMissing = 12011;       // information
inline constexpr int kNoConfigurationFound = 12012;  // information; the window closes

// ---- Editor, files and the device read
inline constexpr int kSaveBeforeExitQuestion = 13801;  // Yes/No/Cancel
inline constexpr int kOpenTitle = 13802;               // title of the open dialogs
inline constexpr int kConfigurationReadOnly = 13803;   // information
inline constexpr int kReadingFromUnit = 13804;         // status
inline constexpr int kReadComplete = 13805;            // status and information
inline constexpr int kReadFailed = 13806;              // status and error

// ---- Transmitter learning and information
inline constexpr int kNoTransmitterCode = 13807;         // information
inline constexpr int kZixFirmwareTooOldForInfo = 13808;  // error
inline constexpr int kTransmitterInfoReadFailed = 13809;
inline constexpr int kTransmitterInfoWritten = 13810;      // information
inline constexpr int kTransmitterInfoWriteFailed = 13811;  // error
inline constexpr int kTriggerToReadInfo = 13812;           // followed by a blank and the position
inline constexpr int kTriggerToWriteInfo = 13813;          // followed by a blank and the position
inline constexpr int kReadingTransmitterInfo = 13814;      // waiting dialog caption
inline constexpr int kWritingTransmitterInfo = 13815;      // waiting dialog caption
inline constexpr int kTestAlarmIntervalRange = 13816;      // information, 1..255
inline constexpr int kTestAlarmLimitRange = 13817;         // information, 0..255
inline constexpr int kActivateTransmitterForPosition = 13818;  // insert: position 1-8
inline constexpr int kReceivingTransmitterCode = 15014;        // waiting dialog caption
inline constexpr int kWaitingForTransmitter = 15015;
inline constexpr int kWaitingDialogNote = 15016;

// ---- Printed record
inline constexpr int kRecordTitle = 13901;
inline constexpr int kRecordPageOfPages = 13908;  // "%d" inserts: page, pages
inline constexpr int kReadFromUnitSource = 13909;

// ---- Device write and read-back (also the guided flows)
inline constexpr int kWritingToUnit = 15001;            // status
inline constexpr int kVerifying = 15002;                // status
inline constexpr int kWriteVerified = 15003;            // status
inline constexpr int kProgrammingComplete = 15004;      // information
inline constexpr int kVerifyFailed = 15005;             // status and error
inline constexpr int kWriteFailed = 15006;              // status and error
inline constexpr int kProgrammingError = 15007;         // error (basic programming)
inline constexpr int kUnitNotReady = 15008;             // status and error
inline constexpr int kZixNotFound = 15009;              // status and error
inline constexpr int kUnitBusyWaiting = 15040;          // status, each waiting cycle
inline constexpr int kDuplicateTransmitterIds = 15100;  // error
inline constexpr int kZixFirmwareTooOld = 15560;        // information
inline constexpr int kUnsupportedMemoryKind = 15570;    // information and status

// ---- Configuration files
inline constexpr int kCannotLoadConfiguration = 15010;  // error
inline constexpr int kDefaultBinMissing = 15011;        // error
inline constexpr int kCannotSaveConfiguration = 15012;  // error or information
inline constexpr int kOverwriteQuestion = 15013;
inline constexpr int kSaveAsTitle = 15017;
inline constexpr int kConfigurationFileFilter = 15018;      // followed by "|" and the pattern
inline constexpr int kNoExtraDefaultConfiguration = 15019;  // information
inline constexpr int kDefaultOrigin = 15020;                // title and record: "Standard"
inline constexpr int kChooseDefaultDirectoryTitle = 15037;
inline constexpr int kLoadError = 15023;         // error; inserts: byte, address (decimal)
inline constexpr int kValuesIniMissing = 15033;  // error

// ---- Text list
inline constexpr int kTextFileCreated = 15021;     // information, followed by the file name
inline constexpr int kCannotOpenTextFile = 15022;  // information

// ---- Entry checks (error boxes)
inline constexpr int kValueRange0To255 = 15025;
inline constexpr int kValueRange0To2550 = 15026;
inline constexpr int kValueRange0To9999 = 15027;
inline constexpr int kValueRange0To65535 = 15028;
inline constexpr int kValueRange0To16777215 = 15029;
inline constexpr int kValueRange0To4294967295 = 15030;
inline constexpr int kCallAttemptsRange0To100 = 15032;  // Velkstrom; absent in this edition
inline constexpr int kTestAlarmIntervalRange1To255 = 15034;
inline constexpr int kValueRange0To10 = 15042;
inline constexpr int kSupervisionSwitchedOn = 15035;   // insert: position 1-8
inline constexpr int kSupervisionSwitchedOff = 15036;  // insert: position 1-8

// ---- Store conversion failures (results 1, 2 and 3 of StoreControls)
inline constexpr int kStorePoolOverflow = 15101;
inline constexpr int kStoreAdvancedRange = 15102;
inline constexpr int kStoreVoltageRange = 15103;

// ---- Location code tables
inline constexpr int kLocationCodesBs8521Title = 15106;
inline constexpr int kLocationCodesTt92Title = 15107;

// ---- Firmware update
inline constexpr int kFirmwareNewVersion = 20012;
inline constexpr int kFirmwareUpdating = 20025;    // status bar
inline constexpr int kFirmwareUpdateDone = 20026;  // status bar
inline constexpr int kFirmwareSameLan = 20027;
inline constexpr int kFirmwareChooseFile = 20028;          // step 1
inline constexpr int kFirmwareStarting = 20029;            // step 2
inline constexpr int kFirmwareHostIp = 20030;              // step 3
inline constexpr int kFirmwareZixContact = 20031;          // step 4
inline constexpr int kFirmwareWriteTargetIp = 20032;       // step 5
inline constexpr int kFirmwareEnableNetwork = 20033;       // step 6
inline constexpr int kFirmwareDisableGsm = 20034;          // step 7
inline constexpr int kFirmwareEnableUpdate = 20035;        // step 8
inline constexpr int kFirmwareSwitchUnitOffAndOn = 20036;  // step 9
inline constexpr int kFirmwareAwaitStartUp = 20037;        // restore step a
inline constexpr int kFirmwareRestoreTargetIp = 20038;     // a + 1
inline constexpr int kFirmwareRestoreNetwork = 20039;      // a + 2
inline constexpr int kFirmwareRestoreGsm = 20040;          // a + 3
inline constexpr int kFirmwareDisableUpdate = 20041;       // a + 4
inline constexpr int kFirmwareReadBack = 20042;            // a + 5
inline constexpr int kFirmwareUpdateSucceeded = 20043;
inline constexpr int kFirmwareUpdateFailed = 20044;  // shown as "%s - %d" with the result
inline constexpr int kFirmwareTransferFailed = 20045;
inline constexpr int kFirmwareZixWriteFailed = 20046;
inline constexpr int kFirmwareZixCommunicationFailed = 20047;
inline constexpr int kFirmwareSocketFailed = 20048;
inline constexpr int kFirmwareNetworkUnavailable = 20049;
inline constexpr int kFirmwareNoFile = 20050;

// The program's own texts beyond the delivered table (31501 and up).
inline constexpr int kPasswordStoreUnreadable = 31501;  // followed by the store's path and cause
inline constexpr int kBackupFailed = 31502;             // followed by the folder and cause

}  // namespace vyn::msg

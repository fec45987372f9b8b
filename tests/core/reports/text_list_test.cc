#include "core/reports/text_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/image/number_pool.h"
#include "core/strings/string_table.h"
#include "support/temp_folder.h"

namespace vyn {
namespace {

const StringTable& Kemb() { return StringTable::Builtin(); }

const StringTable& Velkstrom() {
  static const StringTable table = StringTable::Builtin().WithText(15555, "Velkstrom");
  return table;
}

// The expected text is written with "\n"; the file has CR LF.
std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Where the first line at or after `from` that starts with `prefix` begins.
std::size_t LineAt(const std::string& content, const std::string& prefix, std::size_t from = 0) {
  if (from == 0 && content.compare(0, prefix.size(), prefix) == 0) return 0;
  const std::size_t found = content.find("\r\n" + prefix, from);
  return found == std::string::npos ? found : found + 2;
}

// The lines from the one starting with `from` up to, not including, the one starting with `to`.
std::string Between(const std::string& content, const std::string& from, const std::string& to) {
  const std::size_t begin = LineAt(content, from);
  const std::size_t end = begin == std::string::npos ? begin : LineAt(content, to, begin);
  if (end == std::string::npos) return "<missing " + from + ">";
  return content.substr(begin, end - begin);
}

// The one line starting with `prefix`, without its line end.
std::string LineStarting(const std::string& content, const std::string& prefix) {
  const std::size_t begin = LineAt(content, prefix);
  if (begin == std::string::npos) return "<missing " + prefix + ">";
  return content.substr(begin, content.find("\r\n", begin) - begin);
}

void Put(ParameterImage& image, int address, std::initializer_list<std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) image[address++] = b;
}

void PutText(ParameterImage& image, int address, const std::string& text) {
  for (char c : text) image[address++] = static_cast<std::uint8_t>(c);
  image[address] = 0;
}

// A configuration opened from a file, with a handful of bytes set in an otherwise empty image.
VynData Fixture() {
  VynData data;
  data.Origin = ImageOrigin::OpenedFile;
  data.FileName = "/data/abc.Rodid";
  ParameterImage& image = data.WorkingImage;
  StoreNumbers(image, {"0049123,1", "", "112", "", "", ""}, {"1234A", "", "", "", "", ""});
  Put(image, 0x000, {0x0A, 0x05});  // transmitter 1
  Put(image, 0x070, {1, 2, 9, 0});  // call sequence 1
  image[0x080] = 2;
  image[0x08A] = 25;
  image[0x0A8] = 0x03;
  image[0x0B0] = 0x05;
  Put(image, 0x0B4, {105, 250, 100});
  Put(image, 0x0C0, {150, 210, 100});
  image[0x0BD] = 1;
  image[0x0F0] = 75;
  image[0x0F7] = 0xFE;
  image[0x0FA] = 12;
  Put(image, 0x0FD, {0x01, 0x00, 0x00});
  Put(image, 0x130, {0x00, 0x00, 0x03, 0xE8});  // duplex time 1000 = 125 ms
  image[0x141] = 1;
  Put(image, 0x167, {0, 0, 2, 3, 7, 2});
  Put(image, 0x181, {0xFF, 0xFF, 0xFF, 0xFE});
  Put(image, 0x191, {0x00, 0x0C});
  image[0x1B0] = 2;  // not a ticked box
  Put(image, 0x1F0, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xAE});
  PutText(image, 0x200, "pool.ntp.org");
  PutText(image, 0x580, "se cret");
  image[0x5B0] = 0x8E;
  return data;
}

TEST(TextListTest, KembSectionsAreWrittenLineForLine) {
  const std::string content = TextListContent(Fixture(), Kemb());
  const struct {
    const char* from;
    const char* to;
    std::string expected;
  } cases[] = {
      {"Parameters in", "2. Sequences",
       "Parameters in\n"
       "</data/abc.Rodid>\n"
       "Values with prefix '0x' is hexadecimal, all other is decimal.\n"
       "\n"
       "1. Alarm sources\n"
       "1.1.1 Radio alarms\n"
       "No code, empty slot = 0x0000\n"
       "[0x00-0x01] ID code, transmitter 1: 0A05\n"
       "[0x02-0x03] ID code, transmitter 2: \n"
       "[0x04-0x05] ID code, transmitter 3: \n"
       "[0x06-0x07] ID code, transmitter 4: \n"
       "[0x08-0x09] ID code, transmitter 5: \n"
       "[0x0A-0x0B] ID code, transmitter 6: \n"
       "[0x0C-0x0D] ID code, transmitter 7: \n"
       "[0x0E-0x0F] ID code, transmitter 8: \n"
       "\n"
       "1.1.2 Alarm types to send\n"
       "[0xA8] Transmitter 1:______________ 0x03\n"
       "[0xA9] Transmitter 2:______________ 0x00\n"
       "[0xAA] Transmitter 3:______________ 0x00\n"
       "[0xAB] Transmitter 4:______________ 0x00\n"
       "[0xAC] Transmitter 5:______________ 0x00\n"
       "[0xAD] Transmitter 6:______________ 0x00\n"
       "[0xAE] Transmitter 7:______________ 0x00\n"
       "[0xAF] Transmitter 8:______________ 0x00\n"
       "\n"
       "1.3 Buttons\n"
       "[0xB2] Extra button:_______________ 0x00\n"
       "\n"
       "\n"},
      {"2. Sequences", "3 Call numbers",
       "2. Sequences\n"
       "2.1 Sequence numbers\n"
       "[0x80] Sequence for User alarms:__________ 2\n"
       "[0x81] Sequence for External alarms:______ 0\n"
       "[0x82] Sequence for Technical alarms:_____ 0\n"
       "[0x83] Sequence for Smoke detector alarms: 0\n"
       "[0x84] Sequence for Burglar alarms:_______ 0\n"
       "[0x85] Sequence for Staff alarms:_________ 0\n"
       "[0x86] Sequence for Test alarms:__________ 0\n"
       "[0x87] Sequence for User activity alarms:_ 0\n"
       "[0x88] Sequence for Assistance alarms:____ 0\n"
       "[0x89] Sequence for User defined alarms:__ 0\n"
       "\n"
       "2.2 Sequences definitions\n"
       "-=0, A=1, B=2, C=3, D=4, N=5, U=6\n"
       "[0x70-0x73] Call sequence 1:______ A B ? - \n"
       "[0x74-0x77] Call sequence 2:______ - - - - \n"
       "[0x78-0x7B] Call sequence 3:______ - - - - \n"
       "[0x7C-0x7F] Call sequence 4:______ - - - - \n"
       "\n"
       "2.3 Cycles\n"
       "[0xBA] Cycles of sequence:________ 0\n"
       "[0xBC] Max no of call attempts:___ 0\n"
       "\n"
       "\n"},
      {"3 Call numbers", "4 Timers and indications",
       "3 Call numbers\n"
       "3.1.1 Call information\n"
       "W=B wait 500ms, T=D Wait for dial tone, *=E, #=F, Stop dial=A\n"
       "No number = 0xAAAAAAAAAAAAAAAA\n"
       "[0x10-0x17] Telephone number A:___ 0049123,1\n"
       "[0x18-0x1F] Telephone number B:___ \n"
       "[0x20-0x27] Telephone number C:___ 112\n"
       "[0x28-0x2F] Telephone number D:___ \n"
       "[0x30-0x37] Telephone number N:___ \n"
       "[0x38-0x3F] Telephone number V:___ \n"
       "\n"
       "3.1.2 SIP account to use\n"
       "[0x467] Account A:________________ 0\n"
       "[0x468] Account B:________________ 0\n"
       "[0x469] Account C:________________ 0\n"
       "[0x46A] Account D:________________ 0\n"
       "[0x46B] Account N:________________ 0\n"
       "[0x46C] Account V:________________ 0\n"
       "\n"
       "3.1.3 Alarm codes\n"
       "End of alarm code = A\n"
       "[0x40-0x47] Alarm code A:_________ 1234A\n"
       "[0x48-0x4F] Alarm code B:_________ \n"
       "[0x50-0x57] Alarm code C:_________ \n"
       "[0x58-0x5F] Alarm code D:_________ \n"
       "[0x60-0x67] Alarm code N:_________ \n"
       "[0x68-0x6F] Alarm code V:_________ \n"
       "\n"
       "3.1.4 Protocols\n"
       "0=Undefined, 1=KEMB TALK, 2=CPC Antenna, 3=Tunstall New, 4=Home phone, 8=Auto answer\n"
       "9=CPC Attendo, 16=MV, 17=TT92, 18=Multi, 21=KEMB TALK ST, 22=BS8521, 23=Verklizan UMO "
       "IP\n"
       "24=CIP, 25=MPTP, 26=KEMB TALK GSM.\n"
       "[0x8A] Protocol A:________________ 25\n"
       "[0x8B] Protocol B:________________ 0\n"
       "[0x8C] Protocol C:________________ 0\n"
       "[0x8D] Protocol D:________________ 0\n"
       "[0x8E] Protocol N:________________ 0\n"
       "[0x8F] Protocol V:________________ 0\n"
       "\n"
       "3.1.5 Call attempts\n"
       "[0xB4] No of attempts A:__________ 105\n"
       "[0xB5] No of attempts B:__________ 250\n"
       "[0xB6] No of attempts C:__________ 100\n"
       "[0xB7] No of attempts D:__________ 0\n"
       "[0xB8] No of attempts N:__________ 0\n"
       "[0xB9] No of attempts R:__________ 0\n"
       "\n"
       "\n"},
      {"4.1 Alarm activation and timers", "4.2 Indications",
       "4.1 Alarm activation and timers\n"
       "[0xBF] Reminder alarm:________________________ 0 (minutes)\n"
       "[0xBB] Max reminder alarms:___________________ 0\n"
       "[0xC0] Passive alarm:_________________________ 50 (days)\n"
       "[0xC1] Mains failure alarm:___________________ 10 (minutes)\n"
       "[0xC2] Test alarm interval:___________________ 100 (h)\n"
       "[0xC3] Dementia function:_____________________ 0 (0=No, 1-255=No of minutes)\n"
       "[0xC4] Battery check interval:________________ 0 (h)\n"
       "[0xC5] Max time in presence mode:_____________ 0 (0=Unlimited, (h))\n"
       "[0xDB] Reset test alarm timer for all alarms:_ 0 (0=No, 1=Yes)\n"
       "[0xDC] Min time between interference alarms:__ 0 (minutes)\n"
       "[0xB1] Radio test alarm period:_______________ 0 (h)\n"
       "[0x340] Time to network failure:______________ 0 (h)\n"
       "\n"},
      {"4.3 Date and time", "5 Call parameters",
       "4.3 Date and time\n"
       "[0x148] Time zone:____________________________ 0\n"
       "[0x141] DST:__________________________________ 1 (0=No, 1=Yes)\n"
       "\n"
       "\n"},
      {"5.1 Outgoing call", "5.3 Incoming call",
       "5.1 Outgoing call\n"
       "[0xD1] Time to wait for answer:_______________ 0 (s)\n"
       "[0xD3] Time in between call attempts:_________ 0 (s)\n"
       "[0xD4] Max conversation time:_________________ 0 (*10s)\n"
       "[0xBD] Require disconnection:_________________ 1 (0=No, 1=Yes)\n"
       "[0xB0] Radio test alarm on/off:_______________ 0x05\n"
       "[0x4FB] Redial max time:__________________________ 0 (s)\n"
       "[0x4FC] Redial interval:__________________________ 0 (s)\n"
       "\n"
       "5.2 GSM\n"
       "[0x1B0] GSM enable:___________________________ 0 (0=No, 1=Yes)\n"
       "[0x191-0x194] PIN code:_______________________ 0012\n"
       "[0x196-0x196] SMS service center:_____________ \n"
       "[0x5C0-0x5C0] GSM number:_____________________ \n"
       "[0x5E0-0x5E0] GSM number from SIM:____________ \n"
       "[0x18A] GPRS enable:__________________________ 0 (0=No, 1=Yes)\n"
       "[0x1C0-0x1C0] GPRS APN address:_______________ \n"
       "\n"},
      {"6.2 Product information (read-only)", "7. Advanced",
       "6.2 Product information (read-only)\n"
       "[0xF8] Product model:_________________________ 0\n"
       "[0x176] HW Version:___________________________ 0\n"
       "[0xFA] Production year:_______________________ 2012\n"
       "[0xFB] Production month:______________________ 0\n"
       "[0xFC] Production day:________________________ 0\n"
       "[0xFD-0xFF] Serial number:____________________ 65536\n"
       "[0x167-0x16C] Boot s/w version:_______________ 2.3.7 Release\n"
       "[0x170-0x175] Appl s/w version:_______________ 0.0.0 Alpha\n"
       "\n"
       "\n"},
      {"7.3 Hardware control", "8. Configuration",
       "7.3 Hardware control\n"
       "[0xF7] Radio calibration:_____________________ 2 (-254)(read-only)\n"
       "[0x181-0x184] Radio Class 1 calibration:______ -2 (read-only)\n"
       "\n"
       "\n"},
      {"9.1 Ethernet", "9.2 SIP",
       "9.1 Ethernet\n"
       "[0x1F0-0x1F5] MAC:____________________________ 00-1A-2B-3C-4D-AE\n"
       "[0x341] Network enable________________________ 0 (0=No, 1=Yes)\n"
       "[0x1FA] WAN enable____________________________ 0 (0=No, 1=Yes)\n"
       "[0x200] NTP server:___________________________ pool.ntp.org \n"
       "[0x240] STUN server:__________________________  \n"
       "[0x280] PING server:__________________________  \n"
       "\n"},
      {"9.2 SIP", "9.3 Kemb Web Service",
       "9.2 SIP\n"
       "[0x490] SIP 1 number enable___________________ 0 (0=No, 1=Yes)\n"
       "[0x4A0-0x4DF] Number:_________________________  \n"
       "[0x500-0x53F] Server:_________________________  \n"
       "[0x540-0x57F] Username:_______________________  \n"
       "[0x580-0x5BF] Password:_______________________ se cret \n"
       "[0x11C] CIP PING enable_______________________ 0 (0=No, 1=Yes)\n"
       "\n"
       "[0x460] SIP 2 number enable___________________ 0 (0=No, 1=Yes)\n"
       "[0x470-0x4AF] Number:_________________________  \n"
       "[0x360-0x39F] Server:_________________________  \n"
       "[0x3A0-0x3DF] Username:_______________________  \n"
       "[0x3D0-0x40F] Password:_______________________  \n"
       "[0x11D] CIP PING enable_______________________ 0 (0=No, 1=Yes)\n"
       "\n"
       "[0x493-0x494] Expire__________________________ 0\n"
       "[0x491-0x492] Server port_____________________ 0\n"
       "[0x497-0x498] VYN IP port_____________________ 0\n"
       "[0x499-0x49A] RTP port________________________ 0\n"
       "\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Between(content, c.from, c.to), Crlf(c.expected)) << c.from;
  }
}

TEST(TextListTest, AdvancedRowsUseTheirTableConversions) {
  const std::string content = TextListContent(Fixture(), Kemb());
  const struct {
    const char* prefix;
    const char* line;
  } cases[] = {
      {"[0xF0]", "[0xF0] Battery threshold value:_______________ 7.500000(V)"},
      {"[0x114]", "[0x114] Battery threshold in battery mode:____ 0.000000 (V)"},
      {"[0x130-", "[0x130-0x133] Duplex signal detect:___________ 125 (ms)"},
      {"[0x120-", "[0x120-0x123] Duplex signal attack:___________ 0.000000 (dB/ms)"},
      {"[0x109]", "[0x109] Signal volume, speaker level 1:_______ 0 (% 0=Standard)"},
      {"[0xE3-", "[0xE3-0xE4] DTMF message timeout:_____________ 0 (ms)"},
  };
  for (const auto& c : cases) EXPECT_EQ(LineStarting(content, c.prefix), c.line);
}

TEST(TextListTest, AdvancedFlagRowsShowOneOnlyForAByteOfOne) {
  VynData data = Fixture();
  data.WorkingImage[0x11B] = 2;
  data.WorkingImage[0x185] = 1;
  const std::string content = TextListContent(data, Kemb());
  EXPECT_EQ(LineStarting(content, "[0x11B]"),
            "[0x11B] Reset passive timer, extra button_____ 0 (0=No, 1=Yes)");
  EXPECT_EQ(LineStarting(content, "[0x185]"),
            "[0x185] GSM DTMF out-of-band:_________________ 1 (1=Yes, 0=No)");
}

TEST(TextListTest, DuplexValuesPrintTheTableValue) {
  VynData data = Fixture();
  // Threshold form: stored F (16777215) is 0 dB, stored F/10 about -10 dB.
  Put(data.WorkingImage, 0x138, {0x00, 0xFF, 0xFF, 0xFF});
  Put(data.WorkingImage, 0x5B9, {0x00, 0x19, 0x99, 0x99});
  // Attack form: stored F is 10 * log10(2^8) = 24.082 dB/ms.
  Put(data.WorkingImage, 0x120, {0x00, 0xFF, 0xFF, 0xFF});
  const std::string content = TextListContent(data, Kemb());
  EXPECT_EQ(LineStarting(content, "[0x138-"),
            "[0x138-0x13B] Duplex speech threshold:________ 0 (dB)");
  EXPECT_EQ(LineStarting(content, "[0x5B9-"),
            "[0x5B9-0x5BC] Duplex mic threshold:___________ -10 (dB)");
  EXPECT_EQ(LineStarting(content, "[0x120-"),
            "[0x120-0x123] Duplex signal attack:___________ 24.082000 (dB/ms)");
}

TEST(TextListTest, EditionDecidesLabelsTimersAndCallAttempts) {
  const std::string content = TextListContent(Fixture(), Velkstrom());
  const struct {
    const char* from;
    const char* to;
    std::string expected;
  } cases[] = {
      {"2.1 Sequence numbers", "2.2 Sequences definitions",
       "2.1 Sequence numbers\n"
       "[0x80] Sequence for Medical alarms:_______ 2\n"
       "[0x81] Sequence for External alarms:______ 0\n"
       "[0x82] Sequence for Power alarms:_________ 0\n"
       "[0x83] Sequence for Smoke detector alarms: 0\n"
       "[0x84] Sequence for Assault alarms:_______ 0\n"
       "[0x85] Sequence for Presence alarms:______ 0\n"
       "[0x86] Sequence for Test alarms:__________ 0\n"
       "[0x87] Sequence for Emergency alarms:_____ 0\n"
       "[0x88] Sequence for Assistance alarms:____ 0\n"
       "[0x89] Sequence for User defined alarms:__ 0\n"
       "\n"},
      // The letters come from the build's call-sequence text, so the sixth is U here.
      {"3.1.5 Call attempts", "4 Timers and indications",
       "3.1.5 Call attempts\n"
       "[0xB4] No of attempts A:__________ 5 (Call back=Yes)\n"
       "[0xB5] No of attempts B:__________ 250 (Illegal value)\n"
       "[0xB6] No of attempts C:__________ 100 (Call back=No)\n"
       "[0xB7] No of attempts D:__________ 0 (Call back=No)\n"
       "[0xB8] No of attempts N:__________ 0 (Call back=No)\n"
       "[0xB9] No of attempts U:__________ 0 (Call back=No)\n"
       "\n"
       "\n"},
      {"[0xC0]", "[0xC3]",
       "[0xC0] Passive alarm:_________________________ 150 (h)\n"
       "[0xC1] Mains failure alarm:___________________ 210 (h)\n"
       "[0xC2] Test alarm interval:___________________ 100 (h)\n"},
      {"[0xBD]", "[0x4FB]",
       "[0xBD] Require disconnection:_________________ 1 (0=No, 1=Yes)\n"
       "[0xB0] Reserved:______________________________ 0x05\n"},
      {"[0x90]", "[0xDD]",
       "[0x90] User alarm from trigger:_____ 0x00\n"
       "[0x91] User alarm from button:______ 0x00\n"
       "[0x92] Reminder alarm:______________ 0x00\n"
       "[0x93] Passive alarm:_______________ 0x00\n"
       "[0x94] Door alarm:__________________ 0x00\n"
       "[0x95] Bed alarm:___________________ 0x00\n"
       "[0x96] Carpet alarm:________________ 0x00\n"
       "[0x97] Mains failure alarm:_________ 0x00\n"
       "[0x98] Mains OK indication:_________ 0x00\n"
       "[0x99] Accumulator alarm:___________ 0x00\n"
       "[0x9A] Battery alarm:_______________ 0x00\n"
       "[0x9B] Smoke detector alarm:________ 0x00\n"
       "[0x9C] Assault alarm:_______________ 0x00\n"
       "[0x9D] Presence indication:_________ 0x00\n"
       "[0x9E] Ready indication:____________ 0x00\n"
       "[0x9F] Auto ready indication:_______ 0x00\n"
       "[0xA0] Action indication:___________ 0x00\n"
       "[0xA1] Test alarm:__________________ 0x00\n"
       "[0xA2] Emergency alarm:_____________ 0x00\n"
       "[0xA3] Assistance alarm:____________ 0x00\n"
       "[0xA4] User defined alarm type:_____ 0x00\n"
       "[0xA5] User alarm, trigger low batt: 0x00\n"
       "[0xA6] Radio interference alarm:____ 0x00\n"
       "[0xA7] Log call:____________________ 0x00\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Between(content, c.from, c.to), Crlf(c.expected)) << c.from;
  }
  EXPECT_EQ(LineStarting(content, "[0xDF]"), "[0xDF] Inactivity:__________________ 0x00");
}

TEST(TextListTest, AutoAnswerDurationReplacesTheReservedLineWhenTheBuildHasItsText) {
  const StringTable with_text = Velkstrom().WithText(13227, "Auto answer");
  EXPECT_EQ(LineStarting(TextListContent(Fixture(), with_text), "[0xB0]"),
            "[0xB0] Auto answer duration, Paging:__________ 5 (*10s)");
  // The KEMB editions read the byte as the radio test bits whatever the build's texts say.
  EXPECT_EQ(LineStarting(TextListContent(Fixture(), Kemb().WithText(13227, "x")), "[0xB0]"),
            "[0xB0] Radio test alarm on/off:_______________ 0x05");
}

TEST(TextListTest, KembTimerCodesReadAsHoursDaysAndMinutes) {
  const struct {
    int address;
    std::uint8_t code;
    const char* line;
  } cases[] = {
      {0x0C0, 100, "[0xC0] Passive alarm:_________________________ 100 (h)"},
      {0x0C0, 150, "[0xC0] Passive alarm:_________________________ 50 (days)"},
      {0x0C0, 210, "[0xC0] Passive alarm:_________________________ 10 (minutes)"},
      {0x0C2, 101, "[0xC2] Test alarm interval:___________________ 1 (days)"},
      {0x0C1, 150, "[0xC1] Mains failure alarm:___________________ 150 (h)"},
      {0x0C1, 201, "[0xC1] Mains failure alarm:___________________ 1 (minutes)"},
  };
  for (const auto& c : cases) {
    VynData data = Fixture();
    data.WorkingImage[c.address] = c.code;
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "[0x%02X]", c.address);
    EXPECT_EQ(LineStarting(TextListContent(data, Kemb()), prefix), c.line);
  }
}

TEST(TextListTest, RadioCalibrationShowsTheNegativeReadingWhenBitSevenIsSet) {
  const struct {
    std::uint8_t byte;
    const char* line;
  } cases[] = {
      {0xFE, "[0xF7] Radio calibration:_____________________ 2 (-254)(read-only)"},
      {0x80, "[0xF7] Radio calibration:_____________________ 128 (-128)(read-only)"},
      {0x7F, "[0xF7] Radio calibration:_____________________ 127 (read-only)"},
  };
  for (const auto& c : cases) {
    VynData data = Fixture();
    data.WorkingImage[0x0F7] = c.byte;
    EXPECT_EQ(LineStarting(TextListContent(data, Kemb()), "[0xF7]"), c.line);
  }
}

TEST(TextListTest, AlarmTypeDefinitionsEndTheFile) {
  const std::string content = TextListContent(Fixture(), Kemb());
  const std::string tail =
      "[0xDD] Radio out of range:__________ 0x00\r\n"
      "[0xDE] Radio within range:__________ 0x00\r\n"
      "[0xDF] Away indication:_____________ 0x00\r\n"
      "[0x5B0] Network:____________________ 0x8E\r\n";
  ASSERT_GE(content.size(), tail.size());
  EXPECT_EQ(content.substr(content.size() - tail.size()), tail);
  EXPECT_NE(content.find("\r\n\r\n11 Alarm type definitions\r\n\r\nBit 7: (most significant "
                         "bit)\r\n   0=Not active\r\n"),
            std::string::npos);
  EXPECT_NE(content.find("   0=Reserved for future use (default)\r\n\r\n[0x90] "),
            std::string::npos);
}

TEST(TextListTest, EveryLineEndsWithCrLf) {
  VynData data = Fixture();
  // Line breaks inside image texts would split their line; they show as "?".
  PutText(data.WorkingImage, 0x240, "stun\nserver\r");
  const std::string content = TextListContent(data, Kemb());
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '\n') {
      EXPECT_TRUE(i > 0 && content[i - 1] == '\r') << i;
    }
    if (content[i] == '\r') {
      EXPECT_TRUE(i + 1 < content.size() && content[i + 1] == '\n') << i;
    }
  }
  EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
  EXPECT_EQ(LineStarting(content, "[0x240]"),
            "[0x240] STUN server:__________________________ stun?server? ");
}

// A damaged image's texts (here number A's pool entry 03 31 00 1B) and a file name with control
// characters never put a control byte into the list.
TEST(TextListTest, ControlCharactersOfImageTextsAndFileNamesShowAsQuestionMarks) {
  VynData data = Fixture();
  std::fill(data.WorkingImage.begin() + 0x600, data.WorkingImage.begin() + 0x770, 0);
  for (int slot = 0; slot < 6; ++slot) data.WorkingImage[0x010 + 8 * slot] = 0xFF;
  data.WorkingImage[0x010] = 0;
  Put(data.WorkingImage, 0x600, {0x03, 0x31, 0x00, 0x1B});
  PutText(data.WorkingImage, 0x200, "ntp\x1b[2J\x7F");
  data.FileName = "/data/a\x1b\tb.Rodid";
  const std::string content = TextListContent(data, Kemb());
  EXPECT_EQ(LineStarting(content, "[0x10-0x17]"), "[0x10-0x17] Telephone number A:___ 1??");
  EXPECT_EQ(LineStarting(content, "[0x200]"),
            "[0x200] NTP server:___________________________ ntp?[2J? ");
  EXPECT_EQ(LineStarting(content, "<"), "</data/a??b.Rodid>");
  for (const char c : content) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_FALSE((byte < 0x20 && c != '\r' && c != '\n') || byte == 0x7F) << int{byte};
  }
}

TEST(TextListTest, HeaderNamesTheConfigurationFile) {
  VynData data = Fixture();
  data.FileName = "/data/M\xC3\xBCller.Rodid";  // UTF-8 on this system
  EXPECT_EQ(LineStarting(TextListContent(data, Kemb()), "<"), "</data/M\xFCller.Rodid>");
  data.Origin = ImageOrigin::FromDefault;
  EXPECT_EQ(LineStarting(TextListContent(data, Kemb()), "<"), "<Default.bin>");
  data.Origin = ImageOrigin::ReadFromUnit;
  data.FileName.clear();
  EXPECT_EQ(LineStarting(TextListContent(data, Kemb()), "<"), "<>");
}

TEST(TextListTest, ShortLayoutNumbersComeFromTheDialDigits) {
  VynData data = Fixture();
  data.ShortLayout = true;
  const DialField number = EncodeDialDigits("0W123#", DialKind::kTelephone);
  std::copy(number.begin(), number.end(), data.WorkingImage.begin() + 0x018);
  EXPECT_EQ(LineStarting(TextListContent(data, Kemb()), "[0x18-"),
            "[0x18-0x1F] Telephone number B:___ 0W123#");
}

// Every catalogue field is on the lines as often as the format names it: once, or never where
// the catalogue marks it as not in the list; one byte is printed in two sections, and the byte
// at 0x0B0 in one of its two readings.
TEST(TextListTest, LinesCoverEveryCatalogueFieldTheListNames) {
  const StringTable with_auto_answer = Velkstrom().WithText(13227, "Auto answer");
  for (const StringTable* strings : {&Kemb(), &Velkstrom(), &with_auto_answer}) {
    std::map<const FieldInfo*, int> seen;
    for (const TextListLine& line : TextListLineFields(*strings)) {
      EXPECT_FALSE(line.fields.empty()) << line.name << " is not in the catalogue";
      for (const FieldInfo* field : line.fields) ++seen[field];
    }
    const FieldInfo* radio_test = FindField("RadioTestBits");
    const FieldInfo* auto_answer = FindField("AutoAnswerDuration");
    EXPECT_EQ(seen[radio_test] + seen[auto_answer], 1);
    EXPECT_EQ(seen[auto_answer], strings == &with_auto_answer ? 1 : 0);
    for (const FieldInfo& field : FieldCatalogue()) {
      if (&field == radio_test || &field == auto_answer) continue;
      const int expected = field.name == "ResetTestAlarmTimer" ? 2 : (field.in_text_list ? 1 : 0);
      EXPECT_EQ(seen[&field], expected) << field.name;
    }
  }
}

TEST(TextListTest, FileNameFollowsTheOrigin) {
  const struct {
    ImageOrigin origin;
    const char* file_name;
    const char* alarm_code_a;
    const char* folder;
    const char* expected;
  } cases[] = {
      {ImageOrigin::OpenedFile, "/data/abc.Rodid", "", "/var/vyn/", "/data/abc.Rodid.txt"},
      {ImageOrigin::SavedFile, "/data/abc.Rodid", "1234", "/var/vyn/", "/data/abc.Rodid.txt"},
      {ImageOrigin::FromDefault, "/data/abc.Rodid", "", "/var/vyn/", "/var/vyn/Default.txt"},
      {ImageOrigin::FromDefault, "", "", "/var/vyn", "/var/vyn/Default.txt"},
      {ImageOrigin::ReadFromUnit, "", "1234", "/var/vyn/", "(1234).txt"},
      {ImageOrigin::ReadFromUnit, "", "", "/var/vyn/", "(null).txt"},
      {ImageOrigin::ReadFromUnit, "/data/abc.Rodid", "12A4", "/var/vyn/",
       "/data/abc.Rodid(12A4).txt"},
  };
  for (const auto& c : cases) {
    VynData data;
    data.Origin = c.origin;
    data.FileName = c.file_name;
    StoreAlarmCodes(data.WorkingImage, {c.alarm_code_a, "", "", "", "", ""});
    EXPECT_EQ(TextListFileName(data, c.folder), c.expected) << c.file_name << c.alarm_code_a;
  }
}

TEST(TextListTest, WriteReplacesAnExistingListWhole) {
  testing::TempFolder folder;
  VynData data = Fixture();
  data.FileName = folder.File("abc.Rodid");
  const std::string path = folder.File("abc.Rodid.txt");
  folder.Write("abc.Rodid.txt", std::string(100000, 'x'));

  const TextListResult result = WriteTextList(data, Kemb(), folder.Path().string() + "/");
  EXPECT_EQ(result.status, TextListStatus::kWritten);
  EXPECT_EQ(result.path, path);
  EXPECT_EQ(testing::TempFolder::Read(path), TextListContent(data, Kemb()));
  // Nothing but the list is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(TextListTest, AFileThatCannotBeCreatedIsReported) {
  testing::TempFolder folder;
  VynData data = Fixture();
  data.FileName = folder.File("missing/abc.Rodid");
  const TextListResult result = WriteTextList(data, Kemb(), "");
  EXPECT_EQ(result.status, TextListStatus::kCannotCreate);
  EXPECT_EQ(result.path, folder.File("missing/abc.Rodid.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
}

}  // namespace
}  // namespace vyn

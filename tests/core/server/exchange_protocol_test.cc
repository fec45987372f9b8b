#include "core/server/exchange_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyn {
namespace {

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(UnitIdentifierTest, CountryEntriesAndSerialTexts) {
  const struct {
    const char* serial;
    int entry;
    const char* identifier;
  } cases[] = {
      {"1234", 0, "1234"},
      {"1234", 1, "0001234"},
      {"1234", 2, "1001234"},
      {"1234", 3, "2001234"},
      {"1234", 4, "3001234"},
      {"1234", 5, "4001234"},
      {"1234567", 5, "41234567"},
      {"12345678", 2, "112345678"},
      {"abc", 0, "0"},
      {"abc", 2, "1000000"},
      {"12ab", 0, "0"},
      {"", 5, "4000000"},
      {"  42", 0, "42"},
      {"42 ", 0, "0"},
      {"-5", 0, "-5"},
      {"0001234", 0, "1234"},
      {"2147483647", 0, "2147483647"},
      {"2147483648", 0, "0"},
      {"99999999999999999999", 0, "0"},
      {"1234", 6, "1234"},
      {"1234", -1, "1234"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnitIdentifier(c.serial, c.entry), c.identifier)
        << "'" << c.serial << "' entry " << c.entry;
  }
}

TEST(UnitIdentifierTest, DefaultEntryByEdition) {
  EXPECT_EQ(DefaultCountryEntry("KEMB GmbH"), 5);
  EXPECT_EQ(kCountryEntries[5], "GSM (DE)");
  EXPECT_EQ(DefaultCountryEntry("KEMB UK"), 0);
  EXPECT_EQ(DefaultCountryEntry("Velkstrom"), 0);
  EXPECT_EQ(kCountryEntries[0], "IP, IP/GSM");
}

TEST(CheckByteTest, BytesAndCheckByteAddUpToFF) {
  std::vector<std::uint8_t> window(kWindowSize, 0x00);
  EXPECT_EQ(CheckByte(window), 0xFF);
  // 256 bytes of 0xFF sum to 0xFF00, whose low byte is 0.
  std::fill(window.begin(), window.end(), 0xFF);
  EXPECT_EQ(CheckByte(window), 0xFF);
  window[0] = 0xFE;
  EXPECT_EQ(CheckByte(window), 0x00);
  for (int i = 0; i < kWindowSize; ++i) window[i] = static_cast<std::uint8_t>(i * 7 + 3);
  unsigned sum = CheckByte(window);
  for (std::uint8_t b : window) sum += b;
  EXPECT_EQ(sum % 256, 0xFFu);
}

TEST(ExchangeMessageTest, EveryMessageOfTheProgrammer) {
  ParameterImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i);
  const MessageFields f{"4001234", 17, "secret", DataWindow{512, 767}, &image};
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kReadRequest, f)),
            "ID:Prog_4001234,17;Read VYN IP config:secret");
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kWriteRequest, f)),
            "ID:Prog_4001234,17;Write VYN IP config:secret");
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kGetStatus, f)),
            "ID:Prog_4001234,17;Get status:secret");
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kGetData, f)),
            "ID:Prog_4001234,17;Get data:secret;512,767");
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kCancel, f)),
            "ID:Prog_4001234,17;Cancel config load:secret");
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kConfigLoadOk, f)),
            "ID:Prog_4001234,17;Config load OK:secret");
  const MessageFields negative{"1", -5, "", DataWindow{}, &image};
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kGetStatus, negative)), "ID:Prog_1,-5;Get status:");

  const std::vector<std::uint8_t> data = BuildMessage(ExchangeMessage::kConfigData, f);
  const std::string head = "ID:Prog_4001234,17;Config data:secret;512,767,";
  ASSERT_EQ(data.size(), head.size() + 257);
  EXPECT_EQ(Text(data).substr(0, head.size()), head);
  EXPECT_TRUE(std::equal(image.begin() + 512, image.begin() + 768, data.begin() + head.size()));
  EXPECT_EQ(data.back(), CheckByte({image.data() + 512, 256}));

  // A window outside the image carries no bytes at all.
  const MessageFields outside{"1", 0, "pw", DataWindow{2048, 2303}, &image};
  EXPECT_EQ(Text(BuildMessage(ExchangeMessage::kConfigData, outside)),
            "ID:Prog_1,0;Config data:pw;2048,2303,");
}

TEST(ReplyTest, StatusTextFollowsFiveLeadingFields) {
  EXPECT_EQ(ReplyStatusText("ID:Srv_1,2;3,4,Busy"), "Busy");
  EXPECT_EQ(ReplyStatusText("a:b,c;d,e,"), "");
  // Separators are found in their order; the status may hold more of them.
  EXPECT_EQ(ReplyStatusText(",;:x,y;z,w,Send config data a,b;c"), "Send config data a,b;c");
  EXPECT_EQ(ReplyStatusText(std::string_view("ID:1,2;3,4,Busy\0tail", 20)), "Busy");
  for (const char* bad : {"", "Busy", "ID:1,2;3,4Busy", "ID:1,2,3,4,Busy", "ID;1,2:3,4,Busy"}) {
    EXPECT_FALSE(ReplyStatusText(bad).has_value()) << bad;
  }
  // A 0 byte in the leading fields ends the text before the status.
  EXPECT_FALSE(ReplyStatusText(std::string_view("ID:1\0,2;3,4,Busy", 16)).has_value());
}

TEST(ReplyTest, StatusTextsInTheirOrder) {
  const struct {
    const char* status;
    ReplyKind kind;
    int percent;
  } cases[] = {
      {"Idle", ReplyKind::kIdle, 0},
      {"Idle ", ReplyKind::kUnknown, 0},
      {"Busy", ReplyKind::kBusy, 0},
      {"Waiting", ReplyKind::kWaiting, 0},
      {"Read request queued pw", ReplyKind::kReadQueued, 0},
      {"Read request queued other", ReplyKind::kUnknown, 0},
      {"Write request queued pw", ReplyKind::kWriteQueued, 0},
      {"VYN IP sending data pw 45", ReplyKind::kUnitSending, 45},
      {"VYN IP sending data pw:7%", ReplyKind::kUnitSending, 7},
      {"VYN IP sending data pw", ReplyKind::kUnitSending, 0},
      {"VYN IP sending data pw ", ReplyKind::kUnitSending, 0},
      {"VYN IP sending data pw x", ReplyKind::kUnitSending, 0},
      {"VYN IP sending data pw 99999999999", ReplyKind::kUnitSending, 2147483647},
      {"Sending VYN IP config pw", ReplyKind::kSendingConfig, 0},
      {"Sending VYN IP config pw!", ReplyKind::kUnknown, 0},
      {"Send config data pw", ReplyKind::kSendConfigData, 0},
      {"Send config data pw;0,255", ReplyKind::kSendConfigData, 0},
      {"Config data received pw", ReplyKind::kConfigDataReceived, 0},
      {"Data transfer pw ...", ReplyKind::kDataTransfer, 0},
      {"VYN IP receiving data pw 30", ReplyKind::kUnitReceiving, 30},
      {"RODID write OK pw", ReplyKind::kWriteOk, 0},
      {"Error in password pw", ReplyKind::kPasswordError, 0},
      {"Error in password", ReplyKind::kUnknown, 0},
      {"", ReplyKind::kUnknown, 0},
  };
  for (const auto& c : cases) {
    const ReplyMatch match = MatchStatus(c.status, "pw");
    EXPECT_EQ(match.kind, c.kind) << c.status;
    EXPECT_EQ(match.percent, c.percent) << c.status;
  }
  // "%" in a password is text, not a format.
  EXPECT_EQ(MatchStatus("Read request queued %s%d", "%s%d").kind, ReplyKind::kReadQueued);
  // With an empty password the texts end with their blank.
  EXPECT_EQ(MatchStatus("RODID write OK ", "").kind, ReplyKind::kWriteOk);
  EXPECT_EQ(MatchStatus("Data transfer pw", "pw").text_length, 16u);
}

}  // namespace
}  // namespace vyn

// LoadControls then StoreControls gives back the image it loaded, apart from the changes every
// store makes on purpose (listed once, in Normalised); values nobody touched stay as they were.

#include <random>

#include "core/editor/form/call_numbers.h"
#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/image/number_pool.h"
#include "core/editor/form/editor_fixture.h"

namespace vyn::testing {
namespace {

// What every load-and-store changes in an image: the layout version and the PIN mark, and the
// number area rewritten from its start (slot tails 0xAA, ID numbers padded with 0xAA after their
// end mark, the pool packed from 0x600 and 0 after its last entry).
ParameterImage Normalised(ParameterImage image, bool short_layout = false) {
  image[FindField("LayoutVersion")->address] = 5;
  image[FindField("ShowPinOnRecord")->address] = 1;
  StoreNumbers(image, FetchNumbers(image, short_layout), FetchAlarmCodes(image));
  return image;
}

void ExpectSameBytes(const ParameterImage& actual, const ParameterImage& expected,
                     const std::string& what) {
  int differences = 0;
  for (std::size_t a = 0; a < actual.size() && differences < 5; ++a) {
    if (actual[a] == expected[a]) continue;
    ++differences;
    const FieldInfo* field = FieldAt(static_cast<int>(a));
    ADD_FAILURE() << what << ": byte 0x" << std::hex << a << " (" << (field ? field->name : "-")
                  << ") is " << int{actual[a]} << ", expected " << int{expected[a]};
  }
}

// Text of the characters a number box can hold, some with a comma.
std::string RandomNumber(std::mt19937& random, std::size_t max_length) {
  static constexpr char kChars[] = "0123456789*#CTW,";
  std::uniform_int_distribution<std::size_t> length(0, max_length);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(kChars) - 2);
  std::string text(length(random), ' ');
  for (char& c : text) c = kChars[pick(random)];
  return text;
}

// Random bytes everywhere, every list byte of the bound pages one of its list's codes, and
// numbers that fit the pool.
ParameterImage RandomImage(std::mt19937& random, const EditorForm& form) {
  ParameterImage image;
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::uint8_t& b : image) b = static_cast<std::uint8_t>(byte(random));
  for (const PageBinding& page : EditorPages()) {
    for (const ControlBinding& row : page.rows) {
      if (row.list_section.empty()) continue;
      const ChoiceList& list = form.Get(row.name).list();
      std::uniform_int_distribution<int> item(0, list.Count() - 1);
      image[FindField(row.field)->address] = static_cast<std::uint8_t>(list.Code(item(random)));
    }
  }
  NumberTexts numbers;
  NumberTexts codes;
  for (int i = 0; i < kCallRows; ++i) {
    numbers[i] = RandomNumber(random, 50);
    codes[i] = RandomNumber(random, 16);
    std::erase(codes[i], ',');
    std::replace(codes[i].begin(), codes[i].end(), 'C', 'A');
  }
  EXPECT_EQ(StoreNumbers(image, numbers, codes), NumberStoreResult::kOk);
  return image;
}

using RoundTripTest = EditorFixture;

TEST_F(RoundTripTest, TheDeliveredDefaultComesBackAsItWas) {
  const ParameterImage image = DeliveredDefault();
  EXPECT_EQ(Load(image), kLoadOk);
  // Byte for byte: the default is already in the form every store gives.
  ExpectSameBytes(Cycle(image), image, "Default.b");
}

TEST_F(RoundTripTest, GeneratedImagesComeBackInEveryEdition) {
  std::mt19937 random(20240611);
  for (const char* edition : {"KEMB GmbH", "KEMB UK", "Velkstrom"}) {
    Build(StringTable::Builtin().WithText(kEditionNameStringId, edition));
    for (int n = 0; n < 12; ++n) {
      const ParameterImage image = RandomImage(random, Form());
      const std::string what = std::string(edition) + " image " + std::to_string(n);
      ASSERT_EQ(Load(image), kLoadOk) << what;
      ExpectSameBytes(Cycle(image), Normalised(image), what);
      // A second cycle changes nothing more.
      ExpectSameBytes(Cycle(data_.WorkingImage), Normalised(image), what + ", second cycle");
    }
  }
}

TEST_F(RoundTripTest, AShortLayoutImageMovesItsNumbersIntoThePool) {
  ParameterImage image{};
  const DialField a = EncodeDialDigits("0W123#", DialKind::kTelephone);
  const DialField v = EncodeDialDigits("112", DialKind::kTelephone);
  std::copy(a.begin(), a.end(), image.begin() + 0x010);
  std::copy(v.begin(), v.end(), image.begin() + 0x038);
  for (int slot = 0x018; slot < 0x038; ++slot) image[slot] = 0xAA;
  Load(image, true);
  EXPECT_EQ(Get("edtTelephoneNoA").text(), "0W123#");
  EXPECT_EQ(Get("edtTelephoneNoV").text(), "112");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_FALSE(data_.ShortLayout);
  EXPECT_EQ(FetchNumbers(data_.WorkingImage, false),
            (NumberTexts{"0W123#", "", "", "", "", "112"}));
}

// The duplex rows are shown rounded to three decimals (the time rows as whole eighths), so
// converting the shown text back would change the value with every store.
TEST_F(RoundTripTest, DuplexValuesNobodyTouchedKeepTheirBytes) {
  ParameterImage image = DeliveredDefault();
  const int release = FindField("DuplexSignalRelease")->address;     // row 19
  const int threshold = FindField("DuplexSpeechThreshold")->address;  // row 24
  const int noise_release = FindField("DuplexNoiseRelease")->address;
  WriteWord32(std::span<std::uint8_t, 4>(image.data() + release, 4), 0);
  WriteWord32(std::span<std::uint8_t, 4>(image.data() + threshold, 4), 0);
  WriteWord32(std::span<std::uint8_t, 4>(image.data() + noise_release, 4), 5000);
  ParameterImage cycled = image;
  for (int cycle = 0; cycle < 5; ++cycle) cycled = Cycle(cycled);
  ExpectSameBytes(cycled, Normalised(image), "five cycles");

  // A cell the user edits is converted: a typed 0 stores the release form's 0 dB.
  Load(image);
  EditCell(19, "0.001");
  EditCell(19, "0");
  EXPECT_EQ(Cell(19), "0");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(ReadWord32(std::span<const std::uint8_t, 4>(data_.WorkingImage.data() + release, 4)),
            0u);
  EditCell(19, "0.0");
  ASSERT_EQ(Store().result, StoreResult::kOk);
  EXPECT_EQ(ReadWord32(std::span<const std::uint8_t, 4>(data_.WorkingImage.data() + release, 4)),
            16777215u);
}

}  // namespace
}  // namespace vyn::testing

// vyn-mkdefault CONFIG OUT: builds the default configuration image from its readable source,
// one "FieldName = value" per line in the field's display form (see data/default_config.txt).
//
// The image starts all zero, so every byte the source does not name holds 0. Telephone
// numbers and alarm codes are stored the way the editor stores them (number slots, pool,
// alarm-code digits), also when the source gives none. TimeZoneGroup follows TimeZoneIndex
// by the editor's rule unless the source gives it, in which case the two must agree.

#include <array>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "core/image/codecs.h"
#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/image/image_file.h"
#include "core/image/number_pool.h"

namespace {

using vyn::FieldEncoding;
using vyn::FieldInfo;
using vyn::FieldParseResult;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// A value in double quotes keeps its outer spaces; the quotes are not part of it.
std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

const char* ParseError(FieldParseResult result) {
  switch (result) {
    case FieldParseResult::kBadValue:
      return "value not of the field's form";
    case FieldParseResult::kOutOfRange:
      return "value out of range";
    case FieldParseResult::kTooLong:
      return "text longer than the field's room";
    case FieldParseResult::kNotWritable:
      return "field is filled by the unit only";
    default:
      return "value not accepted";
  }
}

int LetterIndex(const FieldInfo& field) {
  return (field.address - (field.encoding == FieldEncoding::kTelephoneSlot
                               ? vyn::kNumberSlotRange.first
                               : vyn::kAlarmCodeRange.first)) /
         8;
}

bool IsNumberText(const std::string& text) {
  for (char c : text) {
    if (c != ',' && !vyn::AcceptsDialKey(c)) return false;
  }
  return text.size() <= 255;
}

class Generator {
 public:
  explicit Generator(std::string source) : source_(std::move(source)) {}

  bool Line(int number, const std::string& raw) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return true;
    const auto equals = line.find('=');
    if (equals == std::string::npos) return Fail(number, "expected \"FieldName = value\"");
    const std::string name = Trim(line.substr(0, equals));
    const std::string value = Unquote(Trim(line.substr(equals + 1)));
    const FieldInfo* field = vyn::FindField(name);
    if (!field || field->alternate) return Fail(number, "unknown field '" + name + "'");
    if (!seen_.emplace(name, number).second) {
      return Fail(number, "field '" + name + "' given twice (first on line " +
                              std::to_string(seen_[name]) + ")");
    }
    if (field->encoding == FieldEncoding::kTelephoneSlot) {
      if (!IsNumberText(value)) return Fail(number, "'" + value + "' is not a dial number");
      numbers_[LetterIndex(*field)] = value;
      return true;
    }
    if (field->encoding == FieldEncoding::kAlarmCode) {
      vyn::ParameterImage scratch{};
      const FieldParseResult result = vyn::ParseFieldValue(scratch, *field, value);
      if (result != FieldParseResult::kOk) return Fail(number, name + ": " + ParseError(result));
      alarm_codes_[LetterIndex(*field)] = value;
      return true;
    }
    const FieldParseResult result = vyn::ParseFieldValue(image_, *field, value);
    if (result != FieldParseResult::kOk) {
      return Fail(number, name + " = '" + value + "': " + ParseError(result));
    }
    return true;
  }

  bool Finish() {
    if (vyn::StoreNumbers(image_, numbers_, alarm_codes_) != vyn::NumberStoreResult::kOk) {
      return Fail(0, "the telephone numbers do not fit the number pool");
    }
    const FieldInfo& group = *vyn::FindField("TimeZoneGroup");
    const FieldInfo& index = *vyn::FindField("TimeZoneIndex");
    const int expected = vyn::TimeZoneGroupFor(image_[index.address]);
    if (!seen_.count(group.name)) {
      image_[group.address] = static_cast<std::uint8_t>(expected);
    } else if (static_cast<std::int8_t>(image_[group.address]) != expected) {
      return Fail(seen_[group.name], "TimeZoneGroup does not match TimeZoneIndex (expected " +
                                         std::to_string(expected) + ")");
    }
    if (image_[vyn::FindField("TestAlarmInterval")->address] == 0) {
      return Fail(0, "TestAlarmInterval must not be 0");
    }
    return true;
  }

  const vyn::ParameterImage& image() const { return image_; }

 private:
  bool Fail(int line, const std::string& message) {
    std::cerr << source_;
    if (line > 0) std::cerr << ":" << line;
    std::cerr << ": " << message << "\n";
    return false;
  }

  std::string source_;
  vyn::ParameterImage image_{};
  vyn::NumberTexts numbers_;
  vyn::NumberTexts alarm_codes_;
  std::map<std::string, int> seen_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vyn-mkdefault CONFIG OUT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  Generator generator(argv[1]);
  std::string line;
  bool ok = true;
  for (int number = 1; std::getline(in, line); ++number) ok = generator.Line(number, line) && ok;
  if (!ok || !generator.Finish()) return 1;
  if (vyn::WriteImageFile(generator.image(), argv[2]) != vyn::ImageWriteResult::kOk) {
    std::cerr << argv[2] << ": cannot be written\n";
    return 1;
  }
  return 0;
}

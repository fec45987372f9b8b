// vyn-soak-image: a random valid configuration for the fault-injection soak (bench/soak.sh).
// Every byte is random, except the ranges a write at access level 0 keeps from the unit (taken
// from the unit's memory, so a verified write must leave exactly this image in the unit) and the
// bytes the load checks refuse (taken from the default configuration, which passes them).
//
// usage: vyn-soak-image SEED UNIT_MEMORY VALUES_INI DEFAULT_IMAGE OUT

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "core/image/field_values.h"
#include "core/image/image_file.h"
#include "core/image/list_tables.h"
#include "core/link/write_plan.h"
#include "core/session/session.h"
#include "core/settings/vyn_ini.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: vyn-soak-image SEED UNIT_MEMORY VALUES_INI DEFAULT_IMAGE OUT\n";
    return 2;
  }
  vyn::ParameterImage unit{}, fallback{};
  bool short_layout = false;
  if (vyn::ReadImageFile(argv[2], unit, short_layout) != vyn::ImageFileResult::kOk ||
      vyn::ReadImageFile(argv[4], fallback, short_layout) != vyn::ImageFileResult::kOk) {
    std::cerr << "vyn-soak-image: the unit's memory or the default image cannot be read\n";
    return 1;
  }
  std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
  vyn::ParameterImage image{};
  for (std::uint8_t& byte : image) byte = static_cast<std::uint8_t>(random());
  for (const vyn::WritePlanStep& step : vyn::MakeWritePlan(vyn::Session{})) {
    for (int a = step.range.first; a <= step.range.last; ++a) {
      image[static_cast<std::size_t>(a)] = unit[static_cast<std::size_t>(a)];
    }
  }
  const vyn::VynIni ini(argv[3]);
  vyn::ListTables lists(ini);
  for (const vyn::InvalidByte& bad : vyn::ValidateImage(image, lists.Membership())) {
    image[static_cast<std::size_t>(bad.address)] = fallback[static_cast<std::size_t>(bad.address)];
  }
  if (!vyn::ValidateImage(image, lists.Membership()).empty()) {
    std::cerr << "vyn-soak-image: the default image does not pass the load checks\n";
    return 1;
  }
  return vyn::WriteImageFile(image, argv[5]) == vyn::ImageWriteResult::kOk ? 0 : 1;
}

#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/image/field_catalogue.h"
#include "core/image/field_values.h"
#include "core/settings/vyn_ini.h"

namespace vyn {

// The lists of the settings file that feed list-valued fields, each read once, for the load
// validation of whole images.
class ListTables {
 public:
  explicit ListTables(const VynIni& ini) : ini_(ini) {}

  // Whether `code` is a key of the list that feeds `field`.
  bool Contains(const FieldInfo& field, std::uint8_t code);
  ListMembership Membership() {
    return [this](const FieldInfo& field, std::uint8_t code) { return Contains(field, code); };
  }

 private:
  const VynIni& ini_;
  std::map<std::pair<std::string, bool>, std::vector<int>> tables_;
};

}  // namespace vyn

#include "core/image/list_tables.h"

#include "core/settings/choice_list.h"

namespace vyn {

bool ListTables::Contains(const FieldInfo& field, std::uint8_t code) {
  const bool stop = field.list_mode == ListMode::kStopAtSeparator;
  auto key = std::make_pair(field.list_section, stop);
  auto it = tables_.find(key);
  if (it == tables_.end()) {
    ChoiceList list;
    std::vector<int> table;
    ini_.FillList(list, field.list_section, table, ListCapacity(field.list_section), stop);
    it = tables_.emplace(std::move(key), std::move(table)).first;
  }
  return VynIni::PositionOfValue(it->second, code) >= 0;
}

}  // namespace vyn

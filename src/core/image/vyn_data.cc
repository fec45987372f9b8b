#include "core/image/vyn_data.h"

#include <algorithm>

namespace vyn {

bool VynData::RangeMatches(int first, int last) const {
  if (first < 0 || last < first || last >= static_cast<int>(kImageSize)) return false;
  return std::equal(WorkingImage.begin() + first, WorkingImage.begin() + last + 1,
                    DeviceImage.begin() + first);
}

}  // namespace vyn

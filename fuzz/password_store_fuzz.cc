// The password store: any file gives each slot an empty text or a password that fits a record,
// and a password written to a slot reads back while the other slots keep theirs.

#include <cstdint>
#include <string>

#include "core/access/password_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vyn;
  fuzz::Input input(data, size);
  const int slot = 2 + static_cast<int>(input.Below(5));
  std::string password = input.Bytes(kLongestPassword);
  const std::string content = input.Rest();
  const std::string path = fuzz::ScratchFile("VynLng.tbl", content);
  const PasswordStore store(path);

  std::string before[7];
  for (int s = 2; s <= 6; ++s) {
    before[s] = store.ReadSlot(s);
    FUZZ_CHECK(before[s].size() <= kLongestPassword);
    FUZZ_CHECK(before[s].find('\0') == std::string::npos);
  }
  const int level = store.LevelFor(password);
  FUZZ_CHECK(level == 0 || (level >= 2 && level <= 6));

  const bool fits = password.find('\0') == std::string::npos;
  FUZZ_CHECK(store.WriteSlot(slot, password) == fits);
  if (!fits) return 0;
  FUZZ_CHECK(store.ReadSlot(slot) == (password.empty() ? kEmptyPasswordMarker : password));
  // A store that was whole keeps every other record; a short one gets fresh filler.
  if (content.size() >= kPasswordStoreSize) {
    for (int s = 2; s <= 6; ++s) {
      if (s != slot) FUZZ_CHECK(store.ReadSlot(s) == before[s]);
    }
  }
  return 0;
}

// GetPluginInfo on any key: never null, the same pointer for the same key,
// a non-empty answer exactly for the seven known keys.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "plugin/plugin_exports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string key(reinterpret_cast<const char*>(data), size);
  key.resize(std::strlen(key.c_str()));

  const char* answer = GetPluginInfo(key.c_str());
  FUZZ_CHECK(answer != nullptr);
  FUZZ_CHECK(GetPluginInfo(key.c_str()) == answer);
  // A copy of the key at another address gives the same answer.
  const std::string copy = key;
  FUZZ_CHECK(GetPluginInfo(copy.c_str()) == answer);

  static const char* const kKnown[] = {
      "name", "author", "version", "comparer", "viewer", "tbc", "description"};
  bool known = false;
  for (const char* k : kKnown) known = known || key == k;
  FUZZ_CHECK(known == (answer[0] != '\0'));
  if (!known) FUZZ_CHECK(answer == GetPluginInfo(nullptr));

  FUZZ_CHECK(std::strcmp(GetTrovixVersion(), "0.8.2") == 0);
  FUZZ_CHECK(TrovixPlugin());
  return 0;
}

// PluginCompare on two paths cut from the input. Besides not crashing, the
// verdict must be the comparison's own, a name with words must match
// itself, and when the lists differ in length the order of the paths must
// not matter (the shorter list is looked up either way).
#include <cstddef>
#include <cstdint>

#include "compare/name_compare.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/two_paths.h"
#include "plugin/plugin_exports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const auto [a, b] = wordlap::fuzz::TwoPaths(data, size);
  const bool verdict = PluginCompare(a.c_str(), b.c_str());
  FUZZ_CHECK(verdict == wordlap::CompareNames(a, b));

  const std::size_t words_a = wordlap::PathWords(a).Count();
  const std::size_t words_b = wordlap::PathWords(b).Count();
  FUZZ_CHECK(PluginCompare(a.c_str(), a.c_str()) == (words_a > 0));
  if (words_a != words_b) {
    FUZZ_CHECK(PluginCompare(b.c_str(), a.c_str()) == verdict);
  }
  return 0;
}

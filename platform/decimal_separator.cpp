#include "platform/decimal_separator.h"

namespace wordlap::platform {
namespace {

// Initialised while the library is loaded, on the loading thread, so the
// separator follows that thread's locale and never changes afterwards.
const SeparatorCharacter kSeparator = ReadDecimalSeparator();

}  // namespace

std::string_view DecimalSeparator() noexcept {
  if (kSeparator.size == 0) return ".";
  return {kSeparator.bytes, kSeparator.size};
}

}  // namespace wordlap::platform

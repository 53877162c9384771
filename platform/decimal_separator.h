// The decimal separator of the percentage in the comparison's lines.
#pragma once

#include <cstddef>
#include <string_view>

namespace wordlap::platform {

// The first character of the locale's decimal separator, read once when the
// library was loaded; "." when it could not be read.
std::string_view DecimalSeparator() noexcept;

// The first character of a separator setting: up to four bytes, none when
// the setting could not be read.
struct SeparatorCharacter {
  char bytes[4] = {};
  std::size_t size = 0;
};

// Reads the setting from the platform's locale; called once, at load.
SeparatorCharacter ReadDecimalSeparator();

}  // namespace wordlap::platform

// The decimal separator of the percentage in the comparison's lines.
#pragma once

#include <string_view>

namespace wordlap::platform {

// The first character of the locale's decimal separator, read once when the
// library was loaded; "." when it could not be read.
std::string_view DecimalSeparator() noexcept;

}  // namespace wordlap::platform

// The share of found words: the match threshold and the percentage text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wordlap {

// True when more than nine tenths of the `words` were found. Exactly nine
// tenths is not a match.
constexpr bool IsMatch(std::uint64_t found, std::uint64_t words) {
  return 10 * found > 9 * words;
}

// 100 * found / words (words > 0, found <= words) rounded half up to 15
// significant digits and written in general format: no trailing zeros, no
// separator without digits after it, and below 0.0001 the exponent form
// "1.25E-5". `separator` stands between the whole and the fractional digits.
std::string FormatPercentage(std::uint64_t found, std::uint64_t words,
                             std::string_view separator);

}  // namespace wordlap

#include "compare/percentage.h"

#include <cassert>

namespace wordlap {
namespace {

constexpr int kSignificantDigits = 15;

// The first significant digits of a positive quotient and the power of ten
// of the first of them: value = 0.d1d2d3... * 10^(exponent + 1).
struct Digits {
  std::string digits;
  int exponent = 0;
};

// Exact long division of numerator / denominator, then half-up rounding at
// the sixteenth significant digit. Rounding may carry into a new leading
// digit (99.99...95 becomes 100).
Digits SignificantDigits(std::uint64_t numerator, std::uint64_t denominator) {
  Digits result;
  const std::uint64_t whole = numerator / denominator;
  std::uint64_t remainder = numerator % denominator;
  if (whole > 0) {
    result.digits = std::to_string(whole);
    result.exponent = static_cast<int>(result.digits.size()) - 1;
  } else {
    result.exponent = -1;
    while (remainder * 10 < denominator) {
      remainder *= 10;
      --result.exponent;
    }
  }
  while (result.digits.size() <= kSignificantDigits) {
    remainder *= 10;
    result.digits += static_cast<char>('0' + remainder / denominator);
    remainder %= denominator;
  }
  const bool round_up = result.digits[kSignificantDigits] >= '5';
  result.digits.resize(kSignificantDigits);
  if (round_up) {
    int i = kSignificantDigits - 1;
    while (i >= 0 && result.digits[i] == '9') result.digits[i--] = '0';
    if (i >= 0) {
      ++result.digits[i];
    } else {
      result.digits.insert(result.digits.begin(), '1');
      result.digits.pop_back();
      ++result.exponent;
    }
  }
  return result;
}

std::string_view WithoutTrailingZeros(std::string_view digits) {
  while (!digits.empty() && digits.back() == '0') digits.remove_suffix(1);
  return digits;
}

}  // namespace

std::string FormatPercentage(std::uint64_t found, std::uint64_t words,
                             std::string_view separator) {
  assert(words > 0 && found <= words);
  if (found == 0) return "0";
  // found <= words keeps 100 * found and every remainder * 10 far below 2^64
  // for any word count a text can hold.
  const Digits value = SignificantDigits(100 * found, words);
  std::string text;
  if (value.exponent < -4) {
    const std::string_view rest =
        WithoutTrailingZeros(std::string_view(value.digits).substr(1));
    text += value.digits[0];
    if (!rest.empty()) text.append(separator).append(rest);
    text += "E-";
    text += std::to_string(-value.exponent);
  } else if (value.exponent >= 0) {
    const auto whole = static_cast<std::size_t>(value.exponent) + 1;
    text = value.digits.substr(0, whole);
    const std::string_view fraction =
        WithoutTrailingZeros(std::string_view(value.digits).substr(whole));
    if (!fraction.empty()) text.append(separator).append(fraction);
  } else {
    text = "0";
    text.append(separator);
    text.append(static_cast<std::size_t>(-value.exponent - 1), '0');
    text.append(WithoutTrailingZeros(value.digits));
  }
  return text;
}

}  // namespace wordlap

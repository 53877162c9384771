#include "act/base64.h"

#include <array>
#include <cstdint>

namespace wordlap::act {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeValues() {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    values[static_cast<unsigned char>(kAlphabet[i])] =
        static_cast<std::int8_t>(i);
  }
  return values;
}
constexpr std::array<std::int8_t, 256> kValues = MakeValues();

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t at = 0; at < text.size(); at += 4) {
    const bool last = at + 4 == text.size();
    std::size_t padding = 0;
    std::uint32_t quad = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const char c = text[at + i];
      if (c == '=' && last && i >= 2) {
        ++padding;
        quad <<= 6;
        continue;
      }
      const std::int8_t value = kValues[static_cast<unsigned char>(c)];
      if (value < 0 || padding > 0) return std::nullopt;
      quad = (quad << 6) | static_cast<std::uint32_t>(value);
    }
    // Bits below the last byte must be zero, so that one text means one
    // path.
    if ((padding == 1 && (quad & 0xff) != 0) ||
        (padding == 2 && (quad & 0xffff) != 0)) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<char>(quad >> 16));
    if (padding < 2) bytes.push_back(static_cast<char>(quad >> 8));
    if (padding < 1) bytes.push_back(static_cast<char>(quad));
  }
  return bytes;
}

}  // namespace wordlap::act

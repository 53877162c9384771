// Two paths cut from one fuzz input: the bytes before the first zero byte
// and those after it, up to the next one (a path never holds a zero byte,
// since the host passes zero-terminated texts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace wordlap::fuzz {

inline std::pair<std::string, std::string> TwoPaths(const std::uint8_t* data,
                                                    std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  if (cut == std::string::npos) return {input, ""};
  std::string second = input.substr(cut + 1);
  second.resize(second.find('\0') == std::string::npos ? second.size()
                                                       : second.find('\0'));
  return {input.substr(0, cut), second};
}

}  // namespace wordlap::fuzz

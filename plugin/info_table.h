// The plug-in's answers to the host's information queries.
#pragma once

#include <string_view>

namespace wordlap {

inline constexpr char kHostVersion[] = "0.8.2";

// The answer for `key` (compared byte for byte, case respected), or the
// empty text. Every answer is a constant with a fixed address.
const char* PluginInfo(std::string_view key) noexcept;

}  // namespace wordlap

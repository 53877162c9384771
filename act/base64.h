// Base64 (RFC 4648, with padding), the form of paths that are not UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wordlap::act {

// The bytes `text` encodes, or nothing when it is not canonical base64.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace wordlap::act

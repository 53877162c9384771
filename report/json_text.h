// JSON strings that every reader takes: valid UTF-8 always, and paths that
// are not valid UTF-8 carried exactly in a second, base64 field.
#pragma once

#include <string>
#include <string_view>

namespace wordlap::report {

// The length of the well-formed UTF-8 sequence at the start of `text` (no
// overlong forms, no surrogates, nothing above U+10FFFF); 0 if none.
std::size_t Utf8SequenceLength(std::string_view text);

bool IsValidUtf8(std::string_view text);

// RFC 4648 base64 with padding.
std::string Base64(std::string_view bytes);

// Appends `text` as a JSON string: `"` and `\` escaped, U+0000 to U+001F
// and U+007F as \u00XX, each byte that is not part of well-formed UTF-8 as
// U+FFFD, every other character as itself.
void AppendJsonString(std::string& out, std::string_view text);

// Appends `"key":"text"` and, when `text` is not valid UTF-8,
// `,"key_base64":"..."` with its exact bytes.
void AppendTextField(std::string& out, std::string_view key,
                     std::string_view text);

}  // namespace wordlap::report

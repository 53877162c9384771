// Cutting a path down to its file name.
#pragma once

#include <string_view>

namespace wordlap {

// The part of `path` after its last `\`, `:` or `/`; the whole path when it
// holds none. The second byte of a double-byte character never counts as a
// separator.
std::string_view FileNamePart(std::string_view path);

// The extension of `name`: from its last `.` that follows every `\`, `:` and
// `/`, to the end; empty when there is no such dot. Double-byte aware like
// FileNamePart.
std::string_view ExtensionPart(std::string_view name);

}  // namespace wordlap

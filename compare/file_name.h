// Cutting a path down to its file name, and finding the file name's
// extension.
#pragma once

#include <string_view>

namespace wordlap {

// The parts of a path that a comparison reads, found in one search.
struct FileName {
  // The part after the last `\`, `:` or `/`; the whole path when it holds
  // none.
  std::string_view name;
  // From the name's last `.` to its end; empty when the name has no dot.
  std::string_view extension;
  // Where the name's first `.` is; npos when the name has no dot.
  std::size_t first_dot = std::string_view::npos;
};

// The second byte of a double-byte character never counts as a separator
// or a dot.
FileName FileNameOf(std::string_view path);

// FileNameOf(path).name.
std::string_view FileNamePart(std::string_view path);

// The extension of `name`: from its last `.` that follows every `\`, `:` and
// `/`, to the end; empty when there is no such dot. The same as
// FileNameOf(name).extension.
std::string_view ExtensionPart(std::string_view name);

}  // namespace wordlap

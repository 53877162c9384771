#include "compare/file_name.h"

#include <algorithm>
#include <array>

#include "platform/code_page.h"

namespace wordlap {
namespace {

// The bytes the two searches look for, as flags in a table of all bytes, so
// that a search from the end costs a look-up per byte.
enum : unsigned char { kDirectorySeparator = 1, kDot = 2 };

constexpr std::array<unsigned char, 256> kByteFlags = [] {
  std::array<unsigned char, 256> flags{};
  flags['\\'] = flags[':'] = flags['/'] = kDirectorySeparator;
  flags['.'] = kDot;
  return flags;
}();

template <unsigned char kFlags>
bool HasFlag(char c) {
  return (kByteFlags[static_cast<unsigned char>(c)] & kFlags) != 0;
}

// The position of the last character of `text` that `wanted` accepts, or
// npos. Without double-byte characters every byte is a character of its
// own, so the text is searched from its end and only the file name is read.
// Otherwise the second byte of a character may look like a separator, and
// only a walk from the start tells which bytes are second bytes.
template <typename Wanted>
std::size_t FindLastCharacter(std::string_view text, Wanted wanted) {
  if (!platform::HasLeadBytes()) {
    const auto last = std::find_if(text.rbegin(), text.rend(), wanted);
    return last == text.rend()
               ? std::string_view::npos
               : static_cast<std::size_t>(text.rend() - last) - 1;
  }
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (wanted(text[i])) found = i;
    if (platform::IsLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return found;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
  const std::size_t separator =
      FindLastCharacter(path, HasFlag<kDirectorySeparator>);
  return separator == std::string_view::npos ? path
                                             : path.substr(separator + 1);
}

std::string_view ExtensionPart(std::string_view name) {
  // The last dot counts only when no separator follows it.
  const std::size_t last =
      FindLastCharacter(name, HasFlag<kDot | kDirectorySeparator>);
  if (last == std::string_view::npos || name[last] != '.') return {};
  return name.substr(last);
}

}  // namespace wordlap

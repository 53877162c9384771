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

}  // namespace

// Without double-byte characters every byte is a character of its own, so
// the path is searched from its end, and only its file name is read: from
// dot to dot, the last one first, up to the last separator. Otherwise the
// second byte of a character may look like a separator, and only a walk
// from the start tells which bytes are second bytes.
FileName FileNameOf(std::string_view path) {
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t separator = kNone;
  std::size_t last_dot = kNone;
  std::size_t first_dot = kNone;
  if (!platform::HasLeadBytes()) {
    const auto position = [&](auto it) {
      return static_cast<std::size_t>(path.rend() - it) - 1;
    };
    auto it = path.rbegin();
    while ((it = std::find_if(it, path.rend(),
                              HasFlag<kDot | kDirectorySeparator>)) !=
               path.rend() &&
           *it == '.') {
      first_dot = position(it);
      if (last_dot == kNone) last_dot = first_dot;
      ++it;
    }
    if (it != path.rend()) separator = position(it);
  } else {
    for (std::size_t i = 0; i < path.size(); ++i) {
      if (HasFlag<kDirectorySeparator>(path[i])) {
        separator = i;
        last_dot = first_dot = kNone;
      } else if (path[i] == '.') {
        if (first_dot == kNone) first_dot = i;
        last_dot = i;
      }
      if (platform::IsLeadByte(static_cast<unsigned char>(path[i]))) ++i;
    }
  }
  const std::size_t start = separator == kNone ? 0 : separator + 1;
  return {path.substr(start),
          last_dot == kNone ? std::string_view() : path.substr(last_dot),
          first_dot == kNone ? kNone : first_dot - start};
}

std::string_view FileNamePart(std::string_view path) {
  return FileNameOf(path).name;
}

std::string_view ExtensionPart(std::string_view name) {
  return FileNameOf(name).extension;
}

}  // namespace wordlap

#include "collect/file_filter.h"

#include <fnmatch.h>

#include <limits>

#include "compare/name_compare.h"

namespace wordlap::collect {
namespace {

bool Matches(const std::string& pattern, std::string_view text) {
  const std::string subject(text);
  return ::fnmatch(pattern.c_str(), subject.c_str(), 0) == 0;
}

// Calls `visit` with each component of a '/'-separated path.
template <typename Visit>
bool AnyComponent(std::string_view path, Visit visit) {
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    const std::string_view component = path.substr(0, slash);
    if (!component.empty() && visit(component)) return true;
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return false;
}

bool Excluded(const FileFilter& filter, std::string_view below_root) {
  for (const std::string& pattern : filter.exclude) {
    if (Matches(pattern, below_root)) return true;
    if (AnyComponent(below_root, [&](std::string_view component) {
          return Matches(pattern, component);
        })) {
      return true;
    }
  }
  return false;
}

bool Hidden(std::string_view below_root) {
  return AnyComponent(below_root, [](std::string_view component) {
    return component.starts_with('.') && component != "." && component != "..";
  });
}

std::uint32_t NonEmptyWords(std::string_view path) {
  const WordList words = PathWords(path);
  std::uint32_t count = 0;
  for (std::size_t i = 0; i < words.Count(); ++i) {
    if (!words[i].empty()) ++count;
  }
  return count;
}

}  // namespace

std::optional<std::uint64_t> ParseSize(std::string_view text) {
  std::uint64_t value = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
      return std::nullopt;
    }
    value = value * 10 + digit;
  }
  if (i == 0) return std::nullopt;
  std::string_view unit = text.substr(i);
  unsigned shift = 0;
  if (!unit.empty()) {
    switch (unit[0]) {
      case 'k':
      case 'K':
        shift = 10;
        break;
      case 'm':
      case 'M':
        shift = 20;
        break;
      case 'g':
      case 'G':
        shift = 30;
        break;
      case 't':
      case 'T':
        shift = 40;
        break;
      case 'b':
      case 'B':
        break;
      default:
        return std::nullopt;
    }
    if (shift != 0) unit.remove_prefix(1);
    if (!(unit.empty() || unit == "B" || unit == "b" || unit == "iB" ||
          unit == "ib")) {
      return std::nullopt;
    }
  }
  if (shift != 0 &&
      value > (std::numeric_limits<std::uint64_t>::max() >> shift)) {
    return std::nullopt;
  }
  return value << shift;
}

bool Keeps(const FileFilter& filter, std::string_view path,
           std::string_view below_root, bool walked,
           const std::optional<FileFacts>& facts) {
  if (walked && !filter.hidden && Hidden(below_root)) return false;
  if (!filter.exclude.empty() && Excluded(filter, below_root)) return false;
  if (filter.NeedsFacts()) {
    if (!facts) return false;
    if (filter.min_size && facts->size < *filter.min_size) return false;
    if (filter.max_size && facts->size > *filter.max_size) return false;
  }
  if (filter.min_words > 0 && NonEmptyWords(path) < filter.min_words) {
    return false;
  }
  return true;
}

}  // namespace wordlap::collect

// --ext: keeping only files with given extensions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wordlap::collect {

class ExtensionFilter {
 public:
  // `list` is comma-separated, e.g. "mp3,flac" or ".mp3"; an empty list
  // keeps every file. Throws InputError when an item is empty.
  static ExtensionFilter Parse(std::string_view list);

  // True when the file name of `path` (after its last '/', '\' or ':') ends
  // in '.' and one of the extensions, ignoring the case of ASCII letters.
  bool Keeps(std::string_view path) const;

 private:
  std::vector<std::string> extensions_;  // lower case, without the dot
};

}  // namespace wordlap::collect

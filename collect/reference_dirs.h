// --reference DIR: folders whose files always stay.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wordlap::collect {

class ReferenceDirs {
 public:
  // Throws InputError when a folder does not exist or is not a directory.
  explicit ReferenceDirs(const std::vector<std::string>& dirs);

  bool Empty() const { return resolved_.empty(); }

  // True when the file `path` names lies under one of the folders, however
  // either is spelled (links, "..", relative paths): decided on the
  // resolved paths. A path that does not exist here is under none.
  bool Holds(const std::string& path);

 private:
  std::vector<std::string> resolved_;  // each ending in '/'
  // Resolved folders of the files looked at, by their spelled folder: the
  // files of one folder cost one resolution.
  std::unordered_map<std::string, std::string> folders_;
};

}  // namespace wordlap::collect

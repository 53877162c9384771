#include "collect/scan_inputs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include "collect/directory_walk.h"
#include "collect/path_list.h"

namespace wordlap::collect {

std::vector<std::string> CollectPaths(const ScanInputs& inputs,
                                      const WarningSink& warn) {
  for (const std::string& root : inputs.roots) {
    struct stat status;
    if (::stat(root.c_str(), &status) != 0) {
      throw InputError("cannot scan " + root + ": " + std::strerror(errno));
    }
  }

  std::vector<std::string> listed;
  if (inputs.list_source) {
    ReadPathListFile(*inputs.list_source, inputs.nul_separated, listed);
  }
  std::vector<std::string> walked;
  for (const std::string& root : inputs.roots) {
    WalkDirectory(root, inputs.follow_links, warn, walked);
  }
  std::sort(walked.begin(), walked.end());

  walked.erase(std::unique(walked.begin(), walked.end()), walked.end());

  // `seen` views the strings of `listed`, which stay in place until the end.
  std::unordered_set<std::string_view> seen;
  std::vector<std::string> paths;
  paths.reserve(listed.size() + walked.size());
  for (const std::string& path : listed) {
    if (inputs.extensions.Keeps(path) && seen.insert(path).second) {
      paths.push_back(path);
    }
  }
  for (std::string& path : walked) {
    if (inputs.extensions.Keeps(path) && !seen.contains(path)) {
      paths.push_back(std::move(path));
    }
  }
  return paths;
}

}  // namespace wordlap::collect

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
namespace {

// The identity of a listed path, links followed as for a path given as an
// argument; unknown when it names nothing here.
FileIdentity ListedIdentity(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return {};
  return FileIdentity::Of(status);
}

// Keeps each file once, in the order offered: by identity when the file
// system knows the path, by text otherwise.
class FileSet {
 public:
  explicit FileSet(CollectedFiles& files)
      : files_(files),
        texts_(0, TextHash{&files.paths}, TextEqual{&files.paths}) {}

  void Offer(std::string&& path, FileIdentity identity) {
    if (identity.Known()) {
      if (!identities_.insert(identity).second) return;
      Add(std::move(path), identity);
      return;
    }
    Add(std::move(path), identity);
    if (!texts_.insert(files_.paths.size() - 1).second) Drop();
  }

 private:
  // The set of texts holds indices into `paths`, so that it holds no copy
  // of a path and moves nothing.
  struct TextHash {
    const std::vector<std::string>* paths;
    std::size_t operator()(std::size_t i) const noexcept {
      return std::hash<std::string_view>{}((*paths)[i]);
    }
  };
  struct TextEqual {
    const std::vector<std::string>* paths;
    bool operator()(std::size_t x, std::size_t y) const noexcept {
      return (*paths)[x] == (*paths)[y];
    }
  };

  void Add(std::string&& path, FileIdentity identity) {
    files_.paths.push_back(std::move(path));
    files_.identities.push_back(identity);
  }
  void Drop() {
    files_.paths.pop_back();
    files_.identities.pop_back();
  }

  CollectedFiles& files_;
  std::unordered_set<FileIdentity, FileIdentityHash> identities_;
  std::unordered_set<std::size_t, TextHash, TextEqual> texts_;
};

}  // namespace

CollectedFiles CollectFiles(const ScanInputs& inputs, const WarningSink& warn) {
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
  CollectedFiles files;
  const WarningSink counted = [&](const std::string& message) {
    ++files.unread;
    warn(message);
  };
  std::vector<WalkedFile> walked;
  for (const std::string& root : inputs.roots) {
    WalkDirectory(root, inputs.follow_links, counted, walked, inputs.stop);
  }
  std::sort(
      walked.begin(), walked.end(),
      [](const WalkedFile& x, const WalkedFile& y) { return x.path < y.path; });

  files.paths.reserve(listed.size() + walked.size());
  files.identities.reserve(listed.size() + walked.size());
  FileSet kept(files);
  for (std::string& path : listed) {
    if (!inputs.extensions.Keeps(path)) continue;
    const FileIdentity identity = ListedIdentity(path);
    kept.Offer(std::move(path), identity);
  }
  listed = {};
  for (WalkedFile& file : walked) {
    if (inputs.extensions.Keeps(file.path)) {
      kept.Offer(std::move(file.path), file.identity);
    }
  }
  return files;
}

}  // namespace wordlap::collect

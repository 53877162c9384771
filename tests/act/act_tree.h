// Real files in a temporary folder, the reports the actions read written
// from what the files are now, and looks at the tree afterwards.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace wordlap::test {

// A fresh folder below $TMPDIR (or /tmp), removed with everything in it.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  std::string Path(const std::string& relative) const {
    return root_ + "/" + relative;
  }
  // Writes `content` to `relative`, making its folders.
  void Write(const std::string& relative, const std::string& content) const;

 private:
  std::string root_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

struct GroupSpec {
  std::string keep;                     // relative to the report's cwd
  std::vector<std::string> duplicates;  // likewise
  std::string confirmed = "content";
  std::set<std::string> references = {};  // files marked "reference":true
};

// A report of the files as they are now (lstat), paths relative to `cwd`
// and found below the walk root `root` (relative too; none when empty).
// Paths that are not UTF-8 go in path_base64.
std::string MakeReport(const std::string& cwd,
                       const std::vector<GroupSpec>& groups,
                       const std::string& root = "");

// Every regular file and symbolic link below `dir`, by path relative to it:
// its content (for a link: "-> " and its target).
std::map<std::string, std::string> Snapshot(const std::string& dir);

// The distinct contents of the regular files below `dir`.
std::set<std::string> Contents(const std::string& dir);

// Paths below `dir` whose name begins with the temporary prefix.
std::vector<std::string> TempFilesBelow(const std::string& dir);

// `wordlap ARGS...` run in `cwd`, the report on its standard input.
ChildResult RunWordlap(const std::vector<std::string>& args,
                       const std::string& cwd, const std::string& input = "",
                       const std::vector<std::string>& env = {});

std::vector<std::string> Lines(const std::string& text);

}  // namespace wordlap::test

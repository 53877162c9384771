// A fresh directory of real files for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace wordlap::test {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // Writes `content` to the file `relative` below the root (folders made as
  // needed) and returns its path.
  std::string Write(std::string_view relative, std::string_view content);
  std::string Path(std::string_view relative) const;
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace wordlap::test

#include "tests/support/temp_tree.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace wordlap::test {

namespace fs = std::filesystem;

TempTree::TempTree() {
  std::string pattern = (fs::temp_directory_path() / "wordlap_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary directory");
  }
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root_, ignored);
}

std::string TempTree::Path(std::string_view relative) const {
  return (root_ / fs::path(std::string(relative))).string();
}

std::string TempTree::Write(std::string_view relative,
                            std::string_view content) {
  const fs::path path = root_ / fs::path(std::string(relative));
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
  return path.string();
}

}  // namespace wordlap::test

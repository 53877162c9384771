#include "collect/file_facts.h"

namespace wordlap::collect {

FileFacts FactsOf(const struct stat& status) {
  FileFacts facts;
  facts.size = static_cast<std::uint64_t>(status.st_size);
  facts.mtime = status.st_mtim.tv_sec;
  facts.mtime_nsec = static_cast<std::uint32_t>(status.st_mtim.tv_nsec);
  facts.dev = status.st_dev;
  facts.ino = status.st_ino;
  return facts;
}

std::optional<FileFacts> ReadFileFacts(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  return FactsOf(status);
}

}  // namespace wordlap::collect

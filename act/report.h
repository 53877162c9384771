// A report as the actions read it: plain data, checked for form when it was
// read, not yet against the file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wordlap::act {

// What the scan saw of one file.
struct ReportFile {
  std::string path;      // exactly as the report gives it (its bytes)
  std::string resolved;  // the path to open: `path` below the report's cwd
  std::optional<std::string> root;  // resolved like `path`
  // False for a path that named no file where the report was written: the
  // numbers below are then absent and the file cannot be checked.
  bool has_facts = true;
  std::uint64_t size = 0;
  std::uint64_t mtime = 0;
  std::uint64_t mtime_nsec = 0;
  std::uint64_t dev = 0;
  std::uint64_t ino = 0;
  bool reference = false;
};

struct ReportGroup {
  std::uint64_t number = 0;
  std::string confirmed;  // "content", "size" or "name"
  ReportFile keep;
  std::vector<ReportFile> also_kept;  // other reference files, which stay
  std::vector<ReportFile> duplicates;
};

struct Report {
  std::string cwd;
  std::vector<ReportGroup> groups;
};

}  // namespace wordlap::act

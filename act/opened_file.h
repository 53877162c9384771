// A file opened for checking: its folder opened once, the file opened in it
// without following a symbolic link, and what fstat says of the open file.
// Every later step works through these descriptors and the name in the
// folder, so that a folder renamed or replaced meanwhile changes nothing.
#pragma once

#include <sys/stat.h>

#include <string>

#include "act/report.h"
#include "act/unique_fd.h"

namespace wordlap::act {

struct OpenedFile {
  enum class Status {
    kOpen,        // a regular file, `fd` and `stat` are valid
    kMissing,     // no such file (or folder) any more
    kSymlink,     // the path names a symbolic link
    kNotRegular,  // a folder, device, pipe...
    kError,       // anything else: `error` is the errno
  };

  // `path` is split at its last '/'; a name of "", "." or ".." is kError
  // with EINVAL.
  static OpenedFile Open(const std::string& path);

  // Whether the name in the folder still leads to the inode that was opened,
  // and its size and modification time are still those seen when it was.
  bool StillThere() const;

  Status status = Status::kError;
  int error = 0;
  std::string dir_path;
  std::string name;
  UniqueFd dir;
  UniqueFd fd;
  struct stat stat {};
};

// Splits a path into its folder ("." when there is none) and its name.
void SplitPath(const std::string& path, std::string& dir, std::string& name);

// What differs between the file the report describes and `stat`: empty when
// nothing does, else a few words for the message ("its size changed").
std::string Difference(const ReportFile& file, const struct stat& stat);

bool SameInode(const struct stat& a, const struct stat& b);

}  // namespace wordlap::act

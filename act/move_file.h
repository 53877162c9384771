// `move --to DIR`: the duplicate goes to the same place below DIR that it
// had below its root, never over a file that is there.
#pragma once

#include <cstdint>
#include <string>

#include "act/opened_file.h"

namespace wordlap::act {

struct MoveResult {
  enum class Kind {
    kMoved,    // moved now (or, after a killed run, its source removed)
    kDone,     // moved by an earlier run
    kSkipped,  // left where it is: `why`
  };
  Kind kind = Kind::kSkipped;
  std::string why;
};

// Moves the checked duplicate to `relative` below the folder `to`, making
// the folders on the way. Within a file system it is one rename that never
// replaces a file; across file systems the bytes are copied under a
// temporary name, synced, compared with the source, renamed into place,
// and only then is the source removed. A destination that holds the
// duplicate's bytes and modification time already is what a killed run
// left: the source is then removed. With `dry_run` nothing is changed and
// kMoved says it would be.
MoveResult MoveDuplicate(const OpenedFile& duplicate, const std::string& to,
                         const std::string& relative, bool dry_run);

// For a duplicate that is gone: whether a regular file of its size and
// modification time is at its destination, so that an earlier run moved it.
bool MovedBefore(const std::string& to, const std::string& relative,
                 const ReportFile& file);

}  // namespace wordlap::act

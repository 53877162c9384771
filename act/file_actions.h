// What each action does to one duplicate that has passed every check. Each
// works through the descriptors of the check, checks once more that the
// name still leads to the checked file right before the change, and makes
// the change in one step that a kill cannot leave half done. Each returns
// an empty string when done, else why the duplicate was left as it is.
#pragma once

#include <string>

#include "act/opened_file.h"

namespace wordlap::act {

std::string RemoveDuplicate(const OpenedFile& duplicate);

// Through GIO's trash: the home trash, or the trash of the duplicate's own
// file system. Never removes instead.
std::string TrashDuplicate(const OpenedFile& duplicate,
                           const std::string& path);

// Puts a hard link to `kept` in the duplicate's place.
std::string LinkDuplicate(const OpenedFile& kept, const OpenedFile& duplicate);

// Puts a symbolic link to `target`, which leads to `kept`, in the
// duplicate's place.
std::string SymlinkDuplicate(const OpenedFile& kept, const std::string& target,
                             const OpenedFile& duplicate);

}  // namespace wordlap::act

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "act/file_actions.h"
#include "act/temp_file.h"

namespace wordlap::act {

std::string RemoveDuplicate(const OpenedFile& duplicate) {
  if (!duplicate.StillThere()) return "it changed while it was checked";
  if (::unlinkat(duplicate.dir.get(), duplicate.name.c_str(), 0) != 0) {
    return ErrorText(errno);
  }
  return {};
}

}  // namespace wordlap::act

#include "platform/out_of_memory.h"

#include <unistd.h>

#include <cstdlib>

namespace wordlap::platform {

void RaiseOutOfMemory() noexcept {
  static constexpr char kMessage[] =
      "Wordlap: out of memory during a plug-in call; ending the process\n";
  // write(2) needs no memory; the result is irrelevant since we end anyway.
  [[maybe_unused]] const ssize_t written =
      ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  std::abort();
}

}  // namespace wordlap::platform

// SIGINT and SIGTERM for a command whose output must end cleanly: the
// handler only notes the signal; the command stops at its next record's
// end, then ends by the same signal, so that the shell sees it interrupted
// (status 130 or 143).
#pragma once

#include <atomic>

namespace wordlap::cli {

class Interruption {
 public:
  // Installs the handlers; the destructor puts the previous ones back.
  Interruption();
  ~Interruption();
  Interruption(const Interruption&) = delete;
  Interruption& operator=(const Interruption&) = delete;

  // The signal that arrived, 0 while none has.
  static const std::atomic<int>& Signal();
  static bool Requested() { return Signal().load() != 0; }

  // Ends the process by the signal that arrived, its handler set back to
  // the default; returns 128 + the signal only if the process survives it.
  int EndBySignal();
};

}  // namespace wordlap::cli

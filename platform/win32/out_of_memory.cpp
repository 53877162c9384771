#include "platform/out_of_memory.h"

#include <windows.h>

#include <cstdlib>

namespace wordlap::platform {

// The host sees the failure as a structured exception it can handle or let
// end the process; it cannot be continued, since the call has no result.
void RaiseOutOfMemory() noexcept {
  RaiseException(static_cast<DWORD>(STATUS_NO_MEMORY), EXCEPTION_NONCONTINUABLE,
                 0, nullptr);
  std::abort();  // not reached: a non-continuable exception never returns
}

}  // namespace wordlap::platform

// What an entry point does when the memory of a call ran out.
#pragma once

namespace wordlap::platform {

// Called after the call's memory has been released. Windows raises a
// structured exception into the host's thread; POSIX has no such mechanism
// and ends the process with a message on standard error.
[[noreturn]] void RaiseOutOfMemory() noexcept;

}  // namespace wordlap::platform

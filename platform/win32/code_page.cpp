#include "platform/code_page.h"

#include <windows.h>

namespace wordlap::platform {

// Asks about the process's ANSI code page, the one the host's paths are in.
bool IsLeadByte(unsigned char byte) noexcept {
  return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace wordlap::platform

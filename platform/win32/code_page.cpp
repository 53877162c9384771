#include "platform/code_page.h"

#include <windows.h>

namespace wordlap::platform {
namespace {

// Asks about the process's ANSI code page, the one the host's paths are in.
LeadByteTable ReadLeadBytes() {
  LeadByteTable table;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    table.lead[byte] = IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE;
    table.any = table.any || table.lead[byte];
  }
  return table;
}

}  // namespace

// Made while the library is loaded, before any entry point can be called.
const LeadByteTable kLeadBytes = ReadLeadBytes();

}  // namespace wordlap::platform

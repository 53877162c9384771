// The byte structure of texts in the process's 8-bit code page.
#pragma once

namespace wordlap::platform {

// True when `byte` starts a double-byte character, so that the byte after it
// is its second half and never a separator of its own. Always false for
// UTF-8 and other code pages without double-byte characters.
bool IsLeadByte(unsigned char byte) noexcept;

}  // namespace wordlap::platform

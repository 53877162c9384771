// The byte structure of texts in the process's 8-bit code page.
#pragma once

namespace wordlap::platform {

// Which bytes start a double-byte character in the process's ANSI code page.
// A process's ANSI code page never changes, so the table is made once, when
// the library is loaded. UTF-8 and the single-byte code pages have no lead
// bytes: there every byte that can be a separator stands for itself.
struct LeadByteTable {
  bool any = false;
  bool lead[256] = {};
};

extern const LeadByteTable kLeadBytes;

// False in a code page without double-byte characters, where a text can be
// read from either end.
inline bool HasLeadBytes() noexcept { return kLeadBytes.any; }

// True when `byte` starts a double-byte character, so that the byte after it
// is its second half and never a separator of its own.
inline bool IsLeadByte(unsigned char byte) noexcept {
  return kLeadBytes.lead[byte];
}

}  // namespace wordlap::platform

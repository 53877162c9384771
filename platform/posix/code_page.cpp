#include "platform/code_page.h"

namespace wordlap::platform {

// POSIX file names are UTF-8, whose continuation bytes are all 0x80 or above
// and so never mistaken for an ASCII separator.
constinit const LeadByteTable kLeadBytes = {};

}  // namespace wordlap::platform

// The temporary names under which links and copies are made before they
// are renamed into place. A name is derived from the file it stands in for,
// so that a rerun after a killed run finds and clears exactly that one.
#pragma once

#include <string>
#include <string_view>

namespace wordlap::act {

inline constexpr std::string_view kTempPrefix = ".wordlap-tmp-";

// ".wordlap-tmp-" and 16 hex digits of a hash of `name`: short enough for
// any name, the same in every run.
std::string TempNameFor(const std::string& name);

// Clears what a killed run may have left at `temp` in the folder `dir`. It
// is removed only when it holds nothing that the open file `source` does
// not: a symbolic link, `source` itself under another name, or a regular
// file whose bytes are a prefix of `source` (a copy cut short). Returns an
// empty string when the name is free, else why it is not.
std::string ClearStaleTemp(int dir, const std::string& temp, int source);

std::string ErrorText(int error);

}  // namespace wordlap::act

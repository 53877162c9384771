// A small checking harness for the Windows host: every failed check prints
// what was checked, and the run ends with a "N passed, N failed" line.
#pragma once

#include <string>
#include <string_view>

namespace wordlap::win32_host {

// Records one check; on failure prints `what` and the details.
bool Expect(bool ok, std::string_view what, std::string_view details = {});

// Records a comparison of two texts, printing both (escaped) on a mismatch.
bool ExpectText(std::string_view actual, std::string_view expected,
                std::string_view what);

// Prints the closing line; returns the process exit code.
int Summary();

// The bytes of `text` with control and non-ASCII bytes as \xNN escapes.
std::string Escaped(std::string_view text);

}  // namespace wordlap::win32_host

// The tracing DLL's log file, c:\tmp\wordlap.log, as the checks prepare and
// read it. Under Wine c: is the drive_c folder of the test's own prefix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wordlap::win32_host {

inline constexpr char kTraceDirectory[] = "c:\\tmp";
inline constexpr char kTraceFile[] = "c:\\tmp\\wordlap.log";

// Creates c:\tmp when missing and removes the log file (or a directory in
// its place), so that the next trace line creates it anew.
void ResetTraceDirectory();

// Removes c:\tmp with everything in it.
void RemoveTraceDirectory();

// The whole log file, or nothing when it does not exist.
std::optional<std::string> ReadTraceFile();

// Writes `bytes` as the whole log file.
void WriteTraceFile(std::string_view bytes);

// A block written with "\n" line ends, as the file holds it: "\r\n".
std::string FileLines(std::string_view block);

}  // namespace wordlap::win32_host

// The groups of checks the Windows host runs; each reports through checks.h.
#pragma once

#include <string>

#include "tests/win32/plugin_module.h"

namespace wordlap::win32_host {

// The information table, unknown keys and the two constant entry points.
void CheckInformation(const PluginModule& plugin);

// The shared verdict table, null and huge paths.
void CheckVerdicts(const PluginModule& plugin);

// The shared trace blocks and how the log file is appended to or skipped.
void CheckTraceFile(const PluginModule& traced);

// A plug-in built without the trace never touches the log file.
void CheckNoTraceFile(const PluginModule& plain);

// The percentage's decimal separator, taken from the loading thread's locale
// when the DLL is loaded. Needs a German user locale.
void CheckGermanSeparator(const std::string& traced_path);

// Double-byte characters whose second byte is '\' in the paths. Needs the
// Japanese ANSI code page.
void CheckShiftJisPaths(const PluginModule& traced);

// Memory exhaustion inside PluginCompare reaches the host as a structured
// exception. Runs this host again as a child in "out-of-memory" mode, which
// leaves the plug-in no address space and lets the exception end it.
void CheckOutOfMemory(const std::string& host_path,
                      const std::string& plain_path);
int RunOutOfMemoryChild(const std::string& plain_path);

}  // namespace wordlap::win32_host

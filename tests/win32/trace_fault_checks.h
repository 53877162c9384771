// The tracing DLL's log under faults, driven at the exact moment they
// matter through the DLL's own imports (trace_import_patch.h).
#pragma once

#include "tests/win32/plugin_module.h"

namespace wordlap::win32_host {

// A disk that fills up in the middle of a line keeps only whole lines; a log
// that another process creates between the DLL's existence test and its
// creation is appended to, never emptied.
void CheckTraceFileFaults(const PluginModule& traced);

}  // namespace wordlap::win32_host

// The Windows test host: loads the plug-in the way the host application
// does and checks it through its register calling convention.
//
//   wordlap_win_host <plug-in|german|japanese> <plain Wordlap.dll>
//                    <tracing Wordlap.dll>
//
// "german" and "japanese" expect the process to run in that locale (under
// Wine: LC_ALL=de_DE.UTF-8 or ja_JP.UTF-8); the shared verdicts are checked
// in every locale. "out-of-memory" is the child that CheckOutOfMemory starts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "tests/win32/checks.h"
#include "tests/win32/plugin_module.h"
#include "tests/win32/suites.h"

namespace wordlap::win32_host {
namespace {

std::string OwnPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

int Run(std::string_view mode, const std::string& plain_path,
        const std::string& traced_path) {
  if (mode == "out-of-memory") return RunOutOfMemoryChild(plain_path);
  {
    const PluginModule plain(plain_path);
    if (plain.Loaded()) {
      CheckVerdicts(plain);
      if (mode == "plug-in") {
        CheckInformation(plain);
        CheckNoTraceFile(plain);
      }
    }
  }
  if (mode == "plug-in") {
    CheckOutOfMemory(OwnPath(), plain_path);
  }
  if (mode == "german") {
    CheckGermanSeparator(traced_path);
  } else {
    const PluginModule traced(traced_path);
    if (traced.Loaded()) {
      if (mode == "plug-in") {
        CheckInformation(traced);
        CheckTraceFile(traced);
      } else {
        CheckShiftJisPaths(traced);
      }
    }
  }
  return Summary();
}

}  // namespace
}  // namespace wordlap::win32_host

int main(int argc, char** argv) {
  const std::string_view mode = argc == 4 ? argv[1] : "";
  if (mode != "plug-in" && mode != "german" && mode != "japanese" &&
      mode != "out-of-memory") {
    std::fprintf(stderr,
                 "usage: %s <plug-in|german|japanese> <plain Wordlap.dll> "
                 "<tracing Wordlap.dll>\n",
                 argc > 0 ? argv[0] : "wordlap_win_host");
    return 2;
  }
  return wordlap::win32_host::Run(mode, argv[2], argv[3]);
}

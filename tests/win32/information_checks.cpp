#include <string>
#include <string_view>

#include "tests/cases/compare_cases.h"
#include "tests/win32/checks.h"
#include "tests/win32/suites.h"

namespace wordlap::win32_host {
void CheckInformation(const PluginModule& plugin) {
  for (int round = 0; round < 2; ++round) {
    Expect(plugin.TrovixPlugin(), "TrovixPlugin is true");
    ExpectText(plugin.GetTrovixVersion(), "0.8.2", "GetTrovixVersion");
  }
  for (const cases::InfoCase& row : cases::kInfoCases) {
    const std::string key = row.key != nullptr ? "\"" + Escaped(row.key) + "\""
                                               : std::string("null");
    ExpectText(plugin.GetPluginInfo(row.key), row.answer,
               "GetPluginInfo(" + key + ")");
  }
  // The answers are constants of the library, not copies made per call.
  for (const cases::InfoCase& row : cases::kInfoCases) {
    const std::string key = row.key != nullptr ? row.key : "null";
    Expect(plugin.GetPluginInfo(row.key) == plugin.GetPluginInfo(row.key),
           "GetPluginInfo(" + key + ") gives the same pointer twice");
  }
  Expect(plugin.GetTrovixVersion() == plugin.GetTrovixVersion(),
         "GetTrovixVersion gives the same pointer twice");
}

}  // namespace wordlap::win32_host

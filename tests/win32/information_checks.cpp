#include <string>
#include <string_view>

#include "tests/win32/checks.h"
#include "tests/win32/suites.h"

namespace wordlap::win32_host {
namespace {

struct InfoCase {
  const char* key;
  std::string_view answer;
};

const InfoCase kInfoCases[] = {
    {"name", "Wordlap"},
    {"author", "Orvane"},
    {"version", "0.3"},
    {"comparer", "1"},
    {"viewer", "0"},
    {"tbc", "0"},
    {"description",
     "Compares filenames by exactly matching parts of it. This is especially "
     "useful for renamed mp3 files, where e.g. the title still is the same, "
     "but at another position in the filename."},
    // Keys are compared byte for byte over their whole length.
    {"NAME", ""},
    {"Name", ""},
    {"name ", ""},
    {" name", ""},
    {"nam", ""},
    {"", ""},
    {nullptr, ""},
};

}  // namespace

void CheckInformation(const PluginModule& plugin) {
  for (int round = 0; round < 2; ++round) {
    Expect(plugin.TrovixPlugin(), "TrovixPlugin is true");
    ExpectText(plugin.GetTrovixVersion(), "0.8.2", "GetTrovixVersion");
  }
  for (const InfoCase& row : kInfoCases) {
    const std::string key = row.key != nullptr ? "\"" + Escaped(row.key) + "\""
                                               : std::string("null");
    ExpectText(plugin.GetPluginInfo(row.key), row.answer,
               "GetPluginInfo(" + key + ")");
  }
  // The answers are constants of the library, not copies made per call.
  for (const InfoCase& row : kInfoCases) {
    const std::string key = row.key != nullptr ? row.key : "null";
    Expect(plugin.GetPluginInfo(row.key) == plugin.GetPluginInfo(row.key),
           "GetPluginInfo(" + key + ") gives the same pointer twice");
  }
  Expect(plugin.GetTrovixVersion() == plugin.GetTrovixVersion(),
         "GetTrovixVersion gives the same pointer twice");
}

}  // namespace wordlap::win32_host

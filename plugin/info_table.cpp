#include "plugin/info_table.h"

namespace wordlap {
namespace {

struct InfoEntry {
  std::string_view key;
  const char* answer;
};

constexpr InfoEntry kInfoTable[] = {
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
};

constexpr char kNoAnswer[] = "";

}  // namespace

const char* PluginInfo(std::string_view key) noexcept {
  for (const InfoEntry& entry : kInfoTable) {
    if (entry.key == key) return entry.answer;
  }
  return kNoAnswer;
}

}  // namespace wordlap

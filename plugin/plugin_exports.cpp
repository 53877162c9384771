// The entry points: thin trampolines into the core that let no exception
// through.
#include "plugin/plugin_exports.h"

#include <string_view>

#include "compare/name_compare.h"
#include "platform/out_of_memory.h"
#include "plugin/info_table.h"
#include "trace/trace.h"

namespace {

std::string_view TextOrEmpty(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

}  // namespace

extern "C" {

const char* WORDLAP_CALL GetTrovixVersion(void) noexcept {
  return wordlap::kHostVersion;
}

bool WORDLAP_CALL PluginCompare(const char* path_a,
                                const char* path_b) noexcept {
  try {
    return wordlap::CompareNames(TextOrEmpty(path_a), TextOrEmpty(path_b),
                                 wordlap::TraceSink());
  } catch (...) {
    // Only allocation can fail in here (std::bad_alloc, std::length_error);
    // the call's memory is already released by the time we get here.
    wordlap::platform::RaiseOutOfMemory();
  }
}

const char* WORDLAP_CALL GetPluginInfo(const char* key) noexcept {
  return wordlap::PluginInfo(TextOrEmpty(key));
}

bool WORDLAP_CALL TrovixPlugin(void) noexcept { return true; }

}  // extern "C"

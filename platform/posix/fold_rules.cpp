#include <cstdlib>
#include <string_view>

#include "platform/word_key.h"

namespace wordlap::platform {
namespace {

bool IsLanguageEnd(char c) {
  return c == '_' || c == '.' || c == '@' || c == '-';
}

char Lowered(char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// The language of a locale name: "nb" in "nb_NO.UTF-8", lowered.
bool HasLanguage(const char* name, std::string_view language) {
  std::size_t i = 0;
  for (; name[i] != '\0' && !IsLanguageEnd(name[i]); ++i) {
    if (i >= language.size() || Lowered(name[i]) != language[i]) return false;
  }
  return i == language.size();
}

// Read while the library is loaded, like the decimal separator: the rules of
// a call never change while it runs, and the scan's keys always agree with
// the plug-in's.
const FoldRules kLoadedRules = FoldRulesOf(CollationLocaleName());

}  // namespace

const char* CollationLocaleName() noexcept {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

FoldRules FoldRulesOf(const char* name) noexcept {
  FoldRules rules;
  if (name == nullptr) return rules;
  for (const std::string_view language : {"da", "nb", "nn", "no"}) {
    if (HasLanguage(name, language)) rules.ae_is_letter = true;
  }
  return rules;
}

FoldRules LoadedFoldRules() noexcept { return kLoadedRules; }

}  // namespace wordlap::platform

#include "platform/decimal_separator.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wordlap::platform {
namespace {

// The locale's name as the environment gives it for numbers, by the usual
// precedence; null when none is set.
const char* NumericLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

}  // namespace

// Reads the locale without setlocale, which would change the host's state.
SeparatorCharacter ReadDecimalSeparator() {
  SeparatorCharacter separator;
  const char* name = NumericLocaleName();
  if (name == nullptr) return separator;
  locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return separator;
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  if (radix != nullptr && *radix != '\0') {
    const std::size_t size =
        std::min(Utf8SequenceLength(static_cast<unsigned char>(*radix)),
                 std::strlen(radix));
    std::memcpy(separator.bytes, radix, size);
    separator.size = size;
  }
  freelocale(locale);
  return separator;
}

}  // namespace wordlap::platform

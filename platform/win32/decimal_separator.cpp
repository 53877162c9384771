#include "platform/decimal_separator.h"

#include <windows.h>

namespace wordlap::platform {

// The first character of the setting: one byte, or two when the ANSI code
// page makes the first byte the lead of a double-byte character.
SeparatorCharacter ReadDecimalSeparator() {
  SeparatorCharacter separator;
  char setting[8] = {};
  const int length = GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, setting,
                                    static_cast<int>(sizeof setting));
  if (length <= 1 || setting[0] == '\0') return separator;
  separator.bytes[0] = setting[0];
  separator.size = 1;
  if (IsDBCSLeadByte(static_cast<BYTE>(setting[0])) && setting[1] != '\0') {
    separator.bytes[1] = setting[1];
    separator.size = 2;
  }
  return separator;
}

}  // namespace wordlap::platform

#include "platform/decimal_separator.h"

#include <windows.h>

namespace wordlap::platform {
namespace {

struct Separator {
  char text[2] = {};
  std::size_t size = 0;
};

// The first character of the setting: one byte, or two when the ANSI code
// page makes the first byte the lead of a double-byte character.
Separator ReadSeparator() {
  Separator separator;
  char setting[8] = {};
  const int length = GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, setting,
                                    static_cast<int>(sizeof setting));
  if (length <= 1 || setting[0] == '\0') return separator;
  separator.text[0] = setting[0];
  separator.size = 1;
  if (IsDBCSLeadByte(static_cast<BYTE>(setting[0])) && setting[1] != '\0') {
    separator.text[1] = setting[1];
    separator.size = 2;
  }
  return separator;
}

// Initialised while the DLL is attached, on the thread that loads it, so the
// separator follows that thread's locale and never changes afterwards.
const Separator kSeparator = ReadSeparator();

}  // namespace

std::string_view DecimalSeparator() noexcept {
  if (kSeparator.size == 0) return ".";
  return {kSeparator.text, kSeparator.size};
}

}  // namespace wordlap::platform

#include <windows.h>

#include <string>
#include <string_view>

#include "tests/win32/checks.h"
#include "tests/win32/suites.h"
#include "tests/win32/trace_log.h"

namespace wordlap::win32_host {
namespace {

const LCID kEnglish =
    MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

bool HasLine(std::string_view log, std::string_view line) {
  return log.find("\r\n" + std::string(line) + "\r\n") != std::string::npos;
}

// One in three words found: the percentage needs the separator.
void ExpectPercentage(const PluginModule& traced, std::string_view line,
                      const std::string& when) {
  ResetTraceDirectory();
  Expect(!traced.PluginCompare("a x y.mp3", "a p q.mp3"),
         "1 of 3 words is no match " + when);
  const std::string log = ReadTraceFile().value_or("");
  Expect(HasLine(log, line), "\"" + std::string(line) + "\" " + when,
         "log: " + Escaped(log));
}

struct ShiftJisCase {
  const char* path_a;
  const char* path_b;
  bool match;
  std::string_view file_name_a;   // the "unprocessed: " line of path_a
  std::string_view no_extension;  // its "no extension: " line
};

// 0x95 0x5C is one character whose second byte is the code of '\'.
const ShiftJisCase kShiftJisCases[] = {
    {"C:\\music\\\x95\x5C.mp3", "\x95\x5C.wav", true, "\x95\x5C.mp3",
     "\x95\x5C"},
    {"C:\\a\\Song.\x95\x5C", "Song.mp3", true, "Song.\x95\x5C", "Song"},
    {"x\x95\x5Cy.mp3", "y.mp3", false, "x\x95\x5Cy.mp3", "x\x95\x5Cy"},
    {"C:\\\x83\x5C\x83\x93\x83\x4F\\Title.mp3", "title.mp3", true, "Title.mp3",
     "Title"},
    // A half-width katakana is a single byte: the '\' after it separates.
    {"C:\\\xB1\\Title.mp3", "Title.mp3", true, "Title.mp3", "Title"},
};

}  // namespace

void CheckGermanSeparator(const std::string& traced_path) {
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                 sizeof separator);
  if (!ExpectText(separator, ",",
                  "the user locale is German (run with a de_DE locale)")) {
    return;
  }
  const LCID loading_locale = GetThreadLocale();
  {
    const PluginModule traced(traced_path);
    if (!traced.Loaded()) return;
    ExpectPercentage(traced, "found 1 of 3 words, 33,3333333333333% match",
                     "when loaded in a German thread");
    // Read once at load: a later change of the thread's locale is not seen.
    SetThreadLocale(kEnglish);
    ExpectPercentage(traced, "found 1 of 3 words, 33,3333333333333% match",
                     "after the thread turned English");
  }
  {
    const PluginModule traced(traced_path);
    if (traced.Loaded()) {
      ExpectPercentage(traced, "found 1 of 3 words, 33.3333333333333% match",
                       "when loaded in an English thread");
    }
  }
  SetThreadLocale(loading_locale);
  ResetTraceDirectory();
}

void CheckShiftJisPaths(const PluginModule& traced) {
  if (!Expect(GetACP() == 932, "the ANSI code page is 932 (run with ja_JP)",
              "code page " + std::to_string(GetACP()))) {
    return;
  }
  for (const ShiftJisCase& row : kShiftJisCases) {
    const std::string what =
        "\"" + Escaped(row.path_a) + "\" to \"" + Escaped(row.path_b) + "\"";
    ResetTraceDirectory();
    Expect(traced.PluginCompare(row.path_a, row.path_b) == row.match,
           "verdict of " + what);
    const std::string log = ReadTraceFile().value_or("");
    Expect(HasLine(log, "unprocessed: " + std::string(row.file_name_a)) &&
               HasLine(log, "no extension: " + std::string(row.no_extension)),
           "file name and extension of " + what, "log: " + Escaped(log));
  }
  ResetTraceDirectory();
}

}  // namespace wordlap::win32_host

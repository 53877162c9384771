#include "tests/win32/checks.h"

#include <cstdio>

namespace wordlap::win32_host {
namespace {

int passed = 0;
int failed = 0;

}  // namespace

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      out += c;
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

bool Expect(bool ok, std::string_view what, std::string_view details) {
  if (ok) {
    ++passed;
    return true;
  }
  ++failed;
  std::printf("FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!details.empty()) {
    std::printf("  %.*s\n", static_cast<int>(details.size()), details.data());
  }
  std::fflush(stdout);
  return false;
}

bool ExpectText(std::string_view actual, std::string_view expected,
                std::string_view what) {
  return Expect(actual == expected, what,
                "expected \"" + Escaped(expected) + "\"\n  actual   \"" +
                    Escaped(actual) + "\"");
}

int Summary() {
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace wordlap::win32_host

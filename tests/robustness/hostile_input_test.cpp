// Paths no host should send but any host may: a megabyte long, a hundred
// thousand words, every byte value, ill-formed UTF-8. Every call has to end
// with the right verdict and, in the sanitized build, without reading out of
// bounds. (How the time grows with the size is measured in the benchmark.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compare/name_compare.h"
#include "tests/support/plugin_library.h"

namespace wordlap {
namespace {

struct HostileCase {
  const char* what;
  std::string a;
  std::string b;
  bool match;
};

std::string Words(int count, int first, const char* prefix) {
  std::string name;
  for (int i = 0; i < count; ++i) {
    name.append(prefix).append(std::to_string(first + i)).append("_");
  }
  return name + ".mp3";
}

// Bytes `from` to `to` in order, never the terminating zero.
std::string ByteRange(int from, int to) {
  std::string text;
  for (int byte = from; byte <= to; ++byte) text += static_cast<char>(byte);
  return text;
}

std::vector<HostileCase> HostileCases() {
  const std::string mebibyte(1 << 20, 'a');
  const std::string all_bytes = ByteRange(1, 255);
  return {
      {"1 MiB word against itself", mebibyte, mebibyte, true},
      {"1 MiB word against a shorter one", mebibyte, mebibyte.substr(1), false},
      {"1 MiB of separators", std::string(1 << 20, '_'),
       std::string(1 << 20, '-'), true},
      {"1 MiB of dots", std::string(1 << 20, '.'), "x.mp3", false},
      {"1 MiB of directories", std::string(1 << 20, '/') + "a.mp3", "A.MP3",
       true},
      {"100,000 words, same words", Words(100000, 0, "w"),
       Words(100000, 0, "W"), true},
      {"100,000 words, nine tenths shared", Words(100000, 0, "w"),
       Words(100000, 10000, "w"), false},
      {"100,000 words, one less", Words(100000, 0, "w"), Words(99999, 1, "w"),
       true},
      {"100,000 empty words", std::string(100000, ' ') + "x",
       std::string(100000, '-') + "x", true},
      // The file name is what follows the last backslash (byte 92).
      {"every byte value", all_bytes, ByteRange(93, 255), true},
      {"every byte value against its upper half", all_bytes,
       ByteRange(128, 255), false},
      {"lone continuation bytes", "\x80\xBF x", "X \x80\xBF", true},
      {"different invalid bytes", "\x80", "\x81", false},
      {"truncated sequence at the end", "caf\xC3", "CAF\xC3", true},
      {"truncated sequence is not the letter", "caf\xC3", "caf\xC3\xA9", false},
      {"overlong slash",
       "a\xC0\xAF"
       "b.mp3",
       "A\xC0\xAF"
       "B.mp3",
       true},
      {"encoded surrogate", "\xED\xA0\x80 x.mp3", "X \xED\xA0\x80.mp3", true},
      {"beyond the last code point", "\xF4\x90\x80\x80.mp3",
       "\xF4\x90\x80\x80.mp3", true},
      {"invalid lead bytes", "\xF8\x88\x80\x80\x80 \xFE\xFF",
       "\xFE\xFF \xF8\x88\x80\x80\x80", true},
      {"invalid bytes inside valid text", "\xC3\xA9\xFF\xC3\x89",
       "\xC3\x89\xFF\xC3\xA9", true},
      {"1 MiB of ill-formed bytes", std::string(1 << 20, '\xC3'),
       std::string(1 << 20, '\xC3'), true},
  };
}

class LineCounter final : public LineSink {
 public:
  void Line(std::string_view) override { ++lines; }
  std::size_t lines = 0;
};

TEST(HostileInput, EveryCallEndsWithTheRightVerdict) {
  test::PluginLibrary plugin(WORDLAP_PLUGIN_PATH);
  ASSERT_TRUE(plugin.usable());
  for (const HostileCase& c : HostileCases()) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(plugin.compare(c.a.c_str(), c.b.c_str()), c.match);
    // The same comparison with every line built, as a tracing build does.
    LineCounter lines;
    EXPECT_EQ(CompareNames(c.a, c.b, &lines), c.match);
    EXPECT_GE(lines.lines, 13u);
  }
}

}  // namespace
}  // namespace wordlap

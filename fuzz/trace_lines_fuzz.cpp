// The lines of a comparison of two paths cut from the input, checked against
// the documented shapes: the heading, five lines per path, the lookup, the
// count with its percentage, the result and the closing empty line; and the
// numbers in them against each other and against the verdict.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "compare/name_compare.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/two_paths.h"
#include "platform/decimal_separator.h"

namespace {

class LineList final : public wordlap::LineSink {
 public:
  void Line(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// Hands out the lines one by one; past the end it gives an impossible line
// so that a missing line fails the next check instead of reading past.
class Lines {
 public:
  explicit Lines(const std::vector<std::string>& lines) : lines_(lines) {}
  const std::string& Next() {
    static const std::string kMissing = "\x01<missing line>";
    return next_ < lines_.size() ? lines_[next_++] : kMissing;
  }
  bool AtEnd() const { return next_ == lines_.size(); }
  bool NextStartsWith(std::string_view prefix) const {
    return next_ < lines_.size() && lines_[next_].starts_with(prefix);
  }

 private:
  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;
};

// The text after `prefix`, which the line must start with.
std::string_view After(std::string_view line, std::string_view prefix) {
  FUZZ_CHECK(line.starts_with(prefix));
  return line.substr(prefix.size());
}

bool IsDirectorySeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// The five lines of one path.
void CheckPathLines(Lines& lines, std::string_view path) {
  const std::string_view file_name = After(lines.Next(), "unprocessed: ");
  FUZZ_CHECK(path.ends_with(file_name));
  for (const char c : file_name) FUZZ_CHECK(!IsDirectorySeparator(c));
  FUZZ_CHECK(file_name.size() == path.size() ||
             IsDirectorySeparator(path[path.size() - file_name.size() - 1]));

  const std::string_view kept = After(lines.Next(), "no extension: ");
  FUZZ_CHECK(file_name.starts_with(kept));

  const std::string_view cleaned = After(lines.Next(), "cleaned: ");
  FUZZ_CHECK(cleaned.size() == kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const bool separator = kept[i] == '_' || kept[i] == '-';
    FUZZ_CHECK(cleaned[i] == (separator ? ' ' : kept[i]));
  }

  std::string splitting = "splitting \"";
  splitting.append(cleaned).append("\"");
  FUZZ_CHECK(lines.Next() == splitting);
  After(lines.Next(), "split to ");
}

// "found N of M words, P% match" with P equal to 100 * N / M.
void CheckCountLine(std::string_view line, std::size_t found,
                    std::size_t words) {
  std::string head = "found ";
  head.append(std::to_string(found))
      .append(" of ")
      .append(std::to_string(words))
      .append(" words, ");
  std::string_view rest = After(line, head);
  FUZZ_CHECK(rest.ends_with("% match"));
  rest.remove_suffix(std::string_view("% match").size());

  // strtod reads the C locale's point, whatever separator the line uses.
  const std::string_view separator = wordlap::platform::DecimalSeparator();
  const std::size_t whole = std::min(rest.find(separator), rest.size());
  std::string number(rest.substr(0, whole));
  if (whole < rest.size()) {
    number.append(".").append(rest.substr(whole + separator.size()));
  }
  char* end = nullptr;
  const double percent = std::strtod(number.c_str(), &end);
  FUZZ_CHECK(!number.empty() && end == number.c_str() + number.size());
  const double exact =
      100.0 * static_cast<double>(found) / static_cast<double>(words);
  FUZZ_CHECK(std::fabs(percent - exact) <= 1e-12 * exact + 1e-300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const auto [a, b] = wordlap::fuzz::TwoPaths(data, size);
  LineList sink;
  const bool verdict = wordlap::CompareNames(a, b, &sink);
  Lines lines(sink.lines);

  std::string heading = "Compare ";
  heading.append(a).append(" to ").append(b);
  FUZZ_CHECK(lines.Next() == heading);
  CheckPathLines(lines, a);
  CheckPathLines(lines, b);

  std::size_t words = 0;
  std::size_t found = 0;
  while (lines.NextStartsWith("current word is ")) {
    lines.Next();
    ++words;
    if (lines.NextStartsWith("found in other list!")) {
      FUZZ_CHECK(lines.Next() == "found in other list!");
      ++found;
    }
  }
  const std::size_t count_a = wordlap::PathWords(a).Count();
  const std::size_t count_b = wordlap::PathWords(b).Count();
  FUZZ_CHECK(words == (count_a < count_b ? count_a : count_b));

  if (words > 0) CheckCountLine(lines.Next(), found, words);
  const bool match = words > 0 && 10 * found > 9 * words;
  FUZZ_CHECK(lines.Next() == (match ? "result:-1" : "result:0"));
  FUZZ_CHECK(lines.Next().empty());
  FUZZ_CHECK(lines.AtEnd());
  FUZZ_CHECK(verdict == match);
  return 0;
}

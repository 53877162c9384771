// The match threshold and the percentage of the "found " line.
#include "compare/percentage.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/cases/compare_cases.h"

namespace wordlap {
namespace {

TEST(Percentage, Table) {
  for (const cases::PercentageCase& c : cases::kPercentageCases) {
    SCOPED_TRACE(testing::Message() << c.found << " of " << c.words);
    EXPECT_EQ(FormatPercentage(c.found, c.words, "."), c.text);
  }
}

TEST(Percentage, UsesTheGivenSeparator) {
  EXPECT_EQ(FormatPercentage(1, 3, ","), "33,3333333333333");
  EXPECT_EQ(FormatPercentage(1, 8000000, ","), "1,25E-5");
  EXPECT_EQ(FormatPercentage(3, 4, ","), "75");
}

#if defined(__i386__) || defined(__x86_64__)
// The percentage as the x87 unit computes it with its 64-bit mantissa:
// N / M, times 100, printed to 15 significant digits.
TEST(Percentage, EqualsExtendedPrecisionUpTo400Words) {
  static_assert(sizeof(long double) > sizeof(double), "needs x87 extended");
  for (unsigned m = 1; m <= 400; ++m) {
    for (unsigned n = 0; n <= m; ++n) {
      const long double share = static_cast<long double>(n) / m;
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.15Lg", share * 100);
      ASSERT_EQ(FormatPercentage(n, m, "."), expected) << n << " of " << m;
    }
  }
}
#endif

TEST(IsMatch, MoreThanNineTenths) {
  const struct {
    std::uint64_t found, words;
    bool match;
  } kCases[] = {
      {0, 1, false},
      {1, 1, true},
      {8, 9, false},
      {10, 11, true},
      {9, 10, false},
      {18, 20, false},
      {19, 20, true},
      {90, 100, false},
      {91, 100, true},
      {0, 0, false},
      {1ULL << 40, (1ULL << 40) + 1, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.found << " of " << c.words);
    EXPECT_EQ(IsMatch(c.found, c.words), c.match);
  }
}

}  // namespace
}  // namespace wordlap

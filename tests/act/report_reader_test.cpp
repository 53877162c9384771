// Reading a report: which path a file has, and base64 as the report writes
// it.
#include "act/report_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "act/base64.h"

namespace wordlap::act {
namespace {

TEST(Base64Test, DecodesOnlyCanonicalText) {
  struct Row {
    const char* text;
    bool valid;
    std::string bytes;
  };
  const std::vector<Row> rows = {
      {"", true, ""},
      {"Zg==", true, "f"},
      {"Zm8=", true, "fo"},
      {"Zm9v", true, "foo"},
      {"L3RtcC9jYWbpLm1wMw==", true, "/tmp/caf\xe9.mp3"},
      {"AP8=", true, std::string("\0\xff", 2)},
      {"Zg", false, ""},        // no padding
      {"Zh==", false, ""},      // bits below the last byte
      {"Zm9=", false, ""},      // likewise
      {"Z===", false, ""},      // too much padding
      {"Zg==Zg==", false, ""},  // padding inside
      {"Zm9v\n", false, ""},    // a line break
      {"Zm-v", false, ""},      // the URL alphabet
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const std::optional<std::string> bytes = DecodeBase64(row.text);
    ASSERT_EQ(bytes.has_value(), row.valid);
    if (row.valid) EXPECT_EQ(*bytes, row.bytes);
  }
}

std::string ReportWith(const std::string& header_extra,
                       const std::string& file) {
  const std::string keep =
      R"({"path":"/k","size":1,"mtime":2,"mtime_nsec":3,"dev":4,"ino":5})";
  return R"({"wordlap_report":1)" + header_extra + "}\n" +
         R"({"group":1,"confirmed":"content","keep":)" + keep +
         R"(,"duplicates":[)" + file + "]}\n" +
         R"({"end":{"groups":1,"duplicates":1,"bytes":7}})" + "\n";
}

// The path to open: path_base64 over path, relative paths below the cwd,
// and the root resolved the same way.
TEST(ReportReaderTest, ResolvesEveryPath) {
  struct Row {
    const char* name;
    std::string header;
    std::string fields;
    std::string path;
    std::string resolved;
    std::string root;
  };
  const std::vector<Row> rows = {
      {"relative", R"(,"cwd":"/home/u")", R"("path":"music/a.mp3")",
       "music/a.mp3", "/home/u/music/a.mp3", ""},
      {"absolute", R"(,"cwd":"/home/u")", R"("path":"/srv/a.mp3")",
       "/srv/a.mp3", "/srv/a.mp3", ""},
      {"cwd ends in a slash", R"(,"cwd":"/")", R"("path":"a.mp3")", "a.mp3",
       "/a.mp3", ""},
      {"base64 wins", R"(,"cwd":"/home/u")",
       R"("path":"caf\ufffd.mp3","path_base64":"Y2Fm6S5tcDM=")", "caf\xe9.mp3",
       "/home/u/caf\xe9.mp3", ""},
      {"cwd in base64", R"(,"cwd":"/h?","cwd_base64":"L2j/")",
       R"("path":"a.mp3")", "a.mp3", "/h\xff/a.mp3", ""},
      {"root", R"(,"cwd":"/home/u")",
       R"("path":"music/x/a.mp3","root":"music")", "music/x/a.mp3",
       "/home/u/music/x/a.mp3", "/home/u/music"},
      {"root in base64", R"(,"cwd":"/home/u")",
       R"("path":"a.mp3","root":"?","root_base64":"bf8=")", "a.mp3",
       "/home/u/a.mp3", "/home/u/m\xff"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Report report = ParseReport(ReportWith(
        row.header, "{" + row.fields +
                        R"(,"size":7,"mtime":1,"mtime_nsec":2,"dev":3,)"
                        R"("ino":4,"found":1,"words":1,"percent":100})"));
    ASSERT_EQ(report.groups.size(), 1u);
    const ReportFile& file = report.groups[0].duplicates.at(0);
    EXPECT_EQ(file.path, row.path);
    EXPECT_EQ(file.resolved, row.resolved);
    EXPECT_EQ(file.root.value_or(""), row.root);
    EXPECT_EQ(file.size, 7u);
    EXPECT_EQ(file.mtime_nsec, 2u);
    EXPECT_EQ(file.ino, 4u);
    EXPECT_FALSE(file.reference);
  }
}

// Values the actions would misread are errors, not guesses.
TEST(ReportReaderTest, RefusesValuesItWouldMisread) {
  struct Row {
    const char* name;
    std::string fields;
    const char* message;
  };
  const std::string rest = R"(,"mtime":1,"mtime_nsec":2,"dev":3,"ino":4)";
  const std::vector<Row> rows = {
      {"a size too large", R"("path":"a","size":18446744073709551616)" + rest,
       "\"size\" is not a non-negative integer"},
      {"a fraction", R"("path":"a","size":7.0)" + rest,
       "\"size\" is not a non-negative integer"},
      {"nanoseconds past a second",
       R"("path":"a","size":7,"mtime":1,"mtime_nsec":1000000000,"dev":3,"ino":4)",
       "\"mtime_nsec\" is not below 1000000000"},
      {"an empty path", R"("path":"","size":7)" + rest, "\"path\" is empty"},
      {"a NUL in the path", R"("path":"a\u0000b","size":7)" + rest,
       "\"path\" holds a NUL byte"},
      {"some facts only", R"("path":"a","size":7)", "no field \"mtime\""},
      {"reference not true or false",
       R"("path":"a","size":7,"reference":1)" + rest,
       "\"reference\" is not true or false"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      ParseReport(ReportWith(R"(,"cwd":"/")", "{" + row.fields + "}"));
      ADD_FAILURE() << "no error";
    } catch (const ReportError& error) {
      EXPECT_EQ(error.line(), 2u);
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos)
          << error.what();
    }
  }
}

}  // namespace
}  // namespace wordlap::act

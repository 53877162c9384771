// The built plug-in module, loaded with dlopen the way the host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "tests/cases/compare_cases.h"
#include "tests/support/child_process.h"
#include "tests/support/plugin_library.h"

namespace wordlap {
namespace {

class PluginModule : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    plugin_ = std::make_unique<test::PluginLibrary>(WORDLAP_PLUGIN_PATH);
    ASSERT_TRUE(plugin_->usable());
  }
  static void TearDownTestSuite() { plugin_.reset(); }

  template <typename Fn>
  static Fn Entry(const char* name) {
    void* symbol = dlsym(plugin_->handle, name);
    EXPECT_NE(symbol, nullptr) << name;
    return reinterpret_cast<Fn>(symbol);
  }

  static const char* Info(const char* key) { return plugin_->info(key); }
  static bool Compare(const char* a, const char* b) {
    return plugin_->compare(a, b);
  }

  static inline std::unique_ptr<test::PluginLibrary> plugin_;
};

TEST_F(PluginModule, ExportsExactlyTheFourEntryPoints) {
  const test::ChildResult nm =
      test::RunChild({"/usr/bin/nm", "-D", "--defined-only", "--format=posix",
                      WORDLAP_PLUGIN_PATH});
  ASSERT_EQ(nm.exit_status, 0) << nm.err;
  std::set<std::string> names;
  std::istringstream lines(nm.out);
  for (std::string line; std::getline(lines, line);) {
    names.insert(line.substr(0, line.find(' ')));
  }
  EXPECT_EQ(names, (std::set<std::string>{"GetTrovixVersion", "PluginCompare",
                                          "GetPluginInfo", "TrovixPlugin"}));
}

TEST_F(PluginModule, MarkerAndHostVersion) {
  const auto marker = Entry<bool (*)()>("TrovixPlugin");
  const auto version = Entry<const char* (*)()>("GetTrovixVersion");
  EXPECT_TRUE(marker());
  EXPECT_TRUE(marker());
  EXPECT_STREQ(version(), "0.8.2");
  EXPECT_EQ(version(), version());
}

TEST_F(PluginModule, InformationTable) {
  for (const cases::InfoCase& c : cases::kInfoCases) {
    SCOPED_TRACE(testing::Message()
                 << "key '" << (c.key ? c.key : "(null)") << "'");
    const char* answer = Info(c.key);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(Info(c.key), answer) << "a second call gives another pointer";
  }
}

TEST_F(PluginModule, Verdicts) {
  for (const cases::CompareCase& c : cases::kCompareCases) {
    SCOPED_TRACE(testing::Message()
                 << "'" << c.path_a << "' against '" << c.path_b << "'");
    EXPECT_EQ(
        Compare(std::string(c.path_a).c_str(), std::string(c.path_b).c_str()),
        c.match);
  }
}

TEST_F(PluginModule, NullPathsReadAsEmpty) {
  EXPECT_FALSE(Compare(nullptr, nullptr));
  EXPECT_FALSE(Compare(nullptr, "Song.mp3"));
  EXPECT_FALSE(Compare("Song.mp3", nullptr));
  EXPECT_FALSE(Compare(nullptr, ""));
}

TEST_F(PluginModule, HostileInputsGetAnAnswer) {
  std::string every_byte;
  for (int byte = 1; byte < 256; ++byte) every_byte += static_cast<char>(byte);
  const std::string huge(1 << 20, 'x');
  const std::string many_words = [] {
    std::string text;
    for (int i = 0; i < 50000; ++i) {
      text.append("w").append(std::to_string(i % 977)).append(" ");
    }
    return text;
  }();
  EXPECT_TRUE(Compare(every_byte.c_str(), every_byte.c_str()));
  EXPECT_FALSE(Compare(huge.c_str(), "x"));  // one long word against another
  EXPECT_TRUE(Compare(many_words.c_str(), many_words.c_str()));
  EXPECT_FALSE(Compare("\xC3\xA9\xFF\xFE.mp3", "\xC3\x89\xFE\xFF.mp3"));
  EXPECT_TRUE(Compare("\xC3\xA9\xFF.mp3", "\xC3\x89\xFF.mp3"));
}

}  // namespace
}  // namespace wordlap

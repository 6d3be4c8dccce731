// The language files shipped with the program.
#include <gtest/gtest.h>

#include "TempHome.h"
#include "config/MyConfig.h"

using namespace pelk_test;

TEST(ShippedLanguageFiles, EnglishFileEqualsBuiltInTable) {
  ScopedConfig store;
  std::string content = ReadFile(std::string(PELK_DATA) + "/english.lng");
  ASSERT_FALSE(content.empty());
  WriteTestFile("english.lng", content);
  ASSERT_EQ(config->LoadLanguage("english.lng"), 0);
  int lines = 0;
  for (size_t p = content.find("\n{"); p != std::string::npos; p = content.find("\n{", p + 1)) ++lines;
  EXPECT_EQ(lines, LANG_COUNT - 1);  // the second entry of id 623 is a comment
  for (int i = 0; i < LANG_COUNT; ++i) {
    const TLangDefault& d = default_language[i];
    bool first = true;
    for (int j = 0; j < i; ++j)
      if (default_language[j].id == d.id) first = false;
    if (first) {
      EXPECT_STREQ(config->get(d.id), d.text) << d.id;
    }
  }
}

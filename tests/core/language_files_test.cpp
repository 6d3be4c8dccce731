// The language files shipped with the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

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

// Texts the Hungarian file keeps as in English, on purpose: names of
// files, addresses, codes written into reports, words that are the same in
// Hungarian, and the report headers that go to the AAVSO and VSNET.
static const int kKeptInHungarian[] = {102,   1206,  5100,  16483, 16501, 16502, 16569, 16571, 16572,
                                       16574, 16597, 16608, 16630, 16631, 18001, 18002, 18003, 18004,
                                       18005};

TEST(ShippedLanguageFiles, HungarianFileTranslatesEveryText) {
  ScopedConfig store;
  WriteTestFile("magyar.lng", ReadFile(std::string(PELK_DATA) + "/magyar.lng"));
  ASSERT_EQ(config->LoadLanguage("magyar.lng"), 0);
  for (int i = 0; i < LANG_COUNT; ++i) {
    const TLangDefault& d = default_language[i];
    bool kept = std::find(std::begin(kKeptInHungarian), std::end(kKeptInHungarian), d.id) !=
                std::end(kKeptInHungarian);
    bool first = true;
    for (int j = 0; j < i; ++j)
      if (default_language[j].id == d.id) first = false;
    if (!first) continue;
    // A line refused for its format directives would leave the English
    // text: every translated text must therefore differ.
    if (kept) {
      EXPECT_STREQ(config->get(d.id), d.text) << d.id;
    } else {
      EXPECT_STRNE(config->get(d.id), d.text) << d.id;
    }
    EXPECT_EQ(pelk::FormatDirectives(config->get(d.id)), pelk::FormatDirectives(d.text)) << d.id;
  }
  // Accents are Latin-1 bytes; the long ones are written as the Latin-1
  // letters whose bytes are the long ones of the Central European page.
  EXPECT_EQ(config->GetList(16562).size(), 9u);
  for (const wxString& item : config->GetList(16562)) {
    EXPECT_TRUE(item.Mid(2, 1) == "x" || item.Mid(2, 1) == "/") << item;
  }
}

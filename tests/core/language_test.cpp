// The text table and language files. Language files come from the
// internet: every line is checked on its own and nothing in one can
// overrun the table or smuggle in a format directive.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempHome.h"
#include "config/MyConfig.h"

using namespace pelk_test;

namespace {

const char* const kAlready = "Pelk application is already running.";

class Language : public testing::Test {
 protected:
  ScopedConfig store;
  int Load(const std::string& content, const char* name = "test.lng") {
    WriteTestFile(name, content);
    return config->LoadLanguage(name);
  }
  std::string Text(int id) {
    const char* t = config->get(id);
    return t ? std::string(t) : std::string("<none>");
  }
};

}  // namespace

TEST_F(Language, BuiltInTable) {
  int seen623 = 0;
  for (int i = 0; i < LANG_COUNT; ++i) {
    EXPECT_LT(strlen(default_language[i].text), sizeof(TLang_data::text)) << default_language[i].id;
    if (default_language[i].id == 623) ++seen623;
  }
  EXPECT_EQ(seen623, 2);
  EXPECT_EQ(default_language[0].id, 102);
  EXPECT_EQ(default_language[LANG_COUNT - 1].id, 632);
  EXPECT_EQ(config->GetText(623), "Language");  // only the first 623 is ever found
  EXPECT_EQ(config->GetText(57344), "Pelk - Variable Star Observations");
  EXPECT_EQ(config->GetText(16622),
            "Database or report folder given by the configuration do not exist.\nPlease, select another folder");
  EXPECT_EQ(config->GetText(18001).Left(20), wxString::FromUTF8("%OBSERVER% észlelése"));
  EXPECT_EQ(config->GetText(99999), "");
  EXPECT_EQ(config->get(99999), nullptr);
}

TEST_F(Language, Lists) {
  struct Case {
    const char* text;
    std::vector<std::string> entries;
  } cases[] = {
      {"a||b|", {"a", "", "b"}},
      {"a|b", {"a", "b"}},
      {"", {}},
      {"|p|U|", {"", "p", "U"}},
      {"single", {"single"}},
  };
  for (const Case& c : cases) {
    wxArrayString got = wxMyConfig::SplitList(c.text);
    std::vector<std::string> v;
    for (const wxString& s : got) v.push_back(s.ToStdString());
    EXPECT_EQ(v, c.entries) << c.text;
  }
  EXPECT_EQ(config->GetList(16597).size(), 17u);
  EXPECT_EQ(config->GetList(16597)[0], "");
  EXPECT_EQ(config->GetList(16565).size(), 6u);
}

// One line of a language file and what it makes of text 16628.
TEST_F(Language, LineRules) {
  struct Case {
    std::string line;
    std::string expected;
  } cases[] = {
      {"{16628,\"x\"}", "x"},
      {"{ 16628 , \"x\"}", "x"},
      {" \t {16628, \"x\"},", "x"},
      {"{16628,\t\"x\"}", "x"},
      {"{99999, \"x\"}", kAlready},
      {"{0, \"x\"}", kAlready},
      {"{-5, \"x\"}", kAlready},
      {"{16628 \"x\"}", kAlready},
      {"{16628, x}", kAlready},
      {"// {16628, \"x\"}", kAlready},
      {"x{16628, \"x\"}", kAlready},
      {"{16628, \"a\\\"b\"}", "a\"b"},
      {"{16628, \"a\\\\b\"}", "a\\b"},
      {"{16628, \"a\\tb\"}", "a\bb"},
      {"{16628, \"a\\qb\"}", "a\\qb"},
      {"{16628, \"a\\nb\"}", "a\nb"},
      {"{16628, \"a\\\\nb\"}", "a\\nb"},
      {"{16628, \"abc\" trailing words}", "abc"},
      {"{16628, \"abc", "abc"},
      {"{16628, \"\"}", ""},
      {"{16628, \"ends in backslash\\", "ends in backslash\\"},
      {"{99999999999999999999, \"x\"}", kAlready},
      {"{16628x, \"x\"}", "x"},
      {"{", kAlready},
      {"{,", kAlready},
      {"{16628,", kAlready},
      {"{16628, \"", ""},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Load(c.line + "\n"), 0) << c.line;
    EXPECT_EQ(Text(16628), c.expected) << c.line;
  }
}

TEST_F(Language, FileRules) {
  // The last line counts without a line end; every line end is accepted.
  EXPECT_EQ(Load("{16628, \"a\"}\r\n{16467, \"b\"}\r{16468, \"c\"}"), 0);
  EXPECT_EQ(Text(16628), "a");
  EXPECT_EQ(Text(16467), "b");
  EXPECT_EQ(Text(16468), "c");

  // The later of two lines wins.
  EXPECT_EQ(Load("{16628, \"first\"}\n{16628, \"second\"}\n"), 0);
  EXPECT_EQ(Text(16628), "second");

  // Loading starts from English: nothing of the previous language stays.
  EXPECT_EQ(Load("{16467, \"only this\"}\n"), 0);
  EXPECT_EQ(Text(16467), "only this");
  EXPECT_EQ(Text(16628), kAlready);
  EXPECT_EQ(Text(16468), "Enter namecode for the new observer");

  // A missing file fails and leaves the table as it was.
  EXPECT_EQ(config->LoadLanguage("missing.lng"), -1);
  EXPECT_EQ(config->LoadLanguage(""), -1);
  EXPECT_EQ(Text(16467), "only this");

  // A text is cut to the 1023 bytes of its slot.
  EXPECT_EQ(Load("{16628, \"" + std::string(5000, 'y') + "\"}"), 0);
  EXPECT_EQ(Text(16628), std::string(1023, 'y'));

  // An empty file, or one with no usable line, is plain English.
  EXPECT_EQ(Load(""), 0);
  EXPECT_EQ(Text(16467), "Add new observer");

  // Texts keep their Latin-1 bytes.
  EXPECT_EQ(Load("{16467, \"\xe9szlel\xf5\"}"), 0);
  EXPECT_EQ(config->GetText(16467), wxString::FromUTF8("észlelõ"));

  // A folder named like a language file is no language file.
  ASSERT_EQ(mkdir((TestDir() + "/dir.lng").c_str(), 0700), 0);
  EXPECT_EQ(config->LoadLanguage("dir.lng"), -1);
}

TEST_F(Language, HostileFilesLoadWhatIsUsable) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += (char)((i * 7919) & 0xff);
  std::string withNul = std::string("{16628, \"be\0fore\"}\n", 19) + "{16467, \"after\"}\n";
  std::string hugeLine = "{16628, \"" + std::string(1 << 20, 'z') + "\"}\n{16467, \"next\"}\n";
  std::string manyLines;
  for (int i = 0; i < 100000; ++i) manyLines += "{" + std::to_string(i * 37 - 500) + ", \"n\"}\n";
  manyLines += "{16467, \"last\"}";

  EXPECT_EQ(Load(binary + "\n{16467, \"after binary\"}\n"), 0);
  EXPECT_EQ(Text(16467), "after binary");
  EXPECT_EQ(Load(withNul), 0);
  EXPECT_EQ(Text(16628), "be");
  EXPECT_EQ(Text(16467), "after");
  EXPECT_EQ(Load(hugeLine), 0);
  EXPECT_EQ(Text(16628), std::string(1023, 'z'));
  EXPECT_EQ(Text(16467), "next");
  EXPECT_EQ(Load(manyLines), 0);
  EXPECT_EQ(Text(16467), "last");
}

// Several texts are used as printf formats. A translation whose directives
// differ from the built-in text's is refused; the English text stays.
TEST_F(Language, FormatDirectiveGuard) {
  struct Case {
    int id;
    const char* text;
    bool taken;
  } cases[] = {
      {16466, "%d csillag t\xf6lt\xf5\x64\xf6tt be: '%s'.", true},
      {16466, "'%s': %d csillag", false},  // order swapped
      {16466, "%d csillag", false},        // an argument missing
      {16466, "%s %s", false},             // a number read as a string
      {16466, "%d %s %s", false},          // one argument too many
      {16466, "%5d csillag '%-20s'", true},
      {16466, "%ld csillag '%s'", false},
      {16466, "%n%d '%s'", false},
      {16618, "%d \xe9s %d k\xf6z\xf6tt", true},
      {16618, "%*d %d", false},
      {16618, "%d %d%%", false},
      {16628, "100% sure", false},
      {16628, "100%% biztos", false},
      {16628, "%s%s%s%s%s%s%s%s", false},
      {16628, "m\xe1r fut", true},
      {16628, "trailing %", false},
      {16628, "%1$s", false},
      {18000, "%OBSERVER% megfigyel\xe9sei - %DATE% (%VERSION%)", true},
      {18005, "%OBSERVER% fed\xe9si %s", false},
      // Outside a report template "%E%" is no field: printf reads a double
      // there, and the "%s" after it would take the number as a string.
      {16466, "%E%s%d%s", false},
      {16466, "%5d csillag %E% '%-20s'", false},
      {16628, "%OBSERVER%", false},
      // A width or precision that would fill gigabytes.
      {16466, "%999999999d csillag '%s'", false},
      {16466, "%d csillag '%.99999s'", false},
      {16466, "%123d csillag '%.999s'", true},
      // A directive too long for the toolkit to check against its argument.
      {16466, "%##############################d csillag '%s'", false},
      {16466, "%-+ #0'123.123d csillag '%-#'s'", true},
  };
  for (const Case& c : cases) {
    config->ResetLanguage();
    std::string builtin = Text(c.id);
    std::string line = std::string("{") + std::to_string(c.id) + ", \"" + c.text + "\"}\n";
    ASSERT_EQ(Load(line), 0);
    if (c.taken)
      EXPECT_EQ(Text(c.id), c.text) << line;
    else
      EXPECT_EQ(Text(c.id), builtin) << line;
  }
  // The built-in templates' fields are no directives at all.
  EXPECT_EQ(pelk::FormatDirectives(config->get(18001)), "");
  EXPECT_EQ(pelk::FormatDirectives(config->get(16509)), "s,s,d,");
  EXPECT_EQ(pelk::FormatDirectives("%E%s", false), "f,s,");
  EXPECT_TRUE(pelk::HasTemplateFields(config->get(18001)));
  EXPECT_FALSE(pelk::HasTemplateFields(config->get(16509)));
  EXPECT_FALSE(pelk::HasTemplateFields("100%%DATE%"));
}

TEST_F(Language, RestoreLanguage) {
  // Nothing stored: English, and the name is written back.
  EXPECT_EQ(config->RestoreLanguage(), 0);
  EXPECT_EQ(config->Read("LanguageFile", ""), "English (default)");

  WriteTestFile("magyar.lng", "{16628, \"A Pelk m\xe1r fut.\"}\n");
  config->Write("LanguageFile", "magyar.lng");
  EXPECT_EQ(config->RestoreLanguage(), 0);
  EXPECT_EQ(Text(16628), "A Pelk m\xe1r fut.");
  EXPECT_EQ(config->Read("LanguageFile", ""), "magyar.lng");

  // A stored language that cannot be loaded is replaced silently by English.
  config->Write("LanguageFile", "klingon.lng");
  EXPECT_EQ(config->RestoreLanguage(), 0);
  EXPECT_EQ(Text(16628), kAlready);
  EXPECT_EQ(config->Read("LanguageFile", ""), "English (default)");
}

TEST_F(Language, LanguageFilesOffered) {
  wxArrayString names;
  EXPECT_EQ(config->GetLanguageFiles(names), 1);
  EXPECT_EQ(names[0], "default");

  WriteTestFile("magyar.lng", "");
  WriteTestFile("notes.txt", "");
  ASSERT_EQ(mkdir((TestDir() + "/folder.lng").c_str(), 0700), 0);
  EXPECT_EQ(config->GetLanguageFiles(names), 2);
  names.Sort();
  EXPECT_EQ(names[0], "default");
  EXPECT_EQ(names[1], "magyar.lng");

  WriteTestFile("english.lng", "");
  EXPECT_EQ(config->GetLanguageFiles(names), 2);
  EXPECT_EQ(names.Index("default"), wxNOT_FOUND);

  config->SetFolder("/no/such/folder", FOLDER_PROGRAM);
  EXPECT_EQ(config->GetLanguageFiles(names), 1);
}

// The configuration store: folders, column widths, and the configuration
// file that must survive anything short of a normal exit untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempHome.h"
#include "config/MyConfig.h"
#include "db/AtomicFile.h"

using namespace pelk_test;

namespace {

std::string ConfigPath() { return TestDir() + "/.pelk"; }

}  // namespace

TEST(ConfigStore, FolderKinds) {
  ScopedConfig cfg;
  config->Write("Directories/DataPath", "/data/obs/");
  config->Write("Directories/Report", "/data/rep");
  config->SetFolder("/opt/pelk", FOLDER_PROGRAM);
  struct Case {
    int kind;
    const char* expected;
  } cases[] = {
      {0, "/x.db"},          {1, "/opt/pelk/x.db"}, {2, "/data/obs/x.db"}, {3, "/data/rep/x.db"},
      {4, "/x.db"},          {5, "/x.db"},          {7, "/x.db"},          {9, "/x.db"},
      {-1, "/x.db"},
  };
  for (const Case& c : cases) EXPECT_EQ(config->GetFolder("x.db", c.kind), c.expected) << "kind " << c.kind;
  EXPECT_EQ(config->GetFolder("x.db", "Program"), "/opt/pelk/x.db");
  EXPECT_EQ(config->GetFolder("", "DataPath"), "/data/obs/");
  EXPECT_EQ(config->GetFolder("x.db", 6), wxString(TestDir()) + "/x.db");
  EXPECT_FALSE(config->GetFolder("", 8).empty());

  // An empty data folder puts an observer's file in the root folder.
  config->Write("Directories/DataPath", "");
  EXPECT_EQ(config->GetFolder("ABC.obs", FOLDER_DATAPATH), "/ABC.obs");
}

TEST(ConfigStore, SetFolderStoresByKind) {
  ScopedConfig cfg;
  config->SetFolder("/c/", "Charts");
  config->SetFolder("/k/", FOLDER_CATALOG);
  config->SetFolder("/d/", "DataPath");
  config->SetFolder("/r/", FOLDER_REPORT);
  config->SetFolder("/nothing/", FOLDER_SYSTEM);
  EXPECT_EQ(config->Read("Directories/Charts", ""), "/c/");
  EXPECT_EQ(config->Read("Directories/Catalog", ""), "/k/");
  EXPECT_EQ(config->Read("Directories/DataPath", ""), "/d/");
  EXPECT_EQ(config->Read("Directories/Report", ""), "/r/");
  // Charts and Catalog are stored but never resolved.
  EXPECT_EQ(config->GetFolder("f", FOLDER_CHARTS), "/f");

  ASSERT_EQ(mkdir((TestDir() + "/sub").c_str(), 0700), 0);
  config->SetFolder(wxString(TestDir() + "/sub"), "Work");
  EXPECT_EQ(config->GetFolder("", FOLDER_WORK), wxString(TestDir()) + "/sub/");
}

TEST(ConfigStore, ColumnWidths) {
  struct Case {
    const char* stored;
    int def;
    int expected;
  } cases[] = {
      {"250", 80, 80}, {"0", 80, 80},     {"200", 80, 200}, {"1", 80, 1},  {"abc", 80, 80},
      {"250", 0, 100}, {"0", 0, 100},     {"150", 0, 150},  {"-5", 60, 60}, {"120px", 60, 120},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wxMyConfig::ColumnWidth(c.stored, c.def), c.expected) << c.stored << " / " << c.def;
}

TEST(ConfigStore, DecimalValue) {
  EXPECT_EQ(pelk::DecimalValue("42"), 42);
  EXPECT_EQ(pelk::DecimalValue(" 7x"), 7);
  EXPECT_EQ(pelk::DecimalValue("x7"), 0);
  EXPECT_EQ(pelk::DecimalValue(""), 0);
  EXPECT_EQ(pelk::DecimalValue("-3"), -3);
}

TEST(ConfigFile, WrittenAtDestructionAndReadBack) {
  config = new wxMyConfig("Pelk");
  EXPECT_EQ(config->GetLocalPath(), wxString(ConfigPath()));
  config->Write("Users", "ABC");
  config->Write("User/ABC/Name", wxString::FromUTF8("Kovács Péter"));
  EXPECT_FALSE(FileExists(ConfigPath()));  // nothing reaches the file before the end
  delete config;
  config = nullptr;

  std::string text = ReadFile(ConfigPath());
  EXPECT_NE(text.find("Users=ABC"), std::string::npos);
  EXPECT_NE(text.find("[User/ABC]"), std::string::npos);
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{".pelk"});

  ScopedConfig again;
  EXPECT_EQ(config->Read("Users", ""), "ABC");
  EXPECT_EQ(config->Read("User/ABC/Name", ""), wxString::FromUTF8("Kovács Péter"));
}

TEST(ConfigFile, DiscardedRunWritesNothing) {
  WriteTestFile(".pelk", "Users=ABC\n");
  {
    ScopedConfig cfg;
    config->Write("Users", "ABCDEF");
  }
  EXPECT_EQ(ReadFile(ConfigPath()), "Users=ABC\n");
}

TEST(ConfigFile, GarbageOrUnreadableBehavesAsMissing) {
  const std::string garbage[] = {
      std::string("\x7f" "ELF\x02\x01\x01\0\0\0 binary", 17),
      "Users=ABC\nthis is no setting at all\n",
      "[Directories\nDataPath=/x/\n",
  };
  for (const std::string& bytes : garbage) {
    WriteTestFile(".pelk", bytes);
    {
      ScopedConfig cfg;
      EXPECT_EQ(config->Read("Users", "none"), "none");
      EXPECT_EQ(config->Read("Directories/DataPath", "none"), "none");
    }
    EXPECT_EQ(ReadFile(ConfigPath()), bytes);  // untouched until a normal exit
  }

  WriteTestFile(".pelk", "Users=ABC\n");
  chmod(ConfigPath().c_str(), 0);
  if (access(ConfigPath().c_str(), R_OK) != 0) {  // root reads anything
    ScopedConfig cfg;
    EXPECT_EQ(config->Read("Users", "none"), "none");
  }
  chmod(ConfigPath().c_str(), 0600);
}

TEST(ConfigFile, FailedSaveLeavesOldFile) {
  WriteTestFile(".pelk", "Users=ABC\n");
  ScopedConfig cfg;
  config->Write("Users", "ABCDEFGHI");
  pelk::AtomicWriteFailAfterForTests(3);
  EXPECT_FALSE(config->SaveFile());
  pelk::AtomicWriteFailAfterForTests(-1);
  EXPECT_EQ(ReadFile(ConfigPath()), "Users=ABC\n");
  EXPECT_EQ(ListDir(TestDir()), std::vector<std::string>{".pelk"});
  EXPECT_TRUE(config->SaveFile());
  EXPECT_EQ(ReadFile(ConfigPath()), "Users=ABCDEFGHI\n");
}

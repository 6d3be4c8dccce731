// The diagnostic file: one heading and one system section per start, file
// sections, and entries appended later, all within their bounds.
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

#include "TempHome.h"
#include "config/MyConfig.h"
#include "config/Rpt.h"

using namespace pelk_test;

namespace {

class Diagnostics : public testing::Test {
 protected:
  void SetUp() override { path = TestDir() + "/pelk.rpt"; }
  void TearDown() override { rpt.Close(); }
  size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
  }
  // What start-up writes.
  void StartUpSections() {
    ASSERT_EQ(rpt.Open(wxString(path)), 1);
    EXPECT_EQ(rpt.ReportSystem(), 1);
    rpt.ReportFile(FOLDER_PROGRAM, "stars.db", "Pelk Validation DB");
    rpt.ReportFile(FOLDER_PROGRAM, "english.lng", "Pelk English Language File");
    rpt.ReportFile(FOLDER_PROGRAM, "magyar.lng", "Pelk Hungarian Language File");
    rpt.Close();
  }
  ScopedConfig store;
  wxRpt rpt;
  std::string path;
};


}  // namespace

TEST_F(Diagnostics, StartUpLayout) {
  ScopedTZ zone("CET-1");
  WriteTestFile("stars.db", std::string(1234, 'x'));
  WriteTestFile("english.lng", "");
  StartUpSections();

  std::string text = ReadFile(path);
  EXPECT_EQ(text.rfind("Report File\n\n", 0), 0u);
  EXPECT_NE(text.find("\n\tlanguage = "), std::string::npos);
  EXPECT_NE(text.find("\tcurrent time = "), std::string::npos);
  EXPECT_NE(text.find("\ttime zone = CET (dst not set)\n"), std::string::npos);
  EXPECT_NE(text.find("\nPelk Validation DB (" + TestDir() + "/stars.db)\n\tsize = 1234 bytes\n\tfile date = "),
            std::string::npos);
  EXPECT_NE(text.find("\nPelk English Language File (" + TestDir() + "/english.lng)\n\tsize = 0 bytes\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nPelk Hungarian Language File (" + TestDir() +
                      "/magyar.lng)\nfile don't exist\terror : no file info available - (2) " +
                      strerror(ENOENT) + "\n"),
            std::string::npos);
  // The file date is the classic 24-character form with its line end.
  size_t date = text.find("\tfile date = ");
  ASSERT_NE(date, std::string::npos);
  size_t eol = text.find('\n', date);
  EXPECT_EQ(eol - (date + 13), 24u);

  // The next start rewrites the file: one heading, one system section.
  rpt.Report(RPT_NOMSG, "Initial program folder", "/somewhere/");
  StartUpSections();
  text = ReadFile(path);
  EXPECT_EQ(Count(text, "Report File"), 1u);
  EXPECT_EQ(Count(text, "\tcurrent time = "), 1u);
  EXPECT_EQ(Count(text, "Initial program folder"), 0u);
}

TEST_F(Diagnostics, DaylightZoneName) {
  ScopedTZ zone("CET-1CEST,M3.5.0,M10.5.0/3");
  StartUpSections();
  EXPECT_NE(ReadFile(path).find("\ttime zone = CET (CEST)\n"), std::string::npos);
}

TEST_F(Diagnostics, OpenAndCloseRules) {
  EXPECT_EQ(rpt.Open(""), 0);  // nothing remembered to reopen
  EXPECT_EQ(rpt.ReportSystem(), 0);
  EXPECT_EQ(rpt.ReportFile(FOLDER_PROGRAM, "stars.db", "x"), 0);
  EXPECT_EQ(rpt.Open(wxString(TestDir() + "/no/folder/pelk.rpt")), 0);
  EXPECT_EQ(rpt.Close(), 1);

  ASSERT_EQ(rpt.Open(wxString(path)), 1);
  EXPECT_EQ(rpt.Open(wxString(TestDir() + "/other.rpt")), 1);  // already open: nothing changes
  EXPECT_FALSE(FileExists(TestDir() + "/other.rpt"));
  rpt.Close();

  // An entry written while the file is closed reopens it for appending and
  // leaves it closed.
  EXPECT_EQ(rpt.Report(RPT_NOMSG, "Configuration changed", "Report folder moved to '/r/'"), 1);
  EXPECT_FALSE(rpt.IsOpened());
  EXPECT_EQ(ReadFile(path), "Report File\n\n\nConfiguration changed\n\tinfo : Report folder moved to '/r/'\n");

  // A file name far longer than any buffer of the old kind.
  std::string longName = TestDir() + "/" + std::string(200, 'n') + ".rpt";
  EXPECT_EQ(rpt.Open(wxString(longName)), 1);
  rpt.Close();
  EXPECT_TRUE(FileExists(longName));
}

TEST_F(Diagnostics, EntryTexts) {
  ASSERT_EQ(rpt.Open(wxString(path)), 1);
  rpt.Close();
  // User data with "%" is escaped by the caller and comes out as it stands.
  rpt.Report(RPT_NOMSG, "Initial database folder", pelk::EscapePercent("/home/a%sb%n%d/"));
  // An unescaped text with stray directives still cannot read or write
  // anything it should not.
  rpt.Report(RPT_NOMSG | RPT_ERROR | RPT_ONELINE, "t%s", "%n%s%x%p%d %s");
  // A long text is cut.
  rpt.Report(RPT_NOMSG, "Long", wxString('L', 400));
  std::string text = ReadFile(path);
  EXPECT_NE(text.find("\nInitial database folder\n\tinfo : /home/a%sb%n%d/\n"), std::string::npos);
  EXPECT_NE(text.find("\terror : t%s - %n%s%x%p"), std::string::npos);
  EXPECT_NE(text.find("\tinfo : " + std::string(wxRpt::kMaxEntryText, 'L') + "\n"), std::string::npos);
  EXPECT_EQ(text.find(std::string(wxRpt::kMaxEntryText + 1, 'L')), std::string::npos);
}

TEST(DiagnosticText, FillsCodeAndMessageOnly) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"(%d) %s", "(2) gone"},
      {"plain text", "plain text"},
      {"100%% done", "100% done"},
      {"%s first", "%s first"},
      {"%5d|%-6s|", "    2|gone  |"},
      {"%d %d %s", "2 %d gone"},
      {"%n%x%", "%n%x%"},
      {"%ld: %s", "2: gone"},
  };
  for (const Case& c : cases) EXPECT_EQ(pelk::FormatReportText(c.text, 2, "gone"), c.expected) << c.text;
}

// The folders page: folder keys, switches, moving the observers' files,
// converting archives, and loading validation files.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filefn.h>

#include <algorithm>

#include "../core/DbFixtures.h"
#include "GuiFixture.h"
#include "astro/AstroTime.h"
#include "config/Rpt.h"
#include "db/DbScope.h"
#include "refdata/Directories.h"

using namespace pelk_test;

namespace {

class Folders : public GuiTest {
 protected:
  void SetUp() override {
    MakeConfig();
    config->Write("Directories/DataPath", wxString(TestDir()) + "/");
    config->Write("Directories/Report", wxString(TestDir()) + "/");
    DbTestSetup::ResetDatabases();
    g_rpt.Open(wxString(TestDir() + "/pelk.rpt"));
    g_rpt.Close();
  }
  void TearDown() override {
    g_scope.AbandonChanges();
    g_scope.Close();
    DbTestSetup::ResetDatabases();
    GuiTest::TearDown();
  }
  std::string Dir(const std::string& name) {
    std::string path = TestDir() + "/" + name;
    mkdir(path.c_str(), 0700);
    return path + "/";
  }
  wxDirectories* Page(wxWindow* parent) {
    wxDirectories* page = new wxDirectories(parent);
    page->OnInit();
    return page;
  }
  void WriteArchive(const std::string& folder, const char* code, const std::vector<double>& jds) {
    wxString old = g_observer;
    g_observer = code;
    config->Write("Directories/DataPath", wxString(folder));
    wxDbObs db;
    db.Open(true, 0);
    for (double jd : jds) {
      TObs_data o = Obs("R LEO", jd);
      db.Insert(&o);
    }
    EXPECT_EQ(db.Close(), 0);
    g_observer = old;
  }
  wxDialog host{nullptr, wxID_ANY, "host"};
};

double LocalJD(int y, int m, int d) { return wxAstroTime::DateTime2JD(y, m, d, 22, 0, 0, true, nullptr); }

}  // namespace

TEST_F(Folders, OkWritesEverythingEvenUnchanged) {
  config->DeleteEntry("Directories/Report");
  config->DeleteEntry("Directories/DataPath");
  wxDirectories* page = Page(&host);
  // Absent keys offer the home folder, which is the test's folder.
  EXPECT_EQ(page->GetDataFolder(), wxString(TestDir()) + "/");
  EXPECT_EQ(page->FindWindow(ID_DIR_DATA)->GetLabel(), wxString(TestDir()) + "/");
  page->SetInitialSetup(true);
  page->OnOK();
  EXPECT_EQ(config->Read("Directories/Report", ""), wxString(TestDir()) + "/");
  EXPECT_EQ(config->Read("Directories/DataPath", ""), wxString(TestDir()) + "/");
  EXPECT_EQ(config->Read("Features/UseTooltips", ""), "No");
  EXPECT_EQ(config->Read("Features/UseCharts", ""), "No");
  EXPECT_EQ(config->Read("Features/YearlyArchive", ""), "No");
  EXPECT_NE(ReadFile(TestDir() + "/pelk.rpt").find("Configuration changed\n\tinfo : Report folder moved to '" +
                                                   TestDir() + "/'"),
            std::string::npos);

  // A folder without its slash gets one.
  page->SetFolders("/data/obs", "/data/rep");
  page->OnOK();
  EXPECT_EQ(config->Read("Directories/DataPath", ""), "/data/obs/");
  EXPECT_EQ(config->Read("Directories/Report", ""), "/data/rep/");
}

TEST_F(Folders, SwitchesFollowTheirKeys) {
  config->Write("Features/UseTooltips", "Yes");
  config->Write("Features/UseCharts", "yes");
  config->Write("Features/YearlyArchive", "Yes");
  wxDirectories* page = Page(&host);
  EXPECT_TRUE(static_cast<wxCheckBox*>(page->FindWindow(ID_DIR_TOOLTIPS))->GetValue());
  EXPECT_FALSE(static_cast<wxCheckBox*>(page->FindWindow(ID_DIR_CHARTS))->GetValue());
  EXPECT_TRUE(page->FindWindow(ID_DIR_YEARLY)->IsEnabled());

  // While the archive is viewed its form cannot change.
  g_observer = "ABC";
  g_obs.Open(true, 0);
  wxDirectories* viewing = Page(&host);
  EXPECT_FALSE(viewing->FindWindow(ID_DIR_YEARLY)->IsEnabled());
  g_obs.Close();
  g_obs.Open(false, 0);
}

TEST_F(Folders, MovingTheObserversFiles) {
  const std::string from = Dir("old"), to = Dir("new");
  config->Write("Directories/DataPath", wxString(from));
  config->Write("Users", "ABCXYZ");
  for (const char* f : {"ABC.obs", "ABC.scope", "ABC.arch", "ABC2001.arch", "XYZ.obs", "ABCxxxx.arch"})
    WriteTestFile("old/" + std::string(f), f);
  WriteTestFile("new/XYZ.obs", "already there");

  wxDirectories* page = Page(&host);
  page->SetFolders(wxString(to).BeforeLast('/'), page->GetReportFolder());
  wxTEST_DIALOG(page->OnOK(), wxExpectMessage(config->GetText(16541), wxID_YES),
                wxExpectMessage("File XYZ.obs exists in the destination folder.\n\nDo you want to overwrite it?",
                                wxID_NO));
  EXPECT_EQ(ListDir(to), (std::vector<std::string>{"ABC.arch", "ABC.obs", "ABC.scope", "ABC2001.arch", "XYZ.obs"}));
  EXPECT_EQ(ReadFile(to + "ABC.obs"), "ABC.obs");
  EXPECT_EQ(ReadFile(to + "XYZ.obs"), "already there");
  EXPECT_EQ(ListDir(from), (std::vector<std::string>{"ABCxxxx.arch", "XYZ.obs"}));
  EXPECT_EQ(config->Read("Directories/DataPath", ""), wxString(to));
  EXPECT_NE(ReadFile(TestDir() + "/pelk.rpt").find("Data folder moved from '" + from + "' to '" + to + "'"),
            std::string::npos);
}

TEST_F(Folders, NoMoveWhenDeclinedOrInInitialSetup) {
  const std::string from = Dir("old"), to = Dir("new");
  config->Write("Directories/DataPath", wxString(from));
  config->Write("Users", "ABC");
  WriteTestFile("old/ABC.obs", "x");
  wxDirectories* page = Page(&host);
  page->SetFolders(wxString(to), page->GetReportFolder());
  wxTEST_DIALOG(page->OnOK(), wxExpectMessage(config->GetText(16541), wxID_NO));
  EXPECT_EQ(ListDir(from), std::vector<std::string>{"ABC.obs"});
  EXPECT_EQ(config->Read("Directories/DataPath", ""), wxString(to));

  config->Write("Directories/DataPath", wxString(from));
  wxDirectories* first = Page(&host);
  first->SetInitialSetup(true);
  first->SetFolders(wxString(to), first->GetReportFolder());
  first->OnOK();  // no question at all
  EXPECT_EQ(ListDir(from), std::vector<std::string>{"ABC.obs"});
}

TEST_F(Folders, MoveFileRules) {
  const std::string from = Dir("a"), to = Dir("b");
  WriteTestFile("a/f.obs", "one");
  EXPECT_EQ(wxDirectories::MoveFile(from + "missing.obs", to + "missing.obs"), 1);
  EXPECT_EQ(wxDirectories::MoveFile(from + "f.obs", to + "f.obs"), 1);
  EXPECT_EQ(ReadFile(to + "f.obs"), "one");
  WriteTestFile("a/f.obs", "two");
  int rc = 0;
  wxTEST_DIALOG(rc = wxDirectories::MoveFile(from + "f.obs", to + "f.obs"),
                wxExpectMessage(wxString::Format(config->GetText(16605), "f.obs"), wxID_YES));
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(ReadFile(to + "f.obs"), "two");
  EXPECT_FALSE(FileExists(from + "f.obs"));
  // A destination folder that does not exist: the copy fails, the file stays.
  WriteTestFile("a/g.obs", "three");
  wxTEST_DIALOG(rc = wxDirectories::MoveFile(from + "g.obs", TestDir() + "/none/g.obs"),
                wxExpectMessage(wxString::Format(config->GetText(16543), from + "g.obs")));
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(ReadFile(from + "g.obs"), "three");
}

TEST_F(Folders, YearlyArchivesOnAndOff) {
  ScopedTZ zone("CET-1");
  const std::string data = TestDir() + "/";
  config->Write("Users", "ABC");
  // Half past midnight on New Year's Day in local time is still the old
  // year in UT: it belongs to the new year.
  const double newYear = wxAstroTime::DateTime2JD(2004, 1, 1, 0, 30, 0, true, nullptr);
  WriteArchive(data, "ABC", {LocalJD(2001, 3, 1), LocalJD(2003, 12, 31), LocalJD(2001, 12, 31), newYear});
  g_observer = "ABC";

  wxDirectories* page = Page(&host);
  static_cast<wxCheckBox*>(page->FindWindow(ID_DIR_YEARLY))->SetValue(true);
  page->OnOK();
  EXPECT_EQ(config->Read("Features/YearlyArchive", ""), "Yes");
  std::vector<std::string> files = ListDir(TestDir());
  EXPECT_NE(std::find(files.begin(), files.end(), "ABC2001.arch"), files.end());
  EXPECT_NE(std::find(files.begin(), files.end(), "ABC2003.arch"), files.end());
  EXPECT_NE(std::find(files.begin(), files.end(), "ABC2004.arch"), files.end());
  EXPECT_EQ(std::find(files.begin(), files.end(), "ABC2002.arch"), files.end());  // no estimate that year
  EXPECT_EQ(std::find(files.begin(), files.end(), "ABC.arch"), files.end());
  {
    wxDbObs y2001;
    y2001.Open(true, 2001);
    EXPECT_EQ(y2001.GetCount(), 2);
    y2001.Close();
  }

  wxDirectories* back = Page(&host);
  static_cast<wxCheckBox*>(back->FindWindow(ID_DIR_YEARLY))->SetValue(false);
  back->OnOK();
  files = ListDir(TestDir());
  EXPECT_NE(std::find(files.begin(), files.end(), "ABC.arch"), files.end());
  EXPECT_EQ(std::find(files.begin(), files.end(), "ABC2001.arch"), files.end());
  EXPECT_EQ(std::find(files.begin(), files.end(), "ABC2003.arch"), files.end());
  EXPECT_EQ(std::find(files.begin(), files.end(), "ABC2004.arch"), files.end());
  wxDbObs single;
  single.Open(true, 0);
  EXPECT_EQ(single.GetCount(), 4);
  single.Close();
}

TEST_F(Folders, ValidationFileKinds) {
  const std::string aavso = StarLine("1", "R LEO", "M") + "\n" + StarLine("2", "S LEO", "SR") + "\n";
  const wxString path = WriteTestFile("vallong.txt", aavso);
  g_stars.Open(wxString());

  // The filter decides first; a file named like the other kind does not
  // change it.
  int rc = 0;
  wxTEST_DIALOG(rc = wxDirectories::VfLoadFile(nullptr, path, 1, true),
                wxExpectMessage(wxString::Format(config->GetText(16466), 2, "vallong.txt")));
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(Stars(g_stars).size(), 2u);
  EXPECT_EQ(static_cast<TStar_data*>(g_stars.Get(0))->cls, 'E');

  // Under the third filter the name decides; an unknown name asks.
  const wxString other = WriteTestFile("mylist.txt", aavso);
  wxTEST_DIALOG(rc = wxDirectories::VfLoadFile(nullptr, other, 2, true),
                wxExpectMessage(config->GetText(16550), wxID_CANCEL));
  EXPECT_EQ(rc, 0);
  wxTEST_DIALOG(rc = wxDirectories::VfLoadFile(nullptr, other, 2, false),
                wxExpectMessage(config->GetText(16550), wxID_YES),
                wxExpectMessage(config->GetText(16469), wxID_NO));
  EXPECT_EQ(rc, 0);
  wxTEST_DIALOG(rc = wxDirectories::VfLoadFile(nullptr, path, 2, false),
                wxExpectMessage(config->GetText(16469), wxID_YES),
                wxExpectMessage(wxString::Format(config->GetText(16466), 0, "vallong.txt")));
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(config->Read("Directories/ValidateFile", ""), wxString(TestDir()));
  EXPECT_EQ(config->Read("Directories/ValidationFileDate", ""), wxDirectories::FileDate(path));
  EXPECT_NE(ReadFile(TestDir() + "/pelk.rpt").find("AAVSO validation file '" + TestDir() + "/vallong.txt' loaded."),
            std::string::npos);

  // A file that cannot be read.
  wxTEST_DIALOG(rc = wxDirectories::VfLoadFile(nullptr, wxString(TestDir() + "/none/vallong.txt"), 0, true),
                wxExpectMessage(config->GetText(16471)));
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(wxDirectories::ValidationFilter(),
            "AAVSO Validation File (vallong.txt)|vallong.txt|Eclipsing Validation File (fedesi.txt)|fedesi.txt|*|*");
}

TEST_F(Folders, FailedConversionLosesNothingAndSaysSo) {
  ScopedTZ zone("CET-1");
  config->Write("Users", "ABC");
  WriteArchive(TestDir() + "/", "ABC", {LocalJD(2001, 3, 1), LocalJD(2002, 3, 1)});
  // Something in the way of the 2002 file.
  ASSERT_EQ(mkdir((TestDir() + "/ABC2002.arch").c_str(), 0700), 0);
  g_observer = "ABC";
  wxDirectories* page = Page(&host);
  static_cast<wxCheckBox*>(page->FindWindow(ID_DIR_YEARLY))->SetValue(true);
  wxTEST_DIALOG(page->OnOK(), wxExpectDialog<wxMessageDialog>([](wxMessageDialog* box) {
                  EXPECT_NE(box->GetMessage().Find("ABC"), wxNOT_FOUND);
                  return wxID_OK;
                }));
  // The single archive is still there, whole.
  wxDbObs single;
  single.Open(true, 0);
  EXPECT_EQ(single.GetCount(), 2);
  single.Close();
}

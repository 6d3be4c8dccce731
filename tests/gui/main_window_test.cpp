// The main window's menus, toolbar and title.
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "GuiFixture.h"
#include "app/Message.h"
#include "astro/AstroTime.h"
#include <wx/choicdlg.h>
#include <sys/stat.h>

using namespace pelk_test;

namespace {
class MainWindow : public GuiTest {
 protected:
  void SetUp() override { MakeConfig(); }
};
}  // namespace

TEST_F(MainWindow, MenusAndToolbar) {
  wxObsFrame* frame = MakeFrame();
  wxMenuBar* bar = frame->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 4u);
  EXPECT_EQ(bar->GetMenuLabel(1), "&Observations");
  struct Entry {
    int id;
    const char* label;
  } entries[] = {{ID_USERS, "&Users"},         {ID_PROPERTIES, "&Properties\tCtrl-P"},
                 {ID_EXIT, "E&xit"},           {ID_NEWOBS, "&New\tCtrl-N"},
                 {ID_BROWSE, "&Browse\tCtrl-B"}, {ID_REPORT, "&Report\tCtrl-R"},
                 {ID_ARCHIVE, "&Archive"},     {ID_OPTIONS, "&Options"},
                 {ID_VALLIST, "&Validation table"}, {ID_CHARTLIST, "&Chart list"},
                 {ID_CONTENTS, "&Contents\tF1"}, {ID_ABOUT, "&About Pelk..."}};
  for (const Entry& e : entries) {
    wxMenuItem* item = bar->FindItem(e.id);
    ASSERT_NE(item, nullptr) << e.id;
    EXPECT_EQ(item->GetItemLabel(), e.label);
    EXPECT_TRUE(item->GetHelp().empty());
  }
  EXPECT_TRUE(bar->FindItem(ID_ARCHIVE)->IsCheckable());
  EXPECT_FALSE(bar->IsChecked(ID_ARCHIVE));

  wxToolBar* tb = frame->GetToolBar();
  ASSERT_NE(tb, nullptr);
  const int order[] = {ID_EXIT, ID_PROPERTIES, ID_NEWOBS, ID_BROWSE, ID_REPORT, ID_CONTENTS};
  const char* tips[] = {"Exit", "Properties", "New Observation", "Browse", "Report", "Contents"};
  ASSERT_EQ(tb->GetToolsCount(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(tb->GetToolByPos(i)->GetId(), order[i]);
    EXPECT_EQ(tb->GetToolShortHelp(order[i]), tips[i]);
    EXPECT_EQ(tb->GetToolByPos(i)->GetNormalBitmap().GetWidth(), 32);
  }

  // After a language change the tooltips follow the new texts.
  WriteTestFile("x.lng", "{611, \"\xdaj \xe9szlel\xe9s\"},\n");
  ASSERT_EQ(config->LoadLanguage("x.lng"), 0);
  frame->SetToolTips();
  EXPECT_EQ(tb->GetToolShortHelp(ID_NEWOBS), wxString::FromUTF8("Új észlelés"));
}

TEST_F(MainWindow, Title) {
  wxObsFrame* frame = MakeFrame();
  frame->SetTitle();
  EXPECT_EQ(frame->GetTitle(), "Pelk - Variable Star Observations");
  g_observer = "ABC";
  frame->SetTitle();
  EXPECT_EQ(frame->GetTitle(), "Pelk - Variable Star Observations (ABC)");
}

TEST_F(MainWindow, ClockText) {
  // One hour west of Greenwich with summer time by date: local time is UT
  // in May.
  ScopedTZ zone("WAT1");
  wxAstroTime t;
  t.SetDateTimeUTC(2003, 5, 17, 20, 34, 5);
  wxString plain = wxObsFrame::ClockText(t, "");
  EXPECT_TRUE(plain.StartsWith("2003.05.17 20:34:05 | JD 2452777.3570 | Moonphase: ")) << plain;
  EXPECT_EQ(plain.Find("Sideral"), wxNOT_FOUND);
  // The Moon was a day and a half past full (the eclipse of May 16): 95%
  // and waning, "D".
  EXPECT_TRUE(plain.EndsWith("Moonphase: 95% D")) << plain;

  struct Case {
    const char* stored;
    bool shown;
    double degrees;
  } cases[] = {{"E19.1", true, 19.1}, {"W5", true, -5}, {"19.1", true, 19.1}, {"", false, 0},
               {"E", false, 0},      {"x19", false, 0}, {"E19.1x", false, 0}};
  for (const Case& c : cases) {
    double deg = 0;
    EXPECT_EQ(wxObsFrame::ParseLongitude(c.stored, &deg), c.shown) << c.stored;
    if (c.shown) {
      EXPECT_NEAR(deg, c.degrees, 1e-9) << c.stored;
    }
    wxString text = wxObsFrame::ClockText(t, c.stored);
    EXPECT_EQ(text.Find(" | Sideral Time: ") != wxNOT_FOUND, c.shown) << c.stored;
  }
  int h, m, s;
  t.GetLST(19.1, &h, &m, &s);
  EXPECT_NE(wxObsFrame::ClockText(t, "E19.1").Find(wxString::Format("Sideral Time: %02d:%02d:%02d", h, m, s)),
            wxNOT_FOUND);
}

namespace {
// The observer ABC with the test folder as data folder.
class Observing : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    config->Write("Directories/DataPath", wxString(TestDir()) + "/");
    g_observer = "ABC";
  }
  void WriteObs(bool archive, int year, int count) {
    wxDbObs db;
    db.Open(archive, year);
    for (int i = 0; i < count; ++i) {
      TObs_data o;
      memset(&o, 0, sizeof o);
      strcpy(o.variable, "R LEO");
      o.jd = 2452000.5 + i;
      strcpy(o.magnitude, "  9.8 ");
      strcpy(o.scope, "n/e");
      db.Insert(&o);
    }
    ASSERT_EQ(db.Close(), 0);
  }
  void ClickArchive(wxObsFrame* frame, bool check) {
    frame->GetMenuBar()->Check(ID_ARCHIVE, check);
    wxCommandEvent ev(wxEVT_MENU, ID_ARCHIVE);
    ev.SetInt(check);
    frame->ProcessWindowEvent(ev);
  }
};
}  // namespace

TEST_F(Observing, ArchiveSwitchAndTitle) {
  WriteObs(false, 0, 3);
  WriteObs(true, 0, 2);
  wxObsFrame* frame = MakeFrame();
  g_obs.Open(false, 0);
  ClickArchive(frame, true);
  EXPECT_TRUE(g_obs.IsArchive());
  EXPECT_EQ(g_obs.GetCount(), 2);
  EXPECT_FALSE(frame->GetMenuBar()->IsEnabled(ID_NEWOBS));
  EXPECT_FALSE(frame->GetToolBar()->GetToolEnabled(ID_NEWOBS));
  EXPECT_EQ(frame->GetTitle(), "Pelk - Variable Star Observations (ABC - Archive)");

  ClickArchive(frame, false);
  EXPECT_FALSE(g_obs.IsArchive());
  EXPECT_EQ(g_obs.GetCount(), 3);
  EXPECT_TRUE(frame->GetMenuBar()->IsEnabled(ID_NEWOBS));
  EXPECT_EQ(frame->GetTitle(), "Pelk - Variable Star Observations (ABC)");
}

TEST_F(Observing, YearlyArchiveChoice) {
  config->Write("Features/YearlyArchive", "Yes");
  WriteObs(true, 2001, 4);
  WriteTestFile("ABCxxxx.arch", "");
  wxObsFrame* frame = MakeFrame();
  g_obs.Open(false, 0);
  EXPECT_EQ(wxObsFrame::ArchiveYears(), wxArrayString(1, wxString("2001")));

  // Cancelled: nothing is reopened.
  wxTEST_DIALOG(ClickArchive(frame, true),
                wxExpectDialog<wxSingleChoiceDialog>([](wxSingleChoiceDialog*) { return wxID_CANCEL; }));
  EXPECT_FALSE(g_obs.IsArchive());

  wxTEST_DIALOG(ClickArchive(frame, true), wxExpectDialog<wxSingleChoiceDialog>([](wxSingleChoiceDialog* dlg) {
                  EXPECT_EQ(dlg->GetTitle(), "<select year>");
                  dlg->SetSelection(0);
                  return wxID_OK;
                }));
  EXPECT_TRUE(g_obs.IsArchive());
  EXPECT_EQ(g_obs.GetArchiveYear(), 2001);
  EXPECT_EQ(g_obs.GetCount(), 4);
  EXPECT_EQ(frame->GetTitle(), "Pelk - Variable Star Observations (ABC - Archive 2001)");
}

TEST_F(Observing, NoArchiveNoSwitch) {
  wxObsFrame* frame = MakeFrame();
  g_obs.Open(false, 0);
  ClickArchive(frame, true);
  EXPECT_FALSE(g_obs.IsArchive());
  EXPECT_TRUE(frame->GetMenuBar()->IsEnabled(ID_NEWOBS));
}

TEST_F(Observing, ChangeObserver) {
  wxObsFrame* frame = MakeFrame();
  g_scope.Open();
  g_obs.Open(false, 0);
  EXPECT_EQ(frame->ChangeObserver("ABC"), 0);
  g_observer = "XYZ";
  WriteObs(true, 0, 1);
  WriteObs(false, 0, 5);
  g_observer = "ABC";
  EXPECT_EQ(frame->ChangeObserver("XYZ"), 1);
  EXPECT_EQ(g_observer, "XYZ");
  EXPECT_EQ(config->Read("User/LastUsed", ""), "XYZ");
  EXPECT_EQ(g_obs.GetCount(), 5);
  EXPECT_TRUE(frame->GetMenuBar()->IsEnabled(ID_ARCHIVE));
  EXPECT_FALSE(frame->GetMenuBar()->IsChecked(ID_ARCHIVE));
  EXPECT_EQ(frame->GetTitle(), "Pelk - Variable Star Observations (XYZ)");
  EXPECT_EQ(frame->ChangeObserver("ABC"), 1);
  EXPECT_FALSE(frame->GetMenuBar()->IsEnabled(ID_ARCHIVE));
}

TEST_F(Observing, UnsavedObservationsAreNeverDroppedSilently) {
  config->Write("Directories/DataPath", wxString(TestDir()) + "/gone/");
  g_obs.Open(false, 0);
  TObs_data o;
  memset(&o, 0, sizeof o);
  strcpy(o.variable, "R LEO");
  g_obs.Insert(&o);
  bool closed = true;
  // Cancel keeps the program running with the estimate in memory.
  wxTEST_DIALOG(closed = SaveDatabaseOrAsk(g_obs, true), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
  EXPECT_FALSE(closed);
  EXPECT_TRUE(g_obs.IsDirty());
  // The user makes room (here: the folder appears) and tries again.
  wxTEST_DIALOG(closed = SaveDatabaseOrAsk(g_obs, true), wxExpectDialog<wxMessageDialog>([](wxMessageDialog*) {
                  mkdir((TestDir() + "/gone").c_str(), 0700);
                  return wxID_YES;
                }));
  EXPECT_TRUE(closed);
  EXPECT_FALSE(g_obs.IsDirty());
  EXPECT_TRUE(FileExists(TestDir() + "/gone/ABC.obs"));
}

TEST_F(Observing, UnreadableObservationFileIsReportedAndKept) {
  wxObsFrame* frame = MakeFrame();
  g_scope.Open();
  g_obs.Open(false, 0);
  // Something that cannot be read where XYZ's observations should be.
  ASSERT_EQ(mkdir((TestDir() + "/XYZ.obs").c_str(), 0700), 0);
  int rc = 0;
  wxTEST_DIALOG(rc = frame->ChangeObserver("XYZ"), wxExpectDialog<wxMessageDialog>([](wxMessageDialog* box) {
                  EXPECT_NE(box->GetMessage().Find("XYZ.obs"), wxNOT_FOUND);
                  return wxID_OK;
                }));
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(g_obs.GetCount(), 0);
  EXPECT_TRUE(g_obs.IsUnreadable());
}

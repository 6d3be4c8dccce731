// The main window's menus, toolbar and title.
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "GuiFixture.h"
#include "astro/AstroTime.h"

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

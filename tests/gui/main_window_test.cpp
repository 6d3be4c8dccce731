// The main window's menus, toolbar and title.
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "GuiFixture.h"

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

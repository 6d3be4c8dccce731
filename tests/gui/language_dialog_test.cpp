// The language dialog and the window side of the text table: choice
// filling, tooltips, list columns.
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/tooltip.h>
#include <wx/toolbar.h>

#include "GuiFixture.h"
#include "config/DlgLanguage.h"

using namespace pelk_test;

namespace {

class LanguageDialog : public GuiTest {
 protected:
  void SetUp() override {
    MakeConfig();
    wxConfigBase::Set(config);
  }
  wxArrayString Lines(wxDlgLanguage& dlg) {
    wxArrayString lines;
    for (unsigned i = 0; i < dlg.List()->GetCount(); ++i) lines.Add(dlg.List()->GetString(i));
    lines.Sort();
    return lines;
  }
  void Choose(wxDlgLanguage& dlg, const wxString& line) {
    int at = dlg.List()->FindString(line, true);
    ASSERT_NE(at, wxNOT_FOUND) << line;
    dlg.List()->SetSelection(at);
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(&dlg);
    dlg.ProcessWindowEvent(ok);
  }
  wxString MenuTitle(int pos) { return myMainFrame->GetMenuBar()->GetMenuLabel(pos); }
};

}  // namespace

TEST_F(LanguageDialog, SwitchesMenusAndBack) {
  WriteTestFile("english.lng", "// English\n");
  WriteTestFile("magyar.lng", "{500, \"&Felhaszn\xe1l\xf3\"},\n{57344, \"Pelk - \xc9szlel\xe9sek\"},\n");
  MakeFrame();
  EXPECT_NE(myMainFrame->GetMenuBar()->FindItem(ID_LANGUAGE), nullptr);
  EXPECT_EQ(MenuTitle(0), "&User");

  {
    wxDlgLanguage dlg(myMainFrame);
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetTitle(), "Select Language");
    wxArrayString lines = Lines(dlg);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "English");
    EXPECT_EQ(lines[1], "Magyar");
    // Nothing stored yet counts as English.
    EXPECT_EQ(dlg.List()->GetStringSelection(), "English");
    Choose(dlg, "Magyar");
    EXPECT_EQ(dlg.GetReturnCode(), wxID_OK);
  }
  EXPECT_EQ(config->Read("LanguageFile", ""), "magyar.lng");
  EXPECT_EQ(MenuTitle(0), wxString::FromUTF8("&Felhasználó"));
  EXPECT_EQ(myMainFrame->GetTitle(), wxString::FromUTF8("Pelk - Észlelések"));

  {
    wxDlgLanguage dlg(myMainFrame);
    dlg.InitDialog();
    EXPECT_EQ(dlg.List()->GetStringSelection(), "Magyar");
    Choose(dlg, "English");
  }
  EXPECT_EQ(config->Read("LanguageFile", ""), "english.lng");
  EXPECT_EQ(MenuTitle(0), "&User");
}

TEST_F(LanguageDialog, BuiltInEnglishAndCapitalisedNames) {
  // No english.lng: the built-in table is offered as "English (default)".
  WriteTestFile("Deutsch.lng", "{500, \"&Benutzer\"},\n");
  MakeFrame();
  config->Write("LanguageFile", "English (default)");
  {
    wxDlgLanguage dlg(myMainFrame);
    dlg.InitDialog();
    wxArrayString lines = Lines(dlg);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Deutsch");
    EXPECT_EQ(lines[1], "English (default)");
    EXPECT_EQ(dlg.List()->GetStringSelection(), "English (default)");
    // Shown as Deutsch, loaded as deutsch.lng, which does not exist.
    wxTEST_DIALOG(Choose(dlg, "Deutsch"), wxExpectModal<wxMessageDialog>(wxID_OK).Describe("cannot load"));
    EXPECT_EQ(dlg.GetReturnCode(), wxID_OK);
  }
  EXPECT_EQ(config->Read("LanguageFile", ""), "English (default)");
  EXPECT_EQ(MenuTitle(0), "&User");

  {
    wxDlgLanguage dlg(myMainFrame);
    dlg.InitDialog();
    Choose(dlg, "English (default)");
  }
  EXPECT_EQ(config->Read("LanguageFile", ""), "English (default)");
}

TEST_F(LanguageDialog, LanguageMenuOnlyWithSeveralFiles) {
  MakeFrame();
  EXPECT_EQ(myMainFrame->GetMenuBar()->FindItem(ID_LANGUAGE), nullptr);  // no file at all
  WriteTestFile("english.lng", "");
  myMainFrame->SetMenu();
  EXPECT_EQ(myMainFrame->GetMenuBar()->FindItem(ID_LANGUAGE), nullptr);
  WriteTestFile("magyar.lng", "");
  myMainFrame->SetMenu();
  EXPECT_NE(myMainFrame->GetMenuBar()->FindItem(ID_LANGUAGE), nullptr);
  EXPECT_EQ(wxDlgLanguage::DisplayName("magyar.lng"), "Magyar");
  EXPECT_EQ(wxDlgLanguage::DisplayName("default"), "English (default)");
  EXPECT_EQ(wxDlgLanguage::DisplayName("a.b.lng"), "A.b");
}

TEST_F(LanguageDialog, ToolTipsOnlyWhenSwitchedOn) {
  static const int tips[] = {12003, 5101, ID_LANGUAGE_LIST, 0};
  struct Case {
    const char* setting;
    bool shown;
  } cases[] = {{"Yes", true}, {"yes", false}, {"No", false}, {nullptr, false}};
  for (const Case& c : cases) {
    if (c.setting) config->Write("Features/UseTooltips", c.setting);
    else config->DeleteEntry("Features/UseTooltips");
    wxDlgLanguage dlg(nullptr);
    auto tip = [&](int id) {
      wxToolTip* t = dlg.FindWindow(id)->GetToolTip();
      return t ? t->GetTip() : wxString();
    };
    EXPECT_EQ(config->SetToolTips(&dlg, tips), 0);
    if (c.shown) {
      EXPECT_EQ(tip(wxID_OK), "Set the selected language for the Pelk application");
      EXPECT_EQ(tip(wxID_CANCEL), "Cancel modifications and close this dialog box");
      EXPECT_EQ(tip(ID_LANGUAGE_LIST), "List of the selectable languages");
    } else {
      EXPECT_EQ(tip(wxID_OK), "") << (c.setting ? c.setting : "absent");
      EXPECT_EQ(tip(ID_LANGUAGE_LIST), "");
    }
  }
  // An unknown text or control sets nothing and does no harm.
  config->Write("Features/UseTooltips", "Yes");
  wxDialog dlg(nullptr, wxID_ANY, "t");
  new wxButton(&dlg, wxID_OK, "OK");
  static const int none[] = {0, 0, 4242, 0};
  config->SetToolTips(&dlg, none);
  EXPECT_EQ(dlg.FindWindow(wxID_OK)->GetToolTip(), nullptr);
}

TEST_F(LanguageDialog, FillComboForms) {
  wxDialog dlg(nullptr, wxID_ANY, "t");
  wxChoice* choice = new wxChoice(&dlg, 1049);
  EXPECT_EQ(config->FillCombo(&dlg, 1049, 16566), 1);
  ASSERT_EQ(choice->GetCount(), 4u);
  EXPECT_EQ(choice->GetString(3), "Eclipsing monthly report");
  choice->Clear();
  EXPECT_EQ(config->FillCombo(&dlg, 1049, wxString("a|b")), 1);
  EXPECT_EQ(choice->GetCount(), 2u);
  choice->Clear();
  EXPECT_EQ(config->FillCombo(choice, wxString("")), 1);
  EXPECT_EQ(choice->GetCount(), 0u);
  EXPECT_EQ(config->FillCombo(&dlg, 9999, 16566), 0);  // no such control
  EXPECT_EQ(config->FillCombo(static_cast<wxControlWithItems*>(nullptr), wxString("a|")), 0);
}

TEST_F(LanguageDialog, ColumnWidthsStoredAndRestored) {
  wxDialog dlg(nullptr, wxID_ANY, "t");
  wxListCtrl* list = new wxListCtrl(&dlg, wxID_ANY, wxDefaultPosition, wxSize(400, 200), wxLC_REPORT);
  static const int titles[] = {16481, 16482, 16483};
  static const int widths[] = {70, 90, 110};
  config->Write("ValList/brCol0", "250");
  config->Write("ValList/brCol1", "200");
  config->SetColumnSize(list, titles, 3, widths, "ValList");
  ASSERT_EQ(list->GetColumnCount(), 3);
  EXPECT_EQ(list->GetColumnWidth(0), 70);
  EXPECT_EQ(list->GetColumnWidth(1), 200);
  EXPECT_EQ(list->GetColumnWidth(2), 110);
  wxListItem item;
  item.SetMask(wxLIST_MASK_TEXT);
  list->GetColumn(1, item);
  EXPECT_EQ(item.GetText(), "Variable");

  list->SetColumnWidth(2, 133);
  config->SaveColumnSize(list, 3, "ValList");
  EXPECT_EQ(config->Read("ValList/brCol2", ""), "133");

  wxListCtrl* plain = new wxListCtrl(&dlg, wxID_ANY, wxDefaultPosition, wxSize(400, 200), wxLC_REPORT);
  config->SetColumnSize(plain, titles, 2, nullptr, "ChartList");
  EXPECT_EQ(plain->GetColumnWidth(0), 100);
}

TEST_F(LanguageDialog, HelpWithoutBookDoesNotFail) {
  config->DisplayHelp("");
  config->DisplayHelp("mn_newobs.html");
  config->InitHelp();
  SUCCEED();
}

TEST_F(LanguageDialog, ShippedFilesSwitchTheMenus) {
  for (const char* f : {"english.lng", "magyar.lng"})
    WriteTestFile(f, ReadFile(std::string(PELK_DATA) + "/" + f));
  MakeFrame();
  const wxString english[] = {MenuTitle(0), MenuTitle(1), MenuTitle(2), MenuTitle(3)};
  {
    wxDlgLanguage dlg(myMainFrame);
    dlg.InitDialog();
    wxArrayString lines = Lines(dlg);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "English");
    EXPECT_EQ(lines[1], "Magyar");
    Choose(dlg, "Magyar");
  }
  for (int i = 0; i < 4; ++i) EXPECT_NE(MenuTitle(i), english[i]) << i;
  EXPECT_NE(myMainFrame->GetToolBar()->GetToolShortHelp(ID_NEWOBS), "New Observation");
  {
    wxDlgLanguage dlg(myMainFrame);
    dlg.InitDialog();
    Choose(dlg, "English");
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(MenuTitle(i), english[i]) << i;
  EXPECT_EQ(myMainFrame->GetToolBar()->GetToolShortHelp(ID_NEWOBS), "New Observation");
}

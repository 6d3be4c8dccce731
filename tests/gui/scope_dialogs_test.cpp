// The scope dialog with its parameter checks, and the Scopes page of the
// observer's property sheet with Add, Modify and Remove.
#include <sys/stat.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>

#include "GuiFixture.h"
#include "app/Properties.h"
#include "db/DbScope.h"
#include "db/Latin1.h"
#include "refdata/Scope.h"
#include "refdata/ScopeList.h"

using namespace pelk_test;

namespace {

const char* const kBadParameters =
    "Scope parameters has bad format.\nParameters must be given by format of <diameter>/<focal length> (or "
    "<magnification>x<diameter> for binoculars). For more informations press the Help button.";
const char* const kNoNameOrType = "Scope name is not given or type not selected.";
const char* const kDiameterFocalLength = "Diam. / &Focal Len (mm)";
const char* const kMagnificationDiameter = "&Magn. x Diameter (mm)";

void Click(wxWindow* window, int id) {
  wxCommandEvent ev(wxEVT_BUTTON, id);
  ev.SetEventObject(window);
  window->ProcessWindowEvent(ev);
}

// Types `text` into a field one character at a time.
void Type(wxTextCtrl* field, const wxString& text) {
  for (wxUniChar c : text) field->AppendText(wxString(c));
}

void ChooseType(wxScope* dlg, const wxString& display) {
  const int at = dlg->TypeChoice()->FindString(display, true);
  ASSERT_NE(at, wxNOT_FOUND) << display;
  dlg->TypeChoice()->SetSelection(at);
  wxCommandEvent ev(wxEVT_CHOICE, ID_SCOPE_TYPE);
  ev.SetEventObject(dlg->TypeChoice());
  ev.SetInt(at);
  dlg->ProcessWindowEvent(ev);
}

// Expects a message box with this text and caption and answers it.
wxExpectDialog<wxMessageDialog> ExpectBox(const wxString& text, const wxString& caption, int answer = wxID_OK) {
  return wxExpectDialog<wxMessageDialog>([text, caption, answer](wxMessageDialog* box) {
    EXPECT_EQ(box->GetMessage(), text);
    EXPECT_EQ(box->GetCaption(), caption);
    return answer;
  });
}

// Answers the scope dialog as a user would: fills in what is given (an
// empty type or name leaves that control alone) and presses OK.
wxExpectDialog<wxScope> EnterScope(const wxString& name, const wxString& type, const wxString& parameters) {
  return wxExpectDialog<wxScope>([=](wxScope* dlg) {
    dlg->InitDialog();
    if (!name.empty()) dlg->NameField()->SetValue(name);
    if (!type.empty()) ChooseType(dlg, type);
    dlg->ParametersField()->SetValue(parameters);
    Click(dlg, wxID_OK);
    return dlg->GetReturnCode() == wxID_OK ? wxID_OK : wxID_CANCEL;
  });
}

// Observer ABC with the test's folder as data folder and the scope file
// opened there (it starts with the naked eye only).
class ScopeDialogs : public GuiTest {
 protected:
  void SetUp() override {
    MakeConfig();
    config->SetFolder(wxString(TestDir()), FOLDER_DATAPATH);
    g_observer = "ABC";
    ASSERT_EQ(g_scope.Open(), 0);
  }
  void TearDown() override {
    CloseSheet();
    GuiTest::TearDown();
  }

  // The Scopes page in an observer's property sheet, as the program shows
  // it; a sheet opened before goes.
  wxScopeList* OpenPage() {
    CloseSheet();
    m_sheet = new wxProperties(16476, nullptr);
    wxScopeList* page = new wxScopeList(m_sheet->Notebook());
    m_sheet->AddProp(page);
    return page;
  }
  void CloseSheet() {
    if (m_sheet) m_sheet->Destroy();
    m_sheet = nullptr;
  }

  wxProperties* m_sheet = nullptr;

  static std::string ScopePath() { return TestDir() + "/ABC.scope"; }

  static void AddScope(const char* name, int type, const char* parameters) {
    TScope_data scope;
    ASSERT_EQ(wxDbScope::Fill(&scope, name, type, parameters), 0);
    ASSERT_EQ(g_scope.Insert(&scope), 0);
  }

  // The scopes of the database in stored order, "name type parameters".
  static std::vector<std::string> Stored() {
    std::vector<std::string> out;
    TScope_data scope;
    for (int i = 0; i < g_scope.GetCount(); ++i) {
      EXPECT_EQ(g_scope.Get(i, &scope), 1);
      out.push_back(std::string(scope.name) + " " + std::to_string(scope.type) + " " + scope.parameters);
    }
    return out;
  }

  static std::vector<std::string> Shown(wxScopeList* page) {
    std::vector<std::string> out;
    for (unsigned i = 0; i < page->List()->GetCount(); ++i) out.push_back(page->List()->GetString(i).ToStdString());
    return out;
  }

  static void Select(wxScopeList* page, const wxString& name) {
    const int at = page->List()->FindString(name, true);
    ASSERT_NE(at, wxNOT_FOUND) << name;
    page->List()->SetSelection(at);
  }
};

}  // namespace

TEST_F(ScopeDialogs, ParametersArePlausibleForTheType) {
  struct Case {
    const char* type;
    const char* parameters;
    bool accepted;
    int typeNumber;
  } cases[] = {
      {"Binoculars", "10x50", true, 1},
      {"Newtonian", "200/1200", true, 3},
      {"Binoculars", "10x20", false, 0},  // diameter 20
      {"Binoculars", "2x50", false, 0},   // magnification 2
      {"Refractor", "30/500", false, 0},  // diameter 30
      {"Newtonian", "200/50", false, 0},  // focal length 50
      {"Binoculars", "200/1200", false, 0},  // no "x"
      {"Newtonian", "10x50", false, 0},      // no "/"
      // The limits themselves are plausible, one step beyond is not.
      {"Binoculars", "4x25", true, 1},
      {"Monoculars", "200x250", true, 9},
      {"Binoculars", "3x50", false, 0},
      {"Binoculars", "201x50", false, 0},
      {"Binoculars", "10x24", false, 0},
      {"Monoculars", "10x251", false, 0},
      {"Refractor", "40/100", true, 2},
      {"CCD Camera", "10000/100000", true, 7},
      {"Refractor", "39/500", false, 0},
      {"Refractor", "80/99", false, 0},
      {"Cassegrain", "10001/3000", false, 0},
      {"Cassegrain", "200/100001", false, 0},
      // Numbers are read as far as they go; no number reads as 0.
      {"(other)", "80mm/900mm", true, 8},
      {"Binoculars", "x50", false, 0},
      {"Refractor", "/900", false, 0},
      // The limiting magnitude would be taken from the 10 before the "/".
      {"Binoculars", "10/50x50", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.parameters);
    wxScope dlg(nullptr, false);
    dlg.InitDialog();
    dlg.NameField()->SetValue("Test");
    ChooseType(&dlg, c.type);
    dlg.ParametersField()->SetValue(c.parameters);
    if (c.accepted) {
      Click(&dlg, wxID_OK);
      EXPECT_EQ(dlg.GetReturnCode(), wxID_OK);
      EXPECT_EQ(dlg.GetScopeName(), "Test");
      EXPECT_EQ(dlg.GetScopeType(), c.typeNumber);
      EXPECT_EQ(dlg.GetScopeParameters(), c.parameters);
    } else {
      wxTEST_DIALOG(Click(&dlg, wxID_OK), ExpectBox(kBadParameters, "New scope"));
      EXPECT_EQ(dlg.GetReturnCode(), 0);  // the dialog stays open
    }
  }
}

TEST_F(ScopeDialogs, NameTypeAndParametersAreRequired) {
  struct Case {
    const char* name;
    bool typeSelected;
    const char* parameters;
  } cases[] = {
      {"", true, "10x50"},
      {"Binos", true, ""},
      {"Binos", false, "10x50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "/" + c.parameters);
    wxScope dlg(nullptr, false);
    dlg.InitDialog();
    dlg.NameField()->SetValue(c.name);
    if (!c.typeSelected) dlg.TypeChoice()->SetSelection(wxNOT_FOUND);
    dlg.ParametersField()->SetValue(c.parameters);
    wxTEST_DIALOG(Click(&dlg, wxID_OK), ExpectBox(kNoNameOrType, "New scope"));
    EXPECT_EQ(dlg.GetReturnCode(), 0);
    EXPECT_EQ(dlg.GetScopeType(), c.typeSelected ? 1 : -1);
  }
}

TEST_F(ScopeDialogs, OpensForANewOrAnExistingScope) {
  {
    wxScope dlg(nullptr, false);
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetTitle(), "New scope");
    EXPECT_TRUE(dlg.NameField()->IsEnabled());
    EXPECT_EQ(dlg.NameField()->GetValue(), "");
    EXPECT_EQ(dlg.TypeChoice()->GetStringSelection(), "Binoculars");
    EXPECT_EQ(dlg.TypeChoice()->GetCount(), 9u);
    EXPECT_EQ(dlg.GetParametersLabel(), kMagnificationDiameter);
    EXPECT_EQ(static_cast<wxStaticText*>(dlg.FindWindow(ID_SCOPE_PARAMS_LABEL))->GetLabel(), kMagnificationDiameter);
    EXPECT_EQ(dlg.GetDefaultItem(), dlg.FindWindow(wxID_OK));

    // The label follows the type.
    ChooseType(&dlg, "Refractor");
    EXPECT_EQ(static_cast<wxStaticText*>(dlg.FindWindow(ID_SCOPE_PARAMS_LABEL))->GetLabel(), kDiameterFocalLength);
    ChooseType(&dlg, "Monoculars");
    EXPECT_EQ(dlg.GetParametersLabel(), kMagnificationDiameter);
  }
  struct Case {
    int type;
    const char* shown;
    const char* label;
  } cases[] = {
      {3, "Newtonian", kDiameterFocalLength},
      {9, "Monoculars", kMagnificationDiameter},
      {42, "Binoculars", kMagnificationDiameter},  // no such type: the first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    wxScope dlg(nullptr, true);
    dlg.SetScope("Big Dob", c.type, "200/1200");
    dlg.InitDialog();
    EXPECT_EQ(dlg.GetTitle(), "Modify scope");
    EXPECT_FALSE(dlg.NameField()->IsEnabled());
    EXPECT_EQ(dlg.NameField()->GetValue(), "Big Dob");
    EXPECT_EQ(dlg.ParametersField()->GetValue(), "200/1200");
    EXPECT_EQ(dlg.TypeChoice()->GetStringSelection(), c.shown);
    EXPECT_EQ(dlg.GetParametersLabel(), c.label);
  }
}

TEST_F(ScopeDialogs, NameAndParametersKeepToTheRecord) {
  wxScope dlg(nullptr, false);
  dlg.InitDialog();
  // Typed one character after another, the fields stop at 15; a longer
  // text pasted at once is not taken at all.
  Type(dlg.NameField(), "A very long scope name");
  EXPECT_EQ(dlg.NameField()->GetValue(), "A very long sco");
  ChooseType(&dlg, "Newtonian");
  Type(dlg.ParametersField(), "200/1200 f6 reflector");
  EXPECT_EQ(dlg.ParametersField()->GetValue(), "200/1200 f6 ref");
  dlg.NameField()->SetValue("Another long scope name");
  EXPECT_EQ(dlg.NameField()->GetValue(), "");
  wxTEST_DIALOG(Click(&dlg, wxID_OK), ExpectBox(kNoNameOrType, "New scope"));

  // However a longer text gets past the fields, it is refused, not cut.
  dlg.NameField()->SetMaxLength(0);
  dlg.NameField()->SetValue("Sixteen chars ok");
  wxTEST_DIALOG(Click(&dlg, wxID_OK), ExpectBox("Text size must be between 1 and 15", "New scope"));
  EXPECT_EQ(dlg.GetReturnCode(), 0);
  dlg.NameField()->SetValue("Fifteen chars!!");
  dlg.ParametersField()->SetMaxLength(0);
  dlg.ParametersField()->SetValue("0000200/0001200X");
  wxTEST_DIALOG(Click(&dlg, wxID_OK), ExpectBox(kBadParameters, "New scope"));
  EXPECT_EQ(dlg.GetReturnCode(), 0);
  dlg.ParametersField()->SetValue("0000200/0001200");
  Click(&dlg, wxID_OK);
  EXPECT_EQ(dlg.GetReturnCode(), wxID_OK);
}

TEST_F(ScopeDialogs, TooltipsWhenSwitchedOn) {
  config->Write("Features/UseTooltips", "Yes");
  wxScope dlg(nullptr, false);
  struct Case {
    int id;
    const char* tip;
  } cases[] = {
      {wxID_OK, "Insert new scope to the scope list"},
      {wxID_CANCEL, "Cancel modifications and close this dialog box"},
      {ID_SCOPE_NAME, "Scope name"},
      {ID_SCOPE_TYPE, "Scope type list"},
      {wxID_HELP, "Invoke help for this dialog box"},
  };
  for (const Case& c : cases) {
    wxToolTip* tip = dlg.FindWindow(c.id)->GetToolTip();
    ASSERT_NE(tip, nullptr) << c.id;
    EXPECT_EQ(tip->GetTip(), c.tip);
  }
  EXPECT_NE(dlg.ParametersField()->GetToolTip(), nullptr);

  wxScopeList* page = OpenPage();
  EXPECT_EQ(page->FindWindow(ID_SCOPELIST_ADD)->GetToolTip()->GetTip(), "Add new scope to the list");
  EXPECT_EQ(page->FindWindow(ID_SCOPELIST_MODIFY)->GetToolTip()->GetTip(),
            "Modify the parameters of the selected scope");
  EXPECT_EQ(page->FindWindow(ID_SCOPELIST_REMOVE)->GetToolTip()->GetTip(), "Remove the selected scope from the list");
  EXPECT_EQ(page->List()->GetToolTip()->GetTip(), "Scope list");
}

TEST_F(ScopeDialogs, PageAddsNewScopesOnly) {
  AddScope("Binos", 1, "10x50");
  wxScopeList* page = OpenPage();
  EXPECT_EQ(m_sheet->Notebook()->GetPageText(0), "Scopes");
  EXPECT_EQ(page->GetId(), 135);
  EXPECT_EQ(page->GetHelpPage(), "mn_obsprop2.html");
  EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos"}));

  wxTEST_DIALOG(Click(page, ID_SCOPELIST_ADD), EnterScope("Dob", "Newtonian", "200/1200"));
  EXPECT_EQ(Stored(), (std::vector<std::string>{"n/e 0 1x8", "Binos 1 10x50", "Dob 3 200/1200"}));
  EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos", "Dob"}));
  TScopeUsage usage;
  ASSERT_TRUE(g_scope.GetUsage(2, &usage));
  EXPECT_EQ(usage.hmg, 140);

  // A name that is there already, the naked eye's too, changes nothing.
  for (const char* name : {"Dob", "n/e"}) {
    wxTEST_DIALOG(Click(page, ID_SCOPELIST_ADD), EnterScope(name, "Refractor", "80/900"),
                  ExpectBox("Ths scope is already exist.", "Add new scope"));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"n/e 0 1x8", "Binos 1 10x50", "Dob 3 200/1200"}));
    EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos", "Dob"}));
  }

  // Cancelled, or refused and then cancelled: nothing is added.
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_ADD), EnterScope("Refr", "Refractor", "30/500"),
                ExpectBox(kBadParameters, "New scope"));
  EXPECT_EQ(g_scope.GetCount(), 3);
  EXPECT_EQ(page->List()->GetCount(), 3u);
}

TEST_F(ScopeDialogs, PageModifiesInPlaceAndListsTheScopeLast) {
  AddScope("Binos", 1, "10x50");
  AddScope("Dob", 3, "200/1200");
  AddScope("Refr", 2, "80/900");
  wxScopeList* page = OpenPage();
  ASSERT_EQ(g_scope.AddUsage("Dob", 125), 1);

  Select(page, "n/e");
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_MODIFY), ExpectBox("n/e (naked eyes) cannot be modified.", "Modify scope"));
  EXPECT_EQ(Stored()[0], "n/e 0 1x8");

  // The dialog opens with the scope's values; Cancel changes nothing.
  Select(page, "Dob");
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_MODIFY), wxExpectDialog<wxScope>([](wxScope* dlg) {
                  dlg->InitDialog();
                  EXPECT_EQ(dlg->GetTitle(), "Modify scope");
                  EXPECT_FALSE(dlg->NameField()->IsEnabled());
                  EXPECT_EQ(dlg->NameField()->GetValue(), "Dob");
                  EXPECT_EQ(dlg->TypeChoice()->GetStringSelection(), "Newtonian");
                  EXPECT_EQ(dlg->ParametersField()->GetValue(), "200/1200");
                  return wxID_CANCEL;
                }));
  EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos", "Dob", "Refr"}));

  Select(page, "Dob");
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_MODIFY), EnterScope("", "Cassegrain", "300/3000"));
  EXPECT_EQ(Stored(), (std::vector<std::string>{"n/e 0 1x8", "Binos 1 10x50", "Dob 4 300/3000", "Refr 2 80/900"}));
  EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos", "Refr", "Dob"}));
  // The limit follows the new aperture; what was seen with it stays.
  TScopeUsage usage;
  ASSERT_TRUE(g_scope.GetUsage(2, &usage));
  EXPECT_EQ(usage.hmg, 148);
  EXPECT_EQ(usage.uses, 1);
  EXPECT_EQ(usage.faintest, 125);
}

TEST_F(ScopeDialogs, PageRemovesAfterAsking) {
  AddScope("Binos", 1, "10x50");
  AddScope("Big %s Dob", 3, "200/1200");
  AddScope("Refr", 2, "80/900");
  wxScopeList* page = OpenPage();

  Select(page, "n/e");
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_REMOVE), ExpectBox("n/e (naked eyes) cannot be deleted.", "Delete scope"));
  EXPECT_EQ(g_scope.GetCount(), 4);

  Select(page, "Big %s Dob");
  const char* question = "Do you reallt want to delete scope Big %s Dob?";
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_REMOVE), ExpectBox(question, "Delete scope", wxID_NO));
  EXPECT_EQ(g_scope.GetCount(), 4);
  EXPECT_EQ(page->List()->GetCount(), 4u);

  wxTEST_DIALOG(Click(page, ID_SCOPELIST_REMOVE), ExpectBox(question, "Delete scope", wxID_YES));
  EXPECT_EQ(Stored(), (std::vector<std::string>{"n/e 0 1x8", "Binos 1 10x50", "Refr 2 80/900"}));
  EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos", "Refr"}));
}

TEST_F(ScopeDialogs, PageWithoutSelectionDoesNothing) {
  AddScope("Binos", 1, "10x50");
  wxScopeList* page = OpenPage();
  page->List()->SetSelection(wxNOT_FOUND);
  // Any dialog here would fail the test.
  Click(page, ID_SCOPELIST_MODIFY);
  Click(page, ID_SCOPELIST_REMOVE);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"n/e 0 1x8", "Binos 1 10x50"}));
  EXPECT_EQ(page->List()->GetCount(), 2u);
}

TEST_F(ScopeDialogs, SheetOkSavesTheFileCancelKeepsTheChangesOpen) {
  ASSERT_EQ(g_scope.Save(false), 0);
  const std::string before = ReadFile(ScopePath());
  ASSERT_EQ(before.size(), 8u + 48u);
  {
    wxScopeList* page = OpenPage();
    wxTEST_DIALOG(Click(page, ID_SCOPELIST_ADD), EnterScope("Binos", "Binoculars", "10x50"));
    Click(m_sheet, wxID_CANCEL);
  }
  // Cancel undoes nothing and writes nothing.
  EXPECT_EQ(ReadFile(ScopePath()), before);
  EXPECT_EQ(g_scope.GetCount(), 2);
  {
    wxScopeList* page = OpenPage();
    EXPECT_EQ(Shown(page), (std::vector<std::string>{"n/e", "Binos"}));
    wxTEST_DIALOG(Click(page, ID_SCOPELIST_ADD), EnterScope("Dob", "Newtonian", "200/1200"));
    Click(m_sheet, wxID_OK);
  }
  EXPECT_FALSE(g_scope.IsDirty());
  ASSERT_EQ(g_scope.Close(), 0);
  ASSERT_EQ(g_scope.Open(), 0);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"n/e 0 1x8", "Binos 1 10x50", "Dob 3 200/1200"}));
}

TEST_F(ScopeDialogs, SheetOkSaysWhenTheFileCannotBeWritten) {
  config->Write("Directories/DataPath", wxString(TestDir()) + "/gone/");
  g_scope.AbandonChanges();
  ASSERT_EQ(g_scope.Close(), 0);
  ASSERT_EQ(g_scope.Open(), 0);
  wxScopeList* page = OpenPage();
  wxTEST_DIALOG(Click(page, ID_SCOPELIST_ADD), EnterScope("Binos", "Binoculars", "10x50"));
  // The user makes room (here: the folder appears) and tries again.
  wxTEST_DIALOG(Click(m_sheet, wxID_OK), wxExpectDialog<wxMessageDialog>([](wxMessageDialog* box) {
                  EXPECT_TRUE(box->GetMessage().Contains("/gone/ABC.scope")) << box->GetMessage();
                  mkdir((TestDir() + "/gone").c_str(), 0700);
                  return wxID_YES;
                }));
  EXPECT_EQ(ReadFile(TestDir() + "/gone/ABC.scope").size(), 8u + 2 * 48u);
}

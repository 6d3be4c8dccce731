// Observers: the first run, the choice at start-up, the observer list with
// its additions and deletions, renaming, and the station coordinates.
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <sys/stat.h>

#include "GuiFixture.h"
#include "app/GeneralEntry.h"
#include "app/Properties.h"
#include "refdata/Directories.h"
#include "refdata/Observer.h"
#include "refdata/ObserverList.h"
#include "refdata/Station.h"

using namespace pelk_test;

namespace {

const char* const kNoTable = "Validation table not found. Do You want to load AAVSO/Eclisping validation file now?";

void Click(wxWindow* w, int id) {
  wxCommandEvent ev(wxEVT_BUTTON, id);
  ev.SetEventObject(w);
  w->ProcessWindowEvent(ev);
}

// Answers a property sheet as the user would: OK (or Cancel) pressed on
// the sheet, so that its pages store their values.
wxExpectDialog<wxProperties> SheetAnswer(int button, std::function<void(wxProperties*)> fill = nullptr) {
  return wxExpectDialog<wxProperties>([button, fill](wxProperties* sheet) {
    if (fill) fill(sheet);
    Click(sheet, button);
    return button;
  });
}

wxExpectDialog<wxGeneralEntry> EntryAnswer(const wxString& text, int button = wxID_OK) {
  return wxExpectDialog<wxGeneralEntry>([text, button](wxGeneralEntry* entry) {
    entry->Field()->SetValue(text);
    return button;
  });
}

template <class T>
T* PageOf(wxProperties* sheet, int index) {
  return dynamic_cast<T*>(sheet->Notebook()->GetPage((size_t)index));
}

class Observers : public GuiTest {
 protected:
  std::string ConfigText() { return ReadFile(TestDir() + "/.pelk"); }
  bool Start() { return App().StartUp(wxString(TestDir())); }
};

}  // namespace

TEST_F(Observers, FirstRunEndToEnd) {
  SeedValidationTable();
  bool started = false;
  wxTEST_DIALOG(started = Start(),
                SheetAnswer(wxID_OK,
                            [](wxProperties* sheet) {
                              EXPECT_EQ(sheet->PageCount(), 1);
                              EXPECT_NE(PageOf<wxDirectories>(sheet, 0), nullptr);
                            }),
                wxExpectDialog<wxGeneralEntry>([](wxGeneralEntry* entry) {
                  EXPECT_EQ(entry->GetTitle(), "Add new observer");
                  entry->Field()->SetValue("abc");
                  return wxID_OK;
                }),
                SheetAnswer(wxID_OK, [](wxProperties* sheet) {
                  EXPECT_EQ(sheet->GetTitle(), "Observer properties");
                  ASSERT_EQ(sheet->PageCount(), 3);
                  EXPECT_EQ(sheet->Notebook()->GetPageText(1), "Station");
                  PageOf<wxObserver>(sheet, 0)->Field(ID_OBSERVER_NAME)->SetValue("Anna Bell");
                }));
  ASSERT_TRUE(started);
  EXPECT_EQ(g_observer, "ABC");
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations (ABC)");
  App().ShutDown();
  std::string text = ConfigText();
  EXPECT_NE(text.find("Users=ABC"), std::string::npos);
  EXPECT_NE(text.find("DataPath=" + TestDir() + "/"), std::string::npos);
  EXPECT_NE(text.find("Name=Anna Bell"), std::string::npos);
  EXPECT_NE(text.find("Longitude="), std::string::npos);
  EXPECT_TRUE(FileExists(TestDir() + "/ABC.scope"));
  TearDown();

  // The next start goes straight to the main window.
  ASSERT_TRUE(Start());
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations (ABC)");
}

TEST_F(Observers, FirstRunCancelledAtEachStep) {
  SeedValidationTable();
  for (int step = 0; step < 4; ++step) {
    bool started = true;
    switch (step) {
      case 0:
        wxTEST_DIALOG(started = Start(), SheetAnswer(wxID_CANCEL));
        break;
      case 1:
        wxTEST_DIALOG(started = Start(), SheetAnswer(wxID_OK), EntryAnswer("ABC", wxID_CANCEL));
        break;
      case 2:
        wxTEST_DIALOG(started = Start(), SheetAnswer(wxID_OK), EntryAnswer(""));
        break;
      case 3:
        wxTEST_DIALOG(started = Start(), SheetAnswer(wxID_OK), EntryAnswer("ABC"), SheetAnswer(wxID_CANCEL));
        break;
    }
    EXPECT_FALSE(started) << step;
    EXPECT_EQ(myMainFrame, nullptr);
    EXPECT_FALSE(FileExists(TestDir() + "/.pelk")) << step;  // the next start is a first run again
    TearDown();
  }
}

TEST_F(Observers, ChoiceAtStartUp) {
  SeedValidationTable();
  WriteTestFile(".pelk", "Users=ABCXYZ\n[User]\nLastUsed=XYZ\n[Directories]\nDataPath=" + TestDir() + "/\n");
  bool started = false;
  wxTEST_DIALOG(started = Start(), wxExpectDialog<wxObserverList>([](wxObserverList* list) {
                  list->InitDialog();
                  EXPECT_EQ(list->List()->GetCount(), 2u);
                  EXPECT_EQ(list->List()->GetStringSelection(), "XYZ");
                  EXPECT_FALSE(list->FindWindow(ID_OBSLIST_DELETE)->IsShown());
                  EXPECT_EQ(list->FindWindow(ID_OBSLIST_ADD)->GetLabel(), "&Close");
                  list->List()->SetStringSelection("ABC");
                  Click(list, wxID_OK);
                  return list->GetReturnCode();
                }));
  ASSERT_TRUE(started);
  EXPECT_EQ(g_observer, "ABC");
  EXPECT_EQ(config->Read("User/LastUsed", ""), "ABC");
  TearDown();

  // Closed without a choice: the program ends.
  wxTEST_DIALOG(started = Start(), wxExpectDialog<wxObserverList>([](wxObserverList* list) {
                  list->SetStartupMode(true);
                  list->InitDialog();
                  Click(list, ID_OBSLIST_ADD);
                  return list->GetReturnCode();
                }));
  EXPECT_FALSE(started);
}

TEST_F(Observers, AddAndDelete) {
  MakeConfig();
  config->Write("Directories/DataPath", wxString(TestDir()) + "/");
  config->Write("Users", "ZABCDEABC");
  MakeFrame();
  g_observer = "ABC";
  g_scope.Open();
  g_obs.Open(false, 0);
  for (const char* f : {"ABC.obs", "ABC.scope", "ABC.arch", "CDE.obs"}) WriteTestFile(f, "x");
  config->Write("User/ABC/Name", "Anna");

  wxObserverList list(myMainFrame);
  list.InitDialog();
  EXPECT_EQ(list.List()->GetCount(), 3u);

  // Adding: the initials, then the new observer's properties.
  wxTEST_DIALOG(Click(&list, ID_OBSLIST_ADD), EntryAnswer("new"), SheetAnswer(wxID_OK));
  EXPECT_EQ(config->Read("Users", ""), "ZABCDEABCNEW");
  EXPECT_EQ(g_observer, "ABC");  // the current observer is restored
  // Initials already there are ignored without a word.
  wxTEST_DIALOG(Click(&list, ID_OBSLIST_ADD), EntryAnswer("cde"));
  EXPECT_EQ(list.List()->GetCount(), 4u);

  // Deleting ABC, the current observer: its files go, archives stay.
  list.List()->SetStringSelection("ABC");
  wxTEST_DIALOG(Click(&list, ID_OBSLIST_DELETE), wxExpectMessage(config->GetText(16532), wxID_YES));
  EXPECT_EQ(config->Read("Users", ""), "ZABCDENEW");
  EXPECT_FALSE(config->HasGroup("User/ABC"));
  EXPECT_FALSE(FileExists(TestDir() + "/ABC.obs"));
  EXPECT_FALSE(FileExists(TestDir() + "/ABC.scope"));
  EXPECT_TRUE(FileExists(TestDir() + "/ABC.arch"));
  // The entry now at the same place becomes current.
  EXPECT_EQ(g_observer, list.List()->GetStringSelection());
  EXPECT_EQ(config->Read("User/LastUsed", ""), g_observer);
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations (" + g_observer + ")");

  // Answered No: nothing happens.
  wxTEST_DIALOG(Click(&list, ID_OBSLIST_DELETE), wxExpectMessage(config->GetText(16532), wxID_NO));
  EXPECT_EQ(list.List()->GetCount(), 3u);

  // Deleting everyone leaves no observer and OK disabled.
  while (list.List()->GetCount() > 0) {
    list.List()->SetSelection(0);
    wxTEST_DIALOG(Click(&list, ID_OBSLIST_DELETE), wxExpectMessage(config->GetText(16532), wxID_YES));
  }
  EXPECT_EQ(config->Read("Users", "x"), "");
  EXPECT_TRUE(g_observer.empty());
  EXPECT_FALSE(list.FindWindow(wxID_OK)->IsEnabled());
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations");
}

TEST_F(Observers, RemoveCodeKeepsEntryBoundaries) {
  struct Case {
    const char* users;
    const char* code;
    const char* left;
  } cases[] = {{"ZABCDEABC", "ABC", "ZABCDE"}, {"ABCXYZ", "XYZ", "ABC"}, {"ABC", "ABC", ""}, {"ABCXYZ", "BCX", "ABCXYZ"}};
  for (const Case& c : cases) EXPECT_EQ(wxObserverList::RemoveCode(c.users, c.code), c.left) << c.users;
}

TEST_F(Observers, Renaming) {
  MakeConfig();
  MakeFrame();
  config->Write("Directories/DataPath", wxString(TestDir()) + "/");
  config->Write("Users", "QQQABC");
  config->Write("User/ABC/City", "Baja");
  g_observer = "ABC";
  for (const char* f : {"ABC.obs", "ABC.scope", "ABC.arch", "ABC2003.arch"}) WriteTestFile(f, "");
  wxDialog host(nullptr, wxID_ANY, "host");
  wxObserver* page = new wxObserver(&host);
  page->OnInit();
  EXPECT_EQ(page->Field(ID_OBSERVER_CODE)->GetValue(), "ABC");
  EXPECT_EQ(page->Field(ID_OBSERVER_CITY)->GetValue(), "Baja");

  struct Refused {
    const char* typed;
    int message;
  } refused[] = {{"XY", 16623}, {"abc", 16624}, {"qqq", 16624}};
  for (const Refused& r : refused) {
    page->Field(ID_OBSERVER_CODE)->SetValue(r.typed);
    wxTEST_DIALOG(page->OnOK(), wxExpectMessage(config->GetText(r.message)));
    EXPECT_EQ(g_observer, "ABC");
  }

  page->Field(ID_OBSERVER_CODE)->SetValue("xyz");
  page->Field(ID_OBSERVER_NAME)->SetValue("Xavier");
  wxTEST_DIALOG(page->OnOK(), wxExpectMessage("Do You really want to change observer's initials to XYZ?", wxID_YES));
  EXPECT_EQ(g_observer, "XYZ");
  EXPECT_EQ(config->Read("Users", ""), "QQQXYZ");
  EXPECT_EQ(config->Read("User/LastUsed", ""), "XYZ");
  EXPECT_EQ(config->Read("User/XYZ/City", ""), "Baja");
  EXPECT_EQ(config->Read("User/XYZ/Name", ""), "Xavier");
  EXPECT_FALSE(config->HasGroup("User/ABC"));
  std::vector<std::string> files = ListDir(TestDir());
  for (const char* f : {"XYZ.obs", "XYZ.scope", "XYZ.arch", "XYZ2003.arch"})
    EXPECT_NE(std::find(files.begin(), files.end(), f), files.end()) << f;
  for (const char* f : {"ABC.obs", "ABC.scope", "ABC.arch", "ABC2003.arch"})
    EXPECT_EQ(std::find(files.begin(), files.end(), f), files.end()) << f;
  EXPECT_EQ(myMainFrame->GetTitle(), "Pelk - Variable Star Observations (XYZ)");
}

TEST_F(Observers, StationCoordinates) {
  struct Case {
    const char* lon;
    const char* lat;
    bool valid;
  } cases[] = {{"E19.5", "+47.5", true},  {"e19.5", "+47.5", false}, {"E190", "+47.5", false},
               {"N47", "+47.5", false},   {"E19.5", "47.5", true},   {"W180", "-90", true},
               {"E19.5", "+90.1", false}, {"E", "0", false},         {"E19.5x", "0", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(wxStation::LongitudeValid(c.lon) && wxStation::LatitudeValid(c.lat), c.valid) << c.lon << " " << c.lat;
  }
  EXPECT_EQ(wxStation::DefaultLongitude(1), "E15.0");
  EXPECT_EQ(wxStation::DefaultLongitude(-5), "W75.0");
  EXPECT_EQ(wxStation::DefaultLongitude(0), "E0.0");

  MakeConfig();
  g_observer = "ABC";
  wxDialog host(nullptr, wxID_ANY, "host");
  wxStation* page = new wxStation(&host);
  {
    ScopedTZ zone("EST5");
    page->OnInit();
    EXPECT_EQ(page->Longitude()->GetValue(), "W75.0");
    EXPECT_EQ(page->Latitude()->GetValue(), "+45.0");
  }
  page->Longitude()->SetValue("E19.5");
  page->Latitude()->SetValue("47.5");
  page->OnOK();
  EXPECT_EQ(config->Read("User/ABC/Longitude", ""), "E19.5");
  page->Longitude()->SetValue("E190");
  wxTEST_DIALOG(page->OnOK(), wxExpectMessage("Bad format for longitude or latitude"));
  EXPECT_EQ(config->Read("User/ABC/Longitude", ""), "E19.5");  // the old value stays
}

TEST_F(Observers, RenameThatFailsHalfWayNamesTheFile) {
  MakeConfig();
  config->Write("Directories/DataPath", wxString(TestDir()) + "/");
  config->Write("Users", "ABC");
  g_observer = "ABC";
  for (const char* f : {"ABC.obs", "ABC.scope"}) WriteTestFile(f, "");
  ASSERT_EQ(mkdir((TestDir() + "/XYZ.scope").c_str(), 0700), 0);  // in the way
  wxTEST_DIALOG(wxObserver::RenameObserver("XYZ"), wxExpectDialog<wxMessageDialog>([](wxMessageDialog* box) {
                  EXPECT_NE(box->GetMessage().Find(wxString(TestDir()) + "/ABC.scope"), wxNOT_FOUND);
                  EXPECT_EQ(box->GetMessage().Find("ABC.obs"), wxNOT_FOUND);
                  return wxID_OK;
                }));
  EXPECT_TRUE(FileExists(TestDir() + "/XYZ.obs"));
  EXPECT_TRUE(FileExists(TestDir() + "/ABC.scope"));
  EXPECT_EQ(g_observer, "XYZ");
}

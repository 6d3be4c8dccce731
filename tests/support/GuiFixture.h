// Common ground of the GUI tests: the program folder is the test's folder,
// and whatever a test leaves behind (store, main window, lock) is cleared
// without writing anything.
#pragma once

#include "GuiTestHook.h"
#include "TempHome.h"
#include "app/PelkApp.h"
#include "app/PelkFrm.h"
#include "config/MyConfig.h"
#include "db/DbChart.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "db/DbStars.h"

class GuiTest : public testing::Test {
 protected:
  // The global databases closed without writing, pointing nowhere, so that
  // no test sees another's records.
  static void ForgetDatabases() {
    wxMemDb* all[] = {&g_stars, &g_chart, &g_scope, &g_obs};
    for (wxMemDb* db : all) {
      db->AbandonChanges();
      db->Close();
      db->Setup(wxString(), 0, 0, db == &g_obs);
    }
  }
  // A validation table of one star in the program folder, so that start-up
  // does not offer to load one.
  static void SeedValidationTable() {
    const bool ownStore = config == nullptr;
    if (ownStore) {
      config = new wxMyConfig("Pelk");
      config->SetFolder(wxString(pelk_test::TestDir()), FOLDER_PROGRAM);
    }
    wxDbStars stars;
    stars.Open(wxString());
    TStar_data star;
    memset(&star, 0, sizeof star);
    strcpy(star.name, "R LEO");
    strcpy(star.harvard, "094211");
    strcpy(star.type, "M");
    star.cls = 'F';
    stars.Insert(&star);
    stars.Close();
    if (ownStore) {
      config->DiscardChanges();
      delete config;
      config = nullptr;
    }
  }
  wxObsApp& App() { return *static_cast<wxObsApp*>(wxTheApp); }
  // A store for tests that need no start-up.
  void MakeConfig() {
    config = new wxMyConfig("Pelk");
    config->SetFolder(wxString(pelk_test::TestDir()), FOLDER_PROGRAM);
  }
  // A main window without start-up.
  wxObsFrame* MakeFrame() {
    myMainFrame = new wxObsFrame(config->GetText(57344), wxPoint(50, 50), wxSize(510, 360));
    return myMainFrame;
  }
  void TearDown() override {
    App().DiscardRun();
    ForgetDatabases();
    g_observer.clear();
    wxTheApp->ProcessIdle();
  }
};

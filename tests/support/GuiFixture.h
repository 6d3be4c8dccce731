// Common ground of the GUI tests: the program folder is the test's folder,
// and whatever a test leaves behind (store, main window, lock) is cleared
// without writing anything.
#pragma once

#include "GuiTestHook.h"
#include "TempHome.h"
#include "app/PelkApp.h"
#include "app/PelkFrm.h"
#include "config/MyConfig.h"

class GuiTest : public testing::Test {
 protected:
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
    g_observer.clear();
    wxTheApp->ProcessIdle();
  }
};

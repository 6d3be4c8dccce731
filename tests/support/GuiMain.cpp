// The GUI test program: a real application object whose start-up is run by
// the tests themselves, a hook that turns every unexpected dialog into a
// test failure (never a hang), and wx asserts reported as failures.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>

#include "GuiTestHook.h"
#include "TempHome.h"
#include "app/PelkApp.h"

namespace {

class TestApp : public wxObsApp {
 public:
  bool OnInit() override { return true; }
  int OnExit() override { return 0; }
};

// Registered first, so it runs last: a dialog that no wxTEST_DIALOG
// expects is refused instead of waiting for a click that never comes.
class RefuseUnexpectedDialogs : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_str();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv)) return 2;
  if (!wxTheApp->CallOnInit()) return 2;
  wxLog::EnableLogging(false);
  wxSetAssertHandler(FailOnAssert);
  RefuseUnexpectedDialogs refuse;
  refuse.Register();
  pelk_test::InstallTempHome();
  int rc = RUN_ALL_TESTS();
  refuse.Unregister();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return rc;
}

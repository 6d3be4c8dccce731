#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/log.h>

#include "TempHome.h"

namespace {
// A toolkit assert is a failing test, not a line on the console.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wx assert in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  wxInitializer init;
  if (!init.IsOk()) return 2;
  wxLog::EnableLogging(false);
  wxSetAssertHandler(FailOnAssert);
  pelk_test::InstallTempHome();
  return RUN_ALL_TESTS();
}

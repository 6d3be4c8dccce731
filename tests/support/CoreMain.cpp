#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/log.h>

#include "TempHome.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  wxInitializer init;
  if (!init.IsOk()) return 2;
  wxLog::EnableLogging(false);
  pelk_test::InstallTempHome();
  return RUN_ALL_TESTS();
}

// A configuration store for one test: its program folder is the test's own
// folder, and it writes no configuration file when it goes.
#pragma once

#include "TempHome.h"
#include "config/MyConfig.h"

namespace pelk_test {

class TestConfig {
 public:
  TestConfig() {
    config = new wxMyConfig("Pelk");
    config->SetFolder(wxString(TestDir()), FOLDER_PROGRAM);
  }
  ~TestConfig() {
    config->DiscardChanges();
    delete config;
    config = nullptr;
  }
  TestConfig(const TestConfig&) = delete;
  TestConfig& operator=(const TestConfig&) = delete;
};

}  // namespace pelk_test

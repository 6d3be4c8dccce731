// Every test runs in a folder of its own: HOME, the working folder and the
// program folder point there, so no test touches the real home folder or
// the source tree.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pelk_test {

// The current test's folder (ends without "/").
const std::string& TestDir();

// Writes `bytes` to TestDir()/name and returns the full path.
std::string WriteTestFile(const std::string& name, const std::string& bytes);
// Whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// Names of the entries of a folder, sorted.
std::vector<std::string> ListDir(const std::string& path);

// Installs the listener that gives each test its folder.
void InstallTempHome();

// Sets the process time zone (TZ) for one scope and puts the old one back.
class ScopedTZ {
 public:
  explicit ScopedTZ(const char* tz);
  ~ScopedTZ();
  ScopedTZ(const ScopedTZ&) = delete;
  ScopedTZ& operator=(const ScopedTZ&) = delete;

 private:
  bool m_had = false;
  std::string m_old;
};

// The configuration store `config` for one scope, with the test's folder as
// program folder; it writes nothing when it goes.
class ScopedConfig {
 public:
  ScopedConfig();
  ~ScopedConfig();
  ScopedConfig(const ScopedConfig&) = delete;
  ScopedConfig& operator=(const ScopedConfig&) = delete;
};

}  // namespace pelk_test

// Every test runs in a folder of its own: HOME, the working folder and the
// program folder point there, so no test touches the real home folder or
// the source tree.
#pragma once

#include <gtest/gtest.h>
#include <string>

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

}  // namespace pelk_test

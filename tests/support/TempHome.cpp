#include "TempHome.h"

#include <ctime>

#include "config/MyConfig.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace pelk_test {

namespace {

std::string g_dir;
std::string g_root;

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  chmod(path, 0700);
  return remove(path);
}

class TempHomeListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    char tmpl[] = "/tmp/pelk-test-XXXXXX";
    char* d = mkdtemp(tmpl);
    if (!d) abort();
    g_dir = d;
    setenv("HOME", g_dir.c_str(), 1);
    if (chdir(g_dir.c_str()) != 0) abort();
  }
  void OnTestEnd(const testing::TestInfo&) override {
    if (chdir("/tmp") != 0) return;
    if (!g_dir.empty()) nftw(g_dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    g_dir.clear();
  }
};

}  // namespace

const std::string& TestDir() { return g_dir; }

std::string WriteTestFile(const std::string& name, const std::string& bytes) {
  std::string path = g_dir + "/" + name;
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), (std::streamsize)bytes.size());
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

ScopedTZ::ScopedTZ(const char* tz) {
  const char* old = getenv("TZ");
  m_had = old != nullptr;
  if (old) m_old = old;
  setenv("TZ", tz, 1);
  tzset();
}

ScopedTZ::~ScopedTZ() {
  if (m_had)
    setenv("TZ", m_old.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

ScopedConfig::ScopedConfig() {
  config = new wxMyConfig("Pelk");
  config->SetFolder(wxString(g_dir), FOLDER_PROGRAM);
}

ScopedConfig::~ScopedConfig() {
  config->DiscardChanges();
  delete config;
  config = nullptr;
}

void InstallTempHome() {
  testing::UnitTest::GetInstance()->listeners().Append(new TempHomeListener);
}

}  // namespace pelk_test

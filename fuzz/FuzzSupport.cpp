#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>
#include <wx/init.h>
#include <wx/log.h>

#include "config/MyConfig.h"
#include "db/Latin1.h"

namespace pelk_fuzz {

namespace {

std::string g_dir;

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

void RemoveDir() {
  if (g_dir.empty()) return;
  nftw(g_dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void AbortOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  fprintf(stderr, "wx assert at %s:%d in %s: %s %s\n", (const char*)file.utf8_str(), line,
          (const char*)func.utf8_str(), (const char*)cond.utf8_str(), (const char*)msg.utf8_str());
  abort();
}

}  // namespace

void Fail(const char* what) {
  fprintf(stderr, "fuzz check failed: %s\n", what);
  abort();
}

TStar_data Star(const char* name, const char* harvard, const char* type, char cls) {
  TStar_data s;
  memset(&s, 0, sizeof s);
  pelk::CopyField(s.name, sizeof s.name, name, false);
  pelk::CopyField(s.harvard, sizeof s.harvard, harvard);
  pelk::CopyField(s.type, sizeof s.type, type);
  s.cls = cls;
  return s;
}

const std::string& Dir() { return g_dir; }

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  // Kept for the life of the process: the toolkit is needed until exit.
  static wxInitializer* init = new wxInitializer;
  if (!init->IsOk()) Fail("the toolkit cannot start");
  wxLog::EnableLogging(false);
  wxSetAssertHandler(AbortOnAssert);

  // Every run writes its input to a file: a folder in memory where there is
  // one, so that the runs do not wait for the disk.
  std::string tmpl = access("/dev/shm", W_OK) == 0 ? "/dev/shm/pelk-fuzz-XXXXXX" : "/tmp/pelk-fuzz-XXXXXX";
  if (!mkdtemp(&tmpl[0])) Fail("no temporary folder");
  g_dir = tmpl;
  atexit(RemoveDir);
  // The working folder stays: libFuzzer reads its corpus by relative path.
  setenv("HOME", g_dir.c_str(), 1);

  config = new wxMyConfig("Pelk");
  config->DiscardChanges();
  config->SetFolder(wxString(g_dir), FOLDER_PROGRAM);
  config->SetFolder(wxString(g_dir + "/"), FOLDER_DATAPATH);
  g_observer = "FUZ";
}

std::string WriteFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = g_dir + "/" + name;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) Fail("cannot write the input file");
  size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) Fail("cannot write the input file");
    done += (size_t)n;
  }
  close(fd);
  return path;
}

}  // namespace pelk_fuzz

// The star table at catalogue size, on generated data:
//  (a) loading an AAVSO validation file of N lines over a table of N stars,
//      half of them shared (new table built, old stars carried over, written
//      and opened again), with the peak memory of the process;
//  (b) creating an observation index over N/2 observations of N/40
//      distinct stars with that table, sorted by designation and by
//      constellation;
// at N = 2,000,000 and at one tenth of it. Each measurement runs in a
// fresh child process so that its peak memory is its own.
//
// Targets: (a) under 5 s and 600 MB at full size; (b) under 2 s; full size
// within 12 times the tenth.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wx/init.h>
#include <wx/log.h>

#include "config/MyConfig.h"
#include "db/DbObs.h"
#include "db/DbStars.h"
#include "db/ObsIndex.h"

namespace {

const int kRuns = 5;

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Star n: a name of up to 10 characters such as "AB1234 CYG", a
// designation, a type and a class.
void StarName(int n, char* out) {
  static const char* const con[] = {"CYG", "LEO", "AQL", "SGR", "CAS", "UMA", "ORI", "PER"};
  snprintf(out, 12, "%c%c%04d %s", 'A' + n / 260000 % 26, 'A' + n / 10000 % 26, n % 10000, con[n % 8]);
}

void MakeStar(int n, TStar_data* s) {
  static const char* const types[] = {"M", "SR", "EA", "UGSS", "RRAB", "L", "EA+DSCT", "SRB:"};
  memset(s, 0, sizeof *s);
  StarName(n, s->name);
  snprintf(s->harvard, sizeof s->harvard, "%04d%c%02d", n % 2400, n % 3 ? '+' : '-', n % 90);
  snprintf(s->type, sizeof s->type, "%s", types[n % 8]);
  s->cls = "FFFFEU"[n % 6];
}

// The table of stars 0 .. n-1, written as the program writes it.
bool WriteTable(const std::string& path, int n) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  std::vector<TStar_data> block(65536);
  for (int i = 0; i < n;) {
    int k = 0;
    for (; k < (int)block.size() && i < n; ++k, ++i) MakeStar(i, &block[k]);
    fwrite(block.data(), sizeof(TStar_data), (size_t)k, f);
  }
  return fclose(f) == 0;
}

// A validation file of stars n/2 .. 3n/2 - 1 between marker lines: half of
// them are in the table, half are new.
bool WriteValidationFile(const std::string& path, int n) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  fputs("*Generated validation file\n", f);
  TStar_data s;
  for (int i = n / 2; i < n / 2 + n; ++i) {
    MakeStar(i, &s);
    fprintf(f, "%-10s%-10s  %-10s%s\n", s.harvard, s.name, s.type, "  12.5  14.0  V");
  }
  fputs("*\n", f);
  return fclose(f) == 0;
}

struct Result {
  double seconds[3] = {0, 0, 0};
  long peakKb = 0;
  bool ok = false;
};

// Runs `body` in a child; it writes up to three timings through a pipe.
template <typename Body>
Result InChild(Body body) {
  Result r;
  int fds[2];
  if (pipe(fds) != 0) return r;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    double t[3] = {0, 0, 0};
    const bool ok = body(t);
    if (write(fds[1], t, sizeof t) != (ssize_t)sizeof t) _exit(3);
    _exit(ok ? 0 : 2);
  }
  close(fds[1]);
  const ssize_t got = read(fds[0], r.seconds, sizeof r.seconds);
  close(fds[0]);
  int status = 0;
  struct rusage ru;
  if (pid < 0 || wait4(pid, &status, 0, &ru) != pid) return r;
  r.peakKb = ru.ru_maxrss;
  r.ok = got == (ssize_t)sizeof r.seconds && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return r;
}

// The child's program folder and configuration.
void UseFolder(const std::string& dir) {
  setenv("HOME", dir.c_str(), 1);
  config = new wxMyConfig("Pelk");
  config->DiscardChanges();
  config->SetFolder(wxString(dir), FOLDER_PROGRAM);
  config->Write("Directories/DataPath", wxString(dir) + "/");
}

// (a): one timed load; t[0] the load, t[1] the opening of the old table
// before it.
bool LoadOnce(const std::string& dir, int n, double* t) {
  UseFolder(dir);
  auto start = std::chrono::steady_clock::now();
  if (g_stars.Open(wxString()) != 0 || g_stars.GetCount() != n) return false;
  t[1] = Seconds(start);
  int count = 0;
  start = std::chrono::steady_clock::now();
  if (LoadAavsoValidation(wxString(dir) + "/vallong.txt", &count) != VALIDATION_LOADED) return false;
  t[0] = Seconds(start);
  // Every star of the file and of the old table, once.
  return g_stars.GetCount() == n + n / 2 && count == 0;
}

// N/2 observations of N/40 stars spread over the table, as an observation
// file; one in a hundred names a star the table lacks.
bool WriteObservations(const std::string& path, int n) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  fwrite(wxMemDb::kHeader, 1, wxMemDb::kHeaderSize, f);
  const int observations = n / 2, distinct = n / 40;
  TObs_data o;
  memset(&o, 0, sizeof o);
  unsigned seed = 12345;
  for (int i = 0; i < observations; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int star = (int)(seed >> 8) % distinct * 40 + 7;
    memset(o.variable, 0, sizeof o.variable);
    if (i % 100 == 99)
      snprintf(o.variable, sizeof o.variable, "NEW%d", i % 997);
    else
      StarName(star, o.variable);
    o.number = i + 1;
    o.jd = 2450000.0 + (seed >> 12) % 7300 + (seed % 1000) / 1000.0;
    snprintf(o.magnitude, sizeof o.magnitude, "%2d.%d ", 5 + (int)(seed % 10), (int)(seed / 10 % 10));
    snprintf(o.scope, sizeof o.scope, "n/e");
    fwrite(&o, sizeof o, 1, f);
  }
  return fclose(f) == 0;
}

// (b): t[0] the first index (the name index of the table is built on
// the way), t[1] sort 1, t[2] sort 2 (each the best of three).
bool IndexOnce(const std::string& dir, int n, double* t) {
  UseFolder(dir);
  g_observer = "ABC";
  const int observations = n / 2;
  if (g_stars.Open(wxString()) != 0 || g_stars.GetCount() != n) return false;
  if (g_obs.Open(false, 0) != 0 || g_obs.GetCount() != observations) return false;
  wxDbObsIndex index;
  auto start = std::chrono::steady_clock::now();
  if (index.Create(&g_obs, 0, 0, nullptr, 1) != 1 || index.GetCount() != observations) return false;
  t[0] = Seconds(start);
  for (int sort = 1; sort <= 2; ++sort) {
    t[sort] = 1e9;
    for (int k = 0; k < 3; ++k) {
      start = std::chrono::steady_clock::now();
      if (index.Create(&g_obs, 0, 0, nullptr, sort) != 1 || index.GetCount() != observations) return false;
      t[sort] = std::min(t[sort], Seconds(start));
    }
  }
  return true;
}

struct Figures {
  double load = 1e9, open = 1e9;
  long loadPeakKb = 0;
  double firstIndex = 1e9, sort1 = 1e9, sort2 = 1e9;
};

bool Measure(const std::string& root, int n, Figures& f) {
  const std::string dir = root + "/n" + std::to_string(n);
  mkdir(dir.c_str(), 0700);
  if (!WriteValidationFile(dir + "/vallong.txt", n) || !WriteObservations(dir + "/ABC.obs", n)) return false;
  for (int run = 0; run < kRuns; ++run) {
    if (!WriteTable(dir + "/stars.db", n)) return false;
    Result b = InChild([&](double* t) { return IndexOnce(dir, n, t); });
    if (!b.ok) return false;
    f.firstIndex = std::min(f.firstIndex, b.seconds[0]);
    f.sort1 = std::min(f.sort1, b.seconds[1]);
    f.sort2 = std::min(f.sort2, b.seconds[2]);
    sync();
    Result a = InChild([&](double* t) { return LoadOnce(dir, n, t); });
    if (!a.ok) return false;
    f.load = std::min(f.load, a.seconds[0]);
    f.open = std::min(f.open, a.seconds[1]);
    f.loadPeakKb = std::max(f.loadPeakKb, a.peakKb);
  }
  unlink((dir + "/vallong.txt").c_str());
  unlink((dir + "/stars.db").c_str());
  unlink((dir + "/ABC.obs").c_str());
  rmdir(dir.c_str());
  return true;
}

void Print(const char* what, int n, const Figures& f) {
  printf("%s: N = %d\n", what, n);
  printf("  (a) load of %d lines over %d stars: %.3f s, peak %.0f MB (opening the old table before: %.3f s)\n", n, n,
         f.load, f.loadPeakKb / 1024.0, f.open);
  printf("  (b) index over %d observations of %d stars: first %.3f s (with the name index), sort 1 %.3f s, "
         "sort 2 %.3f s\n",
         n / 2, n / 40, f.firstIndex, f.sort1, f.sort2);
}

}  // namespace

int main() {
  wxInitializer init;
  wxLog::EnableLogging(false);
  char root[] = "/tmp/pelk-bench-XXXXXX";
  if (!mkdtemp(root)) return 1;
  const int full = 2000000, tenth = full / 10;
  Figures big, small;
  if (!Measure(root, tenth, small) || !Measure(root, full, big)) {
    fprintf(stderr, "a measurement failed (data in %s)\n", root);
    return 1;
  }
  rmdir(root);
  printf("Best of %d runs, each in a fresh process.\n", kRuns);
  Print("Tenth", tenth, small);
  Print("Full", full, big);
  printf("Targets: (a) under 5 s and 600 MB: %.3f s, %.0f MB -> %s\n", big.load, big.loadPeakKb / 1024.0,
         big.load < 5 && big.loadPeakKb < 600 * 1024 ? "met" : "MISSED");
  printf("         (b) under 2 s: sort 1 %.3f s, sort 2 %.3f s, first %.3f s -> %s\n", big.sort1, big.sort2,
         big.firstIndex, std::max({big.sort1, big.sort2, big.firstIndex}) < 2 ? "met" : "MISSED");
  const double ra = big.load / small.load, r1 = big.sort1 / small.sort1, r2 = big.sort2 / small.sort2;
  printf("         full / tenth within 12: load %.1f, sort 1 %.1f, sort 2 %.1f -> %s\n", ra, r1, r2,
         std::max({ra, r1, r2}) <= 12 ? "met" : "MISSED");
  return 0;
}

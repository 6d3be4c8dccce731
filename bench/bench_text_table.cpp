// Looking texts up and loading a full language file: the work done at
// start-up and at every language switch.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <wx/init.h>
#include <wx/log.h>

#include "config/MyConfig.h"

static void BM_GetText(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < LANG_COUNT; ++i) benchmark::DoNotOptimize(config->get(default_language[i].id));
  }
  state.SetItemsProcessed(state.iterations() * LANG_COUNT);
}
BENCHMARK(BM_GetText);

static void BM_LoadLanguage(benchmark::State& state) {
  char dir[] = "/tmp/pelk-bench-XXXXXX";
  if (!mkdtemp(dir)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::string path = std::string(dir) + "/all.lng";
  {
    std::ofstream out(path);
    for (int i = 0; i < LANG_COUNT; ++i) out << "{" << default_language[i].id << ", \"text " << i << "\"},\n";
  }
  config->SetFolder(dir, FOLDER_PROGRAM);
  for (auto _ : state) benchmark::DoNotOptimize(config->LoadLanguage("all.lng"));
  unlink(path.c_str());
  rmdir(dir);
}
BENCHMARK(BM_LoadLanguage);

int main(int argc, char** argv) {
  wxInitializer init;
  wxLog::EnableLogging(false);
  setenv("HOME", "/tmp", 1);
  config = new wxMyConfig("Pelk");
  config->DiscardChanges();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  delete config;
  return 0;
}

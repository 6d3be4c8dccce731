// Runs a harness once over each file named on the command line, and over
// every file in each folder named (and in its subfolders, such as the
// crash list), without libFuzzer: so the ordinary test run, with or without
// sanitizers, replays every seed and every input that ever crashed.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    if (fs::is_directory(arg)) {
      for (const auto& e : fs::recursive_directory_iterator(arg))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
    } else {
      files.push_back(arg);
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  for (const fs::path& f : files) {
    std::ifstream in(f, std::ios::binary);
    if (!in) {
      fprintf(stderr, "cannot read %s\n", f.c_str());
      return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  printf("replayed %zu inputs\n", files.size());
  return 0;
}

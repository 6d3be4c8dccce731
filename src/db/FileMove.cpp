#include "db/FileMove.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "db/AtomicFile.h"

namespace pelk {

int MoveFileWhole(const wxString& from, const wxString& to) {
  const std::string src(from.fn_str());
  const std::string dst(to.fn_str());
  if (rename(src.c_str(), dst.c_str()) == 0) return 0;
  if (errno != EXDEV) return -1;
  std::ifstream in(src, std::ios::binary);
  if (!in) return -1;
  std::ostringstream data;
  data << in.rdbuf();
  if (in.bad()) return -1;
  const std::string bytes = data.str();
  if (!AtomicWriteFile(dst, bytes.data(), bytes.size())) return -1;
  return unlink(src.c_str()) == 0 ? 0 : -1;
}

}  // namespace pelk

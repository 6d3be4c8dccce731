#include "db/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pelk {

namespace {

long long g_failAfter = -1;

// Resolves symbolic links so that the file they point at is replaced and
// the link itself stays a link.
std::string ResolveTarget(const std::string& path) {
  std::string cur = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (lstat(cur.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return cur;
    char buf[PATH_MAX];
    ssize_t n = readlink(cur.c_str(), buf, sizeof(buf) - 1);
    if (n < 0) return cur;
    buf[n] = '\0';
    std::string target(buf);
    if (!target.empty() && target[0] != '/') {
      size_t slash = cur.rfind('/');
      target = (slash == std::string::npos ? std::string() : cur.substr(0, slash + 1)) + target;
    }
    cur = target;
  }
  return cur;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// `written` counts the bytes of the file written before this piece (for
// the test seam).
bool WriteAll(int fd, const char* p, size_t size, int* err, long long written = 0) {
  size_t done = 0;
  while (done < size) {
    size_t chunk = size - done;
    if (chunk > (1u << 20)) chunk = 1u << 20;
    if (g_failAfter >= 0) {
      const long long at = written + (long long)done;
      if (at >= g_failAfter) {
        *err = ENOSPC;
        return false;
      }
      if (at + (long long)chunk > g_failAfter) chunk = (size_t)(g_failAfter - at);
    }
    ssize_t n = write(fd, p + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      *err = errno;
      return false;
    }
    if (n == 0) {
      *err = EIO;
      return false;
    }
    done += (size_t)n;
  }
  return true;
}

mode_t CurrentUmask() {
  mode_t m = umask(0);
  umask(m);
  return m;
}

// The replacement itself; `body` writes the content to the temporary file.
bool WriteAtomically(const std::string& path, const std::function<bool(int fd, int* err)>& body, int* errorCode) {
  int err = 0;
  const std::string target = ResolveTarget(path);
  const std::string folder = FolderOf(target);

  mode_t mode = 0666 & ~CurrentUmask();
  struct stat old;
  if (stat(target.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) {
      if (errorCode) *errorCode = EISDIR;
      return false;
    }
    mode = old.st_mode & 07777;
  }

  // A fresh name in the target's folder, so that the rename never crosses
  // file systems.
  std::random_device rd;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    char suffix[32];
    snprintf(suffix, sizeof suffix, ".tmp%08x", (unsigned)rd());
    tmp = target + suffix;
    fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (errorCode) *errorCode = errno;
    return false;
  }

  bool ok = body(fd, &err);
  if (ok && fsync(fd) != 0) {
    err = errno;
    ok = false;
  }
  if (ok && fchmod(fd, mode) != 0) {
    err = errno;
    ok = false;
  }
  if (close(fd) != 0 && ok) {
    err = errno;
    ok = false;
  }
  if (ok && rename(tmp.c_str(), target.c_str()) != 0) {
    err = errno;
    ok = false;
  }
  if (!ok) {
    unlink(tmp.c_str());
    if (errorCode) *errorCode = err;
    return false;
  }
  int dfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);  // the rename is done; a folder that cannot be synced is no failure of the save
    close(dfd);
  }
  return true;
}

}  // namespace

void AtomicWriteFailAfterForTests(long long bytes) { g_failAfter = bytes; }

bool AtomicWriteFile(const std::string& path, const void* data, size_t size, int* errorCode) {
  return WriteAtomically(
      path, [&](int fd, int* err) { return WriteAll(fd, static_cast<const char*>(data), size, err); }, errorCode);
}

bool AtomicWriteFileChunks(const std::string& path, const std::function<void(std::string& chunk)>& next,
                           int* errorCode) {
  return WriteAtomically(
      path,
      [&](int fd, int* err) {
        std::string chunk;
        long long written = 0;
        for (;;) {
          chunk.clear();
          next(chunk);
          if (chunk.empty()) return true;
          if (!WriteAll(fd, chunk.data(), chunk.size(), err, written)) return false;
          written += (long long)chunk.size();
        }
      },
      errorCode);
}

}  // namespace pelk

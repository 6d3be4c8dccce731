#include "app/InstanceLock.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <wx/utils.h>

wxString wxInstanceLock::LockPath(const wxString& name, const wxString& folder) {
  wxString dir = folder.empty() ? wxGetHomeDir() : folder;
  if (!dir.EndsWith("/")) dir += "/";
  return dir + "." + name + ".lock";
}

bool wxInstanceLock::Acquire(const wxString& name, const wxString& folder) {
  Release();
  wxString path = LockPath(name, folder);
  int fd = open(path.fn_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // nowhere to keep a lock: never refuse to start for that
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    close(fd);
    return err != EWOULDBLOCK;
  }
  // The process id is for people looking at the file; the lock is the flock.
  if (ftruncate(fd, 0) == 0) {
    char buf[32];
    int n = snprintf(buf, sizeof buf, "%ld\n", (long)getpid());
    if (n > 0 && write(fd, buf, (size_t)n) < 0) { /* informational only */ }
  }
  m_fd = fd;
  return true;
}

void wxInstanceLock::Release() {
  if (m_fd >= 0) {
    flock(m_fd, LOCK_UN);
    close(m_fd);
    m_fd = -1;
  }
}

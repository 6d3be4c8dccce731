// One running Pelk per user. The lock is an flock on a file in the home
// folder: the kernel drops it when the holder dies, so a crash can never
// lock the user out, whatever is left in the file.
#pragma once

#include <wx/string.h>

class wxInstanceLock {
 public:
  wxInstanceLock() = default;
  ~wxInstanceLock() { Release(); }
  wxInstanceLock(const wxInstanceLock&) = delete;
  wxInstanceLock& operator=(const wxInstanceLock&) = delete;

  // Takes the lock named `name` in `folder` (the home folder when empty).
  // True when this process now holds it; false when another instance does.
  // A lock file that cannot be created at all does not stop the program.
  bool Acquire(const wxString& name, const wxString& folder = wxString());
  void Release();
  bool IsHeld() const { return m_fd >= 0; }
  // The lock file's path for a name and folder.
  static wxString LockPath(const wxString& name, const wxString& folder = wxString());

 private:
  int m_fd = -1;
};

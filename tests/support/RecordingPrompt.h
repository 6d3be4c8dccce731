// A stand-in for the user: remembers every message the core shows and
// gives one answer to all of them.
#pragma once

#include <vector>
#include <wx/defs.h>
#include <wx/string.h>

#include "config/UserPrompt.h"

namespace pelk_test {

class RecordingPrompt : public wxUserPrompt {
 public:
  struct Shown {
    wxString text;
    wxString caption;
    long style;
  };
  int Message(const wxString& text, const wxString& caption, long style) override {
    shown.push_back({text, caption, style});
    return answer;
  }
  int answer = wxOK;
  std::vector<Shown> shown;
};

// Installs a RecordingPrompt for one scope and puts the old prompt back.
class ScopedPrompt {
 public:
  ScopedPrompt() : m_old(SetUserPrompt(&prompt)) {}
  ~ScopedPrompt() { SetUserPrompt(m_old); }
  ScopedPrompt(const ScopedPrompt&) = delete;
  ScopedPrompt& operator=(const ScopedPrompt&) = delete;

  RecordingPrompt prompt;

 private:
  wxUserPrompt* m_old;
};

}  // namespace pelk_test

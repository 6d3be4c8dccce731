// How core code asks or warns the user. The GUI installs a prompt that
// shows a message box; tests install one that records and answers.
#pragma once

#include <wx/string.h>

class wxUserPrompt {
 public:
  virtual ~wxUserPrompt() = default;
  // `style` uses the toolkit's message-box flags (wxOK, wxYES_NO, wxCANCEL,
  // wxICON_*); the result is wxOK, wxYES, wxNO or wxCANCEL.
  virtual int Message(const wxString& text, const wxString& caption, long style) = 0;
};

// Installs `prompt` (not owned; nullptr removes it) and returns the old one.
wxUserPrompt* SetUserPrompt(wxUserPrompt* prompt);

// Shows a message whose text and caption come from the text table.
int AskUser(int textId, int captionId, long style);
// The same with a text already composed (a filled-in format).
int AskUserText(const wxString& text, int captionId, long style);

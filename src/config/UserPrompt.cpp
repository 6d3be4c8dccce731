#include "config/UserPrompt.h"

#include <wx/defs.h>

#include "config/MyConfig.h"

namespace {
wxUserPrompt* g_prompt = nullptr;

// Without anyone to ask, the answer that changes nothing.
int QuietAnswer(long style) {
  if (style & wxCANCEL) return wxCANCEL;
  if (style & wxYES_NO) return wxNO;
  return wxOK;
}
}  // namespace

wxUserPrompt* SetUserPrompt(wxUserPrompt* prompt) {
  wxUserPrompt* old = g_prompt;
  g_prompt = prompt;
  return old;
}

int AskUserText(const wxString& text, int captionId, long style) {
  if (!g_prompt) return QuietAnswer(style);
  wxString caption = config ? config->GetText(captionId) : wxString();
  return g_prompt->Message(text, caption, style);
}

int AskUser(int textId, int captionId, long style) {
  return AskUserText(config ? config->GetText(textId) : wxString(), captionId, style);
}

#include "app/Message.h"

#include <wx/msgdlg.h>

#include "app/PelkFrm.h"
#include "config/MyConfig.h"
#include "config/UserPrompt.h"

int ShowMessageText(const wxString& text, int captionId, long style, wxWindow* parent) {
  wxString caption = config ? config->GetText(captionId) : wxString();
  return wxMessageBox(text, caption, style, parent);
}

int ShowMessage(int textId, int captionId, long style, wxWindow* parent) {
  return ShowMessageText(config ? config->GetText(textId) : wxString(), captionId, style, parent);
}

namespace {
class GuiPrompt : public wxUserPrompt {
 public:
  int Message(const wxString& text, const wxString& caption, long style) override {
    return wxMessageBox(text, caption, style, myMainFrame);
  }
};
GuiPrompt g_guiPrompt;
}  // namespace

void InstallGuiPrompt() { SetUserPrompt(&g_guiPrompt); }

#include "app/Message.h"

#include <wx/msgdlg.h>

#include "app/PelkFrm.h"
#include "config/MyConfig.h"
#include "config/UserPrompt.h"
#include "db/Db.h"

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

bool SaveDatabaseOrAsk(wxMemDb& db, bool canStay) {
  while (db.IsDirty() && db.Save(false) != 0) {
    // Fixed English: the text table has no message for this.
    wxString text = wxString::Format(
        "Pelk could not save the file\n%s\n\nYes: try again (free some disk space first).\n"
        "No: close without saving the changes of this file.%s",
        db.GetPath(), canStay ? "\nCancel: keep Pelk running." : "");
    int answer = ShowMessageText(text, 57344, (canStay ? wxYES_NO | wxCANCEL : wxYES_NO) | wxICON_ERROR, myMainFrame);
    if (answer == wxNO) {
      db.AbandonChanges();
      break;
    }
    if (answer == wxCANCEL) return false;
  }
  // Saved (or given up): closing will not write it again.
  db.AbandonChanges();
  return true;
}


void WarnIfUnreadable(const wxMemDb& db, wxWindow* parent) {
  if (!db.IsUnreadable()) return;
  // Fixed English: the text table has no message for this.
  ShowMessageText(wxString::Format("Pelk cannot read the file\n%s\n\nIt is left exactly as it is, and nothing will "
                                   "be written over it until it can be read again.",
                                   db.GetPath()),
                  57344, wxOK | wxICON_ERROR, parent);
}

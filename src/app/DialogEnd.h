// Ends a dialog with a result whether it runs modally or was shown
// modeless (as the GUI tests drive dialogs).
#pragma once

#include <wx/dialog.h>

inline void EndDialogWith(wxDialog* dialog, int result) {
  if (dialog->IsModal()) {
    dialog->EndModal(result);
  } else {
    dialog->SetReturnCode(result);
    dialog->Hide();
  }
}

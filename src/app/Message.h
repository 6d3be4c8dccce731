// Every message box of the program is shown here: text and caption come
// from the text table, so tests can answer them with wxTEST_DIALOG.
#pragma once

#include <wx/string.h>

class wxWindow;
class wxMemDb;

// `style` holds the buttons and the icon (wxOK, wxYES_NO, wxCANCEL,
// wxICON_*); the result is wxOK, wxYES, wxNO or wxCANCEL.
int ShowMessage(int textId, int captionId, long style, wxWindow* parent);
// The same for a text already filled in from a format.
int ShowMessageText(const wxString& text, int captionId, long style, wxWindow* parent);

// Lets core code ask the user through ShowMessageText with the main window
// as parent.
void InstallGuiPrompt();

// Writes a changed database, telling the user which file could not be
// written and asking again until it is written or the user explicitly
// gives its changes up. With `canStay` the user may also choose to keep
// the program running (the result is then false); otherwise true.
bool SaveDatabaseOrAsk(wxMemDb& db, bool canStay);

// Tells the user when a database's file exists but could not be read, so
// that an empty list is never taken for lost observations.
void WarnIfUnreadable(const wxMemDb& db, wxWindow* parent);

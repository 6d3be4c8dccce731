// A one-line text entry dialog with a length check.
#pragma once

#include <wx/dialog.h>

class wxTextCtrl;

enum { ID_GENERAL_PROMPT = 1120, ID_GENERAL_TEXT = 1121 };

class wxGeneralEntry : public wxDialog {
 public:
  wxGeneralEntry(wxWindow* parent, int titleId, int promptId, int tooltipId);

  // Shows the dialog with `text`; on return `text` holds the field's value
  // (after Cancel too) and the result is the button id. A maximum below
  // the minimum is raised to it; a minimum of -1 checks nothing.
  int CallDialog(wxString& text, int minLength, int maxLength);

  // Prepares the dialog as CallDialog does, without showing it.
  void Prepare(const wxString& text, int minLength, int maxLength);
  wxTextCtrl* Field() const { return m_field; }
  const wxString& GetEnteredText() const { return m_text; }

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnOK(wxCommandEvent& event);

  wxString m_text;
  int m_max = 0;
  int m_min = -1;
  int m_titleId;
  wxTextCtrl* m_field = nullptr;
  wxDECLARE_EVENT_TABLE();
};

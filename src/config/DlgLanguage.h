// The language dialog: lists the language files of the program folder and
// switches the user interface to the chosen one.
#pragma once

#include <wx/arrstr.h>
#include <wx/dialog.h>

class wxListBox;
class wxFrame;

enum { ID_LANGUAGE_LIST = 1197 };

class wxDlgLanguage : public wxDialog {
 public:
  explicit wxDlgLanguage(wxFrame* frame);

  // The line shown for a language file name ("default" is the built-in
  // English, "magyar.lng" shows as Magyar).
  static wxString DisplayName(const wxString& fileName);

  wxListBox* List() const { return m_list; }

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnOK(wxCommandEvent& event);

  wxListBox* m_list = nullptr;
  wxArrayString m_files;
  wxDECLARE_EVENT_TABLE();
};

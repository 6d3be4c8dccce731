// The list of observers: choose the current observer, add and delete
// observers. At start-up it only chooses.
#pragma once

#include <wx/dialog.h>

class wxListBox;
class wxFrame;

enum { ID_OBSLIST_ADD = 1131, ID_OBSLIST_DELETE = 1132, ID_OBSLIST_LIST = 1133 };

class wxObserverList : public wxDialog {
 public:
  explicit wxObserverList(wxFrame* parent);

  void SetStartupMode(bool on) { m_startup = on; }
  wxListBox* List() const { return m_list; }

  // The observer property sheet (observer, station and scope pages) for
  // the current observer; its result.
  static int ShowObserverSheet(wxWindow* parent);
  // "Users" without the entry of `code` (entries sit at multiples of 3).
  static wxString RemoveCode(const wxString& users, const wxString& code);

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnOK(wxCommandEvent& event);
  void OnAdd(wxCommandEvent& event);
  void OnDelete(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);

  bool m_startup = false;
  wxListBox* m_list = nullptr;
  wxDECLARE_EVENT_TABLE();
};

// The "Scopes" page of the observer's property sheet: the current
// observer's scopes, with Add, Remove and Modify working directly on the
// scope database, which is saved when the sheet is confirmed.
#pragma once

#include "app/PropPage.h"

class wxListBox;

enum {
  ID_SCOPELIST_PAGE = 135,
  ID_SCOPELIST_MODIFY = 1009,
  ID_SCOPELIST_REMOVE = 1010,
  ID_SCOPELIST_ADD = 1012,
  ID_SCOPELIST_LIST = 1027
};

class wxScopeList : public myPropPage {
 public:
  explicit wxScopeList(wxWindow* parent);

  void OnInit() override;
  void OnOK() override;

  wxListBox* List() const { return m_list; }

 private:
  void OnNew(wxCommandEvent& event);
  void OnModify(wxCommandEvent& event);
  void OnRemove(wxCommandEvent& event);
  // The selected entry and its name; false when nothing is selected or it
  // is the naked eye, which is then refused with the given message.
  bool SelectedScope(int nakedEyeTextId, int captionId, int* selection, wxString* name);

  wxListBox* m_list = nullptr;
  wxDECLARE_EVENT_TABLE();
};

// The "Observer" page of the observer properties: the observer's personal
// data, and the renaming of the initials with the observer's files.
#pragma once

#include "app/PropPage.h"

class wxTextCtrl;

enum {
  ID_OBSERVER_CODE = 1001,
  ID_OBSERVER_NAME = 1002,
  ID_OBSERVER_ADDRESS = 1003,
  ID_OBSERVER_CITY = 1004,
  ID_OBSERVER_ZIP = 1005,
  ID_OBSERVER_COUNTRY = 1006,
  ID_OBSERVER_EMAIL = 1007,
};

class wxObserver : public myPropPage {
 public:
  explicit wxObserver(wxWindow* parent);

  void OnInit() override;
  void OnOK() override;

  wxTextCtrl* Field(int id) const;

  // Renames the current observer to `code` (upper case, not yet in
  // "Users"): files, configuration group, "Users", "User/LastUsed", then
  // reopens the databases. A file that could not be renamed is named in a
  // message; the others are renamed all the same.
  static void RenameObserver(const wxString& code);

 private:
  wxTextCtrl* m_fields[7] = {};
};

// The row of OK and Cancel buttons that most dialogs end with, labelled
// from the text table, OK being the default button.
#pragma once

#include <wx/button.h>
#include <wx/sizer.h>

#include "config/MyConfig.h"

inline wxSizer* MakeOkCancelRow(wxWindow* parent) {
  wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
  wxButton* ok = new wxButton(parent, wxID_OK, config->GetText(5100));
  row->Add(ok, 0, wxALL, 4);
  row->Add(new wxButton(parent, wxID_CANCEL, config->GetText(5101)), 0, wxALL, 4);
  ok->SetDefault();
  return row;
}

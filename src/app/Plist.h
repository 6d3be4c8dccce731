// A read-only two-column list shown in a small dialog, for summaries such
// as the statistics of a selection.
#pragma once

#include <wx/arrstr.h>
#include <wx/dialog.h>

class wxListCtrl;

enum { ID_PLIST_DIALOG = 189, ID_PLIST_HEADER = 1120, ID_PLIST_LIST = 1253 };

class wxPlist : public wxDialog {
 public:
  wxPlist(wxWindow* parent, const wxString& title, const wxString& header);

  void SetParams(int titleId, int tooltipId, int firstColumnWidth);
  void AddItem(const wxString& first, const wxString& second);

  wxListCtrl* List() const { return m_list; }

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnClose(wxCommandEvent& event);

  wxArrayString m_first;
  wxArrayString m_second;
  int m_titleId = 0;
  int m_tooltipId = 0;
  int m_firstWidth = 100;
  wxListCtrl* m_list = nullptr;
  wxDECLARE_EVENT_TABLE();
};

// A modal tabbed property sheet of up to 16 pages with OK, Cancel and Help.
#pragma once

#include <wx/dialog.h>

class wxNotebook;
class myPropPage;

class wxProperties : public wxDialog {
 public:
  static const int kMaxPages = 16;

  wxProperties(int titleId, wxWindow* parent);

  // Adds a page created with Notebook() as parent; 0 when the sheet is full
  // (the caller then deletes the page), else 1.
  int AddProp(myPropPage* page);
  wxNotebook* Notebook() const { return m_notebook; }
  int PageCount() const { return m_count; }

 private:
  void OnOK(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnHelp(wxCommandEvent& event);

  myPropPage* m_pages[kMaxPages] = {};
  int m_count = 0;
  wxNotebook* m_notebook = nullptr;
  wxDECLARE_EVENT_TABLE();
};

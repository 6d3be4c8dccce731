// One page of a property sheet: it loads its controls, stores them on OK,
// undoes on Cancel and shows its own help page.
#pragma once

#include <wx/panel.h>

class myPropPage : public wxPanel {
 public:
  // `titleId` is the text id of the tab title and the page's window id.
  myPropPage(wxWindow* parent, int titleId);

  virtual void OnInit() {}
  virtual void OnOK() {}
  virtual void OnCancel() {}
  virtual void OnHelp();

  void SetHelpPage(const wxString& page) { m_helpPage = page; }
  const wxString& GetHelpPage() const { return m_helpPage; }

 private:
  wxString m_helpPage = "index.html";
};

#include "app/Properties.h"

#include <wx/button.h>
#include <wx/notebook.h>
#include <wx/sizer.h>

#include "app/DialogEnd.h"
#include "app/PropPage.h"
#include "config/MyConfig.h"

wxBEGIN_EVENT_TABLE(wxProperties, wxDialog)
  EVT_BUTTON(wxID_OK, wxProperties::OnOK)
  EVT_BUTTON(wxID_CANCEL, wxProperties::OnCancel)
  EVT_BUTTON(wxID_HELP, wxProperties::OnHelp)
wxEND_EVENT_TABLE()

static const int s_tooltips[] = {5100, 5101, 0};

wxProperties::wxProperties(int titleId, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, config->GetText(titleId), wxDefaultPosition, wxDefaultSize, wxCAPTION) {
  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  m_notebook = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxSize(350, 300));
  m_notebook->SetMinSize(wxSize(350, 300));
  top->Add(m_notebook, 1, wxEXPAND | wxALL, 6);
  wxBoxSizer* buttons = new wxBoxSizer(wxHORIZONTAL);
  wxButton* ok = new wxButton(this, wxID_OK, config->GetText(5100));
  buttons->Add(ok, 0, wxALL, 4);
  buttons->Add(new wxButton(this, wxID_CANCEL, config->GetText(5101)), 0, wxALL, 4);
  buttons->Add(new wxButton(this, wxID_HELP, config->GetText(5009)), 0, wxALL, 4);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxRIGHT | wxBOTTOM, 4);
  ok->SetDefault();
  SetSizerAndFit(top);
  CentreOnParent();
  config->SetToolTips(this, s_tooltips);
}

int wxProperties::AddProp(myPropPage* page) {
  if (m_count >= kMaxPages || !page) return 0;
  m_pages[m_count++] = page;
  page->OnInit();
  m_notebook->AddPage(page, config->GetText(page->GetId()), m_count == 1);
  // The sheet grows to fit its largest page.
  GetSizer()->SetSizeHints(this);
  Fit();
  CentreOnParent();
  return 1;
}

void wxProperties::OnOK(wxCommandEvent&) {
  for (int i = 0; i < m_count; ++i) m_pages[i]->OnOK();
  EndDialogWith(this, wxID_OK);
}

void wxProperties::OnCancel(wxCommandEvent&) {
  for (int i = 0; i < m_count; ++i) m_pages[i]->OnCancel();
  EndDialogWith(this, wxID_CANCEL);
}

void wxProperties::OnHelp(wxCommandEvent&) {
  int sel = m_notebook->GetSelection();
  if (sel >= 0 && sel < m_count) m_pages[sel]->OnHelp();
}

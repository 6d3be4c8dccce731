#include "app/Plist.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/DialogEnd.h"
#include "config/MyConfig.h"

wxBEGIN_EVENT_TABLE(wxPlist, wxDialog)
  EVT_INIT_DIALOG(wxPlist::OnInitDialog)
  EVT_BUTTON(wxID_CLOSE, wxPlist::OnClose)
wxEND_EVENT_TABLE()

static const int s_tooltips[] = {0, 0, wxID_CLOSE, 0};

wxPlist::wxPlist(wxWindow* parent, const wxString& title, const wxString& header)
    : wxDialog(parent, ID_PLIST_DIALOG, title, wxDefaultPosition, wxDefaultSize, wxCAPTION) {
  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  if (!header.empty()) top->Add(new wxStaticText(this, ID_PLIST_HEADER, header), 0, wxALL, 8);
  m_list = new wxListCtrl(this, ID_PLIST_LIST, wxDefaultPosition, wxSize(226, 162),
                          wxLC_REPORT | wxLC_NO_HEADER | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES |
                              wxBORDER_SIMPLE);
  top->Add(m_list, 1, wxEXPAND | wxLEFT | wxRIGHT | (header.empty() ? wxTOP : 0), 8);
  wxButton* close = new wxButton(this, wxID_CLOSE, config->GetText(5001));
  top->Add(close, 0, wxALIGN_RIGHT | wxALL, 8);
  close->SetDefault();
  SetEscapeId(wxID_CLOSE);
  SetSizerAndFit(top);
  CentreOnParent();
  config->SetToolTips(this, s_tooltips);
}

void wxPlist::SetParams(int titleId, int tooltipId, int firstColumnWidth) {
  m_titleId = titleId;
  m_tooltipId = tooltipId;
  m_firstWidth = firstColumnWidth;
}

void wxPlist::AddItem(const wxString& first, const wxString& second) {
  m_first.Add(first);
  m_second.Add(second);
}

void wxPlist::OnInitDialog(wxInitDialogEvent& event) {
  SetTitle(config->GetText(m_titleId));
  m_list->SetToolTip(config->GetText(m_tooltipId));
  m_list->ClearAll();
  int clientWidth = m_list->GetClientSize().GetWidth();
  m_list->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, m_firstWidth);
  m_list->InsertColumn(1, wxString(), wxLIST_FORMAT_LEFT, clientWidth - m_firstWidth - 4);
  for (size_t i = 0; i < m_first.size(); ++i) {
    long row = m_list->InsertItem((long)i, m_first[i]);
    m_list->SetItem(row, 1, m_second[i]);
  }
  event.Skip();
}

void wxPlist::OnClose(wxCommandEvent&) { EndDialogWith(this, wxID_CLOSE); }

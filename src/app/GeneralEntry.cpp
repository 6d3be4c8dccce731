#include "app/GeneralEntry.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/DialogButtons.h"
#include "app/DialogEnd.h"
#include "app/Message.h"
#include "config/MyConfig.h"

wxBEGIN_EVENT_TABLE(wxGeneralEntry, wxDialog)
  EVT_INIT_DIALOG(wxGeneralEntry::OnInitDialog)
  EVT_BUTTON(wxID_OK, wxGeneralEntry::OnOK)
wxEND_EVENT_TABLE()

static const int s_tooltips[] = {5100, 5101, 0};

wxGeneralEntry::wxGeneralEntry(wxWindow* parent, int titleId, int promptId, int tooltipId)
    : wxDialog(parent, wxID_ANY, config->GetText(titleId)), m_titleId(titleId) {
  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, ID_GENERAL_PROMPT, config->GetText(promptId)), 0, wxALL, 8);
  m_field = new wxTextCtrl(this, ID_GENERAL_TEXT, wxString(), wxDefaultPosition, wxSize(240, -1));
  m_field->SetToolTip(config->GetText(tooltipId));
  top->Add(m_field, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
  top->Add(MakeOkCancelRow(this), 0, wxALIGN_RIGHT | wxALL, 4);
  SetSizerAndFit(top);
  CentreOnParent();
  config->SetToolTips(this, s_tooltips);
}

void wxGeneralEntry::Prepare(const wxString& text, int minLength, int maxLength) {
  m_text = text;
  m_min = minLength;
  m_max = maxLength < minLength ? minLength : maxLength;
}

int wxGeneralEntry::CallDialog(wxString& text, int minLength, int maxLength) {
  Prepare(text, minLength, maxLength);
  int rc = ShowModal();
  text = m_field->GetValue();
  return rc;
}

void wxGeneralEntry::OnInitDialog(wxInitDialogEvent& event) {
  m_field->SetValue(m_text);
  m_field->SetFocus();
  event.Skip();
}

void wxGeneralEntry::OnOK(wxCommandEvent&) {
  m_text = m_field->GetValue();
  int len = (int)m_text.length();
  if (m_min == -1 || (len >= m_min && len <= m_max)) {
    EndDialogWith(this, wxID_OK);
    return;
  }
  wxString fmt = config->GetText(16618);
  ShowMessageText(wxString::Format(fmt, m_min, m_max), m_titleId, wxOK, this);
}

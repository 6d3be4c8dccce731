#include "config/DlgLanguage.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/DialogButtons.h"
#include "app/DialogEnd.h"
#include "app/Message.h"
#include "app/PelkFrm.h"
#include "config/MyConfig.h"

wxBEGIN_EVENT_TABLE(wxDlgLanguage, wxDialog)
  EVT_INIT_DIALOG(wxDlgLanguage::OnInitDialog)
  EVT_BUTTON(wxID_OK, wxDlgLanguage::OnOK)
wxEND_EVENT_TABLE()

static const int s_tooltips[] = {12003, 5101, ID_LANGUAGE_LIST, 0};

wxDlgLanguage::wxDlgLanguage(wxFrame* frame)
    : wxDialog(frame, wxID_ANY, config->GetText(184), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE) {
  wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, 1211, config->GetText(1211)), 0, wxALL, 8);
  m_list = new wxListBox(this, ID_LANGUAGE_LIST, wxDefaultPosition, wxSize(220, 140), 0, nullptr,
                         wxLB_SINGLE);
  top->Add(m_list, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
  top->Add(MakeOkCancelRow(this), 0, wxALIGN_RIGHT | wxALL, 4);
  SetSizerAndFit(top);
  CentreOnParent();
  config->SetToolTips(this, s_tooltips);
}

wxString wxDlgLanguage::DisplayName(const wxString& fileName) {
  if (fileName == "default") return "English (default)";
  wxString shown = fileName;
  int dot = shown.Find('.', true);
  if (dot != wxNOT_FOUND) shown.Truncate((size_t)dot);
  if (!shown.empty()) shown[0] = wxToupper(shown[0]);
  return shown;
}

void wxDlgLanguage::OnInitDialog(wxInitDialogEvent& event) {
  wxString current = config->Read("LanguageFile", wxString());
  if (current == "English (default)") current = "english.lng";
  config->GetLanguageFiles(m_files);
  int sel = m_files.Index(current, true);
  if (sel == wxNOT_FOUND && current == "english.lng") sel = m_files.Index("default", true);
  m_list->Clear();
  for (const wxString& f : m_files) m_list->Append(DisplayName(f));
  if (m_list->GetCount() > 0) m_list->SetSelection(sel == wxNOT_FOUND ? 0 : sel);
  m_list->SetFocus();
  event.Skip();
}

void wxDlgLanguage::OnOK(wxCommandEvent&) {
  int sel = m_list->GetSelection();
  if (sel == wxNOT_FOUND) return;
  wxString shown = m_list->GetString((unsigned)sel);
  wxString name;
  int rc;
  if (shown == "English (default)") {
    rc = config->ResetLanguage();
    name = "English (default)";
  } else {
    name = shown.Lower() + ".lng";
    rc = config->LoadLanguage(name);
  }
  if (rc != 0) {
    ShowMessage(16598, 184, wxOK | wxICON_ERROR, this);
  } else {
    config->Write("LanguageFile", name);
    if (myMainFrame) {
      myMainFrame->SetMenu();
      myMainFrame->SetToolTips();
      myMainFrame->SetTitle();
    }
    config->InitHelp();
  }
  EndDialogWith(this, wxID_OK);
}

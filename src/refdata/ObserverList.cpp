#include "refdata/ObserverList.h"

#include <wx/button.h>
#include <wx/filefn.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/sizer.h>

#include "app/DialogEnd.h"
#include "app/GeneralEntry.h"
#include "app/Message.h"
#include "app/PelkFrm.h"
#include "app/Properties.h"
#include "config/MyConfig.h"
#include "db/DbObs.h"
#include "db/DbScope.h"
#include "refdata/Observer.h"
#include "refdata/ScopeList.h"
#include "refdata/Station.h"

wxBEGIN_EVENT_TABLE(wxObserverList, wxDialog)
  EVT_INIT_DIALOG(wxObserverList::OnInitDialog)
  EVT_BUTTON(wxID_OK, wxObserverList::OnOK)
  EVT_BUTTON(wxID_CLOSE, wxObserverList::OnCancel)
  EVT_BUTTON(ID_OBSLIST_ADD, wxObserverList::OnAdd)
  EVT_BUTTON(ID_OBSLIST_DELETE, wxObserverList::OnDelete)
wxEND_EVENT_TABLE()

static const int s_tooltips[] = {12010, 5001, ID_OBSLIST_DELETE, ID_OBSLIST_ADD, ID_OBSLIST_LIST, 0};

wxObserverList::wxObserverList(wxFrame* parent) : wxDialog(parent, wxID_ANY, config->GetText(158)) {
  wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
  m_list = new wxListBox(this, ID_OBSLIST_LIST, wxDefaultPosition, wxSize(120, 160), 0, nullptr,
                         wxLB_SINGLE | wxLB_SORT);
  top->Add(m_list, 1, wxEXPAND | wxALL, 8);
  wxBoxSizer* buttons = new wxBoxSizer(wxVERTICAL);
  wxButton* ok = new wxButton(this, wxID_OK, config->GetText(5100));
  buttons->Add(ok, 0, wxEXPAND | wxALL, 4);
  buttons->Add(new wxButton(this, ID_OBSLIST_ADD, config->GetText(1131)), 0, wxEXPAND | wxALL, 4);
  buttons->Add(new wxButton(this, ID_OBSLIST_DELETE, config->GetText(1132)), 0, wxEXPAND | wxALL, 4);
  top->Add(buttons, 0, wxALL, 4);
  ok->SetDefault();
  SetSizerAndFit(top);
  CentreOnParent();
  config->SetToolTips(this, s_tooltips);
}

wxString wxObserverList::RemoveCode(const wxString& users, const wxString& code) {
  for (size_t i = 0; i + 3 <= users.length(); i += 3)
    if (users.Mid(i, 3) == code) return users.Left(i) + users.Mid(i + 3);
  return users;
}

int wxObserverList::ShowObserverSheet(wxWindow* parent) {
  wxProperties sheet(16476, parent);
  sheet.AddProp(new wxObserver(sheet.Notebook()));
  sheet.AddProp(new wxStation(sheet.Notebook()));
  sheet.AddProp(new wxScopeList(sheet.Notebook()));
  return sheet.ShowModal();
}

void wxObserverList::OnInitDialog(wxInitDialogEvent& event) {
  if (m_startup) {
    FindWindow(ID_OBSLIST_ADD)->SetLabel(config->GetText(5001));
    FindWindow(ID_OBSLIST_DELETE)->Hide();
  }
  m_list->Clear();
  const wxString users = config->Read("Users", wxString());
  for (size_t i = 0; i < users.length(); i += 3) m_list->Append(users.Mid(i, 3));
  const wxString last = config->Read("User/LastUsed", wxString());
  int sel = last.empty() ? wxNOT_FOUND : m_list->FindString(last, true);
  if (last.empty() || sel == wxNOT_FOUND) sel = m_list->GetCount() > 0 ? 0 : wxNOT_FOUND;
  if (sel != wxNOT_FOUND) m_list->SetSelection(sel);
  FindWindow(wxID_OK)->Enable(m_list->GetCount() > 0);
  m_list->SetFocus();
  event.Skip();
}

void wxObserverList::OnOK(wxCommandEvent&) {
  const int sel = m_list->GetSelection();
  if (sel == wxNOT_FOUND) return;
  const wxString code = m_list->GetString((unsigned)sel);
  if (m_startup) {
    if (code != g_observer) {
      g_observer = code;
      config->Write("User/LastUsed", code);
    }
  } else if (myMainFrame) {
    myMainFrame->ChangeObserver(code);
  }
  EndDialogWith(this, wxID_OK);
}

void wxObserverList::OnCancel(wxCommandEvent&) { EndDialogWith(this, wxID_CANCEL); }

void wxObserverList::OnAdd(wxCommandEvent&) {
  if (m_startup) {
    EndDialogWith(this, wxID_CANCEL);
    return;
  }
  wxString code;
  wxGeneralEntry entry(this, 16467, 16468, 12002);
  if (entry.CallDialog(code, 3, 3) != wxID_OK || code.empty()) return;
  code.MakeUpper();
  if (m_list->FindString(code, true) != wxNOT_FOUND) return;

  SaveDatabaseOrAsk(g_scope, false);
  g_scope.Close();
  const wxString previous = g_observer;
  g_observer = code;
  g_scope.Open();
  if (ShowObserverSheet(this) == wxID_OK) {
    m_list->Append(code);
    config->Write("Users", config->Read("Users", wxString()) + code);
  }
  SaveDatabaseOrAsk(g_scope, false);
  g_scope.Close();
  g_observer = previous;
  if (!g_observer.empty()) g_scope.Open();
  FindWindow(wxID_OK)->Enable(true);
}

void wxObserverList::OnDelete(wxCommandEvent&) {
  const int sel = m_list->GetSelection();
  if (sel == wxNOT_FOUND) return;
  if (ShowMessage(16532, 16531, wxYES_NO | wxICON_QUESTION, this) != wxYES) return;
  const wxString code = m_list->GetString((unsigned)sel);
  const bool archive = g_obs.IsArchive();
  const int archiveYear = g_obs.GetArchiveYear();
  bool closed = false;
  if (code == g_observer) {
    // Its files are deleted below: what it had unsaved goes with them.
    g_obs.AbandonChanges();
    g_scope.AbandonChanges();
    g_obs.Close();
    g_scope.Close();
    g_observer.clear();
    closed = true;
    if (myMainFrame) myMainFrame->SetTitle();
  }

  m_list->Delete((unsigned)sel);
  if (m_list->GetCount() == 0) {
    FindWindow(wxID_OK)->Enable(false);
  } else {
    const int next = sel < (int)m_list->GetCount() ? sel : (int)m_list->GetCount() - 1;
    m_list->SetSelection(next);
    if (!closed) {
      SaveDatabaseOrAsk(g_obs, false);
      SaveDatabaseOrAsk(g_scope, false);
      g_obs.Close();
      g_scope.Close();
    }
    g_observer = m_list->GetString((unsigned)next);
    if (myMainFrame) myMainFrame->SetTitle();
    g_scope.Open();
    g_obs.Open(archive, archive ? archiveYear : 0);
    if (!archive && myMainFrame && myMainFrame->GetMenuBar()) {
      myMainFrame->GetMenuBar()->Enable(ID_ARCHIVE, wxDbObs::HasArchive());
      myMainFrame->GetMenuBar()->Refresh();
    }
  }
  config->Write("User/LastUsed", g_observer);

  const wxString folder = config->GetFolder(wxString(), FOLDER_DATAPATH);
  for (const char* ext : {".obs", ".scope"})
    if (wxFileExists(folder + code + ext)) wxRemoveFile(folder + code + ext);
  config->Write("Users", RemoveCode(config->Read("Users", wxString()), code));
  config->DeleteGroup("User/" + code);
}
